// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The history of one pack: BM_OpenHistory opens the window (figures, both charts, the entries
// table) and lets it lay out and paint, as a double click in the pack statistics does, on a
// book of 20 000 entries where one pack has more than 10 000 of them. BM_PackHistory is the
// reading of the figures alone (with the months and a trend) on the 1 000 000-entry book,
// whose every pack takes a full pass over the log. --small: a hundredth of each book.
#include "benchdata.h"
#include "storage/logbook.h"
#include "storage/packhistory.h"
#include "storage/sqliteconnection.h"
#include "views/packhistorywindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace
{
BenchData::Options g_options;
QTemporaryDir* g_tmp = nullptr;
bool g_failed = false; // any benchmark skipped with an error: the run fails

constexpr int kBusyPack = 1;

void skip(benchmark::State& state, const char* why)
{
    state.SkipWithError(why);
    g_failed = true;
}

// The 20 000-entry book of shapeOf(), with nine entries in sixteen moved to one pack.
std::unique_ptr<LogBook> busyBook()
{
    const BenchData::Shape shape = BenchData::shapeOf(20000, g_options.small);
    BenchData data(shape.entries, shape.models, shape.accus);
    for (int i = 0; i < data.m_entries.size(); ++i)
        if (i % 16 < 9)
            data.m_entries[i].accuId = kBusyPack;
    const QString file = g_tmp->filePath(QStringLiteral("busy.sqlite"));
    QString error;
    auto book = std::make_unique<LogBook>();
    if (!data.writeSqlite(file, &error) ||
        !book->open(std::make_unique<SqLiteConnection>(file), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return nullptr;
    }
    return book;
}

std::unique_ptr<LogBook> largeBook()
{
    QString error = QStringLiteral("cannot make the folder for the book");
    const QString dir = g_options.dataDir.isEmpty() ? g_tmp->path() : g_options.dataDir;
    const QString file = !g_options.existingDb.isEmpty() ? g_options.existingDb
                         : QDir().mkpath(dir)
                             ? BenchData::sqliteBook(dir, 1000000, g_options.small, true, &error)
                             : QString();
    auto book = std::make_unique<LogBook>();
    if (file.isEmpty() || !book->open(std::make_unique<SqLiteConnection>(file), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return nullptr;
    }
    return book;
}

// The pack with the most entries.
int busiestPack(const LogBook& book)
{
    const QHash<int, int> counts = book.entriesPerAccu();
    int best = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (best < 0 || it.value() > counts.value(best))
            best = it.key();
    return best;
}

void BM_OpenHistory(benchmark::State& state)
{
    static std::unique_ptr<LogBook> book = busyBook();
    if (!book) {
        skip(state, "the log book was not written");
        return;
    }
    const int accuId = busiestPack(*book);
    qint64 readNs = 0;
    int uses = 0;
    for (auto _ : state) {
        auto* window = new PackHistoryWindow(book.get(), nullptr, accuId);
        window->show();
        BenchData::settle();
        state.PauseTiming();
        QElapsedTimer clock;
        clock.start();
        uses = int(PackHistory::of(*book, accuId).uses().size());
        readNs += clock.nsecsElapsed();
        delete window;
        BenchData::settle();
        state.ResumeTiming();
    }
    state.counters["rows"] = book->count();
    state.counters["entries"] = book->entriesPerAccu().value(accuId);
    state.counters["uses"] = uses;
    // The share of the figures, timed apart.
    state.counters["read_ms"] =
        benchmark::Counter(double(readNs) / 1e6, benchmark::Counter::kAvgIterations);
}

void BM_PackHistory(benchmark::State& state)
{
    static std::unique_ptr<LogBook> book = largeBook();
    if (!book) {
        skip(state, "the log book did not open");
        return;
    }
    const int accuId = busiestPack(*book);
    int uses = 0;
    for (auto _ : state) {
        const PackHistory h = PackHistory::of(*book, accuId);
        const PackHistory::Trend t = h.trend(PackHistoryWindow::kDefaultTrendUses);
        benchmark::DoNotOptimize(t.slope);
        uses = int(h.uses().size());
    }
    state.counters["rows"] = book->count();
    state.counters["uses"] = uses;
}
} // namespace

int main(int argc, char** argv)
{
    g_options = BenchData::takeOptions(&argc, argv);
    const std::string small = g_options.small ? "200" : "20000";
    const std::string large = g_options.existingDb.isEmpty()
                                  ? (g_options.small ? "10000" : "1000000")
                                  : std::string("db");
    BenchData::addFixed(g_options.small, "BM_OpenHistory/" + small, 10, BM_OpenHistory);
    BenchData::addFixed(g_options.small, "BM_PackHistory/" + large, 20, BM_PackHistory);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir tmp;
    g_tmp = &tmp;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return g_failed ? 1 : 0;
}
