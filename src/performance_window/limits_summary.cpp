#include "limits_summary.h"

#include "performance/report.h"
#include "problem_words.h"
#include "sheet/unit_conversions.h"

#include <QCoreApplication>

namespace tivora {

using namespace performance;

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("tivora::PerformanceWindow", text);
}

QString speed(double metresPerSecond, UnitSystem system, const NumberFormat& format, int decimals = 1)
{
    return QStringLiteral("%1 %2").arg(
        shownFigure(shownFromSi(Quantity::WindSpeed, system, metresPerSecond), decimals, format),
        QString::fromStdString(unitOf(Quantity::WindSpeed, system)));
}

}  // namespace

QString limitsSummary(const Analysis& a, UnitSystem system, const NumberFormat& format)
{
    QStringList parts;
    parts << (a.limits.furlOnsetMps ? tr("Furls from %1").arg(speed(*a.limits.furlOnsetMps, system, format))
                                    : tr("No furling tail"));
    const QString limit = speed(a.limits.tipSpeedLimitMps, system, format, 0);
    const std::optional<double> tipPast = firstPastTipLimit(a.curve());
    parts << (tipPast ? tr("tip past %1 from %2").arg(limit, speed(*tipPast, system, format))
                      : tr("tip within %1").arg(limit));
    const Runaway& runaway = a.runaway();
    parts << (runaway.pastLimitMps
                  ? tr("unloaded it runs away to λ %1, its tip past %2 from %3")
                        .arg(shownFigure(runaway.tsr, 2, format), limit, speed(*runaway.pastLimitMps, system, format))
                  : tr("unloaded it runs away to λ %1, its tip within %2")
                        .arg(shownFigure(runaway.tsr, 2, format), limit));
    if (a.onAlternator) {
        const QString rating = shownFigure(a.limits.currentRatingAmps, 1, format);
        const std::optional<double> hot = firstOverheating(a.curve());
        parts << (hot ? tr("overheats from %1 (rating %2 A)").arg(speed(*hot, system, format), rating)
                      : tr("winding within its rating of %1 A").arg(rating));
    }
    parts << tr("parked in %1: thrust %2 N, blade root %3 N·m")
                 .arg(speed(a.survivalWindMps, system, format), shownFigure(a.parked.thrustN, 0, format),
                      shownFigure(a.parked.rootMomentNm, 0, format));
    return parts.join(QStringLiteral(" · ")) + tr(". Figures for a first sizing, not a certification.");
}

QString trimCostSummary(const Analysis& a, UnitSystem system, const NumberFormat& format)
{
    if (!a.trimCost)
        return {};
    const workshop::Trim& trim = a.trimCost->trim;
    QStringList how;
    if (trim.largestChord) {
        const bool imperial = system == UnitSystem::Imperial;
        how << tr("chord at most %1 %2")
                   .arg(shownFigure(*trim.largestChord * (imperial ? units::kInchesPerMetre : 1000), imperial ? 2 : 0,
                                    format),
                        imperial ? tr("in") : tr("mm"));
    }
    if (trim.straightBetween)
        how << tr("straight from station %1 to %2").arg(trim.straightBetween->first).arg(trim.straightBetween->second);
    const CurveEnergy& before = a.onAlternator ? a.trimCost->alternatorBefore : a.trimCost->heldBefore;
    return tr("Trimmed for carving (%1), the blade costs: Cp max %2 → %3, %4 → %5 kWh a year.")
        .arg(how.join(tr(", ")), QString::fromStdString(figureText(a.trimCost->peakCpBefore, 3, format)),
             QString::fromStdString(figureText(a.cp.peakCp, 3, format)),
             shownFigure(before.energy.kilowattHours, 0, format),
             shownFigure(a.energy().energy.kilowattHours, 0, format));
}

}  // namespace tivora
