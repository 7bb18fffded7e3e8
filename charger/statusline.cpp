// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "charger/statusline.h"

#include <cctype>
#include <climits>
#include <cstring>

namespace
{
int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

bool isSpace(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// One %i conversion at *pos; advances *pos past it. False when no digit could be read.
bool scanInteger(const char** pos, int* value)
{
    const char* p = *pos;
    while (isSpace(*p))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    int base = 10;
    if (*p == '0') {
        base = 8;
        if ((p[1] == 'x' || p[1] == 'X') && digitValue(p[2]) < 16) {
            base = 16;
            p += 2;
        }
    }
    if (digitValue(*p) >= base)
        return false;
    long long magnitude = 0;
    const long long limit = static_cast<long long>(INT_MAX) + 1;
    for (; digitValue(*p) < base; ++p) {
        if (magnitude <= limit)
            magnitude = magnitude * base + digitValue(*p);
    }
    if (magnitude > limit)
        magnitude = limit;
    if (negative)
        *value = static_cast<int>(-magnitude);
    else
        *value = static_cast<int>(magnitude > INT_MAX ? INT_MAX : magnitude);
    *pos = p;
    return true;
}

// The time field: empty, or seconds with an optional fraction.
bool scanTime(const char** pos)
{
    const char* p = *pos;
    while (*p >= '0' && *p <= '9')
        ++p;
    if (*p == '.' && p > *pos) {
        ++p;
        while (*p >= '0' && *p <= '9')
            ++p;
    }
    *pos = p;
    return true;
}

bool scanChecksum(const char** pos, int* value)
{
    const char* p = *pos;
    int sum = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        sum = sum * 10 + (*p - '0');
        if (sum > 255)
            return false;
    }
    if (p == *pos)
        return false;
    *value = sum;
    *pos = p;
    return true;
}

bool lineEnd(const char* p)
{
    while (*p == '\r' || *p == '\n')
        ++p;
    return *p == '\0';
}
} // namespace

StatusLine::Verdict StatusLine::decode(const char* line, ChargerValues* values)
{
    if (!line || std::strncmp(line, "$1;", 3) != 0)
        return Verdict::Noise;
    if (!values)
        return Verdict::Damaged;
    // status; time; input; clamp; current; cells...; two temperatures; capacity; checksum
    const int maxInts = fieldCount(ChargerValues::kMaxCells) - 2;
    int ints[fieldCount(ChargerValues::kMaxCells)];
    int count = 0;
    const char* p = line + 3;
    if (!scanInteger(&p, &ints[count++]) || *p++ != ';')
        return Verdict::Damaged;
    if (!scanTime(&p) || *p++ != ';')
        return Verdict::Damaged;
    // The last field is the checksum: read integers while a ';' follows one.
    const char* lastSemicolon = p - 1;
    for (;;) {
        const char* field = p;
        int value = 0;
        if (!scanInteger(&p, &value))
            return Verdict::Damaged;
        if (*p != ';') {
            p = field; // this was the checksum
            break;
        }
        if (count == maxInts)
            return Verdict::Damaged;
        ints[count++] = value;
        lastSemicolon = p++;
    }
    int sent = 0;
    if (!scanChecksum(&p, &sent) || !lineEnd(p))
        return Verdict::Damaged;
    const int cells = count - 7; // status, input, clamp, current, two temperatures, capacity
    if (!knownCellCount(cells))
        return Verdict::Damaged;
    unsigned char sum = 0;
    for (const char* c = line; c <= lastSemicolon; ++c)
        sum ^= static_cast<unsigned char>(*c);
    if (sum != sent)
        return Verdict::Damaged;

    values->m_iStatus = ints[0];
    values->m_dInputVoltage = ints[1] / 1000.0;
    values->m_dClampVoltage = ints[2] / 1000.0;
    values->m_dChargeCurrent = ints[3] / 100.0;
    for (int cell = 0; cell < cells; ++cell)
        values->m_adCellVoltage[cell] = ints[4 + cell] / 1000.0;
    values->m_adTemperature[0] = ints[4 + cells] / 10.0;
    values->m_adTemperature[1] = ints[5 + cells] / 10.0;
    values->m_dChargedCapacity = ints[6 + cells];
    values->m_iCells = cells;
    return Verdict::Good;
}

int StatusLine::checksum(const std::string& line)
{
    const auto start = line.find('$');
    const auto end = line.rfind(';');
    if (start == std::string::npos || end == std::string::npos || end < start)
        return 0;
    unsigned char sum = 0;
    for (auto i = start; i <= end; ++i)
        sum ^= static_cast<unsigned char>(line[i]);
    return sum;
}

std::string StatusLine::compose(const std::vector<int>& fields, const std::string& time)
{
    std::string line = "$1;";
    for (size_t i = 0; i < fields.size(); ++i) {
        line += std::to_string(fields[i]);
        line += i == 0 ? ";" + time + ";" : ";";
    }
    if (fields.empty())
        line += ";";
    line += std::to_string(checksum(line));
    line += "\r\n";
    return line;
}
