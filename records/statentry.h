// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_STATENTRY_H
#define TARVELO_STATENTRY_H

#include "records/entrybase.h"

#include <QString>
#include <QTime>

// Usage figures of one model or one pack, whose identifier is the record's. Computed, never
// stored: the three storage operations refuse.
class StatEntry : public EntryBase
{
public:
    bool addEntry() override { return false; }
    bool changeEntry() override { return false; }
    bool deleteEntry() override { return false; }

    // "hh:mm:ss" with as many hour digits as needed, so 97390 s reads "27:03:10".
    static QString formatDuration(qint64 seconds);

    const QString& name() const { return m_strName; }
    void setName(const QString& v) { m_strName = v; }
    int count() const { return m_iCount; }
    void setCount(int v) { m_iCount = v; }
    QTime timeTotal() const { return m_timeTotal; }
    void setTimeTotal(const QTime& v)
    {
        m_timeTotal = v;
        m_iTotalSeconds = v.isValid() ? QTime(0, 0).secsTo(v) : 0;
    }
    // Totals can exceed a day; the seconds are the true figure, m_timeTotal wraps at midnight.
    qint64 totalSeconds() const { return m_iTotalSeconds; }
    void setTotalSeconds(qint64 s)
    {
        m_iTotalSeconds = s;
        m_timeTotal = QTime(0, 0).addSecs(static_cast<int>(s % 86400));
    }
    QString totalText() const { return formatDuration(m_iTotalSeconds); }
    QTime timeAverage() const { return m_timeAverage; }
    void setTimeAverage(const QTime& v) { m_timeAverage = v; }
    double avgCurrent() const { return m_dAvgCurrent; }
    void setAvgCurrent(double v) { m_dAvgCurrent = v; }
    int avgRest() const { return m_iAvgRest; }
    void setAvgRest(int v) { m_iAvgRest = v; }

    QString m_strName;
    int m_iCount = 0;
    QTime m_timeTotal;
    QTime m_timeAverage;
    double m_dAvgCurrent = 0.0; // A
    int m_iAvgRest = 0;         // percent of the nominal capacity, truncated
    double m_dAvgRest = 0.0;    // the same, exact: what is shown, rounded
    qint64 m_iTotalSeconds = 0;
};

// Statistics of one model; the name is the model's name.
class ModelStatEntry : public StatEntry
{
};

// Statistics of one pack; the name is the pack's description. The wear figures are the
// pack's whole life, whatever the filter the others were collected with.
class AccuStatEntry : public StatEntry
{
public:
    int m_iTyp = 0;        // chemistry, as stored
    int m_iCycles = 0;     // every entry of the pack
    int m_iCycleLimit = 0; // for its chemistry; 0: none
};

#endif
