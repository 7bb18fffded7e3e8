// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_ENTRYBASE_H
#define TARVELO_ENTRYBASE_H

class SqlBase;

// A row of one of the stores' tables (or a computed statistics row). A record that knows
// its store can insert, update and delete itself through it; without one these answer false.
class EntryBase
{
public:
    EntryBase() = default;
    EntryBase(SqlBase* db, int id) : m_pDb(db), m_iId(id) {}
    EntryBase(const EntryBase&) = default;
    EntryBase& operator=(const EntryBase&) = default;
    virtual ~EntryBase();

    virtual bool addEntry() = 0;
    virtual bool changeEntry() = 0;
    virtual bool deleteEntry() = 0;

    SqlBase* db() const { return m_pDb; }
    void setDb(SqlBase* db) { m_pDb = db; }
    int id() const { return m_iId; }
    void setId(int id) { m_iId = id; }

    SqlBase* m_pDb = nullptr; // not owned
    int m_iId = -1;           // -1 while not stored
};

#endif
