// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The log book object without any widget: what it announces for each write, what it refuses,
// its in-memory filter against the store's SQL filter, the history of a pack read from it, and
// the edits that undo and redo.
#include "storage/logbook.h"
#include "storage/logfilter.h"
#include "storage/packhistory.h"
#include "storage/recordcommand.h"
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
    void editsGoBackAndForth_data();
    void editsGoBackAndForth();
    void undoMeetsAChangeElsewhere_data();
    void undoMeetsAChangeElsewhere();
    void severalEntriesGoWholeOrNotAtAll();

private:
    int add(QDate date, int charged, int accu, int model);
    // Pack 0 (2200 mAh): four entries over three months, one not charged, one a month apart.
    void addHistory();
    // Every row of the three tables, identifiers included: as the file holds them (read by a
    // connection of its own), or as a store's caches hold them.
    QStringList stored() const;
    static QStringList rowsOf(const SqlBase& store);
    std::unique_ptr<LogBookCommand> edit(const QString& what, const QVector<int>& entries);

    QTemporaryDir m_dir;
    QString m_file;
    std::unique_ptr<LogBook> m_book;
    int m_accu[2] = {};
    int m_model[2] = {};
};

void LogBookTest::init()
{
    static int counter = 0;
    m_file = m_dir.filePath(QStringLiteral("book-%1.sqlite").arg(++counter));
    QVERIFY(SqliteSchema::createDatabase(m_file, nullptr));
    m_book = std::make_unique<LogBook>();
    QSignalSpy replaced(m_book.get(), &LogBook::storeReplaced);
    QVERIFY(m_book->open(std::make_unique<SqLiteConnection>(m_file), nullptr));
    QCOMPARE(replaced.count(), 1);
    for (int i = 0; i < 2; ++i) {
        m_accu[i] = m_book->addAccu(
            AccuEntry(nullptr, "b", QStringLiteral("P%1").arg(i), 2200, 3, 25, 0, -1));
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
    const int may3b =
        add(QDate(2024, 5, 3), 0, m_accu[1], m_model[1]); // after the first of the day
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

QStringList LogBookTest::rowsOf(const SqlBase& store)
{
    QStringList rows;
    for (const AccuEntry& a : store.m_accus)
        rows << QStringLiteral("pack %1 %2 %3 %4 %5 %6 %7")
                    .arg(a.m_iId)
                    .arg(a.m_strBrand, a.m_strDescr)
                    .arg(a.m_iCapacity)
                    .arg(a.m_iCells)
                    .arg(a.m_iStrength)
                    .arg(a.m_iTyp);
    for (const ModelEntry& m : store.m_models)
        rows << QStringLiteral("model %1 %2 %3").arg(m.m_iId).arg(m.m_strName).arg(m.m_iTyp);
    for (const LogEntry* e : store.logCache())
        rows << QStringLiteral("entry %1 %2 %3 %4 %5 %6")
                    .arg(e->m_iId)
                    .arg(e->m_date.toString(Qt::ISODate), e->m_time.toString(Qt::ISODate))
                    .arg(e->m_iAccuId)
                    .arg(e->m_iModelId)
                    .arg(e->m_iCharged);
    return rows;
}

QStringList LogBookTest::stored() const
{
    SqLiteConnection file(m_file);
    QString error;
    if (!file.openDb(&error))
        return {error};
    const QStringList rows = rowsOf(file);
    file.disconnectDb();
    return rows;
}

std::unique_ptr<LogBookCommand> LogBookTest::edit(const QString& what, const QVector<int>& ids)
{
    const auto entry = [this](int id) { return *m_book->entryAt(m_book->rowOf(id)); };
    AccuEntry pack;
    m_book->accu(m_accu[1], &pack);
    ModelEntry model;
    m_book->model(m_model[1], &model);
    LogEntry changed = entry(ids[1]);
    changed.m_date = QDate(2023, 1, 2); // moves to the top of the log
    changed.m_time = QTime(1, 2, 3);
    changed.m_iCharged = 777;
    changed.m_iAccuId = m_accu[1];
    if (what == QLatin1String("add entry"))
        return RecordCommand<LogEntry>::add(
            LogEntry(nullptr, QDate(2024, 5, 2), QTime(0, 4, 5), 321, m_accu[1], m_model[0], -1));
    if (what == QLatin1String("change entry"))
        return RecordCommand<LogEntry>::change(entry(ids[1]), changed);
    if (what == QLatin1String("remove entry"))
        return RecordCommand<LogEntry>::remove({entry(ids[1])});
    if (what == QLatin1String("remove three entries"))
        return RecordCommand<LogEntry>::remove({entry(ids[0]), entry(ids[1]), entry(ids[3])});
    if (what == QLatin1String("add pack"))
        return RecordCommand<AccuEntry>::add(
            AccuEntry(nullptr, "Turnigy", "Blue", 5000, 4, 45, 1, -1));
    AccuEntry renamed = pack;
    renamed.m_strDescr = QStringLiteral("Green");
    renamed.m_iCapacity = 1300;
    if (what == QLatin1String("change pack"))
        return RecordCommand<AccuEntry>::change(pack, renamed);
    if (what == QLatin1String("remove pack"))
        return RecordCommand<AccuEntry>::remove({pack});
    if (what == QLatin1String("add model"))
        return RecordCommand<ModelEntry>::add(ModelEntry(nullptr, "Cub", 2, -1));
    ModelEntry other = model;
    other.m_strName = QStringLiteral("T-Rex");
    other.m_iTyp = 4;
    if (what == QLatin1String("change model"))
        return RecordCommand<ModelEntry>::change(model, other);
    return RecordCommand<ModelEntry>::remove({model});
}

void LogBookTest::editsGoBackAndForth_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("text");
    for (const char* what : {"add entry", "change entry", "remove entry", "add pack", "change pack",
                             "remove pack", "add model", "change model", "remove model"}) {
        QString text = QString::fromLatin1(what);
        text[0] = text[0].toUpper();
        QTest::newRow(what) << what << text;
    }
    QTest::newRow("remove three entries") << "remove three entries"
                                          << "Remove 3 entries";
}

// Undo puts every stored row back as it was, identifiers included; redo does the edit again,
// to the same identifiers. The log book's caches follow the file all the way.
void LogBookTest::editsGoBackAndForth()
{
    QFETCH(QString, what);
    QFETCH(QString, text);
    QVector<int> ids;
    for (int day = 1; day <= 4; ++day)
        ids << add(QDate(2024, 5, day), 100 * day, m_accu[day % 2], m_model[day / 3]);
    const QStringList before = stored();
    std::unique_ptr<LogBookCommand> command = edit(what, ids);
    QCOMPARE(command->text(), text);

    QVERIFY(command->apply(*m_book));
    const QStringList after = stored();
    QVERIFY(after != before);
    QCOMPARE(rowsOf(*m_book->store()), after);
    for (int round = 0; round < 2; ++round) {
        QVERIFY(command->revert(*m_book));
        QCOMPARE(stored(), before);
        QCOMPARE(rowsOf(*m_book->store()), before);
        QVERIFY(command->apply(*m_book));
        QCOMPARE(stored(), after);
        QCOMPARE(rowsOf(*m_book->store()), after);
    }
}

void LogBookTest::undoMeetsAChangeElsewhere_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("change entry") << "change entry";
    QTest::newRow("remove entry") << "remove entry";
    QTest::newRow("change pack") << "change pack";
}

// Another program changed the row after the edit: undo writes nothing, says why, and the log
// book shows the row as the other program left it.
void LogBookTest::undoMeetsAChangeElsewhere()
{
    QFETCH(QString, what);
    QVector<int> ids;
    for (int day = 1; day <= 4; ++day)
        ids << add(QDate(2024, 5, day), 100 * day, m_accu[0], m_model[0]);
    std::unique_ptr<LogBookCommand> command = edit(what, ids);
    QVERIFY(command->apply(*m_book));

    SqLiteConnection other(m_file);
    QVERIFY(other.openDb(nullptr));
    if (what == QLatin1String("change pack")) {
        AccuEntry pack;
        QVERIFY(other.getAccu(m_accu[1], &pack));
        pack.m_iCells = 6;
        QVERIFY(other.changeAccu(pack.m_iId, &pack));
    } else if (what == QLatin1String("remove entry")) {
        // The identifier is taken again, by another entry.
        LogEntry taken(nullptr, QDate(2024, 7, 1), QTime(0, 1), 9, m_accu[0], m_model[0], ids[1]);
        QVERIFY(other.restoreLogEntry(&taken));
    } else {
        LogEntry changed;
        QVERIFY(other.readLogEntry(ids[1], &changed));
        changed.m_iCharged = 4242;
        QVERIFY(other.changeLogEntry(changed.m_iId, &changed));
    }
    other.disconnectDb();
    const QStringList elsewhere = stored();

    QVERIFY(!command->revert(*m_book));
    QCOMPARE(command->failure(), m_book->failureText());
    QVERIFY(command->failure().contains(QLatin1String("changed or deleted elsewhere")));
    QCOMPARE(stored(), elsewhere);
    QCOMPARE(rowsOf(*m_book->store()), elsewhere);
}

// Removing several entries is one edit: when one of them cannot go, none goes.
void LogBookTest::severalEntriesGoWholeOrNotAtAll()
{
    QVector<int> ids;
    for (int day = 1; day <= 4; ++day)
        ids << add(QDate(2024, 5, day), 100 * day, m_accu[0], m_model[0]);
    std::unique_ptr<LogBookCommand> command = edit(QStringLiteral("remove three entries"), ids);
    {
        SqLiteConnection other(m_file);
        QVERIFY(other.openDb(nullptr));
        LogEntry last = *other.logCache().last();
        last.m_iCharged = 1;
        QVERIFY(other.changeLogEntry(last.m_iId, &last));
        other.disconnectDb();
    }
    const QStringList before = stored();
    QSignalSpy removed(m_book.get(), &LogBook::entryRemoved);
    QVERIFY(!command->apply(*m_book));
    QVERIFY(command->failure().contains(QLatin1String("changed or deleted elsewhere")));
    QCOMPARE(stored(), before);
    QCOMPARE(rowsOf(*m_book->store()), before);
    QCOMPARE(m_book->count(), 4);
}

QTEST_GUILESS_MAIN(LogBookTest)
#include "tst_logbook.moc"
