#include "storage/sqlengine.h"

namespace
{
QString textAt(const SqlDriver& d, int column)
{
    const QByteArrayView bytes = d.bytesAt(column);
    return SqlBase::decodeStoredText(bytes.data(), int(bytes.size()));
}

QDate dateAt(const SqlDriver& d, int column)
{
    const QByteArrayView bytes = d.bytesAt(column);
    return SqlBase::parseStoredDate(bytes.data(), int(bytes.size()));
}

QTime timeAt(const SqlDriver& d, int column)
{
    const QByteArrayView bytes = d.bytesAt(column);
    return SqlBase::parseStoredTime(bytes.data(), int(bytes.size()));
}

// Rows of SELECT *, by column position.
ModelEntry modelFromRow(SqlBase* db, const SqlDriver& d)
{
    return ModelEntry(db, textAt(d, 0), d.intAt(1), d.intAt(2));
}

AccuEntry accuFromRow(SqlBase* db, const SqlDriver& d)
{
    return AccuEntry(db, textAt(d, 1), textAt(d, 6), d.intAt(2), d.intAt(3), d.intAt(4), d.intAt(5),
                     d.intAt(0));
}

LogEntry logFromRow(SqlBase* db, const SqlDriver& d)
{
    return LogEntry(db, dateAt(d, 1), timeAt(d, 2), d.intAt(5), d.intAt(3), d.intAt(4), d.intAt(0));
}

void bindModel(SqlDriver& d, const ModelEntry& e)
{
    d.bind(e.m_strName);
    d.bind(e.m_iTyp);
}

void bindAccu(SqlDriver& d, const AccuEntry& e)
{
    d.bind(e.m_strBrand);
    d.bind(e.m_strDescr);
    d.bind(e.m_iCapacity);
    d.bind(e.m_iCells);
    d.bind(e.m_iStrength);
    d.bind(e.m_iTyp);
}

void bindLog(SqlDriver& d, const LogEntry& e)
{
    d.bind(e.m_date);
    d.bind(e.m_time);
    d.bind(e.m_iAccuId);
    d.bind(e.m_iModelId);
    d.bind(e.m_iCharged);
}

// The figures of one row of the usage query. A pack that no longer exists reads as capacity
// 0, which gives no rest figure either.
Usage::Use useOfRow(const SqlDriver& d)
{
    const int capacity = d.intAt(4);
    const QByteArrayView time = d.bytesAt(3);
    return Usage::Use(d.intAt(2), SqlBase::parseStoredSeconds(time.data(), int(time.size())),
                      &capacity);
}

// Totals by identifier: an array for the small identifiers databases hand out, which is
// what makes a pass over a million entries cheap; a hash for any other.
class TotalsById
{
public:
    Usage::Totals& operator[](int id)
    {
        if (id < 0 || id >= kDense)
            return m_sparse[id];
        if (size_t(id) >= m_dense.size())
            m_dense.resize(size_t(id) + 1);
        return m_dense[size_t(id)];
    }
    QHash<int, Usage::Totals> toHash() const
    {
        QHash<int, Usage::Totals> out = m_sparse;
        for (size_t id = 0; id < m_dense.size(); ++id) {
            if (m_dense[id].count() > 0)
                out.insert(int(id), m_dense[id]);
        }
        return out;
    }

private:
    static constexpr int kDense = 1 << 16;
    std::vector<Usage::Totals> m_dense;
    QHash<int, Usage::Totals> m_sparse;
};

} // namespace

// What the engine needs to know of a table to write, read and cache its records.
template <class Record> struct SqlTable {
    const char* insert;
    const char* update; // the identifier is the last parameter
    const char* remove;
    const char* selectOne;
    const char* selectAll;
    void (*bind)(SqlDriver&, const Record&);
    Record (*fromRow)(SqlBase*, const SqlDriver&);
    void (SqlBase::*cache)(const Record&);
    void (SqlBase::*uncache)(int);
};

const SqlTable<ModelEntry> SqlEngine::kModels{
    "INSERT INTO modelList(modelName,modelTyp) VALUES (?,?)",
    "UPDATE modelList SET modelName=?,modelTyp=? WHERE modelId=?",
    "DELETE FROM modelList WHERE modelId=?",
    "SELECT * FROM modelList WHERE modelId=?",
    "SELECT * FROM modelList ORDER BY modelId",
    bindModel,
    modelFromRow,
    &SqlEngine::cacheModel,
    &SqlEngine::uncacheModel};

const SqlTable<AccuEntry> SqlEngine::kAccus{
    "INSERT INTO accus(accuBrand,accuDescr,accuCapacity,numCells,accuStrength,accuTyp) "
    "VALUES (?,?,?,?,?,?)",
    "UPDATE accus SET accuBrand=?,accuDescr=?,accuCapacity=?,numCells=?,accuStrength=?,"
    "accuTyp=? WHERE accuId=?",
    "DELETE FROM accus WHERE accuId=?",
    "SELECT * FROM accus WHERE accuId=?",
    "SELECT * FROM accus ORDER BY accuId",
    bindAccu,
    accuFromRow,
    &SqlEngine::cacheAccu,
    &SqlEngine::uncacheAccu};

const SqlTable<LogEntry> SqlEngine::kLog{
    "INSERT INTO logList(date,time,accuId,modelId,charged) VALUES (?,?,?,?,?)",
    "UPDATE logList SET date=?,time=?,accuId=?,modelId=?,charged=? WHERE id=?",
    "DELETE FROM logList WHERE id=?",
    "SELECT * FROM logList WHERE id=?",
    "SELECT * FROM logList ORDER BY id",
    bindLog,
    logFromRow,
    &SqlEngine::cacheLogEntry,
    &SqlEngine::uncacheLogEntry};

SqlEngine::SqlEngine(std::unique_ptr<SqlDriver> driver, QString fileName)
    : SqlBase(std::move(fileName)), m_pDriver(std::move(driver))
{
}

SqlEngine::SqlEngine(std::unique_ptr<SqlDriver> driver, QString host, int port, QString database,
                     QString user, QString password)
    : SqlBase(std::move(host), port, std::move(database), std::move(user), std::move(password)),
      m_pDriver(std::move(driver))
{
}

SqlEngine::~SqlEngine()
{
    m_pDriver->close();
}

std::unique_ptr<SqlDriver> SqlEngine::replaceDriver(std::unique_ptr<SqlDriver> driver)
{
    std::swap(driver, m_pDriver);
    return driver;
}

bool SqlEngine::connectDb(QString* errorText)
{
    QString problem;
    if (m_pDriver->open(*this, &problem)) {
        problem = checkTables();
        if (problem.isEmpty())
            return true;
        m_pDriver->close();
    }
    m_strLastError = problem;
    if (errorText)
        *errorText = lastErrorText();
    return false;
}

// Only reads, and only the column names: a refused database stays as it was.
QString SqlEngine::checkTables()
{
    for (const QString& table : tableNames()) {
        QStringList names;
        if (!query(
                m_pDriver->tableColumnsSql(), [&](SqlDriver& d) { d.bind(table); },
                [&]() { names.clear(); }, [&](const SqlDriver& d) { names << textAt(d, 0); }))
            return m_strLastError;
        const QString problem = checkTableColumns(table, names);
        if (!problem.isEmpty())
            return problem;
    }
    return QString();
}

bool SqlEngine::disconnectDb()
{
    m_pDriver->close();
    m_bConnected = false;
    return true;
}

bool SqlEngine::reopen()
{
    QString problem;
    if (m_pDriver->open(*this, &problem))
        return true;
    m_pDriver->report(problem);
    m_strLastError = problem;
    return false;
}

bool SqlEngine::run(Replay replay, const std::function<bool()>& work)
{
    if (!m_pDriver->isOpen()) {
        m_strLastError = QStringLiteral("not connected");
        return false;
    }
    if (replay == Replay::CheckFirst && !m_pDriver->ping() && !reopen())
        return false;
    for (int attempt = 0;; ++attempt) {
        const bool done = work();
        const bool lost = !done && m_pDriver->connectionLost();
        if (!done)
            m_strLastError = m_pDriver->errorText();
        m_pDriver->finish();
        if (done)
            return true;
        if (attempt > 0 || replay != Replay::Repeat || !lost || !reopen())
            return false;
    }
}

bool SqlEngine::execute(Replay replay, const QByteArray& sql, const Binder& bind, qint64* result,
                        bool insert)
{
    return run(replay, [&]() {
        if (!m_pDriver->prepare(sql))
            return false;
        bind(*m_pDriver);
        if (!m_pDriver->exec())
            return false;
        *result = insert ? m_pDriver->lastInsertId() : m_pDriver->rowsMatched();
        return true;
    });
}

bool SqlEngine::query(const QByteArray& sql, const Binder& bind,
                      const std::function<void()>& restart, const Taker& take)
{
    return run(Replay::Repeat, [&]() {
        restart();
        if (!m_pDriver->prepare(sql))
            return false;
        bind(*m_pDriver);
        while (m_pDriver->next())
            take(*m_pDriver);
        return !m_pDriver->failed();
    });
}

bool SqlEngine::queryRow(const QByteArray& sql, int id, const Taker& take)
{
    bool found = false;
    const bool ok = query(
        sql, [id](SqlDriver& d) { d.bind(id); }, [&]() { found = false; },
        [&](const SqlDriver& d) {
            if (!found)
                take(d);
            found = true;
        });
    return ok && found;
}

int SqlEngine::insertRow(const QByteArray& sql, const Binder& bind)
{
    qint64 id = -1;
    if (!execute(Replay::CheckFirst, sql, bind, &id, true))
        return -1;
    return int(id);
}

// True when the row with that identifier exists, whether its values changed or not.
bool SqlEngine::changeRow(Replay replay, const QByteArray& sql, const Binder& bind)
{
    qint64 matched = 0;
    return execute(replay, sql, bind, &matched, false) && matched > 0;
}

template <class Record> int SqlEngine::addRecord(const SqlTable<Record>& table, Record* entry)
{
    if (!entry)
        return -1;
    const int id = insertRow(table.insert, [&](SqlDriver& d) { table.bind(d, *entry); });
    if (id < 0)
        return -1;
    entry->m_iId = id;
    cacheStored(table, *entry);
    return id;
}

template <class Record>
bool SqlEngine::changeRecord(const SqlTable<Record>& table, int id, Record* entry)
{
    if (!entry || id < 0 || !changeRow(Replay::Repeat, table.update, [&](SqlDriver& d) {
            table.bind(d, *entry);
            d.bind(id);
        }))
        return false;
    entry->m_iId = id;
    cacheStored(table, *entry);
    return true;
}

template <class Record> bool SqlEngine::deleteRecord(const SqlTable<Record>& table, int id)
{
    if (id < 0 || !changeRow(Replay::CheckFirst, table.remove, [id](SqlDriver& d) { d.bind(id); }))
        return false;
    (this->*table.uncache)(id);
    return true;
}

template <class Record>
bool SqlEngine::readRecord(const SqlTable<Record>& table, int id, Record* out)
{
    return out && id >= 0 && queryRow(table.selectOne, id, [&](const SqlDriver& d) {
               *out = table.fromRow(this, d);
           });
}

template <class Record>
bool SqlEngine::readRecords(const SqlTable<Record>& table, QVector<Record>* out)
{
    if (!out)
        return false;
    QVector<Record> rows;
    if (!query(
            table.selectAll, [](SqlDriver&) {}, [&]() { rows.clear(); },
            [&](const SqlDriver& d) { rows.append(table.fromRow(this, d)); }))
        return false;
    out->append(rows);
    return true;
}

// After a write the row as stored (texts, dates and times as the database keeps them) goes
// into the cache; the record as given when it cannot be read back.
template <class Record>
void SqlEngine::cacheStored(const SqlTable<Record>& table, const Record& written)
{
    Record stored;
    (this->*table.cache)(readRecord(table, written.m_iId, &stored) ? stored : written);
}

int SqlEngine::addModel(ModelEntry* entry)
{
    return addRecord(kModels, entry);
}

bool SqlEngine::changeModel(int modelId, ModelEntry* entry)
{
    return changeRecord(kModels, modelId, entry);
}

bool SqlEngine::deleteModel(int modelId)
{
    return deleteRecord(kModels, modelId);
}

bool SqlEngine::readModel(int modelId, ModelEntry* out)
{
    return readRecord(kModels, modelId, out);
}

bool SqlEngine::readModels(QVector<ModelEntry>* out)
{
    return readRecords(kModels, out);
}

int SqlEngine::addAccu(AccuEntry* entry)
{
    return addRecord(kAccus, entry);
}

bool SqlEngine::changeAccu(int accuId, AccuEntry* entry)
{
    return changeRecord(kAccus, accuId, entry);
}

bool SqlEngine::deleteAccu(int accuId)
{
    return deleteRecord(kAccus, accuId);
}

bool SqlEngine::readAccu(int accuId, AccuEntry* out)
{
    return readRecord(kAccus, accuId, out);
}

bool SqlEngine::readAccus(QVector<AccuEntry>* out)
{
    return readRecords(kAccus, out);
}

int SqlEngine::addLogEntry(LogEntry* entry)
{
    return addRecord(kLog, entry);
}

bool SqlEngine::changeLogEntry(int id, LogEntry* entry)
{
    return changeRecord(kLog, id, entry);
}

bool SqlEngine::deleteLogEntry(int id)
{
    return deleteRecord(kLog, id);
}

bool SqlEngine::readLogEntry(int id, LogEntry* out)
{
    return readRecord(kLog, id, out);
}

// Read in the table's own order and sorted here: ordering in SQL makes the planner walk the
// date index, which is slower than a scan for most of the log and keeps it from using the
// better index for a filter.
bool SqlEngine::readLogEntries(QVector<LogEntry*>* out, int filterFlags)
{
    if (!out)
        return false;
    QVector<LogEntry*> rows;
    if (!readLogRows(("SELECT * FROM logList" + logFilterClause(filterFlags)).toUtf8(), &rows))
        return false;
    sortLog(&rows);
    out->append(rows);
    return true;
}

bool SqlEngine::readLog(QVector<LogEntry*>* out)
{
    return readLogRows(kLog.selectAll, out);
}

bool SqlEngine::readLogRows(const QByteArray& sql, QVector<LogEntry*>* out)
{
    const auto drop = [out]() {
        qDeleteAll(*out);
        out->clear();
    };
    if (query(
            sql, [](SqlDriver&) {}, drop,
            [&](const SqlDriver& d) { out->append(new LogEntry(logFromRow(this, d))); }))
        return true;
    drop();
    return false;
}

bool SqlEngine::readUsageOf(UsageGroup group, int id, Usage::Totals* out)
{
    if (!out || id < 0)
        return false;
    Usage::Totals totals;
    if (!query(
            usageQueryOf(group).toUtf8(), [id](SqlDriver& d) { d.bind(id); },
            [&]() { totals = Usage::Totals(); },
            [&](const SqlDriver& d) { totals.add(useOfRow(d)); }))
        return false;
    *out = totals;
    return true;
}

bool SqlEngine::readUsage(int filterFlags, QHash<int, Usage::Totals>* byModel,
                          QHash<int, Usage::Totals>* byAccu)
{
    TotalsById models, accus;
    if (!query(
            usageQuery(filterFlags).toUtf8(), [](SqlDriver&) {},
            [&]() { models = accus = TotalsById(); },
            [&](const SqlDriver& d) {
                const Usage::Use use = useOfRow(d);
                if (byModel)
                    models[d.intAt(0)].add(use);
                if (byAccu)
                    accus[d.intAt(1)].add(use);
            }))
        return false;
    if (byModel)
        *byModel = models.toHash();
    if (byAccu)
        *byAccu = accus.toHash();
    return true;
}

namespace
{
bool timesOf(const Usage::Totals& totals, QTime* total, QTime* average, int* count)
{
    *count = totals.count();
    // A time of day cannot hold a day or more; the statistics records carry the true total.
    *total = QTime(0, 0).addSecs(int(totals.totalSeconds() % 86400));
    *average = QTime(0, 0).addSecs(int(totals.averageSeconds() % 86400));
    return true;
}

bool currentAndRestOf(const Usage::Totals& totals, double* avgCurrent, int* avgRest)
{
    *avgCurrent = totals.avgCurrentAmps();
    *avgRest = totals.avgRest();
    return totals.completeUses() > 0;
}
} // namespace

bool SqlEngine::readModelTimes(int modelId, QTime* total, QTime* average, int* count)
{
    Usage::Totals totals;
    return total && average && count && readUsageOf(UsageGroup::Model, modelId, &totals) &&
           timesOf(totals, total, average, count);
}

bool SqlEngine::readAccuTimes(int accuId, QTime* total, QTime* average, int* count)
{
    Usage::Totals totals;
    return total && average && count && readUsageOf(UsageGroup::Accu, accuId, &totals) &&
           timesOf(totals, total, average, count);
}

// True when at least one complete entry was found; only entries whose pack still exists with
// a capacity give a rest figure.
bool SqlEngine::readModelCurrentAndRest(int modelId, double* avgCurrent, int* avgRest)
{
    Usage::Totals totals;
    return avgCurrent && avgRest && readUsageOf(UsageGroup::Model, modelId, &totals) &&
           currentAndRestOf(totals, avgCurrent, avgRest);
}

bool SqlEngine::readAccuCurrentAndRest(int accuId, double* avgCurrent, int* avgRest)
{
    Usage::Totals totals;
    return avgCurrent && avgRest && readUsageOf(UsageGroup::Accu, accuId, &totals) &&
           currentAndRestOf(totals, avgCurrent, avgRest);
}
