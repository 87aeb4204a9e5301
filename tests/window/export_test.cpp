#include "window_fixture.h"

#include "export/blade_template.h"
#include "export/design_export.h"
#include "export/design_page.h"

#include <QAccessible>
#include <QClipboard>
#include <QDirIterator>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <clocale>

#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

using namespace tivora;
using namespace tivora::testing;
using Command = DesignExport::Command;
using Answer = DesignExport::Answer;
Q_DECLARE_METATYPE(Command)
Q_DECLARE_METATYPE(std::vector<double>)

namespace {

// The start design solved, in SI or (switched after the solve) Imperial.
// In a decimal-comma locale the start texts come with commas.
std::unique_ptr<Form1> solvedWindow(const QLocale& locale, bool imperial)
{
    QLocale::setDefault(locale);
    auto window = std::make_unique<Form1>();
    control(window.get(), Button::Solve)->click();
    if (imperial)
        control(window.get(), UnitSystem::Imperial)->click();
    return window;
}

// What the window shows for the solved start design; "·" stands for the
// locale's decimal separator.
const QString kSi = QStringLiteral("Number of Blades\t3\t\nTSR\t7\t\nBlade Efficiency\t0·4\t\nBlade Radius\t1\tm\n"
                                   "Wind Speed\t15\tm/s\nCl\t0·85\t\nα\t6\t°\nGenerator Power\t2587·1\tWatts\n"
                                   "Generator speed\t105\trad/sec\nGenerator Torque\t24·64\tN.m\n\n"
                                   "Station\tRadius (m)\tChord (m)\tβ (°)\n"
                                   "1\t0·1\t0·448\t37·6\n2\t0·2\t0·224\t19·5\n3\t0·3\t0·149\t11·6\n"
                                   "4\t0·4\t0·112\t7·4\n5\t0·5\t0·09\t4·8\n6\t0·6\t0·075\t3\n7\t0·7\t0·064\t1·7\n"
                                   "8\t0·8\t0·056\t0·8\n9\t0·9\t0·05\t0\n10\t1\t0·045\t-0·6\n");
const QString kImperial =
    QStringLiteral("Number of Blades\t3\t\nTSR\t7\t\nBlade Efficiency\t0·4\t\nBlade radius\t3·3\tfeet\n"
                   "Wind Speed\t33·6\tmph\nCl\t0·85\t\nα\t6\t°\nGenerator Power\t2587·1\tWatts\n"
                   "Generator speed\t1002·7\trpm\nGenerator Torque\t24·64\tN.m\n\n"
                   "Station\tRadius (ft)\tChord (in)\tβ (°)\n"
                   "1\t0·328\t17·638\t37·6\n2\t0·656\t8·819\t19·5\n3\t0·984\t5·866\t11·6\n"
                   "4\t1·312\t4·409\t7·4\n5\t1·64\t3·543\t4·8\n6\t1·969\t2·953\t3\n7\t2·297\t2·52\t1·7\n"
                   "8\t2·625\t2·205\t0·8\n9\t2·953\t1·969\t0\n10\t3·281\t1·772\t-0·6\n");

// Pasted into a word processor: the start of the same rows as a table.
const QString kSiHtmlStart = QStringLiteral("<meta charset=\"utf-8\">\n<table>\n"
                                            "<tr><td>Number of Blades</td><td>3</td><td></td></tr>\n"
                                            "<tr><td>TSR</td><td>7</td><td></td></tr>\n"
                                            "<tr><td>Blade Efficiency</td><td>0.4</td><td></td></tr>\n");

}  // namespace

class ExportTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir folder;

    QStringList messages;  // what the last command said, its boxes accepted

    // Runs `command` with a chooser that picks `path`; returns how often the
    // stale question was asked (it answers `answer`).
    int runCommand(Form1& window, Command command, const QString& path, Answer answer = Answer::Cancel)
    {
        int asked = 0;
        window.designExport().chooseFile = [path](const DesignExport::FileRequest&) { return path; };
        window.designExport().askWhenStale = [&asked, answer] {
            ++asked;
            return answer;
        };
        messages = acceptingMessageBoxes([&] { window.designExport().run(command); });
        return asked;
    }

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void nothingOfTheExportExistsAtStart()
    {
        Form1 window;
        QVERIFY(!window.findChild<DesignExport*>());
        QVERIFY(!window.findChild<QMenu*>());
    }

    void copyAndCsvAreTheShownFiguresByteForByte_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<bool>("imperial");
        QTest::addColumn<QString>("decimal");
        QTest::addColumn<QString>("separator");
        const QLocale german(QLocale::German, QLocale::Germany);
        QTest::newRow("SI, full stop, comma-separated") << QLocale::c() << false << "."
                                                        << ",";
        QTest::newRow("Imperial, full stop, comma-separated") << QLocale::c() << true << "."
                                                              << ",";
        QTest::newRow("SI, decimal comma, semicolon-separated") << german << false << ","
                                                                << ";";
        QTest::newRow("Imperial, decimal comma, semicolon-separated") << german << true << ","
                                                                      << ";";
    }
    void copyAndCsvAreTheShownFiguresByteForByte()
    {
        QFETCH(QLocale, locale);
        QFETCH(bool, imperial);
        QFETCH(QString, decimal);
        QFETCH(QString, separator);
        auto window = solvedWindow(locale, imperial);
        const QString path = folder.filePath(QStringLiteral("design.csv"));
        QCOMPARE(runCommand(*window, Command::Copy, path), 0);
        QCOMPARE(runCommand(*window, Command::SaveCsv, path), 0);
        QCOMPARE(messages, QStringList());

        const QString text = QString(imperial ? kImperial : kSi).replace(u'·', decimal);
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(copied->text(), text);
        for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
            for (const QString& cell : line.split(u'\t', Qt::SkipEmptyParts))
                QVERIFY2(copied->html().contains(u'>' + cell + QStringLiteral("</t")), qPrintable(cell));
        }
        if (!imperial && decimal == u".")
            QVERIFY(copied->html().startsWith(kSiHtmlStart));

        QFile csv(path);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        // The design file: the same rows between the line that names it and
        // the rows that opening it needs.
        const QString rows = QStringLiteral("Tivora design\t1\n") + text +
                             QStringLiteral("\nUnit system\t%1\nAirfoil\tNACA2412\n")
                                 .arg(imperial ? QStringLiteral("Imperial") : QStringLiteral("SI"));
        const QByteArray expected =
            "\xEF\xBB\xBF" +
            QString(rows).replace(u'\t', separator).replace(QStringLiteral("\n"), QStringLiteral("\r\n")).toUtf8();
        QCOMPARE(csv.readAll(), expected);
    }

    void csvAndCopyWriteFiguresAsASpreadsheetReadsThem_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("csvRow");
        QTest::addColumn<QString>("copiedRow");
        QTest::newRow("a figure holding the separator is quoted") << int(Field::Power) << "2,587.1 \"about\""
                                                                  << "Generator Power,\"2,587.1 \"\"about\"\"\",Watts"
                                                                  << "Generator Power\t2,587.1 \"about\"\tWatts";
        QTest::newRow("a typed minus sign is the ASCII one") << int(stationTwist(10)) << "−0.6"
                                                             << "10,1,0.045,-0.6"
                                                             << "10\t1\t0.045\t-0.6";
        QTest::newRow("also in an exponent") << int(Field::Radius) << "−5e−1"
                                             << "Blade Radius,-5e-1,m"
                                             << "Blade Radius\t-5e-1\tm";
    }
    void csvAndCopyWriteFiguresAsASpreadsheetReadsThem()
    {
        QFETCH(int, field);
        QFETCH(QString, typed);
        QFETCH(QString, csvRow);
        QFETCH(QString, copiedRow);
        auto window = solvedWindow(QLocale::c(), false);
        // Pasted: the test's keyboard types only ASCII.
        control(window.get(), Field(field))->selectAll();
        control(window.get(), Field(field))->insert(typed);
        const QString path = folder.filePath(QStringLiteral("figures.csv"));
        QCOMPARE(runCommand(*window, Command::SaveCsv, path, Answer::ExportAsShown), 1);
        runCommand(*window, Command::Copy, path, Answer::ExportAsShown);
        QFile csv(path);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QString written = QString::fromUtf8(csv.readAll());
        QVERIFY2(written.contains(QStringLiteral("\r\n%1\r\n").arg(csvRow)), qPrintable(written));
        QVERIFY(QGuiApplication::clipboard()->text().contains(QStringLiteral("\n%1\n").arg(copiedRow)));
    }

    void pdfHoldsEveryFigureOnOnePageOfTheSystemsPaper_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("paperLocale");  // LC_PAPER
        QTest::addColumn<QString>("paper");
        QTest::newRow("LC_PAPER en_US: Letter") << QLocale(QLocale::English, QLocale::UnitedStates) << "en_US"
                                                << "letter";
        QTest::newRow("LC_PAPER C: A4, decimal comma") << QLocale(QLocale::German, QLocale::Germany) << "C"
                                                       << "A4";
    }
    void pdfHoldsEveryFigureOnOnePageOfTheSystemsPaper()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, paperLocale);
        QFETCH(QString, paper);
        const PaperLocale paperInForce(paperLocale, folder.path());
        if (!paperInForce.made())
            QSKIP("glibc's locale sources (Debian package locales) are not installed to make the locale");
        auto window = solvedWindow(locale, false);
        const QString path = folder.filePath(QStringLiteral("sheet.pdf"));
        runCommand(*window, Command::SavePdf, path);
        QCOMPARE(messages, QStringList());

        const QString info = run(QStringLiteral("pdfinfo"), {path});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages: +1\n"))), qPrintable(info));
        // As the print dialog's PDF has them.
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Title: +Tivora rotor design\nCreator: +Tivora\n"))),
                 qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Page size: .* pts \\(%1\\)\n").arg(paper))),
                 qPrintable(info));
        const QStringList words = run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")})
                                      .split(QRegularExpression(QStringLiteral("\\s+")));
        for (const Field field : kAllFields) {
            if (field == Field::Units)
                continue;
            QVERIFY2(words.contains(textOf(window.get(), field)), qPrintable(objectNameOf(field)));
        }
    }

    void svgTemplateIsTheBladeAtFullSizeInMillimetres_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<bool>("imperial");
        QTest::addColumn<double>("radiusMm");  // one shown unit of radius and of chord
        QTest::addColumn<double>("chordMm");
        QTest::newRow("SI: metres") << QLocale::c() << false << 1000.0 << 1000.0;
        QTest::newRow("Imperial, decimal comma: feet and inches")
            << QLocale(QLocale::German, QLocale::Germany) << true << 304.8 << 25.4;
    }
    void svgTemplateIsTheBladeAtFullSizeInMillimetres()
    {
        QFETCH(QLocale, locale);
        QFETCH(bool, imperial);
        QFETCH(double, radiusMm);
        QFETCH(double, chordMm);
        auto window = solvedWindow(locale, imperial);
        const QString path = folder.filePath(QStringLiteral("blade.svg"));
        runCommand(*window, Command::SaveSvg, path);
        QCOMPARE(messages, QStringList());

        const auto shown = [&](Field field) { return locale.toDouble(textOf(window.get(), field)); };
        double widest = 0;
        for (int k = 1; k <= kStationCount; ++k)
            widest = std::max(widest, shown(stationChord(k)) * chordMm);

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader svg(&file);
        QVERIFY(svg.readNextStartElement());
        QCOMPARE(svg.name(), QStringLiteral("svg"));
        const auto millimetres = [&svg](const char* attribute) {
            const QString value = svg.attributes().value(QLatin1String(attribute)).toString();
            return value.endsWith(QStringLiteral("mm")) ? value.chopped(2).toDouble() : -1;
        };
        QCOMPARE_LE(std::abs(millimetres("width") - (shown(stationRadius(10)) * radiusMm + 2 * TemplateMargins::side)),
                    0.01);
        QCOMPARE_LE(std::abs(millimetres("height") - (widest + TemplateMargins::top + TemplateMargins::bottom)), 0.01);
        int stations = 0;
        bool rotorAxis = false;  // where r = 0 lies, beyond the root
        while (!svg.atEnd()) {
            if (svg.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (svg.attributes().value("id") == u"outline") {
                // Leading edge root to tip, trailing edge back: a point per station and edge.
                const QString outline = svg.attributes().value("d").toString();
                QVERIFY2(outline.startsWith(u'M') && outline.endsWith(u'Z') &&
                             outline.count(u'L') == 2 * kStationCount - 1,
                         qPrintable(outline));
            }
            if (svg.attributes().value("id") == u"rotor-axis") {
                rotorAxis = svg.attributes().value("x1").toDouble() == TemplateMargins::side &&
                            svg.attributes().value("x2").toDouble() == TemplateMargins::side;
            }
            if (!svg.attributes().value("id").startsWith(u"station-"))
                continue;
            const int k = svg.attributes().value("id").mid(8).toInt();
            const double x = TemplateMargins::side + shown(stationRadius(k)) * radiusMm;
            QCOMPARE_LE(std::abs(svg.attributes().value("x1").toDouble() - x), 0.01);
            ++stations;
        }
        QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));
        QCOMPARE(stations, kStationCount);
        QVERIFY(rotorAxis);
    }

    void templatePdfTilesTheFullSizeDrawingWithOverlaps()
    {
        auto window = solvedWindow(QLocale::c(), false);
        const QString svgPath = folder.filePath(QStringLiteral("whole.svg"));
        const QString pdfPath = folder.filePath(QStringLiteral("tiled.pdf"));
        runCommand(*window, Command::SaveSvg, svgPath);
        runCommand(*window, Command::SaveTemplatePdf, pdfPath);
        QCOMPARE(messages, QStringList());

        QFile svgFile(svgPath);
        QVERIFY(svgFile.open(QIODevice::ReadOnly));
        QXmlStreamReader svg(&svgFile);
        QVERIFY(svg.readNextStartElement());
        const double width = svg.attributes().value("width").chopped(2).toDouble();
        const double height = svg.attributes().value("height").chopped(2).toDouble();

        const QString info = run(QStringLiteral("pdfinfo"), {pdfPath});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Page size: .* pts \\(A4\\)\n"))), qPrintable(info));
        const int pages = QRegularExpression(QStringLiteral("Pages: +(\\d+)\n")).match(info).captured(1).toInt();
        // Each page names its place and the part of the drawing it holds.
        static const QRegularExpression place(QStringLiteral("row (\\d+), column (\\d+) of (\\d+) × (\\d+) pages"));
        static const QRegularExpression part(
            QStringLiteral("across ([\\d.]+) to ([\\d.]+) mm, down ([\\d.]+) to ([\\d.]+) mm"));
        QMap<std::pair<int, int>, QRectF> pieces;
        int rows = 0, columns = 0;
        for (int page = 1; page <= pages; ++page) {
            const QString text =
                run(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                                  QString::number(page), pdfPath, QStringLiteral("-")});
            const auto at = place.match(text);
            const auto holds = part.match(text);
            QVERIFY2(at.hasMatch() && holds.hasMatch(), qPrintable(text));
            rows = at.captured(3).toInt();
            columns = at.captured(4).toInt();
            const auto mm = [&holds](int i) { return holds.captured(i).toDouble(); };
            pieces.insert({at.captured(1).toInt(), at.captured(2).toInt()},
                          QRectF(QPointF(mm(1), mm(3)), QPointF(mm(2), mm(4))));
        }
        QCOMPARE(pages, rows * columns);
        QCOMPARE(pieces.size(), pages);  // every place once
        // The paper turned whichever way takes fewer pages: a tile is the A4
        // page less its 10 mm margins and the 16 mm band below, and each
        // further tile across adds its width less the 12 mm it shares.
        const auto pagesOn = [width, height](double paperWidth, double paperHeight) {
            const auto tiles = [](double length, double tile) {
                return length <= tile ? 1 : 1 + int(std::ceil((length - tile) / (tile - 12) - 1e-9));
            };
            return tiles(width, paperWidth - 20) * tiles(height, paperHeight - 20 - 16);
        };
        QCOMPARE(pages, std::min(pagesOn(210, 297), pagesOn(297, 210)));
        QVERIFY(rows > 1 && columns > 1);
        // Laid side by side with their overlaps, the pieces make the whole drawing.
        const double overlap = TiledPage::overlap;
        for (int r = 1; r <= rows; ++r) {
            double across = 0;
            for (int c = 1; c <= columns; ++c)
                across += pieces.value({r, c}).width();
            QCOMPARE_LE(std::abs(across - (width + (columns - 1) * overlap)), 0.05);
        }
        for (int c = 1; c <= columns; ++c) {
            double down = 0;
            for (int r = 1; r <= rows; ++r)
                down += pieces.value({r, c}).height();
            QCOMPARE_LE(std::abs(down - (height + (rows - 1) * overlap)), 0.05);
        }
    }

    void aFileThatCannotBeWrittenWholeIsNotWrittenAtAll_data()
    {
        QTest::addColumn<Command>("command");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("diskFull");  // else a file-size limit
        QTest::addColumn<int>("room");       // bytes free on the disk, or the limit
        QTest::addColumn<QString>("reason");
        const QString full = QStringLiteral("the disk is full");
        const QString tooLarge = QStringLiteral("the file would be larger than this system allows");
        QTest::newRow("design sheet PDF, 12 KB free") << Command::SavePdf << "sheet.pdf" << true << 12288 << full;
        QTest::newRow("template SVG, 4 KB free") << Command::SaveSvg << "blade.svg" << true << 4096 << full;
        QTest::newRow("CSV, nothing free") << Command::SaveCsv << "design.csv" << true << 0 << full;
        QTest::newRow("tiled template PDF, 12 KB free")
            << Command::SaveTemplatePdf << "tiled.pdf" << true << 12288 << full;
        QTest::newRow("design sheet PDF, 4 KB size limit")
            << Command::SavePdf << "sheet.pdf" << false << 4096 << tooLarge;
        QTest::newRow("template SVG, 4 KB size limit") << Command::SaveSvg << "blade.svg" << false << 4096 << tooLarge;
        QTest::newRow("CSV, 256-byte size limit") << Command::SaveCsv << "design.csv" << false << 256 << tooLarge;
    }
    void aFileThatCannotBeWrittenWholeIsNotWrittenAtAll()
    {
        QFETCH(Command, command);
        QFETCH(QString, name);
        QFETCH(bool, diskFull);
        QFETCH(int, room);
        QFETCH(QString, reason);
        auto window = solvedWindow(QLocale::c(), false);
        QTemporaryDir place;
        const QString target = place.filePath(name);
        QStringList left;  // what is to be found in the folder after
        if (diskFull) {
            if (geteuid() != 0)
                QSKIP("a small file system of its own, to fill, can be mounted by root only");
            constexpr int kSize = 256 * 1024;
            if (mount("tmpfs", qPrintable(place.path()), "tmpfs", 0, "size=256k") != 0)
                QSKIP(
                    qPrintable(QStringLiteral("a small file system cannot be mounted here: %1").arg(strerror(errno))));
            auto unmount = qScopeGuard([&place] { umount2(qPrintable(place.path()), MNT_DETACH); });
            QFile filler(place.filePath(QStringLiteral("filler")));
            QVERIFY(filler.open(QIODevice::WriteOnly));
            QCOMPARE(filler.write(QByteArray(kSize - room, 'x')), kSize - room);
            QVERIFY(filler.flush());
            filler.close();
            left << QStringLiteral("filler");
            runCommand(*window, command, target);
            QCOMPARE(filesBelow(place.path()), left);
        } else {
            // SIGXFSZ is left as it is: should the program not stop it, it
            // ends this test as it would end the program.
            rlimit before{};
            QVERIFY(getrlimit(RLIMIT_FSIZE, &before) == 0);
            rlimit limit = before;
            limit.rlim_cur = rlim_t(room);
            QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
            runCommand(*window, command, target);
            setrlimit(RLIMIT_FSIZE, &before);
            QCOMPARE(filesBelow(place.path()), left);
        }
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.first(),
                 QStringLiteral("Could not save \"%1\": %2.\n\nNo file was written.").arg(target, reason));
    }

    void aTableThatIsNoBladeIsNotDrawn_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("why");
        QTest::newRow("radius -5, solved") << int(Field::Radius) << "-5"
                                           << "Station 1 has the radius -0.5: every radius must be above zero.";
        QTest::newRow("station 3 typed inside station 2")
            << int(stationRadius(3)) << "0.1"
            << "Station 3 does not lie beyond station 2: the radii must grow from root to tip.";
        QTest::newRow("a chord of zero") << int(stationChord(4)) << "0"
                                         << "Station 4 has the chord 0: every chord must be above zero.";
        QTest::newRow("station 3 at station 2's radius")
            << int(stationRadius(3)) << "0.2"
            << "Station 3 does not lie beyond station 2: the radii must grow from root to tip.";
        QTest::newRow("a station cell emptied") << int(stationChord(5)) << ""
                                                << "The station table is not filled in: solve the design first.";
    }
    void aTableThatIsNoBladeIsNotDrawn()
    {
        QFETCH(int, field);
        QFETCH(QString, typed);
        QFETCH(QString, why);
        auto window = solvedWindow(QLocale::c(), false);
        retype(window.get(), Field(field), typed);
        if (Field(field) == Field::Radius)
            control(window.get(), Button::Solve)->click();
        QTemporaryDir place;
        for (const Command command : {Command::SavePdf, Command::SaveTemplatePdf, Command::SaveSvg}) {
            runCommand(*window, command, place.filePath(QStringLiteral("drawing")), Answer::ExportAsShown);
            QCOMPARE(messages, QStringList(QStringLiteral("The station table cannot be drawn as a blade. %1\n\n"
                                                          "Nothing was written.")
                                               .arg(why)));
        }
        QCOMPARE(filesBelow(place.path()), QStringList());
        // The figures themselves still go out.
        runCommand(*window, Command::SaveCsv, place.filePath(QStringLiteral("design.csv")), Answer::ExportAsShown);
        QCOMPARE(filesBelow(place.path()), QStringList({"design.csv"}));
    }

    void twistAxisSpansZeroAndEveryTwist_data()
    {
        QTest::addColumn<std::vector<double>>("twists");
        QTest::newRow("every twist zero") << std::vector<double>(10, 0.0);
        QTest::newRow("every twist 5") << std::vector<double>(10, 5.0);
        QTest::newRow("every twist -2") << std::vector<double>(10, -2.0);
        QTest::newRow("the start design") << std::vector<double>{37.6, 19.5, 11.6, 7.4, 4.8, 3, 1.7, 0.8, 0, -0.6};
    }
    void twistAxisSpansZeroAndEveryTwist()
    {
        QFETCH(std::vector<double>, twists);
        const PlotAxis axis = twistAxis(twists);
        // The plot divides by the span: it must be a number above zero.
        QVERIFY(std::isfinite(axis.low) && std::isfinite(axis.high) && axis.high > axis.low && axis.step > 0);
        QVERIFY(axis.low <= 0 && axis.high >= 0);
        for (const double twist : twists)
            QVERIFY(axis.low <= twist && twist <= axis.high);
        const double steps = (axis.high - axis.low) / axis.step;
        QVERIFY(steps >= 1 && steps <= 10 && std::abs(steps - std::round(steps)) < 1e-9);
    }

    void theNextSaveProposesTheFolderLastChosen()
    {
        auto window = solvedWindow(QLocale::c(), false);
        QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("chosen")));
        runCommand(*window, Command::SaveCsv, folder.filePath(QStringLiteral("chosen/first.csv")));
        QString proposed;
        window->designExport().chooseFile = [&proposed](const DesignExport::FileRequest& request) {
            proposed = request.proposedPath;
            return QString();
        };
        window->designExport().run(Command::SaveSvg);
        QCOMPARE(QFileInfo(proposed).absolutePath(), folder.filePath(QStringLiteral("chosen")));
    }

    void staleQuestionComesAfterAnEditNotAfterASolve_data()
    {
        QTest::addColumn<bool>("solve");
        QTest::addColumn<int>("edited");  // the field edited after, or -1
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("imperial");  // units switched after
        QTest::addColumn<bool>("asked");
        QTest::newRow("at start: the station table is empty") << false << -1 << "" << false << true;
        QTest::newRow("after Solve!") << true << -1 << "" << false << false;
        QTest::newRow("after Solve!, units switched") << true << -1 << "" << true << false;
        QTest::newRow("after Solve!, TSR edited") << true << int(Field::Tsr) << "8" << false << true;
        QTest::newRow("after Solve!, the power edited") << true << int(Field::Power) << "9999" << false << true;
        QTest::newRow("after Solve!, a station chord edited") << true << int(stationChord(5)) << "0.5" << false << true;
        QTest::newRow("after Solve!, a station cell emptied") << true << int(stationTwist(3)) << "" << false << true;
    }
    void staleQuestionComesAfterAnEditNotAfterASolve()
    {
        QFETCH(bool, solve);
        QFETCH(int, edited);
        QFETCH(QString, typed);
        QFETCH(bool, imperial);
        QFETCH(bool, asked);
        auto window = std::make_unique<Form1>();
        if (solve)
            control(window.get(), Button::Solve)->click();
        if (edited >= 0)
            retype(window.get(), Field(edited), typed);
        if (imperial)
            control(window.get(), UnitSystem::Imperial)->click();
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        QCOMPARE(runCommand(*window, Command::Copy, {}, Answer::Cancel), int(asked));
        QCOMPARE(QGuiApplication::clipboard()->text() == u"before", asked);  // cancelled: nothing copied
        if (asked) {
            runCommand(*window, Command::Copy, {}, Answer::ExportAsShown);
            QVERIFY(QGuiApplication::clipboard()->text().startsWith(
                QStringLiteral("results not solved for these inputs\n")));
            runCommand(*window, Command::Copy, {}, Answer::SolveFirst);
            // Solved now: the table is full and the note gone.
            const QString solved = QGuiApplication::clipboard()->text();
            QVERIFY(solved.startsWith(QStringLiteral("Number of Blades\t")));
            QVERIFY(solved.contains(QStringLiteral("\n10\t1\t0.0")));
        }
    }

    void solveNowWithANonNumberShowsTheUsualFailureAndWritesNothing()
    {
        auto window = std::make_unique<Form1>();
        retype(window.get(), Field::Efficiency, QStringLiteral("x"));
        int chosen = 0;
        window->designExport().chooseFile = [&](const DesignExport::FileRequest&) {
            ++chosen;
            return folder.filePath(QStringLiteral("never.csv"));
        };
        window->designExport().askWhenStale = [] { return Answer::SolveFirst; };
        messages = acceptingMessageBoxes([&] { window->designExport().run(Command::SaveCsv); });
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().contains("\"Blade Efficiency\" holds no number"), qPrintable(messages.first()));
        QCOMPARE(chosen, 0);
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("never.csv"))));
    }

    void readOnlyFolderShowsTheReasonLeavesNoFileAndTheSheetAlone()
    {
        // Permissions do not bind root; the kernel refuses new files in /proc to everyone.
        QTemporaryDir locked;
        QVERIFY(QFile::setPermissions(locked.path(), QFile::ReadOwner | QFile::ExeOwner));
        const QString target =
            (geteuid() == 0 ? QStringLiteral("/proc") : locked.path()) + QStringLiteral("/design.csv");
        auto window = solvedWindow(QLocale::c(), false);
        const DesignSheet before = window->sheet();
        runCommand(*window, Command::SaveCsv, target);
        QFile::setPermissions(locked.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().startsWith(QStringLiteral("Could not save \"%1\": ").arg(target)),
                 qPrintable(messages.first()));
        QVERIFY(!QFile::exists(target));
        QCOMPARE(filesBelow(locked.path()), QStringList());
        QVERIFY(window->sheet() == before);
    }

    void menuOpensFromTheKeyboardAndItsShortcutsRunTheCommands()
    {
        auto window = solvedWindow(QLocale::c(), false);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->designExport().chooseFile = [this](const DesignExport::FileRequest&) {
            return folder.filePath(QStringLiteral("keys.csv"));
        };
        QTest::keyClick(control(window.get(), Field::Cl), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString(kSi).replace(u'·', u'.'));
        QTest::keyClick(control(window.get(), Field::Cl), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(QFile::exists(folder.filePath(QStringLiteral("keys.csv"))));

        control(window.get(), Button::Solve)->setFocus();
        QTest::keyClick(control(window.get(), Button::Solve), Qt::Key_F10, Qt::ShiftModifier);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QStringList shortcuts;
        for (QAction* action : menu->actions()) {
            shortcuts << action->shortcut().toString();
            QVERIFY(action->isShortcutVisibleInContextMenu());
        }
        QCOMPARE(shortcuts,
                 QStringList({"Ctrl+O", "Ctrl+Shift+C", "Ctrl+S", "Ctrl+P", "", "", "", "", "Ctrl+R", "Ctrl+B"}));
        QAccessibleInterface* entries = QAccessible::queryAccessibleInterface(menu);
        QCOMPARE(entries->childCount(), 10);
        QCOMPARE(entries->child(0)->text(QAccessible::Name), QStringLiteral("Open Design…"));
        for (int i = 0; i < entries->childCount(); ++i)
            QVERIFY(!entries->child(i)->text(QAccessible::Name).isEmpty());
        menu->close();
    }
};

QTEST_MAIN(ExportTest)
#include "export_test.moc"
