// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// tarvelo-initdb: the command that makes new log books.
#include "applicationid.h"
#include "storage/sqliteconnection.h"
#include "storage/sqliteschema.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class InitDbTest : public QObject
{
    Q_OBJECT

private slots:
    void createsAnEmptyLogBook();
    void refusesExistingFiles_data();
    void refusesExistingFiles();
    void refusesBadCalls_data();
    void refusesBadCalls();

private:
    struct Result {
        int exitCode;
        QByteArray err;
    };
    static Result run(const QStringList& args)
    {
        QProcess p;
        p.start(QStringLiteral(TARVELO_INITDB), args);
        if (!p.waitForFinished(30000))
            return {-1, QByteArray()};
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                p.readAllStandardError()};
    }
    QTemporaryDir m_dir;
};

void InitDbTest::createsAnEmptyLogBook()
{
    const QString file = m_dir.filePath(QStringLiteral("new log book.sqlite"));
    const Result r = run({file});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(QFile::exists(file));
    QCOMPARE(applicationIdOf(file), SqliteSchema::kApplicationId);
    SqLiteConnection db(file);
    QString error;
    QVERIFY2(db.openDb(&error), qPrintable(error));
    QVector<ModelEntry> models;
    QVERIFY(db.getModels(&models));
    QVERIFY(models.isEmpty());
    QVERIFY(db.logCache().isEmpty());
    ModelEntry m(&db, QStringLiteral("first"), 0, -1);
    QVERIFY(db.addModel(&m) >= 0);
}

void InitDbTest::refusesExistingFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("a text file") << QByteArray("keep me\n");
    QTest::newRow("an empty file") << QByteArray();
}

void InitDbTest::refusesExistingFiles()
{
    QFETCH(QByteArray, content);
    const QString file = m_dir.filePath(QStringLiteral("existing-%1").arg(QTest::currentDataTag()));
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    const Result r = run({file});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains("already exists"), r.err.constData());
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), content);
}

void InitDbTest::refusesBadCalls_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("no file") << QStringList() << 2;
    QTest::newRow("two files") << QStringList{QStringLiteral("a"), QStringLiteral("b")} << 2;
    QTest::newRow("missing folder")
        << QStringList{QStringLiteral("/nonexistent-tarvelo-dir/x.sqlite")} << 1;
}

void InitDbTest::refusesBadCalls()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    const Result r = run(args);
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY(!r.err.isEmpty());
    QVERIFY(!QFile::exists(QStringLiteral("a")));
}

QTEST_GUILESS_MAIN(InitDbTest)
#include "tst_initdb.moc"
