// Tivora: builds the main window, prepares the help window, runs the event loop.

#include "performance/analyse_command.h"
#include "startup.h"
#include "window/main_window.h"

#include <QApplication>

#include <cstring>
#include <iostream>

int main(int argc, char* argv[])
{
    // The analysis from the command line: no window, no web engine.
    if (argc > 1 && std::strcmp(argv[1], "--analyse") == 0)
        return tivora::performance::runAnalyseCommand({argv + 2, argv + argc}, std::cout, std::cerr);

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
    // `tivora design.csv`, as the desktop's "Open with" runs it.
    if (const QStringList arguments = QApplication::arguments(); arguments.size() > 1)
        mainWindow.openDesign(arguments.at(1));
    return app.exec();
}
