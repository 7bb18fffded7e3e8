// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_TESTS_STORAGESUITE_H
#define TARVELO_TESTS_STORAGESUITE_H

#include "storage/sqlbase.h"

#include <QObject>

#include <functional>
#include <memory>

// Where the suite gets its stores from. Each function returns a new store object that is not
// yet opened; the suite owns and opens it.
struct StorageBackend {
    // A store over a new, empty database. Called once before every test function.
    std::function<SqlBase*()> createEmpty;
    // Another store over the database of the last createEmpty call: a second program working
    // on the same data.
    std::function<SqlBase*()> createSame;
};

// The behaviour every store shares, written once against SqlBase. A backend's test program
// instantiates it with its own StorageBackend and runs it with QTest::qExec. Identifiers are
// only compared with each other, never with fixed numbers.
class StorageSuite : public QObject
{
    Q_OBJECT

public:
    explicit StorageSuite(StorageBackend backend, QObject* parent = nullptr);
    ~StorageSuite() override;

private slots:
    void init();
    void cleanup();

    void emptyStore();
    void openFillsCaches();
    void secondOpenReloadsCaches();
    void disconnectEndsAccess();
    void failedReadsLeaveCaches_data();
    void failedReadsLeaveCaches();

    void modelRoundTrip_data();
    void modelRoundTrip();
    void accuRoundTrip_data();
    void accuRoundTrip();
    void logRoundTrip_data();
    void logRoundTrip();
    void identifiersGrowAndListsAreOrdered();
    void listReadsAppend();

    void changeUpdatesCache_data();
    void changeUpdatesCache();
    void changeToSameValuesSucceeds_data();
    void changeToSameValuesSucceeds();
    void changeOrDeleteOfMissingRowFails_data();
    void changeOrDeleteOfMissingRowFails();
    void deleteRemovesRowAndReloadsCache_data();
    void deleteRemovesRowAndReloadsCache();
    void restoredRowKeepsItsIdentifier_data();
    void restoredRowKeepsItsIdentifier();
    void refusedArguments_data();
    void refusedArguments();
    void textsAreCapped_data();
    void textsAreCapped();
    void concurrentWritesLoseNothing_data();
    void concurrentWritesLoseNothing();

    void cacheServesLookups();
    void idListsFollowCache();
    void recordsStoreThemselves();

    void logFilters_data();
    void logFilters();
    void dateFilterBounds_data();
    void dateFilterBounds();

    void modelStatistics_data();
    void modelStatistics();
    void accuStatistics_data();
    void accuStatistics();
    void statisticsCountOnlyTheirOwnEntries();
    void statisticsOfMissingIdentifiers();
    void statsManagerFilters_data();
    void statsManagerFilters();
    void statsTotalsBeyondADay();
    void statsManagerWithoutStore();

private:
    SqlBase* openSame();
    SqlBase* db() const { return m_db.get(); }

    StorageBackend m_backend;
    std::unique_ptr<SqlBase> m_db;
    std::unique_ptr<SqlBase> m_other;
};

// A test program here runs several test objects with one command line. This runs one of
// them, unless the command line names test functions and none of them belongs to it.
int runTestObject(QObject* test, int argc, char** argv);

#endif
