// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_TESTS_MYSQLTESTSERVER_H
#define TARVELO_TESTS_MYSQLTESTSERVER_H

#include "storage/mysqlconnection.h"

#include <mysql++.h>

#include <QString>
#include <QStringList>

#include <memory>

// The MariaDB server a test program was given through TARVELO_MYSQL_HOST, _PORT, _DB, _USER
// and _PASSWORD (scripts/with-mariadb starts one and sets them). Besides the stores under
// test it keeps a connection of its own for setting up databases and looking at what the
// stores wrote.
class MysqlTestServer
{
public:
    MysqlTestServer();
    ~MysqlTestServer();
    MysqlTestServer(const MysqlTestServer&) = delete;
    MysqlTestServer& operator=(const MysqlTestServer&) = delete;

    bool isGiven() const { return m_strMissing.isEmpty(); }
    // Why the server tests cannot run here.
    QString missingReason() const { return m_strMissing; }
    // For a test program's main when no server is given: says why on the standard error
    // stream and answers the exit code, 1 when TARVELO_MYSQL_REQUIRED asks for a server (the
    // server tests must run there), else 77, which ctest counts as skipped.
    int reportMissing() const;

    // A new database of this run (its name begins with the given database's), with the
    // tables of schema/mysql.sql when withTables; an existing one of that name is replaced.
    QString createDatabase(const QString& suffix, bool withTables = true);
    bool dropDatabase(const QString& name);
    // Empties the three tables.
    bool clearTables(const QString& database);

    // Runs statements on the helper connection in that database; false after a warning.
    bool exec(const QString& database, const QString& sql);
    // The first row of a query's result, as texts ("NULL" for null values).
    QStringList firstRow(const QString& database, const QString& sql);

    // A store on that database, not yet opened.
    MysqlConnection* newStore(const QString& database) const;

    QString m_strHost;
    int m_iPort = 0;
    QString m_strDatabase;
    QString m_strUser;
    QString m_strPassword;

private:
    bool use(const QString& database);

    QString m_strMissing;
    std::unique_ptr<mysqlpp::Connection> m_pAdmin;
};

#endif
