#include "help_window.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QShortcut>
#include <QTimer>
#include <QWebEngineDownloadRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>

#include <csignal>
#include <unistd.h>

namespace tivora {

namespace {

bool isBundled(const QUrl& url)
{
    return url.adjusted(QUrl::RemoveFragment) == bundledHelpPage();
}

bool isWeb(const QUrl& url)
{
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

// How long after the user's click or key a link may still go to the user's
// browser: the engine asks about the navigation a moment after the input.
constexpr qint64 kGestureMs = 1000;
// The engine lets a page write the clipboard for 5 s after the user's last
// click or key in it, whatever the page's settings say.
constexpr qint64 kPageActivationMs = 6000;
constexpr qint64 kOwnCopyMs = 2000;
constexpr int kStatusShownMs = 6000;
constexpr qint64 kKeepUsersWindowMs = 5000;

int portOf(const QUrl& url)
{
    return url.port(url.scheme() == QLatin1String("https") ? 443 : 80);
}

bool onSite(const QUrl& url, const QUrl& site)
{
    return isWeb(site) && url.scheme() == site.scheme() && url.userInfo().isEmpty() && url.host() == site.host() &&
           portOf(url) == portOf(site);
}

// Why an address outside the help site is not handed to the user's browser,
// clicked or not: what the user would see there is not what the link seemed
// to say. Empty when it may go.
QString refusalOf(const QUrl& url, const QString& helpHost)
{
    if (!isWeb(url))
        return QStringLiteral("not a web address");
    if (!url.userInfo().isEmpty())
        return QStringLiteral("a name before the host");
    const QString host = url.host(QUrl::FullyEncoded);  // international names as xn--
    if (host.endsWith(QLatin1Char('.')))
        return QStringLiteral("a host ending in a dot");
    if (host.startsWith(QLatin1String("xn--")) || host.contains(QLatin1String(".xn--")))
        return QStringLiteral("an international host name, which can look like another");
    if (!helpHost.isEmpty() && host != helpHost && host.contains(helpHost, Qt::CaseInsensitive))
        return QStringLiteral("a host made to look like the help site");
    return {};
}

// As the user's browser would show it: encoded, so that no look-alike letter
// passes for another.
QString shown(const QUrl& url)
{
    return QString::fromLatin1(url.toEncoded());
}

qint64 residentMemory(qint64 pid)
{
    QFile statm(QStringLiteral("/proc/%1/statm").arg(pid));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readLine().split(' ').value(1).toLongLong() * sysconf(_SC_PAGESIZE);
}

// The processes the engine started for this program (its zygotes, renderers
// and helpers), read from the kernel's list of each thread's children.
QList<qint64> descendantsOf(qint64 pid)
{
    QList<qint64> found;
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile children(tasks + QLatin1Char('/') + task + QStringLiteral("/children"));
        if (!children.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& child : children.readAll().split(' ')) {
            if (const qint64 childPid = child.trimmed().toLongLong(); childPid > 0) {
                found << childPid;
                found << descendantsOf(childPid);
            }
        }
    }
    return found;
}

std::unique_ptr<QMimeData> copyOf(const QMimeData* data)
{
    auto copy = std::make_unique<QMimeData>();
    if (data)
        for (const QString& format : data->formats())
            copy->setData(format, data->data(format));
    return copy;
}

bool sameData(const QMimeData* a, const QMimeData* b)
{
    if (!a || !b || a->formats() != b->formats())
        return false;
    const QStringList formats = a->formats();
    return std::all_of(formats.begin(), formats.end(),
                       [&](const QString& format) { return a->data(format) == b->data(format); });
}

// Session history lives in the program's own process, where a page's
// pushState states would pile up and stall the calculator while they are
// copied. A page keeps small states only. The engine runs this script in a
// frame only once the frame's own document loads, never in the empty one a
// new frame starts with, whose History functions work on any frame's history:
// so each window also guards its child frames' windows as soon as they appear
// (a script's insertion is seen at once, the parser's before the page's next
// script runs) and when the page asks an element for its frame's window.
const char kHistoryGuard[] = R"((() => {
  const stringify = JSON.stringify, apply = Reflect.apply, own = Object.getOwnPropertyDescriptor,
        define = Object.defineProperty, owners = [];
  const windowOf = element => {
    for (const get of owners)
      try { return apply(get, element, []) } catch (e) {}
    return null;
  };
  const guard = w => {
    let proto;
    try { proto = w.History.prototype } catch (e) { return }
    if (!proto || !own(proto, 'pushState').configurable)
      return;
    for (const name of ['pushState', 'replaceState']) {
      const original = proto[name];
      define(proto, name, {
        value: function (state, ...rest) {
          let size = Infinity;
          try { size = stringify(state === undefined ? null : state).length; } catch (e) {}
          if (!(size <= 65536))
            throw new DOMException('The help window keeps no large history states.', 'QuotaExceededError');
          return apply(original, this, [state, ...rest]);
        },
        writable: false, configurable: false
      });
    }
    for (const type of ['HTMLIFrameElement', 'HTMLFrameElement', 'HTMLObjectElement', 'HTMLEmbedElement']) {
      const p = w[type] && w[type].prototype;
      if (!p)
        continue;
      const window = own(p, 'contentWindow');
      if (window)
        owners.push(window.get);
      for (const name of ['contentWindow', 'contentDocument', 'getSVGDocument']) {
        const d = own(p, name);
        if (!d)
          continue;
        const original = d.get || d.value;
        const checked = function (...args) {
          const inner = windowOf(this);
          if (inner)
            guard(inner);
          return apply(original, this, args);
        };
        define(p, name, d.get ? {get: checked, enumerable: d.enumerable, configurable: false}
                              : {value: checked, enumerable: d.enumerable, writable: false, configurable: false});
      }
    }
    const count = own(w, 'length').get;
    const guardFrames = () => {
      for (let i = apply(count, w, []) - 1; i >= 0; --i)
        guard(w[i]);
    };
    const watch = root => root.addEventListener('DOMNodeInserted', guardFrames, true);
    watch(w);
    const attachShadow = w.Element.prototype.attachShadow;
    define(w.Element.prototype, 'attachShadow', {
      value: function (...args) {
        const root = apply(attachShadow, this, args);
        watch(root);
        return root;
      },
      writable: false, configurable: false
    });
    new w.MutationObserver(guardFrames).observe(w.document, {childList: true, subtree: true});
  };
  guard(window);
})();)";

// The engine reads its switches once, when the first profile starts it. A
// script's own heap is then bounded; what lies outside it (typed arrays, a
// huge document) is bounded by watching the renderer's memory.
void limitScriptHeap()
{
    static bool done = false;
    if (std::exchange(done, true))
        return;
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    flags += " --js-flags=--max-old-space-size=256";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());
}

// The program's own resources are for the bundled page alone: a web page
// must not load (and read the pixels of) its pictures, nor frame the page.
// Nor does a page get a service worker: the engine keeps their registrations
// in folders on disk, even off the record.
class ResourceGuard : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        const QUrl url = info.requestUrl();
        if (info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeServiceWorker ||
            (url.scheme() == QLatin1String("qrc") &&
             !(isBundled(url) && info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame)))
            info.block(true);
    }
};

class HelpPage : public QWebEnginePage {
public:
    HelpPage(QWebEngineProfile* profile, const HelpLimits& limits, HelpWindow* window, QObject* parent)
        : QWebEnginePage(profile, parent), window_(window), limits_(limits)
    {
        // A failed load shows the bundled page; the engine's own error page
        // would only come first and flicker.
        settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
        settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
        settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
        settings()->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
        settings()->setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
        // A PDF would open the engine's viewer, with its save and print buttons.
        settings()->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);

        QWebEngineScript historyGuard;
        historyGuard.setSourceCode(QString::fromLatin1(kHistoryGuard));
        historyGuard.setInjectionPoint(QWebEngineScript::DocumentCreation);
        historyGuard.setWorldId(QWebEngineScript::MainWorld);
        historyGuard.setRunsOnSubFrames(true);
        scripts().insert(historyGuard);

        stall_.setSingleShot(true);
        stall_.setInterval(limits_.loadTime);
        connect(&stall_, &QTimer::timeout, this, &HelpPage::showBundled);
        connect(this, &QWebEnginePage::loadingChanged, this, &HelpPage::followLoad);
        connect(this, &QWebEnginePage::newWindowRequested, this, &HelpPage::openRequestedWindow);
        connect(this, &QWebEnginePage::renderProcessTerminated, this, [this] {
            window_->keepUsersWindow();
            // Not from inside the engine's notice of the dead renderer.
            shown_ = false;
            stall_.stop();
            QTimer::singleShot(0, this, &HelpPage::showBundled);
        });
    }

    void setHelpSite(const QUrl& site) { site_ = site; }

    void showBundled()
    {
        if (lifecycleState() != LifecycleState::Active)
            setLifecycleState(LifecycleState::Active);
        setUrl(bundledHelpPage());
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override
    {
        if (isBundled(url))
            return true;
        if (!isMainFrame)
            return isWeb(url) || url == QUrl(QStringLiteral("about:blank")) ||
                   url == QUrl(QStringLiteral("about:srcdoc"));
        if (staysHere(url))
            return true;
        // The engine calls a script's navigation a clicked link too: what the
        // user did is known from the window's own input events.
        leave(url);
        return false;
    }

    // A page's file input gets nothing: a file dialog would write its
    // settings to disk, and help has no business reading the user's files.
    QStringList chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) override { return {}; }

    // No page of its own for a new window: the engine then offers the
    // request to openRequestedWindow. (Handing back this page made the
    // engine adopt it a second time and crash on the script's next call.)
    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }

    // A page opens no box of its own: the boxes were application-modal and
    // locked the calculator. confirm() and prompt() get "cancelled", and
    // leaving a page is never asked about.
    void javaScriptAlert(const QUrl&, const QString&) override {}
    bool javaScriptConfirm(const QUrl&, const QString& message) override { return message == leaveQuestion(); }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override { return false; }

    // The page's console is the page's business, not the terminal's.
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) override {}

private:
    // How the engine words a page's "beforeunload" question when it puts it
    // to javaScriptConfirm.
    static QString leaveQuestion()
    {
        return QCoreApplication::translate(
            "QWebEnginePage", "Are you sure you want to leave this page? Changes that you made may not be saved.");
    }

    // The pages that may be shown in this window.
    bool staysHere(const QUrl& url) const { return isBundled(url) || onSite(url, site_); }

    // An address away from the help site goes to the user's browser only
    // for a click of the user's, one per click; anything else is refused,
    // and the window says so.
    void leave(const QUrl& url)
    {
        QString refusal = refusalOf(url, site_.host());
        if (refusal.isEmpty() && window_->takeUserGesture()) {
            window_->say(QStringLiteral("Opened in your web browser: %1").arg(shown(url)));
            QDesktopServices::openUrl(url);
            return;
        }
        if (refusal.isEmpty())
            refusal = QStringLiteral("not asked for by a click of yours");
        window_->say(QStringLiteral("Not opened: %1 (%2)").arg(shown(url), refusal));
    }

    void followLoad(const QWebEngineLoadingInfo& info)
    {
        // Loads of other pages are refused as they start: what is shown
        // stays, and a load of the help site may still be under way.
        if (!staysHere(info.url()))
            return;
        switch (info.status()) {
        case QWebEngineLoadingInfo::LoadStartedStatus:
            ++starts_;
            if (!isBundled(info.url()))
                stall_.start();
            break;
        case QWebEngineLoadingInfo::LoadSucceededStatus:
            stall_.stop();
            shown_ = true;
            break;
        case QWebEngineLoadingInfo::LoadFailedStatus:
            stall_.stop();
            // Once per failed page, never for the bundled page itself: no loop.
            if (!isBundled(info.url()))
                showBundled();
            break;
        case QWebEngineLoadingInfo::LoadStoppedStatus:
            // Not a page (no content, a download): what was shown stays; if
            // nothing was, the bundled page comes, unless a newer load has
            // started meanwhile.
            stall_.stop();
            if (!shown_)
                QTimer::singleShot(0, this, [this, starts = starts_] {
                    if (starts == starts_ && !shown_)
                        showBundled();
                });
            break;
        }
    }

    void openRequestedWindow(QWebEngineNewWindowRequest& request)
    {
        const QUrl url = request.requestedUrl();
        if (!request.isUserInitiated() || url.isEmpty())
            return;  // refused: the script gets no window
        if (staysHere(url))
            setUrl(url);
        else
            leave(url);
    }

    HelpWindow* window_;
    HelpLimits limits_;
    QUrl site_;
    QTimer stall_;
    bool shown_ = false;  // a page has been shown in this window
    int starts_ = 0;
};

}  // namespace

QUrl bundledHelpPage()
{
    return QUrl(QStringLiteral("qrc:/help/tivora-help.htm"));
}

QMenu* HelpBrowser::createHelpContextMenu()
{
    auto* menu = new QMenu(this);
    for (QWebEnginePage::WebAction action : {QWebEnginePage::Back, QWebEnginePage::Forward, QWebEnginePage::Reload})
        menu->addAction(page()->action(action));
    menu->addSeparator();
    for (QWebEnginePage::WebAction action :
         {QWebEnginePage::Copy, QWebEnginePage::CopyLinkToClipboard, QWebEnginePage::SelectAll})
        menu->addAction(page()->action(action));
    return menu;
}

// The engine's own menu offers saving, viewing the source, new windows and
// inspecting, none of which works or belongs in a help window.
void HelpBrowser::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createHelpContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

HelpWindow::HelpWindow(const HelpLimits& limits, const QUrl& helpSite) : limits_(limits), helpSite_(helpSite)
{
    limitScriptHeap();
    profile_ = new QWebEngineProfile;  // no name: off the record, all in memory
    setObjectName(QStringLiteral("Help"));
    setWindowTitle(QStringLiteral("Help"));
    QIcon icon;
    icon.addFile(QStringLiteral(":/help/info-16.png"));
    icon.addFile(QStringLiteral(":/help/info-32.png"));
    setWindowIcon(icon);
    // Closing destroys the window, its browser and its page. While hidden it
    // does not keep the program running: Qt quits when the last visible
    // window closes.
    setAttribute(Qt::WA_DeleteOnClose);
    setGeometry(118, 58, 607, 489);

    // Off the record, the engine still makes folders there for service
    // workers and IndexedDB, even empty ones: under a file, it can make none.
    profile_->setPersistentStoragePath(QStringLiteral("/dev/null/tivora"));
    profile_->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile_->setSpellCheckEnabled(false);
    // Refused as soon as the engine asks; by then it has put the first part
    // in a temporary file, which it deletes on the refusal (see README).
    connect(profile_, &QWebEngineProfile::downloadRequested, this,
            [](QWebEngineDownloadRequest* download) { download->cancel(); });
    interceptor_ = new ResourceGuard(this);
    profile_->setUrlRequestInterceptor(interceptor_);

    browser_ = new HelpBrowser(this);
    browser_->setObjectName(QStringLiteral("brwWebBrowser"));
    // One pixel wider than the client area: its last column is cut off.
    browser_->setGeometry(0, 0, 608, 489);
    // Boxes the engine opens by itself (a colour picker) and the user's
    // clicks and keys in the page are watched for.
    browser_->installEventFilter(this);

    // The browser's own status line: over the page's lower left corner,
    // for a few seconds.
    statusLine_ = new QLabel(this);
    statusLine_->setObjectName(QStringLiteral("statusLine"));
    statusLine_->setAutoFillBackground(true);
    statusLine_->setFrameShape(QFrame::Box);
    statusLine_->setContentsMargins(3, 1, 3, 1);
    statusLine_->hide();
    statusTimeout_.setSingleShot(true);
    statusTimeout_.setInterval(kStatusShownMs);
    connect(&statusTimeout_, &QTimer::timeout, statusLine_, &QWidget::hide);

    memoryWatch_.setInterval(250);
    connect(&memoryWatch_, &QTimer::timeout, this, &HelpWindow::checkMemory);
    freezeLater_.setSingleShot(true);
    freezeLater_.setInterval(500);
    connect(&freezeLater_, &QTimer::timeout, this, &HelpWindow::freezeIfIdle);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &HelpWindow::guardClipboard);
    newPage();

    auto* back = new QShortcut(this);
    back->setKeys({QKeySequence(Qt::ALT | Qt::Key_Left), QKeySequence(Qt::Key_Back)});
    connect(back, &QShortcut::activated, browser_, &QWebEngineView::back);
    auto* forward = new QShortcut(this);
    forward->setKeys({QKeySequence(Qt::ALT | Qt::Key_Right), QKeySequence(Qt::Key_Forward)});
    connect(forward, &QShortcut::activated, browser_, &QWebEngineView::forward);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
}

// The view and its page go before the profile they use.
HelpWindow::~HelpWindow()
{
    delete browser_;
    delete profile_;
}

void HelpWindow::newPage()
{
    QWebEnginePage* old = page_;
    page_ = new HelpPage(profile_, limits_, this, browser_);
    static_cast<HelpPage*>(page_)->setHelpSite(helpSite_);
    browser_->setPage(page_);
    if (old)
        old->deleteLater();
    // Not from inside the engine's notices.
    connect(page_, &QWebEnginePage::visibleChanged, this, &HelpWindow::followVisibility, Qt::QueuedConnection);
    connect(page_, &QWebEnginePage::loadStarted, this, &HelpWindow::followVisibility, Qt::QueuedConnection);
    connect(page_, &QWebEnginePage::loadFinished, this, &HelpWindow::followVisibility, Qt::QueuedConnection);
    connect(page_, &QWebEnginePage::lifecycleStateChanged, this, &HelpWindow::followVisibility, Qt::QueuedConnection);
    for (QWebEnginePage::WebAction copy : {QWebEnginePage::Copy, QWebEnginePage::CopyLinkToClipboard})
        connect(page_->action(copy), &QAction::triggered, this, [this] { ownCopy_.start(); });
    ownBaseline_ = residentMemory(QCoreApplication::applicationPid());
    followVisibility();
}

void HelpWindow::setHelpSite(const QUrl& site)
{
    helpSite_ = site;
    static_cast<HelpPage*>(page_)->setHelpSite(site);
}

void HelpWindow::load(const QUrl& address)
{
    // A frozen page would not load; it is frozen again once loaded.
    if (page_->lifecycleState() != QWebEnginePage::LifecycleState::Active)
        page_->setLifecycleState(QWebEnginePage::LifecycleState::Active);
    page_->setUrl(address);
    followVisibility();
}

void HelpWindow::say(const QString& text)
{
    statusLine_->setText(statusLine_->fontMetrics().elidedText(text, Qt::ElideMiddle, width() - 20));
    statusLine_->adjustSize();
    statusLine_->move(0, height() - statusLine_->height());
    statusLine_->raise();
    statusLine_->show();
    statusTimeout_.start();
}

bool HelpWindow::takeUserGesture()
{
    if (gestureTaken_ || !userGesture_.isValid() || userGesture_.elapsed() > kGestureMs)
        return false;
    gestureTaken_ = true;
    return true;
}

void HelpWindow::dropPage()
{
    keepUsersWindow();
    newPage();
    static_cast<HelpPage*>(page_)->showBundled();
    say(QStringLiteral("The page needed more memory than the help window gives; the help page is shown instead."));
}

// A hidden page runs no script and draws nothing until shown again: it is
// frozen once it has stopped loading (a moment later, as a failed load is
// followed by the bundled page's). Its memory is watched while it runs.
void HelpWindow::followVisibility()
{
    using State = QWebEnginePage::LifecycleState;
    if (page_->isVisible()) {
        freezeLater_.stop();
        if (page_->lifecycleState() != State::Active)
            page_->setLifecycleState(State::Active);
    } else if (!page_->isLoading() && page_->lifecycleState() == State::Active) {
        freezeLater_.start();
    }
    if (page_->lifecycleState() == State::Active) {
        if (!memoryWatch_.isActive())
            memoryWatch_.start();
    } else {
        memoryWatch_.stop();
    }
}

void HelpWindow::freezeIfIdle()
{
    if (!page_->isVisible() && !page_->isLoading() && page_->lifecycleState() == QWebEnginePage::LifecycleState::Active)
        page_->setLifecycleState(QWebEnginePage::LifecycleState::Frozen);
    followVisibility();
}

void HelpWindow::checkMemory()
{
    const qint64 program = QCoreApplication::applicationPid();
    qint64 used = std::max<qint64>(0, residentMemory(program) - ownBaseline_);
    for (qint64 helper : descendantsOf(program))
        used += residentMemory(helper);
    if (used > limits_.pageMemory)
        dropPage();
}

void HelpWindow::watchUserInput(QObject* watched, QEvent* event)
{
    if (watched != browser_->focusProxy() || !event->spontaneous())
        return;
    bool gesture = false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        userInput_.start();
        break;
    case QEvent::MouseButtonRelease:
        gesture = static_cast<QMouseEvent*>(event)->button() & (Qt::LeftButton | Qt::MiddleButton);
        break;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        userInput_.start();
        if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Cut))
            ownCopy_.start();
        gesture = (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !key->isAutoRepeat();
        break;
    }
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        gesture = key->key() == Qt::Key_Space && !key->isAutoRepeat();
        break;
    }
    default:
        return;
    }
    // What was on the clipboard before the page could have written it.
    if (!clipboardBefore_)
        clipboardBefore_ = copyOf(QGuiApplication::clipboard()->mimeData());
    if (gesture) {
        userGesture_.start();
        gestureTaken_ = false;
    }
}

// The engine lets a page write the clipboard on the user's click whatever the
// page's settings say: a change made while the page could, and not by the
// user's own Copy, is undone.
void HelpWindow::guardClipboard()
{
    if (restoringClipboard_)
        return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    const bool ownCopy = ownCopy_.isValid() && ownCopy_.elapsed() < kOwnCopyMs;
    const bool pageCould = userInput_.isValid() && userInput_.elapsed() < kPageActivationMs && isActiveWindow();
    if (ownCopy || !pageCould || !clipboardBefore_) {
        clipboardBefore_.reset();
        return;
    }
    if (sameData(clipboard->mimeData(), clipboardBefore_.get()))
        return;  // put back (by us, or by a clipboard manager taking it over)
    restoringClipboard_ = true;
    clipboard->setMimeData(copyOf(clipboardBefore_.get()).release());
    restoringClipboard_ = false;
    say(QStringLiteral("The page may not write to the clipboard; it holds what it held before."));
}

void HelpWindow::keepUsersWindow()
{
    if (isActiveWindow() || !QApplication::activeWindow())
        return;
    usersWindow_ = QApplication::activeWindow();
    usersFocus_ = QApplication::focusWidget();
    sinceReplaced_.start();
}

bool HelpWindow::event(QEvent* event)
{
    // The engine's new view activates its window as it shows: hand the
    // keyboard back, once, for a while after the view was replaced.
    if (event->type() == QEvent::WindowActivate && usersWindow_ && sinceReplaced_.isValid() &&
        sinceReplaced_.elapsed() < kKeepUsersWindowMs) {
        sinceReplaced_.invalidate();
        QTimer::singleShot(0, usersWindow_, [window = usersWindow_, focus = usersFocus_] {
            window->raise();
            window->activateWindow();
            if (focus)
                focus->setFocus();
        });
    }
    return QWidget::event(event);
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == browser_ && event->type() == QEvent::ChildAdded) {
        if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child()))
            child->installEventFilter(this);
    } else if (event->type() == QEvent::Polish) {
        // A box of the page's asking (a colour picker, whose custom colours
        // go to a settings file) is polished just before it would show: it
        // never reaches the screen and is cancelled at once.
        if (auto* box = qobject_cast<QDialog*>(watched)) {
            box->setAttribute(Qt::WA_DontShowOnScreen);
            // Nor does it block the calculator for the moment it exists.
            box->setWindowModality(Qt::NonModal);
            QMetaObject::invokeMethod(box, &QDialog::reject, Qt::QueuedConnection);
        }
    } else {
        watchUserInput(watched, event);
    }
    return QWidget::eventFilter(watched, event);
}

Help::Help(HelpLimits limits) : limits_(limits) {}

Help::~Help()
{
    delete window_.data();
}

HelpWindow* Help::built()
{
    if (!window_)
        window_ = new HelpWindow(limits_, helpSite_);
    return window_;
}

void Help::show()
{
    HelpWindow* window = built();
    window->show();
    window->raise();
    window->activateWindow();
}

void Help::navigate(const QUrl& address)
{
    if (isWeb(address))
        helpSite_ = address;
    HelpWindow* window = built();
    window->setHelpSite(helpSite_);
    window->load(address);
}

}  // namespace tivora
