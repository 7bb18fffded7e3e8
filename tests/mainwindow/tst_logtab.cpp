// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The log tab as a pilot uses it, with the keyboard as well as the mouse: Change and Remove
// act on the entry the editor shows, unsaved edits are never lost silently, dialogs leave the
// selections alone, entries written by others appear on F5, the keys of the Edit menu act, and
// what they did can be undone.
#include "immutable.h"
#include "mainwindowfixture.h"
#include "samplebook.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>

#include "views/durationedit.h"

class LogTabTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void keyboardMovesTheEditorAlong();
    void removeThenChangeKeepsTheNeighbour();
    void unsavedEditsAsk_data();
    void unsavedEditsAsk();
    void closedDialogKeepsSelections();
    void deletingAPackInUseAsks_data();
    void deletingAPackInUseAsks();
    void reloadShowsEntriesOfOthers();
    void entryNeedsPackAndModel();
    void emptyBookWelcomes();
    void entryChangedElsewhereIsNotOverwritten_data();
    void entryChangedElsewhereIsNotOverwritten();
    void readOnlyBookDisablesEditing();
    void removeAsksAndUndoBringsItBack_data();
    void removeAsksAndUndoBringsItBack();
    void severalEntriesAreOneUndoStep();
    void undoMeetsAChangeElsewhere();
    void keysOfTheEditMenu();
    void typedDurationIsStored_data();
    void typedDurationIsStored();
    void doubtfulEntryAsksFirst_data();
    void doubtfulEntryAsksFirst();
    void undoAfterEnterUndoesTheStore();
    void newEntryFromTheSearchBox();
    void sortRememberedNewestInView();

private:
    int charged(int id) const;
    QSpinBox* chargedEditor() const { return m_f->child<QSpinBox>("m_pCharged"); }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(m_f->table(), key, modifiers);
    }

    std::unique_ptr<MainWindowFixture> m_f;
};

void LogTabTest::init()
{
    m_f = std::make_unique<MainWindowFixture>();
    QVERIFY(m_f->createBook());
    m_f->writeIni(IniValues());
    QVERIFY(m_f->sql(QString::fromUtf8(kSampleBook)));
    QVERIFY(m_f->openWindow());
    // Keys reach their actions only in the active window.
    m_f->window()->show();
    QVERIFY(QTest::qWaitForWindowActive(m_f->window()));
    m_f->table()->setFocus();
}

void LogTabTest::cleanup()
{
    m_f.reset();
}

int LogTabTest::charged(int id) const
{
    LogEntry e;
    return m_f->window()->store()->readLogEntry(id, &e) ? e.m_iCharged : -1;
}

void LogTabTest::keyboardMovesTheEditorAlong()
{
    m_f->clickRow(0); // entry 1, 1100 mAh
    press(Qt::Key_Down);
    press(Qt::Key_Down); // entry 3, 4000 mAh
    QCOMPARE(chargedEditor()->value(), 4000);
    chargedEditor()->setValue(4100);
    m_f->child<QPushButton>("m_pButtonChange")->click();
    QCOMPARE(charged(3), 4100);
    QCOMPARE(charged(1), 1100);
    QCOMPARE(m_f->table()->currentIndex().row(), 2);

    press(Qt::Key_End, Qt::ControlModifier); // entry 6
    QCOMPARE(chargedEditor()->value(), 1000);
    QCOMPARE(m_f->child<QDateEdit>("m_pDate")->date(), QDate(2024, 6, 15));
    QVERIFY(m_f->takeQuestions().isEmpty());
}

void LogTabTest::removeThenChangeKeepsTheNeighbour()
{
    m_f->clickRow(0);
    m_f->child<QPushButton>("m_pButtonRemove")->click();
    QCOMPARE(charged(1), -1);
    // Entry 2 took the row, and the editor shows it.
    QCOMPARE(m_f->table()->currentIndex().row(), 0);
    QCOMPARE(chargedEditor()->value(), 1800);
    m_f->child<QPushButton>("m_pButtonChange")->click();
    QCOMPARE(charged(2), 1800);
    QCOMPARE(m_f->rows(), 5);
    QCOMPARE(m_f->child<QLabel>("m_labelNumResults")->text(), QStringLiteral("5 entrys"));
}

void LogTabTest::unsavedEditsAsk_data()
{
    QTest::addColumn<int>("answer"); // Save, Discard, Keep editing
    QTest::addColumn<int>("storedCharged");
    QTest::addColumn<int>("rowAfter");
    QTest::addColumn<int>("editorAfter");
    QTest::newRow("save") << 0 << 1234 << 1 << 1800;
    QTest::newRow("discard") << 1 << 1100 << 1 << 1800;
    QTest::newRow("keep editing") << 2 << 1100 << 0 << 1234;
}

void LogTabTest::unsavedEditsAsk()
{
    QFETCH(int, answer);
    QFETCH(int, storedCharged);
    QFETCH(int, rowAfter);
    QFETCH(int, editorAfter);
    m_f->clickRow(0);
    chargedEditor()->setValue(1234);
    m_f->answerWith(answer);
    press(Qt::Key_Down);
    const QList<Question> asked = m_f->takeQuestions();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].buttons, (QStringList{"Save", "Discard", "Keep editing"}));
    QCOMPARE(charged(1), storedCharged);
    QCOMPARE(m_f->table()->currentIndex().row(), rowAfter);
    QCOMPARE(chargedEditor()->value(), editorAfter);
    // Esc takes the editor back to what is stored.
    QTest::keyClick(chargedEditor(), Qt::Key_Escape);
    QCOMPARE(chargedEditor()->value(), rowAfter == 0 ? storedCharged : 1800);
}

void LogTabTest::closedDialogKeepsSelections()
{
    m_f->child<QCheckBox>("m_pCheckFilterByAccu")->setChecked(true);
    QVERIFY(m_f->chooseId("m_pFilterAccu", 3));
    QVERIFY(m_f->chooseId("m_pAccuList", 2));
    QCOMPARE(m_f->rows(), 1);
    MainWindowFixture::whenModal([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
    m_f->child<QAction>("actionAccuManagement")->trigger();
    QCOMPARE(m_f->child<QComboBox>("m_pFilterAccu")->currentData().toInt(), 3);
    QCOMPARE(m_f->child<QComboBox>("m_pAccuList")->currentData().toInt(), 2);
    QCOMPARE(m_f->rows(), 1);
}

void LogTabTest::deletingAPackInUseAsks_data()
{
    QTest::addColumn<int>("answer"); // Delete, Cancel
    QTest::newRow("delete") << 0;
    QTest::newRow("cancel") << 1;
}

void LogTabTest::deletingAPackInUseAsks()
{
    QFETCH(int, answer);
    m_f->clickRow(0); // the editor shows entry 1, on that pack
    m_f->answerWith(answer);
    MainWindowFixture::whenModal([](QWidget* dialog) {
        auto* list = dialog->findChild<QListWidget*>(QStringLiteral("m_pAccuList"));
        list->setCurrentRow(0); // "Red 2200", used by entries 1, 2 and 6
        dialog->findChild<QPushButton*>(QStringLiteral("m_pButtonDelete"))->click();
        static_cast<QDialog*>(dialog)->reject();
    });
    m_f->child<QAction>("actionAccuManagement")->trigger();
    const QList<Question> asked = m_f->takeQuestions();
    QCOMPARE(asked.size(), 1);
    QVERIFY2(asked[0].text.startsWith(QLatin1String("3 log entries")), qPrintable(asked[0].text));
    QCOMPARE(m_f->rows(), 6);
    QCOMPARE(m_f->cell(0, 1),
             answer == 0 ? QStringLiteral("(deleted pack #1)") : QStringLiteral("Red 2200"));
    QCOMPARE(m_f->child<QComboBox>("m_pAccuList")->findData(1) >= 0, answer != 0);
    // The editor never offers another pack in place of the deleted one.
    QCOMPARE(m_f->child<QComboBox>("m_pAccuList")->currentData().toInt(), answer == 0 ? 0 : 1);
    QCOMPARE(m_f->child<QPushButton>("m_pButtonChange")->isEnabled(), answer != 0);
    QVERIFY(m_f->takeQuestions().isEmpty());
    press(Qt::Key_Down); // no question about edits: nothing was edited
    QVERIFY(m_f->takeQuestions().isEmpty());
    // Undo brings the pack back under its number.
    m_f->child<QAction>("actionUndo")->trigger();
    QCOMPARE(m_f->cell(0, 1), QStringLiteral("Red 2200"));
    QVERIFY(m_f->child<QComboBox>("m_pAccuList")->findData(1) >= 0);
}

void LogTabTest::reloadShowsEntriesOfOthers()
{
    QVERIFY(m_f->sql(QStringLiteral("INSERT INTO logList(date,time,accuId,modelId,charged) VALUES "
                                    "('2024-06-20','00:07:00',2,1,900);")));
    QCOMPARE(m_f->rows(), 6);
    m_f->window()->show();
    QVERIFY(QTest::qWaitForWindowActive(m_f->window()));
    QTest::keyClick(m_f->window(), Qt::Key_F5);
    QCOMPARE(m_f->rows(), 7);
    QCOMPARE(m_f->cell(6, 4), QStringLiteral("900 mAh"));
    // The date filter reaches from the first logged day to today.
    QCOMPARE(m_f->child<QDateEdit>("m_pFilterStartDate")->date(), QDate(2024, 5, 4));
    QCOMPARE(m_f->child<QDateEdit>("m_pFilterEndDate")->date(), QDate::currentDate());
}

void LogTabTest::entryChangedElsewhereIsNotOverwritten_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("title");
    QTest::newRow("change") << "m_pButtonChange"
                            << "Error changing entry";
    QTest::newRow("remove") << "m_pButtonRemove"
                            << "Error removing entry";
}

// Another program changed the entry after it was shown: nothing is written over it, the user
// is told and sees what is stored now.
void LogTabTest::entryChangedElsewhereIsNotOverwritten()
{
    QFETCH(QString, button);
    QFETCH(QString, title);
    m_f->clickRow(2); // entry 3, 4000 mAh
    QVERIFY(m_f->sql(QStringLiteral("UPDATE logList SET charged=4321 WHERE id=3;")));
    chargedEditor()->setValue(4100);
    m_f->child<QPushButton>(button.toLatin1().constData())->click();

    const QList<Warning> warnings = m_f->takeWarnings();
    QCOMPARE(warnings.size(), 1);
    QCOMPARE(warnings[0].title, title);
    QVERIFY2(warnings[0].text.contains(QLatin1String("changed or deleted elsewhere")),
             qPrintable(warnings[0].text));
    QCOMPARE(charged(3), 4321);
    QCOMPARE(chargedEditor()->value(), 4321);
    QCOMPARE(m_f->cell(2, 4), QStringLiteral("4321 mAh"));
}

void LogTabTest::readOnlyBookDisablesEditing()
{
    m_f->closeWindow();
    ReadOnly readOnly(m_f->path(QStringLiteral("tarvelo.sqlite")));
    if (!readOnly.isSet())
        QSKIP("the log book cannot be made read-only here");
    QVERIFY(m_f->openWindow());
    QCOMPARE(m_f->window()->windowTitle(), QStringLiteral("Tarvelo (read-only)"));
    QCOMPARE(m_f->rows(), 6);
    m_f->clickRow(2);
    for (const char* name : {"m_pButtonAdd", "m_pButtonChange", "m_pButtonRemove"})
        QVERIFY2(!m_f->child<QPushButton>(name)->isEnabled(), name);
    QVERIFY(m_f->takeWarnings().isEmpty());
}

void LogTabTest::entryNeedsPackAndModel()
{
    QPushButton* add = m_f->child<QPushButton>("m_pButtonAdd");
    QVERIFY(add->isEnabled());
    m_f->child<QComboBox>("m_pModelList")->setCurrentIndex(-1);
    QVERIFY(!add->isEnabled());
    QCOMPARE(add->toolTip(), QStringLiteral("Choose a pack and a model for the entry."));
    add->click();
    QCOMPARE(m_f->rows(), 6);
}

void LogTabTest::emptyBookWelcomes()
{
    QVERIFY(!m_f->child<QWidget>("m_pWelcome")->isVisibleTo(m_f->window()));
    m_f.reset(); // it puts back the working folder and the message handlers
    m_f = std::make_unique<MainWindowFixture>();
    QVERIFY(m_f->createBook());
    m_f->writeIni(IniValues());
    QFile file(m_f->path(QStringLiteral("tarvelo.ini")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray ini = file.readAll();
    file.close();
    QVERIFY(m_f->openWindow());
    QWidget* welcome = m_f->child<QWidget>("m_pWelcome");
    QVERIFY(welcome->isVisibleTo(m_f->window()));
    // Packs first: the button opens the pack dialog; one pack is not enough yet.
    MainWindowFixture::whenModal([](QWidget* dialog) {
        dialog->findChild<QSpinBox*>(QStringLiteral("m_pCapacity"))->setValue(2200);
        dialog->findChild<QPushButton*>(QStringLiteral("m_pButtonAdd"))->click();
        static_cast<QDialog*>(dialog)->reject();
    });
    m_f->child<QPushButton>("m_pWelcomePacks")->click();
    QCOMPARE(m_f->window()->logBook()->accus().size(), 1);
    QVERIFY(welcome->isVisibleTo(m_f->window()));

    // A sample to look around in, generated in the data folder; the settings stay.
    QStandardPaths::setTestModeEnabled(true);
    m_f->child<QPushButton>("m_pWelcomeDemo")->click();
    QVERIFY(m_f->warnings().isEmpty());
    QVERIFY(m_f->rows() > 100);
    QVERIFY(!welcome->isVisibleTo(m_f->window()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), ini);
    QFile::remove(m_f->window()->store()->m_strFileName);
}

void LogTabTest::removeAsksAndUndoBringsItBack_data()
{
    QTest::addColumn<int>("answer"); // Remove, Cancel
    QTest::addColumn<bool>("dontAsk");
    QTest::newRow("cancel") << 1 << false;
    QTest::newRow("remove") << 0 << false;
    QTest::newRow("remove, don't ask again") << 0 << true;
}

void LogTabTest::removeAsksAndUndoBringsItBack()
{
    QFETCH(int, answer);
    QFETCH(bool, dontAsk);
    LogEntry before;
    QVERIFY(m_f->window()->store()->readLogEntry(1, &before));
    m_f->clickRow(0);
    m_f->answerWith(answer);
    m_f->tickCheckBox(dontAsk);
    press(Qt::Key_Delete);
    QList<Question> asked = m_f->takeQuestions();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].checkText, QStringLiteral("Don't ask again"));
    QCOMPARE(charged(1), answer == 0 ? -1 : 1100);
    if (answer != 0)
        return;
    QCOMPARE(m_f->child<QAction>("actionUndo")->text(), QStringLiteral("&Undo Remove entry"));
    press(Qt::Key_Z, Qt::ControlModifier);
    LogEntry back;
    QVERIFY(m_f->window()->store()->readLogEntry(1, &back));
    QCOMPARE(back.m_date, before.m_date);
    QCOMPARE(back.m_time, before.m_time);
    QCOMPARE(back.m_iAccuId, before.m_iAccuId);
    QCOMPARE(back.m_iModelId, before.m_iModelId);
    QCOMPARE(back.m_iCharged, before.m_iCharged);
    QCOMPARE(chargedEditor()->value(), 1100); // the editor shows it again
    press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(charged(1), -1);
    // The next removal asks again unless the user said not to, also after a restart.
    press(Qt::Key_Delete);
    QCOMPARE(m_f->takeQuestions().size(), dontAsk ? 0 : 1);
    QCOMPARE(charged(2), -1);
    m_f->closeWindow();
    QVERIFY(m_f->openWindow());
    QCOMPARE(m_f->child<QAction>("actionAskBeforeRemove")->isChecked(), !dontAsk);
}

void LogTabTest::severalEntriesAreOneUndoStep()
{
    m_f->clickRow(1);
    QTableView* table = m_f->table();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      table->visualRect(table->model()->index(3, 0)).center());
    press(Qt::Key_Delete);
    const QList<Question> asked = m_f->takeQuestions();
    QCOMPARE(asked.size(), 1);
    QVERIFY2(asked[0].text.startsWith(QLatin1String("Remove the 3 selected entries?")),
             qPrintable(asked[0].text));
    QCOMPARE(m_f->rows(), 3);
    QCOMPARE(m_f->child<QAction>("actionUndo")->text(), QStringLiteral("&Undo Remove 3 entries"));
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(m_f->rows(), 6);
    for (const auto& [id, mAh] : {std::pair{2, 1800}, {3, 4000}, {4, 0}})
        QCOMPARE(charged(id), mAh);
    QVERIFY(!m_f->child<QAction>("actionUndo")->isEnabled());
    // Ctrl+Home moves the entry shown away from the selection, out of sight: Delete takes the
    // entry shown.
    m_f->clickRow(3);
    press(Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(chargedEditor()->value(), 1100);
    press(Qt::Key_Delete);
    QCOMPARE(charged(1), -1);
    QCOMPARE(charged(4), 0);
}

// The entry changed elsewhere after an edit: undo writes nothing over it, says why, and the
// edit leaves the history.
void LogTabTest::undoMeetsAChangeElsewhere()
{
    m_f->clickRow(2); // entry 3
    chargedEditor()->setFocus();
    chargedEditor()->setValue(4100);
    QTest::keyClick(chargedEditor(), Qt::Key_Return);
    QCOMPARE(charged(3), 4100);
    QVERIFY(m_f->sql(QStringLiteral("UPDATE logList SET charged=4321 WHERE id=3;")));
    m_f->table()->setFocus();
    press(Qt::Key_Z, Qt::ControlModifier);
    const QList<Warning> warnings = m_f->takeWarnings();
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings[0].text.contains(QLatin1String("changed or deleted elsewhere")),
             qPrintable(warnings[0].text));
    QCOMPARE(charged(3), 4321);
    QCOMPARE(chargedEditor()->value(), 4321);
    QVERIFY(!m_f->child<QAction>("actionUndo")->isEnabled());
}

void LogTabTest::keysOfTheEditMenu()
{
    m_f->clickRow(1);
    press(Qt::Key_E, Qt::ControlModifier); // a new entry, nothing selected
    QVERIFY(!m_f->table()->selectionModel()->hasSelection());
    QVERIFY(m_f->child<QDateEdit>("m_pDate")->hasFocus());
    QCOMPARE(m_f->child<QDateEdit>("m_pDate")->date(), QDate::currentDate());
    QVERIFY(!m_f->child<QPushButton>("m_pButtonAdd")->isEnabled()); // no duration yet
    QTest::keyClicks(m_f->child<DurationEdit>("m_pTime"), QStringLiteral("12"));
    chargedEditor()->setFocus();
    chargedEditor()->setValue(777);
    QTest::keyClick(chargedEditor(), Qt::Key_Enter); // adds
    QCOMPARE(m_f->rows(), 7);
    const int added = m_f->window()->store()->logCache().last()->m_iId;
    QCOMPARE(charged(added), 777);
    chargedEditor()->setValue(778);
    QTest::keyClick(chargedEditor(), Qt::Key_Return); // changes it, adds nothing
    QCOMPARE(m_f->rows(), 7);
    QCOMPARE(charged(added), 778);
    chargedEditor()->setValue(1);
    QTest::keyClick(chargedEditor(), Qt::Key_Escape); // takes the edit back
    QCOMPARE(chargedEditor()->value(), 778);
    QVERIFY(m_f->takeQuestions().isEmpty());

    press(Qt::Key_F, Qt::ControlModifier);
    auto* search = m_f->child<QLineEdit>("m_pSearch");
    QVERIFY(search->hasFocus());
    QTest::keyClicks(search, QStringLiteral("t-REX"));
    QCOMPARE(m_f->rows(), 3);
    QCOMPARE(m_f->child<QLabel>("m_labelNumResults")->text(), QStringLiteral("3 entrys"));
}

void LogTabTest::sortRememberedNewestInView()
{
    QString rows;
    for (int day = 1; day <= 200; ++day)
        rows += QStringLiteral("('2024-01-01','00:05:00',1,1,%1),").arg(2000 + day);
    rows.chop(1);
    QVERIFY(m_f->sql(
        QStringLiteral("INSERT INTO logList(date,time,accuId,modelId,charged) VALUES ") + rows));
    QHeaderView* header = m_f->table()->horizontalHeader();
    const int x = header->sectionViewportPosition(4) + header->sectionSize(4) / 2;
    for (int click = 0; click < 2; ++click) // charged, largest first
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
    QCOMPARE(m_f->cell(0, 4), QStringLiteral("4000 mAh"));
    m_f->window()->close();
    m_f->closeWindow();
    QVERIFY(m_f->openWindow());
    m_f->window()->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_f->window()));
    header = m_f->table()->horizontalHeader();
    QCOMPARE(header->sortIndicatorSection(), 4);
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    QCOMPARE(m_f->cell(0, 4), QStringLiteral("4000 mAh"));
    // The newest entry (entry 6, 1000 mAh) sits far down, after 4000, 2200 to 2001, 1800 and
    // 1100 mAh; it is in view.
    QTableView* table = m_f->table();
    QCOMPARE(m_f->cell(203, 4), QStringLiteral("1000 mAh"));
    QTRY_VERIFY(table->viewport()->rect().contains(
        table->visualRect(table->model()->index(203, 0)).center()));
}

void LogTabTest::typedDurationIsStored_data()
{
    QTest::addColumn<Qt::Key>("start"); // where the cursor is put before typing
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enter");  // Enter changes the entry shown; else Tab, then Add
    QTest::addColumn<int>("seconds"); // -1: refused
    QTest::addColumn<QString>("hint");
    const Qt::Key all = Qt::Key_A; // Ctrl+A
    QTest::newRow("m:ss") << all << "4:30" << false << 270 << "4 min 30 s";
    QTest::newRow("mm:ss after Home") << Qt::Key_Home << "04:30" << false << 270 << "4 min 30 s";
    QTest::newRow("h:mm:ss after End")
        << Qt::Key_End << "1:05:30" << true << 3930 << "1 h 5 min 30 s";
    QTest::newRow("seconds only") << all << "0:45" << true << 45 << "45 s";
    QTest::newRow("minutes past an hour") << all << "75:00" << false << 4500 << "1 h 15 min";
    QTest::newRow("minutes") << all << "12" << false << 720 << "12 min";
    QTest::newRow("hhmmss") << Qt::Key_Home << "000430" << false << 270 << "4 min 30 s";
    QTest::newRow("hmmss") << all << "10530" << true << 3930 << "1 h 5 min 30 s";
    QTest::newRow("units") << all << "4m30s" << false << 270 << "4 min 30 s";
    QTest::newRow("units, blanks") << all << "1 h 10 min" << true << 4200 << "1 h 10 min";
    QTest::newRow("German units") << all << "1 Std 10 Min" << false << 4200 << "1 h 10 min";
    QTest::newRow("one digit after a colon") << all << "4:5" << false << -1 << "Two digits";
    QTest::newRow("decimal point") << all << "4.5" << false << -1 << "use 4:30";
    QTest::newRow("decimal comma") << Qt::Key_End << "4,5" << true << -1 << "use 4:30";
    QTest::newRow("a day") << all << "24:00:00" << false << -1 << "below 24 hours";
}

// Typed into the real window over an entry of another duration, read back from the store.
void LogTabTest::typedDurationIsStored()
{
    QFETCH(Qt::Key, start);
    QFETCH(QString, typed);
    QFETCH(bool, enter);
    QFETCH(int, seconds);
    QFETCH(QString, hint);
    m_f->clickRow(4); // entry 5, the transmitter's 2:00:00: no bound on its length
    auto* time = m_f->child<DurationEdit>("m_pTime");
    time->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(time, start, start == Qt::Key_A ? Qt::ControlModifier : Qt::NoModifier);
    QTest::keyClicks(time, typed);
    QVERIFY2(m_f->child<QLabel>("m_pTimeHint")->text().contains(hint),
             qPrintable(m_f->child<QLabel>("m_pTimeHint")->text()));
    auto* add = m_f->child<QPushButton>("m_pButtonAdd");
    if (seconds < 0) {
        QVERIFY(!add->isEnabled());
        QVERIFY(!m_f->child<QPushButton>("m_pButtonChange")->isEnabled());
        QVERIFY(add->toolTip().contains(hint));
        QTest::keyClick(time, Qt::Key_Enter);
        QCOMPARE(m_f->rows(), 6);
        LogEntry stored;
        QVERIFY(m_f->window()->store()->readLogEntry(5, &stored));
        QCOMPARE(stored.m_time, QTime(2, 0));
        return;
    }
    int id = 5;
    if (enter) {
        QTest::keyClick(time, Qt::Key_Enter);
    } else {
        QTest::keyClick(time, Qt::Key_Tab);
        add->click();
        for (const LogEntry* e : m_f->window()->store()->logCache())
            id = qMax(id, e->m_iId);
        QCOMPARE(id, 7);
    }
    LogEntry stored;
    QVERIFY(m_f->window()->store()->readLogEntry(id, &stored));
    QCOMPARE(stored.m_time, QTime(0, 0).addSecs(seconds));
    QCOMPARE(time->time(), stored.m_time);
    QVERIFY(m_f->takeQuestions().isEmpty());
}

void LogTabTest::doubtfulEntryAsksFirst_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("mAh"); // into pack 1, 2200 mAh
    QTest::addColumn<int>("daysAhead");
    QTest::addColumn<QString>("named"); // in the question; empty: none is asked
    QTest::newRow("110 %") << 1 << "10:00" << 2420 << 0 << "";
    QTest::newRow("120 %") << 1 << "10:00" << 2640 << 0 << "2640 mAh charged into Red 2200";
    QTest::newRow("charged after no time") << 1 << "0:00" << 900 << 0 << "a use of 0:00";
    QTest::newRow("nothing at all") << 1 << "0:00" << 0 << 0 << "with nothing charged";
    QTest::newRow("plane for 4 h 30 min") << 1 << "4:30:00" << 900 << 0 << "4:30:00 in Cub";
    QTest::newRow("transmitter for 4 h 30 min") << 3 << "4:30:00" << 900 << 0 << "";
    QTest::newRow("tomorrow") << 1 << "10:00" << 900 << 1 << "after today";
}

// Asked before anything is stored, with the figures; Edit stores nothing, Store anyway does.
void LogTabTest::doubtfulEntryAsksFirst()
{
    QFETCH(int, model);
    QFETCH(QString, typed);
    QFETCH(int, mAh);
    QFETCH(int, daysAhead);
    QFETCH(QString, named);
    press(Qt::Key_E, Qt::ControlModifier);
    QVERIFY(m_f->chooseId("m_pAccuList", 1));
    QVERIFY(m_f->chooseId("m_pModelList", model));
    m_f->child<QDateEdit>("m_pDate")->setDate(QDate::currentDate().addDays(daysAhead));
    QTest::keyClicks(m_f->child<DurationEdit>("m_pTime"), typed);
    chargedEditor()->setValue(mAh);
    auto* add = m_f->child<QPushButton>("m_pButtonAdd");
    m_f->answerWith(1); // Edit
    add->click();
    const QList<Question> asked = m_f->takeQuestions();
    if (named.isEmpty()) {
        QVERIFY(asked.isEmpty());
        QCOMPARE(m_f->rows(), 7);
        return;
    }
    QCOMPARE(asked.size(), 1);
    QVERIFY2(asked[0].text.contains(named), qPrintable(asked[0].text));
    QCOMPARE(asked[0].buttons, (QStringList{"Store anyway", "Edit"}));
    QCOMPARE(m_f->rows(), 6);
    QCOMPARE(m_f->window()->store()->logCache().size(), 6);
    m_f->answerWith(0);
    add->click();
    QCOMPARE(m_f->takeQuestions().size(), 1);
    QCOMPARE(m_f->window()->store()->logCache().last()->m_iCharged, mAh);

    // A change to such figures asks too, Enter as well as the button.
    m_f->clickRow(0); // entry 1, 1100 mAh into pack 1
    QVERIFY(m_f->chooseId("m_pModelList", model));
    m_f->child<QDateEdit>("m_pDate")->setDate(QDate::currentDate().addDays(daysAhead));
    auto* time = m_f->child<DurationEdit>("m_pTime");
    time->setFocus();
    QTest::keyClick(time, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(time, typed);
    chargedEditor()->setValue(mAh);
    m_f->answerWith(1);
    QTest::keyClick(time, Qt::Key_Enter);
    QCOMPARE(m_f->takeQuestions().size(), 1);
    QCOMPARE(charged(1), 1100);
}

// Undo follows the store: right after Enter it takes back what was stored, not the field's
// text; with unsaved text it takes back that first, and says which.
void LogTabTest::undoAfterEnterUndoesTheStore()
{
    m_f->clickRow(1); // entry 2, 1800 mAh
    chargedEditor()->setFocus();
    QTest::keyClick(chargedEditor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(chargedEditor(), QStringLiteral("1900"));
    QTest::keyClick(chargedEditor(), Qt::Key_Enter);
    QCOMPARE(charged(2), 1900);
    QTest::keyClick(chargedEditor(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(charged(2), 1800);
    QCOMPARE(chargedEditor()->value(), 1800);
    QTest::keyClick(chargedEditor(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(charged(2), 1900);

    QTest::keyClick(chargedEditor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(chargedEditor(), QStringLiteral("2000"));
    auto* undo = m_f->child<QAction>("actionUndo");
    QCOMPARE(undo->text(), QStringLiteral("&Undo the edits in the editor"));
    QTest::keyClick(chargedEditor(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(chargedEditor()->value(), 1900);
    QCOMPARE(charged(2), 1900);
    QCOMPARE(undo->text(), QStringLiteral("&Undo Change entry"));
    m_f->clickRow(0); // nothing unsaved is left to ask about
    QVERIFY(m_f->takeQuestions().isEmpty());
    QVERIFY(m_f->warnings().isEmpty());
}

// Ctrl+E in the search box, whose line edit takes it for the end of the line: a new entry,
// not the entry selected before.
void LogTabTest::newEntryFromTheSearchBox()
{
    m_f->clickRow(1);
    auto* search = m_f->child<QLineEdit>("m_pSearch");
    search->setFocus();
    QTest::keyClicks(search, QStringLiteral("Cub"));
    QTest::keyClick(search, Qt::Key_Home);
    QTest::keyClick(search, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(m_f->child<QDateEdit>("m_pDate")->hasFocus());
    QCOMPARE(m_f->child<QDateEdit>("m_pDate")->date(), QDate::currentDate());
    QVERIFY(!m_f->table()->selectionModel()->hasSelection());
    auto* time = m_f->child<DurationEdit>("m_pTime");
    QVERIFY(time->text().isEmpty());
    QCOMPARE(chargedEditor()->value(), 0);
    QVERIFY(!m_f->child<QPushButton>("m_pButtonAdd")->isEnabled());
    QTest::keyClicks(time, QStringLiteral("6:10"));
    m_f->child<QPushButton>("m_pButtonAdd")->click();
    const LogEntry* added = m_f->window()->store()->logCache().last();
    QCOMPARE(added->m_date, QDate::currentDate());
    QCOMPARE(added->m_time, QTime(0, 6, 10));
}

QTEST_MAIN(LogTabTest)
#include "tst_logtab.moc"
