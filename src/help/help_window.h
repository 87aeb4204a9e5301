#pragma once

// The help window, Help: one object for the whole run, whose window (with
// its browser brwWebBrowser) is built at first use and destroyed when the
// user closes it; the next use builds a new window with a blank browser.
//
// The browser is a window on the help site, not on the web: it keeps
// everything in memory (an off-the-record profile), stays on the host the
// program sends it to and on the bundled page, hands other web links to the
// user's own browser, opens no window, dialog or download of the page's
// asking, and shows the bundled copy of the help page whenever a page cannot
// be shown (failed, stalled, not a page, or its renderer gone).

#include "window/help_access.h"

#include <QPointer>
#include <QWebEngineView>
#include <QWidget>

#include <chrono>

class QWebEngineProfile;
class QWebEngineUrlRequestInterceptor;

namespace tivora {

// The help page compiled into the program.
QUrl bundledHelpPage();

// What a help page may take before the bundled page replaces it.
struct HelpLimits {
    // A page not finished by then is given up, whatever it is doing.
    std::chrono::milliseconds loadTime{10000};
    // Resident memory of the page's renderer process. A help page needs
    // some 100 MB; past this it is ended, so the calculator stays usable.
    qint64 rendererMemory = qint64(768) << 20;
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
    HelpWindow(const HelpLimits& limits, const QString& helpHost);
    ~HelpWindow() override;

    QWebEngineView* browser() const { return browser_; }
    void setHelpHost(const QString& host);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWebEngineProfile* profile_;
    QWebEngineUrlRequestInterceptor* interceptor_;
    HelpBrowser* browser_;
};

class Help : public HelpAccess {
public:
    explicit Help(HelpLimits limits = {});
    ~Help() override;
    Help(const Help&) = delete;
    Help& operator=(const Help&) = delete;

    void show() override;
    // The host of `address` becomes the help site: its pages stay in the
    // window, other web pages go to the user's browser.
    void navigate(const QUrl& address) override;

    // The window as it stands: null before the first use and after the user
    // closed it.
    HelpWindow* window() const { return window_; }

private:
    HelpWindow* built();

    HelpLimits limits_;
    QString helpHost_;
    QPointer<HelpWindow> window_;
};

}  // namespace tivora
