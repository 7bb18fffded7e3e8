// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_CHARGERPORT_H
#define TARVELO_CHARGERPORT_H

#include "charger/chargerbase.h"

class QString;

// The serial line as the charger's reader sees it. It is created, used and destroyed on the
// reader thread only. The real one is SerialChargerPort; tests put their own behind it.
class ChargerPort
{
public:
    enum ReadResult {
        ReadByte,    // one byte was read
        ReadTimeout, // nothing arrived within the time given
        ReadFailed   // the port failed (gone, hung up); trying again at once may fail again
    };

    virtual ~ChargerPort() = default;

    // Opens the device exclusively for reading at `baudRate`, 8 data bits, no parity, one stop
    // bit, and remembers its settings for close(). ChargerBase::OpenOk, or why it failed.
    virtual ChargerBase::OpenFailure open(const QString& devicePath, int baudRate) = 0;
    // Another speed on the open port.
    virtual bool setBaudRate(int baudRate) = 0;
    // Waits at most timeoutMs for one byte.
    virtual ReadResult readByte(char* byte, int timeoutMs) = 0;
    // Restores the settings the port had before open() and closes it.
    virtual void close() = 0;
};

#endif
