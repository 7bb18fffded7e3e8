// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_CHARGERBASE_H
#define TARVELO_CHARGERBASE_H

#include "charger/sserinfo.h"

class QByteArray;
class QString;

// The interface through which the program talks to a battery charger. Every operation that
// returns an int answers with one of the result codes below. Text out-parameters are
// NUL-terminated 8-bit (UTF-8) strings in buffers of kTextBufferSize bytes that the caller
// supplies; value out-parameters are set to zero before anything else happens.
class ChargerBase
{
public:
    enum Result {
        ResultDone = 0,
        ResultNotSupported = 1,
        ResultOutOfRange = 2,
        ResultPortFailed = 3, // the serial port could not be opened or configured
        ResultNotOpen = 4
    };
    // How the line to an open charger stands.
    enum LinkState {
        LinkClosed,
        LinkOpening, // the port is being opened; the outcome follows through the callback
        LinkUp,      // the port is open
        LinkLost,    // the port failed, or a running charger fell silent
        LinkFailed   // the port could not be opened
    };
    // Why the port could not be opened; OpenOk while it opened.
    enum OpenFailure {
        OpenOk,
        OpenDenied,  // no permission to read the device
        OpenBusy,    // another program holds it
        OpenMissing, // no such device (unplugged, or never there)
        OpenFailed   // anything else
    };
    // How the line speed was chosen.
    enum SpeedState {
        SpeedFixed,     // by the user
        SpeedSearching, // automatic, and no good line yet at the speed tried now
        SpeedFound      // automatic, and good lines arrive at this speed
    };
    static constexpr int kTextBufferSize = 100;

    using Callback = void (*)(void* _pContext);

    explicit ChargerBase(Callback _pfnCallback = nullptr);
    ChargerBase(const ChargerBase&) = delete;
    ChargerBase& operator=(const ChargerBase&) = delete;
    virtual ~ChargerBase();

    virtual int open(int _iSubtype, int _iPort);
    virtual int close();
    virtual int getInputVoltage(double* _pdValue);
    virtual int getClampVoltage(double* _pdValue);
    virtual int getCellVoltage(double* _pdValue, int _iCell);
    virtual int getTemperature(double* _pdValue, int _iIndex);
    virtual int getChargeCurrent(double* _pdValue);
    virtual int getChargedCapacity(double* _pdValue);
    virtual int getCellCount(int* _piCount);
    virtual int getTemperatureCount(int* _piCount);
    virtual int getStatusText(char* _pszText);
    virtual int getStatusCode(int* _piStatus);
    virtual int getPortName(int _iPort, char* _pszText);
    virtual int getPortCount(int* _piCount);
    // Everything the port list knows of a port.
    virtual int getPortInfo(int _iPort, SSerInfo* _pInfo);
    // The port of the list that a saved port name means, or -1.
    virtual int findPort(const QString& _strName);
    virtual void enumeratePorts();
    virtual int getSubtypeName(int _iSubtype, char* _pszText);
    virtual int getSubtypeCount(int* _piCount);
    virtual bool isChargeComplete();
    virtual bool isOpen();
    virtual int linkState();
    // Lines that arrived damaged since the charger was opened.
    virtual int getDamagedLineCount(int* _piCount);
    // The subtype whose cell count the last good line had; 2 when it matches none.
    virtual int getDetectedSubtype(int* _piSubtype);
    // The line speed for the next open() in baud; 0 finds it: the first speed tried is the
    // one given to setFirstLineSpeed(), else the model's own.
    virtual void setLineSpeed(int _iBaud);
    // For a line speed that is found: the speed to try first (one found on this port before);
    // 0 for the model's own.
    virtual void setFirstLineSpeed(int _iBaud);
    // The speed the port is set to now, and a SpeedState.
    virtual int getLineSpeed(int* _piBaud, int* _piState);
    // Why the last opening of the port failed; stays until the next opening.
    virtual int openFailure();
    // The callback is called after every new set of values, possibly on another thread.
    virtual void setCallback(Callback _pfnCallback, void* _pContext);

    // Copies a text into a caller's buffer of kTextBufferSize bytes. A longer text is cut to
    // kTextBufferSize - 1 bytes, never inside a UTF-8 sequence, and always NUL-terminated.
    // A null buffer is ignored.
    static void copyText(char* _pszText, const QByteArray& text);
    static void copyText(char* _pszText, const QString& text);

protected:
    bool m_bOpen = false;
    Callback m_pfnCallback = nullptr;
    void* m_pCallbackContext = nullptr;
};

#endif
