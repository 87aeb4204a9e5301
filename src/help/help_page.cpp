#include "help_page.h"

#include "address_policy.h"
#include "help_window.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

namespace tivora {

namespace {

QString guardScript()
{
    QFile script(QStringLiteral(":/help/page_guard.js"));
    script.open(QIODevice::ReadOnly);
    return QString::fromUtf8(script.readAll());
}

}  // namespace

HelpPage::HelpPage(QWebEngineProfile* profile, std::chrono::milliseconds loadTime, HelpWindow* window, QObject* parent)
    : QWebEnginePage(profile, parent), window_(window)
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

    // In every frame, before the page's own scripts.
    QWebEngineScript guard;
    guard.setName(QStringLiteral("page guard"));
    guard.setSourceCode(guardScript());
    guard.setInjectionPoint(QWebEngineScript::DocumentCreation);
    guard.setWorldId(QWebEngineScript::MainWorld);
    guard.setRunsOnSubFrames(true);
    scripts().insert(guard);

    stall_.setSingleShot(true);
    stall_.setInterval(loadTime);
    connect(&stall_, &QTimer::timeout, this, &HelpPage::showBundled);
    connect(this, &QWebEnginePage::loadingChanged, this, &HelpPage::followLoad);
    connect(this, &QWebEnginePage::newWindowRequested, this, &HelpPage::openRequestedWindow);
    // Put away, a page loads nothing; it starts its load again when it comes back.
    connect(this, &QWebEnginePage::lifecycleStateChanged, this, [this](LifecycleState state) {
        if (state == LifecycleState::Discarded)
            stall_.stop();
    });
    connect(this, &QWebEnginePage::renderProcessTerminated, this, [this] {
        window_->keepUsersWindow();
        // Not from inside the engine's notice of the dead renderer.
        shown_ = false;
        stall_.stop();
        QTimer::singleShot(0, this, &HelpPage::showBundled);
    });
}

void HelpPage::setHelpSite(const QUrl& site)
{
    site_ = site;
}

void HelpPage::showBundled()
{
    if (lifecycleState() != LifecycleState::Active)
        setLifecycleState(LifecycleState::Active);
    setUrl(bundledHelpPage());
}

bool HelpPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    const Asked asked = !isMainFrame ? Asked::Frame : type == NavigationTypeRedirect ? Asked::Redirect : Asked::Page;
    if (decideAddress(url, asked, site_, window_->pendingLink()).verdict == Verdict::Show)
        return true;
    // The engine calls a script's navigation a clicked link too: what the
    // user did is known from the window's own input events.
    if (asked != Asked::Frame)
        leave(url, asked);
    return false;
}

bool HelpPage::javaScriptConfirm(const QUrl&, const QString& message)
{
    // How the engine words a page's "beforeunload" question when it puts it
    // to javaScriptConfirm.
    return message == QCoreApplication::translate("QWebEnginePage", "Are you sure you want to leave this page? "
                                                                    "Changes that you made may not be saved.");
}

bool HelpPage::staysHere(const QUrl& url) const
{
    return decideAddress(url, Asked::Page, site_, std::nullopt).verdict == Verdict::Show;
}

void HelpPage::leave(const QUrl& url, Asked asked)
{
    const AddressDecision decision = decideAddress(url, asked, site_, window_->pendingLink());
    if (decision.verdict == Verdict::OpenOutside) {
        window_->actionUsed();
        window_->say(QStringLiteral("Opened in your web browser: %1").arg(shownAddress(url)));
        QDesktopServices::openUrl(url);
    } else {
        window_->say(QStringLiteral("Not opened: %1 (%2)").arg(shownAddress(url), decision.reason));
    }
}

void HelpPage::followLoad(const QWebEngineLoadingInfo& info)
{
    // Loads of other pages are refused as they start: what is shown stays,
    // and a load of the help site may still be under way.
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

void HelpPage::openRequestedWindow(QWebEngineNewWindowRequest& request)
{
    const QUrl url = request.requestedUrl();
    if (!request.isUserInitiated() || url.isEmpty())
        return;  // refused: the script gets no window
    if (decideAddress(url, Asked::NewWindow, site_, window_->pendingLink()).verdict == Verdict::Show)
        setUrl(url);
    else
        leave(url, Asked::NewWindow);
}

}  // namespace tivora
