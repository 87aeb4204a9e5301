#pragma once

// For the help window's tests: waiting on the page, the user's own browser,
// and a help site on the loopback, with what a hostile or broken site does,
// every page named for what it tries (over http, or over https with a test
// certificate).

#include "help/help_window.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>

#include <memory>

namespace tivora::testing {

constexpr int kLoadTimeout = 20000;

inline QString titleOf(HelpWindow* window)
{
    return window ? window->browser()->page()->title() : QString();
}

// Runs the event loop until `done`, and all the time: QTest::qWaitFor
// sleeps between its passes over the loop, which holds the web engine up so
// much that a page can take seconds to load.
template <class Done>
bool waitUntil(Done done, int timeout)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > timeout)
            return false;
        QTest::qWait(5);
    }
    return true;
}

// What was posted to the event loop so far has been delivered.
inline bool postedEventsRun()
{
    auto posted = std::make_shared<bool>(false);
    QMetaObject::invokeMethod(
        qApp, [posted] { *posted = true; }, Qt::QueuedConnection);
    return waitUntil([&] { return *posted; }, kLoadTimeout);
}

// Everything the page has said (boxes, windows, navigations, titles) has
// reached the window, and what the window posted in answer has run: the
// engine returns a script's result after every earlier message of the page.
// A page that goes on acting once it has its title counts its acts in
// `acted`; it is waited for until it has acted `acts` times.
inline bool pageSettled(QWebEnginePage* page, int acts = 10)
{
    QElapsedTimer waited;
    waited.start();
    for (bool done = false; !done;) {
        auto answer = std::make_shared<QVariant>();
        page->runJavaScript(QStringLiteral("typeof acted == 'undefined' || acted >= %1").arg(acts),
                            [answer](const QVariant& result) { *answer = result.isValid() ? result : false; });
        if (!waitUntil([&] { return answer->isValid(); }, kLoadTimeout) || waited.elapsed() > kLoadTimeout)
            return false;
        done = answer->toBool();
    }
    return postedEventsRun();
}

// Stands in for the user's own browser, for as long as this lives: what
// the program opens there.
class UsersBrowser : public QObject {
    Q_OBJECT

public:
    UsersBrowser()
    {
        for (const char* scheme : {"http", "https", "ftp"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
    ~UsersBrowser() override
    {
        for (const char* scheme : {"http", "https", "ftp"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }

    QList<QUrl> urls;

public slots:
    void open(const QUrl& url) { urls << url; }
};

template <class Server>
class HelpSite : public Server {
public:
    explicit HelpSite(const char* scheme) : scheme_(QString::fromLatin1(scheme))
    {
        QObject::connect(this, &QTcpServer::pendingConnectionAvailable, this, [this] {
            while (QTcpSocket* socket = this->nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] { answer(socket); });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        this->listen(QHostAddress::LocalHost, 0);
    }
    QUrl url(const QString& path, const QString& host = QStringLiteral("127.0.0.1")) const
    {
        return QUrl(QStringLiteral("%1://%2:%3%4").arg(scheme_, host).arg(this->serverPort()).arg(path));
    }

private:
    // Each way a page has tried to park its data in the calculator's
    // process: large history states the engine copies but a JSON size
    // misses, and long addresses kept in the history.
    static constexpr char kFloods[] =
        "const big = 'x'.repeat(20e6), long = big.slice(0, 2e6);"
        "const worker = new Worker(URL.createObjectURL(new Blob(["
        "'onmessage = () => { const b = new ArrayBuffer(50e6); postMessage(b, [b]) }'])));"
        "const fromWorker = () => new Promise(done => { worker.onmessage = e => done(e.data); worker.postMessage(0) });"
        "const routes = {"
        "'array-buffer': n => history.pushState(new ArrayBuffer(50e6), ''),"
        "'map': n => history.pushState(new Map([[n, big]]), ''),"
        "'inherited-to-json': n => history.pushState(Object.create({toJSON: () => 0},"
        " {big: {value: big + n, enumerable: true}}), ''),"
        "'getter': n => history.pushState({get big() { return big + n }}, ''),"
        "'worker-buffer': async n => history.pushState({buffer: await fromWorker()}, ''),"
        "'empty-frame-load-event': n => { const f = document.createElement('iframe');"
        " f.onload = () => frames[frames.length - 1].History.prototype.pushState.call(history, {big: big + n}, '');"
        " document.body.appendChild(f) },"
        "'navigation-state': n => navigation.navigate('#n' + n, {state: {big: big + n}}),"
        "'long-address': n => history.pushState(null, '', '?' + long + n),"
        "'long-hash': n => { location.hash = long + n },"
        "'frame-long-hash': n => { frames[0].location.hash = long + n },"
        "};";

    static QByteArray page(const QByteArray& title, const QByteArray& body)
    {
        return "<html><head><meta charset='utf-8'><title>" + title + "</title></head><body style='margin:0'>" + body +
               "</body></html>";
    }
    // A page that is one link, to `to`, saying when it is clicked.
    static QByteArray link(const QByteArray& to, const QByteArray& onclick = {})
    {
        return page("Link", "<a id='a' href='" + to + "' style='display:block;height:400px' " +
                                "onclick=\"document.title = 'clicked'; " + onclick + "\">away</a>");
    }
    // A page that runs `script` when clicked anywhere, then says so.
    static QByteArray clicked(const QByteArray& script)
    {
        return page("Click", "<div style='height:400px' onclick=\"try { " + script +
                                 " } finally { document.title = 'still here' }\">click</div>");
    }

    static void answer(QTcpSocket* socket)
    {
        const QByteArray request = socket->readAll();
        const QByteArray path = request.split(' ').value(1);
        QByteArray head = "200 OK\r\nContent-Type: text/html";
        QByteArray body;
        if (path == "/tivora-help.htm")
            body = page("Served help", "help");
        else if (path == "/links")
            body = page("Links", "<a target='_blank' href='/other' style='display:block;height:400px'>other</a>");
        else if (path == "/other")
            body = page("Other page", "other");
        else if (path == "/open-written-to")
            body = clicked("var w = window.open(''); w.document.write('x')");
        else if (path == "/open-blank")
            body = clicked("window.open('about:blank').document.write('x')");
        else if (path == "/open-noopener")
            body = clicked("window.open('', '_blank', 'noopener')");
        else if (path == "/dialogs")
            body = page("Dialogs", "<script>for (let i = 0; i < 50; ++i) alert('again');"
                                   "document.title = 'answered ' + confirm('Sure?') + ' ' + "
                                   "prompt('Enter your password')</script>");
        else if (path == "/leave")
            body = page("Leave", "<div style='height:400px' onclick=\"document.title = 'armed'\">stay</div>"
                                 "<script>onbeforeunload = "
                                 "e => { e.preventDefault(); return e.returnValue = 'stay' }</script>");
        else if (path == "/colour")
            body = page("Colour", "<input type='color' style='width:600px;height:400px' "
                                  "onclick=\"document.title = 'picked'\">");
        else if (path == "/away")
            body = page("Away", "<a href='http://localhost:" + QByteArray::number(socket->localPort()) +
                                    "/other' style='display:block;height:200px'>elsewhere</a>"
                                    "<a href='ftp://127.0.0.1/help' style='display:block;height:200px'>ftp</a>");
        else if (path == "/qrc-picture")
            body = page("Picture", "<img src='qrc:/help/info-32.png' onload=\"document.title = 'read'\" "
                                   "onerror=\"document.title = 'refused'\">");
        else if (path == "/hungry")
            body = page("Hungry", "<script>const kept = []; setInterval(() => kept.length < 40 && "
                                  "kept.push(new Uint8Array(50e6).fill(1)), 100)</script>");
        else if (path == "/console-and-clipboard")
            body = page("Console", "<p id='p'>from the page</p><script>"
                                   "for (let i = 0; i < 100; ++i) console.error('\\x1b[2Jpage console ' + i);"
                                   "getSelection().selectAllChildren(document.getElementById('p'));"
                                   "document.execCommand('copy');"
                                   "navigator.clipboard.writeText('from the page').catch(() => {})"
                                   ".then(() => document.title = 'logged')</script>");
        else if (path.startsWith("/link?to="))
            body = link(QByteArray::fromPercentEncoding(path.mid(9)));
        else if (path == "/click-then-script")
            body = link("https://evil.example/once",
                        "if (!window.again) { window.again = true; window.acted = 0; "
                        "for (let i = 1; i <= 10; ++i) setTimeout(() => { this.click(); acted = i }, 30 * i) }");
        else if (path == "/script-leaves")
            body = page("Leaving", "<a id='a' href='https://evil.example/phish'>a</a><script>var acted = 0;"
                                   "setInterval(() => { location = 'https://evil.example/phish?n=' + acted++;"
                                   "document.getElementById('a').click() }, 20)</script>");
        else if (path == "/frame-leaves")
            body = page("Framed", "<script>var acted = 0</script><iframe src='/leave-from-frame'></iframe>");
        else if (path == "/leave-from-frame")
            body = page("Frame", "<script>setInterval(() => { top.location = 'https://evil.example/top'; "
                                 "++top.acted }, 20)</script>");
        else if (path == "/copy-on-click")
            body = clicked("const t = document.createElement('textarea'); t.value = 'rm -rf ~ # pasted from help';"
                           "document.body.append(t); t.select(); document.execCommand('copy')");
        else if (path == "/push-states")
            body = page("Pushing", "<script>const big = 'x'.repeat(20e6); let n = 0;"
                                   "const push = () => { try { history.pushState({big: big + n}, '', '?n=' + n) }"
                                   "catch (e) { document.title = 'refused'; return } if (++n < 30) "
                                   "setTimeout(push, 10) }; push()</script>");
        else if (path == "/push-states-from-frame")
            body = page("Pushing", "<script>document.body.append(document.createElement('iframe'));"
                                   "const big = 'x'.repeat(20e6); let n = 0;"
                                   "const push = () => { try { frames[0].History.prototype.pushState.call(history, "
                                   "{big: big + n}, '', '?n=' + n) } catch (e) { document.title = 'refused'; return } "
                                   "if (++n < 30) setTimeout(push, 10) }; push()</script>");
        else if (path == "/service-worker")
            body = page("Worker", "<script>navigator.serviceWorker.register('/worker.js').then("
                                  "() => document.title = 'registered', () => document.title = 'refused')</script>");
        else if (path == "/worker.js")
            head = "200 OK\r\nContent-Type: text/javascript", body = "self.onfetch = () => {}";
        else if (path == "/ticking")
            body = page("Ticking", "<script>let n = 0; const tick = () => document.title = 'tick ' + n++; tick(); "
                                   "setInterval(tick, 100)</script>");
        else if (path == "/click-then-leave")
            body = "<script>var acted = 0</script>" +
                   clicked("setTimeout(() => { location = 'https://evil.example/phish?n=28'; acted = 10 }, 100)");
        else if (path == "/states")
            body = page("States", "states");
        else if (path.startsWith("/flood?"))
            body = page("Flooding", QByteArray("<iframe src='/other'></iframe><script>") + kFloods +
                                        "const route = routes[location.search.slice(1)];"
                                        "window.go = async times => { for (let n = 0; n < times; ++n) {"
                                        " try { await route(n) } catch (e) {}"
                                        " await new Promise(done => setTimeout(done, 20)) }"
                                        " document.title = 'done' };"
                                        "onload = () => document.title = 'ready'</script>");
        else if (path == "/redirect-away")
            head = "302 Found\r\nLocation: https://evil.example/redirected";
        else if (path == "/late-copy")
            body = page("Late copy", "<p id='p'>the page's selection</p><div style='height:300px' onclick=\""
                                     "setTimeout(() => { const t = document.createElement('textarea');"
                                     "t.value = 'from the page'; document.body.append(t); t.select();"
                                     "const copied = document.execCommand('copy');"
                                     "getSelection().selectAllChildren(document.getElementById('p'));"
                                     "document.title = 'copied late: ' + copied }, 1500)\">click</div>");
        else if (path == "/copy-handler")
            body = page("Copy handler", "<p>the user's selection</p><script>"
                                        "document.addEventListener('copy', e => {"
                                        "e.clipboardData.setData('text/plain', 'from the page'); e.preventDefault();"
                                        "document.title = 'copy replaced' })</script>");
        else if (path == "/held-keys")
            body = page("Held keys",
                        "<a href='https://evil.example/held' style='display:block;height:100px'>"
                        "outside</a><button onclick=\"location = 'https://evil.example/button'\">button</button>"
                        "<script>onload = () => document.title = 'ready'</script>");
        else if (path == "/spinning")
            body = page("Spinning", "<script>onload = () => { document.title = 'spinning';"
                                    "setTimeout(() => { for (;;) {} }, 50) }</script>");
        else if (path == "/shared-worker?spin" || path == "/shared-worker?allocate")
            body = page("Shared worker", "<script>const w = new SharedWorker('/shared-worker.js" + path.mid(14) +
                                             "'); w.port.onmessage = e => document.title = e.data;"
                                             "w.port.start()</script>");
        else if (path == "/shared-worker.js?spin")
            head = "200 OK\r\nContent-Type: text/javascript",
            body = "onconnect = e => { e.ports[0].postMessage('worker running'); setTimeout(() => { for (;;) {} }) }";
        else if (path == "/shared-worker.js?allocate")
            head = "200 OK\r\nContent-Type: text/javascript",
            body = "const kept = []; onconnect = e => { e.ports[0].postMessage('worker running');"
                   "setInterval(() => kept.length < 60 && kept.push(new Uint8Array(50e6).fill(1)), 500) }";
        else if (path == "/silent")
            return;  // accepts, never answers
        else if (path == "/trickle") {
            socket->write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: 1000\r\n\r\n");
            auto* drip = new QTimer(socket);
            QObject::connect(drip, &QTimer::timeout, socket, [socket] { socket->write(" "); });
            drip->start(1000);
            return;
        } else if (path == "/no-content")
            head = "204 No Content";
        else if (path == "/attachment")
            head += "\r\nContent-Disposition: attachment; filename=help.htm", body = page("Saved", "x");
        else if (path == "/binary")
            head = "200 OK\r\nContent-Type: application/octet-stream", body = QByteArray(4096, '\1');
        else if (path == "/to-local-file")
            head = "302 Found\r\nLocation: file:///etc/hostname";
        else
            head = "404 Not Found\r\nContent-Type: text/html", body = page("Missing", "404");
        socket->write("HTTP/1.0 " + head + "\r\nContent-Length: " + QByteArray::number(body.size()) +
                      "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QString scheme_;
};

#ifdef TIVORA_TEST_DATA
class SecureHelpSite : public HelpSite<QSslServer> {
public:
    SecureHelpSite() : HelpSite<QSslServer>("https") {}
    bool configure()
    {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        QFile certificate(QStringLiteral(TIVORA_TEST_DATA "/help-site-test.crt"));
        QFile key(QStringLiteral(TIVORA_TEST_DATA "/help-site-test.key"));
        if (!certificate.open(QIODevice::ReadOnly) || !key.open(QIODevice::ReadOnly))
            return false;
        tls.setLocalCertificate(QSslCertificate(&certificate));
        tls.setPrivateKey(QSslKey(&key, QSsl::Ec));
        setSslConfiguration(tls);
        return isListening();
    }
};
#endif

}  // namespace tivora::testing
