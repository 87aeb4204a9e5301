#include "window_fixture.h"

#include "export/design_export.h"
#include "export/shown_design.h"
#include "performance_window/performance_window.h"
#include "sections_window/sections_window.h"

#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

using namespace tivora;
using namespace tivora::testing;

namespace {

// Every text the window shows of the design, and the option that is on;
// the figures first, with their marks swapped when asked.
QStringList everyText(QWidget* window, bool swapMarks = false)
{
    QStringList texts;
    for (Field field : kAllFields) {
        QString text = textOf(window, field);
        for (QChar& c : text)
            c = swapMarks && c == u'.' ? u',' : swapMarks && c == u',' ? u'.' : c;
        texts << text;
    }
    for (Caption caption : kAllCaptions)
        texts << control(window, caption)->text();
    for (UnitSystem system : {UnitSystem::SI, UnitSystem::Metric, UnitSystem::Imperial})
        texts << QString::number(control(window, system)->isChecked());
    return texts;
}

}  // namespace

class DesignFileTest : public QObject {
    Q_OBJECT
    ModalWatchdog watchdog;
    QTemporaryDir folder;

    // Saves through the design's command, as Ctrl+S does, into `path`.
    static QStringList save(Form1& window, const QString& path)
    {
        window.designExport().chooseFile = [path](const DesignExport::FileRequest&) { return path; };
        window.designExport().askWhenStale = [] { return DesignExport::Answer::ExportAsShown; };
        return acceptingMessageBoxes([&] { window.designExport().run(DesignExport::Command::SaveCsv); });
    }

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void anOpenedDesignLooksAsItDidWhenSaved_data()
    {
        QTest::addColumn<int>("system");
        QTest::addColumn<QLocale>("saver");
        QTest::addColumn<QLocale>("opener");
        const QLocale german(QLocale::German, QLocale::Germany);
        for (const int system : {1, 2, 3}) {
            const QByteArray name = QByteArray::number(system);
            QTest::newRow("full stop, system " + name) << system << QLocale::c() << QLocale::c();
            QTest::newRow("decimal comma, system " + name) << system << german << german;
            QTest::newRow("full stop to decimal comma, system " + name) << system << QLocale::c() << german;
            QTest::newRow("decimal comma to full stop, system " + name) << system << german << QLocale::c();
        }
    }
    void anOpenedDesignLooksAsItDidWhenSaved()
    {
        QFETCH(int, system);
        QFETCH(QLocale, saver);
        QFETCH(QLocale, opener);
        QLocale::setDefault(saver);
        Form1 saved;
        control(&saved, UnitSystem(system))->click();
        control(&saved, Button::Solve)->click();
        retype(&saved, Field::Alpha, QStringLiteral("6%150").arg(saver.decimalPoint()));
        retype(&saved, stationTwist(3), {});
        const QString path = folder.filePath(QStringLiteral("design.csv"));
        QCOMPARE(save(saved, path), QStringList());

        QLocale::setDefault(opener);
        Form1 opened;
        opened.openDesign(path);
        QCOMPARE(everyText(&opened), everyText(&saved, saver != opener));
        QVERIFY(!opened.designChangedSinceSaved());
    }

    void aFileDroppedOnAFieldOpensRatherThanLandingInIt()
    {
        Form1 saved;
        retype(&saved, Field::Blades, QStringLiteral("2"));
        const QString path = folder.filePath(QStringLiteral("dropped.csv"));
        QCOMPARE(save(saved, path), QStringList());
        Form1 window;
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        data.setText(QUrl::fromLocalFile(path).toString());
        // As a desktop drag delivers it: the field is entered, then dropped on.
        QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(control(&window, Field::Radius), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(control(&window, Field::Radius), &drop);
        QCOMPARE(everyText(&window), everyText(&saved));
    }

    // An empty message: the file opens.
    void aFileOpensWholeOrIsRefusedWithItsLineAndChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray good = QByteArray::fromStdString(writeDesignFile(DesignSheet()));
        // The design with a note of the user's own after it, `size` bytes in all.
        const auto padded = [&good](qsizetype size) {
            return good + "My note," + QByteArray(size - good.size() - 8, 'x');
        };
        QTest::newRow("not a design") << QByteArray("Name,Age\r\n")
                                      << "line 1: expected \"Tivora design\" and a format version";
        QTest::newRow("a figure not a number")
            << QByteArray(good).replace("Wind Speed,15,", "Wind Speed,fast,")
            << "line 6: expected a number for Wind Speed with \".\" as the decimal mark, found \"fast\"";
        QTest::newRow("binary") << QByteArray("Tivora design,1\r\n\0\1\2", 20) << "line 2: expected text";
        QTest::newRow("exactly the size limit") << padded(kLargestDesignFile) << QString();
        QTest::newRow("one byte over the size limit")
            << padded(kLargestDesignFile + 1) << "larger than a design file can be";
        QTest::newRow("unreadable") << QByteArray() << "No such file";
    }
    void aFileOpensWholeOrIsRefusedWithItsLineAndChangesNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QString path = folder.filePath(QStringLiteral("bad.csv"));
        QFile::remove(path);
        if (!bytes.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(bytes), bytes.size());
        }
        Form1 window;
        control(&window, UnitSystem::Imperial)->click();
        retype(&window, Field::Cl, QStringLiteral("0.9"));
        const QStringList before = everyText(&window);
        bool opened = false;
        const QStringList messages = acceptingMessageBoxes([&] { opened = window.openDesign(path); });
        if (message.isEmpty()) {
            QVERIFY(opened);
            QCOMPARE(messages, QStringList());
            Form1 start;
            QCOMPARE(everyText(&window), everyText(&start));
            return;
        }
        QVERIFY(!opened);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.front().contains(QStringLiteral("\"%1\"").arg(path)), qPrintable(messages.front()));
        QVERIFY2(messages.front().contains(message), qPrintable(messages.front()));
        QCOMPARE(everyText(&window), before);
    }

    // Opened, a design saved as shown is as it was: its next export asks
    // again and carries the note; a solved one goes out without a word.
    void aDesignSavedAsShownOpensAsShown_data()
    {
        QTest::addColumn<bool>("editedAfterSolve");
        QTest::newRow("solved") << false;
        QTest::newRow("TSR edited after Solve!, saved as shown") << true;
    }
    void aDesignSavedAsShownOpensAsShown()
    {
        QFETCH(bool, editedAfterSolve);
        Form1 saved;
        control(&saved, Button::Solve)->click();
        if (editedAfterSolve)
            retype(&saved, Field::Tsr, QStringLiteral("8"));
        const QString path = folder.filePath(QStringLiteral("as-shown.csv"));
        QCOMPARE(save(saved, path), QStringList());

        Form1 opened;
        QVERIFY(opened.openDesign(path));
        int asked = 0;
        opened.designExport().askWhenStale = [&asked] {
            ++asked;
            return DesignExport::Answer::ExportAsShown;
        };
        opened.designExport().run(DesignExport::Command::Copy);
        QCOMPARE(asked, int(editedAfterSolve));
        QCOMPARE(QGuiApplication::clipboard()->text().startsWith(unsolvedNote() + u'\n'), editedAfterSolve);
    }

    // Close, Save, and the save does not go through: the window stays with
    // its changes.
    void closeThenSaveClosesOnlyWhenTheSaveWentThrough_data()
    {
        QTest::addColumn<QString>("chosen");  // empty: the file dialog cancelled
        QTest::addColumn<int>("messageCount");
        QTest::addColumn<bool>("closed");
        QTest::newRow("file dialog cancelled") << QString() << 0 << false;
        QTest::newRow("the save fails") << QStringLiteral("no such folder/design.csv") << 1 << false;
        QTest::newRow("saved") << QStringLiteral("closing.csv") << 0 << true;
    }
    void closeThenSaveClosesOnlyWhenTheSaveWentThrough()
    {
        QFETCH(QString, chosen);
        QFETCH(int, messageCount);
        QFETCH(bool, closed);
        Form1 window;
        window.show();
        retype(&window, Field::Radius, QStringLiteral("2"));
        window.askToSaveChanges = [] { return Form1::SaveAnswer::Save; };
        const QString path = chosen.isEmpty() ? QString() : folder.filePath(chosen);
        window.designExport().chooseFile = [path](const DesignExport::FileRequest&) { return path; };
        window.designExport().askWhenStale = [] { return DesignExport::Answer::ExportAsShown; };
        bool wentAway = false;
        QCOMPARE(acceptingMessageBoxes([&] { wentAway = window.close(); }).size(), messageCount);
        QCOMPARE(wentAway, closed);
        QCOMPARE(window.isVisible(), !closed);
        QCOMPARE(textOf(&window, Field::Radius), QStringLiteral("2"));
        QCOMPARE(window.designChangedSinceSaved(), !closed);
    }

    void closingAsksOnlyWhenTheDesignChangedSinceSaved()
    {
        int asked = 0;
        const auto closing = [&asked](Form1& window, Form1::SaveAnswer answer) {
            asked = 0;
            window.askToSaveChanges = [&asked, answer] {
                ++asked;
                return answer;
            };
            return window.close();
        };
        Form1 untouched;
        QVERIFY(closing(untouched, Form1::SaveAnswer::Cancel));
        QCOMPARE(asked, 0);

        Form1 edited;
        edited.show();
        retype(&edited, Field::Radius, QStringLiteral("2"));
        for (const Qt::Key key : {Qt::Key_R, Qt::Key_B})  // the windows that go with the main one
            QTest::keyClick(control(&edited, Field::Cl), key, Qt::ControlModifier);
        const QList<QWidget*> beside = {edited.performanceWindow(), edited.sectionsWindow()};
        QVERIFY(!closing(edited, Form1::SaveAnswer::Cancel));
        QCOMPARE(asked, 1);
        QVERIFY(edited.isVisible());
        for (QWidget* kept : beside)
            QVERIFY2(kept && kept->isVisible(), "a window beside the kept design stays open");
        QVERIFY(QTest::qWaitForWindowActive(&edited));
        QTest::keyClick(&edited, Qt::Key_Q, Qt::ControlModifier);  // quits, as from any window
        QCOMPARE(asked, 2);
        QVERIFY(edited.isVisible());
        QCOMPARE(save(edited, folder.filePath(QStringLiteral("saved.csv"))), QStringList());
        QVERIFY(closing(edited, Form1::SaveAnswer::Cancel));
        QCOMPARE(asked, 0);
        for (QWidget* gone : beside)
            QVERIFY(!gone->isVisible());

        Form1 discarded;
        retype(&discarded, Field::Radius, QStringLiteral("2"));
        QVERIFY(closing(discarded, Form1::SaveAnswer::Discard));
        QCOMPARE(asked, 1);
    }
};

QTEST_MAIN(DesignFileTest)
#include "design_file_test.moc"
