// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The whole program on the server store: the options switched from the local book to the
// throw-away MariaDB of the test run, then the log, the statistics and a failed reconnect.
#include "mainwindowfixture.h"
#include "samplebook.h"
#include "storage/mysqltestserver.h" // the tests' own helper
#include "views/durationedit.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include <cstdio>

class MainWindowMysqlTest : public QObject
{
    Q_OBJECT

public:
    MainWindowMysqlTest(MysqlTestServer* server, QString database)
        : m_pServer(server), m_strDatabase(std::move(database))
    {
    }

private slots:
    void initTestCase();
    void runsOnTheServer();

private:
    // Runs the options dialog with the server's values; `password` replaces the real one.
    void switchToServer(const QString& password);
    QString count(const QString& where = QString())
    {
        return m_pServer
            ->firstRow(m_strDatabase, QStringLiteral("SELECT count(*) FROM logList") + where)
            .value(0);
    }

    MysqlTestServer* m_pServer;
    QString m_strDatabase;
};

void MainWindowMysqlTest::initTestCase()
{
    if (!m_pServer->isGiven())
        QSKIP(qPrintable(m_pServer->missingReason()));
}

void MainWindowMysqlTest::switchToServer(const QString& password)
{
    MysqlTestServer* server = m_pServer;
    const QString database = m_strDatabase;
    MainWindowFixture::whenModal([server, database, password](QWidget* dialog) {
        auto edit = [dialog](const char* name) {
            return dialog->findChild<QLineEdit*>(QString::fromLatin1(name));
        };
        QCheckBox* sqlite = dialog->findChild<QCheckBox*>(QStringLiteral("m_pCheckSqLite"));
        if (sqlite->isChecked())
            sqlite->click();
        edit("m_pLineEditHostname")->setText(server->m_strHost);
        dialog->findChild<QSpinBox*>(QStringLiteral("m_pSpinBoxPort"))->setValue(server->m_iPort);
        edit("m_pLineEditDatabase")->setText(database);
        edit("m_pLineEditUser")->setText(server->m_strUser);
        edit("m_pLineEditPassword")->setText(password);
        static_cast<QDialog*>(dialog)->accept();
    });
}

void MainWindowMysqlTest::runsOnTheServer()
{
    QVERIFY(m_pServer->clearTables(m_strDatabase));
    QVERIFY(m_pServer->exec(m_strDatabase, QString::fromUtf8(kSampleBook)));

    MainWindowFixture f;
    QVERIFY(f.createBook());
    f.writeIni(IniValues());
    MainWindow* w = f.openWindow();
    QCOMPARE(f.rows(), 0);

    switchToServer(m_pServer->m_strPassword);
    f.child<QAction>("actionSettings")->trigger();
    QVERIFY(f.warnings().isEmpty());
    QVERIFY(dynamic_cast<MysqlConnection*>(w->store()));
    QCOMPARE(f.rows(), 6);
    QCOMPARE(f.child<QLabel>("m_labelNumResults")->text(), QStringLiteral("6 entrys"));
    QCOMPARE(f.cell(4, 1), QStringLiteral("Rx 1100"));
    QCOMPARE(f.cell(4, 2), QStringLiteral("2:00:00"));
    QCOMPARE(f.cell(1, 5), QStringLiteral("18 %"));

    // The same figures as from the local book.
    f.child<QTabWidget>("m_pTabs")->setCurrentIndex(1);
    QCOMPARE(f.rows("m_pTableModelStats"), 3);
    QStringList trex;
    for (int column = 0; column < 6; ++column)
        trex << f.cell(1, column, "m_pTableModelStats");
    QCOMPARE(trex.join(QLatin1Char('|')), QStringLiteral("T-Rex|3|23:00|7:40|26.50 A|37 %"));
    f.child<QTabWidget>("m_pTabs")->setCurrentIndex(0);

    // Filters: one model, then one day.
    f.child<QCheckBox>("m_pCheckFilterByModel")->setChecked(true);
    QVERIFY(f.chooseId("m_pFilterModel", 2));
    QCOMPARE(f.rows(), 3);
    f.child<QCheckBox>("m_pCheckFilterByModel")->setChecked(false);
    f.child<QDateEdit>("m_pFilterStartDate")->setDate(QDate(2024, 5, 4));
    f.child<QDateEdit>("m_pFilterEndDate")->setDate(QDate(2024, 5, 4));
    f.child<QCheckBox>("m_pCheckFilterByDate")->setChecked(true);
    QCOMPARE(f.rows(), 2);
    f.child<QCheckBox>("m_pCheckFilterByDate")->setChecked(false);

    // Add, change (also without any change, which the server counts as no row), remove.
    f.child<QDateEdit>("m_pDate")->setDate(QDate(2024, 7, 1));
    QVERIFY(f.chooseId("m_pAccuList", 2));
    QVERIFY(f.chooseId("m_pModelList", 1));
    f.child<DurationEdit>("m_pTime")->setTime(QTime(0, 9, 30));
    f.child<QSpinBox>("m_pCharged")->setValue(2500);
    f.child<QPushButton>("m_pButtonAdd")->click();
    QCOMPARE(count(QStringLiteral(" WHERE charged=2500 AND accuId=2 AND date='2024-07-01'")),
             QStringLiteral("1"));
    QCOMPARE(f.rows(), 7);
    f.clickRow(6);
    f.child<QPushButton>("m_pButtonChange")->click();
    QVERIFY(f.warnings().isEmpty());
    f.child<QSpinBox>("m_pCharged")->setValue(2600);
    f.child<QPushButton>("m_pButtonChange")->click();
    QVERIFY(f.warnings().isEmpty());
    QCOMPARE(count(QStringLiteral(" WHERE charged=2600")), QStringLiteral("1"));
    QCOMPARE(f.cell(6, 4), QStringLiteral("2600 mAh"));
    f.clickRow(6);
    f.child<QPushButton>("m_pButtonRemove")->click();
    QCOMPARE(count(), QStringLiteral("6"));
    QCOMPARE(f.rows(), 6);

    // A refused login: the server's own words in the warning, nothing shown, nothing stored.
    switchToServer(QStringLiteral("not the password"));
    f.child<QAction>("actionSettings")->trigger();
    QList<Warning> warnings = f.takeWarnings();
    QCOMPARE(warnings.size(), 1);
    QCOMPARE(warnings[0].title, QStringLiteral("Log book not opened"));
    // The server named, its own words, and what to do.
    for (const QString& part :
         {m_pServer->m_strHost, QStringLiteral("Access denied"), QStringLiteral("F5")})
        QVERIFY2(warnings[0].text.contains(part), qPrintable(warnings[0].text));
    QCOMPARE(f.rows(), 0);
    QVERIFY(!f.child<QPushButton>("m_pButtonAdd")->isEnabled());
    QCOMPARE(count(), QStringLiteral("6"));

    switchToServer(m_pServer->m_strPassword);
    f.child<QAction>("actionSettings")->trigger();
    QVERIFY(f.warnings().isEmpty());
    QCOMPARE(f.rows(), 6);
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    MysqlTestServer server;
    if (!server.isGiven()) {
        std::fprintf(stderr, "%s\n", qPrintable(server.missingReason()));
        if (qEnvironmentVariableIsSet("TARVELO_MYSQL_REQUIRED"))
            return 1;
        MainWindowMysqlTest skipped(&server, QString());
        QTest::qExec(&skipped, argc, argv);
        return 77; // counted as skipped by ctest
    }
    const QString database =
        server.createDatabase(QStringLiteral("window_%1").arg(QCoreApplication::applicationPid()));
    if (database.isEmpty())
        return 1;
    MainWindowMysqlTest test(&server, database);
    const int result = QTest::qExec(&test, argc, argv);
    server.dropDatabase(database);
    return result;
}

#include "tst_mainwindowmysql.moc"
