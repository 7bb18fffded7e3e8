// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_WEARMARK_H
#define TARVELO_WEARMARK_H

#include "storage/packhistory.h"

#include <QColor>
#include <QString>

// How a pack near or past the cycles its chemistry is good for is marked wherever packs are
// listed: a background colour and a sentence that says why.
class WearMark
{
public:
    // Amber when near the limit, red once it is reached; invalid (no mark) otherwise.
    static QColor color(PackHistory::Wear wear);
    // "312 of the 300 cycles set for LiPo packs: time to retire it"; empty when fine.
    static QString reason(int cycles, int limit, int typ);
};

#endif
