// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_CSVWRITER_H
#define TARVELO_CSVWRITER_H

#include <QByteArray>
#include <QDate>
#include <QString>

class QIODevice;

// Comma-separated values after RFC 4180: UTF-8, a field in quotes when it holds the separator,
// a quote or a line break, quotes doubled, CRLF after every row. Numbers are written the same
// whatever the system's language: a point (or the format's decimal comma) and no grouping.
// A text that a spreadsheet would run as a formula (=, +, -, @, tab or CR first) gets an
// apostrophe in front.
class CsvWriter
{
public:
    struct Format {
        char separator = ',';
        char decimalPoint = '.';
        bool byteOrderMark = false; // some spreadsheet programs take UTF-8 only with it
    };
    // A semicolon between fields and a decimal comma, as German spreadsheets read them.
    static Format german(bool byteOrderMark);
    static Format standard(bool byteOrderMark);

    CsvWriter(QIODevice* device, const Format& format);
    ~CsvWriter();
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;

    void text(const QString& value);
    void number(qint64 value);
    // scaled / 10^decimals, with exactly `decimals` digits after the point: 1234, 3 -> 1.234.
    void fixed(qint64 scaled, int decimals);
    // Rounded to `decimals` digits after the point.
    void fixed(double value, int decimals);
    // "h:mm:ss", as many hour digits as needed.
    void duration(qint64 seconds);
    // "yyyy-MM-dd"; an invalid date is an empty field.
    void date(const QDate& value);
    void empty();
    void endRow();
    // Hands what is gathered to the device; false once the device refused a write.
    bool flush();

private:
    void separate();
    // At least `width` digits, zeros in front.
    void digits(qint64 value, int width = 0);

    QIODevice* m_pDevice; // not owned
    Format m_format;
    QByteArray m_buffer;
    bool m_bFirstField = true;
    bool m_bFailed = false;
};

#endif
