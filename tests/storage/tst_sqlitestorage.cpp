// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The shared storage suite on SQLite files, and what only the file store does: refusing foreign
// files, the stored form of texts, dates and times, and the files older programs wrote.
#include "applicationid.h"
#include "immutable.h"
#include "stderrcapture.h"
#include "storagesuite.h"

#include "storage/sqliteconnection.h"
#include "storage/sqliteschema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <sqlite3.h>

#include <cstdio>
#include <memory>
#include <unistd.h>

namespace
{

// A raw second connection for writing fixtures and looking at what is stored.
class RawDb
{
public:
    explicit RawDb(const QString& file)
    {
        if (sqlite3_open_v2(file.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr))
            qWarning("raw open failed: %s", sqlite3_errmsg(m_db));
    }
    ~RawDb() { sqlite3_close(m_db); }
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;

    bool exec(const char* sql)
    {
        char* error = nullptr;
        const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &error);
        if (rc != SQLITE_OK)
            qWarning("raw exec failed: %s", error ? error : "");
        sqlite3_free(error);
        return rc == SQLITE_OK;
    }

    // The first column of the first row, as bytes.
    QByteArray value(const char* sql)
    {
        sqlite3_stmt* st = nullptr;
        QByteArray out;
        if (sqlite3_prepare_v2(m_db, sql, -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW) {
            const char* data = static_cast<const char*>(sqlite3_column_blob(st, 0));
            out = QByteArray(data, sqlite3_column_bytes(st, 0));
        }
        sqlite3_finalize(st);
        return out;
    }

    // Runs an INSERT whose ?-parameters are all texts, bound with exactly these bytes.
    bool insertTexts(const char* sql, const QList<QByteArray>& texts)
    {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &st, nullptr) != SQLITE_OK)
            return false;
        for (int i = 0; i < texts.size(); ++i)
            sqlite3_bind_text(st, i + 1, texts[i].constData(), int(texts[i].size()),
                              SQLITE_TRANSIENT);
        const bool ok = sqlite3_step(st) == SQLITE_DONE;
        sqlite3_finalize(st);
        return ok;
    }

private:
    sqlite3* m_db = nullptr;
};

// A text as an older program stored it: single-byte form plus the terminating zero byte.
QByteArray legacy(const char* latin1)
{
    return QByteArray(latin1, int(qstrlen(latin1)) + 1);
}

QByteArray readAll(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& file, const QByteArray& bytes)
{
    QFile f(file);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace

class SqliteStorageTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void missingFileIsNotCreated();
    void foreignFilesAreRefusedAndUntouched_data();
    void foreignFilesAreRefusedAndUntouched();
    void connectWritesDiagnosticLine();
    void failedReopenEmptiesCaches();
    void damagedFileOpensReadOnly_data();
    void damagedFileOpensReadOnly();
    void textsAreStoredAsUtf8WithoutZeroByte_data();
    void textsAreStoredAsUtf8WithoutZeroByte();
    void datesAndTimesAreStoredAsText();
    void legacyRowsAreRead();
    void legacyRowsPassTheDateFilter_data();
    void legacyRowsPassTheDateFilter();
    void legacyRowsInStatistics();
    void lockedDatabaseRefusesChanges();
    void readOnlyFileRefusesChanges_data();
    void readOnlyFileRefusesChanges();
    void legacyRowsCanBeChangedAndDeleted_data();
    void legacyRowsCanBeChangedAndDeleted();
    void failedPreparationIsReported();
    void schemaCreationRefusesExistingFile();
    void booksOfAnyApplicationIdOpen_data();
    void booksOfAnyApplicationIdOpen();

private:
    QString freshDb(const char* name);

    QTemporaryDir m_dir;
    int m_iCounter = 0;
};

QString SqliteStorageTest::freshDb(const char* name)
{
    const QString file = m_dir.filePath(QStringLiteral("%1-%2.sqlite").arg(name).arg(++m_iCounter));
    QString error;
    if (!SqliteSchema::createDatabase(file, &error))
        qWarning("%s", qPrintable(error));
    return file;
}

void SqliteStorageTest::init()
{
    QVERIFY(m_dir.isValid());
}

void SqliteStorageTest::missingFileIsNotCreated()
{
    const QString file = m_dir.filePath(QStringLiteral("missing.sqlite"));
    SqLiteConnection db(file);
    QString error;
    QVERIFY(!db.openDb(&error));
    QVERIFY2(error.startsWith(QLatin1String("SqLiteError: ")), qPrintable(error));
    QVERIFY(error.size() > 13);
    QVERIFY(!db.isConnected());
    QVERIFY(!QFile::exists(file));
    QVERIFY(!QFile::exists(file + QStringLiteral("-journal")));
    QVERIFY(db.m_models.isEmpty() && db.m_accus.isEmpty() && db.logCache().isEmpty());
    QVERIFY(!db.connectDb(nullptr)); // no text wanted: still refused, nothing written
    QVERIFY(!QFile::exists(file));
}

void SqliteStorageTest::foreignFilesAreRefusedAndUntouched_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("schema");
    QTest::addColumn<QString>("message");
    QByteArray noise;
    quint32 x = 12345;
    for (int i = 0; i < 8192; ++i) {
        x = x * 1103515245u + 12345u;
        noise.append(char(x >> 24));
    }
    QTest::newRow("text file") << QByteArray("date;time\n2024-01-01;00:10:00\n").repeated(40)
                               << QString() << "file is not a database";
    QTest::newRow("random bytes") << noise << QString() << "file is not a database";
    QTest::newRow("empty file") << QByteArray() << QString() << "table accus is missing";
    QTest::newRow("other database")
        << QByteArray() << "CREATE TABLE notes(x TEXT); INSERT INTO notes VALUES ('keep');"
        << "table accus is missing";
    QTest::newRow("log table missing")
        << QByteArray()
        << "CREATE TABLE accus(accuId INTEGER PRIMARY KEY, accuBrand, accuCapacity, numCells, "
           "accuStrength, accuTyp, accuDescr); CREATE TABLE modelList(modelName, modelTyp, "
           "modelId INTEGER PRIMARY KEY);"
        << "table logList is missing";
    QTest::newRow("column missing")
        << QByteArray()
        << "CREATE TABLE accus(accuId INTEGER PRIMARY KEY, accuBrand, accuCapacity, numCells, "
           "accuStrength, accuTyp, accuDescr); CREATE TABLE modelList(modelName, modelTyp, "
           "modelId INTEGER PRIMARY KEY); CREATE TABLE logList(id INTEGER PRIMARY KEY, date, "
           "time, accuId, modelId);"
        << "table logList has no column charged";
    QTest::newRow("columns out of order")
        << QByteArray()
        << "CREATE TABLE accus(accuId INTEGER PRIMARY KEY, accuBrand, accuCapacity, numCells, "
           "accuStrength, accuTyp, accuDescr); CREATE TABLE modelList(modelId INTEGER PRIMARY "
           "KEY, modelName, modelTyp); CREATE TABLE logList(id INTEGER PRIMARY KEY, date, "
           "time, accuId, modelId, charged);"
        << "table modelList has no column modelName at position 1";
}

void SqliteStorageTest::foreignFilesAreRefusedAndUntouched()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, schema);
    QFETCH(QString, message);
    const QString file = m_dir.filePath(QStringLiteral("foreign-%1").arg(++m_iCounter));
    QVERIFY(writeAll(file, content));
    if (!schema.isEmpty()) {
        RawDb raw(file);
        QVERIFY(raw.exec(schema.toUtf8().constData()));
    }
    const QByteArray before = readAll(file);

    SqLiteConnection db(file);
    QString error;
    QVERIFY(!db.openDb(&error));
    QCOMPARE(error, QStringLiteral("SqLiteError: ") + message);
    QVERIFY(!db.isConnected());
    QVERIFY(db.m_models.isEmpty() && db.m_accus.isEmpty() && db.logCache().isEmpty());
    QVector<ModelEntry> models;
    QVERIFY(!db.readModels(&models));
    ModelEntry m(&db, QStringLiteral("x"), 0, -1);
    QCOMPARE(db.addModel(&m), -1);

    QCOMPARE(readAll(file), before);
    QVERIFY(!QFile::exists(file + QStringLiteral("-journal")));
}

void SqliteStorageTest::connectWritesDiagnosticLine()
{
    const QString file = freshDb("diag");
    SqLiteConnection db(file);
    StderrCapture capture(m_dir.filePath(QStringLiteral("stderr-connect.txt")));
    QVERIFY(db.connectDb(nullptr));
    QCOMPARE(capture.text(), QByteArray("connect to: ") + file.toUtf8() + " \n");
}

void SqliteStorageTest::failedReopenEmptiesCaches()
{
    const QString file = freshDb("reopen");
    SqLiteConnection db(file);
    QVERIFY(db.openDb(nullptr));
    ModelEntry m(&db, QStringLiteral("M"), 0, -1);
    QVERIFY(db.addModel(&m) >= 0);
    LogEntry e(&db, QDate(2024, 1, 1), QTime(0, 1), 1, 1, m.m_iId, -1);
    QVERIFY(db.addLogEntry(&e) >= 0);
    QVERIFY(QFile::rename(file, file + QStringLiteral(".moved")));

    QString error;
    QVERIFY(!db.openDb(&error));
    QVERIFY(error.startsWith(QLatin1String("SqLiteError: ")));
    QVERIFY(!QFile::exists(file));
    QVector<ModelEntry> models;
    QVERIFY(!db.getModels(&models));
    QVERIFY(models.isEmpty());
    QVERIFY(db.logCache().isEmpty());
    ModelEntry found;
    QVERIFY(!db.getModel(m.m_iId, &found));
}

void SqliteStorageTest::damagedFileOpensReadOnly_data()
{
    QTest::addColumn<bool>("cut"); // else a b-tree page of the log gets a garbage header
    QTest::newRow("cut in its last page") << true;
    QTest::newRow("log page header overwritten") << false;
}

// What can be read is shown, how much could not is said, and nothing is written into it.
void SqliteStorageTest::damagedFileOpensReadOnly()
{
    QFETCH(bool, cut);
    const QString file = freshDb("damaged");
    int leaf = 0, pageSize = 0;
    {
        RawDb raw(file);
        QVERIFY(
            raw.exec("INSERT INTO accus(accuBrand,accuCapacity) VALUES ('b',2200);"
                     "INSERT INTO modelList(modelName) VALUES ('m');"
                     "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<600)"
                     " INSERT INTO logList(date,time,accuId,modelId,charged)"
                     " SELECT printf('2024-%02d-%02d',i%12+1,i%28+1),'00:10:00',1,1,i FROM n;"));
        pageSize = raw.value("PRAGMA page_size").toInt();
        leaf = raw.value("SELECT rootpage FROM sqlite_master WHERE name='logList'").toInt();
    }
    QFile f(file);
    if (cut) {
        QVERIFY(f.resize(f.size() - 1500));
    } else {
        // The log's root is an interior page; its first cell leads to the first leaf.
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.seek(qint64(leaf - 1) * pageSize));
        const QByteArray root = f.read(pageSize);
        QCOMPARE(int(root.at(0)), 5);
        const int cell = (uchar(root.at(12)) << 8) | uchar(root.at(13));
        leaf = qFromBigEndian<qint32>(root.constData() + cell);
        QVERIFY(f.seek(qint64(leaf - 1) * pageSize));
        QCOMPARE(f.write(QByteArray(8, '\xff')), qint64(8));
        f.close();
    }
    const QByteArray before = readAll(file);

    SqLiteConnection db(file);
    QString error;
    QVERIFY2(db.openDb(&error), qPrintable(error));
    QVERIFY(!db.damage().isEmpty());
    QVERIFY(db.isReadOnly());
    QVERIFY(cut || db.logCount() < 600); // a whole leaf of entries is lost
    QVERIFY(db.logCount() > 400);        // the other leaves are read
    QCOMPARE(db.logCount() + db.unreadableRows(), 600);
    QCOMPARE(db.m_accus.size(), 1);
    ModelEntry m(&db, QStringLiteral("new"), 0, -1);
    QCOMPARE(db.addModel(&m), -1);
    QCOMPARE(readAll(file), before);
}

void SqliteStorageTest::textsAreStoredAsUtf8WithoutZeroByte_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QStringLiteral("Easy Star");
    QTest::newRow("umlaut") << QStringLiteral("Akku grün");
    QTest::newRow("mixed scripts") << QStringLiteral("Ärger ✈ 日本");
    QTest::newRow("quote") << QStringLiteral("O'Neil");
    QTest::newRow("emoji") << QStringLiteral("😀");
    QTest::newRow("empty") << QStringLiteral("");
}

void SqliteStorageTest::textsAreStoredAsUtf8WithoutZeroByte()
{
    QFETCH(QString, text);
    const QString file = freshDb("utf8");
    SqLiteConnection db(file);
    QVERIFY(db.openDb(nullptr));
    ModelEntry m(&db, text, 0, -1);
    QVERIFY(db.addModel(&m) >= 0);
    AccuEntry a(&db, text, text + QStringLiteral("!"), 1, 1, 1, 0, -1);
    QVERIFY(db.addAccu(&a) >= 0);

    RawDb raw(file);
    QCOMPARE(raw.value("SELECT typeof(modelName) FROM modelList"), QByteArray("text"));
    QCOMPARE(raw.value("SELECT CAST(modelName AS BLOB) FROM modelList"), text.toUtf8());
    QCOMPARE(raw.value("SELECT CAST(accuBrand AS BLOB) FROM accus"), text.toUtf8());
    QCOMPARE(raw.value("SELECT CAST(accuDescr AS BLOB) FROM accus"), (text + "!").toUtf8());
    // Another program comparing with a plain literal finds it.
    const QByteArray query =
        "SELECT count(*) FROM modelList WHERE modelName='" + text.toUtf8().replace("'", "''") + "'";
    QCOMPARE(raw.value(query.constData()), QByteArray("1"));
}

void SqliteStorageTest::datesAndTimesAreStoredAsText()
{
    const QString file = freshDb("datetime");
    SqLiteConnection db(file);
    QVERIFY(db.openDb(nullptr));
    LogEntry e(&db, QDate(2024, 3, 9), QTime(0, 12, 34), 1650, 2, 3, -1);
    QVERIFY(db.addLogEntry(&e) >= 0);
    RawDb raw(file);
    QCOMPARE(raw.value("SELECT CAST(date AS BLOB) FROM logList"), QByteArray("2024-03-09"));
    QCOMPARE(raw.value("SELECT CAST(time AS BLOB) FROM logList"), QByteArray("00:12:34"));
    QCOMPARE(raw.value("SELECT typeof(date) || typeof(time) FROM logList"), QByteArray("texttext"));
    QCOMPARE(raw.value("SELECT accuId || ',' || modelId || ',' || charged FROM logList"),
             QByteArray("2,3,1650"));
}

namespace
{
// Rows as an older program wrote them: Latin-1 texts and dates with a trailing zero byte.
void writeLegacyRows(const QString& file)
{
    RawDb raw(file);
    raw.insertTexts("INSERT INTO modelList(modelName,modelTyp) VALUES (?,1)",
                    {legacy("Akku gr\xfcn")});
    raw.insertTexts("INSERT INTO modelList(modelName,modelTyp) VALUES (?,2)",
                    {QByteArray("abc\0tail", 8)});
    raw.insertTexts("INSERT INTO accus(accuBrand,accuDescr,accuCapacity,numCells,accuStrength,"
                    "accuTyp) VALUES (?,?,2200,3,25,0)",
                    {legacy("O'Neil"), legacy("M\xfcller \xb0")});
    const char* log = "INSERT INTO logList(date,time,accuId,modelId,charged) VALUES (?,?,1,1,?)";
    raw.insertTexts(log, {legacy("2024-03-10"), legacy("01:00:00"), "1100"});
    raw.insertTexts(log, {legacy("2024-03-12"), legacy("00:20:00"), "500"});
    raw.insertTexts(log, {legacy("2024-03-20"), legacy("00:00:00"), "300"});
    raw.insertTexts(log, {legacy("2024-03-21"), legacy("00:10:00"), "0"});
    // A row of the current form among them.
    raw.insertTexts(log, {"2024-03-20", "00:30:00", "0"});
}
} // namespace

void SqliteStorageTest::legacyRowsAreRead()
{
    const QString file = freshDb("legacy");
    writeLegacyRows(file);
    SqLiteConnection db(file);
    QVERIFY(db.openDb(nullptr));

    QVector<ModelEntry> models;
    QVERIFY(db.getModels(&models));
    QCOMPARE(models.size(), 2);
    QCOMPARE(models[0].m_strName, QStringLiteral("Akku grün"));
    QCOMPARE(models[1].m_strName, QStringLiteral("abc"));
    AccuEntry a;
    QVERIFY(db.readAccu(1, &a));
    QCOMPARE(a.m_strBrand, QStringLiteral("O'Neil"));
    QCOMPARE(a.m_strDescr, QStringLiteral("Müller °"));

    const QVector<LogEntry*>& log = db.logCache();
    QCOMPARE(log.size(), 5);
    QCOMPARE(log[0]->m_date, QDate(2024, 3, 10));
    QCOMPARE(log[0]->m_time, QTime(1, 0));
    QCOMPARE(log[1]->m_time, QTime(0, 20));
    QCOMPARE(log.last()->m_date, QDate(2024, 3, 21));
    for (const LogEntry* e : log) {
        QVERIFY(e->m_date.isValid());
        QVERIFY(e->m_time.isValid());
    }

    // Saving an old row writes it in the current form.
    ModelEntry m = models[0];
    QVERIFY(db.changeModel(m.m_iId, &m));
    RawDb raw(file);
    QCOMPARE(raw.value("SELECT CAST(modelName AS BLOB) FROM modelList WHERE modelId=1"),
             QStringLiteral("Akku grün").toUtf8());
}

void SqliteStorageTest::legacyRowsPassTheDateFilter_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<QList<QDate>>("dates");
    const QDate d10(2024, 3, 10), d12(2024, 3, 12), d20(2024, 3, 20), d21(2024, 3, 21);
    QTest::newRow("both days included") << d10 << d20 << QList<QDate>{d10, d12, d20, d20};
    QTest::newRow("start equals end") << d12 << d12 << QList<QDate>{d12};
    QTest::newRow("start equals end, old and new row") << d20 << d20 << QList<QDate>{d20, d20};
    QTest::newRow("last day only") << d21 << d21 << QList<QDate>{d21};
    QTest::newRow("day before") << QDate(2024, 3, 9) << QDate(2024, 3, 9) << QList<QDate>{};
}

void SqliteStorageTest::legacyRowsPassTheDateFilter()
{
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(QList<QDate>, dates);
    const QString file = freshDb("legacyfilter");
    writeLegacyRows(file);
    SqLiteConnection db(file);
    QVERIFY(db.openDb(nullptr));
    db.setFilterDates(start, end);
    QVector<LogEntry*> rows;
    QVERIFY(db.readLogEntries(&rows, SqlBase::FilterDate));
    QList<QDate> got;
    for (const LogEntry* e : rows)
        got << e->m_date;
    qDeleteAll(rows);
    QCOMPARE(got, dates);
}

void SqliteStorageTest::legacyRowsInStatistics()
{
    const QString file = freshDb("legacystats");
    writeLegacyRows(file);
    SqLiteConnection db(file);
    QVERIFY(db.openDb(nullptr));
    // Model 1 and pack 1 (2200 mAh): 1 h/1100, 20 min/500, 0 s/300, 10 min/0, 30 min/0.
    ModelStatEntry s;
    QVERIFY(db.getModelStats(1, &s));
    QCOMPARE(s.m_strName, QStringLiteral("Akku grün"));
    QCOMPARE(s.m_iCount, 5);
    QCOMPARE(s.m_timeTotal, QTime(2, 0));
    QCOMPARE(s.m_timeAverage, QTime(0, 30));
    QCOMPARE(s.m_dAvgCurrent, 1.3);
    QCOMPARE(s.m_iAvgRest, 64);
    AccuStatEntry a;
    QVERIFY(db.getAccuStats(1, &a));
    QCOMPARE(a.m_strName, QStringLiteral("Müller °"));
    QCOMPARE(a.m_iCount, 5);
    QCOMPARE(a.m_dAvgCurrent, 1.3);
}

void SqliteStorageTest::lockedDatabaseRefusesChanges()
{
    const QString file = freshDb("locked");
    SqLiteConnection db(file);
    db.setBusyTimeout(50);
    QVERIFY(db.openDb(nullptr));
    ModelEntry m(&db, QStringLiteral("before"), 0, -1);
    QVERIFY(db.addModel(&m) >= 0);

    RawDb writer(file);
    QVERIFY(writer.exec("BEGIN IMMEDIATE; INSERT INTO modelList(modelName) VALUES ('pending');"));

    ModelEntry n(&db, QStringLiteral("during"), 1, -1);
    QCOMPARE(db.addModel(&n), -1);
    QCOMPARE(n.m_iId, -1);
    ModelEntry changed(&db, QStringLiteral("changed"), 2, -1);
    QVERIFY(!db.changeModel(m.m_iId, &changed));
    QCOMPARE(changed.m_iId, -1);
    QVERIFY(!db.deleteModel(m.m_iId));
    LogEntry e(&db, QDate(2024, 1, 1), QTime(0, 1), 1, 1, 1, -1);
    QCOMPARE(db.addLogEntry(&e), -1);
    // Reading still works, and the cache is as it was.
    ModelEntry read;
    QVERIFY(db.readModel(m.m_iId, &read));
    QCOMPARE(read.m_strName, QStringLiteral("before"));
    QVector<ModelEntry> cached;
    QVERIFY(db.getModels(&cached));
    QCOMPARE(cached.size(), 1);

    QVERIFY(writer.exec("ROLLBACK;"));
    QVERIFY(db.changeModel(m.m_iId, &changed));
    QVERIFY(db.getModel(m.m_iId, &read));
    QCOMPARE(read.m_strName, QStringLiteral("changed"));
}

void SqliteStorageTest::readOnlyFileRefusesChanges_data()
{
    QTest::addColumn<bool>("folder"); // the folder is read-only rather than the file
    QTest::newRow("read-only file") << false;
    QTest::newRow("read-only folder") << true;
}

// Opened read-only on purpose: every write is refused before it is tried, and says why.
void SqliteStorageTest::readOnlyFileRefusesChanges()
{
    QFETCH(bool, folder);
    const QString dir = m_dir.filePath(QStringLiteral("ro-%1").arg(++m_iCounter));
    QVERIFY(QDir().mkpath(dir));
    const QString file = dir + QStringLiteral("/book.sqlite");
    QVERIFY(SqliteSchema::createDatabase(file, nullptr));
    {
        SqLiteConnection db(file);
        QVERIFY(db.openDb(nullptr));
        QVERIFY(!db.isReadOnly());
        ModelEntry m(&db, QStringLiteral("kept"), 0, -1);
        QVERIFY(db.addModel(&m) >= 0);
    }
    ReadOnly readOnly(folder ? dir : file);
    if (!readOnly.isSet())
        QSKIP("cannot make it read-only for the superuser here");
    const QByteArray before = readAll(file);
    SqLiteConnection db(file);
    QVERIFY(db.openDb(nullptr));
    QVERIFY(db.isReadOnly());
    QVERIFY(!db.readOnlyReason().isEmpty());
    QVector<ModelEntry> models;
    QVERIFY(db.getModels(&models));
    QCOMPARE(models.size(), 1);
    ModelEntry m(&db, QStringLiteral("new"), 0, -1);
    QCOMPARE(db.addModel(&m), -1);
    QCOMPARE(db.lastFailure(), SqlBase::Failure::ReadOnly);
    QVERIFY(!db.changeModel(models[0].m_iId, &m));
    QCOMPARE(db.lastFailure(), SqlBase::Failure::ReadOnly);
    QVERIFY(!db.deleteModel(models[0].m_iId));
    QCOMPARE(db.lastFailure(), SqlBase::Failure::ReadOnly);
    QVERIFY(db.getModels(&models));
    QCOMPARE(models.size(), 1);
    QCOMPARE(readAll(file), before);
}

void SqliteStorageTest::legacyRowsCanBeChangedAndDeleted_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("id");
    QTest::newRow("model, zero-terminated Latin-1 name") << "model" << 1;
    QTest::newRow("model, bytes after the zero byte") << "model" << 2;
    QTest::newRow("pack, zero-terminated Latin-1 texts") << "accu" << 1;
    QTest::newRow("entry, zero-terminated date and time") << "log" << 1;
}

// Rows of the first program compare equal to what was read from them, so the check against
// lost updates does not lock them.
void SqliteStorageTest::legacyRowsCanBeChangedAndDeleted()
{
    QFETCH(QString, table);
    QFETCH(int, id);
    const QString file = freshDb("legacy-write");
    writeLegacyRows(file);
    SqLiteConnection db(file);
    QVERIFY(db.openDb(nullptr));
    bool changed = false, removed = false;
    if (table == QLatin1String("model")) {
        ModelEntry m;
        QVERIFY(db.getModel(id, &m));
        m.m_iTyp = 4;
        changed = db.changeModel(id, &m);
        removed = db.deleteModel(id);
    } else if (table == QLatin1String("accu")) {
        AccuEntry a;
        QVERIFY(db.getAccu(id, &a));
        a.m_iCapacity = 1234;
        changed = db.changeAccu(id, &a);
        removed = db.deleteAccu(id);
    } else {
        LogEntry e = *db.logEntryAt(db.logRowOf(id));
        e.m_iCharged = 77;
        changed = db.changeLogEntry(id, &e);
        removed = db.deleteLogEntry(id);
    }
    QVERIFY2(changed, qPrintable(db.lastErrorText()));
    QVERIFY2(removed, qPrintable(db.lastErrorText()));
}

void SqliteStorageTest::failedPreparationIsReported()
{
    const QString file = freshDb("prepare");
    SqLiteConnection db(file);
    QVERIFY(db.openDb(nullptr));
    RawDb other(file);
    QVERIFY(other.exec("DROP TABLE accus;"));
    // The first statement after the change still prepares against the old schema and fails
    // only when it runs; it brings this connection up to date.
    QVector<AccuEntry> first;
    QVERIFY(!db.readAccus(&first));

    StderrCapture capture(m_dir.filePath(QStringLiteral("stderr-prepare.txt")));
    QVector<AccuEntry> out;
    const bool read = db.readAccus(&out);
    AccuEntry a(&db, QStringLiteral("b"), QStringLiteral("d"), 1, 1, 1, 0, -1);
    const int added = db.addAccu(&a);
    const bool changed = db.changeAccu(1, &a);
    const QByteArray text = capture.text();
    QVERIFY(!read);
    QCOMPARE(added, -1);
    QVERIFY(!changed);
    // One report per failed statement: read, add and change.
    QCOMPARE(text, QByteArray("DriverError: no such table: accus\nDbError: \n").repeated(3));
}

void SqliteStorageTest::schemaCreationRefusesExistingFile()
{
    const QString file = m_dir.filePath(QStringLiteral("existing.txt"));
    QVERIFY(writeAll(file, "mine"));
    QString error;
    QVERIFY(!SqliteSchema::createDatabase(file, &error));
    QVERIFY2(error.contains(QLatin1String("exists")), qPrintable(error));
    QCOMPARE(readAll(file), QByteArray("mine"));
    QVERIFY(!SqliteSchema::createDatabase(m_dir.filePath(QStringLiteral("no/such/dir.sqlite")),
                                          &error));
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("no"))));

    const QString fresh = m_dir.filePath(QStringLiteral("fresh.sqlite"));
    QVERIFY(SqliteSchema::createDatabase(fresh, nullptr));
    QCOMPARE(applicationIdOf(fresh), SqliteSchema::kApplicationId);
    SqLiteConnection db(fresh);
    QVERIFY(db.openDb(&error));
    QVERIFY(SqliteSchema::text().contains(QLatin1String("CREATE TABLE logList")));
}

// The application id only names the file type for file managers: books from before it and
// books whose id another tool changed open and take changes, and keep the id they have.
void SqliteStorageTest::booksOfAnyApplicationIdOpen_data()
{
    QTest::addColumn<quint32>("id");
    QTest::newRow("made before the id") << quint32(0);
    QTest::newRow("Tarvelo's") << SqliteSchema::kApplicationId;
    QTest::newRow("another program's") << quint32(0x47504B47);
}

void SqliteStorageTest::booksOfAnyApplicationIdOpen()
{
    QFETCH(quint32, id);
    const QString file = freshDb("id");
    {
        RawDb raw(file);
        QVERIFY(raw.exec(("PRAGMA application_id = " + QByteArray::number(id)).constData()));
    }
    QCOMPARE(applicationIdOf(file), id);
    {
        SqLiteConnection db(file);
        QString error;
        QVERIFY2(db.openDb(&error), qPrintable(error));
        QVERIFY(!db.isReadOnly());
        ModelEntry m(&db, QStringLiteral("Heli"), 0, -1);
        QVERIFY(db.addModel(&m) >= 0);
    }
    SqLiteConnection again(file);
    QVERIFY(again.openDb(nullptr));
    QCOMPARE(again.m_models.size(), 1);
    QCOMPARE(applicationIdOf(file), id);
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    int counter = 0;
    QString current;
    StorageBackend sqlite;
    sqlite.createEmpty = [&]() -> SqlBase* {
        current = dir.filePath(QStringLiteral("suite-%1.sqlite").arg(++counter));
        QString error;
        if (!SqliteSchema::createDatabase(current, &error))
            qWarning("%s", qPrintable(error));
        return new SqLiteConnection(current);
    };
    sqlite.createSame = [&]() -> SqlBase* { return new SqLiteConnection(current); };

    int failures = 0;
    {
        StorageSuite suite(sqlite);
        failures += runTestObject(&suite, argc, argv);
    }
    {
        SqliteStorageTest only;
        failures += runTestObject(&only, argc, argv);
    }
    return failures == 0 ? 0 : 1;
}

#include "tst_sqlitestorage.moc"
