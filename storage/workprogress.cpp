// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "storage/workprogress.h"

void WorkProgress::begin(const QString& stage, qint64 total)
{
    {
        const QMutexLocker lock(&m_mutex);
        m_state.stage = stage;
        m_state.done = 0;
        m_state.total = total;
    }
    changed();
}

bool WorkProgress::reach(qint64 done)
{
    {
        const QMutexLocker lock(&m_mutex);
        m_state.done = done;
    }
    changed();
    return !isCancelled();
}

WorkProgress::State WorkProgress::state() const
{
    const QMutexLocker lock(&m_mutex);
    State out = m_state;
    out.cancelled = isCancelled();
    return out;
}

void WorkProgress::changed()
{
    if (m_watcher)
        m_watcher(state());
}
