// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "charger/simulatorports.h"

#include "charger/listserialports.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <unistd.h>
#endif

namespace
{
const char kFolderName[] = "tarvelo-charger-sim";

bool processAlive(qint64 pid)
{
#ifdef Q_OS_UNIX
    if (pid <= 0)
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
#else
    Q_UNUSED(pid);
    return false;
#endif
}

QString ownFileName()
{
    return SimulatorPorts::directory() + QLatin1Char('/') +
           QString::number(QCoreApplication::applicationPid());
}

// "pts/3" for /dev/pts/3: the device path below /dev.
QString portNameOf(const QString& devicePath)
{
    const QString dev = QStringLiteral("/dev/");
    if (devicePath.startsWith(dev))
        return devicePath.mid(dev.size());
    return QFileInfo(devicePath).fileName();
}
} // namespace

QString SimulatorPorts::directory()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QLatin1Char('/') +
           QLatin1String(kFolderName);
}

bool SimulatorPorts::announce(const QString& devicePath)
{
    if (!QDir().mkpath(directory()))
        return false;
    QSaveFile file(ownFileName());
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(devicePath.toUtf8() + '\n');
    return file.commit();
}

void SimulatorPorts::withdraw()
{
    QFile::remove(ownFileName());
}

QVector<SSerInfo> SimulatorPorts::list(QString* error)
{
    QVector<SSerInfo> ports;
    const QString path = directory();
    const QFileInfo folder(path);
    if (!folder.exists())
        return ports;
    QDir dir(path);
    if (!folder.isDir() || !dir.isReadable()) {
        if (error)
            *error = QCoreApplication::translate("SimulatorPorts",
                                                 "Could not read the simulator folder %1")
                         .arg(path);
        return ports;
    }
    QVector<qint64> pids;
    const QStringList names = dir.entryList(QDir::Files);
    for (const QString& name : names) {
        bool ok = false;
        const qint64 pid = name.toLongLong(&ok);
        if (ok && processAlive(pid))
            pids.append(pid);
    }
    std::sort(pids.begin(), pids.end());
    for (qint64 pid : pids) {
        QFile file(dir.filePath(QString::number(pid)));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString device = QString::fromUtf8(file.readLine(4096)).trimmed();
        if (device.isEmpty() || !QFileInfo::exists(device))
            continue;
        ports.append(makeSerialInfo(device, portNameOf(device), description(), false));
    }
    return ports;
}

QString SimulatorPorts::description()
{
    return QCoreApplication::translate("SimulatorPorts", "Charger simulator");
}
