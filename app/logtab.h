// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_LOGTAB_H
#define TARVELO_LOGTAB_H

#include "records/logentry.h"

#include <QModelIndex>
#include <QObject>

class QComboBox;
class QPushButton;
class LogBook;
class LogEntryTableModel;
class UndoHistory;

namespace Ui
{
class MainWindow;
}

// The log tab: filters and a search over the log, the table, and the editor that always shows
// the entry of the table's current row. Change acts on exactly that entry, Remove on the
// selected ones (after a question, unless the user said not to ask). Add, Change and Remove
// are edits that can be undone; the log book's announcements keep the table in step. The Edit
// menu's entry actions and their keys (Ctrl+E, Enter in the editor, Delete in the table, Esc,
// Ctrl+F) act here.
class LogTab : public QObject
{
    Q_OBJECT

public:
    LogTab(Ui::MainWindow* ui, UndoHistory* history, QWidget* window);
    ~LogTab() override;

    LogEntryTableModel* model() const { return m_pModel; }
    // The filter widgets into the table.
    void applyFilters();
    void add();
    void change();
    void remove();
    // An empty editor for a new entry, nothing selected.
    void newEntry();
    // Add for a new entry, else Change.
    void store();
    // Into the search box.
    void find();
    void setSort(int column, Qt::SortOrder order);
    // Shows the newest entry in the table.
    void scrollToNewest();
    // The editor shows the current entry again, dropping unsaved edits.
    void revert();
    // Takes a pack and a charged amount from the charger into the editor: one of the pack's
    // entries still without a charge, as the user chooses, or a new one. Stores nothing.
    void applyFromCharger(int accuId, int charged);
    void retranslate();
    // Pack and model names (their types are translated) and the table's figures again.
    void localeChanged();

signals:
    // The welcome of an empty log book asks for these.
    void packsWanted();
    void modelsWanted();
    void demoWanted();
    // ... and these when no log book is open.
    void newBookWanted();
    void openBookWanted();

private:
    // Most entries one Remove takes: each is a write of its own.
    static constexpr int kMaxRemovedAtOnce = 10000;
    void onStoreReplaced();
    void fillAccus();
    void fillModels();
    void refill(std::initializer_list<QComboBox*> combos,
                const QVector<QPair<QString, int>>& items);
    void onCurrentRowChanged(const QModelIndex& current, const QModelIndex& previous);
    void show(const LogEntry* entry);
    LogEntry fromEditor() const;
    // The editor holds values that differ from the entry it shows.
    bool edited() const;
    // Asks what to do with unsaved edits; false when the user keeps editing.
    bool settleEdits();
    // Asks before storing an entry that looks mistyped; true to store it.
    bool confirmDoubts(const LogEntry& entry);
    // Stores the editor's values over the entry `id`; false when the log book refused.
    bool storeChange(int id);
    // The entries Remove acts on: those selected with the one shown, else the one shown; as
    // stored.
    QVector<LogEntry> chosenForRemoval() const;
    bool confirmRemoval(const QVector<LogEntry>& entries);
    // Nothing selected, the editor on today with no duration, for a new entry.
    void clearForNewEntry();
    // After an undo or redo: the editor shows the entry it touched.
    void afterStep();
    // After the rows shown changed: the entry shown stays current while it is shown; else the
    // editor keeps its values as a draft for Add.
    void afterRowsChanged();
    void select(int id);
    // Makes the entry current and shows it in the editor, asking nothing.
    void selectAndShow(int id);
    void updateCount();
    void updateButtons();
    // The message with the log book's reason for the last failed write, when it has one.
    QString withReason(const QString& text) const;
    // After a write refused because the entry changed elsewhere: the editor shows it as it is.
    void showChangedElsewhere(int id);
    // Date editors of the filter: the first logged day to today.
    void resetFilterDates();
    void buildWelcome();
    void retranslateWelcome();
    QPushButton* welcomeButton(const char* name) const;
    // Shown while no log book is open, or it is empty and lacks packs or models.
    void updateWelcome();

    Ui::MainWindow* m_pUi;   // not owned
    UndoHistory* m_pHistory; // not owned
    LogBook* m_pBook;        // not owned
    QWidget* m_pWindow;      // not owned
    LogEntryTableModel* m_pModel;
    QWidget* m_pWelcome = nullptr;
    LogEntry m_shown;         // the entry the editor shows, as it was shown; m_iId -1 for none
    bool m_bMoving = false;   // the current row is being put back or set from here
    bool m_bStepping = false; // an undo or redo runs
    int m_iTouched = -1;      // the last entry it added or changed
};

#endif
