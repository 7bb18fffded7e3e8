// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_MYSQLCONNECTION_H
#define TARVELO_MYSQLCONNECTION_H

#include "storage/sqlengine.h"

class MysqlDriver;

// The store on a MySQL or MariaDB server, through MySQL++. No exception leaves it; a failed
// operation answers false or -1 and leaves the caches as they were. A connection the server
// dropped is opened anew once per operation.
class MysqlConnection : public SqlEngine
{
public:
    MysqlConnection(QString host, int port, QString database, QString user, QString password);

    // The server's identifier of the current connection (0 when there is none).
    unsigned long threadId() const;

private:
    MysqlDriver* m_pMysqlDriver; // owned by the engine
};

#endif
