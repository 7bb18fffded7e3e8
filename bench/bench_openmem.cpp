// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// Peak memory of opening the largest log book through the store. The process does nothing
// else, so nothing else raises its peak: the book is written beforehand, by bench_storage with
// the same --data-dir or here in a child process, whose memory is its own. Reports the peak
// resident size (VmHWM) before and after the open. Takes the options of bench_storage.
#include "benchdata.h"
#include "storage/sqliteconnection.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace
{
QString g_file;
bool g_failed = false;

void BM_OpenPeakMemory(benchmark::State& state)
{
    const double before = BenchData::peakResidentMB();
    qsizetype rows = 0;
    for (auto _ : state) {
        SqLiteConnection db(g_file);
        if (!db.openDb(nullptr)) {
            state.SkipWithError("openDb failed");
            g_failed = true;
            return;
        }
        rows = db.logCache().size();
    }
    state.counters["rows"] = double(rows);
    state.counters["VmHWM_before_MB"] = before;
    state.counters["VmHWM_MB"] = BenchData::peakResidentMB();
}
} // namespace

int main(int argc, char** argv)
{
    const BenchData::Options options = BenchData::takeOptions(&argc, argv);
    QTemporaryDir tmp;
    if (!options.dataDir.isEmpty())
        QDir().mkpath(options.dataDir);
    // Before anything else runs in this process, so the child starts small too.
    QString error;
    g_file =
        !options.existingDb.isEmpty()
            ? options.existingDb
            : BenchData::sqliteBookApart(options.dataDir.isEmpty() ? tmp.path() : options.dataDir,
                                         1000000, options.small, &error);
    if (g_file.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    QCoreApplication app(argc, argv);
    const std::string name = options.existingDb.isEmpty() ? "1000000/indexes" : "db/given";
    benchmark::RegisterBenchmark(("BM_OpenPeakMemory/" + name).c_str(), BM_OpenPeakMemory)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return g_failed ? 1 : 0;
}
