// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The same log book written to both stores, then every read compared: the file store and the
// server store must give the same answers, identifiers aside.
#include "mysqltestserver.h"

#include "storage/sqliteconnection.h"
#include "storage/sqliteschema.h"
#include "storage/statsmanager.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

namespace
{

const QDate kFirstDay(2023, 11, 25);
const int kDays = 70;

// Identifiers are each store's own; the data set numbers its rows in the order it wrote them.
struct Store {
    std::unique_ptr<SqlBase> db;
    QVector<int> modelIds, accuIds;

    int modelIndex(int id) const { return modelIds.indexOf(id); }
    int accuIndex(int id) const { return accuIds.indexOf(id); }
};

QString describe(const Store& s, const LogEntry& e)
{
    return QStringLiteral("%1 %2 %3 pack%4 model%5")
        .arg(SqlBase::dateText(e.m_date), SqlBase::timeText(e.m_time))
        .arg(e.m_iCharged)
        .arg(s.accuIndex(e.m_iAccuId))
        .arg(s.modelIndex(e.m_iModelId));
}

QString describe(const StatEntry& e)
{
    return QStringLiteral("%1: %2 uses, %3 total, %4 average, %5 A, %6 %")
        .arg(e.m_strName)
        .arg(e.m_iCount)
        .arg(e.totalText(), e.m_timeAverage.toString(QStringLiteral("hh:mm:ss")))
        .arg(e.m_dAvgCurrent, 0, 'g', 17)
        .arg(e.m_iAvgRest);
}

// The rows read with these flags: the date sequence as read (the order the stores promise)
// and the rows themselves sorted (same-day rows may come in either order).
QStringList logAnswer(const Store& s, int flags)
{
    QVector<LogEntry*> rows;
    const bool ok = s.db->readLogEntries(&rows, flags);
    QStringList dates, described;
    for (const LogEntry* e : rows) {
        dates << SqlBase::dateText(e->m_date);
        described << describe(s, *e);
    }
    qDeleteAll(rows);
    described.sort();
    return QStringList{ok ? QStringLiteral("ok") : QStringLiteral("failed"), dates.join(' ')} +
           described;
}

template <class Stat> QStringList statsAnswer(const QVector<Stat*>& list, bool ok)
{
    QStringList out{ok ? QStringLiteral("ok") : QStringLiteral("failed")};
    for (const Stat* s : list)
        out << describe(*s);
    qDeleteAll(list);
    return out;
}

} // namespace

class StoresAgreeTest : public QObject
{
    Q_OBJECT

public:
    explicit StoresAgreeTest(MysqlTestServer* server) : m_pServer(server) {}

private slots:
    void initTestCase();
    void cleanupTestCase();
    void listsAgree();
    void logFiltersAgree_data();
    void logFiltersAgree();
    void statisticsAgree();
    void statsListsAgree_data();
    void statsListsAgree();

private:
    void fill(Store* s);

    MysqlTestServer* m_pServer;
    QTemporaryDir m_dir;
    QString m_strDatabase;
    Store m_file, m_server;
};

// A season of a few models and packs, generated from a fixed seed: durations from none to
// two hours, some entries not charged yet, packs of capacity 0, packs deleted after use, and
// texts in several scripts.
void StoresAgreeTest::fill(Store* s)
{
    SqlBase* db = s->db.get();
    QRandomGenerator random(20240519);
    const QStringList names{QStringLiteral("Easy Star"),    QStringLiteral("O'Neil's \"Cub\""),
                            QStringLiteral("Heli 🚁"),       QStringLiteral("Ärger ✈ 日本"),
                            QStringLiteral("100% \\ done"), QStringLiteral("")};
    for (int i = 0; i < names.size(); ++i) {
        ModelEntry m(db, names[i], i % 5, -1);
        s->modelIds << db->addModel(&m);
    }
    const int capacities[] = {2200, 0, 1300, 5000, 850, 0, 3300, 1000, 4000, 1800};
    for (int i = 0; i < 10; ++i) {
        AccuEntry a(db, QStringLiteral("Brand %1").arg(i),
                    names[i % names.size()] + QString::number(i), capacities[i], 1 + i % 6, 20 + i,
                    i % 6, -1);
        s->accuIds << db->addAccu(&a);
    }
    for (int i = 0; i < 300; ++i) {
        const QDate date = kFirstDay.addDays(random.bounded(kDays));
        const int seconds = random.bounded(8) == 0 ? 0 : random.bounded(1, 7200);
        const int charged = random.bounded(6) == 0 ? 0 : random.bounded(1, 4500);
        const int accu = random.bounded(s->accuIds.size());
        const int model = random.bounded(s->modelIds.size());
        LogEntry e(db, date, QTime(0, 0).addSecs(seconds), charged, s->accuIds[accu],
                   s->modelIds[model], -1);
        db->addLogEntry(&e);
    }
    // Packs that are gone, and a model.
    db->deleteAccu(s->accuIds[3]);
    db->deleteAccu(s->accuIds[7]);
    db->deleteModel(s->modelIds[4]);
}

void StoresAgreeTest::initTestCase()
{
    if (!m_pServer->isGiven())
        QSKIP(qPrintable(m_pServer->missingReason()));
    QVERIFY(m_dir.isValid());
    const QString file = m_dir.filePath(QStringLiteral("agree.sqlite"));
    QVERIFY(SqliteSchema::createDatabase(file, nullptr));
    m_file.db = std::make_unique<SqLiteConnection>(file);
    m_strDatabase = m_pServer->createDatabase(
        QStringLiteral("agree_%1").arg(QCoreApplication::applicationPid()));
    QVERIFY(!m_strDatabase.isEmpty());
    m_server.db.reset(m_pServer->newStore(m_strDatabase));
    for (Store* s : {&m_file, &m_server}) {
        QString error;
        QVERIFY2(s->db->openDb(&error), qPrintable(error));
        fill(s);
        QCOMPARE(s->db->logCache().size(), 300);
    }
}

void StoresAgreeTest::cleanupTestCase()
{
    m_server.db.reset();
    if (!m_strDatabase.isEmpty())
        m_pServer->dropDatabase(m_strDatabase);
}

void StoresAgreeTest::listsAgree()
{
    for (Store* s : {&m_file, &m_server}) {
        QString error;
        QVERIFY2(s->db->openDb(&error), qPrintable(error));
    }
    auto models = [](const Store& s) {
        QStringList out;
        QVector<ModelEntry> list;
        out << QString::number(s.db->readModels(&list));
        for (const ModelEntry& m : list)
            out << QStringLiteral("%1 %2 %3")
                       .arg(s.modelIndex(m.m_iId))
                       .arg(m.m_iTyp)
                       .arg(m.m_strName);
        return out;
    };
    auto accus = [](const Store& s) {
        QStringList out;
        QVector<AccuEntry> list;
        out << QString::number(s.db->readAccus(&list));
        for (const AccuEntry& a : list)
            out << QString::number(s.accuIndex(a.m_iId)) + QLatin1Char(' ') + a.toString();
        return out;
    };
    QCOMPARE(models(m_server), models(m_file));
    QCOMPARE(accus(m_server), accus(m_file));
    QCOMPARE(m_server.db->logCache().size(), m_file.db->logCache().size());
    QCOMPARE(logAnswer(m_server, 0), logAnswer(m_file, 0));
}

void StoresAgreeTest::logFiltersAgree_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<int>("model"); // index in the data set
    QTest::addColumn<int>("accu");
    QTest::newRow("first day alone") << kFirstDay << kFirstDay << 0 << 0;
    QTest::newRow("last day alone")
        << kFirstDay.addDays(kDays - 1) << kFirstDay.addDays(kDays - 1) << 1 << 2;
    QTest::newRow("across the new year") << QDate(2023, 12, 30) << QDate(2024, 1, 2) << 2 << 3;
    QTest::newRow("a week") << QDate(2024, 1, 10) << QDate(2024, 1, 16) << 3 << 4;
    QTest::newRow("everything") << QDate(2000, 1, 1) << QDate(2099, 12, 31) << 4 << 7;
    QTest::newRow("start after end") << QDate(2024, 1, 16) << QDate(2024, 1, 10) << 5 << 9;
}

void StoresAgreeTest::logFiltersAgree()
{
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(int, model);
    QFETCH(int, accu);
    for (Store* s : {&m_file, &m_server}) {
        s->db->setFilterDates(start, end);
        s->db->setFilterModelId(s->modelIds[model]);
        s->db->setFilterAccuId(s->accuIds[accu]);
    }
    int nonEmpty = 0;
    for (int flags = 0; flags < 16; ++flags) {
        const QStringList file = logAnswer(m_file, flags);
        QCOMPARE(logAnswer(m_server, flags), file);
        if (file.size() > 2)
            ++nonEmpty;
    }
    QVERIFY(nonEmpty > 0);
}

void StoresAgreeTest::statisticsAgree()
{
    for (int i = 0; i < m_file.modelIds.size(); ++i) {
        ModelStatEntry f, s;
        const bool fileOk = m_file.db->getModelStats(m_file.modelIds[i], &f);
        const bool serverOk = m_server.db->getModelStats(m_server.modelIds[i], &s);
        QCOMPARE(serverOk, fileOk);
        QCOMPARE(describe(s), describe(f));
        QTime fTotal, fAverage, sTotal, sAverage;
        int fCount = -1, sCount = -1;
        QCOMPARE(m_server.db->readModelTimes(m_server.modelIds[i], &sTotal, &sAverage, &sCount),
                 m_file.db->readModelTimes(m_file.modelIds[i], &fTotal, &fAverage, &fCount));
        QCOMPARE(sTotal, fTotal);
        QCOMPARE(sAverage, fAverage);
        QCOMPARE(sCount, fCount);
    }
    for (int i = 0; i < m_file.accuIds.size(); ++i) {
        AccuStatEntry f, s;
        const bool fileOk = m_file.db->getAccuStats(m_file.accuIds[i], &f);
        const bool serverOk = m_server.db->getAccuStats(m_server.accuIds[i], &s);
        QCOMPARE(serverOk, fileOk);
        QCOMPARE(describe(s), describe(f));
        double fCurrent = -1, sCurrent = -1;
        int fRest = -1, sRest = -1;
        QCOMPARE(m_server.db->readAccuCurrentAndRest(m_server.accuIds[i], &sCurrent, &sRest),
                 m_file.db->readAccuCurrentAndRest(m_file.accuIds[i], &fCurrent, &fRest));
        QCOMPARE(sCurrent, fCurrent);
        QCOMPARE(sRest, fRest);
    }
}

void StoresAgreeTest::statsListsAgree_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::newRow("all") << 0 << QDate() << QDate();
    QTest::newRow("one day") << 1 << QDate(2024, 1, 3) << QDate(2024, 1, 3);
    QTest::newRow("a month") << 1 << QDate(2023, 12, 1) << QDate(2023, 12, 31);
    QTest::newRow("one model or pack") << 6 << QDate() << QDate();
    QTest::newRow("one model or pack in a month") << 7 << QDate(2024, 1, 1) << QDate(2024, 1, 31);
}

void StoresAgreeTest::statsListsAgree()
{
    QFETCH(int, flags);
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QStringList answers[2];
    int n = 0;
    for (Store* s : {&m_file, &m_server}) {
        StatsManager stats(s->db.get());
        stats.setDateRange(start, end);
        stats.setModelFilter(s->modelIds[1]);
        stats.setAccuFilter(s->accuIds[2]);
        QVector<ModelStatEntry*> models;
        const bool modelsOk = stats.getModelStats(&models, flags);
        QVector<AccuStatEntry*> accus;
        const bool accusOk = stats.getAccuStats(&accus, flags);
        answers[n++] = statsAnswer(models, modelsOk) + statsAnswer(accus, accusOk);
    }
    QCOMPARE(answers[1], answers[0]);
    QVERIFY(answers[0].size() > 2);
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    MysqlTestServer server;
    StoresAgreeTest test(&server);
    const int failures = QTest::qExec(&test, argc, argv);
    if (!server.isGiven())
        return server.reportMissing();
    return failures == 0 ? 0 : 1;
}

#include "tst_storesagree.moc"
