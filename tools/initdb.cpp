// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// tarvelo-initdb FILE: creates a new, empty Tarvelo log book. Never touches an existing file.
#include "storage/sqliteschema.h"
#include "tools/commandline.h"

#include <QFile>
#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    CommandLine commandLine(
        QStringLiteral("tarvelo-initdb"),
        QStringLiteral("Creates FILE as a new, empty Tarvelo log book (SQLite)."));
    commandLine.addArgument(QStringLiteral("FILE"), QStringLiteral("The log book to create."),
                            true);
    if (const auto done = commandLine.parse(argc, argv))
        return *done;
    const QString file = commandLine.arguments().first();
    QString error;
    if (!SqliteSchema::createDatabase(file, &error)) {
        std::fprintf(stderr, "tarvelo-initdb: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    std::printf("tarvelo-initdb: created %s\n", QFile::encodeName(file).constData());
    return 0;
}
