// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// Feeds arbitrary bytes to the status line decoder, as they come and completed with their
// checksum, so that lines get past the checksum and into the fields. Besides the sanitizers'
// checks: a good line starts like a status line, carries 6, 8 or 10 cells and leaves the cells
// beyond them alone, and the same line with one digit changed is never good.

#include "charger/statusline.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{
void check(const std::string& line)
{
    ChargerValues values;
    for (double& cell : values.m_adCellVoltage)
        cell = -1.0;
    if (StatusLine::decode(line.c_str(), &values) != StatusLine::Verdict::Good)
        return;
    if (std::strncmp(line.c_str(), "$1;", 3) != 0 || !StatusLine::knownCellCount(values.m_iCells))
        std::abort();
    for (int i = values.m_iCells; i < ChargerValues::kMaxCells; ++i) {
        if (values.m_adCellVoltage[i] != -1.0)
            std::abort();
    }
    // A digit damaged on the way changes the checksum; such a line must not be taken.
    const size_t last = line.rfind(';');
    for (size_t i = 0; i < last; ++i) {
        if (line[i] >= '0' && line[i] <= '9') {
            std::string damaged = line;
            damaged[i] = line[i] == '9' ? '0' : static_cast<char>(line[i] + 1);
            ChargerValues ignored;
            if (StatusLine::decode(damaged.c_str(), &ignored) == StatusLine::Verdict::Good)
                std::abort();
            break;
        }
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The reader hands the decoder a NUL-terminated line of at most kMaxLineBytes bytes, but
    // the decoder must not rely on that.
    const std::string line(reinterpret_cast<const char*>(data), size);
    check(line);
    const size_t last = line.rfind(';');
    if (last != std::string::npos) {
        const std::string body = line.substr(0, last + 1);
        check(body + std::to_string(StatusLine::checksum(body)) + "\r\n");
    }
    return 0;
}
