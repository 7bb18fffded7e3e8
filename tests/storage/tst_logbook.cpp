// The log book object without any widget: what it announces for each write, what it refuses,
// its in-memory filter against the store's SQL filter, and the history of a pack read from it.
#include "storage/logbook.h"
#include "storage/logfilter.h"
#include "storage/packhistory.h"
#include "storage/sqliteconnection.h"
#include "storage/sqliteschema.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class LogBookTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void writesAreAnnouncedWithTheirRows();
    void refusedWritesChangeNothing();
    void usesOfPacksAndModels();
    void memoryFilterSelectsAsTheStore_data();
    void memoryFilterSelectsAsTheStore();
    void packHistoryFigures();
    void packHistoryTrend_data();
    void packHistoryTrend();
    void wearAtTheEdges_data();
    void wearAtTheEdges();

private:
    int add(QDate date, int charged, int accu, int model);
    // Pack 0 (2200 mAh): four entries over three months, one not charged, one a month apart.
    void addHistory();

    QTemporaryDir m_dir;
    std::unique_ptr<LogBook> m_book;
    int m_accu[2] = {};
    int m_model[2] = {};
};

void LogBookTest::init()
{
    static int counter = 0;
    const QString file = m_dir.filePath(QStringLiteral("book-%1.sqlite").arg(++counter));
    QVERIFY(SqliteSchema::createDatabase(file, nullptr));
    m_book = std::make_unique<LogBook>();
    QSignalSpy replaced(m_book.get(), &LogBook::storeReplaced);
    QVERIFY(m_book->open(std::make_unique<SqLiteConnection>(file), nullptr));
    QCOMPARE(replaced.count(), 1);
    for (int i = 0; i < 2; ++i) {
        m_accu[i] = m_book->addAccu(AccuEntry(nullptr, "b", QStringLiteral("P%1").arg(i), 2200, 3,
                                              25, 0, -1));
        m_model[i] = m_book->addModel(ModelEntry(nullptr, QStringLiteral("M%1").arg(i), 0, -1));
    }
}

int LogBookTest::add(QDate date, int charged, int accu, int model)
{
    return m_book->addEntry(LogEntry(nullptr, date, QTime(0, 10), charged, accu, model, -1));
}

void LogBookTest::writesAreAnnouncedWithTheirRows()
{
    QSignalSpy added(m_book.get(), &LogBook::entryAdded);
    QSignalSpy changed(m_book.get(), &LogBook::entryChanged);
    QSignalSpy removed(m_book.get(), &LogBook::entryRemoved);
    const int may3 = add(QDate(2024, 5, 3), 100, m_accu[0], m_model[0]);
    const int may1 = add(QDate(2024, 5, 1), 100, m_accu[0], m_model[0]);
    const int may3b = add(QDate(2024, 5, 3), 0, m_accu[1], m_model[1]); // after the first of the day
    QCOMPARE(added.count(), 3);
    QCOMPARE(added.at(1).at(0).toInt(), 0);
    QCOMPARE(added.at(2).at(0).toInt(), 2);
    QCOMPARE(m_book->rowOf(may3), 1);
    QCOMPARE(m_book->firstDate(), QDate(2024, 5, 1));

    LogEntry e = *m_book->entryAt(m_book->rowOf(may1));
    e.m_date = QDate(2024, 5, 9);
    QVERIFY(m_book->changeEntry(may1, e));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toInt(), 0);
    QCOMPARE(changed.at(0).at(1).toInt(), 2);
    QCOMPARE(m_book->entryAt(2)->m_iId, may1);

    QVERIFY(m_book->removeEntry(may3));
    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.at(0).at(0).toInt(), 0);
    QCOMPARE(m_book->entryAt(0)->m_iId, may3b);
    QCOMPARE(m_book->count(), 2);
}

void LogBookTest::refusedWritesChangeNothing()
{
    const int id = add(QDate(2024, 5, 3), 100, m_accu[0], m_model[0]);
    QSignalSpy any(m_book.get(), &LogBook::entryChanged);
    QSignalSpy removed(m_book.get(), &LogBook::entryRemoved);
    QVERIFY(!m_book->changeEntry(id + 100, *m_book->entryAt(0)));
    QVERIFY(!m_book->removeEntry(id + 100));
    QCOMPARE(any.count() + removed.count(), 0);
    QCOMPARE(m_book->count(), 1);
    // Without a store every write is refused.
    m_book->open(nullptr, nullptr);
    QVERIFY(!m_book->isOpen());
    QCOMPARE(add(QDate(2024, 5, 4), 1, 1, 1), -1);
    QCOMPARE(m_book->count(), 0);
    QCOMPARE(m_book->addAccu(AccuEntry()), -1);
}

void LogBookTest::usesOfPacksAndModels()
{
    add(QDate(2024, 5, 1), 100, m_accu[0], m_model[1]);
    add(QDate(2024, 5, 2), 100, m_accu[0], m_model[0]);
    QCOMPARE(m_book->entriesWithAccu(m_accu[0]), 2);
    QCOMPARE(m_book->entriesWithAccu(m_accu[1]), 0);
    QCOMPARE(m_book->entriesWithModel(m_model[1]), 1);
    QSignalSpy packs(m_book.get(), &LogBook::accusChanged);
    QVERIFY(m_book->removeAccu(m_accu[0]));
    QCOMPARE(packs.count(), 1);
    AccuEntry gone;
    QVERIFY(!m_book->accu(m_accu[0], &gone));
    QCOMPARE(m_book->count(), 2); // the entries stay
}

void LogBookTest::memoryFilterSelectsAsTheStore_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::newRow("one day with entries") << QDate(2024, 5, 3) << QDate(2024, 5, 3);
    QTest::newRow("edges on entry days") << QDate(2024, 5, 1) << QDate(2024, 5, 31);
    QTest::newRow("day before to day after") << QDate(2024, 4, 30) << QDate(2024, 6, 1);
    QTest::newRow("a day without entries") << QDate(2024, 5, 2) << QDate(2024, 5, 2);
}

void LogBookTest::memoryFilterSelectsAsTheStore()
{
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    const QDate days[] = {QDate(2024, 4, 30), QDate(2024, 5, 1), QDate(2024, 5, 3),
                          QDate(2024, 5, 31), QDate(2024, 6, 1)};
    int n = 0;
    for (const QDate& day : days) {
        for (int i = 0; i < 4; ++i, ++n)
            add(day, n % 3 ? 500 : 0, m_accu[i % 2], m_model[(i / 2) % 2]);
    }
    SqlBase* store = m_book->store();
    for (int flags = 0; flags < 16; ++flags) {
        LogFilter filter;
        filter.byDate = flags & SqlBase::FilterDate;
        filter.start = start;
        filter.end = end;
        filter.modelId = flags & SqlBase::FilterModel ? m_model[1] : -1;
        filter.accuId = flags & SqlBase::FilterAccu ? m_accu[0] : -1;
        filter.incompleteOnly = flags & SqlBase::FilterIncomplete;
        QVector<int> inMemory;
        for (int row : filter.rows(*store))
            inMemory.append(m_book->entryAt(row)->m_iId);
        QVector<LogEntry*> read;
        QVERIFY(store->readLogEntries(&read, filter.applyTo(store)));
        QVector<int> fromStore;
        for (const LogEntry* e : read)
            fromStore.append(e->m_iId);
        qDeleteAll(read);
        QVERIFY2(inMemory == fromStore, qPrintable(QStringLiteral("flags %1").arg(flags)));
    }
}

void LogBookTest::addHistory()
{
    // rest = 100 - charged * 100 / 2200, truncated: 50, 45, 36.
    add(QDate(2024, 1, 10), 1100, m_accu[0], m_model[1]);
    add(QDate(2024, 1, 20), 0, m_accu[0], m_model[0]);
    add(QDate(2024, 1, 25), 500, m_accu[1], m_model[0]); // another pack
    add(QDate(2024, 3, 5), 1210, m_accu[0], m_model[0]);
    add(QDate(2024, 3, 6), 1408, m_accu[0], m_model[0]);
}

void LogBookTest::packHistoryFigures()
{
    addHistory();
    const PackHistory h = PackHistory::of(*m_book, m_accu[0]);
    QCOMPARE(h.cycles(), 4);
    // Numbered among all its entries; the one not charged is no use.
    QVector<int> numbers, rests;
    for (const PackHistory::Use& u : h.uses()) {
        numbers << u.number;
        rests << u.rest;
    }
    QCOMPARE(numbers, (QVector<int>{1, 3, 4}));
    QCOMPARE(rests, (QVector<int>{50, 45, 36}));
    QCOMPARE(h.firstUse(), QDate(2024, 1, 10));
    QCOMPARE(h.lastUse(), QDate(2024, 3, 6));
    QCOMPARE(h.totalSeconds(), qint64(4 * 600));
    // (6600 + 7260 + 8448) / 3 mA
    QCOMPARE(h.avgCurrentAmps(), 7.436);
    // The model flown most first.
    QCOMPARE(h.models().size(), 2);
    QCOMPARE(h.models()[0].name, QStringLiteral("M0"));
    QCOMPARE(h.models()[0].uses, 3);
    QCOMPARE(h.models()[1].uses, 1);
    // February had no use and is there all the same.
    QCOMPARE(h.months().size(), 3);
    QCOMPARE(h.months()[0].first, QDate(2024, 1, 1));
    QCOMPARE(h.months()[0].uses, (QVector<int>{1, 1}));
    QCOMPARE(h.months()[1].uses, (QVector<int>{0, 0}));
    QCOMPARE(h.months()[2].first, QDate(2024, 3, 1));
    QCOMPARE(h.months()[2].uses, (QVector<int>{2, 0}));

    const PackHistory none = PackHistory::of(*m_book, 999);
    QCOMPARE(none.cycles(), 0);
    QVERIFY(none.months().isEmpty());
    QVERIFY(!none.trend(20).valid);
}

void LogBookTest::packHistoryTrend_data()
{
    QTest::addColumn<int>("lastN");
    QTest::addColumn<int>("points");
    QTest::addColumn<double>("per100Uses");
    // Through (1, 50), (3, 45), (4, 36): around the mean (8/3, 131/3) the sums are
    // sxy = -183/9 and sxx = 14/3, so the slope is -61/14 percent per use.
    QTest::newRow("all of them") << 20 << 3 << -6100.0 / 14;
    QTest::newRow("every use") << 0 << 3 << -6100.0 / 14;
    QTest::newRow("the last two") << 2 << 2 << -900.0;
}

void LogBookTest::packHistoryTrend()
{
    QFETCH(int, lastN);
    QFETCH(int, points);
    QFETCH(double, per100Uses);
    addHistory();
    const PackHistory::Trend t = PackHistory::of(*m_book, m_accu[0]).trend(lastN);
    QVERIFY(t.valid);
    QCOMPARE(t.points, points);
    QCOMPARE(t.toNumber, 4);
    QVERIFY2(qAbs(t.per100Uses() - per100Uses) < 1e-9, qPrintable(QString::number(t.per100Uses())));
    // The line goes through the mean of its points.
    if (points == 2)
        QCOMPARE(t.at(3.5), 40.5);
}

void LogBookTest::wearAtTheEdges_data()
{
    QTest::addColumn<int>("cycles");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("wear");
    using W = PackHistory::Wear;
    QTest::newRow("79 %") << 79 << 100 << int(W::Fine);
    QTest::newRow("80 %") << 80 << 100 << int(W::Near);
    QTest::newRow("99 %") << 99 << 100 << int(W::Near);
    QTest::newRow("100 %") << 100 << 100 << int(W::Reached);
    QTest::newRow("past it") << 312 << 300 << int(W::Reached);
    QTest::newRow("239 of 300") << 239 << 300 << int(W::Fine);
    QTest::newRow("240 of 300") << 240 << 300 << int(W::Near);
    // 80 % of 7 is 5.6: the sixth cycle is near, the fifth not.
    QTest::newRow("5 of 7") << 5 << 7 << int(W::Fine);
    QTest::newRow("6 of 7") << 6 << 7 << int(W::Near);
    QTest::newRow("no limit") << 5000 << 0 << int(W::Fine);
}

void LogBookTest::wearAtTheEdges()
{
    QFETCH(int, cycles);
    QFETCH(int, limit);
    QFETCH(int, wear);
    QCOMPARE(int(PackHistory::wear(cycles, limit)), wear);
}

QTEST_GUILESS_MAIN(LogBookTest)
#include "tst_logbook.moc"
