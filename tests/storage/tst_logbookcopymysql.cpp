// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// A log book carried to the club's server and back (throw-away MariaDB of the test run): every
// row arrives as it was read, a database that holds a log book is never mixed into, a cancel
// drops only what the copy made, old files arrive with their texts right, and a large log
// book on the server opens with progress and can be cancelled.
#include "bookdump.h"
#include "mysqltestserver.h"

#include "storage/demobook.h"
#include "storage/logbook.h"
#include "storage/logbookcopy.h"
#include "storage/sqliteconnection.h"
#include "storage/workprogress.h"
#include "storage/workrunner.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class LogBookCopyMysqlTest : public QObject
{
    Q_OBJECT

public:
    explicit LogBookCopyMysqlTest(MysqlTestServer* server) : m_pServer(server) {}

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void toTheServerAndBack();
    void databaseWithRowsIsRefused();
    void cancelDropsOnlyWhatTheCopyMade_data();
    void cancelDropsOnlyWhatTheCopyMade();
    void oldFileArrivesWithItsTexts();
    void textTooLongIsNamed();
    void largeBookOpensWithProgress_data();
    void largeBookOpensWithProgress();

private:
    LogBookCopy::Report toServer(const QString& file, WorkProgress* progress = nullptr);
    QStringList tables();

    MysqlTestServer* m_pServer;
    QTemporaryDir m_dir;
    QString m_strDemo;
    QString m_strDb;
};

void LogBookCopyMysqlTest::initTestCase()
{
    if (!m_pServer->isGiven())
        QSKIP(qPrintable(m_pServer->missingReason()));
    m_strDemo = m_dir.filePath(QStringLiteral("demo.sqlite"));
    QString error;
    QVERIFY2(DemoBook::create(m_strDemo, QDate(2025, 6, 1), &error), qPrintable(error));
    QVERIFY(sqliteExec(m_strDemo, "UPDATE modelList SET modelName='Ka''imanu \"Ö\" 😀' "
                                  "WHERE modelId=2"));
}

void LogBookCopyMysqlTest::init()
{
    m_strDb =
        m_pServer->createDatabase(QStringLiteral("copy_%1").arg(qApp->applicationPid()), false);
    QVERIFY(!m_strDb.isEmpty());
}

void LogBookCopyMysqlTest::cleanup()
{
    m_pServer->dropDatabase(m_strDb);
}

LogBookCopy::Report LogBookCopyMysqlTest::toServer(const QString& file, WorkProgress* progress)
{
    WorkProgress own;
    LogBookCopy copy(std::make_unique<SqLiteConnection>(file),
                     std::unique_ptr<SqlEngine>(m_pServer->newStore(m_strDb)));
    return copy.run(progress ? *progress : own);
}

QStringList LogBookCopyMysqlTest::tables()
{
    const QStringList row = m_pServer->firstRow(
        m_strDb, QStringLiteral("SELECT group_concat(table_name ORDER BY table_name) FROM "
                                "information_schema.tables WHERE table_schema=DATABASE()"));
    return row.value(0) == QLatin1String("NULL") ? QStringList()
                                                 : row.value(0).split(QLatin1Char(','));
}

void LogBookCopyMysqlTest::toTheServerAndBack()
{
    const LogBookCopy::Report there = toServer(m_strDemo);
    QCOMPARE(there.outcome, LogBookCopy::Outcome::Copied);
    SqLiteConnection demo(m_strDemo);
    QVERIFY(demo.openDb(nullptr));
    const QStringList rows = dumpStore(demo);
    std::unique_ptr<SqlBase> server(m_pServer->newStore(m_strDb));
    QVERIFY(server->openDb(nullptr));
    QCOMPARE(dumpStore(*server), rows);

    const QString back = m_dir.filePath(QStringLiteral("back.sqlite"));
    LogBookCopy home(LogBookCopy::storeLike(*server), back);
    WorkProgress progress;
    QCOMPARE(home.run(progress).outcome, LogBookCopy::Outcome::Copied);
    SqLiteConnection copied(back);
    QVERIFY(copied.openDb(nullptr));
    QCOMPARE(dumpStore(copied), rows);
}

void LogBookCopyMysqlTest::databaseWithRowsIsRefused()
{
    QVERIFY(toServer(m_strDemo).outcome == LogBookCopy::Outcome::Copied);
    const QString count = QStringLiteral("SELECT count(*) FROM logList");
    const QString before = m_pServer->firstRow(m_strDb, count).value(0);
    const LogBookCopy::Report again = toServer(m_strDemo);
    QCOMPARE(again.outcome, LogBookCopy::Outcome::Refused);
    QVERIFY2(again.problem.contains(QLatin1String("already holds a log book")),
             qPrintable(again.problem));
    QCOMPARE(m_pServer->firstRow(m_strDb, count).value(0), before);
}

void LogBookCopyMysqlTest::cancelDropsOnlyWhatTheCopyMade_data()
{
    QTest::addColumn<QString>("existing");
    QTest::addColumn<QString>("stage");
    QTest::newRow("no tables, cancelled half-way") << ""
                                                   << "Copying";
    QTest::newRow("an empty table of the user's, cancelled while comparing")
        << "CREATE TABLE modelList (modelName TEXT, modelTyp INT, modelId INT PRIMARY KEY)"
        << "Comparing";
}

void LogBookCopyMysqlTest::cancelDropsOnlyWhatTheCopyMade()
{
    QFETCH(QString, existing);
    QFETCH(QString, stage);
    QVERIFY(existing.isEmpty() || m_pServer->exec(m_strDb, existing));
    const QStringList before = tables();
    WorkProgress progress;
    progress.setWatcher([&](const WorkProgress::State& s) {
        if (s.stage == stage && s.done * 2 >= s.total)
            progress.cancel();
    });
    QCOMPARE(toServer(m_strDemo, &progress).outcome, LogBookCopy::Outcome::Cancelled);
    QCOMPARE(tables(), before);
    if (!existing.isEmpty())
        QCOMPARE(
            m_pServer->firstRow(m_strDb, QStringLiteral("SELECT count(*) FROM modelList")).value(0),
            QStringLiteral("0"));
}

void LogBookCopyMysqlTest::oldFileArrivesWithItsTexts()
{
    // As the first program stored texts: one byte a character, with a zero byte at the end.
    const QString old = m_dir.filePath(QStringLiteral("old.sqlite"));
    QVERIFY(QFile::copy(m_strDemo, old));
    QVERIFY(sqliteExec(old, "UPDATE accus SET accuBrand=CAST(X'4DFC6C6C657200' AS TEXT), "
                            "accuDescr=CAST(X'47726FDF6520353000' AS TEXT) WHERE accuId=1;"
                            "UPDATE logList SET date=CAST(X'323032342D30352D303400' AS TEXT) "
                            "WHERE id=1"));
    QCOMPARE(toServer(old).outcome, LogBookCopy::Outcome::Copied);
    const QStringList stored = m_pServer->firstRow(
        m_strDb, QStringLiteral("SELECT accuBrand,accuDescr,date FROM accus,logList "
                                "WHERE accus.accuId=1 AND id=1"));
    QCOMPARE(stored, (QStringList{QStringLiteral("Müller"), QStringLiteral("Große 50"),
                                  QStringLiteral("2024-05-04")}));
}

void LogBookCopyMysqlTest::textTooLongIsNamed()
{
    const QString file = m_dir.filePath(QStringLiteral("long.sqlite"));
    QVERIFY(QFile::copy(m_strDemo, file));
    // Older program versions stored it; a server's TEXT holds 65 535 bytes.
    QVERIFY(sqliteExec(file, "UPDATE accus SET accuDescr=replace(hex(zeroblob(35000)),'00','ä') "
                             "WHERE accuId=3"));
    const LogBookCopy::Report report = toServer(file);
    QCOMPARE(report.outcome, LogBookCopy::Outcome::Refused);
    QVERIFY2(report.problem.contains(QLatin1String("pack 3: 70000 bytes")),
             qPrintable(report.problem));
    QCOMPARE(tables(), QStringList());
}

namespace
{
// Runs the work here and stops it half-way through reading the log when asked to.
class WatchingRunner : public WorkRunner
{
public:
    bool run(const QString&, const Work& work) override
    {
        WorkProgress progress;
        progress.setWatcher([&](const WorkProgress::State& s) {
            if (!stages.contains(s.stage))
                stages << s.stage;
            if (s.stage == QLatin1String("Reading the log")) {
                reached = qMax(reached, s.total > 0 ? double(s.done) / double(s.total) : 0.0);
                if (stopHalfWay && reached >= 0.5)
                    progress.cancel();
            }
        });
        work(progress);
        return !progress.isCancelled();
    }
    bool stopHalfWay = false;
    QStringList stages;
    double reached = 0.0;
};
} // namespace

void LogBookCopyMysqlTest::largeBookOpensWithProgress_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("to the end") << false;
    QTest::newRow("cancelled half-way") << true;
}

void LogBookCopyMysqlTest::largeBookOpensWithProgress()
{
    QFETCH(bool, cancel);
    QVERIFY(toServer(m_strDemo).outcome == LogBookCopy::Outcome::Copied);
    QVERIFY(m_pServer->exec(
        m_strDb, QStringLiteral("SET SESSION max_recursive_iterations=1000000;"
                                "INSERT INTO logList(date,time,accuId,modelId,charged) "
                                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n "
                                "WHERE i<200000) SELECT DATE_ADD('2020-01-01', INTERVAL i%900 "
                                "DAY),'00:09:00',i%6+1,i%5+1,i FROM n")));
    LogBook book;
    WatchingRunner runner;
    book.setRunner(&runner);
    QVERIFY(book.open(std::make_unique<SqLiteConnection>(m_strDemo), nullptr));
    const int before = book.count();

    runner.stopHalfWay = cancel;
    runner.stages.clear();
    QSignalSpy replaced(&book, &LogBook::storeReplaced);
    QString error;
    QCOMPARE(book.open(std::unique_ptr<SqlBase>(m_pServer->newStore(m_strDb)), &error), !cancel);
    QStringList stages{QStringLiteral("Connecting"), QStringLiteral("Reading packs and models"),
                       QStringLiteral("Reading the log")};
    if (!cancel)
        stages << QStringLiteral("Ordering the log");
    QCOMPARE(runner.stages, stages);
    QCOMPARE(book.openCancelled(), cancel);
    QCOMPARE(replaced.count(), cancel ? 0 : 1);
    QVERIFY(runner.reached >= 0.5);
    // A cancelled open leaves the log book that was open before.
    QCOMPARE(book.count(), cancel ? before : before + 200000);
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    MysqlTestServer server;
    LogBookCopyMysqlTest test(&server);
    const int failures = QTest::qExec(&test, argc, argv);
    if (!server.isGiven())
        return server.reportMissing();
    return failures == 0 ? 0 : 1;
}

#include "tst_logbookcopymysql.moc"
