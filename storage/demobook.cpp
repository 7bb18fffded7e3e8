// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "storage/demobook.h"

#include "storage/sqliteconnection.h"
#include "storage/sqliteschema.h"

#include <QFile>
#include <QTime>

#include <sqlite3.h>

#include <algorithm>
#include <iterator>
#include <random>

namespace
{
struct Pack {
    const char* brand;
    const char* descr;
    int capacity, cells, strength, typ;
};

// Chemistry indexes: 0 LiPo, 1 LiFe, 2 NiMh.
const Pack kPacks[] = {
    {"SLS", "Red 3S 2200", 2200, 3, 30, 0},       {"Turnigy", "Nano 4S 5000", 5000, 4, 45, 0},
    {"Gens ace", "Heli 6S 3300", 3300, 6, 40, 0}, {"Dualsky", "Small 2S 800", 800, 2, 25, 0},
    {"A123", "Rx 2S 1100", 1100, 2, 10, 1},       {"Eneloop", "Tx 8 cells 2000", 2000, 8, 5, 2},
};

struct Model {
    const char* name;
    int typ;            // 0 Plane, 1 Heli, 2 Car, 3 Boat, 4 RC
    int pack[2];        // indexes into kPacks that this model flies with
    int minSec, maxSec; // length of one use
};

const Model kModels[] = {
    {"Easy Star", 0, {0, 3}, 8 * 60, 16 * 60},      {"T-Rex 450", 1, {2, 2}, 4 * 60, 7 * 60},
    {"Buggy 1:8", 2, {1, 1}, 10 * 60, 22 * 60},     {"Harbour tug", 3, {0, 4}, 12 * 60, 30 * 60},
    {"Transmitter", 4, {5, 5}, 2 * 3600, 5 * 3600},
};

// This pack is past its best: its rest capacity falls from use to use, so that its history
// shows a trend at first look.
const int kAgeingPack = 0;

bool exec(SqLiteConnection& db, const char* sql, QString* problem)
{
    char* message = nullptr;
    if (sqlite3_exec(db.handle(), sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    *problem = QString::fromUtf8(message ? message : "SQLite error");
    sqlite3_free(message);
    return false;
}

bool fill(SqLiteConnection& db, const QDate& today, QString* problem)
{
    // Everything in one transaction: one write to the disk instead of one per row.
    if (!exec(db, "BEGIN", problem))
        return false;
    int packIds[std::size(kPacks)];
    for (size_t i = 0; i < std::size(kPacks); ++i) {
        const Pack& p = kPacks[i];
        AccuEntry accu(&db, QString::fromUtf8(p.brand), QString::fromUtf8(p.descr), p.capacity,
                       p.cells, p.strength, p.typ, -1);
        packIds[i] = db.addAccu(&accu);
        if (packIds[i] < 0)
            return false;
    }
    int modelIds[std::size(kModels)];
    for (size_t i = 0; i < std::size(kModels); ++i) {
        ModelEntry model(&db, QString::fromUtf8(kModels[i].name), kModels[i].typ, -1);
        modelIds[i] = db.addModel(&model);
        if (modelIds[i] < 0)
            return false;
    }

    // The same book for the same day: a fixed seed.
    std::mt19937 random(20240401u);
    auto between = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    int ageingUses = 0;
    const QDate first = today.addDays(-182);
    for (QDate day = first; day < today; day = day.addDays(1)) {
        const bool weekend = day.dayOfWeek() >= 6;
        if (between(0, 99) >= (weekend ? 70 : 12))
            continue;
        const int uses = between(2, 5);
        const bool lastDays = day.daysTo(today) <= 3;
        for (int u = 0; u < uses; ++u) {
            const size_t m =
                static_cast<size_t>(between(0, static_cast<int>(std::size(kModels)) - 1));
            const Model& model = kModels[m];
            const int packIndex = model.pack[between(0, 1)];
            const Pack& pack = kPacks[packIndex];
            const int seconds = between(model.minSec, model.maxSec);
            // Most packs come home with a fair rest; now and then one was flown too long.
            int usedPercent = between(0, 9) == 0 ? between(81, 92) : between(45, 79);
            if (packIndex == kAgeingPack) {
                // Some tenths of a percent less each time, a few percent up or down.
                const int rest = 58 - ageingUses++ * 3 / 5 + usedPercent % 7 - 3;
                usedPercent = 100 - std::max(rest, 5);
            }
            // The packs of the last days are not charged yet.
            const int charged = lastDays && u > 0 ? 0 : pack.capacity * usedPercent / 100;
            LogEntry entry(&db, day, QTime(0, 0).addSecs(seconds), charged, packIds[packIndex],
                           modelIds[m], -1);
            if (db.addLogEntry(&entry) < 0)
                return false;
        }
    }
    return exec(db, "COMMIT", problem);
}
} // namespace

bool DemoBook::create(const QString& file, const QDate& today, QString* error)
{
    QString problem;
    if (!SqliteSchema::createDatabase(file, &problem)) {
        if (error)
            *error = problem;
        return false;
    }
    bool filled = false;
    {
        SqLiteConnection db(file);
        if (db.openDb(&problem)) {
            problem.clear();
            filled = fill(db, today, &problem);
            if (!filled && problem.isEmpty())
                problem = db.lastErrorText();
        }
    }
    if (!filled) {
        // Half a sample book is no use to anybody.
        QFile::remove(file);
        if (error)
            *error = problem;
    }
    return filled;
}
