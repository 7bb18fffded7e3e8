#ifndef TARVELO_STATUSLINE_H
#define TARVELO_STATUSLINE_H

#include "charger/chargervalues.h"

#include <string>
#include <vector>

// The iCharger's status line on the wire: "$1;" then semicolon-separated integers with one
// empty field after the first, e.g. "$1;1;;12000;16800;250;...;1234;99\r\n". Free of Qt, so
// that the decoder can also be built alone (fuzzing).
class StatusLine
{
public:
    // Longest line the reader gathers; the byte after it is dropped and the line ends.
    static constexpr int kMaxLineBytes = 101;

    // Integers on a line for a charger with `cells` cells: status, input, clamp, current, the
    // cells, two temperatures, capacity and one trailing integer.
    static int fieldCount(int cells) { return cells + 8; }

    // Scans a NUL-terminated line like sscanf with "$1;%i;;%i;...;%i\n" (`count` conversions):
    // a %i field skips leading white space, takes a sign, and is octal after a leading 0 and
    // hexadecimal after 0x; the literal characters must match exactly. Returns the number of
    // fields converted before the first mismatch. Values beyond int are clamped.
    static int scan(const char* line, int* fields, int count);

    // Decodes a line for a charger with `cells` cells (1 to ChargerValues::kMaxCells) into
    // `values`. A line with fewer fields than fieldCount(cells) is rejected and `values` is
    // left as it was; further fields are ignored. Cells beyond `cells` are not touched.
    static bool decode(const char* line, int cells, ChargerValues* values);

    // XOR of all bytes from the '$' up to and including the last ';' (0 without either).
    static int checksum(const std::string& line);

    // A complete line as the charger sends it: "$1;" fields[0] ";;" fields[1] ";" ... ";"
    // checksum "\r\n".
    static std::string compose(const std::vector<int>& fields);
};

#endif
