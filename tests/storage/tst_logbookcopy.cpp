// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// Copying a log book into a new SQLite file, as File > Copy log book to... does: every row
// arrives as the program reads it, an existing file is never touched, a cancel leaves nothing
// behind, and a damaged book gives a partial copy that says what it could not read.
#include "applicationid.h"
#include "bookdump.h"

#include "storage/demobook.h"
#include "storage/logbookcopy.h"
#include "storage/sqliteconnection.h"
#include "storage/sqliteschema.h"
#include "storage/workprogress.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

class LogBookCopyTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void copiesEveryRow();
    void existingFileIsRefused();
    void cancelLeavesNothing_data();
    void cancelLeavesNothing();
    void damagedBookIsCopiedPartially();

private:
    LogBookCopy::Report copy(const QString& from, const QString& to,
                             WorkProgress* progress = nullptr);
    QStringList dump(const QString& file);

    QTemporaryDir m_dir;
    QString m_strDemo;
};

void LogBookCopyTest::init()
{
    static int n = 0;
    m_strDemo = m_dir.filePath(QStringLiteral("demo-%1.sqlite").arg(++n));
    QString error;
    QVERIFY2(DemoBook::create(m_strDemo, QDate(2025, 6, 1), &error), qPrintable(error));
    // Texts as people type them, and more entries than one batch of the copy.
    QVERIFY(sqliteExec(m_strDemo,
                       "UPDATE accus SET accuDescr='Grün \"3S\", 😀' WHERE accuId=1;"
                       "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<3000)"
                       " INSERT INTO logList(date,time,accuId,modelId,charged)"
                       " SELECT printf('2023-%02d-%02d',i%12+1,i%28+1),'00:07:30',i%6+1,i%5+1,i"
                       " FROM n;"));
}

LogBookCopy::Report LogBookCopyTest::copy(const QString& from, const QString& to,
                                          WorkProgress* progress)
{
    WorkProgress own;
    LogBookCopy copy(std::make_unique<SqLiteConnection>(from), to);
    return copy.run(progress ? *progress : own);
}

QStringList LogBookCopyTest::dump(const QString& file)
{
    SqLiteConnection store(file);
    return store.openDb(nullptr) ? dumpStore(store) : QStringList{QStringLiteral("not opened")};
}

void LogBookCopyTest::copiesEveryRow()
{
    // A source from before the application id.
    QVERIFY(sqliteExec(m_strDemo, "PRAGMA application_id = 0"));
    const QString target = m_dir.filePath(QStringLiteral("copy.sqlite"));
    const LogBookCopy::Report report = copy(m_strDemo, target);
    QCOMPARE(report.outcome, LogBookCopy::Outcome::Copied);
    QVERIFY(!report.partial);
    const QStringList rows = dump(m_strDemo);
    QVERIFY(rows.size() > 3000);
    QCOMPARE(dump(target), rows);
    QCOMPARE(report.models + report.accus + report.entries, int(rows.size()));
    // Readable by whom the user's other files are, like any file the user makes.
    QCOMPARE(QFileInfo(target).permissions(), QFileInfo(m_strDemo).permissions());
    // A Tarvelo log book for file managers too, even when its source was an older one.
    QCOMPARE(applicationIdOf(target), SqliteSchema::kApplicationId);
    // The copy is a log book of its own: new rows continue its identifiers.
    SqLiteConnection store(target);
    QVERIFY(store.openDb(nullptr));
    QVERIFY(!store.isReadOnly());
    ModelEntry model(nullptr, QStringLiteral("New"), 0, -1);
    QVERIFY(store.addModel(&model) > store.m_models.at(store.m_models.size() - 2).m_iId);
}

void LogBookCopyTest::existingFileIsRefused()
{
    const QString target = m_dir.filePath(QStringLiteral("taken.sqlite"));
    QFile file(target);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("mine");
    file.close();
    const LogBookCopy::Report report = copy(m_strDemo, target);
    QCOMPARE(report.outcome, LogBookCopy::Outcome::Refused);
    QVERIFY2(report.problem.contains(QLatin1String("already exists")), qPrintable(report.problem));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("mine"));
}

void LogBookCopyTest::cancelLeavesNothing_data()
{
    QTest::addColumn<QString>("stage");
    QTest::addColumn<double>("part");
    QTest::newRow("while reading") << "Reading packs and models" << 0.0;
    QTest::newRow("half-way through the rows") << "Copying" << 0.5;
    QTest::newRow("while comparing") << "Comparing" << 0.5;
}

void LogBookCopyTest::cancelLeavesNothing()
{
    QFETCH(QString, stage);
    QFETCH(double, part);
    const QString target = m_dir.filePath(QStringLiteral("cancelled.sqlite"));
    const QStringList before = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
    WorkProgress progress;
    progress.setWatcher([&](const WorkProgress::State& s) {
        if (s.stage == stage && s.done >= s.total * part)
            progress.cancel();
    });
    const LogBookCopy::Report report = copy(m_strDemo, target, &progress);
    QCOMPARE(report.outcome, LogBookCopy::Outcome::Cancelled);
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), before);
}

void LogBookCopyTest::damagedBookIsCopiedPartially()
{
    const QString source = m_dir.filePath(QStringLiteral("damaged.sqlite"));
    QVERIFY(QFile::copy(m_strDemo, source));
    int page = 0, pageSize = 0;
    {
        SqLiteConnection store(source);
        QVERIFY(store.openDb(nullptr));
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(store.handle(),
                           "SELECT rootpage,(SELECT page_size FROM pragma_page_size) FROM "
                           "sqlite_master WHERE name='logList'",
                           -1, &st, nullptr);
        QCOMPARE(sqlite3_step(st), SQLITE_ROW);
        page = sqlite3_column_int(st, 0);
        pageSize = sqlite3_column_int(st, 1);
        sqlite3_finalize(st);
    }
    // The log's root is an interior page; the header of its first leaf becomes garbage.
    QFile f(source);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.seek(qint64(page - 1) * pageSize));
    const QByteArray root = f.read(pageSize);
    QCOMPARE(int(root.at(0)), 5);
    const int cell = (uchar(root.at(12)) << 8) | uchar(root.at(13));
    QVERIFY(f.seek(qint64(qFromBigEndian<qint32>(root.constData() + cell) - 1) * pageSize));
    QCOMPARE(f.write(QByteArray(8, '\xff')), qint64(8));
    f.close();

    const QString target = m_dir.filePath(QStringLiteral("rescued.sqlite"));
    const LogBookCopy::Report report = copy(source, target);
    QCOMPARE(report.outcome, LogBookCopy::Outcome::Copied);
    QVERIFY(report.partial);
    QCOMPARE(report.skipped.size(), 1);
    QVERIFY2(report.skipped.first().startsWith(QLatin1String("entries ")),
             qPrintable(report.skipped.first()));
    const QString message = LogBookCopy::describe(report);
    QVERIFY2(message.contains(QLatin1String("partial")) && message.contains(report.skipped.first()),
             qPrintable(message));
    const QStringList rows = dump(target);
    QCOMPARE(rows, dump(source));
    QVERIFY(rows.size() < dump(m_strDemo).size());
}

QTEST_GUILESS_MAIN(LogBookCopyTest)
#include "tst_logbookcopy.moc"
