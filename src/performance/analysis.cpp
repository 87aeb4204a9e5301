#include "analysis.h"

#include "carved_blade.h"
#include "numeric.h"
#include "physics.h"
#include "sheet/unit_conversions.h"
#include "solve/physical_sense.h"

#include <algorithm>
#include <cmath>

namespace tivora::performance {

namespace {

// Points of each curve of the matching chart, and of the alternator's line.
constexpr int kMatchingSamples = 80;

struct DesignPoint {
    double tsr, cl, alphaDegrees, efficiency, windMps, generatorWatts;
};

Result<DesignPoint> designPointOf(const DesignSheet& sheet)
{
    DesignPoint d{};
    try {
        d.tsr = readNumber(sheet, Field::Tsr);
        d.cl = readNumber(sheet, Field::Cl);
        d.alphaDegrees = readNumber(sheet, Field::Alpha);
        d.efficiency = readNumber(sheet, Field::Efficiency);
        d.windMps = siFromShown(Quantity::WindSpeed, sheet.selectedSystem(), readNumber(sheet, Field::WindSpeed));
        d.generatorWatts = readNumber(sheet, Field::Power);
    } catch (const StepFailure& failure) {
        return Problem{ProblemKind::SheetNotSolved, "", std::nullopt, std::nullopt, {}, failure.failure().field};
    }
    return d;
}

// A Problem of a file, named by the input that holds it.
Problem ofInput(Problem problem, InputId input)
{
    if (!problem.input)
        problem.input = input;
    return problem;
}

CurveEnergy energyOf(const std::vector<PowerCurvePoint>& curve, const WindDistribution& site, CapacityBasis basis,
                     double ratedWatts)
{
    CurveEnergy out;
    out.energy = annualEnergy(curve, site);
    out.basis = basis;
    out.basisWatts = ratedWatts;
    if (basis == CapacityBasis::LargestDelivered) {
        out.basisWatts = 0;
        for (const PowerCurvePoint& p : curve)
            out.basisWatts = std::max(out.basisWatts, p.power);
    }
    out.capacityFactor = capacityFactor(out.energy.kilowattHours, out.basisWatts);
    return out;
}

std::vector<PowerCurvePoint> delivered(const std::vector<PowerCurveRow>& rows)
{
    std::vector<PowerCurvePoint> points;
    for (const PowerCurveRow& row : rows)
        points.push_back({row.windMps, row.deliveredWatts});
    return points;
}

// The speed from which a curve delivers, and its rpm there.
CutIn cutInOf(const std::vector<PowerCurveRow>& rows)
{
    for (const PowerCurveRow& row : rows) {
        if (row.deliveredWatts > 0)
            return {row.windMps, row.rpm};
    }
    return {};
}

// The stall angle the design angle of attack is judged against: the
// polar's angle of highest lift, or where thin airfoils stall.
double stallAngleOf(const Airfoil& airfoil, bool fromPolar)
{
    if (!fromPolar)
        return kHighestAlpha;
    const std::vector<PolarRow>& rows = airfoil.rows();
    return std::max_element(rows.begin(), rows.end(), [](const PolarRow& a, const PolarRow& b) { return a.cl < b.cl; })
        ->alphaDegrees;
}

void addMatching(Analysis& out, UnitSystem system, double tipRadiusM)
{
    const std::vector<double> speeds = matchingWindSpeeds(system);
    const double freeTsr = freeRunningTsr(out.cp);
    const double topRpm = rpmAt(freeTsr, speeds.back(), tipRadiusM);
    for (double v : speeds) {
        const double windPower = windPowerWatts(out.densityKgM3, tipRadiusM, v);
        MatchingCurve curve{v, {}, {rpmAt(out.cp.peakTsr, v, tipRadiusM), out.cp.peakCp * windPower}, {}};
        for (int i = 0; i <= kMatchingSamples; ++i) {
            const double rpm = topRpm * i / kMatchingSamples;
            const double tsr = tsrAt(rpm, v, tipRadiusM);
            if (tsr > freeTsr)
                break;
            curve.points.push_back({rpm, std::max(0.0, cpAt(out.cp, tsr)) * windPower});
        }
        curve.operating = alternatorRow(out.cp, out.alternator, v, tipRadiusM, out.densityKgM3);
        const bool delivering =
            curve.operating.state == OperatingState::Charging || curve.operating.state == OperatingState::Stalled;
        if (delivering && out.alternator.currentAmps(curve.operating.rpm) > out.limits.currentRatingAmps)
            curve.operating.state = OperatingState::Overheating;
        out.matching.push_back(curve);
    }
    const double from = out.alternator.cutInRpm();
    for (int i = 0; i <= kMatchingSamples && from < topRpm; ++i) {
        const double rpm = from + (topRpm - from) * i / kMatchingSamples;
        out.alternatorLine.push_back({rpm, out.alternator.shaftWatts(rpm)});
    }
}

}  // namespace

std::vector<double> matchingWindSpeeds(UnitSystem system)
{
    std::vector<double> speeds;
    switch (system) {
    case UnitSystem::SI:
        for (int v = 3; v <= 12; ++v)
            speeds.push_back(v);
        break;
    case UnitSystem::Metric:
        for (int v = 10; v <= 45; v += 5)
            speeds.push_back(v / 3.6);
        break;
    case UnitSystem::Imperial:
        for (int v = 6; v <= 26; v += 2)
            speeds.push_back(v / units::kMphPerMetrePerSecond);
        break;
    }
    return speeds;
}

std::optional<Problem> checkFile(InputId input, std::string_view text)
{
    switch (input) {
    case InputId::Polar:
        // Whether it reads as a polar does not hang on the blade's aspect ratio.
        if (const Result<Airfoil> polar = readPolar(text, 10); !polar)
            return ofInput(polar.problem(), input);
        break;
    case InputId::Measured:
        if (const Result<std::vector<PowerCurvePoint>> curve = readPowerCurve(text); !curve)
            return ofInput(curve.problem(), input);
        break;
    case InputId::WindSeries:
        if (const Result<WindSeries> series = readWindSeries(text); !series)
            return ofInput(series.problem(), input);
        else if (const Result<SiteWindFit> fit = fitWeibull(series->speeds); !fit)
            return ofInput(fit.problem(), input);
        break;
    default:
        break;
    }
    return std::nullopt;
}

namespace {

// The delivered power counted up to a cap: what a machine delivers within
// its rating.
std::vector<PowerCurvePoint> deliveredUpTo(const std::vector<PowerCurveRow>& rows, double capWatts)
{
    std::vector<PowerCurvePoint> points;
    for (const PowerCurveRow& row : rows)
        points.push_back({row.windMps, std::min(row.deliveredWatts, capWatts)});
    return points;
}

// Each station's Reynolds number at the design point: ρ W c / μ, with the
// relative speed W of the blade-element solution.
void addReynolds(Analysis& out, const Blade& blade)
{
    out.viscosityPaS = airViscosityPaS(out.temperatureCelsius);
    const double tip = blade.tipRadius();
    for (std::size_t k = 0; k < out.design.stations.size(); ++k) {
        const StationResult& s = out.design.stations[k];
        const double local = out.designTsr * s.radius / tip;
        const double w = out.designWindMps * std::hypot(1 - s.axialInduction, local * (1 + s.tangentialInduction));
        out.stationChordsM.push_back(blade.stations[k].chord);
        out.stationReynolds.push_back(reynoldsNumber(out.densityKgM3, w, blade.stations[k].chord, out.viscosityPaS));
    }
    out.reynoldsAtThreeQuarters = numeric::interpolate(
        blade.stations, 0.75 * tip, [](const Station& s) { return s.radius; },
        [&](const Station& s) { return out.stationReynolds[static_cast<std::size_t>(&s - blade.stations.data())]; });
}

Result<Analysis> analyseAs(const DesignSheet& sheet, const AnalysisInputs& inputs, const Blade& bladeCut)
{
    const Result<Blade> blade = checkedBlade(bladeCut);
    if (!blade)
        return blade.problem();
    const Result<DesignPoint> point = designPointOf(sheet);
    if (!point)
        return point.problem();
    DesignFigures design = designFiguresOf(sheet, inputs);
    design.generatorPowerWatts = point->generatorWatts;
    if (std::optional<Problem> refused = refusal(inputs, design))
        return *refused;
    const auto value = [&](InputId id) { return valueOf(inputs, id, design); };
    Analysis out;
    const double ratio = aspectRatio(*blade);
    const InputFile& polar = inputs.file(InputId::Polar);
    const Result<Airfoil> airfoil =
        polar.text
            ? readPolar(*polar.text, ratio)
            : simpleAirfoil({point->cl, point->alphaDegrees, value(InputId::ClMax), value(InputId::GlideRatio)}, ratio);
    if (!airfoil)
        return ofInput(airfoil.problem(), polar.text ? InputId::Polar : InputId::ClMax);
    out.standardTemperature = !inputs.typed(InputId::Temperature);
    out.temperatureCelsius = value(InputId::Temperature);
    const Result<double> density = airDensity(value(InputId::Altitude), out.temperatureCelsius);
    if (!density)
        return ofInput(density.problem(), InputId::Altitude);
    Result<SiteWind> siteWind = siteWindOf(inputs, design);
    if (!siteWind)
        return siteWind.problem();
    const WindDistribution site = siteWind->atHub;
    const Result<ChosenAlternator> chosen = chosenAlternator(inputs, design);
    if (!chosen)
        return chosen.problem();
    // The winding resistance is at 20 °C (typed, or from the designed
    // winding); the copper works warmer.
    out.windingCelsius = value(InputId::WindingTemperature);
    Alternator warm = chosen->alternator;
    warm.windingOhms = copperOhms(warm.windingOhms, out.windingCelsius);
    out.warmWindingOhms = warm.windingOhms;
    const Result<Alternator> alternator = checkedAlternator(warm);
    if (!alternator)
        return ofInput(alternator.problem(), InputId::VoltsPerRpm);
    std::optional<std::vector<PowerCurvePoint>> measured;
    if (const InputFile& file = inputs.file(InputId::Measured); file.text) {
        Result<std::vector<PowerCurvePoint>> read = readPowerCurve(*file.text);
        if (!read)
            return ofInput(read.problem(), InputId::Measured);
        measured = std::move(read.value());
    }

    out.densityKgM3 = *density;
    out.cp = cpCurve(*blade, *airfoil);
    // No rotor takes more than Betz's share of the wind: a Cp above it can
    // only come from lift and drag that are no airfoil's.
    if (out.cp.peakCp > kBetzLimit) {
        Problem aboveBetz{ProblemKind::AboveBetz, "", polar.text ? InputId::Polar : InputId::Alpha};
        aboveBetz.figures = {out.cp.peakCp, out.cp.peakTsr};
        return aboveBetz;
    }
    out.designTsr = point->tsr;
    out.typedEfficiency = point->efficiency;
    out.designAlphaDegrees = point->alphaDegrees;
    out.generatorWatts = point->generatorWatts;
    out.designWindMps = point->windMps;
    const Result<BladeAnalysis> atDesign = analyseBlade(*blade, *airfoil, point->tsr, point->windMps, *density);
    if (!atDesign)
        return atDesign.problem();
    out.design = *atDesign;
    out.designCp = out.design.rotor.cp;

    const double tip = blade->tipRadius();
    out.onAlternator = inputs.onAlternator();
    out.alternator = *alternator;
    out.alternatorChoice = *chosen;
    if (chosen->design)
        out.turnsForCutIn = cutInTurns(*chosen->design, value(InputId::WantedCutIn), out.cp.peakTsr, tip);
    out.held = {point->tsr, value(InputId::CutIn), value(InputId::CutOut), value(InputId::RatedPower)};
    // The running's figures checked as the plain held curve checks them.
    if (Result<std::vector<PowerCurveRow>> held = heldPowerCurve(out.held, out.designCp, tip, *density); !held)
        return ofInput(held.problem(), InputId::CutIn);

    if (const double onset = value(InputId::FurlOnset); onset > 0)
        out.limits.furlOnsetMps = onset;
    out.limits.tipSpeedLimitMps = value(InputId::TipSpeedLimit);
    // A designed winding is rated by its current density, unless a rating is typed.
    out.limits.currentRatingAmps = chosen->currentRatingAmps && !inputs.typed(InputId::CurrentRating)
                                       ? *chosen->currentRatingAmps
                                       : value(InputId::CurrentRating);
    out.limits.bladeMassKg = value(InputId::BladeMass);
    if (const std::optional<CarvedMass> carved = carvedMass(sheet, inputs))
        out.limits.bladeCentreM = carved->centreRadiusM;
    LimitedCurve held = heldCurve(out.held, out.designCp, out.cp, out.limits, tip, *density);
    LimitedCurve onAlternator = alternatorCurve(out.cp, *alternator, out.limits, tip, *density);
    out.heldCurve = std::move(held.rows);
    out.heldRunaway = held.runaway;
    out.heldOnsetThrustN = held.onsetThrustN;
    out.alternatorCurve = std::move(onAlternator.rows);
    out.alternatorRunaway = onAlternator.runaway;
    out.alternatorOnsetThrustN = onAlternator.onsetThrustN;
    out.heldEnergy = energyOf(delivered(out.heldCurve), site, CapacityBasis::RatedPower, out.held.ratedWatts);
    // A winding run past its rating does not last: the year counts what the
    // alternator delivers within it.
    const double ratedWatts = alternator->batteryVolts * out.limits.currentRatingAmps;
    out.alternatorEnergy =
        energyOf(deliveredUpTo(out.alternatorCurve, ratedWatts), site, CapacityBasis::LargestDelivered, 0);
    out.alternatorUnratedKWh = annualEnergy(delivered(out.alternatorCurve), site).kilowattHours;

    out.designRootMomentNm =
        out.design.rotor.flap * 0.5 * *density * point->windMps * point->windMps * kPi * tip * tip * tip;
    out.bladeAreaM2 = planformAreaM2(*blade);
    out.survivalWindMps = value(InputId::SurvivalWind);
    // The standard's loads are for sea-level air, whatever the site's.
    out.parked = parkedLoads(blade->blades, out.bladeAreaM2, tip, kSeaLevelDensity, out.survivalWindMps);
    addReynolds(out, *blade);
    out.polarReynolds = airfoil->reynolds();
    out.heldCutIn = {out.held.cutInMps, rpmAt(out.held.tsr, out.held.cutInMps, tip)};
    // On the alternator the rotor charges once, running free, it turns at
    // the cut-in rpm: V = 2π R rpm / (60 λ_free).
    out.alternatorCutIn = {tip * radPerSecFromRpm(alternator->cutInRpm()) / freeRunningTsr(out.cp),
                           alternator->cutInRpm()};
    if (cutInOf(out.alternatorCurve).windMps == 0)
        out.alternatorCutIn = {};
    if (measured) {
        MeasuredComparison comparison;
        comparison.binned = onBins(atSiteDensity(*measured, *density));
        comparison.energy = energyOf(comparison.binned, site, CapacityBasis::LargestDelivered, 0);
        out.measured = std::move(comparison);
    }
    addSiteEnergies(siteWind.value(), delivered(out.heldCurve), deliveredUpTo(out.alternatorCurve, ratedWatts));
    out.siteWind = std::move(siteWind.value());
    addMatching(out, sheet.selectedSystem(), tip);

    if (brokenSenseRule(sheet, Field::Efficiency) && point->efficiency > 0)
        out.warnings.push_back({WarningKind::EfficiencyAboveBetz, InputId::Efficiency, point->efficiency});
    if (const double stall = stallAngleOf(*airfoil, polar.text.has_value()); point->alphaDegrees > stall)
        out.warnings.push_back({WarningKind::AlphaPastStall, InputId::Alpha, stall});
    if (const int unsolved = out.cp.unsolvedElements + out.design.rotor.unsolvedElements)
        out.warnings.push_back({WarningKind::ElementsUnsolved, std::nullopt, static_cast<double>(unsolved)});
    if (out.polarReynolds && out.reynoldsAtThreeQuarters > 0) {
        const double ratio = *out.polarReynolds / out.reynoldsAtThreeQuarters;
        if (ratio > 2 || ratio < 0.5)
            out.warnings.push_back({WarningKind::PolarReynoldsAway, InputId::Polar, *out.polarReynolds});
    }
    for (const PowerCurveRow& row : out.alternatorCurve) {
        const bool delivering = row.state == OperatingState::Charging || row.state == OperatingState::Furled ||
                                row.state == OperatingState::Stalled;
        if (delivering && row.efficiency < kMostlyLostBelow) {
            out.warnings.push_back({WarningKind::MostlyLost, InputId::CurrentRating, row.windMps});
            break;
        }
    }
    if (out.siteWind.hubHeightM <= tip)
        out.warnings.push_back({WarningKind::HubBelowTip, InputId::HubHeight, tip});
    if (const std::optional<SiteSeries>& measuredWind = out.siteWind.series) {
        const WindSeries& s = measuredWind->series;
        if (const long left = s.gaps.count + s.codes.count + s.outOfRange.count)
            out.warnings.push_back({WarningKind::SeriesLeftOut, InputId::WindSeries, static_cast<double>(left)});
    }
    for (const InputEntry& entry : inputTable()) {
        if (entry.kind == InputKind::Number && !sensible(inputs, entry.id, design))
            out.warnings.push_back({WarningKind::NotSensible, entry.id});
    }
    return out;
}

}  // namespace

Result<Analysis> analyse(const DesignSheet& sheet, const AnalysisInputs& inputs)
{
    const Result<Blade> solved = bladeFromSheet(sheet);
    if (!solved)
        return solved.problem();
    const Result<workshop::Trim> trim = trimOf(inputs);
    if (!trim)
        return trim.problem();
    if (!workshop::trims(*trim))
        return analyseAs(sheet, inputs, *solved);
    Result<Analysis> cut = analyseAs(sheet, inputs, trimmedBlade(*solved, *trim));
    if (!cut)
        return cut;
    // What the trim costs: the same analysis of the blade as solved.
    if (const Result<Analysis> whole = analyseAs(sheet, inputs, *solved))
        cut.value().trimCost = TrimCost{*trim, whole->cp.peakCp, whole->heldEnergy, whole->alternatorEnergy};
    return cut;
}

}  // namespace tivora::performance
