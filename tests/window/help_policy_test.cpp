// The help window's rules, without a web engine: which address stays in the
// window, which goes to the user's browser and which is refused (and why),
// and what counts as one action of the user's.

#include "help/address_policy.h"
#include "help/user_actions.h"

#include <QTest>

#include <optional>

using namespace tivora;

Q_DECLARE_METATYPE(tivora::Asked)
Q_DECLARE_METATYPE(tivora::Verdict)
Q_DECLARE_METATYPE(std::optional<QUrl>)
Q_DECLARE_METATYPE(QList<tivora::KeyStroke>)

namespace {

const QUrl kSite(QStringLiteral("https://help.tivora.example/tivora-help.htm"));

// Enter or Space held from `from` to `to` ms: the X server's first repeat
// after 660 ms, then one every 40 ms, each a release and a press with one
// timestamp; Qt flags every `flagged`th pair as a repeat (0: none).
QList<KeyStroke> held(Qt::Key key, quint64 from, quint64 to, int flagged = 0)
{
    constexpr quint32 scanCode = 36;
    const auto x = [](quint64 t) { return quint64(quint32(t)); };  // the X clock: 32 bits of ms
    QList<KeyStroke> strokes{{KeyStroke::Press, key, scanCode, x(from), false}};
    int pair = 0;
    for (quint64 t = from + 660; t < to; t += 40) {
        const bool flag = flagged && ++pair % flagged == 0;
        strokes << KeyStroke{KeyStroke::Release, key, scanCode, x(t), flag}
                << KeyStroke{KeyStroke::Press, key, scanCode, x(t), flag};
    }
    strokes << KeyStroke{KeyStroke::Release, key, scanCode, x(to), false};
    return strokes;
}

QList<KeyStroke> tapped(Qt::Key key, quint64 at, quint64 upAfter = 100, quint32 scanCode = 36)
{
    return {{KeyStroke::Press, key, scanCode, at, false}, {KeyStroke::Release, key, scanCode, at + upAfter, false}};
}

}  // namespace

class HelpPolicyTest : public QObject {
    Q_OBJECT

private slots:
    void addressesGoWhereThePolicySays_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<Asked>("asked");
        QTest::addColumn<std::optional<QUrl>>("clicked");
        QTest::addColumn<Verdict>("verdict");
        QTest::addColumn<QString>("reason");
        const auto url = [](const char* text) { return QUrl(QString::fromUtf8(text)); };
        const std::optional<QUrl> none;
        const std::optional<QUrl> plainText = QUrl();
        const Verdict show = Verdict::Show, out = Verdict::OpenOutside, refuse = Verdict::Refuse;
        const QString noClick = "not asked for by a click of yours", notTheLink = "not the link you clicked";

        QTest::newRow("the help page") << kSite << Asked::Page << none << show << "";
        QTest::newRow("another page of the site, with a fragment")
            << url("https://help.tivora.example/more.htm#units") << Asked::Page << none << show << "";
        QTest::newRow("the bundled page at a section")
            << url("qrc:/help/tivora-help.htm#units") << Asked::Page << none << show << "";
        QTest::newRow("a link of the site asking for a window")
            << url("https://help.tivora.example/more.htm") << Asked::NewWindow << none << show << "";
        QTest::newRow("the help host on another port, unclicked")
            << url("https://help.tivora.example:8443/x") << Asked::Page << none << refuse << noClick;
        QTest::newRow("the help host over plain http, clicked")
            << url("http://help.tivora.example/x") << Asked::Page << std::optional(url("http://help.tivora.example/x"))
            << out << "";
        QTest::newRow("a clicked outside link") << url("https://example.org/wind") << Asked::Page
                                                << std::optional(url("https://example.org/wind")) << out << "";
        QTest::newRow("a middle-clicked outside link, as a new window")
            << url("https://example.org/wind") << Asked::NewWindow << std::optional(url("https://example.org/wind"))
            << out << "";
        QTest::newRow("a script's address with no click")
            << url("https://evil.example/phish?n=28") << Asked::Page << none << refuse << noClick;
        QTest::newRow("a script's address after a click on plain text")
            << url("https://evil.example/phish?n=28") << Asked::Page << plainText << refuse << notTheLink;
        QTest::newRow("a script's address after a click on another link")
            << url("https://evil.example/phish") << Asked::Page << std::optional(url("https://example.org/wind"))
            << refuse << notTheLink;
        QTest::newRow("a clicked link of the site redirected away")
            << url("https://example.org/wind") << Asked::Redirect
            << std::optional(url("https://help.tivora.example/go")) << refuse << "a redirect, not the link you clicked";
        QTest::newRow("a name before the host")
            << url("https://help.tivora.example@evil.example/") << Asked::Page
            << std::optional(url("https://help.tivora.example@evil.example/")) << refuse << "a name before the host";
        QTest::newRow("a host ending in a dot")
            << url("https://help.tivora.example./x") << Asked::Page
            << std::optional(url("https://help.tivora.example./x")) << refuse << "a host ending in a dot";
        QTest::newRow("a look-alike host (Cyrillic e)")
            << url("https://h\u0435lp.tivora.example/") << Asked::Page
            << std::optional(url("https://h\u0435lp.tivora.example/")) << refuse
            << "an international host name, which can look like another";
        QTest::newRow("a host containing the help host") << url("https://help.tivora.example.evil.net/") << Asked::Page
                                                         << std::optional(url("https://help.tivora.example.evil.net/"))
                                                         << refuse << "a host made to look like the help site";
        QTest::newRow("ftp, clicked") << url("ftp://example.org/pub") << Asked::Page
                                      << std::optional(url("ftp://example.org/pub")) << refuse << "not a web address";
        QTest::newRow("mail, clicked") << url("mailto:someone@example.org") << Asked::Page
                                       << std::optional(url("mailto:someone@example.org")) << refuse
                                       << "not a web address";
        QTest::newRow("a local file") << url("file:///etc/hostname") << Asked::Page << none << refuse
                                      << "not a web address";
        QTest::newRow("a frame of another site") << url("https://example.org/") << Asked::Frame << none << show << "";
        QTest::newRow("an empty frame") << url("about:blank") << Asked::Frame << none << show << "";
        QTest::newRow("a srcdoc frame") << url("about:srcdoc") << Asked::Frame << none << show << "";
        QTest::newRow("a frame of a local file")
            << url("file:///etc/hostname") << Asked::Frame << none << refuse << "not shown in a frame";
    }
    void addressesGoWhereThePolicySays()
    {
        QFETCH(QUrl, url);
        QFETCH(Asked, asked);
        QFETCH(std::optional<QUrl>, clicked);
        QFETCH(Verdict, verdict);
        QFETCH(QString, reason);
        QCOMPARE(decideAddress(url, asked, kSite, clicked), (AddressDecision{verdict, reason}));
    }

    void theSiteIsSchemeHostAndPort()
    {
        const QUrl site(QStringLiteral("http://127.0.0.1:8080/tivora-help.htm"));
        QCOMPARE(decideAddress(QUrl("http://127.0.0.1:8080/x"), Asked::Page, site, {}).verdict, Verdict::Show);
        for (const char* other : {"https://127.0.0.1:8080/x", "http://127.0.0.1/x", "http://localhost:8080/x"})
            QCOMPARE(decideAddress(QUrl(other), Asked::Page, site, {}).verdict, Verdict::Refuse);
    }

    // Each row: what the user's keyboard or mouse did; how many links it may
    // open, one per action, each action's link opened at once.
    void onePhysicalPressIsOneAction_data()
    {
        QTest::addColumn<QList<KeyStroke>>("strokes");
        QTest::addColumn<int>("actions");
        QTest::newRow("Enter held 3 s, no repeat flagged") << held(Qt::Key_Return, 1000, 4000) << 1;
        QTest::newRow("Enter held 3 s, one repeat in three flagged") << held(Qt::Key_Return, 1000, 4000, 3) << 1;
        QTest::newRow("Enter held 3 s, every repeat flagged") << held(Qt::Key_Return, 1000, 4000, 1) << 1;
        QTest::newRow("Space held 3 s") << held(Qt::Key_Space, 1000, 4000) << 1;
        QTest::newRow("keypad Enter held as the X clock wraps")
            << held(Qt::Key_Enter, 0xFFFFFF00ull, 0xFFFFFF00ull + 3000) << 1;
        QTest::newRow("Enter pressed twice") << tapped(Qt::Key_Return, 1000) + tapped(Qt::Key_Return, 1400) << 2;
        QTest::newRow("Space pressed twice") << tapped(Qt::Key_Space, 1000) + tapped(Qt::Key_Space, 1400) << 2;
        QTest::newRow("a fast double tap, 30 ms between")
            << tapped(Qt::Key_Return, 1000, 60) + tapped(Qt::Key_Return, 1090) << 2;
        QTest::newRow("Enter held, then pressed again")
            << held(Qt::Key_Return, 1000, 2500) + tapped(Qt::Key_Return, 2700) << 2;
        QTest::newRow("Tab and a letter") << tapped(Qt::Key_Tab, 1000) + tapped(Qt::Key_A, 1200) << 0;
        QTest::newRow("Enter pressed as another key comes up")
            << tapped(Qt::Key_A, 1000, 200, 38) + tapped(Qt::Key_Return, 1200) << 1;
    }
    void onePhysicalPressIsOneAction()
    {
        QFETCH(QList<KeyStroke>, strokes);
        QFETCH(int, actions);
        UserActions user;
        const QUrl link(QStringLiteral("https://example.org/wind"));
        int opened = 0;
        qint64 now = 0;  // the window's steady clock: the keys come within a second
        for (const KeyStroke& stroke : strokes) {
            user.key(stroke, link, ++now);
            if (user.pendingLink(now) == link) {
                ++opened;
                user.used();
            }
        }
        QCOMPARE(opened, actions);
    }

    void aClickOpensItsOwnLinkOnceWithinASecond()
    {
        UserActions user;
        const QUrl link(QStringLiteral("https://example.org/wind"));
        QCOMPARE(user.pendingLink(0), std::nullopt);
        user.mouseReleased(false, link, 0);  // the right button: a menu, no action
        QCOMPARE(user.pendingLink(0), std::nullopt);
        user.mouseReleased(true, QUrl(), 100);  // on plain text
        QCOMPARE(user.pendingLink(100), std::optional(QUrl()));
        user.mouseReleased(true, link, 200);
        QCOMPARE(user.pendingLink(200 + UserActions::kActionMs), std::optional(link));
        QCOMPARE(user.pendingLink(201 + UserActions::kActionMs), std::nullopt);
        user.used();
        QCOMPARE(user.pendingLink(300), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(HelpPolicyTest)

#include "help_policy_test.moc"
