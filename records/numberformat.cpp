#include "records/numberformat.h"

#include <cmath>

QLocale NumberFormat::locale()
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::OmitGroupSeparator);
    return c;
}

QString NumberFormat::withUnit(const QString& number, const char* unit)
{
    return number + QLatin1Char(' ') + QString::fromUtf8(unit);
}

QString NumberFormat::amps(double amps)
{
    return withUnit(locale().toString(amps, 'f', 2), "A");
}

qint64 NumberFormat::roundedPercent(double percent)
{
    return std::llround(percent);
}

QString NumberFormat::percent(double percent)
{
    return withUnit(locale().toString(roundedPercent(percent)), "%");
}

QString NumberFormat::volts(double volts)
{
    return withUnit(locale().toString(volts, 'f', 3), "V");
}

QString NumberFormat::milliVolts(double milliVolts)
{
    return withUnit(locale().toString(std::llround(milliVolts)), "mV");
}

QString NumberFormat::milliAmpHours(double milliAmpHours)
{
    return withUnit(locale().toString(std::llround(milliAmpHours)), "mAh");
}

QString NumberFormat::celsius(double degrees)
{
    return withUnit(locale().toString(degrees, 'f', 1), "\u00B0C");
}

QString NumberFormat::duration(qint64 seconds)
{
    const QLocale l = locale();
    const QString zero = l.zeroDigit();
    const auto twoDigits = [&](qint64 n) { return l.toString(n).rightJustified(2, zero.at(0)); };
    const QString sign = seconds < 0 ? l.negativeSign() : QString();
    seconds = std::abs(seconds);
    const qint64 minutes = (seconds / 60) % 60;
    const QString tail = QLatin1Char(':') + twoDigits(seconds % 60);
    if (seconds < 3600)
        return sign + l.toString(minutes) + tail;
    return sign + l.toString(seconds / 3600) + QLatin1Char(':') + twoDigits(minutes) + tail;
}

QString NumberFormat::duration(const QTime& time)
{
    return duration(time.isValid() ? qint64(QTime(0, 0).secsTo(time)) : 0);
}

QString NumberFormat::durationPattern()
{
    return QStringLiteral("m:ss / h:mm:ss");
}

QString NumberFormat::date(const QDate& date)
{
    return date.toString(Qt::ISODate);
}
