// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_NUMBERFORMAT_H
#define TARVELO_NUMBERFORMAT_H

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

// How every figure the program shows is written: the log, both statistics tables and the
// charger window format through here, so that they agree with each other and a change of
// locale is made in one place.
//   current   two decimals       "4.61 A"
//   rest      whole percent      "36 %"  (rounded half away from zero)
//   voltage   three decimals     "4.200 V"
//   capacity  whole mAh          "2200 mAh"
//   duration  m:ss below an hour "5:17", h:mm:ss from an hour on "1:05:00" (hours past a day)
//   date      the locale's short date with the whole year: "09.06.2026"
// English is written in a neutral form that reads the same everywhere: a decimal point, no
// thousands separator, dates as "2026-06-09".
class NumberFormat
{
public:
    // The locale figures are written in: the neutral one until the language sets another.
    static QLocale locale();
    // The figures of the given language; English (or none) takes the neutral form.
    static QLocale localeOf(const QString& language);
    // Called by the window when the language changes, from the thread that formats.
    static void setLocale(const QLocale& locale);

    static QString amps(double amps);
    static QString percent(double percent);
    // The whole percent percent() shows, for whatever depends on what the user reads.
    static qint64 roundedPercent(double percent);
    static QString volts(double volts);
    static QString milliVolts(double milliVolts);
    static QString milliAmpHours(double milliAmpHours);
    static QString celsius(double degrees);
    static QString duration(qint64 seconds);
    // A duration held as a time after midnight; a null time is none.
    static QString duration(const QTime& time);
    // The pattern duration() follows, for column headings.
    static QString durationPattern();
    static QString date(const QDate& date);
    // The pattern date() follows, for date editors.
    static QString datePattern();

private:
    static QString withUnit(const QString& number, const char* unit);
};

#endif
