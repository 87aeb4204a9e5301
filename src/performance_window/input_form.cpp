#include "input_form.h"

#include "performance/analysis.h"
#include "performance/report.h"
#include "problem_words.h"

#include <QButtonGroup>
#include <QComboBox>
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

}  // namespace

// Room for a figure of a few digits; no wider than three times that.
int InputForm::minimumFieldWidth(const QLineEdit* edit)
{
    return edit->fontMetrics().horizontalAdvance(QStringLiteral("000000.00"));
}

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
    for (const InputEntry& entry : inputTable()) {
        if (entry.group != group || entry.kind == InputKind::Design || entry.placedUnder)
            continue;
        Row& row = rows_[entry.id] = Row{&entry};
        switch (entry.kind) {
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
    row.edit->setObjectName(QString::fromUtf8(row.entry->name));
    row.edit->setMinimumWidth(minimumFieldWidth(row.edit));
    row.edit->setMaximumWidth(minimumFieldWidth(row.edit) * 3);
    row.label = new QLabel;
    row.label->setBuddy(row.edit);
    const int at = grid->rowCount();
    grid->addWidget(row.label, at, 0);
    grid->addWidget(row.edit, at, 1);
    connect(row.edit, &QLineEdit::textEdited, this, [this, id = row.entry->id] { edited(rowOf(id)); });
}

void InputForm::addFile(QGridLayout* grid, Row& row)
{
    const InputEntry& entry = *row.entry;
    auto* buttons = new QHBoxLayout;
    auto* load = new QPushButton(tr("%1…").arg(captionText(entry)));
    load->setObjectName(QString::fromUtf8(entry.name));
    row.remove = new QPushButton(tr(entry.removeCaption.data()));
    row.remove->setObjectName(QString::fromUtf8(entry.name) + QStringLiteral("Remove"));
    buttons->addWidget(load);
    buttons->addWidget(row.remove);
    buttons->addStretch();
    row.fileName = new QLabel;
    row.fileName->setObjectName(QString::fromUtf8(entry.name) + QStringLiteral("Name"));
    row.fileName->setWordWrap(true);
    const int at = grid->rowCount();
    grid->addLayout(buttons, at, 0, 1, 2);
    grid->addWidget(row.fileName, at + 1, 0, 1, 2);
    connect(load, &QPushButton::clicked, this, [this, id = entry.id, title = load->text()] {
        if (!chooseFile)
            return;
        if (const QString path = chooseFile(title); !path.isEmpty()) {
            if (const QString refused = loadFile(id, path); !refused.isEmpty())
                emit fileRefused(refused);
        }
    });
    connect(row.remove, &QPushButton::clicked, this, [this, id = entry.id] {
        inputs_.setFile(id, {});
        showAll();
        emit inputsChanged();
    });
}

void InputForm::addChoice(QGridLayout* grid, Row& row)
{
    const InputId id = row.entry->id;
    const bool placesInputs = std::any_of(inputTable().begin(), inputTable().end(), [id](const InputEntry& under) {
        return under.placedUnder && under.placedUnder->input == id;
    });
    // A choice of many options, or of none with inputs under them, is a
    // list beside its caption.
    if (!placesInputs || row.entry->choices.size() > kMostRadioOptions) {
        addList(grid, row);
        return;
    }
    row.choices = new QButtonGroup(this);
    for (std::size_t k = 0; k < row.entry->choices.size(); ++k) {
        const ChoiceOption& option = row.entry->choices[k];
        auto* radio = new QRadioButton(tr(option.caption.data()));
        radio->setObjectName(QString::fromUtf8(row.entry->name) + u'.' + QString::fromUtf8(option.key));
        row.choices->addButton(radio, static_cast<int>(k));
        grid->addWidget(radio, grid->rowCount(), 0, 1, 2);
        for (const InputEntry& under : inputTable()) {
            if (!under.placedUnder || under.placedUnder->input != row.entry->id ||
                under.placedUnder->state != static_cast<int>(k))
                continue;
            Row& placed = rows_[under.id] = Row{&under};
            addNumber(grid, placed);
        }
    }
    connect(row.choices, &QButtonGroup::idClicked, this, [this, id = row.entry->id](int option) {
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
    row.list->setObjectName(QString::fromUtf8(row.entry->name));
    // As wide as a figure's field where the window is narrow, its longest
    // option elided; wider where there is room.
    row.list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    row.list->setMinimumContentsLength(12);
    for (const ChoiceOption& option : row.entry->choices)
        row.list->addItem(tr(option.caption.data()));
    row.label = new QLabel(tr("%1:").arg(captionText(*row.entry)));
    row.label->setBuddy(row.list);
    row.list->setAccessibleName(captionText(*row.entry));
    const int at = grid->rowCount();
    grid->addWidget(row.label, at, 0);
    grid->addWidget(row.list, at, 1);
    // The rows under an option follow the list, shown while it is chosen.
    for (const InputEntry& under : inputTable()) {
        if (!under.placedUnder || under.placedUnder->input != row.entry->id)
            continue;
        Row& placed = rows_[under.id] = Row{&under};
        placed.hiddenUnlessPlaced = true;
        addNumber(grid, placed);
    }
    connect(row.list, &QComboBox::activated, this, [this, id = row.entry->id](int option) {
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
    return findChild<QWidget*>(QString::fromUtf8(found->second.entry->name));
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

}  // namespace tivora
