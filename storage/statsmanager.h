// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_STATSMANAGER_H
#define TARVELO_STATSMANAGER_H

#include "records/statentry.h"

#include <QDate>
#include <QVector>

class SqlBase;

// Builds the statistics lists of the two statistics tabs. Each list comes from one grouped
// pass over the log, whatever the number of models or packs.
class StatsManager
{
public:
    explicit StatsManager(SqlBase* db);

    void setDateRange(QDate start, QDate end);
    void setModelFilter(int modelId);
    void setAccuFilter(int accuId);

    // Appends one record per listed model (per pack); the caller owns them. Flags: 1 date
    // range, 2 one model, 4 one pack. A model or pack is listed when it exists and has at least
    // one complete entry among those that pass the filter.
    bool getModelStats(QVector<ModelStatEntry*>* out, int filterFlags);
    bool getAccuStats(QVector<AccuStatEntry*>* out, int filterFlags);
    // Both lists from one pass over the log, as the two calls above with these flags fill
    // them; fails when either would. Either list may be null.
    bool getStats(QVector<ModelStatEntry*>* models, QVector<AccuStatEntry*>* accus,
                  int filterFlags);

    SqlBase* m_pDb; // not owned
    int m_iModelFilter = -1;
    int m_iAccuFilter = -1;
};

#endif
