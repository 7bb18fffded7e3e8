// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "charger/portlist.h"

void PortList::clear()
{
    m_ports.clear();
}

void PortList::append(const QVector<SSerInfo>& ports)
{
    m_ports += ports;
}

const SSerInfo* PortList::info(int index) const
{
    if (index < 0 || index >= m_ports.size())
        return nullptr;
    return &m_ports.at(index);
}

QString PortList::name(int index) const
{
    const SSerInfo* port = info(index);
    return port ? nameOf(*port) : QString();
}

QString PortList::path(int index) const
{
    const SSerInfo* port = info(index);
    return port ? port->devicePath : QString();
}

int PortList::find(const QString& saved) const
{
    if (saved.isEmpty())
        return -1;
    for (int i = 0; i < count(); ++i) {
        if (matches(m_ports.at(i), saved))
            return i;
    }
    return -1;
}

QString PortList::nameOf(const SSerInfo& info)
{
    for (const QString& name :
         {info.stableName, info.portName, displayName(info.friendlyName), info.friendlyName}) {
        if (!name.isEmpty())
            return name;
    }
    return info.devicePath;
}

bool PortList::matches(const SSerInfo& info, const QString& saved)
{
    return !saved.isEmpty() && (saved == nameOf(info) || saved == info.portName ||
                                saved == info.devicePath || saved == info.stableName);
}

QString PortList::displayName(const QString& friendlyName)
{
    QString part = friendlyName.section(QLatin1Char('('), 1, 1);
    part.chop(1);
    return part;
}
