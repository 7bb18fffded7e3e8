// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// tarvelo-demo-data: the sample log book behind "scripts/run --demo".
#include "applicationid.h"
#include "storage/logbook.h"
#include "storage/packhistory.h"
#include "storage/sqliteconnection.h"
#include "storage/sqliteschema.h"
#include "storage/statsmanager.h"

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

class DemoDataTest : public QObject
{
    Q_OBJECT

private slots:
    void makesAConsistentSeason();
    void aPackAgesVisibly();
    void refusesAnExistingFile();

private:
    static int run(const QString& file)
    {
        QProcess p;
        p.start(QStringLiteral(TARVELO_DEMODATA), {file});
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
            return -1;
        return p.exitCode();
    }
    QTemporaryDir m_dir;
};

void DemoDataTest::makesAConsistentSeason()
{
    const QString file = m_dir.filePath(QStringLiteral("demo.sqlite"));
    QCOMPARE(run(file), 0);
    QCOMPARE(applicationIdOf(file), SqliteSchema::kApplicationId);
    SqLiteConnection db(file);
    QString error;
    QVERIFY2(db.openDb(&error), qPrintable(error));

    QVector<AccuEntry> accus;
    QVector<ModelEntry> models;
    QVERIFY(db.getAccus(&accus));
    QVERIFY(db.getModels(&models));
    QVERIFY(accus.size() >= 3);
    QVERIFY(models.size() >= 3);
    QSet<int> accuIds, modelIds;
    for (const AccuEntry& a : accus) {
        QVERIFY(a.m_iCapacity > 0);
        accuIds.insert(a.m_iId);
    }
    for (const ModelEntry& m : models)
        modelIds.insert(m.m_iId);

    // A season: many entries over months, every one pointing at a stored pack and model, most
    // of them complete, all of them in the past.
    const QVector<LogEntry*>& log = db.logCache();
    QVERIFY(log.size() >= 50);
    QDate first = log.first()->m_date, last = log.first()->m_date;
    int complete = 0;
    for (const LogEntry* e : log) {
        QVERIFY(accuIds.contains(e->m_iAccuId));
        QVERIFY(modelIds.contains(e->m_iModelId));
        QVERIFY(e->m_time > QTime(0, 0));
        QVERIFY(e->m_date <= QDate::currentDate());
        first = qMin(first, e->m_date);
        last = qMax(last, e->m_date);
        if (e->m_iCharged > 0) {
            QVERIFY(e->m_iCharged < 100000);
            ++complete;
        }
    }
    QVERIFY(first.daysTo(last) >= 90);
    QVERIFY(complete > log.size() * 3 / 4);

    // Every model and every pack has a statistics row.
    StatsManager stats(&db);
    QVector<ModelStatEntry*> modelStats;
    QVector<AccuStatEntry*> accuStats;
    QVERIFY(stats.getModelStats(&modelStats, 0));
    QVERIFY(stats.getAccuStats(&accuStats, 0));
    QCOMPARE(modelStats.size(), models.size());
    QCOMPARE(accuStats.size(), accus.size());
    qDeleteAll(modelStats);
    qDeleteAll(accuStats);
}

void DemoDataTest::aPackAgesVisibly()
{
    const QString file = m_dir.filePath(QStringLiteral("ageing.sqlite"));
    QCOMPARE(run(file), 0);
    LogBook book;
    QVERIFY(book.open(std::make_unique<SqLiteConnection>(file), nullptr));
    // A history opened on the sample shows a pack losing capacity, over all its uses and
    // over the last twenty alike.
    double steepest = 0.0;
    for (const AccuEntry& a : book.accus()) {
        const PackHistory h = PackHistory::of(book, a.m_iId);
        if (h.trend(20).per100Uses() < -20.0)
            steepest = qMin(steepest, h.trend(0).per100Uses());
    }
    QVERIFY2(steepest < -20.0, qPrintable(QString::number(steepest)));
}

void DemoDataTest::refusesAnExistingFile()
{
    const QString file = m_dir.filePath(QStringLiteral("mine.sqlite"));
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("keep me\n");
    }
    QCOMPARE(run(file), 1);
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("keep me\n"));
}

QTEST_GUILESS_MAIN(DemoDataTest)
#include "tst_demodata.moc"
