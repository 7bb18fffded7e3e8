#ifndef TARVELO_CHARGERSTATUS_H
#define TARVELO_CHARGERSTATUS_H

#include "ui_chargerstatus.h"

#include <QDialog>
#include <QString>
#include <QVector>

#include <array>

class ChargerManager;
class SqlBase;

// The modeless window that shows what the open charger reports and proposes the packs of the
// store that fit the charge in progress. "Apply to new entry" hands the chosen pack and the
// charged capacity on; closing the window closes the charger.
class ChargerStatus : public QDialog, public Ui::ChargerStatus
{
    Q_OBJECT

public:
    static constexpr int kMaxFittingAccus = 10;
    using AccuIdList = std::array<int, kMaxFittingAccus>;

    ChargerStatus(QWidget* parent, ChargerManager* _pManager, SqlBase* _pDb);
    ~ChargerStatus() override;

    // The title of the charger group, e.g. "Junsi iCharger 106B+".
    void setChargerName(const QString& _strName);
    // The store to take packs from; may be null.
    void setDb(SqlBase* _pDb) { m_pDb = _pDb; }
    SqlBase* db() const { return m_pDb; }
    // A detection has found packs; no new one runs until "new detection".
    bool isDetected() const { return m_bDetected; }

    // Fills `_aiAccuIds` with up to ten packs of the store that fit a charge: the capacity
    // within 10 % of the charge current taken as 1C, or the nominal voltage within 10 % of
    // the whole clamp volts; with two or more active cells only packs of that many cells.
    // The rest of the list is -1. True when any pack fits.
    bool detectAccus(int _iCells, int _iVoltage, double _dCurrent, AccuIdList& _aiAccuIds);
    // The combo box gets the packs of the list that can still be read, in list order.
    void fillFittingAccus(const AccuIdList& _aiAccuIds);
    // Cells above 0.5 V.
    static int countActiveCells(const QVector<double>& _cellVoltages);

signals:
    void updateChargerDataSignal();
    void signalApplyNewEntry(int _iAccuId, int _iCharged);

public slots:
    void updateChargerDataSlot();
    void onButtonApply();
    void onButtonResetPrediction();
    void done(int r) override;

protected:
    void changeEvent(QEvent* event) override;

private:
    ChargerManager* m_pManager = nullptr; // not owned
    SqlBase* m_pDb = nullptr;             // not owned
    bool m_bDetected = false;
};

// Registered with the charger: raises updateChargerDataSignal() of the ChargerStatus given as
// context. Runs on the charger's reader thread; the signal reaches the window queued.
void chargerStatusCallback(void* _pContext);

#endif
