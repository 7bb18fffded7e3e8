// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_SQLITESCHEMA_H
#define TARVELO_SQLITESCHEMA_H

#include <QString>

// New, empty SQLite log books. The program itself never creates one when it connects; the
// database tool, the tests and the benchmarks do.
class SqliteSchema
{
public:
    // The statements that create the three tables (schema/sqlite.sql).
    static QString text();
    // Creates the file and the tables in it. Refuses a path where something already exists,
    // and leaves no file behind when it fails; *error (when given) then says why.
    static bool createDatabase(const QString& fileName, QString* error);
};

#endif
