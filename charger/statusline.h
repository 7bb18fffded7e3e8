// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_STATUSLINE_H
#define TARVELO_STATUSLINE_H

#include "charger/chargervalues.h"

#include <string>
#include <vector>

// The iCharger's status line on the wire: "$1;" then semicolon-separated fields: status, time
// (empty, or seconds), input, clamp, current, one field per cell (6, 8 or 10: the number tells
// the model), two temperatures, capacity and a checksum, e.g.
// "$1;1;;12250;3874;93;0;0;0;0;0;0;0;0;291;236;0;20\r\n". Free of Qt, so that the decoder can
// also be built alone (fuzzing).
class StatusLine
{
public:
    // Longest line the reader gathers; the byte after it is dropped and the line ends. Room for
    // ten cells and a time field.
    static constexpr int kMaxLineBytes = 160;

    enum class Verdict {
        Good,    // decoded; the checksum matches
        Damaged, // starts like a status line but does not hold together: changed on the way
        Noise    // not a status line at all (a line begun before the port was opened, say)
    };

    // Fields on a line from a charger with `cells` cells, the checksum included.
    static int fieldCount(int cells) { return cells + 9; }
    // Whether a charger sends that many cells (6, 8 or 10).
    static bool knownCellCount(int cells) { return cells == 6 || cells == 8 || cells == 10; }

    // Decodes a NUL-terminated line into `values`; only a good line changes them, and only
    // the cells it carries. Integer fields are read like sscanf's %i (a leading 0 makes one
    // octal, 0x hexadecimal); the checksum is decimal. A carriage return and line feed may
    // follow it, nothing else.
    static Verdict decode(const char* line, ChargerValues* values);

    // XOR of all bytes from the '$' up to and including the last ';' (0 without either).
    static int checksum(const std::string& line);

    // A complete line as the charger sends it: "$1;" fields[0] ";" time ";" fields[1] ";" ...
    // ";" checksum "\r\n".
    static std::string compose(const std::vector<int>& fields, const std::string& time = {});
};

#endif
