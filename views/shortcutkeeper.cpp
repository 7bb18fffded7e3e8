// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "views/shortcutkeeper.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

ShortcutKeeper::ShortcutKeeper(QWidget* window) : QObject(window), m_pWindow(window)
{
    QCoreApplication::instance()->installEventFilter(this);
}

ShortcutKeeper::~ShortcutKeeper()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

void ShortcutKeeper::keepEverywhere(const QKeySequence& key)
{
    m_kept.append({key, true, nullptr});
}

void ShortcutKeeper::keepIn(QWidget* widget, const QKeySequence& key)
{
    m_kept.append({key, false, widget});
}

bool ShortcutKeeper::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType())
        return false;
    auto* target = static_cast<QWidget*>(watched);
    if (target->window() != m_pWindow)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(
        QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
    // Taken here and left unaccepted, the key goes on to the shortcuts.
    for (const Kept& kept : m_kept) {
        if (kept.key == pressed &&
            (kept.everywhere ||
             (kept.within && (target == kept.within || kept.within->isAncestorOf(target)))))
            return true;
    }
    return false;
}
