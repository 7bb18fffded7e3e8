// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "storage/sqliteconnection.h"

#include "storage/sqlitedriver.h"

SqLiteConnection::SqLiteConnection(QString fileName)
    : SqlEngine(std::make_unique<SqliteDriver>(), std::move(fileName))
{
    m_pSqliteDriver = static_cast<SqliteDriver*>(driver());
}

QString SqLiteConnection::lastErrorText() const
{
    return QStringLiteral("SqLiteError: ") + SqlEngine::lastErrorText();
}

void SqLiteConnection::setBusyTimeout(int milliseconds)
{
    m_pSqliteDriver->setBusyTimeout(milliseconds);
}

void SqLiteConnection::setCheckAtOpen(bool check)
{
    m_pSqliteDriver->setCheckAtOpen(check);
}

sqlite3* SqLiteConnection::handle() const
{
    return m_pSqliteDriver->handle();
}
