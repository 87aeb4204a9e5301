#include "problem_words.h"

#include "performance/physics.h"
#include "performance/report.h"

#include <QCoreApplication>

#include <cmath>

namespace tivora {

using namespace performance;

namespace {

QString tr(const char* text, const char* disambiguation = nullptr, int n = -1)
{
    return QCoreApplication::translate("tivora::PerformanceWindow", text, disambiguation, n);
}

QString withUnit(const QString& figure, const QString& unit)
{
    return unit.isEmpty() ? figure : figure + u' ' + unit;
}

// The figure as shown, with its unit.
QString shown(const InputEntry& entry, double si, UnitSystem system, const NumberFormat& format)
{
    return withUnit(shownFigure(shownFromSi(entry.quantity, system, si), entry.decimals, format),
                    QString::fromStdString(unitOf(entry.quantity, system)));
}

QString boundsText(const Bounds& b, const InputEntry& entry, UnitSystem system, const NumberFormat& format)
{
    const bool low = std::isfinite(b.low), high = std::isfinite(b.high);
    const QString from = low ? shown(entry, b.low, system, format) : QString();
    const QString to = high ? shown(entry, b.high, system, format) : QString();
    if (low && high && b.lowIncluded && b.highIncluded)
        return tr("from %1 to %2")
            .arg(shownFigure(shownFromSi(entry.quantity, system, b.low), entry.decimals, format), to);
    QStringList parts;
    if (low)
        parts << (b.lowIncluded ? tr("%1 or more").arg(from) : tr("above %1").arg(from));
    if (high)
        parts << (b.highIncluded ? tr("at most %1").arg(to) : tr("below %1").arg(to));
    return parts.join(tr(" and "));
}

}  // namespace

QString shownFigure(double value, int decimals, const NumberFormat& format)
{
    return QString::fromStdString(formatNumber(roundTo(value, decimals), format));
}

QString defaultPlaceholder(DerivedDefault derived, const QString& figure)
{
    switch (derived) {
    case DerivedDefault::StandardTemperature:
        return tr("standard, %1").arg(figure);
    case DerivedDefault::DesignPower:
    case DerivedDefault::DesignWindSpeed:
        return tr("the design's, %1").arg(figure);
    case DerivedDefault::MatchedCurrent:
        return tr("battery V ÷ R, %1").arg(figure);
    case DerivedDefault::CarvedMass:
        return tr("as carved, %1").arg(figure);
    case DerivedDefault::MeasuredHeight:
        return tr("as measured, %1").arg(figure);
    case DerivedDefault::None:
        break;
    }
    return figure;
}

QString captionText(const InputEntry& entry)
{
    return tr(entry.caption.data());
}

QString stateText(OperatingState state)
{
    return tr(stateWords(state).data());
}

QString senseWords(const InputEntry& entry, const AnalysisInputs& inputs, const DesignFigures& design,
                   UnitSystem system, const NumberFormat& format)
{
    QString words = tr("No physical sense: expected %1.").arg(boundsText(entry.sensible, entry, system, format));
    for (const InputEntry& other : inputTable()) {
        const bool first = entry.below == other.id, second = other.below == entry.id;
        if (first || second) {
            words = first ? tr("No physical sense: %1 must stay below %2, %3.")
                          : tr("No physical sense: %1 must stay above %2, %3.");
            words = words.arg(captionText(entry), captionText(other).toLower(),
                              shown(other, valueOf(inputs, other.id, design), system, format));
            if (!entry.sensible.holds(*inputs.typed(entry.id)))
                words += u' ' + tr("Expected %1.").arg(boundsText(entry.sensible, entry, system, format));
        }
    }
    return words;
}

QString fileProblemWords(InputId input, const QString& fileName, const Problem& problem)
{
    const QString where = QString::fromStdString(problem.message);
    switch (input) {
    case InputId::Polar:
        return tr("\"%1\" is no polar: %2.").arg(fileName, where);
    case InputId::Measured:
        return tr("\"%1\" is no power curve: %2.").arg(fileName, where);
    case InputId::WindSeries:
        return tr("\"%1\" is no wind series: %2.").arg(fileName, where);
    default:
        return tr("\"%1\" cannot be used: %2.").arg(fileName, where);
    }
}

QString problemText(const Problem& problem, const AnalysisInputs& inputs, const DesignFigures& design,
                    UnitSystem system, const NumberFormat& format)
{
    const QString detail = QString::fromStdString(problem.message);
    if (problem.input) {
        const InputEntry& entry = entryOf(*problem.input);
        const QString value = shown(entry, valueOf(inputs, entry.id, design), system, format);
        switch (problem.kind) {
        case ProblemKind::InputOutside:
            return tr("%1 of %2 cannot be analysed: it must be %3.")
                .arg(captionText(entry), value, boundsText(problem.bounds, entry, system, format));
        case ProblemKind::AboveBetz:
            return tr("The analysis gives a power coefficient of %1 at λ %2, above Betz's limit 16/27: the "
                      "airfoil's lift and drag there (from %3) cannot be trusted. Check the airfoil.")
                .arg(shownFigure(problem.figures.at(0), 2, format), shownFigure(problem.figures.at(1), 2, format),
                     captionText(entry));
        case ProblemKind::InputNotBelow: {
            const InputEntry& other = entryOf(*problem.other);
            return tr("%1 (%2) must be below %3 (%4).")
                .arg(captionText(entry), value, captionText(other).toLower(),
                     shown(other, valueOf(inputs, other.id, design), system, format));
        }
        case ProblemKind::FileNotLoaded:
            return tr("The design was saved with the file \"%1\": load it again with \"%2…\", or press \"%3\".")
                .arg(QString::fromStdString(inputs.file(entry.id).name), captionText(entry),
                     tr(entry.removeCaption.data()));
        default:
            if (entry.kind == InputKind::File)
                return fileProblemWords(entry.id, QString::fromStdString(inputs.file(entry.id).name), problem);
            return tr("%1 cannot be analysed: %2.").arg(captionText(entry), detail);
        }
    }
    switch (problem.kind) {
    case ProblemKind::SheetNotSolved:
        return tr("The design has not been solved yet: press Solve! in the main window, and its rotor is "
                  "analysed here.");
    case ProblemKind::BladeNotUsable:
        return tr("The blade cannot be analysed: %1.").arg(detail);
    case ProblemKind::AirfoilNotUsable:
        return tr("The airfoil cannot be analysed: %1.").arg(detail);
    default:
        return tr("The design cannot be analysed: %1.").arg(detail);
    }
}

QString leftOutText(const SiteSeries& site, const NumberFormat& format)
{
    const WindSeries& s = site.series;
    const auto first = [](const LeftOut& left, bool withText) {
        return withText
                   ? tr("the first at line %1: \"%2\"").arg(left.firstLine).arg(QString::fromStdString(left.firstText))
                   : tr("the first at line %1").arg(left.firstLine);
    };
    // Said in full, one or many: the program carries no plural forms.
    const auto count = [&format](long n, const char* one, const char* many) {
        return tr(n == 1 ? one : many).arg(shownFigure(static_cast<double>(n), 0, format));
    };
    QStringList parts;
    if (s.codes.count)
        parts << count(s.codes.count, "%1 cell that holds no number", "%1 cells that hold no number") +
                     QStringLiteral(" (") + first(s.codes, true) + u')';
    if (s.gaps.count)
        parts << count(s.gaps.count, "%1 empty cell", "%1 empty cells") + QStringLiteral(" (") + first(s.gaps, false) +
                     u')';
    if (s.outOfRange.count)
        parts << count(s.outOfRange.count, "%1 speed out of range", "%1 speeds out of range") + QStringLiteral(" (") +
                     first(s.outOfRange, true) + u')';
    const QString listed = parts.size() > 1
                               ? QStringList(parts.mid(0, parts.size() - 1)).join(tr(", ")) + tr(" and ") + parts.back()
                               : parts.join(QString());
    return tr("Of the %1 records of \"%2\", these were left out: %3.")
        .arg(shownFigure(static_cast<double>(s.lines), 0, format), QString::fromStdString(site.fileName), listed);
}

QString warningText(const Warning& warning, const Analysis& analysis, UnitSystem system, const NumberFormat& format)
{
    switch (warning.kind) {
    case WarningKind::EfficiencyAboveBetz:
        return tr("The blade efficiency %1 is above the Betz limit, 16/27 = %2: no rotor takes more of the wind's "
                  "power, so the generator power of %3 W is more than any rotor gives.")
            .arg(shownFigure(warning.figure, 3, format), shownFigure(kBetzLimit, 3, format),
                 shownFigure(analysis.generatorWatts, 1, format));
    case WarningKind::AlphaPastStall:
        return tr("The angle of attack %1° is past the airfoil's stall at %2°: the blade is drawn for an airfoil "
                  "that has stalled.")
            .arg(shownFigure(analysis.designAlphaDegrees, 2, format), shownFigure(warning.figure, 1, format));
    case WarningKind::ElementsUnsolved:
        return tr("%n blade element(s) found no inflow angle; they are counted as carrying no load.", nullptr,
                  static_cast<int>(warning.figure));
    case WarningKind::PolarReynoldsAway:
        return tr("The polar was computed at a Reynolds number of %1, more than a factor of two from the blade's %2 "
                  "at three quarters of its radius: its lift and drag may not be the blade's.")
            .arg(shownFigure(warning.figure, 0, format), shownFigure(analysis.reynoldsAtThreeQuarters, 0, format));
    case WarningKind::MostlyLost:
        if (!analysis.onAlternator)
            break;
        return tr("From %1 %2 the battery gets less than 40 % of the rotor's power, within the current rating of "
                  "%3 A: the winding and the rectifier take the rest.")
            .arg(shownFigure(shownFromSi(Quantity::WindSpeed, system, warning.figure), 1, format),
                 QString::fromStdString(unitOf(Quantity::WindSpeed, system)),
                 shownFigure(analysis.limits.currentRatingAmps, 1, format));
    case WarningKind::HubBelowTip:
        return tr("The hub height is not above the blade's tip radius: the blade would strike the ground.");
    case WarningKind::SeriesLeftOut:
        if (analysis.siteWind.series)
            return leftOutText(*analysis.siteWind.series, format);
        break;
    case WarningKind::NotSensible:
        break;
    }
    return {};
}

}  // namespace tivora
