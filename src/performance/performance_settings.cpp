#include "performance_settings.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace tivora::performance {

namespace {

struct Number {
    const char* name;
    double PerformanceInputs::*input;
};
struct AlternatorNumber {
    const char* name;
    double Alternator::*input;
};

constexpr Number kNumbers[] = {
    {"site.mean-wind-speed-m/s", &PerformanceInputs::meanWindSpeed},
    {"site.weibull-k", &PerformanceInputs::weibullShape},
    {"site.altitude-m", &PerformanceInputs::altitude},
    {"site.temperature-c", &PerformanceInputs::temperature},
    {"airfoil.cl-max", &PerformanceInputs::clMax},
    {"airfoil.glide-ratio", &PerformanceInputs::glideRatio},
    {"running.cut-in-m/s", &PerformanceInputs::cutIn},
    {"running.cut-out-m/s", &PerformanceInputs::cutOut},
};
constexpr AlternatorNumber kAlternatorNumbers[] = {
    {"alternator.volts-per-rpm", &Alternator::voltsPerRpm},
    {"alternator.battery-v", &Alternator::batteryVolts},
    {"alternator.rectifier-drop-v", &Alternator::rectifierDrop},
    {"alternator.winding-ohm", &Alternator::windingResistance},
};
constexpr const char* kRatedPower = "running.rated-power-w";
constexpr const char* kMode = "running.mode";
constexpr const char* kPolarFile = "airfoil.polar-file";

// The shortest text that reads back as the same double.
std::string written(double value)
{
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return error == std::errc() ? std::string(text, end) : std::string();
}

bool readInto(const std::string& text, double& value)
{
    double read = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), read);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(read))
        return false;
    value = read;
    return true;
}

}  // namespace

DesignSettings settingsOf(const PerformanceInputs& inputs, const std::string& polarName)
{
    DesignSettings settings;
    for (const Number& number : kNumbers)
        settings.emplace_back(number.name, written(inputs.*number.input));
    if (inputs.ratedPower)
        settings.emplace_back(kRatedPower, written(*inputs.ratedPower));
    settings.emplace_back(kMode, inputs.onAlternator ? "alternator" : "held");
    for (const AlternatorNumber& number : kAlternatorNumbers)
        settings.emplace_back(number.name, written(inputs.alternator.*number.input));
    if (inputs.polarText)
        settings.emplace_back(kPolarFile, polarName);
    return settings;
}

PerformanceInputs inputsFrom(const DesignSettings& settings, std::string& polarName)
{
    PerformanceInputs inputs;
    polarName.clear();
    for (const auto& [name, value] : settings) {
        for (const Number& number : kNumbers)
            if (name == number.name)
                readInto(value, inputs.*number.input);
        for (const AlternatorNumber& number : kAlternatorNumbers)
            if (name == number.name)
                readInto(value, inputs.alternator.*number.input);
        if (double rated = 0; name == kRatedPower && readInto(value, rated))
            inputs.ratedPower = rated;
        if (name == kMode)
            inputs.onAlternator = value == "alternator";
        if (name == kPolarFile)
            polarName = value;
    }
    return inputs;
}

}  // namespace tivora::performance
