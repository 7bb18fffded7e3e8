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

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace
{
QString g_file;
bool g_failed = false;

double peakResidentMB()
{
    long kb = -1;
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (kb < 0 && std::fgets(line, sizeof line, status))
            std::sscanf(line, "VmHWM: %ld kB", &kb);
        std::fclose(status);
    }
    return kb / 1024.0;
}

// The book of 1 000 000 entries in dir, written by a child process when it is not there yet.
QString bookFile(const QString& dir, bool small)
{
    const pid_t pid = fork();
    if (pid == 0) {
        QString error;
        const bool ok = !BenchData::sqliteBook(dir, 1000000, small, true, &error).isEmpty();
        if (!ok)
            std::fprintf(stderr, "cannot write a book: %s\n", qPrintable(error));
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return QString();
    QString error;
    return BenchData::sqliteBook(dir, 1000000, small, true, &error); // there now: only named
}

void BM_OpenPeakMemory(benchmark::State& state)
{
    const double before = peakResidentMB();
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
    state.counters["VmHWM_MB"] = peakResidentMB();
}
} // namespace

int main(int argc, char** argv)
{
    const BenchData::Options options = BenchData::takeOptions(&argc, argv);
    QTemporaryDir tmp;
    if (!options.dataDir.isEmpty())
        QDir().mkpath(options.dataDir);
    // Before anything else runs in this process, so the child starts small too.
    g_file =
        !options.existingDb.isEmpty()
            ? options.existingDb
            : bookFile(options.dataDir.isEmpty() ? tmp.path() : options.dataDir, options.small);
    if (g_file.isEmpty())
        return 1;
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
