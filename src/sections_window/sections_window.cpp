#include "sections_window.h"

#include "chart/readable_colour.h"
#include "export/file_dialog.h"
#include "sections_view.h"
#include "workshop/carving_table.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace tivora {

using namespace workshop;

SectionsWindow::SectionsWindow(QWidget* main, const DesignSheet& sheet, std::function<bool()> resultsStale)
    : QWidget(main, Qt::Window), main_(main), sheet_(sheet), resultsStale_(std::move(resultsStale))
{
    setObjectName(QStringLiteral("BladeSections"));
    setWindowTitle(tr("Blade Sections"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    keepFileDialogStateInMemory();
    chooseFileToOpen = [this](const QString& title) {
        return QFileDialog::getOpenFileName(this, title, {},
                                            tr("Coordinates files (*.dat *.txt *.csv);;All files (*)"));
    };
    chooseFileToSave = [this](const QString& title, const QString& proposed, const QString& suffix) {
        return tivora::chooseFileToSave(this, title, proposed, tr("%1 files (*.%2)").arg(suffix.toUpper(), suffix),
                                        suffix);
    };
    pending_ = new QTimer(this);
    pending_->setSingleShot(true);
    pending_->setInterval(0);
    connect(pending_, &QTimer::timeout, this, [this] {
        showInputs();
        recarve();
    });
    build();
    if (main_)
        main_->installEventFilter(this);
    showInputs();
    recarve();
    placeBesideMain();
}

void SectionsWindow::addInput(QFormLayout* form, WorkshopInput which, const char* objectName, const QString& caption,
                              Shown shown)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(objectName));
    auto* label = new QLabel;
    label->setBuddy(edit);
    form->addRow(label, edit);
    fields_.push_back({which, shown, edit, label, caption});
    const std::size_t index = fields_.size() - 1;
    connect(edit, &QLineEdit::textEdited, this, [this, index] { inputEdited(fields_[index]); });
}

QWidget* SectionsWindow::buildInputs()
{
    auto* column = new QWidget;
    auto* inputs = new QVBoxLayout(column);
    inputs->setContentsMargins(0, 0, 0, 0);

    auto* airfoil = new QGroupBox(tr("Section"));
    auto* airfoilLayout = new QVBoxLayout(airfoil);
    airfoil_ = new QLabel;
    airfoil_->setObjectName(QStringLiteral("sectionName"));
    airfoil_->setWordWrap(true);
    airfoilLayout->addWidget(airfoil_);
    auto* buttons = new QHBoxLayout;
    auto* file = new QPushButton(tr("Coordinates File…"));
    file->setObjectName(QStringLiteral("coordinatesFile"));
    auto* fromMain = new QPushButton(tr("Main Window's Airfoil"));
    fromMain->setObjectName(QStringLiteral("mainWindowAirfoil"));
    fromMain->setToolTip(tr("The NACA four-digit section the main window's airfoil names (a NACA 4412 when it names "
                            "none)"));
    buttons->addWidget(file);
    buttons->addWidget(fromMain);
    airfoilLayout->addLayout(buttons);
    connect(file, &QPushButton::clicked, this, [this] {
        if (const QString path = chooseFileToOpen(tr("Section Coordinates File")); !path.isEmpty())
            loadCoordinates(path);
    });
    connect(fromMain, &QPushButton::clicked, this, [this] {
        fileProfile_.reset();
        inputs_.coordinatesFile.clear();
        say({});
        inputsChanged();
    });
    inputs->addWidget(airfoil);

    auto* thickness = new QGroupBox(tr("Thickness"));
    auto* thicknessForm = new QFormLayout(thickness);
    ownThickness_ = new QRadioButton(tr("The section's own ratio"));
    ownThickness_->setObjectName(QStringLiteral("ownThickness"));
    rootToTip_ = new QRadioButton(tr("From root to tip, straight between"));
    rootToTip_->setObjectName(QStringLiteral("rootToTipThickness"));
    thicknessForm->addRow(ownThickness_);
    thicknessForm->addRow(rootToTip_);
    addInput(thicknessForm, WorkshopInput::RootThickness, "rootThickness", tr("At station 1"), Shown::Percent);
    addInput(thicknessForm, WorkshopInput::TipThickness, "tipThickness", tr("At the tip"), Shown::Percent);
    addInput(thicknessForm, WorkshopInput::LeastThickness, "leastThickness", tr("At least"), Shown::Across);
    auto* rule = new QButtonGroup(this);
    rule->addButton(ownThickness_);
    rule->addButton(rootToTip_);
    ownThickness_->setChecked(true);
    connect(rootToTip_, &QRadioButton::toggled, this, [this](bool on) {
        if (showing_)
            return;
        inputs_.thickness.rule = on ? ThicknessRule::RootToTip : ThicknessRule::Own;
        inputsChanged();
    });
    inputs->addWidget(thickness);

    auto* plank = new QGroupBox(tr("Plank and trim"));
    auto* plankForm = new QFormLayout(plank);
    addInput(plankForm, WorkshopInput::PlankWidth, "plankWidth", tr("Plank width"), Shown::Across);
    cap_ = new QCheckBox(tr("Cap the chord"));
    cap_->setObjectName(QStringLiteral("capChord"));
    plankForm->addRow(cap_);
    addInput(plankForm, WorkshopInput::LargestChord, "largestChord", tr("Largest chord"), Shown::Across);
    straight_ = new QCheckBox(tr("Chord and twist straight"));
    straight_->setObjectName(QStringLiteral("straightChord"));
    straightFrom_ = new QSpinBox;
    straightFrom_->setObjectName(QStringLiteral("straightFrom"));
    straightTo_ = new QSpinBox;
    straightTo_->setObjectName(QStringLiteral("straightTo"));
    straightFrom_->setRange(1, kStationCount - 1);
    straightTo_->setRange(2, kStationCount);
    straightFrom_->setValue(3);
    straightTo_->setValue(kStationCount);
    straightFrom_->setAccessibleName(tr("Straight from station"));
    straightTo_->setAccessibleName(tr("Straight to station"));
    auto* stations = new QHBoxLayout;
    stations->addWidget(new QLabel(tr("from station")));
    stations->addWidget(straightFrom_);
    stations->addWidget(new QLabel(tr("to")));
    stations->addWidget(straightTo_);
    plankForm->addRow(straight_);
    plankForm->addRow(stations);
    const auto trimChanged = [this] {
        if (showing_)
            return;
        inputs_.capChord = cap_->isChecked();
        inputs_.straightBetween.reset();
        if (straight_->isChecked() && straightFrom_->value() < straightTo_->value())
            inputs_.straightBetween = std::pair(straightFrom_->value(), straightTo_->value());
        inputsChanged();
    };
    connect(cap_, &QCheckBox::toggled, this, trimChanged);
    connect(straight_, &QCheckBox::toggled, this, trimChanged);
    connect(straightFrom_, &QSpinBox::valueChanged, this, trimChanged);
    connect(straightTo_, &QSpinBox::valueChanged, this, trimChanged);
    inputs->addWidget(plank);

    auto* wood = new QGroupBox(tr("Wood"));
    auto* woodForm = new QFormLayout(wood);
    addInput(woodForm, WorkshopInput::WoodDensity, "woodDensity", tr("Density"), Shown::Density);
    auto* source = new QLabel(tr("Start value: Sitka spruce at 12 % moisture (Wood Handbook, USDA Forest Products "
                                 "Laboratory, 2010)"));
    source->setWordWrap(true);
    woodForm->addRow(source);
    inputs->addWidget(wood);
    inputs->addStretch();
    column->setMaximumWidth(330);
    return column;
}

void SectionsWindow::build()
{
    auto* results = new QVBoxLayout;
    note_ = new QLabel;
    note_->setObjectName(QStringLiteral("sectionsMessage"));
    note_->setWordWrap(true);
    QFont bold = note_->font();
    bold.setBold(true);
    note_->setFont(bold);
    note_->hide();
    results->addWidget(note_);
    view_ = new SectionsView;
    view_->setObjectName(QStringLiteral("sectionsView"));
    view_->setAccessibleName(tr("Sections seen from the tip, wind from above, in the plank"));
    results->addWidget(view_, 3);
    summary_ = new QLabel;
    summary_->setObjectName(QStringLiteral("sectionsSummary"));
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    results->addWidget(summary_);
    tableView_ = new QTableWidget(0, 0);
    tableView_->setObjectName(QStringLiteral("carvingTable"));
    tableView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableView_->verticalHeader()->hide();
    tableView_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    tableView_->setWordWrap(true);
    tableView_->setAccessibleName(tr("Carving table"));
    tableView_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tableView_, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        QMenu menu(this);
        menu.addAction(tr("Copy Table"), this, &SectionsWindow::copyTable);
        menu.exec(tableView_->viewport()->mapToGlobal(at));
    });
    auto* copy = new QShortcut(QKeySequence::Copy, tableView_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(copy, &QShortcut::activated, this, &SectionsWindow::copyTable);
    results->addWidget(tableView_, 2);
    auto* saves = new QHBoxLayout;
    auto* gauges = new QPushButton(tr("Save &Gauges as PDF…"));
    gauges->setObjectName(QStringLiteral("saveGauges"));
    auto* svg = new QPushButton(tr("Save Sections as S&VG…"));
    svg->setObjectName(QStringLiteral("saveSectionsSvg"));
    saves->addStretch();
    saves->addWidget(gauges);
    saves->addWidget(svg);
    connect(gauges, &QPushButton::clicked, this, &SectionsWindow::saveGauges);
    connect(svg, &QPushButton::clicked, this, &SectionsWindow::saveSvg);
    results->addLayout(saves);

    auto* whole = new QHBoxLayout(this);
    whole->addWidget(buildInputs());
    whole->addLayout(results, 1);
    resize(1180, 780);
}

QString SectionsWindow::unitOf(Shown shown) const
{
    switch (shown) {
    case Shown::Percent:
        return QStringLiteral("%");
    case Shown::Across:
        return QString::fromStdString(workshop::unitOf(WorkshopQuantity::Across, shownSystem_));
    case Shown::Density:
        break;
    }
    return QString::fromStdString(workshop::unitOf(WorkshopQuantity::Density, shownSystem_));
}

int SectionsWindow::decimalsOf(Shown shown) const
{
    if (shown == Shown::Percent)
        return 1;
    return workshop::decimalsOf(shown == Shown::Across ? WorkshopQuantity::Across : WorkshopQuantity::Density,
                                shownSystem_);
}

void SectionsWindow::inputsChanged()
{
    showInputs();
    recarve();
    emit settingsChanged();
}

void SectionsWindow::designChanged()
{
    pending_->start();
}

void SectionsWindow::say(const QString& message)
{
    QPalette palette = note_->palette();
    palette.setColor(QPalette::WindowText, noteColour(this->palette()));
    note_->setPalette(palette);
    note_->setText(message);
    note_->setVisible(!message.isEmpty());
}

Section SectionsWindow::section() const
{
    return fileProfile_ ? sectionOf(*fileProfile_) : sectionNamedIn(captionText(sheet_, Caption::Airfoil));
}

void SectionsWindow::recarve()
{
    const QString unsolved = tr("The design has not been solved yet: press Solve! in the main window (or Enter in "
                                "any of its fields), and its blade is carved here.");
    const QString stale = tr("The main window's results may not belong to its inputs: an input was changed since "
                             "the last Solve!. Press Solve! there to carve the design.");
    if (resultsStale_ && resultsStale_()) {
        const bool solved = std::none_of(kStationFields.begin(), kStationFields.end(),
                                         [this](Field field) { return sheet_.text(field).empty(); });
        say(solved ? stale : unsolved);
        carving_.reset();
        table_.reset();
        showCarving();
        return;
    }
    if (note_->text() == unsolved || note_->text() == stale)
        say({});
    // As any caller with the design and its settings would carve it.
    carving_ = carvingOf(sheet_, settings(), fileProfile_);
    table_.reset();
    if (carving_)
        table_ = carvingTable(*carving_, inputs_, shownSystem_, sheet_.numberFormat());
    showCarving();
}

}  // namespace tivora
