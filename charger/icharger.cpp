// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "charger/icharger.h"

#include "charger/listserialports.h"
#include "charger/serialchargerport.h"
#include "charger/serialenumerror.h"
#include "charger/statusline.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <cstring>

const char* const ICharger::kSubtypeNames[kSubtypeCount] = {"106B+", "208B+", "1010B+"};
const int ICharger::kCellCounts[kSubtypeCount + 1] = {-1, 6, 8, 10};
const int ICharger::kTemperatureCounts[kSubtypeCount + 1] = {-1, 2, 2, 2};
const char* const ICharger::kStatusTexts[kStatusCount] = {
    QT_TRANSLATE_NOOP("iCharger", "Disconnected"), QT_TRANSLATE_NOOP("iCharger", "Charging"),
    QT_TRANSLATE_NOOP("iCharger", "Discharging"),  QT_TRANSLATE_NOOP("iCharger", "Monitor"),
    QT_TRANSLATE_NOOP("iCharger", "Waiting"),      QT_TRANSLATE_NOOP("iCharger", "Test Motor"),
    QT_TRANSLATE_NOOP("iCharger", "Done"),         QT_TRANSLATE_NOOP("iCharger", "Error"),
    QT_TRANSLATE_NOOP("iCharger", "LiXX trickle"), QT_TRANSLATE_NOOP("iCharger", "NiXX trickle"),
    QT_TRANSLATE_NOOP("iCharger", "Foam cut"),     QT_TRANSLATE_NOOP("iCharger", "Info"),
    QT_TRANSLATE_NOOP("iCharger", "ExDischaring")};

namespace
{
bool validSubtypeIndex(int subtype)
{
    return subtype >= 0 && subtype < ICharger::kSubtypeCount;
}

// The cells of the last line; before the first one, the model's.
int cellCount(const ChargerValues& values, int subtype)
{
    return values.m_iCells > 0 ? values.m_iCells : ICharger::kCellCounts[subtype];
}
} // namespace

ICharger::ICharger(Callback _pfnCallback) : ChargerBase(_pfnCallback) {}

ICharger::~ICharger()
{
    close();
    // Never leave a running thread behind, even when it overran close()'s wait.
    if (!stopReader(kCloseWaitMs))
        fprintf(stderr, "iCharger: waiting for the reader thread to end\n");
    wait();
}

int ICharger::open(int _iSubtype, int _iPort)
{
    if (!validSubtypeIndex(_iSubtype))
        return ResultOutOfRange;
    close();
    m_iOpenFailure = OpenFailed;
    // A reader that overran a previous close() must be gone before a new one starts.
    if (!stopReader(kCloseWaitMs))
        return ResultPortFailed;
    m_iSubtype = _iSubtype + 1;
    m_strDevicePath = m_portList.path(_iPort);
    if (m_strDevicePath.isEmpty()) {
        m_iOpenFailure = OpenMissing;
        return ResultPortFailed;
    }
    const bool find = m_iLineSpeed <= 0;
    if (!find)
        m_iOpenBaud = m_iLineSpeed;
    else
        m_iOpenBaud = m_iFirstSpeed > 0 ? m_iFirstSpeed : baudRate(_iSubtype);
    m_iBaud = m_iOpenBaud;
    m_iSpeedState = find ? SpeedSearching : SpeedFixed;
    m_iOpenFailure = OpenOk;

    // The reader opens the port: a slow device must not hold up the caller. How that went
    // follows through the callback and linkState().
    m_bStop = false;
    m_iDamaged = 0;
    m_iLinkState = LinkOpening;
    {
        std::lock_guard<std::mutex> lock(m_readerMutex);
        m_readerState = ReaderState::Starting;
    }
    start();
    m_bOpen = true;
    return ResultDone;
}

int ICharger::close()
{
    if (!m_bOpen)
        return ResultNotOpen;
    if (!stopReader(kCloseWaitMs))
        fprintf(stderr, "iCharger: the reader thread did not end in time\n");
    m_bOpen = false;
    m_iLinkState = LinkClosed;
    return ResultDone;
}

bool ICharger::letGo()
{
    close();
    return stopReader(kCloseWaitMs);
}

bool ICharger::stopReader(int ms)
{
    m_bStop = true;
    std::unique_lock<std::mutex> lock(m_readerMutex);
    m_readerChanged.notify_all();
    if (!m_readerChanged.wait_for(lock, std::chrono::milliseconds(ms),
                                  [this] { return m_readerState == ReaderState::Idle; }))
        return false;
    lock.unlock();
    // The reader has left run(); what remains is the thread's own exit.
    wait();
    return true;
}

void ICharger::run()
{
    const int subtype = m_iSubtype;
    std::unique_ptr<ChargerPort> port;
    OpenFailure failure = OpenFailed;
    if (subtype > 0) {
        port = m_portFactory ? m_portFactory() : std::make_unique<SerialChargerPort>();
        if (port)
            failure = port->open(m_strDevicePath, m_iOpenBaud);
        if (failure != OpenOk)
            port.reset();
    }
    m_iOpenFailure = failure;
    {
        std::lock_guard<std::mutex> lock(m_readerMutex);
        m_readerState = port ? ReaderState::Running : ReaderState::Failed;
        m_readerChanged.notify_all();
    }
    if (!m_bStop) {
        setLinkState(port ? LinkUp : LinkFailed);
        notify();
    }
    if (port) {
        readLines(port.get());
        port->close();
        port.reset();
    }
    std::lock_guard<std::mutex> lock(m_readerMutex);
    m_readerState = ReaderState::Idle;
    m_readerChanged.notify_all();
}

void ICharger::setLinkState(LinkState state)
{
    // A closing charger keeps the state close() gave it.
    if (!m_bStop)
        m_iLinkState = state;
}

void ICharger::notify()
{
    std::lock_guard<std::mutex> lock(m_callbackMutex);
    if (m_pfnCallback)
        m_pfnCallback(m_pCallbackContext);
}

void ICharger::readLines(ChargerPort* port)
{
    using Clock = std::chrono::steady_clock;
    Clock::time_point lastGood = Clock::now();
    // A busy charger that has sent nothing good for a while has lost its line.
    auto checkSilence = [&] {
        if (m_iLinkState == LinkUp && m_iSpeedState != SpeedSearching &&
            isBusy(values().m_iStatus) &&
            Clock::now() - lastGood >= std::chrono::milliseconds(kSilenceMs)) {
            setLinkState(LinkLost);
            notify();
        }
    };
    char line[StatusLine::kMaxLineBytes + 1];
    int length = 0;
    // Finding the speed: while no good line comes, the other speed is tried in turn.
    Clock::time_point speedSince = lastGood;
    auto trySpeeds = [&] {
        if (m_iSpeedState != SpeedSearching ||
            Clock::now() - speedSince < std::chrono::milliseconds(kSpeedTryMs))
            return;
        const int next = otherBaudRate(m_iBaud);
        if (port->setBaudRate(next))
            m_iBaud = next;
        speedSince = Clock::now();
        length = 0; // begun at the old speed
        notify();
    };
    while (!m_bStop) {
        length = 0;
        bool failed = false;
        while (!m_bStop) {
            trySpeeds();
            char byte = 0;
            const ChargerPort::ReadResult result = port->readByte(&byte, kReadPollMs);
            if (result == ChargerPort::ReadTimeout) {
                checkSilence();
                continue;
            }
            if (result == ChargerPort::ReadFailed) {
                failed = true;
                break;
            }
            if (length == StatusLine::kMaxLineBytes)
                break; // an over-long line: this byte is dropped and the line ends
            line[length++] = byte;
            if (byte == '\n')
                break;
        }
        line[length] = '\0';
        if (m_bStop)
            break;
        if (failed) {
            // The port is gone (a pulled cable) or broken; reading on would only fail again.
            setLinkState(LinkLost);
            notify();
            break;
        }

        ChargerValues decoded = values();
        const StatusLine::Verdict verdict = StatusLine::decode(line, &decoded);
        if (verdict == StatusLine::Verdict::Good) {
            {
                std::lock_guard<std::mutex> lock(m_valuesMutex);
                m_values = decoded;
            }
            lastGood = Clock::now();
            if (m_iSpeedState == SpeedSearching)
                m_iSpeedState = SpeedFound;
            setLinkState(LinkUp);
        } else {
            if (verdict == StatusLine::Verdict::Damaged)
                ++m_iDamaged;
            checkSilence();
            if (verdict == StatusLine::Verdict::Noise)
                continue;
        }
        notify();
    }
}

ChargerValues ICharger::values() const
{
    std::lock_guard<std::mutex> lock(m_valuesMutex);
    return m_values;
}

int ICharger::baudRate(int _iSubtype)
{
    return _iSubtype == 1 ? kFastBaud : kSlowBaud;
}

int ICharger::otherBaudRate(int baud)
{
    return baud == kFastBaud ? kSlowBaud : kFastBaud;
}

int ICharger::subtypeOfCells(int cells)
{
    for (int subtype = 0; subtype < kSubtypeCount; ++subtype) {
        if (kCellCounts[subtype + 1] == cells)
            return subtype;
    }
    return -1;
}

bool ICharger::isBusy(int status)
{
    // Everything but idle, done, error and info.
    return status > 0 && status < kStatusCount && status != 6 && status != 7 && status != 11;
}

QString ICharger::statusText(int status)
{
    if (status < 0 || status >= kStatusCount)
        return QCoreApplication::translate("iCharger", "Unknown status %1").arg(status);
    return QCoreApplication::translate("iCharger", kStatusTexts[status]);
}

int ICharger::readValue(double* _pdValue, double ChargerValues::*field)
{
    if (_pdValue)
        *_pdValue = 0.0;
    if (!isOpen())
        return ResultNotOpen;
    if (_pdValue)
        *_pdValue = values().*field;
    return ResultDone;
}

int ICharger::getInputVoltage(double* _pdValue)
{
    return readValue(_pdValue, &ChargerValues::m_dInputVoltage);
}

int ICharger::getClampVoltage(double* _pdValue)
{
    return readValue(_pdValue, &ChargerValues::m_dClampVoltage);
}

int ICharger::getChargeCurrent(double* _pdValue)
{
    return readValue(_pdValue, &ChargerValues::m_dChargeCurrent);
}

int ICharger::getChargedCapacity(double* _pdValue)
{
    return readValue(_pdValue, &ChargerValues::m_dChargedCapacity);
}

int ICharger::getCellVoltage(double* _pdValue, int _iCell)
{
    if (_pdValue)
        *_pdValue = 0.0;
    if (!isOpen())
        return ResultNotOpen;
    const ChargerValues now = values();
    if (_iCell < 0 || _iCell >= cellCount(now, m_iSubtype))
        return ResultOutOfRange;
    if (_pdValue)
        *_pdValue = now.m_adCellVoltage[_iCell];
    return ResultDone;
}

int ICharger::getTemperature(double* _pdValue, int _iIndex)
{
    if (_pdValue)
        *_pdValue = 0.0;
    if (!isOpen())
        return ResultNotOpen;
    if (_iIndex < 0 || _iIndex >= kTemperatureCounts[m_iSubtype])
        return ResultOutOfRange;
    if (_pdValue)
        *_pdValue = values().m_adTemperature[_iIndex];
    return ResultDone;
}

int ICharger::getCellCount(int* _piCount)
{
    if (_piCount)
        *_piCount = 0;
    if (!isOpen())
        return ResultNotOpen;
    if (_piCount)
        *_piCount = cellCount(values(), m_iSubtype);
    return ResultDone;
}

int ICharger::getTemperatureCount(int* _piCount)
{
    if (_piCount)
        *_piCount = 0;
    if (!isOpen())
        return ResultNotOpen;
    if (_piCount)
        *_piCount = kTemperatureCounts[m_iSubtype];
    return ResultDone;
}

int ICharger::getStatusText(char* _pszText)
{
    copyText(_pszText, QCoreApplication::translate("iCharger", kStatusTexts[0]));
    if (!isOpen())
        return ResultNotOpen;
    copyText(_pszText, statusText(values().m_iStatus));
    return ResultDone;
}

int ICharger::getStatusCode(int* _piStatus)
{
    if (_piStatus)
        *_piStatus = 0;
    if (!isOpen())
        return ResultNotOpen;
    if (_piStatus)
        *_piStatus = values().m_iStatus;
    return ResultDone;
}

int ICharger::getPortName(int _iPort, char* _pszText)
{
    copyText(_pszText, QByteArray());
    const QString name = m_portList.name(_iPort);
    if (name.isEmpty())
        return ResultOutOfRange;
    copyText(_pszText, name);
    return ResultDone;
}

int ICharger::getPortCount(int* _piCount)
{
    if (_piCount)
        *_piCount = m_portList.count();
    return ResultDone;
}

int ICharger::getPortInfo(int _iPort, SSerInfo* _pInfo)
{
    const SSerInfo* info = m_portList.info(_iPort);
    if (_pInfo)
        *_pInfo = info ? *info : SSerInfo();
    return info ? ResultDone : ResultOutOfRange;
}

int ICharger::findPort(const QString& _strName)
{
    return m_portList.find(_strName);
}

void ICharger::enumeratePorts()
{
    m_portList.clear();
    QVector<SSerInfo> ports;
    try {
        if (m_portLister)
            m_portLister(&ports);
        else
            listSerialPorts(&ports);
    } catch (const SerialEnumError& error) {
        // The ports found before the failure are still offered.
        fprintf(stderr, "%s\n", error.what());
    }
    m_portList.append(ports);
}

int ICharger::getSubtypeName(int _iSubtype, char* _pszText)
{
    copyText(_pszText, QByteArray());
    if (!validSubtypeIndex(_iSubtype))
        return ResultOutOfRange;
    copyText(_pszText, QByteArray(kSubtypeNames[_iSubtype]));
    return ResultDone;
}

int ICharger::getSubtypeCount(int* _piCount)
{
    if (_piCount)
        *_piCount = kSubtypeCount;
    return ResultDone;
}

bool ICharger::isChargeComplete()
{
    // Done and the two trickle states follow a charge that ended well.
    const int status = values().m_iStatus;
    return status == 6 || status == 8 || status == 9;
}

int ICharger::linkState()
{
    return m_bOpen ? m_iLinkState.load() : LinkClosed;
}

int ICharger::getDamagedLineCount(int* _piCount)
{
    if (_piCount)
        *_piCount = 0;
    if (!isOpen())
        return ResultNotOpen;
    if (_piCount)
        *_piCount = m_iDamaged;
    return ResultDone;
}

int ICharger::getDetectedSubtype(int* _piSubtype)
{
    if (_piSubtype)
        *_piSubtype = 0;
    if (!isOpen())
        return ResultNotOpen;
    const int subtype = subtypeOfCells(values().m_iCells);
    if (subtype < 0)
        return ResultOutOfRange;
    if (_piSubtype)
        *_piSubtype = subtype;
    return ResultDone;
}

void ICharger::setLineSpeed(int _iBaud)
{
    m_iLineSpeed = _iBaud;
}

void ICharger::setFirstLineSpeed(int _iBaud)
{
    m_iFirstSpeed = _iBaud;
}

int ICharger::getLineSpeed(int* _piBaud, int* _piState)
{
    if (_piBaud)
        *_piBaud = 0;
    if (_piState)
        *_piState = SpeedFixed;
    if (!isOpen())
        return ResultNotOpen;
    if (_piBaud)
        *_piBaud = m_iBaud;
    if (_piState)
        *_piState = m_iSpeedState;
    return ResultDone;
}

int ICharger::openFailure()
{
    return m_iOpenFailure;
}

void ICharger::setCallback(Callback _pfnCallback, void* _pContext)
{
    std::lock_guard<std::mutex> lock(m_callbackMutex);
    ChargerBase::setCallback(_pfnCallback, _pContext);
}

void ICharger::setPortFactory(PortFactory factory)
{
    m_portFactory = std::move(factory);
}

void ICharger::setPortLister(PortLister lister)
{
    m_portLister = std::move(lister);
}
