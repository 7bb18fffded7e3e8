// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_SERIALCHARGERPORT_H
#define TARVELO_SERIALCHARGERPORT_H

#include "charger/chargerport.h"

#include <QSerialPort>

#ifdef Q_OS_UNIX
#include <termios.h>
#endif

// ChargerPort on a real serial device through QSerialPort. Never writes to the device.
class SerialChargerPort : public ChargerPort
{
public:
    SerialChargerPort();
    ~SerialChargerPort() override;

    ChargerBase::OpenFailure open(const QString& devicePath, int baudRate) override;
    bool setBaudRate(int baudRate) override;
    ReadResult readByte(char* byte, int timeoutMs) override;
    void close() override;

private:
    QSerialPort m_port;
#ifdef Q_OS_UNIX
    // The device's settings before we touched it; QSerialPort would otherwise leave its own
    // flow control and raw mode behind.
    bool m_bHaveSavedSettings = false;
    struct termios m_savedSettings = {};
#endif
};

#endif
