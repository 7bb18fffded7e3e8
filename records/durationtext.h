// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_DURATIONTEXT_H
#define TARVELO_DURATIONTEXT_H

#include <QString>

// A duration as people type it, read the one way every duration input of the program reads
// it: "4:30" and "1:05:30" (the first field any number of digits, every later one two digits
// below 60), digits alone ("12" minutes; "0430" and "10530" read right-aligned as [h]hmmss),
// and units in English or German ("4m30s", "1 h 10 min", "1 Std 10 Min", "45 Sek"). Nothing is
// guessed: what cannot be read one way only is refused with the reason.
class DurationText
{
public:
    // The store keeps durations as a time of day.
    static constexpr int kMaxSeconds = 24 * 3600 - 1;

    struct Reading {
        bool ok = false;
        int seconds = 0;
        QString reason; // why the text was refused; empty when it was read
    };
    static Reading read(const QString& text);
    // What a reading understood, in words: "4 min 30 s", "1 h 5 min", "0 s".
    static QString spoken(int seconds);
};

#endif
