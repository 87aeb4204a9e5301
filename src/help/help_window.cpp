#include "help_window.h"

#include "address_policy.h"
#include "clipboard_guard.h"
#include "help_page.h"
#include "help_profile.h"
#include "memory_watch.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QShortcut>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineHistory>
#include <QWebEngineProfile>
#include <QWindow>

namespace tivora {

namespace {

constexpr int kStatusShownMs = 6000;
constexpr qint64 kKeepUsersWindowMs = 5000;
// Each history entry lives in the calculator's process, an address of up to
// 2 MB with it (a frame's `location.hash` is beyond the reach of the page
// guard): the page may make this many by itself, between two actions of the
// user's, before its history is forgotten.
constexpr int kOwnHistoryEntries = 4;
constexpr qsizetype kLongestAddress = 65536;

bool isCopy(const QKeyEvent* key)
{
    return key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Cut);
}

}  // namespace

HelpBrowser::HelpBrowser(ClipboardGuard* clipboard, QWidget* parent) : QWebEngineView(parent), clipboard_(clipboard) {}

QMenu* HelpBrowser::createHelpContextMenu()
{
    auto* menu = new QMenu(this);
    for (QWebEnginePage::WebAction action : {QWebEnginePage::Back, QWebEnginePage::Forward, QWebEnginePage::Reload})
        menu->addAction(page()->action(action));
    menu->addSeparator();
    // Copied here, not by the page: see ClipboardGuard.
    const QString selected = page()->selectedText();
    QAction* copy = menu->addAction(page()->action(QWebEnginePage::Copy)->text(), this,
                                    [this, selected] { clipboard_->copyForUser(selected); });
    copy->setObjectName(QStringLiteral("copy"));
    copy->setEnabled(!selected.isEmpty());
    const QWebEngineContextMenuRequest* request = lastContextMenuRequest();
    const QUrl link = request ? request->linkUrl() : QUrl();
    QAction* copyLink = menu->addAction(page()->action(QWebEnginePage::CopyLinkToClipboard)->text(), this,
                                        [this, link] { clipboard_->copyForUser(shownAddress(link)); });
    copyLink->setObjectName(QStringLiteral("copyLink"));
    copyLink->setEnabled(link.isValid() && !link.isEmpty());
    menu->addAction(page()->action(QWebEnginePage::SelectAll));
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
    profile_ = newHelpProfile(this);
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
    clock_.start();

    clipboard_ = new ClipboardGuard(this);
    connect(clipboard_, &ClipboardGuard::clipboardPutBack, this,
            [this] { say(QStringLiteral("The page may not write to the clipboard; it holds what it held before.")); });
    browser_ = new HelpBrowser(clipboard_, this);
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

    memoryWatch_ = new MemoryWatch(limits_.pageMemory, this);
    connect(memoryWatch_, &MemoryWatch::exceeded, this, [this] {
        dropPage(QStringLiteral("The page needed more memory than the help window gives; "
                                "the help page is shown instead."));
    });
    connect(memoryWatch_, &MemoryWatch::checked, this, &HelpWindow::checkHistory);
    putAwayLater_.setSingleShot(true);
    putAwayLater_.setInterval(limits_.outOfSight);
    connect(&putAwayLater_, &QTimer::timeout, this, &HelpWindow::putAway);
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
    HelpPage* old = page_;
    page_ = new HelpPage(profile_, limits_.loadTime, this, browser_);
    page_->setHelpSite(helpSite_);
    browser_->setPage(page_);
    if (old)
        old->deleteLater();
    // Not from inside the engine's notices.
    connect(page_, &QWebEnginePage::visibleChanged, this, &HelpWindow::followSight, Qt::QueuedConnection);
    connect(page_, &QWebEnginePage::lifecycleStateChanged, this, &HelpWindow::followSight, Qt::QueuedConnection);
    connect(page_, &QWebEnginePage::linkHovered, this, [this](const QString& link) { linkUnderUser_ = QUrl(link); });
    // Each entry keeps its address in the calculator's process.
    connect(page_, &QWebEnginePage::urlChanged, this, [this](const QUrl& url) {
        if (url.toString().size() > kLongestAddress) {
            page_->history()->clear();
            say(QStringLiteral("The page's address is too long to keep: its history is forgotten."));
        }
    });
    linkUnderUser_.clear();
    historyAtAction_ = 0;
    memoryWatch_->startOver();
    followSight();
}

void HelpWindow::setHelpSite(const QUrl& site)
{
    helpSite_ = site;
    page_->setHelpSite(site);
}

void HelpWindow::load(const QUrl& address)
{
    // A page put away would not load.
    if (page_->lifecycleState() != QWebEnginePage::LifecycleState::Active)
        page_->setLifecycleState(QWebEnginePage::LifecycleState::Active);
    page_->setUrl(address);
    // Out of sight, the page gets its full time before it is put away.
    putAwayLater_.stop();
    followSight();
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

std::optional<QUrl> HelpWindow::pendingLink() const
{
    return userActions_.pendingLink(clock_.elapsed());
}

void HelpWindow::actionUsed()
{
    userActions_.used();
}

void HelpWindow::dropPage(const QString& why)
{
    keepUsersWindow();
    newPage();
    page_->showBundled();
    say(why);
}

void HelpWindow::checkHistory()
{
    if (page_->history()->count() - historyAtAction_ <= kOwnHistoryEntries)
        return;
    page_->history()->clear();
    historyAtAction_ = page_->history()->count();
    say(QStringLiteral("The page made too many history entries by itself; they are forgotten."));
}

// Shown, minimised or on another desktop (where the window manager unmaps
// it), the engine sees only whether the view is hidden.
bool HelpWindow::inSight() const
{
    return isVisible() && !isMinimized() && windowHandle() && windowHandle()->isExposed();
}

// Out of sight for a while, the page is put away with all its processes, so
// that no script, worker or shared worker runs and its memory is given back;
// in sight again, it loads anew. Its memory is watched whenever it can run.
void HelpWindow::followSight()
{
    using State = QWebEnginePage::LifecycleState;
    const bool seen = inSight();
    if (isVisible() && !isMinimized() && page_->isVisible() != seen)
        page_->setVisible(seen);
    if (seen) {
        putAwayLater_.stop();
        if (page_->lifecycleState() != State::Active)
            page_->setLifecycleState(State::Active);
    } else if (page_->lifecycleState() != State::Discarded && !putAwayLater_.isActive()) {
        putAwayLater_.start();
    }
    memoryWatch_->watch(page_->lifecycleState() != State::Discarded);
}

void HelpWindow::putAway()
{
    if (!inSight() && !page_->isVisible())
        page_->setLifecycleState(QWebEnginePage::LifecycleState::Discarded);
    followSight();
}

bool HelpWindow::watchUserInput(QObject* watched, QEvent* event)
{
    if (watched != browser_->focusProxy() || !event->spontaneous())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
        userActions_.mouseReleased(button == Qt::LeftButton || button == Qt::MiddleButton, linkUnderUser_,
                                   clock_.elapsed());
        break;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isCopy(key)) {
            if (event->type() == QEvent::KeyPress)
                clipboard_->copyForUser(page_->selectedText());
            return true;
        }
        const KeyStroke stroke{event->type() == QEvent::KeyPress ? KeyStroke::Press : KeyStroke::Release, key->key(),
                               key->nativeScanCode(), key->timestamp(), key->isAutoRepeat()};
        userActions_.key(stroke, linkUnderUser_, clock_.elapsed());
        break;
    }
    case QEvent::MouseButtonPress:
        break;
    default:
        return false;
    }
    historyAtAction_ = page_->history()->count();
    return false;
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
    switch (event->type()) {
    case QEvent::WindowActivate:
        // The engine's new view activates its window as it shows: hand the
        // keyboard back, once, for a while after the view was replaced.
        if (usersWindow_ && sinceReplaced_.isValid() && sinceReplaced_.elapsed() < kKeepUsersWindowMs) {
            sinceReplaced_.invalidate();
            QTimer::singleShot(0, usersWindow_, [window = usersWindow_, focus = usersFocus_] {
                window->raise();
                window->activateWindow();
                if (focus)
                    focus->setFocus();
            });
        }
        break;
    case QEvent::Show:
    case QEvent::WinIdChange:
        // Whether the window manager shows the window is told by its
        // exposure; the window is made anew when the view first needs GL.
        if (windowHandle() && watchedWindow_ != windowHandle()) {
            watchedWindow_ = windowHandle();
            watchedWindow_->installEventFilter(this);
        }
        [[fallthrough]];
    case QEvent::Hide:
    case QEvent::WindowStateChange:
        QMetaObject::invokeMethod(this, &HelpWindow::followSight, Qt::QueuedConnection);
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == watchedWindow_) {
        if (event->type() == QEvent::Expose)
            QMetaObject::invokeMethod(this, &HelpWindow::followSight, Qt::QueuedConnection);
    } else if (watched == browser_ && event->type() == QEvent::ChildAdded) {
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
    } else if (watchUserInput(watched, event)) {
        return true;
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
