#include "export_command.h"

#include "command_line/reference.h"
#include "export/blade_template.h"
#include "export/design_file_io.h"
#include "export/design_page.h"
#include "export/document_titles.h"
#include "export/saved_file.h"
#include "export/section_gauges.h"
#include "performance/analyse_words.h"
#include "performance_window/performance_charts.h"
#include "performance_window/performance_report.h"
#include "solve/solve.h"
#include "workshop/workshop_settings.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>

#include <memory>
#include <ostream>

namespace tivora {

namespace {

using command_line::ExportKind;

// A refusal of the command: one line, and the status it ends with.
struct Refused {
    std::string message;
};

std::string said(const QString& text)
{
    return text.toStdString();
}

struct Design {
    DesignSheet sheet;
    DesignSettings settings;
    std::string name;  // of the file, for the messages
};

// The design solved as Solve! solves it: the start design, or the file's,
// its figures written with a full stop whatever the user's locale.
Design solvedDesign(const command_line::ParsedLine& line)
{
    Design design;
    if (!line.operands.empty()) {
        design.name = line.operands.front();
        auto read = readDesignFileAt(QFile::decodeName(design.name.c_str()), NumberFormat{});
        if (const auto* reason = std::get_if<QString>(&read))
            throw Refused{design.name + ": " + said(*reason)};
        auto& file = std::get<DesignFile>(read);
        design.sheet = std::move(file.sheet);
        design.settings = std::move(file.settings);
    }
    if (const auto failure = solve(design.sheet))
        throw Refused{(design.name.empty() ? "" : design.name + ": ") + "the design cannot be solved (" +
                      performance::solveFailureWords(*failure, design.sheet) + ")"};
    return design;
}

// The design's carving, and what it is of. A coordinates file the settings
// name is kept by its name only: the window asks for it again; here the
// main window's airfoil stands in, as in the window until then.
struct Carved {
    workshop::Carving carving;
    workshop::CarvingTable table;
};
Carved carvedDesign(const Design& design, std::ostream& err)
{
    const workshop::WorkshopInputs inputs = workshop::workshopFrom(design.settings);
    if (!inputs.coordinatesFile.empty())
        err << "tivora --export: warning: the design's section comes from the coordinates file \""
            << inputs.coordinatesFile << "\", kept by its name only: the sections are cut to the design's airfoil\n";
    const std::optional<workshop::Carving> carving = workshop::carvingOf(design.sheet, design.settings);
    if (!carving)
        throw Refused{"the design has no station table to carve"};
    return {*carving,
            workshop::carvingTable(*carving, inputs, design.sheet.selectedSystem(), design.sheet.numberFormat())};
}

// The rotor's performance page, analysed from the settings as --analyse
// would; none, with a warning, where the analysis cannot be made.
std::optional<PerformanceSheet> performanceOf(const Design& design, std::ostream& err)
{
    const performance::AnalysisInputs inputs = performance::inputsFrom(design.settings);
    const auto analysis = performance::analyse(design.sheet, inputs);
    if (!analysis) {
        const performance::Problem& problem = analysis.problem();
        err << "tivora --export: warning: the design sheet has no page of the rotor's performance: "
            << (problem.kind == performance::ProblemKind::FileNotLoaded && problem.input
                    ? "the design names the file \"" + inputs.file(*problem.input).name +
                          "\" by its name only (open the design in the window and load it)"
                    : performance::problemWords(problem, inputs))
            << '\n';
        return std::nullopt;
    }
    const UnitSystem system = design.sheet.selectedSystem();
    PerformanceSheet sheet = reportOf(*analysis, inputs, system, design.sheet.numberFormat());
    for (const ChartEntry& entry : performanceCharts())
        sheet.charts.push_back(chartOf(entry, *analysis, {system, design.sheet.numberFormat()}));
    return sheet;
}

// More pages than a builder would tape together, as in the window.
constexpr int kMostTemplatePages = 300;

using Writer = std::function<bool(QIODevice&)>;

Writer bytesWriter(QByteArray bytes)
{
    return [bytes = std::move(bytes)](QIODevice& device) { return device.write(bytes) == bytes.size(); };
}

// What writes the kind's bytes, made before anything is written, so that a
// design that cannot be drawn leaves no file.
Writer writerOf(ExportKind kind, const Design& design, std::ostream& err)
{
    const ShownDesign shown = shownDesign(design.sheet, false, workshop::trimFrom(design.settings));
    if (kind != ExportKind::Design) {
        if (const QString problem = bladeProblem(shown); !problem.isEmpty())
            throw Refused{"the station table cannot be drawn as a blade: " + said(problem)};
    }
    switch (kind) {
    case ExportKind::Design:
        return bytesWriter(designFileBytes(design.sheet, design.settings, false, nullptr));
    case ExportKind::CarvingTable: {
        const Carved carved = carvedDesign(design, err);
        return bytesWriter(QByteArray::fromStdString(carvingTableCsv(carved.table, design.sheet.numberFormat())));
    }
    case ExportKind::SectionsSvg: {
        const Carved carved = carvedDesign(design, err);
        return bytesWriter(sectionsSvg(sectionFigures(carved.carving, carved.table), sectionsTitle()));
    }
    case ExportKind::SectionsPdf: {
        const Carved carved = carvedDesign(design, err);
        std::vector<SectionFigure> figures = sectionFigures(carved.carving, carved.table);
        if (const QString problem = gaugesProblem(figures, systemPaper()); !problem.isEmpty())
            throw Refused{said(problem)};
        return [figures = std::move(figures)](QIODevice& device) {
            return writeSectionGaugesPdf(figures, systemPaper(), gaugesTitle(), &device);
        };
    }
    case ExportKind::TemplateSvg:
        return bytesWriter(bladeTemplateSvg(shown));
    case ExportKind::TemplatePdf: {
        TemplateDrawing blade = bladeTemplate(shown);
        if (const int pages = tileLayout(blade.size, systemPaper().size(QPageSize::Millimeter)).pages();
            pages > kMostTemplatePages)
            throw Refused{"the template would take " + std::to_string(pages) +
                          " pages: export template-svg for a plotter instead"};
        return [blade = std::move(blade)](QIODevice& device) {
            return writeTiledTemplatePdf(blade, systemPaper(), templateTitle(), &device);
        };
    }
    case ExportKind::DesignSheetPdf: {
        const Carved carved = carvedDesign(design, err);
        auto carving = std::make_shared<CarvingSheet>(
            CarvingSheet{carved.table, carvingNotes(workshop::trimFrom(design.settings), design.sheet.selectedSystem(),
                                                    design.sheet.numberFormat())});
        auto performance = std::make_shared<std::optional<PerformanceSheet>>(performanceOf(design, err));
        return [shown, carving, performance](QIODevice& device) {
            const SheetExtras extras{*performance ? &**performance : nullptr, carving.get()};
            return writeDesignSheetPdf(shown, systemPaper(), designSheetTitle(), &device, extras);
        };
    }
    }
    return {};
}

// The painting of a PDF needs an application object, and its fonts, but no
// display: the offscreen platform, whatever QT_QPA_PLATFORM says, so that
// the same design gives the same drawing with or without a desktop.
std::unique_ptr<QGuiApplication> paintingApplication()
{
    if (QCoreApplication::instance())
        return nullptr;
    static char name[] = "tivora", platform[] = "-platform", offscreen[] = "offscreen";
    static char* arguments[] = {name, platform, offscreen, nullptr};
    static int count = 3;
    return std::make_unique<QGuiApplication>(count, arguments);
}

}  // namespace

int runExportCommand(const command_line::ParsedLine& line, std::ostream& out, std::ostream& err, bool outputIsTerminal)
{
    using namespace command_line;
    if (line.has("help")) {
        writeHelp(out, Mode::Export);
        return out.flush() ? kDone : kNotWritten;
    }
    const ExportKindEntry& kind = *exportKindNamed(line.modeValue);
    const std::string* output = line.value("output");
    try {
        if (kind.binary && !output && outputIsTerminal)
            throw Refused{std::string(kind.name) +
                          " is a PDF: name a file with --output FILE, or send standard output to a file or a pipe "
                          "(see --help)"};
        const Design design = solvedDesign(line);
        const std::unique_ptr<QGuiApplication> application = kind.binary ? paintingApplication() : nullptr;
        const Writer write = writerOf(kind.kind, design, err);
        if (output) {
            const QString path = QFile::decodeName(output->c_str());
            if (const QString reason = writeWholeFile(path, write); !reason.isEmpty()) {
                err << "tivora --export: cannot write \"" << *output << "\": " << said(reason) << '\n';
                return kNotWritten;
            }
            return kDone;
        }
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        const bool drawn = write(buffer);
        out.write(buffer.data().constData(), buffer.data().size());
        out.flush();
        if (!drawn || !out) {
            err << "tivora --export: the output could not be written\n";
            return kNotWritten;
        }
        return kDone;
    } catch (const Refused& refused) {
        err << "tivora --export: " << refused.message << '\n';
        return kBadUsage;
    }
}

}  // namespace tivora
