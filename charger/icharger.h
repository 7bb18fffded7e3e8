// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_ICHARGER_H
#define TARVELO_ICHARGER_H

#include "charger/chargerbase.h"
#include "charger/chargerport.h"
#include "charger/chargervalues.h"
#include "charger/portlist.h"
#include "charger/sserinfo.h"

#include <QString>
#include <QThread>
#include <QVector>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

// The Junsi iCharger (106B+, 208B+, 1010B+) on a serial line. Opening starts a reader thread
// that gathers the charger's status lines, decodes them and calls the callback after every
// good line; the getters read the last decoded line on any thread.
class ICharger : public ChargerBase, public QThread
{
public:
    static constexpr int kSubtypeCount = 3;
    static constexpr int kStatusCount = 13;
    // Indexed by subtype index.
    static const char* const kSubtypeNames[kSubtypeCount];
    // Indexed by m_iSubtype (0 = none, 1 to 3 = subtype index + 1).
    static const int kCellCounts[kSubtypeCount + 1];
    static const int kTemperatureCounts[kSubtypeCount + 1];
    // Indexed by status code; translated in the context "iCharger".
    static const char* const kStatusTexts[kStatusCount];

    // Line speeds: the 208B+ sends at 128 000 baud, the others at 9600.
    static constexpr int kSlowBaud = 9600;
    static constexpr int kFastBaud = 128000;
    // How long close() and a new open() wait for the reader to end; it looks at its stop
    // request every kReadPollMs, so it normally ends at once.
    static constexpr int kCloseWaitMs = 500;
    static constexpr int kReadPollMs = 50;
    // A charger that runs a program sends a line every second or so; this long without a good
    // one and the link counts as lost.
    static constexpr int kSilenceMs = 3000;
    // When the speed is found: this long without a good line and the other speed is tried.
    static constexpr int kSpeedTryMs = 3000;

    using PortFactory = std::function<std::unique_ptr<ChargerPort>()>;
    using PortLister = std::function<void(QVector<SSerInfo>* ports)>;

    explicit ICharger(Callback _pfnCallback = nullptr);
    ~ICharger() override;

    int open(int _iSubtype, int _iPort) override;
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
    int getPortName(int _iPort, char* _pszText) override;
    int getPortCount(int* _piCount) override;
    int getPortInfo(int _iPort, SSerInfo* _pInfo) override;
    int findPort(const QString& _strName) override;
    void enumeratePorts() override;
    int getSubtypeName(int _iSubtype, char* _pszText) override;
    int getSubtypeCount(int* _piCount) override;
    bool isChargeComplete() override;
    int linkState() override;
    int getDamagedLineCount(int* _piCount) override;
    int getDetectedSubtype(int* _piSubtype) override;
    void setLineSpeed(int _iBaud) override;
    void setFirstLineSpeed(int _iBaud) override;
    int getLineSpeed(int* _piBaud, int* _piState) override;
    int openFailure() override;
    // Once this returns, no call of the previous callback is still running.
    void setCallback(Callback _pfnCallback, void* _pContext) override;

    // Makes the ports that the reader opens; the default opens real serial devices. The
    // factory is called on the reader thread. Set it while the charger is closed.
    void setPortFactory(PortFactory factory);
    // Lists the ports for enumeratePorts(); the default is listSerialPorts.
    void setPortLister(PortLister lister);
    // The ports the next open() chooses from; enumeratePorts() fills it.
    const PortList& portList() const { return m_portList; }

    // The line speed of a subtype index.
    static int baudRate(int _iSubtype);
    // The speed tried after `baud` when the speed is found.
    static int otherBaudRate(int baud);
    // The subtype index that sends that many cells, or -1.
    static int subtypeOfCells(int cells);
    // Whether the charger runs a program with that status, and so keeps sending lines.
    static bool isBusy(int status);
    // Asks the reader to end and waits for it at most kCloseWaitMs; true when it ended. A
    // charger whose reader is stuck in the system (a port that hangs in open) is not
    // destroyed while it runs.
    bool letGo();
    // The translated text of a status code, also for codes without a row.
    static QString statusText(int status);

protected:
    void run() override;

private:
    enum class ReaderState { Idle, Starting, Running, Failed };

    void readLines(ChargerPort* port);
    void setLinkState(LinkState state);
    // Calls the callback, if one is set.
    void notify();
    // Asks the reader to end and waits for it at most `ms`; true when no reader runs.
    bool stopReader(int ms);
    ChargerValues values() const;
    // A value getter: zero, then 4 while closed, else the field of the last line.
    int readValue(double* _pdValue, double ChargerValues::*field);

    // Decoded values: written by the reader, read by any thread, always one whole line.
    mutable std::mutex m_valuesMutex;
    ChargerValues m_values;

    int m_iSubtype = 0;
    int m_iLineSpeed = 0;        // chosen by the user; 0: found by trying
    int m_iFirstSpeed = 0;       // tried first when found; 0: the model's
    int m_iOpenBaud = kSlowBaud; // the speed the reader opens the port with
    std::atomic<int> m_iBaud{0}; // the speed the port is set to now
    std::atomic<int> m_iSpeedState{SpeedFixed};
    std::atomic<int> m_iOpenFailure{OpenOk};
    std::atomic<bool> m_bStop{false};
    std::atomic<int> m_iLinkState{LinkClosed};
    std::atomic<int> m_iDamaged{0};
    PortList m_portList;
    QString m_strDevicePath; // the port the reader opens; set before it starts
    PortFactory m_portFactory;
    PortLister m_portLister;

    // The reader's life: Starting before the thread starts, Running or Failed once it tried
    // the port, Idle when it ends.
    std::mutex m_readerMutex;
    std::condition_variable m_readerChanged;
    ReaderState m_readerState = ReaderState::Idle;

    // Held while the callback runs, so that replacing it is a barrier.
    std::mutex m_callbackMutex;
};

#endif
