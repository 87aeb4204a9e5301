// The rows of the command line, and the parser that reads arguments
// against them (command_table.h says what each row is).

#include "command_table.h"

#include "performance/analyse_words.h"
#include "performance/inputs.h"

#include <algorithm>

namespace tivora::command_line {

namespace {

// clang-format off
constexpr ModeEntry kModes[] = {
    {.mode = Mode::Window, .option = {}, .valueName = {}, .operands = "[DESIGN.csv]",
     .summary = "open the window",
     .about = "Opens the calculator's window, and in it the design file DESIGN.csv when one is given, as its "
              "Open Design command does (a file that cannot be opened is said in the window).",
     .optionsTitle = "Options:",
     .example = "tivora rotor.csv", .exampleWords = "Open a saved design in the window.", .mostOperands = 1},
    {.mode = Mode::Analyse, .option = "analyse", .valueName = {}, .operands = "[--OPTION VALUE]...",
     .summary = "analyse the blade that Solve! draws and print CSV, without a window",
     .about = "Analyses the blade that Solve! draws for the design the options give (the start design's "
              "figures where they give none): blade-element momentum with Prandtl's tip and hub losses. Prints "
              "CSV: the design's figures, its stations, the power coefficient against tip speed ratio, the power "
              "curves held at the design tip speed ratio and on a battery-charging alternator with what limits the "
              "machine (furling, tip speed, runaway, the winding's heat, the loads), and the annual energy at the "
              "site. A cut-in, a rated power and a cut-out apply to the rotor held at its tip speed "
              "ratio, the alternator's figures to the rotor on it; both power curves are printed.",
     .optionsTitle = "Options of --analyse (unit; default):",
     .example = "tivora --analyse --altitude 500 > performance.csv",
     .exampleWords = "Analyse the start design at a site 500 m above sea level.", .mostOperands = 0},
    {.mode = Mode::Export, .option = "export", .valueName = "KIND", .operands = "[--output FILE] [DESIGN.csv]",
     .summary = "write a drawing or a table of the design, without a window",
     .about = "Writes a drawing or a table of the design, solved as Solve! solves it: the start design, or the "
              "design file DESIGN.csv with the settings it keeps (the blade trimmed for carving, the thickness "
              "and the wood; the site and the airfoil of the design sheet's performance page). Figures have a "
              "full stop as decimal separator and are in the design's unit system; PDF pages are of the "
              "locale's paper (LC_PAPER; A4 where it names none). The output goes to standard output unless "
              "--output names a file; a PDF is not written to a terminal.",
     .optionsTitle = "Options of --export:",
     .example = "tivora --export sections-pdf --output gauges.pdf rotor.csv",
     .exampleWords = "Write the section gauges of a saved design, to print at 100 % and cut out of card.",
     .mostOperands = 1},
};

constexpr ExportKindEntry kExportKinds[] = {
    {ExportKind::CarvingTable, "carving-table",
     "the carving table: each station's chord, twist, width on the plank, drop and thickness, then the blank and "
     "the blade's mass (CSV)", false},
    {ExportKind::SectionsPdf, "sections-pdf",
     "the section gauges at full size, to print at 100 % and cut out of card (PDF)", true},
    {ExportKind::SectionsSvg, "sections-svg",
     "every section in its plank at full size, one unit one millimetre (SVG)", false},
    {ExportKind::TemplatePdf, "template-pdf",
     "the blade template at full size, tiled over pages to tape together (PDF)", true},
    {ExportKind::TemplateSvg, "template-svg",
     "the blade template at full size in one drawing, one unit one millimetre (SVG)", false},
    {ExportKind::DesignSheetPdf, "design-sheet-pdf",
     "the design sheet: the design, the rotor's performance and the carving table (PDF)", true},
    {ExportKind::Design, "design-file", "the design file, solved: the CSV that Save Design writes", false},
};
// clang-format on

constexpr std::string_view kHelpWords[] = {
    "print this help and exit",
    "print the options of --analyse and exit",
    "print the kinds and options of --export and exit",
};

Option flag(std::string name, std::string meaning)
{
    return {std::move(name), {}, std::move(meaning)};
}

// A row of the analysis's input table as an option of --analyse.
Option analysisOption(const performance::InputEntry& entry)
{
    using performance::InputKind;
    Option option{std::string(entry.option), "VALUE", {}, ValueKind::Number};
    std::string unit(entry.kind == InputKind::File ? "file" : performance::asciiUnitOf(entry.quantity));
    if (entry.kind == InputKind::File) {
        option.valueName = "FILE";
        option.value = ValueKind::File;
    } else if (entry.kind == InputKind::Choice) {
        option.value = ValueKind::Choice;
        option.valueName.clear();
        for (const performance::ChoiceOption& choice : entry.choices) {
            option.valueName.append(option.choices.empty() ? "" : "|").append(choice.key);
            option.choices.emplace_back(choice.key);
        }
    }
    // Appended: GCC 12 warns falsely on a literal added to a temporary string.
    option.meaning.append(entry.meaning)
        .append(" (")
        .append(unit.empty() ? "no unit" : unit)
        .append("; ")
        .append(performance::defaultWords(entry))
        .append(")");
    return option;
}

std::string listed(const std::vector<std::string>& words, std::string_view last)
{
    std::string out;
    for (std::size_t i = 0; i < words.size(); ++i)
        out += (i == 0 ? "" : i + 1 == words.size() ? std::string(" ") + std::string(last) + " " : ", ") + words[i];
    return out;
}

}  // namespace

std::string_view programVersion()
{
    return TIVORA_VERSION;
}

std::span<const ModeEntry> modes()
{
    return kModes;
}

const ModeEntry& entryOf(Mode mode)
{
    return kModes[static_cast<std::size_t>(mode)];
}

std::vector<Option> optionsOf(Mode mode)
{
    std::vector<Option> options;
    switch (mode) {
    case Mode::Window:
        for (const ModeEntry& each : kModes) {
            if (!each.option.empty())
                options.push_back({std::string(each.option), std::string(each.valueName), std::string(each.summary)});
        }
        options.push_back(flag("help", std::string(kHelpWords[0])));
        options.push_back(flag("version", "print the version and exit"));
        break;
    case Mode::Analyse:
        for (const performance::InputEntry& entry : performance::inputTable()) {
            if (!entry.option.empty())
                options.push_back(analysisOption(entry));
        }
        options.push_back(flag("help", std::string(kHelpWords[1])));
        break;
    case Mode::Export:
        options.push_back({"output", "FILE",
                           "write to FILE, whole or not at all, instead of standard output (a file already there "
                           "is replaced only once the new one is written)",
                           ValueKind::File});
        options.push_back(flag("help", std::string(kHelpWords[2])));
        break;
    }
    return options;
}

std::span<const ExportKindEntry> exportKinds()
{
    return kExportKinds;
}

const ExportKindEntry* exportKindNamed(std::string_view name)
{
    for (const ExportKindEntry& kind : kExportKinds) {
        if (kind.name == name)
            return &kind;
    }
    return nullptr;
}

bool ParsedLine::has(std::string_view name) const
{
    return value(name) != nullptr;
}

const std::string* ParsedLine::value(std::string_view name) const
{
    for (const auto& [given, value] : options) {
        if (given == name)
            return &value;
    }
    return nullptr;
}

std::string speakerOf(Mode mode)
{
    return mode == Mode::Window ? "tivora" : "tivora --" + std::string(entryOf(mode).option);
}

std::variant<ParsedLine, Refusal> parseModeArguments(Mode mode, std::span<const std::string> arguments)
{
    const std::vector<Option> options = optionsOf(mode);
    const auto refused = [mode](std::string message) { return Refusal{mode, std::move(message)}; };
    ParsedLine line{mode};
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument == "-" || !argument.starts_with('-')) {
            if (line.operands.size() == entryOf(mode).mostOperands)
                return refused("unexpected argument \"" + argument + "\" (see --help)");
            line.operands.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        std::string_view name = argument;
        name.remove_prefix(name.starts_with("--") ? 2 : 1);
        std::optional<std::string> value;
        if (const auto equals = name.find('='); equals != std::string_view::npos) {
            value = std::string(name.substr(equals + 1));
            name = name.substr(0, equals);
        }
        const std::string dashed = std::string(argument.starts_with("--") ? "--" : "-") + std::string(name);
        if (mode == Mode::Window && argument.starts_with("--") &&
            std::any_of(std::begin(kModes), std::end(kModes), [&](const ModeEntry& m) { return m.option == name; }))
            return refused(dashed + " must come first (see --help)");
        const auto option =
            std::find_if(options.begin(), options.end(), [&](const Option& o) { return o.name == name; });
        if (option == options.end() || !argument.starts_with("--"))
            return refused("unknown option " + dashed + " (see --help)");
        if (option->value == ValueKind::None && value)
            return refused(dashed + " takes no value (see --help)");
        if (option->value != ValueKind::None && !value) {
            // An option after it means its value was left out; a value
            // that starts with "--" can follow an equals sign.
            if (i + 1 >= arguments.size() || arguments[i + 1].starts_with("--"))
                return refused(dashed + " needs a value (see --help)");
            value = arguments[++i];
        }
        if (option->value == ValueKind::Choice &&
            std::find(option->choices.begin(), option->choices.end(), *value) == option->choices.end())
            return refused(dashed + ": expected " + listed(option->choices, "or") + ", found \"" + *value + "\"");
        if (line.has(name))
            return refused(dashed + " is given twice: give each option once");
        line.options.emplace_back(std::string(name), value.value_or(std::string()));
    }
    return line;
}

std::variant<ParsedLine, Refusal> parseArguments(std::span<const std::string> arguments)
{
    for (const ModeEntry& entry : kModes) {
        if (entry.option.empty() || arguments.empty())
            continue;
        const std::string dashed = "--" + std::string(entry.option);
        std::string_view first = arguments.front();
        if (first != dashed && !first.starts_with(dashed + "="))
            continue;
        std::span<const std::string> rest = arguments.subspan(1);
        std::string value;
        if (entry.valueName.empty()) {
            if (first != dashed)
                return Refusal{Mode::Window, dashed + " takes no value (see --help)"};
        } else if (first != dashed) {
            value = first.substr(dashed.size() + 1);
        } else if (!rest.empty() && !rest.front().starts_with("--")) {
            value = rest.front();
            rest = rest.subspan(1);
        }
        // `tivora --export --help` asks for the mode's help in place of its value.
        if (!entry.valueName.empty() && value.empty() && (rest.empty() || rest.front() != "--help"))
            return Refusal{Mode::Window, dashed + " needs a " + std::string(entry.valueName) + " (see --help)"};
        if (entry.mode == Mode::Export && !value.empty() && !exportKindNamed(value)) {
            std::vector<std::string> names;
            for (const ExportKindEntry& kind : kExportKinds)
                names.emplace_back(kind.name);
            return Refusal{Mode::Export,
                           "unknown kind \"" + value + "\": one of " + listed(names, "or") + " (see --help)"};
        }
        auto parsed = parseModeArguments(entry.mode, rest);
        if (auto* line = std::get_if<ParsedLine>(&parsed))
            line->modeValue = value;
        return parsed;
    }
    return parseModeArguments(Mode::Window, arguments);
}

}  // namespace tivora::command_line
