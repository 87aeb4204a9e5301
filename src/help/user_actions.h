#pragma once

// What counts as one action of the user's in the help page, with no web
// engine and no clock of its own, so that a table can try every sequence
// (tests/window/help_policy_test): one click (a left or middle button
// released), or one physical press of Enter or Space. An action may open one
// link in the user's browser, the link it was on, within a second.
//
// A held key is one action however long it is held. The X server repeats a
// held key as release and press pairs that carry the same time; Qt flags the
// press as a repeat only when both have arrived together, which under load
// is less than half the time. So a press that follows a release of the same
// key at the same moment is a repeat too.

#include <QHash>
#include <QUrl>

#include <optional>

namespace tivora {

struct KeyStroke {
    enum Kind { Press, Release } kind;
    int key;            // Qt::Key
    quint32 scanCode;   // which key on the keyboard
    quint64 timestamp;  // the window system's time, in ms; 0 when unknown
    bool autoRepeat;    // as Qt flagged it
};

class UserActions {
public:
    // How long after an action the engine may still ask to open its link:
    // the engine asks a moment after the input.
    static constexpr qint64 kActionMs = 1000;
    // A release and a press of one key closer together than this are the
    // window system's repeat: the X server gives both the same time, and no
    // finger is that fast.
    static constexpr quint32 kRepeatPairMs = 5;

    // `link` is the link the user is on (under the pointer, or focused),
    // empty when none; `now` is a steady clock in ms.
    void mouseReleased(bool leftOrMiddle, const QUrl& link, qint64 now);
    void key(const KeyStroke& stroke, const QUrl& link, qint64 now);

    // The link of the latest action that has opened nothing yet, while it
    // may still open it; nothing otherwise.
    std::optional<QUrl> pendingLink(qint64 now) const;
    // The pending action has opened its link.
    void used();

private:
    void act(const QUrl& link, qint64 now);

    struct Held {
        bool armed = false;  // a physical press not yet turned into an action
        quint64 releasedAt = 0;
        bool released = false;
    };
    QHash<quint32, Held> keys_;
    QUrl link_;
    qint64 actedAt_ = 0;
    bool pending_ = false;
};

}  // namespace tivora
