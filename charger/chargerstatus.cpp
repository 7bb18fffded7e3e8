#include "charger/chargerstatus.h"

#include "charger/chargermanager.h"
#include "storage/sqlbase.h"

#include <QEvent>

#include <cmath>

namespace
{
// Absorbs the rounding of decimal currents, so that a pack right on a window's edge fits as it
// should: at 4.03 A the window would start at 3627.0000000000005 mAh instead of 3627.
const double kWindowSlack = 1e-6;

QString number(double value, const char* unit)
{
    return QString::number(value, 'g', 6) + QString::fromUtf8(unit);
}

bool inWindow(double value, double low, double high)
{
    return value >= low - kWindowSlack && value <= high + kWindowSlack;
}
} // namespace

void chargerStatusCallback(void* _pContext)
{
    if (_pContext)
        emit static_cast<ChargerStatus*>(_pContext)->updateChargerDataSignal();
}

ChargerStatus::ChargerStatus(QWidget* parent, ChargerManager* _pManager, SqlBase* _pDb)
    : QDialog(parent), m_pManager(_pManager), m_pDb(_pDb)
{
    setupUi(this);
    connect(this, &ChargerStatus::updateChargerDataSignal, this,
            &ChargerStatus::updateChargerDataSlot, Qt::AutoConnection);
    connect(m_pButtonApply, &QPushButton::clicked, this, &ChargerStatus::onButtonApply);
    connect(m_pButtonResetPrediction, &QPushButton::clicked, this,
            &ChargerStatus::onButtonResetPrediction);
    m_pButtonApply->setEnabled(false);
    m_pComboFittingAccus->setEnabled(false);
    m_pButtonResetPrediction->setEnabled(false);
    if (m_pManager)
        m_pManager->setCallback(chargerStatusCallback, this);
}

ChargerStatus::~ChargerStatus()
{
    // The reader must not call into a window that is gone; once this returns, no call of the
    // callback is running.
    if (m_pManager)
        m_pManager->setCallback(nullptr, nullptr);
}

void ChargerStatus::setChargerName(const QString& _strName)
{
    m_pGroupBoxCharger->setTitle(_strName);
}

void ChargerStatus::updateChargerDataSlot()
{
    if (!m_pManager)
        return;
    ChargerManager& charger = *m_pManager;

    char text[ChargerBase::kTextBufferSize];
    if (charger.getStatusText(text) == ChargerBase::ResultDone) {
        m_pLabelChargerStatus->setText(QString::fromUtf8(text));
        if (charger.isChargeComplete()) {
            m_pButtonApply->setEnabled(true);
            m_pComboFittingAccus->setEnabled(m_pComboFittingAccus->count() > 0);
        } else {
            m_pButtonApply->setEnabled(false);
        }
    }

    double value = 0.0;
    if (charger.getInputVoltage(&value) == ChargerBase::ResultDone)
        m_pLabelInputVoltage->setText(number(value, "V"));

    int clampVolts = 0;
    if (charger.getClampVoltage(&value) == ChargerBase::ResultDone) {
        m_pLabelClampVoltage->setText(number(value, "V"));
        clampVolts = static_cast<int>(value);
    }

    int activeCells = 0;
    int cellCount = 0;
    if (charger.getCellCount(&cellCount) == ChargerBase::ResultDone) {
        QLabel* const cellLabels[] = {m_pLabelCell1, m_pLabelCell2, m_pLabelCell3,
                                      m_pLabelCell4, m_pLabelCell5, m_pLabelCell6};
        QVector<double> cells;
        for (int cell = 0; cell < cellCount; ++cell) {
            if (charger.getCellVoltage(&value, cell) != ChargerBase::ResultDone)
                continue;
            cells.append(value);
            if (cell < 6)
                cellLabels[cell]->setText(number(value, "V"));
        }
        activeCells = countActiveCells(cells);
    }

    double current = 0.0;
    if (charger.getChargeCurrent(&value) == ChargerBase::ResultDone) {
        m_pLabelChargeCurrent->setText(number(value, "A"));
        current = value;
    }

    int temperatures = 0;
    if (charger.getTemperatureCount(&temperatures) == ChargerBase::ResultDone) {
        QLabel* const temperatureLabels[] = {m_pLabelIntTemperature, m_pLabelExtTemperature};
        for (int index = 0; index < 2 && index < temperatures; ++index) {
            if (charger.getTemperature(&value, index) == ChargerBase::ResultDone)
                temperatureLabels[index]->setText(number(value, "\u00B0C"));
        }
    }

    if (charger.getChargedCapacity(&value) == ChargerBase::ResultDone)
        m_pLabelChargedCapacity->setText(number(value, "mAh"));

    if (!m_bDetected) {
        AccuIdList ids;
        if (detectAccus(activeCells, clampVolts, current, ids)) {
            m_pComboFittingAccus->setEnabled(true);
            fillFittingAccus(ids);
        } else {
            m_pComboFittingAccus->setEnabled(false);
        }
    }
}

int ChargerStatus::countActiveCells(const QVector<double>& _cellVoltages)
{
    int active = 0;
    for (double volts : _cellVoltages) {
        if (volts > 0.5)
            ++active;
    }
    return active;
}

bool ChargerStatus::detectAccus(int _iCells, int _iVoltage, double _dCurrent,
                                AccuIdList& _aiAccuIds)
{
    _aiAccuIds.fill(-1);
    const double capacity = _dCurrent * 1000.0; // the charge current as a 1C rate, in mAh
    const double capacityLow = capacity - 0.1 * capacity;
    const double capacityHigh = capacity + 0.1 * capacity;
    const double volts = _iVoltage;
    const double voltsLow = volts - 0.1 * volts;
    const double voltsHigh = volts + 0.1 * volts;

    if (!m_pDb)
        return false;
    QVector<AccuEntry> accus;
    if (!m_pDb->getAccus(&accus))
        return false;

    int found = 0;
    for (const AccuEntry& accu : accus) {
        if (found == kMaxFittingAccus)
            break;
        if (_iCells >= 2 && accu.m_iCells != _iCells)
            continue;
        const bool fits = inWindow(accu.m_iCapacity, capacityLow, capacityHigh) ||
                          inWindow(accu.cellVoltage() * accu.m_iCells, voltsLow, voltsHigh);
        if (!fits)
            continue;
        _aiAccuIds[static_cast<size_t>(found++)] = accu.m_iId;
        m_bDetected = true;
        m_pButtonResetPrediction->setEnabled(true);
    }
    return found > 0;
}

void ChargerStatus::fillFittingAccus(const AccuIdList& _aiAccuIds)
{
    m_pComboFittingAccus->clear();
    for (int id : _aiAccuIds) {
        if (id == -1 || !m_pDb)
            continue;
        AccuEntry accu;
        if (m_pDb->getAccu(id, &accu))
            m_pComboFittingAccus->addItem(accu.m_strDescr, id);
    }
}

void ChargerStatus::onButtonApply()
{
    const int accuId = m_pComboFittingAccus->count() == 0
                           ? -1
                           : m_pComboFittingAccus->currentData(Qt::UserRole).toInt();
    double charged = 0.0;
    if (!m_pManager || m_pManager->getChargedCapacity(&charged) != ChargerBase::ResultDone)
        charged = 0.0;
    emit signalApplyNewEntry(accuId, static_cast<int>(charged));
}

void ChargerStatus::onButtonResetPrediction()
{
    m_pButtonResetPrediction->setEnabled(false);
    m_pComboFittingAccus->setEnabled(false);
    m_pComboFittingAccus->clear();
    m_bDetected = false;
}

void ChargerStatus::done(int r)
{
    if (m_pManager)
        m_pManager->close();
    m_pButtonApply->setEnabled(false);
    m_pComboFittingAccus->setEnabled(false);
    m_pButtonResetPrediction->setEnabled(false);
    QDialog::done(r);
}

void ChargerStatus::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi(this);
    QDialog::changeEvent(event);
}
