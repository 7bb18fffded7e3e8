#ifndef TARVELO_PORTLIST_H
#define TARVELO_PORTLIST_H

#include "charger/sserinfo.h"

#include <QStringList>
#include <QVector>

// The charger's list of ports: short display names and the device paths to open, in the same
// order.
class PortList
{
public:
    void clear();
    // Appends one entry per record: the display name taken from the friendly name and the
    // device path.
    void append(const QVector<SSerInfo>& ports);
    int count() const { return static_cast<int>(m_listNames.size()); }
    // The display name at an index; empty when out of range.
    QString name(int index) const;
    // The device path at an index; empty when out of range.
    QString path(int index) const;

    // The display name of a friendly name: the part after its first "(" up to the next "("
    // or the end, without its last character. "USB Serial Port (COM3)" gives "COM3"; a name
    // without "(" gives an empty text.
    static QString displayName(const QString& friendlyName);

    QStringList m_listNames;
    QStringList m_listPaths;
};

#endif
