#include "design_sheet.h"

#include <utility>

namespace tivora {

namespace {

// The start texts are written with a full stop; where the user writes
// decimals with a comma and groups digits with a full stop, "0.4" would read
// as 4. Writing them in the user's format keeps the first solve right.
std::string inUserFormat(std::string text, const NumberFormat& format)
{
    if (const auto dot = text.find('.'); dot != std::string::npos)
        text.replace(dot, 1, format.decimalSeparator);
    return text;
}

}  // namespace

StepFailure::StepFailure(Failure failure)
    : std::runtime_error("step failed at " + std::string(nameOf(failure.field))), failure_(std::move(failure))
{
}

DesignSheet::DesignSheet(NumberFormat format) : format_(std::move(format))
{
    for (Field field : kAllFields)
        texts_[std::string(nameOf(field))] = inUserFormat(std::string(infoOf(field).startText), format_);
    for (Caption caption : kChangingCaptions)
        texts_[std::string(nameOf(caption))] = infoOf(caption).startText;
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
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (Field field : kAllFields)
            all.emplace_back(nameOf(field));
        return all;
    }();
    return names;
}

const std::vector<std::string>& DesignSheet::captionNames()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> changing;
        for (Caption caption : kChangingCaptions)
            changing.emplace_back(nameOf(caption));
        return changing;
    }();
    return names;
}

std::string_view captionText(const DesignSheet& sheet, Caption caption)
{
    return infoOf(caption).changes ? std::string_view(sheet.text(caption)) : infoOf(caption).startText;
}

CaptionParts splitCaption(std::string_view caption)
{
    const auto trimmed = [](std::string_view text) {
        const auto first = text.find_first_not_of(" \t");
        return first == std::string_view::npos ? std::string_view()
                                               : text.substr(first, text.find_last_not_of(" \t") - first + 1);
    };
    caption = trimmed(caption);
    const auto open = caption.rfind('(');
    if (caption.empty() || caption.back() != ')' || open == std::string_view::npos ||
        caption.substr(open + 1, caption.size() - open - 2).find(')') != std::string_view::npos)
        return {std::string(caption), {}};
    return {std::string(trimmed(caption.substr(0, open))),
            std::string(caption.substr(open + 1, caption.size() - open - 2))};
}

void markAirfoilUserDefined(DesignSheet& sheet)
{
    writeText(sheet, Caption::Airfoil, "Airfoil: user defined");
}

const std::string& readText(const DesignSheet& sheet, Field field)
{
    return sheet.text(field);
}

void writeText(DesignSheet& sheet, Field field, std::string text)
{
    sheet.setText(field, std::move(text));
}

void writeText(DesignSheet& sheet, Caption caption, std::string text)
{
    sheet.setText(caption, std::move(text));
}

double readNumber(const DesignSheet& sheet, Field field)
{
    const ReadResult read = parseNumber(sheet.text(field), sheet.numberFormat());
    switch (read.status) {
    case ReadStatus::Ok:
        return read.value;
    case ReadStatus::Overflow:
        throw StepFailure({FailureKind::TooLargeToRead, field});
    case ReadStatus::NotANumber:
        break;
    }
    throw StepFailure({FailureKind::NotANumber, field});
}

void writeNumber(DesignSheet& sheet, Field field, double value)
{
    sheet.setText(field, formatNumber(value, sheet.numberFormat()));
}

}  // namespace tivora
