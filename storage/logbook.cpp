#include "storage/logbook.h"

#include "storage/sqlbase.h"
#include "storage/statsmanager.h"

namespace
{
const QVector<AccuEntry> kNoAccus;
const QVector<ModelEntry> kNoModels;
} // namespace

LogBook::LogBook(QObject* parent) : QObject(parent) {}

LogBook::~LogBook()
{
    if (m_pStore)
        m_pStore->disconnectDb();
}

bool LogBook::open(std::unique_ptr<SqlBase> store, QString* errorText)
{
    m_pStats.reset();
    if (m_pStore)
        m_pStore->disconnectDb();
    m_pStore = std::move(store);
    const bool opened = m_pStore && m_pStore->openDb(errorText);
    if (opened)
        m_pStats = std::make_unique<StatsManager>(m_pStore.get());
    emit storeReplaced();
    return opened;
}

bool LogBook::isOpen() const
{
    return m_pStore && m_pStore->isConnected();
}

bool LogBook::reload(QString* errorText)
{
    if (!isOpen() || !m_pStore->reload(errorText))
        return false;
    emit reloaded();
    return true;
}

int LogBook::count() const
{
    return isOpen() ? m_pStore->logCount() : 0;
}

const LogEntry* LogBook::entryAt(int row) const
{
    if (row < 0 || row >= count())
        return nullptr;
    return m_pStore->logEntryAt(row);
}

int LogBook::rowOf(int id) const
{
    return isOpen() ? m_pStore->logRowOf(id) : -1;
}

QDate LogBook::firstDate() const
{
    const LogEntry* first = entryAt(0);
    return first ? first->m_date : QDate();
}

const QVector<AccuEntry>& LogBook::accus() const
{
    return isOpen() ? m_pStore->m_accus : kNoAccus;
}

const QVector<ModelEntry>& LogBook::models() const
{
    return isOpen() ? m_pStore->m_models : kNoModels;
}

bool LogBook::accu(int id, AccuEntry* out) const
{
    return isOpen() && m_pStore->getAccu(id, out);
}

bool LogBook::model(int id, ModelEntry* out) const
{
    return isOpen() && m_pStore->getModel(id, out);
}

int LogBook::entriesWithAccu(int accuId) const
{
    int n = 0;
    for (int row = 0; row < count(); ++row)
        n += entryAt(row)->m_iAccuId == accuId;
    return n;
}

int LogBook::entriesWithModel(int modelId) const
{
    int n = 0;
    for (int row = 0; row < count(); ++row)
        n += entryAt(row)->m_iModelId == modelId;
    return n;
}

int LogBook::addEntry(LogEntry entry)
{
    if (!isOpen())
        return -1;
    const int id = m_pStore->addLogEntry(&entry);
    if (id >= 0)
        emit entryAdded(rowOf(id));
    return id;
}

bool LogBook::changeEntry(int id, LogEntry entry)
{
    const int oldRow = rowOf(id);
    if (oldRow < 0 || !m_pStore->changeLogEntry(id, &entry))
        return false;
    emit entryChanged(oldRow, rowOf(id));
    return true;
}

bool LogBook::removeEntry(int id)
{
    const int row = rowOf(id);
    if (row < 0 || !m_pStore->deleteLogEntry(id))
        return false;
    emit entryRemoved(row);
    return true;
}

// Packs and models: the store's answer, announced when it is a success.
int LogBook::announce(int id, void (LogBook::*changed)())
{
    announce(id >= 0, changed);
    return id;
}

bool LogBook::announce(bool stored, void (LogBook::*changed)())
{
    if (stored)
        emit(this->*changed)();
    return stored;
}

int LogBook::addAccu(AccuEntry accu)
{
    return announce(isOpen() ? m_pStore->addAccu(&accu) : -1, &LogBook::accusChanged);
}

bool LogBook::changeAccu(int id, AccuEntry accu)
{
    return announce(isOpen() && m_pStore->changeAccu(id, &accu), &LogBook::accusChanged);
}

bool LogBook::removeAccu(int id)
{
    return announce(isOpen() && m_pStore->deleteAccu(id), &LogBook::accusChanged);
}

int LogBook::addModel(ModelEntry model)
{
    return announce(isOpen() ? m_pStore->addModel(&model) : -1, &LogBook::modelsChanged);
}

bool LogBook::changeModel(int id, ModelEntry model)
{
    return announce(isOpen() && m_pStore->changeModel(id, &model), &LogBook::modelsChanged);
}

bool LogBook::removeModel(int id)
{
    return announce(isOpen() && m_pStore->deleteModel(id), &LogBook::modelsChanged);
}

QString LogBook::lastError() const
{
    return m_pStore ? m_pStore->lastErrorText() : QString();
}
