#include "analyse_command.h"

#include "file_text.h"

#include "analyse_words.h"
#include "command_line/reference.h"
#include "report.h"
#include "site_wind_report.h"
#include "solve/solve.h"
#include "text_columns.h"

#include <cctype>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <sstream>

namespace tivora::performance {

namespace {

struct Failed {
    std::string message;
};

// The text of a file the user named: a regular file within the bound, or
// one line saying why not.
std::string readFile(const std::string& path)
{
    Result<std::string> text = readTextFile(path);
    if (!text)
        throw Failed{path + ": " + text.problem().message};
    return std::move(text.value());
}

// Each option given once, as its text.
std::map<InputId, std::string> optionsOf(const std::vector<std::string>& arguments, bool& help)
{
    auto parsed = command_line::parseModeArguments(command_line::Mode::Analyse, arguments);
    if (const auto* refusal = std::get_if<command_line::Refusal>(&parsed))
        throw Failed{refusal->message};
    std::map<InputId, std::string> given;
    for (const auto& [option, value] : std::get<command_line::ParsedLine>(parsed).options) {
        if (option == "help")
            help = true;
        else
            given[entryByOption(option)->id] = value;
    }
    return given;
}

// The option of a choice that a name picks.
int choiceOf(const InputEntry& entry, const std::string& text)
{
    for (std::size_t i = 0; i < entry.choices.size(); ++i) {
        if (entry.choices[i].key == text)
            return static_cast<int>(i);
    }
    throw Failed{"--" + std::string(entry.option) + ": expected one of " + choiceNames(entry) + ", found \"" + text +
                 "\""};
}

double numberOf(const InputEntry& entry, const std::string& text)
{
    double value = 0;
    if (!readDouble(text, value) || !std::isfinite(value))
        throw Failed{"--" + std::string(entry.option) + ": expected a number, found \"" + text + "\""};
    return value;
}

// The decimals written after a full stop, for a design file's sake.
int decimalsOf(const std::string& text)
{
    const auto point = text.find('.');
    return point == std::string::npos || text.find_first_of("eE") != std::string::npos
               ? -1
               : static_cast<int>(text.size() - point - 1);
}

// The design the options describe, solved as Solve! solves it.
DesignSheet solvedDesign(const std::map<InputId, std::string>& given)
{
    DesignSheet sheet;
    for (const auto& [id, text] : given) {
        const InputEntry& entry = entryOf(id);
        if (entry.field) {
            numberOf(entry, text);
            sheet.setText(*entry.field, text);
        }
    }
    if (const std::optional<Failure> failure = solve(sheet))
        throw Failed{unsolvableWords(*failure, sheet)};
    return sheet;
}

AnalysisInputs inputsOf(const std::map<InputId, std::string>& given)
{
    AnalysisInputs inputs;
    for (const auto& [id, text] : given) {
        const InputEntry& entry = entryOf(id);
        if (entry.kind == InputKind::Number)
            inputs.setTyped(id, numberOf(entry, text), decimalsOf(text));
        else if (entry.kind == InputKind::File)
            inputs.setFile(id, {text, readFile(text)});
        else if (entry.kind == InputKind::Choice)
            inputs.setChoice(id, choiceOf(entry, text));
    }
    return inputs;
}

// "Air density" is "air density"; a symbol ("Cp") stays as it is.
std::string lowerFirst(std::string_view text)
{
    std::string out = ascii(text);
    const std::string_view first = std::string_view(out).substr(0, out.find(' '));
    if (first != "Cp" && first != "Cl" && first != "Cd" && !out.empty())
        out[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(out[0])));
    return out;
}

std::string number(double value, int decimals)
{
    return figureText(value, decimals, NumberFormat{});
}

void writeCurve(std::ostream& csv, const std::vector<PowerCurveRow>& rows)
{
    std::string header;
    for (const ColumnEntry& column : powerCurveColumns()) {
        const std::string_view unit = asciiUnitOf(column.quantity);
        if (!header.empty())
            header += ',';
        header += lowerFirst(column.caption);
        if (!unit.empty())
            header.append(" (").append(unit).append(")");
    }
    csv << header << '\n';
    for (const PowerCurveRow& row : rows) {
        std::string line;
        for (const ColumnEntry& column : powerCurveColumns()) {
            line += line.empty() ? "" : ",";
            const std::optional<std::string_view> words = columnWords(column.id, row);
            line += words ? std::string(*words) : number(columnValue(column.id, row), column.decimals);
        }
        csv << line << '\n';
    }
}

void writeAnalysis(std::ostream& csv, const Analysis& a)
{
    csv << "# Design\nquantity,value,unit\n";
    for (const Figure& f : analysisFigures(a, FigureScope::Every))
        csv << lowerFirst(f.caption) << ',' << number(f.value, f.scriptDecimals) << ',' << asciiUnitOf(f.quantity)
            << '\n';

    csv << "\n# Stations at the design tip speed ratio and wind speed\n"
           "station,radius (m),inflow angle (degrees),angle of attack (degrees),Cl,Cd,a,a',tip and hub loss F,"
           "normal load (N/m),tangential load (N/m)\n";
    for (std::size_t k = 0; k < a.design.stations.size(); ++k) {
        const StationResult& s = a.design.stations[k];
        csv << k + 1 << ',' << number(s.radius, 3) << ',' << number(s.phiDegrees, 2) << ',' << number(s.alphaDegrees, 2)
            << ',' << number(s.cl, 4) << ',' << number(s.cd, 4) << ',' << number(s.axialInduction, 4) << ','
            << number(s.tangentialInduction, 4) << ',' << number(s.tipHubLoss, 4) << ',' << number(s.normalLoad, 2)
            << ',' << number(s.tangentialLoad, 2) << '\n';
    }

    csv << "\n# Reynolds number at the design tip speed ratio and wind speed, air viscosity "
        << figureText(a.viscosityPaS * 1e6, 3, {}) << "e-6 Pa.s\nstation,radius (m),chord (m),Reynolds number\n";
    for (std::size_t k = 0; k < a.stationReynolds.size(); ++k)
        csv << k + 1 << ',' << number(a.design.stations[k].radius, 3) << ',' << number(a.stationChordsM[k], 3) << ','
            << number(a.stationReynolds[k], 0) << '\n';

    csv << "\n# Power coefficient against tip speed ratio\ntip speed ratio,Cp,Ct,Cq\n";
    for (const CpPoint& p : a.cp.points)
        csv << number(p.tsr, 2) << ',' << number(p.cp, 4) << ',' << number(p.ct, 4) << ',' << number(p.cq, 4) << '\n';

    csv << "\n# Power curve held at tip speed ratio " << number(a.designTsr, -1) << ", rated "
        << number(a.held.ratedWatts, 1) << " W\n";
    writeCurve(csv, a.heldCurve);
    csv << "\n# Power curve on the alternator\n";
    writeCurve(csv, a.alternatorCurve);

    // The wind at the hub, to two decimals.
    const auto rounded = [](double v) { return number(std::round(v * 100) / 100, -1); };
    csv << "\n# Annual energy at a mean wind speed of " << rounded(a.siteWind.hubMeanMps()) << " m/s, Weibull shape "
        << rounded(a.siteWind.atHub.shape)
        << "\ncurve,annual energy (kWh),capacity factor,capacity factor against,standby draw (kWh)\n";
    for (const EnergyRow& row : energyRows(a, FigureScope::Every))
        csv << lowerFirst(row.caption) << ',' << number(row.energy.energy.kilowattHours, 1) << ','
            << number(row.energy.capacityFactor, 4) << ',' << basisWords(row.energy.basis) << ' '
            << number(row.energy.basisWatts, 1) << " W," << number(row.energy.energy.standbyKilowattHours, 1) << '\n';
    if (a.measured) {
        csv << "\n# Measured power curve on the bins, at the site's air density\nwind speed (m/s),power (W)\n";
        for (const PowerCurvePoint& p : a.measured->binned)
            csv << number(p.windSpeed, 1) << ',' << number(p.power, 1) << '\n';
    }
    writeSiteWind(csv, a);
}

}  // namespace

int runAnalyseCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    try {
        bool help = false;
        const std::map<InputId, std::string> given = optionsOf(arguments, help);
        if (help) {
            command_line::writeHelp(out, command_line::Mode::Analyse);
            return out.flush() ? command_line::kDone : command_line::kNotWritten;
        }
        const DesignSheet sheet = solvedDesign(given);
        const AnalysisInputs inputs = inputsOf(given);
        const Result<Analysis> analysis = analyse(sheet, inputs);
        if (!analysis)
            throw Failed{problemWords(analysis.problem(), inputs)};
        for (const Warning& warning : analysis->warnings)
            err << "tivora --analyse: warning: " << warningWords(warning, *analysis, inputs) << '\n';
        std::ostringstream csv;
        writeAnalysis(csv, *analysis);
        out << csv.str();
        out.flush();
        if (!out) {
            err << "tivora --analyse: the output could not be written\n";
            return command_line::kNotWritten;
        }
        return command_line::kDone;
    } catch (const Failed& failed) {
        err << "tivora --analyse: " << failed.message << '\n';
        return command_line::kBadUsage;
    }
}

}  // namespace tivora::performance
