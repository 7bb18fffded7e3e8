// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "records/numberformat.h"

#include <cmath>

namespace
{
QLocale neutral()
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::OmitGroupSeparator);
    return c;
}

QLocale& current()
{
    static QLocale locale = neutral();
    return locale;
}
} // namespace

QLocale NumberFormat::locale()
{
    return current();
}

QLocale NumberFormat::localeOf(const QString& language)
{
    const QLocale shown(language);
    if (language.isEmpty() || shown.language() == QLocale::English || shown.language() == QLocale::C)
        return neutral();
    // A user whose system speaks the language keeps the system's country (de_AT, de_CH).
    const QLocale system = QLocale::system();
    return system.language() == shown.language() ? system : shown;
}

void NumberFormat::setLocale(const QLocale& locale)
{
    current() = locale;
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
    if (locale().language() == QLocale::C)
        return date.toString(Qt::ISODate);
    return locale().toString(date, datePattern());
}

QString NumberFormat::datePattern()
{
    if (locale().language() == QLocale::C)
        return QStringLiteral("yyyy-MM-dd");
    // Short dates carry two-digit years in many locales; a log book spans decades.
    QString pattern = locale().dateFormat(QLocale::ShortFormat);
    if (!pattern.contains(QLatin1String("yyyy")))
        pattern.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return pattern;
}
