// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "storage/logfilter.h"

#include "records/logentry.h"
#include "storage/sqlbase.h"

#include <numeric>

bool LogFilter::accepts(const LogEntry& e) const
{
    return (!byDate || (e.m_date >= start && e.m_date <= end)) &&
           (modelId < 0 || e.m_iModelId == modelId) && (accuId < 0 || e.m_iAccuId == accuId) &&
           (!incompleteOnly || e.m_iCharged == 0);
}

QVector<int> LogFilter::rows(const SqlBase& store) const
{
    const QVector<LogEntry*>& log = store.logCache();
    QVector<int> out;
    if (isOff()) {
        out.resize(log.size());
        std::iota(out.begin(), out.end(), 0);
        return out;
    }
    for (int row = 0; row < log.size(); ++row) {
        if (accepts(*log.at(row)))
            out.append(row);
    }
    return out;
}

int LogFilter::applyTo(SqlBase* store) const
{
    int flags = 0;
    if (byDate) {
        store->setFilterDates(start, end);
        flags |= SqlBase::FilterDate;
    }
    if (modelId >= 0) {
        store->setFilterModelId(modelId);
        flags |= SqlBase::FilterModel;
    }
    if (accuId >= 0) {
        store->setFilterAccuId(accuId);
        flags |= SqlBase::FilterAccu;
    }
    if (incompleteOnly)
        flags |= SqlBase::FilterIncomplete;
    return flags;
}

bool LogFilter::operator==(const LogFilter& o) const
{
    return byDate == o.byDate && (!byDate || (start == o.start && end == o.end)) &&
           modelId == o.modelId && accuId == o.accuId && incompleteOnly == o.incompleteOnly;
}
