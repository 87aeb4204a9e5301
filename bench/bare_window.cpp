// The yardstick: a bare Qt Widgets window of the main window's size. Built a
// second time linked with Qt WebEngine (never used), to show what loading the
// engine at start would cost.

#include <QApplication>
#include <QWidget>
#ifdef WITH_WEB_ENGINE
#include <QWebEngineView>
#endif

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(673, 495);
    window.show();
#ifdef WITH_WEB_ENGINE
    if (argc > 99)
        QWebEngineView().show();
#endif
    return app.exec();
}
