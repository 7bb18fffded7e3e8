// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_TESTS_BOOKDUMP_H
#define TARVELO_TESTS_BOOKDUMP_H

// Every row of an open store as the program decodes it, one line a row, for comparing two log
// books; and statements on an SQLite file of the test's own.
#include "storage/sqlbase.h"
#include "storage/sqltable.h"

#include <QFile>
#include <QStringList>

#include <sqlite3.h>

template <class Record>
void dumpRows(const SqlTable<Record>& table, const Record& row, QStringList* out)
{
    QStringList values;
    for (const QVariant& v : table.values(row))
        values << v.toString();
    *out << QStringLiteral("%1 %2: %3")
                .arg(QLatin1String(table.name))
                .arg(row.m_iId)
                .arg(values.join(QLatin1Char('|')));
}

inline QStringList dumpStore(const SqlBase& store)
{
    QStringList out;
    for (const ModelEntry& m : store.m_models)
        dumpRows(kModelTable, m, &out);
    for (const AccuEntry& a : store.m_accus)
        dumpRows(kAccuTable, a, &out);
    for (const LogEntry* e : store.logById())
        dumpRows(kLogTable, *e, &out);
    return out;
}

inline bool sqliteExec(const QString& file, const QByteArray& sql)
{
    sqlite3* db = nullptr;
    char* error = nullptr;
    const bool ok = sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE,
                                    nullptr) == SQLITE_OK &&
                    sqlite3_exec(db, sql.constData(), nullptr, nullptr, &error) == SQLITE_OK;
    if (!ok)
        qWarning("sqlite: %s", error ? error : sqlite3_errmsg(db));
    sqlite3_free(error);
    sqlite3_close(db);
    return ok;
}

#endif
