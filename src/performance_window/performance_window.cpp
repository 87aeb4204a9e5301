#include "performance_window.h"

#include "chart/chart.h"
#include "performance/performance_settings.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace tivora {

using namespace performance;

namespace {

// The main window's tint for an input that makes no physical sense.
const QColor kWarningTint(255, 228, 160);
const QColor kDesignColour(0, 90, 170);
const QColor kMeasuredColour(200, 90, 0);
const QColor kAlternatorColour(180, 0, 0);

// A file of numbers larger than this is no polar and no power curve.
constexpr qint64 kLargestFile = 4 * 1024 * 1024;

QString withUnit(const QString& caption, const QString& unit)
{
    return unit.isEmpty() ? caption : QStringLiteral("%1 (%2)").arg(caption, unit);
}

}  // namespace

PerformanceWindow::PerformanceWindow(QWidget* main, const DesignSheet& sheet, std::function<bool()> resultsStale)
    : QWidget(main, Qt::Window), main_(main), sheet_(sheet), resultsStale_(std::move(resultsStale))
{
    setObjectName(QStringLiteral("RotorPerformance"));
    setWindowTitle(tr("Rotor Performance"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    chooseFile = [this](const QString& title) {
        return QFileDialog::getOpenFileName(this, title, {}, tr("Text files (*.txt *.dat *.csv *.pol);;All files (*)"));
    };
    pending_ = new QTimer(this);
    pending_->setSingleShot(true);
    pending_->setInterval(0);
    connect(pending_, &QTimer::timeout, this, [this] {
        showInputs();
        analyse();
    });
    build();
    if (main_)
        main_->installEventFilter(this);
    shownSystem_ = sheet_.selectedSystem();
    showInputs();
    analyse();
    placeBesideMain();
}

QLineEdit* PerformanceWindow::addInput(QFormLayout* form, PerformanceInput which, const QString& objectName,
                                       const QString& caption, std::optional<SiteQuantity> quantity,
                                       const QString& fixedUnit, double* value, int decimals)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(objectName);
    auto* label = new QLabel;
    label->setBuddy(edit);
    form->addRow(label, edit);
    fields_.push_back({which, quantity, edit, label, caption, fixedUnit, value, decimals});
    const std::size_t index = fields_.size() - 1;
    connect(edit, &QLineEdit::textEdited, this, [this, index] { inputEdited(fields_[index]); });
    return edit;
}

void PerformanceWindow::build()
{
    auto* inputs = new QVBoxLayout;

    auto* site = new QGroupBox(tr("Site"));
    auto* siteForm = new QFormLayout(site);
    addInput(siteForm, PerformanceInput::MeanWindSpeed, QStringLiteral("meanWindSpeed"), tr("Mean wind speed"),
             SiteQuantity::WindSpeed, {}, &inputs_.meanWindSpeed, 2);
    addInput(siteForm, PerformanceInput::WeibullShape, QStringLiteral("weibullShape"), tr("Weibull shape k"), {}, {},
             &inputs_.weibullShape, 2);
    addInput(siteForm, PerformanceInput::Altitude, QStringLiteral("altitude"), tr("Altitude"), SiteQuantity::Altitude,
             {}, &inputs_.altitude, 0);
    addInput(siteForm, PerformanceInput::Temperature, QStringLiteral("temperature"), tr("Air temperature"),
             SiteQuantity::Temperature, {}, &inputs_.temperature, 1);
    density_ = new QLabel;
    density_->setObjectName(QStringLiteral("airDensity"));
    siteForm->addRow(tr("Air density"), density_);
    inputs->addWidget(site);

    auto* airfoil = new QGroupBox(tr("Airfoil"));
    auto* airfoilForm = new QFormLayout(airfoil);
    addInput(airfoilForm, PerformanceInput::ClMax, QStringLiteral("clMax"), tr("Maximum lift coefficient"), {}, {},
             &inputs_.clMax, 2);
    addInput(airfoilForm, PerformanceInput::GlideRatio, QStringLiteral("glideRatio"), tr("Glide ratio L/D"), {}, {},
             &inputs_.glideRatio, 1);
    auto* polarRow = new QHBoxLayout;
    auto* polar = new QPushButton(tr("Polar file…"));
    polar->setObjectName(QStringLiteral("polarFile"));
    simpleAirfoil_ = new QPushButton(tr("Simple Model"));
    simpleAirfoil_->setObjectName(QStringLiteral("simpleAirfoil"));
    simpleAirfoil_->setToolTip(tr("Back to the maximum lift coefficient and glide ratio"));
    polarRow->addWidget(polar);
    polarRow->addWidget(simpleAirfoil_);
    airfoilForm->addRow(polarRow);
    polarLabel_ = new QLabel;
    polarLabel_->setObjectName(QStringLiteral("polarName"));
    polarLabel_->setWordWrap(true);
    airfoilForm->addRow(polarLabel_);
    connect(polar, &QPushButton::clicked, this, [this] {
        if (const QString path = chooseFile(tr("Polar File")); !path.isEmpty())
            loadPolar(path);
    });
    connect(simpleAirfoil_, &QPushButton::clicked, this, [this] {
        inputs_.polarText.reset();
        polarName_.clear();
        showInputs();
        analyse();
    });
    inputs->addWidget(airfoil);

    auto* running = new QGroupBox(tr("Running"));
    auto* runningForm = new QFormLayout(running);
    held_ = new QRadioButton(tr("Held at the design tip speed ratio"));
    held_->setObjectName(QStringLiteral("heldAtTsr"));
    runningForm->addRow(held_);
    addInput(runningForm, PerformanceInput::CutIn, QStringLiteral("cutIn"), tr("Cut-in"), SiteQuantity::WindSpeed, {},
             &inputs_.cutIn, 1);
    addInput(runningForm, PerformanceInput::RatedPower, QStringLiteral("ratedPower"), tr("Rated power"), {},
             QStringLiteral("W"), &ratedPower_, 1);
    addInput(runningForm, PerformanceInput::CutOut, QStringLiteral("cutOut"), tr("Cut-out"), SiteQuantity::WindSpeed,
             {}, &inputs_.cutOut, 1);
    alternator_ = new QRadioButton(tr("On a battery-charging alternator"));
    alternator_->setObjectName(QStringLiteral("onAlternator"));
    runningForm->addRow(alternator_);
    addInput(runningForm, PerformanceInput::VoltsPerRpm, QStringLiteral("voltsPerRpm"), tr("Volts per rpm"), {},
             QStringLiteral("V/rpm"), &inputs_.alternator.voltsPerRpm, 3);
    addInput(runningForm, PerformanceInput::BatteryVolts, QStringLiteral("batteryVolts"), tr("Battery voltage"), {},
             QStringLiteral("V"), &inputs_.alternator.batteryVolts, 1);
    addInput(runningForm, PerformanceInput::WindingResistance, QStringLiteral("windingResistance"),
             tr("Winding resistance"), {}, QStringLiteral("Ω"), &inputs_.alternator.windingResistance, 2);
    auto* runningGroup = new QButtonGroup(this);
    runningGroup->addButton(held_);
    runningGroup->addButton(alternator_);
    held_->setChecked(true);
    connect(alternator_, &QRadioButton::toggled, this, [this](bool on) {
        inputs_.onAlternator = on;
        showInputs();
        analyse();
    });
    inputs->addWidget(running);

    auto* measured = new QPushButton(tr("Compare with a measured power curve…"));
    measured->setObjectName(QStringLiteral("measuredCurve"));
    connect(measured, &QPushButton::clicked, this, [this] {
        if (const QString path = chooseFile(tr("Measured Power Curve")); !path.isEmpty())
            loadMeasuredCurve(path);
    });
    inputs->addWidget(measured);
    measuredLabel_ = new QLabel;
    measuredLabel_->setObjectName(QStringLiteral("measuredName"));
    measuredLabel_->setWordWrap(true);
    inputs->addWidget(measuredLabel_);
    inputs->addStretch();

    auto* results = new QVBoxLayout;
    note_ = new QLabel;
    note_->setObjectName(QStringLiteral("performanceMessage"));
    note_->setWordWrap(true);
    note_->setStyleSheet(QStringLiteral("QLabel { color: #a00000; font-weight: bold; }"));
    note_->hide();
    results->addWidget(note_);
    summary_ = new QLabel;
    summary_->setObjectName(QStringLiteral("performanceSummary"));
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    results->addWidget(summary_);
    auto* grid = new QGridLayout;
    cpChart_ = new chart::ChartView;
    cpChart_->setObjectName(QStringLiteral("cpChart"));
    powerChart_ = new chart::ChartView;
    powerChart_->setObjectName(QStringLiteral("powerChart"));
    matchingChart_ = new chart::ChartView;
    matchingChart_->setObjectName(QStringLiteral("matchingChart"));
    table_ = new QTableWidget(0, 5);
    table_->setObjectName(QStringLiteral("powerCurveTable"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    table_->setAccessibleName(tr("Power curve"));
    connect(table_, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        QMenu menu(this);
        menu.addAction(tr("Copy Table"), this, &PerformanceWindow::copyTable);
        menu.exec(table_->viewport()->mapToGlobal(at));
    });
    auto* copy = new QShortcut(QKeySequence::Copy, table_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(copy, &QShortcut::activated, this, &PerformanceWindow::copyTable);
    grid->addWidget(cpChart_, 0, 0);
    grid->addWidget(powerChart_, 0, 1);
    grid->addWidget(matchingChart_, 1, 0);
    grid->addWidget(table_, 1, 1);
    results->addLayout(grid, 1);

    auto* whole = new QHBoxLayout(this);
    whole->addLayout(inputs);
    whole->addLayout(results, 1);
    resize(1180, 760);
}

QString PerformanceWindow::figure(double value, int decimals) const
{
    return QString::fromStdString(formatNumber(roundTo(value, decimals), sheet_.numberFormat()));
}

QString PerformanceWindow::speedUnit() const
{
    return QString::fromStdString(unitOf(SiteQuantity::WindSpeed, shownSystem_));
}

double PerformanceWindow::shownSpeed(double metresPerSecond) const
{
    return shownFromSi(SiteQuantity::WindSpeed, shownSystem_, metresPerSecond);
}

void PerformanceWindow::showInputs()
{
    shownSystem_ = sheet_.selectedSystem();
    if (!ratedPowerTyped_) {
        // Follows the design's generator power until the user types one.
        const ReadResult power = parseNumber(sheet_.text(Field::Power), sheet_.numberFormat());
        if (power.status == ReadStatus::Ok)
            ratedPower_ = power.value;
    }
    showing_ = true;
    for (Input& input : fields_) {
        const QString unit =
            input.quantity ? QString::fromStdString(unitOf(*input.quantity, shownSystem_)) : input.fixedUnit;
        input.label->setText(withUnit(input.caption, unit) + QLatin1Char(':'));
        input.edit->setAccessibleName(withUnit(input.caption, unit));
        const double shown = input.quantity ? shownFromSi(*input.quantity, shownSystem_, *input.value) : *input.value;
        // A text that already reads as the figure stays as the user typed it.
        const ReadResult typed = parseNumber(input.edit->text().toStdString(), sheet_.numberFormat());
        if (typed.status != ReadStatus::Ok || typed.value != roundTo(shown, input.decimals))
            input.edit->setText(figure(shown, input.decimals));
        mark(input, {});
        if (const auto why = senselessReason(input.which, *input.value, inputs_))
            mark(input, QString::fromStdString(*why));
    }
    showing_ = false;
    polarLabel_->setText(inputs_.polarText ? tr("Polar: %1").arg(polarName_) : tr("Simple model: Cl max and L/D"));
    simpleAirfoil_->setEnabled(inputs_.polarText.has_value());
    for (Input& input : fields_) {
        if (input.which == PerformanceInput::ClMax || input.which == PerformanceInput::GlideRatio)
            input.edit->setEnabled(!inputs_.polarText);
    }
    measuredLabel_->setText(measuredName_.isEmpty() ? QString() : tr("Measured: %1").arg(measuredName_));
    // The alternator's figures draw its line on the matching chart either way.
    for (Input& input : fields_) {
        switch (input.which) {
        case PerformanceInput::CutIn:
        case PerformanceInput::RatedPower:
        case PerformanceInput::CutOut:
            input.edit->setEnabled(!inputs_.onAlternator);
            break;
        default:
            break;
        }
    }
}

void PerformanceWindow::mark(Input& input, const QString& why)
{
    QPalette palette = input.edit->palette();
    palette.setColor(QPalette::Base, why.isEmpty() ? this->palette().color(QPalette::Base) : kWarningTint);
    input.edit->setPalette(palette);
    input.edit->setToolTip(why);
    input.edit->setAccessibleDescription(why);
}

void PerformanceWindow::inputEdited(Input& input)
{
    if (showing_)
        return;
    const ReadResult read = parseNumber(input.edit->text().toStdString(), sheet_.numberFormat());
    if (read.status != ReadStatus::Ok) {
        mark(input, tr("\"%1\" is not a number.").arg(input.edit->text()));
        return;
    }
    *input.value = input.quantity ? siFromShown(*input.quantity, shownSystem_, read.value) : read.value;
    if (input.which == PerformanceInput::RatedPower)
        ratedPowerTyped_ = true;
    // A cut-in and a cut-out are judged against each other.
    for (Input& each : fields_) {
        if (parseNumber(each.edit->text().toStdString(), sheet_.numberFormat()).status != ReadStatus::Ok)
            continue;  // keeps its mark until it is a number again
        const auto why = senselessReason(each.which, *each.value, inputs_);
        mark(each, why ? QString::fromStdString(*why) : QString());
    }
    analyse();
}

void PerformanceWindow::designChanged()
{
    pending_->start();
}

void PerformanceWindow::say(const QString& message)
{
    note_->setText(message);
    note_->setVisible(!message.isEmpty());
}

void PerformanceWindow::analyse()
{
    if (resultsStale_ && resultsStale_()) {
        say(tr("The main window's results may not belong to its inputs: an input was changed since the last "
               "Solve!. Press Solve! there to analyse the design."));
        current_ = false;
        return;
    }
    inputs_.ratedPower = ratedPower_;
    const Result<RotorPerformance> result = analysePerformance(sheet_, inputs_, shownSystem_);
    if (!result) {
        say(tr("The design cannot be analysed: %1.").arg(QString::fromStdString(result.problem().message)));
        current_ = false;
        return;
    }
    say({});
    current_ = true;
    shown_ = *result;
    showAnalysis(*result);
}

void PerformanceWindow::showAnalysis(const RotorPerformance& result)
{
    const QString kWh = tr("kWh");
    const auto number = [this](double v) { return figure(v, std::abs(v) >= 100 ? 0 : 3); };
    density_->setText(tr("%1 kg/m³").arg(figure(result.density, 3)));

    // Cp against λ.
    chart::Chart cp;
    cp.title = tr("Power coefficient against tip speed ratio");
    cp.number = number;
    chart::Series curve{tr("Blade Cp"), {}, kDesignColour};
    for (const CpPoint& p : result.cp.points)
        curve.points.emplace_back(p.tsr, p.cp);
    cp.series.push_back(curve);
    cp.x = chart::niceAxis(tr("Tip speed ratio λ"), 0, result.cp.points.back().tsr);
    cp.y = {tr("Cp"), 0, 0.7, 0.1};  // room above Betz's line for its label
    cp.rules.push_back({false, 16.0 / 27, tr("Betz 16/27"), Qt::darkGray, Qt::DashLine});
    cp.rules.push_back({false, result.typedEfficiency, tr("typed efficiency %1").arg(figure(result.typedEfficiency, 3)),
                        QColor(0, 130, 0), Qt::DotLine});
    cp.rules.push_back(
        {true, result.designTsr, tr("design λ %1").arg(figure(result.designTsr, 2)), QColor(0, 130, 0), Qt::DashLine});
    cp.marks.push_back({{result.cp.peakTsr, result.cp.peakCp},
                        tr("Cp max %1 at λ %2").arg(figure(result.cp.peakCp, 3), figure(result.cp.peakTsr, 2)),
                        kDesignColour});
    cpChart_->setChart(cp);

    // Power against wind speed.
    const QString unit = speedUnit();
    chart::Chart power;
    power.title = tr("Power against wind speed");
    power.number = number;
    const auto energyText = [&](const QString& name, const AnnualEnergy& energy) {
        return tr("%1: %2 %3 a year, capacity factor %4 %")
            .arg(name, figure(energy.kilowattHours, 0), kWh, figure(energy.capacityFactor * 100, 1));
    };
    chart::Series design{
        energyText(inputs_.onAlternator ? tr("On the alternator") : tr("Design"), result.energy), {}, kDesignColour};
    double highest = 0;
    for (const PowerCurveRow& row : result.powerCurve) {
        design.points.emplace_back(shownSpeed(row.windSpeed), row.deliveredPower);
        highest = std::max(highest, row.deliveredPower);
    }
    power.series.push_back(design);
    if (result.measuredEnergy) {
        chart::Series measured{energyText(tr("Measured"), *result.measuredEnergy), {}, kMeasuredColour, Qt::DashLine};
        for (const PowerCurvePoint& p : result.measured) {
            measured.points.emplace_back(shownSpeed(p.windSpeed), p.power);
            highest = std::max(highest, p.power);
        }
        power.series.push_back(measured);
    }
    power.x = chart::niceAxis(tr("Wind speed (%1)").arg(unit), 0, shownSpeed(25));
    power.y = chart::niceAxis(tr("Power (W)"), 0, highest * 1.05);
    if (!inputs_.onAlternator) {
        power.rules.push_back({true, shownSpeed(result.cutIn), tr("cut-in"), Qt::darkGray, Qt::DashLine});
        power.rules.push_back({true, shownSpeed(result.cutOut), tr("cut-out"), Qt::darkGray, Qt::DashLine});
        power.rules.push_back(
            {false, result.ratedPower, tr("rated %1 W").arg(figure(result.ratedPower, 0)), Qt::darkGray, Qt::DashLine});
    }
    power.notes << tr("Site: mean wind speed %1 %2, Weibull k %3, air density %4 kg/m³")
                       .arg(figure(shownSpeed(inputs_.meanWindSpeed), 2), unit, figure(inputs_.weibullShape, 2),
                            figure(result.density, 3));
    powerChart_->setChart(power);

    // Generator matching.
    chart::Chart matching;
    matching.title = tr("Generator matching: rotor power against rpm");
    matching.number = number;
    double topPower = 0, topRpm = 0;
    chart::Series peaks{tr("Maximum power"), {}, Qt::black, Qt::DashLine};
    std::vector<std::pair<MatchingPoint, QString>> peakNames;
    for (const MatchingCurve& c : result.matching) {
        chart::Series s{tr("%1 %2").arg(figure(shownSpeed(c.windSpeed), 0), unit), {}, QColor(120, 140, 170)};
        s.width = 1;
        for (const MatchingPoint& p : c.points) {
            s.points.emplace_back(p.rpm, p.power);
            topRpm = std::max(topRpm, p.rpm);
        }
        topPower = std::max(topPower, c.peak.power);
        peaks.points.emplace_back(c.peak.rpm, c.peak.power);
        peakNames.emplace_back(c.peak, s.name);
        s.name.clear();  // named at its peak, not in the legend
        matching.series.push_back(s);
        if (c.crossing)
            matching.marks.push_back({{c.crossing->rpm, c.crossing->power}, {}, kAlternatorColour, true});
    }
    matching.series.push_back(peaks);
    // The slow winds' peaks crowd in a corner: only those clear of it are named.
    for (const auto& [peak, name] : peakNames) {
        if (peak.power >= 0.08 * topPower)
            matching.marks.push_back({{peak.rpm, peak.power}, name, Qt::black, false});
    }
    chart::Series line{tr("Alternator (%1 V/rpm, %2 V, %3 Ω)")
                           .arg(figure(inputs_.alternator.voltsPerRpm, 3), figure(inputs_.alternator.batteryVolts, 1),
                                figure(inputs_.alternator.windingResistance, 2)),
                       {},
                       kAlternatorColour};
    for (const MatchingPoint& p : result.alternatorLine) {
        if (p.power > topPower * 1.1)
            break;
        line.points.emplace_back(p.rpm, p.power);
    }
    matching.series.push_back(line);
    matching.x = chart::niceAxis(tr("Rotor speed (rpm)"), 0, topRpm);
    matching.y = chart::niceAxis(tr("Power (W)"), 0, topPower * 1.1);
    matching.notes << tr("Red dots: where the alternator holds the rotor");
    matchingChart_->setChart(matching);

    // The summary and the table.
    summary_->setText(tr("Cp max %1 at λ %2 · annual energy %3 %4 · capacity factor %5 %")
                          .arg(figure(result.cp.peakCp, 3), figure(result.cp.peakTsr, 2),
                               figure(result.energy.kilowattHours, 0), kWh,
                               figure(result.energy.capacityFactor * 100, 1)));
    // Two lines each, so that five columns fit the table's width.
    table_->setHorizontalHeaderLabels(
        {tr("Wind speed\n(%1)").arg(unit), tr("Rotor\n(rpm)"), tr("Power\n(W)"), tr("Cp\n"), tr("Torque\n(N·m)")});
    table_->setRowCount(0);
    for (const PowerCurveRow& row : result.powerCurve) {
        if (row.windSpeed <= 0)
            continue;
        const int r = table_->rowCount();
        table_->insertRow(r);
        const QString cells[] = {figure(shownSpeed(row.windSpeed), 2), figure(row.rpm, 1),
                                 figure(row.deliveredPower, 1), figure(row.cp, 3), figure(row.torque, 2)};
        for (int c = 0; c < 5; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(r, c, item);
        }
    }
}

// The file's text, or nothing once the user has been told why it could not
// be read.
std::optional<std::string> PerformanceWindow::readFile(const QString& path)
{
    const auto cannot = [&](const QString& why) {
        say(tr("\"%1\" could not be read: %2.").arg(QFileInfo(path).fileName(), why));
        return std::nullopt;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return cannot(file.errorString());
    // Read with a bound, not by the size it reports: a device or a pipe
    // reports none and may never end.
    const QByteArray bytes = file.read(kLargestFile + 1);
    if (file.error() != QFileDevice::NoError)
        return cannot(file.errorString());
    if (bytes.size() > kLargestFile)
        return cannot(tr("the file is larger than %1 MB").arg(kLargestFile / 1024 / 1024));
    return QString::fromUtf8(bytes).toStdString();
}

void PerformanceWindow::loadPolar(const QString& path)
{
    const std::optional<std::string> polar = readFile(path);
    if (!polar)
        return;
    const QString name = QFileInfo(path).fileName();
    // Whether it reads as a polar does not hang on the blade it is used with.
    if (const Result<Airfoil> airfoil = readPolar(*polar, 10); !airfoil) {
        say(tr("\"%1\" is no polar: %2.").arg(name, QString::fromStdString(airfoil.problem().message)));
        return;
    }
    inputs_.polarText = *polar;
    polarName_ = name;
    showInputs();
    analyse();
}

void PerformanceWindow::loadMeasuredCurve(const QString& path)
{
    const std::optional<std::string> text = readFile(path);
    if (!text)
        return;
    const QString name = QFileInfo(path).fileName();
    Result<std::vector<PowerCurvePoint>> curve = readPowerCurve(*text);
    if (!curve) {
        say(tr("\"%1\" is no power curve: %2.").arg(name, QString::fromStdString(curve.problem().message)));
        return;
    }
    inputs_.measured = std::move(curve.value());
    measuredName_ = name;
    showInputs();
    analyse();
}

DesignSettings PerformanceWindow::settings() const
{
    return performance::settingsOf(inputs_, polarName_.toStdString());
}

void PerformanceWindow::applySettings(const DesignSettings& settings)
{
    std::string polar;
    std::optional<std::vector<performance::PowerCurvePoint>> measured = std::move(inputs_.measured);
    inputs_ = performance::inputsFrom(settings, polar);
    inputs_.measured = std::move(measured);  // the comparison is the user's, not the design's
    polarName_.clear();
    showInputs();
    analyse();
    if (!polar.empty())
        say(tr("The design was saved with the polar file \"%1\": load it again with \"Polar file…\"; "
               "until then the simple model is used.")
                .arg(QString::fromStdString(polar)));
}

std::optional<PerformanceSheet> PerformanceWindow::exportSheet() const
{
    if (!shown_ || !current_)
        return std::nullopt;
    PerformanceSheet out;
    out.charts = {cpChart_->chart(), powerChart_->chart(), matchingChart_->chart()};
    const QString unit = speedUnit();
    const auto add = [&out](const QString& caption, const QString& value, const QString& u) {
        out.figures.push_back({caption, value, u});
    };
    add(tr("Mean wind speed"), figure(shownSpeed(inputs_.meanWindSpeed), 2), unit);
    add(tr("Weibull shape k"), figure(inputs_.weibullShape, 2), {});
    add(tr("Altitude"), figure(shownFromSi(SiteQuantity::Altitude, shownSystem_, inputs_.altitude), 0),
        QString::fromStdString(unitOf(SiteQuantity::Altitude, shownSystem_)));
    add(tr("Air temperature"), figure(shownFromSi(SiteQuantity::Temperature, shownSystem_, inputs_.temperature), 1),
        QString::fromStdString(unitOf(SiteQuantity::Temperature, shownSystem_)));
    add(tr("Air density"), figure(shown_->density, 3), QStringLiteral("kg/m³"));
    add(tr("Airfoil"),
        inputs_.polarText ? polarName_
                          : tr("Cl max %1, L/D %2").arg(figure(inputs_.clMax, 2), figure(inputs_.glideRatio, 1)),
        {});
    add(tr("Cp max"), figure(shown_->cp.peakCp, 3), {});
    add(tr("Tip speed ratio of Cp max"), figure(shown_->cp.peakTsr, 2), {});
    add(tr("Cp at the design tip speed ratio"), figure(shown_->designCp, 3), {});
    add(tr("Running"), inputs_.onAlternator ? tr("battery alternator") : tr("held at the design tip speed ratio"), {});
    add(tr("Annual energy"), figure(shown_->energy.kilowattHours, 0), tr("kWh"));
    add(tr("Capacity factor"), figure(shown_->energy.capacityFactor * 100, 1), QStringLiteral("%"));
    if (shown_->measuredEnergy) {
        add(tr("Measured curve's annual energy"), figure(shown_->measuredEnergy->kilowattHours, 0), tr("kWh"));
        add(tr("Measured curve's capacity factor"), figure(shown_->measuredEnergy->capacityFactor * 100, 1),
            QStringLiteral("%"));
    }
    for (int c = 0; c < table_->columnCount(); ++c)
        out.tableHeader << table_->horizontalHeaderItem(c)->text().simplified();
    for (int r = 0; r < table_->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < table_->columnCount(); ++c)
            row << table_->item(r, c)->text();
        out.table.push_back(row);
    }
    return out;
}

void PerformanceWindow::copyTable()
{
    QStringList lines;
    QString html = QStringLiteral("<table><tr>");
    QStringList header;
    for (int c = 0; c < table_->columnCount(); ++c) {
        header << table_->horizontalHeaderItem(c)->text().simplified();
        html += QStringLiteral("<th>%1</th>").arg(header.back().toHtmlEscaped());
    }
    lines << header.join(u'\t');
    html += QStringLiteral("</tr>");
    for (int r = 0; r < table_->rowCount(); ++r) {
        QStringList row;
        html += QStringLiteral("<tr>");
        for (int c = 0; c < table_->columnCount(); ++c) {
            // A spreadsheet reads a typed minus sign as text.
            row << table_->item(r, c)->text().replace(QChar(0x2212), u'-');
            html += QStringLiteral("<td>%1</td>").arg(row.back().toHtmlEscaped());
        }
        lines << row.join(u'\t');
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");
    auto* data = new QMimeData;
    data->setText(lines.join(u'\n') + u'\n');
    data->setHtml(html);
    QGuiApplication::clipboard()->setMimeData(data);
}

void PerformanceWindow::placeBesideMain()
{
    if (!main_)
        return;
    const QRect beside = main_->frameGeometry();
    QPoint at(beside.right() + 8, beside.top());
    if (const QScreen* screen = main_->screen()) {
        const QRect room = screen->availableGeometry();
        at.setX(std::max(room.left(), std::min(at.x(), room.right() - width())));
        at.setY(std::max(room.top(), std::min(at.y(), room.bottom() - height())));
    }
    move(at);
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
    if (watched == main_ && event->type() == QEvent::Close)
        close();
    return QWidget::eventFilter(watched, event);
}

}  // namespace tivora
