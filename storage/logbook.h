// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_LOGBOOK_H
#define TARVELO_LOGBOOK_H

#include "records/accuentry.h"
#include "records/logentry.h"
#include "records/modelentry.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QVector>

#include <memory>

class SqlBase;
class StatsManager;
class WorkRunner;

// The open log book: owns the store and the statistics manager, and is the one way the
// program writes. Every change is announced, so that tables, selections, the editor and the
// charger window follow it without being told by hand. The log is the store's one copy,
// ordered by date and identifier, read by row.
class LogBook : public QObject
{
    Q_OBJECT

public:
    explicit LogBook(QObject* parent = nullptr);
    ~LogBook() override;

    // Takes over a store and opens it, through the runner; the one before is closed and deleted
    // either way, unless the open was cancelled: then the new store is dropped and the one
    // before stays as it was. A store that fails to open is kept (closed), so that its error
    // text can be shown.
    bool open(std::unique_ptr<SqlBase> store, QString* errorText);
    // The last open() was cancelled.
    bool openCancelled() const { return m_bOpenCancelled; }
    // Runs long work (an open) with progress; null runs it at once. Not owned.
    void setRunner(WorkRunner* runner) { m_pRunner = runner; }
    WorkRunner* runner() const;
    bool isOpen() const;
    bool isReadOnly() const;
    // The server stopped answering; every write fails at once until a reload connects again.
    bool isOffline() const;
    // Null before the first open.
    SqlBase* store() const { return m_pStore.get(); }
    StatsManager* stats() const { return m_pStats.get(); }
    // Reads everything anew (changes made by others show); the lists stay as they were when
    // that fails.
    bool reload(QString* errorText);

    // The log, ordered by date and within a day by identifier.
    int count() const;
    const LogEntry* entryAt(int row) const;
    // Row of the entry with that identifier, or -1.
    int rowOf(int id) const;
    // The day of the first entry; null without entries.
    QDate firstDate() const;

    const QVector<AccuEntry>& accus() const;
    const QVector<ModelEntry>& models() const;
    // False when there is none with that identifier.
    bool accu(int id, AccuEntry* out) const;
    bool model(int id, ModelEntry* out) const;
    // How many entries name that pack or model.
    int entriesWithAccu(int accuId) const;
    int entriesWithModel(int modelId) const;
    // How many entries name each pack, from one pass over the log.
    QHash<int, int> entriesPerAccu() const;

    // The writes. Each answers the new identifier (-1) or whether it was stored, and on
    // success announces it.
    int addEntry(LogEntry entry);
    bool changeEntry(int id, LogEntry entry);
    bool removeEntry(int id);
    int addAccu(AccuEntry accu);
    bool changeAccu(int id, AccuEntry accu);
    bool removeAccu(int id);
    int addModel(ModelEntry model);
    bool changeModel(int id, ModelEntry model);
    bool removeModel(int id);
    // A removed record back under its old identifier, every value as it was (undo). Refused,
    // as a change made elsewhere, when that identifier is taken.
    bool restoreEntry(LogEntry entry);
    bool restoreAccu(AccuEntry accu);
    bool restoreModel(ModelEntry model);

    // Why the last open, reload or write failed, in the store's words.
    QString lastError() const;
    // Why the last write failed, for the user, when the store knows a reason the user can act
    // on (read-only, offline, changed elsewhere, a text too long); empty otherwise.
    QString failureText() const;

signals:
    // A new store took the place of the old one (opened or not): everything is new.
    void storeReplaced();
    // The whole log book was read again.
    void reloaded();
    // Rows of the log after the change; the rows behind it moved by one.
    void entryAdded(int row);
    // The entry was at oldRow before and is at newRow now (the same row when its date stayed);
    // the rows between moved by one.
    void entryChanged(int oldRow, int newRow);
    // The row the entry had.
    void entryRemoved(int row);
    void accusChanged();
    void modelsChanged();
    // The log book became read-only, offline or writable again.
    void accessChanged();
    // A call to the store starts (true) or ends (false); a server may take seconds to answer.
    void busy(bool working);

private:
    int announce(int id, void (LogBook::*changed)());
    bool announce(bool stored, void (LogBook::*changed)());
    // Runs a call to the store between busy signals; announces a change of access.
    template <class Call> auto call(Call storeCall);
    // After a write refused because the row changed elsewhere, the views follow the row's
    // current values.
    void followConflict(int id, int oldRow);

    std::unique_ptr<SqlBase> m_pStore;
    std::unique_ptr<StatsManager> m_pStats;
    WorkRunner* m_pRunner = nullptr;
    bool m_bOpenCancelled = false;
};

#endif
