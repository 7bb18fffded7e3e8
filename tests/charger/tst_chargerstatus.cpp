// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The charger status window: what it shows of the charger's lines, the packs it proposes from
// a real SQLite store, and what it hands on.

#include "chargertestsupport.h"

#include "charger/chargerstatus.h"
#include "storage/logbook.h"
#include "storage/sqliteconnection.h"
#include "storage/sqliteschema.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

namespace
{
enum Typ { LiPo = 0, LiFe = 1, NiMh = 2 };

// A manager whose answers the test sets; anything not set fails like a closed charger.
class ScriptedManager : public ChargerManager
{
public:
    bool open = true;
    double capacity = 0.0;
    bool complete = false;

    bool isOpen() override { return open; }
    int linkState() override { return open ? LinkUp : LinkClosed; }
    int getChargedCapacity(double* d) override
    {
        *d = open ? capacity : 0.0;
        return open ? ResultDone : ResultNotOpen;
    }
    int getStatusText(char* t) override
    {
        copyText(t, QByteArray(open ? "Done" : ""));
        return open ? ResultDone : ResultNotOpen;
    }
    bool isChargeComplete() override { return open && complete; }
    int close() override
    {
        const bool was = open;
        open = false;
        return was ? ResultDone : ResultNotOpen;
    }
};

std::vector<int> line(int status, int inputMv, int clampMv, int current10mA,
                      const std::vector<int>& cellsMv, int intTemp, int extTemp, int capacity)
{
    std::vector<int> fields = {status, inputMv, clampMv, current10mA};
    fields.insert(fields.end(), cellsMv.begin(), cellsMv.end());
    fields.insert(fields.end(), {intTemp, extTemp, capacity});
    return fields;
}

QStringList comboTexts(const QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

QList<QLabel*> valueLabels(ChargerStatus& w)
{
    return {w.m_pLabelChargerStatus,  w.m_pLabelInputVoltage,   w.m_pLabelClampVoltage,
            w.m_pLabelCell1,          w.m_pLabelCell2,          w.m_pLabelCell3,
            w.m_pLabelCell4,          w.m_pLabelCell5,          w.m_pLabelCell6,
            w.m_pLabelChargeCurrent,  w.m_pLabelIntTemperature, w.m_pLabelExtTemperature,
            w.m_pLabelChargedCapacity};
}
} // namespace

class TestChargerStatus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void formStartsEmptyAndDisabled();
    void firstLineFillsTheLabels();
    void failingQueriesLeaveTheLabels();
    void detectAccus_data();
    void detectAccus();
    void detectionOffersAtMostTen();
    void detectionWithoutAStore();
    void detectionFollowsTheCharge();
    void detectionFollowsTheLogBook();
    void everyCellIsShown_data();
    void everyCellIsShown();
    void applyFollowsTheChargeState();
    void lostLinkGreysOut();
    void applyHandsOverPackAndCapacity_data();
    void applyHandsOverPackAndCapacity();
    void vanishedPackIsLeftOut();
    void closingClosesTheCharger_data();
    void closingClosesTheCharger();
    void languageChangeKeepsTitleAndValues();
    void windowGoneWhileLinesArrive();
    void countActiveCells_data();
    void countActiveCells();

private:
    int addAccu(LogBook& book, const QString& descr, int typ, int cells, int capacity);
    std::unique_ptr<LogBook> newBook();

    QTemporaryDir m_dir;
    int m_iStores = 0;
    std::unique_ptr<LogBook> m_pDb;
    QHash<QString, int> m_ids;
};

int TestChargerStatus::addAccu(LogBook& book, const QString& descr, int typ, int cells,
                               int capacity)
{
    return book.addAccu(AccuEntry(nullptr, QStringLiteral("Brand"), descr, capacity, cells, 25,
                                  typ, -1));
}

std::unique_ptr<LogBook> TestChargerStatus::newBook()
{
    const QString file = m_dir.filePath(QStringLiteral("store%1.sqlite").arg(++m_iStores));
    QString error;
    if (!SqliteSchema::createDatabase(file, &error))
        return nullptr;
    auto book = std::make_unique<LogBook>();
    if (!book->open(std::make_unique<SqLiteConnection>(file), &error))
        return nullptr;
    return book;
}

void TestChargerStatus::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_pDb = newBook();
    QVERIFY(m_pDb);
    const struct {
        const char* descr;
        int typ, cells, capacity;
    } packs[] = {{"lipo4s5000", LiPo, 4, 5000}, {"life4s5000", LiFe, 4, 5000},
                 {"life4s2500", LiFe, 4, 2500}, {"lipo3s2500", LiPo, 3, 2500},
                 {"nimh6s990", NiMh, 6, 990},   {"nimh6s1211", NiMh, 6, 1211},
                 {"lipo8s1000", LiPo, 8, 1000}, {"lipo2s3627", LiPo, 2, 3627},
                 {"lipo2s4433", LiPo, 2, 4433}, {"lipo2s4434", LiPo, 2, 4434}};
    for (const auto& p : packs) {
        const int id = addAccu(*m_pDb, QString::fromLatin1(p.descr), p.typ, p.cells, p.capacity);
        QVERIFY(id >= 0);
        m_ids.insert(QString::fromLatin1(p.descr), id);
    }
}

void TestChargerStatus::formStartsEmptyAndDisabled()
{
    ChargerManager manager;
    ChargerStatus w(nullptr, &manager, m_pDb.get());
    QCOMPARE(w.windowTitle(), QStringLiteral("ChargerStatus"));
    QCOMPARE(w.size(), QSize(572, 700));
    QCOMPARE(w.m_pGroupBoxCharger->title(), QStringLiteral("ChargerName"));
    for (QLabel* label : valueLabels(w))
        QCOMPARE(label->text(), QStringLiteral("Receiving..."));
    QCOMPARE(w.m_pLabelTextCell6->text(), QStringLiteral("Voltage Cell 6:"));
    QVERIFY(w.m_pLabelTextCell6->isVisibleTo(&w));
    QVERIFY(!w.m_pLabelTextCell7->isVisibleTo(&w));
    QVERIFY(!w.m_pButtonApply->isEnabled());
    QVERIFY(!w.m_pComboFittingAccus->isEnabled());
    QVERIFY(!w.m_pButtonResetPrediction->isEnabled());
    QVERIFY(w.m_pButtonClose->isEnabled());
    w.setChargerName(QStringLiteral("Junsi iCharger 106B+"));
    QCOMPARE(w.m_pGroupBoxCharger->title(), QStringLiteral("Junsi iCharger 106B+"));
}

void TestChargerStatus::firstLineFillsTheLabels()
{
    FedManager fed;
    ChargerStatus w(nullptr, fed.manager.get(), nullptr);
    QCOMPARE(fed.manager->openCharger(0, 0, 0), 0);
    fed.feed->push(exampleLine106());
    // The reader's callback reaches the window through its queued signal.
    QTRY_COMPARE(w.m_pLabelChargerStatus->text(), QStringLiteral("Charging"));
    QCOMPARE(w.m_pLabelInputVoltage->text(), QStringLiteral("12.000 V"));
    QCOMPARE(w.m_pLabelClampVoltage->text(), QStringLiteral("16.800 V"));
    QCOMPARE(w.m_pLabelCell1->text(), QStringLiteral("4.200 V"));
    QCOMPARE(w.m_pLabelCell6->text(), QStringLiteral("4.200 V"));
    QCOMPARE(w.m_pLabelChargeCurrent->text(), QStringLiteral("2.50 A"));
    QCOMPARE(w.m_pLabelIntTemperature->text(), QString::fromUtf8("25.3 \u00B0C"));
    QCOMPARE(w.m_pLabelExtTemperature->text(), QString::fromUtf8("25.1 \u00B0C"));
    QCOMPARE(w.m_pLabelChargedCapacity->text(), QStringLiteral("1234 mAh"));
    QVERIFY(!w.m_pButtonApply->isEnabled());

    fed.feed->push(StatusLine::compose(
        line(1, 11987, 16812, 251, {4201, 4203, 4199, 4200, 4202, 4200}, 254, -12, 1300)));
    QTRY_COMPARE(w.m_pLabelChargedCapacity->text(), QStringLiteral("1300 mAh"));
    QCOMPARE(w.m_pLabelInputVoltage->text(), QStringLiteral("11.987 V"));
    QCOMPARE(w.m_pLabelCell3->text(), QStringLiteral("4.199 V"));
    QCOMPARE(w.m_pLabelChargeCurrent->text(), QStringLiteral("2.51 A"));
    QCOMPARE(w.m_pLabelExtTemperature->text(), QString::fromUtf8("-1.2 \u00B0C"));
}

void TestChargerStatus::failingQueriesLeaveTheLabels()
{
    ChargerManager manager; // closed: every query fails
    ChargerStatus w(nullptr, &manager, m_pDb.get());
    w.updateChargerDataSlot();
    for (QLabel* label : valueLabels(w))
        QCOMPARE(label->text(), QStringLiteral("Receiving..."));
    // The detection still ran: 0 cells, 0 V, 0 A fits nothing here.
    QVERIFY(!w.m_pComboFittingAccus->isEnabled());
    QVERIFY(!w.isDetected());

    ChargerStatus noManager(nullptr, nullptr, m_pDb.get());
    noManager.updateChargerDataSlot();
    QCOMPARE(noManager.m_pLabelChargerStatus->text(), QStringLiteral("Receiving..."));
}

void TestChargerStatus::detectAccus_data()
{
    QTest::addColumn<int>("cells");
    QTest::addColumn<int>("volts");
    QTest::addColumn<double>("current");
    QTest::addColumn<QStringList>("fitting");
    // 2.5 A: 2250 to 2750 mAh; 16 V: 14.4 to 17.6 V; only four-cell packs.
    QTest::newRow("four cells at 16 V and 2.5 A")
        << 4 << 16 << 2.5 << QStringList{"lipo4s5000", "life4s2500"};
    QTest::newRow("three cells") << 3 << 16 << 2.5 << QStringList{"lipo3s2500"};
    QTest::newRow("one active cell: any cell count")
        << 1 << 16 << 2.5 << QStringList{"lipo4s5000", "life4s2500", "lipo3s2500"};
    // 4.03 A gives 3627 to 4433 mAh, but in binary the lower edge comes out a little above
    // 3627.
    QTest::newRow("capacity window edges")
        << 0 << 0 << 4.03 << QStringList{"lipo2s3627", "lipo2s4433"};
    QTest::newRow("voltage window edges")
        << 6 << 9 << 0.0 << QStringList{"nimh6s990", "nimh6s1211"};
    QTest::newRow("waiting: nothing fits") << 0 << 0 << 0.0 << QStringList{};
    QTest::newRow("cells nobody has") << 5 << 18 << 2.5 << QStringList{};
    QTest::newRow("eight cells by voltage") << 8 << 32 << 2.5 << QStringList{"lipo8s1000"};
}

void TestChargerStatus::detectAccus()
{
    QFETCH(int, cells);
    QFETCH(int, volts);
    QFETCH(double, current);
    QFETCH(QStringList, fitting);
    ChargerStatus w(nullptr, nullptr, m_pDb.get());
    ChargerStatus::AccuIdList ids;
    ids.fill(12345);
    QCOMPARE(w.detectAccus(cells, volts, current, ids), !fitting.isEmpty());
    ChargerStatus::AccuIdList expected;
    expected.fill(-1);
    for (int i = 0; i < fitting.size(); ++i)
        expected[static_cast<size_t>(i)] = m_ids.value(fitting[i]);
    QCOMPARE(QVector<int>(ids.begin(), ids.end()), QVector<int>(expected.begin(), expected.end()));
    QCOMPARE(w.isDetected(), !fitting.isEmpty());
    QCOMPARE(w.m_pButtonResetPrediction->isEnabled(), !fitting.isEmpty());
}

void TestChargerStatus::detectionOffersAtMostTen()
{
    auto db = newBook();
    QVERIFY(db);
    QVector<int> ids;
    for (int i = 0; i < 12; ++i)
        ids << addAccu(*db, QStringLiteral("pack%1").arg(i), LiPo, 3, 2000 + 10 * i);
    ChargerStatus w(nullptr, nullptr, db.get());
    ChargerStatus::AccuIdList found;
    QVERIFY(w.detectAccus(3, 11, 2.1, found));
    QCOMPARE(QVector<int>(found.begin(), found.end()), ids.mid(0, 10));
    w.fillFittingAccus(found);
    QCOMPARE(w.m_pComboFittingAccus->count(), 10);
    QCOMPARE(w.m_pComboFittingAccus->itemText(9), QStringLiteral("pack9"));
    QCOMPARE(w.m_pComboFittingAccus->itemData(9, Qt::UserRole).toInt(), ids[9]);
}

void TestChargerStatus::detectionWithoutAStore()
{
    ChargerStatus w(nullptr, nullptr, nullptr);
    ChargerStatus::AccuIdList ids;
    ids.fill(7);
    QVERIFY(!w.detectAccus(4, 16, 2.5, ids));
    QCOMPARE(ids[0], -1);
    QCOMPARE(ids[9], -1);
    QVERIFY(!w.isDetected());

    LogBook closed;
    QString error;
    QVERIFY(!closed.open(std::make_unique<SqLiteConnection>(
                             m_dir.filePath(QStringLiteral("missing.sqlite"))),
                         &error));
    ChargerStatus onClosed(nullptr, nullptr, &closed);
    QVERIFY(!onClosed.detectAccus(4, 16, 2.5, ids));
    QVERIFY(!onClosed.m_pButtonResetPrediction->isEnabled());
}

void TestChargerStatus::detectionFollowsTheCharge()
{
    FedManager fed;
    ChargerStatus w(nullptr, fed.manager.get(), m_pDb.get());
    QCOMPARE(fed.manager->openCharger(0, 0, 0), 0);
    const std::vector<int> four = {4200, 4200, 4200, 4200, 0, 0};
    const std::vector<int> three = {4200, 4200, 4200, 0, 0, 0};
    // Four active cells (two at 0 V), 16.8 V, 2.5 A.
    fed.feed->push(StatusLine::compose(line(1, 12000, 16800, 250, four, 250, 250, 100)));
    QTRY_COMPARE(comboTexts(w.m_pComboFittingAccus), QStringList({"lipo4s5000", "life4s2500"}));
    QVERIFY(w.m_pComboFittingAccus->isEnabled());
    QVERIFY(w.m_pButtonResetPrediction->isEnabled());
    QVERIFY(w.isDetected());

    // The same charge goes on: the detection stays as it was, and the user's choice too.
    w.m_pComboFittingAccus->setCurrentIndex(1);
    fed.feed->push(StatusLine::compose(line(1, 12000, 16900, 230, four, 250, 250, 150)));
    QTRY_COMPARE(w.m_pLabelChargedCapacity->text(), QStringLiteral("150 mAh"));
    QCOMPARE(w.m_pComboFittingAccus->currentIndex(), 1);

    // It ends; the detection stays.
    fed.feed->push(StatusLine::compose(line(6, 12000, 16800, 0, four, 250, 250, 2000)));
    QTRY_COMPARE(w.m_pLabelChargerStatus->text(), QStringLiteral("Done"));
    QCOMPARE(w.m_pComboFittingAccus->count(), 2);

    // The next charge is another pack's: 5 A and 13 V fit other packs.
    fed.feed->push(StatusLine::compose(line(1, 12000, 13000, 500, four, 250, 250, 10)));
    QTRY_COMPARE(comboTexts(w.m_pComboFittingAccus),
                 QStringList({"lipo4s5000", "life4s5000", "life4s2500"}));

    // Another pack on the balance lead: three cells.
    fed.feed->push(StatusLine::compose(line(1, 12000, 12600, 250, three, 250, 250, 20)));
    QTRY_COMPARE(comboTexts(w.m_pComboFittingAccus), QStringList({"lipo3s2500"}));
}

void TestChargerStatus::detectionFollowsTheLogBook()
{
    auto book = newBook();
    QVERIFY(book);
    const int pack = addAccu(*book, QStringLiteral("lipo4s2500"), LiPo, 4, 2500);
    addAccu(*book, QStringLiteral("lipo4s2400"), LiPo, 4, 2400);
    ScriptedManager manager;
    ChargerStatus w(nullptr, &manager, book.get());
    ChargerStatus::AccuIdList ids;
    // A store switch, a reload or a changed pack list: the packs proposed may be gone.
    const std::function<void()> changes[] = {
        [&] { book->reload(nullptr); },
        [&] { addAccu(*book, QStringLiteral("other"), LiPo, 2, 100); },
        [&] { book->removeAccu(pack); },
        [&] {
            QString error;
            book->open(std::make_unique<SqLiteConnection>(m_dir.filePath("missing")), &error);
        }};
    for (const auto& change : changes) {
        QVERIFY(w.detectAccus(4, 16, 2.5, ids));
        w.fillFittingAccus(ids);
        change();
        QCOMPARE(w.m_pComboFittingAccus->count(), 0);
        QVERIFY(!w.isDetected());
    }
}

void TestChargerStatus::everyCellIsShown_data()
{
    QTest::addColumn<int>("subtype"); // chosen
    QTest::addColumn<QVector<int>>("cellsMv");
    QTest::addColumn<QString>("spread");
    QTest::addColumn<QString>("detected"); // empty: the model chosen
    QTest::newRow("106B+") << 0 << QVector<int>{4001, 4002, 4003, 4004, 4005, 4006}
                           << "5 mV" << "";
    QTest::newRow("208B+, one cell low")
        << 1 << QVector<int>{4001, 4002, 4003, 4004, 4005, 4006, 4007, 3950} << "57 mV" << "";
    QTest::newRow("208B+, nothing on the balance lead")
        << 1 << QVector<int>(8, 0) << "none" << "";
    QTest::newRow("1010B+ chosen as 106B+")
        << 0 << QVector<int>{3701, 3702, 3703, 3704, 3705, 3706, 3707, 3708, 3709, 3710} << "9 mV"
        << "The charger sends 10 cells: it is a 1010B+, not the model chosen in the options.";
}

void TestChargerStatus::everyCellIsShown()
{
    QFETCH(int, subtype);
    QFETCH(QVector<int>, cellsMv);
    FedManager fed;
    ChargerStatus w(nullptr, fed.manager.get(), m_pDb.get());
    w.show();
    QCOMPARE(fed.manager->openCharger(0, subtype, 0), 0);
    fed.feed->push(StatusLine::compose(
        line(1, 24000, 32000, 250, std::vector<int>(cellsMv.begin(), cellsMv.end()), 250, 250,
             10)));
    QTRY_COMPARE(w.m_pLabelChargedCapacity->text(), QStringLiteral("10 mAh"));
    for (int cell = 1; cell <= 10; ++cell) {
        auto* text = w.findChild<QLabel*>(QStringLiteral("m_pLabelTextCell%1").arg(cell));
        auto* value = w.findChild<QLabel*>(QStringLiteral("m_pLabelCell%1").arg(cell));
        QCOMPARE(text->isVisible(), cell <= cellsMv.size());
        QCOMPARE(value->isVisible(), cell <= cellsMv.size());
        if (cell <= cellsMv.size())
            QCOMPARE(value->text(), QString::number(cellsMv[cell - 1] / 1000.0, 'f', 3) + " V");
    }
    QTEST(w.m_pLabelCellSpread->text(), "spread");
    QFETCH(QString, detected);
    QCOMPARE(w.m_pLabelDetectedModel->isVisible(), !detected.isEmpty());
    if (!detected.isEmpty())
        QCOMPARE(w.m_pLabelDetectedModel->text(), detected);
}

void TestChargerStatus::applyFollowsTheChargeState()
{
    FedManager fed;
    ChargerStatus w(nullptr, fed.manager.get(), m_pDb.get());
    QCOMPARE(fed.manager->openCharger(0, 0, 0), 0);
    QSignalSpy applied(&w, &ChargerStatus::signalApplyNewEntry);
    const std::vector<int> cells = {4200, 4200, 4200, 4200, 0, 0};
    fed.feed->push(StatusLine::compose(line(1, 12000, 16800, 250, cells, 250, 250, 2000)));
    QTRY_COMPARE(w.m_pComboFittingAccus->count(), 2);
    QVERIFY(!w.m_pButtonApply->isEnabled());

    fed.feed->push(StatusLine::compose(line(6, 12000, 16800, 0, cells, 250, 250, 2345)));
    QTRY_COMPARE(w.m_pLabelChargerStatus->text(), QStringLiteral("Done"));
    QVERIFY(w.m_pButtonApply->isEnabled());
    QVERIFY(w.m_pComboFittingAccus->isEnabled());
    w.m_pComboFittingAccus->setCurrentIndex(1);
    QTest::mouseClick(w.m_pButtonApply, Qt::LeftButton);
    QCOMPARE(applied.count(), 1);
    QCOMPARE(applied[0][0].toInt(), m_ids.value(QStringLiteral("life4s2500")));
    QCOMPARE(applied[0][1].toInt(), 2345);
    QVERIFY(w.m_pButtonApply->isEnabled()); // stays open and as it was

    // Trickle charging still counts as complete; an error does not.
    fed.feed->push(StatusLine::compose(line(8, 12000, 16800, 0, cells, 250, 250, 2350)));
    QTRY_COMPARE(w.m_pLabelChargerStatus->text(), QStringLiteral("LiXX trickle"));
    QVERIFY(w.m_pButtonApply->isEnabled());
    fed.feed->push(StatusLine::compose(line(7, 12000, 16800, 0, cells, 250, 250, 2350)));
    QTRY_COMPARE(w.m_pLabelChargerStatus->text(), QStringLiteral("Error"));
    QVERIFY(!w.m_pButtonApply->isEnabled());
}

void TestChargerStatus::lostLinkGreysOut()
{
    FedManager fed;
    ChargerStatus w(nullptr, fed.manager.get(), m_pDb.get());
    QCOMPARE(fed.manager->openCharger(0, 0, 0), 0);
    const std::vector<int> cells = {4200, 4200, 4200, 4200, 0, 0};
    fed.feed->push(StatusLine::compose(line(6, 12000, 16800, 0, cells, 250, 250, 2345)));
    QTRY_VERIFY(w.m_pButtonApply->isEnabled());
    QVERIFY(w.m_pLabelChargedCapacity->isEnabled());
    QCOMPARE(w.m_pLabelLink->text(), QStringLiteral("Connected"));
    fed.feed->setFailing(true); // the cable is pulled
    QTRY_COMPARE(w.m_pLabelLink->text(), QStringLiteral("Link lost: no line from the charger"));
    QVERIFY(!w.m_pButtonApply->isEnabled());
    QVERIFY(!w.m_pLabelChargedCapacity->isEnabled());
    QVERIFY(!w.m_pLabelCell1->isEnabled());
    QCOMPARE(w.m_pLabelChargedCapacity->text(), QStringLiteral("2345 mAh"));

    // A port that cannot be opened closes the window and says so.
    QSignalSpy failed(&w, &ChargerStatus::signalOpenFailed);
    fed.feed->refuseOpen = true;
    w.show();
    QCOMPARE(fed.manager->openCharger(0, 0, 0), 0);
    QTRY_COMPARE(failed.count(), 1);
    QVERIFY(!w.isVisible());
    QVERIFY(!fed.manager->isOpen());
}

void TestChargerStatus::applyHandsOverPackAndCapacity_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<double>("capacity");
    QTest::addColumn<bool>("withPacks");
    QTest::addColumn<int>("expectedCharged");
    QTest::newRow("fraction is cut") << true << 1234.9 << true << 1234;
    QTest::newRow("empty list") << true << 800.0 << false << 800;
    QTest::newRow("charger closed") << false << 999.0 << true << 0;
}

void TestChargerStatus::applyHandsOverPackAndCapacity()
{
    QFETCH(bool, open);
    QFETCH(double, capacity);
    QFETCH(bool, withPacks);
    ScriptedManager manager;
    manager.capacity = capacity;
    manager.open = open;
    ChargerStatus w(nullptr, &manager, m_pDb.get());
    if (withPacks) {
        ChargerStatus::AccuIdList ids;
        QVERIFY(w.detectAccus(4, 16, 2.5, ids));
        w.fillFittingAccus(ids);
    }
    QSignalSpy applied(&w, &ChargerStatus::signalApplyNewEntry);
    w.onButtonApply();
    QCOMPARE(applied.count(), 1);
    QCOMPARE(applied[0][0].toInt(), withPacks ? m_ids.value(QStringLiteral("lipo4s5000")) : -1);
    QTEST(applied[0][1].toInt(), "expectedCharged");
}

void TestChargerStatus::vanishedPackIsLeftOut()
{
    auto db = newBook();
    QVERIFY(db);
    const int keep = addAccu(*db, QStringLiteral("keep"), LiPo, 4, 2500);
    const int gone = addAccu(*db, QStringLiteral("gone"), LiPo, 4, 2500);
    ChargerStatus w(nullptr, nullptr, db.get());
    ChargerStatus::AccuIdList ids;
    QVERIFY(w.detectAccus(4, 16, 2.5, ids));
    QVERIFY(db->store()->deleteAccu(gone)); // behind the log book's back
    w.fillFittingAccus(ids);
    QCOMPARE(comboTexts(w.m_pComboFittingAccus), QStringList({"keep"}));
    QCOMPARE(w.m_pComboFittingAccus->itemData(0).toInt(), keep);
}

void TestChargerStatus::closingClosesTheCharger_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Close button") << "button";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("window close") << "close";
}

void TestChargerStatus::closingClosesTheCharger()
{
    QFETCH(QString, how);
    FedManager fed;
    ChargerStatus w(nullptr, fed.manager.get(), m_pDb.get());
    QCOMPARE(fed.manager->openCharger(0, 0, 0), 0);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const std::vector<int> cells = {4200, 4200, 4200, 4200, 0, 0};
    fed.feed->push(StatusLine::compose(line(6, 12000, 16800, 250, cells, 250, 250, 2000)));
    QTRY_VERIFY(w.m_pButtonApply->isEnabled());

    if (how == QLatin1String("button"))
        QTest::mouseClick(w.m_pButtonClose, Qt::LeftButton);
    else if (how == QLatin1String("escape"))
        QTest::keyClick(&w, Qt::Key_Escape);
    else
        w.close();
    QVERIFY(!w.isVisible());
    QVERIFY(!fed.manager->isOpen());
    QCOMPARE(fed.feed->liveReaders.load(), 0);
    QVERIFY(!w.m_pButtonApply->isEnabled());
    QVERIFY(!w.m_pComboFittingAccus->isEnabled());
    QVERIFY(!w.m_pButtonResetPrediction->isEnabled());
    // The detection and the last values are kept for the next showing.
    QCOMPARE(w.m_pComboFittingAccus->count(), 2);
    QVERIFY(w.isDetected());
    QCOMPARE(w.m_pLabelChargedCapacity->text(), QStringLiteral("2000 mAh"));
}

void TestChargerStatus::languageChangeKeepsTitleAndValues()
{
    FedManager fed;
    ChargerStatus w(nullptr, fed.manager.get(), nullptr);
    w.setChargerName(QStringLiteral("Junsi iCharger 208B+"));
    QCOMPARE(fed.manager->openCharger(0, 0, 0), 0);
    fed.feed->push(exampleLine106());
    QTRY_COMPARE(w.m_pLabelChargedCapacity->text(), QStringLiteral("1234 mAh"));
    QStringList before;
    for (QLabel* label : valueLabels(w))
        before << label->text();
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(&w, &change);
    QStringList after;
    for (QLabel* label : valueLabels(w))
        after << label->text();
    QCOMPARE(after, before);
    QCOMPARE(w.m_pGroupBoxCharger->title(), QStringLiteral("Junsi iCharger 208B+"));
}

void TestChargerStatus::windowGoneWhileLinesArrive()
{
    FedManager fed;
    auto w = std::make_unique<ChargerStatus>(nullptr, fed.manager.get(), nullptr);
    QCOMPARE(fed.manager->openCharger(0, 0, 0), 0);
    std::string many;
    for (int i = 0; i < 200; ++i)
        many += exampleLine106();
    fed.feed->push(many);
    w.reset(); // the reader must not reach the window any more
    fed.feed->push(many);
    QTRY_VERIFY(fed.feed->drained());
    double capacity = 0.0;
    QCOMPARE(fed.manager->getChargedCapacity(&capacity), 0);
    QCOMPARE(capacity, 1234.0);
    QCoreApplication::processEvents();
}

void TestChargerStatus::countActiveCells_data()
{
    QTest::addColumn<QVector<double>>("cells");
    QTest::addColumn<int>("active");
    QTest::newRow("none") << QVector<double>{} << 0;
    QTest::newRow("0.5 V is not active") << QVector<double>{0.5, 0.5, 4.2} << 1;
    QTest::newRow("just above") << QVector<double>{0.501} << 1;
    QTest::newRow("ten") << QVector<double>(10, 3.7) << 10;
    QTest::newRow("negative") << QVector<double>{-4.2, 0.0} << 0;
}

void TestChargerStatus::countActiveCells()
{
    QFETCH(QVector<double>, cells);
    QTEST(ChargerStatus::countActiveCells(cells), "active");
}

QTEST_MAIN(TestChargerStatus)
#include "tst_chargerstatus.moc"
