// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_LOGBOOKCOMMAND_H
#define TARVELO_LOGBOOKCOMMAND_H

#include <QString>

class LogBook;

// One edit of the log book as the undo history keeps it: done with apply(), taken back with
// revert(), as often as the user goes back and forth. Every step goes through the log book,
// so the views follow it and the store's compare-on-write guards it: what was changed
// elsewhere in the meantime is not overwritten, and the step fails with the log book's reason.
class LogBookCommand
{
public:
    LogBookCommand() = default;
    LogBookCommand(const LogBookCommand&) = delete;
    LogBookCommand& operator=(const LogBookCommand&) = delete;
    virtual ~LogBookCommand();

    // Whole or not at all: a step that fails halfway takes back what it had done.
    virtual bool apply(LogBook& book) = 0;
    virtual bool revert(LogBook& book) = 0;
    // What the edit does, translated: "Remove entry", "Change pack".
    virtual QString text() const = 0;
    // Why the last apply() or revert() failed, for the user (LogBook::failureText()); empty
    // when the log book named no reason.
    QString failure() const { return m_strFailure; }

protected:
    QString m_strFailure;
};

#endif
