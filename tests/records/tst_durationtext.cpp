// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The edges of reading durations and of questioning entries; the window's tests type the usual
// forms.
#include "records/accuentry.h"
#include "records/durationtext.h"
#include "records/entrydoubts.h"
#include "records/logentry.h"
#include "records/modelentry.h"

#include <QTest>

class DurationTextTest : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void doubts_data();
    void doubts();
};

void DurationTextTest::read_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("seconds"); // -1: refused
    QTest::addColumn<QString>("reason");
    QTest::newRow("blanks around") << " 0:45 " << 45 << "";
    QTest::newRow("last second of a day") << "23:59:59" << 86399 << "";
    QTest::newRow("three digits after a colon") << "4:500" << -1 << "Two digits";
    QTest::newRow("60 seconds") << "4:60" << -1 << "up to 59";
    QTest::newRow("three colons") << "1:02:03:04" << -1 << "Not a duration";
    QTest::newRow("one digit") << "5" << 300 << "";
    QTest::newRow("three digits") << "120" << 7200 << "";
    QTest::newRow("mmss beyond 59") << "0475" << -1 << "[h]hmmss";
    QTest::newRow("seven digits") << "1234567" << -1 << "Too many digits";
    QTest::newRow("seconds only") << "90s" << 90 << "";
    QTest::newRow("words") << "4 min 30 s" << 270 << "";
    QTest::newRow("German, abbreviated") << "1 Std. 5 Min. 30 Sek." << 3930 << "";
    QTest::newRow("German seconds") << "45 Sek" << 45 << "";
    QTest::newRow("units out of order") << "30s 4m" << -1 << "Not a duration";
    QTest::newRow("decimal comma") << "0,5 h" << -1 << "use 4:30";
    QTest::newRow("empty") << "  " << -1 << "Type the duration";
    QTest::newRow("negative") << "-4:30" << -1 << "Not a duration";
}

void DurationTextTest::read()
{
    QFETCH(QString, typed);
    QFETCH(int, seconds);
    QFETCH(QString, reason);
    const DurationText::Reading reading = DurationText::read(typed);
    QCOMPARE(reading.ok, seconds >= 0);
    if (seconds >= 0) {
        QCOMPARE(reading.seconds, seconds);
        // What the field says it understood reads back as the same duration.
        QCOMPARE(DurationText::read(DurationText::spoken(seconds)).seconds, seconds);
    } else {
        QVERIFY2(reading.reason.contains(reason), qPrintable(reading.reason));
    }
}

void DurationTextTest::doubts_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("charged"); // into 2200 mAh
    QTest::addColumn<int>("modelTyp");
    QTest::addColumn<int>("daysAhead");
    QTest::addColumn<QList<int>>("kinds");
    using D = EntryDoubts;
    QTest::newRow("110 % exactly") << 600 << 2420 << 0 << 0 << QList<int>{};
    QTest::newRow("above 110 %") << 600 << 2421 << 0 << 0 << QList<int>{D::OverCharged};
    QTest::newRow("2 h in a boat") << 7200 << 500 << 3 << 0 << QList<int>{};
    QTest::newRow("longer in a car") << 7201 << 500 << 2 << 0 << QList<int>{D::TooLong};
    QTest::newRow("tomorrow, overcharged")
        << 600 << 3000 << 1 << 1 << QList<int>{D::OverCharged, D::InFuture};
}

void DurationTextTest::doubts()
{
    QFETCH(int, seconds);
    QFETCH(int, charged);
    QFETCH(int, modelTyp);
    QFETCH(int, daysAhead);
    QFETCH(QList<int>, kinds);
    const QDate today(2026, 12, 9);
    const AccuEntry accu(nullptr, QStringLiteral("SLS"), QStringLiteral("Red"), 2200, 3, 30, 0, 1);
    const ModelEntry model(nullptr, QStringLiteral("Cub"), modelTyp, 1);
    const LogEntry entry(nullptr, today.addDays(daysAhead), QTime(0, 0).addSecs(seconds), charged,
                         1, 1, -1);
    QList<int> found;
    for (const EntryDoubts::Doubt& doubt : EntryDoubts::of(entry, &accu, &model, today))
        found << doubt.kind;
    QCOMPARE(found, kinds);
}

QTEST_GUILESS_MAIN(DurationTextTest)
#include "tst_durationtext.moc"
