// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "storage/usage.h"

#include <algorithm>
#include <limits>

qint64 Usage::seconds(const QTime& duration)
{
    if (!duration.isValid())
        return 0;
    return QTime(0, 0).secsTo(duration);
}

qint64 Usage::currentMilliAmps(int charged, qint64 seconds)
{
    if (seconds == 0)
        return 0;
    // Integer arithmetic: the double form 1100 / 3600 * 3600 lands a hair below 1100.
    return qint64(charged) * 3600 / seconds;
}

qint64 Usage::restPercent(int charged, int capacity)
{
    if (capacity == 0)
        return 0;
    return 100 - qint64(charged) * 100 / capacity;
}

double Usage::exactRestPercent(int charged, int capacity)
{
    if (capacity == 0)
        return 0.0;
    return 100.0 - double(charged) * 100.0 / double(capacity);
}

Usage::Use::Use(int charged, qint64 secs, const int* capacity)
    : seconds(secs), complete(isComplete(charged, secs)),
      currentMilliAmps(complete ? Usage::currentMilliAmps(charged, secs) : 0),
      hasRest(complete && capacity && *capacity != 0),
      rest(hasRest ? restPercent(charged, *capacity) : 0),
      exactRest(hasRest ? exactRestPercent(charged, *capacity) : 0.0)
{
}

void Usage::Totals::add(const Use& use)
{
    addTime(use.seconds);
    addFigures(use);
}

void Usage::Totals::addFigures(const Use& use)
{
    if (!use.complete)
        return;
    ++m_iComplete;
    m_iCurrentSum += use.currentMilliAmps;
    if (use.hasRest) {
        ++m_iRests;
        m_iRestSum += use.rest;
        m_dExactRestSum += use.exactRest;
    }
}

void Usage::Totals::addTime(qint64 seconds)
{
    ++m_iCount;
    m_iTotalSeconds += seconds;
    if (seconds > 0)
        ++m_iTimed;
}

void Usage::Totals::addUse(int charged, qint64 seconds, const int* capacity)
{
    addFigures(Use(charged, seconds, capacity));
}

qint64 Usage::Totals::averageSeconds() const
{
    return m_iTimed == 0 ? 0 : m_iTotalSeconds / m_iTimed;
}

double Usage::Totals::avgCurrentAmps() const
{
    if (m_iComplete == 0)
        return 0.0;
    return double(m_iCurrentSum) / m_iComplete / 1000.0;
}

int Usage::Totals::avgRest() const
{
    if (m_iRests == 0)
        return 0;
    const qint64 rest = m_iRestSum / m_iRests;
    return int(
        std::clamp<qint64>(rest, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

double Usage::Totals::avgExactRest() const
{
    return m_iRests == 0 ? 0.0 : m_dExactRestSum / m_iRests;
}
