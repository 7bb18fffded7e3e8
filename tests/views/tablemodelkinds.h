// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_TABLEMODELKINDS_H
#define TARVELO_TABLEMODELKINDS_H

// The three table models by number, for tests that run over all of them.

#include "views/accustatstablemodel.h"
#include "views/logentrytablemodel.h"
#include "views/modelstatstablemodel.h"

#include <memory>

enum TableModelKind { LogTable, ModelStatsTable, AccuStatsTable };

inline std::unique_ptr<TableModelBase> makeTableModel(int kind)
{
    switch (kind) {
    case LogTable:
        return std::make_unique<LogEntryTableModel>();
    case ModelStatsTable:
        return std::make_unique<ModelStatsTableModel>();
    default:
        return std::make_unique<AccuStatsTableModel>();
    }
}

#endif
