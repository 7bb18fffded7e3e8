// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_LOGBOOKCOPY_H
#define TARVELO_LOGBOOKCOPY_H

#include <QCoreApplication>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

class SqlBase;
class SqlDriver;
class SqlEngine;
class WorkProgress;
template <class Record> struct SqlTable;

// Copies a whole log book - models, packs and entries with their identifiers - from a store
// into a new SQLite file, or into a database (a server's) whose tables hold no rows and may
// be missing: it makes them. Every row is read back and compared before the copy counts.
// Nothing is left half-written: a file is written under a temporary name and renamed at the
// end; in a database the rows go in one transaction, and on a cancel or a failure that is
// rolled back and the tables the copy made are dropped again.
class LogBookCopy
{
    Q_DECLARE_TR_FUNCTIONS(LogBookCopy)

public:
    enum class Outcome { Copied, Cancelled, Refused, Failed };
    struct Report {
        Outcome outcome = Outcome::Failed;
        int models = 0;
        int accus = 0;
        int entries = 0;
        // The source was damaged: only the rows that could be read were copied.
        bool partial = false;
        // The rows of a damaged source that could not be read, for the user.
        QStringList skipped;
        // Why it was refused or failed, for the user.
        QString problem;
        // Tables the copy made in the target and could not drop again.
        QStringList leftOver;
    };

    // From `source` (not opened yet: the copy reads it on a connection of its own) into a new
    // SQLite file, which must not exist.
    LogBookCopy(std::unique_ptr<SqlBase> source, const QString& file);
    // From `source` into the database of `target`, neither of them opened yet.
    LogBookCopy(std::unique_ptr<SqlBase> source, std::unique_ptr<SqlEngine> target);
    ~LogBookCopy();
    LogBookCopy(const LogBookCopy&) = delete;
    LogBookCopy& operator=(const LogBookCopy&) = delete;

    // Does the copy on the calling thread; progress tells how far it is and may cancel it.
    Report run(WorkProgress& progress);

    // A new store over the database that `store` works on, not opened.
    static std::unique_ptr<SqlEngine> storeLike(const SqlBase& store);
    // The report in one text for the user.
    static QString describe(const Report& report);

private:
    struct Column {
        QString name;
        qint64 maxChars = -1; // -1: no limit
        qint64 maxBytes = -1;
    };
    using Columns = QVector<Column>;

    static QString describeOutcome(const Report& report);
    bool readSource(WorkProgress& progress);
    bool openTarget();
    // Missing tables are made; a foreign table or one with rows refuses the copy, and so do
    // texts longer than the target's columns hold.
    bool prepareTables();
    bool readColumns(const char* table, Columns* out);
    bool createTable(const QString& table);
    template <class Record>
    void checkTexts(const SqlTable<Record>& table, const QVector<Record>& rows,
                    QStringList* tooLong);
    bool copyRows(WorkProgress& progress);
    // Every row read back from the target and compared with the source's.
    bool verify(WorkProgress& progress);
    template <class Record, class Rows>
    bool write(const SqlTable<Record>& table, const Rows& rows, WorkProgress& progress);
    template <class Record, class Rows>
    bool compare(const SqlTable<Record>& table, const Rows& rows, WorkProgress& progress,
                 QStringList* differences);
    // Runs a statement without rows on the target; false (and the copy failed) on an error.
    bool exec(const QByteArray& sql);
    // The same, where a failure changes nothing of the copy.
    bool tryExec(const QByteArray& sql);
    // `rows` more are done; false (and the copy cancelled) when it is to stop.
    bool step(WorkProgress& progress, qint64 rows);
    bool fail(const QString& problem);
    bool refuse(const QString& problem);
    bool finishFile();
    // After a cancel, a refusal or a failure: the target as it was before.
    void takeBack();

    std::unique_ptr<SqlBase> m_pSource;
    std::unique_ptr<SqlEngine> m_pTarget;
    SqlDriver* m_pDriver = nullptr; // the target's
    QString m_strFile;              // the file to make, for a file target
    QString m_strTemporary;         // where it is written until it is complete
    QVector<QString> m_created;     // tables the copy made
    QList<QByteArray> m_indexes;    // made once the rows are in
    QHash<QString, Columns> m_columns;
    bool m_bInTransaction = false;
    qint64 m_iDone = 0;
    Report m_report;
};

#endif
