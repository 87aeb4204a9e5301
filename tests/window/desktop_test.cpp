// The two windows on a desktop: run under a window manager (openbox, started
// by tests/window/under-openbox), which maps windows in its own time and
// gives new ones the focus. What is on top and what is active is read as the
// window manager states it, with xprop.

#include "window_fixture.h"

#include "app/startup.h"
#include "help/help_window.h"

#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QWebEnginePage>

#include <csignal>

using namespace tivora;
using namespace tivora::testing;

namespace {

QList<WId> rootWindows(const char* property)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-root"), QString::fromLatin1(property)});
    if (!xprop.waitForFinished(5000))
        return {};
    QList<WId> windows;
    const QString answer = QString::fromLatin1(xprop.readAllStandardOutput());
    for (const QRegularExpressionMatch& id : QRegularExpression(QStringLiteral("0x[0-9a-f]+")).globalMatch(answer))
        windows << id.captured().toULongLong(nullptr, 16);
    return windows;
}

// Which of the two windows the window manager has on top, and whether it is
// also the active one; empty until both are on screen.
QString frontAndActive(QWidget* mainWindow, QWidget* helpWindow)
{
    if (!helpWindow)
        return {};
    const QList<WId> stacking = rootWindows("_NET_CLIENT_LIST_STACKING");  // bottom to top
    const qsizetype main = stacking.indexOf(mainWindow->winId());
    const qsizetype help = stacking.indexOf(helpWindow->winId());
    if (main < 0 || help < 0)
        return {};
    QWidget* front = main > help ? mainWindow : helpWindow;
    const QList<WId> active = rootWindows("_NET_ACTIVE_WINDOW");
    return front->objectName() + (active.value(0) == front->winId() ? " active" : " inactive");
}

}  // namespace

class DesktopTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<DeferredHelp> deferred;
    std::unique_ptr<Form1> form;

    QWidget* helpWindow() const
    {
        return deferred && deferred->loaded() ? static_cast<Help*>(deferred->loaded())->window() : nullptr;
    }

    // As the program starts, its timer included; waits for the tick.
    void startUpAndTick()
    {
        deferred = std::make_unique<DeferredHelp>([] { return std::make_unique<Help>(); });
        form = std::make_unique<Form1>(deferred.get());
        deferred->buildAfterFirstPaintOf(form.get());
        form->Form_Load();
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        control(form.get(), Field::WindSpeed)->setFocus();
        QTRY_VERIFY_WITH_TIMEOUT(!form->timer2()->isActive(), 10000);
    }

private slots:
    void cleanup()
    {
        form.reset();
        deferred.reset();
    }

    void afterTheTickTheMainWindowIsInFrontAndKeepsTheUsersField()
    {
        startUpAndTick();
        QTRY_COMPARE_WITH_TIMEOUT(frontAndActive(form.get(), helpWindow()), QStringLiteral("Form1 active"), 5000);
        // Still so once the window manager has nothing left to do.
        QTest::qWait(500);
        QCOMPARE(frontAndActive(form.get(), helpWindow()), QStringLiteral("Form1 active"));
        QCOMPARE(QApplication::focusWidget(), control(form.get(), Field::WindSpeed));
    }

    // A page whose renderer ends (as a page can make it, by eating memory)
    // is replaced by the bundled one behind the user's back: the calculator
    // keeps the window and the field the user was in.
    void endedHelpPageLeavesTheCalculatorActive()
    {
        startUpAndTick();
        QTRY_COMPARE_WITH_TIMEOUT(frontAndActive(form.get(), helpWindow()), QStringLiteral("Form1 active"), 5000);
        auto* help = static_cast<Help*>(deferred->loaded())->window();
        QWebEnginePage* page = help->browser()->page();
        QTRY_VERIFY_WITH_TIMEOUT(page->renderProcessPid() > 0, 10000);
        bool replaced = false;
        connect(page, &QWebEnginePage::loadFinished, this, [&] { replaced = true; });
        QVERIFY(::kill(pid_t(page->renderProcessPid()), SIGKILL) == 0);
        QTRY_VERIFY_WITH_TIMEOUT(replaced, 10000);
        QTest::qWait(500);  // what the window manager does with it
        QCOMPARE(frontAndActive(form.get(), helpWindow()), QStringLiteral("Form1 active"));
        QCOMPARE(QApplication::focusWidget(), control(form.get(), Field::WindSpeed));
    }

    void helpBringsTheHelpWindowToTheFront()
    {
        startUpAndTick();
        QTRY_COMPARE_WITH_TIMEOUT(frontAndActive(form.get(), helpWindow()), QStringLiteral("Form1 active"), 5000);
        control(form.get(), Button::Help)->click();
        QTRY_COMPARE_WITH_TIMEOUT(frontAndActive(form.get(), helpWindow()), QStringLiteral("Help active"), 5000);
    }
};

int main(int argc, char* argv[])
{
    prepareProcess();
    QApplication app(argc, argv);
    DesktopTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "desktop_test.moc"
