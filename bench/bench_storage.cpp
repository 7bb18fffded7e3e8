// Storage benchmarks: opening a log book, the filtered log and the statistics lists.
// Runs on generated data, or with --db FILE on an existing SQLite log book.
#include "benchdata.h"
#include "storage/mysqlconnection.h"
#include "storage/sqliteconnection.h"
#include "storage/statsmanager.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <map>
#include <memory>

namespace {
QString g_existingDb;   // --db FILE
bool g_small = false;   // --small: a quick run for the test suite
QTemporaryDir* g_dir = nullptr;

int scaled(int entries) { return g_small ? entries / 100 : entries; }

// One generated file per size, made on first use and kept for the whole run.
QString databaseFor(int entries)
{
    if (!g_existingDb.isEmpty())
        return g_existingDb;
    static std::map<int, QString> files;
    auto it = files.find(entries);
    if (it != files.end())
        return it->second;
    const QString file = g_dir->filePath(QStringLiteral("bench-%1.sqlite").arg(entries));
    QString error;
    if (!BenchData(entries, 40, 150).writeSqlite(file, &error)) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(file), qPrintable(error));
        std::exit(1);
    }
    return files[entries] = file;
}

long peakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void BM_OpenDb(benchmark::State& state)
{
    const QString file = databaseFor(scaled(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        SqLiteConnection db(file);
        if (!db.openDb(nullptr))
            state.SkipWithError("openDb failed");
        benchmark::DoNotOptimize(db.m_logCache.size());
    }
    state.counters["peak_rss_MB"] = static_cast<double>(peakRssKb()) / 1024.0;
}
BENCHMARK(BM_OpenDb)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ReadLogEntries(benchmark::State& state)
{
    const int flags = static_cast<int>(state.range(0));
    SqLiteConnection db(databaseFor(scaled(100000)));
    if (!db.openDb(nullptr)) {
        state.SkipWithError("openDb failed");
        return;
    }
    db.setFilterDates(QDate(2018, 1, 1), QDate(2019, 12, 31));
    db.setFilterModelId(3);
    db.setFilterAccuId(7);
    for (auto _ : state) {
        QVector<LogEntry*> entries;
        db.readLogEntries(&entries, flags);
        state.counters["rows"] = entries.size();
        qDeleteAll(entries);
    }
}
BENCHMARK(BM_ReadLogEntries)->Arg(0)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

// Both statistics lists, as the two statistics tabs ask for them.
void runStatistics(benchmark::State& state, SqlBase* db)
{
    StatsManager stats(db);
    for (auto _ : state) {
        QVector<ModelStatEntry*> models;
        QVector<AccuStatEntry*> accus;
        if (!stats.getModelStats(&models, 0) || !stats.getAccuStats(&accus, 0))
            state.SkipWithError("statistics failed");
        state.counters["rows"] = models.size() + accus.size();
        qDeleteAll(models);
        qDeleteAll(accus);
    }
}

void BM_Statistics(benchmark::State& state)
{
    SqLiteConnection db(databaseFor(scaled(100000)));
    if (!db.openDb(nullptr)) {
        state.SkipWithError("openDb failed");
        return;
    }
    runStatistics(state, &db);
}
BENCHMARK(BM_Statistics)->Unit(benchmark::kMillisecond);

// The same on a MariaDB server, when one is given (registered in main).
BenchData::Server g_server;

MysqlConnection* openServerStore(benchmark::State& state)
{
    static QString database;
    if (database.isEmpty()) {
        QString error;
        if (!BenchData(scaled(100000), 40, 150).writeMysql(g_server, &database, &error)) {
            state.SkipWithError(qPrintable(error));
            return nullptr;
        }
    }
    auto* db = new MysqlConnection(g_server.host, g_server.port, database, g_server.user,
                                   g_server.password);
    if (!db->openDb(nullptr)) {
        state.SkipWithError("openDb failed");
        delete db;
        return nullptr;
    }
    return db;
}

void BM_OpenDbMysql(benchmark::State& state)
{
    for (auto _ : state) {
        std::unique_ptr<MysqlConnection> db(openServerStore(state));
        if (!db)
            return;
        benchmark::DoNotOptimize(db->m_logCache.size());
    }
}

void BM_StatisticsMysql(benchmark::State& state)
{
    std::unique_ptr<MysqlConnection> db(openServerStore(state));
    if (!db)
        return;
    runStatistics(state, db.get());
}
} // namespace

int main(int argc, char** argv)
{
    const BenchData::Options options = BenchData::takeOptions(&argc, argv);
    g_existingDb = options.existingDb;
    g_small = options.small;
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    g_dir = &dir;
    if (g_existingDb.isEmpty() && BenchData::serverFromEnvironment(&g_server)) {
        benchmark::RegisterBenchmark("BM_OpenDbMysql/100000", BM_OpenDbMysql)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_StatisticsMysql", BM_StatisticsMysql)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
