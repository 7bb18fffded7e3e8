// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "records/statentry.h"

QString StatEntry::formatDuration(qint64 seconds)
{
    const char* sign = seconds < 0 ? "-" : "";
    if (seconds < 0)
        seconds = -seconds;
    return QStringLiteral("%1%2:%3:%4")
        .arg(QLatin1String(sign))
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}
