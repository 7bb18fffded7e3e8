// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The shared storage suite on a MariaDB server, and what only the server store does: refusing
// servers and databases it cannot use, finding its way back after a dropped connection, and
// the stored form of texts, dates and times.
#include "mysqltestserver.h"
#include "stderrcapture.h"
#include "storagesuite.h"
#include "tcpproxy.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <arpa/inet.h>
#include <functional>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

// A TCP port on 127.0.0.1: listening without ever answering, or closed.
class LocalPort
{
public:
    explicit LocalPort(bool listening)
    {
        m_fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_fd < 0 || bind(m_fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        m_iPort = ntohs(address.sin_port);
        // The kernel completes the connection into the backlog; nobody ever says a word.
        if (listening)
            listen(m_fd, 8);
        else
            closeSocket();
    }
    ~LocalPort() { closeSocket(); }
    LocalPort(const LocalPort&) = delete;
    LocalPort& operator=(const LocalPort&) = delete;
    int port() const { return m_iPort; }

private:
    void closeSocket()
    {
        if (m_fd >= 0)
            close(m_fd);
        m_fd = -1;
    }
    int m_fd = -1;
    int m_iPort = 0;
};

using StoreCall = std::function<bool(SqlBase*)>;

} // namespace

Q_DECLARE_METATYPE(StoreCall)

class MysqlStorageTest : public QObject
{
    Q_OBJECT

public:
    MysqlStorageTest(MysqlTestServer* server, QString database)
        : m_pServer(server), m_strDatabase(std::move(database))
    {
    }

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void connectFailures_data();
    void connectFailures();
    void reconnectAfterKill_data();
    void reconnectAfterKill();
    void failedReconnectKeepsCaches();
    void frozenServerFailsInBoundedTime();
    void insertWithLostReplyIsNotRepeated();
    void readingAccountOpensReadOnly();
    void statementErrorsAnswerFalse();
    void textsAreStoredAsUtf8_data();
    void textsAreStoredAsUtf8();
    void datesAndTimesAreStoredAsDateAndTime();
    void unchangedSaveMatchesItsRow();

private:
    MysqlConnection* openStore(const QString& database);
    QString connectionOf(MysqlConnection* db);
    bool kill(MysqlConnection* db);
    static bool seed(MysqlConnection* db, ModelEntry* m, AccuEntry* a);
    // A seeded store whose connections go through the proxy.
    bool openThrough(const TcpProxy& proxy, ModelEntry* m, AccuEntry* a);
    int count(const QString& sql)
    {
        return m_pServer->firstRow(m_strDatabase, sql).value(0).toInt();
    }

    MysqlTestServer* m_pServer;
    QString m_strDatabase;
    std::unique_ptr<MysqlConnection> m_db;
    QTemporaryDir m_dir;
};

void MysqlStorageTest::initTestCase()
{
    if (!m_pServer->isGiven())
        QSKIP(qPrintable(m_pServer->missingReason()));
    QVERIFY(m_dir.isValid());
}

void MysqlStorageTest::init()
{
    QVERIFY(m_pServer->clearTables(m_strDatabase));
}

void MysqlStorageTest::cleanup()
{
    m_db.reset();
}

MysqlConnection* MysqlStorageTest::openStore(const QString& database)
{
    m_db.reset(m_pServer->newStore(database));
    QString error;
    if (!m_db->openDb(&error))
        qWarning("store did not open: %s", qPrintable(error));
    return m_db.get();
}

QString MysqlStorageTest::connectionOf(MysqlConnection* db)
{
    return QString::number(db->threadId());
}

// Ends the store's server connection from outside, as a restarted server or an idle timeout
// would, and waits until the server has let go of it.
bool MysqlStorageTest::kill(MysqlConnection* db)
{
    const QString id = connectionOf(db);
    if (!m_pServer->exec(m_strDatabase, QStringLiteral("KILL CONNECTION %1").arg(id)))
        return false;
    for (int i = 0; i < 500; ++i) {
        if (count(QStringLiteral("SELECT count(*) FROM information_schema.processlist WHERE "
                                 "id=%1")
                      .arg(id)) == 0)
            return true;
        QThread::msleep(10);
    }
    return false;
}

void MysqlStorageTest::connectFailures_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");         // 0: the server's; -1: closed; -2: never answers
    QTest::addColumn<QString>("database"); // suffix of a database made for the case
    QTest::addColumn<QString>("tables");   // statements run in that database
    QTest::addColumn<QString>("password"); // null: the right one
    QTest::addColumn<QString>("expected"); // part of the error text

    const QString server = m_pServer->m_strHost;
    QTest::newRow("unreachable host")
        << "10.255.255.1" << 3306 << QString() << QString() << QString() << QString();
    QTest::newRow("unknown host name") << "no-such-host.invalid" << 3306 << QString() << QString()
                                       << QString() << "no-such-host.invalid";
    QTest::newRow("closed port") << "127.0.0.1" << -1 << QString() << QString() << QString()
                                 << "127.0.0.1";
    QTest::newRow("port that never answers")
        << "127.0.0.1" << -2 << QString() << QString() << QString() << QString();
    QTest::newRow("wrong password") << server << 0 << QString() << QString() << "wrong"
                                    << "Access denied";
    QTest::newRow("unknown database")
        << server << 0 << "nosuch" << QString() << QString() << "Unknown database";
    QTest::newRow("no tables") << server << 0 << "empty"
                               << "" << QString() << "accus";
    QTest::newRow("missing table")
        << server << 0 << "partial"
        << "CREATE TABLE accus (accuId INT, accuBrand TEXT, accuCapacity INT, numCells INT, "
           "accuStrength INT, accuTyp INT, accuDescr TEXT);"
           "CREATE TABLE logList (id INT, date DATE, time TIME, accuId INT, modelId INT, "
           "charged INT);"
        << QString() << "modelList";
    QTest::newRow("columns out of order")
        << server << 0 << "misordered"
        << "CREATE TABLE accus (accuId INT, accuBrand TEXT, accuCapacity INT, numCells INT, "
           "accuStrength INT, accuTyp INT, accuDescr TEXT);"
           "CREATE TABLE modelList (modelId INT, modelName TEXT, modelTyp INT);"
           "CREATE TABLE logList (id INT, date DATE, time TIME, accuId INT, modelId INT, "
           "charged INT);"
        << QString() << "table modelList has no column modelName";
}

void MysqlStorageTest::connectFailures()
{
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(QString, database);
    QFETCH(QString, tables);
    QFETCH(QString, password);
    QFETCH(QString, expected);

    const LocalPort closed(false), silent(true);
    if (port == 0)
        port = m_pServer->m_iPort;
    else if (port == -1)
        port = closed.port();
    else if (port == -2)
        port = silent.port();
    QString dbName = m_strDatabase;
    if (!database.isNull()) {
        dbName = m_pServer->m_strDatabase + QLatin1Char('_') + database;
        if (!tables.isNull()) {
            QCOMPARE(m_pServer->createDatabase(database, false), dbName);
            QVERIFY(tables.isEmpty() || m_pServer->exec(dbName, tables));
        }
    }

    MysqlConnection db(host, port, dbName, m_pServer->m_strUser,
                       password.isNull() ? m_pServer->m_strPassword : password);
    QString error;
    QElapsedTimer timer;
    timer.start();
    bool opened = true;
    QByteArray written;
    {
        StderrCapture capture(m_dir.filePath(QStringLiteral("connect.txt")));
        opened = db.openDb(&error);
        written = capture.text();
    }
    const qint64 elapsed = timer.elapsed();
    if (!database.isNull() && !tables.isNull())
        m_pServer->dropDatabase(dbName);

    QVERIFY(!opened);
    QVERIFY(!db.isConnected());
    QVERIFY2(!error.isEmpty(), "no error text");
    QVERIFY2(error.contains(expected), qPrintable(error));
    // The user must not wait on a server that does not answer.
    QVERIFY2(elapsed < 10000, qPrintable(QString::number(elapsed)));
    const QByteArray line = QStringLiteral("connect to: %1 : %2 db: %3, user: %4\n")
                                .arg(host)
                                .arg(port)
                                .arg(dbName, m_pServer->m_strUser)
                                .toUtf8();
    QVERIFY2(written.startsWith(line), written.constData());

    // Nothing works, and nothing throws.
    QVERIFY(db.m_models.isEmpty() && db.m_accus.isEmpty() && db.logCache().isEmpty());
    QVector<ModelEntry> models;
    QVERIFY(!db.readModels(&models));
    ModelEntry m(&db, QStringLiteral("x"), 0, -1);
    QCOMPARE(db.addModel(&m), -1);
    if (host == m_pServer->m_strHost)
        QVERIFY(!db.connectDb(nullptr)); // no text wanted: still refused
}

// One model, one pack and one use of them: 10 min on 2024-01-02.
bool MysqlStorageTest::seed(MysqlConnection* db, ModelEntry* m, AccuEntry* a)
{
    *m = ModelEntry(db, QStringLiteral("Cub"), 0, -1);
    *a = AccuEntry(db, QStringLiteral("Xa"), QStringLiteral("red"), 2200, 3, 25, 0, -1);
    if (!db->isConnected() || db->addModel(m) < 0 || db->addAccu(a) < 0)
        return false;
    LogEntry l(db, QDate(2024, 1, 2), QTime(0, 10), 500, a->m_iId, m->m_iId, -1);
    return db->addLogEntry(&l) >= 0;
}

bool MysqlStorageTest::openThrough(const TcpProxy& proxy, ModelEntry* m, AccuEntry* a)
{
    m_db.reset(m_pServer->newStore(m_strDatabase));
    m_db->m_strHost = QStringLiteral("127.0.0.1");
    m_db->m_iPort = proxy.port();
    return m_db->openDb(nullptr) && seed(m_db.get(), m, a);
}

void MysqlStorageTest::reconnectAfterKill_data()
{
    QTest::addColumn<StoreCall>("call");
    QTest::addColumn<QString>("check"); // a query on the database whose first value must be 1
    auto row = [](const char* name, StoreCall call, const char* check) {
        QTest::newRow(name) << call << QString::fromLatin1(check);
    };
    const char* untouched = "SELECT count(*)=1 FROM modelList";
    row(
        "readModels",
        [](SqlBase* db) {
            QVector<ModelEntry> out;
            return db->readModels(&out) && out.size() == 1;
        },
        untouched);
    row(
        "readModel",
        [](SqlBase* db) {
            ModelEntry out;
            return db->readModel(db->m_models.value(0).m_iId, &out) &&
                   out.m_strName == QLatin1String("Cub");
        },
        untouched);
    row(
        "readLogEntries filtered",
        [](SqlBase* db) {
            QVector<LogEntry*> out;
            db->setFilterDates(QDate(2024, 1, 2), QDate(2024, 1, 2));
            const bool ok = db->readLogEntries(&out, SqlBase::FilterDate);
            const int n = out.size();
            qDeleteAll(out);
            return ok && n == 1;
        },
        untouched);
    row(
        "addModel once",
        [](SqlBase* db) {
            ModelEntry e(db, QStringLiteral("new"), 1, -1);
            return db->addModel(&e) >= 0 && db->m_models.size() == 2;
        },
        "SELECT count(*)=1 FROM modelList WHERE modelName='new'");
    row(
        "changeModel",
        [](SqlBase* db) {
            ModelEntry e(db, QStringLiteral("Cub 2"), 1, -1);
            return db->changeModel(db->m_models.value(0).m_iId, &e);
        },
        "SELECT count(*)=1 FROM modelList WHERE modelName='Cub 2'");
    row(
        "deleteModel",
        [](SqlBase* db) {
            return db->deleteModel(db->m_models.value(0).m_iId) && db->m_models.isEmpty();
        },
        "SELECT count(*)=0 FROM modelList");
    row(
        "addLogEntry once",
        [](SqlBase* db) {
            LogEntry e(db, QDate(2024, 2, 2), QTime(0, 5), 100, 1, 1, -1);
            return db->addLogEntry(&e) >= 0 && db->logCache().size() == 2;
        },
        "SELECT count(*)=2 FROM logList");
    row(
        "model statistics",
        [](SqlBase* db) {
            ModelStatEntry s;
            return db->getModelStats(db->m_models.value(0).m_iId, &s) && s.m_iCount == 1;
        },
        untouched);
    row(
        "pack times",
        [](SqlBase* db) {
            QTime total, average;
            int count = 0;
            return db->readAccuTimes(db->m_accus.value(0).m_iId, &total, &average, &count) &&
                   count == 1 && total == QTime(0, 10);
        },
        untouched);
}

void MysqlStorageTest::reconnectAfterKill()
{
    QFETCH(StoreCall, call);
    QFETCH(QString, check);
    MysqlConnection* db = openStore(m_strDatabase);
    ModelEntry m;
    AccuEntry a;
    QVERIFY(seed(db, &m, &a));
    const QString before = connectionOf(db);

    QVERIFY(kill(db));
    QVERIFY(call(db));
    QCOMPARE(m_pServer->firstRow(m_strDatabase, check).value(0), QStringLiteral("1"));
    QVERIFY(connectionOf(db) != before);
    // The new connection counts matched rows too: saving unchanged values still succeeds.
    ModelEntry same(db, QStringLiteral("same"), 2, -1);
    const int id = db->addModel(&same);
    QVERIFY(id >= 0);
    QVERIFY(db->changeModel(id, &same));
    ModelEntry read;
    QVERIFY(db->readModel(id, &read));
    QCOMPARE(read.m_strName, QStringLiteral("same"));
}

void MysqlStorageTest::failedReconnectKeepsCaches()
{
    MysqlConnection* db = openStore(m_strDatabase);
    ModelEntry m;
    AccuEntry a;
    QVERIFY(seed(db, &m, &a));

    // The server is gone for good: the way back leads to a closed port.
    const LocalPort closed(false);
    const int serverPort = db->m_iPort;
    db->m_iPort = closed.port();
    QVERIFY(kill(db));

    QByteArray written;
    {
        StderrCapture capture(m_dir.filePath(QStringLiteral("reconnect.txt")));
        ModelEntry n(db, QStringLiteral("lost"), 0, -1);
        QCOMPARE(db->addModel(&n), -1);
        QCOMPARE(n.m_iId, -1);
        ModelEntry c(db, QStringLiteral("renamed"), 1, -1);
        QVERIFY(!db->changeModel(m.m_iId, &c));
        QCOMPARE(c.m_iId, -1);
        QVERIFY(!db->deleteAccu(a.m_iId));
        LogEntry e(db, QDate(2024, 1, 3), QTime(0, 1), 1, 1, 1, -1);
        QCOMPARE(db->addLogEntry(&e), -1);
        QVector<ModelEntry> models{ModelEntry(db, QStringLiteral("kept"), 0, 5)};
        QVERIFY(!db->readModels(&models));
        QCOMPARE(models.size(), 1);
        QVector<LogEntry*> rows;
        QVERIFY(!db->readLogEntries(&rows, 0));
        QVERIFY(rows.isEmpty());
        ModelStatEntry s;
        QVERIFY(!db->getModelStats(m.m_iId, &s));
        written = capture.text();
    }
    QVERIFY2(written.contains("MysqlError: "), written.constData());

    // The caches still hold what was there and still answer.
    QVERIFY(db->m_bModelsCached && db->m_bAccusCached && db->m_bLogCached);
    ModelEntry cached;
    QVERIFY(db->getModel(m.m_iId, &cached));
    QCOMPARE(cached.m_strName, QStringLiteral("Cub"));
    QCOMPARE(db->m_accus.size(), 1);
    QCOMPARE(db->logCache().size(), 1);

    // Offline: nothing is tried until a reload finds the server again.
    QVERIFY(db->isOffline());
    QCOMPARE(db->lastFailure(), SqlBase::Failure::Offline);
    db->m_iPort = serverPort;
    ModelEntry back(db, QStringLiteral("back"), 0, -1);
    QCOMPARE(db->addModel(&back), -1);
    QVERIFY(db->reload(nullptr));
    QVERIFY(!db->isOffline());
    QVERIFY(db->addModel(&back) >= 0);
    QCOMPARE(db->m_models.size(), 2);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM modelList")), 2);
}

// A server that stops answering (stopped with SIGSTOP, or out of the network's reach) costs
// the first operation a bounded wait; then the store is offline and fails at once, until a
// reload finds the server again.
void MysqlStorageTest::frozenServerFailsInBoundedTime()
{
    TcpProxy proxy(m_pServer->m_iPort);
    ModelEntry m;
    AccuEntry a;
    QVERIFY(openThrough(proxy, &m, &a));

    proxy.setFrozen(true);
    QElapsedTimer clock;
    clock.start();
    ModelEntry n(m_db.get(), QStringLiteral("frozen"), 0, -1);
    QCOMPARE(m_db->addModel(&n), -1);
    QVERIFY2(clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(m_db->isOffline());
    clock.restart();
    QVERIFY(!m_db->changeModel(m.m_iId, &n));
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(m_db->lastFailure(), SqlBase::Failure::Offline);
    QVERIFY(!m_db->reload(nullptr)); // one attempt to connect, bounded as well

    proxy.setFrozen(false);
    QVERIFY(m_db->reload(nullptr));
    QVERIFY(m_db->addModel(&n) >= 0);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM modelList WHERE modelName='frozen'")), 1);
}

// The insert reached the server, its answer did not: found after reconnecting, not repeated.
void MysqlStorageTest::insertWithLostReplyIsNotRepeated()
{
    TcpProxy proxy(m_pServer->m_iPort);
    ModelEntry m;
    AccuEntry a;
    QVERIFY(openThrough(proxy, &m, &a));

    proxy.dropAfter("INSERT INTO logList");
    LogEntry e(m_db.get(), QDate(2024, 4, 1), QTime(0, 9), 640, a.m_iId, m.m_iId, -1);
    const int id = m_db->addLogEntry(&e);
    QVERIFY2(id >= 0, qPrintable(m_db->lastErrorText()));
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM logList WHERE charged=640")), 1);
    QCOMPARE(count(QStringLiteral("SELECT id FROM logList WHERE charged=640")), id);
    QCOMPARE(m_db->logCache().size(), 2);
}

// An account that may only read opens the log book read-only instead of failing each write.
void MysqlStorageTest::readingAccountOpensReadOnly()
{
    if (!qEnvironmentVariableIsSet("TARVELO_MYSQL_READER"))
        QSKIP("the server has no account that only reads");
    m_db.reset(m_pServer->newStore(m_strDatabase));
    m_db->m_strUser = qEnvironmentVariable("TARVELO_MYSQL_READER");
    QVERIFY(m_db->openDb(nullptr));
    QVERIFY(m_db->isReadOnly());
    ModelEntry m(m_db.get(), QStringLiteral("refused"), 0, -1);
    QCOMPARE(m_db->addModel(&m), -1);
    QCOMPARE(m_db->lastFailure(), SqlBase::Failure::ReadOnly);
    openStore(m_strDatabase);
    QVERIFY(!m_db->isReadOnly());
}

void MysqlStorageTest::statementErrorsAnswerFalse()
{
    const QString name = m_pServer->createDatabase(QStringLiteral("broken"));
    QVERIFY(!name.isEmpty());
    MysqlConnection* db = openStore(name);
    QVERIFY(db->isConnected());
    ModelEntry m(db, QStringLiteral("Cub"), 0, -1);
    QVERIFY(db->addModel(&m) >= 0);
    LogEntry l(db, QDate(2024, 1, 2), QTime(0, 10), 500, 1, m.m_iId, -1);
    QVERIFY(db->addLogEntry(&l) >= 0);
    QVERIFY(m_pServer->exec(name, QStringLiteral("DROP TABLE logList")));

    QByteArray written;
    {
        StderrCapture capture(m_dir.filePath(QStringLiteral("statement.txt")));
        LogEntry e(db, QDate(2024, 1, 3), QTime(0, 1), 1, 1, 1, -1);
        QCOMPARE(db->addLogEntry(&e), -1);
        QVERIFY(!db->changeLogEntry(l.m_iId, &e));
        QVERIFY(!db->deleteLogEntry(l.m_iId));
        QVERIFY(!db->readLogEntry(l.m_iId, &e));
        QVector<LogEntry*> rows;
        QVERIFY(!db->readLogEntries(&rows, 0));
        QVERIFY(rows.isEmpty());
        QTime total, average;
        int count = 0;
        QVERIFY(!db->readModelTimes(m.m_iId, &total, &average, &count));
        double current = 0;
        int rest = 0;
        QVERIFY(!db->readModelCurrentAndRest(m.m_iId, &current, &rest));
        written = capture.text();
    }
    QVERIFY2(written.contains("MysqlError: ") && written.contains("logList"), written.constData());
    QCOMPARE(db->logCache().size(), 1);

    // The connection itself is fine.
    ModelEntry read;
    QVERIFY(db->readModel(m.m_iId, &read));
    m_db.reset();
    QVERIFY(m_pServer->dropDatabase(name));
}

void MysqlStorageTest::textsAreStoredAsUtf8_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("quote and backslash") << QStringLiteral("O'Neil \\ \"x\" %1 %0q");
    QTest::newRow("umlauts") << QStringLiteral("Akku grün Ärger");
    QTest::newRow("four-byte characters") << QStringLiteral("Heli 🚁 𝄞");
    QTest::newRow("control characters") << QStringLiteral("tab\there\nnew line\r");
    QTest::newRow("longest") << QString(SqlBase::kMaxTextLength - 1, QChar(0x00e9)); // and "!"
}

void MysqlStorageTest::textsAreStoredAsUtf8()
{
    QFETCH(QString, text);
    MysqlConnection* db = openStore(m_strDatabase);
    AccuEntry e(db, text, text + QStringLiteral("!"), 1, 2, 3, 4, -1);
    const int id = db->addAccu(&e);
    QVERIFY(id >= 0);
    const QStringList stored = m_pServer->firstRow(
        m_strDatabase,
        QStringLiteral("SELECT hex(accuBrand), hex(accuDescr) FROM accus WHERE accuId=%1").arg(id));
    QCOMPARE(stored.value(0), QString::fromLatin1(text.toUtf8().toHex().toUpper()));
    QCOMPARE(stored.value(1),
             QString::fromLatin1((text + QStringLiteral("!")).toUtf8().toHex().toUpper()));
    AccuEntry read;
    QVERIFY(db->readAccu(id, &read));
    QCOMPARE(read.m_strBrand, text);
    QCOMPARE(read.m_strDescr, text + QStringLiteral("!"));
}

void MysqlStorageTest::datesAndTimesAreStoredAsDateAndTime()
{
    MysqlConnection* db = openStore(m_strDatabase);
    LogEntry e(db, QDate(2024, 3, 9), QTime(0, 12, 34), 1650, 1, 2, -1);
    const int id = db->addLogEntry(&e);
    QVERIFY(id >= 0);
    const QStringList stored = m_pServer->firstRow(
        m_strDatabase,
        QStringLiteral("SELECT date, time, date + INTERVAL 1 DAY, time_to_sec(time) FROM logList "
                       "WHERE id=%1")
            .arg(id));
    QCOMPARE(stored, (QStringList{QStringLiteral("2024-03-09"), QStringLiteral("00:12:34"),
                                  QStringLiteral("2024-03-10"), QStringLiteral("754")}));
}

void MysqlStorageTest::unchangedSaveMatchesItsRow()
{
    MysqlConnection* db = openStore(m_strDatabase);
    MysqlConnection other(m_pServer->m_strHost, m_pServer->m_iPort, m_strDatabase,
                          m_pServer->m_strUser, m_pServer->m_strPassword);
    QVERIFY(other.openDb(nullptr));
    AccuEntry a(db, QStringLiteral("Xa"), QStringLiteral("red"), 2200, 3, 25, 0, -1);
    const int id = db->addAccu(&a);
    QVERIFY(id >= 0);
    // Another program already saved the same values: the row is there, so this is a success.
    // The cache learns of what the other program added at the next reload.
    AccuEntry b(&other, QStringLiteral("Yb"), QStringLiteral("blue"), 1300, 2, 20, 1, -1);
    QVERIFY(other.addAccu(&b) >= 0);
    AccuEntry same = a;
    same.m_iCapacity = 2400;
    QVERIFY(other.changeAccu(id, &same));
    QVERIFY(db->changeAccu(id, &same));
    QCOMPARE(db->m_accus.size(), 1);
    QCOMPARE(db->m_accus[0].m_iCapacity, 2400);
    QVERIFY(db->reload(nullptr));
    QCOMPARE(db->m_accus.size(), 2);
    other.disconnectDb();
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    MysqlTestServer server;
    if (!server.isGiven()) {
        MysqlStorageTest skipped(&server, QString());
        QTest::qExec(&skipped, argc, argv);
        return server.reportMissing();
    }
    // A database of this program's own, so that programs can run side by side.
    const QString database =
        server.createDatabase(QStringLiteral("storage_%1").arg(QCoreApplication::applicationPid()));
    if (database.isEmpty())
        return 1;

    StorageBackend mysql;
    mysql.createEmpty = [&]() -> SqlBase* {
        if (!server.clearTables(database))
            return nullptr;
        return server.newStore(database);
    };
    mysql.createSame = [&]() -> SqlBase* { return server.newStore(database); };

    int failures = 0;
    {
        StorageSuite suite(mysql);
        failures += runTestObject(&suite, argc, argv);
    }
    {
        MysqlStorageTest only(&server, database);
        failures += runTestObject(&only, argc, argv);
    }
    server.dropDatabase(database);
    return failures == 0 ? 0 : 1;
}

#include "tst_mysqlstorage.moc"
