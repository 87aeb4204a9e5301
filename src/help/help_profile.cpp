#include "help_profile.h"

#include "address_policy.h"

#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>

#include <utility>

namespace tivora {

namespace {

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
// Nor does a page get a service worker: the engine keeps their registrations
// in folders on disk, even off the record.
class ResourceGuard : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        const QUrl url = info.requestUrl();
        if (info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeServiceWorker ||
            (url.scheme() == QLatin1String("qrc") &&
             !(isBundled(url) && info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame)))
            info.block(true);
    }
};

}  // namespace

QWebEngineProfile* newHelpProfile(QObject* owner)
{
    limitScriptHeap();
    auto* profile = new QWebEngineProfile;  // no name: off the record, all in memory
    // Off the record, the engine still makes folders there for service
    // workers and IndexedDB, even empty ones: under a file, it can make none.
    profile->setPersistentStoragePath(QStringLiteral("/dev/null/tivora"));
    profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile->setSpellCheckEnabled(false);
    // Refused as soon as the engine asks; by then it has put the first part
    // in a temporary file, which it deletes on the refusal (see README).
    QObject::connect(profile, &QWebEngineProfile::downloadRequested, owner,
                     [](QWebEngineDownloadRequest* download) { download->cancel(); });
    profile->setUrlRequestInterceptor(new ResourceGuard(owner));
    return profile;
}

}  // namespace tivora
