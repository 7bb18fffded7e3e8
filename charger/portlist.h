// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_PORTLIST_H
#define TARVELO_PORTLIST_H

#include "charger/sserinfo.h"

#include <QString>
#include <QVector>

// The charger's list of ports, each with the name it is saved by and the device path to open.
class PortList
{
public:
    void clear();
    void append(const QVector<SSerInfo>& ports);
    int count() const { return static_cast<int>(m_ports.size()); }
    // The name at an index; empty when out of range.
    QString name(int index) const;
    // The device path at an index; empty when out of range.
    QString path(int index) const;
    // The record at an index; null when out of range.
    const SSerInfo* info(int index) const;
    // The first port that a saved name means, or -1.
    int find(const QString& saved) const;

    // The name a port is saved by: the stable name where the system keeps one (the choice
    // survives another USB socket), else the short name, so that a plain serial port without
    // a description is named too.
    static QString nameOf(const SSerInfo& info);
    // Whether a saved name means this port: its name, or any older form of it (the short
    // name or the device path, as earlier versions saved).
    static bool matches(const SSerInfo& info, const QString& saved);
    // The part of a friendly name after its first "(" up to the next "(" or the end, without
    // its last character. "USB Serial Port (COM3)" gives "COM3"; a name without "(" gives an
    // empty text.
    static QString displayName(const QString& friendlyName);

private:
    QVector<SSerInfo> m_ports;
};

#endif
