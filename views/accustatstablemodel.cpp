// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "views/accustatstablemodel.h"

#include "records/statentry.h"
#include "views/wearmark.h"

namespace
{
const char* const kHeaders[StatsTableModel::ColumnsInTable] = {
    QT_TRANSLATE_NOOP("AccuStatsTable", "Accu"),
    QT_TRANSLATE_NOOP("AccuStatsTable", "Number of cycles"),
    QT_TRANSLATE_NOOP("AccuStatsTable", "overall used time"),
    QT_TRANSLATE_NOOP("AccuStatsTable", "avg. time per use"),
    QT_TRANSLATE_NOOP("AccuStatsTable", "avg. current"),
    QT_TRANSLATE_NOOP("AccuStatsTable", "avg. rest capacity")};
} // namespace

QVariant AccuStatsTableModel::headerText(int section, Qt::Orientation orientation) const
{
    return sectionTitle("AccuStatsTable", kHeaders, section, orientation);
}

QVariant AccuStatsTableModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::BackgroundRole && role != Qt::ToolTipRole)
        return StatsTableModel::data(index, role);
    const auto* stat = index.isValid() && index.model() == this
                           ? dynamic_cast<const AccuStatEntry*>(entryAt(index.row()))
                           : nullptr;
    if (!stat)
        return QVariant();
    if (role == Qt::ToolTipRole) {
        const QString why = WearMark::reason(stat->m_iCycles, stat->m_iCycleLimit, stat->m_iTyp);
        return why.isEmpty() ? QVariant() : QVariant(why);
    }
    const QColor mark = WearMark::color(PackHistory::wear(stat->m_iCycles, stat->m_iCycleLimit));
    return mark.isValid() ? QVariant(mark) : QVariant();
}

const StatEntry* AccuStatsTableModel::statEntry(int row) const
{
    return dynamic_cast<const AccuStatEntry*>(entryAt(row));
}
