// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_CSVEXPORT_H
#define TARVELO_CSVEXPORT_H

#include "exchange/csvwriter.h"
#include "records/accuentry.h"
#include "records/logentry.h"
#include "records/modelentry.h"
#include "records/statentry.h"

#include <QCoreApplication>
#include <QVector>

class WorkProgress;

// What File > Export writes: the log as its table shows it (the rows in view, in their order,
// with the figures the table works out) and the statistics per model or per pack. Durations
// come in seconds and as h:mm:ss. A file is written under a temporary name and takes its own
// only when complete, so a cancel or a failure leaves whatever was there before.
class CsvExport
{
    Q_DECLARE_TR_FUNCTIONS(CsvExport)

public:
    // The rows to write, taken from the window beforehand, so that the writing may run on
    // another thread.
    struct Log {
        QVector<LogEntry> rows;
        QVector<AccuEntry> accus;
        QVector<ModelEntry> models;
    };
    enum class Stats { Models, Accus };

    // false with *error when it could not be written; false without one when cancelled.
    static bool writeLog(const QString& file, const Log& log, const CsvWriter::Format& format,
                         WorkProgress& progress, QString* error);
    static bool writeStats(const QString& file, Stats kind, const QVector<StatEntry>& rows,
                           const CsvWriter::Format& format, WorkProgress& progress, QString* error);
};

#endif
