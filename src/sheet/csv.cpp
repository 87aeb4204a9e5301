#include "csv.h"

namespace tivora {

namespace {

constexpr std::string_view kMinusSign = "\u2212";

// CRLF, LF or a lone CR, each one line end.
bool endsLine(std::string_view text, std::size_t i)
{
    return text[i] == '\n' || (text[i] == '\r' && !(i + 1 < text.size() && text[i + 1] == '\n'));
}

}  // namespace

char csvSeparator(const NumberFormat& format)
{
    return format.decimalSeparator == "," ? ';' : ',';
}

void CsvWriter::cell(std::string_view text)
{
    if (text.find_first_of(std::string{separator_, '"', '\n', '\r'}) == std::string_view::npos) {
        text_ += text;
        return;
    }
    text_ += '"';
    for (char c : text) {
        if (c == '"')
            text_ += '"';
        text_ += c;
    }
    text_ += '"';
}

void CsvWriter::row(std::initializer_list<std::string_view> cells)
{
    bool first = true;
    for (std::string_view text : cells) {
        if (!first)
            text_ += separator_;
        cell(text);
        first = false;
    }
    text_ += "\r\n";
}

void CsvWriter::row(const std::vector<std::string>& cells)
{
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            text_ += separator_;
        cell(cells[i]);
    }
    text_ += "\r\n";
}

std::string spreadsheetFigure(std::string_view figure)
{
    std::string out;
    for (std::size_t at = 0; at < figure.size();) {
        if (figure.substr(at).starts_with(kMinusSign)) {
            out += '-';
            at += kMinusSign.size();
        } else {
            out += figure[at++];
        }
    }
    return out;
}

const std::string& CsvRecord::at(std::size_t i) const
{
    static const std::string none;
    return i < cells.size() ? cells[i] : none;
}

std::variant<std::vector<CsvRecord>, CsvCutShort> readCsv(std::string_view text, char separator)
{
    std::vector<CsvRecord> out;
    int line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        CsvRecord record{line, {}};
        std::string current;
        for (bool ended = false; !ended;) {
            if (i < text.size() && text[i] == '"') {
                const int opened = line;
                for (++i;; ++i) {
                    if (i >= text.size())
                        return CsvCutShort{opened};
                    if (text[i] == '"') {
                        if (i + 1 < text.size() && text[i + 1] == '"') {
                            current += '"';
                            ++i;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    // A note of several lines: what follows is reported on
                    // the line an editor shows it on.
                    if (endsLine(text, i))
                        ++line;
                    current += text[i];
                }
            }
            while (i < text.size() && text[i] != separator && text[i] != '\n' && text[i] != '\r')
                current += text[i++];
            record.cells.push_back(std::move(current));
            current.clear();
            if (i >= text.size()) {
                ended = true;
            } else if (text[i] == separator) {
                ++i;
            } else {
                i += text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
                ++line;
                ended = true;
            }
        }
        out.push_back(std::move(record));
    }
    return out;
}

}  // namespace tivora
