// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "views/undocommand.h"

UndoCommand::UndoCommand(std::unique_ptr<LogBookCommand> command, LogBook* book, Failed failed)
    : QUndoCommand(command->text()), m_pCommand(std::move(command)), m_pBook(book),
      m_failed(std::move(failed))
{
}

void UndoCommand::undo()
{
    if (m_pCommand->revert(*m_pBook))
        m_bApplied = false;
    else
        fail();
}

void UndoCommand::redo()
{
    if (m_bApplied)
        return;
    if (m_pCommand->apply(*m_pBook))
        m_bApplied = true;
    else
        fail();
}

void UndoCommand::fail()
{
    setObsolete(true);
    if (m_failed)
        m_failed(m_pCommand->failure());
}
