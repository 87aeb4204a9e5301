#include "alternator_inputs.h"

#include "physics.h"

#include <cmath>
#include <string>

namespace tivora::performance {

namespace {

Problem refused(InputId input, std::string why)
{
    return Problem{ProblemKind::GeneratorNotUsable, std::move(why), input};
}

bool whole(double value)
{
    return std::floor(value) == value;
}

std::string millimetres(double metres)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f mm", metres * 1000);
    return text;
}

}  // namespace

Result<AlternatorDesign> alternatorDesignOf(const AnalysisInputs& inputs, const DesignFigures& figures)
{
    const auto value = [&](InputId id) { return valueOf(inputs, id, figures); };
    AlternatorDesign d;
    // Sizes are kept in millimetres; the design computes in metres.
    d.magnets.perRotor = static_cast<int>(value(InputId::Magnets));
    d.magnets.lengthM = value(InputId::MagnetLength) / 1000;
    d.magnets.widthM = value(InputId::MagnetWidth) / 1000;
    d.magnets.thicknessM = value(InputId::MagnetThickness) / 1000;
    d.magnets.remanenceT = kMagnetGrades[static_cast<std::size_t>(inputs.choice(InputId::MagnetGrade))].remanenceT;
    d.magnets.rotors = static_cast<int>(value(InputId::MagnetRotors));
    d.magnets.ringDiameterM = value(InputId::RingDiameter) / 1000;
    d.stator.airGapM = value(InputId::AirGap) / 1000;
    d.stator.thicknessM = value(InputId::StatorThickness) / 1000;
    d.stator.coils = static_cast<int>(value(InputId::Coils));
    d.stator.turnsPerCoil = static_cast<int>(value(InputId::Turns));
    d.stator.wireDiameterM = value(InputId::WireDiameter) / 1000;
    d.stator.wiresInHand = static_cast<int>(value(InputId::WiresInHand));
    d.stator.winding = inputs.choice(InputId::Connection) == 1 ? Winding::Delta : Winding::Star;
    d.cableLengthM = value(InputId::CableLength);
    d.cableSectionM2 = value(InputId::CableSection) * 1e-6;
    d.batteryVolts = value(InputId::BatteryVolts);
    d.rectifierDropVolts = value(InputId::RectifierDrop);
    d.currentDensityAPerM2 = value(InputId::CurrentDensity) * 1e6;
    if (inputs.alternatorFrom() == static_cast<int>(AlternatorFrom::TestCoil))
        d.testCoil =
            TestCoil{value(InputId::TestCoilTurns), value(InputId::TestCoilVolts), value(InputId::TestCoilRpm)};

    for (const InputId id :
         {InputId::Magnets, InputId::MagnetRotors, InputId::Coils, InputId::Turns, InputId::WiresInHand}) {
        if (!whole(value(id)))
            return refused(id, "a whole number is needed");
    }
    if (d.stator.coils % 3 != 0)
        return refused(InputId::Coils, "the coils must be a multiple of 3, a third of them in each phase");
    if (d.magnets.perRotor % 2 != 0)
        return refused(InputId::Magnets, "the poles alternate north and south round the ring: an even number");
    const CoilShape coil = coilShape(d.magnets, d.stator);
    if (coil.ringRadiusM <= 0 || 2 * kPi * coil.ringRadiusM / d.magnets.perRotor <= d.magnets.widthM)
        return refused(InputId::RingDiameter, "the magnets overlap round a ring this small");
    if (coil.roomLegM <= 0)
        return refused(InputId::Coils, "the coils, each round a hole the size of a magnet, have no room round the "
                                       "ring: fewer coils or a larger ring");
    if (coil.legWidthM > coil.roomLegM)
        return refused(InputId::WireDiameter, "the turns of this wire cannot fit: their leg is " +
                                                  millimetres(coil.legWidthM) +
                                                  " wide in the stator's thickness, and the coils have room for " +
                                                  millimetres(coil.roomLegM));
    return d;
}

Result<ChosenAlternator> chosenAlternator(const AnalysisInputs& inputs, const DesignFigures& figures)
{
    const auto value = [&](InputId id) { return valueOf(inputs, id, figures); };
    ChosenAlternator out;
    out.from = static_cast<AlternatorFrom>(inputs.alternatorFrom());
    out.alternator = {value(InputId::VoltsPerRpm), value(InputId::BatteryVolts), value(InputId::RectifierDrop),
                      value(InputId::WindingResistance)};
    if (out.from != AlternatorFrom::Typed) {
        Result<AlternatorDesign> design = alternatorDesignOf(inputs, figures);
        if (!design)
            return design.problem();
        const DesignedAlternator designed = designAlternator(*design);
        out.alternator.voltsPerRpm = designed.voltsPerRpm;
        out.alternator.windingOhms = designed.windingOhms20;
        out.currentRatingAmps = designed.currentRatingAmps;
        out.design = *design;
        out.designed = designed;
    }
    const Result<Alternator> checked = checkedAlternator(out.alternator);
    if (!checked)
        return refused(out.from == AlternatorFrom::Typed ? InputId::VoltsPerRpm : InputId::CableSection,
                       checked.problem().message);
    return out;
}

CutInTurns cutInTurns(const AlternatorDesign& design, double windMps, double bestTsr, double tipRadiusM)
{
    CutInTurns out{windMps, rpmAt(bestTsr, windMps, tipRadiusM), {}};
    for (const double battery : kSideBySideBatteries)
        out.batteries.push_back(turnsForCutIn(design, battery, out.rpm));
    return out;
}

}  // namespace tivora::performance
