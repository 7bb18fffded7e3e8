// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// A stand-in for a Junsi iCharger: sends the status lines of a scripted charge on a serial
// device or on a new pseudo-terminal, so that the whole charger path can be tried without
// hardware.
//
//   tarvelo-charger-sim [--model 106B+|208B+|1010B+] [--baud N] [--interval SECONDS] [--bad]
//                       [--play FILE] [DEVICE]
//
// Without DEVICE it opens a pseudo-terminal, prints its path as the first line on standard
// output and announces it to the port listing until it ends. Like the real charger it sends at
// its model's speed (128 000 baud for the 208B+, else 9600), or at the speed --baud gives, as
// other firmware may: on a pseudo-terminal set to another speed the reader gets garbage. Each speed
// the terminal is set to is printed as a line "speed N".

#include "charger/simulatorports.h"
#include "charger/statusline.h"
#include "tools/commandline.h"

#include <QFile>
#include <QString>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <asm/ioctls.h>
#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#ifdef TCGETS2
// Any speed, 128 000 baud included, is set and read through the kernel's termios2; its header
// clashes with <termios.h>, hence this copy of the layout.
struct termios2 {
    tcflag_t c_iflag, c_oflag, c_cflag, c_lflag;
    cc_t c_line;
    cc_t c_cc[19];
    speed_t c_ispeed, c_ospeed;
};
#endif

namespace
{
volatile sig_atomic_t g_stop = 0;

// The speed a terminal is set to, or 0 when it cannot be read.
int lineSpeed(int fd)
{
#ifdef TCGETS2
    struct termios2 settings;
    if (ioctl(fd, TCGETS2, &settings) == 0)
        return static_cast<int>(settings.c_ospeed);
#endif
    (void)fd;
    return 0;
}

bool setLineSpeed(int fd, int baud)
{
#ifdef TCGETS2
    struct termios2 settings;
    if (ioctl(fd, TCGETS2, &settings) != 0)
        return false;
    settings.c_cflag = (settings.c_cflag & ~CBAUD) | 0010000; // BOTHER: the speed as given
    settings.c_ispeed = settings.c_ospeed = static_cast<speed_t>(baud);
    return ioctl(fd, TCSETS2, &settings) == 0;
#else
    (void)fd;
    return baud == 9600;
#endif
}

// Whether a program holds the terminal open (QSerialPort and most others open exclusively).
bool listened(int fd)
{
#ifdef TIOCGEXCL
    int exclusive = 0;
    return ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
#else
    (void)fd;
    return true;
#endif
}

// What a receiver set to the wrong speed makes of a line: a few bytes of nothing sensible,
// without a line end.
std::string garbled(const std::string& line)
{
    std::string noise;
    for (size_t i = 0; i + 3 < line.size(); i += 4)
        noise += static_cast<char>(0x80 | (line[i] ^ line[i + 3]));
    return noise;
}

void onSignal(int)
{
    g_stop = 1;
}

// Waits, but returns early when a stop signal arrives.
void pause(double seconds)
{
    struct timespec rest;
    rest.tv_sec = static_cast<time_t>(seconds);
    rest.tv_nsec = static_cast<long>((seconds - static_cast<double>(rest.tv_sec)) * 1e9);
    while (!g_stop && nanosleep(&rest, &rest) == -1 && errno == EINTR) {
    }
}

const int kWaitingLines = 3;
const int kChargingLines = 30;

// The fields of line `step` of the scripted charge (without the checksum): waiting, charging
// with rising cell voltages and capacity, then done for good.
std::vector<int> scriptedFields(int step, int cells)
{
    int status = 4; // waiting
    int current = 0;
    int cellMv = 3700;
    int capacity = 0;
    if (step >= kWaitingLines && step < kWaitingLines + kChargingLines) {
        const int i = step - kWaitingLines;
        status = 1; // charging
        current = 250;
        cellMv = 3700 + 500 * i / (kChargingLines - 1);
        capacity = 40 * (i + 1);
    } else if (step >= kWaitingLines + kChargingLines) {
        status = 6; // done
        cellMv = 4200;
        capacity = 40 * kChargingLines;
    }
    std::vector<int> fields = {status, 12000, cellMv * cells, current};
    for (int c = 0; c < cells; ++c)
        fields.push_back(cellMv + (c % 2 == 0 ? 0 : -3));
    fields.push_back(253 + (status == 1 ? 2 : 0)); // internal temperature, 0.1 °C
    fields.push_back(251);                         // external temperature, 0.1 °C
    fields.push_back(capacity);
    return fields;
}

// One line that the charger must reject, in turn garbage, over-long, cut off, one field short
// and one digit changed on the way (its checksum no longer matches).
std::string badLine(int index, int step, int cells)
{
    switch (index % 5) {
    case 0:
        return std::string("#&%garbage\x01\x7f;;;\r\n");
    case 1:
        return "$1;" + std::string(200, '9') + "\r\n";
    case 2: {
        const std::string good = StatusLine::compose(scriptedFields(step, cells));
        return good.substr(0, good.size() / 2) + "\r\n";
    }
    case 3: {
        std::vector<int> fields = scriptedFields(step, cells);
        fields.pop_back();
        return StatusLine::compose(fields);
    }
    default: {
        std::string line = StatusLine::compose(scriptedFields(step, cells));
        const size_t digit = line.find_first_of("123456789", 6);
        line[digit] = line[digit] == '9' ? '8' : static_cast<char>(line[digit] + 1);
        return line;
    }
    }
}

// Raw at 9600 baud, as a port is before a program sets it up.
void makeRaw(int fd)
{
    struct termios settings;
    if (tcgetattr(fd, &settings) != 0)
        return;
    cfmakeraw(&settings);
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    tcsetattr(fd, TCSANOW, &settings);
}

// The lines of a file, each ended as the charger ends it.
bool readLines(const QString& path, std::vector<std::string>* lines)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (!line.isEmpty())
            lines->push_back(line.toStdString() + "\r\n");
    }
    return true;
}

bool writeAll(int fd, const std::string& data)
{
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    CommandLine commandLine(
        QStringLiteral("tarvelo-charger-sim"),
        QStringLiteral("Plays a Junsi iCharger: sends the status lines of a scripted charge\n"
                       "(waiting, charging, done) to DEVICE, or to a new pseudo-terminal\n"
                       "whose path it prints first. Ends on Ctrl+C."));
    const QCommandLineOption modelOption(QStringLiteral("model"),
                                         QStringLiteral("The charger to play: 106B+ (the "
                                                        "default), 208B+ or 1010B+."),
                                         QStringLiteral("MODEL"));
    const QCommandLineOption baudOption(
        QStringLiteral("baud"),
        // Qt wraps the option texts itself; a line break of ours would cut its lines short.
        QStringLiteral("The speed to send at instead of the model's (9600 for the 106B+ and "
                       "1010B+, 128000 for the 208B+), as other firmware may."),
        QStringLiteral("N"));
    const QCommandLineOption intervalOption(
        QStringLiteral("interval"), QStringLiteral("Seconds between two lines (default 1)."),
        QStringLiteral("SECONDS"));
    const QCommandLineOption badOption(QStringLiteral("bad"),
                                       QStringLiteral("Sends broken lines in between."));
    const QCommandLineOption playOption(
        QStringLiteral("play"),
        QStringLiteral("Sends the lines of FILE as they are, once a program has opened the "
                       "pseudo-terminal at the model's speed, then stays quiet."),
        QStringLiteral("FILE"));
    commandLine.parser().addOptions(
        {modelOption, baudOption, intervalOption, badOption, playOption});
    commandLine.addArgument(QStringLiteral("DEVICE"),
                            QStringLiteral("A serial device to send to instead."), false);
    if (const auto done = commandLine.parse(argc, argv))
        return *done;

    int cells = 6;
    if (commandLine.parser().isSet(modelOption)) {
        const QString model = commandLine.parser().value(modelOption);
        if (model == QLatin1String("208B+"))
            cells = 8;
        else if (model == QLatin1String("1010B+"))
            cells = 10;
        else if (model != QLatin1String("106B+"))
            return commandLine.refuse(QStringLiteral("Unknown model '%1'.").arg(model));
    }
    double interval = 1.0;
    if (commandLine.parser().isSet(intervalOption)) {
        const QString text = commandLine.parser().value(intervalOption);
        bool ok = false;
        interval = text.toDouble(&ok);
        if (!ok || !(interval > 0.0) || !std::isfinite(interval))
            return commandLine.refuse(
                QStringLiteral("The interval must be a positive number of seconds, not '%1'.")
                    .arg(text));
    }
    const bool bad = commandLine.parser().isSet(badOption);
    int baud = cells == 8 ? 128000 : 9600;
    if (commandLine.parser().isSet(baudOption)) {
        const QString text = commandLine.parser().value(baudOption);
        bool ok = false;
        baud = text.toInt(&ok);
        if (!ok || baud <= 0)
            return commandLine.refuse(
                QStringLiteral("The speed must be a positive number of baud, not '%1'.").arg(text));
    }
    std::vector<std::string> played;
    const bool play = commandLine.parser().isSet(playOption);
    if (play && !readLines(commandLine.parser().value(playOption), &played))
        return commandLine.refuse(QStringLiteral("Cannot read '%1'.")
                                      .arg(commandLine.parser().value(playOption)));
    const QByteArray devicePath = commandLine.arguments().isEmpty()
                                      ? QByteArray()
                                      : QFile::encodeName(commandLine.arguments().first());
    const char* device = devicePath.isEmpty() ? nullptr : devicePath.constData();

    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = onSignal; // no SA_RESTART: a signal ends the pause at once
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);

    int out = -1;
    int slave = -1;
    bool announced = false;
    if (device) {
        out = ::open(device, O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (out < 0) {
            fprintf(stderr, "tarvelo-charger-sim: cannot open %s: %s\n", device, strerror(errno));
            return 1;
        }
        if (isatty(out)) {
            makeRaw(out);
            if (!setLineSpeed(out, baud))
                fprintf(stderr, "tarvelo-charger-sim: cannot set %d baud on %s\n", baud, device);
        }
    } else {
        char name[256] = {};
        if (openpty(&out, &slave, name, nullptr, nullptr) != 0) {
            fprintf(stderr, "tarvelo-charger-sim: openpty: %s\n", strerror(errno));
            return 1;
        }
        // Keeping the slave open keeps the line raw between the program's openings.
        makeRaw(slave);
        fcntl(out, F_SETFL, fcntl(out, F_GETFL) | O_NONBLOCK);
        fcntl(out, F_SETFD, FD_CLOEXEC);
        fcntl(slave, F_SETFD, FD_CLOEXEC);
        // Listed before it is printed: whoever reads the name finds the port in the list.
        announced = SimulatorPorts::announce(QString::fromLocal8Bit(name));
        if (!announced)
            fprintf(stderr, "tarvelo-charger-sim: could not announce %s in %s\n", name,
                    qPrintable(SimulatorPorts::directory()));
        printf("%s\n", name);
        fflush(stdout);
    }

    int badCount = 0;
    int speed = -1;
    size_t nextPlayed = 0;
    for (int step = 0; !g_stop; ++step) {
        // A pseudo-terminal carries the speed the reading program set.
        int now = slave >= 0 ? lineSpeed(slave) : baud;
        if (now == 0)
            now = baud; // unreadable: take it as right
        if (now != speed) {
            speed = now;
            printf("speed %d\n", speed);
            fflush(stdout);
        }
        if (play) {
            const bool ready = slave < 0 || (listened(slave) && speed == baud);
            if (ready && nextPlayed < played.size() && !writeAll(out, played[nextPlayed++]) &&
                errno != EAGAIN && errno != EIO)
                break;
            pause(interval);
            continue;
        }
        if (slave >= 0) {
            // Nobody reads while lines pile up: drop them, so that a program that opens the
            // port later starts with the current line, not with old ones.
            int queued = 0;
            if (ioctl(slave, TIOCINQ, &queued) == 0 && queued > 512)
                tcflush(slave, TCIFLUSH);
        }
        std::string data = StatusLine::compose(scriptedFields(step, cells));
        if (bad && step % 2 == 1)
            data += badLine(badCount++, step, cells);
        if (speed != baud)
            data = garbled(data);
        if (!writeAll(out, data) && errno != EAGAIN && errno != EIO) {
            fprintf(stderr, "tarvelo-charger-sim: write: %s\n", strerror(errno));
            break;
        }
        pause(interval);
    }

    if (announced)
        SimulatorPorts::withdraw();
    if (slave >= 0)
        ::close(slave);
    ::close(out);
    return 0;
}
