// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_BENCHDATA_H
#define TARVELO_BENCHDATA_H

#include <QString>

#include <benchmark/benchmark.h>

#include <QVector>
#include <algorithm>
#include <string>

// A reproducible log book for the benchmarks: packs, models and log entries drawn from a fixed
// seed, with the awkward cases of real books mixed in (incomplete entries, packs without a
// capacity, entries whose pack was deleted).
class BenchData
{
public:
    struct Accu {
        QString brand, descr;
        int capacity, cells, strength, typ;
    };
    struct Model {
        QString name;
        int typ;
    };
    struct Entry {
        QString date, time;
        int accuId, modelId, charged;
    };

    BenchData(int entries, int models, int accus, unsigned seed = 20261208u);
    // The book of a nominal size (10 000, 100 000, 1 000 000 entries): models and packs grow
    // with the log, as in a club that flies more. small keeps them and takes a hundredth of
    // the entries.
    struct Shape {
        int entries, models, accus;
    };
    static Shape shapeOf(int nominal, bool small);

    // The options every benchmark program takes, removed from argv before the benchmark
    // library reads the rest: --db FILE (an existing SQLite book), --data-dir DIR (where
    // generated books are kept between runs and shared between the programs) and --small (a
    // quick run for the test suite).
    struct Options {
        QString existingDb;
        QString dataDir;
        bool small = false;
    };
    static Options takeOptions(int* argc, char** argv);

    // Writes a new SQLite log book; refuses an existing file.
    bool writeSqlite(const QString& file, QString* error) const;
    // The SQLite book of shapeOf(nominal, small) in dir, with the log's three indexes or without
    // them, written on first use and reused after. Written under another name and renamed,
    // so an interrupted run leaves no half-written book to be reused. Empty on failure.
    static QString sqliteBook(const QString& dir, int nominal, bool small, bool indexes,
                              QString* error);
    // The indexed book of sqliteBook(), written (when missing) by a child process, whose memory
    // is its own: for programs that report their peak memory. Call it before anything else runs.
    static QString sqliteBookApart(const QString& dir, int nominal, bool small, QString* error);
    // Copies a book, replacing whatever is at *to.
    static bool copyFile(const QString& from, const QString& to, QString* error);
    // Makes iniFile the settings of a portable folder whose program opens the SQLite book, with
    // the charger off.
    static bool writePortableIni(const QString& iniFile, const QString& book);
    // Lets shown widgets catch up as the event loop would: the layout they put off, then the
    // paint that asks for. Answers the time it took, in nanoseconds.
    static qint64 settle();
    // The peak resident size of this process so far (VmHWM), in MiB; -1 where unknown.
    static double peakResidentMB();
    // The server named by TARVELO_MYSQL_HOST, _PORT, _DB, _USER and _PASSWORD, as the server
    // tests get it; false when one of them is not set.
    struct Server {
        QString host, database, user, password;
        int port = 0;
    };
    static bool serverFromEnvironment(Server* server);
    // (Re)creates the database server.database + suffix (which starts with "_") with the
    // server schema and fills it in one transaction; *database gets its name. The given
    // database itself is never touched.
    bool writeMysql(const Server& server, const QString& suffix, QString* database,
                    QString* error) const;

    QVector<Accu> m_accus;
    QVector<Model> m_models;
    QVector<Entry> m_entries;

    // Ends the run at once, saying why: the benchmarks cannot run at all.
    [[noreturn]] static void fail(const QString& what);
    // Skips a benchmark with an error; the run then fails at its end (anySkipped()).
    static void skip(benchmark::State& state, const char* why);
    static bool anySkipped();

    // Registers a benchmark with fixed iterations, so that a run at 1 000 000 entries takes
    // minutes; five repetitions give the medians. A --small run does a few, once.
    template <class... Args>
    static void addFixed(bool small, const std::string& name, int iterations, Args&&... args)
    {
        auto* b = benchmark::RegisterBenchmark(name.c_str(), std::forward<Args>(args)...);
        b->Unit(benchmark::kMillisecond)->Iterations(small ? std::min(iterations, 3) : iterations);
        if (!small)
            b->Repetitions(5)->ReportAggregatesOnly(true);
    }
};

#endif
