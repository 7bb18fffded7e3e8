#ifndef TARVELO_MAINWINDOW_H
#define TARVELO_MAINWINDOW_H

#include "records/logentry.h"
#include "records/statentry.h"

#include <QDate>
#include <QMainWindow>
#include <QModelIndex>
#include <QMutex>
#include <QPair>
#include <QString>
#include <QVector>

#include <memory>

class QApplication;
class QComboBox;
class QTableView;
class QTranslator;
class AccuStatsTableModel;
class ChargerManager;
class ChargerStatus;
class LogEntryTableModel;
class ModelStatsTableModel;
class OptionsDialog;
class SqlBase;
class StatsManager;

namespace Ui
{
class MainWindow;
}

// The program's window: the log book with its filters and entry editor, the statistics per
// model and per pack, and the menus that reach the dialogs, the languages and the charger.
// It owns the store, which it re-creates whenever the options are accepted.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    MainWindow(QTranslator* translator, QApplication* app);
    ~MainWindow() override;

    bool connectDatabase();
    void fillAccuLists();
    void fillModelLists();
    void refreshLogList();
    void clearLogList();
    bool changeLanguage(QString file);
    void refreshModelStats();
    void refreshAccuStats();
    void clearModelStatsList();
    void clearAccuStatsList();
    // Applies the form's texts again in the current language.
    void retranslate();

    // The store in use; null before the first connect. Not connected after a failed one.
    SqlBase* store() const { return m_pDb; }
    ChargerManager* chargerManager() const { return m_pChargerManager; }

public slots:
    void onApplyEntryFromCharger(int _iAccuId, int _iCharged);

private slots:
    void showAccuManagement();
    void showModelManagement();
    void showOptionsDialog();
    void showChargerStatus();
    void showAboutDialog();
    void onLanguageEnglish();
    void onLanguageGerman();
    void onCurrentLogEntryChange(QModelIndex _selected);
    void onButtonAdd();
    void onButtonChange();
    void onButtonRemove();
    void onCurrentTabChanged(int _iIndex);
    void onCurrentModelChanged(int _iIndex);
    void onFilterByDate(int _iState);
    void onFilterDateChanged(QDate _date);
    void onFilterByModel(int _iState);
    void onFilterModelChanged(int _iIndex);
    void onFilterByAccu(int _iState);
    void onFilterAccuChanged(int _iIndex);
    void onFilterByIncomplete(int _iState);
    void onFilterStatsByDate(int _iState);
    void onFilterStatsDateChanged(QDate _date);
    void onFilterStatsByModel(int _iState);
    void onFilterStatsModelChanged(int _iIndex);
    void onFilterStatsByAccu(int _iState);
    void onFilterStatsAccuChanged(int _iIndex);
    void onFilterStatsByDate2(int _iState);
    void onFilterStatsDateChanged2(QDate _date);
    void onFilterStatsByModel2(int _iState);
    void onFilterStatsModelChanged2(int _iIndex);
    void onFilterStatsByAccu2(int _iState);
    void onFilterStatsAccuChanged2(int _iIndex);

private:
    void makeConnections();
    // True while a store is open. Otherwise tells the user, with the text of the failed
    // connect, and answers false.
    bool storeReady();
    bool isStoreOpen() const;
    void showConnectError();
    // Detaches everything that reads through the store (table models, statistics, status
    // window) and empties the lists, so that the store can be deleted safely.
    void unbindStore();
    void updateCountLabel();
    // Replaces the items of pack or model selections (text, identifier); a selection whose
    // current identifier changed says so once.
    void refillCombos(const QVector<QComboBox*>& combos, const QVector<QPair<QString, int>>& items);
    void applyTimeFormat(int modelIndex);
    // The columns as wide as their contents, within the table's width where they fit.
    static void fitColumns(QTableView* table);
    // The charger manager's index of the port chosen in the options.
    int chargerPortIndex(int chargerClass) const;

    std::unique_ptr<Ui::MainWindow> m_pUi;
    SqlBase* m_pDb = nullptr; // owned
    QMutex m_mutex;           // re-entrance guard between the editor and the table
    LogEntryTableModel* m_pLogModel = nullptr;
    ModelStatsTableModel* m_pModelStatsModel = nullptr;
    AccuStatsTableModel* m_pAccuStatsModel = nullptr;
    OptionsDialog* m_pOptions = nullptr;
    ChargerStatus* m_pChargerStatus = nullptr;
    StatsManager* m_pStatsManager = nullptr;
    ChargerManager* m_pChargerManager = nullptr;
    QTranslator* m_pTranslator = nullptr;  // not owned
    QApplication* m_pApp = nullptr;        // not owned
    QVector<ModelStatEntry*> m_modelStats; // owned records
    QVector<AccuStatEntry*> m_accuStats;   // owned records
    QVector<LogEntry*> m_logEntries;       // owned records
    QString m_strConnectError;             // the text of the last failed connect
};

#endif
