#include "views/logentrytablemodel.h"

#include "records/logentry.h"
#include "storage/logbook.h"
#include "storage/usage.h"

#include <QColor>
#include <QCoreApplication>
#include <QHeaderView>
#include <QTableView>

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

LogEntryTableModel::LogEntryTableModel(LogBook* book)
{
    setLogBook(book);
}

void LogEntryTableModel::setLogBook(LogBook* book)
{
    if (m_pBook)
        disconnect(m_pBook, nullptr, this, nullptr);
    m_pBook = book;
    if (m_pBook) {
        connect(m_pBook, &LogBook::storeReplaced, this, &LogEntryTableModel::rebuild);
        connect(m_pBook, &LogBook::reloaded, this, &LogEntryTableModel::rebuild);
        // Names of packs and models are looked up for each cell.
        connect(m_pBook, &LogBook::accusChanged, this, &LogEntryTableModel::refreshCells);
        connect(m_pBook, &LogBook::modelsChanged, this, &LogEntryTableModel::refreshCells);
        connect(m_pBook, &LogBook::entryAdded, this, [this](int row) { follow(-1, row); });
        connect(m_pBook, &LogBook::entryChanged, this, &LogEntryTableModel::follow);
        connect(m_pBook, &LogBook::entryRemoved, this, [this](int row) { follow(row, -1); });
    }
    rebuild();
}

void LogEntryTableModel::showIn(QTableView* table)
{
    table->setModel(this);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    // The header asks the table's selection whether a whole column is selected, which for the
    // computed columns walks every row at each repaint; its own empty selection answers at once.
    table->horizontalHeader()->setSelectionModel(
        new QItemSelectionModel(this, table->horizontalHeader()));
}

void LogEntryTableModel::setFilter(const LogFilter& filter)
{
    if (filter == m_filter)
        return;
    m_filter = filter;
    rebuild();
}

void LogEntryTableModel::rebuild()
{
    beginResetModel();
    m_rows = m_pBook && m_pBook->store() ? m_filter.rows(*m_pBook->store()) : QVector<int>();
    endResetModel();
}

void LogEntryTableModel::refreshCells()
{
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

int LogEntryTableModel::positionOf(int logRow) const
{
    return int(std::lower_bound(m_rows.cbegin(), m_rows.cend(), logRow) - m_rows.cbegin());
}

void LogEntryTableModel::follow(int oldRow, int newRow)
{
    // Renumber first, so that every row shown still names the entry it showed: views ask for
    // the neighbours of a row while its change is announced.
    // Rows before both places keep their numbers.
    const int first = oldRow < 0 ? newRow : newRow < 0 ? oldRow : qMin(oldRow, newRow);
    int was = -1;
    for (int i = positionOf(first); i < m_rows.size(); ++i) {
        int& row = m_rows[i];
        if (row == oldRow) {
            was = i;
            row = newRow;
            continue;
        }
        if (oldRow >= 0 && row > oldRow)
            --row;
        if (newRow >= 0 && row >= newRow)
            ++row;
    }
    const LogEntry* entry = newRow >= 0 && m_pBook ? m_pBook->entryAt(newRow) : nullptr;
    const bool shown = entry && m_filter.accepts(*entry);
    if (was >= 0 && !shown) {
        beginRemoveRows(QModelIndex(), was, was);
        m_rows.remove(was);
        endRemoveRows();
    } else if (was >= 0) {
        // Its place among the others, which are still in order.
        const auto begin = m_rows.begin();
        const int to =
            int(std::lower_bound(begin, begin + was, newRow) - begin) +
            int(std::lower_bound(begin + was + 1, m_rows.end(), newRow) - (begin + was + 1));
        if (to == was) {
            emit dataChanged(index(was, 0), index(was, ColumnCount - 1));
        } else {
            beginMoveRows(QModelIndex(), was, was, QModelIndex(), to > was ? to + 1 : to);
            m_rows.move(was, to);
            endMoveRows();
        }
    } else if (shown) {
        const int to = positionOf(newRow);
        beginInsertRows(QModelIndex(), to, to);
        m_rows.insert(to, newRow);
        endInsertRows();
    }
}

int LogEntryTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

const EntryBase* LogEntryTableModel::entryAt(int row) const
{
    return logEntryAt(row);
}

const LogEntry* LogEntryTableModel::logEntryAt(int row) const
{
    if (!m_pBook || row < 0 || row >= m_rows.size())
        return nullptr;
    return m_pBook->entryAt(m_rows.at(row));
}

int LogEntryTableModel::rowOfId(int id) const
{
    const int logRow = m_pBook ? m_pBook->rowOf(id) : -1;
    const int at = positionOf(logRow);
    return logRow >= 0 && at < m_rows.size() && m_rows.at(at) == logRow ? at : -1;
}

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

QString LogEntryTableModel::durationText(const QTime& time)
{
    return time.toString(time.hour() == 0 ? QStringLiteral("mm:ss") : QStringLiteral("hh:mm:ss"));
}

bool LogEntryTableModel::restPercent(const LogEntry& entry, qint64* rest) const
{
    AccuEntry pack;
    if (!m_pBook || !m_pBook->accu(entry.m_iAccuId, &pack))
        return false;
    *rest = Usage::restPercent(entry.m_iCharged, pack.m_iCapacity);
    return true;
}

QVariant LogEntryTableModel::displayData(const QModelIndex& index) const
{
    const LogEntry* entry = logEntryAt(index.row());
    if (!entry)
        return QVariant();
    switch (index.column()) {
    case ColumnDate:
        return entry->m_date;
    case ColumnAccu: {
        AccuEntry pack;
        if (!m_pBook->accu(entry->m_iAccuId, &pack))
            return tr("(deleted pack #%1)").arg(entry->m_iAccuId);
        return pack.m_strDescr;
    }
    case ColumnTime:
        return durationText(entry->m_time);
    case ColumnModel: {
        ModelEntry model;
        if (!m_pBook->model(entry->m_iModelId, &model))
            return tr("(deleted model #%1)").arg(entry->m_iModelId);
        return model.m_strName;
    }
    case ColumnCharged:
        return QStringLiteral("%1 mAh").arg(entry->m_iCharged);
    case ColumnRest: {
        // Not yet charged: nothing was measured.
        qint64 rest = 0;
        if (entry->m_iCharged == 0 || !restPercent(*entry, &rest))
            return QVariant();
        return QStringLiteral("%1 %").arg(rest);
    }
    case ColumnCurrent: {
        if (!Usage::isComplete(entry->m_iCharged, Usage::seconds(entry->m_time)))
            return QVariant();
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
    const LogEntry* entry = logEntryAt(index.row());
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
