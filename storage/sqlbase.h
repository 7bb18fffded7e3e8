// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_SQLBASE_H
#define TARVELO_SQLBASE_H

#include "records/accuentry.h"
#include "records/logentry.h"
#include "records/modelentry.h"
#include "records/statentry.h"
#include "storage/usage.h"

#include <QCoreApplication>
#include <QDate>
#include <QHash>
#include <QString>
#include <QTime>
#include <QVector>

// The one storage interface. Keeps the connection parameters, caches of all models, all packs
// and the unfiltered log, and the log filter values. The store below (SqlEngine) implements
// the virtual operations and keeps a cache in step after every successful change of its table,
// in place: no edit re-reads a whole table.
class WorkProgress;

class SqlBase
{
    Q_DECLARE_TR_FUNCTIONS(SqlBase)

public:
    // Log filter bits of readLogEntries.
    enum FilterFlag {
        FilterDate = 1,       // m_filterStart to m_filterEnd, both days included
        FilterModel = 2,      // m_iFilterModelId
        FilterAccu = 4,       // m_iFilterAccuId
        FilterIncomplete = 8, // nothing charged yet
        FilterAll = FilterDate | FilterModel | FilterAccu | FilterIncomplete
    };

    // What the usage figures are summed by.
    enum class UsageGroup { Model, Accu };

    // Why the last operation failed, as far as the store can tell.
    enum class Failure {
        None,
        Error,    // the database's own error, in lastErrorText()
        ReadOnly, // the log book is open read-only; nothing was tried
        Offline,  // the server stopped answering; nothing is tried until a reload
        Conflict, // the row no longer held the values last read: changed or deleted elsewhere
        TooLong,  // a text is longer than kMaxTextLength
        Cancelled // the caller asked the work to stop (see setProgress)
    };
    // Both stores hold this many characters in every text field; longer ones already stored
    // stay as they are until edited.
    static constexpr int kMaxTextLength = 1000;

    SqlBase(QString host, int port, QString database, QString user, QString password);
    explicit SqlBase(QString fileName);
    SqlBase(const SqlBase&) = delete;
    SqlBase& operator=(const SqlBase&) = delete;
    virtual ~SqlBase();

    virtual bool connectDb(QString* errorText) = 0;
    virtual bool disconnectDb() = 0;
    virtual int addModel(ModelEntry* entry) = 0;
    virtual bool changeModel(int modelId, ModelEntry* entry) = 0;
    virtual bool deleteModel(int modelId) = 0;
    virtual bool readModel(int modelId, ModelEntry* out) = 0;
    virtual bool readModels(QVector<ModelEntry>* out) = 0;
    virtual int addAccu(AccuEntry* entry) = 0;
    virtual bool changeAccu(int accuId, AccuEntry* entry) = 0;
    virtual bool deleteAccu(int accuId) = 0;
    virtual bool readAccu(int accuId, AccuEntry* out) = 0;
    virtual bool readAccus(QVector<AccuEntry>* out) = 0;
    virtual int addLogEntry(LogEntry* entry) = 0;
    virtual bool changeLogEntry(int id, LogEntry* entry) = 0;
    virtual bool deleteLogEntry(int id) = 0;
    virtual bool readLogEntry(int id, LogEntry* out) = 0;
    // Put a removed record back under its old identifier, with all its values (to undo the
    // removal). Refused as a conflict when a row holds that identifier now. A store that
    // cannot (a test double) answers false.
    virtual bool restoreModel(ModelEntry* entry);
    virtual bool restoreAccu(AccuEntry* entry);
    virtual bool restoreLogEntry(LogEntry* entry);
    // Appends new heap entries, ordered by date; the caller owns them.
    virtual bool readLogEntries(QVector<LogEntry*>* out, int filterFlags) = 0;
    virtual bool readModelTimes(int modelId, QTime* total, QTime* average, int* count) = 0;
    virtual bool readModelCurrentAndRest(int modelId, double* avgCurrent, int* avgRest) = 0;
    virtual bool readAccuTimes(int accuId, QTime* total, QTime* average, int* count) = 0;
    virtual bool readAccuCurrentAndRest(int accuId, double* avgCurrent, int* avgRest) = 0;
    // One pass over the entries that pass the filter (bits 1, 2, 4), summed per model and per
    // pack (keyed by identifier; either map may be null). Runs usageQuery() and adds each row
    // to its totals. The maps are only changed when the whole pass succeeded. A store without
    // statistics (a test double) answers false.
    virtual bool readUsage(int filterFlags, QHash<int, Usage::Totals>* byModel,
                           QHash<int, Usage::Totals>* byAccu);
    // The same pass over the entries of one model or one pack.
    virtual bool readUsageOf(UsageGroup group, int id, Usage::Totals* out);
    // Why the last operation failed, in the store's own words; empty when it does not know.
    virtual QString lastErrorText() const { return QString(); }
    Failure lastFailure() const { return m_lastFailure; }
    // Whether writes are refused: a file or an account that cannot write, or a damaged file.
    bool isReadOnly() const { return m_bReadOnly; }
    // Why, in the database's words; empty when the log book is writable.
    QString readOnlyReason() const { return m_strReadOnlyReason; }
    // What the check at open found wrong with the file; empty when nothing.
    QString damage() const { return m_strDamage; }
    // Rows that could not be read from a damaged file.
    int unreadableRows() const { return m_iUnreadableRows; }
    // Where they were: identifiers from `first` to `last` (-1: to the end) of a table that could
    // not be read; some of them may never have been handed out.
    struct Unreadable {
        QString table;
        qint64 first;
        qint64 last;
    };
    QVector<Unreadable> unreadable() const { return m_unreadable; }
    // The link to the server was lost and could not be made again; every operation fails at
    // once until reload() connects again.
    virtual bool isOffline() const { return false; }

    // Connects and fills the three caches; fails, with the store's error text, when a table
    // cannot be read completely: a partial log is never served.
    bool openDb(QString* errorText);
    // Where openDb() and reload() report how far they are, and learn that they are to stop
    // (they then fail with Failure::Cancelled); null for none. Not owned.
    void setProgress(WorkProgress* progress) { m_pProgress = progress; }
    // Reads packs, models and the log anew, so that changes made by others show; all three
    // or none: on failure the caches stay as they were and *errorText says why.
    bool reload(QString* errorText);
    bool isConnected() const { return m_bConnected; }
    // Each reads its table into a new list and takes it only when the read succeeded.
    bool refreshModels();
    bool refreshAccus();
    bool refreshLogEntries();
    bool getModels(QVector<ModelEntry>* out);
    bool getAccus(QVector<AccuEntry>* out);
    bool getModel(int modelId, ModelEntry* out);
    bool getAccu(int accuId, AccuEntry* out);
    bool getModelIds(QVector<int>* out);
    bool getAccuIds(QVector<int>* out);
    bool getModelStats(int modelId, ModelStatEntry* out);
    bool getAccuStats(int accuId, AccuStatEntry* out);

    // Averages of summed figures, into a statistics record; the name is left alone.
    static void fillStats(const Usage::Totals& totals, StatEntry* out);

    void setFilterDates(QDate start, QDate end);
    void setFilterModelId(int modelId) { m_iFilterModelId = modelId; }
    void setFilterAccuId(int accuId) { m_iFilterAccuId = accuId; }

    // The unfiltered log, ordered by date and, within a day, by identifier; owned by this
    // object and kept in step with every change made through it.
    const QVector<LogEntry*>& logCache() const { return m_logCache; }
    int logCount() const { return int(m_logCache.size()); }
    const LogEntry* logEntryAt(int row) const { return m_logCache.at(row); }
    // Row of the entry with that identifier in logCache(), or -1.
    int logRowOf(int id) const;
    // The same entries ordered by identifier.
    const QVector<LogEntry*>& logById() const { return m_logById; }

    // Decodes a stored text: it ends at its first zero byte; bytes that are not valid UTF-8
    // were written by older programs in a single-byte form and are read as Latin-1.
    static QString decodeStoredText(const char* data, int bytes);
    // "yyyy-MM-dd" and "hh:mm:ss" without the cost of the generic parsers; anything else falls
    // back to them. A trailing zero byte is ignored.
    static QDate parseStoredDate(const char* data, int bytes);
    static QTime parseStoredTime(const char* data, int bytes);
    // A stored duration in seconds; 0 for one that does not parse.
    static qint64 parseStoredSeconds(const char* data, int bytes);
    static QString dateText(const QDate& date);
    static QString timeText(const QTime& time);

    // The three tables, in the order a connection checks them.
    static QStringList tableNames();
    // Rows are read by column position: why a table with these column names (in table order)
    // cannot be read, or an empty text when it can. No names means the table is missing.
    static QString checkTableColumns(const QString& table, const QStringList& columns);

    QString m_strHost;
    int m_iPort = 0;
    QString m_strDatabase;
    QString m_strUser;
    QString m_strPassword;
    bool m_bAccusCached = false;
    bool m_bModelsCached = false;
    bool m_bLogCached = false;
    QVector<AccuEntry> m_accus;
    QVector<LogEntry*> m_logCache; // owned
    QVector<ModelEntry> m_models;
    QDate m_filterStart;
    QDate m_filterEnd;
    int m_iFilterModelId = -1;
    int m_iFilterAccuId = -1;
    bool m_bConnected = false;
    QString m_strFileName;

    // The statement behind readUsage: per entry its model, its pack, charged, duration and the
    // capacity of its pack (NULL when the pack no longer exists), in this column order.
    QString usageQuery(int filterFlags) const;

protected:
    // The WHERE part of the filtered log query, built from the filter fields: empty for no
    // known flag, else " where " and the conditions joined by " and ". Unknown bits are
    // ignored. The date range includes the end day also for texts stored with a trailing
    // zero byte, by comparing below the following day.
    QString logFilterClause(int filterFlags) const;
    // usageQuery() for the entries of one model or pack, whose identifier is bound to "?".
    static QString usageQueryOf(UsageGroup group);

    // In-place upkeep of the caches after a write through this store: a record with a known
    // identifier is replaced, a new one put at its place in the order; nothing happens to a
    // cache that is not filled.
    void cacheModel(const ModelEntry& model);
    void uncacheModel(int modelId);
    void cacheAccu(const AccuEntry& accu);
    void uncacheAccu(int accuId);
    void cacheLogEntry(const LogEntry& entry);
    void uncacheLogEntry(int id);
    // The whole log for the cache, in any order; the caller owns the entries, also after a
    // failure. By default the filtered read without a filter.
    virtual bool readLog(QVector<LogEntry*>* out);
    // Called by openDb() once the three tables were read (loaded) or not: a store that finds
    // its database damaged opens it read-only with what can be read. Answers whether the
    // store is open.
    virtual bool settleOpen(bool loaded, QString* errorText);
    // Called by reload() first: a store that went offline connects again here.
    virtual bool resume(QString* errorText);
    // The cached records, or null when the cache lacks them.
    const ModelEntry* cachedModel(int modelId) const;
    const AccuEntry* cachedAccu(int accuId) const;
    const LogEntry* cachedLogEntry(int id) const;
    // Takes a complete, newly read log (owned) as the cache; cheapest when ordered by id.
    void takeLog(QVector<LogEntry*> byId);
    // Orders entries as the log cache is ordered.
    static void sortLog(QVector<LogEntry*>* entries);

    // Starts a stage of openDb() or reload() when someone watches.
    void beginStage(const QString& stage, qint64 total = 0);

    Failure m_lastFailure = Failure::None;
    WorkProgress* m_pProgress = nullptr;
    QVector<Unreadable> m_unreadable;
    bool m_bReadOnly = false;
    QString m_strReadOnlyReason;
    QString m_strDamage;
    int m_iUnreadableRows = 0;

private:
    void clearLogCache();
    // Position of the entry in m_logCache, found through its date and identifier; -1 if none.
    int logPosition(const LogEntry* entry) const;
    QVector<LogEntry*>::const_iterator findLogId(int id) const;

    // The same entries as m_logCache, ordered by identifier, to find one without a scan.
    QVector<LogEntry*> m_logById;
};

#endif
