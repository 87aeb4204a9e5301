// Showing the inputs: every widget set from the inputs held, and what the
// user types taken back into them.

#include "input_form.h"

#include "performance/analysis.h"
#include "performance/file_text.h"
#include "performance/report.h"
#include "problem_words.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace tivora {

using namespace performance;

namespace {

// The main window's tint for an input that makes no physical sense, with
// dark text on it whatever the palette.
const QColor kWarningTint(255, 228, 160);

// The decimals the user wrote after the decimal separator, or -1.
int typedDecimals(const QString& text, const NumberFormat& format)
{
    const int separator = text.indexOf(QString::fromStdString(format.decimalSeparator));
    if (separator < 0 || text.contains(u'e', Qt::CaseInsensitive))
        return -1;
    return static_cast<int>(text.size()) - separator - 1;
}

}  // namespace

void InputForm::setInputs(AnalysisInputs inputs)
{
    inputs_ = std::move(inputs);
    unreadable_.clear();
    showAll();
}

void InputForm::setDesign(UnitSystem system, const NumberFormat& format, const DesignFigures& design)
{
    system_ = system;
    format_ = format;
    design_ = design;
    showAll();
}

std::optional<InputId> InputForm::unreadable() const
{
    if (unreadable_.empty())
        return std::nullopt;
    return unreadable_.begin()->first;
}

void InputForm::showDensity(std::optional<double> densityKgM3)
{
    density_->setText(densityKgM3 ? tr("%1 kg/m³").arg(shownFigure(*densityKgM3, 3, format_)) : QString());
}

QString InputForm::captionOf(const InputEntry& entry) const
{
    const QString unit = QString::fromStdString(unitOf(entry.quantity, system_));
    const QString caption = tr(entry.caption.data());
    return unit.isEmpty() ? caption : QStringLiteral("%1 (%2)").arg(caption, unit);
}

void InputForm::edited(Row& row)
{
    const InputEntry& entry = *row.entry;
    const QString text = row.edit->text().trimmed();
    unreadable_.erase(entry.id);
    if (text.isEmpty()) {
        inputs_.setTyped(entry.id, std::nullopt);
    } else if (const ReadResult read = parseNumber(text.toStdString(), format_); read.status == ReadStatus::Ok) {
        // The decimals typed say something only where the figure is the SI one.
        const bool asSaved =
            shownFromSi(entry.quantity, system_, 1) == 1 && shownFromSi(entry.quantity, system_, 0) == 0;
        inputs_.setTyped(entry.id, siFromShown(entry.quantity, system_, read.value),
                         asSaved ? typedDecimals(text, format_) : -1);
    } else {
        unreadable_[entry.id] = text;
    }
    showAll();
    emit inputsChanged();
}

void InputForm::showAll()
{
    for (auto& [id, row] : rows_) {
        const InputEntry& entry = *row.entry;
        switch (entry.kind) {
        case InputKind::Number:
            showNumber(row);
            break;
        case InputKind::File: {
            const InputFile& file = inputs_.file(id);
            row.fileName->setText(file.name.empty() ? QString()
                                  : file.text       ? tr("Loaded: %1").arg(QString::fromStdString(file.name))
                                                    : tr("\"%1\" is named by the design but not loaded: load it again")
                                                    .arg(QString::fromStdString(file.name)));
            row.fileName->setVisible(!file.name.empty());
            row.remove->setEnabled(!file.name.empty());
            break;
        }
        case InputKind::Choice:
            if (row.list) {
                row.list->setCurrentIndex(inputs_.choice(id));
                row.list->setEnabled(inputs_.enabled(entry));
                row.list->setToolTip(row.list->currentText());  // whole, where the list is narrow
            } else if (QAbstractButton* chosen = row.choices->button(inputs_.choice(id))) {
                chosen->setChecked(true);
            }
            break;
        case InputKind::Design:
            break;
        }
    }
}

void InputForm::showNumber(Row& row)
{
    const InputEntry& entry = *row.entry;
    const QString caption = captionOf(entry);
    row.label->setText(caption + u':');
    row.edit->setAccessibleName(caption);
    row.edit->setEnabled(inputs_.enabled(entry));
    if (row.hiddenUnlessPlaced) {
        const bool placed = inputs_.state(entry.placedUnder->input) == entry.placedUnder->state;
        row.label->setVisible(placed);
        row.edit->setVisible(placed);
    }
    const double si = valueOf(inputs_, entry.id, design_);
    const double shown = shownFromSi(entry.quantity, system_, si);
    row.edit->setPlaceholderText(entry.derived == DerivedDefault::None
                                     ? QString()
                                     : defaultPlaceholder(entry.derived, shownFigure(shown, entry.decimals, format_)));
    // What an empty field says it stands for is read whole.
    const int placeholder = row.edit->fontMetrics().horizontalAdvance(row.edit->placeholderText() + u' ') +
                            row.edit->contentsMargins().left() + row.edit->contentsMargins().right() + 8;
    row.edit->setMinimumWidth(std::max(minimumFieldWidth(row.edit), placeholder));
    if (const auto bad = unreadable_.find(entry.id); bad != unreadable_.end()) {
        mark(row.edit, tr("\"%1\" is not a number.").arg(bad->second));
        return;
    }
    const std::optional<double> typed = inputs_.typed(entry.id);
    QString text;
    if (typed || entry.derived == DerivedDefault::None) {
        // A text that already reads as the figure stays as the user typed it.
        const ReadResult now = parseNumber(row.edit->text().toStdString(), format_);
        const bool same = now.status == ReadStatus::Ok &&
                          std::abs(siFromShown(entry.quantity, system_, now.value) - si) <= 1e-12 * std::abs(si);
        const int decimals = inputs_.typedDecimals(entry.id);
        text = same ? row.edit->text()
               : decimals >= 0 && shownFromSi(entry.quantity, system_, 1) == 1
                   ? QString::fromStdString(figureText(shown, decimals, format_))
                   : shownFigure(shown, entry.decimals, format_);
    }
    if (row.edit->text() != text)
        row.edit->setText(text);
    mark(row.edit,
         sensible(inputs_, entry.id, design_) ? QString() : senseWords(entry, inputs_, design_, system_, format_));
}

void InputForm::mark(QLineEdit* edit, const QString& why)
{
    QPalette palette = this->palette();
    if (!why.isEmpty()) {
        palette.setColor(QPalette::Base, kWarningTint);
        palette.setColor(QPalette::Text, Qt::black);
    }
    edit->setPalette(palette);
    edit->setToolTip(why);
    edit->setAccessibleDescription(why);
}

QString InputForm::loadFile(InputId id, const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    // The core's reader: a regular file within the bound, never a folder,
    // a device or a pipe that may never end.
    Result<std::string> read = readTextFile(QFile::encodeName(path).toStdString());
    if (!read)
        return tr("\"%1\" could not be read: %2.").arg(name, QString::fromStdString(read.problem().message));
    std::string text = std::move(read.value());
    if (const std::optional<Problem> problem = checkFile(id, text))
        return fileProblemWords(id, name, *problem);
    inputs_.setFile(id, {name.toStdString(), std::move(text)});
    showAll();
    emit inputsChanged();
    return {};
}

}  // namespace tivora
