// The screen always shows what the sheet holds, however a figure got there,
// and never shows a figure without its first digits.

#include "window_fixture.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleEditableTextInterface>
#include <QAccessibleTextInterface>
#include <QFontMetrics>
#include <QPushButton>
#include <QRadioButton>

#include <memory>

using namespace tivora;
using namespace tivora::testing;
using enum tivora::Field;

class ScreenAndSheetTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Form1> window;
    QWidget* w() { return window.get(); }
    void solve() { control(w(), Button::Solve)->click(); }

private slots:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        window = std::make_unique<Form1>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() { window.reset(); }

    // What voice control and automation tools do through AT-SPI.
    void textSetThroughTheAccessibilityInterfaceReachesTheSheet()
    {
        QAccessibleInterface* wind = QAccessible::queryAccessibleInterface(control(w(), WindSpeed));
        QVERIFY(wind && wind->editableTextInterface());
        wind->editableTextInterface()->replaceText(0, wind->textInterface()->characterCount(), QStringLiteral("10"));
        QAccessible::queryAccessibleInterface(control(w(), Cl))->setText(QAccessible::Value, QStringLiteral("0.9"));
        QCOMPARE(window->sheet().text(Cl), "0.9");
        QCOMPARE(control(w(), Caption::Airfoil)->text(), QStringLiteral("Airfoil: user defined"));
        solve();
        QCOMPARE(textOf(w(), Power), QStringLiteral("766.5"));  // from 10 m/s, not 15
    }

    void optionToggledByAnAssistiveToolSwitchesAsAClickDoes()
    {
        auto* metric = control(w(), UnitSystem::Metric);
        QAccessibleActionInterface* actions = QAccessible::queryAccessibleInterface(metric)->actionInterface();
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
        actions->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(metric->isChecked());
        QCOMPARE(textOf(w(), WindSpeed), QStringLiteral("54"));
        QCOMPARE(control(w(), Caption::WindSpeed)->text(), QStringLiteral("Wind Speed (kph)"));
        QCOMPARE(textOf(w(), Units), QStringLiteral("2"));
        solve();
        QCOMPARE(textOf(w(), Power), QStringLiteral("2587.1"));  // 54 km/h, not 54 m/s
    }

    void imperialClickKeepsImperialAndSolvesFromMphAndFeet()
    {
        control(w(), UnitSystem::Imperial)->click();
        retype(w(), WindSpeed, QStringLiteral("20"));
        retype(w(), Radius, QStringLiteral("10"));
        solve();
        QVERIFY(control(w(), UnitSystem::Imperial)->isChecked());
        QCOMPARE(window->sheet().selectedSystem(), UnitSystem::Imperial);
        QCOMPARE(textOf(w(), Power), QStringLiteral("4863.5"));
        QCOMPARE(textOf(w(), WindSpeed), QStringLiteral("19.9"));
        QCOMPARE(textOf(w(), Radius), QStringLiteral("9.8"));
    }

    void failureNamesWhatToChangeAndTakesTheFocusThere_data()
    {
        QTest::addColumn<Field>("input");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::addColumn<Field>("focus");
        const QString last = QStringLiteral("\n\nNothing was changed.");
        QTest::newRow("no number") << Efficiency << QString()
                                   << "The field \"Blade Efficiency\" holds no number." + last << Efficiency;
        QTest::newRow("a zero input divides")
            << Radius << "0"
            << "Division by zero while computing \"Generator speed (rad/sec)\": it divides by \"Blade Radius (m)\", "
               "which comes to zero." +
                   last
            << Radius;
        QTest::newRow("a zero result divides")
            << Tsr << "0"
            << "Division by zero while computing \"Generator Torque (N.m)\": it divides by \"Generator speed "
               "(rad/sec)\", which comes to zero from \"TSR\"." +
                   last
            << Tsr;
        QTest::newRow("a text too large to read")
            << WindSpeed << "1e400"
            << "The field \"Wind Speed (m/s)\" holds a figure too large to compute with." + last << WindSpeed;
        QTest::newRow("a result too large")
            << WindSpeed << "1e120"
            << "A figure is too large while computing \"Generator Power (Watts)\" from \"Wind Speed (m/s)\"." + last
            << WindSpeed;
    }
    void failureNamesWhatToChangeAndTakesTheFocusThere()
    {
        QFETCH(Field, input);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QFETCH(Field, focus);
        retype(w(), input, text);
        const QStringList messages = acceptingMessageBoxes([this] { solve(); });
        QCOMPARE(messages, QStringList{message});
        auto* edit = control(w(), focus);
        QCOMPARE(window->focusWidget(), edit);
        QCOMPARE(edit->selectedText(), edit->text());
        QCOMPARE(edit->cursorPosition(), 0);
    }

    void aFigureWiderThanItsBoxShowsFromItsFirstDigit()
    {
        retype(w(), Radius, QStringLiteral("20"));
        retype(w(), WindSpeed, QStringLiteral("13"));
        solve();
        auto* torque = control(w(), Torque);
        QCOMPARE(torque->text(), QStringLiteral("148053.38"));
        QCOMPARE(torque->cursorPosition(), 0);
        QCOMPARE(torque->toolTip(), torque->text());
        QCOMPARE(torque->accessibleDescription(), torque->text());
        QCOMPARE(control(w(), stationRadius(1))->toolTip(), QString());  // "2" fits

        window->activateWindow();
        auto* radius = control(w(), Radius);
        radius->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), radius);
        radius->end(false);
        QTest::keyClicks(radius, QStringLiteral("000000.5"));
        QCOMPARE(radius->toolTip(), QStringLiteral("20000000.5"));
        QTest::keyClick(radius, Qt::Key_Tab);
        QCOMPARE(radius->cursorPosition(), 0);
    }

    void userDefinedAirfoilCaptionShowsWhole()
    {
        QTest::keyClick(control(w(), Cl), Qt::Key_5);
        auto* caption = control(w(), Caption::Airfoil);
        QCOMPARE(caption->text(), QStringLiteral("Airfoil: user defined"));
        QVERIFY(QFontMetrics(caption->font()).horizontalAdvance(caption->text()) <= caption->width());
    }

    void senselessInputIsMarkedAfterASolveUntilASolveFindsItSound_data()
    {
        QTest::addColumn<Field>("input");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("rule");
        QTest::newRow("half a blade") << Blades << "2.5"
                                      << "No physical sense: a rotor has a whole number of blades, at least 1.";
        QTest::newRow("above the Betz limit")
            << Efficiency << "1.5"
            << "No physical sense: the blade efficiency must be above 0 and at most 0.593, the Betz limit; no rotor "
               "takes more of the wind's power.";
        QTest::newRow("a negative radius") << Radius << "-1.5"
                                           << "No physical sense: the blade radius must be above 0.";
        QTest::newRow("a stalled airfoil")
            << Alpha << "25"
            << QString::fromUtf8("No physical sense: the angle of attack must lie from \u221210\u00b0 to 20\u00b0; "
                                 "beyond that a thin airfoil has stalled.");
    }
    void senselessInputIsMarkedAfterASolveUntilASolveFindsItSound()
    {
        QFETCH(Field, input);
        QFETCH(QString, text);
        QFETCH(QString, rule);
        auto* edit = control(w(), input);
        const QString sound = edit->text();
        const QColor ground = edit->palette().color(QPalette::Base);
        retype(w(), input, text);
        QCOMPARE(edit->toolTip(), QString());
        solve();
        QCOMPARE(edit->toolTip(), rule);
        QCOMPARE(edit->accessibleDescription(), rule);
        QVERIFY(edit->palette().color(QPalette::Base) != ground);
        retype(w(), input, sound);
        solve();
        QCOMPARE(edit->toolTip(), QString());
        QCOMPARE(edit->palette().color(QPalette::Base), ground);
    }
};

QTEST_MAIN(ScreenAndSheetTest)
#include "screen_and_sheet_test.moc"
