// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_CHARGERVALUES_H
#define TARVELO_CHARGERVALUES_H

// One decoded status line of a charger, in the program's units.
struct ChargerValues {
    static constexpr int kMaxCells = 10;
    static constexpr int kMaxTemperatures = 2;

    double m_adTemperature[kMaxTemperatures] = {}; // °C: internal, external
    double m_adCellVoltage[kMaxCells] = {};        // V, cell 1 first
    double m_dInputVoltage = 0.0;                  // V
    double m_dClampVoltage = 0.0;                  // V at the pack terminals
    double m_dChargeCurrent = 0.0;                 // A
    double m_dChargedCapacity = 0.0;               // mAh
    int m_iStatus = 0;
    int m_iCells = 0; // cells on the line; 0 before the first one
};

#endif
