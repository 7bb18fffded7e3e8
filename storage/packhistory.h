// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_PACKHISTORY_H
#define TARVELO_PACKHISTORY_H

#include <QDate>
#include <QString>
#include <QVector>

class LogBook;

// The life of one pack, read from the log: every use with its figures, its cycles, when and
// in what it flew, uses per month, and how fast its rest capacity falls. Worked out anew from
// the log book each time; nothing is kept.
class PackHistory
{
public:
    // One complete use (something charged after a timed use). number counts every entry of
    // the pack in the log's order, from 1, so it matches the cycle count.
    struct Use {
        int number = 0;
        int entryId = -1;
        QDate date;
        int charged = 0;      // mAh
        bool hasRest = false; // the pack has a known capacity
        int rest = 0;         // percent of the nominal capacity
    };
    struct Model {
        int id = -1;
        QString name; // empty when the model no longer exists
        int uses = 0; // entries, complete or not
    };
    // Entries of one month, by model in the order of models().
    struct Month {
        QDate first; // the first day of the month
        QVector<int> uses;
    };
    // A least-squares line through rest capacity over use number.
    struct Trend {
        bool valid = false; // two uses with a rest figure at least
        int points = 0;
        double slope = 0.0; // percent per use
        double intercept = 0.0;
        int fromNumber = 0; // the use numbers the line spans
        int toNumber = 0;
        double at(double number) const { return intercept + slope * number; }
        double per100Uses() const { return slope * 100.0; }
    };
    // How far a pack is through the cycles its chemistry is good for.
    enum class Wear { Fine, Near, Reached };

    // The history of the pack with that identifier; empty when the log book has none of it.
    static PackHistory of(const LogBook& book, int accuId);
    // Near from 80 % of the limit on, Reached from 100 %; Fine without a limit.
    static Wear wear(int cycles, int limit);

    int accuId() const { return m_iAccuId; }
    const QVector<Use>& uses() const { return m_uses; }
    // Every entry of the pack, complete or not.
    int cycles() const { return m_iCycles; }
    QDate firstUse() const { return m_firstUse; }
    QDate lastUse() const { return m_lastUse; }
    qint64 totalSeconds() const { return m_iTotalSeconds; }
    // Mean of the per-use currents of the complete uses, in A.
    double avgCurrentAmps() const { return m_dAvgCurrent; }
    // The models it flew in, the one flown most first.
    const QVector<Model>& models() const { return m_models; }
    // From the month of the first use to that of the last, months without a use included.
    const QVector<Month>& months() const { return m_months; }
    // The line through the last `lastN` uses that have a rest figure (all of them for 0).
    Trend trend(int lastN) const;

private:
    int m_iAccuId = -1;
    QVector<Use> m_uses;
    int m_iCycles = 0;
    QDate m_firstUse;
    QDate m_lastUse;
    qint64 m_iTotalSeconds = 0;
    double m_dAvgCurrent = 0.0;
    QVector<Model> m_models;
    QVector<Month> m_months;
};

#endif
