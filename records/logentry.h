// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_LOGENTRY_H
#define TARVELO_LOGENTRY_H

#include "records/entrybase.h"

#include <QDate>
#include <QTime>

// One use of a pack in a model (table logList). m_time is a duration: the time of day that
// lies that long after midnight.
class LogEntry : public EntryBase
{
public:
    LogEntry() = default;
    LogEntry(SqlBase* db, QDate date, QTime time, int charged, int accuId, int modelId, int id);

    bool addEntry() override;
    bool changeEntry() override;
    bool deleteEntry() override;

    QDate date() const { return m_date; }
    void setDate(const QDate& v) { m_date = v; }
    QTime time() const { return m_time; }
    void setTime(const QTime& v) { m_time = v; }
    int charged() const { return m_iCharged; }
    void setCharged(int v) { m_iCharged = v; }
    int accuId() const { return m_iAccuId; }
    void setAccuId(int v) { m_iAccuId = v; }
    int modelId() const { return m_iModelId; }
    void setModelId(int v) { m_iModelId = v; }

    QDate m_date;
    QTime m_time;
    int m_iCharged = 0; // mAh charged back; 0 = not yet charged
    int m_iAccuId = 0;
    int m_iModelId = 0;
};

#endif
