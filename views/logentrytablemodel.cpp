#include "views/logentrytablemodel.h"

#include "records/logentry.h"
#include "storage/sqlbase.h"
#include "storage/usage.h"

#include <QColor>
#include <QCoreApplication>

namespace
{
const char* const kHeaders[LogEntryTableModel::ColumnCount] = {
    QT_TRANSLATE_NOOP("LogEntryTable", "Date"),
    QT_TRANSLATE_NOOP("LogEntryTable", "Accu"),
    QT_TRANSLATE_NOOP("LogEntryTable", "Time (hour:min:sec)"),
    QT_TRANSLATE_NOOP("LogEntryTable", "Model"),
    QT_TRANSLATE_NOOP("LogEntryTable", "Charged"),
    QT_TRANSLATE_NOOP("LogEntryTable", "Rest capacity"),
    QT_TRANSLATE_NOOP("LogEntryTable", "Avg. current")};
} // namespace

int LogEntryTableModel::columnCount(const QModelIndex& parent) const
{
    // A table: cells have no children, or views and proxies would descend into them.
    if (parent.isValid())
        return 0;
    return ColumnCount;
}

Qt::ItemFlags LogEntryTableModel::flags(const QModelIndex& index) const
{
    // The computed columns can be neither selected nor focused.
    if (!index.isValid() || index.column() >= ColumnRest)
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}

const LogEntry* LogEntryTableModel::logEntry(int row) const
{
    return dynamic_cast<const LogEntry*>(entryAt(row));
}

QString LogEntryTableModel::durationText(const QTime& time)
{
    return time.toString(time.hour() == 0 ? QStringLiteral("mm:ss") : QStringLiteral("hh:mm:ss"));
}

bool LogEntryTableModel::restPercent(const LogEntry& entry, qint64* rest) const
{
    AccuEntry pack;
    if (!m_pDb || !m_pDb->getAccu(entry.m_iAccuId, &pack))
        return false;
    *rest = Usage::restPercent(entry.m_iCharged, pack.m_iCapacity);
    return true;
}

QVariant LogEntryTableModel::displayData(const QModelIndex& index) const
{
    const LogEntry* entry = logEntry(index.row());
    if (!entry)
        return QVariant();
    switch (index.column()) {
    case ColumnDate:
        return entry->m_date;
    case ColumnAccu: {
        AccuEntry pack;
        if (!m_pDb || !m_pDb->getAccu(entry->m_iAccuId, &pack))
            return QString();
        return pack.m_strDescr;
    }
    case ColumnTime:
        return durationText(entry->m_time);
    case ColumnModel: {
        ModelEntry model;
        if (!m_pDb || !m_pDb->getModel(entry->m_iModelId, &model))
            return QString();
        return model.m_strName;
    }
    case ColumnCharged:
        return QStringLiteral("%1 mAh").arg(entry->m_iCharged);
    case ColumnRest: {
        qint64 rest = 0;
        if (!restPercent(*entry, &rest))
            return QVariant();
        return QStringLiteral("%1 %").arg(rest);
    }
    case ColumnCurrent: {
        const qint64 milliAmps =
            Usage::currentMilliAmps(entry->m_iCharged, Usage::seconds(entry->m_time));
        return QString::number(double(milliAmps) / 1000.0, 'g', 6) + QStringLiteral(" A");
    }
    default:
        return QVariant();
    }
}

QVariant LogEntryTableModel::foregroundData(const QModelIndex& index) const
{
    const LogEntry* entry = logEntry(index.row());
    if (!entry)
        return QVariant();
    switch (index.column()) {
    case ColumnRest: {
        qint64 rest = 0;
        if (!restPercent(*entry, &rest))
            return QColor(Qt::blue);
        return restColor(rest);
    }
    case ColumnCurrent:
        return QColor(Qt::blue);
    default:
        return QVariant();
    }
}

QVariant LogEntryTableModel::headerText(int section, Qt::Orientation orientation) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QVariant();
    return QCoreApplication::translate("LogEntryTable", kHeaders[section]);
}
