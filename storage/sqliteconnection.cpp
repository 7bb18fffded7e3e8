#include "storage/sqliteconnection.h"

#include "storage/usage.h"

#include <QSqlError>

#include <sqlite3.h>

#include <cstdio>

namespace
{

// Writes a failed preparation to the standard error stream, with the driver's own text.
void reportError(sqlite3* db)
{
    const QSqlError error(QString::fromUtf8(sqlite3_errmsg(db)), QString());
    const QString line = QStringLiteral("DriverError: ") + error.driverText() +
                         QStringLiteral("\nDbError: ") + error.databaseText();
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

// One prepared statement, finalized when it goes out of scope.
class Statement
{
public:
    enum OnFailure { Report, Quiet };

    Statement(sqlite3* db, const char* sql, OnFailure onFailure = Report) : m_pDb(db)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &m_pStmt, nullptr) != SQLITE_OK) {
            if (onFailure == Report)
                reportError(db);
            sqlite3_finalize(m_pStmt);
            m_pStmt = nullptr;
        }
    }
    ~Statement() { sqlite3_finalize(m_pStmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return m_pStmt != nullptr; }

    void bind(const char* name, int value)
    {
        if (m_pStmt)
            sqlite3_bind_int(m_pStmt, sqlite3_bind_parameter_index(m_pStmt, name), value);
    }
    // Texts are stored as UTF-8, without a terminating zero byte.
    void bind(const char* name, const QString& text)
    {
        if (!m_pStmt)
            return;
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(m_pStmt, sqlite3_bind_parameter_index(m_pStmt, name), utf8.constData(),
                          int(utf8.size()), SQLITE_TRANSIENT);
    }

    int step() { return m_pStmt ? sqlite3_step(m_pStmt) : SQLITE_MISUSE; }
    // For UPDATE and DELETE: ran to its end and touched a row.
    bool changedRow() { return step() == SQLITE_DONE && sqlite3_changes(m_pDb) > 0; }

    int intAt(int column) const { return sqlite3_column_int(m_pStmt, column); }
    bool isNull(int column) const { return sqlite3_column_type(m_pStmt, column) == SQLITE_NULL; }
    QString textAt(int column) const
    {
        const char* data = reinterpret_cast<const char*>(sqlite3_column_text(m_pStmt, column));
        return SqlBase::decodeStoredText(data, sqlite3_column_bytes(m_pStmt, column));
    }
    QDate dateAt(int column) const
    {
        const char* data = reinterpret_cast<const char*>(sqlite3_column_text(m_pStmt, column));
        return SqlBase::parseStoredDate(data, sqlite3_column_bytes(m_pStmt, column));
    }
    QTime timeAt(int column) const
    {
        const char* data = reinterpret_cast<const char*>(sqlite3_column_text(m_pStmt, column));
        return SqlBase::parseStoredTime(data, sqlite3_column_bytes(m_pStmt, column));
    }

private:
    sqlite3* m_pDb;
    sqlite3_stmt* m_pStmt = nullptr;
};

// Rows of SELECT *, by column position.
ModelEntry modelFromRow(SqlBase* db, const Statement& st)
{
    return ModelEntry(db, st.textAt(0), st.intAt(1), st.intAt(2));
}

AccuEntry accuFromRow(SqlBase* db, const Statement& st)
{
    return AccuEntry(db, st.textAt(1), st.textAt(6), st.intAt(2), st.intAt(3), st.intAt(4),
                     st.intAt(5), st.intAt(0));
}

LogEntry logFromRow(SqlBase* db, const Statement& st)
{
    return LogEntry(db, st.dateAt(1), st.timeAt(2), st.intAt(5), st.intAt(3), st.intAt(4),
                    st.intAt(0));
}

void bindModel(Statement& st, const ModelEntry& e)
{
    st.bind(":modelName", e.m_strName);
    st.bind(":modelTyp", e.m_iTyp);
}

void bindAccu(Statement& st, const AccuEntry& e)
{
    st.bind(":brand", e.m_strBrand);
    st.bind(":descr", e.m_strDescr);
    st.bind(":capacity", e.m_iCapacity);
    st.bind(":numCells", e.m_iCells);
    st.bind(":strength", e.m_iStrength);
    st.bind(":typ", e.m_iTyp);
}

void bindLog(Statement& st, const LogEntry& e)
{
    st.bind(":date", SqlBase::dateText(e.m_date));
    st.bind(":time", SqlBase::timeText(e.m_time));
    st.bind(":accuId", e.m_iAccuId);
    st.bind(":modelId", e.m_iModelId);
    st.bind(":charged", e.m_iCharged);
}

// The identifier of the inserted row, or -1.
template <typename Bind> int insertRow(sqlite3* db, const char* sql, Bind bind)
{
    Statement st(db, sql);
    if (!st.ok())
        return -1;
    bind(st);
    if (st.step() != SQLITE_DONE)
        return -1;
    return int(sqlite3_last_insert_rowid(db));
}

// An UPDATE or DELETE of the row with that identifier: true only when the row existed.
// Failures here are not reported.
template <typename Bind>
bool changeRow(sqlite3* db, const char* sql, const char* idName, int id, Bind bind)
{
    Statement st(db, sql, Statement::Quiet);
    bind(st);
    st.bind(idName, id);
    return st.changedRow();
}

// Hands the one row with that identifier to take; false when there is none.
template <typename Take>
bool readRow(sqlite3* db, const char* sql, const char* idName, int id, Take take)
{
    Statement st(db, sql);
    st.bind(idName, id);
    if (st.step() != SQLITE_ROW)
        return false;
    take(st);
    return true;
}

// Hands every row to take; true when all rows were read.
template <typename Take> bool readRows(sqlite3* db, const char* sql, Take take)
{
    Statement st(db, sql);
    if (!st.ok())
        return false;
    int rc;
    while ((rc = st.step()) == SQLITE_ROW)
        take(st);
    return rc == SQLITE_DONE;
}

} // namespace

SqLiteConnection::SqLiteConnection(QString fileName) : SqlBase(std::move(fileName)) {}

SqLiteConnection::~SqLiteConnection()
{
    closeHandle();
}

void SqLiteConnection::closeHandle()
{
    sqlite3_close(m_pSqlite);
    m_pSqlite = nullptr;
}

bool SqLiteConnection::connectDb(QString* errorText)
{
    const QByteArray name = m_strFileName.toUtf8();
    std::fprintf(stderr, "connect to: %s \n", name.constData());
    closeHandle();
    // No create flag: a missing file is an error, connecting never makes a database.
    const int rc = sqlite3_open_v2(name.constData(), &m_pSqlite,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    QString problem;
    if (rc != SQLITE_OK) {
        problem = QString::fromUtf8(sqlite3_errmsg(m_pSqlite));
    } else {
        sqlite3_busy_timeout(m_pSqlite, m_iBusyTimeoutMs);
        // The log is read in date order through its index; with the default page cache of
        // 2 MB that jumps around a large table from disk. Pages are only taken when used.
        sqlite3_exec(m_pSqlite, "PRAGMA cache_size=-16384;", nullptr, nullptr, nullptr);
        problem = checkTables();
    }
    if (problem.isEmpty())
        return true;
    if (errorText)
        *errorText = QStringLiteral("SqLiteError: ") + problem;
    closeHandle();
    return false;
}

// Only reads: a refused file stays as it was.
QString SqLiteConnection::checkTables()
{
    for (const QString& table : tableNames()) {
        const QByteArray sql = "PRAGMA table_info(" + table.toUtf8() + ')';
        Statement st(m_pSqlite, sql.constData(), Statement::Quiet);
        if (!st.ok())
            return QString::fromUtf8(sqlite3_errmsg(m_pSqlite));
        QStringList names;
        int rc;
        while ((rc = st.step()) == SQLITE_ROW)
            names << st.textAt(1);
        if (rc != SQLITE_DONE)
            return QString::fromUtf8(sqlite3_errmsg(m_pSqlite));
        const QString problem = checkTableColumns(table, names);
        if (!problem.isEmpty())
            return problem;
    }
    return QString();
}

bool SqLiteConnection::disconnectDb()
{
    closeHandle();
    m_bConnected = false;
    return true;
}

int SqLiteConnection::addModel(ModelEntry* entry)
{
    if (!m_pSqlite || !entry)
        return -1;
    const int id = insertRow(
        m_pSqlite, "INSERT INTO modelList(modelTyp,modelName) VALUES (:modelTyp,:modelName);",
        [&](Statement& st) { bindModel(st, *entry); });
    if (id == -1)
        return -1;
    entry->m_iId = id;
    refreshModels();
    return id;
}

bool SqLiteConnection::changeModel(int modelId, ModelEntry* entry)
{
    if (!m_pSqlite || !entry || modelId < 0)
        return false;
    if (!changeRow(m_pSqlite,
                   "UPDATE modelList set modelName=:modelName, modelTyp=:modelTyp where "
                   "modelId=:modelId;",
                   ":modelId", modelId, [&](Statement& st) { bindModel(st, *entry); }))
        return false;
    entry->m_iId = modelId;
    refreshModels();
    return true;
}

bool SqLiteConnection::deleteModel(int modelId)
{
    if (!m_pSqlite || modelId < 0 ||
        !changeRow(m_pSqlite, "DELETE FROM modelList WHERE modelId=:modelId;", ":modelId", modelId,
                   [](Statement&) {}))
        return false;
    refreshModels();
    return true;
}

bool SqLiteConnection::readModel(int modelId, ModelEntry* out)
{
    return m_pSqlite && out && modelId >= 0 &&
           readRow(m_pSqlite, "SELECT * FROM modelList where modelId=:modelId", ":modelId", modelId,
                   [&](const Statement& st) { *out = modelFromRow(this, st); });
}

bool SqLiteConnection::readModels(QVector<ModelEntry>* out)
{
    return m_pSqlite && out &&
           readRows(m_pSqlite, "SELECT * FROM modelList order by modelId;",
                    [&](const Statement& st) { out->append(modelFromRow(this, st)); });
}

int SqLiteConnection::addAccu(AccuEntry* entry)
{
    if (!m_pSqlite || !entry)
        return -1;
    const int id =
        insertRow(m_pSqlite,
                  "INSERT INTO accus "
                  "(accuBrand,accuDescr,accuCapacity,numCells,accuStrength,accuTyp) VALUES "
                  "(:brand,:descr,:capacity,:numCells,:strength,:typ);",
                  [&](Statement& st) { bindAccu(st, *entry); });
    if (id == -1)
        return -1;
    entry->m_iId = id;
    refreshAccus();
    return id;
}

bool SqLiteConnection::changeAccu(int accuId, AccuEntry* entry)
{
    if (!m_pSqlite || !entry || accuId < 0)
        return false;
    if (!changeRow(m_pSqlite,
                   "UPDATE accus set "
                   "accuBrand=:brand,accuDescr=:descr,accuCapacity=:capacity,numCells=:numCells,"
                   "accuStrength=:strength,accuTyp=:typ where accuId=:id;",
                   ":id", accuId, [&](Statement& st) { bindAccu(st, *entry); }))
        return false;
    entry->m_iId = accuId;
    refreshAccus();
    return true;
}

bool SqLiteConnection::deleteAccu(int accuId)
{
    if (!m_pSqlite || accuId < 0 ||
        !changeRow(m_pSqlite, "DELETE FROM accus WHERE accuId=:accuId;", ":accuId", accuId,
                   [](Statement&) {}))
        return false;
    refreshAccus();
    return true;
}

bool SqLiteConnection::readAccu(int accuId, AccuEntry* out)
{
    return m_pSqlite && out && accuId >= 0 &&
           readRow(m_pSqlite, "SELECT * FROM accus where accuId=:id", ":id", accuId,
                   [&](const Statement& st) { *out = accuFromRow(this, st); });
}

bool SqLiteConnection::readAccus(QVector<AccuEntry>* out)
{
    return m_pSqlite && out &&
           readRows(m_pSqlite, "SELECT * FROM accus order by accuId;",
                    [&](const Statement& st) { out->append(accuFromRow(this, st)); });
}

int SqLiteConnection::addLogEntry(LogEntry* entry)
{
    if (!m_pSqlite || !entry)
        return -1;
    const int id = insertRow(m_pSqlite,
                             "INSERT INTO logList(date,time,accuId,modelId,charged) VALUES "
                             "(:date,:time,:accuId,:modelId,:charged);",
                             [&](Statement& st) { bindLog(st, *entry); });
    if (id == -1)
        return -1;
    entry->m_iId = id;
    refreshLogEntries();
    return id;
}

bool SqLiteConnection::changeLogEntry(int id, LogEntry* entry)
{
    if (!m_pSqlite || !entry || id < 0)
        return false;
    if (!changeRow(m_pSqlite,
                   "UPDATE logList set "
                   "date=:date,time=:time,accuId=:accuId,modelId=:modelId,charged=:charged "
                   "where id=:id;",
                   ":id", id, [&](Statement& st) { bindLog(st, *entry); }))
        return false;
    entry->m_iId = id;
    refreshLogEntries();
    return true;
}

bool SqLiteConnection::deleteLogEntry(int id)
{
    if (!m_pSqlite || id < 0 ||
        !changeRow(m_pSqlite, "DELETE FROM logList WHERE id=:logId;", ":logId", id,
                   [](Statement&) {}))
        return false;
    refreshLogEntries();
    return true;
}

bool SqLiteConnection::readLogEntry(int id, LogEntry* out)
{
    return m_pSqlite && out && id >= 0 &&
           readRow(m_pSqlite, "SELECT * FROM logList where id=:id;", ":id", id,
                   [&](const Statement& st) { *out = logFromRow(this, st); });
}

bool SqLiteConnection::readLogEntries(QVector<LogEntry*>* out, int filterFlags)
{
    if (!m_pSqlite || !out)
        return false;
    const QByteArray sql = (QStringLiteral("SELECT * FROM logList") + logFilterClause(filterFlags) +
                            QStringLiteral(" order by date"))
                               .toUtf8();
    return readRows(m_pSqlite, sql.constData(),
                    [&](const Statement& st) { out->append(new LogEntry(logFromRow(this, st))); });
}

// Durations are summed as whole seconds in code: the stored texts compare greater than any
// number, so an SQL "time > 0" would count untimed entries as timed.
bool SqLiteConnection::readTimes(const char* sql, int id, QTime* total, QTime* average, int* count)
{
    if (!m_pSqlite || !total || !average || !count || id < 0)
        return false;
    Statement st(m_pSqlite, sql);
    if (!st.ok())
        return false;
    st.bind(":id", id);
    Usage::Totals totals;
    int rc;
    while ((rc = st.step()) == SQLITE_ROW)
        totals.addTime(Usage::seconds(st.timeAt(0)));
    if (rc != SQLITE_DONE)
        return false;
    *count = totals.count();
    *total = QTime(0, 0).addSecs(int(totals.totalSeconds() % 86400));
    *average = QTime(0, 0).addSecs(int(totals.averageSeconds() % 86400));
    return true;
}

bool SqLiteConnection::readModelTimes(int modelId, QTime* total, QTime* average, int* count)
{
    return readTimes("SELECT time FROM logList WHERE modelId=:id;", modelId, total, average, count);
}

bool SqLiteConnection::readAccuTimes(int accuId, QTime* total, QTime* average, int* count)
{
    return readTimes("SELECT time FROM logList WHERE accuId=:id;", accuId, total, average, count);
}

// The pack capacities come with the rows, through a join on the same connection. Only
// entries whose pack still exists with a capacity give a rest figure; the answer is true when
// at least one complete entry was found.
bool SqLiteConnection::readCurrentAndRest(const char* sql, int id, double* avgCurrent, int* avgRest)
{
    if (!m_pSqlite || !avgCurrent || !avgRest || id < 0)
        return false;
    Statement st(m_pSqlite, sql);
    if (!st.ok())
        return false;
    st.bind(":id", id);
    Usage::Totals totals;
    int rc;
    while ((rc = st.step()) == SQLITE_ROW) {
        const int capacity = st.intAt(2);
        totals.addUse(st.intAt(0), Usage::seconds(st.timeAt(1)),
                      st.isNull(2) ? nullptr : &capacity);
    }
    if (rc != SQLITE_DONE)
        return false;
    *avgCurrent = totals.avgCurrentAmps();
    *avgRest = totals.avgRest();
    return totals.completeUses() > 0;
}

bool SqLiteConnection::readModelCurrentAndRest(int modelId, double* avgCurrent, int* avgRest)
{
    return readCurrentAndRest("SELECT l.charged,l.time,a.accuCapacity FROM logList l "
                              "LEFT JOIN accus a ON a.accuId=l.accuId WHERE l.modelId=:id;",
                              modelId, avgCurrent, avgRest);
}

bool SqLiteConnection::readAccuCurrentAndRest(int accuId, double* avgCurrent, int* avgRest)
{
    return readCurrentAndRest("SELECT l.charged,l.time,a.accuCapacity FROM logList l "
                              "LEFT JOIN accus a ON a.accuId=l.accuId WHERE l.accuId=:id;",
                              accuId, avgCurrent, avgRest);
}

bool SqLiteConnection::readUsage(UsageGroup group, int filterFlags, QHash<int, Usage::Totals>* out)
{
    if (!m_pSqlite || !out)
        return false;
    const QByteArray sql = usageQuery(group, filterFlags).toUtf8();
    return readRows(m_pSqlite, sql.constData(), [&](const Statement& st) {
        const int capacity = st.intAt(3);
        addUsage(out, st.intAt(0), st.intAt(1), st.timeAt(2), st.isNull(3) ? nullptr : &capacity);
    });
}
