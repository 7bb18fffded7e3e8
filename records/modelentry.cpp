// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "records/modelentry.h"

#include "storage/sqlbase.h"

#include <QCoreApplication>

namespace
{
const char* const kTypNames[ModelEntry::kTypCount] = {
    QT_TRANSLATE_NOOP("ModelEntry", "Plane"), QT_TRANSLATE_NOOP("ModelEntry", "Heli"),
    QT_TRANSLATE_NOOP("ModelEntry", "Car"), QT_TRANSLATE_NOOP("ModelEntry", "Boat"),
    QT_TRANSLATE_NOOP("ModelEntry", "RC")};
} // namespace

ModelEntry::ModelEntry(SqlBase* db, QString name, int typ, int id)
    : EntryBase(db, id), m_strName(std::move(name)), m_iTyp(typ)
{
}

bool ModelEntry::addEntry()
{
    if (!m_pDb)
        return false;
    m_iId = m_pDb->addModel(this);
    return m_iId != -1;
}

bool ModelEntry::changeEntry()
{
    return m_pDb && m_pDb->changeModel(m_iId, this);
}

bool ModelEntry::deleteEntry()
{
    if (!m_pDb || !m_pDb->deleteModel(m_iId))
        return false;
    m_iId = -1;
    return true;
}

QString ModelEntry::typText(int index)
{
    if (index < 0 || index >= kTypCount)
        return QString();
    return QCoreApplication::translate("ModelEntry", kTypNames[index]);
}

QString ModelEntry::toString() const
{
    return typText(m_iTyp) + QStringLiteral(": ") + m_strName;
}
