// Tivora: reads its command line; then builds the main window, prepares the
// help window and runs the event loop, or works without a window.

#include "command_line/reference.h"
#include "export_command.h"
#include "performance/analyse_command.h"
#include "startup.h"
#include "window/main_window.h"

#include <QApplication>
#include <QFile>

#include <iostream>
#include <unistd.h>

int main(int argc, char* argv[])
{
    namespace cl = tivora::command_line;
    // Read before anything of Qt is made: --help, --version, --analyse and a
    // refused option start no window and no web engine.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    auto parsed = cl::parseArguments(arguments);
    if (const auto* refusal = std::get_if<cl::Refusal>(&parsed)) {
        std::cerr << cl::speakerOf(refusal->mode) << ": " << refusal->message << '\n';
        return cl::kBadUsage;
    }
    const cl::ParsedLine& line = std::get<cl::ParsedLine>(parsed);
    switch (line.mode) {
    case cl::Mode::Analyse:
        return tivora::performance::runAnalyseCommand({arguments.begin() + 1, arguments.end()}, std::cout, std::cerr);
    case cl::Mode::Export:
        return tivora::runExportCommand(line, std::cout, std::cerr, isatty(STDOUT_FILENO) == 1);
    case cl::Mode::Window:
        break;
    }
    if (line.has("help") || line.has("version")) {
        if (line.has("help"))
            cl::writeHelp(std::cout);
        else
            cl::writeVersion(std::cout);
        return std::cout.flush() ? cl::kDone : cl::kNotWritten;
    }

    tivora::prepareProcess();
    std::future<void> fontConfiguration = tivora::readFontConfigurationAhead();
    // Qt sees no argument: every one was read above, from the one table, and
    // a design file named "-reverse" after "--" stays a file.
    int qtArgumentCount = 1;
    QApplication app(qtArgumentCount, argv);
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
    if (!line.operands.empty())
        mainWindow.openDesign(QFile::decodeName(line.operands.front().c_str()));
    return app.exec();
}
