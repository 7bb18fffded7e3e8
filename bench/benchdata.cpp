#include "benchdata.h"

#include "storage/sqliteschema.h"

#include <QDate>
#include <QVariant>
#include <QTime>

#include <random>

#include <sqlite3.h>

BenchData::BenchData(int entries, int models, int accus, unsigned seed)
{
    std::mt19937 rng(seed);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    static const char* const brands[] = {"Xa", "Volta", "Ampere Co", "Kestrel", "Nordlicht"};

    for (int i = 0; i < accus; ++i) {
        const bool noCapacity = i % 37 == 5; // some packs were never given a capacity
        m_accus.append({QString::fromLatin1(brands[pick(0, 4)]), QStringLiteral("Pack %1").arg(i + 1),
                        noCapacity ? 0 : pick(17, 160) * 50, pick(1, 6), pick(20, 65), pick(0, 5)});
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

namespace {
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
    if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
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
