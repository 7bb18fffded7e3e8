// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "storage/recordcommand.h"

#include "records/accuentry.h"
#include "records/logentry.h"
#include "records/modelentry.h"
#include "storage/logbook.h"

#include <QCoreApplication>

namespace
{
// The log book's writes for one kind of record.
template <class Record> struct Writes {
    int (LogBook::*add)(Record);
    bool (LogBook::*change)(int, Record);
    bool (LogBook::*remove)(int);
    bool (LogBook::*restore)(Record);
};

template <class Record> Writes<Record> writes();

template <> Writes<LogEntry> writes()
{
    return {&LogBook::addEntry, &LogBook::changeEntry, &LogBook::removeEntry,
            &LogBook::restoreEntry};
}

template <> Writes<AccuEntry> writes()
{
    return {&LogBook::addAccu, &LogBook::changeAccu, &LogBook::removeAccu, &LogBook::restoreAccu};
}

template <> Writes<ModelEntry> writes()
{
    return {&LogBook::addModel, &LogBook::changeModel, &LogBook::removeModel,
            &LogBook::restoreModel};
}

template <class Record> QString describe(typename RecordCommand<Record>::Kind kind, int n);

template <> QString describe<LogEntry>(RecordCommand<LogEntry>::Kind kind, int n)
{
    using Kind = RecordCommand<LogEntry>::Kind;
    if (kind == Kind::Add)
        return QCoreApplication::translate("LogBookCommand", "Add entry");
    if (kind == Kind::Change)
        return QCoreApplication::translate("LogBookCommand", "Change entry");
    if (n == 1)
        return QCoreApplication::translate("LogBookCommand", "Remove entry");
    return QCoreApplication::translate("LogBookCommand", "Remove %n entries", nullptr, n);
}

template <> QString describe<AccuEntry>(RecordCommand<AccuEntry>::Kind kind, int)
{
    using Kind = RecordCommand<AccuEntry>::Kind;
    if (kind == Kind::Add)
        return QCoreApplication::translate("LogBookCommand", "Add pack");
    if (kind == Kind::Change)
        return QCoreApplication::translate("LogBookCommand", "Change pack");
    return QCoreApplication::translate("LogBookCommand", "Remove pack");
}

template <> QString describe<ModelEntry>(RecordCommand<ModelEntry>::Kind kind, int)
{
    using Kind = RecordCommand<ModelEntry>::Kind;
    if (kind == Kind::Add)
        return QCoreApplication::translate("LogBookCommand", "Add model");
    if (kind == Kind::Change)
        return QCoreApplication::translate("LogBookCommand", "Change model");
    return QCoreApplication::translate("LogBookCommand", "Remove model");
}
} // namespace

template <class Record>
RecordCommand<Record>::RecordCommand(Kind kind, QVector<Record> before, QVector<Record> after)
    : m_kind(kind), m_before(std::move(before)), m_after(std::move(after))
{
}

template <class Record>
std::unique_ptr<RecordCommand<Record>> RecordCommand<Record>::add(const Record& record)
{
    Record added = record;
    added.m_iId = -1;
    return std::unique_ptr<RecordCommand>(new RecordCommand(Kind::Add, {}, {added}));
}

template <class Record>
std::unique_ptr<RecordCommand<Record>> RecordCommand<Record>::change(const Record& before,
                                                                     const Record& after)
{
    Record changed = after;
    changed.m_iId = before.m_iId;
    return std::unique_ptr<RecordCommand>(new RecordCommand(Kind::Change, {before}, {changed}));
}

template <class Record>
std::unique_ptr<RecordCommand<Record>> RecordCommand<Record>::remove(const QVector<Record>& records)
{
    return std::unique_ptr<RecordCommand>(new RecordCommand(Kind::Remove, records, {}));
}

template <class Record> int RecordCommand<Record>::size() const
{
    return int(m_kind == Kind::Remove ? m_before.size() : m_after.size());
}

template <class Record> bool RecordCommand<Record>::forward(LogBook& book, int i)
{
    const Writes<Record> w = writes<Record>();
    switch (m_kind) {
    case Kind::Add:
        if (m_bAddedOnce)
            return (book.*w.restore)(m_after[i]);
        m_after[i].m_iId = (book.*w.add)(m_after[i]);
        return m_after[i].m_iId >= 0;
    case Kind::Change:
        return (book.*w.change)(m_after[i].m_iId, m_after[i]);
    case Kind::Remove:
        return (book.*w.remove)(m_before[i].m_iId);
    }
    return false;
}

template <class Record> bool RecordCommand<Record>::backward(LogBook& book, int i)
{
    const Writes<Record> w = writes<Record>();
    switch (m_kind) {
    case Kind::Add:
        return (book.*w.remove)(m_after[i].m_iId);
    case Kind::Change:
        return (book.*w.change)(m_before[i].m_iId, m_before[i]);
    case Kind::Remove:
        return (book.*w.restore)(m_before[i]);
    }
    return false;
}

template <class Record> bool RecordCommand<Record>::apply(LogBook& book)
{
    m_strFailure.clear();
    for (int i = 0; i < size(); ++i) {
        if (!forward(book, i)) {
            // The log book's reason for the failure is what the user reads; the steps taken
            // back must not replace it.
            const QString why = book.failureText();
            while (--i >= 0)
                backward(book, i);
            m_strFailure = why;
            return false;
        }
    }
    m_bAddedOnce = true;
    return true;
}

template <class Record> bool RecordCommand<Record>::revert(LogBook& book)
{
    m_strFailure.clear();
    for (int i = size() - 1; i >= 0; --i) {
        if (!backward(book, i)) {
            const QString why = book.failureText();
            while (++i < size())
                forward(book, i);
            m_strFailure = why;
            return false;
        }
    }
    return true;
}

template <class Record> QString RecordCommand<Record>::text() const
{
    return describe<Record>(m_kind, size());
}

template class RecordCommand<LogEntry>;
template class RecordCommand<AccuEntry>;
template class RecordCommand<ModelEntry>;
