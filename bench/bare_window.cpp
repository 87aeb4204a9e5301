// The yardstick: a bare Qt Widgets window of the main window's size. Built a
// second time linked with Qt WebEngine (never used), to show what loading the
// engine at start would cost, and a third time linked with Qt's print
// support, for what the print dialog's library costs.

#include <QApplication>
#include <QWidget>
#ifdef WITH_WEB_ENGINE
#include <QWebEngineView>
#endif
#ifdef WITH_PRINT_SUPPORT
#include <QPrinter>
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
#ifdef WITH_PRINT_SUPPORT
    if (argc > 99)
        QPrinter().newPage();
#endif
    return app.exec();
}
