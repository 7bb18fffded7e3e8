// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "views/statstablemodel.h"

#include "records/numberformat.h"
#include "records/statentry.h"

#include <QCoreApplication>

void StatsTableModel::setRecords(std::vector<std::unique_ptr<StatEntry>> records)
{
    QVector<EntryBase*> shown;
    for (const auto& record : records)
        shown.append(record.get());
    setEntries(&shown);
    m_records = std::move(records);
}

int StatsTableModel::columnCount(const QModelIndex& parent) const
{
    // A table: cells have no children, or views and proxies would descend into them.
    if (parent.isValid())
        return 0;
    return ColumnsInTable;
}

Qt::ItemFlags StatsTableModel::flags(const QModelIndex&) const
{
    return Qt::NoItemFlags;
}

QVariant StatsTableModel::displayData(const QModelIndex& index) const
{
    const StatEntry* stat = statEntry(index.row());
    if (!stat)
        return QVariant();
    switch (index.column()) {
    case ColumnName:
        return stat->m_strName;
    case ColumnUses:
        return stat->m_iCount;
    case ColumnTotal:
        // Totals run past a day: hours beyond 24 rather than a wrapped time of day.
        return NumberFormat::duration(stat->totalSeconds());
    case ColumnAverage:
        return NumberFormat::duration(stat->m_timeAverage);
    case ColumnCurrent:
        return NumberFormat::amps(stat->m_dAvgCurrent);
    case ColumnRest:
        return NumberFormat::percent(stat->m_dAvgRest);
    default:
        return QVariant();
    }
}

QVariant StatsTableModel::foregroundData(const QModelIndex& index) const
{
    const StatEntry* stat = statEntry(index.row());
    if (!stat || index.column() < 0 || index.column() >= ColumnsInTable)
        return QVariant();
    if (index.column() == ColumnRest)
        return restColor(NumberFormat::roundedPercent(stat->m_dAvgRest));
    return QColor(Qt::blue);
}

QVariant StatsTableModel::sectionTitle(const char* context, const char* const* titles, int section,
                                       Qt::Orientation orientation)
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnsInTable)
        return QVariant();
    const QString title = QCoreApplication::translate(context, titles[section]);
    // A duration's form changes at an hour; the heading says which is which.
    if (section == ColumnTotal || section == ColumnAverage)
        return title + QStringLiteral(" (%1)").arg(NumberFormat::durationPattern());
    return title;
}
