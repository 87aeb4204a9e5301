#include "design_file.h"

#include "csv.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

namespace tivora {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kProgram = "Tivora design";
constexpr std::string_view kUnitSystemRow = "Unit system";
// Only after a unit switch that failed part way are the figures in another
// system than the option names.
constexpr std::string_view kFiguresInRow = "Figures in";
constexpr std::string_view kAirfoilRow = "Airfoil";
constexpr std::string_view kAirfoilPrefix = "Airfoil: ";
constexpr std::string_view kSettingRow = "Setting";
constexpr std::string_view kStationRow = "Station";

constexpr std::array<std::string_view, 3> kSystemNames = {"SI", "Metric", "Imperial"};

// Joined by appending: GCC 12 warns falsely (-Wrestrict) on a literal added
// to a temporary string.
template <class... Parts>
std::string concat(const Parts&... parts)
{
    std::string out;
    (out.append(std::string_view(parts)), ...);
    return out;
}

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string joinCaption(const std::string& name, const std::string& unit)
{
    return unit.empty() ? name : name + " (" + unit + ")";
}

bool sameName(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::string quantityName(Field field)
{
    return splitCaption(infoOf(*infoOf(field).caption).startText).name;
}

std::string systemName(std::string_view code)
{
    if (code.size() == 1 && code[0] >= '1' && code[0] <= '3')
        return std::string(kSystemNames[code[0] - '1']);
    return std::string(code);
}

std::optional<UnitSystem> systemNamed(std::string_view name)
{
    for (std::size_t i = 0; i < kSystemNames.size(); ++i) {
        if (sameName(trimmed(name), kSystemNames[i]))
            return static_cast<UnitSystem>(i + 1);
    }
    return std::nullopt;
}

struct Failed {
    DesignFileFailure failure;
};

[[noreturn]] void fail(int line, std::string expected)
{
    throw Failed{{line, std::move(expected)}};
}

std::string quotedForMessage(std::string_view text)
{
    constexpr std::size_t kLongest = 40;
    return concat("\"", text.substr(0, kLongest), text.size() > kLongest ? "…" : "", "\"");
}

// Text, not a binary file: no zero byte, and well-formed UTF-8.
void checkText(std::string_view bytes)
{
    int line = 1;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == 0)
            fail(line, "text, but the file holds a zero byte: it is not a design file");
        // Lines as the reader counts them: CRLF, LF or a lone CR.
        if (byte == '\n' || (byte == '\r' && !(i + 1 < bytes.size() && bytes[i + 1] == '\n')))
            ++line;
        int more = 0;
        if (byte >= 0x80) {
            more = byte >= 0xC2 && byte <= 0xDF   ? 1
                   : byte >= 0xE0 && byte <= 0xEF ? 2
                   : byte >= 0xF0 && byte <= 0xF4 ? 3
                                                  : 0;
            bool good = more > 0;
            for (int k = 1; good && k <= more; ++k)
                good = i + k < bytes.size() && (static_cast<unsigned char>(bytes[i + k]) & 0xC0) == 0x80;
            if (!good)
                fail(line, "text in UTF-8, but the file holds bytes that are no text: it is not a design file");
        }
        i += 1 + more;
    }
}

bool blank(const CsvRecord& record)
{
    return std::all_of(record.cells.begin(), record.cells.end(), [](const std::string& c) { return c.empty(); });
}

// The figure in the user's marks: the file's decimal separator becomes the
// user's and its grouping separator the user's; nothing else changes.
std::string inUserMarks(std::string_view text, const NumberFormat& file, const NumberFormat& user)
{
    if (file.decimalSeparator == user.decimalSeparator)
        return std::string(text);
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (text.substr(i).starts_with(file.decimalSeparator)) {
            out += user.decimalSeparator;
            i += file.decimalSeparator.size();
        } else if (text.substr(i).starts_with(file.groupSeparator)) {
            out += user.groupSeparator;
            i += file.groupSeparator.size();
        } else {
            out += text[i++];
        }
    }
    return out;
}

DesignFile read(std::string_view bytes, const NumberFormat& user)
{
    if (bytes.size() > kLargestDesignFile)
        fail(1, "a design file of at most 1 MB, but the file is larger");
    checkText(bytes);
    if (bytes.starts_with(kBom))
        bytes.remove_prefix(kBom.size());
    if (trimmed(bytes).find_first_not_of("\r\n") == std::string_view::npos)
        fail(1, "a Tivora design, but the file is empty");

    // The first line names the program; the character after its name is
    // the file's separator, and the separator its decimal mark.
    const bool quoted = bytes.starts_with('"');
    const std::string_view afterQuote = bytes.substr(quoted ? 1 : 0);
    const std::size_t after = (quoted ? 2 : 0) + kProgram.size();
    if (!afterQuote.starts_with(kProgram) || (quoted && bytes.substr(1 + kProgram.size(), 1) != "\"") ||
        bytes.size() <= after || (bytes[after] != ',' && bytes[after] != ';'))
        fail(1, "\"Tivora design\" and a format version: this is not a Tivora design file");
    const char separator = bytes[after];
    const NumberFormat fileFormat = separator == ';' ? NumberFormat{",", "."} : NumberFormat{".", ","};

    const auto read = readCsv(bytes, separator);
    if (const auto* cut = std::get_if<CsvCutShort>(&read))
        fail(cut->line, "a closing quote for the cell that begins here: the file is cut short");
    const std::vector<CsvRecord>& rows = std::get<std::vector<CsvRecord>>(read);
    const std::string version(trimmed(rows.front().at(1)));
    if (version.empty() || version.find_first_not_of("0123456789") != std::string::npos || version.size() > 6)
        fail(1, concat("a format version after \"Tivora design\", found ", quotedForMessage(rows.front().at(1))));
    if (std::stoi(version) > kDesignFileVersion)
        fail(1, concat("format version ", std::to_string(kDesignFileVersion), ", but the file is of version ", version,
                       " from a newer Tivora"));

    std::map<std::string, const CsvRecord*> found;  // by a key of the row's kind
    DesignFile design{DesignSheet(user), {}, false};
    const auto take = [&found](const std::string& key, const CsvRecord& record, std::string_view what) {
        if (const auto [it, added] = found.emplace(key, &record); !added)
            fail(record.line,
                 concat("one row ", what, ", but line ", std::to_string(it->second->line), " has one already"));
    };
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const CsvRecord& record = rows[r];
        if (blank(record))
            continue;
        const std::string_view key = trimmed(record.at(0));
        if (key == kPerformanceRows)
            break;
        if (key == kSettingRow) {
            design.settings.emplace_back(record.at(1), record.at(2));
            continue;
        }
        if (key == kUnsolvedNote) {
            design.unsolved = true;
            continue;
        }
        bool known = false;
        for (Field field : kQuantitiesInReadingOrder) {
            if (sameName(key, quantityName(field))) {
                take(std::string(nameOf(field)), record, concat("for ", quantityName(field)));
                known = true;
            }
        }
        for (std::string_view name : {kStationRow, kUnitSystemRow, kFiguresInRow, kAirfoilRow}) {
            if (sameName(key, name)) {
                take(std::string(name), record, concat("\"", name, "\""));
                known = true;
            }
        }
        for (int k = 1; !known && k <= kStationCount; ++k) {
            if (key == std::to_string(k)) {
                take(concat("station ", std::to_string(k)), record, concat("for station ", std::to_string(k)));
                known = true;
            }
        }
        // Anything else is the user's own: a note typed in a spreadsheet.
    }
    const int end = rows.back().line + 1;
    const auto row = [&](const std::string& key, const std::string& what) -> const CsvRecord& {
        const auto it = found.find(key);
        if (it == found.end())
            fail(end, concat("a row ", what, ", but the file ends without one"));
        return *it->second;
    };
    DesignSheet& sheet = design.sheet;
    const auto figure = [&](Field field, const CsvRecord& record, std::size_t column, const std::string& what) {
        const std::string& text = record.at(column);
        if (!text.empty()) {
            const ReadResult read = parseNumber(text, fileFormat);
            if (read.status != ReadStatus::Ok)
                fail(record.line, concat("a number for ", what, " with \"", fileFormat.decimalSeparator,
                                         "\" as the decimal mark, found ", quotedForMessage(text)));
        }
        // As Tivora writes it, so that what opens saves as itself.
        sheet.setText(field, spreadsheetFigure(inUserMarks(text, fileFormat, user)));
    };
    for (Field field : kQuantitiesInReadingOrder) {
        const CsvRecord& record = row(std::string(nameOf(field)), concat("for ", quantityName(field)));
        figure(field, record, 1, quantityName(field));
        if (infoOf(*infoOf(field).caption).changes) {
            const std::string& unit = record.at(2);
            if (unit.find_first_of("()") != std::string::npos)
                fail(record.line, concat("a unit without parentheses for ", quantityName(field), ", found ",
                                         quotedForMessage(unit)));
            sheet.setText(*infoOf(field).caption, joinCaption(std::string(trimmed(record.at(0))), unit));
        }
    }
    const CsvRecord& header = row(std::string(kStationRow), "\"Station\" heading the station table");
    if (header.at(1).empty() || header.at(2).empty())
        fail(header.line, "the captions of the radius and chord columns after \"Station\"");
    sheet.setText(Caption::StationRadius, header.at(1));
    sheet.setText(Caption::StationChord, header.at(2));
    for (int k = 1; k <= kStationCount; ++k) {
        const std::string what = concat("station ", std::to_string(k));
        const CsvRecord& record = row(what, "for " + what);
        figure(stationRadius(k), record, 1, "the radius of " + what);
        figure(stationChord(k), record, 2, "the chord of " + what);
        figure(stationTwist(k), record, 3, "the twist of " + what);
    }
    const CsvRecord& system = row(std::string(kUnitSystemRow), "\"Unit system\"");
    const auto selected = systemNamed(system.at(1));
    if (!selected)
        fail(system.line, concat("SI, Metric or Imperial as the unit system, found ", quotedForMessage(system.at(1))));
    sheet.setSelectedSystem(*selected);
    auto figuresIn = *selected;
    if (const auto it = found.find(std::string(kFiguresInRow)); it != found.end()) {
        const auto named = systemNamed(it->second->at(1));
        if (!named)
            fail(it->second->line,
                 concat("SI, Metric or Imperial for the figures, found ", quotedForMessage(it->second->at(1))));
        figuresIn = *named;
    }
    sheet.setText(Field::Units, std::to_string(static_cast<int>(figuresIn)));
    const CsvRecord& airfoil = row(std::string(kAirfoilRow), "\"Airfoil\"");
    sheet.setText(Caption::Airfoil, std::string(kAirfoilPrefix) + airfoil.at(1));
    return design;
}

}  // namespace

std::string writeDesignFile(const DesignSheet& sheet, const DesignSettings& settings, bool unsolved)
{
    CsvWriter file(sheet.numberFormat());
    file.row({kProgram, std::to_string(kDesignFileVersion)});
    if (unsolved) {
        file.row({kUnsolvedNote});
        file.row({});
    }
    for (Field field : kQuantitiesInReadingOrder) {
        const CaptionParts caption = splitCaption(captionText(sheet, *infoOf(field).caption));
        file.row({caption.name, spreadsheetFigure(sheet.text(field)), caption.unit});
    }
    file.row({});
    // The two captions that change come back from here exactly as they are.
    file.row({kStationRow, captionText(sheet, Caption::StationRadius), captionText(sheet, Caption::StationChord),
              trimmed(captionText(sheet, Caption::StationTwist))});
    for (int k = 1; k <= kStationCount; ++k) {
        file.row({std::to_string(k), spreadsheetFigure(sheet.text(stationRadius(k))),
                  spreadsheetFigure(sheet.text(stationChord(k))), spreadsheetFigure(sheet.text(stationTwist(k)))});
    }
    file.row({});
    const std::string selected(kSystemNames[static_cast<int>(sheet.selectedSystem()) - 1]);
    file.row({kUnitSystemRow, selected});
    if (const std::string figuresIn = systemName(sheet.text(Field::Units)); figuresIn != selected)
        file.row({kFiguresInRow, figuresIn});
    std::string_view airfoil = sheet.text(Caption::Airfoil);
    if (airfoil.starts_with(kAirfoilPrefix))
        airfoil.remove_prefix(kAirfoilPrefix.size());
    file.row({kAirfoilRow, airfoil});
    for (const auto& [name, value] : settings)
        file.row({kSettingRow, name, value});
    return std::string(kBom) + file.text();
}

std::variant<DesignFile, DesignFileFailure> readDesignFile(std::string_view bytes, const NumberFormat& format)
{
    try {
        return read(bytes, format);
    } catch (const Failed& failed) {
        return failed.failure;
    }
}

}  // namespace tivora
