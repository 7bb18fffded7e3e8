#include "app/mainwindow.h"

#include "app/optionsdialog.h"
#include "app/tablecolumnfitter.h"
#include "app/translationfinder.h"
#include "charger/chargermanager.h"
#include "charger/chargerstatus.h"
#include "storage/mysqlconnection.h"
#include "storage/sqliteconnection.h"
#include "storage/statsmanager.h"
#include "ui_mainwindow.h"
#include "views/aboutdialog.h"
#include "views/accumanagementdialog.h"
#include "views/accustatstablemodel.h"
#include "views/logentrytablemodel.h"
#include "views/messagebox.h"
#include "views/modelmanagementdialog.h"
#include "views/modelstatstablemodel.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSignalBlocker>
#include <QTranslator>

namespace
{
// The item of a pack or model combo box whose data is the identifier; -1 when none is.
int indexOfId(const QComboBox* combo, int id)
{
    return combo->findData(id);
}

// The identifier behind the current item; 0 for an empty selection, which is what an entry
// without a pack or model is stored with.
int currentId(const QComboBox* combo)
{
    const QVariant data = combo->currentData();
    return data.isValid() ? data.toInt() : 0;
}

template <class Record> QVector<EntryBase*> asEntries(const QVector<Record*>& records)
{
    QVector<EntryBase*> out;
    out.reserve(records.size());
    for (Record* r : records)
        out.append(r);
    return out;
}

template <class Record> void deleteAll(QVector<Record*>* records)
{
    qDeleteAll(*records);
    records->clear();
}
} // namespace

MainWindow::MainWindow(QTranslator* translator, QApplication* app)
    : QMainWindow(nullptr), m_pUi(std::make_unique<Ui::MainWindow>()),
      m_pLogModel(new LogEntryTableModel), m_pModelStatsModel(new ModelStatsTableModel),
      m_pAccuStatsModel(new AccuStatsTableModel), m_pChargerManager(new ChargerManager),
      m_pTranslator(translator), m_pApp(app)
{
    m_pUi->setupUi(this);
    for (QTableView* table :
         {m_pUi->m_pTableLogList, m_pUi->m_pTableModelStats, m_pUi->m_pTableAccuStats}) {
        new TableColumnFitter(table);
        // Long titles (German ones above all) take a second line rather than being cut.
        table->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter |
                                                       Qt::Alignment(Qt::TextWordWrap));
    }
    m_pOptions = new OptionsDialog(this, m_pChargerManager);
    m_pChargerStatus = new ChargerStatus(this, m_pChargerManager, m_pDb);
    m_pUi->actionShowChargerStatus->setEnabled(m_pOptions->m_bUseCharger);
    connectDatabase();
    makeConnections();
}

MainWindow::~MainWindow()
{
    // The reader thread calls back into the status window; it must be gone first.
    if (m_pChargerManager->isOpen())
        m_pChargerManager->close();
    unbindStore();
    if (m_pDb) {
        m_pDb->disconnectDb();
        delete m_pDb;
        m_pDb = nullptr;
    }
    clearLogList();
    clearModelStatsList();
    clearAccuStatsList();
    delete m_pStatsManager;
    delete m_pLogModel;
    delete m_pModelStatsModel;
    delete m_pAccuStatsModel;
    delete m_pOptions;
    delete m_pChargerStatus;
    delete m_pChargerManager;
}

void MainWindow::makeConnections()
{
    Ui::MainWindow* ui = m_pUi.get();
    connect(ui->actionExit, &QAction::triggered, qApp, &QApplication::closeAllWindows);
    connect(ui->actionAccuManagement, &QAction::triggered, this, &MainWindow::showAccuManagement);
    connect(ui->actionModelManagement, &QAction::triggered, this, &MainWindow::showModelManagement);
    connect(ui->actionSettings, &QAction::triggered, this, &MainWindow::showOptionsDialog);
    connect(ui->actionEnglish, &QAction::triggered, this, &MainWindow::onLanguageEnglish);
    connect(ui->actionGerman, &QAction::triggered, this, &MainWindow::onLanguageGerman);
    connect(ui->actionShowChargerStatus, &QAction::triggered, this, &MainWindow::showChargerStatus);
    connect(ui->actionAbout, &QAction::triggered, this, &MainWindow::showAboutDialog);

    connect(ui->m_pTableLogList, &QTableView::clicked, this, &MainWindow::onCurrentLogEntryChange);
    connect(ui->m_pButtonAdd, &QPushButton::clicked, this, &MainWindow::onButtonAdd);
    connect(ui->m_pButtonChange, &QPushButton::clicked, this, &MainWindow::onButtonChange);
    connect(ui->m_pButtonRemove, &QPushButton::clicked, this, &MainWindow::onButtonRemove);
    connect(ui->m_pTabs, &QTabWidget::currentChanged, this, &MainWindow::onCurrentTabChanged);
    connect(ui->m_pModelList, &QComboBox::currentIndexChanged, this,
            &MainWindow::onCurrentModelChanged);
    connect(m_pChargerStatus, &ChargerStatus::signalApplyNewEntry, this,
            &MainWindow::onApplyEntryFromCharger);

    connect(ui->m_pCheckFilterByDate, &QCheckBox::stateChanged, this, &MainWindow::onFilterByDate);
    connect(ui->m_pFilterStartDate, &QDateEdit::dateChanged, this,
            &MainWindow::onFilterDateChanged);
    connect(ui->m_pFilterEndDate, &QDateEdit::dateChanged, this, &MainWindow::onFilterDateChanged);
    connect(ui->m_pCheckFilterByModel, &QCheckBox::stateChanged, this,
            &MainWindow::onFilterByModel);
    connect(ui->m_pFilterModel, &QComboBox::currentIndexChanged, this,
            &MainWindow::onFilterModelChanged);
    connect(ui->m_pCheckFilterByAccu, &QCheckBox::stateChanged, this, &MainWindow::onFilterByAccu);
    connect(ui->m_pFilterAccu, &QComboBox::currentIndexChanged, this,
            &MainWindow::onFilterAccuChanged);
    connect(ui->m_pCheckFilterByIncomplete, &QCheckBox::stateChanged, this,
            &MainWindow::onFilterByIncomplete);

    connect(ui->m_pCheckFilterStatsByDate, &QCheckBox::stateChanged, this,
            &MainWindow::onFilterStatsByDate);
    connect(ui->m_pFilterStatsStartDate, &QDateEdit::dateChanged, this,
            &MainWindow::onFilterStatsDateChanged);
    connect(ui->m_pFilterStatsEndDate, &QDateEdit::dateChanged, this,
            &MainWindow::onFilterStatsDateChanged);
    connect(ui->m_pCheckFilterStatsByModel, &QCheckBox::stateChanged, this,
            &MainWindow::onFilterStatsByModel);
    connect(ui->m_pFilterStatsModel, &QComboBox::currentIndexChanged, this,
            &MainWindow::onFilterStatsModelChanged);
    connect(ui->m_pCheckFilterStatsByAccu, &QCheckBox::stateChanged, this,
            &MainWindow::onFilterStatsByAccu);
    connect(ui->m_pFilterStatsAccu, &QComboBox::currentIndexChanged, this,
            &MainWindow::onFilterStatsAccuChanged);

    connect(ui->m_pCheckFilterStatsByDate2, &QCheckBox::stateChanged, this,
            &MainWindow::onFilterStatsByDate2);
    connect(ui->m_pFilterStatsStartDate2, &QDateEdit::dateChanged, this,
            &MainWindow::onFilterStatsDateChanged2);
    connect(ui->m_pFilterStatsEndDate2, &QDateEdit::dateChanged, this,
            &MainWindow::onFilterStatsDateChanged2);
    connect(ui->m_pCheckFilterStatsByModel2, &QCheckBox::stateChanged, this,
            &MainWindow::onFilterStatsByModel2);
    connect(ui->m_pFilterStatsModel2, &QComboBox::currentIndexChanged, this,
            &MainWindow::onFilterStatsModelChanged2);
    connect(ui->m_pCheckFilterStatsByAccu2, &QCheckBox::stateChanged, this,
            &MainWindow::onFilterStatsByAccu2);
    connect(ui->m_pFilterStatsAccu2, &QComboBox::currentIndexChanged, this,
            &MainWindow::onFilterStatsAccuChanged2);
}

// ---- store ------------------------------------------------------------------------------

bool MainWindow::isStoreOpen() const
{
    return m_pDb && m_pDb->isConnected();
}

void MainWindow::showConnectError()
{
    MessageBox::warning(this, tr("Erro connecting to DB"),
                        tr("There was an error connection to the Database\n") + m_strConnectError);
}

bool MainWindow::storeReady()
{
    if (isStoreOpen())
        return true;
    showConnectError();
    return false;
}

void MainWindow::unbindStore()
{
    m_pLogModel->setEntries(nullptr);
    m_pModelStatsModel->setEntries(nullptr);
    m_pAccuStatsModel->setEntries(nullptr);
    m_pLogModel->m_pDb = nullptr;
    m_pModelStatsModel->m_pDb = nullptr;
    m_pAccuStatsModel->m_pDb = nullptr;
    clearLogList();
    clearModelStatsList();
    clearAccuStatsList();
    delete m_pStatsManager;
    m_pStatsManager = nullptr;
    if (m_pChargerStatus)
        m_pChargerStatus->setDb(nullptr);
}

bool MainWindow::connectDatabase()
{
    unbindStore();
    if (m_pDb) {
        if (m_pDb->isConnected())
            m_pDb->disconnectDb();
        delete m_pDb;
        m_pDb = nullptr;
    }
    if (m_pOptions->m_bUseSqlite)
        m_pDb = new SqLiteConnection(m_pOptions->sqliteFile());
    else
        m_pDb = new MysqlConnection(m_pOptions->host(), m_pOptions->m_iPort, m_pOptions->database(),
                                    m_pOptions->user(), m_pOptions->password());

    QString error;
    if (!m_pDb->openDb(&error)) {
        // The failed store stays until the next connect, but nothing reads through it.
        m_strConnectError = error;
        updateCountLabel();
        showConnectError();
        return false;
    }
    m_strConnectError.clear();

    m_pStatsManager = new StatsManager(m_pDb);

    const QDate today = QDate::currentDate();
    Ui::MainWindow* ui = m_pUi.get();
    for (QDateEdit* edit :
         {ui->m_pDate, ui->m_pFilterStartDate, ui->m_pFilterEndDate, ui->m_pFilterStatsStartDate,
          ui->m_pFilterStatsEndDate, ui->m_pFilterStatsStartDate2, ui->m_pFilterStatsEndDate2}) {
        // The lists are refreshed once below, not once per date editor.
        const QSignalBlocker blocker(edit);
        edit->setDate(today);
    }

    m_pLogModel->m_pDb = m_pDb;
    ui->m_pTableLogList->setModel(m_pLogModel);
    ui->m_pTableLogList->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui->m_pTableLogList->setSelectionMode(QAbstractItemView::SingleSelection);
    ui->m_pTableLogList->setColumnWidth(4, 150);

    m_pModelStatsModel->m_pDb = m_pDb;
    ui->m_pTableModelStats->setModel(m_pModelStatsModel);
    ui->m_pTableModelStats->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui->m_pTableModelStats->setSelectionMode(QAbstractItemView::SingleSelection);

    m_pAccuStatsModel->m_pDb = m_pDb;
    ui->m_pTableAccuStats->setModel(m_pAccuStatsModel);
    ui->m_pTableAccuStats->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui->m_pTableAccuStats->setSelectionMode(QAbstractItemView::SingleSelection);

    fillAccuLists();
    fillModelLists();
    refreshLogList();

    m_pChargerStatus->setDb(m_pDb);
    // A statistics tab in view shows the new store's figures, not an emptied table.
    if (ui->m_pTabs->currentIndex() != 0)
        onCurrentTabChanged(ui->m_pTabs->currentIndex());
    return true;
}

void MainWindow::refillCombos(const QVector<QComboBox*>& combos,
                              const QVector<QPair<QString, int>>& items)
{
    for (QComboBox* combo : combos) {
        const QVariant before = combo->currentData();
        {
            // Clearing and the first item would each refresh a list on their own.
            const QSignalBlocker blocker(combo);
            combo->clear();
            for (const auto& item : items)
                combo->addItem(item.first, item.second);
        }
        if (combo->currentData() != before)
            emit combo->currentIndexChanged(combo->currentIndex());
    }
}

void MainWindow::fillAccuLists()
{
    QVector<AccuEntry> accus;
    if (!isStoreOpen() || !m_pDb->getAccus(&accus))
        return;
    QVector<QPair<QString, int>> items;
    for (const AccuEntry& accu : accus)
        items.append({accu.toString(), accu.m_iId});
    Ui::MainWindow* ui = m_pUi.get();
    refillCombos(
        {ui->m_pAccuList, ui->m_pFilterAccu, ui->m_pFilterStatsAccu, ui->m_pFilterStatsAccu2},
        items);
}

void MainWindow::fillModelLists()
{
    QVector<ModelEntry> models;
    if (!isStoreOpen() || !m_pDb->getModels(&models))
        return;
    QVector<QPair<QString, int>> items;
    for (const ModelEntry& model : models)
        items.append({model.toString(), model.m_iId});
    Ui::MainWindow* ui = m_pUi.get();
    refillCombos(
        {ui->m_pModelList, ui->m_pFilterModel, ui->m_pFilterStatsModel, ui->m_pFilterStatsModel2},
        items);
}

void MainWindow::fitColumns(QTableView* table)
{
    if (auto* fitter = table->findChild<TableColumnFitter*>(QString(), Qt::FindDirectChildrenOnly))
        fitter->fit();
}

// ---- log tab ----------------------------------------------------------------------------

void MainWindow::clearLogList()
{
    deleteAll(&m_logEntries);
}

void MainWindow::updateCountLabel()
{
    m_pUi->m_labelNumResults->setText(QString::number(m_logEntries.size()) + tr(" entrys"));
}

void MainWindow::refreshLogList()
{
    Ui::MainWindow* ui = m_pUi.get();
    int flags = 0;
    QDate start, end;
    if (ui->m_pCheckFilterByDate->isChecked()) {
        start = ui->m_pFilterStartDate->date();
        end = ui->m_pFilterEndDate->date();
        if (end < start)
            MessageBox::warning(this, tr("Filter by Date error"),
                                tr("Start date has to be before end date"));
        else
            flags |= SqlBase::FilterDate;
    }
    if (ui->m_pCheckFilterByIncomplete->isChecked())
        flags |= SqlBase::FilterIncomplete;
    if (ui->m_pCheckFilterByModel->isChecked())
        flags |= SqlBase::FilterModel;
    if (ui->m_pCheckFilterByAccu->isChecked())
        flags |= SqlBase::FilterAccu;

    // The view lets go of the records before they are deleted.
    m_pLogModel->setEntries(nullptr);
    clearLogList();
    if (isStoreOpen()) {
        if (flags & SqlBase::FilterDate)
            m_pDb->setFilterDates(start, end);
        if (flags & SqlBase::FilterModel)
            m_pDb->m_iFilterModelId = currentId(ui->m_pFilterModel);
        if (flags & SqlBase::FilterAccu)
            m_pDb->m_iFilterAccuId = currentId(ui->m_pFilterAccu);
        if (flags == 0 && m_pDb->m_bLogCached) {
            // Opening the store has just read the whole log; reading it again would double
            // the start-up time of a large log book.
            const QVector<LogEntry*>& cache = m_pDb->logCache();
            m_logEntries.reserve(cache.size());
            for (const LogEntry* entry : cache)
                m_logEntries.append(new LogEntry(*entry));
        } else if (!m_pDb->readLogEntries(&m_logEntries, flags)) {
            clearLogList();
        }
    }
    QVector<EntryBase*> shown = asEntries(m_logEntries);
    m_pLogModel->setEntries(&shown);
    fitColumns(ui->m_pTableLogList);
    updateCountLabel();
}

void MainWindow::onFilterByDate(int _iState)
{
    const bool on = _iState == Qt::Checked;
    m_pUi->m_pFilterStartDate->setEnabled(on);
    m_pUi->m_pFilterEndDate->setEnabled(on);
    refreshLogList();
}

void MainWindow::onFilterDateChanged(QDate)
{
    refreshLogList();
}

void MainWindow::onFilterByModel(int _iState)
{
    m_pUi->m_pFilterModel->setEnabled(_iState == Qt::Checked);
    refreshLogList();
}

void MainWindow::onFilterModelChanged(int)
{
    refreshLogList();
}

void MainWindow::onFilterByAccu(int _iState)
{
    m_pUi->m_pFilterAccu->setEnabled(_iState == Qt::Checked);
    refreshLogList();
}

void MainWindow::onFilterAccuChanged(int)
{
    refreshLogList();
}

void MainWindow::onFilterByIncomplete(int)
{
    refreshLogList();
}

void MainWindow::onCurrentLogEntryChange(QModelIndex _selected)
{
    if (!m_mutex.tryLock())
        return;
    const auto* entry = _selected.row() >= 0
                            ? static_cast<LogEntry*>(m_pLogModel->entryAt(_selected.row()))
                            : nullptr;
    if (entry) {
        Ui::MainWindow* ui = m_pUi.get();
        ui->m_pCharged->setValue(entry->m_iCharged);
        ui->m_pDate->setDate(entry->m_date);
        ui->m_pTime->setTime(entry->m_time);
        ui->m_pAccuList->setCurrentIndex(indexOfId(ui->m_pAccuList, entry->m_iAccuId));
        ui->m_pModelList->setCurrentIndex(indexOfId(ui->m_pModelList, entry->m_iModelId));
    }
    m_mutex.unlock();
}

void MainWindow::onButtonAdd()
{
    if (!storeReady())
        return;
    Ui::MainWindow* ui = m_pUi.get();
    auto entry = std::make_unique<LogEntry>(m_pDb, ui->m_pDate->date(), ui->m_pTime->time(),
                                            ui->m_pCharged->value(), currentId(ui->m_pAccuList),
                                            currentId(ui->m_pModelList), -1);
    if (m_pDb->addLogEntry(entry.get()) < 0) {
        MessageBox::warning(this, tr("Error adding entry"),
                            tr("The entry could not be stored in the database."));
        return;
    }
    // Shown at the end whether or not it passes the filters; the next refresh sorts it in.
    LogEntry* added = entry.release();
    m_logEntries.append(added);
    m_pLogModel->appendEntry(added);
    ui->m_pTableLogList->viewport()->update();
}

void MainWindow::onButtonChange()
{
    if (!m_mutex.tryLock())
        return;
    Ui::MainWindow* ui = m_pUi.get();
    if (!storeReady()) {
        m_mutex.unlock();
        return;
    }
    const int row = ui->m_pTableLogList->currentIndex().row();
    auto* entry = static_cast<LogEntry*>(m_pLogModel->entryAt(row));
    if (!entry) {
        m_mutex.unlock();
        return;
    }
    LogEntry edited(*entry);
    edited.m_date = ui->m_pDate->date();
    edited.m_time = ui->m_pTime->time();
    edited.m_iAccuId = currentId(ui->m_pAccuList);
    edited.m_iModelId = currentId(ui->m_pModelList);
    edited.m_iCharged = ui->m_pCharged->value();

    bool stored = m_pDb->changeLogEntry(entry->m_iId, &edited);
    if (!stored) {
        // A server reports no change when the row already held these values; that is not a
        // failure.
        LogEntry held;
        stored = m_pDb->readLogEntry(entry->m_iId, &held) && held.m_date == edited.m_date &&
                 held.m_time == edited.m_time && held.m_iAccuId == edited.m_iAccuId &&
                 held.m_iModelId == edited.m_iModelId && held.m_iCharged == edited.m_iCharged;
    }
    if (stored) {
        *entry = edited;
        m_pLogModel->replaceEntry(row, entry);
        ui->m_pTableLogList->selectionModel()->setCurrentIndex(m_pLogModel->index(row, 0),
                                                               QItemSelectionModel::Rows);
        m_mutex.unlock();
        return;
    }
    m_mutex.unlock();
    MessageBox::warning(this, tr("Error changing entry"),
                        tr("The entry could not be changed in the database."));
    // Show what the store really holds.
    refreshLogList();
}

void MainWindow::onButtonRemove()
{
    if (!storeReady())
        return;
    QTableView* table = m_pUi->m_pTableLogList;
    const QModelIndex current = table->currentIndex();
    const int row = current.row();
    const EntryBase* entry = m_pLogModel->entryAt(row);
    if (!entry)
        return;
    if (!m_pDb->deleteLogEntry(entry->m_iId)) {
        MessageBox::warning(this, tr("Error removing entry"),
                            tr("The entry could not be removed from the database."));
        refreshLogList();
        return;
    }
    m_pLogModel->removeEntry(row);
    refreshLogList();
    const QModelIndex again = m_pLogModel->index(row, current.column());
    if (again.isValid())
        table->setCurrentIndex(again);
}

void MainWindow::applyTimeFormat(int modelIndex)
{
    if (!isStoreOpen() || modelIndex < 0)
        return;
    const QVariant data = m_pUi->m_pModelList->itemData(modelIndex);
    if (!data.isValid())
        return;
    ModelEntry model;
    if (!m_pDb->getModel(data.toInt(), &model))
        return;
    m_pUi->m_pTime->setDisplayFormat(model.m_iTyp == ModelEntry::kTypRc ? QStringLiteral("hh:mm:ss")
                                                                        : QStringLiteral("mm:ss"));
}

void MainWindow::onCurrentModelChanged(int _iIndex)
{
    applyTimeFormat(_iIndex);
}

void MainWindow::onCurrentTabChanged(int _iIndex)
{
    switch (_iIndex) {
    case 0:
        refreshLogList();
        break;
    case 1:
        refreshModelStats();
        break;
    case 2:
        refreshAccuStats();
        break;
    default:
        break;
    }
}

void MainWindow::onApplyEntryFromCharger(int _iAccuId, int _iCharged)
{
    if (_iAccuId != -1)
        m_pUi->m_pAccuList->setCurrentIndex(indexOfId(m_pUi->m_pAccuList, _iAccuId));
    m_pUi->m_pCharged->setValue(_iCharged);
}

// ---- statistics tabs --------------------------------------------------------------------

void MainWindow::clearModelStatsList()
{
    deleteAll(&m_modelStats);
}

void MainWindow::clearAccuStatsList()
{
    deleteAll(&m_accuStats);
}

namespace
{
// The filter flags of one statistics tab; hands the filter values to the statistics manager.
int statsFilterFlags(QWidget* parent, StatsManager* stats, QCheckBox* byDate, QDateEdit* start,
                     QDateEdit* end, QCheckBox* byModel, QComboBox* model, QCheckBox* byAccu,
                     QComboBox* accu)
{
    int flags = 0;
    if (byDate->isChecked()) {
        if (end->date() < start->date()) {
            MessageBox::warning(parent, MainWindow::tr("Filter by Date error"),
                                MainWindow::tr("Start date has to be before end date"));
        } else {
            if (stats)
                stats->setDateRange(start->date(), end->date());
            flags |= SqlBase::FilterDate;
        }
    }
    if (byModel->isChecked()) {
        if (stats)
            stats->setModelFilter(currentId(model));
        flags |= SqlBase::FilterModel;
    }
    if (byAccu->isChecked()) {
        if (stats)
            stats->setAccuFilter(currentId(accu));
        flags |= SqlBase::FilterAccu;
    }
    return flags;
}
} // namespace

void MainWindow::refreshModelStats()
{
    Ui::MainWindow* ui = m_pUi.get();
    const int flags = statsFilterFlags(this, m_pStatsManager, ui->m_pCheckFilterStatsByDate,
                                       ui->m_pFilterStatsStartDate, ui->m_pFilterStatsEndDate,
                                       ui->m_pCheckFilterStatsByModel, ui->m_pFilterStatsModel,
                                       ui->m_pCheckFilterStatsByAccu, ui->m_pFilterStatsAccu);
    m_pModelStatsModel->setEntries(nullptr);
    clearModelStatsList();
    if (!m_pStatsManager || !m_pStatsManager->getModelStats(&m_modelStats, flags))
        clearModelStatsList();
    QVector<EntryBase*> shown = asEntries(m_modelStats);
    m_pModelStatsModel->setEntries(&shown);
    fitColumns(ui->m_pTableModelStats);
}

void MainWindow::refreshAccuStats()
{
    Ui::MainWindow* ui = m_pUi.get();
    const int flags = statsFilterFlags(this, m_pStatsManager, ui->m_pCheckFilterStatsByDate2,
                                       ui->m_pFilterStatsStartDate2, ui->m_pFilterStatsEndDate2,
                                       ui->m_pCheckFilterStatsByModel2, ui->m_pFilterStatsModel2,
                                       ui->m_pCheckFilterStatsByAccu2, ui->m_pFilterStatsAccu2);
    m_pAccuStatsModel->setEntries(nullptr);
    clearAccuStatsList();
    if (!m_pStatsManager || !m_pStatsManager->getAccuStats(&m_accuStats, flags))
        clearAccuStatsList();
    QVector<EntryBase*> shown = asEntries(m_accuStats);
    m_pAccuStatsModel->setEntries(&shown);
    fitColumns(ui->m_pTableAccuStats);
}

void MainWindow::onFilterStatsByDate(int _iState)
{
    const bool on = _iState == Qt::Checked;
    m_pUi->m_pFilterStatsStartDate->setEnabled(on);
    m_pUi->m_pFilterStatsEndDate->setEnabled(on);
    refreshModelStats();
}

void MainWindow::onFilterStatsDateChanged(QDate)
{
    refreshModelStats();
}

void MainWindow::onFilterStatsByModel(int _iState)
{
    m_pUi->m_pFilterStatsModel->setEnabled(_iState == Qt::Checked);
    refreshModelStats();
}

void MainWindow::onFilterStatsModelChanged(int)
{
    refreshModelStats();
}

void MainWindow::onFilterStatsByAccu(int _iState)
{
    m_pUi->m_pFilterStatsAccu->setEnabled(_iState == Qt::Checked);
    refreshModelStats();
}

void MainWindow::onFilterStatsAccuChanged(int)
{
    refreshModelStats();
}

void MainWindow::onFilterStatsByDate2(int _iState)
{
    const bool on = _iState == Qt::Checked;
    m_pUi->m_pFilterStatsStartDate2->setEnabled(on);
    m_pUi->m_pFilterStatsEndDate2->setEnabled(on);
    refreshAccuStats();
}

void MainWindow::onFilterStatsDateChanged2(QDate)
{
    refreshAccuStats();
}

void MainWindow::onFilterStatsByModel2(int _iState)
{
    m_pUi->m_pFilterStatsModel2->setEnabled(_iState == Qt::Checked);
    refreshAccuStats();
}

void MainWindow::onFilterStatsModelChanged2(int)
{
    refreshAccuStats();
}

void MainWindow::onFilterStatsByAccu2(int _iState)
{
    m_pUi->m_pFilterStatsAccu2->setEnabled(_iState == Qt::Checked);
    refreshAccuStats();
}

void MainWindow::onFilterStatsAccuChanged2(int)
{
    refreshAccuStats();
}

// ---- dialogs ----------------------------------------------------------------------------

void MainWindow::showAccuManagement()
{
    if (!storeReady())
        return;
    {
        AccuManagementDialog dialog(this, m_pDb);
        dialog.exec();
    }
    fillAccuLists();
    // Pack descriptions and rest figures in the log come from the pack list.
    m_pUi->m_pTableLogList->viewport()->update();
}

void MainWindow::showModelManagement()
{
    if (!storeReady())
        return;
    {
        ModelManagementDialog dialog(this, m_pDb);
        dialog.exec();
    }
    fillModelLists();
    m_pUi->m_pTableLogList->viewport()->update();
}

void MainWindow::showOptionsDialog()
{
    if (m_pOptions->exec() != QDialog::Accepted)
        return;
    m_pOptions->takeValues();
    m_pOptions->writeSettings();
    m_pUi->actionShowChargerStatus->setEnabled(m_pOptions->m_bUseCharger);
    connectDatabase();
    refreshLogList();
}

void MainWindow::showAboutDialog()
{
    AboutDialog dialog(this);
    dialog.exec();
}

int MainWindow::chargerPortIndex(int chargerClass) const
{
    // The options list leaves out ports whose name cannot be read, so a position in it can
    // name another port of the manager; the saved name is what the user chose.
    int count = 0;
    if (m_pChargerManager->getClassPortCount(chargerClass, &count) == ChargerBase::ResultDone) {
        for (int i = 0; i < count; ++i) {
            char name[ChargerBase::kTextBufferSize] = {};
            if (m_pChargerManager->getClassPortName(chargerClass, i, name) ==
                    ChargerBase::ResultDone &&
                QString::fromUtf8(name) == m_pOptions->m_strChargerPort)
                return i;
        }
    }
    return m_pOptions->portIndex();
}

void MainWindow::showChargerStatus()
{
    const auto selection = m_pOptions->chargerSelection();
    const int chargerClass = selection.first;
    const int subtype = selection.second;
    const int port = chargerPortIndex(chargerClass);

    char className[ChargerBase::kTextBufferSize] = {};
    char subtypeName[ChargerBase::kTextBufferSize] = {};
    if (m_pChargerManager->openCharger(chargerClass, subtype, port) == ChargerBase::ResultDone) {
        if (m_pChargerManager->getClassName(chargerClass, className) == ChargerBase::ResultDone &&
            m_pChargerManager->getClassSubtypeName(chargerClass, subtype, subtypeName) ==
                ChargerBase::ResultDone) {
            m_pChargerStatus->setChargerName(QString::fromUtf8(className) + QLatin1Char(' ') +
                                             QString::fromUtf8(subtypeName));
            m_pChargerStatus->show();
        }
        return;
    }
    // Composed as a string: a long port name or translation is never cut.
    QString message = tr("Couldn't open port\n");
    char portName[ChargerBase::kTextBufferSize] = {};
    if (m_pChargerManager->getClassPortName(chargerClass, port, portName) ==
        ChargerBase::ResultDone)
        message =
            tr("Couldn't open port %s\n").replace(QLatin1String("%s"), QString::fromUtf8(portName));
    MessageBox::warning(this, tr("Error opening port"), message);
}

// ---- languages --------------------------------------------------------------------------

void MainWindow::retranslate()
{
    m_pUi->retranslateUi(this);
    // The form's texts include the time format; keep the one the chosen model needs.
    applyTimeFormat(m_pUi->m_pModelList->currentIndex());
}

bool MainWindow::changeLanguage(QString file)
{
    bool loaded = false;
    if (m_pTranslator) {
        QCoreApplication::removeTranslator(m_pTranslator);
        loaded = TranslationFinder::load(m_pTranslator, file);
        QCoreApplication::installTranslator(m_pTranslator);
    }
    retranslate();
    m_pOptions->retranslate();
    m_pChargerStatus->retranslateUi(m_pChargerStatus);
    updateCountLabel();
    // The column titles come from the table models; let the headers ask again.
    for (QTableView* table :
         {m_pUi->m_pTableLogList, m_pUi->m_pTableModelStats, m_pUi->m_pTableAccuStats})
        table->horizontalHeader()->viewport()->update();
    return loaded;
}

void MainWindow::onLanguageEnglish()
{
    changeLanguage(QString());
}

void MainWindow::onLanguageGerman()
{
    if (!changeLanguage(QStringLiteral("trans_de.qm")))
        MessageBox::warning(this, tr("Error changing language"),
                            tr("Couldn't load german language file\n"));
}
