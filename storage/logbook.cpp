// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "storage/logbook.h"

#include "storage/sqlbase.h"
#include "storage/statsmanager.h"
#include "storage/workprogress.h"
#include "storage/workrunner.h"

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

WorkRunner* LogBook::runner() const
{
    static WorkRunner atOnce;
    return m_pRunner ? m_pRunner : &atOnce;
}

bool LogBook::open(std::unique_ptr<SqlBase> store, QString* errorText)
{
    // Opened beside the one before, which stays in view meanwhile, off this thread when the
    // runner says so: nothing here may touch the store until it is taken over below.
    bool opened = false;
    QString error;
    const bool finished = runner()->run(tr("Opening the log book"), [&](WorkProgress& progress) {
        if (!store)
            return;
        store->setProgress(&progress);
        opened = store->openDb(&error);
        store->setProgress(nullptr);
    });
    m_bOpenCancelled = !opened && !finished;
    if (m_bOpenCancelled)
        return false;
    if (errorText && !opened)
        *errorText = error;
    m_pStats.reset();
    if (m_pStore)
        m_pStore->disconnectDb();
    m_pStore = std::move(store);
    if (opened)
        m_pStats = std::make_unique<StatsManager>(m_pStore.get());
    emit storeReplaced();
    return opened;
}

bool LogBook::isOpen() const
{
    return m_pStore && m_pStore->isConnected();
}

bool LogBook::isReadOnly() const
{
    return isOpen() && m_pStore->isReadOnly();
}

bool LogBook::isOffline() const
{
    return isOpen() && m_pStore->isOffline();
}

template <class Call> auto LogBook::call(Call storeCall)
{
    const bool offline = isOffline();
    emit busy(true);
    const auto result = storeCall();
    emit busy(false);
    if (isOffline() != offline)
        emit accessChanged();
    return result;
}

bool LogBook::reload(QString* errorText)
{
    if (!isOpen() || !call([&]() { return m_pStore->reload(errorText); }))
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

QHash<int, int> LogBook::entriesPerAccu() const
{
    QHash<int, int> counts;
    for (int row = 0; row < count(); ++row)
        ++counts[entryAt(row)->m_iAccuId];
    return counts;
}

int LogBook::addEntry(LogEntry entry)
{
    if (!isOpen())
        return -1;
    const int id = call([&]() { return m_pStore->addLogEntry(&entry); });
    if (id >= 0)
        emit entryAdded(rowOf(id));
    return id;
}

bool LogBook::changeEntry(int id, LogEntry entry)
{
    const int oldRow = rowOf(id);
    if (oldRow < 0)
        return false;
    if (!call([&]() { return m_pStore->changeLogEntry(id, &entry); })) {
        followConflict(id, oldRow);
        return false;
    }
    emit entryChanged(oldRow, rowOf(id));
    return true;
}

void LogBook::followConflict(int id, int oldRow)
{
    if (m_pStore->lastFailure() != SqlBase::Failure::Conflict)
        return;
    const int row = rowOf(id);
    if (row < 0)
        emit entryRemoved(oldRow);
    else
        emit entryChanged(oldRow, row);
}

bool LogBook::removeEntry(int id)
{
    const int row = rowOf(id);
    if (row < 0)
        return false;
    if (!call([&]() { return m_pStore->deleteLogEntry(id); })) {
        followConflict(id, row);
        return false;
    }
    emit entryRemoved(row);
    return true;
}

bool LogBook::restoreEntry(LogEntry entry)
{
    if (!isOpen())
        return false;
    const int id = entry.m_iId;
    const int before = rowOf(id);
    const bool stored = call([&]() { return m_pStore->restoreLogEntry(&entry); });
    // A refused one may have shown the row that holds the identifier now.
    const int after = rowOf(id);
    if (before < 0 && after >= 0)
        emit entryAdded(after);
    else if (before >= 0 && after >= 0)
        emit entryChanged(before, after);
    return stored;
}

// Packs and models: the store's answer, announced when it is a success.
int LogBook::announce(int id, void (LogBook::*changed)())
{
    announce(id >= 0, changed);
    return id;
}

bool LogBook::announce(bool stored, void (LogBook::*changed)())
{
    // A record changed elsewhere is shown with its current values.
    if (stored || (m_pStore && m_pStore->lastFailure() == SqlBase::Failure::Conflict))
        emit(this->*changed)();
    return stored;
}

int LogBook::addAccu(AccuEntry accu)
{
    return announce(isOpen() ? call([&]() { return m_pStore->addAccu(&accu); }) : -1,
                    &LogBook::accusChanged);
}

bool LogBook::changeAccu(int id, AccuEntry accu)
{
    return announce(isOpen() && call([&]() { return m_pStore->changeAccu(id, &accu); }),
                    &LogBook::accusChanged);
}

bool LogBook::removeAccu(int id)
{
    return announce(isOpen() && call([&]() { return m_pStore->deleteAccu(id); }),
                    &LogBook::accusChanged);
}

int LogBook::addModel(ModelEntry model)
{
    return announce(isOpen() ? call([&]() { return m_pStore->addModel(&model); }) : -1,
                    &LogBook::modelsChanged);
}

bool LogBook::changeModel(int id, ModelEntry model)
{
    return announce(isOpen() && call([&]() { return m_pStore->changeModel(id, &model); }),
                    &LogBook::modelsChanged);
}

bool LogBook::removeModel(int id)
{
    return announce(isOpen() && call([&]() { return m_pStore->deleteModel(id); }),
                    &LogBook::modelsChanged);
}

bool LogBook::restoreAccu(AccuEntry accu)
{
    return announce(isOpen() && call([&]() { return m_pStore->restoreAccu(&accu); }),
                    &LogBook::accusChanged);
}

bool LogBook::restoreModel(ModelEntry model)
{
    return announce(isOpen() && call([&]() { return m_pStore->restoreModel(&model); }),
                    &LogBook::modelsChanged);
}

QString LogBook::lastError() const
{
    return m_pStore ? m_pStore->lastErrorText() : QString();
}

QString LogBook::failureText() const
{
    switch (m_pStore ? m_pStore->lastFailure() : SqlBase::Failure::None) {
    case SqlBase::Failure::ReadOnly:
        return tr("The log book is open read-only; nothing can be stored in it.");
    case SqlBase::Failure::Offline:
        return tr("The database server does not answer. Nothing is stored until it answers "
                  "again; press F5 to connect again.");
    case SqlBase::Failure::Conflict:
        return tr("It was changed or deleted elsewhere in the meantime, so nothing was stored. "
                  "Its current values are shown now.");
    case SqlBase::Failure::TooLong:
        return tr("A text is longer than %1 characters.").arg(SqlBase::kMaxTextLength);
    default:
        return QString();
    }
}
