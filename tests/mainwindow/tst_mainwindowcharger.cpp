// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The charger path of the whole program: the simulator on a pseudo-terminal, the status window
// with its values and pack detection, the charge completing the entry of a flight or starting a
// new one; the charger the options name, and not one chosen in cancelled options; a language
// switch while the status window shows a charge; the line speed found and remembered; the
// open charger's port kept by the options; why a port could not be opened.
#include "mainwindowfixture.h"

#include "app/optionsdialog.h"
#include "charger/chargermanager.h"
#include "charger/chargerstatus.h"
#include "charger/chargertestsupport.h"
#include "views/durationedit.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QUrl>

class MainWindowChargerTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void chargeBecomesALogEntry();
    void closingTheProgramWhileReading();
    void languageSwitchKeepsTheStatus();
    void cancelledChoiceIsNotUsed_data();
    void cancelledChoiceIsNotUsed();
    void lineSpeedFoundAndRemembered_data();
    void lineSpeedFoundAndRemembered();
    void okKeepsTheOpenChargersPort();
    void noPermissionIsExplained();

private:
    // Starts the simulator and the window with the charger switched on for its port.
    bool start(const QStringList& simArguments = {}, int subtype = 0);

    std::unique_ptr<RuntimeDir> m_runtime;
    std::unique_ptr<Simulator> m_sim;
    std::unique_ptr<MainWindowFixture> m_f;
};

// The simulated 106B+ charges six LiPo cells at 2.5 A (waiting at 0 A before, with the cells
// at 3.7 V): packs of six cells fit by capacity (2250 to 2750 mAh) while it charges, and by
// nominal voltage (6 x 3.7 V = 22.2 V) while it waits.
//   1 "Lipo 6S 2500"  fits       2 "Lipo 3S 2500"  three cells: never
//   3 "LiFe 6S 5000"  19.2 V, too big: never    4 "Lipo 6S 2400"  fits
static const char* const kPacks = R"(
INSERT INTO accus(accuId,accuBrand,accuCapacity,numCells,accuStrength,accuTyp,accuDescr) VALUES
  (1,'SLS',2500,6,30,0,'Lipo 6S 2500'), (2,'SLS',2500,3,30,0,'Lipo 3S 2500'),
  (3,'A123',5000,6,20,1,'LiFe 6S 5000'), (4,'Gens',2400,6,40,0,'Lipo 6S 2400');
INSERT INTO modelList(modelId,modelName,modelTyp) VALUES (1,'T-Rex 700',1), (2,'Extra 300',0);
INSERT INTO logList(date,time,charged,accuId,modelId) VALUES
  ('2026-05-01','00:07:00',2100,1,2),
  ('2026-05-02','00:05:00',0,4,1), ('2026-05-03','00:06:30',0,4,2), ('2026-05-04','00:04:00',1800,4,1);
)";

void MainWindowChargerTest::cleanup()
{
    m_f.reset();
    m_sim.reset();
    m_runtime.reset();
}

bool MainWindowChargerTest::start(const QStringList& simArguments, int subtype)
{
    m_runtime = std::make_unique<RuntimeDir>();
    m_f = std::make_unique<MainWindowFixture>();
    if (!m_f->createBook() || !m_f->sql(QString::fromUtf8(kPacks)))
        return false;
    m_sim = std::make_unique<Simulator>(
        QStringList{QStringLiteral("--interval"), QStringLiteral("0.25")} + simArguments);
    if (m_sim->path().isEmpty())
        return false;
    // The settings name the port as the port list shows it.
    ChargerManager probe;
    probe.enumeratePorts();
    int count = 0;
    probe.getClassPortCount(0, &count);
    QString port;
    for (int i = 0; i < count; ++i) {
        char name[ChargerBase::kTextBufferSize] = {};
        if (probe.getClassPortName(0, i, name) == 0 &&
            QString::fromUtf8(name).contains(m_sim->portName()))
            port = QString::fromUtf8(name);
    }
    if (port.isEmpty()) {
        qWarning("the simulator's port is not listed");
        return false;
    }
    IniValues ini;
    ini.useCharger = true;
    ini.chargerClass = 0;
    ini.chargerSubtype = subtype; // 0: 106B+
    ini.chargerPort = port;
    m_f->writeIni(ini);
    return m_f->openWindow() != nullptr;
}

void MainWindowChargerTest::chargeBecomesALogEntry()
{
    QVERIFY(start());
    MainWindow* w = m_f->window();
    auto* status = w->findChild<ChargerStatus*>();
    QVERIFY(status);
    QVERIFY(!status->isVisible());

    QAction* show = m_f->child<QAction>("actionShowChargerStatus");
    QVERIFY(show->isEnabled());
    show->trigger();
    QVERIFY(m_f->warnings().isEmpty());
    QVERIFY(status->isVisible());
    QVERIFY(w->chargerManager()->isOpen());
    QCOMPARE(status->findChild<QGroupBox*>(QStringLiteral("m_pGroupBoxCharger"))->title(),
             QStringLiteral("Junsi iCharger 106B+"));

    // The decoded values arrive.
    auto label = [status](const char* name) {
        return status->findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    QTRY_COMPARE_WITH_TIMEOUT(label("m_pLabelInputVoltage"), QStringLiteral("12.000 V"), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(label("m_pLabelExtTemperature"), QString::fromUtf8("25.1 °C"), 20000);

    // The fitting packs of the store, in the store's order.
    QComboBox* fitting = status->findChild<QComboBox*>(QStringLiteral("m_pComboFittingAccus"));
    QTRY_COMPARE_WITH_TIMEOUT(fitting->count(), 2, 20000);
    QCOMPARE(fitting->itemText(0), QStringLiteral("Lipo 6S 2500"));
    QCOMPARE(fitting->itemData(0).toInt(), 1);
    QCOMPARE(fitting->itemText(1), QStringLiteral("Lipo 6S 2400"));
    QCOMPARE(fitting->itemData(1).toInt(), 4);

    // The charge ends with 1200 mAh. Pack 1 has no flight to complete: a new entry, in the
    // model it last flew in. Nothing is stored yet.
    QPushButton* apply = status->findChild<QPushButton*>(QStringLiteral("m_pButtonApply"));
    QTRY_VERIFY_WITH_TIMEOUT(apply->isEnabled(), 30000);
    QTRY_COMPARE_WITH_TIMEOUT(label("m_pLabelChargedCapacity"), QStringLiteral("1200 mAh"), 10000);
    m_f->clickRow(3);
    apply->click();
    QVERIFY(m_f->takeQuestions().isEmpty());
    QCOMPARE(m_f->child<QComboBox>("m_pAccuList")->currentData().toInt(), 1);
    QCOMPARE(m_f->child<QComboBox>("m_pModelList")->currentData().toInt(), 2);
    QCOMPARE(m_f->child<QSpinBox>("m_pCharged")->value(), 1200);
    // A new entry: the duration of the flight is for the user to type.
    QVERIFY(!m_f->child<DurationEdit>("m_pTime")->hasDuration());
    QCOMPARE(m_f->child<QDateEdit>("m_pDate")->date(), QDate::currentDate());
    QVERIFY(!m_f->child<QPushButton>("m_pButtonChange")->isEnabled());
    SqlBase* db = w->store();
    QCOMPARE(db->logCache().size(), 4);
    QTest::keyClicks(m_f->child<DurationEdit>("m_pTime"), QStringLiteral("7:30"));
    m_f->child<QPushButton>("m_pButtonAdd")->click();
    QCOMPARE(db->logCache().size(), 5);

    // Pack 4 flew twice without being charged: the charge completes the newer flight.
    fitting->setCurrentIndex(1);
    m_f->answerWith(0);
    apply->click();
    const QList<Question> questions = m_f->takeQuestions();
    QCOMPARE(questions.size(), 1);
    QCOMPARE(questions[0].title, QStringLiteral("Complete which entry?"));
    QCOMPARE(questions[0].buttons,
             QStringList({"2026-05-03, 00:06:30 in Extra 300", "2026-05-02, 00:05:00 in T-Rex 700",
                          "New entry", "Cancel"}));
    QCOMPARE(m_f->child<QDateEdit>("m_pDate")->date(), QDate(2026, 5, 3));
    QCOMPARE(m_f->child<QSpinBox>("m_pCharged")->value(), 1200);
    QCOMPARE(db->logCache().size(), 5);
    QVERIFY(m_f->child<QPushButton>("m_pButtonChange")->isEnabled());
    m_f->child<QPushButton>("m_pButtonChange")->click();
    QVERIFY(m_f->warnings().isEmpty());
    QCOMPARE(db->logCache().size(), 5);
    int completed = 0;
    for (const LogEntry* entry : db->logCache())
        completed += entry->m_date == QDate(2026, 5, 3) && entry->m_iCharged == 1200 &&
                     entry->m_iAccuId == 4 && entry->m_iModelId == 2 &&
                     entry->m_time == QTime(0, 6, 30);
    QCOMPARE(completed, 1);

    // Cancelled: the editor stays as it was.
    m_f->answerWith(2);
    apply->click();
    QCOMPARE(m_f->takeQuestions()[0].buttons.size(), 3);
    QCOMPARE(m_f->child<QDateEdit>("m_pDate")->date(), QDate(2026, 5, 3));

    // Closing the window closes the charger.
    status->findChild<QPushButton*>(QStringLiteral("m_pButtonClose"))->click();
    QVERIFY(!status->isVisible());
    QVERIFY(!w->chargerManager()->isOpen());
    QVERIFY(!apply->isEnabled());
}

void MainWindowChargerTest::closingTheProgramWhileReading()
{
    QVERIFY(start());
    m_f->child<QAction>("actionShowChargerStatus")->trigger();
    auto* status = m_f->window()->findChild<ChargerStatus*>();
    QTRY_COMPARE_WITH_TIMEOUT(
        status->findChild<QLabel*>(QStringLiteral("m_pLabelInputVoltage"))->text(),
        QStringLiteral("12.000 V"), 20000);
    // The reader is still delivering lines; the window goes with the charger open.
    m_f->closeWindow();
    QCoreApplication::processEvents();
    QVERIFY(m_sim->stop());
}

void MainWindowChargerTest::languageSwitchKeepsTheStatus()
{
    QVERIFY(start());
    QVERIFY(m_f->copyGerman());
    m_f->child<QAction>("actionShowChargerStatus")->trigger();
    auto* status = m_f->window()->findChild<ChargerStatus*>();
    auto* voltage = status->findChild<QLabel*>(QStringLiteral("m_pLabelInputVoltage"));
    QTRY_COMPARE_WITH_TIMEOUT(voltage->text(), QStringLiteral("12.000 V"), 20000);
    m_f->child<QAction>("actionGerman")->trigger();
    QVERIFY(m_f->warnings().isEmpty());
    QCOMPARE(status->findChild<QGroupBox*>(QStringLiteral("m_pGroupBoxCharger"))->title(),
             QStringLiteral("Junsi iCharger 106B+"));
    QCOMPARE(voltage->text(), QStringLiteral("12,000 V")); // in German figures at once
    QCOMPARE(status->findChild<QLabel*>(QStringLiteral("m_pLabelTextInputVoltage"))->text(),
             QStringLiteral("Eingangsspannung:"));
    const QString state =
        status->findChild<QLabel*>(QStringLiteral("m_pLabelChargerStatus"))->text();
    QVERIFY2(QStringList({"Warten", "Laden", "Fertig"}).contains(state), qPrintable(state));
    QCOMPARE(status->findChild<QLabel*>(QStringLiteral("m_pLabelLink"))->text(),
             QStringLiteral("Verbunden"));
}

void MainWindowChargerTest::cancelledChoiceIsNotUsed_data()
{
    QTest::addColumn<int>("charger"); // chosen in the options, then cancelled
    QTest::addColumn<bool>("off");    // and "use charger" switched off
    QTest::newRow("208B+ chosen") << 1 << false;
    QTest::newRow("1010B+ chosen, charger off") << 2 << true;
}

void MainWindowChargerTest::cancelledChoiceIsNotUsed()
{
    QFETCH(int, charger);
    QFETCH(bool, off);
    QVERIFY(start());
    QString chosen;
    MainWindowFixture::whenModal([&](QWidget* dialog) {
        auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("m_pComboCharger"));
        combo->setCurrentIndex(charger);
        chosen = combo->currentText();
        if (off)
            dialog->findChild<QCheckBox*>(QStringLiteral("m_pCheckCharger"))->click();
        dialog->findChild<QDialogButtonBox*>(QStringLiteral("m_pButtonBox"))
            ->button(QDialogButtonBox::Cancel)
            ->click();
    });
    m_f->child<QAction>("actionSettings")->trigger();
    QVERIFY(chosen.endsWith(charger == 1 ? QStringLiteral("208B+") : QStringLiteral("1010B+")));

    // The status window opens the charger of the settings, the 106B+.
    QAction* show = m_f->child<QAction>("actionShowChargerStatus");
    QVERIFY(show->isEnabled());
    show->trigger();
    QVERIFY(m_f->warnings().isEmpty());
    auto* status = m_f->window()->findChild<ChargerStatus*>();
    QVERIFY(status->isVisible());
    QCOMPARE(status->findChild<QGroupBox*>(QStringLiteral("m_pGroupBoxCharger"))->title(),
             QStringLiteral("Junsi iCharger 106B+"));
    QTRY_COMPARE_WITH_TIMEOUT(
        status->findChild<QLabel*>(QStringLiteral("m_pLabelInputVoltage"))->text(),
        QStringLiteral("12.000 V"), 20000);
    status->findChild<QPushButton*>(QStringLiteral("m_pButtonClose"))->click();
}

void MainWindowChargerTest::lineSpeedFoundAndRemembered_data()
{
    // Firmware that sends at the other speed than its model usually does; the options leave
    // the speed automatic.
    QTest::addColumn<int>("subtype");
    QTest::addColumn<int>("baud");
    QTest::newRow("106B+ at 128 000") << 0 << 128000;
    QTest::newRow("208B+ at 9600") << 1 << 9600;
}

void MainWindowChargerTest::lineSpeedFoundAndRemembered()
{
    QFETCH(int, subtype);
    QFETCH(int, baud);
    QVERIFY(start({QStringLiteral("--model"),
                   subtype ? QStringLiteral("208B+") : QStringLiteral("106B+"),
                   QStringLiteral("--baud"), QString::number(baud)},
                  subtype));
    QAction* show = m_f->child<QAction>("actionShowChargerStatus");
    show->trigger();
    auto* status = m_f->window()->findChild<ChargerStatus*>();
    auto* voltage = status->findChild<QLabel*>(QStringLiteral("m_pLabelInputVoltage"));
    // Nothing has come at the speed tried first: no values, not even zeros.
    QTRY_VERIFY(status->findChild<QLabel*>(QStringLiteral("m_pLabelLink"))
                    ->text()
                    .startsWith(QStringLiteral("Connected, finding the line speed")));
    QCOMPARE(voltage->text(), QStringLiteral("Receiving..."));
    QTRY_COMPARE_WITH_TIMEOUT(voltage->text(), QStringLiteral("12.000 V"), 8000);
    const QString key = QStringLiteral("chargerportspeeds/") +
                        QString::fromLatin1(QUrl::toPercentEncoding(m_sim->portName()));
    QCOMPARE(QSettings(m_f->path(QStringLiteral("tarvelo.ini")), QSettings::IniFormat)
                 .value(key)
                 .toInt(),
             baud);

    // The next opening starts at the speed found.
    status->findChild<QPushButton*>(QStringLiteral("m_pButtonClose"))->click();
    show->trigger();
    int first = 0;
    int state = -1;
    QCOMPARE(m_f->window()->chargerManager()->getLineSpeed(&first, &state), 0);
    QCOMPARE(first, baud);
    QVERIFY(m_f->warnings().isEmpty());
}

void MainWindowChargerTest::okKeepsTheOpenChargersPort()
{
    QVERIFY(start());
    const QString port = m_f->window()->findChild<OptionsDialog*>()->values().chargerPort();
    m_f->child<QAction>("actionShowChargerStatus")->trigger();
    QTRY_VERIFY(m_f->window()->chargerManager()->linkState() == ChargerBase::LinkUp);
    QString shown;
    MainWindowFixture::whenModal([&](QWidget* dialog) {
        shown = dialog->findChild<QComboBox*>(QStringLiteral("m_pComboChargerPort"))->currentText();
        dialog->findChild<QDialogButtonBox*>(QStringLiteral("m_pButtonBox"))
            ->button(QDialogButtonBox::Ok)
            ->click();
    });
    m_f->child<QAction>("actionSettings")->trigger();
    QVERIFY2(shown.startsWith(m_sim->portName()), qPrintable(shown));
    QCOMPARE(QSettings(m_f->path(QStringLiteral("tarvelo.ini")), QSettings::IniFormat)
                 .value(QStringLiteral("chargerportwin32"))
                 .toString(),
             port);
    QVERIFY(m_f->window()->chargerManager()->isOpen());
}

void MainWindowChargerTest::noPermissionIsExplained()
{
    QVERIFY(start());
    // The port refuses this user, as /dev/ttyUSB0 does outside the dialout group.
    auto feed = std::make_shared<Feed>();
    feed->refuseOpen = true;
    feed->refusal = ChargerBase::OpenDenied;
    dynamic_cast<ICharger*>(m_f->window()->chargerManager()->charger(0))->setPortFactory([feed] {
        return std::make_unique<FeedPort>(feed);
    });
    m_f->child<QAction>("actionShowChargerStatus")->trigger();
    QTRY_COMPARE(m_f->warnings().size(), 1);
    const Warning warning = m_f->warnings().first();
    QCOMPARE(warning.title, QStringLiteral("Error opening port"));
    QVERIFY2(warning.text.contains(QStringLiteral("usermod -aG dialout")) ||
                 warning.text.contains(QStringLiteral("usermod -aG uucp")),
             qPrintable(warning.text));
    QVERIFY2(warning.text.contains(QStringLiteral("70-tarvelo-icharger.rules")),
             qPrintable(warning.text));
    QVERIFY(!m_f->window()->findChild<ChargerStatus*>()->isVisible());
}

QTEST_MAIN(MainWindowChargerTest)
#include "tst_mainwindowcharger.moc"
