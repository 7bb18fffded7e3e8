// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The log book's edits and the log filters as the log table sees them: a LogEntryTableModel
// follows the log book and a shown QTableView, set up like the window's log table, follows the
// model. Each timed step includes the model's bookkeeping, the view's, and the events the view
// then needs to catch up (its put-off layout and the repaint), processed as the event loop
// would; the counter settle_ms is that last share. A filter also fits the columns, as the log
// tab does (fit_ms). BM_SelectRow is a click on another row; BM_FilterRows is the filter's scan
// alone, without model or view. BM_Sort is a click on a column's title (from the log's own
// order, which is put back untimed); BM_Search one keystroke in the search box, the last letter
// of the text (the text without it is put back untimed), with the table sorted by charged mAh;
// the columns are fitted after it, as after a filter.
//
// One book of 1 000 000 entries (--small: a hundredth) is generated on first use, kept with
// --data-dir DIR; --db FILE runs on an existing SQLite book instead. All of it runs on a copy,
// so the kept book is never edited; the log keeps its size (an added entry is removed again,
// untimed, and the other way round). The SQLite edits wait mostly for the disk's flush; to see
// the program's own share, put the copy in memory: TMPDIR=/dev/shm.
#include "app/tablecolumnfitter.h"
#include "benchdata.h"
#include "storage/logbook.h"
#include "storage/logfilter.h"
#include "storage/sqliteconnection.h"
#include "views/logentrytablemodel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

namespace
{
BenchData::Options g_options;
QTemporaryDir* g_tmp = nullptr;
bool g_failed = false; // any benchmark skipped with an error: the run fails

// Filter values that exist in every generated book (the same as bench_storage's).
constexpr int kModelId = 3;
constexpr int kAccuId = 7;
const QDate kMonthStart(2019, 5, 1), kMonthEnd(2019, 5, 31);
const QDate kYearStart(2019, 1, 1), kYearEnd(2019, 12, 31);

void skip(benchmark::State& state, const char* why)
{
    state.SkipWithError(why);
    g_failed = true;
}

// Counts the paints of the view's viewport, to show that the settling really painted.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

// The log book, the table's model and a shown view on it, set up in the log tab's way. Shared
// by all benchmarks: opening the book takes longer than most of them.
struct LogTable {
    LogBook book;
    LogEntryTableModel model{&book};
    PaintCounter counter;
    QTableView view;
    TableColumnFitter* fitter = new TableColumnFitter(&view); // owned by the view

    bool open(const QString& file)
    {
        if (!book.open(std::make_unique<SqLiteConnection>(file), nullptr))
            return false;
        // As the window's log table is set up.
        model.showIn(&view);
        view.setEditTriggers(QAbstractItemView::NoEditTriggers);
        view.setAlternatingRowColors(true);
        view.horizontalHeader()->setStretchLastSection(true);
        view.horizontalHeader()->setDefaultAlignment(Qt::AlignCenter |
                                                     Qt::Alignment(Qt::TextWordWrap));
        view.verticalHeader()->hide();
        view.viewport()->installEventFilter(&counter);
        view.resize(1000, 700);
        view.show();
        return true;
    }
};
std::unique_ptr<LogTable> g_table;

// The book's size in the labels.
std::string bookSize()
{
    return g_options.existingDb.isEmpty() ? std::string("1000000") : std::string("db");
}

LogTable* logTable(benchmark::State& state)
{
    static bool tried = false;
    if (!tried) {
        tried = true;
        QString error;
        const QString source =
            !g_options.existingDb.isEmpty()
                ? g_options.existingDb
                : BenchData::sqliteBook(g_options.dataDir.isEmpty() ? g_tmp->path()
                                                                    : g_options.dataDir,
                                        1000000, g_options.small, true, &error);
        const QString copy = g_tmp->filePath(QStringLiteral("logbook.sqlite"));
        if (source.isEmpty() || !BenchData::copyFile(source, copy, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
        } else {
            // Else the copy's pages are written back during the timed commits, whose flushes
            // then wait for them.
            sync();
            auto table = std::make_unique<LogTable>();
            if (table->open(copy))
                g_table = std::move(table);
        }
    }
    if (!g_table)
        skip(state, "the log book did not open");
    return g_table.get();
}

// Lets the view catch up as the event loop would; answers the time it took, in nanoseconds.
qint64 settle()
{
    return BenchData::settle();
}

// Fits the columns to what the table shows, as the log tab does after a filter or a search.
// Answers the time it took, in nanoseconds.
qint64 fit(LogTable* t)
{
    QElapsedTimer clock;
    clock.start();
    t->fitter->fit();
    return clock.nsecsElapsed();
}

LogFilter byDate(QDate start, QDate end)
{
    LogFilter f;
    f.byDate = true;
    f.start = start;
    f.end = end;
    return f;
}

LogFilter byModel()
{
    LogFilter f;
    f.modelId = kModelId;
    return f;
}

LogFilter byAccu()
{
    LogFilter f;
    f.accuId = kAccuId;
    return f;
}

LogFilter incomplete()
{
    LogFilter f;
    f.incompleteOnly = true;
    return f;
}

LogFilter combined()
{
    LogFilter f = byDate(kYearStart, kYearEnd);
    f.modelId = kModelId;
    f.accuId = kAccuId;
    f.incompleteOnly = true;
    return f;
}

// --- Edits, one per iteration, through the log book.

enum class Edit { Add, Change, Remove };

void BM_Edit(benchmark::State& state, Edit edit, LogFilter filter)
{
    LogTable* t = logTable(state);
    if (!t)
        return;
    t->model.setFilter(filter);
    settle();
    if (t->model.rowCount() == 0) {
        skip(state, "the filter shows nothing");
        return;
    }
    // An entry in the middle of those shown, made current as when the user picks it; added
    // entries carry its values, so they are shown too.
    const int middleRow = t->model.rowCount() / 2;
    const LogEntry middle = *t->model.logEntryAt(middleRow);
    t->view.selectRow(middleRow);
    settle();
    state.counters["rows"] = t->book.count();
    state.counters["shown"] = t->model.rowCount();

    LogEntry entry = middle;
    qint64 settleNs = 0;
    int round = 0;
    const int paintsBefore = t->counter.paints;
    int untimedPaints = 0;
    for (auto _ : state) {
        bool ok;
        if (edit == Edit::Change) {
            // Back and forth, so that every write really changes the entry and moves its row.
            const bool moved = ++round % 2;
            entry.m_date = middle.m_date.addDays(moved ? 40 : 0);
            entry.m_iCharged = middle.m_iCharged + (moved ? 111 : 0);
            ok = t->book.changeEntry(middle.m_iId, entry);
            settleNs += settle();
        } else if (edit == Edit::Add) {
            const int id = t->book.addEntry(entry);
            settleNs += settle();
            state.PauseTiming();
            const int paints = t->counter.paints;
            ok = id > 0 && t->book.removeEntry(id);
            settle();
            untimedPaints += t->counter.paints - paints;
            state.ResumeTiming();
        } else {
            state.PauseTiming();
            const int paints = t->counter.paints;
            const int id = t->book.addEntry(entry);
            settle();
            untimedPaints += t->counter.paints - paints;
            state.ResumeTiming();
            ok = id > 0 && t->book.removeEntry(id);
            settleNs += settle();
        }
        if (!ok) {
            skip(state, "edit failed");
            break;
        }
    }
    if (round % 2 == 1)
        t->book.changeEntry(middle.m_iId, middle);
    state.counters["settle_ms"] =
        benchmark::Counter(double(settleNs) / 1e6, benchmark::Counter::kAvgIterations);
    state.counters["paints"] =
        benchmark::Counter(double(t->counter.paints - paintsBefore - untimedPaints),
                           benchmark::Counter::kAvgIterations);
    t->view.clearSelection();
    t->model.setFilter(LogFilter());
    settle();
}

// --- Making another row current, as a click does (the log tab does it after every edit too).

void BM_SelectRow(benchmark::State& state, LogFilter filter)
{
    LogTable* t = logTable(state);
    if (!t)
        return;
    t->model.setFilter(filter);
    settle();
    const int rows = t->model.rowCount();
    if (rows < 2) {
        skip(state, "the filter shows too little");
        return;
    }
    qint64 settleNs = 0;
    int round = 0;
    for (auto _ : state) {
        t->view.selectRow(rows / 2 + ++round % 2);
        settleNs += settle();
    }
    state.counters["rows"] = t->book.count();
    state.counters["shown"] = rows;
    state.counters["settle_ms"] =
        benchmark::Counter(double(settleNs) / 1e6, benchmark::Counter::kAvgIterations);
    t->view.clearSelection();
    t->model.setFilter(LogFilter());
    settle();
}

// --- Filters: the table switches from one filter to another; back again untimed.

void BM_SetFilter(benchmark::State& state, LogFilter filter, LogFilter from)
{
    LogTable* t = logTable(state);
    if (!t)
        return;
    t->model.setFilter(from);
    settle();
    qint64 settleNs = 0, fitNs = 0;
    int shown = 0;
    for (auto _ : state) {
        t->model.setFilter(filter);
        fitNs += fit(t); // as the log tab does
        settleNs += settle();
        state.PauseTiming();
        shown = t->model.rowCount();
        t->model.setFilter(from);
        t->fitter->fit();
        settle();
        state.ResumeTiming();
    }
    state.counters["rows"] = t->book.count();
    state.counters["shown"] = shown;
    state.counters["fit_ms"] =
        benchmark::Counter(double(fitNs) / 1e6, benchmark::Counter::kAvgIterations);
    state.counters["settle_ms"] =
        benchmark::Counter(double(settleNs) / 1e6, benchmark::Counter::kAvgIterations);
    t->model.setFilter(LogFilter());
    settle();
}

// --- Sorting and searching: a permutation of row numbers on typed keys, and a pass over it.

void BM_Sort(benchmark::State& state, int column, Qt::SortOrder order)
{
    LogTable* t = logTable(state);
    if (!t)
        return;
    // From the log's order, or for that one from its reverse.
    const Qt::SortOrder from =
        column == LogEntryTableModel::ColumnDate && order == Qt::AscendingOrder
            ? Qt::DescendingOrder
            : Qt::AscendingOrder;
    QHeaderView* header = t->view.horizontalHeader();
    header->setSortIndicator(LogEntryTableModel::ColumnDate, from);
    t->view.selectRow(t->model.rowCount() / 2); // a selection goes along with every sort
    settle();
    qint64 settleNs = 0;
    for (auto _ : state) {
        header->setSortIndicator(column, order);
        settleNs += settle();
        state.PauseTiming();
        header->setSortIndicator(LogEntryTableModel::ColumnDate, from);
        settle();
        state.ResumeTiming();
    }
    header->setSortIndicator(LogEntryTableModel::ColumnDate, Qt::AscendingOrder);
    state.counters["rows"] = t->model.rowCount();
    state.counters["settle_ms"] =
        benchmark::Counter(double(settleNs) / 1e6, benchmark::Counter::kAvgIterations);
    t->view.clearSelection();
}

void BM_Search(benchmark::State& state, QString text)
{
    LogTable* t = logTable(state);
    if (!t)
        return;
    t->view.horizontalHeader()->setSortIndicator(LogEntryTableModel::ColumnCharged,
                                                 Qt::DescendingOrder);
    const QString before = text.left(text.size() - 1);
    t->model.setSearch(before);
    settle();
    qint64 settleNs = 0, fitNs = 0;
    int shown = 0;
    for (auto _ : state) {
        t->model.setSearch(text);
        fitNs += fit(t); // as the log tab does
        settleNs += settle();
        state.PauseTiming();
        shown = t->model.rowCount();
        t->model.setSearch(before);
        settle();
        state.ResumeTiming();
    }
    state.counters["rows"] = t->book.count();
    state.counters["shown"] = shown;
    state.counters["fit_ms"] =
        benchmark::Counter(double(fitNs) / 1e6, benchmark::Counter::kAvgIterations);
    state.counters["settle_ms"] =
        benchmark::Counter(double(settleNs) / 1e6, benchmark::Counter::kAvgIterations);
    t->model.setSearch(QString());
    t->view.horizontalHeader()->setSortIndicator(LogEntryTableModel::ColumnDate,
                                                 Qt::AscendingOrder);
    settle();
}

void BM_FilterRows(benchmark::State& state, LogFilter filter)
{
    LogTable* t = logTable(state);
    if (!t)
        return;
    qsizetype shown = 0;
    for (auto _ : state) {
        const QVector<int> rows = filter.rows(*t->book.store());
        shown = rows.size();
        benchmark::DoNotOptimize(rows.constData());
    }
    state.counters["rows"] = t->book.count();
    state.counters["shown"] = double(shown);
}

template <class... Args> void addBenchmark(const std::string& name, int iterations, Args&&... args)
{
    BenchData::addFixed(g_options.small, name, iterations, std::forward<Args>(args)...);
}

void registerBenchmarks()
{
    const std::string size = bookSize();
    const std::pair<const char*, LogFilter> shown[] = {{"all", LogFilter()}, {"model", byModel()}};
    const std::pair<const char*, Edit> edits[] = {
        {"BM_Add", Edit::Add}, {"BM_Change", Edit::Change}, {"BM_Remove", Edit::Remove}};
    for (const auto& [name, edit] : edits) {
        for (const auto& [what, filter] : shown)
            addBenchmark(std::string(name) + "/" + size + "/" + what, 20, BM_Edit, edit, filter);
    }
    for (const auto& [what, filter] : shown)
        addBenchmark("BM_SelectRow/" + size + "/" + what, 20, BM_SelectRow, filter);

    const std::pair<const char*, LogFilter> filters[] = {{"month", byDate(kMonthStart, kMonthEnd)},
                                                         {"year", byDate(kYearStart, kYearEnd)},
                                                         {"model", byModel()},
                                                         {"pack", byAccu()},
                                                         {"incomplete", incomplete()},
                                                         {"combined", combined()}};
    for (const auto& [what, filter] : filters)
        addBenchmark("BM_SetFilter/" + size + "/" + what, 10, BM_SetFilter, filter, LogFilter());
    // Back to the whole log, from one model's entries.
    addBenchmark("BM_SetFilter/" + size + "/off", 10, BM_SetFilter, LogFilter(), byModel());
    for (const auto& [what, filter] : filters)
        addBenchmark("BM_FilterRows/" + size + "/" + what, 10, BM_FilterRows, filter);
    addBenchmark("BM_FilterRows/" + size + "/off", 10, BM_FilterRows, LogFilter());

    const char* const columns[] = {"date", "pack", "time", "model", "charged", "rest", "current"};
    for (int column = 0; column < LogEntryTableModel::ColumnCount; ++column) {
        for (const auto& [way, order] :
             {std::pair{"up", Qt::AscendingOrder}, std::pair{"down", Qt::DescendingOrder}})
            addBenchmark("BM_Sort/" + size + "/" + columns[column] + "/" + way, 5, BM_Sort, column,
                         order);
    }
    // A letter that every pack name holds, a pack's number, a month, nothing.
    const std::pair<const char*, const char*> searches[] = {
        {"every_pack", "P"}, {"pack_12", "Pack 12"}, {"month", "2019-05"}, {"nothing", "zq"}};
    for (const auto& [what, text] : searches)
        addBenchmark("BM_Search/" + size + "/" + what, 10, BM_Search, QString::fromLatin1(text));
}
} // namespace

int main(int argc, char** argv)
{
    g_options = BenchData::takeOptions(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir tmp;
    g_tmp = &tmp;
    if (!g_options.dataDir.isEmpty() && !QDir().mkpath(g_options.dataDir)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(g_options.dataDir));
        return 1;
    }
    registerBenchmarks();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The view goes before the application.
    g_table.reset();
    return g_failed ? 1 : 0;
}
