// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "exchange/csvexport.h"

#include "records/numberformat.h"
#include "storage/usage.h"
#include "storage/workprogress.h"

#include <QDir>
#include <QHash>
#include <QSaveFile>

#include <functional>

namespace
{
// Rows between two looks at the progress.
constexpr int kStep = 10000;

bool writeFile(const QString& file, const CsvWriter::Format& format, WorkProgress& progress,
               qint64 rows, const std::function<bool(CsvWriter&)>& write, QString* error)
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        *error = CsvExport::tr("%1 cannot be written: %2")
                     .arg(QDir::toNativeSeparators(file), out.errorString());
        return false;
    }
    progress.begin(CsvExport::tr("Writing %1").arg(QDir::toNativeSeparators(file)), rows);
    CsvWriter csv(&out, format);
    if (!write(csv)) {
        out.cancelWriting();
        return false;
    }
    if (!csv.flush() || !out.commit()) {
        *error = CsvExport::tr("%1 cannot be written: %2")
                     .arg(QDir::toNativeSeparators(file), out.errorString());
        return false;
    }
    return true;
}
} // namespace

bool CsvExport::writeLog(const QString& file, const Log& log, const CsvWriter::Format& format,
                         WorkProgress& progress, QString* error)
{
    QHash<int, const AccuEntry*> accus;
    for (const AccuEntry& a : log.accus)
        accus.insert(a.m_iId, &a);
    QHash<int, QString> models;
    for (const ModelEntry& m : log.models)
        models.insert(m.m_iId, m.m_strName);
    return writeFile(
        file, format, progress, log.rows.size(),
        [&](CsvWriter& csv) {
            for (const QString& title :
                 {tr("Date"), tr("Pack"), tr("Model"), tr("Duration (s)"), tr("Duration (h:mm:ss)"),
                  tr("Charged (mAh)"), tr("Rest capacity (%)"), tr("Average current (A)")})
                csv.text(title);
            csv.endRow();
            for (qsizetype i = 0; i < log.rows.size(); ++i) {
                const LogEntry& e = log.rows.at(i);
                const AccuEntry* accu = accus.value(e.m_iAccuId);
                const qint64 seconds = Usage::seconds(e.m_time);
                csv.date(e.m_date);
                csv.text(accu ? accu->m_strDescr : tr("(deleted pack #%1)").arg(e.m_iAccuId));
                const auto model = models.constFind(e.m_iModelId);
                csv.text(model != models.cend() ? *model
                                                : tr("(deleted model #%1)").arg(e.m_iModelId));
                csv.number(seconds);
                csv.duration(seconds);
                csv.number(e.m_iCharged);
                // Empty where the table shows nothing: not charged yet, or the pack is gone;
                // else the whole percent it shows.
                if (e.m_iCharged != 0 && accu)
                    csv.number(NumberFormat::roundedPercent(
                        Usage::exactRestPercent(e.m_iCharged, accu->m_iCapacity)));
                else
                    csv.empty();
                if (Usage::isComplete(e.m_iCharged, seconds))
                    csv.fixed(Usage::currentMilliAmps(e.m_iCharged, seconds), 3);
                else
                    csv.empty();
                csv.endRow();
                if ((i + 1) % kStep == 0 && !progress.reach(i + 1))
                    return false;
            }
            return true;
        },
        error);
}

bool CsvExport::writeStats(const QString& file, Stats kind, const QVector<StatEntry>& rows,
                           const CsvWriter::Format& format, WorkProgress& progress, QString* error)
{
    return writeFile(
        file, format, progress, rows.size(),
        [&](CsvWriter& csv) {
            for (const QString& title :
                 {kind == Stats::Models ? tr("Model") : tr("Pack"), tr("Uses"), tr("Total (s)"),
                  tr("Total (h:mm:ss)"), tr("Average (s)"), tr("Average (h:mm:ss)"),
                  tr("Average current (A)"), tr("Average rest capacity (%)")})
                csv.text(title);
            csv.endRow();
            for (const StatEntry& s : rows) {
                const qint64 average = Usage::seconds(s.m_timeAverage);
                csv.text(s.m_strName);
                csv.number(s.m_iCount);
                csv.number(s.m_iTotalSeconds);
                csv.duration(s.m_iTotalSeconds);
                csv.number(average);
                csv.duration(average);
                csv.fixed(s.m_dAvgCurrent, 3);
                csv.number(NumberFormat::roundedPercent(s.m_dAvgRest));
                csv.endRow();
            }
            return progress.reach(rows.size());
        },
        error);
}
