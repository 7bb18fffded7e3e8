// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "storage/sqlbase.h"

#include "storage/workprogress.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace
{
bool idOrder(const LogEntry* a, const LogEntry* b)
{
    return a->m_iId < b->m_iId;
}

// The log's order: by date, and within a day by identifier, so that every entry has one place.
bool logOrder(const LogEntry* a, const LogEntry* b)
{
    if (a->m_date != b->m_date)
        return a->m_date < b->m_date;
    return a->m_iId < b->m_iId;
}

template <class Record> bool recordIdOrder(const Record& a, int id)
{
    return a.m_iId < id;
}

// Records of a table kept ordered by identifier: replaced when the identifier is there,
// inserted at its place when not.
template <class Record> void putRecord(QVector<Record>* records, const Record& record)
{
    auto it =
        std::lower_bound(records->begin(), records->end(), record.m_iId, recordIdOrder<Record>);
    if (it != records->end() && it->m_iId == record.m_iId)
        *it = record;
    else
        records->insert(it, record);
}

template <class Record> void removeRecord(QVector<Record>* records, int id)
{
    auto it = std::lower_bound(records->begin(), records->end(), id, recordIdOrder<Record>);
    if (it != records->end() && it->m_iId == id)
        records->erase(it);
}
} // namespace

SqlBase::SqlBase(QString host, int port, QString database, QString user, QString password)
    : m_strHost(std::move(host)), m_iPort(port), m_strDatabase(std::move(database)),
      m_strUser(std::move(user)), m_strPassword(std::move(password))
{
}

SqlBase::SqlBase(QString fileName) : m_strFileName(std::move(fileName)) {}

SqlBase::~SqlBase()
{
    m_bConnected = false;
    clearLogCache();
}

void SqlBase::clearLogCache()
{
    qDeleteAll(m_logCache);
    m_logCache.clear();
    m_logById.clear();
}

void SqlBase::beginStage(const QString& stage, qint64 total)
{
    if (m_pProgress)
        m_pProgress->begin(stage, total);
}

bool SqlBase::openDb(QString* errorText)
{
    beginStage(tr("Connecting"));
    m_bConnected = connectDb(errorText);
    if (m_bConnected && !settleOpen(reload(errorText), errorText)) {
        disconnectDb();
        m_bConnected = false;
    }
    if (!m_bConnected) {
        // Nothing of an earlier connection may be served as if it were current.
        m_models.clear();
        m_accus.clear();
        clearLogCache();
        m_bModelsCached = m_bAccusCached = m_bLogCached = false;
    }
    return m_bConnected;
}

bool SqlBase::reload(QString* errorText)
{
    QVector<ModelEntry> models;
    QVector<AccuEntry> accus;
    QVector<LogEntry*> log;
    if (!m_bConnected || !resume(errorText))
        return false;
    beginStage(tr("Reading packs and models"));
    if (!readModels(&models) || !readAccus(&accus) || !readLog(&log)) {
        qDeleteAll(log);
        if (errorText)
            *errorText = lastErrorText();
        return false;
    }
    m_models = std::move(models);
    m_accus = std::move(accus);
    m_bModelsCached = m_bAccusCached = true;
    beginStage(tr("Ordering the log"));
    takeLog(std::move(log));
    return true;
}

bool SqlBase::settleOpen(bool loaded, QString*)
{
    return loaded;
}

bool SqlBase::resume(QString*)
{
    return true;
}

bool SqlBase::refreshModels()
{
    QVector<ModelEntry> models;
    if (!readModels(&models))
        return false;
    m_models = std::move(models);
    m_bModelsCached = true;
    return true;
}

bool SqlBase::refreshAccus()
{
    QVector<AccuEntry> accus;
    if (!m_bConnected || !readAccus(&accus))
        return false;
    m_accus = std::move(accus);
    m_bAccusCached = true;
    return true;
}

bool SqlBase::refreshLogEntries()
{
    QVector<LogEntry*> entries;
    if (!readLog(&entries)) {
        qDeleteAll(entries);
        return false;
    }
    takeLog(std::move(entries));
    return true;
}

bool SqlBase::readLog(QVector<LogEntry*>* byId)
{
    if (!readLogEntries(byId, 0))
        return false;
    std::sort(byId->begin(), byId->end(), idOrder);
    return true;
}

void SqlBase::takeLog(QVector<LogEntry*> byId)
{
    clearLogCache();
    if (!std::is_sorted(byId.cbegin(), byId.cend(), idOrder))
        std::sort(byId.begin(), byId.end(), idOrder);
    m_logCache = byId;
    sortLog(&m_logCache);
    m_logById = std::move(byId);
    m_bLogCached = true;
}

bool SqlBase::getModels(QVector<ModelEntry>* out)
{
    if (!out)
        return false;
    if (m_bModelsCached) {
        *out = m_models;
        return true;
    }
    return readModels(out);
}

bool SqlBase::getAccus(QVector<AccuEntry>* out)
{
    if (!m_bConnected || !out)
        return false;
    if (m_bAccusCached) {
        *out = m_accus;
        return true;
    }
    return readAccus(out);
}

namespace
{
// A record of a table cache, which is ordered by identifier; null when it is not there.
template <class Record> const Record* cachedRecord(const QVector<Record>& records, int id)
{
    const auto it = std::lower_bound(records.cbegin(), records.cend(), id, recordIdOrder<Record>);
    return it != records.cend() && it->m_iId == id ? &*it : nullptr;
}

template <class Record>
bool lookUp(SqlBase* db, int id, Record* out, bool cached, const QVector<Record>& records,
            bool (SqlBase::*read)(int, Record*))
{
    if (!db->isConnected() || !out || id < 0)
        return false;
    if (!cached)
        return (db->*read)(id, out);
    const Record* record = cachedRecord(records, id);
    if (record)
        *out = *record;
    return record != nullptr;
}

template <class Record> bool appendIds(const QVector<Record>& records, QVector<int>* out)
{
    for (const Record& r : records)
        out->append(r.m_iId);
    return !records.isEmpty();
}
} // namespace

const ModelEntry* SqlBase::cachedModel(int modelId) const
{
    return m_bModelsCached ? cachedRecord(m_models, modelId) : nullptr;
}

const AccuEntry* SqlBase::cachedAccu(int accuId) const
{
    return m_bAccusCached ? cachedRecord(m_accus, accuId) : nullptr;
}

const LogEntry* SqlBase::cachedLogEntry(int id) const
{
    const auto it = findLogId(id);
    return it != m_logById.cend() && (*it)->m_iId == id ? *it : nullptr;
}

bool SqlBase::getModel(int modelId, ModelEntry* out)
{
    return lookUp(this, modelId, out, m_bModelsCached, m_models, &SqlBase::readModel);
}

bool SqlBase::getAccu(int accuId, AccuEntry* out)
{
    return lookUp(this, accuId, out, m_bAccusCached, m_accus, &SqlBase::readAccu);
}

bool SqlBase::getModelIds(QVector<int>* out)
{
    if (!m_bConnected || !out || (!m_bModelsCached && !refreshModels()))
        return false;
    return appendIds(m_models, out);
}

bool SqlBase::getAccuIds(QVector<int>* out)
{
    if (!m_bConnected || !out || (!m_bAccusCached && !refreshAccus()))
        return false;
    return appendIds(m_accus, out);
}

namespace
{
// Both per-identifier statistics: the figures of one grouped pass and the record's name. A
// model or pack without a complete entry has no statistics.
template <class Record>
bool statsOf(SqlBase* db, SqlBase::UsageGroup group, int id, bool (SqlBase::*lookup)(int, Record*),
             QString (*label)(const Record&), StatEntry* out)
{
    if (!db->isConnected() || !out || id < 0)
        return false;
    *out = StatEntry();
    Usage::Totals totals;
    const bool read = db->readUsageOf(group, id, &totals);
    if (read)
        SqlBase::fillStats(totals, out);
    Record record;
    const bool found = (db->*lookup)(id, &record);
    if (found)
        out->m_strName = label(record);
    out->m_iId = id;
    return read && found && totals.completeUses() > 0;
}

QString modelLabel(const ModelEntry& model)
{
    return model.m_strName;
}

QString accuLabel(const AccuEntry& accu)
{
    return accu.m_strDescr;
}
} // namespace

bool SqlBase::getModelStats(int modelId, ModelStatEntry* out)
{
    return statsOf(this, UsageGroup::Model, modelId, &SqlBase::getModel, modelLabel, out);
}

bool SqlBase::getAccuStats(int accuId, AccuStatEntry* out)
{
    return statsOf(this, UsageGroup::Accu, accuId, &SqlBase::getAccu, accuLabel, out);
}

void SqlBase::fillStats(const Usage::Totals& totals, StatEntry* out)
{
    out->m_iCount = totals.count();
    out->setTotalSeconds(totals.totalSeconds());
    out->m_timeAverage = QTime(0, 0).addSecs(static_cast<int>(totals.averageSeconds() % 86400));
    out->m_dAvgCurrent = totals.avgCurrentAmps();
    out->m_iAvgRest = totals.avgRest();
    out->m_dAvgRest = totals.avgExactRest();
}

bool SqlBase::restoreModel(ModelEntry*)
{
    return false;
}

bool SqlBase::restoreAccu(AccuEntry*)
{
    return false;
}

bool SqlBase::restoreLogEntry(LogEntry*)
{
    return false;
}

bool SqlBase::readUsage(int, QHash<int, Usage::Totals>*, QHash<int, Usage::Totals>*)
{
    return false;
}

bool SqlBase::readUsageOf(UsageGroup, int, Usage::Totals*)
{
    return false;
}

namespace
{
// The filter names logList's columns bare, so it goes inside, before the join.
QString usageSelect(const QString& where)
{
    return QStringLiteral("SELECT l.modelId,l.accuId,l.charged,l.time,a.accuCapacity FROM "
                          "(SELECT modelId,accuId,charged,time FROM logList%1) l "
                          "LEFT JOIN accus a ON a.accuId=l.accuId")
        .arg(where);
}
} // namespace

QString SqlBase::usageQuery(int filterFlags) const
{
    return usageSelect(logFilterClause(filterFlags));
}

QString SqlBase::usageQueryOf(UsageGroup group)
{
    return usageSelect(group == UsageGroup::Model ? QStringLiteral(" WHERE modelId=?")
                                                  : QStringLiteral(" WHERE accuId=?"));
}

void SqlBase::cacheModel(const ModelEntry& model)
{
    if (m_bModelsCached)
        putRecord(&m_models, model);
}

void SqlBase::uncacheModel(int modelId)
{
    if (m_bModelsCached)
        removeRecord(&m_models, modelId);
}

void SqlBase::cacheAccu(const AccuEntry& accu)
{
    if (m_bAccusCached)
        putRecord(&m_accus, accu);
}

void SqlBase::uncacheAccu(int accuId)
{
    if (m_bAccusCached)
        removeRecord(&m_accus, accuId);
}

void SqlBase::sortLog(QVector<LogEntry*>* entries)
{
    std::sort(entries->begin(), entries->end(), logOrder);
}

int SqlBase::logPosition(const LogEntry* entry) const
{
    const auto it = std::lower_bound(m_logCache.cbegin(), m_logCache.cend(), entry, logOrder);
    if (it == m_logCache.cend() || *it != entry)
        return -1;
    return int(it - m_logCache.cbegin());
}

QVector<LogEntry*>::const_iterator SqlBase::findLogId(int id) const
{
    return std::lower_bound(m_logById.cbegin(), m_logById.cend(), id,
                            [](const LogEntry* e, int v) { return e->m_iId < v; });
}

int SqlBase::logRowOf(int id) const
{
    const auto it = findLogId(id);
    if (it == m_logById.cend() || (*it)->m_iId != id)
        return -1;
    return logPosition(*it);
}

void SqlBase::cacheLogEntry(const LogEntry& entry)
{
    if (!m_bLogCached)
        return;
    const auto byId = findLogId(entry.m_iId);
    LogEntry* cached = nullptr;
    if (byId != m_logById.cend() && (*byId)->m_iId == entry.m_iId) {
        cached = *byId;
        if (cached->m_date == entry.m_date) { // same place in the order
            *cached = entry;
            cached->m_pDb = this;
            return;
        }
        m_logCache.remove(logPosition(cached));
        *cached = entry;
    } else {
        cached = new LogEntry(entry);
        m_logById.insert(byId, cached);
    }
    cached->m_pDb = this;
    m_logCache.insert(std::upper_bound(m_logCache.begin(), m_logCache.end(), cached, logOrder),
                      cached);
}

void SqlBase::uncacheLogEntry(int id)
{
    const int row = logRowOf(id);
    if (row < 0)
        return;
    LogEntry* cached = m_logCache.at(row);
    m_logCache.remove(row);
    m_logById.erase(findLogId(id));
    delete cached;
}

void SqlBase::setFilterDates(QDate start, QDate end)
{
    m_filterStart = start;
    m_filterEnd = end;
}

QString SqlBase::logFilterClause(int filterFlags) const
{
    QStringList conditions;
    if (filterFlags & FilterDate) {
        // Texts compare byte-wise; an older file keeps a zero byte after each date, which
        // sorts after the bare date but before the next day.
        conditions << QStringLiteral(" date >= '%1' and date < '%2'")
                          .arg(dateText(m_filterStart), dateText(m_filterEnd.addDays(1)));
    }
    if (filterFlags & FilterModel)
        conditions << QStringLiteral(" modelId=%1").arg(m_iFilterModelId);
    if (filterFlags & FilterIncomplete)
        conditions << QStringLiteral(" charged=0");
    if (filterFlags & FilterAccu)
        conditions << QStringLiteral(" accuId=%1").arg(m_iFilterAccuId);
    if (conditions.isEmpty())
        return QString();
    return QStringLiteral(" where ") + conditions.join(QStringLiteral(" and "));
}

QString SqlBase::decodeStoredText(const char* data, int bytes)
{
    if (!data || bytes <= 0)
        return QStringLiteral("");
    const void* zero = std::memchr(data, 0, static_cast<size_t>(bytes));
    if (zero)
        bytes = static_cast<int>(static_cast<const char*>(zero) - data);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(data, bytes));
    if (utf8.hasError())
        return QString::fromLatin1(data, bytes);
    return text;
}

namespace
{
inline int digits2(const char* p)
{
    if (p[0] < '0' || p[0] > '9' || p[1] < '0' || p[1] > '9')
        return -1;
    return (p[0] - '0') * 10 + (p[1] - '0');
}

// Drops the zero byte that older files keep at the end of every text.
int trimmedLength(const char* data, int bytes)
{
    while (bytes > 0 && data[bytes - 1] == '\0')
        --bytes;
    return bytes;
}
} // namespace

QDate SqlBase::parseStoredDate(const char* data, int bytes)
{
    if (!data)
        return QDate();
    bytes = trimmedLength(data, bytes);
    if (bytes == 10 && data[4] == '-' && data[7] == '-') {
        const int hi = digits2(data), lo = digits2(data + 2);
        const int month = digits2(data + 5), day = digits2(data + 8);
        if (hi >= 0 && lo >= 0 && month >= 0 && day >= 0)
            return QDate(hi * 100 + lo, month, day); // invalid values give a null date
    }
    return QDate::fromString(QString::fromLatin1(data, bytes), QStringLiteral("yyyy-MM-dd"));
}

QTime SqlBase::parseStoredTime(const char* data, int bytes)
{
    if (!data)
        return QTime();
    bytes = trimmedLength(data, bytes);
    if (bytes == 8 && data[2] == ':' && data[5] == ':') {
        const int h = digits2(data), m = digits2(data + 3), s = digits2(data + 6);
        if (h >= 0 && m >= 0 && s >= 0)
            return QTime(h, m, s); // out-of-range fields give an invalid time
    }
    return QTime::fromString(QString::fromLatin1(data, bytes), Qt::TextDate);
}

qint64 SqlBase::parseStoredSeconds(const char* data, int bytes)
{
    if (data && bytes == 8 && data[2] == ':' && data[5] == ':') {
        const int h = digits2(data), m = digits2(data + 3), s = digits2(data + 6);
        if (h >= 0 && h < 24 && m >= 0 && m < 60 && s >= 0 && s < 60)
            return h * 3600 + m * 60 + s;
    }
    return Usage::seconds(parseStoredTime(data, bytes));
}

namespace
{
// Two digits of a number below 100 at p.
inline void putDigits2(char16_t* p, int n)
{
    p[0] = char16_t(u'0' + n / 10);
    p[1] = char16_t(u'0' + n % 10);
}
} // namespace

// Written by hand: every row a copy or an export writes has a date and a duration, and the
// generic formatter costs more than the rest of the row.
QString SqlBase::dateText(const QDate& date)
{
    if (!date.isValid() || date.year() < 0 || date.year() > 9999)
        return date.toString(QStringLiteral("yyyy-MM-dd"));
    QString text(10, Qt::Uninitialized);
    auto* p = reinterpret_cast<char16_t*>(text.data());
    putDigits2(p, date.year() / 100);
    putDigits2(p + 2, date.year() % 100);
    p[4] = p[7] = u'-';
    putDigits2(p + 5, date.month());
    putDigits2(p + 8, date.day());
    return text;
}

QString SqlBase::timeText(const QTime& time)
{
    if (!time.isValid())
        return QString();
    QString text(8, Qt::Uninitialized);
    auto* p = reinterpret_cast<char16_t*>(text.data());
    putDigits2(p, time.hour());
    p[2] = p[5] = u':';
    putDigits2(p + 3, time.minute());
    putDigits2(p + 6, time.second());
    return text;
}

namespace
{
struct TableLayout {
    const char* name;
    std::initializer_list<const char*> columns;
};

const TableLayout kTables[] = {
    {"accus",
     {"accuId", "accuBrand", "accuCapacity", "numCells", "accuStrength", "accuTyp", "accuDescr"}},
    {"modelList", {"modelName", "modelTyp", "modelId"}},
    {"logList", {"id", "date", "time", "accuId", "modelId", "charged"}},
};
} // namespace

QStringList SqlBase::tableNames()
{
    QStringList names;
    for (const TableLayout& table : kTables)
        names << QLatin1String(table.name);
    return names;
}

QString SqlBase::checkTableColumns(const QString& table, const QStringList& columns)
{
    const TableLayout* layout = nullptr;
    for (const TableLayout& t : kTables) {
        if (table == QLatin1String(t.name))
            layout = &t;
    }
    if (!layout)
        return QStringLiteral("table %1 is unknown").arg(table);
    if (columns.isEmpty())
        return QStringLiteral("table %1 is missing").arg(table);
    int position = 0;
    for (const char* column : layout->columns) {
        const QLatin1String expected(column);
        if (position >= columns.size() ||
            columns.at(position).compare(expected, Qt::CaseInsensitive) != 0) {
            const bool elsewhere = columns.contains(expected, Qt::CaseInsensitive);
            return QStringLiteral("table %1 has no column %2%3")
                .arg(table, expected,
                     elsewhere ? QStringLiteral(" at position %1").arg(position + 1) : QString());
        }
        ++position;
    }
    return QString();
}
