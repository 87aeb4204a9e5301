#pragma once

// Shared by the window tests: finding controls by objectName and closing the
// message boxes that a failing operation opens.

#include "window/main_window.h"

#include <QApplication>
#include <QLabel>
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

// The registry's names are string literals, so their data ends in a null.
template <class T = QLineEdit>
T* control(QWidget* window, Field field)
{
    return control<T>(window, nameOf(field).data());
}

template <class T = QLabel>
T* control(QWidget* window, Caption caption)
{
    return control<T>(window, nameOf(caption).data());
}

inline QString objectNameOf(Field field)
{
    return QString::fromUtf8(nameOf(field));
}

inline QString objectNameOf(Caption caption)
{
    return QString::fromUtf8(nameOf(caption));
}

inline QString textOf(QWidget* window, Field field)
{
    return control(window, field)->text();
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
inline void retype(QWidget* window, Field name, const QString& text)
{
    auto* field = control(window, name);
    field->selectAll();
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Delete);
    else
        QTest::keyClicks(field, text);
}

}  // namespace tivora::testing
