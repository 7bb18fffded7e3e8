// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "charger/chargermanager.h"

#include "charger/icharger.h"

#include <QByteArray>

#include <cstdio>
#include <vector>

const char* const ChargerManager::kChargerClassNames[kClassCount] = {"Junsi iCharger"};

namespace
{
void zero(double* value)
{
    if (value)
        *value = 0.0;
}

void zero(int* value)
{
    if (value)
        *value = 0;
}

void zero(char* text)
{
    if (text)
        text[0] = '\0';
}
} // namespace

ChargerManager::ChargerManager(Callback _pfnCallback) : ChargerBase(_pfnCallback)
{
    m_apChargers[0] = std::make_unique<ICharger>(_pfnCallback);
}

ChargerManager::~ChargerManager()
{
    // Quitting must not wait for a reader stuck in the system (a port that hangs in open):
    // such a charger is left to the ending process instead of being destroyed under it.
    static auto* const stuck = new std::vector<std::unique_ptr<ChargerBase>>;
    for (auto& charger : m_apChargers) {
        auto* icharger = dynamic_cast<ICharger*>(charger.get());
        if (icharger && !icharger->letGo()) {
            fprintf(stderr, "iCharger: leaving a reader that does not end behind\n");
            stuck->push_back(std::move(charger));
        }
    }
}

ChargerBase* ChargerManager::charger(int _iClass) const
{
    if (_iClass < 0 || _iClass >= kClassCount)
        return nullptr;
    return m_apChargers[static_cast<size_t>(_iClass)].get();
}

ChargerBase* ChargerManager::current() const
{
    return charger(m_iCurrent);
}

bool ChargerManager::isOpen()
{
    ChargerBase* open = current();
    return open && open->isOpen();
}

int ChargerManager::close()
{
    if (!isOpen())
        return ResultNotOpen;
    const int result = current()->close();
    m_iCurrent = kNoCharger;
    m_iClass = 0;
    m_iSubtype = 0;
    return result;
}

int ChargerManager::openCharger(int _iClass, int _iSubtype, int _iPort)
{
    close();
    // A charger that closed itself still counts as current until here.
    m_iCurrent = kNoCharger;
    m_iClass = 0;
    m_iSubtype = 0;
    m_iTriedClass = _iClass;
    ChargerBase* target = charger(_iClass);
    if (!target)
        return ResultOutOfRange;
    const int result = target->open(_iSubtype, _iPort);
    if (result != ResultDone)
        return result;
    m_iClass = _iClass;
    m_iSubtype = _iSubtype;
    m_iCurrent = _iClass;
    return ResultDone;
}

template <typename Out, typename... Args>
int ChargerManager::forward(Out* _pValue, int (ChargerBase::*operation)(Out*, Args...),
                            Args... args)
{
    zero(_pValue);
    return isOpen() ? (current()->*operation)(_pValue, args...) : ResultNotOpen;
}

int ChargerManager::getInputVoltage(double* _pdValue)
{
    return forward(_pdValue, &ChargerBase::getInputVoltage);
}

int ChargerManager::getClampVoltage(double* _pdValue)
{
    return forward(_pdValue, &ChargerBase::getClampVoltage);
}

int ChargerManager::getCellVoltage(double* _pdValue, int _iCell)
{
    return forward(_pdValue, &ChargerBase::getCellVoltage, _iCell);
}

int ChargerManager::getTemperature(double* _pdValue, int _iIndex)
{
    return forward(_pdValue, &ChargerBase::getTemperature, _iIndex);
}

int ChargerManager::getChargeCurrent(double* _pdValue)
{
    return forward(_pdValue, &ChargerBase::getChargeCurrent);
}

int ChargerManager::getChargedCapacity(double* _pdValue)
{
    return forward(_pdValue, &ChargerBase::getChargedCapacity);
}

int ChargerManager::getCellCount(int* _piCount)
{
    return forward(_piCount, &ChargerBase::getCellCount);
}

int ChargerManager::getTemperatureCount(int* _piCount)
{
    return forward(_piCount, &ChargerBase::getTemperatureCount);
}

int ChargerManager::getStatusText(char* _pszText)
{
    return forward(_pszText, &ChargerBase::getStatusText);
}

int ChargerManager::getStatusCode(int* _piStatus)
{
    return forward(_piStatus, &ChargerBase::getStatusCode);
}

void ChargerManager::enumeratePorts()
{
    ChargerBase* target = isOpen() ? current() : charger(0);
    target->enumeratePorts();
}

bool ChargerManager::isChargeComplete()
{
    return isOpen() && current()->isChargeComplete();
}

int ChargerManager::linkState()
{
    ChargerBase* open = current();
    return open && open->isOpen() ? open->linkState() : LinkClosed;
}

int ChargerManager::getDamagedLineCount(int* _piCount)
{
    return forward(_piCount, &ChargerBase::getDamagedLineCount);
}

int ChargerManager::getDetectedSubtype(int* _piSubtype)
{
    return forward(_piSubtype, &ChargerBase::getDetectedSubtype);
}

int ChargerManager::getLineSpeed(int* _piBaud, int* _piState)
{
    zero(_piState);
    return forward(_piBaud, &ChargerBase::getLineSpeed, _piState);
}

int ChargerManager::openFailure()
{
    ChargerBase* tried = charger(m_iTriedClass);
    return tried ? tried->openFailure() : OpenOk;
}

void ChargerManager::setLineSpeed(int _iBaud)
{
    for (auto& charger : m_apChargers)
        charger->setLineSpeed(_iBaud);
}

void ChargerManager::setFirstLineSpeed(int _iBaud)
{
    for (auto& charger : m_apChargers)
        charger->setFirstLineSpeed(_iBaud);
}

void ChargerManager::setCallback(Callback _pfnCallback, void* _pContext)
{
    charger(0)->setCallback(_pfnCallback, _pContext);
}

int ChargerManager::getClassCount(int* _piCount)
{
    if (_piCount)
        *_piCount = kClassCount;
    return ResultDone;
}

int ChargerManager::getClassName(int _iClass, char* _pszText)
{
    zero(_pszText);
    if (_iClass < 0 || _iClass >= kClassCount)
        return ResultOutOfRange;
    copyText(_pszText, QByteArray(kChargerClassNames[_iClass]));
    return ResultDone;
}

int ChargerManager::getClassSubtypeCount(int _iClass, int* _piCount)
{
    zero(_piCount);
    ChargerBase* target = charger(_iClass);
    return target ? target->getSubtypeCount(_piCount) : ResultOutOfRange;
}

int ChargerManager::getClassSubtypeName(int _iClass, int _iSubtype, char* _pszText)
{
    zero(_pszText);
    ChargerBase* target = charger(_iClass);
    return target ? target->getSubtypeName(_iSubtype, _pszText) : ResultOutOfRange;
}

int ChargerManager::getClassPortCount(int _iClass, int* _piCount)
{
    zero(_piCount);
    if (_iClass == kNoCharger)
        return ResultNotOpen;
    ChargerBase* target = charger(_iClass);
    return target ? target->getPortCount(_piCount) : ResultOutOfRange;
}

int ChargerManager::getClassPortName(int _iClass, int _iPort, char* _pszText)
{
    zero(_pszText);
    if (_iClass == kNoCharger)
        return ResultNotOpen;
    ChargerBase* target = charger(_iClass);
    return target ? target->getPortName(_iPort, _pszText) : ResultOutOfRange;
}

int ChargerManager::getClassPortInfo(int _iClass, int _iPort, SSerInfo* _pInfo)
{
    if (_pInfo)
        *_pInfo = SSerInfo();
    if (_iClass == kNoCharger)
        return ResultNotOpen;
    ChargerBase* target = charger(_iClass);
    return target ? target->getPortInfo(_iPort, _pInfo) : ResultOutOfRange;
}

int ChargerManager::findClassPort(int _iClass, const QString& _strName)
{
    ChargerBase* target = charger(_iClass);
    return target ? target->findPort(_strName) : -1;
}
