// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The charger manager: per-class queries and result codes, opening and closing, forwarding to
// the open charger, and the whole path from the simulator through a pseudo-terminal.

#include "chargertestsupport.h"

#include "charger/chargermanager.h"
#include "charger/icharger.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

namespace
{
QByteArray text(int result, const char* buffer, int* resultOut)
{
    *resultOut = result;
    return QByteArray(buffer);
}

void verifyClosed(ChargerManager& m)
{
    QVERIFY(!m.isOpen());
    QVERIFY(!m.isChargeComplete());
    QCOMPARE(m.currentClass(), 0);
    QCOMPARE(m.currentSubtype(), 0);
    double d = -1.0;
    int i = -1;
    char t[ChargerBase::kTextBufferSize] = "old";
    QCOMPARE(m.getInputVoltage(&d), 4);
    QCOMPARE(d, 0.0);
    d = -1.0;
    QCOMPARE(m.getClampVoltage(&d), 4);
    QCOMPARE(d, 0.0);
    d = -1.0;
    QCOMPARE(m.getCellVoltage(&d, 0), 4);
    QCOMPARE(d, 0.0);
    d = -1.0;
    QCOMPARE(m.getTemperature(&d, 0), 4);
    QCOMPARE(d, 0.0);
    d = -1.0;
    QCOMPARE(m.getChargeCurrent(&d), 4);
    QCOMPARE(d, 0.0);
    d = -1.0;
    QCOMPARE(m.getChargedCapacity(&d), 4);
    QCOMPARE(d, 0.0);
    QCOMPARE(m.getCellCount(&i), 4);
    QCOMPARE(i, 0);
    i = -1;
    QCOMPARE(m.getTemperatureCount(&i), 4);
    QCOMPARE(i, 0);
    QCOMPARE(m.getStatusText(t), 4);
    QCOMPARE(t[0], '\0');
    QCOMPARE(m.close(), 4);
    // Not supported by the manager itself.
    QCOMPARE(m.open(0, 0), 1);
    QCOMPARE(m.getPortCount(&i), 1);
    QCOMPARE(m.getSubtypeCount(&i), 1);
}
} // namespace

class TestChargerManager : public QObject
{
    Q_OBJECT

private slots:
    void classQueries();
    void closedManagerAnswersNotOpen();
    void openCharger_data();
    void openCharger();
    void failedOpenLeavesTheManagerClosed();
    void forwardsToTheOpenCharger();
    void enumeratesWhileClosedAndOpen();
    void destroyingTheManagerClosesTheCharger();
    void quittingDoesNotWaitForAHangingPort();
    void simulatorEndToEnd_data();
    void simulatorEndToEnd();
    void realLinesThroughTheSimulator();
    void simulatorGoneLosesTheLink_data();
    void simulatorGoneLosesTheLink();

private:
    // Opens the manager on the simulator's port as the port list offers it.
    bool openOnSimulator(ChargerManager& m, const QString& portName, int subtype);
};

void TestChargerManager::classQueries()
{
    ChargerManager m;
    char t[ChargerBase::kTextBufferSize];
    int r = -1;
    int n = -1;
    QCOMPARE(m.getClassCount(&n), 0);
    QCOMPARE(n, 1);
    QCOMPARE(text(m.getClassName(0, t), t, &r), QByteArray("Junsi iCharger"));
    QCOMPARE(r, 0);
    for (int bad : {1, 255, -1}) {
        std::strcpy(t, "old");
        QCOMPARE(text(m.getClassName(bad, t), t, &r), QByteArray());
        QCOMPARE(r, 2);
        n = -1;
        QCOMPARE(m.getClassSubtypeCount(bad, &n), 2);
        QCOMPARE(n, 0);
        std::strcpy(t, "old");
        QCOMPARE(text(m.getClassSubtypeName(bad, 0, t), t, &r), QByteArray());
        QCOMPARE(r, 2);
    }
    QCOMPARE(m.getClassSubtypeCount(0, &n), 0);
    QCOMPARE(n, 3);
    const char* const names[] = {"106B+", "208B+", "1010B+"};
    for (int s = 0; s < 3; ++s) {
        QCOMPARE(text(m.getClassSubtypeName(0, s, t), t, &r), QByteArray(names[s]));
        QCOMPARE(r, 0);
    }
    QCOMPARE(text(m.getClassSubtypeName(0, 3, t), t, &r), QByteArray());
    QCOMPARE(r, 2);

    // No class given: 4; a class without a charger: 2.
    n = -1;
    QCOMPARE(m.getClassPortCount(255, &n), 4);
    QCOMPARE(n, 0);
    QCOMPARE(m.getClassPortCount(1, &n), 2);
    std::strcpy(t, "old");
    QCOMPARE(text(m.getClassPortName(255, 0, t), t, &r), QByteArray());
    QCOMPARE(r, 4);
    std::strcpy(t, "old");
    QCOMPARE(text(m.getClassPortName(1, 0, t), t, &r), QByteArray());
    QCOMPARE(r, 2);
}

void TestChargerManager::closedManagerAnswersNotOpen()
{
    ChargerManager m;
    verifyClosed(m);
}

void TestChargerManager::openCharger_data()
{
    QTest::addColumn<int>("chargerClass");
    QTest::addColumn<int>("subtype");
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("result");
    QTest::newRow("iCharger 106B+ on port 0") << 0 << 0 << 0 << 0;
    QTest::newRow("iCharger 1010B+ on port 1") << 0 << 2 << 1 << 0;
    QTest::newRow("class 1") << 1 << 0 << 0 << 2;
    QTest::newRow("class 255") << 255 << 0 << 0 << 2;
    QTest::newRow("class -1") << -1 << 0 << 0 << 2;
    QTest::newRow("subtype 3") << 0 << 3 << 0 << 2;
    QTest::newRow("subtype -1") << 0 << -1 << 0 << 2;
    QTest::newRow("port -1") << 0 << 0 << -1 << 3;
    QTest::newRow("port beyond the list") << 0 << 0 << 2 << 3;
}

void TestChargerManager::openCharger()
{
    QFETCH(int, chargerClass);
    QFETCH(int, subtype);
    QFETCH(int, port);
    QFETCH(int, result);
    FedManager fed;
    ChargerManager& m = *fed.manager;
    QCOMPARE(m.openCharger(chargerClass, subtype, port), result);
    if (result != 0) {
        verifyClosed(m);
        QCOMPARE(fed.feed->opens.load(), 0);
        return;
    }
    QVERIFY(m.isOpen());
    QCOMPARE(m.currentClass(), chargerClass);
    QCOMPARE(m.currentSubtype(), subtype);
    int cells = 0;
    QCOMPARE(m.getCellCount(&cells), 0);
    QCOMPARE(cells, ICharger::kCellCounts[subtype + 1]);
    QCOMPARE(m.close(), 0);
    verifyClosed(m);
    QCOMPARE(fed.feed->closes.load(), 1);
}

void TestChargerManager::failedOpenLeavesTheManagerClosed()
{
    FedManager fed;
    ChargerManager& m = *fed.manager;
    QCOMPARE(m.openCharger(0, 1, 0), 0);
    QCOMPARE(m.openCharger(0, 0, 7), 3);
    verifyClosed(m);
    QCOMPARE(fed.feed->liveReaders.load(), 0);
    QCOMPARE(m.openCharger(0, 0, 0), 0);
    QCOMPARE(m.openCharger(5, 0, 0), 2);
    verifyClosed(m);
    // A port that refuses to open: the failure follows, and closing ends it.
    fed.feed->refuseOpen = true;
    QCOMPARE(m.openCharger(0, 0, 0), 0);
    QTRY_COMPARE(m.linkState(), int(ChargerBase::LinkFailed));
    QCOMPARE(m.close(), 0);
    verifyClosed(m);
    QCOMPARE(m.linkState(), int(ChargerBase::LinkClosed));
}

void TestChargerManager::forwardsToTheOpenCharger()
{
    FedManager fed;
    ChargerManager& m = *fed.manager;
    QCOMPARE(m.openCharger(0, 0, 1), 0);
    // Opening again closes the open charger first.
    QCOMPARE(m.openCharger(0, 0, 0), 0);
    QCOMPARE(fed.feed->closes.load(), 1);
    fed.feed->push(
        StatusLine::compose({8, 11500, 8400, 120, 4200, 4200, 0, 0, 0, 0, 199, -3, 2200}));
    double d = 0.0;
    QTRY_VERIFY((m.getChargedCapacity(&d), d == 2200.0));
    QCOMPARE(m.getInputVoltage(&d), 0);
    QCOMPARE(d, 11.5);
    QCOMPARE(m.getClampVoltage(&d), 0);
    QCOMPARE(d, 8.4);
    QCOMPARE(m.getChargeCurrent(&d), 0);
    QCOMPARE(d, 1.2);
    QCOMPARE(m.getChargedCapacity(&d), 0);
    QCOMPARE(d, 2200.0);
    QCOMPARE(m.getCellVoltage(&d, 1), 0);
    QCOMPARE(d, 4.2);
    QCOMPARE(m.getCellVoltage(&d, 6), 2);
    QCOMPARE(d, 0.0);
    QCOMPARE(m.getTemperature(&d, 1), 0);
    QCOMPARE(d, -0.3);
    int n = 0;
    QCOMPARE(m.getTemperatureCount(&n), 0);
    QCOMPARE(n, 2);
    char t[ChargerBase::kTextBufferSize];
    QCOMPARE(m.getStatusText(t), 0);
    QCOMPARE(QByteArray(t), QByteArray("LiXX trickle"));
    QVERIFY(m.isChargeComplete());
    QCOMPARE(m.close(), 0);
    QVERIFY(!m.isChargeComplete());
    verifyClosed(m);
}

void TestChargerManager::enumeratesWhileClosedAndOpen()
{
    FedManager fed;
    ChargerManager& m = *fed.manager;
    QCOMPARE(fed.listings.load(), 1);
    m.enumeratePorts();
    QCOMPARE(fed.listings.load(), 2);
    int n = 0;
    QCOMPARE(m.getClassPortCount(0, &n), 0);
    QCOMPARE(n, 2);
    char t[ChargerBase::kTextBufferSize];
    QCOMPARE(m.getClassPortName(0, 1, t), 0);
    QCOMPARE(QByteArray(t), QByteArray("fed1"));
    QCOMPARE(m.getClassPortName(0, 2, t), 2);
    QCOMPARE(m.openCharger(0, 0, 1), 0);
    m.enumeratePorts();
    QCOMPARE(fed.listings.load(), 3);
    QVERIFY(m.isOpen());
}

void TestChargerManager::destroyingTheManagerClosesTheCharger()
{
    FedManager fed;
    QCOMPARE(fed.manager->openCharger(0, 0, 0), 0);
    QTRY_COMPARE(fed.feed->liveReaders.load(), 1);
    fed.manager.reset();
    QCOMPARE(fed.feed->liveReaders.load(), 0);
    QCOMPARE(fed.feed->closes.load(), 1);
}

void TestChargerManager::quittingDoesNotWaitForAHangingPort()
{
    FedManager fed;
    fed.feed->setHoldOpen(true); // a device that hangs in open
    QCOMPARE(fed.manager->openCharger(0, 0, 0), 0);
    QCOMPARE(fed.manager->linkState(), int(ChargerBase::LinkOpening));
    // Were the manager to wait for the reader, this would never return: only the test lets
    // the port go, below.
    fed.manager.reset();
    fed.feed->setHoldOpen(false);
    QTRY_COMPARE(fed.feed->liveReaders.load(), 0);
}

bool TestChargerManager::openOnSimulator(ChargerManager& m, const QString& portName, int subtype)
{
    // The simulator is found by the ordinary port listing.
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000) {
        m.enumeratePorts();
        int n = 0;
        m.getClassPortCount(0, &n);
        char t[ChargerBase::kTextBufferSize];
        for (int i = 0; i < n; ++i) {
            if (m.getClassPortName(0, i, t) == 0 && portName == QString::fromUtf8(t))
                return m.openCharger(0, subtype, i) == 0;
        }
        QTest::qWait(50);
    }
    return false;
}

void TestChargerManager::simulatorEndToEnd_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("subtype");
    QTest::addColumn<bool>("bad");
    QTest::newRow("106B+") << "106B+" << 0 << false;
    QTest::newRow("208B+ with bad lines") << "208B+" << 1 << true;
    QTest::newRow("1010B+ with bad lines") << "1010B+" << 2 << true;
}

void TestChargerManager::simulatorEndToEnd()
{
#ifndef TARVELO_CHARGER_SIM
    QSKIP("the charger simulator is not built on this platform");
#else
    QFETCH(QString, model);
    QFETCH(int, subtype);
    QFETCH(bool, bad);
    RuntimeDir runtime;
    QStringList args = {QStringLiteral("--model"), model, QStringLiteral("--interval"),
                        QStringLiteral("0.02")};
    if (bad)
        args << QStringLiteral("--bad");
    Simulator sim(args);
    QVERIFY(sim.path().startsWith(QStringLiteral("/dev/")));

    ChargerManager m;
    CallbackCounter counter;
    m.setCallback(&CallbackCounter::callback, &counter);
    QVERIFY(openOnSimulator(m, sim.portName(), subtype));
    // The reader set the model's speed; the simulator sees it on its side of the terminal.
    QVERIFY(sim.waitForOutput(subtype == 1 ? QStringLiteral("speed 128000")
                                           : QStringLiteral("speed 9600")));
    double first = 0.0;
    QTRY_VERIFY_WITH_TIMEOUT((m.getInputVoltage(&first), first == 12.0), 10000);

    // Every reading must come from a good line of the scripted charge.
    const int cells = ICharger::kCellCounts[subtype + 1];
    while (counter.calls.load() < 40) {
        QTest::qWait(5);
        if (counter.calls.load() == 0)
            continue;
        double d = 0.0;
        QCOMPARE(m.getInputVoltage(&d), 0);
        QCOMPARE(d, 12.0);
        for (int cell = 0; cell < cells; ++cell) {
            QCOMPARE(m.getCellVoltage(&d, cell), 0);
            QVERIFY2(d >= 3.69 && d <= 4.2, qPrintable(QString::number(d)));
        }
        QCOMPARE(m.getTemperature(&d, 1), 0);
        QCOMPARE(d, 25.1);
        QCOMPARE(m.getChargedCapacity(&d), 0);
        QVERIFY(d >= 0.0 && d <= 1200.0);
        char t[ChargerBase::kTextBufferSize];
        QCOMPARE(m.getStatusText(t), 0);
        QVERIFY2(QByteArrayList({"Waiting", "Charging", "Done"}).contains(QByteArray(t)), t);
        QVERIFY2(sim.process().state() == QProcess::Running, "the simulator ended");
    }
    int damaged = 0;
    QCOMPARE(m.getDamagedLineCount(&damaged), 0);
    QCOMPARE(damaged > 0, bad);
    QCOMPARE(m.linkState(), int(ChargerBase::LinkUp));
    QCOMPARE(m.close(), 0);
    QVERIFY(sim.stop());
#endif
}

namespace
{
// One digit of a line changed, as on a bad cable.
QByteArray damaged(QByteArray line, const char* from, const char* to)
{
    return line.replace(from, to);
}
} // namespace

void TestChargerManager::realLinesThroughTheSimulator()
{
#ifndef TARVELO_CHARGER_SIM
    QSKIP("the charger simulator is not built on this platform");
#else
    // Three lines of a real 208B, each followed by a copy with one digit changed, then a line
    // of a firmware that puts the time into its third field.
    const QByteArray real[] = {"$1;1;;12250;3874;93;0;0;0;0;0;0;0;0;291;236;0;20",
                               "$1;1;;12250;3877;89;0;0;0;0;0;0;0;0;291;236;1;29",
                               "$1;1;;12250;3877;90;0;0;0;0;0;0;0;0;291;236;2;22"};
    QByteArray script;
    script += real[0] + "\n" + damaged(real[0], "3874", "3974") + "\n";
    script += real[1] + "\n" + damaged(real[1], ";89;", ";99;") + "\n";
    script += real[2] + "\n" + damaged(real[2], "236;2;", "236;8;") + "\n";
    script += QByteArray::fromStdString(StatusLine::compose(
        {1, 12250, 3880, 90, 0, 0, 0, 0, 0, 0, 0, 0, 291, 236, 3}, "61.5"));
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("lines")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(script) == script.size());
    file.close();

    RuntimeDir runtime;
    Simulator sim({QStringLiteral("--model"), QStringLiteral("208B+"), QStringLiteral("--interval"),
                   QStringLiteral("0.05"), QStringLiteral("--play"), file.fileName()});
    ChargerManager m;
    CallbackCounter counter;
    m.setCallback(&CallbackCounter::callback, &counter);
    QVERIFY(openOnSimulator(m, sim.portName(), 1));
    QVERIFY(sim.waitForOutput(QStringLiteral("speed 128000")));

    // One call for the open port, one for each line: four good, three damaged.
    QTRY_COMPARE_WITH_TIMEOUT(counter.calls.load(), 8, 10000);
    int count = 0;
    QCOMPARE(m.getDamagedLineCount(&count), 0);
    QCOMPARE(count, 3);
    double d = 0.0;
    QCOMPARE(m.getClampVoltage(&d), 0);
    QCOMPARE(d, 3.88);
    QCOMPARE(m.getTemperature(&d, 1), 0);
    QCOMPARE(d, 23.6);
    m.setCallback(nullptr, nullptr);
    QCOMPARE(m.close(), 0);
#endif
}

void TestChargerManager::simulatorGoneLosesTheLink_data()
{
    QTest::addColumn<int>("how");
    QTest::addColumn<int>("status"); // when it goes
    QTest::newRow("killed: the port hangs up") << int(SIGKILL) << 1;
    QTest::newRow("stopped: the line falls silent") << int(SIGSTOP) << 1;
    QTest::newRow("stopped when done: the charger may stay silent") << int(SIGSTOP) << 6;
}

void TestChargerManager::simulatorGoneLosesTheLink()
{
#ifndef TARVELO_CHARGER_SIM
    QSKIP("the charger simulator is not built on this platform");
#else
    QFETCH(int, how);
    QFETCH(int, status);
    RuntimeDir runtime;
    Simulator sim({QStringLiteral("--interval"), QStringLiteral("0.1")});
    ChargerManager m;
    CallbackCounter counter;
    m.setCallback(&CallbackCounter::callback, &counter);
    QVERIFY(openOnSimulator(m, sim.portName(), 0));
    int now = 0;
    QTRY_VERIFY_WITH_TIMEOUT((m.getStatusCode(&now), now == status), 10000);
    QElapsedTimer gone;
    gone.start();
    QVERIFY(sim.signal(how));
    if (status == 6) {
        QTest::qWait(ICharger::kSilenceMs + 1000);
        QCOMPARE(m.linkState(), int(ChargerBase::LinkUp));
        QVERIFY(sim.signal(SIGCONT));
        return;
    }
    QTRY_VERIFY_WITH_TIMEOUT(m.linkState() == int(ChargerBase::LinkLost), 8000);
    if (how == SIGSTOP) {
        // Its last line may have been on its way when it stopped.
        QVERIFY2(gone.elapsed() >= ICharger::kSilenceMs - 200,
                 qPrintable(QString::number(gone.elapsed())));
        QVERIFY(sim.signal(SIGCONT));
        QTRY_VERIFY_WITH_TIMEOUT(m.linkState() == int(ChargerBase::LinkUp), 8000);
    }
    QCOMPARE(m.close(), 0);
#endif
}

QTEST_GUILESS_MAIN(TestChargerManager)
#include "tst_chargermanager.moc"
