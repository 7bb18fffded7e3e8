#ifndef TARVELO_LOGENTRYTABLEMODEL_H
#define TARVELO_LOGENTRYTABLEMODEL_H

#include "views/tablemodelbase.h"

class LogEntry;

// The log table: one row per log entry (LogEntry records), seven columns. Pack description,
// model name, rest capacity and average current are read or worked out through the store
// each time a cell is asked for; nothing is cached.
class LogEntryTableModel : public TableModelBase
{
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

    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant displayData(const QModelIndex& index) const override;
    QVariant foregroundData(const QModelIndex& index) const override;
    QVariant headerText(int section, Qt::Orientation orientation) const override;

    // "mm:ss" below one hour, else "hh:mm:ss".
    static QString durationText(const QTime& time);

private:
    const LogEntry* logEntry(int row) const;
    // The rest capacity in percent; false without a store or when the pack cannot be read.
    bool restPercent(const LogEntry& entry, qint64* rest) const;
};

#endif
