#include "performance_window.h"

#include "alternator_page.h"
#include "chart/chart.h"
#include "chart/readable_colour.h"
#include "input_form.h"
#include "limits_summary.h"
#include "performance/report.h"
#include "performance_charts.h"
#include "performance_report.h"
#include "problem_words.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace tivora {

using namespace performance;

namespace {

// Where the window opens, and its size, on a small screen too.
constexpr QSize kOpeningSize(980, 720);

}  // namespace

PerformanceWindow::PerformanceWindow(QWidget* main, const DesignSheet& sheet, std::function<bool()> resultsStale)
    : QWidget(main, Qt::Window), main_(main), sheet_(sheet), resultsStale_(std::move(resultsStale))
{
    setObjectName(QStringLiteral("RotorPerformance"));
    setWindowTitle(tr("Rotor Performance"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    chooseFile = [this](const QString& title) {
        return QFileDialog::getOpenFileName(this, title, designFolder ? designFolder() : QString(),
                                            tr("Text files (*.txt *.dat *.csv *.pol);;All files (*)"));
    };
    pending_ = new QTimer(this);
    pending_->setSingleShot(true);
    pending_->setInterval(0);
    connect(pending_, &QTimer::timeout, this, &PerformanceWindow::analyse);
    build();
    if (main_)
        main_->installEventFilter(this);
    analyse();
    placeBesideMain();
}

void PerformanceWindow::build()
{
    auto* whole = new QVBoxLayout(this);
    note_ = new QLabel;
    note_->setObjectName(QStringLiteral("performanceMessage"));
    note_->setWordWrap(true);
    note_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    note_->hide();
    whole->addWidget(note_);

    form_ = new InputForm;
    form_->chooseFile = [this](const QString& title) { return chooseFile ? chooseFile(title) : QString(); };
    connect(form_, &InputForm::inputsChanged, this, &PerformanceWindow::analyse);
    connect(form_, &InputForm::fileRefused, this, &PerformanceWindow::say);
    whole->addWidget(form_);

    summary_ = new QLabel;
    summary_->setObjectName(QStringLiteral("performanceSummary"));
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    whole->addWidget(summary_);
    limits_ = new QLabel;
    limits_->setObjectName(QStringLiteral("limitsSummary"));
    limits_->setWordWrap(true);
    limits_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    whole->addWidget(limits_);
    trimCost_ = new QLabel;
    trimCost_->setObjectName(QStringLiteral("trimCost"));
    trimCost_->setWordWrap(true);
    trimCost_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    trimCost_->hide();
    whole->addWidget(trimCost_);

    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("performanceTabs"));
    for (const ChartEntry& entry : performanceCharts()) {
        auto* view = new chart::ChartView;
        view->setObjectName(QString::fromUtf8(entry.name));
        charts_.push_back(view);
        tabs_->addTab(view, tabTitle(entry));
    }
    table_ = new QTableWidget;
    table_->setObjectName(QStringLiteral("powerCurveTable"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // One stop in the Tab order: the arrow keys move inside it, Tab leaves.
    table_->setTabKeyNavigation(false);
    table_->verticalHeader()->hide();
    // Every cell whole: the columns as wide as their figures, scrolled
    // sideways where the window is narrower.
    table_->setWordWrap(false);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    table_->setAccessibleName(tr("Power curve"));
    connect(table_, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        QMenu menu(this);
        menu.addAction(tr("Copy Table"), this, &PerformanceWindow::copyTable);
        menu.exec(table_->viewport()->mapToGlobal(at));
    });
    auto* copy = new QShortcut(QKeySequence::Copy, table_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(copy, &QShortcut::activated, this, &PerformanceWindow::copyTable);
    tabs_->addTab(table_, tr("Table"));
    alternatorPage_ = new AlternatorPage(form_->groupBox(InputGroup::Alternator));
    tabs_->addTab(alternatorPage_, tr("Alternator"));
    auto* toAlternator = new QShortcut(QKeySequence(tr("Ctrl+G")), this);
    connect(toAlternator, &QShortcut::activated, this, [this] { tabs_->setCurrentWidget(alternatorPage_); });
    whole->addWidget(tabs_, 1);
    resize(kOpeningSize);
}

void PerformanceWindow::say(const QString& message)
{
    QPalette palette = note_->palette();
    palette.setColor(QPalette::WindowText, noteColour(this->palette()));
    note_->setPalette(palette);
    note_->setText(message);
    note_->setVisible(!message.isEmpty());
}

void PerformanceWindow::designChanged()
{
    pending_->start();
}

AnalysisInputs PerformanceWindow::inputs() const
{
    AnalysisInputs given = form_->inputs();
    if (carvedBlade)
        given.carved = carvedBlade();
    return given;
}

void PerformanceWindow::analyse()
{
    const AnalysisInputs given = inputs();
    form_->setDesign(sheet_.selectedSystem(), sheet_.numberFormat(), designFiguresOf(sheet_, given));
    const Result<Blade> blade = bladeFromSheet(sheet_);
    if (!blade && blade.problem().kind == ProblemKind::SheetNotSolved) {
        showNothing(tr("The design has not been solved yet: press Solve! in the main window (or Enter in any of "
                       "its fields), and its rotor is analysed here."));
        return;
    }
    if (resultsStale_ && resultsStale_()) {
        showNothing(tr("An input of the main window was changed since the last Solve!, so its blade may not belong "
                       "to its inputs: press Solve! there to analyse the design as it now stands."));
        return;
    }
    if (const std::optional<InputId> unreadable = form_->unreadable()) {
        showNothing(tr("%1 holds no number: the analysis waits for one.").arg(captionText(entryOf(*unreadable))));
        return;
    }
    const Result<Analysis> analysis = performance::analyse(sheet_, given);
    if (!analysis) {
        const Problem& problem = analysis.problem();
        showNothing(problemText(problem, given, designFiguresOf(sheet_, given), sheet_.selectedSystem(),
                                sheet_.numberFormat()));
        // Take the user to the input at fault, unless they are at it (or at
        // the one it is judged against) already.
        QWidget* at = problem.input ? form_->control(*problem.input) : nullptr;
        QWidget* other = problem.other ? form_->control(*problem.other) : nullptr;
        if (at && at->isEnabled() && isActiveWindow() && focusWidget() != at && focusWidget() != other) {
            form_->reveal(*problem.input);
            at->setFocus();
        }
        return;
    }
    showAnalysis(*analysis);
}

void PerformanceWindow::showNothing(const QString& why)
{
    say(why);
    report_.reset();
    form_->showDensity(std::nullopt);
    summary_->clear();
    limits_->clear();
    trimCost_->clear();
    trimCost_->hide();
    for (std::size_t i = 0; i < charts_.size(); ++i)
        charts_[i]->setChart(emptyChart(performanceCharts()[i], why));
    table_->clear();
    table_->setRowCount(0);
    table_->setColumnCount(0);
    alternatorPage_->show(nullptr, sheet_.selectedSystem(), sheet_.numberFormat());
}

void PerformanceWindow::showAnalysis(const Analysis& analysis)
{
    const NumberFormat& format = sheet_.numberFormat();
    const UnitSystem system = sheet_.selectedSystem();
    QStringList warnings;
    for (const Warning& warning : analysis.warnings) {
        if (const QString text = warningText(warning, analysis, system, format); !text.isEmpty())
            warnings << text;
    }
    say(warnings.join(u'\n'));
    form_->showDensity(analysis.densityKgM3);
    const ChartContext context{system, format};
    for (std::size_t i = 0; i < charts_.size(); ++i)
        charts_[i]->setChart(chartOf(performanceCharts()[i], analysis, context));

    const auto padded = [&format](double value, int decimals) {
        return QString::fromStdString(figureText(value, decimals, format));
    };
    const CurveEnergy& energy = analysis.energy();
    const CutIn& cutIn = analysis.cutIn();
    const QString speedUnit = QString::fromStdString(unitOf(Quantity::WindSpeed, system));
    const QString cutInText =
        cutIn.rpm > 0 ? tr("cut-in %1 %2 at %3 rpm")
                            .arg(padded(shownFromSi(Quantity::WindSpeed, system, cutIn.windMps), 1), speedUnit,
                                 shownFigure(cutIn.rpm, 0, format))
                      : tr("no cut-in: nothing delivered up to %1 %2")
                            .arg(shownFigure(shownFromSi(Quantity::WindSpeed, system, 25), 0, format), speedUnit);
    summary_->setText(tr("Cp max %1 at λ %2 · %3 kWh a year · capacity factor %4 % against %5 · %6")
                          .arg(padded(analysis.cp.peakCp, 3), padded(analysis.cp.peakTsr, 2),
                               shownFigure(energy.energy.kilowattHours, 0, format),
                               shownFigure(energy.capacityFactor * 100, 1, format), tr(basisWords(energy.basis).data()),
                               cutInText));

    limits_->setText(limitsSummary(analysis, system, format));
    trimCost_->setText(trimCostSummary(analysis, system, format));
    trimCost_->setVisible(analysis.trimCost.has_value());

    alternatorPage_->show(&analysis, system, format);
    report_ = reportOf(analysis, inputs(), system, format);
    table_->clear();
    table_->setColumnCount(static_cast<int>(report_->tableHeader.size()));
    QStringList header;
    for (const QString& caption : report_->tableHeader)
        header << QString(caption).replace(QStringLiteral(" ("), QStringLiteral("\n("));
    table_->setHorizontalHeaderLabels(header);
    table_->setRowCount(static_cast<int>(report_->table.size()));
    const std::vector<PowerCurveRow> shown = tableRows(analysis);
    const auto columns = powerCurveColumns();
    for (int r = 0; r < table_->rowCount(); ++r) {
        const QStringList& cells = report_->table[static_cast<std::size_t>(r)];
        const PowerCurveRow& row = shown[static_cast<std::size_t>(r)];
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            const Column column = columns[static_cast<std::size_t>(c)].id;
            const bool words = columnWords(column, row).has_value();
            item->setTextAlignment((words ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
            // What limits the machine reads at a glance: the state in its
            // colour, a tip past its limit in the runaway's, each made to
            // read on the table's ground.
            const QColor ground = table_->palette().color(QPalette::Base);
            if (column == Column::State)
                item->setForeground(readableOn(stateColour(row.state), ground));
            if ((column == Column::TipSpeed || column == Column::PastTipSpeedLimit) && row.pastTipSpeedLimit)
                item->setForeground(readableOn(stateColour(OperatingState::Runaway), ground));
            table_->setItem(r, c, item);
        }
    }
}

void PerformanceWindow::loadFile(InputId input, const QString& path)
{
    if (const QString refused = form_->loadFile(input, path); !refused.isEmpty())
        say(refused);
}

void PerformanceWindow::loadPolar(const QString& path)
{
    loadFile(InputId::Polar, path);
}

void PerformanceWindow::loadMeasuredCurve(const QString& path)
{
    loadFile(InputId::Measured, path);
}

DesignSettings PerformanceWindow::settings() const
{
    return settingsOf(form_->inputs());
}

void PerformanceWindow::applySettings(const DesignSettings& settings)
{
    AnalysisInputs opened = inputsFrom(settings);
    // The measured curve is a comparison of the user's, not part of a design.
    opened.setFile(InputId::Measured, form_->inputs().file(InputId::Measured));
    form_->setInputs(std::move(opened));
    analyse();
}

std::optional<PerformanceSheet> PerformanceWindow::exportSheet() const
{
    if (!report_)
        return std::nullopt;
    PerformanceSheet sheet = *report_;
    for (const chart::ChartView* view : charts_)
        sheet.charts.push_back(view->chart());
    return sheet;
}

void PerformanceWindow::copyTable()
{
    if (report_)
        QGuiApplication::clipboard()->setMimeData(tableAsMimeData(*report_).release());
}

void PerformanceWindow::placeBesideMain()
{
    if (!main_)
        return;
    const QRect beside = main_->frameGeometry();
    const QMargins frame(main_->geometry().left() - beside.left(), main_->geometry().top() - beside.top(),
                         beside.right() - main_->geometry().right(), beside.bottom() - main_->geometry().bottom());
    const QScreen* screen = main_->screen();
    const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1366, 768);
    // Right of the main window, as large as the room there allows (at most
    // the opening size, at least the smallest that shows everything); on a
    // screen too small for that, against the screen's right edge.
    const int gap = 8;
    const QSize smallest = minimumSizeHint();
    const int roomRight = room.right() - beside.right() - gap - frame.left() - frame.right();
    const int width = std::max(smallest.width(), std::min(roomRight, kOpeningSize.width()));
    const int height =
        std::max(smallest.height(), std::min(room.height() - frame.top() - frame.bottom(), kOpeningSize.height()));
    resize(width, height);
    const int outerWidth = width + frame.left() + frame.right();
    const int x = std::max(room.left(), std::min(beside.right() + gap + 1, room.right() + 1 - outerWidth));
    const int y =
        std::max(room.top(), std::min(beside.top(), room.bottom() + 1 - height - frame.top() - frame.bottom()));
    move(x, y);
}

void PerformanceWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool PerformanceWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Only once the main window has really gone: its close may still be
    // refused (the user keeps a changed design), and a minimised main window
    // is hidden only spontaneously, still visible to Qt.
    if (watched == main_ && event->type() == QEvent::Hide && !main_->isVisible())
        close();
    return QWidget::eventFilter(watched, event);
}

void PerformanceWindow::changeEvent(QEvent* event)
{
    // A new palette (a desktop switched to a dark theme) gets a note colour of its own.
    if (event->type() == QEvent::PaletteChange && note_ && !note_->text().isEmpty())
        say(note_->text());
    QWidget::changeEvent(event);
}

}  // namespace tivora
