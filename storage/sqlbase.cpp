#include "storage/sqlbase.h"

#include <QStringDecoder>

#include <cstring>
#include <initializer_list>

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
}

bool SqlBase::openDb(QString* errorText)
{
    m_bConnected = connectDb(errorText);
    if (m_bConnected) {
        refreshModels();
        refreshAccus();
        refreshLogEntries();
    } else {
        // Nothing of an earlier connection may be served as if it were current.
        m_models.clear();
        m_accus.clear();
        clearLogCache();
        m_bModelsCached = m_bAccusCached = m_bLogCached = false;
    }
    return m_bConnected;
}

void SqlBase::refreshModels()
{
    m_models.clear();
    m_bModelsCached = false;
    readModels(&m_models);
    m_bModelsCached = true;
}

void SqlBase::refreshAccus()
{
    m_accus.clear();
    m_bAccusCached = false;
    if (m_bConnected)
        readAccus(&m_accus);
    m_bAccusCached = true;
}

void SqlBase::refreshLogEntries()
{
    clearLogCache();
    m_bLogCached = false;
    readLogEntries(&m_logCache, 0);
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

bool SqlBase::getModel(int modelId, ModelEntry* out)
{
    if (!m_bConnected || !out || modelId < 0)
        return false;
    if (!m_bModelsCached)
        return readModel(modelId, out);
    for (const ModelEntry& m : m_models) {
        if (m.m_iId == modelId) {
            *out = m;
            return true;
        }
    }
    return false;
}

bool SqlBase::getAccu(int accuId, AccuEntry* out)
{
    if (!m_bConnected || !out || accuId < 0)
        return false;
    if (!m_bAccusCached)
        return readAccu(accuId, out);
    for (const AccuEntry& a : m_accus) {
        if (a.m_iId == accuId) {
            *out = a;
            return true;
        }
    }
    return false;
}

bool SqlBase::getModelIds(QVector<int>* out)
{
    if (!m_bConnected || !out)
        return false;
    if (!m_bModelsCached)
        refreshModels();
    for (const ModelEntry& m : m_models)
        out->append(m.m_iId);
    return !m_models.isEmpty();
}

bool SqlBase::getAccuIds(QVector<int>* out)
{
    if (!m_bConnected || !out)
        return false;
    if (!m_bAccusCached)
        refreshAccus();
    for (const AccuEntry& a : m_accus)
        out->append(a.m_iId);
    return !m_accus.isEmpty();
}

namespace {
void resetStats(StatEntry* out)
{
    out->m_strName = QString();
    out->m_iCount = 0;
    out->setTotalSeconds(0);
    out->m_timeAverage = QTime(0, 0);
    out->m_dAvgCurrent = 0.0;
    out->m_iAvgRest = 0;
}
} // namespace

bool SqlBase::getModelStats(int modelId, ModelStatEntry* out)
{
    if (!m_bConnected || !out || modelId < 0)
        return false;
    resetStats(out);
    QTime total, average;
    int count = 0;
    bool ok = readModelTimes(modelId, &total, &average, &count);
    if (ok) {
        out->setTimeTotal(total);
        out->m_timeAverage = average;
        out->m_iCount = count;
    }
    ModelEntry model;
    if (getModel(modelId, &model))
        out->m_strName = model.m_strName;
    else
        ok = false;
    double current = 0.0;
    int rest = 0;
    if (readModelCurrentAndRest(modelId, &current, &rest)) {
        out->m_dAvgCurrent = current;
        out->m_iAvgRest = rest;
    } else {
        ok = false;
    }
    return ok;
}

bool SqlBase::getAccuStats(int accuId, AccuStatEntry* out)
{
    if (!m_bConnected || !out || accuId < 0)
        return false;
    resetStats(out);
    QTime total, average;
    int count = 0;
    bool ok = readAccuTimes(accuId, &total, &average, &count);
    if (ok) {
        out->setTimeTotal(total);
        out->m_timeAverage = average;
        out->m_iCount = count;
    }
    AccuEntry accu;
    if (getAccu(accuId, &accu))
        out->m_strName = accu.m_strDescr;
    else
        ok = false;
    double current = 0.0;
    int rest = 0;
    if (readAccuCurrentAndRest(accuId, &current, &rest)) {
        out->m_dAvgCurrent = current;
        out->m_iAvgRest = rest;
    } else {
        ok = false;
    }
    return ok;
}

void SqlBase::fillStats(const Usage::Totals& totals, StatEntry* out)
{
    out->m_iCount = totals.count();
    out->setTotalSeconds(totals.totalSeconds());
    out->m_timeAverage = QTime(0, 0).addSecs(static_cast<int>(totals.averageSeconds() % 86400));
    out->m_dAvgCurrent = totals.avgCurrentAmps();
    out->m_iAvgRest = totals.avgRest();
}

bool SqlBase::readUsage(UsageGroup, int, QHash<int, Usage::Totals>*) { return false; }

QString SqlBase::usageQuery(UsageGroup group, int filterFlags) const
{
    // The filter names logList's columns bare, so it goes inside, before the join.
    return QStringLiteral("SELECT l.%1,l.charged,l.time,a.accuCapacity FROM "
                          "(SELECT modelId,accuId,charged,time FROM logList%2) l "
                          "LEFT JOIN accus a ON a.accuId=l.accuId")
        .arg(group == UsageGroup::Model ? QStringLiteral("modelId") : QStringLiteral("accuId"),
             logFilterClause(filterFlags));
}

void SqlBase::addUsage(QHash<int, Usage::Totals>* out, int id, int charged, const QTime& time,
                       const int* capacity)
{
    Usage::Totals& totals = (*out)[id];
    const qint64 seconds = Usage::seconds(time);
    totals.addTime(seconds);
    totals.addUse(charged, seconds, capacity);
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

namespace {
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

QString SqlBase::dateText(const QDate& date) { return date.toString(QStringLiteral("yyyy-MM-dd")); }

QString SqlBase::timeText(const QTime& time) { return time.toString(QStringLiteral("hh:mm:ss")); }

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
