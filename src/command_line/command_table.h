#pragma once

// The program's command line, named once: its modes (the window, --analyse,
// --export), each mode's options, the kinds --export writes, and the one
// parser that reads them all. The options of --analyse are the rows of the
// analysis's input table (performance/inputs.h), taken from there; the rows
// here are the modes' own. --help, the manual page and the bash completion
// are all written from these tables (reference.h), so an option has one
// description wherever it is shown.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tivora::command_line {

// Exit statuses, the same in every mode.
inline constexpr int kDone = 0;
inline constexpr int kNotWritten = 1;  // the output could not be written
inline constexpr int kBadUsage = 2;    // a bad option, value or file

// "1.0.0", the project's.
std::string_view programVersion();

enum class Mode { Window, Analyse, Export };

struct ModeEntry {
    Mode mode;
    std::string_view option;     // "analyse"; empty for the window
    std::string_view valueName;  // the mode's own value ("KIND"); empty: none
    std::string_view operands;   // in the synopsis after the options: "[DESIGN.csv]"
    std::string_view summary;    // one line, in the program's --help
    std::string_view about;      // what the mode does, at the head of its --help
    std::string_view optionsTitle;
    std::string_view example;       // a command line
    std::string_view exampleWords;  // what it does
    std::size_t mostOperands;
};
std::span<const ModeEntry> modes();
const ModeEntry& entryOf(Mode mode);

// What an option's value is, for its check and its completion.
enum class ValueKind { None, Number, File, Choice };

struct Option {
    std::string name;       // without the dashes: "radius"
    std::string valueName;  // "VALUE", "FILE", "held|alternator"; empty: a flag
    std::string meaning;    // --help's words, with unit and default where it has them
    ValueKind value = ValueKind::None;
    std::vector<std::string> choices = {};  // of a Choice
};
// A mode's options in the order --help lists them, its --help last.
std::vector<Option> optionsOf(Mode mode);

enum class ExportKind { CarvingTable, SectionsPdf, SectionsSvg, TemplatePdf, TemplateSvg, DesignSheetPdf, Design };

struct ExportKindEntry {
    ExportKind kind;
    std::string_view name;     // as typed after --export
    std::string_view meaning;  // --help's words
    bool binary;               // refused on a terminal
};
std::span<const ExportKindEntry> exportKinds();
const ExportKindEntry* exportKindNamed(std::string_view name);

// One argument line read against a mode's options: each option given once,
// in the order given.
struct ParsedLine {
    Mode mode = Mode::Window;
    std::string modeValue = {};                                     // the export kind
    std::vector<std::pair<std::string, std::string>> options = {};  // name and value ("" for a flag)
    std::vector<std::string> operands = {};
    bool has(std::string_view name) const;
    const std::string* value(std::string_view name) const;
};

// Why an argument line was refused: one line, to follow "tivora: " or
// "tivora --analyse: ", naming the argument and pointing to --help.
struct Refusal {
    Mode mode;
    std::string message;
};
// "tivora", "tivora --analyse": what a mode's messages start with.
std::string speakerOf(Mode mode);

// Every argument after the program's name. The first says the mode
// (--analyse, --export KIND); otherwise it is the window's. A value follows
// its option as the next argument or after "=". "--" ends the options. A
// flag (--help) stops nothing: the caller decides what a flag does. Values
// are not checked here beyond a choice's and the export kind.
std::variant<ParsedLine, Refusal> parseArguments(std::span<const std::string> arguments);
// The same for a mode's own arguments, those after its option and value.
std::variant<ParsedLine, Refusal> parseModeArguments(Mode mode, std::span<const std::string> arguments);

}  // namespace tivora::command_line
