// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "records/logentry.h"

#include "storage/sqlbase.h"

LogEntry::LogEntry(SqlBase* db, QDate date, QTime time, int charged, int accuId, int modelId,
                   int id)
    : EntryBase(db, id), m_date(date), m_time(time), m_iCharged(charged), m_iAccuId(accuId),
      m_iModelId(modelId)
{
}

bool LogEntry::addEntry()
{
    if (!m_pDb)
        return false;
    m_iId = m_pDb->addLogEntry(this);
    return m_iId != -1;
}

bool LogEntry::changeEntry()
{
    return m_pDb && m_pDb->changeLogEntry(m_iId, this);
}

bool LogEntry::deleteEntry()
{
    if (!m_pDb || !m_pDb->deleteLogEntry(m_iId))
        return false;
    m_iId = -1;
    return true;
}
