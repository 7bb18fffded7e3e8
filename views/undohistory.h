// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_UNDOHISTORY_H
#define TARVELO_UNDOHISTORY_H

#include "storage/logbookcommand.h"

#include <QObject>
#include <QUndoStack>

#include <functional>
#include <memory>

class QAction;
class QWidget;
class LogBook;

// The edits of the open log book that can be undone and redone, and the Edit menu's Undo and
// Redo, named after the edit they act on. Every edit of entries, packs and models runs through
// here. An undo or redo that the log book refuses (the record was changed elsewhere, say) is
// reported with its reason and dropped from the history. Another log book, or the same read
// anew, starts an empty history.
class UndoHistory : public QObject
{
    Q_OBJECT

public:
    UndoHistory(LogBook* book, QWidget* window);

    LogBook* book() const { return m_pBook; }
    // Applies the edit and keeps it; false, keeping nothing, when the log book refused it
    // (failureText() says why).
    bool run(std::unique_ptr<LogBookCommand> command);
    QString failureText() const { return m_strFailure; }

    // Undo and Redo act through these actions, whose texts name the edit.
    void attach(QAction* undo, QAction* redo);
    void undo();
    void redo();
    void clear();
    int count() const { return m_stack.count(); }
    // After a change of language.
    void retranslate();
    // Asked before each undo and redo; false holds it back (unsaved edits the user keeps).
    void setGuard(std::function<bool()> mayStep) { m_mayStep = std::move(mayStep); }
    // Unsaved text of an editor, which Undo drops before it undoes anything stored: `draft`
    // names it (empty while there is none), `drop` takes it back.
    void setDraft(std::function<QString()> draft, std::function<void()> drop)
    {
        m_draft = std::move(draft);
        m_dropDraft = std::move(drop);
    }
    // The actions' texts again, after the draft changed.
    void refresh() { updateActions(); }

signals:
    // Around each undo and redo, so that the editor can follow the entries it touches.
    void stepping();
    void stepped();

private:
    void step(bool back);
    void updateActions();
    QString textAt(int index) const;

    LogBook* m_pBook;   // not owned
    QWidget* m_pWindow; // not owned
    QUndoStack m_stack;
    QAction* m_pUndo = nullptr;
    QAction* m_pRedo = nullptr;
    QString m_strFailure;
    bool m_bFailed = false;
    std::function<bool()> m_mayStep;
    std::function<QString()> m_draft;
    std::function<void()> m_dropDraft;
};

#endif
