// The Blade Sections window on the main window's design: one window beside
// the main one, the trim that every drawing follows, the SVG and the gauges at
// full size, a coordinates file read whole or not at all, the settings in the
// design file beside the Rotor Performance window's.

#include "export/blade_template.h"
#include "export/design_export.h"
#include "export/section_gauges.h"
#include "performance_window/performance_window.h"
#include "sections_window/sections_window.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <numbers>

using namespace tivora;
using namespace tivora::testing;

namespace {

// The points of an SVG path of straight lines ("M x,y L x,y ... Z").
QPolygonF pathPoints(const QString& d)
{
    QPolygonF points;
    static const QRegularExpression pair(QStringLiteral("([-\\d.]+),([-\\d.]+)"));
    for (auto it = pair.globalMatch(d); it.hasNext();) {
        const auto m = it.next();
        points << QPointF(m.captured(1).toDouble(), m.captured(2).toDouble());
    }
    return points;
}

}  // namespace

class SectionsWindowTest : public QObject {
    Q_OBJECT

    ModalWatchdog watchdog;
    QTemporaryDir folder;
    std::unique_ptr<Form1> window;

    // The start design (at `radius` metres) solved, and the window opened on
    // it by its key.
    SectionsWindow* opened(const QString& radius = QStringLiteral("1"))
    {
        window = std::make_unique<Form1>();
        window->show();
        retype(window.get(), Field::Radius, radius);
        control(window.get(), Button::Solve)->click();
        QTest::keyClick(control(window.get(), Field::Cl), Qt::Key_B, Qt::ControlModifier);
        QCoreApplication::processEvents();
        return window->sectionsWindow();
    }

    // The chord capped at the plank's width, typed in millimetres.
    void capAt(SectionsWindow* sections, const QString& millimetres)
    {
        type(sections, "plankWidth", millimetres);
        in<QCheckBox>(sections, "capChord")->setChecked(true);
        QCoreApplication::processEvents();
    }

    QString saved(SectionsWindow* sections, const char* name, void (SectionsWindow::*save)())
    {
        const QString path = folder.filePath(QString::fromLatin1(name));
        sections->chooseFileToSave = [path](const QString&, const QString&, const QString&) { return path; };
        (sections->*save)();
        return path;
    }

    QString cell(SectionsWindow* sections, int station, int column)
    {
        return in<QTableWidget>(sections, "carvingTable")->item(station - 1, column)->text();
    }

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void cleanup() { window.reset(); }

    void opensOnceBesideTheMainWindowAndClosesWithIt()
    {
        {
            Form1 fresh;
            QVERIFY2(!fresh.findChild<SectionsWindow*>(), "nothing of the window is made at start");
        }
        SectionsWindow* sections = opened();
        QVERIFY(sections && sections->isVisible());
        QTest::keyClick(control(window.get(), Field::Tsr), Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(window->findChildren<SectionsWindow*>().size(), 1);

        control(window.get(), Button::Solve)->setFocus();
        QTest::keyClick(control(window.get(), Button::Solve), Qt::Key_F10, Qt::ShiftModifier);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QStringList names;
        for (QAction* action : menu->actions())
            names << action->objectName();
        QCOMPARE(names.indexOf(QStringLiteral("Blade Sections")),
                 names.indexOf(QStringLiteral("Rotor Performance")) + 1);
        menu->close();

        QTest::keyClick(sections, Qt::Key_Escape);
        QVERIFY(!sections->isVisible());
        window->showSections();
        QVERIFY(sections->isVisible());
        window->askToSaveChanges = [] { return Form1::SaveAnswer::Discard; };
        window->close();
        QVERIFY(!sections->isVisible());
    }

    // A 1.2 m design's root chord is 538 mm; capped at a 150 mm plank, the
    // template, the sections, the table and the design sheet all show 150.
    void aTrimmedBladeChangesEveryDrawingTogether()
    {
        SectionsWindow* sections = opened(QStringLiteral("1.2"));
        QCOMPARE(cell(sections, 1, 2), QStringLiteral("538"));
        // What follows the trimmed blade (the rotor analysis) hears of it.
        QSignalSpy trimmed(sections, &SectionsWindow::settingsChanged);
        capAt(sections, QStringLiteral("150"));
        QVERIFY(trimmed.count() >= 1);
        QCOMPARE(cell(sections, 1, 2), QStringLiteral("150"));
        QCOMPARE(cell(sections, 4, 2), QStringLiteral("134"));                     // below the cap: as solved
        QCOMPARE(textOf(window.get(), stationChord(1)), QStringLiteral("0.538"));  // the seed stays

        DesignExport& out = window->designExport();
        const QString svg = folder.filePath(QStringLiteral("template.svg"));
        const QString sheet = folder.filePath(QStringLiteral("sheet.pdf"));
        for (const auto& [command, path] :
             {std::pair(DesignExport::Command::SaveSvg, svg), std::pair(DesignExport::Command::SavePdf, sheet)}) {
            out.chooseFile = [file = path](const DesignExport::FileRequest&) { return file; };
            out.run(command);
        }
        QFile file(svg);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        const QRegularExpression outline(QStringLiteral("id=\"outline\" d=\"([^\"]+)\""));
        const QPolygonF points = pathPoints(outline.match(text).captured(1));
        QCOMPARE(points.size(), 2 * kStationCount);
        // Station 1: its leading edge first, its trailing edge last.
        QCOMPARE_LE(std::abs(points.back().y() - points.front().y() - 150), 0.01);
        QVERIFY(text.contains(QStringLiteral("Trimmed for carving: chord at most 150 mm.")));

        const QString page2 = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-f"),
                                                                QStringLiteral("2"), sheet, QStringLiteral("-")});
        QVERIFY2(page2.contains(QStringLiteral("Carving the blade")), qPrintable(page2));
        QVERIFY2(page2.contains(QRegularExpression(QStringLiteral("\\n\\s+1\\s+0.12\\s+150\\s+37.6\\s"))),
                 qPrintable(page2));

        QFile sectionsSvg(saved(sections, "sections.svg", &SectionsWindow::saveSvg));
        QVERIFY(sectionsSvg.open(QIODevice::ReadOnly));
        const QRegularExpression root(QStringLiteral("id=\"section-1\" d=\"([^\"]+)\""));
        const QPolygonF section = pathPoints(root.match(QString::fromUtf8(sectionsSvg.readAll())).captured(1));
        double chord = 0;
        for (const QPointF& a : section)
            for (const QPointF& b : section)
                chord = std::max(chord, std::hypot(a.x() - b.x(), a.y() - b.y()));
        QCOMPARE_LE(std::abs(chord - 150), 0.5);
    }

    // Each outline measured from the SVG: closed, its chord the distance
    // between its farthest points, turned by β, as thick as the table says
    // (12 % of the chord, the start design's NACA 2412).
    void sectionsSvgIsOneClosedOutlinePerStationAtFullSize()
    {
        SectionsWindow* sections = opened();
        QFile file(saved(sections, "sections.svg", &SectionsWindow::saveSvg));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader svg(&file);
        QVERIFY(svg.readNextStartElement());
        QVERIFY(svg.attributes().value("width").endsWith(u"mm"));
        const QStringList viewBox = svg.attributes().value("viewBox").toString().split(u' ');
        QCOMPARE(viewBox[2] + QStringLiteral("mm"), svg.attributes().value("width").toString());
        int outlines = 0;
        while (!svg.atEnd()) {
            if (svg.readNext() != QXmlStreamReader::StartElement ||
                !svg.attributes().value("id").startsWith(u"section-"))
                continue;
            const int k = svg.attributes().value("id").mid(8).toInt();
            const QString d = svg.attributes().value("d").toString();
            QVERIFY2(d.startsWith(u'M') && d.endsWith(u'Z') && d.count(u'M') == 1, qPrintable(d.left(40)));
            const QPolygonF points = pathPoints(d);
            QPointF leading, trailing;
            double chord = 0;
            for (const QPointF& a : points) {
                for (const QPointF& b : points) {
                    if (const double apart = std::hypot(a.x() - b.x(), a.y() - b.y()); apart > chord) {
                        chord = apart;
                        leading = a.x() < b.x() ? a : b;
                        trailing = a.x() < b.x() ? b : a;
                    }
                }
            }
            const double beta = std::atan2(trailing.y() - leading.y(), trailing.x() - leading.x());
            // In the chord's frame the path runs from the trailing edge over
            // one surface to the leading edge and back over the other: the
            // thickness is the largest distance between the two.
            std::vector<QPointF> first, second;
            bool pastNose = false;
            for (const QPointF& p : points) {
                const QPointF along((p.x() - leading.x()) * std::cos(beta) + (p.y() - leading.y()) * std::sin(beta),
                                    -(p.x() - leading.x()) * std::sin(beta) + (p.y() - leading.y()) * std::cos(beta));
                (pastNose ? second : first).push_back(along);
                pastNose = pastNose || p == leading;
            }
            const auto at = [](const std::vector<QPointF>& surface, double x) {
                for (std::size_t i = 1; i < surface.size(); ++i) {
                    const QPointF a = surface[i - 1], b = surface[i];
                    if ((x - a.x()) * (x - b.x()) <= 0 && a.x() != b.x())
                        return a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x());
                }
                return 0.0;
            };
            double thickness = 0;
            for (double x = 0; x <= chord; x += chord / 200)
                thickness = std::max(thickness, std::abs(at(first, x) - at(second, x)));
            QCOMPARE_LE(std::abs(chord - cell(sections, k, 2).toDouble()), 0.5);
            QCOMPARE_LE(std::abs(beta * 180 / std::numbers::pi - cell(sections, k, 3).toDouble()), 0.25);
            QCOMPARE_LE(std::abs(thickness - cell(sections, k, 6).toDouble()), 0.5);
            ++outlines;
        }
        QCOMPARE(outlines, kStationCount);
    }

    void gaugesPrintWholeWithABarOf100Millimetres_data()
    {
        QTest::addColumn<QString>("paperLocale");
        QTest::addColumn<QString>("paper");
        QTest::newRow("LC_PAPER en_US: Letter") << "en_US"
                                                << "letter";
        QTest::newRow("LC_PAPER C: A4") << "C"
                                        << "A4";
    }
    void gaugesPrintWholeWithABarOf100Millimetres()
    {
        QFETCH(QString, paperLocale);
        QFETCH(QString, paper);
        const PaperLocale paperInForce(paperLocale, folder.path());
        if (!paperInForce.made())
            QSKIP("glibc's locale sources (Debian package locales) are not installed to make the locale");
        SectionsWindow* sections = opened();
        // The uncut root is no gauge for a sheet of paper: nothing written.
        QFile::remove(folder.filePath(QStringLiteral("gauges.pdf")));
        const QString pdf = saved(sections, "gauges.pdf", &SectionsWindow::saveGauges);
        QVERIFY(!QFile::exists(pdf));
        const QString said = in<QLabel>(sections, "sectionsMessage")->text();
        QVERIFY2(said.contains(QStringLiteral("station 1")) && said.contains(QStringLiteral("Nothing was written")),
                 qPrintable(said));

        capAt(sections, QStringLiteral("150"));
        saved(sections, "gauges.pdf", &SectionsWindow::saveGauges);
        const QString info = run(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Page size: .* pts \\(%1\\)\n").arg(paper))),
                 qPrintable(info));
        const int pages = QRegularExpression(QStringLiteral("Pages: +(\\d+)\n")).match(info).captured(1).toInt();
        QVERIFY(pages >= 1 && pages < kStationCount);
        QString all;
        for (int page = 1; page <= pages; ++page) {
            const QString number = QString::number(page);
            const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-f"), number, QStringLiteral("-l"),
                                                                   number, pdf, QStringLiteral("-")});
            QVERIFY2(text.contains(QStringLiteral("100 mm when printed at 100 %")), qPrintable(text));
            all += text;
            // At 100 dots an inch the bar, the longest dark line of the page's
            // lowest 30 mm, is 393.7 dots long.
            const QString png = folder.filePath(QStringLiteral("page"));
            run(QStringLiteral("pdftoppm"),
                {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-gray"), QStringLiteral("-png"),
                 QStringLiteral("-singlefile"), QStringLiteral("-f"), number, QStringLiteral("-l"), number, pdf, png});
            const QImage image(png + QStringLiteral(".png"));
            QVERIFY(!image.isNull());
            int longest = 0;
            for (int y = image.height() - int(30 / 25.4 * 100); y < image.height(); ++y) {
                int run = 0;
                for (int x = 0; x < image.width(); ++x) {
                    run = qGray(image.pixel(x, y)) < 128 ? run + 1 : 0;
                    longest = std::max(longest, run);
                }
            }
            QCOMPARE_LE(std::abs(longest - 393.7), 2.0);
        }
        for (int k = 1; k <= kStationCount; ++k)
            QCOMPARE(all.count(QRegularExpression(QStringLiteral("Station %1\\s").arg(k))), 1);
    }

    void aBadCoordinatesFileChangesNothingAndSaysWhichLine_data()
    {
        QTest::addColumn<QByteArray>("content");  // empty: /dev/zero
        QTest::addColumn<QString>("says");
        QTest::newRow("unsorted") << QByteArray("Bad\n1 0\n0.2 0.06\n0.5 0.05\n0 0\n0.5 -0.05\n1 0\n") << "line 4";
        QTest::newRow("a word") << QByteArray("Bad\n1 0\n0.5 zero\n0 0\n0.5 -0.05\n1 0\n") << "line 3";
        QTest::newRow("open") << QByteArray("Bad\n1 0\n0.5 0.05\n0 0\n0.5 -0.05\n0.7 -0.04\n") << "line 6";
        QTest::newRow("/dev/zero") << QByteArray() << "not a regular file";
    }
    void aBadCoordinatesFileChangesNothingAndSaysWhichLine()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, says);
        SectionsWindow* sections = opened();
        const QString before = in<QLabel>(sections, "sectionName")->text();
        const QString thickness = cell(sections, 1, 6);
        QString path = QStringLiteral("/dev/zero");
        if (!content.isEmpty()) {
            path = folder.filePath(QStringLiteral("bad.dat"));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        sections->loadCoordinates(path);
        const QString said = in<QLabel>(sections, "sectionsMessage")->text();
        QVERIFY2(said.contains(says) && said.contains(QStringLiteral("not changed")), qPrintable(said));
        QCOMPARE(in<QLabel>(sections, "sectionName")->text(), before);
        QCOMPARE(cell(sections, 1, 6), thickness);

        // A good one: a section 15 % thick.
        const QString good = folder.filePath(QStringLiteral("good.dat"));
        QFile file(good);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Fifteen\n1 0\n0.5 0.06\n0.25 0.075\n0 0\n0.25 -0.075\n0.5 -0.06\n1 0\n");
        file.close();
        sections->loadCoordinates(good);
        QVERIFY(in<QLabel>(sections, "sectionName")->text().startsWith(QStringLiteral("Fifteen")));
        QCOMPARE(cell(sections, 1, 7), QStringLiteral("15"));
        const DesignSettings kept = sections->settings();
        QCOMPARE(std::count(kept.begin(), kept.end(),
                            std::pair<std::string, std::string>("sections.coordinates-file", "good.dat")),
                 1);
    }

    // Both windows' settings go into the file, and a row no window knows
    // comes back as it was; opened again, each window takes its own.
    void everyWindowsSettingsAreKeptInTheDesignFile()
    {
        window = std::make_unique<Form1>();
        const QString first = folder.filePath(QStringLiteral("first.csv"));
        window->designExport().chooseFile = [first](const DesignExport::FileRequest&) { return first; };
        window->designExport().askWhenStale = [] { return DesignExport::Answer::SolveFirst; };
        window->designExport().run(DesignExport::Command::SaveCsv);
        QFile file(first);
        QVERIFY(file.open(QIODevice::Append));
        file.write("Setting,sections.plank-width-mm,120\r\nSetting,someone.else,kept as it was\r\n");
        file.close();
        QVERIFY(window->openDesign(first));

        window->showSections();
        window->showPerformance();
        QVERIFY2(!window->designChangedSinceSaved(), "making the windows changes no design");
        QCOMPARE(in(window->sectionsWindow(), "plankWidth")->text(), QStringLiteral("120"));
        type(window->sectionsWindow(), "woodDensity", QStringLiteral("500"));
        type(window->performanceWindow(), "meanWindSpeed", QStringLiteral("6"));

        const QString second = folder.filePath(QStringLiteral("second.csv"));
        window->designExport().chooseFile = [second](const DesignExport::FileRequest&) { return second; };
        window->designExport().run(DesignExport::Command::SaveCsv);
        QFile saved(second);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(saved.readAll());
        for (const char* row :
             {"Setting,sections.plank-width-mm,120\r\n", "Setting,sections.wood-density-kg/m3,500\r\n",
              "Setting,site.mean-wind-speed-m/s,6\r\n", "Setting,someone.else,kept as it was\r\n"})
            QCOMPARE(text.count(QString::fromUtf8(row)), 1);
    }

    // In Imperial the lengths across the plank are in inches, the radii in
    // feet; the copy carries the ASCII minus of the tip's small rise.
    void carvingTableFollowsTheUnitsAndCopies()
    {
        SectionsWindow* sections = opened();
        control(window.get(), UnitSystem::Imperial)->click();
        QCoreApplication::processEvents();
        auto* table = in<QTableWidget>(sections, "carvingTable");
        QCOMPARE(table->horizontalHeaderItem(1)->text(), QStringLiteral("Radius (ft)"));
        QVERIFY(table->horizontalHeaderItem(5)->text().endsWith(QStringLiteral("(in)")));
        QCOMPARE(in(sections, "plankWidth")->text(), QStringLiteral("5.91"));  // 150 mm
        // Station 10: 1.772 in at −0.6°: 1.772 × sin(−0.6°) = −0.019 in.
        QCOMPARE(cell(sections, 10, 5), QStringLiteral("-0.02"));
        table->setFocus();
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        QVERIFY(copied->text().contains(QStringLiteral("\n10\t3.281\t1.77\t-0.6\t1.77\t-0.02\t")));
        QVERIFY(copied->html().contains(QStringLiteral("<th>Drop of trailing edge (in)</th>")));
    }
};

QTEST_MAIN(SectionsWindowTest)
#include "sections_window_test.moc"
