// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_LOGENTRYTABLEMODEL_H
#define TARVELO_LOGENTRYTABLEMODEL_H

#include "storage/logfilter.h"
#include "views/tablemodelbase.h"

#include <QHash>
#include <QString>

#include <vector>

class QTableView;
class LogBook;
class LogEntry;

// The log table: one row per log entry that passes the filter and the search, seven columns,
// read from the log book's one copy of the log by row. It keeps only row numbers: every log
// row in the order of the sort, and those of them it shows. It follows every change the log
// book announces. Pack description, model name, rest capacity and average current are worked
// out each time a cell is asked for.
//
// Sorting orders a permutation of the row numbers on typed keys (numbers and durations by
// value, names by their collation), with the cells that hold no value last and ties in the
// log's order of date and identifier; descending is ascending turned round, the empty cells
// still last. The search keeps the entries whose pack, model or date contains the text; it
// is answered from the packs and models that match, worked out once per text, not from cell
// texts. Neither sorts again: both walk the sorted permutation.
class LogEntryTableModel : public TableModelBase
{
    Q_OBJECT

public:
    enum Column {
        ColumnDate,
        ColumnAccu,
        ColumnTime,
        ColumnModel,
        ColumnCharged,
        ColumnRest,
        ColumnCurrent,
        ColumnCount
    };

    explicit LogEntryTableModel(LogBook* book = nullptr);

    void setLogBook(LogBook* book);
    void setFilter(const LogFilter& filter);
    const LogFilter& filter() const { return m_filter; }
    // Shows only the entries whose pack (description or brand), model name or date contains
    // the text, whatever its case; an empty text shows all.
    void setSearch(const QString& text);
    const QString& search() const { return m_strSearch; }
    // Dates and figures are written anew; a search for a date matches the new form.
    void localeChanged();

    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    int sortColumn() const { return m_iSortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    QVariant displayData(const QModelIndex& index) const override;
    QVariant foregroundData(const QModelIndex& index) const override;
    QVariant headerText(int section, Qt::Orientation orientation) const override;
    const EntryBase* entryAt(int row) const override;
    bool hasEntries() const override { return m_pBook != nullptr; }
    // The rows come from the log book only.
    bool appendEntry(EntryBase*) override { return false; }
    bool replaceEntry(int, EntryBase*) override { return false; }
    bool removeEntry(int) override { return false; }
    void setEntries(const QVector<EntryBase*>*) override {}

    // Attaches the model to a table the way the log is shown: whole rows, sorted by a click
    // on a column's title.
    void showIn(QTableView* table);

    const LogEntry* logEntryAt(int row) const;
    // The table row that shows the entry with that identifier, or -1.
    int rowOfId(int id) const;
    // The table row of the newest entry (last by date and identifier), or -1.
    int newestRow() const;

private:
    // A cell's sort key: no value at all sorts last.
    struct Key {
        bool empty;
        double value;
    };
    // What the sort and the search know of a pack or model.
    struct NameInfo {
        bool known = false;
        bool found = false; // its name contains the search
        int rank = 0;       // by description or name, in their collation
        int capacity = 0;
    };
    // By identifier: in an array for the small identifiers databases hand out, which keeps a
    // pass over a million entries cheap; in a hash for any other.
    struct Names {
        std::vector<NameInfo> dense;
        QHash<int, NameInfo> sparse;
        const NameInfo* find(int id) const;
        NameInfo& operator[](int id);
    };

    // The rest capacity in percent; false when the pack is unknown.
    bool restPercent(const LogEntry& entry, double* rest) const;
    Key keyOf(const LogEntry& entry) const;
    // Whether log row a comes before log row b in the current sort.
    bool before(int a, int b) const;
    bool shows(const LogEntry& entry) const;
    bool matchesSearch(const LogEntry& entry) const;

    // Packs and models as the sort and the search need them.
    void readNames();
    // Which packs, models and days hold the search text.
    void findSearched();
    void sortAll();
    QVector<int> shownRows() const;
    void rebuild();
    // The same rows in another order; persistent indexes (the selection) go along.
    void relayout();
    void onNamesChanged(bool sortedByThem);
    void refreshCells();
    // One entry moved from oldRow to newRow of the log (-1: not there before / any more).
    void follow(int oldRow, int newRow);
    // Where a log row stands, or would stand, in a list in the sort's order.
    int positionIn(const QVector<int>& rows, int logRow) const;

    LogBook* m_pBook = nullptr; // not owned
    LogFilter m_filter;
    QString m_strSearch;
    int m_iSortColumn = ColumnDate;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    Names m_accus;
    Names m_models;
    std::vector<char> m_searchDays; // by day from m_iFirstDay: the date's text matches
    qint64 m_iFirstDay = 0;
    QVector<int> m_all;  // every log row, in the sort's order
    QVector<int> m_rows; // those shown
};

#endif
