// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_RECORDCOMMAND_H
#define TARVELO_RECORDCOMMAND_H

#include "storage/logbookcommand.h"

#include <QVector>

#include <memory>

// Adding, changing or removing records of one kind (log entries, packs or models), several at
// once as one edit. Records keep their identifiers both ways: an undone removal and a redone
// addition put them back under the identifiers they had, with every value.
template <class Record> class RecordCommand : public LogBookCommand
{
public:
    enum class Kind { Add, Change, Remove };

    static std::unique_ptr<RecordCommand> add(const Record& record);
    // `before` as the log book holds it; `after` the values to store over it.
    static std::unique_ptr<RecordCommand> change(const Record& before, const Record& after);
    static std::unique_ptr<RecordCommand> remove(const QVector<Record>& records);

    bool apply(LogBook& book) override;
    bool revert(LogBook& book) override;
    QString text() const override;

    Kind kind() const { return m_kind; }
    // The records as apply() leaves them; added ones carry their identifiers once applied.
    const QVector<Record>& records() const { return m_after; }

private:
    RecordCommand(Kind kind, QVector<Record> before, QVector<Record> after);
    int size() const;
    bool forward(LogBook& book, int i);
    bool backward(LogBook& book, int i);

    Kind m_kind;
    QVector<Record> m_before; // as they were: what revert() puts back
    QVector<Record> m_after;  // as apply() leaves them
    bool m_bAddedOnce = false;
};

#endif
