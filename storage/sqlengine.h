// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_SQLENGINE_H
#define TARVELO_SQLENGINE_H

#include "storage/sqlbase.h"
#include "storage/sqldriver.h"

#include <functional>
#include <memory>

template <class Record> struct SqlTable;

// The rules of the store, written once over a driver: the SQL, the records read from rows, the
// caches kept in step after each write, the statistics pass, and what to do when a server
// drops the connection. The backends only choose their driver.
class SqlEngine : public SqlBase
{
public:
    SqlEngine(std::unique_ptr<SqlDriver> driver, QString fileName);
    SqlEngine(std::unique_ptr<SqlDriver> driver, QString host, int port, QString database,
              QString user, QString password);
    ~SqlEngine() override;

    // Opens the connection and checks that the three tables are there with their columns in
    // order. On failure *errorText gets the client's or the server's own text.
    bool connectDb(QString* errorText) override;
    bool disconnectDb() override;
    int addModel(ModelEntry* entry) override;
    bool changeModel(int modelId, ModelEntry* entry) override;
    bool deleteModel(int modelId) override;
    bool readModel(int modelId, ModelEntry* out) override;
    bool readModels(QVector<ModelEntry>* out) override;
    int addAccu(AccuEntry* entry) override;
    bool changeAccu(int accuId, AccuEntry* entry) override;
    bool deleteAccu(int accuId) override;
    bool readAccu(int accuId, AccuEntry* out) override;
    bool readAccus(QVector<AccuEntry>* out) override;
    int addLogEntry(LogEntry* entry) override;
    bool changeLogEntry(int id, LogEntry* entry) override;
    bool deleteLogEntry(int id) override;
    bool readLogEntry(int id, LogEntry* out) override;
    bool restoreModel(ModelEntry* entry) override;
    bool restoreAccu(AccuEntry* entry) override;
    bool restoreLogEntry(LogEntry* entry) override;
    bool readLogEntries(QVector<LogEntry*>* out, int filterFlags) override;
    bool readModelTimes(int modelId, QTime* total, QTime* average, int* count) override;
    bool readModelCurrentAndRest(int modelId, double* avgCurrent, int* avgRest) override;
    bool readAccuTimes(int accuId, QTime* total, QTime* average, int* count) override;
    bool readAccuCurrentAndRest(int accuId, double* avgCurrent, int* avgRest) override;
    bool readUsage(int filterFlags, QHash<int, Usage::Totals>* byModel,
                   QHash<int, Usage::Totals>* byAccu) override;
    bool readUsageOf(UsageGroup group, int id, Usage::Totals* out) override;
    QString lastErrorText() const override { return m_strLastError; }
    bool isOffline() const override { return m_bOffline; }

protected:
    // The whole log in identifier order, the cheapest order to read and to keep.
    bool readLog(QVector<LogEntry*>* out) override;
    // Connects again after the server stopped answering.
    bool resume(QString* errorText) override;
    // A damaged database is opened read-only with every row that can be read.
    bool settleOpen(bool loaded, QString* errorText) override;

public:
    SqlDriver* driver() const { return m_pDriver.get(); }
    // Puts another driver in place of the current one (tests wrap the real one in a driver
    // that fails on demand); returns the one it replaces.
    std::unique_ptr<SqlDriver> replaceDriver(std::unique_ptr<SqlDriver> driver);

private:
    // Whether a statement may simply run again after the connection was lost under it: reads,
    // updates and deletes may (a change or delete that finds its own work done says so); an
    // insert might already have been carried out, so the connection is checked before and
    // the statement runs once.
    enum class Replay { Repeat, CheckFirst };
    using Binder = std::function<void(SqlDriver&)>;
    using Taker = std::function<void(const SqlDriver&)>;

    // One attempt, and one more on a new connection when the link was lost. work answers
    // whether it ran through; the driver tells what failed. At most one new connection per
    // operation: when that fails too, the store is offline. A CheckFirst statement whose link
    // was lost under it is not repeated; m_bReplyLost then says that it may have been done.
    bool run(Replay replay, const std::function<bool()>& work);
    bool reopen();
    bool goOffline();
    // Fails the operation for a reason of the store's own.
    bool refuse(Failure failure, const QString& why);
    // Why the tables cannot be written (empty when they can), by writing nothing.
    QString probeWrites();
    // A statement without rows; *result gets the new identifier (insert) or the matched rows.
    bool execute(Replay replay, const QByteArray& sql, const Binder& bind, qint64* result,
                 bool insert);
    // Every row to take; restart is called before each attempt, so that a repeated attempt
    // starts from nothing.
    bool query(const QByteArray& sql, const Binder& bind, const std::function<void()>& restart,
               const Taker& take);
    // The one row with that identifier to take; false when there is none or the read failed.
    bool queryRow(const QByteArray& sql, int id, const Taker& take);
    int insertRow(const QByteArray& sql, const Binder& bind);
    QString checkTables();
    // Log rows as they come; on failure *out is left empty.
    bool readLogRows(const QByteArray& sql, QVector<LogEntry*>* out);
    // The operations of every table, over its description.
    template <class Record> int addRecord(const SqlTable<Record>& table, Record* entry);
    template <class Record> bool restoreRecord(const SqlTable<Record>& table, Record* entry);
    template <class Record> bool changeRecord(const SqlTable<Record>& table, int id, Record* entry);
    template <class Record> bool deleteRecord(const SqlTable<Record>& table, int id);
    template <class Record> bool readRecord(const SqlTable<Record>& table, int id, Record* out);
    // The row with that identifier as it is now, or *exists false; false when the read failed.
    template <class Record>
    bool readNow(const SqlTable<Record>& table, int id, Record* now, bool* exists);
    template <class Record> bool readRecords(const SqlTable<Record>& table, QVector<Record>* out);
    template <class Record> void cacheStored(const SqlTable<Record>& table, const Record& written);
    // A read-only log book and new texts beyond the length both stores hold are refused;
    // texts as `before` holds them pass.
    template <class Record>
    bool mayWrite(const SqlTable<Record>& table, const Record& entry, const Record* before);
    // A change (`wanted`) or delete (null) matched no row: done already when the row reads as
    // wanted (or is gone), else the row changed elsewhere and its current values are cached.
    template <class Record>
    bool settle(const SqlTable<Record>& table, int id, const Record* wanted);
    // Every row of the table that can be read, in identifier order, stepping over the
    // identifiers whose pages cannot be read; *lost grows by the rows left behind.
    template <class Record> QVector<Record> readReadable(const SqlTable<Record>& table, int* lost);
    // After an insert lost its reply: the identifier of a row above `highest` that holds the
    // entry's values, or -1.
    template <class Record>
    int findInserted(const SqlTable<Record>& table, const Record& entry, int highest);

    // The cache of each table, chosen by the record's type.
    void cache(const ModelEntry& model) { cacheModel(model); }
    void cache(const AccuEntry& accu) { cacheAccu(accu); }
    void cache(const LogEntry& entry) { cacheLogEntry(entry); }
    template <class Record> void uncache(int id);
    template <class Record> const Record* cached(int id) const;

    std::unique_ptr<SqlDriver> m_pDriver;
    QString m_strLastError;
    bool m_bOffline = false;
    bool m_bReplyLost = false;
};

#endif
