#include "alternator_design.h"

#include "physics.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tivora::performance {

namespace {

// Images beyond this many disc spacings add less than 1e-6 of the field.
constexpr int kImages = 60;
// Neighbours on each side whose opposite poles the coil's turns reach.
constexpr int kNeighbours = 2;

// The solid angle a rectangle [u1,u2]×[v1,v2] subtends from a point at
// signed height d above its plane (the corners relative to the point).
double solidAngle(double u1, double u2, double v1, double v2, double d)
{
    double sum = 0;
    for (const auto& [u, su] : {std::pair{u1, -1.0}, std::pair{u2, 1.0}}) {
        for (const auto& [v, sv] : {std::pair{v1, -1.0}, std::pair{v2, 1.0}})
            sum += su * sv * std::atan(u * v / (d * std::sqrt(u * u + v * v + d * d)));
    }
    return sum;
}

// Bz of a block magnetised along z (its faces charged ±Br), centred at the
// origin, half-sizes hx, hy, hz, at (x, y, z) off its faces.
double blockField(double br, double hx, double hy, double hz, double x, double y, double z)
{
    const double u1 = -hx - x, u2 = hx - x, v1 = -hy - y, v2 = hy - y;
    return br / (4 * kPi) * (solidAngle(u1, u2, v1, v2, z - hz) - solidAngle(u1, u2, v1, v2, z + hz));
}

// Bz at (x, y) in the stator's middle plane: each magnet on its disc is
// mirrored by the steel into a block twice as thick; two discs mirror each
// other's into a column repeating at their spacing.
double gapField(const RotorMagnets& m, const StatorCoils& s, double x, double y)
{
    const double half = m.thicknessM;  // the magnet and its image
    const double hx = m.widthM / 2, hy = m.lengthM / 2;
    const double pitch = 2 * kPi * (m.ringDiameterM / 2 - m.lengthM / 2) / m.perRotor;
    double field = 0;
    for (int k = -kNeighbours; k <= kNeighbours; ++k) {
        const double sign = k % 2 == 0 ? 1 : -1;
        const double dx = x - k * pitch;
        if (m.rotors == 2) {
            const double spacing = 2 * m.thicknessM + s.thicknessM + 2 * s.airGapM;
            for (int i = -kImages; i <= kImages; ++i)
                field += sign * blockField(m.remanenceT, hx, hy, half, dx, y, spacing / 2 - i * spacing);
        } else {
            field += sign * blockField(m.remanenceT, hx, hy, half, dx, y, m.thicknessM + s.airGapM + s.thicknessM / 2);
        }
    }
    return field;
}

// Gauss–Legendre nodes and weights on [-1, 1].
constexpr std::array<double, 8> kNodes = {-0.9602898564975363, -0.7966664774136267, -0.5255324099163290,
                                          -0.1834346424956498, 0.1834346424956498,  0.5255324099163290,
                                          0.7966664774136267,  0.9602898564975363};
constexpr std::array<double, 8> kWeights = {0.1012285362903763, 0.2223810344533745, 0.3137066458778873,
                                            0.3626837833783620, 0.3626837833783620, 0.3137066458778873,
                                            0.2223810344533745, 0.1012285362903763};

double perTurnVolts(const DesignedAlternator& d, const StatorCoils& s)
{
    // A phase is coils/3 coils in series; star's line voltage is √3 of it;
    // the bridge gives the line voltage's peak.
    const double line = s.winding == Winding::Star ? std::sqrt(3.0) : 1.0;
    return std::sqrt(2.0) * line * (s.coils / 3.0) * d.voltsRmsPerTurnRpm;
}

// Line to line through the bridge: two phases of star in series; delta's
// one phase beside the other two.
double lineOhms(double phaseOhms, Winding winding)
{
    return winding == Winding::Star ? 2 * phaseOhms : phaseOhms * 2 / 3;
}

double cableOhms(const AlternatorDesign& d)
{
    return copperResistivityOhmM(20) * 2 * d.cableLengthM / d.cableSectionM2;
}

}  // namespace

double copperResistivityOhmM(double celsius)
{
    return kCopperOhmMm2PerM * 1e-6 * (1 + kCopperPerKelvin * (celsius - 20));
}

double meanGapField(const RotorMagnets& magnets, const StatorCoils& stator, double tangentialM, double radialM)
{
    double sum = 0;
    for (std::size_t i = 0; i < kNodes.size(); ++i) {
        for (std::size_t j = 0; j < kNodes.size(); ++j)
            sum += kWeights[i] * kWeights[j] *
                   gapField(magnets, stator, kNodes[i] * tangentialM / 2, kNodes[j] * radialM / 2);
    }
    return sum / 4;
}

CoilShape coilShape(const RotorMagnets& m, const StatorCoils& s)
{
    CoilShape c;
    c.ringRadiusM = m.ringDiameterM / 2 - m.lengthM / 2;
    // Coils side by side round the ring, each round a hole the size of the magnet.
    c.roomLegM = (2 * kPi * c.ringRadiusM / s.coils - m.widthM) / 2;
    const double wire = s.wireDiameterM;
    c.copperSectionM2 = s.wiresInHand * kPi * wire * wire / 4;
    c.legWidthM = s.turnsPerCoil * s.wiresInHand * wire * wire / s.thicknessM;
    c.meanTurnM = 2 * (m.lengthM + m.widthM) + kPi * c.legWidthM;
    return c;
}

DesignedAlternator designAlternator(const AlternatorDesign& design)
{
    const RotorMagnets& m = design.magnets;
    const StatorCoils& s = design.stator;
    DesignedAlternator out;
    out.coil = coilShape(m, s);
    if (design.testCoil) {
        out.voltsRmsPerTurnRpm = design.testCoil->voltsRms / (design.testCoil->turns * design.testCoil->rpm);
    } else {
        out.gapFluxDensityT = meanGapField(m, s, m.widthM, m.lengthM);
        const double w = out.coil.legWidthM;
        out.linkedFluxWb = meanGapField(m, s, m.widthM + w, m.lengthM + w) * (m.widthM + w) * (m.lengthM + w);
        // E = π√2 f N Φ with f = poles × rpm / 120.
        out.voltsRmsPerTurnRpm = kPi * std::sqrt(2.0) * m.perRotor / 120.0 * out.linkedFluxWb;
    }
    out.voltsPerRpm = perTurnVolts(out, s) * s.turnsPerCoil;
    out.cutInRpm = (design.batteryVolts + design.rectifierDropVolts) / out.voltsPerRpm;
    const double phaseLength = s.coils / 3.0 * s.turnsPerCoil * out.coil.meanTurnM;
    out.phaseOhms20 = copperResistivityOhmM(20) * phaseLength / out.coil.copperSectionM2;
    out.cableOhms20 = cableOhms(design);
    out.windingOhms20 = lineOhms(out.phaseOhms20, s.winding) + out.cableOhms20;
    out.copperKg = kCopperDensityKgM3 * 3 * phaseLength * out.coil.copperSectionM2;
    // The bridge's line current is √(2/3) of the direct current; delta's
    // phase carries 1/√3 of the line's.
    const double phaseAmps = design.currentDensityAPerM2 * out.coil.copperSectionM2;
    const double lineAmps = s.winding == Winding::Star ? phaseAmps : phaseAmps * std::sqrt(3.0);
    out.currentRatingAmps = lineAmps * std::sqrt(1.5);
    return out;
}

TurnsForCutIn turnsForCutIn(const AlternatorDesign& design, double batteryVolts, double cutInRpm)
{
    // Wound with the thickest wire, the coils fill their room: the linked
    // flux is that of a full leg, whatever the turns.
    AlternatorDesign one = design;
    one.stator.turnsPerCoil = 1;
    const double room = coilShape(design.magnets, design.stator).roomLegM * design.stator.thicknessM;
    one.stator.wireDiameterM = std::sqrt(room / design.stator.wiresInHand);
    const DesignedAlternator perTurn = designAlternator(one);
    TurnsForCutIn out;
    out.batteryVolts = batteryVolts;
    const double turns = (batteryVolts + design.rectifierDropVolts) / (perTurn.voltsPerRpm * cutInRpm);
    out.turnsPerCoil = std::max(1, static_cast<int>(std::lround(turns)));
    out.cutInRpm = (batteryVolts + design.rectifierDropVolts) / (perTurn.voltsPerRpm * out.turnsPerCoil);
    // The wires of a turn side by side in layers across the stator, filling the room.
    const double wire = std::sqrt(room / (out.turnsPerCoil * design.stator.wiresInHand));
    out.thickestWireM = std::floor(wire * 1e5) / 1e5;
    AlternatorDesign wound = design;
    wound.stator.turnsPerCoil = out.turnsPerCoil;
    wound.stator.wireDiameterM = out.thickestWireM;
    wound.batteryVolts = batteryVolts;
    out.windingOhms20 = designAlternator(wound).windingOhms20;
    return out;
}

}  // namespace tivora::performance
