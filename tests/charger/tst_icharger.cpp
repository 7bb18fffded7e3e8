// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The iCharger driver: opening and closing, the reader thread with a port fed by the test,
// and the real serial access on pseudo-terminals.

#include "chargertestsupport.h"

#include "charger/icharger.h"

#include <QFileInfo>
#include <QSerialPort>
#include <QTest>

#include <cstring>
#include <sys/syscall.h>

Q_DECLARE_METATYPE(std::string)

namespace
{
const std::string kMarkerLine =
    "$1;11;;12000;16800;250;4200;4200;4200;4200;4200;4200;253;251;999;0\r\n";

std::string line106(int status, int capacity, int cellMv = 4200)
{
    std::vector<int> fields = {status, 12000, 16800, 250};
    for (int i = 0; i < 6; ++i)
        fields.push_back(cellMv);
    fields.insert(fields.end(), {253, 251, capacity});
    return StatusLine::compose(fields);
}

bool threadExists(pid_t tid)
{
    return QFileInfo::exists(QStringLiteral("/proc/self/task/%1").arg(tid));
}

double value(ICharger& charger, int (ICharger::*getter)(double*))
{
    double v = -1.0;
    (charger.*getter)(&v);
    return v;
}

QByteArray statusText(ChargerBase& charger, int* result = nullptr)
{
    char text[ChargerBase::kTextBufferSize];
    std::memset(text, 'X', sizeof text);
    const int r = charger.getStatusText(text);
    if (result)
        *result = r;
    return QByteArray(text);
}

// A charger whose one port is fed by the test.
struct FedCharger {
    std::shared_ptr<Feed> feed = std::make_shared<Feed>();
    CallbackCounter counter;
    ICharger charger;

    FedCharger()
    {
        charger.setCallback(&CallbackCounter::callback, &counter);
        // A fixed speed: the search for one must not add calls of its own.
        charger.setLineSpeed(ICharger::kSlowBaud);
        std::shared_ptr<Feed> f = feed;
        charger.setPortFactory([f] { return std::make_unique<FeedPort>(f); });
        charger.setPortLister([](QVector<SSerInfo>* ports) {
            ports->append(listedPort(QStringLiteral("/dev/fed0"), QStringLiteral("fed0"),
                                     QStringLiteral("Fed port (fed0)")));
        });
        charger.enumeratePorts();
    }
};

// A charger on the slave side of a pseudo-terminal.
struct PtyCharger {
    PtyPair pty;
    CallbackCounter counter;
    ICharger charger;

    PtyCharger()
    {
        charger.setCallback(&CallbackCounter::callback, &counter);
        const QString path = pty.path();
        charger.setPortLister([path](QVector<SSerInfo>* ports) {
            ports->append(listedPort(path, path.mid(5), QString()));
        });
        charger.enumeratePorts();
    }
};
} // namespace

class TestICharger : public QObject
{
    Q_OBJECT

private slots:
    void openRejectsUnknownModel_data();
    void openRejectsUnknownModel();
    void openFailsWithoutPort_data();
    void openFailsWithoutPort();
    void openFailsWhenThePortRefuses();
    void readerDecodesStream_data();
    void readerDecodesStream();
    void gettersAfterOpenAndClose();
    void chargeComplete_data();
    void chargeComplete();
    void closeStopsTheReader();
    void destroyingAnOpenChargerLeavesNoThread();
    void vanishedPortDoesNotSpin();
    void replacedCallbackIsNoLongerCalled();
    void readingsStayWholeWhileLinesArrive();
    void subtypeAndPortQueries();
    void lineSpeedIsFound_data();
    void lineSpeedIsFound();

    void readsFromPseudoTerminal();
    void busyPortCannotBeOpened();
    void closeWhileTheReaderWaits();
    void hungUpTerminalDoesNotSpin();
    void portSettingsAreSetAndRestored();
};

void TestICharger::openRejectsUnknownModel_data()
{
    QTest::addColumn<int>("subtype");
    QTest::newRow("-1") << -1;
    QTest::newRow("3") << 3;
    QTest::newRow("255") << 255;
}

void TestICharger::openRejectsUnknownModel()
{
    QFETCH(int, subtype);
    FedCharger fed;
    QCOMPARE(fed.charger.open(subtype, 0), int(ChargerBase::ResultOutOfRange));
    QVERIFY(!fed.charger.isOpen());
    QCOMPARE(fed.feed->opens.load(), 0);
}

void TestICharger::openFailsWithoutPort_data()
{
    QTest::addColumn<int>("port");
    QTest::newRow("-1") << -1;
    QTest::newRow("beyond the list") << 1;
}

void TestICharger::openFailsWithoutPort()
{
    QFETCH(int, port);
    FedCharger fed;
    QCOMPARE(fed.charger.open(0, port), int(ChargerBase::ResultPortFailed));
    QVERIFY(!fed.charger.isOpen());
    QVERIFY(!fed.charger.isRunning());
    double v = -1.0;
    QCOMPARE(fed.charger.getInputVoltage(&v), int(ChargerBase::ResultNotOpen));
    QCOMPARE(v, 0.0);
}

void TestICharger::openFailsWhenThePortRefuses()
{
    FedCharger fed;
    fed.feed->refuseOpen = true;
    // The port opens in the background; the failure follows through the callback.
    QCOMPARE(fed.charger.open(0, 0), int(ChargerBase::ResultDone));
    QTRY_COMPARE(fed.counter.calls.load(), 1);
    QCOMPARE(fed.charger.linkState(), int(ChargerBase::LinkFailed));
    QTRY_VERIFY(!fed.charger.isRunning());
    QCOMPARE(fed.feed->liveReaders.load(), 0);
    QCOMPARE(fed.charger.close(), int(ChargerBase::ResultDone));
    QCOMPARE(fed.charger.linkState(), int(ChargerBase::LinkClosed));
}

void TestICharger::readerDecodesStream_data()
{
    QTest::addColumn<int>("subtype");
    QTest::addColumn<std::string>("stream");
    QTest::addColumn<int>("goodLines");
    QTest::addColumn<double>("lastCapacity"); // of the last good line before the marker
    QTest::addColumn<int>("damaged");

    const std::string good = line106(1, 100);
    std::string feedOnly = line106(1, 5);
    feedOnly.erase(feedOnly.size() - 2, 1);
    std::string changed = line106(1, 100);
    changed[changed.find("250")] = '3';
    QTest::newRow("one line") << 0 << good << 1 << 100.0 << 0;
    QTest::newRow("line feed only") << 0 << feedOnly << 1 << 5.0 << 0;
    QTest::newRow("garbage between")
        << 0 << good + "#&%garbage\x01\x7f\r\n" + line106(1, 200) << 2 << 200.0 << 0;
    QTest::newRow("first line starts in the middle")
        << 0 << std::string("4200;253;251;1234;0\r\n") + good << 1 << 100.0 << 0;
    QTest::newRow("a digit changed") << 0 << changed + line106(1, 300) << 1 << 300.0 << 1;
    QTest::newRow("cut off line swallows the next")
        << 0 << std::string("$1;1;;120") + line106(1, 300) + line106(1, 400) << 1 << 400.0 << 1;
    QTest::newRow("over-long line is dropped")
        << 0 << "$1;" + std::string(200, '9') + "\r\n" + good << 1 << 100.0 << 1;
    QTest::newRow("zero byte inside")
        << 0 << std::string("$1;1;;12000;16\0800;250\r\n", 24) << 0 << 0.0 << 1;
    QTest::newRow("208B+ lines") << 1
                                 << StatusLine::compose({1, 12000, 33600, 250, 4200, 4200, 4200,
                                                         4200, 4200, 4200, 4200, 4200, 253, 251,
                                                         321})
                                 << 1 << 321.0 << 0;
    // The cells on the line tell the model, whichever was chosen.
    QTest::newRow("106B+ line on a 208B+") << 1 << good << 1 << 100.0 << 0;
}

void TestICharger::readerDecodesStream()
{
    QFETCH(int, subtype);
    QFETCH(std::string, stream);
    QFETCH(int, goodLines);
    QFETCH(double, lastCapacity);

    FedCharger fed;
    QCOMPARE(fed.charger.open(subtype, 0), int(ChargerBase::ResultDone));
    QVERIFY(fed.charger.isRunning());
    QTRY_COMPARE(fed.counter.calls.load(), 1); // the port is open
    fed.feed->push(stream);
    QTRY_VERIFY(fed.feed->drained());
    // A last good line shows that everything before it has been read.
    std::vector<int> marker = {11, 12000, 16800, 250};
    marker.resize(4 + static_cast<size_t>(ICharger::kCellCounts[subtype + 1]), 4200);
    marker.insert(marker.end(), {253, 251, 999});
    if (goodLines > 0) {
        QTRY_COMPARE(value(fed.charger, &ICharger::getChargedCapacity), lastCapacity);
    }
    fed.feed->push(StatusLine::compose(marker));
    QTRY_COMPARE(value(fed.charger, &ICharger::getChargedCapacity), 999.0);
    int damaged = -1;
    QCOMPARE(fed.charger.getDamagedLineCount(&damaged), 0);
    QTEST(damaged, "damaged");
    // One call for the opened port, one for each good or damaged line; the last one may still
    // be on its way when the values it announces can already be read.
    QTRY_COMPARE(fed.counter.calls.load(), 1 + goodLines + damaged + 1);
    QCOMPARE(fed.charger.close(), int(ChargerBase::ResultDone));
    QCOMPARE(fed.charger.getDamagedLineCount(&damaged), int(ChargerBase::ResultNotOpen));
}

void TestICharger::gettersAfterOpenAndClose()
{
    FedCharger fed;
    ICharger& c = fed.charger;
    int result = -1;
    QCOMPARE(statusText(c, &result), QByteArray("Disconnected"));
    QCOMPARE(result, int(ChargerBase::ResultNotOpen));

    QCOMPARE(c.open(0, 0), int(ChargerBase::ResultDone));
    QVERIFY(c.isOpen());
    // Nothing read yet: all zero, status 0.
    QCOMPARE(value(c, &ICharger::getInputVoltage), 0.0);
    QCOMPARE(statusText(c, &result), QByteArray("Disconnected"));
    QCOMPARE(result, int(ChargerBase::ResultDone));

    fed.feed->push(exampleLine106());
    QTRY_COMPARE(fed.counter.calls.load(), 2);
    QCOMPARE(value(c, &ICharger::getInputVoltage), 12.0);
    QCOMPARE(value(c, &ICharger::getClampVoltage), 16.8);
    QCOMPARE(value(c, &ICharger::getChargeCurrent), 2.5);
    QCOMPARE(value(c, &ICharger::getChargedCapacity), 1234.0);
    int count = -1;
    QCOMPARE(c.getCellCount(&count), 0);
    QCOMPARE(count, 6);
    QCOMPARE(c.getTemperatureCount(&count), 0);
    QCOMPARE(count, 2);
    double v = -1.0;
    for (int cell = 0; cell < 6; ++cell) {
        QCOMPARE(c.getCellVoltage(&v, cell), 0);
        QCOMPARE(v, 4.2);
    }
    QCOMPARE(c.getCellVoltage(&v, 6), int(ChargerBase::ResultOutOfRange));
    QCOMPARE(v, 0.0);
    QCOMPARE(c.getCellVoltage(&v, -1), int(ChargerBase::ResultOutOfRange));
    QCOMPARE(c.getTemperature(&v, 0), 0);
    QCOMPARE(v, 25.3);
    QCOMPARE(c.getTemperature(&v, 1), 0);
    QCOMPARE(v, 25.1);
    QCOMPARE(c.getTemperature(&v, 2), int(ChargerBase::ResultOutOfRange));
    QCOMPARE(v, 0.0);
    QCOMPARE(statusText(c), QByteArray("Charging"));

    QCOMPARE(c.close(), int(ChargerBase::ResultDone));
    QVERIFY(!c.isOpen());
    QCOMPARE(c.close(), int(ChargerBase::ResultNotOpen));
    QCOMPARE(c.getChargedCapacity(&v), int(ChargerBase::ResultNotOpen));
    QCOMPARE(v, 0.0);
    QCOMPARE(c.getCellCount(&count), int(ChargerBase::ResultNotOpen));
    QCOMPARE(count, 0);
    QCOMPARE(c.getCellVoltage(&v, 0), int(ChargerBase::ResultNotOpen));
    QCOMPARE(statusText(c, &result), QByteArray("Disconnected"));
    QCOMPARE(result, int(ChargerBase::ResultNotOpen));

    // Opened again, the last values show until the first new line, with the cells they had.
    QCOMPARE(c.open(2, 0), int(ChargerBase::ResultDone));
    QCOMPARE(value(c, &ICharger::getChargedCapacity), 1234.0);
    QCOMPARE(c.getCellCount(&count), 0);
    QCOMPARE(count, 6);
    QCOMPARE(c.getCellVoltage(&v, 9), int(ChargerBase::ResultOutOfRange));
    QCOMPARE(c.close(), int(ChargerBase::ResultDone));
}

void TestICharger::chargeComplete_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<QByteArray>("text");
    const char* const texts[] = {"Disconnected", "Charging",     "Discharging", "Monitor",
                                 "Waiting",      "Test Motor",   "Done",        "Error",
                                 "LiXX trickle", "NiXX trickle", "Foam cut",    "Info",
                                 "ExDischaring"};
    for (int status = 0; status < 13; ++status) {
        QTest::addRow("%d", status)
            << status << (status == 6 || status == 8 || status == 9) << QByteArray(texts[status]);
    }
    QTest::newRow("13") << 13 << false << QByteArray("Unknown status 13");
    QTest::newRow("-2") << -2 << false << QByteArray("Unknown status -2");
}

void TestICharger::chargeComplete()
{
    QFETCH(int, status);
    FedCharger fed;
    QVERIFY(!fed.charger.isChargeComplete());
    QCOMPARE(fed.charger.open(0, 0), 0);
    fed.feed->push(line106(status, 500));
    QTRY_COMPARE(fed.counter.calls.load(), 2);
    QTEST(fed.charger.isChargeComplete(), "complete");
    QTEST(statusText(fed.charger), "text");
}

void TestICharger::closeStopsTheReader()
{
    FedCharger fed;
    for (int round = 1; round <= 3; ++round) {
        QCOMPARE(fed.charger.open(0, 0), 0);
        QVERIFY(fed.charger.isRunning());
        fed.feed->push(line106(1, round));
        QTRY_COMPARE(fed.counter.calls.load(), 2 * round);
        QCOMPARE(fed.charger.close(), 0);
        // Stopped and the port given back before close() returns, so it can be opened again
        // at once.
        QVERIFY(!fed.charger.isRunning());
        QCOMPARE(fed.feed->liveReaders.load(), 0);
        QCOMPARE(fed.feed->closes.load(), round);
    }
    QCOMPARE(fed.feed->opens.load(), 3);
}

void TestICharger::destroyingAnOpenChargerLeavesNoThread()
{
    auto feed = std::make_shared<Feed>();
    std::atomic<pid_t> readerThread{0};
    {
        ICharger charger;
        // The factory runs on the reader thread.
        charger.setPortFactory([feed, &readerThread] {
            readerThread = static_cast<pid_t>(syscall(SYS_gettid));
            return std::make_unique<FeedPort>(feed);
        });
        charger.setPortLister([](QVector<SSerInfo>* ports) {
            ports->append(listedPort(QStringLiteral("/dev/fed0"), QStringLiteral("fed0"),
                                     QStringLiteral("(fed0)")));
        });
        charger.enumeratePorts();
        QCOMPARE(charger.open(1, 0), 0);
        QTRY_VERIFY(readerThread.load() != 0);
        QVERIFY(threadExists(readerThread));
        QCOMPARE(feed->liveReaders.load(), 1);
    }
    QCOMPARE(feed->liveReaders.load(), 0);
    QCOMPARE(feed->closes.load(), 1);
    QTRY_VERIFY(!threadExists(readerThread));
}

void TestICharger::vanishedPortDoesNotSpin()
{
    FedCharger fed;
    QCOMPARE(fed.charger.open(0, 0), 0);
    fed.feed->push(line106(1, 10));
    QTRY_COMPARE(fed.counter.calls.load(), 2);
    fed.feed->setFailing(true);
    // Reported at once, and not tried again: reading on would only fail again.
    QTRY_COMPARE(fed.charger.linkState(), int(ChargerBase::LinkLost));
    QCOMPARE(fed.counter.calls.load(), 3);
    QTRY_VERIFY(!fed.charger.isRunning());
    QCOMPARE(fed.feed->failedReads.load(), 1);
    QCOMPARE(value(fed.charger, &ICharger::getChargedCapacity), 10.0);
    QCOMPARE(fed.charger.close(), 0);
}

void TestICharger::replacedCallbackIsNoLongerCalled()
{
    FedCharger fed;
    QCOMPARE(fed.charger.open(0, 0), 0);
    fed.feed->push(line106(1, 1));
    QTRY_COMPARE(fed.counter.calls.load(), 2);
    CallbackCounter other;
    fed.charger.setCallback(&CallbackCounter::callback, &other);
    fed.feed->push(line106(1, 2) + line106(1, 3));
    QTRY_COMPARE(other.calls.load(), 2);
    QCOMPARE(fed.counter.calls.load(), 2);
    fed.charger.setCallback(nullptr, nullptr);
    fed.feed->push(line106(1, 4));
    QTRY_COMPARE(value(fed.charger, &ICharger::getChargedCapacity), 4.0);
    QCOMPARE(other.calls.load(), 2);
}

void TestICharger::readingsStayWholeWhileLinesArrive()
{
    // Two kinds of line alternate; every reading must belong to one of them.
    FedCharger fed;
    QCOMPARE(fed.charger.open(0, 0), 0);
    std::string stream;
    const int lines = 400;
    for (int i = 0; i < lines; ++i)
        stream += i % 2 == 0 ? line106(1, 1111, 3000) : line106(6, 2222, 4000);
    fed.feed->push(stream);
    int readings = 0;
    while (fed.counter.calls.load() < lines + 1) {
        double capacity = 0.0, cell = 0.0;
        QCOMPARE(fed.charger.getChargedCapacity(&capacity), 0);
        QCOMPARE(fed.charger.getCellVoltage(&cell, 5), 0);
        QVERIFY(capacity == 0.0 || capacity == 1111.0 || capacity == 2222.0);
        QVERIFY(cell == 0.0 || cell == 3.0 || cell == 4.0);
        statusText(fed.charger);
        ++readings;
        QVERIFY2(readings < 10000000, "the reader stalled");
    }
    QCOMPARE(value(fed.charger, &ICharger::getChargedCapacity), 2222.0);
}

void TestICharger::subtypeAndPortQueries()
{
    ICharger c;
    int count = -1;
    QCOMPARE(c.getSubtypeCount(&count), 0);
    QCOMPARE(count, 3);
    char text[ChargerBase::kTextBufferSize];
    const char* const names[] = {"106B+", "208B+", "1010B+"};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(c.getSubtypeName(i, text), 0);
        QCOMPARE(QByteArray(text), QByteArray(names[i]));
    }
    std::strcpy(text, "old");
    QCOMPARE(c.getSubtypeName(3, text), int(ChargerBase::ResultOutOfRange));
    QCOMPARE(QByteArray(text), QByteArray());
    QCOMPARE(c.getSubtypeName(-1, text), int(ChargerBase::ResultOutOfRange));

    // Port names come from the friendly names; a long one is cut to fit the buffer.
    const QString longName = QStringLiteral("Port") + QString(200, QChar(0x00E9));
    c.setPortLister([&](QVector<SSerInfo>* ports) {
        ports->append(listedPort(QStringLiteral("/dev/a"), QString(),
                                 QStringLiteral("USB Serial Port (COM3)")));
        ports->append(listedPort(QStringLiteral("/dev/b"), QString(), QStringLiteral("ttyS0")));
        ports->append(listedPort(QStringLiteral("/dev/c"), QString(),
                                 QStringLiteral("X (") + longName + QLatin1Char(')')));
    });
    c.enumeratePorts();
    QCOMPARE(c.getPortCount(&count), 0);
    QCOMPARE(count, 3);
    QCOMPARE(c.getPortName(0, text), 0);
    QCOMPARE(QByteArray(text), QByteArray("COM3"));
    QCOMPARE(c.getPortName(1, text), 0); // without a description: its system name
    QCOMPARE(QByteArray(text), QByteArray("ttyS0"));
    QCOMPARE(c.getPortName(2, text), 0);
    // "Port" and 47 two-byte signs: the 48th would not fit whole.
    QCOMPARE(QString::fromUtf8(text), QStringLiteral("Port") + QString(47, QChar(0x00E9)));
    QCOMPARE(c.getPortName(3, text), int(ChargerBase::ResultOutOfRange));
    QCOMPARE(c.getPortName(-1, text), int(ChargerBase::ResultOutOfRange));
}

void TestICharger::lineSpeedIsFound_data()
{
    QTest::addColumn<int>("fixed"); // setLineSpeed
    QTest::addColumn<int>("first"); // setFirstLineSpeed
    QTest::addColumn<int>("opensAt");
    QTest::addColumn<int>("state"); // once lines arrive
    // A 106B+ whose firmware sends at 128 000 baud.
    QTest::newRow("found") << 0 << 0 << 9600 << int(ChargerBase::SpeedFound);
    QTest::newRow("found before") << 0 << 128000 << 128000 << int(ChargerBase::SpeedFound);
    QTest::newRow("fixed") << 128000 << 9600 << 128000 << int(ChargerBase::SpeedFixed);
}

void TestICharger::lineSpeedIsFound()
{
    QFETCH(int, fixed);
    QFETCH(int, first);
    FedCharger fed;
    fed.feed->sendsAt = ICharger::kFastBaud;
    fed.charger.setLineSpeed(fixed);
    fed.charger.setFirstLineSpeed(first);
    QCOMPARE(fed.charger.open(0, 0), 0);
    int baud = 0;
    int state = -1;
    QCOMPARE(fed.charger.getLineSpeed(&baud, &state), 0);
    QTEST(baud, "opensAt");
    QCOMPARE(state, fixed ? int(ChargerBase::SpeedFixed) : int(ChargerBase::SpeedSearching));

    // The charger sends a line a second; bounds are generous for loaded machines.
    QElapsedTimer timer;
    timer.start();
    while (value(fed.charger, &ICharger::getChargedCapacity) != 1234.0 && timer.elapsed() < 8000) {
        fed.feed->push(exampleLine106());
        QTest::qWait(100);
    }
    QCOMPARE(value(fed.charger, &ICharger::getChargedCapacity), 1234.0);
    QCOMPARE(fed.charger.getLineSpeed(&baud, &state), 0);
    QCOMPARE(baud, int(ICharger::kFastBaud));
    QTEST(state, "state");
    QCOMPARE(fed.feed->baud.load(), int(ICharger::kFastBaud));
    QCOMPARE(fed.charger.linkState(), int(ChargerBase::LinkUp));
    QCOMPARE(fed.charger.close(), 0);
}

void TestICharger::readsFromPseudoTerminal()
{
    PtyCharger p;
    QVERIFY(p.pty.valid());
    QCOMPARE(p.charger.open(2, 0), 0);
    QTRY_COMPARE(p.charger.linkState(), int(ChargerBase::LinkUp));
    p.pty.closeSlave();
    const std::string line =
        StatusLine::compose({6, 24000, 42000, 1000, 4201, 4202, 4203, 4204, 4205, 4206, 4207, 4208,
                             4209, 4210, -15, 300, 4321});
    QVERIFY(p.pty.write(line + line));
    QTRY_COMPARE(p.counter.calls.load(), 3);
    double v = 0.0;
    QCOMPARE(p.charger.getCellVoltage(&v, 9), 0);
    QCOMPARE(v, 4.21);
    QCOMPARE(p.charger.getTemperature(&v, 0), 0);
    QCOMPARE(v, -1.5);
    QCOMPARE(value(p.charger, &ICharger::getChargedCapacity), 4321.0);
    QVERIFY(p.charger.isChargeComplete());

    // Closed and opened again at once on the same terminal.
    QCOMPARE(p.charger.close(), 0);
    QCOMPARE(p.charger.open(2, 0), 0);
    QTRY_COMPARE(p.charger.linkState(), int(ChargerBase::LinkUp));
    QVERIFY(p.pty.write(
        StatusLine::compose({1, 24000, 42000, 1000, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, -15, 300, 5})));
    QTRY_COMPARE(value(p.charger, &ICharger::getChargedCapacity), 5.0);
    QCOMPARE(p.charger.close(), 0);
}

void TestICharger::busyPortCannotBeOpened()
{
    PtyCharger p;
    QVERIFY(p.pty.valid());
    {
        QSerialPort other;
        other.setPortName(p.pty.path());
        QVERIFY(other.open(QIODevice::ReadOnly));
        QCOMPARE(p.charger.open(0, 0), 0);
        QTRY_COMPARE(p.charger.linkState(), int(ChargerBase::LinkFailed));
        QCOMPARE(p.charger.openFailure(), int(ChargerBase::OpenBusy));
        QTRY_VERIFY(!p.charger.isRunning());
        QCOMPARE(p.charger.close(), 0);
    }
    // This program's own charger holds it as well.
    QCOMPARE(p.charger.open(0, 0), 0);
    QTRY_COMPARE(p.charger.linkState(), int(ChargerBase::LinkUp));
    QTRY_COMPARE(p.charger.linkState(), int(ChargerBase::LinkUp));
    ICharger second;
    const QString path = p.pty.path();
    second.setPortLister([path](QVector<SSerInfo>* ports) {
        ports->append(listedPort(path, QString(), QStringLiteral("(x)")));
    });
    second.enumeratePorts();
    QCOMPARE(second.open(0, 0), 0);
    QTRY_COMPARE(second.linkState(), int(ChargerBase::LinkFailed));
    QCOMPARE(p.charger.close(), 0);
    QCOMPARE(second.open(0, 0), 0);
    QTRY_COMPARE(second.linkState(), int(ChargerBase::LinkUp));
}

void TestICharger::closeWhileTheReaderWaits()
{
    PtyCharger p;
    QCOMPARE(p.charger.open(0, 0), 0);
    QTRY_COMPARE(p.charger.linkState(), int(ChargerBase::LinkUp));
    // Half a line: the reader waits for the rest.
    QVERIFY(p.pty.write("$1;1;;12000;"));
    QCOMPARE(p.charger.close(), 0);
    QVERIFY(!p.charger.isRunning());
    QVERIFY(p.counter.calls.load() <= 1); // the port opened, no line
}

void TestICharger::hungUpTerminalDoesNotSpin()
{
    PtyCharger p;
    QCOMPARE(p.charger.open(0, 0), 0);
    QTRY_COMPARE(p.charger.linkState(), int(ChargerBase::LinkUp));
    p.pty.closeSlave();
    QVERIFY(p.pty.write(exampleLine106()));
    QTRY_COMPARE(p.counter.calls.load(), 2);
    p.pty.closeMaster(); // the cable is pulled
    QTRY_COMPARE(p.charger.linkState(), int(ChargerBase::LinkLost));
    QTest::qWait(200);
    const qint64 cpuBefore = processCpuMs();
    QTest::qWait(1000);
    const qint64 used = processCpuMs() - cpuBefore;
    QVERIFY2(used < 300, qPrintable(QStringLiteral("%1 ms CPU in a second").arg(used)));
    QCOMPARE(value(p.charger, &ICharger::getChargedCapacity), 1234.0);
    QCOMPARE(p.charger.close(), 0);
    QVERIFY(!p.charger.isRunning());
}

void TestICharger::portSettingsAreSetAndRestored()
{
    PtyCharger p;
    const int fd = p.pty.slave();
    struct termios before;
    QCOMPARE(tcgetattr(fd, &before), 0);
    before.c_cflag =
        (before.c_cflag & ~(CSIZE | CSTOPB | PARENB)) | CS7 | PARENB | CSTOPB | CRTSCTS;
    cfsetispeed(&before, B19200);
    cfsetospeed(&before, B19200);
    QCOMPARE(tcsetattr(fd, TCSANOW, &before), 0);
    QCOMPARE(tcgetattr(fd, &before), 0);

    QCOMPARE(p.charger.open(0, 0), 0);

    QTRY_COMPARE(p.charger.linkState(), int(ChargerBase::LinkUp));
    struct termios during;
    QCOMPARE(tcgetattr(fd, &during), 0);
    QCOMPARE(int(cfgetispeed(&during)), int(B9600));
    QCOMPARE(int(during.c_cflag & CSIZE), int(CS8));
    QCOMPARE(int(during.c_cflag & PARENB), 0);
    QCOMPARE(int(during.c_cflag & CSTOPB), 0);
    QVERIFY(during.c_cflag & CRTSCTS); // flow control as it was

    QCOMPARE(p.charger.close(), 0);
    struct termios after;
    QCOMPARE(tcgetattr(fd, &after), 0);
    QCOMPARE(int(cfgetispeed(&after)), int(B19200));
    QCOMPARE(after.c_cflag, before.c_cflag);
    QCOMPARE(after.c_iflag, before.c_iflag);
    QCOMPARE(after.c_oflag, before.c_oflag);
    QCOMPARE(after.c_lflag, before.c_lflag);
    QVERIFY(std::memcmp(after.c_cc, before.c_cc, sizeof after.c_cc) == 0);
}

QTEST_GUILESS_MAIN(TestICharger)
#include "tst_icharger.moc"
