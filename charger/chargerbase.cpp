// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "charger/chargerbase.h"

#include <QByteArray>
#include <QString>

#include <cstring>

ChargerBase::ChargerBase(Callback _pfnCallback) : m_pfnCallback(_pfnCallback) {}

ChargerBase::~ChargerBase() = default;

int ChargerBase::open(int, int)
{
    return ResultNotSupported;
}

int ChargerBase::close()
{
    return ResultNotSupported;
}

namespace
{
int zeroed(double* value)
{
    if (value)
        *value = 0.0;
    return ChargerBase::ResultNotSupported;
}

int zeroed(int* value)
{
    if (value)
        *value = 0;
    return ChargerBase::ResultNotSupported;
}

int emptied(char* text)
{
    if (text)
        text[0] = '\0';
    return ChargerBase::ResultNotSupported;
}
} // namespace

int ChargerBase::getInputVoltage(double* _pdValue)
{
    return zeroed(_pdValue);
}

int ChargerBase::getClampVoltage(double* _pdValue)
{
    return zeroed(_pdValue);
}

int ChargerBase::getCellVoltage(double* _pdValue, int)
{
    return zeroed(_pdValue);
}

int ChargerBase::getTemperature(double* _pdValue, int)
{
    return zeroed(_pdValue);
}

int ChargerBase::getChargeCurrent(double* _pdValue)
{
    return zeroed(_pdValue);
}

int ChargerBase::getChargedCapacity(double* _pdValue)
{
    return zeroed(_pdValue);
}

int ChargerBase::getCellCount(int* _piCount)
{
    return zeroed(_piCount);
}

int ChargerBase::getTemperatureCount(int* _piCount)
{
    return zeroed(_piCount);
}

int ChargerBase::getStatusText(char* _pszText)
{
    return emptied(_pszText);
}

int ChargerBase::getStatusCode(int* _piStatus)
{
    return zeroed(_piStatus);
}

int ChargerBase::getPortName(int, char* _pszText)
{
    return emptied(_pszText);
}

int ChargerBase::getPortCount(int* _piCount)
{
    return zeroed(_piCount);
}

int ChargerBase::getPortInfo(int, SSerInfo* _pInfo)
{
    if (_pInfo)
        *_pInfo = SSerInfo();
    return ResultNotSupported;
}

int ChargerBase::findPort(const QString&)
{
    return -1;
}

void ChargerBase::enumeratePorts() {}

int ChargerBase::getSubtypeName(int, char* _pszText)
{
    return emptied(_pszText);
}

int ChargerBase::getSubtypeCount(int* _piCount)
{
    return zeroed(_piCount);
}

bool ChargerBase::isChargeComplete()
{
    return false;
}

bool ChargerBase::isOpen()
{
    return m_bOpen;
}

int ChargerBase::linkState()
{
    return isOpen() ? LinkUp : LinkClosed;
}

int ChargerBase::getDamagedLineCount(int* _piCount)
{
    return zeroed(_piCount);
}

int ChargerBase::getDetectedSubtype(int* _piSubtype)
{
    return zeroed(_piSubtype);
}

void ChargerBase::setLineSpeed(int) {}

void ChargerBase::setFirstLineSpeed(int) {}

int ChargerBase::getLineSpeed(int* _piBaud, int* _piState)
{
    zeroed(_piState);
    return zeroed(_piBaud);
}

int ChargerBase::openFailure()
{
    return OpenOk;
}

void ChargerBase::setCallback(Callback _pfnCallback, void* _pContext)
{
    m_pfnCallback = _pfnCallback;
    m_pCallbackContext = _pContext;
}

void ChargerBase::copyText(char* _pszText, const QByteArray& text)
{
    if (!_pszText)
        return;
    qsizetype length = text.size();
    if (length > kTextBufferSize - 1) {
        length = kTextBufferSize - 1;
        // Step back over continuation bytes so that a multi-byte sequence is never cut.
        qsizetype start = length;
        while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
            --start;
        length = start;
    }
    // An embedded zero would end the text early anyway; copy up to it.
    const void* zero = std::memchr(text.constData(), '\0', static_cast<size_t>(length));
    if (zero)
        length = static_cast<const char*>(zero) - text.constData();
    std::memcpy(_pszText, text.constData(), static_cast<size_t>(length));
    _pszText[length] = '\0';
}

void ChargerBase::copyText(char* _pszText, const QString& text)
{
    copyText(_pszText, text.toUtf8());
}
