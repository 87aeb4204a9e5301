#include "bring_to_front.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace tivora {

namespace {

// Calls `then` once `window` is on screen, or once it is hidden or gone
// before that; then goes away.
class WhenExposed : public QObject {
public:
    WhenExposed(QWindow* window, std::function<void()> then) : QObject(window), then_(std::move(then))
    {
        window->installEventFilter(this);
    }
    ~WhenExposed() override { done(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if ((event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) ||
            event->type() == QEvent::Hide) {
            watched->removeEventFilter(this);
            done();
            deleteLater();
        }
        return false;
    }

private:
    void done()
    {
        if (then_)
            std::exchange(then_, nullptr)();
    }

    std::function<void()> then_;
};

}  // namespace

void comeToFrontOnceOthersAreUp(QWidget* window)
{
    auto comeToFront = [window = QPointer<QWidget>(window)] {
        if (!window)
            return;
        window->raise();
        window->activateWindow();
        if (QWidget* message = QApplication::activeModalWidget()) {
            message->raise();
            message->activateWindow();
        }
    };
    std::vector<QWindow*> coming;
    for (QWidget* other : QApplication::topLevelWidgets()) {
        if (other != window && other->isVisible() && other->windowHandle() && !other->windowHandle()->isExposed())
            coming.push_back(other->windowHandle());
    }
    if (coming.empty()) {
        comeToFront();
        return;
    }
    // Once the last of them is up.
    auto left = std::make_shared<std::size_t>(coming.size());
    for (QWindow* other : coming)
        new WhenExposed(other, [left, comeToFront] {
            if (--*left == 0)
                comeToFront();
        });
}

}  // namespace tivora
