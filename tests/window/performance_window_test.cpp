// The Rotor Performance window on the main window's design: what it shows,
// how it follows the main window and the user's inputs, and the design
// sheet's second page.

#include "chart/chart.h"
#include "export/design_export.h"
#include "performance/rotor_performance.h"
#include "performance_window/performance_window.h"
#include "window_fixture.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace tivora;
using namespace tivora::testing;

namespace {

QString figure(double value, int decimals)
{
    return QString::fromStdString(formatNumber(roundTo(value, decimals), NumberFormat{}));
}

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
    return QString::fromUtf8(process.readAllStandardOutput());
}

template <class T = QLineEdit>
T* in(QWidget* window, const char* name)
{
    auto* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control named %s", name);
    return found;
}

void type(QWidget* window, const char* name, const QString& text)
{
    auto* edit = in(window, name);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QCoreApplication::processEvents();
}

}  // namespace

class PerformanceWindowTest : public QObject {
    Q_OBJECT

    ModalWatchdog watchdog;
    QTemporaryDir folder;
    std::unique_ptr<Form1> window;

    // The start design solved, and the window opened on it by its key.
    PerformanceWindow* opened()
    {
        window = std::make_unique<Form1>();
        window->show();
        control(window.get(), Button::Solve)->click();
        QTest::keyClick(control(window.get(), Field::Cl), Qt::Key_R, Qt::ControlModifier);
        QCoreApplication::processEvents();
        return window->performanceWindow();
    }

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void cleanup() { window.reset(); }

    void opensOnTheSolvedStartDesignWithTheCoresFigures()
    {
        {
            Form1 fresh;
            QVERIFY2(!fresh.findChild<PerformanceWindow*>(), "nothing of the window is made at start");
        }
        PerformanceWindow* performance = opened();
        QVERIFY(performance && performance->isVisible());
        const auto core = performance::analysePerformance(window->sheet(), {}).value();
        // A real blade: below Betz's limit, well above nothing.
        QVERIFY(core.cp.peakCp > 0.35 && core.cp.peakCp < 16.0 / 27);
        const QString summary = in<QLabel>(performance, "performanceSummary")->text();
        QVERIFY2(summary.contains(
                     QStringLiteral("Cp max %1 at λ %2").arg(figure(core.cp.peakCp, 3), figure(core.cp.peakTsr, 2))),
                 qPrintable(summary));
        QVERIFY2(summary.contains(QStringLiteral("annual energy %1 kWh").arg(figure(core.energy.kilowattHours, 0))),
                 qPrintable(summary));
        QCOMPARE(in(performance, "meanWindSpeed")->text(), QStringLiteral("5"));
        QVERIFY(in<QLabel>(performance, "airDensity")->text().startsWith(QStringLiteral("1.225 ")));
        QVERIFY(!in<QLabel>(performance, "performanceMessage")->isVisible());
    }

    void unitSwitchChangesLabelsAndFiguresNotThePhysics_data()
    {
        QTest::addColumn<UnitSystem>("system");
        QTest::addColumn<QString>("speedUnit");
        QTest::addColumn<QString>("meanWindSpeed");  // 5 m/s
        QTest::addColumn<QString>("altitudeUnit");
        QTest::newRow("Metric") << UnitSystem::Metric << "km/h"
                                << "18"
                                << "m";
        QTest::newRow("Imperial") << UnitSystem::Imperial << "mph"
                                  << "11.18"
                                  << "ft";
    }
    void unitSwitchChangesLabelsAndFiguresNotThePhysics()
    {
        QFETCH(UnitSystem, system);
        QFETCH(QString, speedUnit);
        QFETCH(QString, meanWindSpeed);
        QFETCH(QString, altitudeUnit);
        PerformanceWindow* performance = opened();
        const auto* power = in<chart::ChartView>(performance, "powerChart");
        const QString before = power->chart().series.front().name;
        control(window.get(), system)->click();
        QCoreApplication::processEvents();
        QCOMPARE(in(performance, "meanWindSpeed")->text(), meanWindSpeed);
        QCOMPARE(in(performance, "meanWindSpeed")->accessibleName(),
                 QStringLiteral("Mean wind speed (%1)").arg(speedUnit));
        QCOMPARE(in(performance, "altitude")->accessibleName(), QStringLiteral("Altitude (%1)").arg(altitudeUnit));
        QCOMPARE(power->chart().x.title, QStringLiteral("Wind speed (%1)").arg(speedUnit));
        // The station table is rounded anew in the other units; the energy
        // of the same site may move in its last figure, no more.
        const auto energy = [](const QString& name) {
            static const QRegularExpression kWh(QStringLiteral("([0-9.,]+) kWh"));
            return kWh.match(name).captured(1).remove(u',').toDouble();
        };
        QVERIFY2(std::abs(energy(power->chart().series.front().name) - energy(before)) <= 0.002 * energy(before),
                 qPrintable(power->chart().series.front().name + QStringLiteral(" against ") + before));
    }

    void editingTheMeanWindSpeedRedrawsThePowerChartAndItsEnergy()
    {
        PerformanceWindow* performance = opened();
        const auto* power = in<chart::ChartView>(performance, "powerChart");
        type(performance, "meanWindSpeed", QStringLiteral("6"));
        performance::PerformanceInputs windier;
        windier.meanWindSpeed = 6;
        const auto core = performance::analysePerformance(window->sheet(), windier).value();
        const QString legend = power->chart().series.front().name;
        QVERIFY2(legend.contains(QStringLiteral("%1 kWh a year").arg(figure(core.energy.kilowattHours, 0))),
                 qPrintable(legend));
        QVERIFY(power->chart().notes.join(u' ').contains(QStringLiteral("mean wind speed 6 m/s")));
    }

    void aBadPolarFileLeavesThePreviousChartsAndSaysWhy()
    {
        PerformanceWindow* performance = opened();
        const auto* cp = in<chart::ChartView>(performance, "cpChart");
        const std::vector<QPointF> before = cp->chart().series.front().points;
        const QString path = folder.filePath(QStringLiteral("notes.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("alpha cl cd\n0 0.4 0.01\n5 lots 0.02\n");
        file.close();
        performance->loadPolar(path);
        const auto* message = in<QLabel>(performance, "performanceMessage");
        QVERIFY(message->isVisible());
        QVERIFY2(message->text().contains(QStringLiteral("\"notes.txt\" is no polar: line 3")),
                 qPrintable(message->text()));
        QVERIFY(cp->chart().series.front().points == before);
        QVERIFY(in<QPushButton>(performance, "simpleAirfoil")->isEnabled() == false);
        // A device that never ends is read no further than a polar could be long.
        performance->loadPolar(QStringLiteral("/dev/zero"));
        QVERIFY2(message->text().contains(QStringLiteral("\"zero\" could not be read: the file is larger than")),
                 qPrintable(message->text()));
        QVERIFY(cp->chart().series.front().points == before);
    }

    void aStaleMainWindowIsSaidNotAnalysed()
    {
        PerformanceWindow* performance = opened();
        retype(window.get(), Field::Radius, QStringLiteral("2"));
        QCoreApplication::processEvents();
        const auto* message = in<QLabel>(performance, "performanceMessage");
        QVERIFY(message->isVisible());
        QVERIFY(message->text().contains(QStringLiteral("Solve!")));
        QVERIFY(!performance->exportSheet());
        control(window.get(), Button::Solve)->click();
        QCoreApplication::processEvents();
        QVERIFY(!message->isVisible());
        QVERIFY(performance->exportSheet());
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

    void theSheetsSecondPageHasTheThreeChartsAndTheAnnualEnergy()
    {
        PerformanceWindow* performance = opened();
        const QString path = folder.filePath(QStringLiteral("sheet.pdf"));
        window->designExport().chooseFile = [&path](const DesignExport::FileRequest&) { return path; };
        window->designExport().run(DesignExport::Command::SavePdf);
        const QString info = run(QStringLiteral("pdfinfo"), {path});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages: +2\n"))), qPrintable(info));
        const QString second =
            run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-f"), QStringLiteral("2"),
                                              QStringLiteral("-l"), QStringLiteral("2"), path, QStringLiteral("-")})
                .simplified();
        const auto core = performance::analysePerformance(window->sheet(), {}).value();
        for (const chart::ChartView* view : performance->findChildren<chart::ChartView*>())
            QVERIFY2(second.contains(view->chart().title), qPrintable(view->chart().title));
        QVERIFY2(second.contains(QStringLiteral("Annual energy %1 kWh").arg(figure(core.energy.kilowattHours, 0))),
                 qPrintable(second));
    }
};

QTEST_MAIN(PerformanceWindowTest)
#include "performance_window_test.moc"
