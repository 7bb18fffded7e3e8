#ifndef TARVELO_MYSQLCONNECTION_H
#define TARVELO_MYSQLCONNECTION_H

#include "storage/sqlbase.h"

#include <mysql++.h>

#include <functional>
#include <memory>

// The store on a MySQL or MariaDB server, through MySQL++ template queries: every value goes
// in as a template parameter, so MySQL++ quotes and escapes it. No exception leaves this
// class; a failed operation answers false or -1 and leaves the caches as they were.
class MysqlConnection : public SqlBase
{
public:
    MysqlConnection(QString host, int port, QString database, QString user, QString password);
    ~MysqlConnection() override;

    // Connects and checks that the three tables are there with their columns in order. On
    // failure *errorText gets the client's or the server's own text.
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
    bool readLogEntries(QVector<LogEntry*>* out, int filterFlags) override;
    bool readModelTimes(int modelId, QTime* total, QTime* average, int* count) override;
    bool readModelCurrentAndRest(int modelId, double* avgCurrent, int* avgRest) override;
    bool readAccuTimes(int accuId, QTime* total, QTime* average, int* count) override;
    bool readAccuCurrentAndRest(int accuId, double* avgCurrent, int* avgRest) override;
    bool readUsage(UsageGroup group, int filterFlags, QHash<int, Usage::Totals>* out) override;

    // Seconds a connection attempt may take, the handshake included.
    static constexpr int kConnectTimeoutSeconds = 5;
    // Seconds to wait for the server's answer before the connection counts as lost.
    static constexpr int kReadTimeoutSeconds = 60;

    mysqlpp::Connection m_connection;
    std::unique_ptr<mysqlpp::Query> m_pQuery;

private:
    // Whether a statement may simply run again after its answer was lost: reads and updates
    // may; an insert or delete might already have been carried out, so for those the
    // connection is checked before the statement instead, and the statement runs once.
    enum class Replay { Repeat, CheckFirst };

    bool openConnection(QString* problem);
    QString checkTables();
    bool reconnect();
    bool run(Replay replay, const std::function<void()>& work);
    // Puts a template query into m_pQuery; the values for %0q, %1q, ... follow at the call.
    void prepare(const char* sql);

    int insertRow(const char* sql, mysqlpp::SQLQueryParms values);
    bool changeRow(const char* sql, mysqlpp::SQLQueryParms values, Replay replay);
    bool readOneRow(const char* sql, int id, const std::function<void(const mysqlpp::Row&)>& take);
    bool readAllRows(const QString& sql, const std::function<void(const mysqlpp::Row&)>& take,
                     const std::function<void()>& undo);
    bool readTimes(const char* sql, int id, QTime* total, QTime* average, int* count);
    bool readCurrentAndRest(const char* sql, int id, double* avgCurrent, int* avgRest);
};

#endif
