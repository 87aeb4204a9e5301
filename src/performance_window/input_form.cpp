#include "input_form.h"

#include "performance/analysis.h"
#include "performance/file_text.h"
#include "performance/report.h"
#include "problem_words.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace tivora {

using namespace performance;

namespace {

// The main window's tint for an input that makes no physical sense, with
// dark text on it whatever the palette.
const QColor kWarningTint(255, 228, 160);

// The form's pages, each with its boxes in two columns (a box of no group:
// none). The blade as carved is the Blade Sections window's to set.
#define TIVORA_TR(text) QT_TRANSLATE_NOOP("tivora::InputForm", text)
constexpr InputForm::Page kPages[] = {
    {"siteAndRunning",
     TIVORA_TR("Site and running"),
     {{{InputGroup::Site, TIVORA_TR("Site")}, {InputGroup::Comparison, TIVORA_TR("Comparison")}},
      {{InputGroup::Airfoil, TIVORA_TR("Airfoil")}, {InputGroup::Running, TIVORA_TR("Running")}}}},
    {"limits",
     TIVORA_TR("Limits"),
     {{{InputGroup::Limits, TIVORA_TR("Furling and tip speed")}, {InputGroup::Loads, TIVORA_TR("Loads")}},
      {{InputGroup::Heat, TIVORA_TR("Alternator's heat")}, {InputGroup::Design, ""}}}},
};
#undef TIVORA_TR
// A choice of more options than this is a list, in one line.
constexpr std::size_t kMostRadioOptions = 3;

// Room for a figure of a few digits; no wider than three times that.
int minimumFieldWidth(const QLineEdit* edit)
{
    return edit->fontMetrics().horizontalAdvance(QStringLiteral("000000.00"));
}

// The decimals the user wrote after the decimal separator, or -1.
int typedDecimals(const QString& text, const NumberFormat& format)
{
    const int separator = text.indexOf(QString::fromStdString(format.decimalSeparator));
    if (separator < 0 || text.contains(u'e', Qt::CaseInsensitive))
        return -1;
    return static_cast<int>(text.size()) - separator - 1;
}

}  // namespace

InputForm::InputForm(QWidget* parent) : QWidget(parent)
{
    build();
    showAll();
}

void InputForm::build()
{
    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    auto* pages = new QTabWidget;
    pages->setObjectName(QStringLiteral("inputPages"));
    whole->addWidget(pages);
    for (const InputForm::Page& page : kPages) {
        auto* sheet = new QWidget;
        sheet->setObjectName(QString::fromUtf8(page.name));
        addColumns(sheet, page.columns);
        pages->addTab(sheet, tr(page.title));
    }
    // The alternator designed has a page of its own in the window.
    apart_[InputGroup::Alternator] = buildGroup(InputGroup::Alternator, tr("Alternator"));
}

void InputForm::addColumns(QWidget* page, const InputForm::Box (&boxes)[2][2])
{
    auto* columns = new QHBoxLayout(page);
    for (const auto& inColumn : boxes) {
        auto* column = new QVBoxLayout;
        for (const auto& [group, title] : inColumn) {
            if (group != InputGroup::Design)
                column->addWidget(buildGroup(group, tr(title)));
        }
        column->addStretch();
        columns->addLayout(column, 1);
    }
}

QWidget* InputForm::buildGroup(InputGroup group, const QString& title)
{
    auto* box = new QGroupBox(title);
    auto* grid = new QGridLayout(box);
    grid->setColumnStretch(1, 1);
    for (const InputSpec& spec : inputTable()) {
        if (spec.group != group || spec.kind == InputKind::Design || spec.placedUnder)
            continue;
        Row& row = rows_[spec.id] = Row{&spec};
        switch (spec.kind) {
        case InputKind::Number:
            addNumber(grid, row);
            break;
        case InputKind::File:
            addFile(grid, row);
            break;
        case InputKind::Choice:
            addChoice(grid, row);
            break;
        case InputKind::Design:
            break;
        }
    }
    if (group == InputGroup::Site) {
        density_ = new QLabel;
        density_->setObjectName(QStringLiteral("airDensity"));
        const int at = grid->rowCount();
        grid->addWidget(new QLabel(tr("Air density:")), at, 0);
        grid->addWidget(density_, at, 1);
    }
    if (group == InputGroup::Loads) {
        auto* notice = new QLabel(tr("Figures for a first sizing, not a certification: the loads are those "
                                     "of IEC 61400-2's simplified model, without its safety factors."));
        notice->setObjectName(QStringLiteral("notACertification"));
        notice->setWordWrap(true);
        grid->addWidget(notice, grid->rowCount(), 0, 1, 2);
    }
    return box;
}

QWidget* InputForm::groupBox(InputGroup group) const
{
    const auto found = apart_.find(group);
    return found == apart_.end() ? nullptr : found->second;
}

void InputForm::addNumber(QGridLayout* grid, Row& row)
{
    row.edit = new QLineEdit;
    row.edit->setObjectName(QString::fromUtf8(row.spec->name));
    row.edit->setMinimumWidth(minimumFieldWidth(row.edit));
    row.edit->setMaximumWidth(minimumFieldWidth(row.edit) * 3);
    row.label = new QLabel;
    row.label->setBuddy(row.edit);
    const int at = grid->rowCount();
    grid->addWidget(row.label, at, 0);
    grid->addWidget(row.edit, at, 1);
    connect(row.edit, &QLineEdit::textEdited, this, [this, id = row.spec->id] { edited(rowOf(id)); });
}

void InputForm::addFile(QGridLayout* grid, Row& row)
{
    const InputSpec& spec = *row.spec;
    auto* buttons = new QHBoxLayout;
    auto* load = new QPushButton(tr("%1…").arg(captionText(spec)));
    load->setObjectName(QString::fromUtf8(spec.name));
    row.remove = new QPushButton(tr(spec.removeCaption.data()));
    row.remove->setObjectName(QString::fromUtf8(spec.name) + QStringLiteral("Remove"));
    buttons->addWidget(load);
    buttons->addWidget(row.remove);
    buttons->addStretch();
    row.fileName = new QLabel;
    row.fileName->setObjectName(QString::fromUtf8(spec.name) + QStringLiteral("Name"));
    row.fileName->setWordWrap(true);
    const int at = grid->rowCount();
    grid->addLayout(buttons, at, 0, 1, 2);
    grid->addWidget(row.fileName, at + 1, 0, 1, 2);
    connect(load, &QPushButton::clicked, this, [this, id = spec.id, title = load->text()] {
        if (!chooseFile)
            return;
        if (const QString path = chooseFile(title); !path.isEmpty()) {
            if (const QString refused = loadFile(id, path); !refused.isEmpty())
                emit fileRefused(refused);
        }
    });
    connect(row.remove, &QPushButton::clicked, this, [this, id = spec.id] {
        inputs_.setFile(id, {});
        showAll();
        emit inputsChanged();
    });
}

void InputForm::addChoice(QGridLayout* grid, Row& row)
{
    const InputId id = row.spec->id;
    const bool placesInputs = std::any_of(inputTable().begin(), inputTable().end(), [id](const InputSpec& under) {
        return under.placedUnder && under.placedUnder->input == id;
    });
    // A choice of many options, or of none with inputs under them, is a
    // list beside its caption.
    if (!placesInputs || row.spec->choices.size() > kMostRadioOptions) {
        addList(grid, row);
        return;
    }
    row.choices = new QButtonGroup(this);
    for (std::size_t k = 0; k < row.spec->choices.size(); ++k) {
        const ChoiceOption& option = row.spec->choices[k];
        auto* radio = new QRadioButton(tr(option.caption.data()));
        radio->setObjectName(QString::fromUtf8(row.spec->name) + u'.' + QString::fromUtf8(option.key));
        row.choices->addButton(radio, static_cast<int>(k));
        grid->addWidget(radio, grid->rowCount(), 0, 1, 2);
        for (const InputSpec& under : inputTable()) {
            if (!under.placedUnder || under.placedUnder->input != row.spec->id ||
                under.placedUnder->state != static_cast<int>(k))
                continue;
            Row& placed = rows_[under.id] = Row{&under};
            addNumber(grid, placed);
        }
    }
    connect(row.choices, &QButtonGroup::idClicked, this, [this, id = row.spec->id](int option) {
        if (inputs_.choice(id) == option && inputs_.chosen(id))
            return;
        inputs_.setChoice(id, option);
        showAll();
        emit inputsChanged();
    });
}

void InputForm::addList(QGridLayout* grid, Row& row)
{
    row.list = new QComboBox;
    row.list->setObjectName(QString::fromUtf8(row.spec->name));
    // As wide as a figure's field where the window is narrow, its longest
    // option elided; wider where there is room.
    row.list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    row.list->setMinimumContentsLength(12);
    for (const ChoiceOption& option : row.spec->choices)
        row.list->addItem(tr(option.caption.data()));
    row.label = new QLabel(tr("%1:").arg(captionText(*row.spec)));
    row.label->setBuddy(row.list);
    row.list->setAccessibleName(captionText(*row.spec));
    const int at = grid->rowCount();
    grid->addWidget(row.label, at, 0);
    grid->addWidget(row.list, at, 1);
    // The rows under an option follow the list, shown while it is chosen.
    for (const InputSpec& under : inputTable()) {
        if (!under.placedUnder || under.placedUnder->input != row.spec->id)
            continue;
        Row& placed = rows_[under.id] = Row{&under};
        placed.hiddenUnlessPlaced = true;
        addNumber(grid, placed);
    }
    connect(row.list, &QComboBox::activated, this, [this, id = row.spec->id](int option) {
        if (inputs_.choice(id) == option && inputs_.chosen(id))
            return;
        inputs_.setChoice(id, option);
        showAll();
        emit inputsChanged();
    });
}

InputForm::Row& InputForm::rowOf(InputId id)
{
    return rows_.at(id);
}

QWidget* InputForm::control(InputId id) const
{
    const auto found = rows_.find(id);
    if (found == rows_.end())
        return nullptr;
    if (found->second.edit)
        return found->second.edit;
    return findChild<QWidget*>(QString::fromUtf8(found->second.spec->name));
}

void InputForm::reveal(InputId id)
{
    auto* pages = findChild<QTabWidget*>(QStringLiteral("inputPages"));
    QWidget* at = control(id);
    for (int i = 0; pages && at && i < pages->count(); ++i) {
        if (pages->widget(i)->isAncestorOf(at))
            pages->setCurrentIndex(i);
    }
}

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

QString InputForm::captionOf(const InputSpec& spec) const
{
    const QString unit = QString::fromStdString(unitOf(spec.quantity, system_));
    const QString caption = tr(spec.caption.data());
    return unit.isEmpty() ? caption : QStringLiteral("%1 (%2)").arg(caption, unit);
}

void InputForm::edited(Row& row)
{
    const InputSpec& spec = *row.spec;
    const QString text = row.edit->text().trimmed();
    unreadable_.erase(spec.id);
    if (text.isEmpty()) {
        inputs_.setTyped(spec.id, std::nullopt);
    } else if (const ReadResult read = parseNumber(text.toStdString(), format_); read.status == ReadStatus::Ok) {
        // The decimals typed say something only where the figure is the SI one.
        const bool asSaved = shownFromSi(spec.quantity, system_, 1) == 1 && shownFromSi(spec.quantity, system_, 0) == 0;
        inputs_.setTyped(spec.id, siFromShown(spec.quantity, system_, read.value),
                         asSaved ? typedDecimals(text, format_) : -1);
    } else {
        unreadable_[spec.id] = text;
    }
    showAll();
    emit inputsChanged();
}

void InputForm::showAll()
{
    for (auto& [id, row] : rows_) {
        const InputSpec& spec = *row.spec;
        switch (spec.kind) {
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
                row.list->setEnabled(inputs_.enabled(spec));
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
    const InputSpec& spec = *row.spec;
    const QString caption = captionOf(spec);
    row.label->setText(caption + u':');
    row.edit->setAccessibleName(caption);
    row.edit->setEnabled(inputs_.enabled(spec));
    if (row.hiddenUnlessPlaced) {
        const bool placed = inputs_.state(spec.placedUnder->input) == spec.placedUnder->state;
        row.label->setVisible(placed);
        row.edit->setVisible(placed);
    }
    const double si = valueOf(inputs_, spec.id, design_);
    const double shown = shownFromSi(spec.quantity, system_, si);
    row.edit->setPlaceholderText(spec.derived == DerivedDefault::None
                                     ? QString()
                                     : defaultPlaceholder(spec.derived, shownFigure(shown, spec.decimals, format_)));
    // What an empty field says it stands for is read whole.
    const int placeholder = row.edit->fontMetrics().horizontalAdvance(row.edit->placeholderText() + u' ') +
                            row.edit->contentsMargins().left() + row.edit->contentsMargins().right() + 8;
    row.edit->setMinimumWidth(std::max(minimumFieldWidth(row.edit), placeholder));
    if (const auto bad = unreadable_.find(spec.id); bad != unreadable_.end()) {
        mark(row.edit, tr("\"%1\" is not a number.").arg(bad->second));
        return;
    }
    const std::optional<double> typed = inputs_.typed(spec.id);
    QString text;
    if (typed || spec.derived == DerivedDefault::None) {
        // A text that already reads as the figure stays as the user typed it.
        const ReadResult now = parseNumber(row.edit->text().toStdString(), format_);
        const bool same = now.status == ReadStatus::Ok &&
                          std::abs(siFromShown(spec.quantity, system_, now.value) - si) <= 1e-12 * std::abs(si);
        const int decimals = inputs_.typedDecimals(spec.id);
        text = same ? row.edit->text()
               : decimals >= 0 && shownFromSi(spec.quantity, system_, 1) == 1
                   ? QString::fromStdString(figureText(shown, decimals, format_))
                   : shownFigure(shown, spec.decimals, format_);
    }
    if (row.edit->text() != text)
        row.edit->setText(text);
    mark(row.edit,
         sensible(inputs_, spec.id, design_) ? QString() : senseWords(spec, inputs_, design_, system_, format_));
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
