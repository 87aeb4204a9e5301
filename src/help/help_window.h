#pragma once

// The help window, Help: one object for the whole run, whose window (with
// its browser brwWebBrowser) is built at first use and destroyed when the
// user closes it; the next use builds a new window with a blank browser.
//
// The browser is a window on the help site, not on the web: it keeps
// everything in memory (an off-the-record profile), stays on the site the
// program sends it to (its scheme, host and port) and on the bundled page,
// hands a web link the user clicked to the user's own browser (one per click,
// and nothing a script asks for), opens no window, dialog or download of the
// page's asking, writes nothing to the clipboard but what the user copies,
// and shows the bundled copy of the help page whenever a page cannot be shown
// (failed, stalled, not a page, too big, or its renderer gone).

#include "window/help_access.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWebEngineView>
#include <QWidget>

#include <chrono>
#include <memory>

class QLabel;
class QMimeData;
class QWebEngineProfile;
class QWebEngineUrlRequestInterceptor;

namespace tivora {

// The help page compiled into the program.
QUrl bundledHelpPage();

// What a help page may take before the bundled page replaces it.
struct HelpLimits {
    // A page not finished by then is given up, whatever it is doing.
    std::chrono::milliseconds loadTime{10000};
    // Resident memory of the page's processes (its renderers and the
    // engine's helpers) plus what the program's own process has grown by
    // since the page came. A help page needs some 100 MB; past this the page
    // is dropped, so the calculator stays usable.
    qint64 pageMemory = qint64(768) << 20;
};

// The view, with a context menu of only what works here.
class HelpBrowser : public QWebEngineView {
    Q_OBJECT

public:
    using QWebEngineView::QWebEngineView;

    // Back, Forward, Reload, Copy, Copy Link Address, Select All.
    QMenu* createHelpContextMenu();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
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
    // For the page: whether a click or key of the user's in the page just
    // now may open one link in the user's browser; true once per event.
    bool takeUserGesture();
    // For the page: ends it, with all it holds, and shows the bundled page.
    void dropPage();
    // For the page: its view is about to be replaced by the engine's doing,
    // which would make this window the active one. The window the user was
    // in keeps the keyboard.
    void keepUsersWindow();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void newPage();
    void watchUserInput(QObject* watched, QEvent* event);
    void guardClipboard();
    void followVisibility();
    void freezeIfIdle();
    void checkMemory();

    HelpLimits limits_;
    QUrl helpSite_;
    QWebEngineProfile* profile_;
    QWebEngineUrlRequestInterceptor* interceptor_;
    HelpBrowser* browser_;
    QWebEnginePage* page_ = nullptr;
    QLabel* statusLine_;
    // Children, so that what wakes for the window can be told.
    QTimer statusTimeout_{this};
    QTimer memoryWatch_{this};
    QTimer freezeLater_{this};
    qint64 ownBaseline_ = 0;  // the program's resident memory before the page

    QElapsedTimer userInput_;    // since the user's last click or key in the page
    QElapsedTimer userGesture_;  // since the last that may open a link
    bool gestureTaken_ = true;
    QElapsedTimer ownCopy_;  // since the user's own Copy, if not yet seen
    std::unique_ptr<QMimeData> clipboardBefore_;
    QPointer<QWidget> usersWindow_;
    QPointer<QWidget> usersFocus_;
    QElapsedTimer sinceReplaced_;
    bool restoringClipboard_ = false;
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
