// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The per-use figures that the log table and every store share.
#include "storage/usage.h"

#include <QTest>

#include <limits>

class UsageTest : public QObject
{
    Q_OBJECT

private slots:
    void current_data();
    void current();
    void rest_data();
    void rest();
    void seconds();
    void totals();
};

void UsageTest::current_data()
{
    QTest::addColumn<int>("charged");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<qint64>("milliAmps");
    QTest::newRow("1 h, 1100 mAh") << 1100 << qint64(3600) << qint64(1100);
    QTest::newRow("20 min, 500 mAh") << 500 << qint64(1200) << qint64(1500);
    QTest::newRow("7 s, 1 mAh truncated") << 1 << qint64(7) << qint64(514);
    QTest::newRow("not timed") << 500 << qint64(0) << qint64(0);
    QTest::newRow("nothing charged") << 0 << qint64(600) << qint64(0);
    QTest::newRow("negative truncated toward zero") << -1 << qint64(7) << qint64(-514);
    QTest::newRow("largest charge in one second")
        << std::numeric_limits<int>::max() << qint64(1) << qint64(7730941129200);
}

void UsageTest::current()
{
    QFETCH(int, charged);
    QFETCH(qint64, seconds);
    QFETCH(qint64, milliAmps);
    QCOMPARE(Usage::currentMilliAmps(charged, seconds), milliAmps);
}

void UsageTest::rest_data()
{
    QTest::addColumn<int>("charged");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<qint64>("percent");
    QTest::newRow("half") << 1100 << 2200 << qint64(50);
    QTest::newRow("truncated") << 500 << 2200 << qint64(78);
    QTest::newRow("a third") << 1 << 3 << qint64(67);
    QTest::newRow("nothing charged") << 0 << 2200 << qint64(100);
    QTest::newRow("unknown capacity") << 500 << 0 << qint64(0);
    QTest::newRow("more than the capacity") << 3000 << 2200 << qint64(-36);
    QTest::newRow("no overflow") << std::numeric_limits<int>::max() << 1
                                 << qint64(100) - qint64(std::numeric_limits<int>::max()) * 100;
}

void UsageTest::rest()
{
    QFETCH(int, charged);
    QFETCH(int, capacity);
    QFETCH(qint64, percent);
    QCOMPARE(Usage::restPercent(charged, capacity), percent);
    // Truncating moves the figure by less than one percent.
    const double exact = Usage::exactRestPercent(charged, capacity);
    QVERIFY(qAbs(exact - double(percent)) < 1.0);
}

void UsageTest::seconds()
{
    QCOMPARE(Usage::seconds(QTime(1, 2, 3)), qint64(3723));
    QCOMPARE(Usage::seconds(QTime(0, 0)), qint64(0));
    QCOMPARE(Usage::seconds(QTime()), qint64(0));
    QCOMPARE(Usage::seconds(QTime(23, 59, 59, 999)), qint64(86399));
}

void UsageTest::totals()
{
    Usage::Totals t;
    QCOMPARE(t.averageSeconds(), qint64(0));
    QCOMPARE(t.avgCurrentAmps(), 0.0);
    QCOMPARE(t.avgRest(), 0);
    const int full = 1000, none = 0;
    t.addTime(3600);
    t.addTime(0);
    t.addTime(1801);
    QCOMPARE(t.count(), 3);
    QCOMPARE(t.totalSeconds(), qint64(5401));
    QCOMPARE(t.averageSeconds(), qint64(2700)); // two timed uses, truncated
    t.addUse(500, 3600, &full);                 // 500 mA, 50 %
    t.addUse(510, 3600, &full);                 // 510 mA, 49 %
    t.addUse(700, 3600, nullptr);               // pack gone: current only
    t.addUse(100, 3600, &none);                 // capacity unknown: current only
    t.addUse(0, 3600, &full);                   // incomplete
    t.addUse(300, 0, &full);                    // incomplete
    QCOMPARE(t.completeUses(), 4);
    QCOMPARE(t.avgCurrentAmps(), 0.4525);
    QCOMPARE(t.avgRest(), 49);
    QCOMPARE(t.avgExactRest(), 49.5); // 50 % and 49 %, not cut twice
}

QTEST_GUILESS_MAIN(UsageTest)
#include "tst_usage.moc"
