// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "storage/sqlengine.h"

#include "storage/sqltable.h"
#include "storage/workprogress.h"

#include <QVariantList>

#include <climits>
#include <optional>
#include <vector>

namespace
{
QString textAt(const SqlDriver& d, int column)
{
    const QByteArrayView bytes = d.bytesAt(column);
    return SqlBase::decodeStoredText(bytes.data(), int(bytes.size()));
}

// Conditions that a row still holds the given values, normalised as rows are read: numbers as
// numbers, texts as read back (see SqlDriver::sameTextSql).
class SameValues : public FieldVisitor
{
public:
    explicit SameValues(const SqlDriver& driver) : m_driver(driver) {}
    void number(const char* column, int value) override
    {
        sql += QByteArray(" AND coalesce(") + column + ",0)+0=?";
        m_binds.push_back([value](SqlDriver& d) { d.bind(value); });
    }
    void text(const char* column, const QString& value) override
    {
        sql += " AND " + m_driver.sameTextSql(column);
        m_binds.push_back([value](SqlDriver& d) { d.bindSameText(value); });
    }
    // A date or duration that did not read is not compared: the row could never be edited.
    void date(const char* column, const QDate& value) override
    {
        if (value.isValid())
            text(column, SqlBase::dateText(value));
    }
    void time(const char* column, const QTime& value) override
    {
        if (value.isValid())
            text(column, SqlBase::timeText(value));
    }
    void bind(SqlDriver& d) const
    {
        for (const auto& b : m_binds)
            b(d);
    }

    QByteArray sql;

private:
    const SqlDriver& m_driver;
    std::vector<std::function<void(SqlDriver&)>> m_binds;
};

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

template <> void SqlEngine::uncache<ModelEntry>(int id)
{
    uncacheModel(id);
}

template <> void SqlEngine::uncache<AccuEntry>(int id)
{
    uncacheAccu(id);
}

template <> void SqlEngine::uncache<LogEntry>(int id)
{
    uncacheLogEntry(id);
}

template <> const ModelEntry* SqlEngine::cached<ModelEntry>(int id) const
{
    return cachedModel(id);
}

template <> const AccuEntry* SqlEngine::cached<AccuEntry>(int id) const
{
    return cachedAccu(id);
}

template <> const LogEntry* SqlEngine::cached<LogEntry>(int id) const
{
    return cachedLogEntry(id);
}

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
    m_bOffline = false;
    m_bReadOnly = false;
    m_strReadOnlyReason.clear();
    if (m_pDriver->open(*this, &problem)) {
        problem = checkTables();
        if (problem.isEmpty()) {
            m_strReadOnlyReason = probeWrites();
            m_bReadOnly = !m_strReadOnlyReason.isEmpty();
            // Runs while the tables are read; settleOpen() waits for it.
            m_pDriver->startCheck();
            m_lastFailure = Failure::None;
            return true;
        }
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

// A statement that changes no row still needs the right to write: the database refuses it
// for a read-only file or an account that may only read.
QString SqlEngine::probeWrites()
{
    const QString known = m_pDriver->cannotWrite();
    if (!known.isEmpty())
        return known;
    const std::pair<const char*, const char*> tables[] = {{kModelTable.name, kModelTable.idColumn},
                                                          {kAccuTable.name, kAccuTable.idColumn},
                                                          {kLogTable.name, kLogTable.idColumn}};
    for (const auto& [table, id] : tables) {
        qint64 rows = 0;
        const QByteArray sql =
            QByteArray("UPDATE ") + table + " SET " + id + "=" + id + " WHERE 0=1";
        if (!execute(
                Replay::Repeat, sql, [](SqlDriver&) {}, &rows, false) &&
            m_pDriver->writeRefused())
            return m_strLastError;
    }
    return QString();
}

bool SqlEngine::settleOpen(bool loaded, QString*)
{
    if (m_pDriver->isChecking())
        beginStage(SqlBase::tr("Checking the log book for damage"));
    m_unreadable.clear();
    m_strDamage = m_pDriver->damage();
    m_iUnreadableRows = 0;
    if (m_strDamage.isEmpty())
        return loaded;
    // Nothing is written into a damaged file: a write could spread the damage.
    m_bReadOnly = true;
    m_strReadOnlyReason = m_strDamage;
    m_models = readReadable(kModelTable, &m_iUnreadableRows);
    m_accus = readReadable(kAccuTable, &m_iUnreadableRows);
    QVector<LogEntry*> log;
    for (const LogEntry& entry : readReadable(kLogTable, &m_iUnreadableRows))
        log.append(new LogEntry(entry));
    m_bModelsCached = m_bAccusCached = true;
    takeLog(std::move(log));
    m_lastFailure = Failure::None;
    return true;
}

template <class Record>
QVector<Record> SqlEngine::readReadable(const SqlTable<Record>& table, int* lost)
{
    const QByteArray from = QByteArray("SELECT * FROM ") + table.name + " WHERE " + table.idColumn +
                            ">=? ORDER BY " + table.idColumn;
    QVector<Record> rows;
    // Whether the rows from `start` on read to their end; a probe takes only the first.
    const auto readFrom = [&](qint64 start, bool probe) {
        return query(
            probe ? from + " LIMIT 1" : from, [start](SqlDriver& d) { d.bind(int(start)); },
            []() {},
            [&](const SqlDriver& d) {
                if (!probe)
                    rows.append(table.fromRow(this, d));
            });
    };
    qint64 start = INT_MIN, skipped = 0;
    QVector<Unreadable> gaps;
    while (!readFrom(start, false)) {
        // Identifiers are positive in practice; below them the steps would never get there.
        const qint64 bad = qMax<qint64>(
            0, rows.isEmpty() || rows.last().m_iId < start ? start : rows.last().m_iId + 1);
        // Ahead in growing steps to a start that reads, then back to the first such start.
        qint64 failing = bad, next = -1;
        for (qint64 step = 1; next < 0 && bad + step <= INT_MAX; step *= 2) {
            if (readFrom(bad + step, true))
                next = bad + step;
            else
                failing = bad + step;
        }
        if (next < 0) {
            gaps.append({QLatin1String(table.name), bad, -1});
            break; // nothing after it reads; how much is lost only a count can tell
        }
        while (next - failing > 1) {
            const qint64 middle = failing + (next - failing) / 2;
            (readFrom(middle, true) ? next : failing) = middle;
        }
        skipped += next - bad;
        gaps.append({QLatin1String(table.name), bad, next - 1});
        start = next;
    }
    // Counted through an index where there is one, which the damage may have spared.
    qint64 count = -1;
    query(
        QByteArray("SELECT count(*) FROM ") + table.name, [](SqlDriver&) {}, []() {},
        [&](const SqlDriver& d) { count = d.intAt(0); });
    const int missing = int(count >= rows.size() ? count - rows.size() : skipped);
    *lost += missing;
    if (missing > 0)
        m_unreadable += gaps;
    return rows;
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

bool SqlEngine::refuse(Failure failure, const QString& why)
{
    m_lastFailure = failure;
    m_strLastError = why;
    return false;
}

bool SqlEngine::goOffline()
{
    m_bOffline = true;
    m_lastFailure = Failure::Offline;
    return false;
}

bool SqlEngine::resume(QString* errorText)
{
    if (!m_bOffline)
        return true;
    if (!reopen()) {
        m_lastFailure = Failure::Offline;
        if (errorText)
            *errorText = lastErrorText();
        return false;
    }
    m_bOffline = false;
    return true;
}

bool SqlEngine::run(Replay replay, const std::function<bool()>& work)
{
    m_bReplyLost = false;
    if (m_bOffline)
        return refuse(Failure::Offline, QStringLiteral("the server does not answer"));
    if (!m_pDriver->isOpen())
        return refuse(Failure::Error, QStringLiteral("not connected"));
    bool reopened = false;
    if (replay == Replay::CheckFirst && !m_pDriver->ping()) {
        if (!reopen())
            return goOffline();
        reopened = true;
    }
    for (;;) {
        const bool done = work();
        const bool lost = !done && m_pDriver->connectionLost();
        if (!done) {
            m_lastFailure = Failure::Error;
            m_strLastError = m_pDriver->errorText();
        }
        m_pDriver->finish();
        if (done)
            return true;
        if (!lost)
            return false;
        if (reopened || !reopen())
            return goOffline();
        reopened = true;
        if (replay != Replay::Repeat) {
            m_bReplyLost = true;
            return false;
        }
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

template <class Record> int SqlEngine::addRecord(const SqlTable<Record>& table, Record* entry)
{
    if (!entry || !mayWrite<Record>(table, *entry, nullptr))
        return -1;
    // Remembered so that an insert whose reply was lost can be found afterwards.
    int highest = 0;
    if (!query(
            QByteArray("SELECT coalesce(max(") + table.idColumn + "),0) FROM " + table.name,
            [](SqlDriver&) {}, [&]() { highest = 0; },
            [&](const SqlDriver& d) { highest = d.intAt(0); }))
        return -1;
    int id = insertRow(table.insert, [&](SqlDriver& d) { table.bind(d, *entry); });
    if (id < 0 && m_bReplyLost)
        id = findInserted(table, *entry, highest);
    if (id < 0)
        return -1;
    entry->m_iId = id;
    cacheStored(table, *entry);
    return id;
}

template <class Record>
bool SqlEngine::readNow(const SqlTable<Record>& table, int id, Record* now, bool* exists)
{
    return query(
        table.selectOne, [id](SqlDriver& d) { d.bind(id); }, [&]() { *exists = false; },
        [&](const SqlDriver& d) {
            *now = table.fromRow(this, d);
            *exists = true;
        });
}

// A removed row back under its identifier. The identifier is free unless someone took it in
// the meantime; then the row found there is what the cache shows.
template <class Record> bool SqlEngine::restoreRecord(const SqlTable<Record>& table, Record* entry)
{
    if (!entry || entry->m_iId < 0 || !mayWrite<Record>(table, *entry, nullptr))
        return false;
    const int id = entry->m_iId;
    Record now;
    bool taken = false;
    if (!readNow(table, id, &now, &taken))
        return false;
    if (taken) {
        cache(now);
        return refuse(Failure::Conflict,
                      QStringLiteral("the row was changed or deleted elsewhere"));
    }
    qint64 inserted = -1;
    const bool done = execute(
        Replay::CheckFirst, table.restore,
        [&](SqlDriver& d) {
            d.bind(id);
            table.bind(d, *entry);
        },
        &inserted, true);
    if (!done && !m_bReplyLost)
        return false;
    // Whether an insert whose reply was lost went through, the row itself tells.
    Record stored;
    if (!done && !(readRecord(table, id, &stored) && table.values(stored) == table.values(*entry)))
        return refuse(Failure::Error,
                      QStringLiteral("the connection was lost; nothing was stored"));
    cacheStored(table, *entry);
    return true;
}

template <class Record>
int SqlEngine::findInserted(const SqlTable<Record>& table, const Record& entry, int highest)
{
    const QVariantList wanted = table.values(entry);
    int found = -1;
    const QByteArray sql = QByteArray("SELECT * FROM ") + table.name + " WHERE " + table.idColumn +
                           ">? ORDER BY " + table.idColumn;
    const bool read = query(
        sql, [highest](SqlDriver& d) { d.bind(highest); }, [&]() { found = -1; },
        [&](const SqlDriver& d) {
            const Record row = table.fromRow(this, d);
            if (found < 0 && table.values(row) == wanted)
                found = row.m_iId;
        });
    if (read && found < 0)
        refuse(Failure::Error, QStringLiteral("the connection was lost; nothing was stored"));
    return read ? found : -1;
}

template <class Record>
bool SqlEngine::mayWrite(const SqlTable<Record>& table, const Record& entry, const Record* before)
{
    if (m_bReadOnly)
        return refuse(Failure::ReadOnly, QStringLiteral("the log book is open read-only"));
    const QStringList stored = before ? table.texts(*before) : QStringList();
    for (const QString& text : table.texts(entry)) {
        if (text.size() > kMaxTextLength && !stored.contains(text))
            return refuse(
                Failure::TooLong,
                QStringLiteral("a text is longer than %1 characters").arg(kMaxTextLength));
    }
    return true;
}

template <class Record>
bool SqlEngine::settle(const SqlTable<Record>& table, int id, const Record* wanted)
{
    Record now;
    bool exists = false;
    if (!readNow(table, id, &now, &exists))
        return false;
    if (wanted ? exists && table.values(now) == table.values(*wanted) : !exists)
        return true;
    if (exists)
        cache(now);
    else
        uncache<Record>(id);
    return refuse(Failure::Conflict, QStringLiteral("the row was changed or deleted elsewhere"));
}

// The row is written only while it holds the values last read; what the cache holds are
// those values. A row the cache does not know is written as it is.
template <class Record>
bool SqlEngine::changeRecord(const SqlTable<Record>& table, int id, Record* entry)
{
    if (!entry || id < 0)
        return false;
    const Record* known = this->template cached<Record>(id);
    const std::optional<Record> before = known ? std::optional<Record>(*known) : std::nullopt;
    if (!mayWrite(table, *entry, before ? &*before : nullptr))
        return false;
    SameValues same(*m_pDriver);
    if (before)
        table.fields(same, *before);
    qint64 matched = 0;
    if (!execute(
            Replay::Repeat, table.update + same.sql,
            [&](SqlDriver& d) {
                table.bind(d, *entry);
                d.bind(id);
                same.bind(d);
            },
            &matched, false))
        return false;
    if (matched == 0 && !(before ? settle(table, id, entry)
                                 : refuse(Failure::Error, QStringLiteral("no such row"))))
        return false;
    entry->m_iId = id;
    cacheStored(table, *entry);
    return true;
}

template <class Record> bool SqlEngine::deleteRecord(const SqlTable<Record>& table, int id)
{
    if (id < 0)
        return false;
    if (m_bReadOnly)
        return refuse(Failure::ReadOnly, QStringLiteral("the log book is open read-only"));
    const Record* known = this->template cached<Record>(id);
    const std::optional<Record> before = known ? std::optional<Record>(*known) : std::nullopt;
    SameValues same(*m_pDriver);
    if (before)
        table.fields(same, *before);
    qint64 matched = 0;
    if (!execute(
            Replay::Repeat, table.remove + same.sql,
            [&](SqlDriver& d) {
                d.bind(id);
                same.bind(d);
            },
            &matched, false))
        return false;
    if (matched == 0 && !(before ? settle<Record>(table, id, nullptr)
                                 : refuse(Failure::Error, QStringLiteral("no such row"))))
        return false;
    uncache<Record>(id);
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
    cache(readRecord(table, written.m_iId, &stored) ? stored : written);
}

int SqlEngine::addModel(ModelEntry* entry)
{
    return addRecord(kModelTable, entry);
}

bool SqlEngine::changeModel(int modelId, ModelEntry* entry)
{
    return changeRecord(kModelTable, modelId, entry);
}

bool SqlEngine::deleteModel(int modelId)
{
    return deleteRecord(kModelTable, modelId);
}

bool SqlEngine::readModel(int modelId, ModelEntry* out)
{
    return readRecord(kModelTable, modelId, out);
}

bool SqlEngine::readModels(QVector<ModelEntry>* out)
{
    return readRecords(kModelTable, out);
}

int SqlEngine::addAccu(AccuEntry* entry)
{
    return addRecord(kAccuTable, entry);
}

bool SqlEngine::changeAccu(int accuId, AccuEntry* entry)
{
    return changeRecord(kAccuTable, accuId, entry);
}

bool SqlEngine::deleteAccu(int accuId)
{
    return deleteRecord(kAccuTable, accuId);
}

bool SqlEngine::readAccu(int accuId, AccuEntry* out)
{
    return readRecord(kAccuTable, accuId, out);
}

bool SqlEngine::readAccus(QVector<AccuEntry>* out)
{
    return readRecords(kAccuTable, out);
}

int SqlEngine::addLogEntry(LogEntry* entry)
{
    return addRecord(kLogTable, entry);
}

bool SqlEngine::changeLogEntry(int id, LogEntry* entry)
{
    return changeRecord(kLogTable, id, entry);
}

bool SqlEngine::deleteLogEntry(int id)
{
    return deleteRecord(kLogTable, id);
}

bool SqlEngine::readLogEntry(int id, LogEntry* out)
{
    return readRecord(kLogTable, id, out);
}

bool SqlEngine::restoreModel(ModelEntry* entry)
{
    return restoreRecord(kModelTable, entry);
}

bool SqlEngine::restoreAccu(AccuEntry* entry)
{
    return restoreRecord(kAccuTable, entry);
}

bool SqlEngine::restoreLogEntry(LogEntry* entry)
{
    return restoreRecord(kLogTable, entry);
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

// In pages by identifier, so that whoever waits sees how far it got and may stop it between
// two pages.
bool SqlEngine::readLog(QVector<LogEntry*>* out)
{
    constexpr int kPage = 50000;
    qint64 first = 0, last = 0;
    if (!query(
            QByteArray("SELECT min(id),max(id) FROM logList"), [](SqlDriver&) {}, []() {},
            [&](const SqlDriver& d) {
                first = d.intAt(0);
                last = d.intAt(1);
            }))
        return false;
    beginStage(SqlBase::tr("Reading the log"), last - first + 1);
    const QByteArray page = kLogTable.pageSql(kPage);
    const auto dropFrom = [out](qsizetype from) {
        qDeleteAll(out->begin() + from, out->end());
        out->resize(from);
    };
    for (int after = INT_MIN;;) {
        const qsizetype before = out->size();
        if (!query(
                page, [after](SqlDriver& d) { d.bind(after); }, [&]() { dropFrom(before); },
                [&](const SqlDriver& d) {
                    out->append(new LogEntry(kLogTable.fromRow(this, d)));
                })) {
            dropFrom(0);
            return false;
        }
        if (out->size() - before < kPage)
            return true;
        after = out->last()->m_iId;
        if (m_pProgress && !m_pProgress->reach(after - first + 1)) {
            dropFrom(0);
            return refuse(Failure::Cancelled, QStringLiteral("cancelled"));
        }
    }
}

bool SqlEngine::readLogRows(const QByteArray& sql, QVector<LogEntry*>* out)
{
    const auto drop = [out]() {
        qDeleteAll(*out);
        out->clear();
    };
    if (query(
            sql, [](SqlDriver&) {}, drop,
            [&](const SqlDriver& d) { out->append(new LogEntry(kLogTable.fromRow(this, d))); }))
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
