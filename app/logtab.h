#ifndef TARVELO_LOGTAB_H
#define TARVELO_LOGTAB_H

#include "records/logentry.h"

#include <QModelIndex>
#include <QObject>

class QComboBox;
class QPushButton;
class LogBook;
class LogEntryTableModel;

namespace Ui
{
class MainWindow;
}

// The log tab: filters over the log, the table, and the editor that always shows the entry of
// the table's current row. Change and Remove act on exactly that entry; Add, Change and
// Remove go through the log book, whose announcements keep the table in step.
class LogTab : public QObject
{
    Q_OBJECT

public:
    LogTab(Ui::MainWindow* ui, LogBook* book, QWidget* window);
    ~LogTab() override;

    LogEntryTableModel* model() const { return m_pModel; }
    // The filter widgets into the table.
    void applyFilters();
    void add();
    void change();
    void remove();
    // The editor shows the current entry again, dropping unsaved edits.
    void revert();
    // Takes a pack and a charged amount from the charger into the editor: one of the pack's
    // entries still without a charge, as the user chooses, or a new one. Stores nothing.
    void applyFromCharger(int accuId, int charged);
    void retranslate();

signals:
    // The welcome of an empty log book asks for these.
    void packsWanted();
    void modelsWanted();
    void demoWanted();
    // ... and these when no log book is open.
    void newBookWanted();
    void openBookWanted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
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

    Ui::MainWindow* m_pUi; // not owned
    LogBook* m_pBook;      // not owned
    QWidget* m_pWindow;    // not owned
    LogEntryTableModel* m_pModel;
    QWidget* m_pWelcome = nullptr;
    LogEntry m_shown;       // the entry the editor shows, as it was shown; m_iId -1 for none
    bool m_bMoving = false; // the current row is being put back or set from here
};

#endif
