// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The whole program on a local SQLite log book in a portable folder: the main window with its
// dialogs, the log editor, the filters, the statistics, the languages, the options and what it
// remembers from one start to the next.
#include "immutable.h"
#include "mainwindowfixture.h"
#include "samplebook.h"
#include "settings/tarvelosettings.h"
#include "stderrcapture.h"
#include "views/durationedit.h"
#include "views/filechooser.h"
#include "views/logentrytablemodel.h"
#include "views/packhistorywindow.h"
#include "views/undohistory.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>

namespace
{
QString entrysText(int n)
{
    return QString::number(n) + QStringLiteral(" entrys");
}
} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsOnTheConfiguredBook();
    void packsAndModelsThroughTheirDialogs();
    void addChangeRemove();
    void editorFollowsTheClickedEntry();
    void chargedEditorTakesLargePacks();
    void refusedAddChangeRemoveAreReported();
    void logFilters_data();
    void logFilters();
    void endBeforeStartWarnsAndListsEverything();
    void newEntryOutsideTheFilterIsStoredNotShown();
    void modelStatistics_data();
    void modelStatistics();
    void accuStatistics_data();
    void accuStatistics();
    void statisticsFollowTheLogOnlyWhenShown();
    void chargerEntryFillsTheEditor();
    void germanAndBack();
    void germanFileMissing();
    void acceptedOptionsKeepTheSession();
    void failedReconnectRefusesStoreActions();
    void bookFromTheCommandLine();
    void logBooksFromTheFileMenu();
    void firstRunStartsOnANewBook();
    void noChargerChosen();
    void rememberedAcrossTwoStarts_data();
    void rememberedAcrossTwoStarts();
    void readOnlyIniReportedOnce();
    void unreadableSettingsReported();

private:
    void openSample();
    QStringList shownIds() const;
    void setStatsFilter(const char* suffix, const QString& filters, int modelId, int accuId,
                        QDate start, QDate end);

    std::unique_ptr<MainWindowFixture> m_f;
};

void MainWindowTest::init()
{
    m_f = std::make_unique<MainWindowFixture>();
    QVERIFY(m_f->createBook());
    m_f->writeIni(IniValues());
}

void MainWindowTest::cleanup()
{
    m_f.reset();
}

void MainWindowTest::openSample()
{
    QVERIFY(m_f->sql(QString::fromUtf8(kSampleBook)));
    QVERIFY(m_f->openWindow());
    QVERIFY(m_f->warnings().isEmpty());
}

// The ids of the shown entries, in table order, read back through the store's records.
QStringList MainWindowTest::shownIds() const
{
    QStringList ids;
    const int n = m_f->rows();
    SqlBase* db = m_f->window()->store();
    for (int row = 0; row < n; ++row) {
        // Date and charged amount identify the sample's entries.
        const QDate date = m_f->cellValue(row, 0).toDate();
        const QString charged = m_f->cell(row, 4);
        for (const LogEntry* e : db->logCache())
            if (e->m_date == date &&
                QString::number(e->m_iCharged) + QStringLiteral(" mAh") == charged)
                ids.append(QString::number(e->m_iId));
    }
    return ids;
}

void MainWindowTest::startsOnTheConfiguredBook()
{
    openSample();
    MainWindow* w = m_f->window();
    QCOMPARE(w->windowTitle(), QStringLiteral("Tarvelo"));
    QCOMPARE(m_f->child<QTabWidget>("m_pTabs")->currentIndex(), 0);
    QCOMPARE(m_f->rows(), 6);
    QCOMPARE(m_f->child<QLabel>("m_labelNumResults")->text(), entrysText(6));
    // Ordered by date; the computed columns from the pack.
    QCOMPARE(m_f->cellValue(0, 0).toDate(), QDate(2024, 5, 4));
    QCOMPARE(m_f->cellValue(5, 0).toDate(), QDate(2024, 6, 15));
    QCOMPARE(m_f->cell(4, 1), QStringLiteral("Rx 1100"));
    QCOMPARE(m_f->cell(4, 3), QStringLiteral("Tx"));
    QCOMPARE(m_f->cell(4, 2), QStringLiteral("2:00:00"));

    QComboBox* accus = m_f->child<QComboBox>("m_pAccuList");
    QComboBox* models = m_f->child<QComboBox>("m_pModelList");
    QCOMPARE(accus->count(), 3);
    QCOMPARE(models->count(), 3);
    QCOMPARE(models->itemData(2).toInt(), 3);
    for (const char* name : {"m_pFilterAccu", "m_pFilterStatsAccu", "m_pFilterStatsAccu2"})
        QCOMPARE(m_f->child<QComboBox>(name)->count(), 3);
    for (const char* name : {"m_pFilterModel", "m_pFilterStatsModel", "m_pFilterStatsModel2"})
        QCOMPARE(m_f->child<QComboBox>(name)->count(), 3);

    // Filters are off, their editors disabled; every date editor shows today.
    for (const char* name : {"m_pFilterStartDate", "m_pFilterEndDate", "m_pFilterStatsStartDate2"})
        QVERIFY(!m_f->child<QDateEdit>(name)->isEnabled());
    QVERIFY(!m_f->child<QComboBox>("m_pFilterModel")->isEnabled());
    QCOMPARE(m_f->child<QDateEdit>("m_pDate")->date(), QDate::currentDate());
    QCOMPARE(m_f->child<QDateEdit>("m_pFilterStatsEndDate")->date(), QDate::currentDate());
    // No charger chosen in the settings.
    QVERIFY(!m_f->child<QAction>("actionShowChargerStatus")->isEnabled());
}

void MainWindowTest::packsAndModelsThroughTheirDialogs()
{
    QVERIFY(m_f->openWindow());
    QCOMPARE(m_f->child<QComboBox>("m_pAccuList")->count(), 0);

    bool ran = false;
    MainWindowFixture::whenModal([&ran](QWidget* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("m_pBrand"))->setText(QStringLiteral("SLS"));
        dialog->findChild<QSpinBox*>(QStringLiteral("m_pCapacity"))->setValue(2200);
        dialog->findChild<QSpinBox*>(QStringLiteral("m_pCells"))->setValue(3);
        dialog->findChild<QSpinBox*>(QStringLiteral("m_pStrength"))->setValue(30);
        dialog->findChild<QLineEdit*>(QStringLiteral("m_pDescription"))
            ->setText(QStringLiteral("Red 2200"));
        dialog->findChild<QPushButton*>(QStringLiteral("m_pButtonAdd"))->click();
        dialog->findChild<QLineEdit*>(QStringLiteral("m_pDescription"))
            ->setText(QStringLiteral("Blue 5000"));
        dialog->findChild<QSpinBox*>(QStringLiteral("m_pCapacity"))->setValue(5000);
        dialog->findChild<QPushButton*>(QStringLiteral("m_pButtonAdd"))->click();
        ran = dialog->findChild<QListWidget*>(QStringLiteral("m_pAccuList"))->count() == 2;
        dialog->close();
    });
    m_f->child<QAction>("actionAccuManagement")->trigger();
    QVERIFY(ran);

    ran = false;
    MainWindowFixture::whenModal([&ran](QWidget* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("m_pModelName"))
            ->setText(QStringLiteral("Tx"));
        QComboBox* typ = dialog->findChild<QComboBox*>(QStringLiteral("m_pModelTyp"));
        typ->setCurrentIndex(typ->findData(4));
        dialog->findChild<QPushButton*>(QStringLiteral("m_pButtonAdd"))->click();
        ran = dialog->findChild<QListWidget*>(QStringLiteral("m_pModelList"))->count() == 1;
        dialog->close();
    });
    m_f->child<QAction>("actionModelManagement")->trigger();
    QVERIFY(ran);

    // The selections of the window follow at once, with the records' one-line texts.
    SqlBase* db = m_f->window()->store();
    QVector<AccuEntry> accus;
    QVERIFY(db->getAccus(&accus));
    QCOMPARE(accus.size(), 2);
    QCOMPARE(accus[1].m_iCapacity, 5000);
    for (const char* name :
         {"m_pAccuList", "m_pFilterAccu", "m_pFilterStatsAccu", "m_pFilterStatsAccu2"}) {
        QComboBox* box = m_f->child<QComboBox>(name);
        QCOMPARE(box->count(), 2);
        QCOMPARE(box->itemText(1), accus[1].toString());
        QCOMPARE(box->itemData(1).toInt(), accus[1].m_iId);
    }
    QComboBox* models = m_f->child<QComboBox>("m_pModelList");
    QCOMPARE(models->count(), 1);
    ModelEntry tx;
    QVERIFY(db->getModel(models->itemData(0).toInt(), &tx));
    QCOMPARE(tx.m_strName, QStringLiteral("Tx"));
    QCOMPARE(tx.m_iTyp, 4);
    QCOMPARE(models->itemText(0), tx.toString());
    QVERIFY(m_f->warnings().isEmpty());
}

void MainWindowTest::addChangeRemove()
{
    QVERIFY(m_f->sql(QStringLiteral(
        "INSERT INTO accus(accuId,accuBrand,accuCapacity,numCells,accuDescr) VALUES "
        "(1,'SLS',2200,3,'Red 2200'),(2,'Turnigy',5000,4,'Blue 5000');"
        "INSERT INTO modelList(modelId,modelName,modelTyp) VALUES (1,'Cub',0),(2,'T-Rex',1);")));
    MainWindow* w = m_f->openWindow();
    SqlBase* db = w->store();
    QLabel* count = m_f->child<QLabel>("m_labelNumResults");
    QCOMPARE(count->text(), entrysText(0));

    m_f->child<QDateEdit>("m_pDate")->setDate(QDate(2024, 7, 1));
    QVERIFY(m_f->chooseId("m_pAccuList", 1));
    QVERIFY(m_f->chooseId("m_pModelList", 2));
    m_f->child<DurationEdit>("m_pTime")->setTime(QTime(0, 10, 0));
    m_f->child<QSpinBox>("m_pCharged")->setValue(1800);
    m_f->child<QPushButton>("m_pButtonAdd")->click();

    QCOMPARE(db->logCache().size(), 1);
    const LogEntry stored = *db->logCache().first();
    QCOMPARE(stored.m_date, QDate(2024, 7, 1));
    QCOMPARE(stored.m_time, QTime(0, 10, 0));
    QCOMPARE(stored.m_iAccuId, 1);
    QCOMPARE(stored.m_iModelId, 2);
    QCOMPARE(stored.m_iCharged, 1800);
    QCOMPARE(m_f->rows(), 1);
    QCOMPARE(m_f->cell(0, 1), QStringLiteral("Red 2200"));
    QCOMPARE(m_f->cell(0, 3), QStringLiteral("T-Rex"));
    // 1800 of 2200 mAh leave 19 %; 1800 mAh in ten minutes are 10.8 A.
    QCOMPARE(m_f->cell(0, 5), QStringLiteral("18 %"));
    QCOMPARE(m_f->cell(0, 6), QStringLiteral("10.80 A"));
    // The count follows, and the new entry is the current one.
    QCOMPARE(count->text(), entrysText(1));
    QCOMPARE(m_f->table()->currentIndex().row(), 0);

    // A second entry on the other pack, then change the first one.
    m_f->child<QDateEdit>("m_pDate")->setDate(QDate(2024, 7, 2));
    QVERIFY(m_f->chooseId("m_pAccuList", 2));
    m_f->child<QSpinBox>("m_pCharged")->setValue(0);
    m_f->child<QPushButton>("m_pButtonAdd")->click();
    QCOMPARE(m_f->rows(), 2);
    QCOMPARE(db->logCache().size(), 2);

    m_f->clickRow(0);
    QCOMPARE(m_f->child<QSpinBox>("m_pCharged")->value(), 1800);
    m_f->child<QSpinBox>("m_pCharged")->setValue(1100);
    QVERIFY(m_f->chooseId("m_pModelList", 1));
    m_f->child<QPushButton>("m_pButtonChange")->click();
    LogEntry changed;
    QVERIFY(db->readLogEntry(stored.m_iId, &changed));
    QCOMPARE(changed.m_iCharged, 1100);
    QCOMPARE(changed.m_iModelId, 1);
    QCOMPARE(changed.m_date, QDate(2024, 7, 1));
    QCOMPARE(m_f->cell(0, 5), QStringLiteral("50 %"));
    QCOMPARE(m_f->cell(0, 3), QStringLiteral("Cub"));
    QCOMPARE(m_f->table()->currentIndex().row(), 0);

    // Remove the first; the second moves up and the list is read again.
    const int secondId = db->logCache().at(1)->m_iId;
    m_f->clickRow(0);
    m_f->child<QPushButton>("m_pButtonRemove")->click();
    QCOMPARE(db->logCache().size(), 1);
    QCOMPARE(db->logCache().first()->m_iId, secondId);
    QCOMPARE(m_f->rows(), 1);
    QCOMPARE(m_f->cell(0, 1), QStringLiteral("Blue 5000"));
    QCOMPARE(count->text(), entrysText(1));

    // Remove the last one; then Change and Remove without a row do nothing.
    m_f->clickRow(0);
    m_f->child<QPushButton>("m_pButtonRemove")->click();
    QCOMPARE(m_f->rows(), 0);
    QVERIFY(db->logCache().isEmpty());
    m_f->child<QPushButton>("m_pButtonChange")->click();
    m_f->child<QPushButton>("m_pButtonRemove")->click();
    QVERIFY(db->logCache().isEmpty());
    QVERIFY(m_f->warnings().isEmpty());
}

void MainWindowTest::editorFollowsTheClickedEntry()
{
    openSample();
    m_f->child<QSpinBox>("m_pCharged")->setValue(7);
    m_f->clickRow(4); // entry 5: 2024-06-01, 02:00:00, pack 3, model 3, 550 mAh
    QCOMPARE(m_f->child<QSpinBox>("m_pCharged")->value(), 550);
    QCOMPARE(m_f->child<QDateEdit>("m_pDate")->date(), QDate(2024, 6, 1));
    QCOMPARE(m_f->child<DurationEdit>("m_pTime")->time(), QTime(2, 0, 0));
    QCOMPARE(m_f->child<QComboBox>("m_pAccuList")->currentData().toInt(), 3);
    QCOMPARE(m_f->child<QComboBox>("m_pModelList")->currentData().toInt(), 3);
    // The duration as the table shows it.
    QCOMPARE(m_f->child<DurationEdit>("m_pTime")->text(), QStringLiteral("2:00:00"));

    // An entry whose model has gone leaves the model selection empty.
    QVERIFY(m_f->sql(QStringLiteral("DELETE FROM modelList WHERE modelId=2;")));
    QVERIFY(m_f->window()->logBook()->reload(nullptr));
    m_f->clickRow(2);
    QCOMPARE(m_f->child<QComboBox>("m_pModelList")->currentIndex(), -1);
    QCOMPARE(m_f->child<QSpinBox>("m_pCharged")->value(), 4000);
}

void MainWindowTest::chargedEditorTakesLargePacks()
{
    openSample();
    QSpinBox* charged = m_f->child<QSpinBox>("m_pCharged");
    charged->setValue(99999);
    QCOMPARE(charged->value(), 99999);
    m_f->child<DurationEdit>("m_pTime")->setTime(QTime(0, 10));
    m_f->child<QPushButton>("m_pButtonAdd")->click();
    bool found = false;
    for (const LogEntry* e : m_f->window()->store()->logCache())
        found = found || e->m_iCharged == 99999;
    QVERIFY(found);
    // The charger hands over more than the editor could once show.
    m_f->window()->onApplyEntryFromCharger(-1, 25000);
    QCOMPARE(charged->value(), 25000);
}

void MainWindowTest::refusedAddChangeRemoveAreReported()
{
    openSample();
    MainWindow* w = m_f->window();
    SqlBase* db = w->store();
    // The book refuses every change of the log from now on.
    QVERIFY(m_f->sql(QStringLiteral(
        "CREATE TRIGGER no_add BEFORE INSERT ON logList BEGIN SELECT RAISE(ABORT,'no'); END;"
        "CREATE TRIGGER no_change BEFORE UPDATE ON logList BEGIN SELECT RAISE(ABORT,'no'); END;"
        "CREATE TRIGGER no_remove BEFORE DELETE ON logList BEGIN SELECT RAISE(ABORT,'no'); END;")));

    m_f->child<QSpinBox>("m_pCharged")->setValue(1234);
    m_f->child<DurationEdit>("m_pTime")->setTime(QTime(0, 10));
    m_f->child<QPushButton>("m_pButtonAdd")->click();
    QList<Warning> warnings = m_f->takeWarnings();
    QCOMPARE(warnings.size(), 1);
    QCOMPARE(warnings[0].title, QStringLiteral("Error adding entry"));
    QCOMPARE(m_f->rows(), 6); // nothing pretends to be saved

    m_f->clickRow(0); // entry 1, 1100 mAh
    m_f->child<QSpinBox>("m_pCharged")->setValue(2000);
    m_f->child<QPushButton>("m_pButtonChange")->click();
    warnings = m_f->takeWarnings();
    QCOMPARE(warnings.size(), 1);
    QCOMPARE(warnings[0].title, QStringLiteral("Error changing entry"));
    // The table shows what the book holds, not the edit.
    QCOMPARE(m_f->cell(0, 4), QStringLiteral("1100 mAh"));
    QCOMPARE(db->logCache().first()->m_iCharged, 1100);

    m_f->clickRow(0);
    m_f->child<QPushButton>("m_pButtonRemove")->click();
    warnings = m_f->takeWarnings();
    QCOMPARE(warnings.size(), 1);
    QCOMPARE(warnings[0].title, QStringLiteral("Error removing entry"));
    QCOMPARE(m_f->rows(), 6);
    QCOMPARE(m_f->cell(0, 4), QStringLiteral("1100 mAh"));
}

void MainWindowTest::logFilters_data()
{
    QTest::addColumn<QString>("filters"); // d date, m model, a pack, i incomplete
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<int>("modelId");
    QTest::addColumn<int>("accuId");
    QTest::addColumn<QStringList>("ids");

    const QDate none;
    QTest::newRow("none") << "" << none << none << 0 << 0
                          << QStringList{"1", "2", "3", "4", "5", "6"};
    QTest::newRow("dates, both days included")
        << "d" << QDate(2024, 5, 4) << QDate(2024, 5, 11) << 0 << 0 << QStringList{"1", "2", "3"};
    QTest::newRow("one day") << "d" << QDate(2024, 5, 18) << QDate(2024, 5, 18) << 0 << 0
                             << QStringList{"4"};
    QTest::newRow("model") << "m" << none << none << 2 << 0 << QStringList{"3", "4", "6"};
    QTest::newRow("pack") << "a" << none << none << 0 << 1 << QStringList{"1", "2", "6"};
    QTest::newRow("incomplete") << "i" << none << none << 0 << 0 << QStringList{"4"};
    QTest::newRow("model and pack") << "ma" << none << none << 2 << 2 << QStringList{"3", "4"};
    QTest::newRow("June and a model")
        << "dm" << QDate(2024, 6, 1) << QDate(2024, 6, 30) << 2 << 0 << QStringList{"6"};
    QTest::newRow("nothing matches")
        << "da" << QDate(2024, 6, 1) << QDate(2024, 6, 30) << 0 << 2 << QStringList{};
}

void MainWindowTest::logFilters()
{
    QFETCH(QString, filters);
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(int, modelId);
    QFETCH(int, accuId);
    QFETCH(QStringList, ids);
    openSample();

    if (filters.contains(QLatin1Char('d'))) {
        // The dates go in before the filter is on: on the way the end lies before the start.
        m_f->child<QDateEdit>("m_pFilterStartDate")->setDate(start);
        m_f->child<QDateEdit>("m_pFilterEndDate")->setDate(end);
        m_f->child<QCheckBox>("m_pCheckFilterByDate")->setChecked(true);
        QVERIFY(m_f->child<QDateEdit>("m_pFilterStartDate")->isEnabled());
    }
    if (filters.contains(QLatin1Char('m'))) {
        m_f->child<QCheckBox>("m_pCheckFilterByModel")->setChecked(true);
        QVERIFY(m_f->child<QComboBox>("m_pFilterModel")->isEnabled());
        QVERIFY(m_f->chooseId("m_pFilterModel", modelId));
    }
    if (filters.contains(QLatin1Char('a'))) {
        m_f->child<QCheckBox>("m_pCheckFilterByAccu")->setChecked(true);
        QVERIFY(m_f->chooseId("m_pFilterAccu", accuId));
    }
    if (filters.contains(QLatin1Char('i')))
        m_f->child<QCheckBox>("m_pCheckFilterByIncomplete")->setChecked(true);

    QCOMPARE(shownIds(), ids);
    QCOMPARE(m_f->child<QLabel>("m_labelNumResults")->text(), entrysText(ids.size()));
    QVERIFY(m_f->warnings().isEmpty());

    // Switching the filters off again lists everything.
    for (const char* name : {"m_pCheckFilterByDate", "m_pCheckFilterByModel",
                             "m_pCheckFilterByAccu", "m_pCheckFilterByIncomplete"})
        m_f->child<QCheckBox>(name)->setChecked(false);
    QCOMPARE(m_f->rows(), 6);
    QVERIFY(!m_f->child<QComboBox>("m_pFilterModel")->isEnabled());
}

void MainWindowTest::endBeforeStartWarnsAndListsEverything()
{
    openSample();
    m_f->child<QCheckBox>("m_pCheckFilterByModel")->setChecked(true);
    QVERIFY(m_f->chooseId("m_pFilterModel", 1));
    QCOMPARE(m_f->rows(), 2);
    m_f->child<QDateEdit>("m_pFilterStartDate")->setDate(QDate(2024, 6, 1));
    m_f->child<QDateEdit>("m_pFilterEndDate")->setDate(QDate(2024, 5, 1));
    QVERIFY(m_f->warnings().isEmpty()); // the date filter is still off
    m_f->child<QCheckBox>("m_pCheckFilterByDate")->setChecked(true);
    const QList<Warning> warnings = m_f->takeWarnings();
    QCOMPARE(warnings.size(), 1);
    QCOMPARE(warnings[0].title, QStringLiteral("Filter by Date error"));
    QCOMPARE(warnings[0].text, QStringLiteral("Start date has to be before end date"));
    // Listed without the date filter, with the model filter.
    QCOMPARE(shownIds(), (QStringList{"1", "2"}));
}

void MainWindowTest::newEntryOutsideTheFilterIsStoredNotShown()
{
    openSample();
    m_f->child<QCheckBox>("m_pCheckFilterByAccu")->setChecked(true);
    QVERIFY(m_f->chooseId("m_pFilterAccu", 3));
    QCOMPARE(m_f->rows(), 1);
    QVERIFY(m_f->chooseId("m_pAccuList", 1));
    m_f->child<QSpinBox>("m_pCharged")->setValue(321);
    m_f->child<DurationEdit>("m_pTime")->setTime(QTime(0, 10));
    m_f->child<QPushButton>("m_pButtonAdd")->click();
    QCOMPARE(m_f->rows(), 1);
    QCOMPARE(m_f->window()->logBook()->count(), 7);
    QCOMPARE(m_f->child<QLabel>("m_labelNumResults")->text(), entrysText(1));
    QVERIFY(m_f->window()->statusBar()->currentMessage().contains(QLatin1String("filters")));
    m_f->child<QCheckBox>("m_pCheckFilterByAccu")->setChecked(false);
    QCOMPARE(m_f->rows(), 7);
}

// Sets the filters of a statistics tab ("" for models, "2" for packs).
void MainWindowTest::setStatsFilter(const char* suffix, const QString& filters, int modelId,
                                    int accuId, QDate start, QDate end)
{
    auto name = [suffix](const char* base) { return QByteArray(base) + suffix; };
    MainWindow* w = m_f->window();
    if (filters.contains(QLatin1Char('d'))) {
        w->findChild<QDateEdit*>(QString::fromLatin1(name("m_pFilterStatsStartDate")))
            ->setDate(start);
        w->findChild<QDateEdit*>(QString::fromLatin1(name("m_pFilterStatsEndDate")))->setDate(end);
        w->findChild<QCheckBox*>(QString::fromLatin1(name("m_pCheckFilterStatsByDate")))
            ->setChecked(true);
    }
    if (filters.contains(QLatin1Char('m'))) {
        w->findChild<QCheckBox*>(QString::fromLatin1(name("m_pCheckFilterStatsByModel")))
            ->setChecked(true);
        QVERIFY(m_f->chooseId(name("m_pFilterStatsModel").constData(), modelId));
    }
    if (filters.contains(QLatin1Char('a'))) {
        w->findChild<QCheckBox*>(QString::fromLatin1(name("m_pCheckFilterStatsByAccu")))
            ->setChecked(true);
        QVERIFY(m_f->chooseId(name("m_pFilterStatsAccu").constData(), accuId));
    }
}

// Rows as "name|count|total|average|current|rest".
static QStringList statRows(MainWindowFixture* f, const char* table)
{
    QStringList out;
    for (int row = 0; row < f->rows(table); ++row) {
        QStringList cells;
        for (int column = 0; column < 6; ++column)
            cells << f->cell(row, column, table);
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

void MainWindowTest::modelStatistics_data()
{
    QTest::addColumn<QString>("filters");
    QTest::addColumn<int>("modelId");
    QTest::addColumn<int>("accuId");
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<QStringList>("rows");

    // Cub: entries 1, 2: 18 min, average 9 min; (6600 + 13500) / 2 mA; (50 + 19) / 2 %.
    // T-Rex: entries 3, 4, 6: 23 min over three timed uses is 7:40; entry 4 is not charged,
    //        so the current and rest come from 3 and 6: (48000 + 5000) / 2 mA, (20 + 55) / 2 %.
    // Tx: entry 5 alone.
    const QString cub = QStringLiteral("Cub|2|18:00|9:00|10.05 A|34 %");
    const QString trex = QStringLiteral("T-Rex|3|23:00|7:40|26.50 A|37 %");
    const QString tx = QStringLiteral("Tx|1|2:00:00|2:00:00|0.28 A|50 %");
    const QDate none;
    QTest::newRow("all") << "" << 0 << 0 << none << none << QStringList{cub, trex, tx};
    QTest::newRow("May") << "d" << 0 << 0 << QDate(2024, 5, 1) << QDate(2024, 5, 31)
                         << QStringList{cub, QStringLiteral("T-Rex|2|11:00|5:30|48.00 A|20 %")};
    QTest::newRow("one model") << "m" << 2 << 0 << none << none << QStringList{trex};
    // The pack filter on the model tab: pack 1 was used in the Cub twice and the T-Rex once.
    QTest::newRow("one pack") << "a" << 0 << 1 << none << none
                              << QStringList{cub,
                                             QStringLiteral("T-Rex|1|12:00|12:00|5.00 A|55 %")};
    QTest::newRow("a day without use")
        << "d" << 0 << 0 << QDate(2024, 5, 5) << QDate(2024, 5, 5) << QStringList{};
}

void MainWindowTest::modelStatistics()
{
    QFETCH(QString, filters);
    QFETCH(int, modelId);
    QFETCH(int, accuId);
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(QStringList, rows);
    openSample();
    QCOMPARE(m_f->rows("m_pTableModelStats"), 0); // filled when the tab is shown
    m_f->child<QTabWidget>("m_pTabs")->setCurrentIndex(1);
    setStatsFilter("", filters, modelId, accuId, start, end);
    QCOMPARE(statRows(m_f.get(), "m_pTableModelStats"), rows);
    QVERIFY(m_f->warnings().isEmpty());
    // The pack tab's filters are its own.
    m_f->child<QTabWidget>("m_pTabs")->setCurrentIndex(2);
    QCOMPARE(m_f->rows("m_pTableAccuStats"), 3);
}

void MainWindowTest::accuStatistics_data()
{
    QTest::addColumn<QString>("filters");
    QTest::addColumn<int>("modelId");
    QTest::addColumn<int>("accuId");
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<QStringList>("rows");

    // Red 2200: entries 1, 2, 6: 30 min, 10 min each; 25100 / 3 mA; (50 + 19 + 55) / 3 %.
    // Blue 5000: entries 3, 4: 11 min, 5:30 each; current and rest from entry 3 alone.
    const QString red = QStringLiteral("Red 2200|3|30:00|10:00|8.37 A|41 %");
    const QString blue = QStringLiteral("Blue 5000|2|11:00|5:30|48.00 A|20 %");
    const QString rx = QStringLiteral("Rx 1100|1|2:00:00|2:00:00|0.28 A|50 %");
    const QDate none;
    QTest::newRow("all") << "" << 0 << 0 << none << none << QStringList{red, blue, rx};
    QTest::newRow("June") << "d" << 0 << 0 << QDate(2024, 6, 1) << QDate(2024, 6, 30)
                          << QStringList{QStringLiteral("Red 2200|1|12:00|12:00|5.00 A|55 %"), rx};
    QTest::newRow("one pack") << "a" << 0 << 2 << none << none << QStringList{blue};
    QTest::newRow("one model") << "m" << 1 << 0 << none << none
                               << QStringList{QStringLiteral("Red 2200|2|18:00|9:00|10.05 A|34 %")};
}

void MainWindowTest::accuStatistics()
{
    QFETCH(QString, filters);
    QFETCH(int, modelId);
    QFETCH(int, accuId);
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(QStringList, rows);
    openSample();
    m_f->child<QTabWidget>("m_pTabs")->setCurrentIndex(2);
    setStatsFilter("2", filters, modelId, accuId, start, end);
    QCOMPARE(statRows(m_f.get(), "m_pTableAccuStats"), rows);
    QVERIFY(m_f->warnings().isEmpty());
}

void MainWindowTest::statisticsFollowTheLogOnlyWhenShown()
{
    openSample();
    QTabWidget* tabs = m_f->child<QTabWidget>("m_pTabs");
    tabs->setCurrentIndex(1);
    QCOMPARE(m_f->cell(2, 1, "m_pTableModelStats"), QStringLiteral("1"));
    tabs->setCurrentIndex(0);
    QVERIFY(m_f->chooseId("m_pModelList", 3));
    QVERIFY(m_f->chooseId("m_pAccuList", 3));
    m_f->child<DurationEdit>("m_pTime")->setTime(QTime(1, 0, 0));
    m_f->child<QSpinBox>("m_pCharged")->setValue(1000);
    m_f->child<QPushButton>("m_pButtonAdd")->click();
    tabs->setCurrentIndex(1);
    // Tx now: 3 h over two uses; (275 + 1000) / 2 mA; (50 + 9.09) / 2 %.
    QCOMPARE(statRows(m_f.get(), "m_pTableModelStats").at(2),
             QStringLiteral("Tx|2|3:00:00|1:30:00|0.64 A|30 %"));
    // An end date before the start: warned once, collected without the date filter.
    m_f->child<QDateEdit>("m_pFilterStatsStartDate")->setDate(QDate(2024, 6, 2));
    m_f->child<QDateEdit>("m_pFilterStatsEndDate")->setDate(QDate(2024, 6, 1));
    QVERIFY(m_f->warnings().isEmpty());
    m_f->child<QCheckBox>("m_pCheckFilterStatsByDate")->setChecked(true);
    QCOMPARE(m_f->takeWarnings().size(), 1);
    QCOMPARE(m_f->rows("m_pTableModelStats"), 3);
}

void MainWindowTest::chargerEntryFillsTheEditor()
{
    openSample();
    QComboBox* accus = m_f->child<QComboBox>("m_pAccuList");
    QSpinBox* charged = m_f->child<QSpinBox>("m_pCharged");
    QVERIFY(m_f->chooseId("m_pAccuList", 1));
    m_f->window()->onApplyEntryFromCharger(-1, 850);
    QCOMPARE(charged->value(), 850);
    QCOMPARE(accus->currentData().toInt(), 1);
    m_f->window()->onApplyEntryFromCharger(3, 1200);
    QCOMPARE(accus->currentData().toInt(), 3);
    QCOMPARE(charged->value(), 1200);
    m_f->window()->onApplyEntryFromCharger(99, 10);
    QCOMPARE(accus->currentIndex(), -1);
    QCOMPARE(charged->value(), 10);
}

void MainWindowTest::germanAndBack()
{
    QVERIFY(m_f->copyGerman());
    openSample();
    QTabWidget* tabs = m_f->child<QTabWidget>("m_pTabs");
    QLabel* count = m_f->child<QLabel>("m_labelNumResults");
    QPushButton* add = m_f->child<QPushButton>("m_pButtonAdd");
    const QString english = tabs->tabText(0);

    m_f->child<QAction>("actionGerman")->trigger();
    QVERIFY(m_f->warnings().isEmpty());
    QVERIFY(tabs->tabText(0) != english);
    QCOMPARE(add->text(), QStringLiteral("Hinzufügen"));
    // The choice is remembered at once, for the next start.
    const QString ini = m_f->path(QStringLiteral("tarvelo.ini"));
    QCOMPARE(QSettings(ini, QSettings::IniFormat).value("language").toString(),
             QStringLiteral("de"));
    QCOMPARE(m_f->child<QAction>("actionExit")->text(), QStringLiteral("Beenden"));
    // The count keeps its number in the new language.
    QVERIFY(count->text().startsWith(QStringLiteral("6 ")));
    QVERIFY(count->text() != entrysText(6));
    // The headers of the tables follow too.
    QCOMPARE(m_f->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Datum"));
    // and figures, dates, type names and Qt's own texts, at once
    const auto cell = [this](int id, int column) {
        auto* log = static_cast<LogEntryTableModel*>(m_f->model());
        return log->index(log->rowOfId(id), column).data().toString();
    };
    auto* models = m_f->child<QComboBox>("m_pModelList");
    auto* date = m_f->child<QDateEdit>("m_pDate");
    date->setDate(QDate(2024, 6, 9));
    const auto qtCancel = []() {
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        return box.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&'));
    };
    QCOMPARE(cell(1, LogEntryTableModel::ColumnDate), QStringLiteral("04.05.2024"));
    QCOMPARE(cell(1, LogEntryTableModel::ColumnCurrent), QStringLiteral("6,60 A"));
    QCOMPARE(date->text(), QStringLiteral("09.06.2024"));
    QVERIFY2(models->itemText(0).startsWith(QStringLiteral("Flugzeug")),
             qPrintable(models->itemText(0)));
    QCOMPARE(qtCancel(), QStringLiteral("Abbrechen"));

    m_f->child<QAction>("actionEnglish")->trigger();
    QVERIFY(m_f->warnings().isEmpty());
    QCOMPARE(QSettings(ini, QSettings::IniFormat).value("language").toString(),
             QStringLiteral("en"));
    QCOMPARE(tabs->tabText(0), english);
    QCOMPARE(add->text(), QStringLiteral("Add"));
    QCOMPARE(count->text(), entrysText(6));
    QCOMPARE(cell(1, LogEntryTableModel::ColumnDate), QStringLiteral("2024-05-04"));
    QCOMPARE(cell(1, LogEntryTableModel::ColumnCurrent), QStringLiteral("6.60 A"));
    QCOMPARE(date->text(), QStringLiteral("2024-06-09"));
    QVERIFY2(models->itemText(0).startsWith(QStringLiteral("Plane")),
             qPrintable(models->itemText(0)));
    QCOMPARE(qtCancel(), QStringLiteral("Cancel"));
}

void MainWindowTest::germanFileMissing()
{
    openSample();
    m_f->child<QAction>("actionGerman")->trigger();
    const QList<Warning> warnings = m_f->takeWarnings();
    QCOMPARE(warnings.size(), 1);
    QCOMPARE(warnings[0].title, QStringLiteral("Error changing language"));
    QCOMPARE(warnings[0].text, QStringLiteral("Couldn't load german language file\n"));
    QCOMPARE(m_f->child<QPushButton>("m_pButtonAdd")->text(), QStringLiteral("Add"));
}

void MainWindowTest::acceptedOptionsKeepTheSession()
{
    openSample();
    // An edit to undo, and a pack's history in a window of its own.
    m_f->clickRow(0);
    m_f->child<QSpinBox>("m_pCharged")->setValue(1111);
    m_f->child<QPushButton>("m_pButtonChange")->click();
    UndoHistory* history = m_f->window()->undoHistory();
    QCOMPARE(history->count(), 1);
    m_f->window()->showPackHistory(1);
    const auto openHistories = [this]() {
        int open = 0;
        for (QWidget* w : m_f->window()->findChildren<PackHistoryWindow*>())
            open += w->isVisible();
        return open;
    };
    QCOMPARE(openHistories(), 1);
    QFile ini(m_f->path(QStringLiteral("tarvelo.ini")));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray before = ini.readAll();
    ini.close();

    // OK with nothing changed: nothing written, nothing reopened.
    bool accepted = false;
    MainWindowFixture::whenModal([&accepted](QWidget* dialog) {
        accepted = dialog->objectName() == QStringLiteral("OptionsDialog");
        static_cast<QDialog*>(dialog)->accept();
    });
    m_f->child<QAction>("actionSettings")->trigger();
    QVERIFY(accepted);
    QVERIFY(m_f->warnings().isEmpty());
    QCOMPARE(history->count(), 1);
    QCOMPARE(openHistories(), 1);
    QCOMPARE(m_f->table()->currentIndex().row(), 0);
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QCOMPARE(ini.readAll(), before);
    ini.close();

    // Another log book: it is opened, with a history of its own; the port nobody chose stays
    // empty.
    QVERIFY(m_f->createBook(QStringLiteral("other.sqlite")));
    MainWindowFixture::whenModal([](QWidget* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("m_pLineEditSqLiteFilename"))
            ->setText(QStringLiteral("other.sqlite"));
        static_cast<QDialog*>(dialog)->accept();
    });
    m_f->child<QAction>("actionSettings")->trigger();
    QVERIFY(m_f->warnings().isEmpty());
    QCOMPARE(m_f->rows(), 0);
    QCOMPARE(history->count(), 0);
    QSettings settings(m_f->path(QStringLiteral("tarvelo.ini")), QSettings::IniFormat);
    QCOMPARE(settings.value(QStringLiteral("sqlitefilename")).toString(),
             QStringLiteral("other.sqlite"));
    QCOMPARE(settings.value(QStringLiteral("chargerportwin32")).toString(), QString());
}

void MainWindowTest::failedReconnectRefusesStoreActions()
{
    openSample();
    QTabWidget* tabs = m_f->child<QTabWidget>("m_pTabs");
    tabs->setCurrentIndex(1);
    QCOMPARE(m_f->rows("m_pTableModelStats"), 3);
    tabs->setCurrentIndex(0);

    // Point the options at a book that does not exist.
    auto pointAt = [](const QString& file) {
        MainWindowFixture::whenModal([file](QWidget* dialog) {
            dialog->findChild<QLineEdit*>(QStringLiteral("m_pLineEditSqLiteFilename"))
                ->setText(file);
            static_cast<QDialog*>(dialog)->accept();
        });
    };
    pointAt(m_f->path(QStringLiteral("missing.sqlite")));
    m_f->child<QAction>("actionSettings")->trigger();
    QList<Warning> warnings = m_f->takeWarnings();
    QCOMPARE(warnings.size(), 1);
    // One message, naming the file and what to do.
    QCOMPARE(warnings[0].title, QStringLiteral("Log book not opened"));
    QVERIFY(warnings[0].text.contains(m_f->path(QStringLiteral("missing.sqlite"))));
    QVERIFY(warnings[0].text.contains(QStringLiteral("File > Open log book")));

    // Nothing is shown from the old book, and painting reads nothing through a deleted store.
    QCOMPARE(m_f->rows(), 0);
    QCOMPARE(m_f->child<QLabel>("m_labelNumResults")->text(), entrysText(0));
    m_f->window()->grab();
    tabs->setCurrentIndex(1);
    QCOMPARE(m_f->rows("m_pTableModelStats"), 0);
    tabs->setCurrentIndex(2);
    QCOMPARE(m_f->rows("m_pTableAccuStats"), 0);
    tabs->setCurrentIndex(0);
    QVERIFY(m_f->takeWarnings().isEmpty());

    // What needs a store is off and says why, instead of a warning at every click; the log
    // tab offers another log book.
    for (const char* button : {"m_pButtonAdd", "m_pButtonChange", "m_pButtonRemove"})
        QVERIFY(!m_f->child<QPushButton>(button)->isEnabled());
    QCOMPARE(m_f->child<QPushButton>("m_pButtonAdd")->toolTip(),
             QStringLiteral("No log book is open."));
    QVERIFY(!m_f->child<QAction>("actionAccuManagement")->isEnabled());
    QVERIFY(!m_f->child<QAction>("actionModelManagement")->isEnabled());
    QVERIFY(m_f->child<QPushButton>("m_pWelcomeOpen")->isVisibleTo(m_f->window()));
    QVERIFY(m_f->takeWarnings().isEmpty());

    // F5 tries the store again, and says so once more when it still fails.
    m_f->child<QAction>("actionReload")->trigger();
    QCOMPARE(m_f->takeWarnings().size(), 1);

    // Back to the real book: everything is there again.
    pointAt(QStringLiteral("tarvelo.sqlite"));
    m_f->child<QAction>("actionSettings")->trigger();
    QVERIFY(m_f->takeWarnings().isEmpty());
    QCOMPARE(m_f->rows(), 6);
    m_f->child<DurationEdit>("m_pTime")->setTime(QTime(0, 10));
    m_f->child<QPushButton>("m_pButtonAdd")->click();
    QVERIFY(m_f->takeWarnings().isEmpty());
    QCOMPARE(m_f->window()->store()->logCache().size(), 7);
}

void MainWindowTest::bookFromTheCommandLine()
{
    // The settings name the empty tarvelo.sqlite; the command line names another book.
    QVERIFY(m_f->createBook(QStringLiteral("other.sqlite")));
    QVERIFY(m_f->sql(QString::fromUtf8(kSampleBook), QStringLiteral("other.sqlite")));
    QFile ini(m_f->path(QStringLiteral("tarvelo.ini")));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray settings = ini.readAll();
    ini.close();
    QVERIFY(m_f->openWindow(m_f->path(QStringLiteral("other.sqlite"))));
    QVERIFY(m_f->takeWarnings().isEmpty());
    QCOMPARE(m_f->rows(), 6);
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QCOMPARE(ini.readAll(), settings);
    ini.close();

    // Options accepted without choosing another store keep the book.
    MainWindowFixture::whenModal([](QWidget* dialog) { static_cast<QDialog*>(dialog)->accept(); });
    m_f->child<QAction>("actionSettings")->trigger();
    QCOMPARE(m_f->rows(), 6);

    // Another store chosen: the settings decide again.
    MainWindowFixture::whenModal([this](QWidget* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("m_pLineEditSqLiteFilename"))
            ->setText(m_f->path(QStringLiteral("tarvelo.sqlite")));
        static_cast<QDialog*>(dialog)->accept();
    });
    m_f->child<QAction>("actionSettings")->trigger();
    QVERIFY(m_f->takeWarnings().isEmpty());
    QCOMPARE(m_f->rows(), 0);
}

void MainWindowTest::logBooksFromTheFileMenu()
{
    openSample();
    QString chosen;
    FileChooser::setHandler([&chosen](QWidget*, FileChooser::Purpose, const QString&,
                                      const QString&) { return chosen; });
    auto fileMenu = [this](const char* action, const QString& file, QString* chosen) {
        *chosen = file;
        m_f->child<QAction>(action)->trigger();
    };
    const QString ini = m_f->path(QStringLiteral("tarvelo.ini"));
    auto stored = [&ini](const char* key) {
        return QSettings(ini, QSettings::IniFormat).value(QLatin1String(key)).toStringList();
    };

    // A new log book: made from the schema, open, welcoming, and kept as the user's choice
    // (relative to the portable folder).
    fileMenu("actionNewLogBook", m_f->path(QStringLiteral("books/new.sqlite")), &chosen);
    QVERIFY(m_f->takeWarnings().isEmpty());
    QCOMPARE(m_f->rows(), 0);
    QVERIFY(m_f->child<QWidget>("m_pWelcome")->isVisibleTo(m_f->window()));
    QCOMPARE(stored("sqlitefilename"), QStringList{QStringLiteral("books/new.sqlite")});

    // An existing name is never replaced; a file that is no log book leaves the open one.
    fileMenu("actionNewLogBook", m_f->path(QStringLiteral("tarvelo.sqlite")), &chosen);
    QFile junk(m_f->path(QStringLiteral("notes.sqlite")));
    QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("shopping list\n") > 0);
    junk.close();
    fileMenu("actionOpenLogBook", junk.fileName(), &chosen);
    QCOMPARE(m_f->takeWarnings().size(), 2);
    QVERIFY(m_f->window()->logBook()->isOpen());
    QCOMPARE(stored("sqlitefilename"), QStringList{QStringLiteral("books/new.sqlite")});

    fileMenu("actionOpenLogBook", m_f->path(QStringLiteral("tarvelo.sqlite")), &chosen);
    QCOMPARE(m_f->rows(), 6);
    QCOMPARE(stored("recentlogbooks"),
             (QStringList{QStringLiteral("tarvelo.sqlite"), QStringLiteral("books/new.sqlite")}));

    // The next start opens the last choice and lists both as recent; the second is a click
    // away.
    m_f->closeWindow();
    QVERIFY(m_f->openWindow());
    QCOMPARE(m_f->rows(), 6);
    const QList<QAction*> recent = m_f->child<QMenu>("menuRecent")->actions();
    QCOMPARE(recent.size(), 2);
    QVERIFY(recent[1]->text().endsWith(
        QDir::toNativeSeparators(m_f->path(QStringLiteral("books/new.sqlite")))));
    recent[1]->trigger();
    QCOMPARE(m_f->rows(), 0);
    QCOMPARE(stored("sqlitefilename"), QStringList{QStringLiteral("books/new.sqlite")});
    QVERIFY(m_f->takeWarnings().isEmpty());
    FileChooser::setHandler(nullptr);
}

void MainWindowTest::firstRunStartsOnANewBook()
{
    // No INI here, and a per-user store and data folder of the test's own: a machine where
    // Tarvelo never ran.
    QVERIFY(QFile::remove(m_f->path(QStringLiteral("tarvelo.ini"))));
    const QString home = m_f->path(QStringLiteral("home"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home + "/config");
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(home + "/data"));
    auto restore = qScopeGuard([&oldData] {
        qputenv("XDG_DATA_HOME", oldData);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QDir::homePath() + "/.config");
    });
    const QString book = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                         QStringLiteral("/tarvelo.sqlite");
    QVERIFY(book.startsWith(home));

    StderrCapture err(m_f->path(QStringLiteral("stderr.txt")));
    QVERIFY(m_f->openWindow());
    QVERIFY2(!err.text().contains("default"), "a first run names no missing setting");
    QVERIFY(m_f->takeWarnings().isEmpty());
    QVERIFY(QFile::exists(book));
    QVERIFY(m_f->window()->logBook()->isOpen());
    QVERIFY(m_f->child<QWidget>("m_pWelcome")->isVisibleTo(m_f->window()));

    // The second start opens the same book; it is not made again.
    QVERIFY(m_f->sql(QStringLiteral("INSERT INTO accus (accuBrand) VALUES ('kept');"),
                     QDir(m_f->path(QString())).relativeFilePath(book)));
    m_f->closeWindow();
    StderrCapture again(m_f->path(QStringLiteral("stderr2.txt")));
    QVERIFY(m_f->openWindow());
    QVERIFY2(!again.text().contains("missing"), "the first run wrote every option");
    QCOMPARE(m_f->window()->logBook()->accus().size(), 1);
    QVERIFY(m_f->takeWarnings().isEmpty());
}

void MainWindowTest::noChargerChosen()
{
    // usecharger on, but no charger class in the settings.
    IniValues ini;
    ini.useCharger = true;
    ini.chargerClass = 255;
    m_f->writeIni(ini);
    openSample();
    QAction* show = m_f->child<QAction>("actionShowChargerStatus");
    QVERIFY(show->isEnabled());
    show->trigger();
    const QList<Warning> warnings = m_f->takeWarnings();
    QCOMPARE(warnings.size(), 1);
    QCOMPARE(warnings[0].title, QStringLiteral("Error opening port"));
    QVERIFY(warnings[0].text.startsWith(QStringLiteral("Couldn't open port")));
    QVERIFY(!m_f->window()->findChild<QDialog*>(QStringLiteral("ChargerStatus"))->isVisible());
}

void MainWindowTest::rememberedAcrossTwoStarts_data()
{
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("drag"); // how far the edge of the first log column is dragged
    QTest::newRow("log tab, columns fitted") << QRect(30, 40, 700, 500) << 0 << 0;
    QTest::newRow("pack statistics, a column dragged") << QRect(60, 20, 720, 530) << 2 << 50;
}

void MainWindowTest::rememberedAcrossTwoStarts()
{
    QFETCH(QRect, geometry);
    QFETCH(int, tab);
    QFETCH(int, drag);
    const QString ini = m_f->path(QStringLiteral("tarvelo.ini"));
    QSettings before(ini, QSettings::IniFormat);
    QMap<QString, QString> options;
    for (const QString& key : before.allKeys())
        options[key] = before.value(key).toString();
    auto text = [&ini] {
        QFile f(ini);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray written = text();

    openSample();
    QCOMPARE(text(), written); // starting writes nothing
    MainWindow* w = m_f->window();
    w->setGeometry(geometry);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QHeaderView* header = m_f->table()->horizontalHeader();
    QList<int> widths;
    if (drag) {
        const QPoint edge(header->sectionViewportPosition(0) + header->sectionSize(0) - 1,
                          header->height() / 2);
        QTest::mousePress(header->viewport(), Qt::LeftButton, Qt::NoModifier, edge);
        QTest::mouseMove(header->viewport(), edge + QPoint(drag, 0));
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                            edge + QPoint(drag, 0));
        for (int c = 0; c < header->count(); ++c)
            widths << header->sectionSize(c);
    }
    m_f->child<QTabWidget>("m_pTabs")->setCurrentIndex(tab);
    QVERIFY(w->close());
    QVERIFY(m_f->warnings().isEmpty());
    m_f->closeWindow();

    // The options stay as they were; what the window remembers is beside them.
    QSettings after(ini, QSettings::IniFormat);
    for (auto it = options.cbegin(); it != options.cend(); ++it)
        QCOMPARE(after.value(it.key()).toString(), it.value());
    QCOMPARE(after.value("window/tab").toInt(), tab);
    // Widths only where the user gave them; else the next start fits the columns again.
    QCOMPARE(after.value("window/logColumns").toString().isEmpty(), drag == 0);

    w = m_f->openWindow();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QCOMPARE(w->geometry(), geometry);
    QCOMPARE(m_f->child<QTabWidget>("m_pTabs")->currentIndex(), tab);
    header = m_f->table()->horizontalHeader();
    for (int c = 0; c < widths.size(); ++c)
        QCOMPARE(header->sectionSize(c), widths[c]);
    QVERIFY(m_f->warnings().isEmpty());
}

void MainWindowTest::readOnlyIniReportedOnce()
{
    openSample();
    const QString ini = m_f->path(QStringLiteral("tarvelo.ini"));
    ReadOnly readOnly(ini);
    if (!readOnly.isSet())
        QSKIP("cannot make the file read-only for the superuser here");

    // Two language switches and closing: each would write, one says that it could not.
    m_f->child<QAction>("actionEnglish")->trigger();
    m_f->child<QAction>("actionEnglish")->trigger();
    m_f->child<QTabWidget>("m_pTabs")->setCurrentIndex(1);
    QVERIFY(m_f->window()->close());
    const QList<Warning> warnings = m_f->takeWarnings();
    QCOMPARE(warnings.size(), 1);
    QCOMPARE(warnings[0].title, QStringLiteral("Settings not saved"));
    QVERIFY2(warnings[0].text.contains(ini), qPrintable(warnings[0].text));
    QVERIFY(m_f->window()->settings()->values().language().isEmpty());
}

void MainWindowTest::unreadableSettingsReported()
{
    // No portable INI; in the per-user store's place a folder, which no one can read as a file.
    QTemporaryDir user;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, user.path());
    QVERIFY(QFile::remove(m_f->path(QStringLiteral("tarvelo.ini"))));
    const QString store = user.filePath(QStringLiteral("Kelvorn/Tarvelo.conf"));
    QVERIFY(QDir().mkpath(store));
    QVERIFY(m_f->openWindow());
    const QList<Warning> warnings = m_f->takeWarnings();
    QVERIFY(!warnings.isEmpty());
    QCOMPARE(warnings[0].title, QStringLiteral("Settings not read"));
    QVERIFY2(warnings[0].text.contains(store), qPrintable(warnings[0].text));
    QVERIFY(m_f->window()->settings()->values() == SettingsValues());
    m_f->closeWindow();
    QVERIFY(QFileInfo(store).isDir());
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
