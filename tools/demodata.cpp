// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// tarvelo-demo-data FILE: creates a new log book holding a small sample season (a handful of
// packs and models, a flying day or two a week over the last half year), so that a first start
// has something to show. Never touches an existing file.
#include "storage/demobook.h"
#include "tools/commandline.h"

#include <QDate>
#include <QFile>
#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    CommandLine commandLine(
        QStringLiteral("tarvelo-demo-data"),
        QStringLiteral("Creates FILE as a new Tarvelo log book with a sample season."));
    commandLine.addArgument(QStringLiteral("FILE"), QStringLiteral("The log book to create."),
                            true);
    if (const auto done = commandLine.parse(argc, argv))
        return *done;
    const QString file = commandLine.arguments().first();
    QString error;
    if (!DemoBook::create(file, QDate::currentDate(), &error)) {
        std::fprintf(stderr, "tarvelo-demo-data: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    std::printf("tarvelo-demo-data: created %s\n", QFile::encodeName(file).constData());
    return 0;
}
