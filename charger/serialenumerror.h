// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_SERIALENUMERROR_H
#define TARVELO_SERIALENUMERROR_H

#include <QString>

#include <stdexcept>

// Raised by listSerialPorts when the ports cannot be listed.
class SerialEnumError : public std::runtime_error
{
public:
    explicit SerialEnumError(const QString& message)
        : std::runtime_error(message.toStdString()), m_strMessage(message)
    {
    }
    const QString& message() const { return m_strMessage; }

private:
    QString m_strMessage;
};

#endif
