// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "storage/mysqldriver.h"

#include "storage/sqlbase.h"

#include "schematexts.h"

#include <errmsg.h>

#include <charconv>
#include <cstdio>

namespace
{
// Texts travel as UTF-8 on a utf8mb4 connection.
mysqlpp::SQLTypeAdapter text(const QString& value)
{
    return mysqlpp::SQLTypeAdapter(value.toStdString());
}

// The statement's text around each "?"; quoted texts are left alone.
std::vector<std::string> piecesOf(const QByteArray& sql)
{
    std::vector<std::string> pieces(1);
    bool quoted = false;
    for (const char c : sql) {
        if (c == '\'')
            quoted = !quoted;
        if (c == '?' && !quoted)
            pieces.emplace_back();
        else
            pieces.back() += c;
    }
    return pieces;
}
} // namespace

MysqlDriver::MysqlDriver()
    : m_connection(true), m_pQuery(std::make_unique<mysqlpp::Query>(&m_connection, true))
{
}

MysqlDriver::~MysqlDriver()
{
    close();
    m_pQuery.reset();
}

// Options last only for one connection, so each attempt sets them anew. Found rows: an
// update answers with the rows it matched, so saving unchanged values is a success.
bool MysqlDriver::open(const SqlBase& store, QString* problem)
{
    const QByteArray database = store.m_strDatabase.toUtf8();
    const QByteArray host = store.m_strHost.toUtf8();
    const QByteArray user = store.m_strUser.toUtf8();
    const QByteArray password = store.m_strPassword.toUtf8();
    std::fprintf(stderr, "connect to: %s : %d db: %s, user: %s\n", host.constData(), store.m_iPort,
                 database.constData(), user.constData());
    // A failed attempt to open anew leaves isOpen() as it was: the store keeps trying.
    finish();
    m_connection.disconnect();
    try {
        m_connection.set_option(new mysqlpp::FoundRowsOption(true));
        m_connection.set_option(new mysqlpp::SetCharsetNameOption("utf8mb4"));
        m_connection.set_option(new mysqlpp::ConnectTimeoutOption(kConnectTimeoutSeconds));
        const int timeout = m_bPatient ? kPatientTimeoutSeconds : kReadTimeoutSeconds;
        m_connection.set_option(new mysqlpp::ReadTimeoutOption(timeout));
        m_connection.set_option(new mysqlpp::WriteTimeoutOption(timeout));
        if (m_connection.connect(database.constData(), host.constData(), user.constData(),
                                 password.constData(), static_cast<unsigned int>(store.m_iPort))) {
            m_bOpen = true;
            return true;
        }
        *problem = QString::fromUtf8(m_connection.error());
    } catch (const std::exception& e) {
        *problem = QString::fromUtf8(e.what());
    }
    if (problem->isEmpty())
        *problem = QStringLiteral("connection refused");
    m_connection.disconnect();
    return false;
}

void MysqlDriver::close()
{
    finish();
    m_connection.disconnect();
    m_bOpen = false;
}

bool MysqlDriver::ping()
{
    try {
        return m_connection.ping();
    } catch (const std::exception&) {
        return false;
    }
}

bool MysqlDriver::fail(const char* text, int errnum)
{
    m_bFailed = true;
    m_iErrnum = errnum;
    m_strError = QString::fromUtf8(text);
    report(m_strError);
    return false;
}

void MysqlDriver::report(const QString& problem) const
{
    std::fprintf(stderr, "MysqlError: %s\n", problem.toUtf8().constData());
}

bool MysqlDriver::run(const std::function<void()>& work)
{
    try {
        work();
        return true;
    } catch (const mysqlpp::BadQuery& e) {
        return fail(e.what(), e.errnum());
    } catch (const std::exception& e) {
        return fail(e.what(), 0);
    }
}

bool MysqlDriver::connectionLost() const
{
    return m_iErrnum == CR_SERVER_GONE_ERROR || m_iErrnum == CR_SERVER_LOST ||
           m_iErrnum == 1927; // ER_CONNECTION_KILLED, sent by MariaDB to a killed connection
}

bool MysqlDriver::prepare(const QByteArray& sql)
{
    finish();
    m_bFailed = false;
    m_iErrnum = 0;
    m_strError.clear();
    m_values.clear();
    m_bStarted = false;
    m_pieces = piecesOf(sql);
    return true;
}

// Each value quoted and escaped by MySQL++ for the connection, as its template queries do; a
// template numbers at most a hundred values, a copy's statements carry more.
void MysqlDriver::compose()
{
    m_pQuery->reset();
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        *m_pQuery << m_pieces[i];
        if (i + 1 < m_pieces.size())
            *m_pQuery << mysqlpp::quote << m_values.at(i);
    }
}

void MysqlDriver::bind(int value)
{
    m_values.emplace_back(value);
}

void MysqlDriver::bind(const QString& value)
{
    m_values.push_back(text(value));
}

// Strict servers refuse an empty date; the zero date reads back as no date, as an empty
// text does in the file store.
void MysqlDriver::bind(const QDate& date)
{
    m_values.push_back(
        text(date.isValid() ? SqlBase::dateText(date) : QStringLiteral("0000-00-00")));
}

void MysqlDriver::bind(const QTime& duration)
{
    m_values.push_back(
        text(duration.isValid() ? SqlBase::timeText(duration) : QStringLiteral("00:00:00")));
}

bool MysqlDriver::exec()
{
    if (m_bFailed)
        return false;
    return run([&]() {
        compose();
        const mysqlpp::SimpleResult result = m_pQuery->execute();
        m_iRows = qint64(result.rows());
        m_iInsertId = qint64(result.insert_id());
    });
}

// A connection lost on the way ends the rows early without an exception; the client's error
// number tells it from the end of the rows.
bool MysqlDriver::next()
{
    if (m_bFailed)
        return false;
    bool more = false;
    run([&]() {
        if (!m_bStarted) {
            m_bStarted = true;
            compose();
            m_pResult = std::make_unique<mysqlpp::UseQueryResult>(m_pQuery->use());
        }
        m_row = m_pResult->fetch_raw_row();
        if (m_row) {
            m_pLengths = m_pResult->fetch_lengths();
            more = true;
        } else if (const int errnum = m_connection.errnum()) {
            throw mysqlpp::BadQuery(m_connection.error(), errnum);
        }
    });
    return more;
}

void MysqlDriver::finish()
{
    m_row = nullptr;
    m_pLengths = nullptr;
    try {
        m_pResult.reset();
    } catch (const std::exception&) {
    }
}

bool MysqlDriver::isNull(int column) const
{
    return m_row[column] == nullptr;
}

int MysqlDriver::intAt(int column) const
{
    int out = 0;
    if (const char* value = m_row[column])
        std::from_chars(value, value + m_pLengths[column], out);
    return out;
}

QByteArrayView MysqlDriver::bytesAt(int column) const
{
    return QByteArrayView(m_row[column], m_row[column] ? qsizetype(m_pLengths[column]) : 0);
}

QByteArray MysqlDriver::tableColumnsSql() const
{
    return QByteArrayLiteral("SELECT column_name,character_maximum_length,character_octet_length "
                             "FROM information_schema.columns WHERE table_schema=DATABASE() AND "
                             "table_name=? ORDER BY ordinal_position");
}

QByteArray MysqlDriver::schemaSql() const
{
    return QByteArray(kMysqlSchemaText);
}

// Byte for byte: the column's collation ignores trailing spaces.
QByteArray MysqlDriver::sameTextSql(const char* column) const
{
    return QByteArray("CAST(CONVERT(") + column + " USING utf8mb4) AS BINARY)=CAST(? AS BINARY)";
}

bool MysqlDriver::writeRefused() const
{
    // ER_DBACCESS_DENIED_ERROR, ER_TABLEACCESS_DENIED_ERROR, ER_OPTION_PREVENTS_STATEMENT
    return m_iErrnum == 1044 || m_iErrnum == 1142 || m_iErrnum == 1290;
}
