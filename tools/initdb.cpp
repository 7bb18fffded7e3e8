// tarvelo-initdb FILE: creates a new, empty Tarvelo log book. Never touches an existing file.
#include "storage/sqliteschema.h"

#include <QFile>
#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarvelo-initdb FILE\n"
                             "Creates FILE as a new, empty Tarvelo log book (SQLite).\n");
        return 2;
    }
    const QString file = QFile::decodeName(argv[1]);
    QString error;
    if (!SqliteSchema::createDatabase(file, &error)) {
        std::fprintf(stderr, "tarvelo-initdb: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    std::printf("tarvelo-initdb: created %s\n", argv[1]);
    return 0;
}
