#include "charger/listserialports.h"

#include "charger/serialenumerror.h"
#include "charger/simulatorports.h"

#include <QSerialPort>
#include <QSerialPortInfo>

namespace
{
bool canOpenNow(const QString& devicePath)
{
    QSerialPort port;
    port.setPortName(devicePath);
    if (!port.open(QIODevice::ReadOnly))
        return false;
    port.close();
    return true;
}
} // namespace

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

void finishSerialPorts(QVector<SSerInfo>* ports, bool probe,
                       const std::function<bool(const QString&)>& canOpen)
{
    for (int i = 0; i < ports->size();) {
        SSerInfo& info = (*ports)[i];
        if (probe && !canOpen(info.devicePath)) {
            ports->removeAt(i);
            continue;
        }
        if (info.friendlyName.isEmpty())
            info.friendlyName = info.portName;
        if (info.portDescription.isEmpty()) {
            info.portDescription = info.friendlyName;
            const qsizetype open = info.portDescription.indexOf(QStringLiteral(" ("));
            const qsizetype close = info.portDescription.indexOf(QLatin1Char(')'));
            if (open > 0 && close == info.portDescription.size() - 1)
                info.portDescription.truncate(open);
        }
        ++i;
    }
}

void listSerialPorts(QVector<SSerInfo>* ports, bool probe)
{
    ports->clear();
    const QList<QSerialPortInfo> available = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& port : available) {
        ports->append(makeSerialInfo(port.systemLocation(), port.portName(), port.description(),
                                     port.hasVendorIdentifier()));
    }
    QString error;
    ports->append(SimulatorPorts::list(&error));
    finishSerialPorts(ports, probe, canOpenNow);
    if (!error.isEmpty())
        throw SerialEnumError(error);
}
