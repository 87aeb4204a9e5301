// The help window and the start-up sequence, against a local web server.

#include "window_fixture.h"

#include "app/startup.h"
#include "help/help_window.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>

using namespace tivora;
using namespace tivora::testing;

namespace {

constexpr int kLoadTimeout = 20000;

// Serves the help page and one other page on 127.0.0.1; anything else is 404.
class LocalWebServer : public QTcpServer {
public:
    LocalWebServer()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [socket] { answer(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        listen(QHostAddress::LocalHost, 0);
    }
    QUrl url(const QString& path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path));
    }

private:
    static void answer(QTcpSocket* socket)
    {
        const QByteArray request = socket->readAll();
        const QByteArray path = request.split(' ').value(1);
        QByteArray status = "200 OK";
        QByteArray body;
        if (path == "/tivora-help.htm")
            body = "<html><head><title>Served help</title></head><body>help</body></html>";
        else if (path == "/links")
            body = "<html><head><title>Links</title></head><body style='margin:0'>"
                   "<a target='_blank' href='/other' style='display:block;height:400px'>other</a></body></html>";
        else if (path == "/other")
            body = "<html><head><title>Other page</title></head><body>other</body></html>";
        else
            status = "404 Not Found", body = "<html><head><title>Missing</title></head><body>404</body></html>";
        socket->write("HTTP/1.0 " + status + "\r\nContent-Type: text/html\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }
};

// The real help window, with the maker's address sent to the local server.
class LocalHelp : public HelpAccess {
public:
    explicit LocalHelp(QUrl helpPage) : helpPage_(std::move(helpPage)) {}
    void show() override { help.show(); }
    void navigate(const QUrl& address) override { help.navigate(address == helpPageAddress() ? helpPage_ : address); }
    Help help;

private:
    QUrl helpPage_;
};

QString titleOf(HelpWindow* window)
{
    return window ? window->browser()->page()->title() : QString();
}

}  // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

private:
    ModalWatchdog watchdog;
    LocalWebServer server;
    std::unique_ptr<DeferredHelp> deferred;
    std::unique_ptr<Form1> form;

    LocalHelp* local() const { return static_cast<LocalHelp*>(deferred->loaded()); }
    HelpWindow* helpWindow() const { return local() ? local()->help.window() : nullptr; }

    // Start-up as the program does it: Form_Load, then the main window shown.
    void startUp(int tickMs = 3000)
    {
        deferred = std::make_unique<DeferredHelp>(
            [url = server.url("/tivora-help.htm")] { return std::make_unique<LocalHelp>(url); });
        form = std::make_unique<Form1>(deferred.get());
        form->timer2()->start(tickMs);
        deferred->buildAfterFirstPaintOf(form.get());
        form->Form_Load();
        form->show();
        form->activateWindow();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(server.isListening());
        QTest::failOnWarning(QRegularExpression(QStringLiteral("Release of profile requested")));
    }

    void cleanup()
    {
        form.reset();
        deferred.reset();
    }

    void startUpBuildsTheHelpWindowHiddenAfterTheMainWindowAndLoadsThePage()
    {
        startUp();
        QVERIFY(!deferred->loaded());  // nothing of the web engine before the first paint
        QTRY_VERIFY(helpWindow());
        QVERIFY(!helpWindow()->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(titleOf(helpWindow()), QStringLiteral("Served help"), kLoadTimeout);
        QCOMPARE(QApplication::focusWidget(), control(form.get(), "Command1"));
    }

    void tickShowsHelpThenTheMainWindowInFrontAndDisablesTheTimer()
    {
        startUp(200);
        QTRY_VERIFY(helpWindow() && helpWindow()->isVisible());
        QVERIFY(!form->timer2()->isActive());
        QTRY_COMPARE(QApplication::activeWindow(), form.get());
        QCOMPARE(helpWindow()->geometry(), QRect(118, 58, 607, 489));
        QCOMPARE(helpWindow()->windowTitle(), QStringLiteral("Help"));
        QCOMPARE(helpWindow()->browser()->geometry(), QRect(0, 0, 608, 489));
        QVERIFY(!helpWindow()->parentWidget());
    }

    void helpButtonShowsAndLoadsAndASecondPressLoadsAgain()
    {
        startUp();
        QTRY_VERIFY(helpWindow());
        QTRY_COMPARE_WITH_TIMEOUT(titleOf(helpWindow()), QStringLiteral("Served help"), kLoadTimeout);
        helpWindow()->browser()->setUrl(server.url("/other"));
        QTRY_COMPARE_WITH_TIMEOUT(titleOf(helpWindow()), QStringLiteral("Other page"), kLoadTimeout);

        control<QPushButton>(form.get(), "Command2")->click();
        QVERIFY(helpWindow()->isVisible());
        QTRY_COMPARE(QApplication::activeWindow(), helpWindow());
        QTRY_COMPARE_WITH_TIMEOUT(titleOf(helpWindow()), QStringLiteral("Served help"), kLoadTimeout);

        QSignalSpy loads(helpWindow()->browser(), &QWebEngineView::loadFinished);
        control<QPushButton>(form.get(), "Command2")->click();
        QTRY_COMPARE_WITH_TIMEOUT(loads.size(), 1, kLoadTimeout);
        QVERIFY(loads.first().first().toBool());
    }

    void closedHelpWindowIsBuiltAgainByTheHelpButtonAndLoads()
    {
        startUp();
        QTRY_VERIFY(helpWindow());
        control<QPushButton>(form.get(), "Command2")->click();
        QPointer<HelpWindow> first = helpWindow();
        first->close();
        QTRY_VERIFY(!first);  // closing destroys the window and its browser
        QVERIFY(!helpWindow());

        control<QPushButton>(form.get(), "Command2")->click();
        QVERIFY(helpWindow() && helpWindow()->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(titleOf(helpWindow()), QStringLiteral("Served help"), kLoadTimeout);
    }

    void helpClosedBeforeTheTickComesBackBlankAtTheTick()
    {
        startUp(1500);
        QTRY_VERIFY(helpWindow());
        control<QPushButton>(form.get(), "Command2")->click();
        QPointer<HelpWindow> first = helpWindow();
        first->close();
        QTRY_VERIFY(!first);

        QTRY_VERIFY_WITH_TIMEOUT(helpWindow() && helpWindow()->isVisible(), 5000);
        QVERIFY(!form->timer2()->isActive());
        QTest::qWait(300);
        QVERIFY(helpWindow()->browser()->url().isEmpty());
    }

    void unreachablePagesShowTheBundledHelp_data()
    {
        QTest::addColumn<QUrl>("address");
        QTcpServer closed;
        closed.listen(QHostAddress::LocalHost, 0);
        const quint16 port = closed.serverPort();
        closed.close();
        QTest::newRow("refused connection") << QUrl(QStringLiteral("http://127.0.0.1:%1/tivora-help.htm").arg(port));
        QTest::newRow("page missing") << server.url("/gone.htm");
    }
    void unreachablePagesShowTheBundledHelp()
    {
        QFETCH(QUrl, address);
        Help help;
        help.navigate(address);
        QSignalSpy loads(help.window()->browser(), &QWebEngineView::loadFinished);
        QTRY_COMPARE_WITH_TIMEOUT(help.window()->browser()->url(), bundledHelpPage(), kLoadTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(titleOf(help.window()), QStringLiteral("Tivora help"), kLoadTimeout);
        QTest::qWait(500);
        QCOMPARE(help.window()->browser()->url(), bundledHelpPage());  // and stays there
        QCOMPARE(loads.size(), 2);                                     // the failed page, then the bundled one
    }

    void browserRefusesLocalFiles()
    {
        Help help;
        help.navigate(server.url("/other"));
        QTRY_COMPARE_WITH_TIMEOUT(titleOf(help.window()), QStringLiteral("Other page"), kLoadTimeout);
        help.navigate(QUrl(QStringLiteral("file:///etc/hostname")));
        QTest::qWait(500);
        QCOMPARE(help.window()->browser()->url(), server.url("/other"));
    }

    // The program ends when its event loop does: run one, close the main
    // window in it, and see whether it returns by itself.
    int closeMainWindowInEventLoop()
    {
        QTimer::singleShot(0, form.get(), &QWidget::close);
        QTimer::singleShot(3000, qApp, [] { QCoreApplication::exit(99); });  // still running
        return QApplication::exec();
    }

    void linksAskingForANewWindowLoadInTheHelpWindow()
    {
        Help help;
        help.show();
        help.navigate(server.url("/links"));
        QTRY_COMPARE_WITH_TIMEOUT(titleOf(help.window()), QStringLiteral("Links"), kLoadTimeout);
        QWidget* surface = help.window()->browser()->focusProxy();
        QVERIFY(surface);
        // The page takes clicks only once it has been laid out and drawn,
        // which a slow (sanitized) build reaches late: click until it goes.
        QElapsedTimer waited;
        waited.start();
        while (titleOf(help.window()) != QStringLiteral("Other page") && waited.elapsed() < kLoadTimeout) {
            QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(50, 50));
            QTest::qWait(250);
        }
        QCOMPARE(titleOf(help.window()), QStringLiteral("Other page"));
        QCOMPARE(QApplication::topLevelWidgets().count(help.window()), 1);
    }

    void closingTheMainWindowBeforeTheTickEndsTheProgram()
    {
        startUp();
        QTRY_VERIFY(helpWindow());
        QVERIFY(!helpWindow()->isVisible());
        QCOMPARE(closeMainWindowInEventLoop(), 0);
    }

    void closingTheMainWindowAfterTheTickLeavesHelpOpen()
    {
        startUp(100);
        QTRY_VERIFY(helpWindow() && helpWindow()->isVisible());
        QCOMPARE(closeMainWindowInEventLoop(), 99);
        QVERIFY(helpWindow()->isVisible());
    }
};

// The program writes no file: run everything with a home and XDG folders of
// our own, and find them empty at the end.
int main(int argc, char* argv[])
{
    QTemporaryDir sandbox;
    const QString home = sandbox.path() + QStringLiteral("/home");
    const QStringList folders = {home, sandbox.path() + "/cache", sandbox.path() + "/config", sandbox.path() + "/data"};
    for (const QString& folder : folders)
        QDir().mkpath(folder);
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_CACHE_HOME", folders[1].toUtf8());
    qputenv("XDG_CONFIG_HOME", folders[2].toUtf8());
    qputenv("XDG_DATA_HOME", folders[3].toUtf8());

    tivora::prepareProcess();
    int failed = 0;
    {
        QApplication app(argc, argv);
        HelpWindowTest test;
        failed = QTest::qExec(&test, argc, argv);
    }
    for (const QString& folder : folders) {
        QDirIterator written(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                             QDirIterator::Subdirectories);
        while (written.hasNext()) {
            std::fprintf(stderr, "FAIL: the program wrote %s\n", qPrintable(written.next()));
            failed = 1;
        }
    }
    return failed;
}

#include "help_window_test.moc"
