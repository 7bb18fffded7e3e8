// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_TESTS_FAILINGDRIVER_H
#define TARVELO_TESTS_FAILINGDRIVER_H

#include "storage/sqldriver.h"

#include <memory>

// Passes everything to the store's real driver, but a query whose text contains the given
// piece fails after delivering some of its rows, as a damaged page or a dropped link makes a
// read end early.
class FailingDriver : public SqlDriver
{
public:
    FailingDriver(std::unique_ptr<SqlDriver> inner, QByteArray failIn, int rowsBeforeFailure)
        : m_pInner(std::move(inner)), m_failIn(std::move(failIn)), m_iRowsLeft(rowsBeforeFailure)
    {
    }

    bool open(const SqlBase& store, QString* problem) override
    {
        return m_pInner->open(store, problem);
    }
    void close() override { m_pInner->close(); }
    bool isOpen() const override { return m_pInner->isOpen(); }
    bool ping() override { return m_pInner->ping(); }
    bool prepare(const QByteArray& sql) override
    {
        m_bArmed = sql.contains(m_failIn);
        m_bFailed = false;
        m_iRows = 0;
        return m_pInner->prepare(sql);
    }
    void bind(int value) override { m_pInner->bind(value); }
    void bind(const QString& text) override { m_pInner->bind(text); }
    void bind(const QDate& date) override { m_pInner->bind(date); }
    void bind(const QTime& duration) override { m_pInner->bind(duration); }
    bool exec() override { return m_pInner->exec(); }
    bool next() override
    {
        if (m_bArmed && m_iRows++ == m_iRowsLeft) {
            m_bFailed = true;
            return false;
        }
        return m_pInner->next();
    }
    void finish() override { m_pInner->finish(); }
    bool isNull(int column) const override { return m_pInner->isNull(column); }
    int intAt(int column) const override { return m_pInner->intAt(column); }
    QByteArrayView bytesAt(int column) const override { return m_pInner->bytesAt(column); }
    qint64 lastInsertId() const override { return m_pInner->lastInsertId(); }
    qint64 rowsMatched() const override { return m_pInner->rowsMatched(); }
    bool failed() const override { return m_bFailed || m_pInner->failed(); }
    QString errorText() const override
    {
        return m_bFailed ? QStringLiteral("injected failure") : m_pInner->errorText();
    }
    bool connectionLost() const override { return !m_bFailed && m_pInner->connectionLost(); }
    void report(const QString& problem) const override { m_pInner->report(problem); }
    QByteArray tableColumnsSql() const override { return m_pInner->tableColumnsSql(); }
    QByteArray schemaSql() const override { return m_pInner->schemaSql(); }
    QList<QByteArray> bulkWriteSql() const override { return m_pInner->bulkWriteSql(); }
    bool schemaInTransaction() const override { return m_pInner->schemaInTransaction(); }
    QByteArray sameTextSql(const char* column) const override
    {
        return m_pInner->sameTextSql(column);
    }
    void bindSameText(const QString& text) override { m_pInner->bindSameText(text); }
    bool writeRefused() const override { return m_pInner->writeRefused(); }
    QString cannotWrite() const override { return m_pInner->cannotWrite(); }
    void startCheck() override { m_pInner->startCheck(); }
    QString damage() override { return m_pInner->damage(); }
    bool isChecking() const override { return m_pInner->isChecking(); }
    void setPatient(bool patient) override { m_pInner->setPatient(patient); }

private:
    std::unique_ptr<SqlDriver> m_pInner;
    QByteArray m_failIn;
    int m_iRowsLeft;
    bool m_bArmed = false;
    bool m_bFailed = false;
    int m_iRows = 0;
};

#endif
