// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_PORTADVICE_H
#define TARVELO_PORTADVICE_H

#include "charger/sserinfo.h"

#include <QCoreApplication>
#include <QString>

// What a user needs to know when the charger's port does not work, in the words of the
// system it runs on: on Linux the serial group (dialout, or uucp on Arch), Tarvelo's udev rule,
// and brltty, which takes the iCharger's USB bridge for a braille display. Everything is read
// from the file system; no port is opened.
class PortAdvice
{
    Q_DECLARE_TR_FUNCTIONS(PortAdvice)

public:
    // The iCharger's USB bridge, a Silicon Labs CP210x. Other devices use it too, hence
    // "likely".
    static constexpr int kIChargerVendorId = 0x10c4;
    static constexpr int kIChargerProductId = 0xea60;
    static QString ruleName() { return QStringLiteral("70-tarvelo-icharger.rules"); }
    static QString defaultUsbFolder() { return QStringLiteral("/sys/bus/usb/devices"); }
    static QString defaultProcFolder() { return QStringLiteral("/proc"); }

    static bool isLikelyICharger(const SSerInfo& port);
    // Whether this user may read the device, by its permissions alone (without opening it).
    static bool mayRead(const QString& devicePath);
    // The group whose members may use serial devices here.
    static QString serialGroup(const QString& devicePath);

    // Why a port could not be opened (a ChargerBase::OpenFailure) and what to do; empty when
    // there is nothing to add to "could not open".
    static QString whyNotOpened(int failure, const QString& portName, const QString& devicePath);
    // No permission: the group to join, or the rule to install.
    static QString permissionAdvice(const QString& portName, const QString& devicePath);
    // An iCharger bridge is plugged in without a serial port while brltty runs: brltty has
    // taken it. Empty otherwise.
    static QString brlttyAdvice(const QString& usbFolder = defaultUsbFolder(),
                                const QString& procFolder = defaultProcFolder());

private:
    static bool ichargerWithoutPort(const QString& usbFolder);
    static bool brlttyRunning(const QString& procFolder);
    // The rule where udev reads it, or empty.
    static QString installedRule();
    // The rule beside this program (an installation elsewhere than /usr), or its place in the
    // sources.
    static QString bundledRule();
};

#endif
