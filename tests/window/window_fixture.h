#pragma once

// Shared by the window tests: finding controls by objectName and closing the
// message boxes that a failing operation opens.

#include "window/main_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>

namespace tivora::testing {

template <class T = QWidget>
T* control(QWidget* window, const char* name)
{
    auto* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control named %s", name);
    return found;
}

inline QString textOf(QWidget* window, const char* name)
{
    return control<QLineEdit>(window, name)->text();
}

// Runs `action`, accepting every message box it opens; returns their texts.
inline QStringList acceptingMessageBoxes(const std::function<void()>& action)
{
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
inline void retype(QWidget* window, const char* name, const QString& text)
{
    auto* field = control<QLineEdit>(window, name);
    field->selectAll();
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Delete);
    else
        QTest::keyClicks(field, text);
}

}  // namespace tivora::testing
