// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_ACCUENTRY_H
#define TARVELO_ACCUENTRY_H

#include "records/entrybase.h"

#include <QString>

// A battery pack (table accus).
class AccuEntry : public EntryBase
{
public:
    static constexpr int kTypCount = 6;

    AccuEntry() = default;
    AccuEntry(SqlBase* db, QString brand, QString descr, int capacity, int cells, int strength,
              int typ, int id);

    bool addEntry() override;
    bool changeEntry() override;
    bool deleteEntry() override;

    // Chemistry name of a stored index, translated; empty for an unknown index.
    static QString typText(int index);
    // "LiPo: Xa - 2200mAh - 3S - 25C - (red)"
    QString toString() const;
    // Nominal voltage of one cell of this chemistry; 0.0 for an unknown index.
    double cellVoltage() const;

    const QString& brand() const { return m_strBrand; }
    void setBrand(const QString& v) { m_strBrand = v; }
    const QString& descr() const { return m_strDescr; }
    void setDescr(const QString& v) { m_strDescr = v; }
    int capacity() const { return m_iCapacity; }
    void setCapacity(int v) { m_iCapacity = v; }
    int cells() const { return m_iCells; }
    void setCells(int v) { m_iCells = v; }
    int strength() const { return m_iStrength; }
    void setStrength(int v) { m_iStrength = v; }
    int typ() const { return m_iTyp; }
    void setTyp(int v) { m_iTyp = v; }

    QString m_strBrand = QStringLiteral("");
    QString m_strDescr = QStringLiteral("");
    int m_iCapacity = 0;
    int m_iCells = 0;
    int m_iStrength = 0;
    int m_iTyp = 0;
};

#endif
