// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The three table models behind the main window's tables, on a real SQLite store, with the
// framework's model tester attached to every model.
#include "views/storefixture.h"

#include "views/tablemodelkinds.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(Qt::GlobalColor)

namespace
{

// What a standard view really draws a cell with.
class ProbeDelegate : public QStyledItemDelegate
{
public:
    QColor textColour(const QModelIndex& index) const
    {
        QStyleOptionViewItem option;
        initStyleOption(&option, index);
        return option.palette.color(QPalette::Text);
    }
};

} // namespace

class TableModelsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void emptyModelAnswersNothing();
    void logCells_data();
    void logCells();
    void logDuration_data();
    void logDuration();
    void deletedPackAndModelNamedByNumber();
    void followsTheLogBook_data();
    void followsTheLogBook();
    void logFlags();
    void headers_data();
    void headers();
    void coloursReachTheView();
    void statsCells_data();
    void statsCells();
    void statsRowOfWrongKindIsEmpty();
    void sortsEachColumn_data();
    void sortsEachColumn();
    void sortedTableFollowsEdits_data();
    void sortedTableFollowsEdits();
    void search_data();
    void search();

private:
    // Five entries, labelled 1 to 5, whose order per column is worked out by hand below.
    void addHandMadeLog();
    // The labels of the entries shown, in table order.
    QString shownLabels(const LogEntryTableModel& model) const;
    QHash<int, QChar> m_labels;
    // One log entry on a fresh pack of `capacity` mAh in a fresh model, through the log book.
    int addEntry(int charged, int capacity, QTime time, QDate date = QDate(2024, 5, 17));
    QModelIndex logIndex(int row, int column) const { return m_log->index(row, column); }

    std::unique_ptr<StoreFixture> m_store;
    std::unique_ptr<LogEntryTableModel> m_log;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
};

void TableModelsTest::init()
{
    m_store = std::make_unique<StoreFixture>();
    QVERIFY(m_store->db() && m_store->db()->isConnected());
    m_log = std::make_unique<LogEntryTableModel>(m_store->book());
    m_tester = std::make_unique<QAbstractItemModelTester>(
        m_log.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
}

void TableModelsTest::cleanup()
{
    m_tester.reset();
    m_log.reset();
    m_store.reset();
}

int TableModelsTest::addEntry(int charged, int capacity, QTime time, QDate date)
{
    const int accu = m_store->addAccu(QStringLiteral("Xa"), QStringLiteral("red"), capacity);
    const int model = m_store->addModel(QStringLiteral("Heli T1"), 1);
    return m_store->book()->addEntry(LogEntry(nullptr, date, time, charged, accu, model, -1));
}

void TableModelsTest::emptyModelAnswersNothing()
{
    QCOMPARE(m_log->rowCount(), 0);
    QVERIFY(!m_log->entryAt(0));
    for (int role : {int(Qt::DisplayRole), int(Qt::ForegroundRole), int(Qt::EditRole)})
        QVERIFY(!m_log->data(m_log->index(0, 0), role).isValid());
    // The rows come from the log book only.
    LogEntry e(nullptr, QDate(2024, 1, 1), QTime(0, 1), 1, 1, 1, 5);
    QVERIFY(!m_log->appendEntry(&e));
    QCOMPARE(m_log->rowCount(), 0);
    // An index of another model with a valid row is refused too.
    StoreFixture other;
    LogEntryTableModel shown(other.book());
    QVERIFY(other.book()->addEntry(e) >= 0);
    QCOMPARE(shown.rowCount(), 1);
    QVERIFY(!m_log->data(shown.index(0, 0)).isValid());
}

void TableModelsTest::logCells_data()
{
    QTest::addColumn<int>("charged");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("charged_text");
    QTest::addColumn<QString>("rest");
    QTest::addColumn<QColor>("rest_colour");
    QTest::addColumn<QString>("current");

    const QColor green(Qt::darkGreen);
    const QColor red(Qt::red);
    QTest::newRow("half") << 1100 << 2200 << QTime(1, 0) << "1100 mAh"
                          << "50 %" << green << "1.10 A";
    QTest::newRow("18.2 % red") << 1800 << 2200 << QTime(0, 10) << "1800 mAh"
                                << "18 %" << red << "10.80 A";
    QTest::newRow("20 % green") << 400 << 500 << QTime(0, 0, 40) << "400 mAh"
                                << "20 %" << green << "36.00 A";
    QTest::newRow("19.5 % rounds to green") << 3220 << 4000 << QTime(1, 0) << "3220 mAh"
                                            << "20 %" << green << "3.22 A";
    QTest::newRow("one ampere") << 1000 << 2000 << QTime(1, 0) << "1000 mAh"
                                << "50 %" << green << "1.00 A";
    QTest::newRow("6.418 A") << 2200 << 5000 << QTime(0, 20, 34) << "2200 mAh"
                             << "56 %" << green << "6.42 A";
    QTest::newRow("capacity 0") << 500 << 0 << QTime(0, 5) << "500 mAh"
                                << "0 %" << red << "6.00 A";
    QTest::newRow("overcharged") << 2420 << 2200 << QTime(0, 6) << "2420 mAh"
                                 << "-10 %" << red << "24.20 A";
    // Figures that were never measured stay empty.
    QTest::newRow("no duration") << 1800 << 2200 << QTime(0, 0) << "1800 mAh"
                                 << "18 %" << red << "";
    QTest::newRow("not charged") << 0 << 2200 << QTime(0, 7) << "0 mAh"
                                 << "" << green << "";
}

void TableModelsTest::logCells()
{
    QFETCH(int, charged);
    QFETCH(int, capacity);
    QFETCH(QTime, time);
    QFETCH(QString, charged_text);
    QFETCH(QString, rest);
    QFETCH(QColor, rest_colour);
    QFETCH(QString, current);

    QVERIFY(addEntry(charged, capacity, time) >= 0);
    QCOMPARE(m_log->data(logIndex(0, 0)).toString(), QStringLiteral("2024-05-17"));
    QCOMPARE(m_log->data(logIndex(0, 1)).toString(), QStringLiteral("red"));
    QCOMPARE(m_log->data(logIndex(0, 3)).toString(), QStringLiteral("Heli T1"));
    QCOMPARE(m_log->data(logIndex(0, 4)).toString(), charged_text);
    QCOMPARE(m_log->data(logIndex(0, 5)).toString(), rest);
    QCOMPARE(m_log->data(logIndex(0, 5), Qt::ForegroundRole).value<QColor>(), rest_colour);
    QCOMPARE(m_log->data(logIndex(0, 6)).toString(), current);
    QCOMPARE(m_log->data(logIndex(0, 6), Qt::ForegroundRole).value<QColor>(), QColor(Qt::blue));
    for (int column = 0; column < 5; ++column)
        QVERIFY2(!m_log->data(logIndex(0, column), Qt::ForegroundRole).isValid(),
                 qPrintable(QString::number(column)));
    QVERIFY(!m_log->data(logIndex(0, 7)).isValid());
}

void TableModelsTest::logDuration_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("text");
    QTest::newRow("59:59") << QTime(0, 59, 59) << "59:59";
    QTest::newRow("one hour") << QTime(1, 0) << "1:00:00";
    QTest::newRow("1:05:00") << QTime(1, 5) << "1:05:00";
    QTest::newRow("zero") << QTime(0, 0) << "0:00";
}

void TableModelsTest::logDuration()
{
    QFETCH(QTime, time);
    QFETCH(QString, text);
    QVERIFY(addEntry(100, 1000, time) >= 0);
    QCOMPARE(m_log->data(logIndex(0, 2)).toString(), text);
}

void TableModelsTest::deletedPackAndModelNamedByNumber()
{
    const int id = addEntry(1100, 2200, QTime(0, 30));
    const LogEntry* e = m_log->logEntryAt(0);
    QVERIFY(e && e->m_iId == id);
    const int accu = e->m_iAccuId, model = e->m_iModelId;
    QSignalSpy changed(m_log.get(), &QAbstractItemModel::dataChanged);
    QVERIFY(m_store->book()->removeAccu(accu));
    QVERIFY(changed.count() > 0); // the view paints the row again
    QCOMPARE(m_log->data(logIndex(0, 1)).toString(),
             QStringLiteral("(deleted pack #%1)").arg(accu));
    QVERIFY(!m_log->data(logIndex(0, 5)).isValid());
    QCOMPARE(m_log->data(logIndex(0, 5), Qt::ForegroundRole).value<QColor>(), QColor(Qt::blue));
    // The other columns do not depend on the pack.
    QCOMPARE(m_log->data(logIndex(0, 3)).toString(), QStringLiteral("Heli T1"));
    QCOMPARE(m_log->data(logIndex(0, 6)).toString(), QStringLiteral("2.20 A"));

    QVERIFY(m_store->book()->removeModel(model));
    QCOMPARE(m_log->data(logIndex(0, 3)).toString(),
             QStringLiteral("(deleted model #%1)").arg(model));
    QCOMPARE(m_log->data(logIndex(0, 4)).toString(), QStringLiteral("1100 mAh"));
}

// Each step goes through the log book; the rows shown must be those the filter lets through,
// in the log's order, and the tester checks every announcement on the way.
void TableModelsTest::followsTheLogBook_data()
{
    QTest::addColumn<bool>("onlyIncomplete");
    QTest::newRow("every entry") << false;
    QTest::newRow("incomplete only") << true;
}

void TableModelsTest::followsTheLogBook()
{
    QFETCH(bool, onlyIncomplete);
    LogFilter filter;
    filter.incompleteOnly = onlyIncomplete;
    m_log->setFilter(filter);
    LogBook* book = m_store->book();
    QVector<int> ids;
    for (int day = 1; day <= 6; ++day) // every other entry not yet charged
        ids.append(addEntry(day % 2 ? 0 : 500, 2200, QTime(0, 5), QDate(2024, 5, day)));
    const auto expected = [&]() {
        QVector<int> out;
        for (int row = 0; row < book->count(); ++row)
            if (filter.accepts(*book->entryAt(row)))
                out.append(book->entryAt(row)->m_iId);
        return out;
    };
    const auto shown = [&]() {
        QVector<int> out;
        for (int row = 0; row < m_log->rowCount(); ++row)
            out.append(m_log->logEntryAt(row)->m_iId);
        return out;
    };
    QCOMPARE(shown(), expected());

    LogEntry e = *book->entryAt(book->rowOf(ids[0]));
    e.m_date = QDate(2024, 5, 5); // moves down, stays incomplete
    QVERIFY(book->changeEntry(ids[0], e));
    QCOMPARE(shown(), expected());
    e.m_iCharged = 900; // charged now: leaves the incomplete list, keeps its place
    QVERIFY(book->changeEntry(ids[0], e));
    QCOMPARE(shown(), expected());
    e = *book->entryAt(book->rowOf(ids[5]));
    e.m_date = QDate(2024, 4, 30); // to the top
    e.m_iCharged = 0;
    QVERIFY(book->changeEntry(ids[5], e));
    QCOMPARE(shown(), expected());
    QVERIFY(book->removeEntry(ids[2]));
    QCOMPARE(shown(), expected());
    ids.append(addEntry(0, 2200, QTime(0, 1), QDate(2024, 5, 3))); // among entries of that day
    QCOMPARE(shown(), expected());
    QCOMPARE(m_log->rowOfId(ids.last()), int(expected().indexOf(ids.last())));
    QVERIFY(book->reload(nullptr));
    QCOMPARE(shown(), expected());
}

void TableModelsTest::logFlags()
{
    QVERIFY(addEntry(100, 1000, QTime(0, 10)) >= 0);
    for (int column = 0; column < 7; ++column) {
        const Qt::ItemFlags expected =
            column < 5 ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
        QCOMPARE(m_log->flags(logIndex(0, column)), expected);
    }

    // Selecting a row in a view highlights only the stored columns.
    QTableView view;
    view.setModel(m_log.get());
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.selectRow(0);
    const QModelIndexList selected = view.selectionModel()->selectedIndexes();
    QCOMPARE(selected.size(), 5);
    for (const QModelIndex& index : selected)
        QVERIFY(index.column() < 5);
}

void TableModelsTest::headers_data()
{
    QTest::addColumn<int>("which"); // 0 log, 1 model statistics, 2 pack statistics
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("log") << 0 << QStringList{"Date",        "Accu",    "Time (m:ss / h:mm:ss)",
                                             "Model",       "Charged", "Rest capacity",
                                             "Avg. current"};
    QTest::newRow("model statistics") << 1
                                      << QStringList{"Model",
                                                     "Number of flights",
                                                     "overall flight time (m:ss / h:mm:ss)",
                                                     "avg. time per flight (m:ss / h:mm:ss)",
                                                     "avg. current",
                                                     "avg. rest capacity"};
    QTest::newRow("pack statistics") << 2
                                     << QStringList{"Accu",
                                                    "Number of cycles",
                                                    "overall used time (m:ss / h:mm:ss)",
                                                    "avg. time per use (m:ss / h:mm:ss)",
                                                    "avg. current",
                                                    "avg. rest capacity"};
}

void TableModelsTest::headers()
{
    QFETCH(int, which);
    QFETCH(QStringList, titles);
    std::unique_ptr<TableModelBase> model = makeTableModel(which);
    QCOMPARE(model->columnCount(), titles.size());
    for (int section = 0; section < titles.size(); ++section) {
        QCOMPARE(model->headerData(section, Qt::Horizontal).toString(), titles[section]);
        QVERIFY(!model->headerData(section, Qt::Horizontal, Qt::ToolTipRole).isValid());
        QVERIFY(!model->headerData(section, Qt::Vertical).isValid());
    }
    QVERIFY(!model->headerData(int(titles.size()), Qt::Horizontal).isValid());
    QVERIFY(!model->headerData(-1, Qt::Horizontal).isValid());
}

void TableModelsTest::coloursReachTheView()
{
    QVERIFY(addEntry(1100, 2200, QTime(0, 30)) >= 0); // 50 %
    QVERIFY(addEntry(1800, 2200, QTime(0, 30)) >= 0); // 18 %
    QTableView view;
    view.setModel(m_log.get());
    ProbeDelegate probe;
    QCOMPARE(probe.textColour(logIndex(0, 5)), QColor(Qt::darkGreen));
    QCOMPARE(probe.textColour(logIndex(1, 5)), QColor(Qt::red));
    QCOMPARE(probe.textColour(logIndex(0, 6)), QColor(Qt::blue));

    ModelStatsTableModel stats;
    ModelStatEntry low;
    low.m_dAvgRest = 10;
    QVector<EntryBase*> rows{&low};
    stats.setEntries(&rows);
    QCOMPARE(probe.textColour(stats.index(0, 5)), QColor(Qt::red));
    QCOMPARE(probe.textColour(stats.index(0, 0)), QColor(Qt::blue));
}

void TableModelsTest::statsCells_data()
{
    QTest::addColumn<bool>("perModel");
    QTest::addColumn<int>("count");
    QTest::addColumn<qint64>("totalSeconds");
    QTest::addColumn<QTime>("average");
    QTest::addColumn<double>("current");
    QTest::addColumn<double>("rest");
    QTest::addColumn<QStringList>("texts"); // columns 2 to 5
    QTest::addColumn<QColor>("rest_colour");

    const QColor green(Qt::darkGreen);
    const QColor red(Qt::red);
    for (bool perModel : {true, false}) {
        const char* kind = perModel ? "model: " : "pack: ";
        QTest::addRow("%s3 uses, one hour", kind)
            << perModel << 3 << qint64(3600) << QTime(0, 20) << 12.5 << 19.5
            << QStringList{"1:00:00", "20:00", "12.50 A", "20 %"} << green;
        QTest::addRow("%smore than a day", kind)
            << perModel << 40 << qint64(97390) << QTime(0, 40, 34) << 0.0 << 19.49
            << QStringList{"27:03:10", "40:34", "0.00 A", "19 %"} << red;
        QTest::addRow("%snegative rest", kind)
            << perModel << 1 << qint64(59) << QTime(0, 0, 59) << 4.61218 << -3.5
            << QStringList{"0:59", "0:59", "4.61 A", "-4 %"} << red;
    }
}

void TableModelsTest::statsCells()
{
    QFETCH(bool, perModel);
    QFETCH(int, count);
    QFETCH(qint64, totalSeconds);
    QFETCH(QTime, average);
    QFETCH(double, current);
    QFETCH(double, rest);
    QFETCH(QStringList, texts);
    QFETCH(QColor, rest_colour);

    std::unique_ptr<StatEntry> record;
    std::unique_ptr<TableModelBase> model;
    if (perModel) {
        record = std::make_unique<ModelStatEntry>();
        model = std::make_unique<ModelStatsTableModel>();
    } else {
        record = std::make_unique<AccuStatEntry>();
        model = std::make_unique<AccuStatsTableModel>();
    }
    QAbstractItemModelTester tester(model.get(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    record->m_strName = QStringLiteral("Heli T1");
    record->m_iCount = count;
    record->setTotalSeconds(totalSeconds);
    record->m_timeAverage = average;
    record->m_dAvgCurrent = current;
    record->m_dAvgRest = rest;
    QVector<EntryBase*> rows{record.get()};
    model->setEntries(&rows);

    QCOMPARE(model->columnCount(), 6);
    QCOMPARE(model->data(model->index(0, 0)).toString(), QStringLiteral("Heli T1"));
    const QVariant uses = model->data(model->index(0, 1));
    QCOMPARE(uses.typeId(), QMetaType::Int);
    QCOMPARE(uses.toInt(), count);
    for (int column = 2; column < 6; ++column)
        QCOMPARE(model->data(model->index(0, column)).toString(), texts[column - 2]);
    for (int column = 0; column < 5; ++column)
        QCOMPARE(model->data(model->index(0, column), Qt::ForegroundRole).value<QColor>(),
                 QColor(Qt::blue));
    QCOMPARE(model->data(model->index(0, 5), Qt::ForegroundRole).value<QColor>(), rest_colour);
    for (int column = 0; column < 6; ++column)
        QCOMPARE(model->flags(model->index(0, column)), Qt::NoItemFlags);

    QSignalSpy changed(model.get(), &QAbstractItemModel::dataChanged);
    QVERIFY(model->replaceEntry(0, record.get()));
    QCOMPARE(changed.at(0).at(1).value<QModelIndex>(), model->index(0, 5));
}

// clang-format off
// Packs "Pack 10" (A, 2000 mAh) and "pack 2" (B, 1000 mAh; before A, by its number), a pack
// that was deleted (X); models "Cub" and "Zlin".
//   label date        time     pack model charged  rest  current
//   4     2024-04-30  0:10:00  A    Cub   1500     25 %  9 A
//   1     2024-05-01  0:10:00  A    Zlin  1000     50 %  6 A
//   2     2024-05-01  0:05:00  B    Cub    500     50 %  6 A
//   3     2024-05-02  1:00:00  B    Zlin     0     -     -       not charged yet
//   5     2024-05-03  0:00:00  X    Cub    800     -     -       pack deleted, not timed
// clang-format on
void TableModelsTest::addHandMadeLog()
{
    const int a = m_store->addAccu(QStringLiteral("Xa"), QStringLiteral("Pack 10"), 2000);
    const int b = m_store->addAccu(QStringLiteral("Brandname"), QStringLiteral("pack 2"), 1000);
    const int x = m_store->addAccu(QStringLiteral("Xa"), QStringLiteral("gone"), 500);
    const int cub = m_store->addModel(QStringLiteral("Cub"));
    const int zlin = m_store->addModel(QStringLiteral("Zlin"));
    const struct {
        char label;
        QDate date;
        QTime time;
        int accu, model, charged;
    } entries[] = {{'1', QDate(2024, 5, 1), QTime(0, 10), a, zlin, 1000},
                   {'2', QDate(2024, 5, 1), QTime(0, 5), b, cub, 500},
                   {'3', QDate(2024, 5, 2), QTime(1, 0), b, zlin, 0},
                   {'4', QDate(2024, 4, 30), QTime(0, 10), a, cub, 1500},
                   {'5', QDate(2024, 5, 3), QTime(0, 0), x, cub, 800}};
    for (const auto& e : entries)
        m_labels.insert(m_store->book()->addEntry(
                            LogEntry(nullptr, e.date, e.time, e.charged, e.accu, e.model, -1)),
                        QLatin1Char(e.label));
    QVERIFY(m_store->book()->removeAccu(x));
}

QString TableModelsTest::shownLabels(const LogEntryTableModel& model) const
{
    QString labels;
    for (int row = 0; row < model.rowCount(); ++row)
        labels += m_labels.value(model.logEntryAt(row)->m_iId, QLatin1Char('?'));
    return labels;
}

void TableModelsTest::sortsEachColumn_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("ascending");
    QTest::addColumn<QString>("descending");
    // Ties in the log's order (date, then identifier), turned round downwards; cells without
    // a value last both ways.
    QTest::newRow("date") << 0 << "41235" << "53214";
    QTest::newRow("pack, by its number") << 1 << "23415" << "14325";
    QTest::newRow("duration") << 2 << "52413" << "31425";
    QTest::newRow("model") << 3 << "42513" << "31524";
    QTest::newRow("charged") << 4 << "25143" << "41523";
    QTest::newRow("rest") << 5 << "41235" << "21453";
    QTest::newRow("current") << 6 << "12435" << "42153";
}

void TableModelsTest::sortsEachColumn()
{
    QFETCH(int, column);
    QFETCH(QString, ascending);
    QFETCH(QString, descending);
    addHandMadeLog();
    m_log->sort(column, Qt::AscendingOrder);
    QCOMPARE(shownLabels(*m_log), ascending);
    m_log->sort(column, Qt::DescendingOrder);
    QCOMPARE(shownLabels(*m_log), descending);
}

void TableModelsTest::sortedTableFollowsEdits_data()
{
    QTest::addColumn<int>("column");
    for (int column = 0; column < LogEntryTableModel::ColumnCount; ++column)
        QTest::addRow("column %d", column) << column;
}

// After every edit the sorted table shows what a table sorted afresh shows.
void TableModelsTest::sortedTableFollowsEdits()
{
    QFETCH(int, column);
    addHandMadeLog();
    LogBook* book = m_store->book();
    m_log->sort(column, Qt::DescendingOrder);
    const auto sameAsAfresh = [&]() {
        LogEntryTableModel afresh(book);
        afresh.setFilter(m_log->filter());
        afresh.sort(column, Qt::DescendingOrder);
        QCOMPARE(shownLabels(*m_log), shownLabels(afresh));
    };
    LogEntry e = *book->entryAt(2);
    m_labels.insert(book->addEntry(e), QLatin1Char('6'));
    sameAsAfresh();
    e.m_iCharged = 1200;
    e.m_date = QDate(2024, 4, 1);
    QVERIFY(book->changeEntry(e.m_iId, e));
    sameAsAfresh();
    LogFilter onePack;
    onePack.accuId = e.m_iAccuId;
    m_log->setFilter(onePack);
    QVERIFY(book->removeEntry(book->entryAt(4)->m_iId));
    sameAsAfresh();
    AccuEntry pack;
    QVERIFY(book->accu(e.m_iAccuId, &pack));
    pack.m_strDescr = QStringLiteral("Pack 1");
    pack.m_iCapacity = 800;
    QVERIFY(book->changeAccu(pack.m_iId, pack));
    sameAsAfresh();
}

void TableModelsTest::search_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown"); // in the log's order
    QTest::newRow("nothing typed") << "" << "41235";
    QTest::newRow("pack by description, any case") << "PACK 2" << "23";
    QTest::newRow("pack by brand") << "brandname" << "23";
    QTest::newRow("model") << "zli" << "13";
    QTest::newRow("a day") << "2024-05-01" << "12";
    QTest::newRow("a month") << " 2024-05 " << "1235";
    QTest::newRow("any of them") << "0" << "41235";
    QTest::newRow("no match") << "Easy Star" << "";
}

void TableModelsTest::search()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    addHandMadeLog();
    m_log->setSearch(text);
    QCOMPARE(shownLabels(*m_log), shown);
    // A new entry like entry 2 shows right after it when entry 2 shows.
    m_labels.insert(m_store->book()->addEntry(*m_store->book()->entryAt(2)), QLatin1Char('6'));
    QCOMPARE(shownLabels(*m_log), QString(shown).replace(QLatin1Char('2'), QLatin1String("26")));
}

void TableModelsTest::statsRowOfWrongKindIsEmpty()
{
    AccuStatsTableModel packs;
    QAbstractItemModelTester tester(&packs, QAbstractItemModelTester::FailureReportingMode::QtTest);
    ModelStatEntry model;
    model.m_strName = QStringLiteral("not a pack");
    QVector<EntryBase*> rows{&model, nullptr};
    packs.setEntries(&rows);
    QCOMPARE(packs.rowCount(), 2);
    for (int row = 0; row < 2; ++row) {
        QVERIFY(!packs.data(packs.index(row, 0)).isValid());
        QVERIFY(!packs.data(packs.index(row, 5), Qt::ForegroundRole).isValid());
    }
}

QTEST_MAIN(TableModelsTest)
#include "tst_tablemodels.moc"
