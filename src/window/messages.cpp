#include "messages.h"

#include "solve/physical_sense.h"

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>

namespace tivora {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("tivora::Form1", text);
}

// What an input is, in words that stay true whatever unit system is shown.
QString inputNoun(Field field)
{
    switch (field) {
    case Field::Tsr:
        return tr("the tip speed ratio");
    case Field::Radius:
        return tr("the blade radius");
    case Field::WindSpeed:
        return tr("the wind speed");
    case Field::Cl:
        return tr("the lift coefficient Cl");
    default:
        return QString::fromUtf8(nameOf(field));
    }
}

// "In "0,35", use a full stop as the decimal point."
QString decimalPointHint(const QString& text, const NumberFormat& format)
{
    const QString quoted = QLocale().quoteString(text);
    return format.decimalSeparator == "," ? tr("In %1, use a comma as the decimal point.").arg(quoted)
                                          : tr("In %1, use a full stop as the decimal point.").arg(quoted);
}

}  // namespace

QString fieldCaption(const DesignSheet& sheet, Field field)
{
    const FieldInfo& info = infoOf(field);
    if (!info.caption)
        return QString::fromUtf8(info.name);
    const QString text = QString::fromUtf8(captionText(sheet, *info.caption)).trimmed();
    return info.station ? QStringLiteral("%1, station %2").arg(text).arg(info.station) : text;
}

QString failureMessage(const Failure& failure, const DesignSheet& sheet)
{
    const QLocale locale;
    const auto quoted = [&](Field field) { return locale.quoteString(fieldCaption(sheet, field)); };
    const QString caption = quoted(failure.field);
    QStringList inputs;
    for (Field input : failure.inputs)
        inputs << quoted(input);
    const QString listed = locale.createSeparatedList(inputs);
    QString what;
    switch (failure.kind) {
    case FailureKind::NotANumber:
        what = tr("The field %1 holds no number.").arg(caption);
        if (const std::string& text = sheet.text(failure.field);
            readsWithTheOtherDecimalSeparator(text, sheet.numberFormat()))
            what += u' ' + decimalPointHint(QString::fromStdString(text), sheet.numberFormat());
        break;
    case FailureKind::TooLargeToRead:
        what = tr("The field %1 holds a figure too large to compute with.").arg(caption);
        break;
    case FailureKind::DivisionByZero:
        if (!failure.zeroField) {
            what = tr("Division by zero while computing %1: the figures from %2 make its divisor zero.")
                       .arg(caption, listed);
        } else if (infoOf(*failure.zeroField).typedByUser) {
            what = tr("Division by zero while computing %1: it divides by %2, which comes to zero.")
                       .arg(caption, quoted(*failure.zeroField));
        } else {
            what = tr("Division by zero while computing %1: it divides by %2, which comes to zero from %3.")
                       .arg(caption, quoted(*failure.zeroField), listed);
        }
        break;
    case FailureKind::Overflow:
        what = inputs.isEmpty() ? tr("A figure is too large while computing %1.").arg(caption)
                                : tr("A figure is too large while computing %1 from %2.").arg(caption, listed);
        break;
    }
    return what + QStringLiteral("\n\n") + tr("Nothing was changed.");
}

QString senseRuleText(Field input)
{
    const QLocale locale;
    switch (*senseRuleOf(input)) {
    case SenseRule::WholeAtLeastOne:
        return tr("No physical sense: a rotor has a whole number of blades, at least 1.");
    case SenseRule::AboveZero:
        return tr("No physical sense: %1 must be above 0.").arg(inputNoun(input));
    case SenseRule::BetzLimit:
        return tr("No physical sense: the blade efficiency must be above 0 and at most %1, the Betz limit; "
                  "no rotor takes more of the wind's power.")
            .arg(locale.toString(kBetzLimit));
    case SenseRule::UnstalledAngle:
        return tr("No physical sense: the angle of attack must lie from %1\u00b0 to %2\u00b0; beyond that a thin "
                  "airfoil has stalled.")
            .arg(QString(locale.toString(kLowestAlpha)).replace(QLatin1Char('-'), QChar(0x2212)),
                 locale.toString(kHighestAlpha));
    }
    return {};
}

}  // namespace tivora
