#pragma once

// The help window, Help: one object for the whole run, whose window (with
// its browser brwWebBrowser) is built at first use and destroyed when the
// user closes it; the next use builds a new window with a blank browser.
//
// The window is a window on the help site, not on the web; its parts, each
// in a file of its own:
//   address_policy   which address is shown, opened in the user's browser, or refused
//   user_actions     one click or one physical key press is one action of the user's
//   help_page        the page: what it may do, and the bundled page when it cannot be shown
//   help_profile     everything in memory, nothing written, no downloads or service workers
//   page_guard.js    in every frame: no large history state, no clipboard, no rewriting
//   memory_watch     the memory the page takes, watched while it can run
//   clipboard_guard  the clipboard and the selection stay the user's
// and here: the window, its status line, what the user does in the page, and
// the page put away when out of sight.

#include "modules/help_access.h"
#include "user_actions.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWebEngineView>
#include <QWidget>

#include <chrono>
#include <optional>

class QLabel;
class QWebEngineProfile;

namespace tivora {

class ClipboardGuard;
class HelpPage;
class MemoryWatch;

// What a help page may take before the bundled page replaces it.
struct HelpLimits {
    // A page not finished by then is given up, whatever it is doing.
    std::chrono::milliseconds loadTime{10000};
    // Resident memory of the page's processes (its renderers and the
    // engine's helpers) plus what the program's own process has grown by
    // since the page came. A help page needs some 100 MB; past this the page
    // is dropped, so the calculator stays usable.
    qint64 pageMemory = qint64(768) << 20;
    // Out of sight (hidden, minimised, on another desktop) this long, the
    // page is put away with all its processes; shown again, it loads anew.
    std::chrono::milliseconds outOfSight{3000};
};

// The view, with a context menu of only what works here.
class HelpBrowser : public QWebEngineView {
    Q_OBJECT

public:
    HelpBrowser(ClipboardGuard* clipboard, QWidget* parent);

    // Back, Forward, Reload, Copy, Copy Link Address, Select All.
    QMenu* createHelpContextMenu();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    ClipboardGuard* clipboard_;
};

class HelpWindow : public QWidget {
    Q_OBJECT

public:
    HelpWindow(const HelpLimits& limits, const QUrl& helpSite);
    ~HelpWindow() override;

    QWebEngineView* browser() const { return browser_; }
    // Pages from `site`'s scheme, host and port stay in the window.
    void setHelpSite(const QUrl& site);
    void load(const QUrl& address);

    // For the page: says `text` in the window's status line.
    void say(const QString& text);
    // For the page: the link of the user's latest click or key in the page
    // while it may still open it (empty when it was on no link), and that it
    // has.
    std::optional<QUrl> pendingLink() const;
    void actionUsed();
    // For the page: its view is about to be replaced by the engine's doing,
    // which would make this window the active one. The window the user was
    // in keeps the keyboard.
    void keepUsersWindow();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void newPage();
    void dropPage(const QString& why);
    // Whether the event is the user's copy, made here instead of by the page.
    bool watchUserInput(QObject* watched, QEvent* event);
    bool inSight() const;
    void followSight();
    void putAway();
    void checkHistory();

    HelpLimits limits_;
    QUrl helpSite_;
    QWebEngineProfile* profile_;
    ClipboardGuard* clipboard_;
    HelpBrowser* browser_;
    HelpPage* page_ = nullptr;
    QLabel* statusLine_;
    // Children, so that what wakes for the window can be told.
    QTimer statusTimeout_{this};
    QTimer putAwayLater_{this};
    MemoryWatch* memoryWatch_;
    QPointer<QWindow> watchedWindow_;

    UserActions userActions_;
    QElapsedTimer clock_;
    QUrl linkUnderUser_;  // as the engine last reported it: hovered or focused
    int historyAtAction_ = 0;
    QPointer<QWidget> usersWindow_;
    QPointer<QWidget> usersFocus_;
    QElapsedTimer sinceReplaced_;
};

class Help : public HelpAccess {
public:
    explicit Help(HelpLimits limits = {});
    ~Help() override;
    Help(const Help&) = delete;
    Help& operator=(const Help&) = delete;

    void show() override;
    // The site of `address` (scheme, host and port) becomes the help site:
    // its pages stay in the window, other web pages go to the user's browser
    // when the user clicks a link to them.
    void navigate(const QUrl& address) override;

    // The window as it stands: null before the first use and after the user
    // closed it.
    HelpWindow* window() const { return window_; }

private:
    HelpWindow* built();

    HelpLimits limits_;
    QUrl helpSite_;
    QPointer<HelpWindow> window_;
};

}  // namespace tivora
