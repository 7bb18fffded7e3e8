// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_CHARGERSTATUS_H
#define TARVELO_CHARGERSTATUS_H

#include "ui_chargerstatus.h"

#include <QDialog>
#include <QString>
#include <QVector>

#include <array>

class ChargerManager;
class LogBook;
class TarveloSettings;

// The modeless window that shows what the open charger reports and proposes the packs of the
// log book that fit the charge in progress. "Apply to log entry" hands the chosen pack and the
// charged capacity on; closing the window closes the charger. A new charge, another cell
// count, another log book or a changed pack list start a new detection.
class ChargerStatus : public QDialog, public Ui::ChargerStatus
{
    Q_OBJECT

public:
    static constexpr int kMaxFittingAccus = 10;
    static constexpr int kMaxCells = 10;
    using AccuIdList = std::array<int, kMaxFittingAccus>;

    ChargerStatus(QWidget* parent, ChargerManager* _pManager, LogBook* _pBook);
    ~ChargerStatus() override;

    // The form's texts in the current language; the title and the values shown stay.
    void retranslate();
    // The title of the charger group, e.g. "Junsi iCharger 106B+".
    void setChargerName(const QString& _strName);
    // A detection has found packs; no new one runs until the charge changes or "new
    // detection".
    bool isDetected() const { return m_bDetected; }

    // Fills `_aiAccuIds` with up to ten packs of the log book that fit a charge: the capacity
    // within 10 % of the charge current taken as 1C, or the nominal voltage within 10 % of
    // the whole clamp volts; with two or more active cells only packs of that many cells.
    // The rest of the list is -1. True when any pack fits.
    bool detectAccus(int _iCells, int _iVoltage, double _dCurrent, AccuIdList& _aiAccuIds);
    // The combo box gets the packs of the list that can still be read, in list order.
    void fillFittingAccus(const AccuIdList& _aiAccuIds);
    // The cycle limits that mark a proposed pack near or past its end; without settings no
    // pack is marked.
    void setSettings(const TarveloSettings* _pSettings);
    // Cells above 0.5 V.
    static int countActiveCells(const QVector<double>& _cellVoltages);

signals:
    void updateChargerDataSignal();
    void signalApplyNewEntry(int _iAccuId, int _iCharged);
    // The port could not be opened; the window has closed.
    void signalOpenFailed();
    // Lines arrive at a speed that was found by trying; once an opening.
    void signalLineSpeedFound(int _iBaud);

public slots:
    void updateChargerDataSlot();
    void onButtonApply();
    void onButtonResetPrediction();
    void done(int r) override;

protected:
    void changeEvent(QEvent* event) override;

private:
    // Shows the state of the line; false while no values come over it.
    bool showLink(int state);
    // The cells of the line, their spread and the model they tell; answers the active cells.
    int showCells();
    // Starts a new detection when a charge begins or the cells change.
    void followCharge(int status, int activeCells);
    QList<QLabel*> valueLabels() const;
    // Marks the proposed packs by their cycles, and says so for the one chosen.
    void markWear();
    void showChosenWear();

    ChargerManager* m_pManager = nullptr; // not owned
    LogBook* m_pBook = nullptr;           // not owned
    const TarveloSettings* m_pSettings = nullptr; // not owned
    bool m_bDetected = false;
    QString m_strChargerName;
    bool m_bShowsValues = false; // a line has been shown since the window was made
    int m_iLastStatus = -1;      // of the previous update; -1 before the first line
    int m_iLastActiveCells = -1;
    int m_iLastLink = -1;
    int m_iFoundSpeed = 0; // announced since the charger was opened
    std::array<QLabel*, kMaxCells> m_apCellTexts{};
    std::array<QLabel*, kMaxCells> m_apCells{};
};

// Registered with the charger: raises updateChargerDataSignal() of the ChargerStatus given as
// context. Runs on the charger's reader thread; the signal reaches the window queued.
void chargerStatusCallback(void* _pContext);

#endif
