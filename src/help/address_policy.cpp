#include "address_policy.h"

namespace tivora {

namespace {

int portOf(const QUrl& url)
{
    return url.port(url.scheme() == QLatin1String("https") ? 443 : 80);
}

bool onSite(const QUrl& url, const QUrl& site)
{
    return isWeb(site) && url.scheme() == site.scheme() && url.userInfo().isEmpty() && url.host() == site.host() &&
           portOf(url) == portOf(site);
}

// Why an address outside the help site is not handed to the user's browser,
// clicked or not: what the user would see there is not what the link seemed
// to say. Empty when it may go.
QString refusalOf(const QUrl& url, const QString& helpHost)
{
    if (!isWeb(url))
        return QStringLiteral("not a web address");
    if (!url.userInfo().isEmpty())
        return QStringLiteral("a name before the host");
    const QString host = url.host(QUrl::FullyEncoded);  // international names as xn--
    if (host.endsWith(QLatin1Char('.')))
        return QStringLiteral("a host ending in a dot");
    if (host.startsWith(QLatin1String("xn--")) || host.contains(QLatin1String(".xn--")))
        return QStringLiteral("an international host name, which can look like another");
    if (!helpHost.isEmpty() && host != helpHost && host.contains(helpHost, Qt::CaseInsensitive))
        return QStringLiteral("a host made to look like the help site");
    return {};
}

AddressDecision refused(const QString& reason)
{
    return {Verdict::Refuse, reason};
}

}  // namespace

QUrl bundledHelpPage()
{
    return QUrl(QStringLiteral("qrc:/help/tivora-help.htm"));
}

bool isBundled(const QUrl& url)
{
    return url.adjusted(QUrl::RemoveFragment) == bundledHelpPage();
}

bool isWeb(const QUrl& url)
{
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

AddressDecision decideAddress(const QUrl& url, Asked asked, const QUrl& helpSite,
                              const std::optional<QUrl>& clickedLink)
{
    if (isBundled(url))
        return {Verdict::Show, {}};
    if (asked == Asked::Frame) {
        // What a frame may load of the program's own is refused by the
        // request guard; other schemes are the engine's to refuse.
        const bool framed =
            isWeb(url) || url == QUrl(QStringLiteral("about:blank")) || url == QUrl(QStringLiteral("about:srcdoc"));
        return framed ? AddressDecision{Verdict::Show, {}} : refused(QStringLiteral("not shown in a frame"));
    }
    if (onSite(url, helpSite))
        return {Verdict::Show, {}};
    if (const QString refusal = refusalOf(url, helpSite.host()); !refusal.isEmpty())
        return refused(refusal);
    if (asked == Asked::Redirect)
        return refused(QStringLiteral("a redirect, not the link you clicked"));
    if (!clickedLink)
        return refused(QStringLiteral("not asked for by a click of yours"));
    if (clickedLink->isEmpty() || *clickedLink != url)
        return refused(QStringLiteral("not the link you clicked"));
    return {Verdict::OpenOutside, {}};
}

QString shownAddress(const QUrl& url)
{
    return QString::fromLatin1(url.toEncoded());
}

}  // namespace tivora
