// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_SQLDRIVER_H
#define TARVELO_SQLDRIVER_H

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QList>
#include <QString>
#include <QTime>

class SqlBase;

// What the store needs of a database client, and nothing more: one statement at a time,
// positional "?" parameters bound in order, rows stepped through and read by column. A driver
// never throws; a failure shows in failed() and errorText() until the next prepare, and the
// driver writes it to the standard error stream in its own format.
class SqlDriver
{
public:
    virtual ~SqlDriver() = default;

    // Opens (or opens anew) the connection that the store's connection fields name; on
    // failure *problem says why.
    virtual bool open(const SqlBase& store, QString* problem) = 0;
    virtual void close() = 0;
    // open() succeeded and close() was not called since; says nothing about a lost link or
    // a failed attempt to open anew.
    virtual bool isOpen() const = 0;
    // Whether the other side still answers.
    virtual bool ping() = 0;

    // Ends the statement before, then starts this one.
    virtual bool prepare(const QByteArray& sql) = 0;
    virtual void bind(int value) = 0;
    virtual void bind(const QString& text) = 0;
    virtual void bind(const QDate& date) = 0;
    virtual void bind(const QTime& duration) = 0;
    // Runs a statement that returns no rows.
    virtual bool exec() = 0;
    // Runs the query at the first call, then moves to the next row; false after the last row
    // and on a failure.
    virtual bool next() = 0;
    // Releases the statement and whatever rows it has not delivered.
    virtual void finish() = 0;

    // The current row.
    virtual bool isNull(int column) const = 0;
    virtual int intAt(int column) const = 0;
    virtual QByteArrayView bytesAt(int column) const = 0;

    virtual qint64 lastInsertId() const = 0;
    // Rows an UPDATE or DELETE matched, changed or not.
    virtual qint64 rowsMatched() const = 0;

    virtual bool failed() const = 0;
    virtual QString errorText() const = 0;
    // The last failure was the link to the server, not the statement.
    virtual bool connectionLost() const = 0;

    // Writes a failure to the standard error stream, in this driver's format.
    virtual void report(const QString& problem) const = 0;

    // A query with one "?" for a table name that lists its columns in order, one per row: the
    // name, then the most characters and the most bytes a text column holds (NULL: no limit
    // worth knowing, or not a text column).
    virtual QByteArray tableColumnsSql() const = 0;
    // The statements that make the three tables of an empty log book, separated by ";".
    virtual QByteArray schemaSql() const = 0;
    // Statements that make a long run of writes on this connection quicker.
    virtual QList<QByteArray> bulkWriteSql() const { return {}; }
    // Whether making a table or an index takes part in the transaction around it (a server
    // commits at once).
    virtual bool schemaInTransaction() const { return false; }
    // From the next open on, waits for answers as long as a statement over a whole log book
    // may take (the commit or rollback of a million rows), rather than the seconds a window
    // can wait.
    virtual void setPatient(bool) {}

    // A condition that the text in `column` reads as the given text (read texts end at their
    // first zero byte; older files hold single-byte texts); its values are bound, after the
    // ones before it, by bindSameText.
    virtual QByteArray sameTextSql(const char* column) const = 0;
    virtual void bindSameText(const QString& text) = 0;
    // The last failure was the database refusing to write here (a read-only file, an account
    // without the right), not a fault of the statement.
    virtual bool writeRefused() const = 0;
    // Why writes cannot succeed on this connection, when the driver can tell without writing;
    // empty otherwise.
    virtual QString cannotWrite() const { return QString(); }
    // Starts a check of the database's structure beside the statements that follow.
    virtual void startCheck() {}
    // What that check found damaged; empty when nothing. Waits for the check to end.
    virtual QString damage() { return QString(); }
    // A check was started and damage() has not taken its finding yet.
    virtual bool isChecking() const { return false; }
};

#endif
