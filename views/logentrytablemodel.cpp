// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "views/logentrytablemodel.h"

#include "records/logentry.h"
#include "records/numberformat.h"
#include "storage/logbook.h"
#include "storage/sqlbase.h"
#include "storage/usage.h"

#include <QCollator>
#include <QColor>
#include <QCoreApplication>
#include <QHeaderView>
#include <QTableView>

#include <algorithm>
#include <numeric>

namespace
{
const char* const kHeaders[LogEntryTableModel::ColumnCount] = {
    QT_TRANSLATE_NOOP("LogEntryTable", "Date"),
    QT_TRANSLATE_NOOP("LogEntryTable", "Accu"),
    QT_TRANSLATE_NOOP("LogEntryTable", "Time"),
    QT_TRANSLATE_NOOP("LogEntryTable", "Model"),
    QT_TRANSLATE_NOOP("LogEntryTable", "Charged"),
    QT_TRANSLATE_NOOP("LogEntryTable", "Rest capacity"),
    QT_TRANSLATE_NOOP("LogEntryTable", "Avg. current")};

constexpr int kDenseIds = 1 << 16;
// Days of the log whose text is looked up once each rather than per entry.
constexpr qint64 kDenseDays = 4000000;

const QVector<LogEntry*>& logOf(const LogBook* book)
{
    static const QVector<LogEntry*> none;
    return book && book->store() ? book->store()->logCache() : none;
}

// Ranks of names in the order a reader expects ("Pack 2" before "Pack 10", any case); equal
// names share a rank.
QHash<int, int> ranks(QVector<QPair<QString, int>> named)
{
    // The "C" locale knows no collation; numbers in names need one.
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English);
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(named.begin(), named.end(),
              [&](const auto& a, const auto& b) { return collator.compare(a.first, b.first) < 0; });
    QHash<int, int> out;
    int rank = 0;
    for (int i = 0; i < named.size(); ++i) {
        if (i > 0 && collator.compare(named[i - 1].first, named[i].first) != 0)
            ++rank;
        out.insert(named[i].second, rank);
    }
    return out;
}
} // namespace

const LogEntryTableModel::NameInfo* LogEntryTableModel::Names::find(int id) const
{
    if (id >= 0 && id < kDenseIds) {
        if (size_t(id) < dense.size() && dense[size_t(id)].known)
            return &dense[size_t(id)];
        return nullptr;
    }
    const auto it = sparse.constFind(id);
    return it == sparse.cend() ? nullptr : &*it;
}

LogEntryTableModel::NameInfo& LogEntryTableModel::Names::operator[](int id)
{
    if (id < 0 || id >= kDenseIds)
        return sparse[id];
    if (size_t(id) >= dense.size())
        dense.resize(size_t(id) + 1);
    return dense[size_t(id)];
}

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
        // Names of packs and models are looked up for each cell; the sort and the search
        // know them by identifier.
        connect(m_pBook, &LogBook::accusChanged, this, [this]() {
            onNamesChanged(m_iSortColumn == ColumnAccu || m_iSortColumn == ColumnRest);
        });
        connect(m_pBook, &LogBook::modelsChanged, this,
                [this]() { onNamesChanged(m_iSortColumn == ColumnModel); });
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
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The header asks the table's selection whether a whole column is selected, which for the
    // computed columns walks every row at each repaint; its own empty selection answers at once.
    QHeaderView* header = table->horizontalHeader();
    header->setSelectionModel(new QItemSelectionModel(this, header));
    header->setSortIndicator(m_iSortColumn, m_sortOrder);
    table->setSortingEnabled(true);
}

void LogEntryTableModel::setFilter(const LogFilter& filter)
{
    if (filter == m_filter)
        return;
    m_filter = filter;
    beginResetModel();
    m_rows = shownRows();
    endResetModel();
}

void LogEntryTableModel::setSearch(const QString& text)
{
    const QString search = text.trimmed();
    if (search == m_strSearch)
        return;
    m_strSearch = search;
    findSearched();
    beginResetModel();
    m_rows = shownRows();
    endResetModel();
}

void LogEntryTableModel::localeChanged()
{
    findSearched();
    if (!m_strSearch.isEmpty()) {
        beginResetModel();
        m_rows = shownRows();
        endResetModel();
    } else if (!m_rows.isEmpty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    }
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

void LogEntryTableModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        column = ColumnDate;
    if (column == m_iSortColumn && order == m_sortOrder)
        return;
    m_iSortColumn = column;
    m_sortOrder = order;
    relayout();
}

void LogEntryTableModel::readNames()
{
    m_accus = Names();
    m_models = Names();
    if (m_pBook) {
        QVector<QPair<QString, int>> named;
        for (const AccuEntry& accu : m_pBook->accus())
            named.append({accu.m_strDescr, accu.m_iId});
        const QHash<int, int> accuRanks = ranks(named);
        for (const AccuEntry& accu : m_pBook->accus())
            m_accus[accu.m_iId] = {true, false, accuRanks.value(accu.m_iId), accu.m_iCapacity};
        named.clear();
        for (const ModelEntry& model : m_pBook->models())
            named.append({model.m_strName, model.m_iId});
        const QHash<int, int> modelRanks = ranks(named);
        for (const ModelEntry& model : m_pBook->models())
            m_models[model.m_iId] = {true, false, modelRanks.value(model.m_iId), 0};
    }
    findSearched();
}

void LogEntryTableModel::findSearched()
{
    m_searchDays.clear();
    if (!m_pBook)
        return;
    const auto contains = [this](const QString& text) {
        return !m_strSearch.isEmpty() && text.contains(m_strSearch, Qt::CaseInsensitive);
    };
    for (const AccuEntry& accu : m_pBook->accus())
        m_accus[accu.m_iId].found = contains(accu.m_strDescr) || contains(accu.m_strBrand);
    for (const ModelEntry& model : m_pBook->models())
        m_models[model.m_iId].found = contains(model.m_strName);

    // The log is ordered by date: each day's text is tried once.
    const QVector<LogEntry*>& log = logOf(m_pBook);
    const auto firstValid = std::find_if(log.cbegin(), log.cend(),
                                         [](const LogEntry* e) { return e->m_date.isValid(); });
    if (m_strSearch.isEmpty() || firstValid == log.cend())
        return;
    m_iFirstDay = (*firstValid)->m_date.toJulianDay();
    const qint64 span = log.last()->m_date.toJulianDay() - m_iFirstDay + 1;
    if (span > kDenseDays)
        return;
    m_searchDays.assign(size_t(span), 0);
    QDate day;
    for (auto it = firstValid; it != log.cend(); ++it) {
        if ((*it)->m_date == day)
            continue;
        day = (*it)->m_date;
        m_searchDays[size_t(day.toJulianDay() - m_iFirstDay)] = contains(NumberFormat::date(day));
    }
}

bool LogEntryTableModel::matchesSearch(const LogEntry& e) const
{
    if (m_strSearch.isEmpty())
        return true;
    const NameInfo* accu = m_accus.find(e.m_iAccuId);
    const NameInfo* model = m_models.find(e.m_iModelId);
    if ((accu && accu->found) || (model && model->found))
        return true;
    if (!e.m_date.isValid())
        return false;
    const qint64 day = e.m_date.toJulianDay() - m_iFirstDay;
    if (day >= 0 && day < qint64(m_searchDays.size()))
        return m_searchDays[size_t(day)];
    return NumberFormat::date(e.m_date).contains(m_strSearch, Qt::CaseInsensitive);
}

bool LogEntryTableModel::shows(const LogEntry& entry) const
{
    return m_filter.accepts(entry) && matchesSearch(entry);
}

LogEntryTableModel::Key LogEntryTableModel::keyOf(const LogEntry& e) const
{
    switch (m_iSortColumn) {
    case ColumnAccu:
    case ColumnModel: {
        const NameInfo* info =
            m_iSortColumn == ColumnAccu ? m_accus.find(e.m_iAccuId) : m_models.find(e.m_iModelId);
        return {!info, info ? double(info->rank) : 0.0};
    }
    case ColumnTime:
        return {false, double(Usage::seconds(e.m_time))};
    case ColumnCharged:
        return {e.m_iCharged == 0, double(e.m_iCharged)};
    case ColumnRest: {
        const NameInfo* accu = m_accus.find(e.m_iAccuId);
        if (e.m_iCharged == 0 || !accu)
            return {true, 0.0};
        return {false, Usage::exactRestPercent(e.m_iCharged, accu->capacity)};
    }
    case ColumnCurrent: {
        const qint64 seconds = Usage::seconds(e.m_time);
        if (!Usage::isComplete(e.m_iCharged, seconds))
            return {true, 0.0};
        return {false, double(Usage::currentMilliAmps(e.m_iCharged, seconds))};
    }
    default:
        return {false, 0.0};
    }
}

bool LogEntryTableModel::before(int a, int b) const
{
    const QVector<LogEntry*>& log = logOf(m_pBook);
    const Key ka = keyOf(*log.at(a));
    const Key kb = keyOf(*log.at(b));
    if (ka.empty != kb.empty)
        return kb.empty;
    const bool descending = m_sortOrder == Qt::DescendingOrder;
    if (!ka.empty && ka.value != kb.value)
        return descending ? ka.value > kb.value : ka.value < kb.value;
    return descending ? a > b : a < b;
}

void LogEntryTableModel::sortAll()
{
    const QVector<LogEntry*>& log = logOf(m_pBook);
    const int n = int(log.size());
    m_all.resize(n);
    const bool descending = m_sortOrder == Qt::DescendingOrder;
    if (m_iSortColumn == ColumnDate) {
        // The log's own order.
        std::iota(m_all.begin(), m_all.end(), 0);
        if (descending)
            std::reverse(m_all.begin(), m_all.end());
        return;
    }
    struct Item {
        double value;
        int row;
    };
    std::vector<Item> items;
    items.reserve(size_t(n));
    QVector<int> empty;
    for (int row = 0; row < n; ++row) {
        const Key key = keyOf(*log.at(row));
        if (key.empty)
            empty.append(row);
        else
            items.push_back({key.value, row});
    }
    std::sort(items.begin(), items.end(), [](const Item& x, const Item& y) {
        return x.value < y.value || (x.value == y.value && x.row < y.row);
    });
    auto out = m_all.begin();
    if (descending) {
        out =
            std::transform(items.rbegin(), items.rend(), out, [](const Item& i) { return i.row; });
        std::reverse_copy(empty.cbegin(), empty.cend(), out);
    } else {
        out = std::transform(items.begin(), items.end(), out, [](const Item& i) { return i.row; });
        std::copy(empty.cbegin(), empty.cend(), out);
    }
}

QVector<int> LogEntryTableModel::shownRows() const
{
    if (m_filter.isOff() && m_strSearch.isEmpty())
        return m_all;
    // Decided in the log's order, in which the entries lie in memory, then taken in the sort's.
    const QVector<LogEntry*>& log = logOf(m_pBook);
    std::vector<char> shown(size_t(log.size()));
    for (qsizetype row = 0; row < log.size(); ++row)
        shown[size_t(row)] = shows(*log.at(row));
    QVector<int> out;
    for (int row : m_all) {
        if (shown[size_t(row)])
            out.append(row);
    }
    return out;
}

void LogEntryTableModel::rebuild()
{
    beginResetModel();
    readNames();
    sortAll();
    m_rows = shownRows();
    endResetModel();
}

void LogEntryTableModel::relayout()
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QVector<int> logRows;
    for (const QModelIndex& index : before)
        logRows.append(m_rows.value(index.row(), -1));
    sortAll();
    m_rows = shownRows();
    QModelIndexList after;
    for (int i = 0; i < before.size(); ++i) {
        const int at = logRows[i] < 0 ? -1 : positionIn(m_rows, logRows[i]);
        const bool found = at >= 0 && at < m_rows.size() && m_rows[at] == logRows[i];
        after.append(found ? index(at, before[i].column()) : QModelIndex());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void LogEntryTableModel::onNamesChanged(bool sortedByThem)
{
    readNames();
    if (!m_strSearch.isEmpty()) {
        // Entries may come and go with a name.
        beginResetModel();
        sortAll();
        m_rows = shownRows();
        endResetModel();
    } else if (sortedByThem) {
        relayout();
    } else {
        refreshCells();
    }
}

void LogEntryTableModel::refreshCells()
{
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

int LogEntryTableModel::positionIn(const QVector<int>& rows, int logRow) const
{
    return int(std::lower_bound(rows.cbegin(), rows.cend(), logRow,
                                [this](int a, int b) { return before(a, b); }) -
               rows.cbegin());
}

void LogEntryTableModel::follow(int oldRow, int newRow)
{
    // Renumber first, so that every row kept still names the entry it named: views ask for
    // the neighbours of a row while its change is announced, and the sort compares entries.
    const auto renumber = [oldRow, newRow](QVector<int>& rows) {
        int was = -1;
        for (int i = 0; i < rows.size(); ++i) {
            int& row = rows[i];
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
        return was;
    };
    const int wasInAll = renumber(m_all);
    if (wasInAll >= 0)
        m_all.remove(wasInAll);
    if (newRow >= 0)
        m_all.insert(positionIn(m_all, newRow), newRow);

    const int was = renumber(m_rows);
    const LogEntry* entry = newRow >= 0 && m_pBook ? m_pBook->entryAt(newRow) : nullptr;
    const bool shown = entry && shows(*entry);
    if (was >= 0 && !shown) {
        beginRemoveRows(QModelIndex(), was, was);
        m_rows.remove(was);
        endRemoveRows();
    } else if (was >= 0) {
        // Its place among the others, which are still in order.
        const auto begin = m_rows.cbegin();
        const auto less = [this](int a, int b) { return before(a, b); };
        const int to =
            int(std::lower_bound(begin, begin + was, newRow, less) - begin) +
            int(std::lower_bound(begin + was + 1, m_rows.cend(), newRow, less) - (begin + was + 1));
        if (to == was) {
            emit dataChanged(index(was, 0), index(was, ColumnCount - 1));
        } else {
            beginMoveRows(QModelIndex(), was, was, QModelIndex(), to > was ? to + 1 : to);
            m_rows.move(was, to);
            endMoveRows();
        }
    } else if (shown) {
        const int to = positionIn(m_rows, newRow);
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
    if (logRow < 0)
        return -1;
    const int at = positionIn(m_rows, logRow);
    return at < m_rows.size() && m_rows.at(at) == logRow ? at : -1;
}

int LogEntryTableModel::newestRow() const
{
    const auto newest = std::max_element(m_rows.cbegin(), m_rows.cend());
    return newest == m_rows.cend() ? -1 : int(newest - m_rows.cbegin());
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

bool LogEntryTableModel::restPercent(const LogEntry& entry, double* rest) const
{
    AccuEntry pack;
    if (!m_pBook || !m_pBook->accu(entry.m_iAccuId, &pack))
        return false;
    *rest = Usage::exactRestPercent(entry.m_iCharged, pack.m_iCapacity);
    return true;
}

QVariant LogEntryTableModel::displayData(const QModelIndex& index) const
{
    const LogEntry* entry = logEntryAt(index.row());
    if (!entry)
        return QVariant();
    switch (index.column()) {
    case ColumnDate:
        return NumberFormat::date(entry->m_date);
    case ColumnAccu: {
        AccuEntry pack;
        if (!m_pBook->accu(entry->m_iAccuId, &pack))
            return tr("(deleted pack #%1)").arg(entry->m_iAccuId);
        return pack.m_strDescr;
    }
    case ColumnTime:
        return NumberFormat::duration(entry->m_time);
    case ColumnModel: {
        ModelEntry model;
        if (!m_pBook->model(entry->m_iModelId, &model))
            return tr("(deleted model #%1)").arg(entry->m_iModelId);
        return model.m_strName;
    }
    case ColumnCharged:
        return NumberFormat::milliAmpHours(entry->m_iCharged);
    case ColumnRest: {
        // Not yet charged: nothing was measured.
        double rest = 0.0;
        if (entry->m_iCharged == 0 || !restPercent(*entry, &rest))
            return QVariant();
        return NumberFormat::percent(rest);
    }
    case ColumnCurrent: {
        const qint64 seconds = Usage::seconds(entry->m_time);
        if (!Usage::isComplete(entry->m_iCharged, seconds))
            return QVariant();
        return NumberFormat::amps(double(Usage::currentMilliAmps(entry->m_iCharged, seconds)) /
                                  1000.0);
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
        double rest = 0.0;
        if (!restPercent(*entry, &rest))
            return QColor(Qt::blue);
        return restColor(NumberFormat::roundedPercent(rest));
    }
    case ColumnCurrent:
        return QColor(Qt::blue);
    default:
        return QVariant();
    }
}

QVariant LogEntryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // A first click on a title sorts upwards.
    if (role == Qt::InitialSortOrderRole && orientation == Qt::Horizontal)
        return int(Qt::AscendingOrder);
    return TableModelBase::headerData(section, orientation, role);
}

QVariant LogEntryTableModel::headerText(int section, Qt::Orientation orientation) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QVariant();
    const QString title = QCoreApplication::translate("LogEntryTable", kHeaders[section]);
    // A duration's form changes at an hour; the title says which is which.
    if (section == ColumnTime)
        return title + QStringLiteral(" (%1)").arg(NumberFormat::durationPattern());
    return title;
}
