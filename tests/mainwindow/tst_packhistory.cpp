// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The history of a pack and the cycle limits, through the main window as a user reaches them:
// a double click in the pack statistics or the Management menu, the log book changing under
// an open history, a limit changed in the options.
#include "mainwindowfixture.h"
#include "samplebook.h"

#include "charger/chargerstatus.h"
#include "views/chart.h"
#include "views/durationedit.h"
#include "views/packhistorywindow.h"

#include <QAction>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolTip>
#include <QtCharts/QChartView>

namespace
{
const QColor kAmber(255, 214, 122);
const QColor kRed(255, 160, 160);
const QString kRest = QStringLiteral("Rest capacity (%)");

QString text(QWidget* window, const char* label)
{
    return window->findChild<QLabel*>(QString::fromLatin1(label))->text();
}
} // namespace

class PackHistoryTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void historyFollowsTheLogBook();
    void limitsMarkPacks();
    void chosenFromTheMenuInGerman();

private:
    void openSample();
    void doubleClickPack(int row);
    QList<PackHistoryWindow*> histories() const
    {
        return m_f->window()->findChildren<PackHistoryWindow*>();
    }
    // Sets a cycle limit in the options dialog and presses OK.
    void setLimit(const char* spin, int limit);
    QVariant statRole(int row, int role) const
    {
        QAbstractItemModel* m = m_f->model("m_pTableAccuStats");
        return m->data(m->index(row, 1), role);
    }

    std::unique_ptr<MainWindowFixture> m_f;
};

void PackHistoryTest::init()
{
    m_f = std::make_unique<MainWindowFixture>();
    QVERIFY(m_f->createBook());
    m_f->writeIni(IniValues());
}

void PackHistoryTest::cleanup()
{
    m_f.reset();
}

void PackHistoryTest::openSample()
{
    QVERIFY(m_f->sql(QString::fromUtf8(kSampleBook)));
    QVERIFY(m_f->openWindow());
    m_f->window()->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_f->window()));
    m_f->child<QTabWidget>("m_pTabs")->setCurrentIndex(2);
}

void PackHistoryTest::doubleClickPack(int row)
{
    QTableView* view = m_f->table("m_pTableAccuStats");
    const QRect rect = view->visualRect(view->model()->index(row, 0));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

void PackHistoryTest::setLimit(const char* spin, int limit)
{
    MainWindowFixture::whenModal([spin, limit](QWidget* dialog) {
        dialog->findChild<QSpinBox*>(QString::fromLatin1(spin))->setValue(limit);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    m_f->child<QAction>("actionSettings")->trigger();
}

void PackHistoryTest::historyFollowsTheLogBook()
{
    openSample();
    // Red 2200: entries 1, 2, 6 in the Cub, the Cub and the T-Rex.
    doubleClickPack(0);
    QCOMPARE(histories().size(), 1);
    QPointer<PackHistoryWindow> w = histories().first();
    QCOMPARE(w->accuId(), 1);
    QVERIFY(w->isVisible());
    QCOMPARE(text(w, "m_pLabelCycles"), QStringLiteral("3 of 300 for LiPo packs"));
    QCOMPARE(text(w, "m_pLabelModels"), QStringLiteral("Cub (2), T-Rex (1)"));
    QCOMPARE(text(w, "m_pLabelTotalTime"), QStringLiteral("00:30:00"));
    QCOMPARE(text(w, "m_pLabelAvgCurrent"), QStringLiteral("8.37 A"));
    auto* uses = w->findChild<Chart*>(QStringLiteral("m_pChartUses"));
    QCOMPARE(uses->seriesPoints(kRest), (QVector<QPointF>{{1, 50}, {2, 19}, {3, 55}}));
    // The pointer a little above the second use shows its date.
    auto* view = uses->findChild<QChartView*>();
    const QPointF second = view->chart()->mapToPosition({2, 19}, view->chart()->series().first());
    QTest::mouseMove(view->viewport(),
                     view->mapFromScene(view->chart()->mapToScene(second)) - QPoint(0, 40));
    const QString day = w->locale().toString(QDate(2024, 5, 4), QLocale::ShortFormat);
    QTRY_VERIFY(QToolTip::text().contains(QStringLiteral(", %1: 19 % rest").arg(day)));
    // Through (1, 50), (2, 19), (3, 55): 2.5 % a use.
    QCOMPARE(text(w, "m_pLabelTrend"), QStringLiteral("+250.0 % per 100 uses"));
    QCOMPARE(m_f->rows("m_pTableEntries"), 3);

    // The same pack again: the open window, not a second one.
    doubleClickPack(0);
    QCOMPARE(histories().size(), 1);

    // A later use that left 50 %, added through the log tab's editor.
    m_f->child<QTabWidget>("m_pTabs")->setCurrentIndex(0);
    QVERIFY(m_f->chooseId("m_pAccuList", 1));
    QVERIFY(m_f->chooseId("m_pModelList", 2));
    m_f->child<QDateEdit>("m_pDate")->setDate(QDate(2024, 6, 20));
    m_f->child<DurationEdit>("m_pTime")->setTime(QTime(0, 10));
    m_f->child<QSpinBox>("m_pCharged")->setValue(1100);
    m_f->child<QPushButton>("m_pButtonAdd")->click();
    QTRY_COMPARE(text(w, "m_pLabelCycles"), QStringLiteral("4 of 300 for LiPo packs"));
    QCOMPARE(uses->seriesPoints(kRest).last(), QPointF(4, 50));
    QCOMPARE(text(w, "m_pLabelModels"), QStringLiteral("Cub (2), T-Rex (2)"));
    QCOMPARE(m_f->rows("m_pTableEntries"), 4);
    // Around the mean (2.5, 43.5): 18 / 5 % a use; the last two alone lose 5 % a use.
    QCOMPARE(text(w, "m_pLabelTrend"), QStringLiteral("+360.0 % per 100 uses"));
    w->findChild<QSpinBox*>(QStringLiteral("m_pSpinTrendUses"))->setValue(2);
    QCOMPARE(text(w, "m_pLabelTrend"), QStringLiteral("\u2212500.0 % per 100 uses"));

    // Another log book: the pack is not in it.
    QVERIFY(m_f->window()->connectDatabase());
    QTRY_VERIFY(w.isNull());
    QVERIFY(m_f->warnings().isEmpty());
}

void PackHistoryTest::limitsMarkPacks()
{
    openSample();
    QVERIFY(m_f->window()->logBook()->addEntry(
                LogEntry(nullptr, QDate(2024, 6, 20), QTime(0, 10), 1320, 1, 2, -1)) > 0);
    m_f->child<QTabWidget>("m_pTabs")->setCurrentIndex(0);
    m_f->child<QTabWidget>("m_pTabs")->setCurrentIndex(2);
    // Red 2200 (LiPo) has 4 cycles, Blue 5000 (LiPo) 2, Rx 1100 (LiFe) 1.
    QVERIFY(!statRole(0, Qt::BackgroundRole).isValid());
    QVERIFY(!statRole(0, Qt::ToolTipRole).isValid());

    setLimit("m_pSpinCycleLimitLiPo", 5); // 80 % of 5
    QCOMPARE(statRole(0, Qt::BackgroundRole).value<QColor>(), kAmber);
    QCOMPARE(statRole(0, Qt::ToolTipRole).toString(),
             QStringLiteral("4 of the 5 cycles set for LiPo packs: nearing its limit"));
    QVERIFY(!statRole(1, Qt::BackgroundRole).isValid()); // 2 of 5

    setLimit("m_pSpinCycleLimitLiFe", 1);
    QCOMPARE(statRole(2, Qt::BackgroundRole).value<QColor>(), kRed);
    QCOMPARE(statRole(2, Qt::ToolTipRole).toString(),
             QStringLiteral("1 of the 1 cycles set for LiFe packs: time to retire it"));

    // The charger proposes both LiPo packs; the worn one says so.
    auto* charger = m_f->child<ChargerStatus>("ChargerStatus");
    ChargerStatus::AccuIdList ids;
    ids.fill(-1);
    ids[0] = 1;
    ids[1] = 2;
    charger->fillFittingAccus(ids);
    QCOMPARE(charger->m_pComboFittingAccus->itemData(0, Qt::BackgroundRole).value<QColor>(),
             kAmber);
    QCOMPARE(charger->m_pLabelAccuWear->text(), statRole(0, Qt::ToolTipRole).toString());
    QVERIFY(charger->m_pLabelAccuWear->isVisibleTo(charger));
    charger->m_pComboFittingAccus->setCurrentIndex(1);
    QVERIFY(!charger->m_pLabelAccuWear->isVisibleTo(charger));

    // OK opens the store again, which starts a new detection.
    setLimit("m_pSpinCycleLimitLiPo", 4);
    QCOMPARE(statRole(0, Qt::BackgroundRole).value<QColor>(), kRed);
    charger->fillFittingAccus(ids);
    QCOMPARE(charger->m_pComboFittingAccus->itemData(0, Qt::BackgroundRole).value<QColor>(), kRed);
    QVERIFY(m_f->warnings().isEmpty());
}

void PackHistoryTest::chosenFromTheMenuInGerman()
{
    QVERIFY(m_f->copyGerman());
    openSample();
    m_f->child<QAction>("actionGerman")->trigger();
    // Red 2200, the first pack offered.
    MainWindowFixture::whenModal([](QWidget* dialog) {
        dialog->findChild<QComboBox*>()->setCurrentIndex(0);
        qobject_cast<QInputDialog*>(dialog)->accept();
    });
    m_f->child<QAction>("actionPackHistory")->trigger();
    QCOMPARE(histories().size(), 1);
    PackHistoryWindow* w = histories().first();
    QCOMPARE(w->accuId(), 1);
    QCOMPARE(text(w, "m_pLabelAvgCurrent"), QStringLiteral("8,37 A"));
    QVERIFY(text(w, "m_pLabelTrend").startsWith(QStringLiteral("+250,0 % ")));
    QVERIFY(!w->windowTitle().contains(QStringLiteral("History")));
    m_f->child<QAction>("actionEnglish")->trigger();
    QCOMPARE(text(w, "m_pLabelAvgCurrent"), QStringLiteral("8.37 A"));
    QCOMPARE(w->windowTitle(), QStringLiteral("History of Red 2200"));
    QVERIFY(m_f->warnings().isEmpty());
}

QTEST_MAIN(PackHistoryTest)
#include "tst_packhistory.moc"
