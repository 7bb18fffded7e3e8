// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The entry records: defaults, copies, texts, and how they hand their storage operations to
// the store.
#include "records/accuentry.h"
#include "records/logentry.h"
#include "records/modelentry.h"
#include "records/statentry.h"
#include "storage/sqlbase.h"

#include <QTest>

namespace
{

// A store that remembers the last call and answers what the test tells it.
class FakeStore : public SqlBase
{
public:
    FakeStore() : SqlBase(QStringLiteral("fake")) {}

    QString lastCall;
    int lastId = -99;
    const EntryBase* lastEntry = nullptr;
    int addAnswer = -1;
    bool answer = false;

    bool connectDb(QString*) override { return true; }
    bool disconnectDb() override { return true; }
    int addModel(ModelEntry* e) override { return add("addModel", e); }
    bool changeModel(int id, ModelEntry* e) override { return call("changeModel", id, e); }
    bool deleteModel(int id) override { return call("deleteModel", id, nullptr); }
    bool readModel(int, ModelEntry*) override { return false; }
    bool readModels(QVector<ModelEntry>*) override { return true; }
    int addAccu(AccuEntry* e) override { return add("addAccu", e); }
    bool changeAccu(int id, AccuEntry* e) override { return call("changeAccu", id, e); }
    bool deleteAccu(int id) override { return call("deleteAccu", id, nullptr); }
    bool readAccu(int, AccuEntry*) override { return false; }
    bool readAccus(QVector<AccuEntry>*) override { return true; }
    int addLogEntry(LogEntry* e) override { return add("addLogEntry", e); }
    bool changeLogEntry(int id, LogEntry* e) override { return call("changeLogEntry", id, e); }
    bool deleteLogEntry(int id) override { return call("deleteLogEntry", id, nullptr); }
    bool readLogEntry(int, LogEntry*) override { return false; }
    bool readLogEntries(QVector<LogEntry*>*, int) override { return true; }
    bool readModelTimes(int, QTime*, QTime*, int*) override { return false; }
    bool readModelCurrentAndRest(int, double*, int*) override { return false; }
    bool readAccuTimes(int, QTime*, QTime*, int*) override { return false; }
    bool readAccuCurrentAndRest(int, double*, int*) override { return false; }

private:
    int add(const char* name, EntryBase* e)
    {
        lastCall = QLatin1String(name);
        lastEntry = e;
        return addAnswer;
    }
    bool call(const char* name, int id, EntryBase* e)
    {
        lastCall = QLatin1String(name);
        lastId = id;
        lastEntry = e;
        return answer;
    }
};

std::unique_ptr<EntryBase> makeRecord(const QString& kind, SqlBase* db, int id)
{
    if (kind == QLatin1String("accu"))
        return std::make_unique<AccuEntry>(db, QStringLiteral("b"), QStringLiteral("d"), 1, 2, 3, 0,
                                           id);
    if (kind == QLatin1String("model"))
        return std::make_unique<ModelEntry>(db, QStringLiteral("n"), 1, id);
    return std::make_unique<LogEntry>(db, QDate(2024, 1, 1), QTime(0, 5), 10, 2, 3, id);
}

void addKinds()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("prefix"); // what the store's operation names end in
    QTest::newRow("accu") << QStringLiteral("accu") << QStringLiteral("Accu");
    QTest::newRow("model") << QStringLiteral("model") << QStringLiteral("Model");
    QTest::newRow("log") << QStringLiteral("log") << QStringLiteral("LogEntry");
}

} // namespace

class RecordsTest : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void constructorsTakeArgumentsInOrder();
    void copiesCarryEveryField();
    void accuText_data();
    void accuText();
    void modelText_data();
    void modelText();
    void typeTextsOutOfRange_data();
    void typeTextsOutOfRange();
    void cellVoltages_data();
    void cellVoltages();
    void addForwardsAndTakesIdentifier_data();
    void addForwardsAndTakesIdentifier();
    void changeForwardsAnswer_data();
    void changeForwardsAnswer();
    void deleteForgetsIdentifierOnlyOnSuccess_data();
    void deleteForgetsIdentifierOnlyOnSuccess();
    void recordsWithoutStoreRefuse_data();
    void recordsWithoutStoreRefuse();
    void statisticsRecordsRefuse();
    void durationTextsBeyondADay_data();
    void durationTextsBeyondADay();
};

void RecordsTest::defaults()
{
    const AccuEntry a;
    QCOMPARE(a.m_iId, -1);
    QVERIFY(a.m_pDb == nullptr);
    QCOMPARE(a.m_strBrand, QStringLiteral(""));
    QVERIFY(!a.m_strBrand.isNull());
    QCOMPARE(a.m_strDescr, QStringLiteral(""));
    QCOMPARE(a.m_iCapacity, 0);
    QCOMPARE(a.m_iCells, 0);
    QCOMPARE(a.m_iStrength, 0);
    QCOMPARE(a.m_iTyp, 0);
    QCOMPARE(AccuEntry::typText(a.m_iTyp), QStringLiteral("LiPo"));

    const ModelEntry m;
    QCOMPARE(m.m_iId, -1);
    QVERIFY(m.m_pDb == nullptr);
    QCOMPARE(m.m_strName, QStringLiteral(""));
    QCOMPARE(m.m_iTyp, 0);

    const LogEntry l;
    QCOMPARE(l.m_iId, -1);
    QVERIFY(l.m_date.isNull());
    QVERIFY(l.m_time.isNull());
    QVERIFY(l.m_time != QTime(0, 0));
    QCOMPARE(l.m_iCharged, 0);
    QCOMPARE(l.m_iAccuId, 0);
    QCOMPARE(l.m_iModelId, 0);

    const ModelStatEntry s;
    QCOMPARE(s.m_iId, -1);
    QVERIFY(s.m_pDb == nullptr);
    QVERIFY(s.m_strName.isNull());
    QCOMPARE(s.m_iCount, 0);
    QVERIFY(s.m_timeTotal.isNull());
    QVERIFY(s.m_timeAverage.isNull());
    QCOMPARE(s.m_dAvgCurrent, 0.0);
    QCOMPARE(s.m_iAvgRest, 0);
    const AccuStatEntry as;
    QCOMPARE(as.m_iId, -1);
    QVERIFY(as.m_strName.isNull());
}

void RecordsTest::constructorsTakeArgumentsInOrder()
{
    FakeStore store;
    const AccuEntry a(&store, QStringLiteral("Xa"), QStringLiteral("red"), 2200, 3, 25, 2, 7);
    QCOMPARE(a.m_pDb, &store);
    QCOMPARE(a.m_strBrand, QStringLiteral("Xa"));
    QCOMPARE(a.m_strDescr, QStringLiteral("red"));
    QCOMPARE(a.m_iCapacity, 2200);
    QCOMPARE(a.m_iCells, 3);
    QCOMPARE(a.m_iStrength, 25);
    QCOMPARE(a.m_iTyp, 2);
    QCOMPARE(a.m_iId, 7);

    const ModelEntry m(&store, QStringLiteral("T1"), 1, 8);
    QCOMPARE(m.m_pDb, &store);
    QCOMPARE(m.m_strName, QStringLiteral("T1"));
    QCOMPARE(m.m_iTyp, 1);
    QCOMPARE(m.m_iId, 8);

    const LogEntry l(&store, QDate(2024, 2, 3), QTime(0, 4, 5), 600, 11, 12, 9);
    QCOMPARE(l.m_pDb, &store);
    QCOMPARE(l.m_date, QDate(2024, 2, 3));
    QCOMPARE(l.m_time, QTime(0, 4, 5));
    QCOMPARE(l.m_iCharged, 600);
    QCOMPARE(l.m_iAccuId, 11);
    QCOMPARE(l.m_iModelId, 12);
    QCOMPARE(l.m_iId, 9);
}

void RecordsTest::copiesCarryEveryField()
{
    FakeStore store;
    const AccuEntry a(&store, QStringLiteral("Xa"), QStringLiteral("red"), 2200, 3, 25, 2, 7);
    AccuEntry a2(a);
    QCOMPARE(a2.m_pDb, &store);
    QCOMPARE(a2.m_iId, 7);
    QCOMPARE(a2.toString(), a.toString());
    AccuEntry a3;
    a3 = a;
    QCOMPARE(a3.m_pDb, &store);
    QCOMPARE(a3.m_iId, 7);
    QCOMPARE(a3.toString(), a.toString());

    const ModelEntry m(&store, QStringLiteral("T1"), 1, 8);
    ModelEntry m2;
    m2 = m;
    QCOMPARE(m2.m_pDb, &store);
    QCOMPARE(m2.m_iId, 8);
    QCOMPARE(m2.toString(), m.toString());

    const LogEntry l(&store, QDate(2024, 2, 3), QTime(0, 4, 5), 600, 11, 12, 9);
    LogEntry l2;
    l2 = l;
    QCOMPARE(l2.m_pDb, &store);
    QCOMPARE(l2.m_iId, 9);
    QCOMPARE(l2.m_date, l.m_date);
    QCOMPARE(l2.m_time, l.m_time);
    QCOMPARE(l2.m_iCharged, 600);
    QCOMPARE(l2.m_iAccuId, 11);
    QCOMPARE(l2.m_iModelId, 12);

    ModelStatEntry s;
    s.m_strName = QStringLiteral("x");
    s.setTotalSeconds(97390);
    s.m_iId = 4;
    const ModelStatEntry s2(s);
    QCOMPARE(s2.m_strName, QStringLiteral("x"));
    QCOMPARE(s2.totalSeconds(), 97390);
    QCOMPARE(s2.m_iId, 4);

    // A copy is independent of its original.
    a2.m_strBrand = QStringLiteral("changed");
    QCOMPARE(a.m_strBrand, QStringLiteral("Xa"));
}

void RecordsTest::accuText_data()
{
    QTest::addColumn<QString>("brand");
    QTest::addColumn<QString>("descr");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<int>("cells");
    QTest::addColumn<int>("strength");
    QTest::addColumn<int>("typ");
    QTest::addColumn<QString>("text");
    QTest::newRow("example") << "Xa"
                             << "red" << 2200 << 3 << 25 << 0
                             << "LiPo: Xa - 2200mAh - 3S - 25C - (red)";
    QTest::newRow("empty description")
        << "Xa"
        << "" << 2200 << 3 << 25 << 0 << "LiPo: Xa - 2200mAh - 3S - 25C - ()";
    QTest::newRow("defaults") << ""
                              << "" << 0 << 0 << 0 << 0 << "LiPo:  - 0mAh - 0S - 0C - ()";
    QTest::newRow("last chemistry")
        << "Yuasa"
        << "Sender" << 7000 << 6 << 1 << 5 << "Pb: Yuasa - 7000mAh - 6S - 1C - (Sender)";
    QTest::newRow("NiMh, no leading zeros")
        << "E"
        << "rx" << 600 << 4 << 5 << 2 << "NiMh: E - 600mAh - 4S - 5C - (rx)";
    QTest::newRow("unknown chemistry") << "Q"
                                       << "x" << 1 << 1 << 1 << 9 << ": Q - 1mAh - 1S - 1C - (x)";
}

void RecordsTest::accuText()
{
    QFETCH(QString, brand);
    QFETCH(QString, descr);
    QFETCH(int, capacity);
    QFETCH(int, cells);
    QFETCH(int, strength);
    QFETCH(int, typ);
    QFETCH(QString, text);
    QCOMPARE(AccuEntry(nullptr, brand, descr, capacity, cells, strength, typ, -1).toString(), text);
}

void RecordsTest::modelText_data()
{
    QTest::addColumn<int>("typ");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("plane") << 0 << "Cub"
                           << "Plane: Cub";
    QTest::newRow("heli") << 1 << "T1"
                          << "Heli: T1";
    QTest::newRow("car") << 2 << "Buggy"
                         << "Car: Buggy";
    QTest::newRow("boat") << 3 << ""
                          << "Boat: ";
    QTest::newRow("rc") << 4 << "Ärger ✈"
                        << "RC: Ärger ✈";
    QTest::newRow("unknown type") << 5 << "x"
                                  << ": x";
}

void RecordsTest::modelText()
{
    QFETCH(int, typ);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QCOMPARE(ModelEntry(nullptr, name, typ, -1).toString(), text);
}

void RecordsTest::typeTextsOutOfRange_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("-1") << -1;
    QTest::newRow("large") << 1000;
    QTest::newRow("min int") << std::numeric_limits<int>::min();
}

void RecordsTest::typeTextsOutOfRange()
{
    QFETCH(int, index);
    QVERIFY(AccuEntry::typText(index).isEmpty());
    QVERIFY(ModelEntry::typText(index).isEmpty());
    QVERIFY(AccuEntry::typText(AccuEntry::kTypCount).isEmpty());
    QVERIFY(ModelEntry::typText(ModelEntry::kTypCount).isEmpty());
    AccuEntry a;
    a.m_iTyp = index;
    QCOMPARE(a.cellVoltage(), 0.0);
}

void RecordsTest::cellVoltages_data()
{
    QTest::addColumn<int>("typ");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("volts");
    QTest::newRow("0") << 0 << "LiPo" << 3.7;
    QTest::newRow("1") << 1 << "LiFe" << 3.2;
    QTest::newRow("2") << 2 << "NiMh" << 1.4;
    QTest::newRow("3") << 3 << "NiCd" << 1.4;
    QTest::newRow("4") << 4 << "Ene" << 1.4;
    QTest::newRow("5") << 5 << "Pb" << 2.0;
}

void RecordsTest::cellVoltages()
{
    QFETCH(int, typ);
    QFETCH(QString, text);
    QFETCH(double, volts);
    AccuEntry a;
    a.m_iTyp = typ;
    QCOMPARE(a.cellVoltage(), volts);
    QCOMPARE(AccuEntry::typText(typ), text);
}

void RecordsTest::addForwardsAndTakesIdentifier_data()
{
    addKinds();
}

void RecordsTest::addForwardsAndTakesIdentifier()
{
    QFETCH(QString, kind);
    QFETCH(QString, prefix);
    FakeStore store;
    auto record = makeRecord(kind, &store, -1);
    store.addAnswer = 41;
    QVERIFY(record->addEntry());
    QCOMPARE(store.lastCall, QStringLiteral("add") + prefix);
    QCOMPARE(store.lastEntry, record.get());
    QCOMPARE(record->m_iId, 41);

    // A failed insert leaves the record "not stored", whatever it held before.
    auto fresh = makeRecord(kind, &store, -1);
    store.addAnswer = -1;
    QVERIFY(!fresh->addEntry());
    QCOMPARE(fresh->m_iId, -1);
    QVERIFY(!record->addEntry());
    QCOMPARE(record->m_iId, -1);
}

void RecordsTest::changeForwardsAnswer_data()
{
    addKinds();
}

void RecordsTest::changeForwardsAnswer()
{
    QFETCH(QString, kind);
    QFETCH(QString, prefix);
    FakeStore store;
    auto record = makeRecord(kind, &store, 17);
    store.answer = true;
    QVERIFY(record->changeEntry());
    QCOMPARE(store.lastCall, QStringLiteral("change") + prefix);
    QCOMPARE(store.lastId, 17);
    QCOMPARE(store.lastEntry, record.get());
    store.answer = false;
    QVERIFY(!record->changeEntry());
    QCOMPARE(record->m_iId, 17);
}

void RecordsTest::deleteForgetsIdentifierOnlyOnSuccess_data()
{
    addKinds();
}

void RecordsTest::deleteForgetsIdentifierOnlyOnSuccess()
{
    QFETCH(QString, kind);
    QFETCH(QString, prefix);
    FakeStore store;
    auto record = makeRecord(kind, &store, 23);
    store.answer = false;
    QVERIFY(!record->deleteEntry());
    QCOMPARE(store.lastCall, QStringLiteral("delete") + prefix);
    QCOMPARE(store.lastId, 23);
    QCOMPARE(record->m_iId, 23);
    store.answer = true;
    QVERIFY(record->deleteEntry());
    QCOMPARE(record->m_iId, -1);
}

void RecordsTest::recordsWithoutStoreRefuse_data()
{
    addKinds();
}

void RecordsTest::recordsWithoutStoreRefuse()
{
    QFETCH(QString, kind);
    auto record = makeRecord(kind, nullptr, 5);
    QVERIFY(!record->addEntry());
    QVERIFY(!record->changeEntry());
    QVERIFY(!record->deleteEntry());
    QCOMPARE(record->m_iId, 5);
}

void RecordsTest::statisticsRecordsRefuse()
{
    FakeStore store;
    store.addAnswer = 3;
    store.answer = true;
    ModelStatEntry m;
    m.m_pDb = &store;
    m.m_iId = 6;
    QVERIFY(!m.addEntry());
    QVERIFY(!m.changeEntry());
    QVERIFY(!m.deleteEntry());
    QCOMPARE(m.m_iId, 6);
    AccuStatEntry a;
    a.m_pDb = &store;
    QVERIFY(!a.addEntry());
    QVERIFY(!a.changeEntry());
    QVERIFY(!a.deleteEntry());
    QCOMPARE(a.m_iId, -1);
    QVERIFY(store.lastCall.isEmpty());
}

void RecordsTest::durationTextsBeyondADay_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("timeOfDay");
    QTest::newRow("zero") << qint64(0) << "00:00:00"
                          << "00:00:00";
    QTest::newRow("under a day") << qint64(3723) << "01:02:03"
                                 << "01:02:03";
    QTest::newRow("27 hours") << qint64(97390) << "27:03:10"
                              << "03:03:10";
    QTest::newRow("exactly a day") << qint64(86400) << "24:00:00"
                                   << "00:00:00";
    QTest::newRow("hundreds of hours") << qint64(360000) << "100:00:00"
                                       << "04:00:00";
}

void RecordsTest::durationTextsBeyondADay()
{
    QFETCH(qint64, seconds);
    QFETCH(QString, text);
    QFETCH(QString, timeOfDay);
    AccuStatEntry s;
    s.setTotalSeconds(seconds);
    QCOMPARE(s.totalText(), text);
    QCOMPARE(s.totalSeconds(), seconds);
    QCOMPARE(s.m_timeTotal.toString(QStringLiteral("hh:mm:ss")), timeOfDay);
    s.setTimeTotal(QTime(2, 0));
    QCOMPARE(s.totalSeconds(), qint64(7200));
}

QTEST_GUILESS_MAIN(RecordsTest)
#include "tst_records.moc"
