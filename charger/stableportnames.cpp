// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "charger/stableportnames.h"

#include <QDir>
#include <QFileInfo>

QHash<QString, QString> StablePortNames::read(const QString& folder)
{
    QHash<QString, QString> names;
    const QDir dir(folder);
    const QFileInfoList links =
        dir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& link : links) {
        if (!link.isSymLink())
            continue;
        const QString device = link.canonicalFilePath();
        if (!device.isEmpty() && !names.contains(device))
            names.insert(device, link.absoluteFilePath());
    }
    return names;
}
