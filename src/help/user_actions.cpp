#include "user_actions.h"

#include <utility>

namespace tivora {

void UserActions::mouseReleased(bool leftOrMiddle, const QUrl& link, qint64 now)
{
    if (leftOrMiddle)
        act(link, now);
}

void UserActions::key(const KeyStroke& stroke, const QUrl& link, qint64 now)
{
    const bool enter = stroke.key == Qt::Key_Return || stroke.key == Qt::Key_Enter;
    if (!enter && stroke.key != Qt::Key_Space)
        return;
    Held& held = keys_[stroke.scanCode];
    if (stroke.kind == KeyStroke::Release) {
        held.released = true;
        held.releasedAt = stroke.timestamp;
        // A button is pressed by Space when the key comes up: the first time
        // it does, held or not.
        if (!enter && std::exchange(held.armed, false))
            act(link, now);
        return;
    }
    // X time is 32 bits of ms and wraps: the difference is taken in 32 bits.
    const bool repeatPair =
        held.released && stroke.timestamp != 0 && quint32(stroke.timestamp - held.releasedAt) < kRepeatPairMs;
    if (stroke.autoRepeat || repeatPair)
        return;
    // A link follows Enter as the key goes down.
    if (enter)
        act(link, now);
    else
        held.armed = true;
}

std::optional<QUrl> UserActions::pendingLink(qint64 now) const
{
    if (!pending_ || now - actedAt_ > kActionMs)
        return std::nullopt;
    return link_;
}

void UserActions::used()
{
    pending_ = false;
}

void UserActions::act(const QUrl& link, qint64 now)
{
    link_ = link;
    actedAt_ = now;
    pending_ = true;
}

}  // namespace tivora
