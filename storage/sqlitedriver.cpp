// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "storage/sqlitedriver.h"

#include "storage/sqlbase.h"

#include "schematexts.h"

#include <QFileInfo>
#include <QSqlError>

#include <sqlite3.h>

#include <cstdio>

SqliteDriver::~SqliteDriver()
{
    close();
}

bool SqliteDriver::open(const SqlBase& store, QString* problem)
{
    const QByteArray name = store.m_strFileName.toUtf8();
    m_strFile = store.m_strFileName;
    std::fprintf(stderr, "connect to: %s \n", name.constData());
    close();
    // No create flag: a missing file is an error, connecting never makes a database.
    if (sqlite3_open_v2(name.constData(), &m_pDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                        nullptr) == SQLITE_OK) {
        sqlite3_busy_timeout(m_pDb, m_iBusyTimeoutMs);
        if (checkLength(name, problem))
            return true;
    } else {
        *problem = QString::fromUtf8(sqlite3_errmsg(m_pDb));
    }
    close();
    return false;
}

// On a connection of its own, which only reads: the log loads meanwhile.
QString SqliteDriver::quickCheck(const QByteArray& name)
{
    sqlite3* db = nullptr;
    sqlite3_stmt* st = nullptr;
    QStringList found;
    int rc =
        sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    // Another program may be writing for a moment.
    sqlite3_busy_timeout(db, 5000);
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(db, "PRAGMA quick_check(3)", -1, &st, nullptr);
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = sqlite3_step(st);
        const auto* text =
            rc == SQLITE_ROW ? reinterpret_cast<const char*>(sqlite3_column_text(st, 0)) : nullptr;
        // The first finding begins with a line that only names the database.
        if (text && qstrcmp(text, "ok") != 0)
            found << QString::fromUtf8(text).remove(QStringLiteral("*** in database main ***\n"));
    }
    if (rc != SQLITE_DONE)
        found << QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return found.join(QStringLiteral("; "));
}

void SqliteDriver::startCheck()
{
    if (m_bCheckAtOpen && m_pDb && !m_check.joinable())
        m_check =
            std::thread([this, name = m_strFile.toUtf8()]() { m_strChecked = quickCheck(name); });
}

QString SqliteDriver::damage()
{
    if (m_check.joinable())
        m_check.join();
    QStringList found{m_strCut, m_strChecked};
    found.removeAll(QString());
    return found.join(QStringLiteral("; "));
}

// A file cut short (a copy that stopped early, a full disk) may still read without an error
// when its lost end held only index pages, and then answers filtered queries wrongly. False
// when the file does not even tell its pages.
bool SqliteDriver::checkLength(const QByteArray& name, QString* problem)
{
    const auto pragma = [this](const char* sql) {
        sqlite3_stmt* st = nullptr;
        qint64 value = -1;
        if (sqlite3_prepare_v2(m_pDb, sql, -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            value = sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);
        return value;
    };
    const qint64 pageSize = pragma("PRAGMA page_size");
    const qint64 pages = pragma("PRAGMA page_count");
    const QString file = QString::fromUtf8(name);
    const qint64 bytes = QFileInfo(file).size();
    if (pageSize <= 0 || pages < 0) {
        *problem = QString::fromUtf8(sqlite3_errmsg(m_pDb));
        return false;
    }
    // In write-ahead mode the newest pages may still live in the log beside the file.
    const bool inLog = QFileInfo::exists(file + QStringLiteral("-wal"));
    if (bytes % pageSize != 0 || (bytes < pages * pageSize && !inLog))
        m_strCut = QStringLiteral("the file is cut short: %1 bytes where %2 pages of %3 bytes "
                                  "belong")
                       .arg(bytes)
                       .arg(pages)
                       .arg(pageSize);
    return true;
}

void SqliteDriver::close()
{
    if (m_check.joinable())
        m_check.join();
    m_strCut.clear();
    m_strChecked.clear();
    finish();
    sqlite3_close(m_pDb);
    m_pDb = nullptr;
}

bool SqliteDriver::fail()
{
    const int code = sqlite3_errcode(m_pDb);
    m_bWriteRefused = code == SQLITE_READONLY || code == SQLITE_PERM || code == SQLITE_CANTOPEN;
    m_bFailed = true;
    m_strError = QString::fromUtf8(sqlite3_errmsg(m_pDb));
    report(m_strError);
    return false;
}

// In the form of the SQL module's error record: driver and database text.
void SqliteDriver::report(const QString& problem) const
{
    const QSqlError error(problem, QString());
    const QString line = QStringLiteral("DriverError: ") + error.driverText() +
                         QStringLiteral("\nDbError: ") + error.databaseText();
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

bool SqliteDriver::prepare(const QByteArray& sql)
{
    finish();
    m_bFailed = false;
    m_bWriteRefused = false;
    m_strError.clear();
    m_iNextParameter = 1;
    if (!m_pDb) {
        m_bFailed = true;
        m_strError = QStringLiteral("not connected");
        return false;
    }
    if (sqlite3_prepare_v2(m_pDb, sql.constData(), int(sql.size()), &m_pStmt, nullptr) !=
        SQLITE_OK) {
        sqlite3_finalize(m_pStmt);
        m_pStmt = nullptr;
        return fail();
    }
    return true;
}

void SqliteDriver::bind(int value)
{
    if (m_pStmt)
        sqlite3_bind_int(m_pStmt, m_iNextParameter, value);
    ++m_iNextParameter;
}

// Texts are stored as UTF-8, without a terminating zero byte.
void SqliteDriver::bind(const QString& text)
{
    if (m_pStmt) {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(m_pStmt, m_iNextParameter, utf8.constData(), int(utf8.size()),
                          SQLITE_TRANSIENT);
    }
    ++m_iNextParameter;
}

void SqliteDriver::bind(const QDate& date)
{
    bind(SqlBase::dateText(date));
}

void SqliteDriver::bind(const QTime& duration)
{
    bind(SqlBase::timeText(duration));
}

bool SqliteDriver::exec()
{
    if (!m_pStmt)
        return false;
    int rc;
    while ((rc = sqlite3_step(m_pStmt)) == SQLITE_ROW) {
    }
    return rc == SQLITE_DONE || fail();
}

bool SqliteDriver::next()
{
    if (!m_pStmt || m_bFailed)
        return false;
    const int rc = sqlite3_step(m_pStmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        fail();
    return false;
}

void SqliteDriver::finish()
{
    sqlite3_finalize(m_pStmt);
    m_pStmt = nullptr;
}

bool SqliteDriver::isNull(int column) const
{
    return sqlite3_column_type(m_pStmt, column) == SQLITE_NULL;
}

int SqliteDriver::intAt(int column) const
{
    return sqlite3_column_int(m_pStmt, column);
}

QByteArrayView SqliteDriver::bytesAt(int column) const
{
    const char* data = reinterpret_cast<const char*>(sqlite3_column_text(m_pStmt, column));
    return QByteArrayView(data, data ? sqlite3_column_bytes(m_pStmt, column) : 0);
}

qint64 SqliteDriver::lastInsertId() const
{
    return sqlite3_last_insert_rowid(m_pDb);
}

qint64 SqliteDriver::rowsMatched() const
{
    return sqlite3_changes(m_pDb);
}

QByteArray SqliteDriver::tableColumnsSql() const
{
    return QByteArrayLiteral("SELECT name,NULL,NULL FROM pragma_table_info(?) ORDER BY cid");
}

QByteArray SqliteDriver::schemaSql() const
{
    return QByteArray(kSqliteSchemaText);
}

// A transaction larger than the page cache spills its pages into the file and reads them back,
// and every statement after the first keeps what it changes in a statement journal, a file
// of its own unless told otherwise.
QList<QByteArray> SqliteDriver::bulkWriteSql() const
{
    return {QByteArrayLiteral("PRAGMA cache_size=-65536"),
            QByteArrayLiteral("PRAGMA temp_store=MEMORY")};
}

// The text cut at its first zero byte, as bytes.
QByteArray SqliteDriver::sameTextSql(const char* column) const
{
    const QByteArray bytes = QByteArray("CAST(coalesce(") + column + ",'') AS BLOB)";
    return "CASE WHEN instr(" + bytes + ",x'00')>0 THEN substr(" + bytes + ",1,instr(" + bytes +
           ",x'00')-1) ELSE " + bytes + " END IN (CAST(? AS BLOB),CAST(? AS BLOB))";
}

// The text as this program writes it, and as older programs wrote it, in one byte per
// character where it fits.
void SqliteDriver::bindSameText(const QString& text)
{
    bind(text);
    bool singleByte = true;
    for (const QChar c : text)
        singleByte = singleByte && c.unicode() < 256;
    if (!singleByte) {
        bind(text);
        return;
    }
    if (m_pStmt) {
        const QByteArray latin1 = text.toLatin1();
        sqlite3_bind_text(m_pStmt, m_iNextParameter, latin1.constData(), int(latin1.size()),
                          SQLITE_TRANSIENT);
    }
    ++m_iNextParameter;
}

// The journal goes beside the file; where it cannot be made, every write fails.
QString SqliteDriver::cannotWrite() const
{
    const QString folder = QFileInfo(m_strFile).absolutePath();
    if (m_pDb && sqlite3_db_readonly(m_pDb, "main") == 1)
        return QStringLiteral("the file cannot be written");
    if (!QFileInfo(folder).isWritable())
        return QStringLiteral("the folder %1 cannot be written").arg(folder);
    return QString();
}
