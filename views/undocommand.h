// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_UNDOCOMMAND_H
#define TARVELO_UNDOCOMMAND_H

#include "storage/logbookcommand.h"

#include <QUndoCommand>

#include <functional>
#include <memory>

class LogBook;

// A log book edit on the undo stack. Undo and redo go through the edit; one the log book
// refuses (changed elsewhere, the server gone) marks itself obsolete, so that the stack drops
// it rather than pretend it was done, and reports why.
class UndoCommand : public QUndoCommand
{
public:
    using Failed = std::function<void(const QString& why)>;

    // The edit was applied already: the stack's first redo() has nothing to do.
    UndoCommand(std::unique_ptr<LogBookCommand> command, LogBook* book, Failed failed);

    void undo() override;
    void redo() override;

    const LogBookCommand& command() const { return *m_pCommand; }

private:
    void fail();

    std::unique_ptr<LogBookCommand> m_pCommand;
    LogBook* m_pBook; // not owned
    Failed m_failed;
    bool m_bApplied = true;
};

#endif
