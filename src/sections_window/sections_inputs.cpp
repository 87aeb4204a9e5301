// The Blade Sections window's typed inputs: shown in the main window's
// units, read in the user's number format, taken only when they make sense.

#include "sections_window.h"
#include "workshop/carving_table.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

namespace tivora {

using namespace workshop;

namespace {

// The main window's tint for an input that makes no physical sense, with
// dark text on it whatever the palette.
const QColor kWarningTint(255, 228, 160);

}  // namespace

double SectionsWindow::siOf(WorkshopInput which) const
{
    switch (which) {
    case WorkshopInput::RootThickness:
        return inputs_.thickness.root;
    case WorkshopInput::TipThickness:
        return inputs_.thickness.tip;
    case WorkshopInput::LeastThickness:
        return inputs_.thickness.least;
    case WorkshopInput::PlankWidth:
        return inputs_.plankWidth;
    case WorkshopInput::LargestChord:
        // Follows the plank's width until the user types one of its own.
        return inputs_.largestChord.value_or(inputs_.plankWidth);
    case WorkshopInput::WoodDensity:
        break;
    }
    return inputs_.woodDensity;
}

double SectionsWindow::shownValue(const Input& input) const
{
    const double si = siOf(input.which);
    switch (input.shown) {
    case Shown::Percent:
        return si * 100;
    case Shown::Across:
        return shownFromSi(WorkshopQuantity::Across, shownSystem_, si);
    case Shown::Density:
        break;
    }
    return shownFromSi(WorkshopQuantity::Density, shownSystem_, si);
}

QString SectionsWindow::figure(double value, int decimals) const
{
    return QString::fromStdString(formatNumber(roundTo(value, decimals), sheet_.numberFormat()));
}

void SectionsWindow::showInputs()
{
    shownSystem_ = sheet_.selectedSystem();
    showing_ = true;
    for (Input& input : fields_) {
        const QString caption = QStringLiteral("%1 (%2)").arg(input.caption, unitOf(input.shown));
        input.label->setText(caption + u':');
        input.edit->setAccessibleName(caption);
        const double shown = shownValue(input);
        // A text that already reads as the figure stays as the user typed it.
        const ReadResult typed = parseNumber(input.edit->text().toStdString(), sheet_.numberFormat());
        if (typed.status != ReadStatus::Ok ||
            roundTo(typed.value, decimalsOf(input.shown)) != roundTo(shown, decimalsOf(input.shown)))
            input.edit->setText(figure(shown, decimalsOf(input.shown)));
        mark(input, {});
    }
    const bool rootToTip = inputs_.thickness.rule == ThicknessRule::RootToTip;
    rootToTip_->setChecked(rootToTip);
    ownThickness_->setChecked(!rootToTip);
    cap_->setChecked(inputs_.capChord);
    straight_->setChecked(inputs_.straightBetween.has_value());
    if (inputs_.straightBetween) {
        straightFrom_->setValue(inputs_.straightBetween->first);
        straightTo_->setValue(inputs_.straightBetween->second);
    }
    for (Input& input : fields_) {
        if (input.which == WorkshopInput::RootThickness || input.which == WorkshopInput::TipThickness)
            input.edit->setEnabled(rootToTip);
        if (input.which == WorkshopInput::LargestChord)
            input.edit->setEnabled(inputs_.capChord);
    }
    showing_ = false;
    const Section shown = section();
    airfoil_->setText(
        fileProfile_ ? tr("%1, from \"%2\"")
                           .arg(QString::fromStdString(shown.own.name), QString::fromStdString(inputs_.coordinatesFile))
                     : tr("%1, from the main window's airfoil").arg(QString::fromStdString(shown.own.name)));
}

void SectionsWindow::mark(Input& input, const QString& why)
{
    QPalette palette = input.edit->palette();
    palette.setColor(QPalette::Base, why.isEmpty() ? this->palette().color(QPalette::Base) : kWarningTint);
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Text,
                         why.isEmpty() ? this->palette().color(group, QPalette::Text) : QColor(Qt::black));
    }
    input.edit->setPalette(palette);
    input.edit->setToolTip(why);
    input.edit->setAccessibleDescription(why);
}

void SectionsWindow::inputEdited(Input& input)
{
    if (showing_)
        return;
    const ReadResult read = parseNumber(input.edit->text().toStdString(), sheet_.numberFormat());
    if (read.status != ReadStatus::Ok) {
        mark(input, tr("\"%1\" is not a number.").arg(input.edit->text()));
        return;
    }
    double si = read.value;
    if (input.shown == Shown::Percent)
        si = read.value / 100;
    else if (input.shown == Shown::Across)
        si = siFromShown(WorkshopQuantity::Across, shownSystem_, read.value);
    else
        si = siFromShown(WorkshopQuantity::Density, shownSystem_, read.value);
    if (const auto why = senselessReason(input.which, si)) {
        // Not taken: the sections stay as they were until it makes sense.
        mark(input, tr("Expected %1; the sections do not change until it is.").arg(QString::fromStdString(*why)));
        return;
    }
    mark(input, {});
    switch (input.which) {
    case WorkshopInput::RootThickness:
        inputs_.thickness.root = si;
        break;
    case WorkshopInput::TipThickness:
        inputs_.thickness.tip = si;
        break;
    case WorkshopInput::LeastThickness:
        inputs_.thickness.least = si;
        break;
    case WorkshopInput::PlankWidth:
        inputs_.plankWidth = si;
        break;
    case WorkshopInput::LargestChord:
        inputs_.largestChord = si;
        break;
    case WorkshopInput::WoodDensity:
        inputs_.woodDensity = si;
        break;
    }
    inputsChanged();
}

}  // namespace tivora
