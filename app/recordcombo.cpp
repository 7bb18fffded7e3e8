// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "app/recordcombo.h"

#include "storage/logbook.h"

#include <QComboBox>
#include <QDateEdit>
#include <QSignalBlocker>

namespace RecordCombo
{
Items accuItems(const LogBook& book)
{
    Items items;
    for (const AccuEntry& accu : book.accus())
        items.append({accu.toString(), accu.m_iId});
    return items;
}

Items modelItems(const LogBook& book)
{
    Items items;
    for (const ModelEntry& model : book.models())
        items.append({model.toString(), model.m_iId});
    return items;
}

void refill(QComboBox* combo, const Items& items)
{
    const int before = currentId(combo);
    {
        // Clearing and the first item would each announce a choice on their own.
        const QSignalBlocker blocker(combo);
        combo->clear();
        for (const auto& item : items)
            combo->addItem(item.first, item.second);
        // A choice whose record has gone is not silently replaced by another record.
        if (before >= 0)
            combo->setCurrentIndex(combo->findData(before));
    }
    if (currentId(combo) != before)
        emit combo->currentIndexChanged(combo->currentIndex());
}

int currentId(const QComboBox* combo)
{
    const QVariant data = combo->currentData();
    return data.isValid() ? data.toInt() : -1;
}

void choose(QComboBox* combo, int id)
{
    combo->setCurrentIndex(combo->findData(id));
}

void showLoggedDays(QDateEdit* start, QDateEdit* end, const LogBook& book)
{
    const QSignalBlocker startBlocker(start), endBlocker(end);
    const QDate today = QDate::currentDate();
    const QDate first = book.firstDate();
    start->setDate(first.isValid() && first < today ? first : today);
    end->setDate(today);
}
} // namespace RecordCombo
