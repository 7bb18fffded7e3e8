// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_SQLITESCHEMA_H
#define TARVELO_SQLITESCHEMA_H

#include <QByteArray>
#include <QString>

// New, empty SQLite log books. The program itself never creates one when it connects; the
// database tool, the tests and the benchmarks do.
class SqliteSchema
{
public:
    // SQLite's application id of a Tarvelo log book, the bytes "Tvlo" at offset 68 of the
    // file, by which file managers tell it from other SQLite files. Books made before it have
    // 0 there and open all the same.
    static constexpr quint32 kApplicationId = 0x54766C6F;
    // The statement that sets it, for a new file made other than by createDatabase().
    static QByteArray applicationIdSql();

    // The statements that create the three tables (schema/sqlite.sql).
    static QString text();
    // Creates the file and the tables in it. Refuses a path where something already exists,
    // and leaves no file behind when it fails; *error (when given) then says why.
    static bool createDatabase(const QString& fileName, QString* error);
};

#endif
