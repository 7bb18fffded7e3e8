// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// Data out of a log book of 1 000 000 entries: the CSV export of the whole log (taking the rows
// from the open book included), copies of the whole book between SQLite files and a MariaDB
// server (read, written in one transaction, read back and compared), and opening the server
// book with its progress reported. Takes the options of bench_storage; with a MariaDB server
// in the environment (scripts/with-mariadb) the server copies and the open are measured too.
#include "benchdata.h"
#include "exchange/csvexport.h"
#include "storage/logbook.h"
#include "storage/logbookcopy.h"
#include "storage/mysqlconnection.h"
#include "storage/sqliteconnection.h"
#include "storage/workprogress.h"
#include "storage/workrunner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <mysql++.h>

#include <cstdio>

namespace
{
BenchData::Options g_options;
BenchData::Server g_server;
bool g_withServer = false;
QTemporaryDir* g_tmp = nullptr;

int entries()
{
    return BenchData::shapeOf(1000000, g_options.small).entries;
}

QString sqliteBook()
{
    if (!g_options.existingDb.isEmpty())
        return g_options.existingDb;
    static QString file;
    if (file.isEmpty()) {
        QString error;
        const QString dir = g_options.dataDir.isEmpty() ? g_tmp->path() : g_options.dataDir;
        file = BenchData::sqliteBook(dir, 1000000, g_options.small, true, &error);
        if (file.isEmpty())
            BenchData::fail(QStringLiteral("cannot write a book: ") + error);
    }
    return file;
}

QString serverBook()
{
    static QString database;
    if (database.isEmpty()) {
        const BenchData::Shape shape = BenchData::shapeOf(1000000, g_options.small);
        QString error;
        if (!BenchData(shape.entries, shape.models, shape.accus)
                 .writeMysql(g_server, QStringLiteral("_xsource_%1").arg(shape.entries), &database,
                             &error))
            BenchData::fail(QStringLiteral("cannot write the server book: ") + error);
    }
    return database;
}

std::unique_ptr<MysqlConnection> serverStore(const QString& database)
{
    return std::make_unique<MysqlConnection>(g_server.host, g_server.port, database, g_server.user,
                                             g_server.password);
}

// An empty database of this run, without tables, as a club's administrator hands one out.
QString emptyServerDatabase()
{
    const std::string name = (g_server.database + QStringLiteral("_xtarget")).toStdString();
    try {
        mysqlpp::Connection c(true);
        c.set_option(new mysqlpp::MultiStatementsOption(true));
        c.connect(g_server.database.toUtf8().constData(), g_server.host.toUtf8().constData(),
                  g_server.user.toUtf8().constData(), g_server.password.toUtf8().constData(),
                  unsigned(g_server.port));
        mysqlpp::Query q = c.query("DROP DATABASE IF EXISTS `" + name + "`; CREATE DATABASE `" +
                                   name + "` CHARACTER SET utf8mb4 COLLATE utf8mb4_bin");
        q.exec();
        while (q.more_results())
            q.store_next();
    } catch (const std::exception& e) {
        BenchData::fail(QStringLiteral("cannot make the target database: ") +
                        QString::fromUtf8(e.what()));
    }
    return QString::fromStdString(name);
}

// The log as the window hands it to the export (the table's rows by value) and written out.
void BM_ExportLog(benchmark::State& state, bool german)
{
    SqLiteConnection book(sqliteBook());
    if (!book.openDb(nullptr))
        return BenchData::skip(state, "openDb failed");
    const QString file = g_tmp->filePath(QStringLiteral("log.csv"));
    qint64 bytes = 0;
    for (auto _ : state) {
        CsvExport::Log log;
        log.rows.reserve(book.logCount());
        for (const LogEntry* e : book.logCache())
            log.rows << *e;
        log.accus = book.m_accus;
        log.models = book.m_models;
        WorkProgress progress;
        QString error;
        const bool written = CsvExport::writeLog(
            file, log, german ? CsvWriter::german(true) : CsvWriter::standard(true), progress,
            &error);
        state.PauseTiming();
        bytes = QFile(file).size();
        QFile::remove(file);
        state.ResumeTiming();
        if (!written)
            return BenchData::skip(state, "writeLog failed");
    }
    state.counters["rows"] = double(book.logCount());
    state.counters["MB"] = double(bytes) / (1024.0 * 1024.0);
}

void copied(benchmark::State& state, const LogBookCopy::Report& report)
{
    if (report.outcome != LogBookCopy::Outcome::Copied) {
        std::fprintf(stderr, "%s\n", qPrintable(LogBookCopy::describe(report)));
        BenchData::skip(state, "the copy failed");
    }
    state.counters["rows"] = double(report.models + report.accus + report.entries);
}

void BM_CopyToFile(benchmark::State& state, bool fromServer)
{
    const QString target = g_tmp->filePath(QStringLiteral("copy.sqlite"));
    const QString source = fromServer ? serverBook() : sqliteBook();
    for (auto _ : state) {
        std::unique_ptr<SqlBase> from;
        if (fromServer)
            from = serverStore(source);
        else
            from = std::make_unique<SqLiteConnection>(source);
        LogBookCopy copy(std::move(from), target);
        WorkProgress progress;
        const LogBookCopy::Report report = copy.run(progress);
        state.PauseTiming();
        QFile::remove(target);
        state.ResumeTiming();
        copied(state, report);
    }
}

void BM_CopyToServer(benchmark::State& state)
{
    const QString source = sqliteBook();
    for (auto _ : state) {
        state.PauseTiming();
        const QString target = emptyServerDatabase();
        state.ResumeTiming();
        LogBookCopy copy(std::make_unique<SqLiteConnection>(source), serverStore(target));
        WorkProgress progress;
        copied(state, copy.run(progress));
    }
}

// Reports go where the window's dialog reads them; this one only counts them.
class CountingRunner : public WorkRunner
{
public:
    bool run(const QString&, const Work& work) override
    {
        WorkProgress progress;
        progress.setWatcher([this](const WorkProgress::State&) { ++reports; });
        work(progress);
        return !progress.isCancelled();
    }
    int reports = 0;
};

void BM_OpenWithProgress(benchmark::State& state, bool server)
{
    const QString location = server ? serverBook() : sqliteBook();
    CountingRunner runner;
    int rows = 0;
    for (auto _ : state) {
        auto book = std::make_unique<LogBook>();
        book->setRunner(&runner);
        std::unique_ptr<SqlBase> store;
        if (server)
            store = serverStore(location);
        else
            store = std::make_unique<SqLiteConnection>(location);
        const bool opened = book->open(std::move(store), nullptr);
        state.PauseTiming(); // closed and freed outside the time
        rows = book->count();
        book.reset();
        state.ResumeTiming();
        if (!opened)
            return BenchData::skip(state, "open failed");
    }
    state.counters["rows"] = rows;
    state.counters["reports"] = runner.reports / double(state.iterations());
}

template <class... Args> void add(const std::string& name, int iterations, Args&&... args)
{
    BenchData::addFixed(g_options.small, name, iterations, std::forward<Args>(args)...);
}

void registerBenchmarks()
{
    const std::string size = std::to_string(entries());
    add("BM_ExportLog/" + size + "/standard", 3, BM_ExportLog, false);
    add("BM_ExportLog/" + size + "/german", 3, BM_ExportLog, true);
    add("BM_Copy/" + size + "/sqlite-to-sqlite", 1, BM_CopyToFile, false);
    add("BM_OpenWithProgress/" + size + "/sqlite", 3, BM_OpenWithProgress, false);
    if (!g_withServer)
        return;
    add("BM_Copy/" + size + "/sqlite-to-mariadb", 1, BM_CopyToServer);
    add("BM_Copy/" + size + "/mariadb-to-sqlite", 1, BM_CopyToFile, true);
    add("BM_OpenWithProgress/" + size + "/mariadb", 3, BM_OpenWithProgress, true);
}
} // namespace

int main(int argc, char** argv)
{
    g_options = BenchData::takeOptions(&argc, argv);
    QCoreApplication app(argc, argv);
    QTemporaryDir tmp;
    g_tmp = &tmp;
    if (!g_options.dataDir.isEmpty() && !QDir().mkpath(g_options.dataDir))
        BenchData::fail(QStringLiteral("cannot make ") + g_options.dataDir);
    g_withServer = g_options.existingDb.isEmpty() && BenchData::serverFromEnvironment(&g_server);
    registerBenchmarks();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return BenchData::anySkipped() ? 1 : 0;
}
