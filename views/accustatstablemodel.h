// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_ACCUSTATSTABLEMODEL_H
#define TARVELO_ACCUSTATSTABLEMODEL_H

#include "views/statstablemodel.h"

// The statistics per pack: one row per AccuStatEntry record. A pack near or past the cycle
// limit of its chemistry has its row marked, with a tip that says why.
class AccuStatsTableModel : public StatsTableModel
{
public:
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerText(int section, Qt::Orientation orientation) const override;

protected:
    const StatEntry* statEntry(int row) const override;
};

#endif
