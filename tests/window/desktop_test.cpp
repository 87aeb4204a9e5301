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

#include <xcb/xcb.h>

#include <poll.h>

#include <csignal>
#include <cstdlib>
#include <cstring>

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

xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// One round with the window manager: what Qt asked of the X server so far
// has reached it, the window manager has handled all the server passed it
// since, and Qt has taken in what the window manager did about it. The
// window manager is asked for a window's frame extents and answers by
// setting them; it handles its events in turn, so by then it has handled
// every earlier one.
bool windowManagerRound()
{
    QGuiApplication::sync();
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    bool answered = false;
    if (!xcb_connection_has_error(connection)) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        const xcb_atom_t extents = atomNamed(connection, "_NET_FRAME_EXTENTS");
        const xcb_window_t window = xcb_generate_id(connection);
        const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_EVENT_MASK, &events);
        xcb_client_message_event_t request = {};
        request.response_type = XCB_CLIENT_MESSAGE;
        request.format = 32;
        request.window = window;
        request.type = atomNamed(connection, "_NET_REQUEST_FRAME_EXTENTS");
        xcb_send_event(connection, 0, screen->root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char*>(&request));
        xcb_flush(connection);
        pollfd readable = {xcb_get_file_descriptor(connection), POLLIN, 0};
        while (!answered) {
            xcb_generic_event_t* event = xcb_poll_for_event(connection);
            if (!event) {
                if (xcb_connection_has_error(connection) || poll(&readable, 1, 10000) <= 0)
                    break;
                continue;
            }
            answered = (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY &&
                       reinterpret_cast<xcb_property_notify_event_t*>(event)->atom == extents;
            std::free(event);
        }
    }
    xcb_disconnect(connection);
    QGuiApplication::sync();
    return answered;
}

// Until the window manager has nothing left to do: an activation it
// carries out can make the program answer with another (as the help window
// hands the keyboard back), which takes one more round each.
bool windowManagerSettled()
{
    for (int round = 0; round < 3; ++round)
        if (!windowManagerRound())
            return false;
    return true;
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
        QVERIFY(windowManagerSettled());
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
        QVERIFY(windowManagerSettled());  // what the window manager does with it
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
