// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_WORKPROGRESS_H
#define TARVELO_WORKPROGRESS_H

#include <QMutex>
#include <QString>

#include <atomic>
#include <functional>

// How far long work has come, and whether it is to stop: written by the work on its thread,
// read and cancelled from another. The work reports in steps of its own choosing (a page of
// rows, not every row) and stops at the next report after a cancel.
class WorkProgress
{
public:
    struct State {
        QString stage;
        qint64 done = 0;
        qint64 total = 0; // 0: how much is unknown
        bool cancelled = false;
    };

    // The work starts a stage of `total` steps.
    void begin(const QString& stage, qint64 total = 0);
    // The work has done `done` steps of the stage; false once it is to stop.
    bool reach(qint64 done);
    bool isCancelled() const { return m_bCancelled.load(); }

    // Asks the work to stop; it may still finish what it is doing.
    void cancel() { m_bCancelled.store(true); }
    State state() const;

    // Called on the work's thread after every begin() and reach(), outside the lock: lets a
    // caller stop the work at a point of its choosing.
    void setWatcher(std::function<void(const State&)> watcher) { m_watcher = std::move(watcher); }

private:
    void changed();

    mutable QMutex m_mutex;
    State m_state;
    std::atomic<bool> m_bCancelled{false};
    std::function<void(const State&)> m_watcher;
};

#endif
