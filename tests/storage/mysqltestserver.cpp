// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "mysqltestserver.h"

#include <QFile>
#include <QtGlobal>

#include <cstdio>

MysqlTestServer::MysqlTestServer()
{
    const char* names[] = {"TARVELO_MYSQL_HOST", "TARVELO_MYSQL_PORT", "TARVELO_MYSQL_DB",
                           "TARVELO_MYSQL_USER", "TARVELO_MYSQL_PASSWORD"};
    QStringList missing;
    for (const char* name : names) {
        if (!qEnvironmentVariableIsSet(name))
            missing << QLatin1String(name);
    }
    if (!missing.isEmpty()) {
        m_strMissing = QStringLiteral("no MariaDB server given (%1 not set); "
                                      "run the tests through scripts/with-mariadb or scripts/test")
                           .arg(missing.join(QStringLiteral(", ")));
        return;
    }
    m_strHost = qEnvironmentVariable("TARVELO_MYSQL_HOST");
    m_iPort = qEnvironmentVariableIntValue("TARVELO_MYSQL_PORT");
    m_strDatabase = qEnvironmentVariable("TARVELO_MYSQL_DB");
    m_strUser = qEnvironmentVariable("TARVELO_MYSQL_USER");
    m_strPassword = qEnvironmentVariable("TARVELO_MYSQL_PASSWORD");
    m_pAdmin = std::make_unique<mysqlpp::Connection>(true);
    try {
        m_pAdmin->set_option(new mysqlpp::SetCharsetNameOption("utf8mb4"));
        m_pAdmin->set_option(new mysqlpp::MultiStatementsOption(true));
        m_pAdmin->connect(m_strDatabase.toUtf8().constData(), m_strHost.toUtf8().constData(),
                          m_strUser.toUtf8().constData(), m_strPassword.toUtf8().constData(),
                          static_cast<unsigned int>(m_iPort));
    } catch (const std::exception& e) {
        m_strMissing = QStringLiteral("the MariaDB server given does not answer: %1").arg(e.what());
    }
}

MysqlTestServer::~MysqlTestServer() = default;

int MysqlTestServer::reportMissing() const
{
    std::fprintf(stderr, "%s\n", qPrintable(m_strMissing));
    return qEnvironmentVariableIsSet("TARVELO_MYSQL_REQUIRED") ? 1 : 77;
}

bool MysqlTestServer::use(const QString& database)
{
    if (!m_pAdmin)
        return false;
    try {
        return m_pAdmin->select_db(database.toStdString());
    } catch (const std::exception& e) {
        qWarning("test server: use %s: %s", qPrintable(database), e.what());
        return false;
    }
}

bool MysqlTestServer::exec(const QString& database, const QString& sql)
{
    if (!use(database))
        return false;
    try {
        mysqlpp::Query query = m_pAdmin->query(sql.toStdString());
        query.exec();
        // Statements after the first come as further results; each must be taken.
        while (query.more_results())
            query.store_next();
        return true;
    } catch (const std::exception& e) {
        qWarning("test server: %s: %s", qPrintable(sql.left(200)), e.what());
        return false;
    }
}

QStringList MysqlTestServer::firstRow(const QString& database, const QString& sql)
{
    QStringList values;
    if (!use(database))
        return values;
    try {
        mysqlpp::Query query = m_pAdmin->query(sql.toStdString());
        const mysqlpp::StoreQueryResult result = query.store();
        if (!result.empty()) {
            for (size_t i = 0; i < result[0].size(); ++i) {
                const mysqlpp::String& v = result[0][i];
                values << (v.is_null() ? QStringLiteral("NULL")
                                       : QString::fromUtf8(v.data(), int(v.length())));
            }
        }
    } catch (const std::exception& e) {
        qWarning("test server: %s: %s", qPrintable(sql), e.what());
    }
    return values;
}

QString MysqlTestServer::createDatabase(const QString& suffix, bool withTables)
{
    const QString name = m_strDatabase + QLatin1Char('_') + suffix;
    QString sql = QStringLiteral("DROP DATABASE IF EXISTS `%1`; CREATE DATABASE `%1` CHARACTER "
                                 "SET utf8mb4 COLLATE utf8mb4_bin;")
                      .arg(name);
    if (!exec(m_strDatabase, sql))
        return QString();
    if (withTables) {
        QFile schema(QStringLiteral(TARVELO_SOURCE_DIR "/schema/mysql.sql"));
        if (!schema.open(QIODevice::ReadOnly) || !exec(name, QString::fromUtf8(schema.readAll()))) {
            qWarning("test server: could not load %s", qPrintable(schema.fileName()));
            return QString();
        }
    }
    return name;
}

bool MysqlTestServer::dropDatabase(const QString& name)
{
    return exec(m_strDatabase, QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
}

bool MysqlTestServer::clearTables(const QString& database)
{
    return exec(database,
                QStringLiteral("DELETE FROM logList; DELETE FROM accus; DELETE FROM modelList;"));
}

MysqlConnection* MysqlTestServer::newStore(const QString& database) const
{
    return new MysqlConnection(m_strHost, m_iPort, database, m_strUser, m_strPassword);
}
