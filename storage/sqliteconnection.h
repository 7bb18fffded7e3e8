// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_SQLITECONNECTION_H
#define TARVELO_SQLITECONNECTION_H

#include "storage/sqlengine.h"

struct sqlite3;
class SqliteDriver;

// The store over a local SQLite database file. Opens an existing log book only: never creates
// a file, and refuses a file that is not an SQLite database or lacks one of the three tables
// or columns.
class SqLiteConnection : public SqlEngine
{
public:
    explicit SqLiteConnection(QString fileName);

    // Texts of failures start with "SqLiteError: ".
    QString lastErrorText() const override;

    // How long a change waits for another program's write to finish before it gives up.
    // Takes effect at the next connect.
    void setBusyTimeout(int milliseconds);
    // Whether an open checks the whole file for damage (on by default). Takes effect at the
    // next connect.
    void setCheckAtOpen(bool check);
    // The open database, or null; for tools that run their own statements on it.
    sqlite3* handle() const;

private:
    SqliteDriver* m_pSqliteDriver; // owned by the engine
};

#endif
