// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_TABLEMODELBASE_H
#define TARVELO_TABLEMODELBASE_H

#include <QAbstractTableModel>
#include <QColor>
#include <QVector>

#include <memory>

class EntryBase;
class SqlBase;

// The rows of one of the main window's tables: a list of record pointers that the caller owns
// and keeps alive while they are shown, and the store that derived columns consult. The
// subclasses give the columns; the list operations and the role dispatch live here.
class TableModelBase : public QAbstractTableModel
{
    Q_OBJECT

public:
    TableModelBase();
    ~TableModelBase() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override = 0;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override = 0;

    // Appends one row; always succeeds.
    virtual bool appendEntry(EntryBase* entry);
    // Puts another record on an existing row; false for a row outside the list.
    virtual bool replaceEntry(int row, EntryBase* entry);
    // Removes one row (not its record); false for a row outside the list.
    virtual bool removeEntry(int row);
    // The record on a row, or null outside the list.
    virtual const EntryBase* entryAt(int row) const;
    virtual QVariant displayData(const QModelIndex& index) const = 0;
    virtual QVariant foregroundData(const QModelIndex& index) const = 0;
    virtual QVariant headerText(int section, Qt::Orientation orientation) const = 0;
    // Replaces the whole list with a copy of the pointers; null or empty empties the model.
    virtual void setEntries(const QVector<EntryBase*>* list);
    virtual bool hasEntries() const;

    SqlBase* m_pDb = nullptr; // not owned; assigned by the main window after each connect

protected:
    // Text colour of a rest capacity in percent: dark green, or red when the pack was drawn
    // below a fifth of its capacity.
    static QColor restColor(qint64 rest);

    std::unique_ptr<QVector<EntryBase*>> m_pEntries; // the records are not owned
};

#endif
