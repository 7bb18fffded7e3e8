// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_SIMULATORPORTS_H
#define TARVELO_SIMULATORPORTS_H

#include "charger/sserinfo.h"

#include <QString>
#include <QVector>

// A running charger simulator announces its pseudo-terminal with a small file in the user's
// runtime folder, named after its process id and holding the device path, so that the port
// list can offer it like a real port.
class SimulatorPorts
{
public:
    // The folder of the announcements, inside the user's runtime folder.
    static QString directory();
    // Writes this process's announcement; false when it cannot be written.
    static bool announce(const QString& devicePath);
    // Removes this process's announcement, if any.
    static void withdraw();
    // The announced ports of live processes, ordered by process id. Announcements of dead
    // processes or of vanished devices are skipped. When the folder exists but cannot be
    // read, `error` receives a message.
    static QVector<SSerInfo> list(QString* error);

    // The name the port list shows for a simulator on a device such as /dev/pts/3.
    static QString description();
};

#endif
