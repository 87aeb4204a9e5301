#pragma once

// The page of the help window: what a page may do there. It shows the help
// site and the bundled page, hands a link the user clicked to the user's own
// browser (as the address policy says), opens no window, box, file picker
// or download of its own, keeps no large history state (the guard script,
// page_guard.js, in every frame), and gives way to the bundled page whenever
// it cannot be shown (failed, stalled, not a page, or its renderer gone).

#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>

#include <chrono>

class QWebEngineLoadingInfo;
class QWebEngineNewWindowRequest;

namespace tivora {

class HelpWindow;
enum class Asked;

class HelpPage : public QWebEnginePage {
    Q_OBJECT

public:
    // A page not finished within `loadTime` is given up.
    HelpPage(QWebEngineProfile* profile, std::chrono::milliseconds loadTime, HelpWindow* window, QObject* parent);

    // Pages from `site`'s scheme, host and port stay in the window.
    void setHelpSite(const QUrl& site);
    void showBundled();

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

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
    bool javaScriptConfirm(const QUrl&, const QString& message) override;
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override { return false; }

    // The page's console is the page's business, not the terminal's.
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) override {}

private:
    bool staysHere(const QUrl& url) const;
    // An address away from the help site, asked for by the page: to the
    // user's browser or refused, and the window says which.
    void leave(const QUrl& url, Asked asked);
    void followLoad(const QWebEngineLoadingInfo& info);
    void openRequestedWindow(QWebEngineNewWindowRequest& request);

    HelpWindow* window_;
    QUrl site_;
    QTimer stall_;
    bool shown_ = false;  // a page has been shown in this window
    int starts_ = 0;
};

}  // namespace tivora
