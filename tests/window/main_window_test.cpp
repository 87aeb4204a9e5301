#include "window_fixture.h"

#include "modules/help_access.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStyleOptionButton>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

using namespace tivora;
using namespace tivora::testing;
using enum tivora::Field;

namespace {

// Stands in for the help window: a plain window that comes to the front and
// takes the focus when shown, as the real one does.
class StandInHelp : public HelpAccess {
public:
    void show() override
    {
        window.show();
        window.raise();
        window.activateWindow();
    }
    void navigate(const QUrl& address) override { addresses << address; }

    QWidget window;
    QList<QUrl> addresses;
};

bool isStationField(const QWidget* control)
{
    const auto field = fieldNamed(control->objectName().toStdString());
    return field && infoOf(*field).station > 0;
}

// WCAG 2's contrast between the darkest and the lightest pixel of `area`:
// the text and its ground, whichever is which.
double contrastIn(const QImage& image, const QRect& area)
{
    const auto luminance = [](QRgb pixel) {
        const auto linear = [](int channel) {
            const double c = channel / 255.0;
            return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(qRed(pixel)) + 0.7152 * linear(qGreen(pixel)) + 0.0722 * linear(qBlue(pixel));
    };
    double darkest = 1, lightest = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const double l = luminance(image.pixel(x, y));
            darkest = std::min(darkest, l);
            lightest = std::max(lightest, l);
        }
    }
    return (lightest + 0.05) / (darkest + 0.05);
}

// The palette Qt takes from GTK's Adwaita dark theme (Debian's Qt GTK 3
// platform theme, GTK_THEME=Adwaita:dark): light text on dark grey.
QPalette darkDesktopPalette()
{
    QPalette dark(QColor(0xf0, 0xf0, 0xf0), QColor(0x32, 0x32, 0x32), QColor(0x4b, 0x4b, 0x4b),
                  QColor(0x21, 0x21, 0x21), QColor(0x26, 0x26, 0x26), QColor(0xf0, 0xf0, 0xf0),
                  QColor(0x4b, 0x4b, 0x4b), QColor(0x24, 0x24, 0x24), QColor(0x32, 0x32, 0x32));
    dark.setColor(QPalette::Highlight, QColor(0x30, 0x8c, 0xc6));
    dark.setColor(QPalette::HighlightedText, QColor(0xf0, 0xf0, 0xf0));
    return dark;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    ModalWatchdog watchdog;
    std::unique_ptr<Form1> window;
    QWidget* w() { return window.get(); }

private slots:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        window = std::make_unique<Form1>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() { window.reset(); }

    void windowHasItsFixedClientAreaTitleAndPosition()
    {
        QCOMPARE(window->size(), QSize(673, 495));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QCOMPARE(window->windowTitle(), QStringLiteral("Kestrane Engineering's"));
        QVERIFY(!window->windowIcon().isNull());
    }

    // What a user sees once the start rotor is solved, against the picture in
    // the README (tools/screenshot): every control at its place, in its
    // typeface and colours, on the background. Text is drawn with another
    // rasteriser there, so edges of letters may differ by a shade.
    void solvedWindowLooksAsInTheReadmeScreenshot()
    {
        control(w(), Button::Solve)->click();
        // The screenshot's window was not the active one: no focus ring.
        control(w(), Button::Solve)->clearFocus();
        const qreal ratio = window->devicePixelRatioF();
        const QString file = QStringLiteral(TIVORA_DOCS "/screenshot%1.png").arg(ratio > 1 ? "@2x" : "");
        const QImage expected = QImage(file).convertToFormat(QImage::Format_RGB32);
        const QImage drawn = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(drawn.size(), expected.size());
        int differing = 0;
        for (int y = 0; y < drawn.height(); ++y) {
            const auto* a = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
            const auto* b = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
            for (int x = 0; x < drawn.width(); ++x) {
                const int d = std::max({std::abs(qRed(a[x]) - qRed(b[x])), std::abs(qGreen(a[x]) - qGreen(b[x])),
                                        std::abs(qBlue(a[x]) - qBlue(b[x]))});
                differing += d > 64;
            }
        }
        // Fonts rasterised by another FreeType may differ at letter edges; a
        // control out of place by a pixel changes its whole outline.
        QVERIFY2(differing <= drawn.width() * drawn.height() / 5000,
                 qPrintable(QStringLiteral("%1 pixels differ from %2").arg(differing).arg(file)));
    }

    // Station rows overlap by 3 px; the only other touches are one pixel:
    // each column caption on its first row, and the Cl caption on alpha's edge.
    void onlyStationRowsOverlapBesidesOnePixelTouches()
    {
        QList<QWidget*> shown;
        for (auto* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->isVisible())
                shown << child;
        QCOMPARE(shown.size(), 59);
        int stationOverlaps = 0;
        QStringList touches;
        for (int i = 0; i < shown.size(); ++i) {
            for (int j = i + 1; j < shown.size(); ++j) {
                const QRect both = shown[i]->geometry().intersected(shown[j]->geometry());
                if (both.isEmpty())
                    continue;
                const bool stations = isStationField(shown[i]) && isStationField(shown[j]);
                if (stations) {
                    ++stationOverlaps;
                    QCOMPARE(both.height(), 3);
                    QCOMPARE(both.width(), 49);
                } else {
                    QCOMPARE(qMin(both.width(), both.height()), 1);
                    QStringList pair = {shown[i]->objectName(), shown[j]->objectName()};
                    pair.sort();
                    touches << pair.join('/');
                }
            }
        }
        QCOMPARE(stationOverlaps, 27);  // nine row boundaries in three columns
        touches.sort();
        const std::pair<Caption, Field> touching[] = {{Caption::StationRadius, stationRadius(1)},
                                                      {Caption::StationChord, stationChord(1)},
                                                      {Caption::StationTwist, stationTwist(1)},
                                                      {Caption::Cl, Alpha}};
        QStringList expected;
        for (const auto& [caption, field] : touching)
            expected << objectNameOf(caption) + '/' + objectNameOf(field);
        expected.sort();
        QCOMPARE(touches, expected);
    }

    void hiddenUnitsFieldIsNeverShownNorFocusable()
    {
        auto* units = control<QLineEdit>(w(), Units);
        QVERIFY(!units->isVisible());
        QCOMPARE(units->focusPolicy(), Qt::NoFocus);
        QCOMPARE(units->text(), QStringLiteral("1"));
    }

    void tabVisitsTheControlsInTheirOrderSkippingLabels()
    {
        QStringList expected = {objectNameOf(Button::Solve)};
        for (Field field : {WindSpeed, Radius, Efficiency, Blades, Tsr, Alpha, Cl})
            expected << objectNameOf(field);
        expected << objectNameOf(UnitSystem::SI);
        // Each column of the table from the tip up: radii, twists, chords.
        for (auto column : {stationRadius, stationTwist, stationChord}) {
            for (int k = kStationCount; k >= 1; --k)
                expected << objectNameOf(column(k));
        }
        expected << objectNameOf(Power) << objectNameOf(Torque) << objectNameOf(GeneratorSpeed)
                 << objectNameOf(Button::Help) << objectNameOf(Button::Solve);

        window->activateWindow();
        QTRY_COMPARE(QApplication::focusWidget(), control(w(), Button::Solve));
        QStringList visited = {QApplication::focusWidget()->objectName()};
        for (int i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, expected);
    }

    void tabEntersTheOptionGroupAtTheOptionThatIsOn()
    {
        control(w(), UnitSystem::Metric)->click();
        control(w(), Cl)->setFocus();
        QTest::keyClick(control(w(), Cl), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), objectNameOf(UnitSystem::Metric));
    }

    void solveFillsOutputsAndTheStationTable()
    {
        control(w(), Button::Solve)->click();
        QCOMPARE(textOf(w(), Power), QStringLiteral("2587.1"));
        QCOMPARE(textOf(w(), GeneratorSpeed), QStringLiteral("105"));
        QCOMPARE(textOf(w(), Torque), QStringLiteral("24.64"));
        QCOMPARE(textOf(w(), stationRadius(1)), QStringLiteral("0.1"));
        QCOMPARE(textOf(w(), stationChord(1)), QStringLiteral("0.448"));
        QCOMPARE(textOf(w(), stationTwist(1)), QStringLiteral("37.6"));
        QCOMPARE(textOf(w(), stationRadius(10)), QStringLiteral("1"));
        QCOMPARE(textOf(w(), stationChord(10)), QStringLiteral("0.045"));
        QCOMPARE(textOf(w(), stationTwist(10)), QStringLiteral("-0.6"));
    }

    void keyOnTheFocusedSolveButtonSolves_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::newRow("space") << Qt::Key_Space;
        QTest::newRow("return") << Qt::Key_Return;
        QTest::newRow("enter on the keypad") << Qt::Key_Enter;
    }
    void keyOnTheFocusedSolveButtonSolves()
    {
        QFETCH(Qt::Key, key);
        window->activateWindow();
        QTRY_COMPARE(QApplication::focusWidget(), control(w(), Button::Solve));
        QTest::keyClick(QApplication::focusWidget(), key);
        QCOMPARE(textOf(w(), stationTwist(9)), QStringLiteral("0"));
    }

    void solveReadsWhatTheUserTyped()
    {
        retype(w(), Radius, "3");
        control(w(), Button::Solve)->click();
        QCOMPARE(textOf(w(), stationRadius(10)), QStringLiteral("3"));
        QCOMPARE(textOf(w(), GeneratorSpeed), QStringLiteral("35"));
    }

    void optionClicksConvertAndRecaption()
    {
        control(w(), Button::Solve)->click();
        control(w(), UnitSystem::Metric)->click();
        QCOMPARE(textOf(w(), WindSpeed), QStringLiteral("54"));
        QCOMPARE(textOf(w(), GeneratorSpeed), QStringLiteral("1002.7"));
        QCOMPARE(control<QLabel>(w(), Caption::WindSpeed)->text(), QStringLiteral("Wind Speed (kph)"));
        QCOMPARE(textOf(w(), Units), QStringLiteral("2"));

        control(w(), UnitSystem::Imperial)->click();
        QCOMPARE(textOf(w(), WindSpeed), QStringLiteral("33.6"));
        QCOMPARE(textOf(w(), Radius), QStringLiteral("3.3"));
        QCOMPARE(textOf(w(), stationChord(1)), QStringLiteral("17.638"));
        QCOMPARE(control<QLabel>(w(), Caption::Radius)->text(), QStringLiteral("Blade radius (feet)"));
        QCOMPARE(control<QLabel>(w(), Caption::StationChord)->text(), QStringLiteral("Chord (in)"));
        QCOMPARE(control(w(), stationChord(3))->accessibleName(), QStringLiteral("Chord (in), station 3"));

        control(w(), UnitSystem::SI)->click();
        QCOMPARE(textOf(w(), WindSpeed), QStringLiteral("15"));
        QCOMPARE(textOf(w(), stationChord(1)), QStringLiteral("0.448"));
        QCOMPARE(control<QLabel>(w(), Caption::Radius)->text(), QStringLiteral("Blade radius (m)"));
    }

    void arrowKeysInTheOptionGroupSwitchUnits()
    {
        auto* si = control(w(), UnitSystem::SI);
        si->setFocus();
        QTest::keyClick(si, Qt::Key_Down);
        QVERIFY(control(w(), UnitSystem::Metric)->isChecked());
        QCOMPARE(textOf(w(), WindSpeed), QStringLiteral("54"));
    }

    void editingClOrAlphaMarksTheAirfoilAndNothingElseDoes_data()
    {
        QTest::addColumn<Field>("field");
        QTest::addColumn<QString>("caption");
        QTest::newRow("typing in Cl") << Cl << "Airfoil: user defined";
        QTest::newRow("typing in alpha") << Alpha << "Airfoil: user defined";
        QTest::newRow("typing in TSR") << Tsr << "Airfoil: NACA2412";
        QTest::newRow("typing in an output") << Power << "Airfoil: NACA2412";
    }
    void editingClOrAlphaMarksTheAirfoilAndNothingElseDoes()
    {
        QFETCH(Field, field);
        QFETCH(QString, caption);
        auto* edit = control(w(), field);
        const QString before = edit->text();
        edit->end(false);
        QTest::keyClick(edit, Qt::Key_5);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), before);
        QCOMPARE(control<QLabel>(w(), Caption::Airfoil)->text(), caption);
        QCOMPARE(textOf(w(), Power), QStringLiteral("2587.1"));  // nothing recalculates
    }

    void airfoilMarkSurvivesSolveAndSwitch()
    {
        QTest::keyClick(control(w(), Cl), Qt::Key_0);
        control(w(), Button::Solve)->click();
        control(w(), UnitSystem::Metric)->click();
        QCOMPARE(control<QLabel>(w(), Caption::Airfoil)->text(), QStringLiteral("Airfoil: user defined"));
    }

    void failedSolveReportsOnceAndLeavesEveryFigure()
    {
        retype(w(), Efficiency, "");
        const DesignSheet before = window->sheet();
        const QStringList messages = acceptingMessageBoxes([this] { control(w(), Button::Solve)->click(); });
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().contains("\"Blade Efficiency\" holds no number"), qPrintable(messages.first()));
        QVERIFY(window->isVisible());
        QVERIFY(window->sheet() == before);
        QCOMPARE(textOf(w(), stationRadius(1)), QString());
        QCOMPARE(window->focusWidget(), control(w(), Efficiency));
    }

    void aDecimalCommaWhereAFullStopIsExpectedIsNamed()
    {
        retype(w(), Cl, "0,35");
        const QStringList messages = acceptingMessageBoxes([this] { control(w(), Button::Solve)->click(); });
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().startsWith("The field \"Cl\" holds no number. In \"0,35\", use a full stop as the "
                                             "decimal point."),
                 qPrintable(messages.first()));
    }

    void failedSolveNamesTheComputedFieldForDivisionByZero()
    {
        control(w(), UnitSystem::Metric)->click();
        retype(w(), Radius, "0");
        const QStringList messages = acceptingMessageBoxes([this] { control(w(), Button::Solve)->click(); });
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().contains("Division by zero while computing \"Generator speed (rpm)\""),
                 qPrintable(messages.first()));
        QCOMPARE(textOf(w(), WindSpeed), QStringLiteral("54"));  // still km/h
        QCOMPARE(window->focusWidget(), control(w(), Radius));
        QCOMPARE(control<QLineEdit>(w(), Radius)->selectedText(), QStringLiteral("0"));
    }

    void failedSwitchPutsTheOptionBack()
    {
        control(w(), Button::Solve)->click();
        retype(w(), stationChord(10), "");
        const DesignSheet before = window->sheet();
        const QStringList messages = acceptingMessageBoxes([this] { control(w(), UnitSystem::Imperial)->click(); });
        QCOMPARE(messages.size(), 1);
        QVERIFY(control(w(), UnitSystem::SI)->isChecked());
        QCOMPARE(window->sheet().selectedSystem(), UnitSystem::SI);
        QVERIFY(window->sheet() == before);
        QCOMPARE(control<QLabel>(w(), Caption::StationChord)->text(), QStringLiteral("Chord (m)"));
    }

    void everyStartCaptionFitsItsBoxOnOneLine()
    {
        for (auto* label : window->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            const int width = QFontMetrics(label->font()).horizontalAdvance(label->text());
            QVERIFY2(width <= label->width(), qPrintable(label->objectName()));
        }
        QCOMPARE(control<QLabel>(w(), Caption::StationTwist)->text(), QStringLiteral("β (°)"));
        QCOMPARE(control<QLabel>(w(), Caption::Alpha)->text(), QStringLiteral("α(°)"));
    }

    // The window's background is a fixed light picture: whatever the
    // desktop's palette, every caption, option and field reads on it as
    // drawn, and the window made under a dark theme, or switched to one
    // while open, looks as under the default palette.
    void everyCaptionReadsOnEveryDesktopPalette_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("default palette") << false;
        QTest::newRow("a dark desktop theme's palette") << true;
    }
    void everyCaptionReadsOnEveryDesktopPalette()
    {
        QFETCH(bool, dark);
        // Solved, and no control in focus: activating a window focuses one,
        // so each is active before its focus is cleared, and not brought to
        // the front again by the start timer.
        const auto solvedWithoutFocus = [](Form1& shown) {
            QVERIFY(QTest::qWaitForWindowActive(&shown));
            shown.timer2()->stop();
            control(&shown, Button::Solve)->click();
            control(&shown, Button::Solve)->clearFocus();
        };
        solvedWithoutFocus(*window);
        const QImage asDrawn = window->grab().toImage();
        const QPalette before = QApplication::palette();
        auto restore = qScopeGuard([&before] { QApplication::setPalette(before); });
        if (dark)
            QApplication::setPalette(darkDesktopPalette());
        Form1 madeUnderIt;
        madeUnderIt.show();
        solvedWithoutFocus(madeUnderIt);
        for (Form1* shown : {window.get(), &madeUnderIt}) {
            const QImage image = shown->grab().toImage();
            // Each caption's rectangle, in the window.
            QList<std::pair<QString, QRect>> captions;
            for (Caption caption : kAllCaptions)
                captions.append({objectNameOf(caption), control(shown, caption)->geometry()});
            for (UnitSystem system : {UnitSystem::SI, UnitSystem::Metric, UnitSystem::Imperial}) {
                // Its words beside the mark.
                QRadioButton* option = control(shown, system);
                QStyleOptionButton drawn;
                drawn.initFrom(option);
                drawn.text = option->text();
                const QRect words = option->style()->subElementRect(QStyle::SE_RadioButtonContents, &drawn, option);
                captions.append({objectNameOf(system), words.translated(option->pos())});
            }
            for (Field field : kAllFields) {
                if (control(shown, field)->isVisible())
                    captions.append({objectNameOf(field), control(shown, field)->geometry()});
            }
            const qreal ratio = image.devicePixelRatio();
            for (const auto& [name, rect] : captions) {
                const QRect area(rect.topLeft() * ratio, rect.size() * ratio);
                QVERIFY2(contrastIn(image, area) >= 4.5,
                         qPrintable(QStringLiteral("%1: %2 : 1").arg(name).arg(contrastIn(image, area))));
            }
            QCOMPARE(image, asDrawn);
        }
    }

    void fieldsAreNamedByTheirCaptionsForScreenReaders()
    {
        QCOMPARE(control(w(), Efficiency)->accessibleName(), QStringLiteral("Blade Efficiency"));
        QCOMPARE(control(w(), Power)->accessibleName(), QStringLiteral("Generator Power (Watts)"));
        QCOMPARE(control(w(), stationChord(3))->accessibleName(), QStringLiteral("Chord (m), station 3"));
        QCOMPARE(control(w(), stationTwist(3))->accessibleName(), QStringLiteral("β (°), station 3"));
    }

    // Run by CTest a second time with QT_SCALE_FACTOR=2.
    void picturesComeAtDoubleDensityForSharpScreens()
    {
        if (qApp->devicePixelRatio() < 2)
            QSKIP("needs a double-density screen");
        for (Button which : {Button::Solve, Button::Help}) {
            auto* button = control(w(), which);
            QCOMPARE(button->icon().pixmap(button->iconSize(), 2.0).size(), button->iconSize() * 2);
        }
        QCOMPARE(window->windowIcon().pixmap(QSize(32, 32), 2.0).size(), QSize(64, 64));
        // The background is drawn pixel for pixel from the @2x picture.
        const QImage drawn = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage picture = QImage(":/assets/background@2x.ppm").convertToFormat(QImage::Format_RGB32);
        const QRect banner(1200, 60, 80, 80);  // no control covers it
        QCOMPARE(drawn.copy(banner), picture.copy(banner));
    }

    void commaDecimalLocaleSolvesTheDefaultRotorTheSame()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        Form1 german;
        QCOMPARE(textOf(&german, Efficiency), QStringLiteral("0,4"));
        control(&german, Button::Solve)->click();
        QCOMPARE(textOf(&german, Power), QStringLiteral("2587,1"));
        QCOMPARE(textOf(&german, stationChord(1)), QStringLiteral("0,448"));
        QLocale::setDefault(QLocale::c());
    }

    void enterInAnyTextFieldSolvesAsSolveDoes_data()
    {
        QTest::addColumn<Field>("field");
        QTest::addColumn<Qt::Key>("key");
        QTest::newRow("return in the wind speed") << WindSpeed << Qt::Key_Return;
        QTest::newRow("keypad enter in the radius just typed") << Radius << Qt::Key_Enter;
        QTest::newRow("return in a station's chord") << stationChord(10) << Qt::Key_Return;
        QTest::newRow("return in the power output") << Power << Qt::Key_Return;
    }
    void enterInAnyTextFieldSolvesAsSolveDoes()
    {
        QFETCH(Field, field);
        QFETCH(Qt::Key, key);
        retype(w(), Radius, "3");
        QTest::keyClick(control(w(), field), key);
        QCOMPARE(textOf(w(), stationRadius(10)), QStringLiteral("3"));
        QCOMPARE(textOf(w(), GeneratorSpeed), QStringLiteral("35"));
    }

    void f1OpensTheHelpWindowAsHelpDoes()
    {
        window.reset();  // one main window, as in the program
        StandInHelp help;
        Form1 form(&help);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(control(&form, Cl), Qt::Key_F1);
        QVERIFY(help.window.isVisible());
        QCOMPARE(help.addresses, QList<QUrl>{helpPageAddress()});
    }

    void ctrlQInTheHelpWindowClosesBothWindows()
    {
        window.reset();  // one main window, as in the program
        StandInHelp help;
        Form1 form(&help);
        form.show();
        control(&form, Button::Help)->click();
        QVERIFY(QTest::qWaitForWindowActive(&help.window));
        QTest::keyClick(&help.window, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!help.window.isVisible());
        QVERIFY(!form.isVisible());
    }

    void tickBringsBackTheMainWindowWithTheFieldTheUserIsTypingIn()
    {
        window.reset();  // one main window, as in the program
        StandInHelp help;
        Form1 form(&help);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto* windspeed = control(&form, WindSpeed);
        windspeed->setFocus();
        windspeed->end(false);  // where a user typing "15" has the cursor
        form.Timer2_Timer();
        QVERIFY(help.window.isVisible());
        QCoreApplication::processEvents();  // the window system's answers to both windows' requests
        QTRY_COMPARE(QApplication::activeWindow(), &form);
        QTest::keyClicks(QApplication::focusWidget(), "7");
        QCOMPARE(windspeed->text(), QStringLiteral("157"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
