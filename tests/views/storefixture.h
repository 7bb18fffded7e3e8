#ifndef TARVELO_STOREFIXTURE_H
#define TARVELO_STOREFIXTURE_H

// A fresh SQLite log book made from the schema in a temporary folder, opened through the
// program's own store.

#include "storage/sqliteconnection.h"
#include "storage/sqliteschema.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

class StoreFixture
{
public:
    StoreFixture()
    {
        m_file = m_dir.filePath(QStringLiteral("tarvelo.sqlite"));
        QString error;
        if (!m_dir.isValid() || !SqliteSchema::createDatabase(m_file, &error)) {
            qWarning("cannot create the test database: %s", qPrintable(error));
            return;
        }
        reopen();
    }

    // A new connection to the same file, as the program makes after the options change.
    bool reopen()
    {
        m_pDb.reset();
        m_pDb = std::make_unique<SqLiteConnection>(m_file);
        return m_pDb->openDb(nullptr);
    }

    SqlBase* db() const { return m_pDb.get(); }
    const QString& file() const { return m_file; }
    QString dir() const { return m_dir.path(); }

    int addAccu(const QString& brand, const QString& descr, int capacity, int cells = 3,
                int strength = 25, int typ = 0)
    {
        AccuEntry a(m_pDb.get(), brand, descr, capacity, cells, strength, typ, -1);
        return m_pDb->addAccu(&a);
    }
    int addModel(const QString& name, int typ = 0)
    {
        ModelEntry m(m_pDb.get(), name, typ, -1);
        return m_pDb->addModel(&m);
    }

private:
    QTemporaryDir m_dir;
    QString m_file;
    std::unique_ptr<SqLiteConnection> m_pDb;
};

#endif
