// The Rotor Performance window on the main window's design: what it shows
// and says, that it shows what it analyses (a design file's settings, the
// command line's figures), its keys and colours, and what leaves it.

#include "chart/chart.h"
#include "export/design_export.h"
#include "performance/analyse_command.h"
#include "performance_window/performance_window.h"
#include "sections_window/sections_window.h"
#include "sheet/design_file.h"
#include "solve/solve.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QProcess>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <sstream>

using namespace tivora;
using namespace tivora::testing;

namespace {

// `tivora --analyse` with these options: its CSV cell in the row that
// starts with `row`, column `column`.
QString printed(const std::vector<std::string>& options, const std::string& row, int column)
{
    std::ostringstream out, err;
    if (performance::runAnalyseCommand(options, out, err) != 0)
        qFatal("tivora --analyse failed: %s", err.str().c_str());
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with(row + ','))
            return QString::fromStdString(line).split(u',').value(column);
    }
    return {};
}

// WCAG's contrast between the darkest and the lightest pixel in a rectangle
// of the grabbed window: the text on its background.
double contrastIn(const QImage& image, const QRect& rect)
{
    double lowest = 1, highest = 0;
    const auto linear = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const double l = 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
            lowest = std::min(lowest, l);
            highest = std::max(highest, l);
        }
    }
    return (highest + 0.05) / (lowest + 0.05);
}

}  // namespace

class PerformanceWindowTest : public QObject {
    Q_OBJECT

    ModalWatchdog watchdog;
    QTemporaryDir folder;
    std::unique_ptr<Form1> window;

    // The start design, solved unless told, and the window opened on it by its key.
    PerformanceWindow* opened(bool solved = true)
    {
        window = std::make_unique<Form1>();
        window->show();
        if (solved)
            control(window.get(), Button::Solve)->click();
        QTest::keyClick(control(window.get(), Field::Cl), Qt::Key_R, Qt::ControlModifier);
        QCoreApplication::processEvents();
        return window->performanceWindow();
    }

    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = folder.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void cleanup()
    {
        window.reset();
        QApplication::setPalette(QApplication::style()->standardPalette());
        QLocale::setDefault(QLocale::c());
    }

    // Before the first Solve! the window says so, and every chart says why
    // it is empty; nothing claims an input was changed.
    void beforeTheFirstSolveItSaysHowToSolve()
    {
        {
            Form1 fresh;
            QVERIFY2(!fresh.findChild<PerformanceWindow*>(), "nothing of the window is made at start");
        }
        PerformanceWindow* performance = opened(false);
        const auto* note = in<QLabel>(performance, "performanceMessage");
        QVERIFY(note->isVisible());
        QVERIFY2(note->text().contains(QStringLiteral("not been solved yet")) && !note->text().contains(u"changed"),
                 qPrintable(note->text()));
        for (const chart::ChartView* view : performance->findChildren<chart::ChartView*>())
            QCOMPARE(view->chart().empty, note->text());
        QVERIFY(!performance->exportSheet());
        QTest::keyClick(control(window.get(), Field::Cl), Qt::Key_B, Qt::ControlModifier);
        const QString carving = in<QLabel>(window->sectionsWindow(), "sectionsMessage")->text();
        QVERIFY2(carving.contains(QStringLiteral("not been solved yet")) && !carving.contains(u"changed"),
                 qPrintable(carving));
        control(window.get(), Button::Solve)->click();
        QCoreApplication::processEvents();
        QVERIFY(!note->isVisible());
        QVERIFY(performance->exportSheet());
        // An input edited since: said as such, and nothing is exported.
        retype(window.get(), Field::Radius, QStringLiteral("2"));
        QCoreApplication::processEvents();
        QVERIFY2(note->text().contains(QStringLiteral("changed since the last Solve!")), qPrintable(note->text()));
        QVERIFY(!performance->exportSheet());
    }

    // A design saved on the alternator with a rated power and an altitude
    // opens as it was saved, and `tivora --analyse` with the same inputs
    // gives the same air density and annual energy.
    void anOpenedDesignShowsItsSettingsAndTheCommandLineAgrees()
    {
        DesignSheet sheet;
        QVERIFY(!solve(sheet));
        // In an order of a spreadsheet's, not Tivora's.
        const DesignSettings settings = {{"running.mode", "alternator"},
                                         {"site.altitude-m", "1000"},
                                         {"running.rated-power-w", "1800"},
                                         {"airfoil.cl-max", "1.0"},
                                         {"airfoil.polar-file", "sd7062.dat"}};
        const std::string bytes = writeDesignFile(sheet, settings);
        const QString path = writeFile(QStringLiteral("alternator.csv"), QByteArray::fromStdString(bytes));
        window = std::make_unique<Form1>();
        window->show();
        QVERIFY(window->openDesign(path));
        QTest::keyClick(control(window.get(), Field::Cl), Qt::Key_R, Qt::ControlModifier);
        QCoreApplication::processEvents();
        PerformanceWindow* performance = window->performanceWindow();
        QVERIFY(in<QRadioButton>(performance, "running.alternator")->isChecked());
        QCOMPARE(in(performance, "ratedPower")->text(), QStringLiteral("1800"));
        QCOMPARE(in(performance, "clMax")->text(), QStringLiteral("1.0"));
        QVERIFY2(!window->designChangedSinceSaved(), "opening the window is no change of the design");
        QCOMPARE(performance->designFolder(), QFileInfo(path).absolutePath());  // files are chosen beside it
        const auto sorted = [](DesignSettings rows) {
            std::sort(rows.begin(), rows.end());
            return rows;
        };
        QCOMPARE(sorted(performance->settings()), sorted(settings));
        // The polar the design names is asked for; without it, nothing is analysed.
        const auto* note = in<QLabel>(performance, "performanceMessage");
        QVERIFY2(note->text().contains(QStringLiteral("sd7062.dat")), qPrintable(note->text()));
        in<QPushButton>(performance, "polarFileRemove")->click();
        QVERIFY(window->designChangedSinceSaved());

        QCOMPARE(in<QLabel>(performance, "airDensity")->text(), QStringLiteral("1.112 kg/m³"));
        const std::vector<std::string> same = {"--altitude", "1000", "--rated-power", "1800", "--cl-max", "1.0"};
        QCOMPARE(printed(same, "air density", 1), QStringLiteral("1.1117"));
        const QString energy = printed(same, "on the alternator", 1);
        const QString summary = in<QLabel>(performance, "performanceSummary")->text();
        QVERIFY2(summary.contains(QStringLiteral("· %1 kWh a year").arg(std::lround(energy.toDouble()))),
                 qPrintable(summary + QStringLiteral(" against ") + energy));
    }

    // The air temperature is the standard atmosphere's until one is typed,
    // in the units shown; an empty field goes back to the standard.
    void theAirTemperatureIsStandardUnlessTyped()
    {
        PerformanceWindow* performance = opened();
        auto* temperature = in(performance, "temperature");
        QCOMPARE(temperature->text(), QString());
        QVERIFY2(temperature->placeholderText().contains(QStringLiteral("standard")),
                 qPrintable(temperature->placeholderText()));
        type(performance, "temperature", QStringLiteral("35"));
        // 101325 Pa / (287.05 J/(kg K) × 308.15 K)
        QCOMPARE(in<QLabel>(performance, "airDensity")->text(), QStringLiteral("1.146 kg/m³"));
        control(window.get(), UnitSystem::Imperial)->click();
        QCoreApplication::processEvents();
        QCOMPARE(temperature->text(), QStringLiteral("95"));
        QCOMPARE(in<QLabel>(performance, "airDensity")->text(), QStringLiteral("1.146 kg/m³"));
        type(performance, "temperature", {});
        QCOMPARE(in<QLabel>(performance, "airDensity")->text(), QStringLiteral("1.225 kg/m³"));
    }

    // An input the analysis cannot compute with is named, and the user is
    // taken to it; the exports wait.
    void aRefusedInputIsNamedAndFocused()
    {
        PerformanceWindow* performance = opened();
        QVERIFY(QTest::qWaitForWindowActive(performance));
        type(performance, "altitude", QStringLiteral("12000"));
        const auto* note = in<QLabel>(performance, "performanceMessage");
        QVERIFY2(note->text().startsWith(QStringLiteral("Altitude of 12000 m cannot be analysed")),
                 qPrintable(note->text()));
        QVERIFY(!performance->exportSheet());
        type(performance, "altitude", QStringLiteral("0"));
        QVERIFY(performance->exportSheet());
        in(performance, "meanWindSpeed")->setFocus();
        type(performance, "cutOut", QStringLiteral("2"));
        QVERIFY2(note->text().contains(QStringLiteral("must be below cut-out")), qPrintable(note->text()));
        QCOMPARE(QApplication::focusWidget(), in(performance, "cutOut"));
    }

    // The alternator designed on its own page (Ctrl+G): from a test coil,
    // its cut-in is the command line's with the same options, a stator it
    // cannot be wound as is refused by name, and the design file keeps it.
    void theAlternatorIsDesignedOnItsPageAsOnTheCommandLine()
    {
        PerformanceWindow* performance = opened();
        QVERIFY(QTest::qWaitForWindowActive(performance));
        QTest::keyClick(performance, Qt::Key_G, Qt::ControlModifier);
        auto* tabs = in<QTabWidget>(performance, "performanceTabs");
        QCOMPARE(tabs->currentWidget()->objectName(), QStringLiteral("alternatorPage"));
        in<QRadioButton>(performance, "running.alternator")->click();
        in<QRadioButton>(performance, "alternatorFrom.test-coil")->click();
        QVERIFY(!in(performance, "voltsPerRpm")->isEnabled());
        type(performance, "testCoilVolts", QStringLiteral("1.5"));
        type(performance, "turns", QStringLiteral("80"));
        const std::vector<std::string> same = {"--alternator", "test-coil", "--test-coil-volts",
                                               "1.5",          "--turns",   "80"};
        const QString cutIn = printed(same, "alternator cut-in rpm", 1);
        QVERIFY(!cutIn.isEmpty());
        const QString figures = in<QLabel>(performance, "alternatorFigures")->text();
        QVERIFY2(figures.contains(QStringLiteral(">%1<").arg(std::lround(cutIn.toDouble()))),
                 qPrintable(figures + QStringLiteral(" against ") + cutIn));
        const QString summary = in<QLabel>(performance, "performanceSummary")->text();
        QVERIFY2(summary.contains(QStringLiteral("at %1 rpm").arg(std::lround(cutIn.toDouble()))), qPrintable(summary));

        type(performance, "coils", QStringLiteral("10"));
        const auto* note = in<QLabel>(performance, "performanceMessage");
        QVERIFY2(note->text().startsWith(QStringLiteral("Coils cannot be analysed: the coils must be a multiple of 3")),
                 qPrintable(note->text()));
        QVERIFY(!performance->exportSheet());
        type(performance, "coils", QStringLiteral("9"));
        QVERIFY(performance->exportSheet());
        const DesignSettings settings = performance->settings();
        using Setting = std::pair<std::string, std::string>;
        for (const Setting& row : {Setting{"alternator.from", "test-coil"}, Setting{"alternator.turns", "80"},
                                   Setting{"alternator.test-coil-v", "1.5"}})
            QVERIFY2(std::find(settings.begin(), settings.end(), row) != settings.end(), row.first.c_str());
    }

    // Changes made only here are changes of the design: closing asks.
    void changesOnlyHereAreAskedAboutOnClosing()
    {
        PerformanceWindow* performance = opened();
        window->designExport().chooseFile = [this](const DesignExport::FileRequest&) {
            return folder.filePath(QStringLiteral("saved.csv"));
        };
        window->designExport().run(DesignExport::Command::SaveCsv);
        QVERIFY(!window->designChangedSinceSaved());
        type(performance, "meanWindSpeed", QStringLiteral("6"));
        QVERIFY(window->designChangedSinceSaved());
        int asked = 0;
        window->askToSaveChanges = [&asked] {
            ++asked;
            return Form1::SaveAnswer::Cancel;
        };
        QVERIFY(!window->close());
        QCOMPARE(asked, 1);
    }

    // The design file's CSV with a decimal comma: the performance rows are
    // separated by ";" as the design's are, their figures with a comma.
    void theSavedPerformanceRowsFollowTheDecimalComma()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        opened();
        const QString path = folder.filePath(QStringLiteral("komma.csv"));
        window->designExport().chooseFile = [&path](const DesignExport::FileRequest&) { return path; };
        window->designExport().run(DesignExport::Command::SaveCsv);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString csv = QString::fromUtf8(file.readAll());
        const QString rows = csv.mid(csv.indexOf(QStringLiteral("Rotor performance")));
        QVERIFY2(rows.contains(QStringLiteral("Rotor performance;Value;Unit")), qPrintable(rows.left(200)));
        QVERIFY2(rows.contains(QRegularExpression(QStringLiteral("\r\n1,0;[0-9]+,[0-9];"))), qPrintable(rows));
        QVERIFY2(!rows.contains(QRegularExpression(QStringLiteral("[0-9],[0-9]+,[0-9]"))), qPrintable(rows));
    }

    // The table is one stop of the Tab order: the arrows move in it, Tab
    // and Shift+Tab leave it.
    void tabLeavesThePowerCurveTable()
    {
        PerformanceWindow* performance = opened();
        QVERIFY(QTest::qWaitForWindowActive(performance));
        auto* table = in<QTableWidget>(performance, "powerCurveTable");
        in<QTabWidget>(performance, "performanceTabs")->setCurrentWidget(table);
        QVERIFY(table->rowCount() > 10);
        for (const Qt::KeyboardModifier modifier : {Qt::NoModifier, Qt::ShiftModifier}) {
            table->setFocus();
            table->setCurrentCell(2, 2);
            QTest::keyClick(table, Qt::Key_Down);
            QCOMPARE(table->currentRow(), 3);
            QTest::keyClick(table, Qt::Key_Tab, modifier);
            QVERIFY2(!table->hasFocus(), modifier == Qt::NoModifier ? "Tab" : "Shift+Tab");
        }
    }

    // On a dark desktop what the windows say in colour stays readable, at
    // least 4.5 : 1 as on the light one: the notes at their tops, a field
    // tinted for a value that makes no sense, a state and a tip past its
    // limit in the table.
    void colouredTextsAreReadableOnLightAndDarkPalettes()
    {
        for (const bool dark : {false, true}) {
            QPalette palette = QApplication::style()->standardPalette();
            if (dark) {
                // Adwaita dark's, as Qt's GTK 3 platform theme takes them.
                palette.setColor(QPalette::Window, QColor(0x32, 0x32, 0x32));
                palette.setColor(QPalette::WindowText, QColor(0xf0, 0xf0, 0xf0));
                palette.setColor(QPalette::Base, QColor(0x24, 0x24, 0x24));
                palette.setColor(QPalette::Text, QColor(0xf0, 0xf0, 0xf0));
            }
            QApplication::setPalette(palette);
            const auto readable = [dark](QWidget* shown, QWidget* at, QRect rect, const QString& what) {
                const QImage image = shown->grab().toImage();
                const double ratio = contrastIn(image, rect.translated(at->mapTo(shown, QPoint())) & image.rect());
                QVERIFY2(
                    ratio >= 4.5,
                    qPrintable(QStringLiteral("%1 palette, %2: %3 : 1").arg(dark ? "dark" : "light", what).arg(ratio)));
            };
            PerformanceWindow* performance = opened(false);
            QTest::keyClick(control(window.get(), Field::Cl), Qt::Key_B, Qt::ControlModifier);
            SectionsWindow* sections = window->sectionsWindow();
            for (QLabel* note :
                 {in<QLabel>(performance, "performanceMessage"), in<QLabel>(sections, "sectionsMessage")}) {
                QVERIFY(note->isVisible());
                const QFontMetrics metrics = note->fontMetrics();
                readable(note->window(), note,
                         metrics.boundingRect(note->text().left(20))
                             .translated(note->contentsRect().topLeft() + QPoint(0, metrics.ascent())),
                         note->objectName());
            }
            type(sections, "leastThickness", QStringLiteral("-5"));
            QLineEdit* tinted = in(sections, "leastThickness");
            tinted->clearFocus();  // no cursor in what is measured
            readable(sections, tinted, tinted->rect() - QMargins(4, 4, 4, 4), tinted->objectName());
            control(window.get(), Button::Solve)->click();
            QCoreApplication::processEvents();
            auto* table = in<QTableWidget>(performance, "powerCurveTable");
            in<QTabWidget>(performance, "performanceTabs")->setCurrentWidget(table);
            for (const QString& word : {QStringLiteral("held"), QStringLiteral("passed")}) {
                QTableWidgetItem* item = table->findItems(word, Qt::MatchExactly).value(0);
                QVERIFY2(item, qPrintable(word));
                table->scrollToItem(item);
                readable(performance, table->viewport(), table->visualItemRect(item) - QMargins(2, 2, 2, 2), word);
            }
        }
    }

    // A file that is no polar is named with its fault; a device that never
    // ends is not read at all. A measured curve
    // can be let go again.
    void filesAreReadBoundedAndCanBeRemoved()
    {
        PerformanceWindow* performance = opened();
        const auto* cp = in<chart::ChartView>(performance, "cpChart");
        const std::vector<QPointF> before = cp->chart().series.front().points;
        performance->loadPolar(writeFile(QStringLiteral("notes.txt"), "alpha cl cd\n0 0.4 0.01\n5 lots 0.02\n"));
        const auto* note = in<QLabel>(performance, "performanceMessage");
        QVERIFY2(note->text().contains(QStringLiteral("\"notes.txt\" is no polar: line 3")), qPrintable(note->text()));
        QVERIFY(cp->chart().series.front().points == before);
        QVERIFY(!in<QPushButton>(performance, "polarFileRemove")->isEnabled());
        performance->loadPolar(QStringLiteral("/dev/zero"));
        QVERIFY2(note->text().contains(QStringLiteral("\"zero\" could not be read: not a regular file")),
                 qPrintable(note->text()));

        const auto* power = in<chart::ChartView>(performance, "powerChart");
        const auto series = [power] { return power->chart().series.size(); };
        const std::size_t alone = series();
        performance->loadMeasuredCurve(
            writeFile(QStringLiteral("maker.txt"), "wind speed (m/s), power (W)\n3 0\n5 120\n8 500\n12 1000\n"));
        QCOMPARE(series(), alone + 1);
        in<QPushButton>(performance, "measuredCurveRemove")->click();
        QCOMPARE(series(), alone);
    }

    // A weather station's km/h loaded in the Site box: what was left out is
    // said with its line, the typed mean stands aside, the fit is drawn
    // against the histogram, the hub is carried up by the law chosen; the
    // design keeps the file by name with its fit, and the command line with
    // the same file and heights gives the same energy.
    void aSiteWindSeriesIsFittedShownAndKept()
    {
        PerformanceWindow* performance = opened();
        QByteArray text = "Time;Wind speed (km/h)\n";
        for (int i = 0; i < 600; ++i) {
            const QByteArray speed = i == 9 ? "ERR" : i % 25 == 0 ? "0" : QByteArray::number(4 + (i * 7) % 31) + ",5";
            text += "2024-05-01 " + QByteArray::number(10 + i / 60) + ":" + QByteArray::number(10 + i % 50) + ";" +
                    speed + "\n";
        }
        const QString path = writeFile(QStringLiteral("mast.csv"), text);
        performance->chooseFile = [&path](const QString&) { return path; };
        in<QPushButton>(performance, "windSeries")->click();
        const auto* note = in<QLabel>(performance, "performanceMessage");
        QVERIFY2(note->text().contains(QStringLiteral("1 cell that holds no number (the first at line 11: \"ERR\")")),
                 qPrintable(note->text()));
        QVERIFY(!in(performance, "meanWindSpeed")->isEnabled());
        QCOMPARE(in<chart::ChartView>(performance, "siteWindChart")->chart().series.size(), std::size_t{3});

        type(performance, "hubHeight", QStringLiteral("18"));
        auto* law = in<QComboBox>(performance, "heightLaw");
        QVERIFY(!in(performance, "shearExponent")->isVisibleTo(performance));
        law->setFocus();
        QTest::keyClick(law, Qt::Key_End);  // the power law, last
        QVERIFY(in(performance, "shearExponent")->isVisibleTo(performance));
        const DesignSettings settings = performance->settings();
        for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
                 {"site.wind-series-file", "mast.csv"}, {"site.hub-height-m", "18"}, {"site.height-law", "power-law"}})
            QVERIFY2(std::find(settings.begin(), settings.end(), std::pair{key, value}) != settings.end(), key.c_str());
        QVERIFY(std::any_of(settings.begin(), settings.end(),
                            [](const auto& row) { return row.first == "site.wind-series-weibull-k"; }));

        const QString energy =
            printed({"--wind-series", path.toStdString(), "--hub-height", "18", "--height-law", "power-law"},
                    "held at the design tip speed ratio", 1);
        const QString summary = in<QLabel>(performance, "performanceSummary")->text();
        QVERIFY2(summary.contains(QStringLiteral("· %1 kWh a year").arg(std::lround(energy.toDouble()))),
                 qPrintable(summary + QStringLiteral(" against ") + energy));
        in<QPushButton>(performance, "windSeriesRemove")->click();
        QVERIFY(in(performance, "meanWindSpeed")->isEnabled());
        QVERIFY(!in<chart::ChartView>(performance, "siteWindChart")->chart().empty.isEmpty());
    }

    void aChartsTooltipGivesTheFiguresUnderThePointer()
    {
        chart::ChartView view;
        view.resize(400, 300);
        chart::Chart doubling;
        doubling.title = QStringLiteral("Doubling");
        doubling.x = chart::niceAxis(QStringLiteral("x"), 0, 10);
        doubling.y = chart::niceAxis(QStringLiteral("y"), 0, 20);
        doubling.series.push_back({QStringLiteral("twice"), {{0, 0}, {4, 8}, {10, 20}}});
        view.setChart(doubling);
        QVERIFY(view.accessibleDescription().contains(QStringLiteral("x from 0 to 10")));
        const QStringList lines =
            chart::figuresAt(view.chart(), QRectF(view.rect()).adjusted(6, 4, -8, -4), QPointF(230, 150), &view)
                .split(u'\n');
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].startsWith(QStringLiteral("x: ")) && lines[1].startsWith(QStringLiteral("twice: ")),
                 qPrintable(lines.join(u'|')));
        const double x = lines[0].mid(3).toDouble(), y = lines[1].mid(7).toDouble();
        QVERIFY2(x > 4 && x < 10, qPrintable(lines[0]));
        QVERIFY2(std::abs(y - 2 * x) < 1e-3 * y, qPrintable(lines.join(u'|')));
        // Outside the plot, no figures.
        QVERIFY(chart::figuresAt(view.chart(), QRectF(view.rect()), QPointF(1, 1), &view).isEmpty());
    }

    // A 1.2 m design whose chord the Blade Sections window caps at its 150 mm
    // plank: the rotor is analysed capped, the window says what the cap costs,
    // and the design file keeps the cap only as the Blade Sections' setting.
    void aChordCappedInBladeSectionsChangesTheAnalysisAndItsCostIsShown()
    {
        window = std::make_unique<Form1>();
        window->show();
        retype(window.get(), Field::Radius, QStringLiteral("1.2"));
        control(window.get(), Button::Solve)->click();
        QTest::keyClick(control(window.get(), Field::Cl), Qt::Key_R, Qt::ControlModifier);
        QCoreApplication::processEvents();
        PerformanceWindow* performance = window->performanceWindow();
        const auto* cost = in<QLabel>(performance, "trimCost");
        const auto* cp = in<chart::ChartView>(performance, "cpChart");
        QVERIFY(cost->isHidden());
        const std::vector<QPointF> solved = cp->chart().series.front().points;

        QTest::keyClick(control(window.get(), Field::Cl), Qt::Key_B, Qt::ControlModifier);
        QCoreApplication::processEvents();
        in<QCheckBox>(window->sectionsWindow(), "capChord")->click();
        QCoreApplication::processEvents();
        QVERIFY(!cost->isHidden());
        QVERIFY2(cost->text().contains(QStringLiteral("chord at most 150 mm")) &&
                     cost->text().contains(QRegularExpression(
                         QStringLiteral("Cp max 0\\.[0-9]{3} → 0\\.[0-9]{3}, [0-9 ,]+ → [0-9 ,]+ kWh a year"))),
                 qPrintable(cost->text()));
        QVERIFY(cp->chart().series.front().points != solved);
        for (const auto& [name, value] : performance->settings())
            QVERIFY2(!QString::fromStdString(name).startsWith(u"sections."), name.c_str());

        in<QCheckBox>(window->sectionsWindow(), "capChord")->click();
        QCoreApplication::processEvents();
        QVERIFY(cost->isHidden());
        QVERIFY(cp->chart().series.front().points == solved);
    }

    // What limits the machine reads at a glance: the furl onset and the
    // tip-speed limit on the power chart, the overheating bins by their
    // state on the alternator, and the line under the summary.
    void theLimitsReadAtAGlance()
    {
        PerformanceWindow* performance = opened();
        const auto* limits = in<QLabel>(performance, "limitsSummary");
        QVERIFY2(limits->text().startsWith(QStringLiteral("Furls from 15 m/s · tip past 80 m/s from 11.5 m/s")) &&
                     limits->text().contains(QStringLiteral("not a certification")),
                 qPrintable(limits->text()));
        const auto rules = [performance] {
            QStringList labels;
            for (const chart::Rule& rule : in<chart::ChartView>(performance, "powerChart")->chart().rules)
                labels << rule.label;
            return labels;
        };
        QVERIFY2(rules().contains(QStringLiteral("furl onset")) && rules().contains(QStringLiteral("tip > 80 m/s")),
                 qPrintable(rules().join(u'|')));
        in<QRadioButton>(performance, "running.alternator")->click();
        QCoreApplication::processEvents();
        QVERIFY2(limits->text().contains(QStringLiteral("overheats from 7 m/s (rating 5.7 A)")),
                 qPrintable(limits->text()));
        const auto* table = in<QTableWidget>(performance, "powerCurveTable");
        int overheating = 0;
        for (int r = 0; r < table->rowCount(); ++r)
            overheating += table->item(r, 7)->text() == QStringLiteral("overheating");
        QVERIFY(overheating > 20);
        // The limits are inputs of their own page, kept with the design.
        type(performance, "furlOnset", QStringLiteral("0"));
        QVERIFY2(limits->text().startsWith(QStringLiteral("No furling tail")), qPrintable(limits->text()));
        const DesignSettings kept = performance->settings();
        QVERIFY(std::count(kept.begin(), kept.end(),
                           std::pair<std::string, std::string>{"limits.furl-onset-m/s", "0"}) == 1);
    }

    // After the design, a page of the figures, the annual energy the window
    // shows among them, and a page of every chart that has something to draw.
    void theSheetCarriesTheFiguresThenTheCharts()
    {
        PerformanceWindow* performance = opened();
        const QString path = folder.filePath(QStringLiteral("sheet.pdf"));
        window->designExport().chooseFile = [&path](const DesignExport::FileRequest&) { return path; };
        window->designExport().run(DesignExport::Command::SavePdf);
        const QString info = run(QStringLiteral("pdfinfo"), {path});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages: +3\n"))), qPrintable(info));
        const auto page = [&path](int number) {
            const QString n = QString::number(number);
            return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-f"), n,
                                                     QStringLiteral("-l"), n, path, QStringLiteral("-")})
                .simplified();
        };
        const QString figures = page(2), charts = page(3);
        for (const chart::ChartView* view : performance->findChildren<chart::ChartView*>())
            QVERIFY2(charts.contains(view->chart().title) == view->chart().empty.isEmpty(),
                     qPrintable(view->chart().title));
        const QString summary = in<QLabel>(performance, "performanceSummary")->text();
        const QString energy = QRegularExpression(QStringLiteral("([0-9]+) kWh a year")).match(summary).captured(1);
        QVERIFY(!energy.isEmpty());
        QVERIFY2(figures.contains(QStringLiteral("%1 kWh").arg(energy)), qPrintable(figures));
    }
};

QTEST_MAIN(PerformanceWindowTest)
#include "performance_window_test.moc"
