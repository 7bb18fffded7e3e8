// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// File > Export and File > Copy log book to... as a user goes through them, and the progress
// dialog of long work: the files hold what the window shows, a copy opens with every row, an
// existing file is never replaced, and Cancel stops the work.
#include "mainwindowfixture.h"
#include "samplebook.h"
#include "storage/bookdump.h" // the tests' own helper

#include "storage/workprogress.h"
#include "views/filechooser.h"
#include "views/progressrunner.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>

class ExchangeMenuTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void exportWritesWhatTheWindowShows_data();
    void exportWritesWhatTheWindowShows();
    void copyToANewFile();
    void longWorkShowsProgressAndCancels();

private:
    std::unique_ptr<MainWindowFixture> m_f;
};

void ExchangeMenuTest::init()
{
    m_f = std::make_unique<MainWindowFixture>();
    QVERIFY(m_f->createBook());
    m_f->writeIni(IniValues());
    QVERIFY(m_f->sql(QString::fromUtf8(kSampleBook) +
                     QStringLiteral("UPDATE modelList SET modelName='=T-Rex' WHERE modelId=2;")));
    QVERIFY(m_f->openWindow());
}

void ExchangeMenuTest::cleanup()
{
    FileChooser::setHandler(nullptr);
    m_f.reset();
}

void ExchangeMenuTest::exportWritesWhatTheWindowShows_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<bool>("german");
    QTest::addColumn<QByteArray>("expected");
    // The log filtered by model 2, in the table's order.
    QTest::newRow("log, German spreadsheet")
        << "m_pRadioLog" << true
        << QByteArray("\xEF\xBB\xBF"
                      "Date;Pack;Model;Duration (s);Duration (h:mm:ss);Charged (mAh);"
                      "Rest capacity (%);Average current (A)\r\n"
                      "2024-05-11;Blue 5000;'=T-Rex;300;0:05:00;4000;20;48,000\r\n"
                      "2024-05-18;Blue 5000;'=T-Rex;360;0:06:00;0;;\r\n"
                      "2024-06-15;Red 2200;'=T-Rex;720;0:12:00;1000;55;5,000\r\n");
    QTest::newRow("pack statistics")
        << "m_pRadioAccuStats" << false
        << QByteArray("\xEF\xBB\xBF"
                      "Pack,Uses,Total (s),Total (h:mm:ss),Average (s),Average (h:mm:ss),"
                      "Average current (A),Average rest capacity (%)\r\n"
                      "Red 2200,3,1800,0:30:00,600,0:10:00,8.367,41\r\n"
                      "Blue 5000,2,660,0:11:00,330,0:05:30,48.000,20\r\n"
                      "Rx 1100,1,7200,2:00:00,7200,2:00:00,0.275,50\r\n");
}

void ExchangeMenuTest::exportWritesWhatTheWindowShows()
{
    QFETCH(QString, what);
    QFETCH(bool, german);
    QFETCH(QByteArray, expected);
    m_f->child<QCheckBox>("m_pCheckFilterByModel")->setChecked(true);
    QVERIFY(m_f->chooseId("m_pFilterModel", 2));
    QCOMPARE(m_f->rows(), 3);
    const QString file = m_f->path(QStringLiteral("out.csv"));
    FileChooser::setHandler(
        [&](QWidget*, FileChooser::Purpose, const QString&, const QString&) { return file; });
    MainWindowFixture::whenModal([&](QWidget* dialog) {
        dialog->findChild<QRadioButton*>(what)->setChecked(true);
        dialog->findChild<QCheckBox*>(QStringLiteral("m_pCheckGerman"))->setChecked(german);
        static_cast<QDialog*>(dialog)->accept();
    });
    m_f->child<QAction>("actionExport")->trigger();
    QVERIFY(m_f->warnings().isEmpty());
    QFile written(file);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), expected);
}

void ExchangeMenuTest::copyToANewFile()
{
    const QString copy = m_f->path(QStringLiteral("copy.sqlite"));
    for (int attempt = 0; attempt < 2; ++attempt) {
        MainWindowFixture::whenModal([&](QWidget* dialog) {
            dialog->findChild<QLineEdit*>(QStringLiteral("m_pLineEditFile"))->setText(copy);
            static_cast<QDialog*>(dialog)->accept();
        });
        m_f->child<QAction>("actionCopyLogBook")->trigger();
        const QList<Warning> said = m_f->takeWarnings();
        QCOMPARE(said.size(), 1);
        // The second time the file is there, and it stays as the first copy made it.
        QCOMPARE(said.first().title, attempt == 0 ? QStringLiteral("Log book copied")
                                                  : QStringLiteral("Log book not copied"));
        QVERIFY2(said.first().text.contains(attempt == 0 ? QLatin1String("3 packs and 6 entries")
                                                         : QLatin1String("already exists")),
                 qPrintable(said.first().text));
        SqLiteConnection copied(copy);
        QVERIFY(copied.openDb(nullptr));
        QCOMPARE(dumpStore(copied), dumpStore(*m_f->window()->store()));
    }
}

void ExchangeMenuTest::longWorkShowsProgressAndCancels()
{
    ProgressRunner runner(m_f->window());
    int steps = 0;
    QString shown;
    MainWindowFixture::whenModal([&](QWidget* dialog) {
        shown = dialog->findChild<QLabel*>(QStringLiteral("m_pLabelStage"))->text();
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("m_pButtonCancel")),
                          Qt::LeftButton);
    });
    const bool finished = runner.run(QStringLiteral("Work"), [&](WorkProgress& progress) {
        progress.begin(QStringLiteral("Counting"), 1000);
        while (steps < 1000 && progress.reach(++steps))
            QThread::msleep(10);
    });
    QVERIFY(!finished);
    QVERIFY2(steps < 1000, "the work ran to its end");
    QVERIFY(steps * 10 >= ProgressRunner::kShowAfterMs / 2);
    QCOMPARE(shown, QStringLiteral("Counting"));
    // Quick work shows nothing and is not taken for cancelled.
    QVERIFY(runner.run(QStringLiteral("Work"), [](WorkProgress& progress) { progress.reach(1); }));
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(ExchangeMenuTest)
#include "tst_exchangemenu.moc"
