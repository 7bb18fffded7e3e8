#ifndef TARVELO_OPTIONSDIALOG_H
#define TARVELO_OPTIONSDIALOG_H

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <utility>

class ChargerManager;
class QSettings;

namespace Ui
{
class OptionsDialog;
}

// The settings of the program (database and charger) and the dialog that edits them. Created
// once with the main window and shown again each time; its widgets keep what the user left
// in them. The dialog holds the settings record and reads and writes the settings store;
// it writes only when asked to (after OK).
class OptionsDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kKeyCount = 11;
    static constexpr int kMaxPort = 65535;

    // Asks the user for an existing file instead of the file dialog (tests install one; an
    // empty one shows the dialog again). An empty answer means cancelled.
    using FileChooser =
        std::function<QString(QWidget* parent, const QString& caption, const QString& filter)>;

    // Chooses the settings store (the local "tarvelo.ini" when it lies in the working
    // directory, else the per-user store), lists the chargers and ports of the manager,
    // reads the settings and shows them.
    OptionsDialog(QWidget* parent, ChargerManager* chargerManager);
    ~OptionsDialog() override;

    // Loads the record from the store; a store with fewer than eleven keys leaves the
    // built-in defaults.
    void readSettings();
    // Writes all eleven keys.
    void writeSettings();
    // Widgets into the record.
    void takeValues();
    // Record into the widgets; then takes the record back, so that values the widgets cannot
    // show are replaced by what they show.
    void showValues();
    void fillChargerCombo();
    void fillPortCombo();
    // The position of the saved port name in the port list, or -1.
    int findPortIndex() const;
    // The port to open: the same position.
    int portIndex() const;

    QString host() const { return m_strHost; }
    QString database() const { return m_strDatabase; }
    QString user() const { return m_strUser; }
    QString password() const { return m_strPassword; }
    QString sqliteFile() const { return m_strSqliteFile; }
    // All that chooses the store, to tell whether the user chose another one.
    QStringList databaseChoice() const;
    // (charger class, subtype)
    std::pair<int, int> chargerSelection() const { return {m_iChargerClass, m_iChargerSubtype}; }

    // Applies the form's texts again in the current language.
    void retranslate();
    // Where the settings live: the store's file (the INI file, or the per-user file).
    QString settingsFile() const;

    static void setFileChooser(FileChooser chooser);

    // The settings record.
    QString m_strHost;
    QString m_strDatabase;
    QString m_strUser;
    QString m_strPassword;
    int m_iPort = 0;
    QString m_strSqliteFile;
    bool m_bUseSqlite = false;
    bool m_bUseCharger = false;
    int m_iChargerClass = 0;
    int m_iChargerSubtype = 0;
    QString m_strChargerPort;

public slots:
    // Lists the ports again, then runs the dialog; 1 for OK.
    int exec() override;

private slots:
    void onComboChargerChanged(int _iIndex);
    void onCheckSqLite();
    void onButtonBrowseSqliteFile();
    void onCheckCharger();

private:
    void setDefaults();
    void applySqliteRule();
    void applyChargerRule();
    static FileChooser& fileChooser();

    std::unique_ptr<Ui::OptionsDialog> m_pUi;
    ChargerManager* m_pChargerManager = nullptr; // not owned
    std::unique_ptr<QSettings> m_pSettings;
};

#endif
