// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "views/modelstatstablemodel.h"

#include "records/statentry.h"

namespace
{
const char* const kHeaders[StatsTableModel::ColumnsInTable] = {
    QT_TRANSLATE_NOOP("ModelStatsTable", "Model"),
    QT_TRANSLATE_NOOP("ModelStatsTable", "Number of flights"),
    QT_TRANSLATE_NOOP("ModelStatsTable", "overall flight time"),
    QT_TRANSLATE_NOOP("ModelStatsTable", "avg. time per flight"),
    QT_TRANSLATE_NOOP("ModelStatsTable", "avg. current"),
    QT_TRANSLATE_NOOP("ModelStatsTable", "avg. rest capacity")};
} // namespace

QVariant ModelStatsTableModel::headerText(int section, Qt::Orientation orientation) const
{
    return sectionTitle("ModelStatsTable", kHeaders, section, orientation);
}

const StatEntry* ModelStatsTableModel::statEntry(int row) const
{
    return dynamic_cast<const ModelStatEntry*>(entryAt(row));
}
