#include "analyse_command.h"

#include "power_curve.h"
#include "site.h"
#include "solve/solve.h"
#include "text_columns.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>

namespace tivora::performance {

namespace {

struct Option {
    const char* name;
    const char* unit;
    const char* defaultText;  // empty: none unless given
    const char* meaning;
    std::optional<Field> field = std::nullopt;  // a design input of the sheet
};

// Every option, in the order --help lists them.
const Option kOptions[] = {
    {"blades", "", "3", "number of blades", Field::Blades},
    {"tsr", "", "7", "design tip speed ratio", Field::Tsr},
    {"efficiency", "", "0.4", "blade efficiency guessed for the design power", Field::Efficiency},
    {"radius", "m", "1", "blade radius", Field::Radius},
    {"wind-speed", "m/s", "15", "design wind speed", Field::WindSpeed},
    {"cl", "", "0.85", "lift coefficient at the design angle of attack", Field::Cl},
    {"alpha", "degrees", "6", "design angle of attack", Field::Alpha},
    {"cl-max", "", "1.2", "maximum lift coefficient of the typed airfoil"},
    {"glide-ratio", "", "50", "lift over drag of the typed airfoil"},
    {"polar", "file", "", "airfoil polar (XFOIL output or alpha, Cl, Cd columns) instead of the typed airfoil"},
    {"altitude", "m", "0", "site altitude"},
    {"temperature", "degrees C", "", "air temperature (default: the standard atmosphere's at the altitude)"},
    {"mean-wind-speed", "m/s", "5", "site's annual mean wind speed"},
    {"weibull-shape", "", "2", "Weibull shape k of the site's winds (2 is Rayleigh)"},
    {"cut-in", "m/s", "3", "cut-in wind speed of the rotor held at its tip speed ratio"},
    {"cut-out", "m/s", "25", "cut-out wind speed of the rotor held at its tip speed ratio"},
    {"rated-power", "W", "", "rated power of the held rotor (default: the design's generator power)"},
    {"volts-per-rpm", "V/rpm", "0.12", "alternator's open-circuit voltage per rpm"},
    {"battery-voltage", "V", "24", "battery voltage"},
    {"rectifier-drop", "V", "1.4", "voltage lost in the rectifier"},
    {"winding-resistance", "ohm", "3", "alternator's winding resistance"},
    {"measured", "file", "", "a measured power curve (wind speed and power columns, W or kW) to set beside the design"},
};

const Option* optionNamed(std::string_view name)
{
    for (const Option& option : kOptions) {
        if (name == option.name)
            return &option;
    }
    return nullptr;
}

void writeHelp(std::ostream& out)
{
    out << "Usage: tivora --analyse [OPTION VALUE]...\n"
           "Analyses the blade that Solve! draws for the design (blade-element momentum with Prandtl's\n"
           "tip and hub losses) and prints CSV: the power coefficient against tip speed ratio, the power\n"
           "curves held at the design tip speed ratio and on a battery-charging alternator, and the\n"
           "annual energy at the site. A value may also follow an equals sign: --radius=1.5.\n\n"
           "Options (unit; default):\n";
    for (const Option& option : kOptions) {
        std::string left =
            std::string("  --") + option.name + " " + (std::string_view(option.unit) == "file" ? "FILE" : "VALUE");
        left.resize(std::max<std::size_t>(left.size() + 1, 32), ' ');
        out << left << option.meaning << " (" << (*option.unit ? option.unit : "no unit") << "; "
            << (*option.defaultText ? option.defaultText : "none") << ")\n";
    }
    out << "  --help                        this text\n"
           "\nExit status: 0 done, 2 a bad option, value or file (one line on standard error).\n";
}

std::string number(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    if (std::string_view(text).find_first_not_of("-0.") == std::string_view::npos)
        return decimals ? "0." + std::string(static_cast<std::size_t>(decimals), '0') : "0";
    return text;
}

const char* stateName(AlternatorState state)
{
    switch (state) {
    case AlternatorState::BelowCutIn:
        return "below cut-in";
    case AlternatorState::Charging:
        return "charging";
    case AlternatorState::Stalled:
        return "stalled";
    case AlternatorState::Runaway:
        return "runaway";
    }
    return "";
}

struct Failed {
    std::string message;
};

std::string readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw Failed{path + ": cannot be opened"};
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
        throw Failed{path + ": cannot be read"};
    return text;
}

template <class T>
T need(Result<T> result, const std::string& where = {})
{
    if (!result)
        throw Failed{(where.empty() ? "" : where + ": ") + result.problem().message};
    return std::move(result.value());
}

class Options {
public:
    explicit Options(const std::vector<std::string>& arguments)
    {
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            std::string_view argument = arguments[i];
            if (argument == "--help") {
                help = true;
                continue;
            }
            if (!argument.starts_with("--"))
                throw Failed{"unexpected argument \"" + std::string(argument) + "\" (see --help)"};
            argument.remove_prefix(2);
            std::optional<std::string> value;
            if (const auto equals = argument.find('='); equals != std::string_view::npos) {
                value = std::string(argument.substr(equals + 1));
                argument = argument.substr(0, equals);
            }
            const Option* option = optionNamed(argument);
            if (!option)
                throw Failed{"unknown option --" + std::string(argument) + " (see --help)"};
            if (!value) {
                if (i + 1 >= arguments.size())
                    throw Failed{"--" + std::string(argument) + " needs a value"};
                value = arguments[++i];
            }
            texts_[option->name] = *value;
        }
    }

    bool given(const char* name) const { return texts_.count(name) != 0; }
    std::string text(const char* name) const
    {
        const auto found = texts_.find(name);
        return found != texts_.end() ? found->second : optionNamed(name)->defaultText;
    }
    double number(const char* name) const
    {
        const std::string t = text(name);
        double value = 0;
        if (!readDouble(t, value) || !std::isfinite(value))
            throw Failed{"--" + std::string(name) + ": expected a number, found \"" + t + "\""};
        return value;
    }

    bool help = false;

private:
    std::map<std::string, std::string, std::less<>> texts_;
};

std::string optionFor(Field field)
{
    for (const Option& option : kOptions) {
        if (option.field == field)
            return std::string("--") + option.name;
    }
    return std::string(nameOf(field));
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
        return "overflow";
    }
    return "";
}

void writeRows(std::ostream& out, const std::vector<PowerCurveRow>& rows, const std::vector<AlternatorRow>* states)
{
    out << "wind speed (m/s),rpm,rotor power (W),delivered power (W),Cp,torque (N.m)" << (states ? ",state" : "")
        << "\n";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const PowerCurveRow& r = rows[i];
        out << number(r.windSpeed, 1) << ',' << number(r.rpm, 1) << ',' << number(r.rotorPower, 1) << ','
            << number(r.deliveredPower, 1) << ',' << number(r.cp, 4) << ',' << number(r.torque, 2);
        if (states)
            out << ',' << stateName((*states)[i].state);
        out << '\n';
    }
}

void analyse(const Options& options, std::ostream& out)
{
    // The blade Solve! draws for these inputs, in SI.
    DesignSheet sheet;
    for (const Option& option : kOptions) {
        if (option.field) {
            options.number(option.name);
            sheet.setText(*option.field, options.text(option.name));
        }
    }
    if (const std::optional<Failure> failure = solve(sheet)) {
        const Field blamed = failure->inputs.empty() ? failure->field : failure->inputs.front();
        throw Failed{optionFor(blamed) + ": the design cannot be solved (" + failureName(failure->kind) + ")"};
    }
    const Blade blade = need(bladeFromSheet(sheet));
    const double ratio = aspectRatio(blade);

    const Airfoil airfoil = [&] {
        if (options.given("polar")) {
            const std::string path = options.text("polar");
            return need(readPolar(readFile(path), ratio), path);
        }
        SimpleAirfoilInputs typed;
        typed.cl = options.number("cl");
        typed.alphaDegrees = options.number("alpha");
        typed.clMax = options.number("cl-max");
        typed.glideRatio = options.number("glide-ratio");
        return need(simpleAirfoil(typed, ratio));
    }();
    std::optional<double> temperature;
    if (options.given("temperature"))
        temperature = options.number("temperature");
    const double density = need(airDensity(options.number("altitude"), temperature));
    const WindDistribution site =
        need(windDistribution(options.number("mean-wind-speed"), options.number("weibull-shape")));
    const Alternator alternator =
        need(checkedAlternator({options.number("volts-per-rpm"), options.number("battery-voltage"),
                                options.number("rectifier-drop"), options.number("winding-resistance")}));
    std::optional<std::vector<PowerCurvePoint>> measured;
    if (options.given("measured")) {
        const std::string path = options.text("measured");
        measured = need(readPowerCurve(readFile(path)), path);
    }

    const double tsr = options.number("tsr");
    const double windSpeed = options.number("wind-speed");
    const double designPower = readNumber(sheet, Field::Power);
    const BladeAnalysis design = need(analyseBlade(blade, airfoil, tsr, windSpeed, density));
    const CpCurve curve = cpCurve(blade, airfoil);
    HeldRunning running;
    running.tsr = tsr;
    running.cutIn = options.number("cut-in");
    running.cutOut = options.number("cut-out");
    running.ratedPower = options.given("rated-power") ? options.number("rated-power") : designPower;
    const std::vector<PowerCurveRow> held = need(heldPowerCurve(running, design.rotor.cp, blade.tipRadius(), density));
    const std::vector<AlternatorRow> charging = alternatorPowerCurve(curve, alternator, blade.tipRadius(), density);
    std::vector<PowerCurveRow> chargingRows;
    for (const AlternatorRow& row : charging)
        chargingRows.push_back(row.row);
    const auto curveOf = [](const std::vector<PowerCurveRow>& rows) {
        std::vector<PowerCurvePoint> points;
        for (const PowerCurveRow& row : rows)
            points.push_back({row.windSpeed, row.deliveredPower});
        return points;
    };

    std::ostringstream csv;
    csv << "# Design\nquantity,value,unit\n"
        << "air density," << number(density, 4) << ",kg/m3\n"
        << "blade efficiency typed," << options.text("efficiency") << ",\n"
        << "Cp at the design tip speed ratio " << options.text("tsr") << ',' << number(design.rotor.cp, 4) << ",\n"
        << "highest Cp," << number(curve.peakCp, 4) << ",\n"
        << "tip speed ratio of the highest Cp," << number(curve.peakTsr, 2) << ",\n"
        << "generator power from the typed efficiency at 1.22 kg/m3," << number(designPower, 1) << ",W\n"
        << "blade power at the design wind speed," << number(design.power, 1) << ",W\n"
        << "thrust at the design wind speed," << number(design.thrust, 1) << ",N\n"
        << "alternator cut-in," << number(alternator.cutInRpm(), 1) << ",rpm\n";

    csv << "\n# Stations at the design tip speed ratio and wind speed\n"
           "station,radius (m),inflow angle (degrees),angle of attack (degrees),Cl,Cd,a,a',tip and hub loss F,"
           "normal load (N/m),tangential load (N/m)\n";
    for (std::size_t k = 0; k < design.stations.size(); ++k) {
        const StationResult& s = design.stations[k];
        csv << k + 1 << ',' << number(s.radius, 3) << ',' << number(s.phiDegrees, 2) << ',' << number(s.alphaDegrees, 2)
            << ',' << number(s.cl, 4) << ',' << number(s.cd, 4) << ',' << number(s.axialInduction, 4) << ','
            << number(s.tangentialInduction, 4) << ',' << number(s.tipHubLoss, 4) << ',' << number(s.normalLoad, 2)
            << ',' << number(s.tangentialLoad, 2) << '\n';
    }

    csv << "\n# Power coefficient against tip speed ratio\ntip speed ratio,Cp,Ct,Cq\n";
    for (const CpPoint& p : curve.points)
        csv << number(p.tsr, 2) << ',' << number(p.cp, 4) << ',' << number(p.ct, 4) << ',' << number(p.cq, 4) << '\n';

    csv << "\n# Power curve held at tip speed ratio " << options.text("tsr") << ", rated "
        << number(running.ratedPower, 1) << " W\n";
    writeRows(csv, held, nullptr);
    csv << "\n# Power curve on the alternator\n";
    writeRows(csv, chargingRows, &charging);

    csv << "\n# Annual energy at a mean wind speed of " << options.text("mean-wind-speed") << " m/s, Weibull shape "
        << options.text("weibull-shape") << "\ncurve,annual energy (kWh),capacity factor\n";
    const auto energyRow = [&](const std::string& name, const std::vector<PowerCurvePoint>& points) {
        const AnnualEnergy energy = annualEnergy(points, site);
        csv << name << ',' << number(energy.kilowattHours, 1) << ',' << number(energy.capacityFactor, 4) << '\n';
    };
    energyRow("held at the design tip speed ratio", curveOf(held));
    energyRow("on the alternator", curveOf(chargingRows));
    if (measured) {
        const std::vector<PowerCurvePoint> binned = onBins(*measured);
        energyRow("measured", binned);
        csv << "\n# Measured power curve on the bins\nwind speed (m/s),power (W)\n";
        for (const PowerCurvePoint& p : binned)
            csv << number(p.windSpeed, 1) << ',' << number(p.power, 1) << '\n';
    }
    out << csv.str();
}

}  // namespace

int runAnalyseCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    try {
        const Options options(arguments);
        if (options.help) {
            writeHelp(out);
            return 0;
        }
        analyse(options, out);
        out.flush();
        if (!out) {
            err << "tivora --analyse: the output could not be written\n";
            return 1;
        }
        return 0;
    } catch (const Failed& failed) {
        err << "tivora --analyse: " << failed.message << '\n';
        return kBadUsage;
    }
}

}  // namespace tivora::performance
