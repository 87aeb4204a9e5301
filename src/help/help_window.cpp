#include "help_window.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QEvent>
#include <QFile>
#include <QIcon>
#include <QMenu>
#include <QShortcut>
#include <QTimer>
#include <QWebEngineDownloadRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>

#include <csignal>
#include <unistd.h>

namespace tivora {

namespace {

bool isBundled(const QUrl& url)
{
    return url.adjusted(QUrl::RemoveFragment) == bundledHelpPage();
}

bool isWeb(const QUrl& url)
{
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

// The engine reads its switches once, when the first profile starts it. A
// script's own heap is then bounded; what lies outside it (typed arrays, a
// huge document) is bounded by watching the renderer's memory.
void limitScriptHeap()
{
    static bool done = false;
    if (std::exchange(done, true))
        return;
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    flags += " --js-flags=--max-old-space-size=256";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());
}

// The program's own resources are for the bundled page alone: a web page
// must not load (and read the pixels of) its pictures, nor frame the page.
class ResourceGuard : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        const QUrl url = info.requestUrl();
        if (url.scheme() == QLatin1String("qrc") &&
            !(isBundled(url) && info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame))
            info.block(true);
    }
};

class HelpPage : public QWebEnginePage {
public:
    HelpPage(QWebEngineProfile* profile, const HelpLimits& limits, QObject* parent)
        : QWebEnginePage(profile, parent), limits_(limits)
    {
        // A failed load shows the bundled page; the engine's own error page
        // would only come first and flicker.
        settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
        settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
        settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
        settings()->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
        settings()->setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
        // A PDF would open the engine's viewer, with its save and print buttons.
        settings()->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);

        stall_.setSingleShot(true);
        stall_.setInterval(limits_.loadTime);
        connect(&stall_, &QTimer::timeout, this, &HelpPage::showBundled);
        connect(this, &QWebEnginePage::loadingChanged, this, &HelpPage::followLoad);
        connect(this, &QWebEnginePage::newWindowRequested, this, &HelpPage::openRequestedWindow);

        // The engine does not always tell of a new renderer: look every time.
        connect(&memoryWatch_, &QTimer::timeout, this, &HelpPage::checkRendererMemory);
        memoryWatch_.start(250);
        connect(this, &QWebEnginePage::renderProcessTerminated, this, [this] {
            // Not from inside the engine's notice of the dead renderer.
            shown_ = false;
            stall_.stop();
            QTimer::singleShot(0, this, &HelpPage::showBundled);
        });
    }

    void setHelpHost(const QString& host) { helpHost_ = host; }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override
    {
        if (isBundled(url))
            return true;
        if (!isMainFrame)
            return isWeb(url) || url == QUrl(QStringLiteral("about:blank")) ||
                   url == QUrl(QStringLiteral("about:srcdoc"));
        if (staysHere(url))
            return true;
        if (!isWeb(url))
            return false;
        // Only a link the user followed; a script or a redirect sends nobody
        // anywhere.
        if (type == NavigationTypeLinkClicked)
            QDesktopServices::openUrl(url);
        return false;
    }

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
    bool javaScriptConfirm(const QUrl&, const QString& message) override { return message == leaveQuestion(); }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override { return false; }

    // The page's console is the page's business, not the terminal's.
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) override {}

private:
    // How the engine words a page's "beforeunload" question when it puts it
    // to javaScriptConfirm.
    static QString leaveQuestion()
    {
        return QCoreApplication::translate(
            "QWebEnginePage", "Are you sure you want to leave this page? Changes that you made may not be saved.");
    }

    void showBundled() { setUrl(bundledHelpPage()); }

    // The pages that may be shown in this window.
    bool staysHere(const QUrl& url) const { return isBundled(url) || (isWeb(url) && url.host() == helpHost_); }

    void followLoad(const QWebEngineLoadingInfo& info)
    {
        // Loads of other pages are refused as they start: what is shown
        // stays, and a load of the help site may still be under way.
        if (!staysHere(info.url()))
            return;
        switch (info.status()) {
        case QWebEngineLoadingInfo::LoadStartedStatus:
            ++starts_;
            if (!isBundled(info.url()))
                stall_.start();
            break;
        case QWebEngineLoadingInfo::LoadSucceededStatus:
            stall_.stop();
            shown_ = true;
            break;
        case QWebEngineLoadingInfo::LoadFailedStatus:
            stall_.stop();
            // Once per failed page, never for the bundled page itself: no loop.
            if (!isBundled(info.url()))
                showBundled();
            break;
        case QWebEngineLoadingInfo::LoadStoppedStatus:
            // Not a page (no content, a download): what was shown stays; if
            // nothing was, the bundled page comes, unless a newer load has
            // started meanwhile.
            stall_.stop();
            if (!shown_)
                QTimer::singleShot(0, this, [this, starts = starts_] {
                    if (starts == starts_ && !shown_)
                        showBundled();
                });
            break;
        }
    }

    void openRequestedWindow(QWebEngineNewWindowRequest& request)
    {
        const QUrl url = request.requestedUrl();
        if (!request.isUserInitiated() || url.isEmpty())
            return;  // refused: the script gets no window
        if (staysHere(url))
            setUrl(url);
        else if (isWeb(url))
            QDesktopServices::openUrl(url);
    }

    void checkRendererMemory()
    {
        const qint64 pid = renderProcessPid();
        QFile statm(QStringLiteral("/proc/%1/statm").arg(pid));
        if (pid <= 0 || !statm.open(QIODevice::ReadOnly))
            return;
        const qint64 residentPages = statm.readLine().split(' ').value(1).toLongLong();
        if (residentPages * sysconf(_SC_PAGESIZE) > limits_.rendererMemory) {
            ::kill(pid_t(pid), SIGKILL);  // the engine reports it: the bundled page follows
        }
    }

    HelpLimits limits_;
    QString helpHost_;
    QTimer stall_;
    QTimer memoryWatch_;
    bool shown_ = false;  // a page has been shown in this window
    int starts_ = 0;
};

}  // namespace

QUrl bundledHelpPage()
{
    return QUrl(QStringLiteral("qrc:/help/tivora-help.htm"));
}

QMenu* HelpBrowser::createHelpContextMenu()
{
    auto* menu = new QMenu(this);
    for (QWebEnginePage::WebAction action : {QWebEnginePage::Back, QWebEnginePage::Forward, QWebEnginePage::Reload})
        menu->addAction(page()->action(action));
    menu->addSeparator();
    for (QWebEnginePage::WebAction action :
         {QWebEnginePage::Copy, QWebEnginePage::CopyLinkToClipboard, QWebEnginePage::SelectAll})
        menu->addAction(page()->action(action));
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

HelpWindow::HelpWindow(const HelpLimits& limits, const QString& helpHost)
{
    limitScriptHeap();
    profile_ = new QWebEngineProfile;  // no name: off the record, all in memory
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
    // Refused as soon as the engine asks; by then it has put the first part
    // in a temporary file, which it deletes on the refusal (see README).
    connect(profile_, &QWebEngineProfile::downloadRequested, this,
            [](QWebEngineDownloadRequest* download) { download->cancel(); });
    interceptor_ = new ResourceGuard(this);
    profile_->setUrlRequestInterceptor(interceptor_);

    browser_ = new HelpBrowser(this);
    browser_->setObjectName(QStringLiteral("brwWebBrowser"));
    auto* page = new HelpPage(profile_, limits, browser_);
    page->setHelpHost(helpHost);
    browser_->setPage(page);
    // One pixel wider than the client area: its last column is cut off.
    browser_->setGeometry(0, 0, 608, 489);
    // Boxes the engine opens by itself (a colour picker) are watched for.
    browser_->installEventFilter(this);

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

void HelpWindow::setHelpHost(const QString& host)
{
    static_cast<HelpPage*>(browser_->page())->setHelpHost(host);
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == browser_ && event->type() == QEvent::ChildAdded) {
        if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child()))
            child->installEventFilter(this);
    } else if (event->type() == QEvent::Polish) {
        // A box of the page's asking (a colour picker, whose custom colours
        // go to a settings file) is polished just before it would show: it
        // never reaches the screen and is cancelled at once.
        if (auto* box = qobject_cast<QDialog*>(watched)) {
            box->setAttribute(Qt::WA_DontShowOnScreen);
            QMetaObject::invokeMethod(box, &QDialog::reject, Qt::QueuedConnection);
        }
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
        window_ = new HelpWindow(limits_, helpHost_);
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
        helpHost_ = address.host();
    HelpWindow* window = built();
    window->setHelpHost(helpHost_);
    window->browser()->setUrl(address);
}

}  // namespace tivora
