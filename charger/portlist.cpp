#include "charger/portlist.h"

void PortList::clear()
{
    m_listNames.clear();
    m_listPaths.clear();
}

void PortList::append(const QVector<SSerInfo>& ports)
{
    for (const SSerInfo& info : ports) {
        m_listNames.append(displayName(info.friendlyName));
        m_listPaths.append(info.devicePath);
    }
}

QString PortList::name(int index) const
{
    if (index < 0 || index >= m_listNames.size())
        return QString();
    return m_listNames.at(index);
}

QString PortList::path(int index) const
{
    if (index < 0 || index >= m_listNames.size() || index >= m_listPaths.size())
        return QString();
    return m_listPaths.at(index);
}

QString PortList::displayName(const QString& friendlyName)
{
    QString part = friendlyName.section(QLatin1Char('('), 1, 1);
    part.chop(1);
    return part;
}
