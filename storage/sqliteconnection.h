#ifndef TARVELO_SQLITECONNECTION_H
#define TARVELO_SQLITECONNECTION_H

#include "storage/sqlbase.h"

struct sqlite3;

// The store over a local SQLite database file. Every operation prepares its own statement,
// binds by parameter name, steps and finalizes it; no statement outlives its call.
class SqLiteConnection : public SqlBase
{
public:
    explicit SqLiteConnection(QString fileName);
    ~SqLiteConnection() override;

    // Opens an existing log book; never creates a file, and refuses a file that is not an
    // SQLite database or lacks one of the three tables or columns.
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

    // How long a change waits for another program's write to finish before it gives up.
    // Takes effect at the next connect.
    void setBusyTimeout(int milliseconds) { m_iBusyTimeoutMs = milliseconds; }

    sqlite3* m_pSqlite = nullptr; // null until connectDb

private:
    void closeHandle();
    QString checkTables();
    bool readTimes(const char* sql, int id, QTime* total, QTime* average, int* count);
    bool readCurrentAndRest(const char* sql, int id, double* avgCurrent, int* avgRest);

    int m_iBusyTimeoutMs = 2000;
};

#endif
