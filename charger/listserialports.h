// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_LISTSERIALPORTS_H
#define TARVELO_LISTSERIALPORTS_H

#include "charger/sserinfo.h"
#include "charger/stableportnames.h"

#include <QVector>

// Fills `ports` with the machine's serial ports in the platform's order, followed by the
// ports of running charger simulators. No port is opened: a port in use, by this program or
// another, is listed and left undisturbed. Raises SerialEnumError when the listing fails; the
// ports found before the failure stay in `ports`.
void listSerialPorts(QVector<SSerInfo>* ports);

// The record for one port as the platform describes it: the friendly name is the
// description followed by " (" port name ")", or the port name alone without a description.
SSerInfo makeSerialInfo(const QString& devicePath, const QString& portName,
                        const QString& description, bool isUsbDevice);

// The last step of listing: fills an empty friendly name with the port name, an empty
// description with the friendly name cut before a trailing " (...)", and the stable names
// from the links in `stableFolder`.
void finishSerialPorts(QVector<SSerInfo>* ports,
                       const QString& stableFolder = StablePortNames::defaultFolder());

#endif
