#pragma once

// Shared by the window tests: finding controls by their identity, closing the
// message boxes that a failing operation opens, and failing a test at once
// when a dialog it did not expect opens.

#include "window/main_window.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QTest>
#include <QTimer>

#include <clocale>
#include <functional>
#include <string_view>

namespace tivora::testing {

// Every file below `folder`, with its path relative to it.
inline QStringList filesBelow(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

namespace detail {

template <class T>
T* control(QWidget* window, std::string_view name)
{
    auto* found = window->findChild<T*>(QString::fromUtf8(name));
    if (!found)
        qFatal("no control named %s", QString::fromUtf8(name).toLocal8Bit().constData());
    return found;
}

}  // namespace detail

// Controls by their identity in the registry.
template <class T = QLineEdit>
T* control(QWidget* window, Field field)
{
    return detail::control<T>(window, nameOf(field));
}

template <class T = QLabel>
T* control(QWidget* window, Caption caption)
{
    return detail::control<T>(window, nameOf(caption));
}

inline QPushButton* control(QWidget* window, Button button)
{
    return detail::control<QPushButton>(window, nameOf(button));
}

// The option that stands for `system`.
inline QRadioButton* control(QWidget* window, UnitSystem system)
{
    return detail::control<QRadioButton>(window, optionNameOf(system));
}

inline QString objectNameOf(Field field)
{
    return QString::fromUtf8(nameOf(field));
}

inline QString objectNameOf(Caption caption)
{
    return QString::fromUtf8(nameOf(caption));
}

inline QString objectNameOf(Button button)
{
    return QString::fromUtf8(nameOf(button));
}

inline QString objectNameOf(UnitSystem option)
{
    return QString::fromUtf8(optionNameOf(option));
}

inline QString textOf(QWidget* window, Field field)
{
    return control(window, field)->text();
}

// While above zero, modal dialogs are expected: acceptingMessageBoxes
// answers them.
inline int expectedModalDialogs = 0;

// A member of every window test class. A modal dialog that no test asked for
// would wait in its own event loop for a click that never comes, until
// ctest's timeout; the watchdog closes it within a tenth of a second and
// fails the running test with the dialog's name and text.
class ModalWatchdog {
public:
    ModalWatchdog()
    {
        timer_.setInterval(100);
        QObject::connect(&timer_, &QTimer::timeout, [] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || expectedModalDialogs > 0)
                return;
            // A box kept off the screen is one the program is cancelling with
            // a queued call: look again once the calls queued before are done.
            if (modal->testAttribute(Qt::WA_DontShowOnScreen)) {
                QMetaObject::invokeMethod(
                    modal, [modal] { closeUnexpected(modal); }, Qt::QueuedConnection);
                return;
            }
            closeUnexpected(modal);
        });
        timer_.start();
    }

private:
    static void closeUnexpected(QWidget* modal)
    {
        if (QApplication::activeModalWidget() != modal || expectedModalDialogs > 0)
            return;
        QString what = QStringLiteral("%1 \"%2\"").arg(modal->metaObject()->className(), modal->objectName());
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            what += QStringLiteral(": ") + box->text();
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        QTest::qFail(qPrintable(QStringLiteral("an unexpected modal dialog opened, %1").arg(what)), __FILE__, __LINE__);
    }

    QTimer timer_;
};

// Runs `action`, accepting every message box it opens; returns their texts.
inline QStringList acceptingMessageBoxes(const std::function<void()>& action)
{
    const QScopedValueRollback expecting(expectedModalDialogs, expectedModalDialogs + 1);
    QStringList texts;
    QTimer closer;
    closer.setInterval(20);
    QObject::connect(&closer, &QTimer::timeout, [&texts] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            texts << box->text();
            box->accept();
        }
    });
    closer.start();
    action();
    closer.stop();
    return texts;
}

// Replaces a field's text the way a user does, so the window hears of it.
inline void retype(QWidget* window, Field name, const QString& text)
{
    auto* field = control(window, name);
    field->selectAll();
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Delete);
    else
        QTest::keyClicks(field, text);
}

// A program's standard output; the test ends if it fails.
inline QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
    return QString::fromUtf8(process.readAllStandardOutput());
}

// A control of a window that is not the main one, by its objectName.
template <class T = QLineEdit>
T* in(QWidget* window, const char* name)
{
    auto* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control named %s", name);
    return found;
}

// Types into a named field the way a user does: focus, select all, keys.
inline void type(QWidget* window, const char* name, const QString& text)
{
    auto* edit = in(window, name);
    edit->setFocus();
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        QTest::keyClicks(edit, text);
    QCoreApplication::processEvents();
}

// Sets LC_PAPER to a locale made from glibc's sources in `folder`, as a
// user's locale settings would; back to C when done.
class PaperLocale {
public:
    PaperLocale(const QString& name, const QString& folder)
    {
        if (name == u"C") {
            made_ = setlocale(LC_PAPER, "C") != nullptr;
            return;
        }
        QProcess localedef;
        localedef.start(QStringLiteral("localedef"), {QStringLiteral("-i"), name, QStringLiteral("-f"),
                                                      QStringLiteral("UTF-8"), folder + u'/' + name});
        if (!localedef.waitForFinished(60000) || localedef.exitStatus() != QProcess::NormalExit)
            return;
        qputenv("LOCPATH", folder.toUtf8());
        made_ = setlocale(LC_PAPER, qPrintable(name)) != nullptr;
    }
    ~PaperLocale()
    {
        setlocale(LC_PAPER, "C");
        qunsetenv("LOCPATH");
    }
    bool made() const { return made_; }

private:
    bool made_ = false;
};

}  // namespace tivora::testing
