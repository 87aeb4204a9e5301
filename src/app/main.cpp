// Tivora: builds the main window, prepares the help window, runs the event loop.

#include "startup.h"
#include "window/main_window.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    tivora::prepareProcess();
    std::future<void> fontConfiguration = tivora::readFontConfigurationAhead();
    QApplication app(argc, argv);
    QApplication::setFont(tivora::windowFont());
    QGuiApplication::setDesktopFileName(QStringLiteral("example.tivora.Tivora"));

    // Destroyed in reverse: the main window, then the help window with its
    // browser and profile, then the application.
    tivora::DeferredHelp help(tivora::loadHelpModule);
    fontConfiguration.wait();
    tivora::Form1 mainWindow(&help);
    help.buildAfterFirstPaintOf(&mainWindow);

    mainWindow.Form_Load();
    mainWindow.show();
    return app.exec();
}
