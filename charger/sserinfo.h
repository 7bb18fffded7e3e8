// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_SSERINFO_H
#define TARVELO_SSERINFO_H

#include <QString>

// One serial port found on the machine.
struct SSerInfo {
    QString devicePath;   // what to open, e.g. /dev/ttyUSB0 or \\.\COM3
    QString portName;     // short name such as ttyUSB0 or COM3
    QString friendlyName; // for display: description and " (" port name ")"
    bool isUsbDevice = false;
    QString portDescription; // the friendly name without its trailing "(port name)"
    QString manufacturer;
    QString serialNumber;
    int vendorId = -1; // USB ids; -1 where the port has none
    int productId = -1;
    // A name that stays when the device is plugged in elsewhere (/dev/serial/by-id/...); empty
    // where the system keeps none.
    QString stableName;
};

#endif
