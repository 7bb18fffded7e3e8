// A stand-in for a Junsi iCharger: sends the status lines of a scripted charge on a serial
// device or on a new pseudo-terminal, so that the whole charger path can be tried without
// hardware.
//
//   tarvelo-charger-sim [--model 106B+|208B+|1010B+] [--interval SECONDS] [--bad] [DEVICE]
//
// Without DEVICE it opens a pseudo-terminal, prints its path as the first line on standard
// output and announces it to the port listing until it ends.

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

#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace
{
volatile sig_atomic_t g_stop = 0;

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

// One line that the charger must reject, in turn garbage, over-long, cut off and one field
// short.
std::string badLine(int index, int step, int cells)
{
    switch (index % 4) {
    case 0:
        return std::string("#&%garbage\x01\x7f;;;\r\n");
    case 1:
        return "$1;" + std::string(150, '9') + "\r\n";
    case 2: {
        const std::string good = StatusLine::compose(scriptedFields(step, cells));
        return good.substr(0, good.size() / 2) + "\r\n";
    }
    default: {
        std::vector<int> fields = scriptedFields(step, cells);
        fields.pop_back();
        return StatusLine::compose(fields);
    }
    }
}

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
    const QCommandLineOption intervalOption(
        QStringLiteral("interval"), QStringLiteral("Seconds between two lines (default 1)."),
        QStringLiteral("SECONDS"));
    const QCommandLineOption badOption(QStringLiteral("bad"),
                                       QStringLiteral("Sends broken lines in between."));
    commandLine.parser().addOptions({modelOption, intervalOption, badOption});
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
        if (isatty(out))
            makeRaw(out);
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
    for (int step = 0; !g_stop; ++step) {
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
