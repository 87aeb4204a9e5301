#include "help_window.h"

#include <QIcon>
#include <QWebEngineDownloadRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace tivora {

namespace {

class HelpPage : public QWebEnginePage {
public:
    HelpPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent)
    {
        // A failed load shows the bundled page; the engine's own error page
        // would only come first and flicker.
        settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
        settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
        settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
        connect(this, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
            // Once per failed page, never for the bundled page itself: no loop.
            if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus && info.url() != bundledHelpPage())
                setUrl(bundledHelpPage());
        });
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override
    {
        const QString scheme = url.scheme();
        return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
               url.adjusted(QUrl::RemoveFragment) == bundledHelpPage();
    }

    // A page's file input gets nothing: a file dialog would write its
    // settings to disk, and help has no business reading the user's files.
    QStringList chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) override { return {}; }

    // Links that ask for a new window load here.
    QWebEnginePage* createWindow(WebWindowType) override { return this; }
};

}  // namespace

QUrl bundledHelpPage()
{
    return QUrl(QStringLiteral("qrc:/help/tivora-help.htm"));
}

HelpWindow::HelpWindow() : profile_(new QWebEngineProfile)  // no name: off the record, all in memory
{
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

    profile_->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile_->setSpellCheckEnabled(false);
    connect(profile_, &QWebEngineProfile::downloadRequested, this,
            [](QWebEngineDownloadRequest* download) { download->cancel(); });

    browser_ = new QWebEngineView(this);
    browser_->setObjectName(QStringLiteral("brwWebBrowser"));
    browser_->setPage(new HelpPage(profile_, browser_));
    // One pixel wider than the client area: its last column is cut off.
    browser_->setGeometry(0, 0, 608, 489);
}

// The view and its page go before the profile they use.
HelpWindow::~HelpWindow()
{
    delete browser_;
    delete profile_;
}

Help::~Help()
{
    delete window_.data();
}

HelpWindow* Help::built()
{
    if (!window_)
        window_ = new HelpWindow;
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
    built()->browser()->setUrl(address);
}

}  // namespace tivora
