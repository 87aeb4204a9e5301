#pragma once

// The help window, Help: one object for the whole run, whose window (with
// its browser brwWebBrowser) is built at first use and destroyed when the
// user closes it; the next use builds a new window with a blank browser.
//
// The browser keeps everything in memory (an off-the-record profile), opens
// no file dialog, takes no downloads, goes only to http, https and the
// bundled page, and shows the bundled copy of the help page when a page
// cannot be loaded.

#include "window/help_access.h"

#include <QPointer>
#include <QWidget>

class QWebEngineProfile;
class QWebEngineView;

namespace tivora {

// The help page compiled into the program.
QUrl bundledHelpPage();

class HelpWindow : public QWidget {
    Q_OBJECT

public:
    HelpWindow();
    ~HelpWindow() override;

    QWebEngineView* browser() const { return browser_; }

private:
    QWebEngineProfile* profile_;
    QWebEngineView* browser_;
};

class Help : public HelpAccess {
public:
    Help() = default;
    ~Help() override;
    Help(const Help&) = delete;
    Help& operator=(const Help&) = delete;

    void show() override;
    void navigate(const QUrl& address) override;

    // The window as it stands: null before the first use and after the user
    // closed it.
    HelpWindow* window() const { return window_; }

private:
    HelpWindow* built();

    QPointer<HelpWindow> window_;
};

}  // namespace tivora
