// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_ENTRYDOUBTS_H
#define TARVELO_ENTRYDOUBTS_H

#include <QDate>
#include <QString>
#include <QVector>

class AccuEntry;
class LogEntry;
class ModelEntry;

// What makes a log entry look mistyped: more charged back than the pack holds, a charge or
// nothing at all after no time of use, a use longer than its kind of model runs, a day still
// to come. Such an entry is never refused (a pilot may know better); the window asks once
// before storing it, an import counts such rows.
class EntryDoubts
{
public:
    enum Kind { OverCharged, NoDuration, TooLong, InFuture };
    struct Doubt {
        Kind kind;
        QString text; // names the figures, for the question
    };

    // Charged back above this share of the capacity is more than the pack can have given.
    static constexpr double kMaxChargedShare = 1.10;
    // The longest use of a model of this type that passes without a question; 0 for no
    // bound (transmitters and receivers run for hours).
    static int maxSeconds(int modelTyp);

    // The doubts about `entry` of the pack and model it names; either may be null when it is
    // not known.
    static QVector<Doubt> of(const LogEntry& entry, const AccuEntry* accu, const ModelEntry* model,
                             const QDate& today);
};

#endif
