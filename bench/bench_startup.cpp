// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// Start-up of the program on a large log book: from the main window's construction to its log
// table filled, headless. The window is started the way the program starts in a portable
// folder: a tarvelo.ini in the working directory selects the SQLite book.
// Runs on the generated books of 10 000 to 1 000 000 entries (kept between runs with
// --data-dir DIR, a hundredth of them with --small), or with --db FILE on an existing SQLite
// log book. bench_startmem reports the peak memory of one such start. BM_StartUp/N/1 starts
// with the log sorted by charged mAh, downwards, as remembered from the run before.
#include "app/mainwindow.h"
#include "benchdata.h"
#include "views/messagebox.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTranslator>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace
{
BenchData::Options g_options; // --db FILE, --data-dir DIR, --small
QTemporaryDir* g_dir = nullptr;
bool g_failed = false; // any benchmark skipped with an error: the run fails

// tarvelo.ini in the working directory, naming the book of that nominal size (generated on
// first use, before any timing) or the one given with --db.
bool prepareFolder(int nominal)
{
    static int prepared = -1;
    if (prepared == nominal)
        return true;
    QString error;
    const QString book =
        !g_options.existingDb.isEmpty()
            ? QFileInfo(g_options.existingDb).absoluteFilePath()
            : BenchData::sqliteBook(g_options.dataDir.isEmpty() ? g_dir->path() : g_options.dataDir,
                                    nominal, g_options.small, true, &error);
    if (book.isEmpty()) {
        std::fprintf(stderr, "cannot write a book: %s\n", qPrintable(error));
        return false;
    }
    if (!BenchData::writePortableIni(g_dir->filePath(QStringLiteral("tarvelo.ini")), book))
        return false;
    prepared = nominal;
    return true;
}

// The sort the window remembers: by charged mAh downwards, or none (the log's order).
void rememberSort(bool sorted)
{
    QSettings ini(g_dir->filePath(QStringLiteral("tarvelo.ini")), QSettings::IniFormat);
    ini.setValue(QStringLiteral("window/logSortColumn"), sorted ? 4 : 0);
    ini.setValue(QStringLiteral("window/logSortOrder"), sorted ? 1 : 0);
}

int rowsShown(MainWindow& window)
{
    auto* table = window.findChild<QTableView*>(QStringLiteral("m_pTableLogList"));
    return table && table->model() ? table->model()->rowCount() : -1;
}

void BM_StartUp(benchmark::State& state)
{
    if (!prepareFolder(static_cast<int>(state.range(0)))) {
        state.SkipWithError("no log book");
        g_failed = true;
        return;
    }
    rememberSort(state.range(1) != 0);
    bool warned = false;
    MessageBox::setHandler([&warned](QWidget*, const QString&, const QString&) { warned = true; });
    QTranslator translator;
    int rows = 0;
    for (auto _ : state) {
        auto* window = new MainWindow(&translator, qApp);
        state.PauseTiming();
        rows = rowsShown(*window);
        delete window;
        state.ResumeTiming();
    }
    MessageBox::setHandler(nullptr);
    if (warned || rows <= 0) {
        state.SkipWithError("the log book did not open");
        g_failed = true;
    }
    state.counters["rows"] = rows;
}

// The same, up to the first paint of the shown window.
void BM_StartUpShown(benchmark::State& state)
{
    if (!prepareFolder(static_cast<int>(state.range(0)))) {
        state.SkipWithError("no log book");
        g_failed = true;
        return;
    }
    rememberSort(false);
    bool warned = false;
    MessageBox::setHandler([&warned](QWidget*, const QString&, const QString&) { warned = true; });
    QTranslator translator;
    int rows = 0;
    for (auto _ : state) {
        auto* window = new MainWindow(&translator, qApp);
        window->show();
        window->grab();
        state.PauseTiming();
        rows = rowsShown(*window);
        delete window;
        state.ResumeTiming();
    }
    MessageBox::setHandler(nullptr);
    if (warned || rows <= 0) {
        state.SkipWithError("the log book did not open");
        g_failed = true;
    }
    state.counters["rows"] = rows;
}

// One start per iteration; the repetitions give the medians. --small starts once per size.
void registerBenchmarks()
{
    auto* plain = benchmark::RegisterBenchmark("BM_StartUp", BM_StartUp)
                      ->Args({10000, 0})
                      ->Args({100000, 0})
                      ->Args({1000000, 0})
                      ->Args({1000000, 1})
                      ->Unit(benchmark::kMillisecond)
                      ->Iterations(1);
    auto* shown = benchmark::RegisterBenchmark("BM_StartUpShown", BM_StartUpShown)
                      ->Arg(100000)
                      ->Arg(1000000)
                      ->Unit(benchmark::kMillisecond)
                      ->Iterations(1);
    if (!g_options.small) {
        plain->Repetitions(7)->ReportAggregatesOnly(true);
        shown->Repetitions(5)->ReportAggregatesOnly(true);
    }
}
} // namespace

int main(int argc, char** argv)
{
    g_options = BenchData::takeOptions(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    g_dir = &dir;
    if (!g_options.dataDir.isEmpty())
        QDir().mkpath(g_options.dataDir);
    // The window looks for tarvelo.ini in the working directory.
    QDir::setCurrent(dir.path());
    registerBenchmarks();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return g_failed ? 1 : 0;
}
