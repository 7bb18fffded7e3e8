// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "storagesuite.h"

#include "failingdriver.h"
#include "storage/sqlengine.h"
#include "storage/statsmanager.h"

#include <QMap>
#include <QMetaMethod>
#include <QTest>

#include <algorithm>

namespace
{

struct Ids {
    int model = -1;
    int accu = -1;
    int log = -1;
};

// A call on a store with wrong arguments; answers whether the store refused it properly.
using RefusedCall = std::function<bool(SqlBase*, const Ids&)>;

QVector<ModelEntry> models(SqlBase* db)
{
    QVector<ModelEntry> out;
    db->readModels(&out);
    return out;
}

QVector<AccuEntry> accus(SqlBase* db)
{
    QVector<AccuEntry> out;
    db->readAccus(&out);
    return out;
}

// The stored log, owned by the caller.
QVector<LogEntry*> logRows(SqlBase* db, int flags = 0)
{
    QVector<LogEntry*> out;
    db->readLogEntries(&out, flags);
    return out;
}

int logCount(SqlBase* db)
{
    QVector<LogEntry*> rows = logRows(db);
    const int n = rows.size();
    qDeleteAll(rows);
    return n;
}

int addModel(SqlBase* db, const QString& name, int typ = 1)
{
    ModelEntry e(db, name, typ, -1);
    return db->addModel(&e);
}

int addAccu(SqlBase* db, const QString& descr, int capacity = 2200)
{
    AccuEntry e(db, QStringLiteral("Brand"), descr, capacity, 3, 25, 0, -1);
    return db->addAccu(&e);
}

int addLog(SqlBase* db, QDate date, QTime time, int charged, int accuId, int modelId)
{
    LogEntry e(db, date, time, charged, accuId, modelId, -1);
    return db->addLogEntry(&e);
}

// Table-neutral access for the tests that treat the three tables alike.
int addRow(SqlBase* db, const QString& table)
{
    if (table == QLatin1String("model"))
        return addModel(db, QStringLiteral("Row"));
    if (table == QLatin1String("accu"))
        return addAccu(db, QStringLiteral("Row"));
    return addLog(db, QDate(2024, 5, 1), QTime(0, 5), 100, 1, 1);
}

// Changes the row to values marked by `marker`; *recordId is the record's identifier after.
bool changeRow(SqlBase* db, const QString& table, int id, int marker, int* recordId)
{
    bool ok;
    if (table == QLatin1String("model")) {
        ModelEntry e(db, QStringLiteral("changed %1").arg(marker), marker % 5, -1);
        ok = db->changeModel(id, &e);
        *recordId = e.m_iId;
    } else if (table == QLatin1String("accu")) {
        AccuEntry e(db, QStringLiteral("B"), QStringLiteral("changed"), marker, 2, 10, 1, -1);
        ok = db->changeAccu(id, &e);
        *recordId = e.m_iId;
    } else {
        LogEntry e(db, QDate(2024, 6, 1), QTime(0, 7), marker, 2, 2, -1);
        ok = db->changeLogEntry(id, &e);
        *recordId = e.m_iId;
    }
    return ok;
}

bool deleteRow(SqlBase* db, const QString& table, int id)
{
    if (table == QLatin1String("model"))
        return db->deleteModel(id);
    if (table == QLatin1String("accu"))
        return db->deleteAccu(id);
    return db->deleteLogEntry(id);
}

bool rowExists(SqlBase* db, const QString& table, int id)
{
    if (table == QLatin1String("model")) {
        ModelEntry e;
        return db->readModel(id, &e);
    }
    if (table == QLatin1String("accu")) {
        AccuEntry e;
        return db->readAccu(id, &e);
    }
    LogEntry e;
    return db->readLogEntry(id, &e);
}

// The row's marker value as the store's cache holds it, or -1 when the cache lacks the row.
int cachedMarker(SqlBase* db, const QString& table, int id)
{
    if (table == QLatin1String("model")) {
        ModelEntry e;
        return db->getModel(id, &e) ? e.m_strName.section(QLatin1Char(' '), 1).toInt() : -1;
    }
    if (table == QLatin1String("accu")) {
        AccuEntry e;
        return db->getAccu(id, &e) ? e.m_iCapacity : -1;
    }
    for (const LogEntry* e : db->logCache()) {
        if (e->m_iId == id)
            return e->m_iCharged;
    }
    return -1;
}

void addTableRows()
{
    QTest::addColumn<QString>("table");
    QTest::newRow("model") << QStringLiteral("model");
    QTest::newRow("accu") << QStringLiteral("accu");
    QTest::newRow("log") << QStringLiteral("log");
}

// The log fixture: rows labelled a to i, inserted out of date order.
struct LogFixture {
    int m1 = -1, m2 = -1, p1 = -1, p2 = -1;
    QMap<int, QChar> labels; // identifier -> label
};

LogFixture buildLogFixture(SqlBase* db)
{
    LogFixture f;
    f.m1 = addModel(db, QStringLiteral("M1"));
    f.m2 = addModel(db, QStringLiteral("M2"));
    f.p1 = addAccu(db, QStringLiteral("P1"));
    f.p2 = addAccu(db, QStringLiteral("P2"));
    struct Row {
        char label;
        QDate date;
        QTime time;
        bool p1, m1;
        int charged;
    };
    const Row rows[] = {
        {'e', QDate(2024, 3, 18), QTime(0, 14), false, false, 1000},
        {'a', QDate(2024, 3, 9), QTime(0, 10), true, true, 800},
        {'h', QDate(2024, 3, 21), QTime(0, 17), true, false, 0},
        {'c', QDate(2024, 3, 12), QTime(0, 12), false, true, 900},
        {'i', QDate(2024, 2, 28), QTime(0, 18), false, true, 0},
        {'g', QDate(2024, 3, 20), QTime(0, 16), false, false, 600},
        {'b', QDate(2024, 3, 10), QTime(0, 11), true, true, 0},
        {'f', QDate(2024, 3, 20), QTime(0, 15), true, true, 700},
        {'d', QDate(2024, 3, 15), QTime(0, 13), true, false, 0},
    };
    for (const Row& r : rows) {
        const int id =
            addLog(db, r.date, r.time, r.charged, r.p1 ? f.p1 : f.p2, r.m1 ? f.m1 : f.m2);
        f.labels.insert(id, QLatin1Char(r.label));
    }
    return f;
}

// Labels of the rows read, sorted; fails the test when the rows are not in date order.
QString labelsInDateOrder(const LogFixture& f, QVector<LogEntry*> rows, SqlBase* db)
{
    QString labels;
    bool ordered = true;
    for (int i = 0; i < rows.size(); ++i) {
        labels += f.labels.value(rows[i]->m_iId, QLatin1Char('?'));
        if (i > 0 && rows[i]->m_date < rows[i - 1]->m_date)
            ordered = false;
        if (rows[i]->m_pDb != db)
            ordered = false;
    }
    qDeleteAll(rows);
    std::sort(labels.begin(), labels.end());
    return ordered ? labels : QStringLiteral("not in date order: ") + labels;
}

// One use per item: "charged hh:mm:ss [capacity|gone]", items separated by commas.
struct Use {
    int charged;
    QTime time;
    int capacity;
    bool gone;
};

QVector<Use> parseUses(const QString& text, int defaultCapacity)
{
    QVector<Use> uses;
    for (const QString& item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList parts = item.simplified().split(QLatin1Char(' '));
        Use u{parts.value(0).toInt(), QTime::fromString(parts.value(1), Qt::TextDate),
              defaultCapacity, false};
        if (parts.size() > 2) {
            u.gone = parts[2] == QLatin1String("gone");
            u.capacity = u.gone ? 0 : parts[2].toInt();
        }
        uses << u;
    }
    return uses;
}

void addStatColumns()
{
    QTest::addColumn<QString>("uses");
    QTest::addColumn<bool>("listed");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("average");
    QTest::addColumn<double>("current");
    QTest::addColumn<int>("rest");
}

void compareStats(const StatEntry& s, bool ok, const QString& name)
{
    QFETCH(bool, listed);
    QFETCH(int, count);
    QFETCH(QString, total);
    QFETCH(QString, average);
    QFETCH(double, current);
    QFETCH(int, rest);
    QCOMPARE(ok, listed);
    QCOMPARE(s.m_iCount, count);
    QCOMPARE(s.m_timeTotal.toString(QStringLiteral("hh:mm:ss")), total);
    QCOMPARE(s.m_timeAverage.toString(QStringLiteral("hh:mm:ss")), average);
    QCOMPARE(s.m_dAvgCurrent, current);
    QCOMPARE(s.m_iAvgRest, rest);
    QCOMPARE(s.m_strName, name);
}

// The row of a statistics list with that name, or null.
template <class Stat> const Stat* findStat(const QVector<Stat*>& list, const QString& name)
{
    for (const Stat* s : list)
        if (s->m_strName == name)
            return s;
    return nullptr;
}

// The statistics tab's list must hold the same figures as the per-identifier answer.
template <class Stat> void compareListed(const QVector<Stat*>& list, const QString& name)
{
    QFETCH(bool, listed);
    const Stat* row = findStat(list, name);
    QCOMPARE(row != nullptr, listed);
    if (row)
        compareStats(*row, true, name);
}

// "name count total average current rest" of every listed row, in list order.
template <class Stat> QString statRows(const QVector<Stat*>& list)
{
    QStringList rows;
    for (const Stat* s : list)
        rows << QStringLiteral("%1 %2 %3 %4 %5 %6")
                    .arg(s->m_strName)
                    .arg(s->m_iCount)
                    .arg(s->totalText(), s->m_timeAverage.toString(QStringLiteral("hh:mm:ss")))
                    .arg(s->m_dAvgCurrent)
                    .arg(s->m_iAvgRest);
    return rows.join(QStringLiteral("; "));
}

} // namespace

Q_DECLARE_METATYPE(RefusedCall)

StorageSuite::StorageSuite(StorageBackend backend, QObject* parent)
    : QObject(parent), m_backend(std::move(backend))
{
}

StorageSuite::~StorageSuite() = default;

void StorageSuite::init()
{
    m_db.reset(m_backend.createEmpty());
    QVERIFY(m_db);
    QString error;
    QVERIFY2(m_db->openDb(&error), qPrintable(error));
}

void StorageSuite::cleanup()
{
    if (m_other)
        m_other->disconnectDb();
    m_other.reset();
    if (m_db)
        m_db->disconnectDb();
    m_db.reset();
}

// A second store on the same data, opened.
SqlBase* StorageSuite::openSame()
{
    m_other.reset(m_backend.createSame());
    QString error;
    if (!m_other || !m_other->openDb(&error))
        qWarning("second store did not open: %s", qPrintable(error));
    return m_other.get();
}

void StorageSuite::emptyStore()
{
    QVERIFY(db()->isConnected());
    QVector<ModelEntry> m;
    QVERIFY(db()->readModels(&m));
    QVERIFY(m.isEmpty());
    QVector<AccuEntry> a;
    QVERIFY(db()->readAccus(&a));
    QVERIFY(a.isEmpty());
    QVector<LogEntry*> l;
    QVERIFY(db()->readLogEntries(&l, 0));
    QVERIFY(l.isEmpty());
    QVERIFY(db()->logCache().isEmpty());
    QVERIFY(db()->getModels(&m));
    QVERIFY(m.isEmpty());
    QVector<int> ids;
    QVERIFY(!db()->getModelIds(&ids));
    QVERIFY(ids.isEmpty());
    QVERIFY(!db()->getAccuIds(&ids));
    QVERIFY(ids.isEmpty());
}

void StorageSuite::failedReadsLeaveCaches_data()
{
    QTest::addColumn<QByteArray>("failIn");
    QTest::addColumn<int>("rowsBefore");
    QTest::newRow("models at once") << QByteArray("FROM modelList") << 0;
    QTest::newRow("packs midway") << QByteArray("FROM accus") << 1;
    QTest::newRow("log midway") << QByteArray("FROM logList") << 1;
    QTest::newRow("log before its last row") << QByteArray("FROM logList") << 2;
}

void StorageSuite::failedReadsLeaveCaches()
{
    QFETCH(QByteArray, failIn);
    QFETCH(int, rowsBefore);
    for (int i = 0; i < 2; ++i) {
        const int m = addModel(db(), QStringLiteral("M%1").arg(i));
        const int a = addAccu(db(), QStringLiteral("P%1").arg(i));
        addLog(db(), QDate(2024, 1, 2 + i), QTime(0, 9), 640, a, m);
    }
    SqlBase* other = openSame();
    QVERIFY(other);
    // Written meanwhile by someone else: a successful reload would bring it in.
    addLog(db(), QDate(2024, 1, 9), QTime(0, 5), 300, 1, 1);
    addModel(db(), QStringLiteral("late"));
    addAccu(db(), QStringLiteral("late"));
    auto* engine = dynamic_cast<SqlEngine*>(other);
    QVERIFY(engine);
    engine->replaceDriver(
        std::make_unique<FailingDriver>(engine->replaceDriver(nullptr), failIn, rowsBefore));

    QString error;
    QVERIFY(!other->reload(&error));
    QVERIFY2(error.contains(QLatin1String("injected failure")), qPrintable(error));
    QVERIFY(other->m_bModelsCached && other->m_bAccusCached && other->m_bLogCached);
    QCOMPARE(other->m_models.size(), 2);
    QCOMPARE(other->m_accus.size(), 2);
    QCOMPARE(other->logCount(), 2);
    QVector<LogEntry*> rows;
    if (failIn.contains("logList"))
        QVERIFY(!other->readLogEntries(&rows, 0));
    QVERIFY(rows.isEmpty());

    // Opening anew serves nothing rather than a part.
    error.clear();
    QVERIFY(!other->openDb(&error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!other->isConnected());
    QCOMPARE(other->logCount(), 0);
}

void StorageSuite::openFillsCaches()
{
    const int m = addModel(db(), QStringLiteral("Cub"));
    const int a = addAccu(db(), QStringLiteral("red"));
    const int l = addLog(db(), QDate(2024, 1, 2), QTime(0, 9, 30), 640, a, m);

    SqlBase* other = openSame();
    QVERIFY(other && other->isConnected());
    QVERIFY(other->m_bModelsCached && other->m_bAccusCached && other->m_bLogCached);
    QVector<ModelEntry> ms;
    QVERIFY(other->getModels(&ms));
    QCOMPARE(ms.size(), 1);
    QCOMPARE(ms[0].m_iId, m);
    QCOMPARE(ms[0].m_strName, QStringLiteral("Cub"));
    QCOMPARE(ms[0].m_pDb, other);
    QVector<AccuEntry> as;
    QVERIFY(other->getAccus(&as));
    QCOMPARE(as.size(), 1);
    QCOMPARE(as[0].m_iId, a);
    QCOMPARE(as[0].m_strDescr, QStringLiteral("red"));
    QCOMPARE(other->logCache().size(), 1);
    const LogEntry* e = other->logCache().first();
    QCOMPARE(e->m_iId, l);
    QCOMPARE(e->m_date, QDate(2024, 1, 2));
    QCOMPARE(e->m_time, QTime(0, 9, 30));
    QCOMPARE(e->m_iCharged, 640);
    QCOMPARE(e->m_iAccuId, a);
    QCOMPARE(e->m_iModelId, m);
}

void StorageSuite::secondOpenReloadsCaches()
{
    SqlBase* other = openSame();
    QVERIFY(other);
    const int m = addModel(other, QStringLiteral("behind"));
    const int a = addAccu(other, QStringLiteral("behind"));
    addLog(other, QDate(2024, 1, 3), QTime(0, 1), 1, a, m);

    QVector<ModelEntry> ms;
    QVERIFY(db()->getModels(&ms));
    QVERIFY(ms.isEmpty()); // served from the cache filled before
    QVERIFY(db()->logCache().isEmpty());

    QVERIFY(db()->disconnectDb());
    QString error;
    QVERIFY2(db()->openDb(&error), qPrintable(error));
    QVERIFY(db()->getModels(&ms));
    QCOMPARE(ms.size(), 1);
    QVector<AccuEntry> as;
    QVERIFY(db()->getAccus(&as));
    QCOMPARE(as.size(), 1);
    QCOMPARE(db()->logCache().size(), 1);

    // Also without disconnecting first.
    addModel(other, QStringLiteral("second"));
    QVERIFY2(db()->openDb(&error), qPrintable(error));
    ms.clear();
    QVERIFY(db()->getModels(&ms));
    QCOMPARE(ms.size(), 2);
}

void StorageSuite::disconnectEndsAccess()
{
    const int m = addModel(db(), QStringLiteral("Cub"));
    QVERIFY(db()->disconnectDb());
    QVERIFY(!db()->isConnected());
    ModelEntry e;
    QVERIFY(!db()->getModel(m, &e));
    QVERIFY(!db()->readModel(m, &e));
    QVector<AccuEntry> as;
    QVERIFY(!db()->getAccus(&as));
    QVector<int> ids;
    QVERIFY(!db()->getModelIds(&ids));
    ModelEntry n(db(), QStringLiteral("late"), 0, -1);
    QCOMPARE(db()->addModel(&n), -1);
    QCOMPARE(n.m_iId, -1);
}

void StorageSuite::modelRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("typ");
    QTest::newRow("plain") << QStringLiteral("Easy Star") << 0;
    QTest::newRow("empty") << QString() << 4;
    QTest::newRow("quote") << QStringLiteral("O'Neil") << 1;
    QTest::newRow("percent") << QStringLiteral("100% ✈") << 2;
    QTest::newRow("injection") << QStringLiteral("'; DROP TABLE accus; --") << 3;
    QTest::newRow("umlaut") << QStringLiteral("Akku grün") << 4;
    QTest::newRow("mixed scripts") << QStringLiteral("Ärger ✈ 日本") << 1;
    QTest::newRow("backslash and semicolon") << QStringLiteral("a\\b;c \"d\"") << 2;
    QTest::newRow("emoji") << QStringLiteral("Heli 🚁 😀") << 1;
    QTest::newRow("unknown type kept") << QStringLiteral("odd") << 17;
}

void StorageSuite::modelRoundTrip()
{
    QFETCH(QString, name);
    QFETCH(int, typ);
    ModelEntry e(db(), name, typ, -1);
    const int id = db()->addModel(&e);
    QVERIFY(id >= 0);
    QCOMPARE(e.m_iId, id);

    ModelEntry read;
    QVERIFY(db()->readModel(id, &read));
    QCOMPARE(read.m_strName, name.isNull() ? QStringLiteral("") : name);
    QCOMPARE(read.m_iTyp, typ);
    QCOMPARE(read.m_iId, id);
    QCOMPARE(read.m_pDb, db());

    ModelEntry cached;
    QVERIFY(db()->getModel(id, &cached));
    QCOMPARE(cached.m_strName, read.m_strName);
    QCOMPARE(cached.m_iTyp, typ);
}

void StorageSuite::accuRoundTrip_data()
{
    QTest::addColumn<QString>("brand");
    QTest::addColumn<QString>("descr");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<int>("cells");
    QTest::addColumn<int>("strength");
    QTest::addColumn<int>("typ");
    QTest::newRow("plain") << "Xa"
                           << "red" << 2200 << 3 << 25 << 0;
    QTest::newRow("empty texts") << ""
                                 << "" << 0 << 0 << 0 << 5;
    QTest::newRow("quotes") << "O'Neil"
                            << "it's \"new\"" << 1300 << 2 << 20 << 1;
    QTest::newRow("percent") << "100% ✈"
                             << "50%_off" << 5000 << 6 << 60 << 2;
    QTest::newRow("injection") << "'; DROP TABLE accus; --"
                               << "x'); DELETE FROM logList; --" << 800 << 1 << 5 << 3;
    QTest::newRow("umlauts") << "Akku grün"
                             << "Ärger ✈ 日本" << 4000 << 4 << 30 << 4;
    QTest::newRow("negative numbers") << "b\\s"
                                      << "semi;colon" << -1 << -2 << -3 << -4;
    QTest::newRow("large numbers") << "big"
                                   << "big" << 2147483647 << 99 << 1000 << 0;
}

void StorageSuite::accuRoundTrip()
{
    QFETCH(QString, brand);
    QFETCH(QString, descr);
    QFETCH(int, capacity);
    QFETCH(int, cells);
    QFETCH(int, strength);
    QFETCH(int, typ);
    AccuEntry e(db(), brand, descr, capacity, cells, strength, typ, -1);
    const int id = db()->addAccu(&e);
    QVERIFY(id >= 0);
    QCOMPARE(e.m_iId, id);

    AccuEntry read;
    QVERIFY(db()->readAccu(id, &read));
    QCOMPARE(read.m_strBrand, brand);
    QCOMPARE(read.m_strDescr, descr);
    QCOMPARE(read.m_iCapacity, capacity);
    QCOMPARE(read.m_iCells, cells);
    QCOMPARE(read.m_iStrength, strength);
    QCOMPARE(read.m_iTyp, typ);
    QCOMPARE(read.m_iId, id);
    QCOMPARE(read.m_pDb, db());

    AccuEntry cached;
    QVERIFY(db()->getAccu(id, &cached));
    QCOMPARE(cached.toString(), read.toString());
}

void StorageSuite::logRoundTrip_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<int>("charged");
    QTest::newRow("typical") << QDate(2024, 3, 9) << QTime(0, 12, 34) << 1650;
    QTest::newRow("not charged yet") << QDate(2023, 12, 31) << QTime(1, 0) << 0;
    QTest::newRow("zero duration") << QDate(2024, 1, 1) << QTime(0, 0) << 100;
    QTest::newRow("last second of a day") << QDate(2024, 2, 29) << QTime(23, 59, 59) << 5;
    QTest::newRow("old date") << QDate(1999, 7, 4) << QTime(0, 0, 7) << 1;
}

void StorageSuite::logRoundTrip()
{
    QFETCH(QDate, date);
    QFETCH(QTime, time);
    QFETCH(int, charged);
    const int m = addModel(db(), QStringLiteral("M"));
    const int a = addAccu(db(), QStringLiteral("A"));
    LogEntry e(db(), date, time, charged, a, m, -1);
    const int id = db()->addLogEntry(&e);
    QVERIFY(id >= 0);
    QCOMPARE(e.m_iId, id);

    LogEntry read;
    QVERIFY(db()->readLogEntry(id, &read));
    QCOMPARE(read.m_date, date);
    QCOMPARE(read.m_time, time);
    QCOMPARE(read.m_iCharged, charged);
    QCOMPARE(read.m_iAccuId, a);
    QCOMPARE(read.m_iModelId, m);
    QCOMPARE(read.m_iId, id);
    QCOMPARE(read.m_pDb, db());

    QCOMPARE(db()->logCache().size(), 1);
    QCOMPARE(db()->logCache().first()->m_iId, id);
    QCOMPARE(db()->logCache().first()->m_time, time);
}

void StorageSuite::identifiersGrowAndListsAreOrdered()
{
    QVector<int> modelIds, accuIds, logIds;
    for (int i = 0; i < 3; ++i) {
        modelIds << addModel(db(), QStringLiteral("m%1").arg(i));
        accuIds << addAccu(db(), QStringLiteral("a%1").arg(i));
        logIds << addLog(db(), QDate(2024, 1, 10 - i), QTime(0, 1), 1, accuIds.last(),
                         modelIds.last());
    }
    for (int i = 1; i < 3; ++i) {
        QVERIFY(modelIds[i] > modelIds[i - 1]);
        QVERIFY(accuIds[i] > accuIds[i - 1]);
        QVERIFY(logIds[i] > logIds[i - 1]);
    }
    const QVector<ModelEntry> ms = models(db());
    QCOMPARE(ms.size(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(ms[i].m_iId, modelIds[i]);
    const QVector<AccuEntry> as = accus(db());
    QCOMPARE(as.size(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(as[i].m_iId, accuIds[i]);
    // The log comes in date order, which here is the reverse of insertion.
    const QVector<LogEntry*>& cache = db()->logCache();
    QCOMPARE(cache.size(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(cache[i]->m_iId, logIds[2 - i]);
}

void StorageSuite::listReadsAppend()
{
    const int m = addModel(db(), QStringLiteral("M"));
    const int a = addAccu(db(), QStringLiteral("A"));
    addLog(db(), QDate(2024, 1, 5), QTime(0, 10), 500, a, m);

    QVector<ModelEntry> ms{ModelEntry(nullptr, QStringLiteral("before"), 0, 77)};
    QVERIFY(db()->readModels(&ms));
    QCOMPARE(ms.size(), 2);
    QCOMPARE(ms[0].m_iId, 77);
    QCOMPARE(ms[1].m_iId, m);
    QVector<AccuEntry> as{AccuEntry()};
    QVERIFY(db()->readAccus(&as));
    QCOMPARE(as.size(), 2);
    QCOMPARE(as[1].m_iId, a);

    LogEntry* kept = new LogEntry(nullptr, QDate(2000, 1, 1), QTime(0, 1), 1, 1, 1, 99);
    QVector<LogEntry*> rows{kept};
    db()->setFilterDates(QDate(2024, 1, 6), QDate(2024, 1, 7));
    const bool none = db()->readLogEntries(&rows, SqlBase::FilterDate);
    const bool sizeAfterNone = rows.size() == 1 && rows[0] == kept;
    const bool all = db()->readLogEntries(&rows, 0);
    const int sizeAfterAll = rows.size();
    qDeleteAll(rows);
    QVERIFY(none); // nothing matched: still a successful read
    QVERIFY(sizeAfterNone);
    QVERIFY(all);
    QCOMPARE(sizeAfterAll, 2);
}

void StorageSuite::changeUpdatesCache_data()
{
    addTableRows();
}

void StorageSuite::changeUpdatesCache()
{
    QFETCH(QString, table);
    const int id = addRow(db(), table);
    QVERIFY(id >= 0);
    SqlBase* other = openSame();
    QVERIFY(other);
    const int behind = addRow(other, table);
    QCOMPARE(cachedMarker(db(), table, behind), -1);

    int recordId = -1;
    QVERIFY(changeRow(db(), table, id, 42, &recordId));
    QCOMPARE(recordId, id);
    QCOMPARE(cachedMarker(db(), table, id), 42);
    QVERIFY(rowExists(db(), table, id));
    // The cache follows this store's edits in place; what others wrote shows after a reload.
    QCOMPARE(cachedMarker(db(), table, behind), -1);
    QVERIFY(db()->reload(nullptr));
    QVERIFY(cachedMarker(db(), table, behind) != -1);
    QCOMPARE(cachedMarker(db(), table, id), 42);
}

void StorageSuite::changeToSameValuesSucceeds_data()
{
    addTableRows();
}

void StorageSuite::changeToSameValuesSucceeds()
{
    QFETCH(QString, table);
    const int id = addRow(db(), table);
    int recordId = -1;
    QVERIFY(changeRow(db(), table, id, 7, &recordId));
    QVERIFY(changeRow(db(), table, id, 7, &recordId));
    QCOMPARE(recordId, id);
    QCOMPARE(cachedMarker(db(), table, id), 7);
}

void StorageSuite::changeOrDeleteOfMissingRowFails_data()
{
    addTableRows();
}

void StorageSuite::changeOrDeleteOfMissingRowFails()
{
    QFETCH(QString, table);
    const int id = addRow(db(), table);
    QVERIFY(deleteRow(db(), table, id));
    SqlBase* other = openSame();
    QVERIFY(other);
    const int behind = addRow(other, table);
    const int missing = std::max(id, behind) + 1000;

    int recordId = -1;
    QVERIFY(!changeRow(db(), table, id, 5, &recordId));
    QCOMPARE(recordId, -1);
    QVERIFY(!changeRow(db(), table, missing, 5, &recordId));
    QCOMPARE(recordId, -1);
    QVERIFY(!deleteRow(db(), table, id));
    QVERIFY(!deleteRow(db(), table, missing));
    // Nothing was reloaded: the row added behind this store's back is still unknown to it.
    QCOMPARE(cachedMarker(db(), table, behind), -1);
    QVERIFY(!rowExists(db(), table, missing));
    QVERIFY(rowExists(db(), table, behind));
}

void StorageSuite::textsAreCapped_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("stored");
    for (const char* table : {"model", "accu"}) {
        QTest::addRow("%s: 1000 characters", table) << table << QString(1000, 'x') << true;
        QTest::addRow("%s: 1001 characters", table) << table << QString(1001, 'x') << false;
        QTest::addRow("%s: 1000 in four bytes each", table)
            << table << QStringLiteral("😀").repeated(500) << true;
    }
}

// Both stores take the same texts: the server's column would refuse far less than the file.
void StorageSuite::textsAreCapped()
{
    QFETCH(QString, table);
    QFETCH(QString, text);
    QFETCH(bool, stored);
    const bool model = table == QLatin1String("model");
    const int existing = addRow(db(), table);
    ModelEntry m(db(), text, 1, -1);
    AccuEntry a(db(), QStringLiteral("B"), text, 1000, 2, 10, 0, -1);
    const int added = model ? db()->addModel(&m) : db()->addAccu(&a);
    QCOMPARE(added >= 0, stored);
    const bool changed = model ? db()->changeModel(existing, &m) : db()->changeAccu(existing, &a);
    QCOMPARE(changed, stored);
    if (!stored) {
        QCOMPARE(db()->lastFailure(), SqlBase::Failure::TooLong);
        QCOMPARE(model ? models(db()).size() : accus(db()).size(), 1);
    }
    const QString read = model ? models(db()).last().m_strName : accus(db()).last().m_strDescr;
    QCOMPARE(read, stored ? text : QStringLiteral("Row"));
}

void StorageSuite::concurrentWritesLoseNothing_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<bool>("remove"); // the second store deletes rather than changes
    for (const char* table : {"model", "accu", "log"}) {
        QTest::addRow("%s: change after a change", table) << table << false;
        QTest::addRow("%s: delete after a change", table) << table << true;
    }
}

// Two programs start from the same row; the second write finds it changed and stores nothing,
// and its store shows the row as it is now, from which the write then goes through.
void StorageSuite::concurrentWritesLoseNothing()
{
    QFETCH(QString, table);
    QFETCH(bool, remove);
    const int id = addRow(db(), table);
    SqlBase* other = openSame();
    QVERIFY(other);
    int recordId = -1;
    QVERIFY(changeRow(db(), table, id, 7, &recordId));

    const auto write = [&]() {
        return remove ? deleteRow(other, table, id) : changeRow(other, table, id, 9, &recordId);
    };
    QVERIFY(!write());
    QCOMPARE(other->lastFailure(), SqlBase::Failure::Conflict);
    QCOMPARE(cachedMarker(other, table, id), 7);
    QVERIFY(db()->reload(nullptr));
    QCOMPARE(cachedMarker(db(), table, id), 7);

    QVERIFY(write());
    QVERIFY(db()->reload(nullptr));
    QCOMPARE(cachedMarker(db(), table, id), remove ? -1 : 9);
}

void StorageSuite::deleteRemovesRowAndReloadsCache_data()
{
    addTableRows();
}

void StorageSuite::deleteRemovesRowAndReloadsCache()
{
    QFETCH(QString, table);
    const int keep = addRow(db(), table);
    const int gone = addRow(db(), table);
    QVERIFY(cachedMarker(db(), table, gone) != -1);
    QVERIFY(deleteRow(db(), table, gone));
    QVERIFY(!rowExists(db(), table, gone));
    QCOMPARE(cachedMarker(db(), table, gone), -1);
    QVERIFY(rowExists(db(), table, keep));
    QVERIFY(cachedMarker(db(), table, keep) != -1);
}

void StorageSuite::restoredRowKeepsItsIdentifier_data()
{
    addTableRows();
}

// A deleted row put back (undo) has its identifier and values again; where another row holds
// the identifier by then, nothing is written and the store says it changed elsewhere.
void StorageSuite::restoredRowKeepsItsIdentifier()
{
    QFETCH(QString, table);
    const bool model = table == QLatin1String("model"), accu = table == QLatin1String("accu");
    const int first = addRow(db(), table);
    const int id = addRow(db(), table);
    const int last = addRow(db(), table);
    int recordId = -1;
    QVERIFY(changeRow(db(), table, id, 42, &recordId));
    ModelEntry m;
    AccuEntry a;
    LogEntry l;
    QVERIFY(model  ? db()->readModel(id, &m)
            : accu ? db()->readAccu(id, &a)
                   : db()->readLogEntry(id, &l));
    const auto restore = [&](SqlBase* store) {
        return model  ? store->restoreModel(&m)
               : accu ? store->restoreAccu(&a)
                      : store->restoreLogEntry(&l);
    };
    QVERIFY(deleteRow(db(), table, id));

    SqlBase* other = openSame();
    QVERIFY(other);
    QVERIFY(restore(db()));
    QCOMPARE(cachedMarker(db(), table, id), 42);
    QVERIFY(other->reload(nullptr));
    QCOMPARE(cachedMarker(other, table, id), 42);
    QVERIFY(!restore(other));
    QCOMPARE(other->lastFailure(), SqlBase::Failure::Conflict);
    QVERIFY(db()->reload(nullptr));
    QCOMPARE(cachedMarker(db(), table, id), 42);
    for (int kept : {first, last})
        QVERIFY(rowExists(db(), table, kept));
    // New rows still get identifiers of their own.
    QVERIFY(addRow(db(), table) > last);
}

void StorageSuite::refusedArguments_data()
{
    QTest::addColumn<RefusedCall>("call");
    auto row = [](const char* name, RefusedCall call) { QTest::newRow(name) << call; };
    row("addModel null", [](SqlBase* db, const Ids&) { return db->addModel(nullptr) == -1; });
    row("addAccu null", [](SqlBase* db, const Ids&) { return db->addAccu(nullptr) == -1; });
    row("addLogEntry null", [](SqlBase* db, const Ids&) { return db->addLogEntry(nullptr) == -1; });
    row("changeModel null",
        [](SqlBase* db, const Ids& ids) { return !db->changeModel(ids.model, nullptr); });
    row("changeAccu null",
        [](SqlBase* db, const Ids& ids) { return !db->changeAccu(ids.accu, nullptr); });
    row("changeLogEntry null",
        [](SqlBase* db, const Ids& ids) { return !db->changeLogEntry(ids.log, nullptr); });
    row("changeModel negative", [](SqlBase* db, const Ids&) {
        ModelEntry e(db, QStringLiteral("x"), 0, 3);
        return !db->changeModel(-1, &e) && e.m_iId == 3;
    });
    row("changeAccu negative", [](SqlBase* db, const Ids&) {
        AccuEntry e(db, QStringLiteral("x"), QStringLiteral("x"), 1, 1, 1, 0, 3);
        return !db->changeAccu(-1, &e) && e.m_iId == 3;
    });
    row("changeLogEntry negative", [](SqlBase* db, const Ids&) {
        LogEntry e(db, QDate(2024, 1, 1), QTime(0, 1), 1, 1, 1, 3);
        return !db->changeLogEntry(-1, &e) && e.m_iId == 3;
    });
    row("deleteModel negative", [](SqlBase* db, const Ids&) { return !db->deleteModel(-1); });
    row("deleteAccu negative", [](SqlBase* db, const Ids&) { return !db->deleteAccu(-1); });
    row("deleteLogEntry negative", [](SqlBase* db, const Ids&) { return !db->deleteLogEntry(-1); });
    row("readModel null",
        [](SqlBase* db, const Ids& ids) { return !db->readModel(ids.model, nullptr); });
    row("readModel negative", [](SqlBase* db, const Ids&) {
        ModelEntry e(nullptr, QStringLiteral("keep"), 2, 9);
        return !db->readModel(-1, &e) && e.m_strName == QLatin1String("keep") && e.m_iId == 9;
    });
    row("readAccu null",
        [](SqlBase* db, const Ids& ids) { return !db->readAccu(ids.accu, nullptr); });
    row("readAccu negative", [](SqlBase* db, const Ids&) {
        AccuEntry e;
        e.m_iCapacity = 77;
        return !db->readAccu(-1, &e) && e.m_iCapacity == 77;
    });
    row("readLogEntry null",
        [](SqlBase* db, const Ids& ids) { return !db->readLogEntry(ids.log, nullptr); });
    row("readLogEntry negative", [](SqlBase* db, const Ids&) {
        LogEntry e;
        e.m_iCharged = 77;
        return !db->readLogEntry(-1, &e) && e.m_iCharged == 77;
    });
    row("readModel missing", [](SqlBase* db, const Ids& ids) {
        ModelEntry e(nullptr, QStringLiteral("keep"), 2, 9);
        return !db->readModel(ids.model + 1000, &e) && e.m_strName == QLatin1String("keep");
    });
    row("readModels null", [](SqlBase* db, const Ids&) { return !db->readModels(nullptr); });
    row("readAccus null", [](SqlBase* db, const Ids&) { return !db->readAccus(nullptr); });
    row("readLogEntries null",
        [](SqlBase* db, const Ids&) { return !db->readLogEntries(nullptr, 0); });
    row("getModels null", [](SqlBase* db, const Ids&) { return !db->getModels(nullptr); });
    row("getAccus null", [](SqlBase* db, const Ids&) { return !db->getAccus(nullptr); });
    row("getModel null",
        [](SqlBase* db, const Ids& ids) { return !db->getModel(ids.model, nullptr); });
    row("getModel negative", [](SqlBase* db, const Ids&) {
        ModelEntry e;
        return !db->getModel(-1, &e);
    });
    row("getAccu null",
        [](SqlBase* db, const Ids& ids) { return !db->getAccu(ids.accu, nullptr); });
    row("getAccu negative", [](SqlBase* db, const Ids&) {
        AccuEntry e;
        return !db->getAccu(-1, &e);
    });
    row("getModelIds null", [](SqlBase* db, const Ids&) { return !db->getModelIds(nullptr); });
    row("getAccuIds null", [](SqlBase* db, const Ids&) { return !db->getAccuIds(nullptr); });
    row("getModelStats null",
        [](SqlBase* db, const Ids& ids) { return !db->getModelStats(ids.model, nullptr); });
    row("getModelStats negative", [](SqlBase* db, const Ids&) {
        ModelStatEntry s;
        return !db->getModelStats(-1, &s);
    });
    row("getAccuStats null",
        [](SqlBase* db, const Ids& ids) { return !db->getAccuStats(ids.accu, nullptr); });
    row("getAccuStats negative", [](SqlBase* db, const Ids&) {
        AccuStatEntry s;
        return !db->getAccuStats(-1, &s);
    });
    row("readModelTimes null outputs", [](SqlBase* db, const Ids& ids) {
        return !db->readModelTimes(ids.model, nullptr, nullptr, nullptr);
    });
    row("readModelTimes negative", [](SqlBase* db, const Ids&) {
        QTime t, a;
        int n = 5;
        return !db->readModelTimes(-1, &t, &a, &n);
    });
    row("readAccuTimes null outputs", [](SqlBase* db, const Ids& ids) {
        return !db->readAccuTimes(ids.accu, nullptr, nullptr, nullptr);
    });
    row("readModelCurrentAndRest null outputs", [](SqlBase* db, const Ids& ids) {
        return !db->readModelCurrentAndRest(ids.model, nullptr, nullptr);
    });
    row("readAccuCurrentAndRest negative", [](SqlBase* db, const Ids&) {
        double c = 0;
        int r = 0;
        return !db->readAccuCurrentAndRest(-1, &c, &r);
    });
}

void StorageSuite::refusedArguments()
{
    QFETCH(RefusedCall, call);
    Ids ids;
    ids.model = addModel(db(), QStringLiteral("M"));
    ids.accu = addAccu(db(), QStringLiteral("A"));
    ids.log = addLog(db(), QDate(2024, 1, 1), QTime(0, 10), 500, ids.accu, ids.model);

    QVERIFY(call(db(), ids));

    const QVector<ModelEntry> ms = models(db());
    QCOMPARE(ms.size(), 1);
    QCOMPARE(ms[0].m_strName, QStringLiteral("M"));
    const QVector<AccuEntry> as = accus(db());
    QCOMPARE(as.size(), 1);
    QCOMPARE(as[0].m_strDescr, QStringLiteral("A"));
    QCOMPARE(logCount(db()), 1);
    QCOMPARE(db()->logCache().size(), 1);
}

void StorageSuite::cacheServesLookups()
{
    const int kept = addModel(db(), QStringLiteral("kept"));
    const int accu = addAccu(db(), QStringLiteral("kept"));
    SqlBase* other = openSame();
    QVERIFY(other);
    QVERIFY(other->deleteModel(kept));
    QVERIFY(other->deleteAccu(accu));
    const int added = addModel(other, QStringLiteral("added"));
    const int addedAccu = addAccu(other, QStringLiteral("added"));

    // Answered from this store's cache: the deleted rows are still there, the new ones are
    // not, although the database says otherwise.
    ModelEntry m;
    QVERIFY(db()->getModel(kept, &m));
    QCOMPARE(m.m_strName, QStringLiteral("kept"));
    QVERIFY(!db()->getModel(added, &m));
    QVERIFY(db()->readModel(added, &m));
    AccuEntry a;
    QVERIFY(db()->getAccu(accu, &a));
    QVERIFY(!db()->getAccu(addedAccu, &a));
    QVector<ModelEntry> ms;
    QVERIFY(db()->getModels(&ms));
    QCOMPARE(ms.size(), 1);
    QCOMPARE(ms[0].m_iId, kept);
}

void StorageSuite::idListsFollowCache()
{
    QVector<int> ids{-7};
    QVERIFY(!db()->getModelIds(&ids));
    QCOMPARE(ids, QVector<int>{-7}); // appends, clears nothing
    const int m1 = addModel(db(), QStringLiteral("one"));
    const int m2 = addModel(db(), QStringLiteral("two"));
    const int a1 = addAccu(db(), QStringLiteral("one"));
    ids.clear();
    QVERIFY(db()->getModelIds(&ids));
    QCOMPARE(ids, (QVector<int>{m1, m2}));
    ids.clear();
    QVERIFY(db()->getAccuIds(&ids));
    QCOMPARE(ids, QVector<int>{a1});
    QVERIFY(db()->deleteModel(m1));
    ids.clear();
    QVERIFY(db()->getModelIds(&ids));
    QCOMPARE(ids, QVector<int>{m2});
}

void StorageSuite::recordsStoreThemselves()
{
    ModelEntry m(db(), QStringLiteral("Heli"), 1, -1);
    QVERIFY(m.addEntry());
    QVERIFY(m.m_iId >= 0);
    m.m_strName = QStringLiteral("Heli 2");
    QVERIFY(m.changeEntry());
    ModelEntry read;
    QVERIFY(db()->readModel(m.m_iId, &read));
    QCOMPARE(read.m_strName, QStringLiteral("Heli 2"));
    const int id = m.m_iId;
    QVERIFY(m.deleteEntry());
    QCOMPARE(m.m_iId, -1);
    QVERIFY(!db()->readModel(id, &read));
    // Deleting again: the row is gone, the store says no and the record keeps its state.
    m.m_iId = id;
    QVERIFY(!m.deleteEntry());
    QCOMPARE(m.m_iId, id);
    QVERIFY(!m.changeEntry());

    AccuEntry a(db(), QStringLiteral("Xa"), QStringLiteral("red"), 2200, 3, 25, 0, -1);
    QVERIFY(a.addEntry());
    a.m_iCapacity = 2400;
    QVERIFY(a.changeEntry());
    AccuEntry ra;
    QVERIFY(db()->getAccu(a.m_iId, &ra));
    QCOMPARE(ra.m_iCapacity, 2400);
    QVERIFY(a.deleteEntry());
    QCOMPARE(a.m_iId, -1);

    LogEntry l(db(), QDate(2024, 4, 1), QTime(0, 8), 0, 1, 1, -1);
    QVERIFY(l.addEntry());
    l.m_iCharged = 450;
    QVERIFY(l.changeEntry());
    QCOMPARE(db()->logCache().first()->m_iCharged, 450);
    QVERIFY(l.deleteEntry());
    QCOMPARE(l.m_iId, -1);
    QVERIFY(db()->logCache().isEmpty());
}

void StorageSuite::logFilters_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("expected");
    // Date 2024-03-10..20: b c d e f g; model M1: a b c f i; pack P1: a b d f h;
    // nothing charged: b d h i.
    const char* const expected[16] = {"abcdefghi", "bcdefg", "abcfi", "bcf", "abdfh", "bdf",
                                      "abf",       "bf",     "bdhi",  "bd",  "bi",    "b",
                                      "bdh",       "bd",     "b",     "b"};
    for (int flags = 0; flags < 16; ++flags)
        QTest::addRow("flags %d", flags) << flags << QString::fromLatin1(expected[flags]);
    QTest::newRow("unknown bit alone") << 16 << QStringLiteral("abcdefghi");
    QTest::newRow("unknown bit with date") << (16 | 1) << QStringLiteral("bcdefg");
    QTest::newRow("unknown bits with model and pack") << (0x300 | 6) << QStringLiteral("abf");
    QTest::newRow("high bits with incomplete") << (0x7ffffff0 | 8) << QStringLiteral("bdhi");
}

void StorageSuite::logFilters()
{
    QFETCH(int, flags);
    QFETCH(QString, expected);
    const LogFixture f = buildLogFixture(db());
    db()->setFilterDates(QDate(2024, 3, 10), QDate(2024, 3, 20));
    db()->setFilterModelId(f.m1);
    db()->setFilterAccuId(f.p1);
    QVector<LogEntry*> rows;
    QVERIFY(db()->readLogEntries(&rows, flags));
    QCOMPARE(labelsInDateOrder(f, rows, db()), expected);
}

void StorageSuite::dateFilterBounds_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one day with two entries")
        << QDate(2024, 3, 20) << QDate(2024, 3, 20) << QStringLiteral("fg");
    QTest::newRow("one day with one entry")
        << QDate(2024, 3, 10) << QDate(2024, 3, 10) << QStringLiteral("b");
    QTest::newRow("one day without entries")
        << QDate(2024, 3, 11) << QDate(2024, 3, 11) << QString();
    QTest::newRow("first and last day included")
        << QDate(2024, 3, 9) << QDate(2024, 3, 12) << QStringLiteral("abc");
    QTest::newRow("across a month end")
        << QDate(2024, 2, 28) << QDate(2024, 3, 9) << QStringLiteral("ai");
    QTest::newRow("start after end") << QDate(2024, 3, 20) << QDate(2024, 3, 10) << QString();
    QTest::newRow("before every entry") << QDate(2023, 1, 1) << QDate(2023, 12, 31) << QString();
    QTest::newRow("everything") << QDate(2000, 1, 1) << QDate(2099, 12, 31)
                                << QStringLiteral("abcdefghi");
}

void StorageSuite::dateFilterBounds()
{
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(QString, expected);
    const LogFixture f = buildLogFixture(db());
    db()->setFilterDates(start, end);
    QVector<LogEntry*> rows;
    QVERIFY(db()->readLogEntries(&rows, SqlBase::FilterDate));
    QCOMPARE(labelsInDateOrder(f, rows, db()), expected);
}

void StorageSuite::modelStatistics_data()
{
    addStatColumns();
    // uses: "charged duration capacity" per log entry, each on a pack of its own; "gone" marks
    // a pack deleted after the entry was logged.
    QTest::newRow("1 h, 1100 of 2200 mAh") << "1100 01:00:00 2200" << true << 1 << "01:00:00"
                                           << "01:00:00" << 1.1 << 50;
    QTest::newRow("20 min, 500 mAh") << "500 00:20:00 2200" << true << 1 << "00:20:00"
                                     << "00:20:00" << 1.5 << 78;
    QTest::newRow("7 s, 1 mAh truncated") << "1 00:00:07 1000" << true << 1 << "00:00:07"
                                          << "00:00:07" << 0.514 << 100;
    QTest::newRow("rests 50, 50, 51")
        << "500 01:00:00 1000, 500 01:00:00 1000, 490 01:00:00 1000" << true << 3 << "03:00:00"
        << "01:00:00" << 0.49666666666666665 << 50;
    QTest::newRow("pack of capacity 0") << "500 00:10:00 0" << true << 1 << "00:10:00"
                                        << "00:10:00" << 3.0 << 0;
    QTest::newRow("capacity 0 gives no rest figure")
        << "1100 01:00:00 2200, 500 00:10:00 0" << true << 2 << "01:10:00"
        << "00:35:00" << 2.05 << 50;
    QTest::newRow("deleted pack does not end the scan")
        << "1100 01:00:00 gone, 1100 01:00:00 2200, 550 00:30:00 1100" << true << 3 << "02:30:00"
        << "00:50:00" << 1.1 << 50;
    QTest::newRow("only a deleted pack") << "1100 01:00:00 gone" << true << 1 << "01:00:00"
                                         << "01:00:00" << 1.1 << 0;
    QTest::newRow("nothing charged yet: not listed")
        << "0 01:00:00 2200, 0 00:30:00 2200" << false << 2 << "01:30:00"
        << "00:45:00" << 0.0 << 0;
    QTest::newRow("zero duration is no timed use")
        << "500 00:00:00 2200, 1100 01:00:00 2200" << true << 2 << "01:00:00"
        << "01:00:00" << 1.1 << 50;
    QTest::newRow("only zero durations: not listed")
        << "500 00:00:00 2200" << false << 1 << "00:00:00"
        << "00:00:00" << 0.0 << 0;
    QTest::newRow("uncharged entry counts in time only")
        << "0 00:30:00 2200, 1100 01:00:00 2200" << true << 2 << "01:30:00"
        << "00:45:00" << 1.1 << 50;
    QTest::newRow("average seconds truncated")
        << "100 00:00:10 1000, 100 00:00:11 1000" << true << 2 << "00:00:21"
        << "00:00:10" << 34.3635 << 90;
    QTest::newRow("more charged than the capacity")
        << "3000 01:00:00 2200" << true << 1 << "01:00:00"
        << "01:00:00" << 3.0 << -36;
    QTest::newRow("negative rests averaged toward zero")
        << "3000 01:00:00 2200, 2970 01:00:00 2200" << true << 2 << "02:00:00"
        << "01:00:00" << 2.985 << -35;
}

void StorageSuite::modelStatistics()
{
    QFETCH(QString, uses);
    const int model = addModel(db(), QStringLiteral("Stats model"));
    addModel(db(), QStringLiteral("other"));
    QVector<int> gone;
    for (const Use& u : parseUses(uses, 0)) {
        const int accu = addAccu(db(), QStringLiteral("pack"), u.capacity);
        QVERIFY(addLog(db(), QDate(2024, 5, 5), u.time, u.charged, accu, model) >= 0);
        if (u.gone)
            gone << accu;
    }
    for (int accu : gone)
        QVERIFY(db()->deleteAccu(accu));

    ModelStatEntry s;
    s.m_iCount = 99;
    s.m_dAvgCurrent = 9.9;
    const bool ok = db()->getModelStats(model, &s);
    compareStats(s, ok, QStringLiteral("Stats model"));

    StatsManager manager(db());
    QVector<ModelStatEntry*> list;
    QVERIFY(manager.getModelStats(&list, 0));
    compareListed(list, QStringLiteral("Stats model"));
    qDeleteAll(list);
}

void StorageSuite::accuStatistics_data()
{
    addStatColumns();
    QTest::addColumn<int>("capacity");
    // uses: "charged duration" per log entry, all on the one pack.
    QTest::newRow("1 h, 1100 of 2200 mAh") << "1100 01:00:00" << true << 1 << "01:00:00"
                                           << "01:00:00" << 1.1 << 50 << 2200;
    QTest::newRow("two uses and an uncharged one")
        << "1100 01:00:00, 500 00:20:00, 0 00:10:00" << true << 3 << "01:30:00"
        << "00:30:00" << 1.3 << 64 << 2200;
    QTest::newRow("rests 50, 50, 51")
        << "500 00:10:00, 500 00:10:00, 490 00:10:00" << true << 3 << "00:30:00"
        << "00:10:00" << 2.98 << 50 << 1000;
    QTest::newRow("capacity 0") << "500 00:10:00, 250 00:05:00" << true << 2 << "00:15:00"
                                << "00:07:30" << 3.0 << 0 << 0;
    QTest::newRow("zero duration is no timed use")
        << "100 00:00:00, 100 00:00:00, 700 00:20:00" << true << 3 << "00:20:00"
        << "00:20:00" << 2.1 << 30 << 1000;
    QTest::newRow("nothing charged yet: not listed") << "0 00:10:00" << false << 1 << "00:10:00"
                                                     << "00:10:00" << 0.0 << 0 << 1000;
    QTest::newRow("unused pack: not listed") << "" << false << 0 << "00:00:00"
                                             << "00:00:00" << 0.0 << 0 << 1000;
}

void StorageSuite::accuStatistics()
{
    QFETCH(QString, uses);
    QFETCH(int, capacity);
    const int model = addModel(db(), QStringLiteral("M"));
    const int accu = addAccu(db(), QStringLiteral("Pack ✈ grün"), capacity);
    const int otherAccu = addAccu(db(), QStringLiteral("other"), 1000);
    for (const Use& u : parseUses(uses, capacity))
        QVERIFY(addLog(db(), QDate(2024, 5, 5), u.time, u.charged, accu, model) >= 0);
    addLog(db(), QDate(2024, 5, 5), QTime(2, 0), 100, otherAccu, model);

    AccuStatEntry s;
    const bool ok = db()->getAccuStats(accu, &s);
    compareStats(s, ok, QStringLiteral("Pack ✈ grün"));

    StatsManager manager(db());
    QVector<AccuStatEntry*> list;
    QVERIFY(manager.getAccuStats(&list, 0));
    compareListed(list, QStringLiteral("Pack ✈ grün"));
    qDeleteAll(list);
}

void StorageSuite::statsManagerFilters_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("models");
    QTest::addColumn<QString>("accus");
    // The fixture (see statsManagerFilters): models A, B, C (C unused), packs P1 2200 mAh,
    // P2 1000 mAh, P3 (unused). Figures: "name count total average current rest".
    const QString allModels =
        QStringLiteral("A 4 01:40:00 00:33:20 1.3 50; B 2 01:00:00 00:30:00 1 78");
    const QString allAccus =
        QStringLiteral("P1 5 02:40:00 00:32:00 1.03333 68; P2 2 00:20:00 00:20:00 1.5 50");
    const QString marchAccus =
        QStringLiteral("P1 1 01:00:00 01:00:00 1.1 50; P2 1 00:20:00 00:20:00 1.5 50");
    QTest::newRow("all") << 0 << allModels << allAccus;
    QTest::newRow("date range, both days included")
        << 1 << "A 2 01:20:00 00:40:00 1.3 50" << marchAccus;
    QTest::newRow("one model") << 2 << "A 4 01:40:00 00:33:20 1.3 50"
                               << "P1 2 01:20:00 00:40:00 1.1 50; P2 2 00:20:00 00:20:00 1.5 50";
    QTest::newRow("one pack") << 4 << "A 2 01:20:00 00:40:00 1.1 50; B 2 01:00:00 00:30:00 1 78"
                              << "P1 5 02:40:00 00:32:00 1.03333 68";
    QTest::newRow("model and date") << 3 << "A 2 01:20:00 00:40:00 1.3 50" << marchAccus;
    QTest::newRow("incomplete bit is not a statistics filter") << 8 << allModels << allAccus;
}

void StorageSuite::statsManagerFilters()
{
    QFETCH(int, flags);
    const int a = addModel(db(), QStringLiteral("A"));
    const int b = addModel(db(), QStringLiteral("B"));
    addModel(db(), QStringLiteral("C"));
    const int p1 = addAccu(db(), QStringLiteral("P1"), 2200);
    const int p2 = addAccu(db(), QStringLiteral("P2"), 1000);
    addAccu(db(), QStringLiteral("P3"), 1000);
    // A: 1100 mA/50 % and 1500 mA/50 % inside the range, an uncharged use after it and a
    // charged use of 0 seconds before it.
    addLog(db(), QDate(2024, 3, 1), QTime(1, 0), 1100, p1, a);
    addLog(db(), QDate(2024, 3, 31), QTime(0, 20), 500, p2, a);
    addLog(db(), QDate(2024, 4, 1), QTime(0, 20), 0, p1, a);
    addLog(db(), QDate(2024, 2, 29), QTime(0, 0), 700, p2, a);
    // B: twice 1000 mA/78 % outside the range.
    addLog(db(), QDate(2024, 4, 2), QTime(0, 30), 500, p1, b);
    addLog(db(), QDate(2023, 12, 31), QTime(0, 30), 500, p1, b);
    // An entry of a deleted model counts for its pack but lists no model.
    addLog(db(), QDate(2025, 1, 1), QTime(0, 20), 0, p1, b + 1000);

    StatsManager manager(db());
    manager.setDateRange(QDate(2024, 3, 1), QDate(2024, 3, 31));
    manager.setModelFilter(a);
    manager.setAccuFilter(p1);
    QVector<ModelStatEntry*> models;
    QVector<AccuStatEntry*> accus;
    QVERIFY(manager.getModelStats(&models, flags));
    QVERIFY(manager.getAccuStats(&accus, flags));
    const QString modelRows = statRows(models), accuRows = statRows(accus);
    qDeleteAll(models);
    qDeleteAll(accus);
    QTEST(modelRows, "models");
    QTEST(accuRows, "accus");
}

void StorageSuite::statsTotalsBeyondADay()
{
    const int m = addModel(db(), QStringLiteral("Glider"));
    const int p = addAccu(db(), QStringLiteral("Big"), 5000);
    // 27 h 3 min 10 s in all, which a time of day cannot hold.
    for (int i = 0; i < 27; ++i)
        addLog(db(), QDate(2024, 6, 1).addDays(i), QTime(1, 0), 2500, p, m);
    addLog(db(), QDate(2024, 8, 1), QTime(0, 3, 10), 0, p, m);

    StatsManager manager(db());
    QVector<ModelStatEntry*> models;
    QVERIFY(manager.getModelStats(&models, 0));
    QCOMPARE(models.size(), 1);
    QCOMPARE(models[0]->totalSeconds(), qint64(27 * 3600 + 190));
    QCOMPARE(models[0]->totalText(), QStringLiteral("27:03:10"));
    QCOMPARE(models[0]->m_timeAverage, QTime(0, 57, 58)); // 97390 s / 28 uses, truncated
    QCOMPARE(models[0]->m_iCount, 28);
    qDeleteAll(models);
    models.clear();

    // The same totals through the per-identifier path and both lists at once.
    ModelStatEntry one;
    QVERIFY(db()->getModelStats(m, &one));
    QCOMPARE(one.totalSeconds(), qint64(27 * 3600 + 190));
    AccuStatEntry pack;
    QVERIFY(db()->getAccuStats(p, &pack));
    QCOMPARE(pack.totalText(), QStringLiteral("27:03:10"));
    QVector<AccuStatEntry*> accus;
    QVERIFY(manager.getStats(&models, &accus, 0));
    QCOMPARE(models.size(), 1);
    QCOMPARE(accus.size(), 1);
    QCOMPARE(accus[0]->totalSeconds(), qint64(27 * 3600 + 190));
    qDeleteAll(models);
    qDeleteAll(accus);
}

void StorageSuite::statsManagerWithoutStore()
{
    StatsManager manager(nullptr);
    manager.setModelFilter(3); // no store to pass it to: kept, nothing else happens
    QCOMPARE(manager.m_iModelFilter, 3);
    QVector<ModelStatEntry*> models;
    QVERIFY(!manager.getModelStats(&models, 0));
    StatsManager empty(db());
    QVERIFY(!empty.getModelStats(nullptr, 0));
    // No models at all: nothing to list, reported as a failure like the per-identifier path.
    QVERIFY(!empty.getModelStats(&models, 0));
    QVERIFY(models.isEmpty());
}

void StorageSuite::statisticsCountOnlyTheirOwnEntries()
{
    const int m1 = addModel(db(), QStringLiteral("one"));
    const int m2 = addModel(db(), QStringLiteral("two"));
    const int p1 = addAccu(db(), QStringLiteral("p1"), 2200);
    const int p2 = addAccu(db(), QStringLiteral("p2"), 1000);
    addLog(db(), QDate(2024, 1, 1), QTime(1, 0), 1100, p1, m1);
    addLog(db(), QDate(2024, 1, 2), QTime(0, 30), 500, p2, m1);
    addLog(db(), QDate(2024, 1, 3), QTime(0, 20), 500, p1, m2);

    ModelStatEntry s1, s2;
    QVERIFY(db()->getModelStats(m1, &s1));
    QCOMPARE(s1.m_iCount, 2);
    QCOMPARE(s1.m_timeTotal, QTime(1, 30));
    QCOMPARE(s1.m_timeAverage, QTime(0, 45));
    QCOMPARE(s1.m_dAvgCurrent, 1.05); // 1100 and 1000 mA
    QCOMPARE(s1.m_iAvgRest, 50);      // 50 and 50
    QVERIFY(db()->getModelStats(m2, &s2));
    QCOMPARE(s2.m_iCount, 1);
    QCOMPARE(s2.m_dAvgCurrent, 1.5);
    QCOMPARE(s2.m_iAvgRest, 78);

    AccuStatEntry a1;
    QVERIFY(db()->getAccuStats(p1, &a1));
    QCOMPARE(a1.m_strName, QStringLiteral("p1"));
    QCOMPARE(a1.m_iCount, 2);
    QCOMPARE(a1.m_timeTotal, QTime(1, 20));
    QCOMPARE(a1.m_dAvgCurrent, 1.3);
    QCOMPARE(a1.m_iAvgRest, 64);

    // The raw figures behind them.
    QTime total, average;
    int count = -1;
    QVERIFY(db()->readAccuTimes(p2, &total, &average, &count));
    QCOMPARE(count, 1);
    QCOMPARE(total, QTime(0, 30));
    QCOMPARE(average, QTime(0, 30));
    double current = 0;
    int rest = -1;
    QVERIFY(db()->readAccuCurrentAndRest(p2, &current, &rest));
    QCOMPARE(current, 1.0);
    QCOMPARE(rest, 50);
}

void StorageSuite::statisticsOfMissingIdentifiers()
{
    const int m = addModel(db(), QStringLiteral("M"));
    const int p = addAccu(db(), QStringLiteral("P"), 2200);
    addLog(db(), QDate(2024, 1, 1), QTime(1, 0), 1100, p, m);
    QVERIFY(db()->deleteModel(m));
    QVERIFY(db()->deleteAccu(p));

    // The entries are still there, but a model or pack that no longer exists has no row.
    ModelStatEntry ms;
    QVERIFY(!db()->getModelStats(m, &ms));
    QCOMPARE(ms.m_iCount, 1);
    QVERIFY(ms.m_strName.isEmpty());
    AccuStatEntry as;
    QVERIFY(!db()->getAccuStats(p, &as));
    QVERIFY(as.m_strName.isEmpty());

    ModelStatEntry none;
    QVERIFY(!db()->getModelStats(m + 1000, &none));
    QCOMPARE(none.m_iCount, 0);
    QCOMPARE(none.m_timeTotal, QTime(0, 0));

    QVERIFY(db()->disconnectDb());
    ModelStatEntry closed;
    QVERIFY(!db()->getModelStats(m, &closed));
    QTime total, average;
    int count = 0;
    QVERIFY(!db()->readModelTimes(m, &total, &average, &count));
    double current = 0;
    int rest = 0;
    QVERIFY(!db()->readModelCurrentAndRest(m, &current, &rest));
}

int runTestObject(QObject* test, int argc, char** argv)
{
    // Options of QTest that take a value; every other word that is no option names a test.
    static const QByteArrayList withValue = {
        "-o",    "-maxwarnings",  "-eventdelay",   "-keydelay",   "-mousedelay",
        "-seed", "-minimumvalue", "-minimumtotal", "-iterations", "-median"};
    bool named = false, ours = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (withValue.contains(arg)) {
            ++i;
            continue;
        }
        if (arg.startsWith('-'))
            continue;
        named = true;
        const qsizetype colon = arg.indexOf(':');
        const QByteArray function = colon < 0 ? arg : arg.left(colon);
        const QMetaObject* meta = test->metaObject();
        for (int m = meta->methodOffset(); m < meta->methodCount(); ++m) {
            if (meta->method(m).name() == function)
                ours = true;
        }
    }
    if (named && !ours)
        return 0;
    return QTest::qExec(test, argc, argv);
}
