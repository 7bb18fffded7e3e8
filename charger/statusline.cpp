#include "charger/statusline.h"

#include <cctype>
#include <climits>
#include <cstdio>

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

bool matchLiteral(const char** pos, const char* literal)
{
    const char* p = *pos;
    for (; *literal; ++literal, ++p) {
        if (*p != *literal)
            return false;
    }
    *pos = p;
    return true;
}
} // namespace

int StatusLine::scan(const char* line, int* fields, int count)
{
    if (!line || !fields)
        return 0;
    const char* p = line;
    if (!matchLiteral(&p, "$1;"))
        return 0;
    for (int i = 0; i < count; ++i) {
        if (i == 1 && !matchLiteral(&p, ";;"))
            return i;
        if (i > 1 && !matchLiteral(&p, ";"))
            return i;
        if (!scanInteger(&p, &fields[i]))
            return i;
    }
    return count;
}

bool StatusLine::decode(const char* line, int cells, ChargerValues* values)
{
    if (!values || cells < 1 || cells > ChargerValues::kMaxCells)
        return false;
    const int count = fieldCount(cells);
    int fields[ChargerValues::kMaxCells + 8];
    if (scan(line, fields, count) != count)
        return false;
    values->m_iStatus = fields[0];
    values->m_dInputVoltage = fields[1] / 1000.0;
    values->m_dClampVoltage = fields[2] / 1000.0;
    values->m_dChargeCurrent = fields[3] / 100.0;
    for (int cell = 0; cell < cells; ++cell)
        values->m_adCellVoltage[cell] = fields[4 + cell] / 1000.0;
    values->m_adTemperature[0] = fields[4 + cells] / 10.0;
    values->m_adTemperature[1] = fields[5 + cells] / 10.0;
    values->m_dChargedCapacity = fields[6 + cells];
    return true;
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

std::string StatusLine::compose(const std::vector<int>& fields)
{
    std::string line = "$1;";
    for (size_t i = 0; i < fields.size(); ++i) {
        line += std::to_string(fields[i]);
        line += i == 0 ? ";;" : ";";
    }
    if (fields.empty())
        line += ";";
    line += std::to_string(checksum(line));
    line += "\r\n";
    return line;
}
