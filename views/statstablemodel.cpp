#include "views/statstablemodel.h"

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
        return stat->totalText();
    case ColumnAverage:
        return stat->m_timeAverage.toString(QStringLiteral("hh:mm:ss"));
    case ColumnCurrent:
        return QString::number(stat->m_dAvgCurrent, 'g', 6) + QStringLiteral(" A");
    case ColumnRest:
        return QStringLiteral("%1 %").arg(stat->m_iAvgRest);
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
        return restColor(stat->m_iAvgRest);
    return QColor(Qt::blue);
}

QVariant StatsTableModel::sectionTitle(const char* context, const char* const* titles, int section,
                                       Qt::Orientation orientation)
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnsInTable)
        return QVariant();
    return QCoreApplication::translate(context, titles[section]);
}
