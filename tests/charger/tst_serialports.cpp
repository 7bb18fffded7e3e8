// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// Listing the serial ports: the records, their names, the stable names, a port in use left
// alone, and the simulator's announcement of its pseudo-terminal.

#include "chargertestsupport.h"

#include "charger/icharger.h"
#include "charger/listserialports.h"
#include "charger/portadvice.h"
#include "charger/portlist.h"
#include "charger/serialenumerror.h"
#include "charger/simulatorports.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/inotify.h>
#include <sys/ioctl.h>

namespace
{
const SSerInfo* findPort(const QVector<SSerInfo>& ports, const QString& devicePath)
{
    for (const SSerInfo& info : ports) {
        if (info.devicePath == devicePath)
            return &info;
    }
    return nullptr;
}

QVector<SSerInfo> listed()
{
    QVector<SSerInfo> ports;
    listSerialPorts(&ports);
    return ports;
}

qint64 deadPid()
{
    QProcess child;
    child.start(QStringLiteral("true"), QStringList());
    if (!child.waitForStarted(10000))
        return -1;
    const qint64 pid = child.processId();
    child.waitForFinished(10000);
    return pid;
}

void writeAnnouncement(qint64 pid, const QString& device)
{
    QDir().mkpath(SimulatorPorts::directory());
    QFile file(SimulatorPorts::directory() + QLatin1Char('/') + QString::number(pid));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(device.toUtf8() + '\n');
}
} // namespace

class TestSerialPorts : public QObject
{
    Q_OBJECT

private slots:
    void records_data();
    void records();
    void displayNames_data();
    void displayNames();
    void descriptions_data();
    void descriptions();
    void stableNames();
    void portListBoundaries();
    void announcedPortIsListed();
    void staleAnnouncementsAreIgnored();
    void unreadableAnnouncementsRaise();
    void simulatorAnnouncesUntilItEnds_data();
    void simulatorAnnouncesUntilItEnds();
    void portHeldElsewhereIsListedUndisturbed();
    void brlttyTookTheBridge_data();
    void brlttyTookTheBridge();
};

void TestSerialPorts::records_data()
{
    QTest::addColumn<QString>("portName");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("friendlyName");
    QTest::addColumn<QString>("name");
    QTest::newRow("Windows USB adapter") << "COM3"
                                         << "USB Serial Port"
                                         << "USB Serial Port (COM3)"
                                         << "COM3";
    QTest::newRow("Linux USB adapter") << "ttyUSB0"
                                       << "CP2102 USB to UART"
                                       << "CP2102 USB to UART (ttyUSB0)"
                                       << "ttyUSB0";
    QTest::newRow("no description") << "ttyS0"
                                    << ""
                                    << "ttyS0"
                                    << "ttyS0";
    QTest::newRow("simulator") << "pts/3"
                               << "Charger simulator"
                               << "Charger simulator (pts/3)"
                               << "pts/3";
}

void TestSerialPorts::records()
{
    QFETCH(QString, portName);
    QFETCH(QString, description);
    QVector<SSerInfo> ports = {
        makeSerialInfo(QStringLiteral("/dev/") + portName, portName, description, true)};
    finishSerialPorts(&ports);
    QCOMPARE(ports.size(), 1);
    QCOMPARE(ports[0].devicePath, QStringLiteral("/dev/") + portName);
    QCOMPARE(ports[0].portName, portName);
    QTEST(ports[0].friendlyName, "friendlyName");
    QVERIFY(ports[0].isUsbDevice);
    QCOMPARE(ports[0].portDescription, description.isEmpty() ? portName : description);
    PortList list;
    list.append(ports);
    QTEST(list.name(0), "name");
    QCOMPARE(list.path(0), QStringLiteral("/dev/") + portName);
    QCOMPARE(list.find(portName), 0);
}

void TestSerialPorts::displayNames_data()
{
    QTest::addColumn<QString>("friendlyName");
    QTest::addColumn<QString>("displayName");
    QTest::newRow("communications port") << "Communications Port (COM1)"
                                         << "COM1";
    QTest::newRow("between the first two parentheses") << "Bluetooth (A) Link (COM7)"
                                                       << "A) Link";
    QTest::newRow("no parenthesis") << "COM3"
                                    << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("unclosed") << "Port (COM12"
                              << "COM1";
    QTest::newRow("parenthesis only") << "("
                                      << "";
}

void TestSerialPorts::displayNames()
{
    QFETCH(QString, friendlyName);
    QTEST(PortList::displayName(friendlyName), "displayName");
}

void TestSerialPorts::descriptions_data()
{
    QTest::addColumn<QString>("friendlyName");
    QTest::addColumn<QString>("description");
    QTest::newRow("trailing port name is cut") << "USB Serial Port (COM3)"
                                               << "USB Serial Port";
    QTest::newRow("parenthesis at the start stays") << "(COM3)"
                                                    << "(COM3)";
    QTest::newRow("text after the parenthesis stays") << "A (B) C"
                                                      << "A (B) C";
    QTest::newRow("first closing parenthesis must be last") << "Bluetooth (A) Link (COM7)"
                                                            << "Bluetooth (A) Link (COM7)";
    QTest::newRow("no parenthesis") << "COM4"
                                    << "COM4";
}

void TestSerialPorts::descriptions()
{
    QFETCH(QString, friendlyName);
    QVector<SSerInfo> ports = {
        listedPort(QStringLiteral("/dev/x"), QStringLiteral("x"), friendlyName)};
    finishSerialPorts(&ports);
    QTEST(ports[0].portDescription, "description");
    QCOMPARE(ports[0].friendlyName, friendlyName);

    // An empty friendly name becomes the port name.
    QVector<SSerInfo> bare = {
        listedPort(QStringLiteral("/dev/y"), QStringLiteral("COM9"), QString())};
    finishSerialPorts(&bare);
    QCOMPARE(bare[0].friendlyName, QStringLiteral("COM9"));
    QCOMPARE(bare[0].portDescription, QStringLiteral("COM9"));
}

void TestSerialPorts::stableNames()
{
    PtyPair pty;
    QVERIFY(pty.valid());
    QTemporaryDir byId;
    const QString link = byId.filePath(QStringLiteral("usb-Silicon_Labs_CP2102_0001-if00-port0"));
    QVERIFY(QFile::link(pty.path(), link));
    QVERIFY(
        QFile::link(QStringLiteral("/dev/no-such-device"), byId.filePath(QStringLiteral("gone"))));
    QVector<SSerInfo> ports = {
        makeSerialInfo(pty.path(), pty.portName(), QString(), true),
        makeSerialInfo(QStringLiteral("/dev/null"), QStringLiteral("null"), QString(), false)};
    finishSerialPorts(&ports, byId.path());
    QCOMPARE(ports[0].stableName, link);
    QCOMPARE(ports[1].stableName, QString());

    // The port is saved by its stable name and found by it, and by the names older versions
    // saved.
    PortList list;
    list.append(ports);
    QCOMPARE(list.name(0), link);
    QCOMPARE(list.name(1), QStringLiteral("null"));
    for (const QString& saved : {link, pty.portName(), pty.path()})
        QCOMPARE(list.find(saved), 0);
    QCOMPARE(list.find(QStringLiteral("ttyUSB7")), -1);
    QCOMPARE(list.find(QString()), -1);
}

void TestSerialPorts::portListBoundaries()
{
    PortList list;
    QCOMPARE(list.count(), 0);
    QCOMPARE(list.path(0), QString());
    list.append(
        {makeSerialInfo(QStringLiteral("/dev/p0"), QStringLiteral("p0"), QStringLiteral("P"),
                        false),
         makeSerialInfo(QStringLiteral("/dev/p1"), QStringLiteral("p1"), QString(), false)});
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.name(0), QStringLiteral("p0"));
    QCOMPARE(list.name(1), QStringLiteral("p1")); // no description: its system name
    QCOMPARE(list.path(1), QStringLiteral("/dev/p1"));
    QCOMPARE(list.path(2), QString());
    QCOMPARE(list.path(-1), QString());
    list.clear();
    QCOMPARE(list.count(), 0);
    QCOMPARE(list.path(0), QString());
}

void TestSerialPorts::announcedPortIsListed()
{
    RuntimeDir runtime;
    PtyPair pty;
    QVERIFY(pty.valid());
    QVERIFY(!findPort(listed(), pty.path()));
    QVERIFY(SimulatorPorts::announce(pty.path()));
    QVERIFY(SimulatorPorts::directory().startsWith(runtime.path()));

    const QVector<SSerInfo> ports = listed();
    const SSerInfo* found = findPort(ports, pty.path());
    QVERIFY(found);
    QCOMPARE(found->portName, pty.portName());
    QCOMPARE(found->friendlyName, QStringLiteral("Charger simulator (%1)").arg(pty.portName()));
    QCOMPARE(found->portDescription, QStringLiteral("Charger simulator"));
    QVERIFY(!found->isUsbDevice);

    // The charger offers it by its short name.
    ICharger charger;
    charger.enumeratePorts();
    int index = -1;
    for (int i = 0; i < charger.portList().count(); ++i) {
        if (charger.portList().name(i) == pty.portName())
            index = i;
    }
    QVERIFY(index >= 0);
    QCOMPARE(charger.portList().path(index), pty.path());

    SimulatorPorts::withdraw();
    QVERIFY(!findPort(listed(), pty.path()));
}

void TestSerialPorts::staleAnnouncementsAreIgnored()
{
    RuntimeDir runtime;
    PtyPair pty;
    QVERIFY(pty.valid());
    writeAnnouncement(deadPid(), pty.path());
    writeAnnouncement(QCoreApplication::applicationPid(), QStringLiteral("/dev/pts/99999"));
    QFile junk(SimulatorPorts::directory() + QStringLiteral("/notapid"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write(pty.path().toUtf8());
    junk.close();
    QString error;
    QVERIFY(SimulatorPorts::list(&error).isEmpty());
    QVERIFY(error.isEmpty());
    QVERIFY(!findPort(listed(), pty.path()));
}

void TestSerialPorts::unreadableAnnouncementsRaise()
{
    RuntimeDir runtime;
    const auto machinePorts = static_cast<int>(listed().size());
    // The announcement folder's name taken by a file.
    QFile blocker(SimulatorPorts::directory());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVector<SSerInfo> ports;
    try {
        listSerialPorts(&ports);
        QFAIL("no SerialEnumError");
    } catch (const SerialEnumError& error) {
        QVERIFY(error.message().contains(SimulatorPorts::directory()));
    }
    // The charger keeps what it found and carries on.
    ICharger charger;
    charger.enumeratePorts();
    QCOMPARE(charger.portList().count(), machinePorts);
}

void TestSerialPorts::simulatorAnnouncesUntilItEnds_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TestSerialPorts::simulatorAnnouncesUntilItEnds()
{
#ifndef TARVELO_CHARGER_SIM
    QSKIP("the charger simulator is not built on this platform");
#else
    QFETCH(int, signalNumber);
    RuntimeDir runtime;
    Simulator sim({QStringLiteral("--interval"), QStringLiteral("5")});
    QVERIFY(sim.path().startsWith(QStringLiteral("/dev/pts/")));
    const QString file =
        SimulatorPorts::directory() + QLatin1Char('/') + QString::number(sim.pid());
    QTRY_VERIFY(QFile::exists(file));
    const SSerInfo* found = nullptr;
    const QVector<SSerInfo> ports = listed();
    found = findPort(ports, sim.path());
    QVERIFY(found);
    QCOMPARE(found->friendlyName, QStringLiteral("Charger simulator (%1)").arg(sim.portName()));

    // It ends on the signal at once, in spite of its long interval, and withdraws.
    QVERIFY(sim.signal(signalNumber));
    QVERIFY(sim.process().waitForFinished(10000));
    QCOMPARE(sim.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.process().exitCode(), 0);
    QVERIFY(!QFile::exists(file));
    QVERIFY(!findPort(listed(), sim.path()));
#endif
}

void TestSerialPorts::portHeldElsewhereIsListedUndisturbed()
{
    RuntimeDir runtime;
    PtyPair pty;
    QVERIFY(pty.valid());
    // Another program holds the port exclusively, as terminal programs do.
    QCOMPARE(ioctl(pty.slave(), TIOCEXCL), 0);
    struct termios before;
    QCOMPARE(tcgetattr(pty.slave(), &before), 0);
    QVERIFY(SimulatorPorts::announce(pty.path()));
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    QVERIFY(watch >= 0);
    QVERIFY(inotify_add_watch(watch, pty.path().toLocal8Bit().constData(), IN_OPEN) >= 0);

    ChargerManager m;
    m.enumeratePorts();
    m.enumeratePorts();
    QVERIFY(m.findClassPort(0, pty.portName()) >= 0);

    char event[sizeof(struct inotify_event) + 256];
    QCOMPARE(read(watch, event, sizeof event), ssize_t(-1)); // nobody opened it
    ::close(watch);
    struct termios after;
    QCOMPARE(tcgetattr(pty.slave(), &after), 0);
    QCOMPARE(after.c_cflag, before.c_cflag);
    QCOMPARE(cfgetispeed(&after), cfgetispeed(&before));
    SimulatorPorts::withdraw();
}

void TestSerialPorts::brlttyTookTheBridge_data()
{
    QTest::addColumn<QString>("ids");     // of the plugged-in USB device
    QTest::addColumn<QString>("tty");     // the port its driver made, if any
    QTest::addColumn<QString>("process"); // running
    QTest::addColumn<bool>("advised");
    QTest::newRow("taken by brltty") << "10c4 ea60"
                                     << ""
                                     << "brltty" << true;
    QTest::newRow("has its port") << "10c4 ea60"
                                  << "ttyUSB0"
                                  << "brltty" << false;
    QTest::newRow("no brltty") << "10c4 ea60"
                               << ""
                               << "bash" << false;
    QTest::newRow("another bridge") << "0403 6001"
                                    << ""
                                    << "brltty" << false;
}

void TestSerialPorts::brlttyTookTheBridge()
{
    QFETCH(QString, ids);
    QFETCH(QString, tty);
    QFETCH(QString, process);
    QFETCH(bool, advised);
    // The parts of sysfs and /proc that tell.
    QTemporaryDir root;
    const QString device = root.filePath(QStringLiteral("usb/1-1"));
    QVERIFY(QDir().mkpath(device + QStringLiteral("/1-1:1.0/") + tty));
    QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("proc/412"))));
    const QStringList id = ids.split(QLatin1Char(' '));
    const QList<QPair<QString, QString>> files = {
        {device + QStringLiteral("/idVendor"), id[0]},
        {device + QStringLiteral("/idProduct"), id[1]},
        {root.filePath(QStringLiteral("proc/412/comm")), process}};
    for (const auto& [path, text] : files) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text.toLatin1() + '\n');
    }
    const QString advice = PortAdvice::brlttyAdvice(root.filePath(QStringLiteral("usb")),
                                                    root.filePath(QStringLiteral("proc")));
    QCOMPARE(advice.contains(QStringLiteral("brltty")), advised);
}

QTEST_GUILESS_MAIN(TestSerialPorts)
#include "tst_serialports.moc"
