#include "storage/mysqlconnection.h"

#include "storage/usage.h"

#include <errmsg.h>

#include <charconv>
#include <cstdio>

namespace
{

// Server errors that mean the connection itself is gone, not the statement.
bool connectionLost(int errnum)
{
    return errnum == CR_SERVER_GONE_ERROR || errnum == CR_SERVER_LOST ||
           errnum == 1927; // ER_CONNECTION_KILLED, sent by MariaDB to a killed connection
}

void reportError(const char* text)
{
    std::fprintf(stderr, "MysqlError: %s\n", text);
}

// Texts travel as UTF-8 on a utf8mb4 connection.
mysqlpp::SQLTypeAdapter text(const QString& value)
{
    return mysqlpp::SQLTypeAdapter(value.toStdString());
}

// A date or duration as the server takes it. Strict servers refuse an empty date; the zero
// date reads back as no date, as an empty text does in the file store.
mysqlpp::SQLTypeAdapter dateValue(const QDate& date)
{
    return text(date.isValid() ? SqlBase::dateText(date) : QStringLiteral("0000-00-00"));
}

mysqlpp::SQLTypeAdapter timeValue(const QTime& time)
{
    return text(time.isValid() ? SqlBase::timeText(time) : QStringLiteral("00:00:00"));
}

template <typename Int> Int intAt(const mysqlpp::Row& row, int column)
{
    const mysqlpp::String& value = row[column];
    Int out = 0;
    if (!value.is_null())
        std::from_chars(value.data(), value.data() + value.length(), out);
    return out;
}

QString textAt(const mysqlpp::Row& row, int column)
{
    const mysqlpp::String& value = row[column];
    return SqlBase::decodeStoredText(value.data(), int(value.length()));
}

QDate dateAt(const mysqlpp::Row& row, int column)
{
    const mysqlpp::String& value = row[column];
    return SqlBase::parseStoredDate(value.data(), int(value.length()));
}

QTime timeAt(const mysqlpp::Row& row, int column)
{
    const mysqlpp::String& value = row[column];
    return SqlBase::parseStoredTime(value.data(), int(value.length()));
}

// Rows of SELECT *, by column position.
ModelEntry modelFromRow(SqlBase* db, const mysqlpp::Row& row)
{
    return ModelEntry(db, textAt(row, 0), intAt<int>(row, 1), intAt<int>(row, 2));
}

AccuEntry accuFromRow(SqlBase* db, const mysqlpp::Row& row)
{
    return AccuEntry(db, textAt(row, 1), textAt(row, 6), intAt<int>(row, 2), intAt<int>(row, 3),
                     intAt<int>(row, 4), intAt<int>(row, 5), intAt<int>(row, 0));
}

LogEntry logFromRow(SqlBase* db, const mysqlpp::Row& row)
{
    return LogEntry(db, dateAt(row, 1), timeAt(row, 2), intAt<int>(row, 5), intAt<int>(row, 3),
                    intAt<int>(row, 4), intAt<int>(row, 0));
}

mysqlpp::SQLQueryParms modelValues(const ModelEntry& e)
{
    mysqlpp::SQLQueryParms values;
    values << text(e.m_strName) << e.m_iTyp;
    return values;
}

mysqlpp::SQLQueryParms accuValues(const AccuEntry& e)
{
    mysqlpp::SQLQueryParms values;
    values << text(e.m_strBrand) << text(e.m_strDescr) << e.m_iCapacity << e.m_iCells
           << e.m_iStrength << e.m_iTyp;
    return values;
}

mysqlpp::SQLQueryParms logValues(const LogEntry& e)
{
    mysqlpp::SQLQueryParms values;
    values << dateValue(e.m_date) << timeValue(e.m_time) << e.m_iAccuId << e.m_iModelId
           << e.m_iCharged;
    return values;
}

mysqlpp::SQLQueryParms idValue(int id)
{
    mysqlpp::SQLQueryParms values;
    values << id;
    return values;
}

} // namespace

MysqlConnection::MysqlConnection(QString host, int port, QString database, QString user,
                                 QString password)
    : SqlBase(std::move(host), port, std::move(database), std::move(user), std::move(password)),
      m_connection(true), m_pQuery(std::make_unique<mysqlpp::Query>(&m_connection, true))
{
}

MysqlConnection::~MysqlConnection()
{
    m_connection.disconnect();
    m_pQuery.reset();
}

// Options last only for one connection, so each attempt sets them anew. Found rows: an
// update answers with the rows it matched, so saving unchanged values is a success.
bool MysqlConnection::openConnection(QString* problem)
{
    const QByteArray database = m_strDatabase.toUtf8();
    const QByteArray host = m_strHost.toUtf8();
    const QByteArray user = m_strUser.toUtf8();
    const QByteArray password = m_strPassword.toUtf8();
    try {
        m_connection.disconnect();
        m_connection.set_option(new mysqlpp::FoundRowsOption(true));
        m_connection.set_option(new mysqlpp::SetCharsetNameOption("utf8mb4"));
        m_connection.set_option(new mysqlpp::ConnectTimeoutOption(kConnectTimeoutSeconds));
        m_connection.set_option(new mysqlpp::ReadTimeoutOption(kReadTimeoutSeconds));
        m_connection.set_option(new mysqlpp::WriteTimeoutOption(kReadTimeoutSeconds));
        if (m_connection.connect(database.constData(), host.constData(), user.constData(),
                                 password.constData(), static_cast<unsigned int>(m_iPort)))
            return true;
        *problem = QString::fromUtf8(m_connection.error());
    } catch (const std::exception& e) {
        *problem = QString::fromUtf8(e.what());
    }
    if (problem->isEmpty())
        *problem = QStringLiteral("connection refused");
    m_connection.disconnect();
    return false;
}

bool MysqlConnection::connectDb(QString* errorText)
{
    std::fprintf(stderr, "connect to: %s : %d db: %s, user: %s\n", m_strHost.toUtf8().constData(),
                 m_iPort, m_strDatabase.toUtf8().constData(), m_strUser.toUtf8().constData());
    QString problem;
    if (openConnection(&problem)) {
        problem = checkTables();
        if (problem.isEmpty())
            return true;
        m_connection.disconnect();
    }
    if (errorText)
        *errorText = problem;
    return false;
}

// Reads no row: only the column names of each table.
QString MysqlConnection::checkTables()
{
    try {
        for (const QString& table : tableNames()) {
            m_pQuery->reset();
            *m_pQuery << "SELECT * FROM " << table.toStdString() << " LIMIT 0";
            const mysqlpp::StoreQueryResult result = m_pQuery->store();
            QStringList names;
            for (size_t i = 0; i < result.num_fields(); ++i)
                names << QString::fromStdString(result.field_name(int(i)));
            const QString problem = checkTableColumns(table, names);
            if (!problem.isEmpty())
                return problem;
        }
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

bool MysqlConnection::disconnectDb()
{
    m_connection.disconnect();
    m_bConnected = false;
    return true;
}

bool MysqlConnection::reconnect()
{
    QString problem;
    if (openConnection(&problem))
        return true;
    reportError(problem.toUtf8().constData());
    return false;
}

// One attempt, and one more on a new connection when the server dropped the old one (it was
// restarted, or closed the connection after a long idle time).
bool MysqlConnection::run(Replay replay, const std::function<void()>& work)
{
    if (!isConnected())
        return false;
    if (replay == Replay::CheckFirst) {
        bool alive = false;
        try {
            alive = m_connection.ping();
        } catch (const std::exception&) {
        }
        if (!alive && !reconnect())
            return false;
    }
    for (int attempt = 0;; ++attempt) {
        try {
            work();
            return true;
        } catch (const mysqlpp::BadQuery& e) {
            if (attempt == 0 && replay == Replay::Repeat && connectionLost(e.errnum()) &&
                reconnect())
                continue;
            reportError(e.what());
        } catch (const std::exception& e) {
            reportError(e.what());
        }
        return false;
    }
}

void MysqlConnection::prepare(const char* sql)
{
    m_pQuery->reset();
    *m_pQuery << sql;
    m_pQuery->parse();
}

int MysqlConnection::insertRow(const char* sql, mysqlpp::SQLQueryParms values)
{
    int id = -1;
    run(Replay::CheckFirst, [&]() {
        prepare(sql);
        const mysqlpp::SimpleResult result = m_pQuery->execute(values);
        if (result.rows() != 0)
            id = int(result.insert_id());
    });
    return id;
}

// True when the row with that identifier exists (the connection counts matched rows).
bool MysqlConnection::changeRow(const char* sql, mysqlpp::SQLQueryParms values, Replay replay)
{
    bool matched = false;
    run(replay, [&]() {
        prepare(sql);
        matched = m_pQuery->execute(values).rows() != 0;
    });
    return matched;
}

bool MysqlConnection::readOneRow(const char* sql, int id,
                                 const std::function<void(const mysqlpp::Row&)>& take)
{
    bool found = false;
    run(Replay::Repeat, [&]() {
        prepare(sql);
        mysqlpp::SQLQueryParms values = idValue(id);
        const mysqlpp::StoreQueryResult result = m_pQuery->store(values);
        found = !result.empty();
        if (found)
            take(result[0]);
    });
    return found;
}

// Rows stream from the server one by one. A connection lost on the way ends the rows early
// without an exception; that counts as a failure, and undo takes back what was taken.
bool MysqlConnection::readAllRows(const QString& sql,
                                  const std::function<void(const mysqlpp::Row&)>& take,
                                  const std::function<void()>& undo)
{
    const std::string statement = sql.toStdString();
    return run(Replay::Repeat, [&]() {
        m_pQuery->reset();
        *m_pQuery << statement;
        try {
            mysqlpp::UseQueryResult result = m_pQuery->use();
            while (const mysqlpp::Row row = result.fetch_row())
                take(row);
            if (const int errnum = m_connection.errnum())
                throw mysqlpp::BadQuery(m_connection.error(), errnum);
        } catch (...) {
            undo();
            throw;
        }
    });
}

int MysqlConnection::addModel(ModelEntry* entry)
{
    if (!isConnected() || !entry)
        return -1;
    const int id = insertRow("INSERT INTO modelList(modelTyp,modelName) VALUES (%1q,%0q)",
                             modelValues(*entry));
    if (id == -1)
        return -1;
    entry->m_iId = id;
    refreshModels();
    return id;
}

bool MysqlConnection::changeModel(int modelId, ModelEntry* entry)
{
    if (!isConnected() || !entry || modelId < 0)
        return false;
    mysqlpp::SQLQueryParms values = modelValues(*entry);
    values << modelId;
    if (!changeRow("UPDATE modelList set modelName=%0q, modelTyp=%1q where modelId=%2q", values,
                   Replay::Repeat))
        return false;
    entry->m_iId = modelId;
    refreshModels();
    return true;
}

bool MysqlConnection::deleteModel(int modelId)
{
    if (!isConnected() || modelId < 0 ||
        !changeRow("DELETE FROM modelList WHERE modelId=%0q", idValue(modelId), Replay::CheckFirst))
        return false;
    refreshModels();
    return true;
}

bool MysqlConnection::readModel(int modelId, ModelEntry* out)
{
    return isConnected() && out && modelId >= 0 &&
           readOneRow("SELECT * FROM modelList where modelId=%0q", modelId,
                      [&](const mysqlpp::Row& row) { *out = modelFromRow(this, row); });
}

bool MysqlConnection::readModels(QVector<ModelEntry>* out)
{
    if (!isConnected() || !out)
        return false;
    const int before = out->size();
    return readAllRows(
        QStringLiteral("SELECT * FROM modelList order by modelId"),
        [&](const mysqlpp::Row& row) { out->append(modelFromRow(this, row)); },
        [&]() { out->resize(before); });
}

int MysqlConnection::addAccu(AccuEntry* entry)
{
    if (!isConnected() || !entry)
        return -1;
    const int id = insertRow("INSERT INTO accus(accuBrand,accuDescr,accuCapacity,numCells,"
                             "accuStrength,accuTyp) VALUES (%0q,%1q,%2q,%3q,%4q,%5q)",
                             accuValues(*entry));
    if (id == -1)
        return -1;
    entry->m_iId = id;
    refreshAccus();
    return id;
}

bool MysqlConnection::changeAccu(int accuId, AccuEntry* entry)
{
    if (!isConnected() || !entry || accuId < 0)
        return false;
    mysqlpp::SQLQueryParms values = accuValues(*entry);
    values << accuId;
    if (!changeRow("UPDATE accus set accuBrand=%0q,accuDescr=%1q,accuCapacity=%2q,numCells=%3q,"
                   "accuStrength=%4q,accuTyp=%5q where accuId=%6q",
                   values, Replay::Repeat))
        return false;
    entry->m_iId = accuId;
    refreshAccus();
    return true;
}

bool MysqlConnection::deleteAccu(int accuId)
{
    if (!isConnected() || accuId < 0 ||
        !changeRow("DELETE FROM accus WHERE accuId=%0q", idValue(accuId), Replay::CheckFirst))
        return false;
    refreshAccus();
    return true;
}

bool MysqlConnection::readAccu(int accuId, AccuEntry* out)
{
    return isConnected() && out && accuId >= 0 &&
           readOneRow("SELECT * FROM accus where accuId=%0q", accuId,
                      [&](const mysqlpp::Row& row) { *out = accuFromRow(this, row); });
}

bool MysqlConnection::readAccus(QVector<AccuEntry>* out)
{
    if (!isConnected() || !out)
        return false;
    const int before = out->size();
    return readAllRows(
        QStringLiteral("SELECT * FROM accus order by accuId"),
        [&](const mysqlpp::Row& row) { out->append(accuFromRow(this, row)); },
        [&]() { out->resize(before); });
}

int MysqlConnection::addLogEntry(LogEntry* entry)
{
    if (!isConnected() || !entry)
        return -1;
    const int id = insertRow("INSERT INTO logList(date,time,accuId,modelId,charged) VALUES "
                             "(%0q,%1q,%2q,%3q,%4q)",
                             logValues(*entry));
    if (id == -1)
        return -1;
    entry->m_iId = id;
    refreshLogEntries();
    return id;
}

bool MysqlConnection::changeLogEntry(int id, LogEntry* entry)
{
    if (!isConnected() || !entry || id < 0)
        return false;
    mysqlpp::SQLQueryParms values = logValues(*entry);
    values << id;
    if (!changeRow("UPDATE logList set date=%0q,time=%1q,accuId=%2q,modelId=%3q,charged=%4q "
                   "where id=%5q",
                   values, Replay::Repeat))
        return false;
    entry->m_iId = id;
    refreshLogEntries();
    return true;
}

bool MysqlConnection::deleteLogEntry(int id)
{
    if (!isConnected() || id < 0 ||
        !changeRow("DELETE FROM logList WHERE id=%0q", idValue(id), Replay::CheckFirst))
        return false;
    refreshLogEntries();
    return true;
}

bool MysqlConnection::readLogEntry(int id, LogEntry* out)
{
    return isConnected() && out && id >= 0 &&
           readOneRow("SELECT * FROM logList where id=%0q", id,
                      [&](const mysqlpp::Row& row) { *out = logFromRow(this, row); });
}

bool MysqlConnection::readLogEntries(QVector<LogEntry*>* out, int filterFlags)
{
    if (!isConnected() || !out)
        return false;
    const int before = out->size();
    return readAllRows(
        QStringLiteral("SELECT * FROM logList") + logFilterClause(filterFlags) +
            QStringLiteral(" order by date"),
        [&](const mysqlpp::Row& row) { out->append(new LogEntry(logFromRow(this, row))); },
        [&]() {
            qDeleteAll(out->begin() + before, out->end());
            out->resize(before);
        });
}

// Summed on the server, in whole seconds; only durations above zero are timed uses.
bool MysqlConnection::readTimes(const char* sql, int id, QTime* total, QTime* average, int* count)
{
    if (!isConnected() || !total || !average || !count || id < 0)
        return false;
    qint64 entries = 0, seconds = 0, timed = 0;
    if (!readOneRow(sql, id, [&](const mysqlpp::Row& row) {
            entries = intAt<qint64>(row, 0);
            seconds = intAt<qint64>(row, 1);
            timed = intAt<qint64>(row, 2);
        }))
        return false;
    *count = int(entries);
    *total = QTime(0, 0).addSecs(int(seconds % 86400));
    *average = QTime(0, 0).addSecs(int((timed == 0 ? 0 : seconds / timed) % 86400));
    return true;
}

bool MysqlConnection::readModelTimes(int modelId, QTime* total, QTime* average, int* count)
{
    return readTimes("SELECT count(*),sum(time_to_sec(time)),sum(time_to_sec(time)>0) "
                     "FROM logList WHERE modelId=%0q",
                     modelId, total, average, count);
}

bool MysqlConnection::readAccuTimes(int accuId, QTime* total, QTime* average, int* count)
{
    return readTimes("SELECT count(*),sum(time_to_sec(time)),sum(time_to_sec(time)>0) "
                     "FROM logList WHERE accuId=%0q",
                     accuId, total, average, count);
}

// The pack capacities come with the rows through a join; a pack that no longer exists gives
// a null capacity and so no rest figure. True when at least one complete entry was found.
bool MysqlConnection::readCurrentAndRest(const char* sql, int id, double* avgCurrent, int* avgRest)
{
    if (!isConnected() || !avgCurrent || !avgRest || id < 0)
        return false;
    Usage::Totals totals;
    const bool ok = run(Replay::Repeat, [&]() {
        totals = Usage::Totals();
        prepare(sql);
        mysqlpp::SQLQueryParms values = idValue(id);
        const mysqlpp::StoreQueryResult result = m_pQuery->store(values);
        for (const mysqlpp::Row& row : result) {
            const int capacity = intAt<int>(row, 2);
            totals.addUse(intAt<int>(row, 0), intAt<qint64>(row, 1),
                          row[2].is_null() ? nullptr : &capacity);
        }
    });
    if (!ok)
        return false;
    *avgCurrent = totals.avgCurrentAmps();
    *avgRest = totals.avgRest();
    return totals.completeUses() > 0;
}

bool MysqlConnection::readModelCurrentAndRest(int modelId, double* avgCurrent, int* avgRest)
{
    return readCurrentAndRest("SELECT l.charged,time_to_sec(l.time),a.accuCapacity FROM logList l "
                              "LEFT JOIN accus a ON a.accuId=l.accuId WHERE l.modelId=%0q",
                              modelId, avgCurrent, avgRest);
}

bool MysqlConnection::readAccuCurrentAndRest(int accuId, double* avgCurrent, int* avgRest)
{
    return readCurrentAndRest("SELECT l.charged,time_to_sec(l.time),a.accuCapacity FROM logList l "
                              "LEFT JOIN accus a ON a.accuId=l.accuId WHERE l.accuId=%0q",
                              accuId, avgCurrent, avgRest);
}

bool MysqlConnection::readUsage(UsageGroup group, int filterFlags, QHash<int, Usage::Totals>* out)
{
    if (!isConnected() || !out)
        return false;
    const QHash<int, Usage::Totals> before = *out;
    return readAllRows(
        usageQuery(group, filterFlags),
        [&](const mysqlpp::Row& row) {
            const int capacity = intAt<int>(row, 3);
            addUsage(out, intAt<int>(row, 0), intAt<int>(row, 1), timeAt(row, 2),
                     row[3].is_null() ? nullptr : &capacity);
        },
        [&]() { *out = before; });
}
