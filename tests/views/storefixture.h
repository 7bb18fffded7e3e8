// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_STOREFIXTURE_H
#define TARVELO_STOREFIXTURE_H

// A fresh SQLite log book made from the schema in a temporary folder, opened through the
// program's own log book.

#include "immutable.h"
#include "storage/logbook.h"

#include "storage/sqliteconnection.h"
#include "storage/sqliteschema.h"
#include "views/undohistory.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <unistd.h>

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
    bool reopen() { return m_book.open(std::make_unique<SqLiteConnection>(m_file), nullptr); }

    // Makes the file read-only, also for the superuser, and reopens it: every change is then
    // refused by the store. False when the file cannot be made read-only here.
    bool makeReadOnly()
    {
        m_book.open(nullptr, nullptr);
        if (!QFile::setPermissions(m_file, QFileDevice::ReadOwner | QFileDevice::ReadGroup))
            return false;
        if (geteuid() == 0) {
            m_pImmutable = std::make_unique<Immutable>(m_file);
            if (!m_pImmutable->isSet())
                return false;
        }
        return reopen();
    }

    SqlBase* db() const { return m_book.store(); }
    LogBook* book() { return &m_book; }
    // The edits of the dialogs go through it.
    UndoHistory* history() { return &m_history; }
    const QString& file() const { return m_file; }
    QString dir() const { return m_dir.path(); }

    int addAccu(const QString& brand, const QString& descr, int capacity, int cells = 3,
                int strength = 25, int typ = 0)
    {
        return m_book.addAccu(AccuEntry(nullptr, brand, descr, capacity, cells, strength, typ, -1));
    }
    int addModel(const QString& name, int typ = 0)
    {
        return m_book.addModel(ModelEntry(nullptr, name, typ, -1));
    }

private:
    QTemporaryDir m_dir;
    QString m_file;
    std::unique_ptr<Immutable> m_pImmutable; // undone before the folder goes
    LogBook m_book;
    UndoHistory m_history{&m_book, nullptr};
};

#endif
