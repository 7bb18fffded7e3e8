// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "storage/packhistory.h"

#include "storage/logbook.h"
#include "storage/usage.h"

#include <QHash>
#include <QMap>

#include <algorithm>
#include <numeric>

namespace
{
int monthKey(const QDate& date)
{
    return date.year() * 12 + date.month() - 1;
}

QDate monthOf(int key)
{
    return QDate(key / 12, key % 12 + 1, 1);
}
} // namespace

PackHistory PackHistory::of(const LogBook& book, int accuId)
{
    PackHistory h;
    h.m_iAccuId = accuId;
    AccuEntry accu;
    const bool known = book.accu(accuId, &accu);
    const int* capacity = known ? &accu.m_iCapacity : nullptr;

    Usage::Totals totals;
    QHash<int, int> modelIndex; // model id -> place in first-seen order
    QVector<Model> seen;
    QMap<int, QVector<int>> byMonth; // by first-seen model place
    const int n = book.count();
    for (int row = 0; row < n; ++row) {
        const LogEntry* e = book.entryAt(row);
        if (e->m_iAccuId != accuId)
            continue;
        ++h.m_iCycles;
        if (!h.m_firstUse.isValid())
            h.m_firstUse = e->m_date;
        h.m_lastUse = e->m_date;

        const Usage::Use use(e->m_iCharged, Usage::seconds(e->m_time), capacity);
        totals.add(use);
        if (use.complete) {
            Use u;
            u.number = h.m_iCycles;
            u.entryId = e->m_iId;
            u.date = e->m_date;
            u.charged = e->m_iCharged;
            u.hasRest = use.hasRest;
            u.rest = int(use.rest);
            h.m_uses.append(u);
        }

        auto place = modelIndex.constFind(e->m_iModelId);
        if (place == modelIndex.constEnd()) {
            place = modelIndex.insert(e->m_iModelId, int(seen.size()));
            Model m;
            m.id = e->m_iModelId;
            ModelEntry model;
            if (book.model(m.id, &model))
                m.name = model.m_strName;
            seen.append(m);
        }
        ++seen[*place].uses;
        // A date that does not parse belongs to no month.
        if (e->m_date.isValid()) {
            QVector<int>& month = byMonth[monthKey(e->m_date)];
            month.resize(seen.size());
            ++month[*place];
        }
    }
    h.m_iTotalSeconds = totals.totalSeconds();
    h.m_dAvgCurrent = totals.avgCurrentAmps();

    // The model flown most first; among equals the one flown first.
    QVector<int> order(seen.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&seen](int a, int b) { return seen[a].uses > seen[b].uses; });
    for (int i : order)
        h.m_models.append(seen[i]);

    if (!byMonth.isEmpty()) {
        const int last = byMonth.lastKey();
        for (int key = byMonth.firstKey(); key <= last; ++key) {
            Month month;
            month.first = monthOf(key);
            month.uses.fill(0, seen.size());
            const QVector<int> counts = byMonth.value(key);
            for (int i = 0; i < order.size(); ++i)
                month.uses[i] = counts.value(order[i]);
            h.m_months.append(month);
        }
    }
    return h;
}

PackHistory::Wear PackHistory::wear(int cycles, int limit)
{
    if (limit <= 0)
        return Wear::Fine;
    // In whole numbers: 80 % of 299 is no round figure.
    const qint64 c = cycles, l = limit;
    if (c >= l)
        return Wear::Reached;
    if (c * 5 >= l * 4)
        return Wear::Near;
    return Wear::Fine;
}

PackHistory::Trend PackHistory::trend(int lastN) const
{
    QVector<const Use*> points;
    for (auto u = m_uses.crbegin(); u != m_uses.crend(); ++u) {
        if (lastN > 0 && points.size() == lastN)
            break;
        if (u->hasRest)
            points.append(&*u);
    }
    std::reverse(points.begin(), points.end());
    Trend t;
    t.points = int(points.size());
    if (points.size() < 2)
        return t;
    // Around the means, so that large use numbers lose no precision.
    double mx = 0.0, my = 0.0;
    for (const Use* p : points) {
        mx += p->number;
        my += p->rest;
    }
    mx /= points.size();
    my /= points.size();
    double sxy = 0.0, sxx = 0.0;
    for (const Use* p : points) {
        sxy += (p->number - mx) * (p->rest - my);
        sxx += (p->number - mx) * (p->number - mx);
    }
    t.valid = true;
    t.slope = sxy / sxx;
    t.intercept = my - t.slope * mx;
    t.fromNumber = points.first()->number;
    t.toNumber = points.last()->number;
    return t;
}
