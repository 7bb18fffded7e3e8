// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "charger/chargerstatus.h"

#include "charger/chargermanager.h"
#include "records/numberformat.h"
#include "settings/tarvelosettings.h"
#include "storage/logbook.h"
#include "views/wearmark.h"

#include <QEvent>

#include <algorithm>
#include <cmath>

namespace
{
// Absorbs the rounding of decimal currents, so that a pack right on a window's edge fits as it
// should: at 4.03 A the window would start at 3627.0000000000005 mAh instead of 3627.
const double kWindowSlack = 1e-6;
const int kCharging = 1;
const int kDischarging = 2;

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

ChargerStatus::ChargerStatus(QWidget* parent, ChargerManager* _pManager, LogBook* _pBook)
    : QDialog(parent), m_pManager(_pManager), m_pBook(_pBook)
{
    setupUi(this);
    m_apCellTexts = {m_pLabelTextCell1, m_pLabelTextCell2, m_pLabelTextCell3, m_pLabelTextCell4,
                     m_pLabelTextCell5, m_pLabelTextCell6, m_pLabelTextCell7, m_pLabelTextCell8,
                     m_pLabelTextCell9, m_pLabelTextCell10};
    m_apCells = {m_pLabelCell1, m_pLabelCell2, m_pLabelCell3, m_pLabelCell4, m_pLabelCell5,
                 m_pLabelCell6, m_pLabelCell7, m_pLabelCell8, m_pLabelCell9, m_pLabelCell10};
    // Until a charger says otherwise, the rows of the smallest one.
    for (int cell = 6; cell < kMaxCells; ++cell) {
        m_apCellTexts[cell]->hide();
        m_apCells[cell]->hide();
    }
    m_pLabelDetectedModel->hide();
    m_pLabelAccuWear->hide();
    m_pLabelAccuWear->setAutoFillBackground(true);
    connect(m_pComboFittingAccus, &QComboBox::currentIndexChanged, this,
            &ChargerStatus::showChosenWear);
    connect(this, &ChargerStatus::updateChargerDataSignal, this,
            &ChargerStatus::updateChargerDataSlot, Qt::AutoConnection);
    connect(m_pButtonApply, &QPushButton::clicked, this, &ChargerStatus::onButtonApply);
    connect(m_pButtonResetPrediction, &QPushButton::clicked, this,
            &ChargerStatus::onButtonResetPrediction);
    m_pButtonApply->setEnabled(false);
    m_pComboFittingAccus->setEnabled(false);
    m_pButtonResetPrediction->setEnabled(false);
    if (m_pBook) {
        // Packs of another log book, or a pack that has gone, must not be handed on.
        connect(m_pBook, &LogBook::storeReplaced, this, &ChargerStatus::onButtonResetPrediction);
        connect(m_pBook, &LogBook::reloaded, this, &ChargerStatus::onButtonResetPrediction);
        connect(m_pBook, &LogBook::accusChanged, this, &ChargerStatus::onButtonResetPrediction);
        // An entry applied from here is one more cycle of the pack.
        connect(m_pBook, &LogBook::entryAdded, this, &ChargerStatus::markWear);
        connect(m_pBook, &LogBook::entryRemoved, this, &ChargerStatus::markWear);
        connect(m_pBook, &LogBook::entryChanged, this, &ChargerStatus::markWear);
    }
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
    m_strChargerName = _strName;
    m_pGroupBoxCharger->setTitle(_strName);
}

QList<QLabel*> ChargerStatus::valueLabels() const
{
    QList<QLabel*> labels = {m_pLabelChargerStatus, m_pLabelInputVoltage, m_pLabelClampVoltage,
                             m_pLabelCellSpread,    m_pLabelChargeCurrent, m_pLabelIntTemperature,
                             m_pLabelExtTemperature, m_pLabelChargedCapacity};
    labels.append(QList<QLabel*>(m_apCells.begin(), m_apCells.end()));
    return labels;
}

bool ChargerStatus::showLink(int state)
{
    int baud = 0;
    int speed = ChargerBase::SpeedFixed;
    const bool searching = state == ChargerBase::LinkUp && m_pManager &&
                           m_pManager->getLineSpeed(&baud, &speed) == ChargerBase::ResultDone &&
                           speed == ChargerBase::SpeedSearching;
    switch (state) {
    case ChargerBase::LinkOpening:
        m_pLabelLink->setText(tr("Opening the port..."));
        break;
    case ChargerBase::LinkUp:
        if (searching)
            m_pLabelLink->setText(
                tr("Connected, finding the line speed: trying %1 baud").arg(baud));
        else
            m_pLabelLink->setText(tr("Connected"));
        break;
    case ChargerBase::LinkLost:
        m_pLabelLink->setText(tr("Link lost: no line from the charger"));
        break;
    case ChargerBase::LinkFailed:
        m_pLabelLink->setText(tr("The port could not be opened"));
        break;
    default:
        m_pLabelLink->setText(tr("Closed"));
        break;
    }
    // Values that no longer come in, or not yet at the speed tried, are shown grey.
    const bool live = state == ChargerBase::LinkUp && !searching;
    for (QLabel* label : valueLabels())
        label->setEnabled(live);
    return live;
}

void ChargerStatus::updateChargerDataSlot()
{
    if (!m_pManager)
        return;
    ChargerManager& charger = *m_pManager;

    const int link = charger.linkState();
    const bool live = showLink(link);
    const bool failedNow = link == ChargerBase::LinkFailed && m_iLastLink != link;
    m_iLastLink = link;
    if (failedNow) {
        done(QDialog::Rejected);
        emit signalOpenFailed();
        return;
    }
    int baud = 0;
    int speed = ChargerBase::SpeedFixed;
    if (charger.getLineSpeed(&baud, &speed) == ChargerBase::ResultDone &&
        speed == ChargerBase::SpeedFound && baud != m_iFoundSpeed) {
        m_iFoundSpeed = baud;
        emit signalLineSpeedFound(baud);
    }
    // Opening, or nothing came yet at the speed tried: the values would be zeros or the last
    // connection's. A lost link keeps the last ones shown.
    if (!live) {
        m_pButtonApply->setEnabled(false);
        return;
    }

    char text[ChargerBase::kTextBufferSize];
    if (charger.getStatusText(text) == ChargerBase::ResultDone) {
        m_pLabelChargerStatus->setText(QString::fromUtf8(text));
        m_bShowsValues = true;
        if (live && charger.isChargeComplete()) {
            m_pButtonApply->setEnabled(true);
            m_pComboFittingAccus->setEnabled(m_pComboFittingAccus->count() > 0);
        } else {
            m_pButtonApply->setEnabled(false);
        }
    }

    double value = 0.0;
    if (charger.getInputVoltage(&value) == ChargerBase::ResultDone)
        m_pLabelInputVoltage->setText(NumberFormat::volts(value));

    int clampVolts = 0;
    if (charger.getClampVoltage(&value) == ChargerBase::ResultDone) {
        m_pLabelClampVoltage->setText(NumberFormat::volts(value));
        clampVolts = static_cast<int>(value);
    }

    const int activeCells = showCells();

    double current = 0.0;
    if (charger.getChargeCurrent(&value) == ChargerBase::ResultDone) {
        m_pLabelChargeCurrent->setText(NumberFormat::amps(value));
        current = value;
    }

    int temperatures = 0;
    if (charger.getTemperatureCount(&temperatures) == ChargerBase::ResultDone) {
        QLabel* const temperatureLabels[] = {m_pLabelIntTemperature, m_pLabelExtTemperature};
        for (int index = 0; index < 2 && index < temperatures; ++index) {
            if (charger.getTemperature(&value, index) == ChargerBase::ResultDone)
                temperatureLabels[index]->setText(NumberFormat::celsius(value));
        }
    }

    if (charger.getChargedCapacity(&value) == ChargerBase::ResultDone)
        m_pLabelChargedCapacity->setText(NumberFormat::milliAmpHours(value));

    int damaged = 0;
    if (charger.getDamagedLineCount(&damaged) == ChargerBase::ResultDone)
        m_pLabelDamagedLines->setText(QString::number(damaged));

    int status = 0;
    if (charger.getStatusCode(&status) == ChargerBase::ResultDone)
        followCharge(status, activeCells);

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

int ChargerStatus::showCells()
{
    ChargerManager& charger = *m_pManager;
    int cellCount = 0;
    if (charger.getCellCount(&cellCount) != ChargerBase::ResultDone)
        return 0;
    cellCount = std::min(cellCount, kMaxCells);
    QVector<double> cells;
    for (int cell = 0; cell < kMaxCells; ++cell) {
        double volts = 0.0;
        const bool shown = cell < cellCount;
        m_apCellTexts[cell]->setVisible(shown);
        m_apCells[cell]->setVisible(shown);
        if (!shown || charger.getCellVoltage(&volts, cell) != ChargerBase::ResultDone)
            continue;
        cells.append(volts);
        m_apCells[cell]->setText(NumberFormat::volts(volts));
    }

    // The spread of the cells that carry a pack: how far the balancer still has to go.
    QVector<double> active;
    std::copy_if(cells.begin(), cells.end(), std::back_inserter(active),
                 [](double volts) { return volts > 0.5; });
    if (active.size() < 2) {
        m_pLabelCellSpread->setText(tr("none"));
    } else {
        const auto [low, high] = std::minmax_element(active.begin(), active.end());
        m_pLabelCellSpread->setText(NumberFormat::milliVolts((*high - *low) * 1000.0));
    }

    // A charger that sends another model's cell count is that model.
    int detected = 0;
    char name[ChargerBase::kTextBufferSize] = {};
    const bool other = charger.getDetectedSubtype(&detected) == ChargerBase::ResultDone &&
                       detected != charger.currentSubtype() &&
                       charger.getClassSubtypeName(charger.currentClass(), detected, name) ==
                           ChargerBase::ResultDone;
    if (other)
        m_pLabelDetectedModel->setText(
            tr("The charger sends %1 cells: it is a %2, not the model chosen in the options.")
                .arg(cellCount)
                .arg(QString::fromUtf8(name)));
    m_pLabelDetectedModel->setVisible(other);
    return countActiveCells(cells);
}

void ChargerStatus::followCharge(int status, int activeCells)
{
    const bool chargeStarts = status == kCharging && m_iLastStatus >= 0 &&
                              m_iLastStatus != kCharging && m_iLastStatus != kDischarging;
    const bool otherCells = m_iLastActiveCells >= 0 && activeCells != m_iLastActiveCells;
    m_iLastStatus = status;
    m_iLastActiveCells = activeCells;
    if (chargeStarts || otherCells)
        onButtonResetPrediction();
}

int ChargerStatus::countActiveCells(const QVector<double>& _cellVoltages)
{
    return static_cast<int>(std::count_if(_cellVoltages.begin(), _cellVoltages.end(),
                                          [](double volts) { return volts > 0.5; }));
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

    if (!m_pBook || !m_pBook->isOpen())
        return false;
    int found = 0;
    for (const AccuEntry& accu : m_pBook->accus()) {
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
        AccuEntry accu;
        if (id != -1 && m_pBook && m_pBook->accu(id, &accu))
            m_pComboFittingAccus->addItem(accu.m_strDescr, id);
    }
    markWear();
}

void ChargerStatus::setSettings(const TarveloSettings* _pSettings)
{
    if (m_pSettings)
        disconnect(m_pSettings, nullptr, this, nullptr);
    m_pSettings = _pSettings;
    if (m_pSettings)
        connect(m_pSettings, &TarveloSettings::changed, this, &ChargerStatus::markWear);
    markWear();
}

void ChargerStatus::markWear()
{
    QComboBox* combo = m_pComboFittingAccus;
    if (combo->count() > 0 && m_pBook) {
        const QHash<int, int> cycles = m_pBook->entriesPerAccu();
        for (int i = 0; i < combo->count(); ++i) {
            const int id = combo->itemData(i).toInt();
            AccuEntry accu;
            const int limit = m_pSettings && m_pBook->accu(id, &accu)
                                  ? m_pSettings->values().cycleLimit(accu.m_iTyp)
                                  : 0;
            const int n = cycles.value(id);
            const QColor mark = WearMark::color(PackHistory::wear(n, limit));
            combo->setItemData(i, mark.isValid() ? QVariant(mark) : QVariant(), Qt::BackgroundRole);
            const QString why = WearMark::reason(n, limit, accu.m_iTyp);
            combo->setItemData(i, why.isEmpty() ? QVariant() : QVariant(why), Qt::ToolTipRole);
        }
    }
    showChosenWear();
}

void ChargerStatus::showChosenWear()
{
    QComboBox* combo = m_pComboFittingAccus;
    const int i = combo->currentIndex();
    const QString why = i < 0 ? QString() : combo->itemData(i, Qt::ToolTipRole).toString();
    m_pLabelAccuWear->setText(why);
    QPalette palette = this->palette();
    if (!why.isEmpty())
        palette.setColor(QPalette::Window, combo->itemData(i, Qt::BackgroundRole).value<QColor>());
    m_pLabelAccuWear->setPalette(palette);
    m_pLabelAccuWear->setVisible(!why.isEmpty());
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
    showChosenWear();
}

void ChargerStatus::done(int r)
{
    if (m_pManager)
        m_pManager->close();
    m_pButtonApply->setEnabled(false);
    m_pComboFittingAccus->setEnabled(false);
    m_pButtonResetPrediction->setEnabled(false);
    m_iLastStatus = -1;
    m_iLastActiveCells = -1;
    m_iLastLink = -1;
    m_iFoundSpeed = 0;
    showLink(ChargerBase::LinkClosed);
    QDialog::done(r);
}

void ChargerStatus::retranslate()
{
    // The form's texts change; the title and the values shown stay.
    QStringList values;
    for (QLabel* label : valueLabels())
        values << label->text();
    const QString damaged = m_pLabelDamagedLines->text();
    retranslateUi(this);
    if (m_bShowsValues) {
        const QList<QLabel*> labels = valueLabels();
        for (int i = 0; i < labels.size(); ++i)
            labels[i]->setText(values[i]);
        m_pLabelDamagedLines->setText(damaged);
    }
    if (!m_strChargerName.isEmpty())
        m_pGroupBoxCharger->setTitle(m_strChargerName);
    markWear();
    // Texts of our own, such as the status, in the new language.
    if (m_pManager && m_pManager->isOpen())
        updateChargerDataSlot();
    else
        showLink(ChargerBase::LinkClosed);
}

void ChargerStatus::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}
