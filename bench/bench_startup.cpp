// Start-up of the program on a large log book: from the main window's construction to its log
// table filled, headless. The window is started the way the program starts in a portable
// folder: a tarvelo.ini in the working directory selects the SQLite book.
// Runs on generated data, or with --db FILE on an existing SQLite log book.
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
QString g_existingDb; // --db FILE
bool g_small = false; // --small: a quick run for the test suite
QTemporaryDir* g_dir = nullptr;

// A folder holding tarvelo.ini and the book; made once per size.
bool prepareFolder(int entries)
{
    static int prepared = -1;
    if (prepared == entries)
        return true;
    QString book = g_existingDb.isEmpty()
                       ? g_dir->filePath(QStringLiteral("bench-%1.sqlite").arg(entries))
                       : QFileInfo(g_existingDb).absoluteFilePath();
    if (g_existingDb.isEmpty() && !QFileInfo::exists(book)) {
        QString error;
        if (!BenchData(entries, 40, 150).writeSqlite(book, &error)) {
            std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(book), qPrintable(error));
            return false;
        }
    }
    QSettings ini(g_dir->filePath(QStringLiteral("tarvelo.ini")), QSettings::IniFormat);
    ini.clear();
    const QStringList keys = {"host", "db", "username", "pw", "chargerportwin32"};
    for (const QString& key : keys)
        ini.setValue(key, QString());
    ini.setValue(QStringLiteral("port"), 3306);
    ini.setValue(QStringLiteral("sqlitefilename"), book);
    ini.setValue(QStringLiteral("usesqlite"), true);
    ini.setValue(QStringLiteral("usecharger"), false);
    ini.setValue(QStringLiteral("chargerclass"), 0);
    ini.setValue(QStringLiteral("chargersubtype"), 0);
    ini.sync();
    prepared = entries;
    return true;
}

int rowsShown(MainWindow& window)
{
    auto* table = window.findChild<QTableView*>(QStringLiteral("m_pTableLogList"));
    return table && table->model() ? table->model()->rowCount() : -1;
}

void BM_StartUp(benchmark::State& state)
{
    const int entries =
        g_small ? static_cast<int>(state.range(0)) / 100 : static_cast<int>(state.range(0));
    if (!prepareFolder(entries)) {
        state.SkipWithError("no log book");
        return;
    }
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
    if (warned || rows <= 0)
        state.SkipWithError("the log book did not open");
    state.counters["rows"] = rows;
}
BENCHMARK(BM_StartUp)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

// The same, up to the first paint of the shown window.
void BM_StartUpShown(benchmark::State& state)
{
    const int entries =
        g_small ? static_cast<int>(state.range(0)) / 100 : static_cast<int>(state.range(0));
    if (!prepareFolder(entries)) {
        state.SkipWithError("no log book");
        return;
    }
    QTranslator translator;
    for (auto _ : state) {
        auto* window = new MainWindow(&translator, qApp);
        window->show();
        window->grab();
        state.PauseTiming();
        delete window;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpShown)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
} // namespace

int main(int argc, char** argv)
{
    const BenchData::Options options = BenchData::takeOptions(&argc, argv);
    g_existingDb = options.existingDb;
    g_small = options.small;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    g_dir = &dir;
    // The window looks for tarvelo.ini in the working directory.
    QDir::setCurrent(dir.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
