// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "exchange/csvwriter.h"

#include <QIODevice>

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace
{
// Gathered rows go to the device in pieces of about this size.
constexpr qsizetype kFlushAt = 1 << 20;
} // namespace

CsvWriter::Format CsvWriter::german(bool byteOrderMark)
{
    return Format{';', ',', byteOrderMark};
}

CsvWriter::Format CsvWriter::standard(bool byteOrderMark)
{
    return Format{',', '.', byteOrderMark};
}

CsvWriter::CsvWriter(QIODevice* device, const Format& format) : m_pDevice(device), m_format(format)
{
    m_buffer.reserve(kFlushAt + 4096);
    if (format.byteOrderMark)
        m_buffer += "\xEF\xBB\xBF";
}

CsvWriter::~CsvWriter() = default;

void CsvWriter::separate()
{
    if (!m_bFirstField)
        m_buffer += m_format.separator;
    m_bFirstField = false;
}

void CsvWriter::text(const QString& value)
{
    separate();
    const QByteArray utf8 = value.toUtf8();
    const bool formula = !utf8.isEmpty() && QByteArrayView("=+-@\t\r").contains(utf8.front());
    bool quote = false;
    for (const char c : utf8)
        quote = quote || c == m_format.separator || c == '"' || c == '\n' || c == '\r';
    if (quote)
        m_buffer += '"';
    if (formula)
        m_buffer += '\'';
    if (!quote) {
        m_buffer += utf8;
        return;
    }
    for (const char c : utf8) {
        if (c == '"')
            m_buffer += '"';
        m_buffer += c;
    }
    m_buffer += '"';
}

// Digits straight into the gathered bytes: a million rows make millions of numbers.
void CsvWriter::digits(qint64 value, int width)
{
    char text[24];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    for (int pad = width - int(end - text); pad > 0; --pad)
        m_buffer += '0';
    m_buffer.append(text, end - text);
}

void CsvWriter::number(qint64 value)
{
    separate();
    digits(value);
}

void CsvWriter::fixed(qint64 scaled, int decimals)
{
    qint64 unit = 1;
    for (int i = 0; i < decimals; ++i)
        unit *= 10;
    separate();
    if (scaled < 0)
        m_buffer += '-';
    digits(std::llabs(scaled / unit));
    if (decimals > 0) {
        m_buffer += m_format.decimalPoint;
        digits(std::llabs(scaled % unit), decimals);
    }
}

void CsvWriter::fixed(double value, int decimals)
{
    double unit = 1.0;
    for (int i = 0; i < decimals; ++i)
        unit *= 10.0;
    fixed(qint64(std::llround(value * unit)), decimals);
}

void CsvWriter::duration(qint64 seconds)
{
    const qint64 s = std::llabs(seconds);
    separate();
    if (seconds < 0)
        m_buffer += '-';
    digits(s / 3600);
    m_buffer += ':';
    digits(s / 60 % 60, 2);
    m_buffer += ':';
    digits(s % 60, 2);
}

void CsvWriter::date(const QDate& value)
{
    separate();
    if (!value.isValid())
        return;
    if (value.year() < 0 || value.year() > 9999) {
        m_buffer += value.toString(Qt::ISODate).toLatin1();
        return;
    }
    digits(value.year(), 4);
    m_buffer += '-';
    digits(value.month(), 2);
    m_buffer += '-';
    digits(value.day(), 2);
}

void CsvWriter::empty()
{
    separate();
}

void CsvWriter::endRow()
{
    m_buffer += "\r\n";
    m_bFirstField = true;
    if (m_buffer.size() >= kFlushAt)
        flush();
}

bool CsvWriter::flush()
{
    if (!m_bFailed && !m_buffer.isEmpty())
        m_bFailed = m_pDevice->write(m_buffer) != m_buffer.size();
    m_buffer.clear();
    return !m_bFailed;
}
