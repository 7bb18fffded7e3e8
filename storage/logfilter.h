// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_LOGFILTER_H
#define TARVELO_LOGFILTER_H

#include <QDate>
#include <QVector>

class LogEntry;
class SqlBase;

// Which log entries a view shows: a date range (both days included), one model, one pack,
// only the entries not yet charged. Each part is off unless set. The store's SQL filters
// select the same entries; this one runs over the log in memory.
class LogFilter
{
public:
    bool byDate = false;
    QDate start;
    QDate end;
    int modelId = -1; // -1: every model
    int accuId = -1;  // -1: every pack
    bool incompleteOnly = false;

    bool isOff() const { return !byDate && modelId < 0 && accuId < 0 && !incompleteOnly; }
    bool accepts(const LogEntry& entry) const;
    // The rows of the store's log that pass, in the log's order.
    QVector<int> rows(const SqlBase& store) const;
    // The store's filter flags for the same selection; sets the store's filter fields.
    int applyTo(SqlBase* store) const;

    bool operator==(const LogFilter& other) const;
    bool operator!=(const LogFilter& other) const { return !(*this == other); }
};

#endif
