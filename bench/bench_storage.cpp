// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// Storage benchmarks: edits, opening a log book, the log filters and the statistics lists.
// Each store figure has a partner measured in the same run, so the ratio can be read off: the
// least the same work costs on a plain connection, or (for the filters) the same book without
// its log indexes.
//
// Books of 10 000, 100 000 and 1 000 000 entries are generated on first use; --data-dir DIR
// keeps them between runs, --db FILE runs on an existing SQLite book instead and --small on a
// hundredth of the entries. With a MariaDB server in the environment (scripts/with-mariadb)
// the server store is measured too.
//
// The SQLite edits wait mostly for the disk's flush, on both sides. To see the store's own
// share, put the copies they edit in memory: TMPDIR=/dev/shm.
#include "benchdata.h"
#include "storage/mysqlconnection.h"
#include "storage/sqliteconnection.h"
#include "storage/statsmanager.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <mysql++.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace
{
BenchData::Options g_options;
BenchData::Server g_server;
QTemporaryDir* g_tmp = nullptr; // copies to edit; the books too when there is no --data-dir
bool g_failed = false;          // any benchmark skipped with an error: the run fails

// Filter values that exist in every generated book.
constexpr int kModelId = 3;
constexpr int kAccuId = 7;
const QDate kMonthStart(2019, 5, 1), kMonthEnd(2019, 5, 31);
const QDate kYearStart(2019, 1, 1), kYearEnd(2019, 12, 31);

[[noreturn]] void fail(const QString& what)
{
    std::fprintf(stderr, "%s\n", qPrintable(what));
    std::exit(1);
}

void skip(benchmark::State& state, const char* why)
{
    state.SkipWithError(why);
    g_failed = true;
}

// A book a benchmark runs on.
struct Book {
    enum Kind { Indexed, Bare, Server };
    int nominal = 0; // entries before --small; 0 for the book given with --db
    Kind kind = Indexed;

    bool onServer() const { return kind == Server; }
    std::string size() const { return nominal ? std::to_string(nominal) : std::string("db"); }
    std::string variant() const
    {
        return kind == Server ? "mariadb" : kind == Bare ? "noindexes" : "indexes";
    }

    // The SQLite file or the server database, made on first use and shared after.
    QString location() const
    {
        if (!g_options.existingDb.isEmpty())
            return g_options.existingDb;
        QString error;
        if (kind != Server) {
            const QString dir = g_options.dataDir.isEmpty() ? g_tmp->path() : g_options.dataDir;
            const QString file =
                BenchData::sqliteBook(dir, nominal, g_options.small, kind == Indexed, &error);
            if (file.isEmpty())
                fail(QStringLiteral("cannot write a book: ") + error);
            return file;
        }
        static std::map<int, QString> databases;
        QString& database = databases[nominal];
        if (database.isEmpty()) {
            const BenchData::Shape shape = BenchData::shapeOf(nominal, g_options.small);
            if (!BenchData(shape.entries, shape.models, shape.accus)
                     .writeMysql(g_server, QStringLiteral("_bench_%1").arg(shape.entries),
                                 &database, &error))
                fail(QStringLiteral("cannot write the server book: ") + error);
        }
        return database;
    }

    // A location that edits may change: a copy of the file (named by tag), or the database.
    QString editable(const char* tag) const
    {
        const QString source = location();
        if (onServer())
            return source;
        const QString copy = g_tmp->filePath(QString::fromLatin1(tag) + QStringLiteral(".sqlite"));
        QString error;
        if (!BenchData::copyFile(source, copy, &error))
            fail(error);
        // Else the copy's pages are written back during the timed commits, whose flushes then
        // wait for them.
        sync();
        return copy;
    }

    std::unique_ptr<SqlBase> newStore(const QString& location) const
    {
        if (onServer())
            return std::make_unique<MysqlConnection>(g_server.host, g_server.port, location,
                                                     g_server.user, g_server.password);
        return std::make_unique<SqLiteConnection>(location);
    }

    // A store on location, opened; null (and the benchmark skipped) when it does not open.
    std::unique_ptr<SqlBase> openStore(benchmark::State& state, const QString& location) const
    {
        std::unique_ptr<SqlBase> db = newStore(location);
        if (db->openDb(nullptr))
            return db;
        skip(state, "openDb failed");
        return nullptr;
    }
};

std::string label(const char* benchmark, const Book& book, const char* what = nullptr)
{
    std::string name = std::string(benchmark) + "/" + book.size() + "/";
    if (what)
        name += std::string(what) + "/";
    return name + book.variant();
}

// --- Plain connections for the baselines. Both give rows through the same small interface
// (next, ok, intAt, bytesAt), so each baseline is written once for both backends.

class PlainSqlite
{
public:
    explicit PlainSqlite(const QString& file)
    {
        if (sqlite3_open_v2(file.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) !=
            SQLITE_OK)
            fail(QStringLiteral("cannot open ") + file);
    }
    ~PlainSqlite() { sqlite3_close(m_db); }
    PlainSqlite(const PlainSqlite&) = delete;
    PlainSqlite& operator=(const PlainSqlite&) = delete;

    class Rows
    {
    public:
        Rows(PlainSqlite& c, const QByteArray& sql)
        {
            sqlite3_prepare_v2(c.m_db, sql.constData(), int(sql.size()), &m_st, nullptr);
        }
        ~Rows() { sqlite3_finalize(m_st); }
        Rows(const Rows&) = delete;
        Rows& operator=(const Rows&) = delete;

        bool next() { return (m_rc = sqlite3_step(m_st)) == SQLITE_ROW; }
        // After the last row: all of them were read.
        bool ok() const { return m_rc == SQLITE_DONE; }
        int intAt(int column) const { return sqlite3_column_int(m_st, column); }
        QByteArrayView bytesAt(int column) const
        {
            return QByteArrayView(reinterpret_cast<const char*>(sqlite3_column_text(m_st, column)),
                                  sqlite3_column_bytes(m_st, column));
        }

    private:
        sqlite3_stmt* m_st = nullptr;
        int m_rc = SQLITE_MISUSE;
    };

    sqlite3* m_db = nullptr;
};

class PlainMysql
{
public:
    explicit PlainMysql(const QString& database) : m_c(false)
    {
        m_c.set_option(new mysqlpp::SetCharsetNameOption("utf8mb4"));
        if (!m_c.connect(database.toUtf8().constData(), g_server.host.toUtf8().constData(),
                         g_server.user.toUtf8().constData(), g_server.password.toUtf8().constData(),
                         unsigned(g_server.port)))
            fail(QStringLiteral("cannot connect: ") + QString::fromUtf8(m_c.error()));
    }

    // Streamed as the server sends them (use(), not store()), one raw row at a time.
    class Rows
    {
    public:
        Rows(PlainMysql& c, const QByteArray& sql)
            : m_query(c.m_c.query()), m_result(m_query.use(sql.constData(), size_t(sql.size())))
        {
        }
        // The connection takes no other statement before the last row is fetched.
        ~Rows()
        {
            while (next()) {
            }
        }
        Rows(const Rows&) = delete;
        Rows& operator=(const Rows&) = delete;

        bool next()
        {
            m_row = m_result ? m_result.fetch_raw_row() : nullptr;
            if (m_row)
                m_lengths = m_result.fetch_lengths();
            return m_row != nullptr;
        }
        bool ok() const { return m_result && m_query.errnum() == 0; }
        int intAt(int column) const { return m_row[column] ? std::atoi(m_row[column]) : 0; }
        QByteArrayView bytesAt(int column) const
        {
            return QByteArrayView(m_row[column], qsizetype(m_lengths[column]));
        }

    private:
        mysqlpp::Query m_query;
        mysqlpp::UseQueryResult m_result;
        MYSQL_ROW m_row = nullptr;
        const unsigned long* m_lengths = nullptr;
    };

    mysqlpp::Connection m_c;
};

template <class Rows> QString textAt(const Rows& r, int column)
{
    const QByteArrayView bytes = r.bytesAt(column);
    return SqlBase::decodeStoredText(bytes.data(), int(bytes.size()));
}

// SELECT * FROM logList, by column position.
template <class Rows> LogEntry logEntryAt(const Rows& r)
{
    const QByteArrayView date = r.bytesAt(1), time = r.bytesAt(2);
    return LogEntry(nullptr, SqlBase::parseStoredDate(date.data(), int(date.size())),
                    SqlBase::parseStoredTime(time.data(), int(time.size())), r.intAt(5), r.intAt(3),
                    r.intAt(4), r.intAt(0));
}

// What opening a book has to do at the least: every model, pack and log row read in stored
// order into records, the log on the heap and sorted in memory by date and identifier.
struct PlainBook {
    QVector<ModelEntry> models;
    QVector<AccuEntry> accus;
    QVector<LogEntry*> log;

    PlainBook() = default;
    PlainBook(const PlainBook&) = delete;
    PlainBook& operator=(const PlainBook&) = delete;
    ~PlainBook() { qDeleteAll(log); }

    template <class Plain> bool read(Plain& c)
    {
        using Rows = typename Plain::Rows;
        {
            Rows r(c, "SELECT * FROM modelList");
            while (r.next())
                models.append(ModelEntry(nullptr, textAt(r, 0), r.intAt(1), r.intAt(2)));
            if (!r.ok())
                return false;
        }
        {
            Rows r(c, "SELECT * FROM accus");
            while (r.next())
                accus.append(AccuEntry(nullptr, textAt(r, 1), textAt(r, 6), r.intAt(2), r.intAt(3),
                                       r.intAt(4), r.intAt(5), r.intAt(0)));
            if (!r.ok())
                return false;
        }
        Rows r(c, "SELECT * FROM logList");
        while (r.next())
            log.append(new LogEntry(logEntryAt(r)));
        std::sort(log.begin(), log.end(), [](const LogEntry* a, const LogEntry* b) {
            return a->m_date != b->m_date ? a->m_date < b->m_date : a->m_iId < b->m_iId;
        });
        return r.ok();
    }
};

// The size of the log and the entry in its middle by identifier, as stored.
struct Middle {
    int rows = 0;
    LogEntry entry;
};

template <class Plain> Middle middleOn(Plain& c)
{
    Middle middle;
    {
        typename Plain::Rows r(c, "SELECT count(*) FROM logList");
        if (r.next())
            middle.rows = r.intAt(0);
    }
    typename Plain::Rows r(c, "SELECT * FROM logList ORDER BY id LIMIT 1 OFFSET " +
                                  QByteArray::number(middle.rows / 2));
    if (!r.next())
        fail(QStringLiteral("the book has no log"));
    middle.entry = logEntryAt(r);
    return middle;
}

Middle middleOf(const Book& book, const QString& location)
{
    if (book.onServer()) {
        PlainMysql c(location);
        return middleOn(c);
    }
    PlainSqlite c(location);
    return middleOn(c);
}

// --- Edits. Three writers of log rows with the same three calls: the store, and the same
// statements prepared once on a plain connection.

class StoreLog
{
public:
    StoreLog(const Book& book, const QString& location) : m_db(book.newStore(location)) {}
    bool open() { return m_db->openDb(nullptr); }
    int add(LogEntry entry) { return m_db->addLogEntry(&entry); }
    bool change(int id, LogEntry entry) { return m_db->changeLogEntry(id, &entry); }
    bool remove(int id) { return m_db->deleteLogEntry(id); }

private:
    std::unique_ptr<SqlBase> m_db;
};

class PlainSqliteLog
{
public:
    PlainSqliteLog(const Book&, const QString& location) : m_c(location) {}
    ~PlainSqliteLog()
    {
        for (sqlite3_stmt* st : {m_insert, m_update, m_delete})
            sqlite3_finalize(st);
    }
    PlainSqliteLog(const PlainSqliteLog&) = delete;
    PlainSqliteLog& operator=(const PlainSqliteLog&) = delete;

    bool open()
    {
        return prepare("INSERT INTO logList(date,time,accuId,modelId,charged) VALUES (?,?,?,?,?)",
                       &m_insert) &&
               prepare("UPDATE logList SET date=?,time=?,accuId=?,modelId=?,charged=? WHERE id=?",
                       &m_update) &&
               prepare("DELETE FROM logList WHERE id=?", &m_delete);
    }
    int add(const LogEntry& e)
    {
        bindValues(m_insert, e);
        return stepped(m_insert) ? int(sqlite3_last_insert_rowid(m_c.m_db)) : -1;
    }
    bool change(int id, const LogEntry& e)
    {
        bindValues(m_update, e);
        sqlite3_bind_int(m_update, 6, id);
        return stepped(m_update) && sqlite3_changes(m_c.m_db) > 0;
    }
    bool remove(int id)
    {
        sqlite3_bind_int(m_delete, 1, id);
        return stepped(m_delete) && sqlite3_changes(m_c.m_db) > 0;
    }

private:
    bool prepare(const char* sql, sqlite3_stmt** st)
    {
        return sqlite3_prepare_v2(m_c.m_db, sql, -1, st, nullptr) == SQLITE_OK;
    }
    static void bindValues(sqlite3_stmt* st, const LogEntry& e)
    {
        const QByteArray date = SqlBase::dateText(e.m_date).toUtf8();
        const QByteArray time = SqlBase::timeText(e.m_time).toUtf8();
        sqlite3_bind_text(st, 1, date.constData(), int(date.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, time.constData(), int(time.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(st, 3, e.m_iAccuId);
        sqlite3_bind_int(st, 4, e.m_iModelId);
        sqlite3_bind_int(st, 5, e.m_iCharged);
    }
    static bool stepped(sqlite3_stmt* st)
    {
        const bool ok = sqlite3_step(st) == SQLITE_DONE;
        sqlite3_reset(st);
        return ok;
    }

    PlainSqlite m_c;
    sqlite3_stmt* m_insert = nullptr;
    sqlite3_stmt* m_update = nullptr;
    sqlite3_stmt* m_delete = nullptr;
};

// MySQL++ template queries, parsed once; the server has no cheaper way through this client.
class PlainMysqlLog
{
public:
    PlainMysqlLog(const Book&, const QString& location)
        : m_c(location),
          m_insert(m_c.m_c.query("INSERT INTO logList(date,time,accuId,modelId,charged) VALUES "
                                 "(%0q,%1q,%2,%3,%4)")),
          m_update(m_c.m_c.query("UPDATE logList SET date=%0q,time=%1q,accuId=%2,modelId=%3,"
                                 "charged=%4 WHERE id=%5")),
          m_delete(m_c.m_c.query("DELETE FROM logList WHERE id=%0"))
    {
    }

    bool open()
    {
        for (mysqlpp::Query* q : {&m_insert, &m_update, &m_delete})
            q->parse();
        return true;
    }
    int add(const LogEntry& e)
    {
        mysqlpp::SQLQueryParms values = valuesOf(e);
        const mysqlpp::SimpleResult result = m_insert.execute(values);
        return result ? int(result.insert_id()) : -1;
    }
    bool change(int id, const LogEntry& e)
    {
        mysqlpp::SQLQueryParms values = valuesOf(e);
        values << id;
        return m_update.execute(values).rows() > 0;
    }
    bool remove(int id)
    {
        mysqlpp::SQLQueryParms values;
        values << id;
        return m_delete.execute(values).rows() > 0;
    }

private:
    static mysqlpp::SQLQueryParms valuesOf(const LogEntry& e)
    {
        mysqlpp::SQLQueryParms values;
        values << SqlBase::dateText(e.m_date).toStdString()
               << SqlBase::timeText(e.m_time).toStdString() << e.m_iAccuId << e.m_iModelId
               << e.m_iCharged;
        return values;
    }

    PlainMysql m_c;
    mysqlpp::Query m_insert, m_update, m_delete;
};

enum class Edit { Add, Change, Delete };

// One edit per iteration on a copy of the book; what keeps the log at its size is not timed.
// The changed entry lies in the middle of the log; added and deleted ones carry its values.
template <class Log> void BM_Edit(benchmark::State& state, Book book, Edit edit, const char* tag)
{
    const QString location = book.editable(tag);
    const Middle found = middleOf(book, location);
    const LogEntry& middle = found.entry;
    state.counters["rows"] = found.rows;
    Log log(book, location);
    if (!log.open()) {
        skip(state, "cannot open for edits");
        return;
    }
    LogEntry entry = middle;
    int round = 0;
    for (auto _ : state) {
        bool ok;
        if (edit == Edit::Change) {
            // Back and forth, so that every write really changes the row.
            const bool moved = ++round % 2;
            entry.m_date = middle.m_date.addDays(moved ? 40 : 0);
            entry.m_iCharged = middle.m_iCharged + (moved ? 111 : 0);
            ok = log.change(middle.m_iId, entry);
        } else if (edit == Edit::Add) {
            const int id = log.add(entry);
            state.PauseTiming();
            ok = id > 0 && log.remove(id);
            state.ResumeTiming();
        } else {
            state.PauseTiming();
            const int id = log.add(entry);
            state.ResumeTiming();
            ok = id > 0 && log.remove(id);
        }
        if (!ok) {
            skip(state, "edit failed");
            break;
        }
    }
}

// Times step(), which answers whether it worked; tidy() runs untimed after each step and
// answers the figure for the counter.
template <class Step, class Tidy>
void timeSteps(benchmark::State& state, const char* counter, const char* failure, Step step,
               Tidy tidy)
{
    double figure = 0;
    for (auto _ : state) {
        const bool ok = step();
        state.PauseTiming();
        figure = tidy();
        state.ResumeTiming();
        if (!ok) {
            skip(state, failure);
            break;
        }
    }
    state.counters[counter] = figure;
}

// Deletes the records of lists (for an untimed tidy()); answers how many there were.
template <class... Lists> double deleteAll(Lists&... lists)
{
    const double count = double((lists.size() + ...));
    (qDeleteAll(lists), ...);
    (lists.clear(), ...);
    return count;
}

// --- Opening.

// `check`: a file is checked for damage while it loads, as the program does.
void BM_Open(benchmark::State& state, Book book, bool check)
{
    const QString location = book.location();
    std::unique_ptr<SqlBase> db;
    timeSteps(
        state, "rows", "openDb failed",
        [&] {
            db = book.newStore(location);
            if (!book.onServer())
                static_cast<SqLiteConnection*>(db.get())->setCheckAtOpen(check);
            return db->openDb(nullptr);
        },
        [&] {
            const double rows = double(db->logCache().size());
            db.reset();
            return rows;
        });
}

template <class Plain> void BM_OpenBaseline(benchmark::State& state, Book book)
{
    const QString location = book.location();
    std::unique_ptr<Plain> c;
    std::unique_ptr<PlainBook> plain;
    timeSteps(
        state, "rows", "reading the book failed",
        [&] {
            c = std::make_unique<Plain>(location);
            plain = std::make_unique<PlainBook>();
            return plain->read(*c);
        },
        [&] {
            const double rows = double(plain->log.size());
            plain.reset();
            c.reset();
            return rows;
        });
}

// --- The log filters, through SQL; the partner is the same book without the log indexes.

void BM_Filter(benchmark::State& state, Book book, int flags)
{
    std::unique_ptr<SqlBase> db = book.openStore(state, book.location());
    if (!db)
        return;
    db->setFilterModelId(kModelId);
    db->setFilterAccuId(kAccuId);
    db->setFilterDates(kMonthStart, kMonthEnd);
    QVector<LogEntry*> entries;
    timeSteps(
        state, "rows", "readLogEntries failed", [&] { return db->readLogEntries(&entries, flags); },
        [&] { return deleteAll(entries); });
}

// --- Statistics: both lists from one pass, against one scan of the same query on a plain
// connection that reads every value of every row once and sums nothing.

void BM_Statistics(benchmark::State& state, Book book, int flags)
{
    std::unique_ptr<SqlBase> db = book.openStore(state, book.location());
    if (!db)
        return;
    db->setFilterDates(kYearStart, kYearEnd);
    StatsManager stats(db.get());
    QVector<ModelStatEntry*> models;
    QVector<AccuStatEntry*> accus;
    timeSteps(
        state, "listed", "getStats failed", [&] { return stats.getStats(&models, &accus, flags); },
        [&] { return deleteAll(models, accus); });
}

template <class Plain> void BM_StatisticsBaseline(benchmark::State& state, Book book, int flags)
{
    const QString location = book.location();
    std::unique_ptr<SqlBase> texts = book.newStore(location); // only for the query's text
    texts->setFilterDates(kYearStart, kYearEnd);
    const QByteArray sql = texts->usageQuery(flags).toUtf8();
    Plain c(location);
    qint64 rows = 0;
    for (auto _ : state) {
        typename Plain::Rows r(c, sql);
        rows = 0;
        qint64 seen = 0;
        while (r.next()) {
            ++rows;
            seen += r.intAt(0) + r.intAt(1) + r.intAt(2) + r.bytesAt(3).size() + r.intAt(4);
        }
        benchmark::DoNotOptimize(seen);
        if (!r.ok()) {
            skip(state, "stepping failed");
            break;
        }
    }
    state.counters["rows"] = double(rows);
}

template <class... Args> void addBenchmark(const std::string& name, int iterations, Args&&... args)
{
    BenchData::addFixed(g_options.small, name, iterations, std::forward<Args>(args)...);
}

// More iterations where one is quicker.
int iterationsFor(const Book& book, int atMillion)
{
    if (book.nominal == 0 || book.nominal >= 1000000)
        return atMillion;
    return atMillion * (book.nominal >= 100000 ? 3 : 10);
}

template <class PlainLog> void addEdits(const Book& book)
{
    const struct {
        const char* name;
        Edit edit;
    } edits[] = {{"BM_Add", Edit::Add}, {"BM_Change", Edit::Change}, {"BM_Delete", Edit::Delete}};
    for (const auto& e : edits) {
        const std::string store = e.name, plain = store + "Baseline";
        addBenchmark(label(store.c_str(), book), 30, BM_Edit<StoreLog>, book, e.edit, "store");
        addBenchmark(label(plain.c_str(), book), 30, BM_Edit<PlainLog>, book, e.edit, "plain");
    }
}

template <class Plain> void addOpen(const Book& book)
{
    const int iterations = iterationsFor(book, 3);
    addBenchmark(label("BM_Open", book), iterations, BM_Open, book, true);
    if (!book.onServer())
        addBenchmark(label("BM_OpenUnchecked", book), iterations, BM_Open, book, false);
    addBenchmark(label("BM_OpenBaseline", book), iterations, BM_OpenBaseline<Plain>, book);
}

template <class Plain> void addStatistics(const Book& book)
{
    const int iterations = iterationsFor(book, 3);
    for (const auto& [what, flags] : {std::pair{"all", 0}, std::pair{"year", 1}}) {
        addBenchmark(label("BM_Statistics", book, what), iterations, BM_Statistics, book, flags);
        addBenchmark(label("BM_StatisticsBaseline", book, what), iterations,
                     BM_StatisticsBaseline<Plain>, book, flags);
    }
}

void addFilters(const Book& book)
{
    const std::pair<const char*, int> filters[] = {{"model", SqlBase::FilterModel},
                                                   {"pack", SqlBase::FilterAccu},
                                                   {"month", SqlBase::FilterDate},
                                                   {"incomplete", SqlBase::FilterIncomplete}};
    for (const auto& [what, flags] : filters)
        addBenchmark(label("BM_Filter", book, what), 10, BM_Filter, book, flags);
}

void registerBenchmarks(bool withServer)
{
    // With --db only the given book, as it is.
    const std::vector<int> sizes = g_options.existingDb.isEmpty()
                                       ? std::vector<int>{10000, 100000, 1000000}
                                       : std::vector<int>{0};
    const int largest = sizes.back();
    auto books = [&](Book::Kind kind) {
        std::vector<Book> out;
        for (int size : sizes)
            out.push_back({size, kind});
        return out;
    };
    for (const Book& book : books(Book::Indexed))
        addEdits<PlainSqliteLog>(book);
    for (const Book& book : books(Book::Indexed)) {
        addOpen<PlainSqlite>(book);
        if (largest)
            addOpen<PlainSqlite>({book.nominal, Book::Bare});
    }
    addFilters({largest, Book::Indexed});
    if (largest)
        addFilters({largest, Book::Bare});
    for (const Book& book : books(Book::Indexed)) {
        if (book.nominal >= 100000 || !largest)
            addStatistics<PlainSqlite>(book);
    }
    if (!withServer)
        return;
    for (int size : {100000, 1000000}) {
        const Book book{size, Book::Server};
        addEdits<PlainMysqlLog>(book);
        addOpen<PlainMysql>(book);
        addStatistics<PlainMysql>(book);
    }
}
} // namespace

int main(int argc, char** argv)
{
    g_options = BenchData::takeOptions(&argc, argv);
    QCoreApplication app(argc, argv);
    QTemporaryDir tmp;
    g_tmp = &tmp;
    if (!g_options.dataDir.isEmpty() && !QDir().mkpath(g_options.dataDir))
        fail(QStringLiteral("cannot make ") + g_options.dataDir);
    registerBenchmarks(g_options.existingDb.isEmpty() &&
                       BenchData::serverFromEnvironment(&g_server));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return g_failed ? 1 : 0;
}
