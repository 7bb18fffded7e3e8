#include "charger/icharger.h"

#include "charger/listserialports.h"
#include "charger/serialchargerport.h"
#include "charger/serialenumerror.h"
#include "charger/statusline.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>

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
const int kOpenTimeoutMs = 10000;

bool validSubtypeIndex(int subtype)
{
    return subtype >= 0 && subtype < ICharger::kSubtypeCount;
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
    // A reader that overran a previous close() must be gone before a new one starts.
    if (!stopReader(kCloseWaitMs))
        return ResultPortFailed;
    wait();
    m_iSubtype = _iSubtype + 1;
    m_strDevicePath = m_portList.path(_iPort);
    if (m_strDevicePath.isEmpty())
        return ResultPortFailed;

    m_bStop = false;
    {
        std::lock_guard<std::mutex> lock(m_readerMutex);
        m_readerState = ReaderState::Starting;
    }
    start();
    ReaderState state;
    {
        std::unique_lock<std::mutex> lock(m_readerMutex);
        m_readerChanged.wait_for(lock, std::chrono::milliseconds(kOpenTimeoutMs),
                                 [this] { return m_readerState != ReaderState::Starting; });
        state = m_readerState;
    }
    if (state != ReaderState::Running) {
        stopReader(kCloseWaitMs);
        return ResultPortFailed;
    }
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
    return ResultDone;
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
    if (subtype > 0) {
        port = m_portFactory ? m_portFactory() : std::make_unique<SerialChargerPort>();
        if (port && !port->open(m_strDevicePath))
            port.reset();
    }
    {
        std::lock_guard<std::mutex> lock(m_readerMutex);
        m_readerState = port ? ReaderState::Running : ReaderState::Failed;
        m_readerChanged.notify_all();
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

void ICharger::readLines(ChargerPort* port)
{
    const int subtype = m_iSubtype;
    char line[StatusLine::kMaxLineBytes + 1];
    while (!m_bStop) {
        int length = 0;
        bool failed = false;
        while (!m_bStop) {
            char byte = 0;
            const ChargerPort::ReadResult result = port->readByte(&byte, kReadPollMs);
            if (result == ChargerPort::ReadTimeout)
                continue;
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

        ChargerValues decoded = values();
        if (!m_bStop && decodeLine(line, subtype - 1, &decoded)) {
            {
                std::lock_guard<std::mutex> lock(m_valuesMutex);
                m_values = decoded;
            }
            std::lock_guard<std::mutex> lock(m_callbackMutex);
            if (m_pfnCallback)
                m_pfnCallback(m_pCallbackContext);
        }
        if (failed) {
            std::unique_lock<std::mutex> lock(m_readerMutex);
            m_readerChanged.wait_for(lock, std::chrono::milliseconds(kFailedReadPauseMs),
                                     [this] { return m_bStop.load(); });
        }
    }
}

ChargerValues ICharger::values() const
{
    std::lock_guard<std::mutex> lock(m_valuesMutex);
    return m_values;
}

bool ICharger::decodeLine(const char* line, int _iSubtype, ChargerValues* values)
{
    if (!validSubtypeIndex(_iSubtype))
        return false;
    return StatusLine::decode(line, kCellCounts[_iSubtype + 1], values);
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
    if (_iCell < 0 || _iCell >= kCellCounts[m_iSubtype])
        return ResultOutOfRange;
    if (_pdValue)
        *_pdValue = values().m_adCellVoltage[_iCell];
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
        *_piCount = kCellCounts[m_iSubtype];
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

void ICharger::enumeratePorts()
{
    m_portList.clear();
    QVector<SSerInfo> ports;
    try {
        if (m_portLister)
            m_portLister(&ports, true);
        else
            listSerialPorts(&ports, true);
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
