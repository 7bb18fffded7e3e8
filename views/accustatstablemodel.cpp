#include "views/accustatstablemodel.h"

#include "records/statentry.h"

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

const StatEntry* AccuStatsTableModel::statEntry(int row) const
{
    return dynamic_cast<const AccuStatEntry*>(entryAt(row));
}
