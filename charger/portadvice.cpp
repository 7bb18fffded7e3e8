// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "charger/portadvice.h"

#include "charger/chargerbase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{
QString firstLine(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(f.readLine(256)).trimmed();
}

#ifdef Q_OS_UNIX
bool groupExists(const char* name)
{
    return ::getgrnam(name) != nullptr;
}
#endif
} // namespace

bool PortAdvice::isLikelyICharger(const SSerInfo& port)
{
    return port.vendorId == kIChargerVendorId && port.productId == kIChargerProductId;
}

bool PortAdvice::mayRead(const QString& devicePath)
{
#ifdef Q_OS_UNIX
    // A device that is not there is no question of permission.
    return ::access(QFile::encodeName(devicePath).constData(), R_OK) == 0 || errno != EACCES;
#else
    Q_UNUSED(devicePath);
    return true;
#endif
}

QString PortAdvice::serialGroup(const QString& devicePath)
{
#ifdef Q_OS_UNIX
    // The device's own group where it is one of the usual two; else whichever of them the
    // system has (dialout on Debian and its kin, uucp on Arch).
    struct stat info;
    if (::stat(QFile::encodeName(devicePath).constData(), &info) == 0) {
        if (const struct group* owner = ::getgrgid(info.st_gid)) {
            const QString name = QString::fromLocal8Bit(owner->gr_name);
            if (name == QLatin1String("dialout") || name == QLatin1String("uucp"))
                return name;
        }
    }
    if (!groupExists("dialout") && groupExists("uucp"))
        return QStringLiteral("uucp");
#else
    Q_UNUSED(devicePath);
#endif
    return QStringLiteral("dialout");
}

QString PortAdvice::whyNotOpened(int failure, const QString& portName, const QString& devicePath)
{
    switch (failure) {
    case ChargerBase::OpenDenied:
        return permissionAdvice(portName, devicePath);
    case ChargerBase::OpenBusy:
        return tr("%1 is in use by another program (a terminal program, say, or ModemManager "
                  "taking it for a modem). Close it and try again.")
            .arg(portName);
    case ChargerBase::OpenMissing: {
        const QString missing = tr("%1 is not there: is the charger plugged in and switched on?")
                                    .arg(portName.isEmpty() ? tr("The port") : portName);
        const QString brltty = brlttyAdvice();
        return brltty.isEmpty() ? missing : missing + QStringLiteral("\n\n") + brltty;
    }
    default:
        return brlttyAdvice();
    }
}

QString PortAdvice::permissionAdvice(const QString& portName, const QString& devicePath)
{
    const QString group = serialGroup(devicePath);
    QString text = tr("You may not open %1 (%2): serial ports belong to the group \"%3\", and "
                      "you are not in it.")
                       .arg(portName, devicePath, group);
    const QString rule = installedRule();
    if (!rule.isEmpty()) {
        text += QStringLiteral("\n\n") +
                tr("Tarvelo's rule %1 lets whoever is logged in at this computer use an "
                   "iCharger: unplug the charger and plug it in again.")
                    .arg(rule);
    } else {
        text += QStringLiteral("\n\n") +
                tr("Either install Tarvelo's rule, which lets whoever is logged in at this "
                   "computer use an iCharger: sudo cp %1 /etc/udev/rules.d/, then unplug the "
                   "charger and plug it in again.")
                    .arg(bundledRule());
    }
    text +=
        QStringLiteral("\n\n") +
        tr("Or join the group: sudo usermod -aG %1 $USER, then log out and in again.").arg(group);
    return text;
}

QString PortAdvice::brlttyAdvice(const QString& usbFolder, const QString& procFolder)
{
    if (!ichargerWithoutPort(usbFolder) || !brlttyRunning(procFolder))
        return QString();
    return tr("An iCharger is plugged in (its USB bridge 10c4:ea60), but it has no serial "
              "port: brltty, the braille display service, has taken it. If you use no braille "
              "display, remove brltty (sudo apt remove brltty) and plug the charger in again.");
}

bool PortAdvice::ichargerWithoutPort(const QString& usbFolder)
{
    const QString vendor =
        QString::number(kIChargerVendorId, 16).rightJustified(4, QLatin1Char('0'));
    const QString product =
        QString::number(kIChargerProductId, 16).rightJustified(4, QLatin1Char('0'));
    const QDir usb(usbFolder);
    // Devices ("1-1"); their interfaces ("1-1:1.0") hold the tty a driver made of them.
    for (const QString& device : usb.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (device.contains(QLatin1Char(':')) ||
            firstLine(usb.filePath(device + QStringLiteral("/idVendor"))) != vendor ||
            firstLine(usb.filePath(device + QStringLiteral("/idProduct"))) != product)
            continue;
        const QDir dir(usb.filePath(device));
        bool hasPort = false;
        for (const QString& interface : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (interface.contains(QLatin1Char(':')) &&
                !QDir(dir.filePath(interface))
                     .entryList({QStringLiteral("tty*")}, QDir::Dirs | QDir::NoDotAndDotDot)
                     .isEmpty())
                hasPort = true;
        }
        if (!hasPort)
            return true;
    }
    return false;
}

bool PortAdvice::brlttyRunning(const QString& procFolder)
{
    const QDir proc(procFolder);
    for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        entry.toLongLong(&number);
        if (number &&
            firstLine(proc.filePath(entry + QStringLiteral("/comm"))) == QLatin1String("brltty"))
            return true;
    }
    return false;
}

QString PortAdvice::installedRule()
{
    for (const char* folder : {"/etc/udev/rules.d", "/usr/lib/udev/rules.d", "/lib/udev/rules.d"}) {
        const QString rule = QString::fromLatin1(folder) + QLatin1Char('/') + ruleName();
        if (QFileInfo::exists(rule))
            return rule;
    }
    return QString();
}

QString PortAdvice::bundledRule()
{
    const QFileInfo beside(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../lib/udev/rules.d/") + ruleName());
    // Else where Tarvelo's sources keep it, for a program run from its build.
    return beside.exists() ? QDir::cleanPath(beside.absoluteFilePath())
                           : QStringLiteral("packaging/linux/") + ruleName();
}
