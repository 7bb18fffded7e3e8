// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// Every figure the program shows, at the edges of its format.
#include "records/numberformat.h"

#include <QTest>

class NumberFormatTest : public QObject
{
    Q_OBJECT

private slots:
    void figures_data();
    void figures();
    void durations_data();
    void durations();
};

void NumberFormatTest::figures_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("expected");
    QTest::newRow("current rounds to two decimals") << NumberFormat::amps(4.61218) << "4.61 A";
    QTest::newRow("current keeps its zeros") << NumberFormat::amps(22.8) << "22.80 A";
    QTest::newRow("current rounds up") << NumberFormat::amps(0.376138) << "0.38 A";
    QTest::newRow("rest half rounds up") << NumberFormat::percent(35.5) << "36 %";
    QTest::newRow("rest rounded, not cut") << NumberFormat::percent(35.7) << "36 %";
    QTest::newRow("overcharged half") << NumberFormat::percent(-10.5) << "-11 %";
    QTest::newRow("voltage three decimals") << NumberFormat::volts(4.2) << "4.200 V";
    QTest::newRow("voltage rounded") << NumberFormat::volts(4.1976) << "4.198 V";
    QTest::newRow("capacity whole") << NumberFormat::milliAmpHours(1234.5) << "1235 mAh";
    QTest::newRow("capacity, no separator") << NumberFormat::milliAmpHours(22000) << "22000 mAh";
    QTest::newRow("spread") << NumberFormat::milliVolts(12.4) << "12 mV";
    QTest::newRow("temperature") << NumberFormat::celsius(23.46) << "23.5 \u00B0C";
    QTest::newRow("date") << NumberFormat::date(QDate(2024, 5, 4)) << "2024-05-04";
}

void NumberFormatTest::figures()
{
    QFETCH(QString, shown);
    QFETCH(QString, expected);
    QCOMPARE(shown, expected);
}

void NumberFormatTest::durations_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("expected");
    QTest::newRow("seconds only") << qint64(59) << "0:59";
    QTest::newRow("minutes") << qint64(317) << "5:17";
    QTest::newRow("last before an hour") << qint64(3599) << "59:59";
    QTest::newRow("one hour") << qint64(3600) << "1:00:00";
    QTest::newRow("hours and minutes") << qint64(3 * 3600 + 47 * 60 + 3) << "3:47:03";
    QTest::newRow("more than a day") << qint64(97390) << "27:03:10";
}

void NumberFormatTest::durations()
{
    QFETCH(qint64, seconds);
    QFETCH(QString, expected);
    QCOMPARE(NumberFormat::duration(seconds), expected);
    if (seconds < 86400)
        QCOMPARE(NumberFormat::duration(QTime(0, 0).addSecs(int(seconds))), expected);
}

QTEST_GUILESS_MAIN(NumberFormatTest)
#include "tst_numberformat.moc"
