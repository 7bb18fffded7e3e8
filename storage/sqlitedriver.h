// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_SQLITEDRIVER_H
#define TARVELO_SQLITEDRIVER_H

#include "storage/sqldriver.h"

#include <thread>

struct sqlite3;
struct sqlite3_stmt;

// The SQLite C API behind the store: a local database file, never created here.
class SqliteDriver : public SqlDriver
{
public:
    SqliteDriver() = default;
    ~SqliteDriver() override;
    SqliteDriver(const SqliteDriver&) = delete;
    SqliteDriver& operator=(const SqliteDriver&) = delete;

    bool open(const SqlBase& store, QString* problem) override;
    void close() override;
    bool isOpen() const override { return m_pDb != nullptr; }
    bool ping() override { return m_pDb != nullptr; }

    bool prepare(const QByteArray& sql) override;
    void bind(int value) override;
    void bind(const QString& text) override;
    void bind(const QDate& date) override;
    void bind(const QTime& duration) override;
    bool exec() override;
    bool next() override;
    void finish() override;

    bool isNull(int column) const override;
    int intAt(int column) const override;
    QByteArrayView bytesAt(int column) const override;

    qint64 lastInsertId() const override;
    qint64 rowsMatched() const override;

    bool failed() const override { return m_bFailed; }
    QString errorText() const override { return m_strError; }
    bool connectionLost() const override { return false; }

    void report(const QString& problem) const override;
    QByteArray tableColumnsSql() const override;
    QByteArray schemaSql() const override;
    QList<QByteArray> bulkWriteSql() const override;
    bool schemaInTransaction() const override { return true; }
    QByteArray sameTextSql(const char* column) const override;
    void bindSameText(const QString& text) override;
    bool writeRefused() const override { return m_bWriteRefused; }
    QString cannotWrite() const override;
    void startCheck() override;
    QString damage() override;
    bool isChecking() const override { return m_check.joinable(); }

    // How long a write waits for another program's write to finish; from the next open on.
    void setBusyTimeout(int milliseconds) { m_iBusyTimeoutMs = milliseconds; }
    sqlite3* handle() const { return m_pDb; }
    // Whether startCheck() has PRAGMA quick_check look at the whole file, on a second
    // connection that only reads; on by default.
    void setCheckAtOpen(bool check) { m_bCheckAtOpen = check; }

private:
    bool fail();
    bool checkLength(const QByteArray& name, QString* problem);
    static QString quickCheck(const QByteArray& name);

    sqlite3* m_pDb = nullptr;
    sqlite3_stmt* m_pStmt = nullptr;
    int m_iNextParameter = 1;
    bool m_bFailed = false;
    bool m_bWriteRefused = false;
    QString m_strError;
    QString m_strFile;
    int m_iBusyTimeoutMs = 2000;
    bool m_bCheckAtOpen = true;
    std::thread m_check; // writes m_strChecked
    QString m_strChecked;
    QString m_strCut;
};

#endif
