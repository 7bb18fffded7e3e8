// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_RECORDCOMBO_H
#define TARVELO_RECORDCOMBO_H

#include <QPair>
#include <QString>
#include <QVector>

class QComboBox;
class QDateEdit;
class LogBook;

// Pack and model selections: each item the record's one-line text with its identifier as
// data. A refill keeps the chosen identifier while it exists, leaves nothing chosen when it has
// gone, and says so only when the choice really changed.
namespace RecordCombo
{
using Items = QVector<QPair<QString, int>>;

Items accuItems(const LogBook& book);
Items modelItems(const LogBook& book);
void refill(QComboBox* combo, const Items& items);
// The identifier of the current item; -1 when none is chosen.
int currentId(const QComboBox* combo);
// Makes the item with that identifier current; none when it is not there.
void choose(QComboBox* combo, int id);
// A filter's date editors from the first logged day (today for an empty book) to today,
// without announcing either change.
void showLoggedDays(QDateEdit* start, QDateEdit* end, const LogBook& book);
} // namespace RecordCombo

#endif
