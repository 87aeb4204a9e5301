#include "analyse_words.h"

#include "physics.h"
#include "report.h"
#include "site_wind_report.h"
#include "solve/solve.h"

#include <cmath>
#include <vector>

namespace tivora::performance {

namespace {

std::string number(double value)
{
    return formatNumber(value, NumberFormat{});
}

const InputEntry* entryOfField(Field field)
{
    for (const InputEntry& entry : inputTable()) {
        if (entry.field == field)
            return &entry;
    }
    return nullptr;
}

std::string optionName(const InputEntry& entry)
{
    return entry.option.empty() ? std::string(entry.caption) : "--" + std::string(entry.option);
}

std::string withUnit(double value, std::string_view unit)
{
    std::string text = number(value);
    if (!unit.empty())
        text.append(" ").append(unit);
    return text;
}

std::string listed(const std::vector<std::string>& names)
{
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i)
        out += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return out;
}

const char* failureName(FailureKind kind)
{
    switch (kind) {
    case FailureKind::NotANumber:
        return "not a number";
    case FailureKind::TooLargeToRead:
        return "too large to read";
    case FailureKind::DivisionByZero:
        return "division by zero";
    case FailureKind::Overflow:
        return "a figure too large";
    }
    return "";
}

}  // namespace

std::string ascii(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string_view rest = text.substr(i);
        if (rest.starts_with("³")) {
            out += '3';
            i += std::string_view("³").size() - 1;
        } else if (rest.starts_with("·")) {
            out += '.';
            i += std::string_view("·").size() - 1;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string defaultWords(const InputEntry& entry)
{
    if (entry.field)
        return std::string(infoOf(*entry.field).startText);
    if (entry.kind == InputKind::File)
        return "none";
    if (entry.kind == InputKind::Choice && !entry.choices.empty())
        return std::string(entry.choices[static_cast<std::size_t>(entry.fallback)].key);
    if (entry.derived != DerivedDefault::None || !entry.derivedWords.empty())
        return std::string(entry.derivedWords);
    return number(entry.fallback);
}

std::string choiceNames(const InputEntry& entry)
{
    std::string names;
    for (const ChoiceOption& option : entry.choices)
        names += (names.empty() ? "" : ", ") + std::string(option.key);
    return names;
}

std::string boundsWords(const Bounds& b, std::string_view unit)
{
    const bool low = std::isfinite(b.low), high = std::isfinite(b.high);
    if (low && high && b.lowIncluded && b.highIncluded)
        return "from " + number(b.low) + " to " + withUnit(b.high, unit);
    std::vector<std::string> parts;
    if (low)
        parts.push_back(b.lowIncluded ? withUnit(b.low, unit) + " or more" : "above " + withUnit(b.low, unit));
    if (high)
        parts.push_back(b.highIncluded ? "at most " + withUnit(b.high, unit) : "below " + withUnit(b.high, unit));
    return listed(parts);
}

std::string unsolvableWords(const Failure& failure, const DesignSheet& sheet)
{
    std::vector<Field> behind = failure.inputs.empty() ? std::vector<Field>{failure.field} : failure.inputs;
    if (behind.size() > 1) {
        std::vector<Field> alone;
        for (Field field : behind) {
            DesignSheet restored = sheet;
            restored.setText(field, std::string(infoOf(field).startText));
            if (!solve(restored))
                alone.push_back(field);
        }
        if (alone.size() == 1)
            behind = alone;
    }
    std::vector<std::string> options;
    for (Field field : behind) {
        const InputEntry* entry = entryOfField(field);
        options.push_back(entry ? optionName(*entry) : std::string(nameOf(field)));
    }
    return listed(options) + ": the design cannot be solved (" + solveFailureWords(failure, sheet) + ")";
}

std::string solveFailureWords(const Failure& failure, const DesignSheet& sheet)
{
    std::string computing;
    if (const auto caption = infoOf(failure.field).caption; caption && !infoOf(failure.field).typedByUser)
        computing = " while computing \"" + std::string(captionText(sheet, *caption)) + "\"";
    return failureName(failure.kind) + computing;
}

std::string problemWords(const Problem& problem, const AnalysisInputs& inputs)
{
    if (problem.input) {
        const InputEntry& entry = entryOf(*problem.input);
        const std::string unit = ascii(asciiUnitOf(entry.quantity));
        const double value = inputs.typed(entry.id).value_or(entry.fallback);
        switch (problem.kind) {
        case ProblemKind::InputOutside:
            return optionName(entry) + ": " + withUnit(value, unit) + " cannot be analysed; it must be " +
                   boundsWords(problem.bounds, unit);
        case ProblemKind::AboveBetz:
            return optionName(entry) + ": the analysis gives a Cp of " + figureText(problem.figures.at(0), 2, {}) +
                   " at tip speed ratio " + figureText(problem.figures.at(1), 2, {}) +
                   ", above the Betz limit 16/27 = 0.593: the airfoil's lift and drag there cannot be trusted";
        case ProblemKind::InputNotBelow:
            return optionName(entry) + ": " + withUnit(value, unit) + " must be below " +
                   optionName(entryOf(*problem.other));
        default:
            if (entry.kind == InputKind::File)
                return inputs.file(entry.id).name + ": " + problem.message;
            return optionName(entry) + ": " + problem.message;
        }
    }
    if (problem.field) {
        const InputEntry* entry = entryOfField(*problem.field);
        return (entry ? optionName(*entry) : std::string(nameOf(*problem.field))) + ": holds no number";
    }
    return problem.message;
}

std::string warningWords(const Warning& warning, const Analysis& analysis, const AnalysisInputs& inputs)
{
    switch (warning.kind) {
    case WarningKind::EfficiencyAboveBetz:
        return "--efficiency " + number(warning.figure) +
               " is above the Betz limit, 16/27 = " + figureText(kBetzLimit, 3, NumberFormat{}) +
               ": no rotor takes more of the wind's power, so the generator power of " +
               figureText(analysis.generatorWatts, 1, NumberFormat{}) + " W is more than any rotor gives";
    case WarningKind::AlphaPastStall:
        return "--alpha " + number(analysis.designAlphaDegrees) + " degrees is past the airfoil's stall at " +
               number(warning.figure) + " degrees: the blade is drawn for an airfoil that has stalled";
    case WarningKind::ElementsUnsolved:
        return number(warning.figure) +
               " blade elements found no inflow angle at some tip speed ratios; they are counted as carrying no load";
    case WarningKind::PolarReynoldsAway:
        return inputs.file(InputId::Polar).name + " was computed at a Reynolds number of " +
               figureText(warning.figure, 0, {}) + ", more than a factor of two from the blade's " +
               figureText(analysis.reynoldsAtThreeQuarters, 0, {}) +
               " at three quarters of its radius: its lift and drag may not be the blade's";
    case WarningKind::MostlyLost:
        return "on the alternator, from " + number(warning.figure) +
               " m/s the battery gets less than 40 % of the rotor's power within the current rating of " +
               figureText(analysis.limits.currentRatingAmps, 1, {}) + " A: the winding and rectifier take the rest";
    case WarningKind::HubBelowTip:
        return "--hub-height " + number(analysis.siteWind.hubHeightM) + " m is not above the blade's tip radius of " +
               figureText(warning.figure, 2, NumberFormat{}) + " m: the blade would strike the ground";
    case WarningKind::SeriesLeftOut:
        return inputs.file(InputId::WindSeries).name + ": " + leftOutWords(analysis.siteWind.series->series);
    case WarningKind::NotSensible: {
        const InputEntry& entry = entryOf(*warning.input);
        const std::string unit = ascii(asciiUnitOf(entry.quantity));
        std::string words = optionName(entry) + " " + withUnit(*inputs.typed(entry.id), unit) +
                            " makes no physical sense: expected " + boundsWords(entry.sensible, unit);
        if (entry.below)
            words += ", below " + optionName(entryOf(*entry.below));
        return words;
    }
    }
    return {};
}

}  // namespace tivora::performance
