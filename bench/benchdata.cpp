// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "benchdata.h"

#include "storage/sqliteschema.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTime>
#include <QVariant>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include <mysql++.h>

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

BenchData::BenchData(int entries, int models, int accus, unsigned seed)
{
    std::mt19937 rng(seed);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    static const char* const brands[] = {"Xa", "Volta", "Ampere Co", "Kestrel", "Nordlicht"};

    for (int i = 0; i < accus; ++i) {
        const bool noCapacity = i % 37 == 5; // some packs were never given a capacity
        m_accus.append({QString::fromLatin1(brands[pick(0, 4)]),
                        QStringLiteral("Pack %1").arg(i + 1), noCapacity ? 0 : pick(17, 160) * 50,
                        pick(1, 6), pick(20, 65), pick(0, 5)});
    }
    for (int i = 0; i < models; ++i)
        m_models.append({QStringLiteral("Model %1").arg(i + 1), pick(0, 4)});

    const QDate first(2016, 3, 1);
    for (int i = 0; i < entries; ++i) {
        // Identifiers count from 1; a few entries point past the last pack, as after a delete.
        const int accuId = pick(0, 199) == 0 ? accus + pick(1, 5) : pick(1, accus);
        const int capacity = accuId <= accus ? m_accus[accuId - 1].capacity : 2200;
        const bool incomplete = pick(0, 9) == 0;
        const int charged = incomplete ? 0 : qMax(1, capacity * pick(30, 95) / 100 + pick(0, 40));
        m_entries.append({first.addDays(pick(0, 3800)).toString(QStringLiteral("yyyy-MM-dd")),
                          QTime(0, 0).addSecs(pick(60, 1200)).toString(QStringLiteral("hh:mm:ss")),
                          accuId, pick(1, models), charged});
    }
}

BenchData::Shape BenchData::shapeOf(int nominal, bool small)
{
    const int entries = small ? nominal / 100 : nominal;
    if (nominal >= 1000000)
        return {entries, 400, 2000};
    if (nominal >= 100000)
        return {entries, 100, 500};
    return {entries, 40, 150};
}

namespace
{
// Binds and steps one prepared insert; false on any failure.
bool insertRow(sqlite3_stmt* st, std::initializer_list<QVariant> values)
{
    int column = 1;
    QList<QByteArray> texts; // kept alive until the step
    for (const QVariant& v : values) {
        if (v.typeId() == QMetaType::QString) {
            texts.append(v.toString().toUtf8());
            sqlite3_bind_text(st, column++, texts.last().constData(), int(texts.last().size()),
                              SQLITE_STATIC);
        } else {
            sqlite3_bind_int(st, column++, v.toInt());
        }
    }
    const bool ok = sqlite3_step(st) == SQLITE_DONE;
    sqlite3_reset(st);
    return ok;
}
} // namespace

bool BenchData::writeSqlite(const QString& file, QString* error) const
{
    if (!SqliteSchema::createDatabase(file, error))
        return false;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        return false;
    }
    const char* const inserts[] = {
        "INSERT INTO accus (accuBrand,accuDescr,accuCapacity,numCells,accuStrength,accuTyp) "
        "VALUES (?,?,?,?,?,?)",
        "INSERT INTO modelList (modelName,modelTyp) VALUES (?,?)",
        "INSERT INTO logList (date,time,accuId,modelId,charged) VALUES (?,?,?,?,?)"};
    sqlite3_stmt* st[3] = {};
    bool ok = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    for (int i = 0; ok && i < 3; ++i)
        ok = sqlite3_prepare_v2(db, inserts[i], -1, &st[i], nullptr) == SQLITE_OK;
    for (const Accu& a : m_accus) {
        if (!ok)
            break;
        ok = insertRow(st[0], {a.brand, a.descr, a.capacity, a.cells, a.strength, a.typ});
    }
    for (const Model& m : m_models) {
        if (!ok)
            break;
        ok = insertRow(st[1], {m.name, m.typ});
    }
    for (const Entry& e : m_entries) {
        if (!ok)
            break;
        ok = insertRow(st[2], {e.date, e.time, e.accuId, e.modelId, e.charged});
    }
    if (ok)
        ok = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!ok)
        *error = QString::fromUtf8(sqlite3_errmsg(db));
    for (sqlite3_stmt* s : st)
        sqlite3_finalize(s);
    sqlite3_close(db);
    return ok;
}

namespace
{
// A book as an older program left it: the log without its indexes, packed as if it had never
// had them.
bool dropLogIndexes(const QString& file, QString* error)
{
    sqlite3* db = nullptr;
    bool ok = sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) ==
                  SQLITE_OK &&
              sqlite3_exec(db,
                           "DROP INDEX logList_date; DROP INDEX logList_model; "
                           "DROP INDEX logList_accu; VACUUM;",
                           nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!ok)
        *error = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_close(db);
    return ok;
}
} // namespace

qint64 BenchData::settle()
{
    QElapsedTimer clock;
    clock.start();
    QCoreApplication::sendPostedEvents();
    // Each pass may post the next step; a few are enough, a timer of the style may never end.
    for (int pass = 0;
         pass < 8 && QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents);
         ++pass) {
    }
    return clock.nsecsElapsed();
}

bool BenchData::copyFile(const QString& from, const QString& to, QString* error)
{
    // A journal left beside an earlier copy would be played back into this one.
    QFile::remove(to + QStringLiteral("-journal"));
    QFile::remove(to);
    QFile source(from);
    if (source.copy(to))
        return true;
    *error = QStringLiteral("%1 to %2: %3").arg(from, to, source.errorString());
    return false;
}

QString BenchData::sqliteBook(const QString& dir, int nominal, bool small, bool indexes,
                              QString* error)
{
    const BenchData::Shape shape = shapeOf(nominal, small);
    // Named by content, so a smaller run's book is never taken for another size's.
    const QString file = QDir(dir).filePath(QStringLiteral("book-%1-%2m-%3p-%4.sqlite")
                                                .arg(shape.entries)
                                                .arg(shape.models)
                                                .arg(shape.accus)
                                                .arg(QLatin1String(indexes ? "indexed" : "bare")));
    if (QFileInfo::exists(file))
        return file;
    const QString part = file + QStringLiteral(".part");
    QFile::remove(part);
    bool ok;
    if (indexes) {
        ok = BenchData(shape.entries, shape.models, shape.accus).writeSqlite(part, error);
    } else {
        const QString indexed = sqliteBook(dir, nominal, small, true, error);
        ok = !indexed.isEmpty() && copyFile(indexed, part, error) && dropLogIndexes(part, error);
    }
    if (ok && !QFile::rename(part, file)) {
        *error = QStringLiteral("cannot rename %1").arg(part);
        ok = false;
    }
    if (!ok)
        QFile::remove(part);
    return ok ? file : QString();
}

QString BenchData::sqliteBookApart(const QString& dir, int nominal, bool small, QString* error)
{
    const pid_t pid = fork();
    if (pid == 0) {
        QString childError;
        const bool ok = !sqliteBook(dir, nominal, small, true, &childError).isEmpty();
        if (!ok)
            std::fprintf(stderr, "cannot write a book: %s\n", qPrintable(childError));
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        *error = QStringLiteral("the process writing the book failed");
        return QString();
    }
    return sqliteBook(dir, nominal, small, true, error); // there now: only named
}

bool BenchData::writePortableIni(const QString& iniFile, const QString& book)
{
    QSettings ini(iniFile, QSettings::IniFormat);
    ini.clear();
    for (const char* key : {"host", "db", "username", "pw", "chargerportwin32"})
        ini.setValue(QLatin1String(key), QString());
    ini.setValue(QStringLiteral("port"), 3306);
    ini.setValue(QStringLiteral("sqlitefilename"), book);
    ini.setValue(QStringLiteral("usesqlite"), true);
    ini.setValue(QStringLiteral("usecharger"), false);
    ini.setValue(QStringLiteral("chargerclass"), 0);
    ini.setValue(QStringLiteral("chargersubtype"), 0);
    ini.sync();
    return ini.status() == QSettings::NoError;
}

double BenchData::peakResidentMB()
{
    long kb = -1;
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (kb < 0 && std::fgets(line, sizeof line, status))
            std::sscanf(line, "VmHWM: %ld kB", &kb);
        std::fclose(status);
    }
    return kb < 0 ? -1.0 : kb / 1024.0;
}

bool BenchData::serverFromEnvironment(Server* server)
{
    for (const char* name : {"TARVELO_MYSQL_HOST", "TARVELO_MYSQL_PORT", "TARVELO_MYSQL_DB",
                             "TARVELO_MYSQL_USER", "TARVELO_MYSQL_PASSWORD"}) {
        if (!qEnvironmentVariableIsSet(name))
            return false;
    }
    server->host = qEnvironmentVariable("TARVELO_MYSQL_HOST");
    server->port = qEnvironmentVariableIntValue("TARVELO_MYSQL_PORT");
    server->database = qEnvironmentVariable("TARVELO_MYSQL_DB");
    server->user = qEnvironmentVariable("TARVELO_MYSQL_USER");
    server->password = qEnvironmentVariable("TARVELO_MYSQL_PASSWORD");
    return true;
}

bool BenchData::writeMysql(const Server& server, const QString& suffix, QString* database,
                           QString* error) const
{
    QFile schema(QStringLiteral(TARVELO_SOURCE_DIR "/schema/mysql.sql"));
    if (!schema.open(QIODevice::ReadOnly)) {
        *error = schema.errorString();
        return false;
    }
    *database = server.database + suffix;
    const std::string name = database->toStdString();
    try {
        mysqlpp::Connection c(true);
        c.set_option(new mysqlpp::SetCharsetNameOption("utf8mb4"));
        c.set_option(new mysqlpp::MultiStatementsOption(true));
        c.connect(server.database.toUtf8().constData(), server.host.toUtf8().constData(),
                  server.user.toUtf8().constData(), server.password.toUtf8().constData(),
                  static_cast<unsigned int>(server.port));
        auto run = [&c](const std::string& sql) {
            mysqlpp::Query q = c.query(sql);
            q.exec();
            while (q.more_results())
                q.store_next();
        };
        run("DROP DATABASE IF EXISTS `" + name + "`; CREATE DATABASE `" + name +
            "` CHARACTER SET utf8mb4 COLLATE utf8mb4_bin");
        c.select_db(name);
        run(schema.readAll().toStdString());
        mysqlpp::Transaction transaction(c);

        // Many rows per statement: one round trip per row would dominate the run.
        auto insertAll = [&](const char* head, int rows, auto&& writeRow) {
            for (int first = 0; first < rows; first += 1000) {
                mysqlpp::Query q = c.query();
                q << head;
                for (int i = first; i < qMin(rows, first + 1000); ++i) {
                    q << (i == first ? "(" : ",(");
                    writeRow(q, i);
                    q << ")";
                }
                q.exec();
            }
        };
        auto text = [](const QString& s) { return s.toStdString(); };
        insertAll("INSERT INTO accus (accuBrand,accuDescr,accuCapacity,numCells,accuStrength,"
                  "accuTyp) VALUES ",
                  int(m_accus.size()), [&](mysqlpp::Query& q, int i) {
                      const Accu& a = m_accus[i];
                      q << mysqlpp::quote << text(a.brand) << "," << mysqlpp::quote << text(a.descr)
                        << "," << a.capacity << "," << a.cells << "," << a.strength << "," << a.typ;
                  });
        insertAll("INSERT INTO modelList (modelName,modelTyp) VALUES ", int(m_models.size()),
                  [&](mysqlpp::Query& q, int i) {
                      q << mysqlpp::quote << text(m_models[i].name) << "," << m_models[i].typ;
                  });
        insertAll("INSERT INTO logList (date,time,accuId,modelId,charged) VALUES ",
                  int(m_entries.size()), [&](mysqlpp::Query& q, int i) {
                      const Entry& e = m_entries[i];
                      q << mysqlpp::quote << text(e.date) << "," << mysqlpp::quote << text(e.time)
                        << "," << e.accuId << "," << e.modelId << "," << e.charged;
                  });
        transaction.commit();
    } catch (const std::exception& e) {
        *error = QString::fromUtf8(e.what());
        return false;
    }
    return true;
}

BenchData::Options BenchData::takeOptions(int* argc, char** argv)
{
    Options options;
    int kept = 1;
    for (int i = 1; i < *argc; ++i) {
        if (std::strcmp(argv[i], "--db") == 0 && i + 1 < *argc)
            options.existingDb = QString::fromLocal8Bit(argv[++i]);
        else if (std::strcmp(argv[i], "--data-dir") == 0 && i + 1 < *argc)
            options.dataDir = QString::fromLocal8Bit(argv[++i]);
        else if (std::strcmp(argv[i], "--small") == 0)
            options.small = true;
        else
            argv[kept++] = argv[i];
    }
    *argc = kept;
    return options;
}

namespace
{
bool g_skipped = false;
} // namespace

void BenchData::fail(const QString& what)
{
    std::fprintf(stderr, "%s\n", qPrintable(what));
    std::exit(1);
}

void BenchData::skip(benchmark::State& state, const char* why)
{
    state.SkipWithError(why);
    g_skipped = true;
}

bool BenchData::anySkipped()
{
    return g_skipped;
}
