// Runs before any script of the page in every document the engine loads into
// the help window, frames included (see help_page.cpp).
//
// Session history lives in the calculator's own process: every state a page
// hands to history.pushState, replaceState or the navigation API is copied
// there as the engine's structured clone, and a large one stalls the
// calculator while it is copied. So a state must be plain data (strings,
// numbers, booleans, null, and arrays and plain objects of them, without
// getters) within LIMIT bytes, and an address given with it within LIMIT
// characters. Nor may a page write the clipboard: execCommand('copy') and
// ('cut') do nothing (and the window puts back whatever the engine writes).
//
// The engine runs this script only once a document of the frame's own
// loads, never in the empty one a new frame starts with, though that one's
// functions work on every frame's history. So each window guards its child
// frames' windows before the page can reach them: when the page asks an
// element for its frame's window or document, when a frame is inserted
// (seen at once), when the empty frame's load event fires (inside the
// insertion, before that), and before the page's next script (the parser's
// insertions). A loaded document may not be rewritten (document.open), as
// that would erase the listeners while the written frames and scripts run.
//
// Once the page has run, anything it can replace may answer for it: so no
// loop here uses an iterator, no call spreads an array, and every function
// used is one taken before the page ran.
(() => {
  'use strict';
  const LIMIT = 65536;
  const {apply, ownKeys, getPrototypeOf} = Reflect;
  const own = Object.getOwnPropertyDescriptor, define = Object.defineProperty, isArray = Array.isArray;
  const hasOwn = Object.prototype.hasOwnProperty, lower = String.prototype.toLowerCase, toText = String;
  const count = own(window, 'length').get, documentOf = own(window, 'document').get;
  const listen = EventTarget.prototype.addEventListener;
  const readyState = own(Document.prototype, 'readyState').get;
  const currentScript = own(Document.prototype, 'currentScript').get;
  const owners = {__proto__: null, length: 0};  // the getters of a frame element's window

  // The bytes `value` takes as plain data of `realm`, counted generously
  // (two per character, eight per number or key); Infinity when it is not
  // plain data or reaches `budget`. It reads no property through a getter
  // and calls nothing of the page's, so the state cannot change under it; a
  // proxy may run code, but the engine refuses to copy a proxy anyway.
  const plainSize = (value, budget, realm) => {
    const type = typeof value;
    if (value === null || type === 'undefined' || type === 'boolean' || type === 'number')
      return 8;
    if (type === 'string')
      return 8 + 2 * value.length;
    if (type !== 'object')
      return Infinity;  // functions, symbols, big integers
    const array = isArray(value);
    const prototype = getPrototypeOf(value);
    if (array ? prototype !== realm.arrays : prototype !== realm.objects && prototype !== null)
      return Infinity;  // buffers, maps, dates, wrapped values, other realms' objects
    const keys = ownKeys(value);
    let size = 16;
    for (let i = 0; i < keys.length; ++i) {
      const key = keys[i];
      if (typeof key !== 'string')
        return Infinity;
      if (array && key === 'length')
        continue;
      const slot = own(value, key);
      if (!apply(hasOwn, slot, ['value']))
        return Infinity;  // a getter could answer the engine differently
      size += 8 + 2 * key.length;
      size += size < budget ? plainSize(slot.value, budget - size, realm) : Infinity;
      if (!(size < budget))
        return Infinity;
    }
    return size;
  };

  const refuse = (realm, what) => {
    throw new realm.DOMException('In the help window a page may not ' + what + '.', 'NotAllowedError');
  };
  const checkedState = (state, realm) => {
    let size = Infinity;
    try {
      size = plainSize(state, LIMIT, realm);
    } catch (e) {  // nested deeper than the walk can go
    }
    if (!(size <= LIMIT))
      refuse(realm, 'keep a large or unusual history state');
    return state;
  };
  // Converted once, here: an object's toString could answer the engine
  // differently.
  const checkedAddress = (address, realm) => {
    if (address === undefined || address === null)
      return address;
    const text = toText(address);
    if (text.length > LIMIT)
      refuse(realm, 'keep a long address in its history');
    return text;
  };
  // What the navigation API reads of its options, read once and handed on
  // as an object of our own.
  const checkedOptions = (options, realm, names) => {
    if (options === undefined || options === null)
      return options;
    const copy = {__proto__: null};
    for (let i = 0; i < names.length; ++i) {
      const value = options[names[i]];
      if (value !== undefined)
        copy[names[i]] = value;
    }
    if (apply(hasOwn, copy, ['state']))
      checkedState(copy.state, realm);
    return copy;
  };

  const replace = (prototype, name, make) => {
    const slot = prototype && own(prototype, name);
    if (slot && slot.configurable)
      define(prototype, name, {value: make(slot.value), writable: false, configurable: false});
  };

  const windowOf = element => {
    for (let i = 0; i < owners.length; ++i)
      try {
        return apply(owners[i], element, []);
      } catch (e) {
      }
    return null;
  };

  const framesGuard = w => () => {
    for (let i = apply(count, w, []) - 1; i >= 0; --i)
      guard(w[i]);
  };

  const guard = w => {
    let history;
    try {
      history = w.History.prototype;
    } catch (e) {
      return;  // another site's frame: its own documents run this script
    }
    if (!history || !own(history, 'pushState').configurable)
      return;  // guarded already
    const realm = {objects: w.Object.prototype, arrays: w.Array.prototype, DOMException: w.DOMException};

    const historyCall = original => function (state, title, address) {
      const args = [checkedState(state, realm), title];
      if (arguments.length > 2)
        args[2] = checkedAddress(address, realm);
      return apply(original, this, args);
    };
    replace(history, 'pushState', historyCall);
    replace(history, 'replaceState', historyCall);
    const navigation = w.Navigation && w.Navigation.prototype;
    replace(navigation, 'navigate', original => function (address, options) {
      const url = checkedAddress(address, realm);
      return apply(original, this, [url, checkedOptions(options, realm, ['state', 'info', 'history'])]);
    });
    replace(navigation, 'reload', original => function (options) {
      return apply(original, this, [checkedOptions(options, realm, ['state', 'info'])]);
    });
    replace(navigation, 'updateCurrentEntry', original => function (options) {
      return apply(original, this, [checkedOptions(options, realm, ['state'])]);
    });
    replace(w.Document.prototype, 'execCommand', original => function (command, showUi, value) {
      const name = apply(lower, toText(command), []);
      return name === 'copy' || name === 'cut' ? false : apply(original, this, [name, showUi, value]);
    });

    const types = ['HTMLIFrameElement', 'HTMLFrameElement', 'HTMLObjectElement', 'HTMLEmbedElement'];
    const names = ['contentWindow', 'contentDocument', 'getSVGDocument'];
    for (let t = 0; t < types.length; ++t) {
      const p = w[types[t]] && w[types[t]].prototype;
      if (!p)
        continue;
      const window = own(p, 'contentWindow');
      if (window)
        owners[owners.length++] = window.get;
      for (let n = 0; n < names.length; ++n) {
        const d = own(p, names[n]);
        if (!d)
          continue;
        const original = d.get || d.value;
        const checked = function () {
          const inner = windowOf(this);
          if (inner)
            guard(inner);
          return apply(original, this, arguments);
        };
        define(p, names[n], d.get ? {get: checked, enumerable: d.enumerable, configurable: false}
                                  : {value: checked, enumerable: d.enumerable, writable: false, configurable: false});
      }
    }

    const guardFrames = framesGuard(w);
    const document = apply(documentOf, w, []);
    apply(listen, w, ['DOMNodeInserted', guardFrames, true]);
    apply(listen, document, ['DOMNodeInserted', guardFrames, true]);
    apply(listen, document, ['load', guardFrames, true]);
    replace(w.Element.prototype, 'attachShadow', original => function () {
      const root = apply(original, this, arguments);
      apply(listen, root, ['DOMNodeInserted', guardFrames, true]);
      apply(listen, root, ['load', guardFrames, true]);
      return root;
    });
    new w.MutationObserver(guardFrames).observe(document, {childList: true, subtree: true});
    // While the page loads its own scripts may still write into it.
    replace(w.Document.prototype, 'open', () => function () {
      refuse(realm, 'rewrite itself');
    });
    const write = original => function () {
      if (apply(readyState, this, []) !== 'loading' || apply(currentScript, this, []) === null)
        refuse(realm, 'rewrite itself');
      try {
        return apply(original, this, arguments);
      } finally {
        guardFrames();
      }
    };
    replace(w.Document.prototype, 'write', write);
    replace(w.Document.prototype, 'writeln', write);
  };
  guard(window);
})();
