// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "records/entrydoubts.h"

#include "records/accuentry.h"
#include "records/logentry.h"
#include "records/modelentry.h"
#include "records/numberformat.h"

#include <QCoreApplication>

namespace
{
QString tr(const char* text)
{
    return QCoreApplication::translate("EntryDoubts", text);
}
} // namespace

int EntryDoubts::maxSeconds(int modelTyp)
{
    // Planes, helicopters, cars and boats: no pack lasts two hours in them.
    return modelTyp >= 0 && modelTyp <= 3 ? 2 * 3600 : 0;
}

QVector<EntryDoubts::Doubt> EntryDoubts::of(const LogEntry& entry, const AccuEntry* accu,
                                            const ModelEntry* model, const QDate& today)
{
    QVector<Doubt> doubts;
    const int seconds = entry.m_time.isValid() ? QTime(0, 0).secsTo(entry.m_time) : 0;
    if (accu && accu->m_iCapacity > 0 && entry.m_iCharged > kMaxChargedShare * accu->m_iCapacity) {
        doubts.append(
            {OverCharged,
             tr("%1 charged into %2 of %3: %4 of its capacity.")
                 .arg(NumberFormat::milliAmpHours(entry.m_iCharged), accu->m_strDescr,
                      NumberFormat::milliAmpHours(accu->m_iCapacity),
                      NumberFormat::percent(100.0 * entry.m_iCharged / accu->m_iCapacity))});
    }
    if (seconds == 0) {
        doubts.append(
            {NoDuration,
             entry.m_iCharged > 0
                 ? tr("%1 charged after a use of %2.")
                       .arg(NumberFormat::milliAmpHours(entry.m_iCharged),
                            NumberFormat::duration(0))
                 : tr("A use of %1 with nothing charged.").arg(NumberFormat::duration(0))});
    }
    const int bound = model ? maxSeconds(model->m_iTyp) : 0;
    if (bound > 0 && seconds > bound) {
        doubts.append(
            {TooLong, tr("A use of %1 in %2 (%3): longer than %4.")
                          .arg(NumberFormat::duration(seconds), model->m_strName,
                               ModelEntry::typText(model->m_iTyp), NumberFormat::duration(bound))});
    }
    if (entry.m_date.isValid() && entry.m_date > today) {
        doubts.append(
            {InFuture, tr("The date %1 is after today, %2.")
                           .arg(NumberFormat::date(entry.m_date), NumberFormat::date(today))});
    }
    return doubts;
}
