// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "storage/sqliteschema.h"

#include "schematexts.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

QString SqliteSchema::text()
{
    return QString::fromUtf8(kSqliteSchemaText);
}

QByteArray SqliteSchema::applicationIdSql()
{
    return QByteArrayLiteral("PRAGMA application_id = ") + QByteArray::number(kApplicationId);
}

namespace
{
bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}
} // namespace

bool SqliteSchema::createDatabase(const QString& fileName, QString* error)
{
    if (fileName.isEmpty())
        return fail(error, QStringLiteral("no file name given"));
    const QFileInfo info(fileName);
    if (info.exists() || info.isSymLink())
        return fail(error, QStringLiteral("%1 already exists").arg(fileName));
    {
        // Exclusive creation: a file that appears meanwhile is not ours to fill or remove. An
        // empty file is an empty SQLite database.
        QFile file(fileName);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return fail(error, QStringLiteral("%1: %2").arg(fileName, file.errorString()));
    }

    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(fileName.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    QString message;
    if (rc == SQLITE_OK) {
        const QByteArray script =
            QByteArrayLiteral("BEGIN;\n") + kSqliteSchemaText + QByteArrayLiteral("\nCOMMIT;");
        char* errmsg = nullptr;
        rc = sqlite3_exec(db, script.constData(), nullptr, nullptr, &errmsg);
        if (rc != SQLITE_OK)
            message = QString::fromUtf8(errmsg ? errmsg : sqlite3_errmsg(db));
        sqlite3_free(errmsg);
    } else {
        message = QString::fromUtf8(sqlite3_errmsg(db));
    }
    if (sqlite3_close(db) != SQLITE_OK && rc == SQLITE_OK) {
        rc = SQLITE_ERROR;
        message = QStringLiteral("could not close the new database");
    }
    if (rc != SQLITE_OK) {
        QFile::remove(fileName);
        QFile::remove(fileName + QStringLiteral("-journal"));
        return fail(error, QStringLiteral("%1: %2").arg(fileName, message));
    }
    return true;
}
