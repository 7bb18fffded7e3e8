// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "storage/mysqlconnection.h"

#include "storage/mysqldriver.h"

MysqlConnection::MysqlConnection(QString host, int port, QString database, QString user,
                                 QString password)
    : SqlEngine(std::make_unique<MysqlDriver>(), std::move(host), port, std::move(database),
                std::move(user), std::move(password))
{
    m_pMysqlDriver = static_cast<MysqlDriver*>(driver());
}

unsigned long MysqlConnection::threadId() const
{
    try {
        return m_pMysqlDriver->m_connection.thread_id();
    } catch (const std::exception&) {
        return 0;
    }
}
