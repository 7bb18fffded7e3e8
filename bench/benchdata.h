#ifndef TARVELO_BENCHDATA_H
#define TARVELO_BENCHDATA_H

#include <QString>
#include <QVector>

// A reproducible log book for the benchmarks: packs, models and log entries drawn from a fixed
// seed, with the awkward cases of real books mixed in (incomplete entries, packs without a
// capacity, entries whose pack was deleted).
class BenchData
{
public:
    struct Accu {
        QString brand, descr;
        int capacity, cells, strength, typ;
    };
    struct Model {
        QString name;
        int typ;
    };
    struct Entry {
        QString date, time;
        int accuId, modelId, charged;
    };

    BenchData(int entries, int models, int accus, unsigned seed = 20261208u);

    // Writes a new SQLite log book; refuses an existing file.
    bool writeSqlite(const QString& file, QString* error) const;
    // Empties the three tables of a server database and fills them; the connection values
    // come from the same variables as the server tests.
    bool writeMysql(QString* error) const;

    QVector<Accu> m_accus;
    QVector<Model> m_models;
    QVector<Entry> m_entries;
};

#endif
