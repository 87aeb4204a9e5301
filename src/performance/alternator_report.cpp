// The designed alternator's figures, in the analysis's one list of figures
// (report.h): the window's Alternator page, the design sheet, the CSV and
// `tivora --analyse` all write them from here.

#include "report.h"

#include <cstdio>

namespace tivora::performance {

namespace {

std::string volts(double battery)
{
    char text[16];
    std::snprintf(text, sizeof text, "%g V", battery);
    return text;
}

}  // namespace

void addAlternatorFigures(const Analysis& a, std::vector<Figure>& figures)
{
    const ChosenAlternator& chosen = a.alternatorChoice;
    if (!chosen.designed || !chosen.design)
        return;
    const DesignedAlternator& d = *chosen.designed;
    figures.push_back({"alternator-volts-per-rpm", "Alternator volts per rpm (DC at the battery)", d.voltsPerRpm,
                       Quantity::VoltsPerRpm, 4, 4});
    figures.push_back({"alternator-cut-in-rpm-designed", "Alternator cut-in rpm", d.cutInRpm, Quantity::Rpm, 0, 1});
    if (chosen.from == AlternatorFrom::Magnets)
        figures.push_back({"gap-flux-density", "Flux density in the gap over a magnet", d.gapFluxDensityT,
                           Quantity::FluxDensity, 3, 4});
    figures.push_back({"coil-leg-width", "Coil leg width as wound", d.coil.legWidthM * 1000, Quantity::Size, 1, 2});
    figures.push_back({"coil-leg-room", "Room for a coil leg", d.coil.roomLegM * 1000, Quantity::Size, 1, 2});
    figures.push_back(
        {"phase-resistance", "Phase resistance at 20 degrees C", d.phaseOhms20, Quantity::Resistance, 3, 4});
    figures.push_back({"winding-resistance-designed", "Winding resistance line to line with the cable at 20 degrees C",
                       d.windingOhms20, Quantity::Resistance, 3, 4});
    figures.push_back({"copper-mass", "Copper in the stator", d.copperKg, Quantity::Mass, 2, 3});
    figures.push_back(
        {"current-rating", "Continuous current rating (DC)", d.currentRatingAmps, Quantity::Current, 1, 2});
    if (!a.turnsForCutIn)
        return;
    const CutInTurns& turns = *a.turnsForCutIn;
    figures.push_back({"wanted-cut-in-rpm", "Rotor speed at the best tip speed ratio at the wanted cut-in", turns.rpm,
                       Quantity::Rpm, 0, 1});
    for (const TurnsForCutIn& t : turns.batteries) {
        const std::string on = " on " + volts(t.batteryVolts);
        figures.push_back({"turns-for-cut-in", "Turns per coil for the wanted cut-in" + on,
                           static_cast<double>(t.turnsPerCoil), Quantity::None, 0, 0});
        figures.push_back(
            {"cut-in-rpm-with-turns", "Cut-in rpm with those turns" + on, t.cutInRpm, Quantity::Rpm, 0, 1});
        figures.push_back(
            {"thickest-wire", "Thickest wire for those turns" + on, t.thickestWireM * 1000, Quantity::Size, 2, 2});
    }
}

}  // namespace tivora::performance
