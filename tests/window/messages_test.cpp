// The wording of failures, from the failure and the sheet alone: no window.

#include "solve/solve.h"
#include "units/unit_switch.h"
#include "window/messages.h"

#include <QTest>

#include <utility>
#include <vector>

using namespace tivora;
using enum tivora::Field;

using Texts = std::vector<std::pair<Field, QString>>;
Q_DECLARE_METATYPE(Texts)

class MessagesTest : public QObject {
    Q_OBJECT

private slots:
    // Quotation marks and lists follow the user's locale: here a British
    // user's, whose list ends in "and" without a comma.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void failedSolveNamesFieldsByTheirCaptionsInTheSystemShown_data()
    {
        QTest::addColumn<UnitSystem>("system");
        QTest::addColumn<Texts>("texts");
        QTest::addColumn<QString>("message");
        QTest::newRow("an empty input holds no number")
            << UnitSystem::SI << Texts{{Efficiency, ""}} << "The field “Blade Efficiency” holds no number.";
        QTest::newRow("a zero typed in the radius, in metric units")
            << UnitSystem::Metric << Texts{{Radius, "0"}}
            << "Division by zero while computing “Generator speed (rpm)”: it divides by “Blade Radius (m)”, "
               "which comes to zero.";
        QTest::newRow("a speed rounded to zero names the three inputs behind it")
            << UnitSystem::SI << Texts{{WindSpeed, "0.0001"}}
            << "Division by zero while computing “Generator Torque (N.m)”: it divides by “Generator speed "
               "(rad/sec)”, which comes to zero from “Wind Speed (m/s)”, “TSR” and “Blade Radius (m)”.";
    }
    void failedSolveNamesFieldsByTheirCaptionsInTheSystemShown()
    {
        QFETCH(UnitSystem, system);
        QFETCH(Texts, texts);
        QFETCH(QString, message);
        DesignSheet sheet;
        QVERIFY(!switchUnitSystem(sheet, system));
        sheet.setSelectedSystem(system);
        for (const auto& [field, text] : texts)
            sheet.setText(field, text.toStdString());
        const auto failure = solve(sheet);
        QVERIFY(failure);
        QCOMPARE(failureMessage(*failure, sheet), message + QStringLiteral("\n\nNothing was changed."));
    }
};

QTEST_APPLESS_MAIN(MessagesTest)
#include "messages_test.moc"
