// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_TESTS_APPLICATIONID_H
#define TARVELO_TESTS_APPLICATIONID_H

#include <QFile>
#include <QString>
#include <QtEndian>

// The application id in an SQLite file's header, read from the bytes as a file manager reads
// them (68 to 71, big-endian); 0 for a file too short to have one.
inline quint32 applicationIdOf(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(68))
        return 0;
    const QByteArray bytes = file.read(4);
    return bytes.size() == 4 ? qFromBigEndian<quint32>(bytes.constData()) : 0;
}

#endif
