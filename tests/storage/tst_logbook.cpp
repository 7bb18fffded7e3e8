// The log book object without any widget: what it announces for each write, what it refuses,
// and its in-memory filter against the store's SQL filter.
#include "storage/logbook.h"
#include "storage/logfilter.h"
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

private:
    int add(QDate date, int charged, int accu, int model);

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

QTEST_GUILESS_MAIN(LogBookTest)
#include "tst_logbook.moc"
