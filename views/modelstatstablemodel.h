// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_MODELSTATSTABLEMODEL_H
#define TARVELO_MODELSTATSTABLEMODEL_H

#include "views/statstablemodel.h"

// The statistics per model: one row per ModelStatEntry record.
class ModelStatsTableModel : public StatsTableModel
{
public:
    QVariant headerText(int section, Qt::Orientation orientation) const override;

protected:
    const StatEntry* statEntry(int row) const override;
};

#endif
