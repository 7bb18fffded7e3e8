// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "storage/logbookcopy.h"

#include "storage/mysqlconnection.h"
#include "storage/sqliteconnection.h"
#include "storage/sqliteschema.h"
#include "storage/sqltable.h"
#include "storage/workprogress.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <climits>

namespace
{
// Parameters to a statement: as many as SQLite before 3.32 took. As many rows as fit make few
// round trips to a server.
constexpr int kMaxParameters = 999;
constexpr int kReadPage = 20000;
// Rows named in a message; the rest are counted.
constexpr int kNamed = 10;

template <class Record> const Record& rowOf(const QVector<Record>& rows, qsizetype i)
{
    return rows[i];
}

template <class Record> const Record& rowOf(const QVector<Record*>& rows, qsizetype i)
{
    return *rows[i];
}

qint64 numberAt(const SqlDriver& d, int column)
{
    if (d.isNull(column))
        return -1;
    const QByteArrayView bytes = d.bytesAt(column);
    return QByteArray(bytes.data(), bytes.size()).toLongLong();
}

const QRegularExpression& schemaStatement()
{
    // Captures the table, and "INDEX" for a statement that only indexes it.
    static const QRegularExpression about(
        QStringLiteral("^CREATE\\s+(?:TABLE|(?:UNIQUE\\s+)?(INDEX)\\s+\\w+\\s+ON)\\s+(\\w+)"),
        QRegularExpression::CaseInsensitiveOption);
    return about;
}

// The schema's statements that make one table: its CREATE TABLE and its indexes.
QList<QByteArray> statementsOf(const QByteArray& schema, const QString& table)
{
    QByteArray code;
    for (const QByteArray& line : schema.split('\n')) {
        if (!line.trimmed().startsWith("--"))
            code += line + '\n';
    }
    QList<QByteArray> out;
    for (const QByteArray& statement : code.split(';')) {
        const QByteArray sql = statement.trimmed();
        if (schemaStatement().match(QString::fromUtf8(sql)).captured(2) == table)
            out << sql;
    }
    return out;
}

// Characters as a server counts them: a character outside the basic plane is one.
qint64 characters(const QString& text)
{
    qint64 n = 0;
    for (const QChar c : text)
        n += !c.isLowSurrogate();
    return n;
}

QString listed(const QStringList& items, int total)
{
    QString out = items.mid(0, kNamed).join(QStringLiteral(", "));
    if (total > kNamed)
        out += QLatin1Char(' ') + LogBookCopy::tr("and %1 more").arg(total - kNamed);
    return out;
}
} // namespace

LogBookCopy::LogBookCopy(std::unique_ptr<SqlBase> source, const QString& file)
    : m_pSource(std::move(source)), m_strFile(file)
{
}

LogBookCopy::LogBookCopy(std::unique_ptr<SqlBase> source, std::unique_ptr<SqlEngine> target)
    : m_pSource(std::move(source)), m_pTarget(std::move(target))
{
}

LogBookCopy::~LogBookCopy() = default;

std::unique_ptr<SqlEngine> LogBookCopy::storeLike(const SqlBase& store)
{
    if (!store.m_strFileName.isEmpty())
        return std::make_unique<SqLiteConnection>(store.m_strFileName);
    return std::make_unique<MysqlConnection>(store.m_strHost, store.m_iPort, store.m_strDatabase,
                                             store.m_strUser, store.m_strPassword);
}

namespace
{
QString rowName(const QString& table, qint64 id)
{
    if (table == QLatin1String(kLogTable.name))
        return LogBookCopy::tr("entry %1").arg(id);
    if (table == QLatin1String(kAccuTable.name))
        return LogBookCopy::tr("pack %1").arg(id);
    return LogBookCopy::tr("model %1").arg(id);
}

QString skippedRows(const SqlBase::Unreadable& gap)
{
    const bool log = gap.table == QLatin1String(kLogTable.name);
    const bool accus = gap.table == QLatin1String(kAccuTable.name);
    if (gap.last < 0)
        return (log     ? LogBookCopy::tr("entries from %1 on")
                : accus ? LogBookCopy::tr("packs from %1 on")
                        : LogBookCopy::tr("models from %1 on"))
            .arg(gap.first);
    if (gap.first == gap.last)
        return rowName(gap.table, gap.first);
    return (log     ? LogBookCopy::tr("entries %1 to %2")
            : accus ? LogBookCopy::tr("packs %1 to %2")
                    : LogBookCopy::tr("models %1 to %2"))
        .arg(gap.first)
        .arg(gap.last);
}
} // namespace

LogBookCopy::Report LogBookCopy::run(WorkProgress& progress)
{
    m_report = Report();
    if (readSource(progress) && openTarget() && prepareTables() && exec("BEGIN")) {
        m_bInTransaction = true;
        // Only quicker with them; as right without.
        for (const QByteArray& sql : m_pDriver->bulkWriteSql())
            tryExec(sql);
        if (copyRows(progress) && verify(progress) && exec("COMMIT")) {
            m_bInTransaction = false;
            if (m_strFile.isEmpty() || finishFile())
                m_report.outcome = Outcome::Copied;
        }
    }
    if (m_report.outcome != Outcome::Copied)
        takeBack();
    m_pSource->disconnectDb();
    return m_report;
}

bool LogBookCopy::copyRows(WorkProgress& progress)
{
    progress.begin(tr("Copying"), qint64(m_report.models) + m_report.accus + m_report.entries);
    m_iDone = 0;
    if (!write(kModelTable, m_pSource->m_models, progress) ||
        !write(kAccuTable, m_pSource->m_accus, progress) ||
        !write(kLogTable, m_pSource->logById(), progress))
        return false;
    progress.begin(tr("Indexing"));
    for (const QByteArray& sql : m_indexes) {
        if (!exec(sql))
            return false;
    }
    return true;
}

bool LogBookCopy::verify(WorkProgress& progress)
{
    const qint64 rows = qint64(m_report.models) + m_report.accus + m_report.entries;
    progress.begin(tr("Comparing"), rows);
    m_iDone = 0;
    QStringList differences;
    if (!compare(kModelTable, m_pSource->m_models, progress, &differences) ||
        !compare(kAccuTable, m_pSource->m_accus, progress, &differences) ||
        !compare(kLogTable, m_pSource->logById(), progress, &differences))
        return false;
    if (differences.isEmpty())
        return true;
    return fail(tr("The copy did not read back the same (%1), so it was not kept.")
                    .arg(listed(differences, int(differences.size()))));
}

bool LogBookCopy::readSource(WorkProgress& progress)
{
    QString error;
    m_pSource->setProgress(&progress);
    const bool opened = m_pSource->openDb(&error);
    m_pSource->setProgress(nullptr);
    if (!opened) {
        if (m_pSource->lastFailure() == SqlBase::Failure::Cancelled)
            m_report.outcome = Outcome::Cancelled;
        else
            fail(tr("The log book could not be read: %1").arg(error));
        return false;
    }
    m_report.models = int(m_pSource->m_models.size());
    m_report.accus = int(m_pSource->m_accus.size());
    m_report.entries = m_pSource->logCount();
    m_report.partial = !m_pSource->damage().isEmpty();
    for (const SqlBase::Unreadable& gap : m_pSource->unreadable())
        m_report.skipped << skippedRows(gap);
    return true;
}

bool LogBookCopy::openTarget()
{
    if (!m_strFile.isEmpty()) {
        const QFileInfo file(m_strFile);
        if (file.exists() || file.isSymLink())
            return refuse(tr("%1 already exists, and Tarvelo never replaces a file. Choose a new "
                             "name.")
                              .arg(QDir::toNativeSeparators(m_strFile)));
        // An empty file is an empty SQLite database; the tables are made below. Made as any
        // new file, so that the copy gets the permissions a log book of the user's has.
        QFile temporary;
        for (int attempt = 0; attempt < 10 && !temporary.isOpen(); ++attempt) {
            temporary.setFileName(
                QStringLiteral("%1/.%2.%3.part")
                    .arg(file.absolutePath(), file.fileName())
                    .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
            temporary.open(QIODevice::WriteOnly | QIODevice::NewOnly);
        }
        if (!temporary.isOpen())
            return fail(
                tr("%1 cannot be written: %2")
                    .arg(QDir::toNativeSeparators(file.absolutePath()), temporary.errorString()));
        temporary.close();
        m_strTemporary = temporary.fileName();
        m_pTarget = std::make_unique<SqLiteConnection>(m_strTemporary);
    }
    m_pDriver = m_pTarget->driver();
    // A server may take minutes to commit a large log book, or to roll it back after a cancel,
    // and only then let the copy drop the tables it made.
    m_pDriver->setPatient(true);
    QString problem;
    if (!m_pDriver->open(*m_pTarget, &problem))
        return fail(tr("The target could not be opened: %1").arg(problem));
    // A new file is a Tarvelo log book as one that New makes, for file managers too.
    if (!m_strFile.isEmpty() && !exec(SqliteSchema::applicationIdSql()))
        return fail(m_pDriver->errorText());
    return true;
}

bool LogBookCopy::readColumns(const char* table, Columns* out)
{
    out->clear();
    if (!m_pDriver->prepare(m_pDriver->tableColumnsSql()))
        return fail(m_pDriver->errorText());
    m_pDriver->bind(QString::fromLatin1(table));
    while (m_pDriver->next()) {
        const QByteArrayView name = m_pDriver->bytesAt(0);
        out->append({SqlBase::decodeStoredText(name.data(), int(name.size())),
                     numberAt(*m_pDriver, 1), numberAt(*m_pDriver, 2)});
    }
    if (m_pDriver->failed())
        return fail(m_pDriver->errorText());
    m_pDriver->finish();
    return true;
}

bool LogBookCopy::prepareTables()
{
    QStringList holding;
    QStringList missing;
    for (const char* table : {kModelTable.name, kAccuTable.name, kLogTable.name}) {
        Columns columns;
        if (!readColumns(table, &columns))
            return false;
        if (columns.isEmpty()) {
            missing << QLatin1String(table);
            continue;
        }
        QStringList names;
        for (const Column& c : columns)
            names << c.name;
        const QString foreign = SqlBase::checkTableColumns(QLatin1String(table), names);
        if (!foreign.isEmpty())
            return refuse(tr("The database holds a table that is not a log book's (%1). Copy into "
                             "an empty database.")
                              .arg(foreign));
        qint64 rows = 0;
        if (!m_pDriver->prepare(QByteArray("SELECT count(*) FROM ") + table))
            return fail(m_pDriver->errorText());
        if (m_pDriver->next())
            rows = numberAt(*m_pDriver, 0);
        if (m_pDriver->failed())
            return fail(m_pDriver->errorText());
        m_pDriver->finish();
        if (rows > 0)
            holding << tr("%1 rows in %2").arg(rows).arg(QLatin1String(table));
        m_columns.insert(QLatin1String(table), columns);
    }
    if (!holding.isEmpty())
        return refuse(tr("The database already holds a log book (%1). Tarvelo copies only into "
                         "a database without rows, so that nothing is mixed or overwritten.")
                          .arg(holding.join(QStringLiteral(", "))));
    for (const QString& table : missing) {
        if (!createTable(table) || !readColumns(table.toLatin1().constData(), &m_columns[table]))
            return false;
    }
    QStringList tooLong;
    checkTexts(kModelTable, m_pSource->m_models, &tooLong);
    checkTexts(kAccuTable, m_pSource->m_accus, &tooLong);
    if (!tooLong.isEmpty())
        return refuse(tr("Texts longer than the database holds (%1). Shorten them and copy "
                         "again; nothing was copied.")
                          .arg(listed(tooLong, int(tooLong.size()))));
    return true;
}

// MariaDB commits every CREATE TABLE at once, so the tables are made before the rows'
// transaction begins; what the copy made is remembered so that it can drop it again. Where an
// index can wait for the transaction, it is made after the rows: sorting them once is much
// quicker than keeping it in order row by row.
bool LogBookCopy::createTable(const QString& table)
{
    const QList<QByteArray> statements = statementsOf(m_pDriver->schemaSql(), table);
    if (statements.isEmpty())
        return fail(QStringLiteral("no statement makes table %1").arg(table));
    for (const QByteArray& sql : statements) {
        const bool index = !schemaStatement().match(QString::fromUtf8(sql)).captured(1).isEmpty();
        if (index && m_pDriver->schemaInTransaction()) {
            m_indexes << sql;
            continue;
        }
        if (!exec(sql))
            return false;
        if (!m_created.contains(table))
            m_created << table;
    }
    return true;
}

template <class Record>
void LogBookCopy::checkTexts(const SqlTable<Record>& table, const QVector<Record>& rows,
                             QStringList* tooLong)
{
    class Fits : public FieldVisitor
    {
    public:
        explicit Fits(const Columns& columns) : m_columns(columns) {}
        void number(const char*, int) override {}
        void date(const char*, const QDate&) override {}
        void time(const char*, const QTime&) override {}
        void text(const char* column, const QString& value) override
        {
            for (const Column& c : m_columns) {
                if (c.name.compare(QLatin1String(column), Qt::CaseInsensitive) != 0)
                    continue;
                const qint64 bytes = value.toUtf8().size();
                if ((c.maxChars >= 0 && characters(value) > c.maxChars) ||
                    (c.maxBytes >= 0 && bytes > c.maxBytes)) {
                    tooLong = bytes;
                    room = c.maxBytes;
                }
            }
        }
        qint64 tooLong = -1;
        qint64 room = -1;

    private:
        const Columns& m_columns;
    };
    const Columns columns = m_columns.value(QLatin1String(table.name));
    for (const Record& row : rows) {
        Fits fits(columns);
        table.fields(fits, row);
        if (fits.tooLong >= 0)
            *tooLong << rowName(QLatin1String(table.name), row.m_iId) + QStringLiteral(": ") +
                            LogBookCopy::tr("%1 bytes where the database holds %2")
                                .arg(fits.tooLong)
                                .arg(fits.room);
    }
}

template <class Record, class Rows>
bool LogBookCopy::write(const SqlTable<Record>& table, const Rows& rows, WorkProgress& progress)
{
    const int batch = kMaxParameters / table.restoreParameters();
    const QByteArray full = table.restoreRowsSql(batch);
    for (qsizetype from = 0; from < rows.size(); from += batch) {
        const int n = int(qMin<qsizetype>(batch, rows.size() - from));
        if (!m_pDriver->prepare(n == batch ? full : table.restoreRowsSql(n)))
            return fail(m_pDriver->errorText());
        for (int i = 0; i < n; ++i) {
            const Record& row = rowOf(rows, from + i);
            m_pDriver->bind(row.m_iId);
            table.bind(*m_pDriver, row);
        }
        if (!m_pDriver->exec())
            return fail(m_pDriver->errorText());
        if (!step(progress, n))
            return false;
    }
    return true;
}

// Both in identifier order: a row missing on one side shows as such.
template <class Record, class Rows>
bool LogBookCopy::compare(const SqlTable<Record>& table, const Rows& rows, WorkProgress& progress,
                          QStringList* differences)
{
    const QString name = QLatin1String(table.name);
    const QByteArray page = table.pageSql(kReadPage);
    qsizetype at = 0;
    for (int after = INT_MIN;;) {
        if (!m_pDriver->prepare(page))
            return fail(m_pDriver->errorText());
        m_pDriver->bind(after);
        int read = 0;
        while (m_pDriver->next()) {
            ++read;
            const Record copied = table.fromRow(nullptr, *m_pDriver);
            after = copied.m_iId;
            for (; at < rows.size() && rowOf(rows, at).m_iId < copied.m_iId; ++at)
                *differences << rowName(name, rowOf(rows, at).m_iId);
            if (at < rows.size() && rowOf(rows, at).m_iId == copied.m_iId) {
                if (table.values(rowOf(rows, at)) != table.values(copied))
                    *differences << rowName(name, copied.m_iId);
                ++at;
            } else {
                *differences << rowName(name, copied.m_iId);
            }
        }
        if (m_pDriver->failed())
            return fail(m_pDriver->errorText());
        m_pDriver->finish();
        if (!step(progress, read))
            return false;
        if (read < kReadPage)
            break;
    }
    for (; at < rows.size(); ++at)
        *differences << rowName(name, rowOf(rows, at).m_iId);
    return true;
}

bool LogBookCopy::step(WorkProgress& progress, qint64 rows)
{
    m_iDone += rows;
    if (progress.reach(m_iDone))
        return true;
    m_report.outcome = Outcome::Cancelled;
    return false;
}

bool LogBookCopy::exec(const QByteArray& sql)
{
    if (m_pDriver->prepare(sql) && m_pDriver->exec())
        return true;
    return fail(m_pDriver->errorText());
}

bool LogBookCopy::tryExec(const QByteArray& sql)
{
    return m_pDriver->prepare(sql) && m_pDriver->exec();
}

bool LogBookCopy::fail(const QString& problem)
{
    m_report.outcome = Outcome::Failed;
    if (m_report.problem.isEmpty())
        m_report.problem = problem;
    return false;
}

bool LogBookCopy::refuse(const QString& problem)
{
    m_report.outcome = Outcome::Refused;
    m_report.problem = problem;
    return false;
}

bool LogBookCopy::finishFile()
{
    m_pDriver->close();
    if (QFile::rename(m_strTemporary, m_strFile)) {
        m_strTemporary.clear();
        return true;
    }
    return fail(
        tr("The copy could not be given its name %1.").arg(QDir::toNativeSeparators(m_strFile)));
}

void LogBookCopy::takeBack()
{
    if (m_pDriver && m_pDriver->isOpen()) {
        if (m_bInTransaction)
            tryExec("ROLLBACK");
        m_bInTransaction = false;
        // A file goes as a whole; in a database only what the copy made. A lost connection
        // has rolled back already, but the tables stay until dropped.
        for (const QString& table : m_created) {
            const QByteArray drop = "DROP TABLE " + table.toLatin1();
            QString problem;
            if (m_strTemporary.isEmpty() && !tryExec(drop) &&
                !(m_pDriver->connectionLost() && m_pDriver->open(*m_pTarget, &problem) &&
                  tryExec(drop)))
                m_report.leftOver << table;
        }
        m_pDriver->close();
    }
    if (!m_strTemporary.isEmpty()) {
        QFile::remove(m_strTemporary);
        QFile::remove(m_strTemporary + QStringLiteral("-journal"));
    }
}

QString LogBookCopy::describe(const Report& report)
{
    if (!report.leftOver.isEmpty())
        return describeOutcome(report) + QStringLiteral("\n\n") +
               tr("The tables the copy made (%1) could not be removed again; remove them by "
                  "hand before copying into that database again.")
                   .arg(report.leftOver.join(QStringLiteral(", ")));
    return describeOutcome(report);
}

QString LogBookCopy::describeOutcome(const Report& report)
{
    switch (report.outcome) {
    case Outcome::Copied: {
        QString text = tr("Copied %1 models, %2 packs and %3 entries; every row was read back "
                          "and found the same.")
                           .arg(report.models)
                           .arg(report.accus)
                           .arg(report.entries);
        if (report.partial)
            text += QStringLiteral("\n\n") +
                    tr("The copy is partial: the log book is damaged, and only the rows that "
                       "could be read were copied. Not read: %1.")
                        .arg(report.skipped.isEmpty()
                                 ? tr("rows the log book could not count")
                                 : listed(report.skipped, int(report.skipped.size())));
        return text;
    }
    case Outcome::Cancelled:
        return tr("The copy was cancelled; nothing of it was kept.");
    default:
        return report.problem;
    }
}
