// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "charger/listserialports.h"

#include "charger/serialenumerror.h"
#include "charger/simulatorports.h"

#include <QFileInfo>
#include <QSerialPortInfo>

SSerInfo makeSerialInfo(const QString& devicePath, const QString& portName,
                        const QString& description, bool isUsbDevice)
{
    SSerInfo info;
    info.devicePath = devicePath;
    info.portName = portName;
    info.friendlyName = description.isEmpty()
                            ? portName
                            : description + QStringLiteral(" (") + portName + QStringLiteral(")");
    info.isUsbDevice = isUsbDevice;
    info.portDescription = description;
    return info;
}

void finishSerialPorts(QVector<SSerInfo>* ports, const QString& stableFolder)
{
    const QHash<QString, QString> stable = StablePortNames::read(stableFolder);
    for (SSerInfo& info : *ports) {
        if (info.friendlyName.isEmpty())
            info.friendlyName = info.portName;
        if (info.portDescription.isEmpty()) {
            info.portDescription = info.friendlyName;
            const qsizetype open = info.portDescription.indexOf(QStringLiteral(" ("));
            const qsizetype close = info.portDescription.indexOf(QLatin1Char(')'));
            if (open > 0 && close == info.portDescription.size() - 1)
                info.portDescription.truncate(open);
        }
        if (info.stableName.isEmpty() && !stable.isEmpty()) {
            const QString device = QFileInfo(info.devicePath).canonicalFilePath();
            info.stableName = stable.value(device.isEmpty() ? info.devicePath : device);
        }
    }
}

void listSerialPorts(QVector<SSerInfo>* ports)
{
    ports->clear();
    // QSerialPortInfo reads what the system knows of each port (udev, sysfs, the registry).
    const QList<QSerialPortInfo> available = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& port : available) {
        SSerInfo info = makeSerialInfo(port.systemLocation(), port.portName(), port.description(),
                                       port.hasVendorIdentifier());
        info.manufacturer = port.manufacturer();
        info.serialNumber = port.serialNumber();
        if (port.hasVendorIdentifier())
            info.vendorId = port.vendorIdentifier();
        if (port.hasProductIdentifier())
            info.productId = port.productIdentifier();
        ports->append(info);
    }
    QString error;
    ports->append(SimulatorPorts::list(&error));
    finishSerialPorts(ports);
    if (!error.isEmpty())
        throw SerialEnumError(error);
}
