// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_CHARGERTESTSUPPORT_H
#define TARVELO_CHARGERTESTSUPPORT_H

// Shared pieces of the charger tests: a port fed by the test, pseudo-terminals, a callback
// counter, a private runtime folder and the simulator as a child process.

#include "charger/chargermanager.h"
#include "charger/chargerport.h"
#include "charger/icharger.h"
#include "charger/statusline.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <condition_variable>
#include <csignal>
#include <memory>
#include <mutex>
#include <string>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

// Bytes the test hands to a FeedPort; shared between the test and the reader thread.
struct Feed {
    std::mutex mutex;
    std::condition_variable changed;
    std::string bytes;
    bool failing = false;
    bool refuseOpen = false;
    ChargerBase::OpenFailure refusal = ChargerBase::OpenFailed; // why, when refused
    int sendsAt = 0;          // the speed the bytes are sent at; 0: whatever the port is set to
    std::atomic<int> baud{0}; // the speed the port is set to
    bool holdOpen = false; // open() waits until this is cleared, as a hanging device would
    std::atomic<int> opens{0};
    std::atomic<int> closes{0};
    std::atomic<int> failedReads{0};
    std::atomic<int> liveReaders{0}; // FeedPorts in existence

    void push(const std::string& data)
    {
        std::lock_guard<std::mutex> lock(mutex);
        bytes += data;
        changed.notify_all();
    }
    void setFailing(bool fail)
    {
        std::lock_guard<std::mutex> lock(mutex);
        failing = fail;
        changed.notify_all();
    }
    void setHoldOpen(bool hold)
    {
        std::lock_guard<std::mutex> lock(mutex);
        holdOpen = hold;
        changed.notify_all();
    }
    bool drained()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return bytes.empty();
    }
};

class FeedPort : public ChargerPort
{
public:
    explicit FeedPort(std::shared_ptr<Feed> feed) : m_feed(std::move(feed))
    {
        ++m_feed->liveReaders;
    }
    ~FeedPort() override { --m_feed->liveReaders; }

    ChargerBase::OpenFailure open(const QString&, int baudRate) override
    {
        std::unique_lock<std::mutex> lock(m_feed->mutex);
        m_feed->changed.wait(lock, [this] { return !m_feed->holdOpen; });
        if (m_feed->refuseOpen)
            return m_feed->refusal;
        m_feed->baud = baudRate;
        ++m_feed->opens;
        return ChargerBase::OpenOk;
    }
    bool setBaudRate(int baudRate) override
    {
        m_feed->baud = baudRate;
        return true;
    }
    ReadResult readByte(char* byte, int timeoutMs) override
    {
        std::unique_lock<std::mutex> lock(m_feed->mutex);
        m_feed->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                 [this] { return m_feed->failing || !m_feed->bytes.empty(); });
        if (m_feed->failing) {
            ++m_feed->failedReads;
            return ReadFailed;
        }
        if (m_feed->bytes.empty())
            return ReadTimeout;
        *byte = m_feed->bytes[0];
        m_feed->bytes.erase(0, 1);
        // At another speed than the sender's every byte comes out wrong.
        if (m_feed->sendsAt != 0 && m_feed->sendsAt != m_feed->baud)
            *byte = static_cast<char>(*byte | 0x80);
        return ReadByte;
    }
    void close() override { ++m_feed->closes; }

private:
    std::shared_ptr<Feed> m_feed;
};

// A port as a lister hands it over.
inline SSerInfo listedPort(const QString& devicePath, const QString& portName,
                           const QString& friendlyName)
{
    SSerInfo info;
    info.devicePath = devicePath;
    info.portName = portName;
    info.friendlyName = friendlyName;
    return info;
}

// Counts the charger's callbacks; the reader thread calls it.
struct CallbackCounter {
    std::atomic<int> calls{0};
    static void callback(void* context) { ++static_cast<CallbackCounter*>(context)->calls; }
};

// A pseudo-terminal whose master side the test writes to.
class PtyPair
{
public:
    PtyPair()
    {
        char name[256] = {};
        if (openpty(&m_master, &m_slave, name, nullptr, nullptr) == 0) {
            m_path = QString::fromLocal8Bit(name);
            struct termios settings;
            tcgetattr(m_slave, &settings);
            cfmakeraw(&settings);
            tcsetattr(m_slave, TCSANOW, &settings);
        }
    }
    ~PtyPair()
    {
        closeMaster();
        closeSlave();
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool valid() const { return !m_path.isEmpty(); }
    const QString& path() const { return m_path; }
    // "pts/3" for /dev/pts/3
    QString portName() const { return m_path.mid(5); }
    int slave() const { return m_slave; }
    bool write(const std::string& data)
    {
        return ::write(m_master, data.data(), data.size()) == static_cast<ssize_t>(data.size());
    }
    void closeMaster()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }
    // The test's own slave descriptor keeps the line configured until the port is opened.
    void closeSlave()
    {
        if (m_slave >= 0)
            ::close(m_slave);
        m_slave = -1;
    }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
};

// A private runtime folder, so that simulator announcements stay inside the test.
class RuntimeDir
{
public:
    RuntimeDir()
    {
        m_old = qgetenv("XDG_RUNTIME_DIR");
        m_hadOld = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", m_dir.path().toLocal8Bit());
    }
    ~RuntimeDir()
    {
        if (m_hadOld)
            qputenv("XDG_RUNTIME_DIR", m_old);
        else
            qunsetenv("XDG_RUNTIME_DIR");
    }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_old;
    bool m_hadOld = false;
};

// CPU time the whole process has used, in milliseconds.
inline qint64 processCpuMs()
{
    struct timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<qint64>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// The 106B+ example line: status 1, 12 V in, 16.8 V clamp, 2.5 A, six cells of 4.2 V,
// 25.3 °C and 25.1 °C, 1234 mAh, and its checksum.
inline std::string exampleLine106()
{
    return StatusLine::compose({1, 12000, 16800, 250, 4200, 4200, 4200, 4200, 4200, 4200, 253,
                                251, 1234});
}

// A charger manager whose iCharger reads from a feed, on one of two fed ports.
struct FedManager {
    std::shared_ptr<Feed> feed = std::make_shared<Feed>();
    CallbackCounter counter;
    std::unique_ptr<ChargerManager> manager = std::make_unique<ChargerManager>();
    std::atomic<int> listings{0};

    FedManager()
    {
        auto* charger = dynamic_cast<ICharger*>(manager->charger(0));
        std::shared_ptr<Feed> f = feed;
        charger->setPortFactory([f] { return std::make_unique<FeedPort>(f); });
        charger->setPortLister([this](QVector<SSerInfo>* ports) {
            ++listings;
            ports->append(
                listedPort(QStringLiteral("/dev/fed0"), QString(), QStringLiteral("Fed (fed0)")));
            ports->append(
                listedPort(QStringLiteral("/dev/fed1"), QString(), QStringLiteral("Fed (fed1)")));
        });
        manager->setCallback(&CallbackCounter::callback, &counter);
        manager->enumeratePorts();
    }
};

#ifdef TARVELO_CHARGER_SIM
// The charger simulator as a child process on its own pseudo-terminal.
class Simulator
{
public:
    explicit Simulator(const QStringList& arguments)
    {
        m_process.start(QStringLiteral(TARVELO_CHARGER_SIM), arguments);
        if (!m_process.waitForStarted(10000))
            return;
        while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {
        }
        m_path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    ~Simulator() { stop(); }

    const QString& path() const { return m_path; }
    QString portName() const { return m_path.mid(5); }
    qint64 pid() const { return m_process.processId(); }
    // Ends it the way a user would (SIGTERM); true when it exited by itself with status 0.
    bool stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
        m_process.terminate();
        if (!m_process.waitForFinished(10000)) {
            m_process.kill();
            m_process.waitForFinished(10000);
            return false;
        }
        return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
    }
    bool signal(int number) { return ::kill(static_cast<pid_t>(pid()), number) == 0; }
    // Waits for a line the simulator prints, such as the speed the reader set.
    bool waitForOutput(const QString& line, int ms = 10000)
    {
        QElapsedTimer timer;
        timer.start();
        for (;;) {
            while (m_process.canReadLine()) {
                if (QString::fromLocal8Bit(m_process.readLine()).trimmed() == line)
                    return true;
            }
            const int left = ms - static_cast<int>(timer.elapsed());
            if (left <= 0 || !m_process.waitForReadyRead(left))
                return false;
        }
    }
    QProcess& process() { return m_process; }

private:
    QProcess m_process;
    QString m_path;
};
#endif

#endif
