// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_CHARGERMANAGER_H
#define TARVELO_CHARGERMANAGER_H

#include "charger/chargerbase.h"

#include <array>
#include <memory>

// Owns the chargers, one per charger class, and is itself the charger front that the rest of
// the program talks to: once a charger is open, the value queries reach it. Before, the
// per-class queries offer the classes, their models ("subtypes") and ports.
class ChargerManager : public ChargerBase
{
public:
    static constexpr int kClassCount = 1;
    static constexpr int kNoCharger = 255;
    static const char* const kChargerClassNames[kClassCount];

    explicit ChargerManager(Callback _pfnCallback = nullptr);
    ~ChargerManager() override;

    int close() override;
    int getInputVoltage(double* _pdValue) override;
    int getClampVoltage(double* _pdValue) override;
    int getCellVoltage(double* _pdValue, int _iCell) override;
    int getTemperature(double* _pdValue, int _iIndex) override;
    int getChargeCurrent(double* _pdValue) override;
    int getChargedCapacity(double* _pdValue) override;
    int getCellCount(int* _piCount) override;
    int getTemperatureCount(int* _piCount) override;
    int getStatusText(char* _pszText) override;
    int getStatusCode(int* _piStatus) override;
    void enumeratePorts() override;
    bool isChargeComplete() override;
    bool isOpen() override;
    int linkState() override;
    int getDamagedLineCount(int* _piCount) override;
    int getDetectedSubtype(int* _piSubtype) override;
    int getLineSpeed(int* _piBaud, int* _piState) override;
    // Of the charger that openCharger() tried last.
    int openFailure() override;
    // For every charger.
    void setLineSpeed(int _iBaud) override;
    void setFirstLineSpeed(int _iBaud) override;
    void setCallback(Callback _pfnCallback, void* _pContext) override;

    // Closes any open charger, then opens the charger of a class on a port of its list.
    int openCharger(int _iClass, int _iSubtype, int _iPort);
    int getClassCount(int* _piCount);
    int getClassName(int _iClass, char* _pszText);
    int getClassSubtypeCount(int _iClass, int* _piCount);
    int getClassSubtypeName(int _iClass, int _iSubtype, char* _pszText);
    int getClassPortCount(int _iClass, int* _piCount);
    int getClassPortName(int _iClass, int _iPort, char* _pszText);
    int getClassPortInfo(int _iClass, int _iPort, SSerInfo* _pInfo);
    // The port of a class's list that a saved port name means, or -1.
    int findClassPort(int _iClass, const QString& _strName);

    // The charger of a class, or null for an index without one.
    ChargerBase* charger(int _iClass) const;
    int currentClass() const { return m_iClass; }
    int currentSubtype() const { return m_iSubtype; }

private:
    ChargerBase* current() const;
    // Zeroes the out-value, then 4 while closed, else the open charger's answer.
    template <typename Out, typename... Args>
    int forward(Out* _pValue, int (ChargerBase::*operation)(Out*, Args...), Args... args);

    std::array<std::unique_ptr<ChargerBase>, kClassCount> m_apChargers;
    int m_iCurrent = kNoCharger;
    int m_iClass = 0;
    int m_iSubtype = 0;
    int m_iTriedClass = kNoCharger; // given to the last openCharger()
};

#endif
