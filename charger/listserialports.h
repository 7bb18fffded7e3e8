#ifndef TARVELO_LISTSERIALPORTS_H
#define TARVELO_LISTSERIALPORTS_H

#include "charger/sserinfo.h"

#include <QVector>

#include <functional>

// Fills `ports` with the machine's serial ports in the platform's order, followed by the
// ports of running charger simulators. With `probe`, ports that cannot be opened right now
// (absent or in use, also by this program) are left out. Raises SerialEnumError when the
// listing fails; the ports found before the failure stay in `ports`.
void listSerialPorts(QVector<SSerInfo>* ports, bool probe);

// The record for one port as the platform describes it: the friendly name is the
// description followed by " (" port name ")", or the port name alone without a description.
SSerInfo makeSerialInfo(const QString& devicePath, const QString& portName,
                        const QString& description, bool isUsbDevice);

// The last step of listing: with `probe`, removes the ports that `canOpen` refuses; fills an
// empty friendly name with the port name and an empty description with the friendly name
// cut before a trailing " (...)".
void finishSerialPorts(QVector<SSerInfo>* ports, bool probe,
                       const std::function<bool(const QString& devicePath)>& canOpen);

#endif
