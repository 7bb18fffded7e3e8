// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_MODELENTRY_H
#define TARVELO_MODELENTRY_H

#include "records/entrybase.h"

#include <QString>

// A model (table modelList).
class ModelEntry : public EntryBase
{
public:
    static constexpr int kTypCount = 5;
    static constexpr int kTypRc = 4; // the type whose flights are timed in hours

    ModelEntry() = default;
    ModelEntry(SqlBase* db, QString name, int typ, int id);

    bool addEntry() override;
    bool changeEntry() override;
    bool deleteEntry() override;

    // Model type name of a stored index, translated; empty for an unknown index.
    static QString typText(int index);
    // "Heli: T1"
    QString toString() const;

    const QString& name() const { return m_strName; }
    void setName(const QString& v) { m_strName = v; }
    int typ() const { return m_iTyp; }
    void setTyp(int v) { m_iTyp = v; }

    QString m_strName = QStringLiteral("");
    int m_iTyp = 0;
};

#endif
