#pragma once

// A home-built axial-flux alternator designed, not guessed: from its magnets
// and coils (or one test coil) to the figures the analysis's Alternator
// takes (volts per rpm, winding resistance), its current rating, and the
// turns per coil that make it cut in where the builder wants.
//
// The machine: one or two steel discs carrying rectangular blocks, their
// poles alternating round a ring; between them an air-cored stator of
// `coils` coils (three phases, coils/3 in series in each, all in phase as
// with 3 coils to 4 poles), star or delta, into a battery through a
// three-phase bridge. Sources (README, "The alternator designed"):
// - the field of a uniformly magnetised block by the charge (Coulombian)
//   model, and a steel disc as an infinitely permeable plane that mirrors
//   the magnet (method of images): E. P. Furlani, "Permanent Magnet and
//   Electromechanical Devices", Academic Press, 2001;
// - the EMF of a coil in a sinusoidal flux, E = π√2 f N Φ (the
//   transformer equation), f = poles × rpm / 120;
// - annealed copper, IEC 60028: 1/58 Ω·mm²/m at 20 °C, 0.00393 /K;
// - a six-pulse bridge charging a battery: it conducts once the peak line
//   voltage passes the battery's and two diodes'; its line current is
//   √(2/3) of the direct current.

#include "result.h"

#include <optional>
#include <string_view>

namespace tivora::performance {

// Remanence of a grade at 20 °C: the lower end of the range makers publish.
struct MagnetGrade {
    std::string_view key;      // "N42", "ferrite"
    std::string_view caption;  // "N42 (1.28 T)"
    double remanenceT;
};
// The lower ends of the remanence ranges in makers' grade tables for
// sintered NdFeB (a 42 grade: 1.28 to 1.33 T), and sintered hard ferrite.
inline constexpr MagnetGrade kMagnetGrades[] = {
    {"N35", "N35 (1.17 T)", 1.17}, {"N38", "N38 (1.22 T)", 1.22}, {"N40", "N40 (1.26 T)", 1.26},
    {"N42", "N42 (1.28 T)", 1.28}, {"N45", "N45 (1.32 T)", 1.32}, {"N48", "N48 (1.37 T)", 1.37},
    {"N50", "N50 (1.40 T)", 1.40}, {"N52", "N52 (1.43 T)", 1.43}, {"ferrite", "Ferrite (0.38 T)", 0.38},
};

enum class Winding { Star, Delta };

struct RotorMagnets {
    int perRotor = 12;          // poles
    double lengthM = 0.046;     // along the radius
    double widthM = 0.030;      // along the circle
    double thicknessM = 0.010;  // along the axis
    double remanenceT = 1.26;
    int rotors = 2;                // steel discs with magnets; one: the stator's far side is open
    double ringDiameterM = 0.300;  // across the magnets' outer ends
};

struct StatorCoils {
    double airGapM = 0.002;  // between each magnet face and the stator
    double thicknessM = 0.013;
    int coils = 9;
    int turnsPerCoil = 60;
    double wireDiameterM = 0.0014;  // bare copper
    int wiresInHand = 1;
    Winding winding = Winding::Star;
};

// One coil wound like the others, spun on the magnets: its rms volts at an rpm.
struct TestCoil {
    double turns = 50;
    double voltsRms = 2;
    double rpm = 100;
};

struct AlternatorDesign {
    RotorMagnets magnets;
    StatorCoils stator;
    std::optional<TestCoil> testCoil;  // measured, instead of the magnets' field
    double cableLengthM = 20;          // one way, two conductors in the path
    double cableSectionM2 = 6e-6;
    double batteryVolts = 24;
    double rectifierDropVolts = 1.4;    // the bridge's: two diodes in the path
    double currentDensityAPerM2 = 4e6;  // the winding's continuous limit
};

// The coil as wound round a hole the size of the magnet's face, its legs as
// wide as its turns need (layers of round wire, each in a square of its
// diameter, across the stator's thickness).
struct CoilShape {
    double ringRadiusM = 0;      // of the magnets' centres
    double roomLegM = 0;         // the widest leg the coils have room for, touching at the ring
    double legWidthM = 0;        // as wound
    double meanTurnM = 0;        // the length of the turn halfway across the leg
    double copperSectionM2 = 0;  // of one turn's conductors (the wires in hand)
};

struct DesignedAlternator {
    CoilShape coil;
    double gapFluxDensityT = 0;     // at the middle of the stator, averaged over the magnet's face (from the magnets)
    double linkedFluxWb = 0;        // by the mean turn, at its peak (from the magnets)
    double voltsRmsPerTurnRpm = 0;  // one turn of one coil, per rpm
    double voltsPerRpm = 0;         // DC open circuit at the battery: the peak line voltage
    double cutInRpm = 0;
    double phaseOhms20 = 0;
    double cableOhms20 = 0;
    double windingOhms20 = 0;  // line to line through the bridge, with the cable: what the circuit sees
    double copperKg = 0;
    double currentRatingAmps = 0;  // direct current at the winding's current-density limit
};

// The magnets' field along the axis at the middle of the stator, averaged
// over a rectangle centred on a magnet (tangential × radial), with the two
// neighbours on each side; T.
double meanGapField(const RotorMagnets& magnets, const StatorCoils& stator, double tangentialM, double radialM);

CoilShape coilShape(const RotorMagnets& magnets, const StatorCoils& stator);

// The whole design; the caller has checked it (`checkedDesign`).
DesignedAlternator designAlternator(const AlternatorDesign& design);

// The turns per coil that make the alternator cut in at `cutInRpm` on a
// battery, and the thickest wire (of those wires in hand) that still fits
// the coil's room in the stator with them.
struct TurnsForCutIn {
    double batteryVolts = 0;
    int turnsPerCoil = 0;
    double cutInRpm = 0;       // with those whole turns
    double thickestWireM = 0;  // rounded down to 0.01 mm
    double windingOhms20 = 0;  // with that wire, and the cable
};
TurnsForCutIn turnsForCutIn(const AlternatorDesign& design, double batteryVolts, double cutInRpm);

// IEC 60028 annealed copper.
inline constexpr double kCopperOhmMm2PerM = 1.0 / 58;  // at 20 °C
inline constexpr double kCopperPerKelvin = 0.00393;    // at 20 °C
inline constexpr double kCopperDensityKgM3 = 8890;     // IEC 60028
double copperResistivityOhmM(double celsius);

}  // namespace tivora::performance
