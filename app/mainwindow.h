// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_MAINWINDOW_H
#define TARVELO_MAINWINDOW_H

#include "settings/settingsvalues.h"

#include <QList>
#include <QLocale>
#include <QMainWindow>
#include <QModelIndex>
#include <QString>

#include <memory>

class QApplication;
class QTranslator;
class ChargerManager;
class ChargerStatus;
class LogBook;
class LogBookFiles;
class LogTab;
class OptionsDialog;
class ProgressRunner;
class SqlBase;
class StatsTab;
class TableColumnFitter;
class TarveloSettings;
class UndoHistory;

namespace Ui
{
class MainWindow;
}

// The program's window: the log tab, the statistics per model and per pack, and the menus
// that reach the dialogs, the languages and the charger. It owns the log book, which opens
// the store the options choose, and composes the tabs that follow it. It reads the settings
// at start and remembers its size, position, tab, log columns and language in them.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // A `logBookFile` (an SQLite log book) is opened instead of the store of the settings,
    // until the user accepts other database settings in the options.
    MainWindow(QTranslator* translator, QApplication* app, const QString& logBookFile = QString());
    ~MainWindow() override;

    bool connectDatabase();
    // Opens an SQLite log book and keeps it as the user's choice. A file that is not a log
    // book is refused with a message, and the open one stays.
    bool openLogBookFile(const QString& file);
    void refreshLogList();
    bool changeLanguage(QString file);
    // The translation file of a language code ("de" -> "trans_de"); English needs none.
    static QString translationFile(const QString& language);
    void refreshModelStats();
    void refreshAccuStats();
    // Applies the form's texts again in the current language.
    void retranslate();
    // The history window of a pack: opened, or raised when it is open already.
    void showPackHistory(int _iAccuId);
    // The locale of the language the texts are shown in: the system's when it speaks that
    // language, else the language's own.
    QLocale languageLocale() const;

    LogBook* logBook() const { return m_pBook; }
    // The store in use; null before the first connect. Not connected after a failed one.
    SqlBase* store() const;
    ChargerManager* chargerManager() const { return m_pChargerManager; }
    TarveloSettings* settings() const { return m_pSettings; }
    UndoHistory* undoHistory() const { return m_pHistory; }

public slots:
    void onApplyEntryFromCharger(int _iAccuId, int _iCharged);

protected:
    // Remembers the window's state for the next start.
    void closeEvent(QCloseEvent* event) override;

private slots:
    void showAccuManagement();
    void showModelManagement();
    // Asks for a pack, then shows its history.
    void choosePackHistory();
    void showOptionsDialog();
    void showChargerStatus();
    void showAboutDialog();
    void onLanguageEnglish();
    void onLanguageGerman();
    void onButtonAdd();
    void onButtonChange();
    void onButtonRemove();
    void onCurrentTabChanged(int _iIndex);
    void onReload();
    // Generates a sample log book in the data folder and opens it for this run.
    void openDemoBook();

private:
    // Figures and dates in the formats of the language, for everything written from now on.
    void useLocale(const QLocale& locale);
    // The same, and the names and figures already shown written anew.
    void applyLocale(const QLocale& locale);
    void makeConnections();
    // True while a store is open. Otherwise tells the user, with the text of the failed
    // connect, and answers false.
    bool storeReady();
    // The title says whether the log book is read-only or offline.
    void applyAccess();
    // A newly opened log book: its access, and what the check at open found damaged.
    void onStoreOpened();
    void showConnectError();
    // With no settings at all, the program makes a log book of its own in the data folder.
    void startOnNewLogBook();
    // The SQLite file the window opens, or empty for a server.
    QString sqliteFileInUse() const;
    // Saves an SQLite log book as the one to open, and as the newest recent one, with `keys`.
    bool keepLogBookChoice(const QString& file, QList<SettingsValues::Key> keys = {});
    void rememberRecent(const QString& file);
    void updateStoreActions();
    // The charger manager's index of the port chosen in the options.
    int chargerPortIndex(int chargerClass) const;
    void warnPortNotOpened(int chargerClass, int port);
    void onSettingChanged(SettingsValues::Key key);
    TableColumnFitter* logColumnFitter() const;
    void restoreViewState();
    // Writes what the window remembers; a failure is reported once a run.
    void remember(const SettingsValues& values, const QList<SettingsValues::Key>& keys);
    void rememberLanguage(const QString& language);

    std::unique_ptr<Ui::MainWindow> m_pUi;
    // Long work (opening a log book, exports, copies) runs through it with progress.
    std::unique_ptr<ProgressRunner> m_pRunner;
    TarveloSettings* m_pSettings;         // owned (child)
    LogBook* m_pBook;                     // owned (child)
    UndoHistory* m_pHistory;              // owned (child)
    LogTab* m_pLogTab = nullptr;          // owned (child)
    LogBookFiles* m_pFiles = nullptr;     // owned (child)
    StatsTab* m_pModelStatsTab = nullptr; // owned (child)
    StatsTab* m_pAccuStatsTab = nullptr;  // owned (child)
    OptionsDialog* m_pOptions = nullptr;
    ChargerStatus* m_pChargerStatus = nullptr;
    ChargerManager* m_pChargerManager = nullptr;
    QTranslator* m_pTranslator = nullptr; // not owned
    // Qt's own texts (standard buttons, file dialogs), switched with the program's.
    std::unique_ptr<QTranslator> m_pQtTranslator;
    QApplication* m_pApp = nullptr;       // not owned
    QString m_strConnectError;            // the text of the last failed connect
    QString m_strLogBookFile;             // from the command line; empty: the settings' store
    QString m_strChargerPort;             // the port the charger was opened on, by its name
    bool m_bRememberFailureShown = false;
};

#endif
