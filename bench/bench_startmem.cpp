// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// Peak memory of starting the program on the largest log book: one main window, constructed the
// way the program starts in a portable folder (tarvelo.ini in the working directory), until its
// log table is filled, then shown and painted once. The process does nothing else: the book is
// written beforehand, by another benchmark program with the same --data-dir or here in a child
// process, whose memory is its own. Reports the peak resident size (VmHWM) before the window,
// after its construction and after its first paint, and how long that one cold start took.
// Takes the options of bench_storage.
#include "app/mainwindow.h"
#include "benchdata.h"
#include "views/messagebox.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTableView>
#include <QTemporaryDir>
#include <QTranslator>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace
{
bool g_failed = false;

void BM_StartUpPeakMemory(benchmark::State& state)
{
    bool warned = false;
    MessageBox::setHandler([&warned](QWidget*, const QString&, const QString&) { warned = true; });
    QTranslator translator;
    const double before = BenchData::peakResidentMB();
    double constructed = 0, shown = 0, startMs = 0;
    int rows = -1;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        MainWindow window(&translator, qApp);
        startMs = double(clock.nsecsElapsed()) / 1e6;
        constructed = BenchData::peakResidentMB();
        auto* table = window.findChild<QTableView*>(QStringLiteral("m_pTableLogList"));
        rows = table && table->model() ? table->model()->rowCount() : -1;
        window.show();
        window.grab();
        shown = BenchData::peakResidentMB();
    }
    MessageBox::setHandler(nullptr);
    if (warned || rows <= 0) {
        state.SkipWithError("the log book did not open");
        g_failed = true;
    }
    state.counters["rows"] = rows;
    state.counters["start_ms"] = startMs;
    state.counters["VmHWM_before_MB"] = before;
    state.counters["VmHWM_MB"] = constructed;
    state.counters["VmHWM_shown_MB"] = shown;
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
    const QString book =
        !options.existingDb.isEmpty()
            ? QFileInfo(options.existingDb).absoluteFilePath()
            : BenchData::sqliteBookApart(options.dataDir.isEmpty() ? tmp.path() : options.dataDir,
                                         1000000, options.small, &error);
    if (book.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The window looks for tarvelo.ini in the working directory.
    if (!BenchData::writePortableIni(tmp.filePath(QStringLiteral("tarvelo.ini")), book) ||
        !QDir::setCurrent(tmp.path())) {
        std::fprintf(stderr, "cannot prepare %s\n", qPrintable(tmp.path()));
        return 1;
    }
    const std::string name = options.existingDb.isEmpty() ? "1000000/indexes" : "db/given";
    benchmark::RegisterBenchmark(("BM_StartUpPeakMemory/" + name).c_str(), BM_StartUpPeakMemory)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return g_failed ? 1 : 0;
}
