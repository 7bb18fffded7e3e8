// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_STABLEPORTNAMES_H
#define TARVELO_STABLEPORTNAMES_H

#include <QHash>
#include <QString>

// The names Linux keeps for serial devices in /dev/serial/by-id: links named after the
// device's maker, model and serial number, which stay the same whichever USB socket the
// device is plugged into (ttyUSB0 today may be ttyUSB1 tomorrow). Read from the links alone;
// no device is opened.
class StablePortNames
{
public:
    static QString defaultFolder() { return QStringLiteral("/dev/serial/by-id"); }

    // Device path (links resolved) -> the absolute path of its link in `folder`; the first
    // link in name order where several lead to one device. Empty when the folder is missing.
    static QHash<QString, QString> read(const QString& folder = defaultFolder());
};

#endif
