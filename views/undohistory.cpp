// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "views/undohistory.h"

#include "storage/logbook.h"
#include "views/messagebox.h"
#include "views/undocommand.h"

#include <QAction>
#include <QWidget>

UndoHistory::UndoHistory(LogBook* book, QWidget* window)
    : QObject(window), m_pBook(book), m_pWindow(window)
{
    // Identifiers and values of another log book, or of one read anew, mean nothing here.
    connect(book, &LogBook::storeReplaced, this, &UndoHistory::clear);
    connect(book, &LogBook::reloaded, this, &UndoHistory::clear);
    connect(&m_stack, &QUndoStack::indexChanged, this, &UndoHistory::updateActions);
}

bool UndoHistory::run(std::unique_ptr<LogBookCommand> command)
{
    m_strFailure.clear();
    if (!command->apply(*m_pBook)) {
        m_strFailure = command->failure();
        return false;
    }
    m_stack.push(new UndoCommand(std::move(command), m_pBook, [this](const QString& why) {
        m_bFailed = true;
        m_strFailure = why;
    }));
    return true;
}

void UndoHistory::attach(QAction* undo, QAction* redo)
{
    m_pUndo = undo;
    m_pRedo = redo;
    connect(undo, &QAction::triggered, this, &UndoHistory::undo);
    connect(redo, &QAction::triggered, this, &UndoHistory::redo);
    updateActions();
}

void UndoHistory::undo()
{
    if (m_draft && !m_draft().isEmpty()) {
        m_dropDraft();
        updateActions();
        return;
    }
    step(true);
}

void UndoHistory::redo()
{
    step(false);
}

void UndoHistory::clear()
{
    m_stack.clear();
    updateActions();
}

void UndoHistory::step(bool back)
{
    if (back ? !m_stack.canUndo() : !m_stack.canRedo())
        return;
    if (m_mayStep && !m_mayStep())
        return;
    const QString what = textAt(back ? m_stack.index() - 1 : m_stack.index());
    m_bFailed = false;
    m_strFailure.clear();
    emit stepping();
    if (back)
        m_stack.undo();
    else
        m_stack.redo();
    updateActions();
    emit stepped();
    if (!m_bFailed)
        return;
    const QString text =
        back ? tr("\"%1\" could not be undone.") : tr("\"%1\" could not be redone.");
    QString message = text.arg(what);
    if (!m_strFailure.isEmpty())
        message += QLatin1Char('\n') + m_strFailure;
    message += QLatin1Char('\n') + tr("It is no longer in the history.");
    MessageBox::warning(m_pWindow, back ? tr("Undo refused") : tr("Redo refused"), message);
}

QString UndoHistory::textAt(int index) const
{
    const auto* command = static_cast<const UndoCommand*>(m_stack.command(index));
    return command ? command->command().text() : QString();
}

void UndoHistory::updateActions()
{
    if (!m_pUndo || !m_pRedo)
        return;
    const QString draft = m_draft ? m_draft() : QString();
    const bool canUndo = m_stack.canUndo();
    const bool canRedo = m_stack.canRedo();
    m_pUndo->setEnabled(canUndo || !draft.isEmpty());
    m_pRedo->setEnabled(canRedo);
    if (!draft.isEmpty())
        m_pUndo->setText(tr("&Undo %1").arg(draft));
    else
        m_pUndo->setText(canUndo ? tr("&Undo %1").arg(textAt(m_stack.index() - 1)) : tr("&Undo"));
    m_pRedo->setText(canRedo ? tr("&Redo %1").arg(textAt(m_stack.index())) : tr("&Redo"));
}

void UndoHistory::retranslate()
{
    updateActions();
}
