// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_OPTIONSDIALOG_H
#define TARVELO_OPTIONSDIALOG_H

#include "charger/sserinfo.h"
#include "settings/settingsvalues.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <utility>

class QLabel;
class QSpinBox;
class ChargerManager;
class TarveloSettings;

namespace Ui
{
class OptionsDialog;
}

// The dialog that edits the options (database, charger, cycle limits of the packs). Created once
// with the main window and shown again each time. It edits a copy of the settings: OK saves the
// copy and hands it to the settings object; Cancel drops it, and every showing starts from the
// settings again.
class OptionsDialog : public QDialog
{
    Q_OBJECT

public:
    // Lists the chargers and ports of the manager and shows the settings. Without a settings
    // object the dialog reads its own from the program's store.
    OptionsDialog(QWidget* parent, ChargerManager* chargerManager,
                  TarveloSettings* settings = nullptr);
    ~OptionsDialog() override;

    // The edited copy, as the widgets show it.
    const SettingsValues& values() const { return m_edit; }
    TarveloSettings* settings() const { return m_pSettings; }

    // Widgets into the copy.
    void takeValues();
    // Copy into the widgets; then takes the copy back, so that values the widgets cannot show
    // are replaced by what they show.
    void showValues();
    void fillChargerCombo();
    void fillPortCombo();
    void fillSpeedCombo();
    // The position of the copy's port name in the port list, or -1.
    int findPortIndex() const;
    int portIndex() const { return findPortIndex(); }
    // (charger class, subtype) of the copy
    std::pair<int, int> chargerSelection() const
    {
        return {m_edit.chargerClass(), m_edit.chargerSubtype()};
    }

    // A port as the list offers it: its short name, what the system says of it, and whether it
    // is likely an iCharger.
    static QString describePort(const SSerInfo& port);

    // Applies the form's texts again in the current language.
    void retranslate();
    // Where the settings live: the store's file (the INI file, or the per-user file).
    QString settingsFile() const;

public slots:
    // Starts from the settings, lists the ports again, then runs the dialog; 1 for OK.
    int exec() override;
    // Saves the copy; when the store refuses, says so and stays open.
    void accept() override;
    // Drops every change.
    void reject() override;

private slots:
    void onComboChargerChanged(int _iIndex);
    void onCheckSqLite();
    void onButtonBrowseSqliteFile();
    void onCheckCharger();
    // What the list knows of the chosen port, and what to do when it cannot be used.
    void showPortDetails();

private:
    void startFromSettings();
    // The tab of the cycle limits: one field per chemistry.
    void buildPacksTab();
    void retranslatePacksTab();
    // The charger chosen in the list into the copy.
    void takeCharger();
    void applySqliteRule();
    void applyChargerRule();

    std::unique_ptr<Ui::OptionsDialog> m_pUi;
    ChargerManager* m_pChargerManager = nullptr; // not owned
    TarveloSettings* m_pSettings = nullptr;      // not owned, unless a child of the dialog
    SettingsValues m_edit;
    SettingsValues m_shown; // the copy as the dialog first showed it
    static constexpr int kChemistries =
        SettingsValues::CycleLimitPb - SettingsValues::CycleLimitLiPo + 1;
    std::array<QSpinBox*, kChemistries> m_apCycleLimits{};
    std::array<QLabel*, kChemistries> m_apChemistries{};
    QLabel* m_pLabelCycleLimits = nullptr;
};

#endif
