// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "records/accuentry.h"

#include "storage/sqlbase.h"

#include <QCoreApplication>

namespace
{
const char* const kTypNames[AccuEntry::kTypCount] = {
    QT_TRANSLATE_NOOP("AccuEntry", "LiPo"), QT_TRANSLATE_NOOP("AccuEntry", "LiFe"),
    QT_TRANSLATE_NOOP("AccuEntry", "NiMh"), QT_TRANSLATE_NOOP("AccuEntry", "NiCd"),
    QT_TRANSLATE_NOOP("AccuEntry", "Ene"),  QT_TRANSLATE_NOOP("AccuEntry", "Pb")};
const double kCellVoltages[AccuEntry::kTypCount] = {3.7, 3.2, 1.4, 1.4, 1.4, 2.0};
} // namespace

AccuEntry::AccuEntry(SqlBase* db, QString brand, QString descr, int capacity, int cells,
                     int strength, int typ, int id)
    : EntryBase(db, id), m_strBrand(std::move(brand)), m_strDescr(std::move(descr)),
      m_iCapacity(capacity), m_iCells(cells), m_iStrength(strength), m_iTyp(typ)
{
}

bool AccuEntry::addEntry()
{
    if (!m_pDb)
        return false;
    m_iId = m_pDb->addAccu(this);
    return m_iId != -1;
}

bool AccuEntry::changeEntry()
{
    return m_pDb && m_pDb->changeAccu(m_iId, this);
}

bool AccuEntry::deleteEntry()
{
    if (!m_pDb || !m_pDb->deleteAccu(m_iId))
        return false;
    m_iId = -1;
    return true;
}

QString AccuEntry::typText(int index)
{
    if (index < 0 || index >= kTypCount)
        return QString();
    return QCoreApplication::translate("AccuEntry", kTypNames[index]);
}

QString AccuEntry::toString() const
{
    return typText(m_iTyp) + QStringLiteral(": ") + m_strBrand + QStringLiteral(" - ") +
           QString::number(m_iCapacity) + QStringLiteral("mAh - ") + QString::number(m_iCells) +
           QStringLiteral("S - ") + QString::number(m_iStrength) + QStringLiteral("C - (") +
           m_strDescr + QStringLiteral(")");
}

double AccuEntry::cellVoltage() const
{
    if (m_iTyp < 0 || m_iTyp >= kTypCount)
        return 0.0;
    return kCellVoltages[m_iTyp];
}
