#include "reference.h"

#include "sheet/design_file.h"
#include "solve/solve.h"

#include <cstdio>
#include <ostream>
#include <sstream>

namespace tivora::command_line {

namespace {

constexpr std::size_t kWidth = 79;
constexpr std::size_t kOptionColumn = 32;

constexpr std::string_view kValueAfterEquals =
    "A value follows its option as the next argument, or after an equals sign (--radius=1.5, which a value "
    "starting with \"--\" needs); \"--\" ends the options.";
constexpr std::string_view kExitWords[] = {
    "done: the window was closed, or the analysis or the export was written (warnings, if any, on standard "
    "error)",
    "the output could not be written (nothing is left of a file being written)",
    "a bad option, value or file: an unknown option, a missing value, a figure that cannot be computed with, a "
    "design file that cannot be read or solved, a drawing that cannot be made of it; one line on standard error "
    "names it, and nothing is written",
};

std::string usageOf(const ModeEntry& entry)
{
    // Appended: GCC 12 warns falsely on a literal added to a temporary string.
    std::string usage = "tivora";
    if (!entry.option.empty())
        usage.append(" --").append(entry.option);
    if (!entry.valueName.empty())
        usage.append(" ").append(entry.valueName);
    return usage.append(" ").append(entry.operands);
}

// `text` folded into lines of at most kWidth, the first after `first`, the
// others indented by `indent`.
void writeFolded(std::ostream& out, std::string first, std::string_view text, std::size_t indent)
{
    std::string line = std::move(first);
    bool empty = true;
    std::istringstream words{std::string(text)};
    for (std::string word; words >> word;) {
        if (!empty && line.size() + 1 + word.size() > kWidth) {
            out << line << '\n';
            line.assign(indent, ' ');
            empty = true;
        }
        line += (empty ? "" : " ") + word;
        empty = false;
    }
    out << line << '\n';
}

void writeEntry(std::ostream& out, const std::string& left, std::string_view meaning,
                std::size_t column = kOptionColumn)
{
    std::string first = "  " + left;
    if (first.size() < column)
        first.resize(column, ' ');
    else
        first += ' ';
    writeFolded(out, first, meaning, column);
}

std::string leftOf(const Option& option)
{
    return "--" + option.name + (option.valueName.empty() ? "" : " " + option.valueName);
}

void writeModeHelp(std::ostream& out, const ModeEntry& entry)
{
    writeFolded(out, {}, entry.about, 0);
    if (entry.mode == Mode::Export) {
        out << "\nKIND is one of:\n";
        for (const ExportKindEntry& kind : exportKinds())
            writeEntry(out, std::string(kind.name), kind.meaning);
    }
    out << '\n' << entry.optionsTitle << '\n';
    for (const Option& option : optionsOf(entry.mode))
        writeEntry(out, leftOf(option), option.meaning);
}

void writeTail(std::ostream& out)
{
    out << '\n';
    writeFolded(out, {}, kValueAfterEquals, 0);
    out << "\nExit status:\n";
    for (int status = 0; status < 3; ++status)
        writeEntry(out, std::to_string(status), kExitWords[status], 5);
}

// --- The manual page -------------------------------------------------------

// Text for roff: backslashes and hyphens escaped, every other character
// beyond ASCII by its code point (groff reads \[uXXXX] whatever the page's
// encoding), and a dot or quote that would start a line made plain.
std::string roff(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\\') {
            out += "\\e";
        } else if (byte == '-') {
            out += "\\-";
        } else if ((byte == '.' || byte == '\'') && (out.empty() || out.back() == '\n')) {
            out += "\\&";
            out += text[i];
        } else if (byte < 0x80) {
            out += text[i];
        } else {
            const int extra = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : 1;
            unsigned code = byte & (0x3F >> extra);
            for (int k = 0; k < extra && i + 1 < text.size(); ++k)
                code = (code << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F);
            char hex[16];
            std::snprintf(hex, sizeof hex, "\\[u%04X]", code);
            out += hex;
        }
    }
    return out;
}

// "--export KIND [DESIGN.csv]": options bold, the words to replace italic.
std::string roffSynopsis(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t end = text.find_first_of(" []|", i);
        if (end == i) {
            out += text[i++];
            continue;
        }
        std::string_view word = text.substr(i, end == std::string_view::npos ? std::string_view::npos : end - i);
        const bool dots = word.ends_with("...");
        if (dots)
            word.remove_suffix(3);
        out += (word.starts_with("-") ? "\\fB" : "\\fI") + roff(word) + "\\fR" + (dots ? "..." : "");
        i += word.size() + (dots ? 3 : 0);
    }
    return out;
}

void writeRoffEntry(std::ostream& out, const std::string& left, std::string_view meaning)
{
    out << ".TP\n" << roffSynopsis(left) << '\n' << roff(meaning) << '\n';
}

// The start design as Save Design writes it, without its byte-order mark
// and carriage returns.
std::string startDesignFile()
{
    DesignSheet sheet;
    (void)solve(sheet);
    std::string file = writeDesignFile(sheet);
    std::string out;
    for (char c : file.substr(3)) {
        if (c != '\r')
            out += c;
    }
    return out;
}

void writeExample(std::ostream& out, std::string_view words, std::string_view text)
{
    out << ".PP\n" << roff(words) << "\n.PP\n.RS\n.EX\n" << roff(text) << "\n.EE\n.RE\n";
}

}  // namespace

void writeHelp(std::ostream& out, std::optional<Mode> mode)
{
    if (mode) {
        out << "Usage: " << usageOf(entryOf(*mode)) << '\n';
        writeModeHelp(out, entryOf(*mode));
        writeTail(out);
        return;
    }
    for (const ModeEntry& entry : modes())
        out << (entry.mode == Mode::Window ? "Usage: " : "       ") << usageOf(entry) << '\n';
    out << "Sizes a small wind-turbine rotor and its generator.\n";
    for (const ModeEntry& entry : modes()) {
        out << '\n' << usageOf(entry) << '\n';
        writeModeHelp(out, entry);
    }
    writeTail(out);
}

void writeVersion(std::ostream& out)
{
    out << "tivora " << programVersion() << '\n';
}

void writeManPage(std::ostream& out, std::string_view date)
{
    out << ".\\\" Written by tivora_reference from the program's table of options; edit the table.\n"
        << ".TH TIVORA 1 \"" << date << "\" \"Tivora " << programVersion() << "\" \"User Commands\"\n"
        << ".SH NAME\ntivora \\- size a small wind\\-turbine rotor and its generator\n.SH SYNOPSIS\n";
    for (const ModeEntry& entry : modes())
        out << (entry.mode == Mode::Window ? "" : ".br\n") << roffSynopsis(usageOf(entry)) << '\n';
    out << ".SH DESCRIPTION\n"
        << roff("Tivora makes the first sizing of a small wind-turbine rotor and of the generator behind it. In "
                "its window, type the number of blades, the tip speed ratio, the blade efficiency, the blade "
                "radius, the wind speed and the airfoil's lift coefficient and angle of attack, press Solve!, "
                "and read the power, speed and torque the generator must handle and the radius, chord and "
                "twist of the blade at ten stations, in SI, Metric or Imperial units. Other windows analyse "
                "the rotor's performance and prepare the blade for carving; on the command line, --analyse "
                "and --export do the same without a window.")
        << "\n.SH OPTIONS\n";
    for (const ModeEntry& entry : modes()) {
        out << ".SS \"" << roffSynopsis(usageOf(entry)) << "\"\n";
        out << roff(entry.about) << '\n';
        if (entry.mode == Mode::Export) {
            out << ".PP\n" << roffSynopsis("KIND") << " is one of:\n";
            for (const ExportKindEntry& kind : exportKinds())
                writeRoffEntry(out, std::string(kind.name), kind.meaning);
        }
        out << ".PP\n" << roff(entry.optionsTitle) << '\n';
        for (const Option& option : optionsOf(entry.mode))
            writeRoffEntry(out, leftOf(option), option.meaning);
    }
    out << ".PP\n" << roff(kValueAfterEquals) << '\n';
    out << ".SH \"DESIGN FILE\"\n"
        << roff("A design is CSV text in UTF-8, which a spreadsheet opens as a table and Tivora as a design: a "
                "first row naming the program and the format's version; a row for each input and output (its "
                "caption, figure and unit); the station table, a Station row with its column captions, then "
                "one row a station (number, radius, chord, twist); the unit system (SI, Metric or Imperial) "
                "and the airfoil; then the Setting rows that the other windows keep, a name and a value each "
                "(lengths in millimetres, figures in SI with a full stop). Where the decimal separator is a comma, the "
                "cells are separated by semicolons. Rows "
                "may come in any order; rows of the user's own are ignored. The start design, solved:")
        << "\n.PP\n.RS\n.EX\n"
        << roff(startDesignFile()) << ".EE\n.RE\n";
    writeExample(out,
                 "A setting of the Blade Sections window, the plank's width:", "Setting,sections.plank-width-mm,150");
    out << ".SH \"EXIT STATUS\"\n";
    for (int status = 0; status < 3; ++status)
        writeRoffEntry(out, std::to_string(status), kExitWords[status]);
    out << ".SH ENVIRONMENT\n";
    writeRoffEntry(out, "LC_PAPER", "The paper of the PDF drawings (A4 where it names none).");
    writeRoffEntry(out, "QT_QPA_PLATFORM",
                   "The window system the window is shown on (Qt's platform plugin); --export uses none.");
    writeRoffEntry(out, "QT_LOGGING_RULES", "\"tivora.*=false\" silences the window's messages on standard error.");
    out << ".SH EXAMPLES\n";
    for (const ModeEntry& entry : modes())
        writeExample(out, entry.exampleWords, entry.example);
    writeExample(out, "The carving table of the start design, into a spreadsheet's file:",
                 "tivora --export carving-table > carving.csv");
    out << ".SH \"SEE ALSO\"\n"
        << roff("The help page, which the window's Help! button or F1 opens, explains every figure and formula.")
        << '\n';
}

}  // namespace tivora::command_line
