#include "design_sheet.h"

#include <utility>

namespace tivora {

namespace {

struct StartText {
    const char* name;
    const char* text;
};

// Fields first, then captions. The three outputs start with what a solve of
// the start inputs in SI writes, so the window looks solved from the start.
constexpr StartText kStartFields[] = {
    {"windspeed", "15"}, {"radius", "1"},     {"efficiency", "0.4"}, {"blades", "3"},    {"tsr", "7"},   {"cl", "0.85"},
    {"alpha", "6"},      {"Text9", "2587.1"}, {"Text6", "105"},      {"Text7", "24.64"}, {"units", "1"},
};

constexpr StartText kStartCaptions[] = {
    {"Label5", "Blade Radius (m)"}, {"Label6", "Wind Speed (m/s)"}, {"Label10", "Generator speed (rad/sec)"},
    {"Label13", "Chord (m)"},       {"Label14", "Radius (m)"},      {"Label24", "Airfoil: NACA2412"},
};

// The start texts are written with a full stop; where the user writes
// decimals with a comma and groups digits with a full stop, "0.4" would read
// as 4. Writing them in the user's format keeps the first solve right.
std::string inUserFormat(std::string text, const NumberFormat& format)
{
    if (const auto dot = text.find('.'); dot != std::string::npos)
        text.replace(dot, 1, format.decimalSeparator);
    return text;
}

std::vector<std::string> makeFieldNames()
{
    std::vector<std::string> names;
    for (const auto& field : kStartFields)
        names.emplace_back(field.name);
    for (int station = 1; station <= kStationCount; ++station) {
        names.push_back(stationRadiusField(station));
        names.push_back(stationChordField(station));
        names.push_back(stationTwistField(station));
    }
    return names;
}

}  // namespace

StepFailure::StepFailure(Failure failure)
    : std::runtime_error("step failed at " + failure.field), failure_(std::move(failure))
{
}

DesignSheet::DesignSheet(NumberFormat format) : format_(std::move(format))
{
    for (const auto& name : fieldNames())
        texts_[name] = "";
    for (const auto& field : kStartFields)
        texts_[field.name] = inUserFormat(field.text, format_);
    for (const auto& caption : kStartCaptions)
        texts_[caption.name] = caption.text;
}

const std::string& DesignSheet::text(std::string_view name) const
{
    const auto it = texts_.find(name);
    if (it == texts_.end())
        throw std::out_of_range("no field or caption named " + std::string(name));
    return it->second;
}

void DesignSheet::setText(std::string_view name, std::string text)
{
    const auto it = texts_.find(name);
    if (it == texts_.end())
        throw std::out_of_range("no field or caption named " + std::string(name));
    it->second = std::move(text);
}

const std::vector<std::string>& DesignSheet::fieldNames()
{
    static const std::vector<std::string> names = makeFieldNames();
    return names;
}

const std::vector<std::string>& DesignSheet::captionNames()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> captions;
        for (const auto& caption : kStartCaptions)
            captions.emplace_back(caption.name);
        return captions;
    }();
    return names;
}

std::string stationRadiusField(int station)
{
    return "Text" + std::to_string(28 + station);
}

// Text9 sits between the first two chord fields but holds the power.
std::string stationChordField(int station)
{
    return station == 1 ? "Text8" : "Text" + std::to_string(8 + station);
}

std::string stationTwistField(int station)
{
    return "Text" + std::to_string(18 + station);
}

const std::string& readText(const DesignSheet& sheet, std::string_view name)
{
    return sheet.text(name);
}

void writeText(DesignSheet& sheet, std::string_view name, std::string text)
{
    sheet.setText(name, std::move(text));
}

double readNumber(const DesignSheet& sheet, std::string_view field)
{
    const ReadResult read = parseNumber(sheet.text(field), sheet.numberFormat());
    switch (read.status) {
    case ReadStatus::Ok:
        return read.value;
    case ReadStatus::Overflow:
        throw StepFailure({FailureKind::TooLargeToRead, std::string(field)});
    case ReadStatus::NotANumber:
        break;
    }
    throw StepFailure({FailureKind::NotANumber, std::string(field)});
}

void writeNumber(DesignSheet& sheet, std::string_view field, double value)
{
    sheet.setText(field, formatNumber(value, sheet.numberFormat()));
}

}  // namespace tivora
