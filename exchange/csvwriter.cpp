#include "exchange/csvwriter.h"

#include <QIODevice>

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

CsvWriter::CsvWriter(QIODevice* device, const Format& format)
    : m_pDevice(device), m_format(format)
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

void CsvWriter::plain(const QByteArray& value)
{
    separate();
    m_buffer += value;
}

void CsvWriter::text(const QString& value)
{
    separate();
    QByteArray utf8 = value.toUtf8();
    if (!utf8.isEmpty() && QByteArrayView("=+-@\t\r").contains(utf8.front()))
        utf8.prepend('\'');
    const bool quote = utf8.contains(m_format.separator) || utf8.contains('"') ||
                       utf8.contains('\n') || utf8.contains('\r');
    if (!quote) {
        m_buffer += utf8;
        return;
    }
    m_buffer += '"';
    m_buffer += utf8.replace('"', "\"\"");
    m_buffer += '"';
}

void CsvWriter::number(qint64 value)
{
    plain(QByteArray::number(value));
}

void CsvWriter::fixed(qint64 scaled, int decimals)
{
    qint64 unit = 1;
    for (int i = 0; i < decimals; ++i)
        unit *= 10;
    const qint64 whole = std::llabs(scaled / unit);
    QByteArray out = scaled < 0 ? "-" : "";
    out += QByteArray::number(whole);
    if (decimals > 0) {
        out += m_format.decimalPoint;
        out += QByteArray::number(std::llabs(scaled % unit)).rightJustified(decimals, '0');
    }
    plain(out);
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
    plain((seconds < 0 ? QByteArray("-") : QByteArray()) + QByteArray::number(s / 3600) + ':' +
          QByteArray::number(s / 60 % 60).rightJustified(2, '0') + ':' +
          QByteArray::number(s % 60).rightJustified(2, '0'));
}

void CsvWriter::date(const QDate& value)
{
    plain(value.isValid() ? value.toString(Qt::ISODate).toLatin1() : QByteArray());
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
