// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "charger/serialchargerport.h"

#include <QString>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace
{
#ifdef Q_OS_UNIX
ChargerBase::OpenFailure failureOf(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return ChargerBase::OpenDenied;
    case EBUSY:
        return ChargerBase::OpenBusy;
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return ChargerBase::OpenMissing;
    default:
        return ChargerBase::OpenFailed;
    }
}
#endif

// QSerialPort reports a port held by another program as a permission error too (its lock
// file, or the exclusive flag); only the device's own permissions tell the two apart.
ChargerBase::OpenFailure failureOf(const QSerialPort& port, const QByteArray& path)
{
    switch (port.error()) {
    case QSerialPort::DeviceNotFoundError:
        return ChargerBase::OpenMissing;
    case QSerialPort::PermissionError:
#ifdef Q_OS_UNIX
        if (::access(path.constData(), R_OK) != 0)
            return ChargerBase::OpenDenied;
#else
        Q_UNUSED(path);
#endif
        return ChargerBase::OpenBusy;
    default:
        return ChargerBase::OpenFailed;
    }
}
} // namespace

SerialChargerPort::SerialChargerPort() = default;

SerialChargerPort::~SerialChargerPort()
{
    close();
}

ChargerBase::OpenFailure SerialChargerPort::open(const QString& devicePath, int baudRate)
{
    if (devicePath.isEmpty())
        return ChargerBase::OpenMissing;
    if (m_port.isOpen())
        return ChargerBase::OpenBusy;
    QSerialPort::FlowControl flow = QSerialPort::NoFlowControl;
    const QByteArray path = devicePath.toLocal8Bit();
#ifdef Q_OS_UNIX
    // Read the settings as they are, so that the flow control can stay and close() can put
    // everything back.
    m_bHaveSavedSettings = false;
    const int fd = ::open(path.constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failureOf(errno);
    m_bHaveSavedSettings = ::tcgetattr(fd, &m_savedSettings) == 0;
    ::close(fd);
    if (!m_bHaveSavedSettings)
        return ChargerBase::OpenFailed;
    if (m_savedSettings.c_cflag & CRTSCTS)
        flow = QSerialPort::HardwareControl;
    else if (m_savedSettings.c_iflag & (IXON | IXOFF))
        flow = QSerialPort::SoftwareControl;
#endif
    m_port.setPortName(devicePath);
    m_port.setBaudRate(baudRate);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(flow);
    // QSerialPort opens exclusively (a lock file and TIOCEXCL on Unix, share mode 0 on
    // Windows). Read-only: nothing is ever sent to the charger.
    if (!m_port.open(QIODevice::ReadOnly)) {
#ifdef Q_OS_UNIX
        m_bHaveSavedSettings = false;
#endif
        return failureOf(m_port, path);
    }
    // Whatever came in before the line was set up was read at another speed.
    m_port.clear(QSerialPort::Input);
    return ChargerBase::OpenOk;
}

bool SerialChargerPort::setBaudRate(int baudRate)
{
    if (!m_port.isOpen() || !m_port.setBaudRate(baudRate))
        return false;
    // What came in at the old speed is noise.
    m_port.clear(QSerialPort::Input);
    return true;
}

ChargerPort::ReadResult SerialChargerPort::readByte(char* byte, int timeoutMs)
{
    if (!m_port.isOpen())
        return ReadFailed;
    if (m_port.bytesAvailable() == 0 && !m_port.waitForReadyRead(timeoutMs)) {
        const QSerialPort::SerialPortError error = m_port.error();
        m_port.clearError();
        if (error == QSerialPort::TimeoutError || error == QSerialPort::NoError)
            return ReadTimeout;
        return ReadFailed;
    }
    if (!m_port.getChar(byte))
        return ReadFailed;
    return ReadByte;
}

void SerialChargerPort::close()
{
    if (!m_port.isOpen())
        return;
#ifdef Q_OS_UNIX
    if (m_bHaveSavedSettings)
        ::tcsetattr(static_cast<int>(m_port.handle()), TCSANOW, &m_savedSettings);
    m_bHaveSavedSettings = false;
#endif
    m_port.close();
}
