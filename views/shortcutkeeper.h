// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_SHORTCUTKEEPER_H
#define TARVELO_SHORTCUTKEEPER_H

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

// Keeps keys of a window's own for its actions where a text field would take them: a line edit
// claims Ctrl+E (the end of the line on X11) and Ctrl+Z (its own text's undo) before any
// shortcut sees them. Watches the whole application, acting only on key presses inside its
// window.
class ShortcutKeeper : public QObject
{
    Q_OBJECT

public:
    explicit ShortcutKeeper(QWidget* window);
    ~ShortcutKeeper() override;

    // `key` goes to the window's shortcut wherever in the window the focus is.
    void keepEverywhere(const QKeySequence& key);
    // ... while the focus is in `widget` or one of its children.
    void keepIn(QWidget* widget, const QKeySequence& key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_pWindow; // not owned
    struct Kept {
        QKeySequence key;
        bool everywhere;
        QPointer<QWidget> within;
    };
    QList<Kept> m_kept;
};

#endif
