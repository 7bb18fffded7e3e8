// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_USAGE_H
#define TARVELO_USAGE_H

#include <QTime>

// The figures of one use of a pack (one log entry) and their averages over many uses. The log
// table and every store compute them here, so that all of them show the same numbers.
class Usage
{
public:
    // Length of a duration held as a time after midnight; 0 for a null or invalid time.
    static qint64 seconds(const QTime& duration);
    // A use counts in current and rest figures only once something was charged after a timed use.
    static bool isComplete(int charged, qint64 seconds) { return charged != 0 && seconds != 0; }
    // Average current of one use in mA, truncated toward zero; 0 when the use was not timed.
    static qint64 currentMilliAmps(int charged, qint64 seconds);
    // Capacity left after one use, in percent of the nominal capacity, truncated toward zero;
    // 0 when the capacity is unknown (0).
    static qint64 restPercent(int charged, int capacity);
    // The same, not truncated: what is shown, rounded, and what the log is sorted by.
    static double exactRestPercent(int charged, int capacity);

    // The figures of one entry, worked out once for every total it goes into. capacity is
    // the pack's nominal capacity, or null when the pack no longer exists.
    struct Use {
        Use(int charged, qint64 seconds, const int* capacity);
        qint64 seconds;
        bool complete;
        qint64 currentMilliAmps;
        bool hasRest; // a complete use of a pack with a known capacity above 0
        qint64 rest;
        double exactRest;
    };

    // Running figures of the log entries of one model or one pack.
    class Totals
    {
    public:
        // addTime and addUse at once.
        void add(const Use& use);
        // Every entry counts; only entries with a duration above zero are timed uses.
        void addTime(qint64 seconds);
        // One entry for the current and rest figures. capacity is the pack's nominal capacity,
        // or null when the pack no longer exists; a pack of capacity 0 gives no rest figure.
        void addUse(int charged, qint64 seconds, const int* capacity);

        int count() const { return m_iCount; }
        qint64 totalSeconds() const { return m_iTotalSeconds; }
        // Total over the timed uses, truncated to whole seconds; 0 without a timed use.
        qint64 averageSeconds() const;
        // Complete uses seen by addUse.
        int completeUses() const { return m_iComplete; }
        // Mean of the per-use currents (in mA, each truncated), in A; 0 without a complete use.
        double avgCurrentAmps() const;
        // Mean of the rest figures, truncated toward zero; 0 when there was none.
        int avgRest() const;
        // Mean of the exact rest figures; 0 when there was none.
        double avgExactRest() const;

    private:
        void addFigures(const Use& use);

        int m_iCount = 0;
        int m_iTimed = 0;
        qint64 m_iTotalSeconds = 0;
        int m_iComplete = 0;
        qint64 m_iCurrentSum = 0;
        int m_iRests = 0;
        qint64 m_iRestSum = 0;
        double m_dExactRestSum = 0.0;
    };
};

#endif
