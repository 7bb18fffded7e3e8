// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_MYSQLDRIVER_H
#define TARVELO_MYSQLDRIVER_H

#include "storage/sqldriver.h"

#include <mysql++.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// MySQL++ behind the store: every bound value is quoted and escaped by MySQL++; rows stream
// from the server (use()), so no other statement may run until the rows are read or finish()
// is called. Every exception is caught here.
class MysqlDriver : public SqlDriver
{
public:
    MysqlDriver();
    ~MysqlDriver() override;
    MysqlDriver(const MysqlDriver&) = delete;
    MysqlDriver& operator=(const MysqlDriver&) = delete;

    bool open(const SqlBase& store, QString* problem) override;
    void close() override;
    bool isOpen() const override { return m_bOpen; }
    bool ping() override;

    // Keeps the statement until its values are bound; nothing goes to the server yet.
    bool prepare(const QByteArray& sql) override;
    bool exec() override;
    // The first call runs the query with use(): rows come from the server one by one.
    bool next() override;
    // Frees the rows not read, so that the connection takes the next statement.
    void finish() override;
    // The values wait until exec() or next() send the statement.
    void bind(int value) override;
    void bind(const QString& text) override;
    // An invalid date or duration goes as the zero value: strict servers refuse empty texts.
    void bind(const QDate& date) override;
    void bind(const QTime& duration) override;

    bool isNull(int column) const override;
    int intAt(int column) const override;
    QByteArrayView bytesAt(int column) const override;

    qint64 lastInsertId() const override { return m_iInsertId; }
    qint64 rowsMatched() const override { return m_iRows; }

    bool failed() const override { return m_bFailed; }
    QString errorText() const override { return m_strError; }
    bool connectionLost() const override;

    void report(const QString& problem) const override;
    QByteArray tableColumnsSql() const override;
    QByteArray schemaSql() const override;
    QByteArray sameTextSql(const char* column) const override;
    void bindSameText(const QString& text) override { bind(text); }
    bool writeRefused() const override;
    void setPatient(bool patient) override { m_bPatient = patient; }

    // Seconds a connection attempt may take, the handshake included.
    static constexpr int kConnectTimeoutSeconds = 5;
    // Seconds to wait for the server's answer, or for it to take a statement, before the
    // connection counts as lost: a frozen server must not freeze the window for long.
    static constexpr int kReadTimeoutSeconds = 5;
    // The same for a patient connection.
    static constexpr int kPatientTimeoutSeconds = 600;

    mysqlpp::Connection m_connection;

private:
    bool fail(const char* text, int errnum);
    bool run(const std::function<void()>& work);
    // Puts the statement with its values into the query.
    void compose();

    bool m_bOpen = false;
    bool m_bPatient = false;

    std::unique_ptr<mysqlpp::Query> m_pQuery;
    std::vector<std::string> m_pieces;
    std::vector<mysqlpp::SQLTypeAdapter> m_values;
    bool m_bStarted = false;
    std::unique_ptr<mysqlpp::UseQueryResult> m_pResult;
    MYSQL_ROW m_row = nullptr;
    const unsigned long* m_pLengths = nullptr;
    qint64 m_iInsertId = 0;
    qint64 m_iRows = 0;

    bool m_bFailed = false;
    int m_iErrnum = 0;
    QString m_strError;
};

#endif
