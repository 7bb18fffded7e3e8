// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "storage/statsmanager.h"

#include "storage/sqlbase.h"

namespace
{
// Only these bits select entries for the statistics; "incomplete only" would leave nothing.
constexpr int kStatsFlags = SqlBase::FilterDate | SqlBase::FilterModel | SqlBase::FilterAccu;

QString label(const ModelEntry& model)
{
    return model.m_strName;
}
QString label(const AccuEntry& accu)
{
    return accu.m_strDescr;
}

template <class Stat, class Record>
void appendListed(SqlBase* db, const QVector<int>& ids, const QHash<int, Usage::Totals>& rows,
                  bool (SqlBase::*lookup)(int, Record*), QVector<Stat*>* out)
{
    for (int id : ids) {
        const auto totals = rows.constFind(id);
        if (totals == rows.constEnd() || totals->completeUses() == 0)
            continue;
        Record record;
        if (!(db->*lookup)(id, &record))
            continue;
        auto* stat = new Stat;
        SqlBase::fillStats(*totals, stat);
        stat->m_iId = id;
        stat->m_strName = label(record);
        out->append(stat);
    }
}
} // namespace

StatsManager::StatsManager(SqlBase* db) : m_pDb(db) {}

void StatsManager::setDateRange(QDate start, QDate end)
{
    if (m_pDb)
        m_pDb->setFilterDates(start, end);
}

void StatsManager::setModelFilter(int modelId)
{
    if (m_pDb)
        m_pDb->setFilterModelId(modelId);
    m_iModelFilter = modelId;
}

void StatsManager::setAccuFilter(int accuId)
{
    if (m_pDb)
        m_pDb->setFilterAccuId(accuId);
    m_iAccuFilter = accuId;
}

bool StatsManager::getModelStats(QVector<ModelStatEntry*>* out, int filterFlags)
{
    return out && getStats(out, nullptr, filterFlags);
}

bool StatsManager::getAccuStats(QVector<AccuStatEntry*>* out, int filterFlags)
{
    return out && getStats(nullptr, out, filterFlags);
}

bool StatsManager::getStats(QVector<ModelStatEntry*>* models, QVector<AccuStatEntry*>* accus,
                            int filterFlags)
{
    if (!m_pDb || (!models && !accus))
        return false;
    QVector<int> modelIds, accuIds;
    if (models) {
        if (filterFlags & SqlBase::FilterModel)
            modelIds.append(m_iModelFilter);
        else if (!m_pDb->getModelIds(&modelIds))
            return false;
    }
    if (accus) {
        if (filterFlags & SqlBase::FilterAccu)
            accuIds.append(m_iAccuFilter);
        else if (!m_pDb->getAccuIds(&accuIds))
            return false;
    }
    QHash<int, Usage::Totals> byModel, byAccu;
    if (!m_pDb->readUsage(filterFlags & kStatsFlags, models ? &byModel : nullptr,
                          accus ? &byAccu : nullptr))
        return false;
    if (models)
        appendListed(m_pDb, modelIds, byModel, &SqlBase::getModel, models);
    if (accus)
        appendListed(m_pDb, accuIds, byAccu, &SqlBase::getAccu, accus);
    return true;
}
