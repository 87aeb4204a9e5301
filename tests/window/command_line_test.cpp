// The program as a script or a terminal meets it, run as a process: its
// exit status, standard output and standard error for --help, --version, a
// refused argument line, and every kind of --export.

#include "command_line/command_table.h"
#include "sheet/design_file.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <numbers>

using namespace tivora;

namespace {

struct Run {
    int status = -1;
    QByteArray out, err;
    qint64 milliseconds = 0;
};

// The program with these arguments; through a terminal (a pseudo-terminal that
// `script` opens) when asked, where standard error joins the output.
Run runTivora(const QStringList& arguments, bool terminal = false)
{
    QProcess process;
    if (terminal) {
        QStringList quoted{QStringLiteral(TIVORA_PROGRAM)};
        for (const QString& argument : arguments)
            quoted << u'\'' + argument + u'\'';
        process.start(QStringLiteral("script"),
                      {QStringLiteral("-qec"), quoted.join(u' '), QStringLiteral("/dev/null")});
    } else {
        process.start(QStringLiteral(TIVORA_PROGRAM), arguments);
    }
    QElapsedTimer clock;
    clock.start();
    Run run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.milliseconds = clock.elapsed();
    run.status = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QString saved(const QTemporaryDir& folder, const char* name, const std::string& bytes)
{
    QFile file(folder.filePath(QString::fromLatin1(name)));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
        qFatal("cannot write %s", name);
    return file.fileName();
}

// The rows of a CSV table below its header row, which starts with `first`.
std::vector<QStringList> tableBelow(const QByteArray& csv, const QString& first, QStringList& header)
{
    std::vector<QStringList> rows;
    for (const QString& line : QString::fromUtf8(csv).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList cells = line.trimmed().split(u',');
        if (cells.first() == first)
            header = cells;
        else if (!header.isEmpty())
            rows.push_back(cells);
    }
    return rows;
}

}  // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(folder_.isValid());
        DesignSheet start;
        // Capped at a 150 mm plank: every gauge fits a page of A4 or Letter.
        capped_ = saved(folder_, "capped.csv",
                        writeDesignFile(start, {{"sections.chord-cap", "on"}, {"sections.plank-width-mm", "150"}}));
        DesignSheet flat;
        flat.setText(Field::Radius, "0");
        unsolvable_ = saved(folder_, "flat.csv", writeDesignFile(flat));
        notADesign_ = saved(folder_, "notes.csv", "Station,Radius\n1,0.1\n");
    }

    // --help and --version start nothing else and answer at once; an argument
    // line that cannot be read is refused in one line, naming what is wrong.
    void eachArgumentLineEndsWithItsStatusAndOneLine()
    {
        struct Row {
            QStringList arguments;
            int status;
            const char* out;  // what standard output starts with
            QString err;      // the one line on standard error starts so; or empty
            bool terminal = false;
        };
        const QString missing = folder_.filePath(QStringLiteral("no-such-folder/carving.csv"));
        const Row rows[] = {
            {{"--version"}, 0, "tivora " TIVORA_VERSION "\n", ""},
            {{"--help"}, 0, "Usage: tivora [DESIGN.csv]\n", ""},
            {{"--analyze"}, 2, "", "tivora: unknown option --analyze (see --help)"},
            {{"--analyse", "--radius"}, 2, "", "tivora --analyse: --radius needs a value (see --help)"},
            {{"rotor.csv", "other.csv"}, 2, "", "tivora: unexpected argument \"other.csv\" (see --help)"},
            {{"--export", "carving-table", "--output"}, 2, "", "tivora --export: --output needs a value (see --help)"},
            {{"--export", "gauges"}, 2, "", "tivora --export: unknown kind \"gauges\": one of carving-table, "},
            {{"--export", "carving-table", notADesign_},
             2,
             "",
             "tivora --export: " + notADesign_ + ": line 1: expected"},
            {{"--export", "template-svg", unsolvable_},
             2,
             "",
             "tivora --export: " + unsolvable_ + ": the design cannot be solved (division by zero"},
            {{"--export", "carving-table", "--output", missing},
             1,
             "",
             "tivora --export: cannot write \"" + missing + "\": "},
            {{"--export", "sections-pdf", capped_},
             2,
             "",
             "tivora --export: sections-pdf is a PDF: name a file with --output FILE",
             true},
        };
        for (const Row& row : rows) {
            const Run run = runTivora(row.arguments, row.terminal);
            const QByteArray said = row.terminal ? run.out : run.err;
            const QString line = row.arguments.join(u' ') + QStringLiteral(": ");
            QVERIFY2(run.status == row.status, qPrintable(line + QString::fromUtf8(run.err)));
            QVERIFY2(run.out.startsWith(row.out) && (*row.out || row.terminal || run.out.isEmpty()),
                     qPrintable(line + QString::fromUtf8(run.out.left(200))));
            if (!row.err.isEmpty()) {
                QVERIFY2(said.startsWith(row.err.toUtf8()) && said.count('\n') == 1 && said.endsWith('\n'),
                         qPrintable(line + QString::fromUtf8(said)));
            } else {
                QCOMPARE(run.err, QByteArray());
                QCOMPARE_LT(run.milliseconds, 1000);
            }
        }
    }

    // Every kind the table names is written for a design file, whole, and
    // is what its name says.
    void everyKindIsWrittenForADesignFile()
    {
        for (const command_line::ExportKindEntry& kind : command_line::exportKinds()) {
            const QString name = QString::fromUtf8(kind.name.data(), qsizetype(kind.name.size()));
            const QString output = folder_.filePath(name + QStringLiteral(".out"));
            const Run run = runTivora({QStringLiteral("--export"), name, QStringLiteral("--output"), output, capped_});
            QVERIFY2(run.status == 0 && run.err.isEmpty() && run.out.isEmpty(),
                     qPrintable(name + QStringLiteral(": ") + QString::fromUtf8(run.err)));
            QFile file(output);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            const QByteArray start = name.endsWith(u"pdf")    ? "%PDF-"
                                     : name.endsWith(u"svg")  ? "<?xml"
                                     : name == u"design-file" ? "\xEF\xBB\xBFTivora design,1"
                                                              : "Section,";
            QVERIFY2(bytes.startsWith(start), qPrintable(name));
            QVERIFY2(!name.endsWith(u"pdf") || bytes.trimmed().endsWith("%%EOF"), qPrintable(name));
        }
    }

    // The start design's carving table: at every station the chord laid
    // on the plank at its twist β, chord × cos β wide and its trailing edge
    // chord × sin β below the leading edge. Station 5 by hand: chord
    // 5.6 / (3 × 0.85 × 7² × 0.5) = 0.0896 m, written 0.090 m; β = atan(2 /
    // (3 × 7 × 0.5)) − 6° = 4.78°, written 4.8°; 90 cos 4.8° = 89.68 mm and
    // 90 sin 4.8° = 7.53 mm.
    void carvingTableOfTheStartDesignLaysEachChordAtItsTwist()
    {
        const Run run = runTivora({QStringLiteral("--export"), QStringLiteral("carving-table")});
        QCOMPARE(run.status, 0);
        QStringList header;
        const std::vector<QStringList> rows = tableBelow(run.out, QStringLiteral("Station"), header);
        QCOMPARE(rows.size(), std::size_t(10));
        const auto column = [&header](const char* caption) { return header.indexOf(QString::fromUtf8(caption)); };
        const int chord = column("Chord (mm)"), beta = column("β (°)"), width = column("Width on plank (mm)"),
                  drop = column("Drop of trailing edge (mm)");
        QVERIFY(chord > 0 && beta > 0 && width > 0 && drop > 0);
        for (const QStringList& row : rows) {
            const double c = row[chord].toDouble(), b = row[beta].toDouble() * std::numbers::pi / 180;
            QCOMPARE_LE(std::abs(row[width].toDouble() - c * std::cos(b)), 0.5);
            QCOMPARE_LE(std::abs(row[drop].toDouble() - c * std::sin(b)), 0.5);
        }
        QCOMPARE(rows[4].mid(0, 2), (QStringList{"5", "0.5"}));
        QCOMPARE(row(rows[4], {chord, beta, width, drop}), (QStringList{"90", "4.8", "89.7", "7.5"}));
    }

    // One closed outline a station, at full size: each outline's chord (its
    // two farthest points apart) is the carving table's, the root's the
    // 150 mm that the design file's trim caps it at.
    void sectionsSvgOfADesignFileIsOneClosedOutlineAStationAtFullSize()
    {
        const Run table = runTivora({QStringLiteral("--export"), QStringLiteral("carving-table"), capped_});
        QStringList header;
        const std::vector<QStringList> rows = tableBelow(table.out, QStringLiteral("Station"), header);
        const int chord = header.indexOf(QStringLiteral("Chord (mm)"));
        QCOMPARE(rows.front()[chord], QStringLiteral("150"));

        const Run svg = runTivora({QStringLiteral("--export"), QStringLiteral("sections-svg"), capped_});
        QCOMPARE(svg.status, 0);
        static const QRegularExpression path(QStringLiteral("<path id=\"section-(\\d+)\"[^>]* d=\"(M[^\"]*)\""));
        static const QRegularExpression point(QStringLiteral("([-\\d.]+),([-\\d.]+)"));
        std::size_t outlines = 0;
        for (auto it = path.globalMatch(QString::fromUtf8(svg.out)); it.hasNext(); ++outlines) {
            const auto match = it.next();
            const QString d = match.captured(2);
            QVERIFY2(d.endsWith(u'Z') && d.count(u'M') == 1, qPrintable(d.left(40)));
            std::vector<QPointF> points;
            for (auto p = point.globalMatch(d); p.hasNext();) {
                const auto m = p.next();
                points.emplace_back(m.captured(1).toDouble(), m.captured(2).toDouble());
            }
            double apart = 0;
            for (const QPointF& a : points) {
                for (const QPointF& b : points)
                    apart = std::max(apart, std::hypot(a.x() - b.x(), a.y() - b.y()));
            }
            const std::size_t station = match.captured(1).toUInt();
            QVERIFY(station >= 1 && station <= rows.size());
            QCOMPARE_LE(std::abs(apart - rows[station - 1][chord].toDouble()), 0.5);
        }
        QCOMPARE(outlines, rows.size());
    }

private:
    static QStringList row(const QStringList& cells, std::initializer_list<int> columns)
    {
        QStringList out;
        for (int column : columns)
            out << cells[column];
        return out;
    }

    QTemporaryDir folder_;
    QString capped_, unsolvable_, notADesign_;
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "command_line_test.moc"
