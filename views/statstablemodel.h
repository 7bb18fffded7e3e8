// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_STATSTABLEMODEL_H
#define TARVELO_STATSTABLEMODEL_H

#include "views/tablemodelbase.h"

#include <memory>
#include <vector>

class StatEntry;

// What the model and pack statistics tables have in common: six columns showing the figures
// of a statistics record exactly as it holds them, every cell coloured, nothing selectable.
// The subclasses give the header texts and the record kind they read.
class StatsTableModel : public TableModelBase
{
public:
    enum Column {
        ColumnName,
        ColumnUses,
        ColumnTotal,
        ColumnAverage,
        ColumnCurrent,
        ColumnRest,
        ColumnsInTable
    };

    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant displayData(const QModelIndex& index) const override;
    QVariant foregroundData(const QModelIndex& index) const override;

    // Shows these records and keeps them until the next call.
    void setRecords(std::vector<std::unique_ptr<StatEntry>> records);

protected:
    // The record on a row when it is of the model's kind, else null.
    virtual const StatEntry* statEntry(int row) const = 0;
    // The header of a section of a horizontal header, translated in `context`.
    static QVariant sectionTitle(const char* context, const char* const* titles, int section,
                                 Qt::Orientation orientation);

private:
    std::vector<std::unique_ptr<StatEntry>> m_records;
};

#endif
