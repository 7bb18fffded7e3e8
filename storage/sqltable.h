// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_SQLTABLE_H
#define TARVELO_SQLTABLE_H

#include "records/accuentry.h"
#include "records/logentry.h"
#include "records/modelentry.h"
#include "storage/fieldvisitor.h"

#include <QByteArray>
#include <QStringList>
#include <QVariantList>

class SqlBase;
class SqlDriver;

// What the store needs to know of a table to write, read and compare its records, the same
// for every backend. Rows are read by column position (SELECT *).
template <class Record> struct SqlTable {
    const char* name;
    const char* idColumn;
    // Every column but the identifier, which the database hands out.
    const char* insert;
    const char* restore; // the insert with the identifier first
    const char* update;  // the identifier is the last parameter
    const char* remove;
    const char* selectOne;
    const char* selectAll;
    void (*bind)(SqlDriver&, const Record&);
    Record (*fromRow)(SqlBase*, const SqlDriver&);
    void (*fields)(FieldVisitor&, const Record&);

    // The values as they compare: two records hold the same when their lists are equal.
    QVariantList values(const Record& record) const;
    QStringList texts(const Record& record) const;
    // Up to `limit` rows with identifiers above the one bound, in identifier order.
    QByteArray pageSql(int limit) const;
    // restore for `rows` records in one statement.
    QByteArray restoreRowsSql(int rows) const;
    // The values restore binds for one record.
    int restoreParameters() const;
};

extern const SqlTable<ModelEntry> kModelTable;
extern const SqlTable<AccuEntry> kAccuTable;
extern const SqlTable<LogEntry> kLogTable;

#endif
