// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "views/tablemodelbase.h"

TableModelBase::TableModelBase() = default;

TableModelBase::~TableModelBase() = default;

int TableModelBase::rowCount(const QModelIndex& parent) const
{
    // A table: cells have no children, or views and proxies would descend into them.
    if (parent.isValid())
        return 0;
    return m_pEntries ? static_cast<int>(m_pEntries->size()) : 0;
}

QVariant TableModelBase::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.model() != this || !hasEntries() || index.row() >= rowCount() ||
        index.column() >= columnCount())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return displayData(index);
    case Qt::ForegroundRole:
        return foregroundData(index);
    default:
        return QVariant();
    }
}

QVariant TableModelBase::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    return headerText(section, orientation);
}

bool TableModelBase::appendEntry(EntryBase* entry)
{
    if (!m_pEntries)
        m_pEntries = std::make_unique<QVector<EntryBase*>>();
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    m_pEntries->append(entry);
    endInsertRows();
    return true;
}

bool TableModelBase::replaceEntry(int row, EntryBase* entry)
{
    if (!m_pEntries || row < 0 || row >= rowCount())
        return false;
    (*m_pEntries)[row] = entry;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    return true;
}

bool TableModelBase::removeEntry(int row)
{
    if (!m_pEntries || row < 0 || row >= rowCount())
        return false;
    beginRemoveRows(QModelIndex(), row, row);
    m_pEntries->remove(row);
    endRemoveRows();
    return true;
}

const EntryBase* TableModelBase::entryAt(int row) const
{
    if (!m_pEntries || row < 0 || row >= rowCount())
        return nullptr;
    return m_pEntries->at(row);
}

void TableModelBase::setEntries(const QVector<EntryBase*>* list)
{
    if (m_pEntries) {
        if (m_pEntries->isEmpty()) {
            m_pEntries.reset();
        } else {
            beginRemoveRows(QModelIndex(), 0, rowCount() - 1);
            m_pEntries.reset();
            endRemoveRows();
        }
    }
    if (!list || list->isEmpty())
        return;
    beginInsertRows(QModelIndex(), 0, static_cast<int>(list->size()) - 1);
    m_pEntries = std::make_unique<QVector<EntryBase*>>(*list);
    endInsertRows();
}

QColor TableModelBase::restColor(qint64 rest)
{
    return QColor(rest >= 20 ? Qt::darkGreen : Qt::red);
}

bool TableModelBase::hasEntries() const
{
    return m_pEntries && !m_pEntries->isEmpty();
}
