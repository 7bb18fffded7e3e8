#ifndef TARVELO_LOGENTRYTABLEMODEL_H
#define TARVELO_LOGENTRYTABLEMODEL_H

#include "storage/logfilter.h"
#include "views/tablemodelbase.h"

class QTableView;
class LogBook;
class LogEntry;

// The log table: one row per log entry that passes the filter, seven columns, read from the
// log book's one copy of the log by row. It keeps only the row numbers it shows, and follows
// every change the log book announces. Pack description, model name, rest capacity and
// average current are worked out each time a cell is asked for.
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

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
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

    // Attaches the model to a table the way the log is shown: whole rows, one at a time.
    void showIn(QTableView* table);

    const LogEntry* logEntryAt(int row) const;
    // The table row that shows the entry with that identifier, or -1.
    int rowOfId(int id) const;

    // "mm:ss" below one hour, else "hh:mm:ss".
    static QString durationText(const QTime& time);

private:
    // The rest capacity in percent; false when the pack is unknown.
    bool restPercent(const LogEntry& entry, qint64* rest) const;
    void rebuild();
    void refreshCells();
    // One entry moved from oldRow to newRow of the log (-1: not there before / any more).
    void follow(int oldRow, int newRow);
    // Where a log row stands, or would stand, among the rows shown.
    int positionOf(int logRow) const;

    LogBook* m_pBook = nullptr; // not owned
    LogFilter m_filter;
    QVector<int> m_rows; // rows of the log shown, in order
};

#endif
