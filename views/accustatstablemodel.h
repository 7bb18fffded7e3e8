#ifndef TARVELO_ACCUSTATSTABLEMODEL_H
#define TARVELO_ACCUSTATSTABLEMODEL_H

#include "views/statstablemodel.h"

// The statistics per pack: one row per AccuStatEntry record.
class AccuStatsTableModel : public StatsTableModel
{
public:
    QVariant headerText(int section, Qt::Orientation orientation) const override;

protected:
    const StatEntry* statEntry(int row) const override;
};

#endif
