// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "views/wearmark.h"

#include "records/accuentry.h"

#include <QCoreApplication>

QColor WearMark::color(PackHistory::Wear wear)
{
    switch (wear) {
    case PackHistory::Wear::Near:
        return QColor(255, 214, 122);
    case PackHistory::Wear::Reached:
        return QColor(255, 160, 160);
    default:
        return QColor();
    }
}

QString WearMark::reason(int cycles, int limit, int typ)
{
    const PackHistory::Wear wear = PackHistory::wear(cycles, limit);
    if (wear == PackHistory::Wear::Fine)
        return QString();
    const QString text =
        wear == PackHistory::Wear::Reached
            ? QCoreApplication::translate("WearMark",
                                          "%1 of the %2 cycles set for %3 packs: time to retire it")
            : QCoreApplication::translate(
                  "WearMark", "%1 of the %2 cycles set for %3 packs: nearing its limit");
    return text.arg(cycles).arg(limit).arg(AccuEntry::typText(typ));
}
