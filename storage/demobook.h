// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_DEMOBOOK_H
#define TARVELO_DEMOBOOK_H

#include <QDate>
#include <QString>

// A sample log book for a first look: a handful of packs and models, a flying day or two a
// week over the half year before `today`, the last days' packs not yet charged. The same day
// gives the same book.
class DemoBook
{
public:
    // Creates `file` anew; refuses an existing one, and leaves nothing behind on failure.
    static bool create(const QString& file, const QDate& today, QString* error);
};

#endif
