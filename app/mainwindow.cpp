// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "app/mainwindow.h"

#include "app/logbookexchange.h"
#include "app/logbookfiles.h"
#include "app/logtab.h"
#include "app/optionsdialog.h"
#include "app/statstab.h"
#include "app/tablecolumnfitter.h"
#include "app/translationfinder.h"
#include "charger/chargermanager.h"
#include "charger/chargerstatus.h"
#include "charger/portadvice.h"
#include "charger/portlist.h"
#include "records/numberformat.h"
#include "settings/tarvelosettings.h"
#include "storage/demobook.h"
#include "storage/logbook.h"
#include "storage/mysqlconnection.h"
#include "storage/sqlbase.h"
#include "storage/sqliteconnection.h"
#include "ui_mainwindow.h"
#include "views/aboutdialog.h"
#include "views/accumanagementdialog.h"
#include "views/logentrytablemodel.h"
#include "views/messagebox.h"
#include "views/modelmanagementdialog.h"
#include "views/packhistorywindow.h"
#include "views/progressrunner.h"
#include "views/statstablemodel.h"
#include "views/undohistory.h"

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QSignalBlocker>
#include <QTranslator>

using Key = SettingsValues::Key;

namespace
{
// All that chooses the store, to tell whether the user chose another one.
QStringList databaseChoice(const SettingsValues& v)
{
    return {QString::number(v.useSqlite()),
            v.sqliteFile(),
            QString::number(v.port()),
            v.host(),
            v.database(),
            v.user(),
            v.password()};
}
} // namespace

MainWindow::MainWindow(QTranslator* translator, QApplication* app, const QString& logBookFile)
    : QMainWindow(nullptr), m_pUi(std::make_unique<Ui::MainWindow>()),
      m_pRunner(std::make_unique<ProgressRunner>(this)), m_pSettings(new TarveloSettings(this)),
      m_pBook(new LogBook(this)), m_pHistory(new UndoHistory(m_pBook, this)),
      m_pChargerManager(new ChargerManager), m_pTranslator(translator), m_pApp(app),
      m_strLogBookFile(logBookFile)
{
    m_pUi->setupUi(this);
    const bool settingsRead = m_pSettings->load();
    Ui::MainWindow* ui = m_pUi.get();
    for (QTableView* table : {ui->m_pTableLogList, ui->m_pTableModelStats, ui->m_pTableAccuStats}) {
        auto* fitter = new TableColumnFitter(table);
        // Names take the room the figures leave.
        if (table == ui->m_pTableLogList)
            fitter->setStretchColumns(
                {LogEntryTableModel::ColumnAccu, LogEntryTableModel::ColumnModel});
        else
            fitter->setStretchColumns({StatsTableModel::ColumnName});
        table->horizontalHeader()->setStretchLastSection(false);
        // Long titles (German ones above all) take a second line rather than being cut.
        table->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter |
                                                       Qt::Alignment(Qt::TextWordWrap));
    }
    m_pHistory->attach(ui->actionUndo, ui->actionRedo);
    // Before any figure is written; a window made after another starts from its own language.
    useLocale(languageLocale());
    m_pLogTab = new LogTab(ui, m_pHistory, this);
    m_pModelStatsTab = new StatsTab(
        StatsTab::Kind::Models,
        {ui->m_pModelStatsTab, ui->m_pCheckFilterStatsByDate, ui->m_pFilterStatsStartDate,
         ui->m_pFilterStatsEndDate, ui->m_pCheckFilterStatsByModel, ui->m_pFilterStatsModel,
         ui->m_pCheckFilterStatsByAccu, ui->m_pFilterStatsAccu, ui->m_pTableModelStats},
        m_pBook, nullptr, this);
    m_pAccuStatsTab = new StatsTab(
        StatsTab::Kind::Accus,
        {ui->m_pAccuStatsTab, ui->m_pCheckFilterStatsByDate2, ui->m_pFilterStatsStartDate2,
         ui->m_pFilterStatsEndDate2, ui->m_pCheckFilterStatsByModel2, ui->m_pFilterStatsModel2,
         ui->m_pCheckFilterStatsByAccu2, ui->m_pFilterStatsAccu2, ui->m_pTableAccuStats},
        m_pBook, m_pSettings, this);
    m_pBook->setRunner(m_pRunner.get());
    new LogBookExchange(ui, {m_pBook, m_pLogTab->model(), m_pModelStatsTab, m_pAccuStatsTab},
                        m_pSettings, m_pRunner.get(), this);
    m_pOptions = new OptionsDialog(this, m_pChargerManager, m_pSettings);
    m_pChargerStatus = new ChargerStatus(this, m_pChargerManager, m_pBook);
    m_pChargerStatus->setSettings(m_pSettings);
    connect(m_pBook, &LogBook::storeReplaced, this, &MainWindow::updateStoreActions);
    m_pFiles = new LogBookFiles(ui, m_pSettings, this);
    connect(m_pFiles, &LogBookFiles::openWanted, this, &MainWindow::openLogBookFile);
    connect(m_pBook, &LogBook::storeReplaced, this, &MainWindow::onStoreOpened);
    connect(m_pBook, &LogBook::accessChanged, this, &MainWindow::applyAccess);
    connect(m_pBook, &LogBook::reloaded, this, &MainWindow::applyAccess);
    // A server may take seconds to answer or to time out.
    connect(m_pBook, &LogBook::busy, this, [](bool working) {
        if (working)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });
    connect(m_pSettings, &TarveloSettings::changed, this, &MainWindow::onSettingChanged);
    ui->actionShowChargerStatus->setEnabled(m_pSettings->values().useCharger());
    restoreViewState();
    if (!settingsRead) {
        const QString text =
            tr("Could not read the settings in\n%1\nTarvelo starts with its defaults.");
        MessageBox::warning(this, tr("Settings not read"),
                            text.arg(QDir::toNativeSeparators(m_pSettings->fileName())));
    } else if (m_pSettings->isFirstRun() && m_strLogBookFile.isEmpty()) {
        startOnNewLogBook();
    }
    connectDatabase();
    makeConnections();
}

MainWindow::~MainWindow()
{
    // The reader thread calls back into the status window; it must be gone first.
    if (m_pChargerManager->isOpen())
        m_pChargerManager->close();
    // The tabs let go of their tables before the log book and the form go.
    delete m_pLogTab;
    delete m_pModelStatsTab;
    delete m_pAccuStatsTab;
    delete m_pBook;
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
    connect(ui->actionPackHistory, &QAction::triggered, this, &MainWindow::choosePackHistory);
    connect(m_pAccuStatsTab, &StatsTab::recordOpened, this, &MainWindow::showPackHistory);
    connect(ui->actionSettings, &QAction::triggered, this, &MainWindow::showOptionsDialog);
    connect(ui->actionEnglish, &QAction::triggered, this, &MainWindow::onLanguageEnglish);
    connect(ui->actionGerman, &QAction::triggered, this, &MainWindow::onLanguageGerman);
    connect(ui->actionShowChargerStatus, &QAction::triggered, this, &MainWindow::showChargerStatus);
    connect(ui->actionAbout, &QAction::triggered, this, &MainWindow::showAboutDialog);
    connect(ui->actionAskBeforeRemove, &QAction::toggled, this, [this](bool ask) {
        SettingsValues values = m_pSettings->values();
        values.set(Key::AskBeforeRemove, ask);
        remember(values, {Key::AskBeforeRemove});
    });
    connect(ui->actionReload, &QAction::triggered, this, &MainWindow::onReload);
    connect(ui->m_pTabs, &QTabWidget::currentChanged, this, &MainWindow::onCurrentTabChanged);
    connect(m_pChargerStatus, &ChargerStatus::signalApplyNewEntry, this,
            &MainWindow::onApplyEntryFromCharger);
    connect(m_pChargerStatus, &ChargerStatus::signalLineSpeedFound, this, [this](int _iBaud) {
        // Next time the port starts at this speed.
        m_pSettings->rememberPortLineSpeed(m_strChargerPort, _iBaud);
    });
    connect(m_pChargerStatus, &ChargerStatus::signalOpenFailed, this, [this]() {
        const int chargerClass = m_pSettings->values().chargerClass();
        warnPortNotOpened(chargerClass, chargerPortIndex(chargerClass));
    });
    connect(m_pLogTab, &LogTab::packsWanted, this, &MainWindow::showAccuManagement);
    connect(m_pLogTab, &LogTab::modelsWanted, this, &MainWindow::showModelManagement);
    connect(m_pLogTab, &LogTab::demoWanted, this, &MainWindow::openDemoBook);
    connect(m_pLogTab, &LogTab::newBookWanted, m_pFiles, &LogBookFiles::newLogBook);
    connect(m_pLogTab, &LogTab::openBookWanted, m_pFiles, &LogBookFiles::openLogBook);
}

// ---- store ------------------------------------------------------------------------------

SqlBase* MainWindow::store() const
{
    return m_pBook->store();
}

void MainWindow::showConnectError()
{
    const QString file = sqliteFileInUse();
    if (!file.isEmpty()) {
        MessageBox::warning(
            this, tr("Log book not opened"),
            tr("The log book\n%1\ncould not be opened:\n%2\n\nOpen another one with File > "
               "Open log book, or make a new one with File > New log book.")
                .arg(QDir::toNativeSeparators(file), m_strConnectError));
        return;
    }
    const SettingsValues& options = m_pSettings->values();
    MessageBox::warning(
        this, tr("Log book not opened"),
        tr("The log book \"%1\" on the server %2, port %3, could not be opened:\n%4\n\nCheck "
           "that the server runs and can be reached, and the database settings under "
           "Settings > Settings; then press F5 to try again.")
            .arg(options.database(), options.host(), QString::number(options.port()),
                 m_strConnectError));
}

bool MainWindow::storeReady()
{
    // While no store is open the actions that need one are disabled and the log tab says
    // why; the reason was shown once when the store failed.
    return m_pBook->isOpen();
}

void MainWindow::updateStoreActions()
{
    const bool open = m_pBook->isOpen();
    m_pUi->actionAccuManagement->setEnabled(open);
    m_pUi->actionModelManagement->setEnabled(open);
    m_pUi->actionPackHistory->setEnabled(open);
}

QString MainWindow::sqliteFileInUse() const
{
    if (!m_strLogBookFile.isEmpty())
        return m_strLogBookFile;
    return m_pSettings->values().useSqlite() ? m_pSettings->logBookFile() : QString();
}

void MainWindow::startOnNewLogBook()
{
    // A first run starts on an empty log book of its own rather than on a server nobody set
    // up. An existing file of that name is a log book from before the settings were lost.
    const QString file = m_pSettings->isPortable()
                             ? m_pSettings->logBookFile()
                             : LogBookFiles::dataFolder() + QStringLiteral("/tarvelo.sqlite");
    if (!QFileInfo::exists(file) && !LogBookFiles::create(this, file))
        return;
    // Every option is written, so that the next start finds none missing.
    if (!keepLogBookChoice(file, SettingsValues::optionKeys()))
        m_strLogBookFile = file; // this run still has its log book
}

bool MainWindow::keepLogBookChoice(const QString& file, QList<SettingsValues::Key> keys)
{
    const QString kept = m_pSettings->keptLogBookFile(file);
    SettingsValues values = m_pSettings->values();
    values.set(Key::UseSqlite, true);
    values.set(Key::SqliteFile, kept);
    values.addRecentLogBook(kept);
    for (Key key : {Key::UseSqlite, Key::SqliteFile, Key::RecentLogBooks})
        if (!keys.contains(key))
            keys << key;
    return m_pSettings->save(values, keys);
}

bool MainWindow::openLogBookFile(const QString& file)
{
    const QString shown = QDir::toNativeSeparators(file);
    if (!QFileInfo(file).isFile()) {
        MessageBox::warning(this, tr("Log book not opened"),
                            tr("There is no log book\n%1").arg(shown));
        return false;
    }
    // Tried on a connection of its own first: a file that is no log book leaves the open one.
    {
        SqLiteConnection trial(file);
        QString error;
        if (!trial.connectDb(&error)) {
            MessageBox::warning(
                this, tr("Log book not opened"),
                tr("%1\nis not a log book Tarvelo can open:\n%2").arg(shown, error));
            return false;
        }
        trial.disconnectDb();
    }
    // Kept as the user's choice only once it opened or failed, not when the open was cancelled.
    const QString before = m_strLogBookFile;
    m_strLogBookFile = file;
    if (!connectDatabase() && m_pBook->openCancelled()) {
        m_strLogBookFile = before;
        return false;
    }
    if (keepLogBookChoice(file)) {
        m_strLogBookFile.clear();
    } else {
        MessageBox::warning(this, tr("Settings not saved"),
                            tr("The log book is open for now, but could not be kept as your "
                               "choice in\n%1\nIs the file or its folder read-only?")
                                .arg(QDir::toNativeSeparators(m_pSettings->fileName())));
    }
    return m_pBook->isOpen();
}

void MainWindow::rememberRecent(const QString& file)
{
    const QString kept = m_pSettings->keptLogBookFile(file);
    if (m_pSettings->values().recentLogBooks().value(0) == kept)
        return;
    SettingsValues values = m_pSettings->values();
    values.addRecentLogBook(kept);
    remember(values, {Key::RecentLogBooks});
}

bool MainWindow::connectDatabase()
{
    const SettingsValues& options = m_pSettings->values();
    std::unique_ptr<SqlBase> store;
    if (!m_strLogBookFile.isEmpty())
        store = std::make_unique<SqLiteConnection>(m_strLogBookFile);
    else if (options.useSqlite())
        store = std::make_unique<SqLiteConnection>(m_pSettings->logBookFile());
    else
        store = std::make_unique<MysqlConnection>(
            options.host(), options.port(), options.database(), options.user(), options.password());
    QString error;
    if (!m_pBook->open(std::move(store), &error)) {
        // The user stopped it; the log book open before stays.
        if (m_pBook->openCancelled())
            return false;
        m_strConnectError = error;
        showConnectError();
        return false;
    }
    m_strConnectError.clear();
    // A statistics tab in view shows the new store's figures.
    onCurrentTabChanged(m_pUi->m_pTabs->currentIndex());
    return true;
}

void MainWindow::openDemoBook()
{
    // A fresh sample each time, beside the user's own data; the saved choice stays.
    const QString file = LogBookFiles::dataFolder() + QStringLiteral("/demo.sqlite");
    const QString folder = QFileInfo(file).absolutePath();
    QString error = tr("The folder %1 cannot be written.").arg(QDir::toNativeSeparators(folder));
    const bool made = QDir().mkpath(folder) && (!QFile::exists(file) || QFile::remove(file)) &&
                      DemoBook::create(file, QDate::currentDate(), &error);
    if (!made) {
        MessageBox::warning(this, tr("Error creating the demo log book"), error);
        return;
    }
    const QString before = m_strLogBookFile;
    m_strLogBookFile = file;
    if (!connectDatabase() && m_pBook->openCancelled())
        m_strLogBookFile = before;
}

void MainWindow::onReload()
{
    // Without a store, F5 tries the chosen one again.
    if (!m_pBook->isOpen()) {
        connectDatabase();
        return;
    }
    QString error;
    if (!m_pBook->reload(&error))
        MessageBox::warning(this, tr("Error reloading"),
                            tr("The log book could not be read again:\n") + error);
}

void MainWindow::applyAccess()
{
    const QString name = tr("Tarvelo");
    if (m_pBook->isReadOnly())
        setWindowTitle(tr("%1 (read-only)").arg(name));
    else if (m_pBook->isOffline())
        setWindowTitle(tr("%1 (offline: press F5 to connect again)").arg(name));
    else
        setWindowTitle(name);
}

void MainWindow::onStoreOpened()
{
    applyAccess();
    const SqlBase* opened = m_pBook->isOpen() ? m_pBook->store() : nullptr;
    if (!opened || opened->damage().isEmpty())
        return;
    const QString text = tr("The log book is damaged: %1\n%2 rows could not be read. It is open "
                            "read-only, with every row that could be read; nothing is written "
                            "into it. Keep a copy of the file and restore a backup.");
    MessageBox::warning(this, tr("Damaged log book"),
                        text.arg(opened->damage(), QString::number(opened->unreadableRows())));
}

// ---- tabs -------------------------------------------------------------------------------

void MainWindow::refreshLogList()
{
    m_pLogTab->applyFilters();
}

void MainWindow::refreshModelStats()
{
    m_pModelStatsTab->refresh();
}

void MainWindow::refreshAccuStats()
{
    m_pAccuStatsTab->refresh();
}

void MainWindow::onButtonAdd()
{
    if (storeReady())
        m_pLogTab->add();
}

void MainWindow::onButtonChange()
{
    if (storeReady())
        m_pLogTab->change();
}

void MainWindow::onButtonRemove()
{
    if (storeReady())
        m_pLogTab->remove();
}

void MainWindow::onCurrentTabChanged(int _iIndex)
{
    if (_iIndex == 1)
        refreshModelStats();
    else if (_iIndex == 2)
        refreshAccuStats();
}

void MainWindow::onApplyEntryFromCharger(int _iAccuId, int _iCharged)
{
    m_pLogTab->applyFromCharger(_iAccuId, _iCharged);
}

// ---- dialogs ----------------------------------------------------------------------------

void MainWindow::showAccuManagement()
{
    if (!storeReady())
        return;
    AccuManagementDialog dialog(this, m_pHistory);
    dialog.exec();
}

void MainWindow::showModelManagement()
{
    if (!storeReady())
        return;
    ModelManagementDialog dialog(this, m_pHistory);
    dialog.exec();
}

void MainWindow::choosePackHistory()
{
    if (!storeReady())
        return;
    QStringList names;
    QVector<int> ids;
    for (const AccuEntry& accu : m_pBook->accus()) {
        names << accu.toString();
        ids << accu.m_iId;
    }
    if (ids.isEmpty()) {
        MessageBox::warning(this, tr("Pack history"), tr("The log book has no packs yet."));
        return;
    }
    bool chosen = false;
    const QString name = QInputDialog::getItem(
        this, tr("Pack history"), tr("The history of which pack?"), names, 0, false, &chosen);
    if (chosen)
        showPackHistory(ids.value(int(names.indexOf(name)), -1));
}

void MainWindow::showPackHistory(int _iAccuId)
{
    AccuEntry accu;
    if (!storeReady() || !m_pBook->accu(_iAccuId, &accu))
        return;
    PackHistoryWindow* window = nullptr;
    // A closed window lingers hidden until it is deleted.
    for (PackHistoryWindow* open :
         findChildren<PackHistoryWindow*>(QString(), Qt::FindDirectChildrenOnly))
        if (open->accuId() == _iAccuId && open->isVisible())
            window = open;
    if (!window) {
        window = new PackHistoryWindow(m_pBook, m_pSettings, _iAccuId, this);
        window->setLocale(languageLocale());
    }
    window->show();
    window->raise();
    window->activateWindow();
}

QLocale MainWindow::languageLocale() const
{
    return NumberFormat::localeOf(
        m_pTranslator && !m_pTranslator->isEmpty() ? m_pTranslator->language() : QString());
}

void MainWindow::showOptionsDialog()
{
    // The dialog has saved what the user accepted. Setting up the charger keeps a log book of
    // the command line or the demo; choosing a store ends it.
    const QStringList database = databaseChoice(m_pSettings->values());
    if (m_pOptions->exec() != QDialog::Accepted)
        return;
    const bool otherStore = databaseChoice(m_pSettings->values()) != database;
    // The same store stays open, with its undo history, history windows and selections;
    // only a store that is not open is tried again.
    if (!otherStore && m_pBook->isOpen())
        return;
    if (otherStore)
        m_strLogBookFile.clear();
    if (connectDatabase() && otherStore && m_pSettings->values().useSqlite())
        rememberRecent(m_pSettings->logBookFile());
}

void MainWindow::onSettingChanged(SettingsValues::Key key)
{
    if (key == Key::UseCharger)
        m_pUi->actionShowChargerStatus->setEnabled(m_pSettings->values().useCharger());
}

void MainWindow::showAboutDialog()
{
    AboutDialog dialog(this);
    dialog.exec();
}

int MainWindow::chargerPortIndex(int chargerClass) const
{
    // The saved name is what the user chose; a position in the options' list may have moved.
    return m_pChargerManager->findClassPort(chargerClass, m_pSettings->values().chargerPort());
}

void MainWindow::showChargerStatus()
{
    const SettingsValues& values = m_pSettings->values();
    const int chargerClass = values.chargerClass();
    const int subtype = values.chargerSubtype();
    // A charger plugged in since the options were last shown is found too.
    m_pChargerManager->enumeratePorts();
    const int port = chargerPortIndex(chargerClass);
    SSerInfo info;
    m_pChargerManager->getClassPortInfo(chargerClass, port, &info);
    m_strChargerPort = PortList::nameOf(info);

    // The port opens in the background; a port that fails to open closes the window again
    // and says so (signalOpenFailed).
    m_pChargerManager->setLineSpeed(values.chargerBaudRate());
    m_pChargerManager->setFirstLineSpeed(m_pSettings->portLineSpeed(m_strChargerPort));
    if (m_pChargerManager->openCharger(chargerClass, subtype, port) != ChargerBase::ResultDone) {
        warnPortNotOpened(chargerClass, port);
        return;
    }
    char className[ChargerBase::kTextBufferSize] = {};
    char subtypeName[ChargerBase::kTextBufferSize] = {};
    if (m_pChargerManager->getClassName(chargerClass, className) == ChargerBase::ResultDone &&
        m_pChargerManager->getClassSubtypeName(chargerClass, subtype, subtypeName) ==
            ChargerBase::ResultDone) {
        m_pChargerStatus->setChargerName(QString::fromUtf8(className) + QLatin1Char(' ') +
                                         QString::fromUtf8(subtypeName));
        m_pChargerStatus->show();
        m_pChargerStatus->updateChargerDataSlot();
    }
}

void MainWindow::warnPortNotOpened(int chargerClass, int port)
{
    // Composed as a string: a long port name or translation is never cut.
    SSerInfo info;
    QString message = tr("Couldn't open port\n");
    QString name = m_pSettings->values().chargerPort();
    if (m_pChargerManager->getClassPortInfo(chargerClass, port, &info) == ChargerBase::ResultDone) {
        name = PortList::nameOf(info);
        message = tr("Couldn't open port %s\n").replace(QLatin1String("%s"), name);
    }
    const QString advice =
        PortAdvice::whyNotOpened(m_pChargerManager->openFailure(), name, info.devicePath);
    if (!advice.isEmpty())
        message += QLatin1Char('\n') + advice;
    MessageBox::warning(this, tr("Error opening port"), message);
}

// ---- languages --------------------------------------------------------------------------

void MainWindow::retranslate()
{
    m_pUi->retranslateUi(this);
    m_pLogTab->retranslate();
    m_pHistory->retranslate();
    applyAccess();
}

bool MainWindow::changeLanguage(QString file)
{
    bool loaded = false;
    if (m_pTranslator) {
        QCoreApplication::removeTranslator(m_pTranslator);
        loaded = TranslationFinder::load(m_pTranslator, file);
        QCoreApplication::installTranslator(m_pTranslator);
    }
    QCoreApplication::removeTranslator(m_pQtTranslator.get());
    m_pQtTranslator = std::make_unique<QTranslator>();
    if (loaded && m_pQtTranslator->load(QLocale(m_pTranslator->language()),
                                        QStringLiteral("qtbase"), QStringLiteral("_"),
                                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(m_pQtTranslator.get());
    applyLocale(languageLocale());
    retranslate();
    m_pOptions->retranslate();
    m_pChargerStatus->retranslate();
    // The column titles come from the table models; let the headers ask again.
    for (QTableView* table :
         {m_pUi->m_pTableLogList, m_pUi->m_pTableModelStats, m_pUi->m_pTableAccuStats})
        table->horizontalHeader()->viewport()->update();
    return loaded;
}

void MainWindow::useLocale(const QLocale& locale)
{
    NumberFormat::setLocale(locale);
    // Windows made later (dialogs, pack histories) start with it too.
    QLocale::setDefault(locale);
    setLocale(locale);
    if (m_pChargerStatus) // a window of its own, made later in the constructor
        m_pChargerStatus->setLocale(locale);
    for (PackHistoryWindow* history :
         findChildren<PackHistoryWindow*>(QString(), Qt::FindDirectChildrenOnly))
        history->setLocale(locale);
    for (QDateEdit* edit : findChildren<QDateEdit*>())
        edit->setDisplayFormat(NumberFormat::datePattern());
}

void MainWindow::applyLocale(const QLocale& locale)
{
    useLocale(locale);
    // Names carry translated types and chemistries, figures the locale's separators.
    m_pLogTab->localeChanged();
    m_pModelStatsTab->localeChanged();
    m_pAccuStatsTab->localeChanged();
}

QString MainWindow::translationFile(const QString& language)
{
    if (language == QLatin1String("en"))
        return QString();
    return QStringLiteral("trans_") + language;
}

void MainWindow::onLanguageEnglish()
{
    changeLanguage(QString());
    rememberLanguage(QStringLiteral("en"));
}

void MainWindow::onLanguageGerman()
{
    if (!changeLanguage(QStringLiteral("trans_de.qm"))) {
        MessageBox::warning(this, tr("Error changing language"),
                            tr("Couldn't load german language file\n"));
        return;
    }
    rememberLanguage(QStringLiteral("de"));
}

// ---- remembered across runs -------------------------------------------------------------

TableColumnFitter* MainWindow::logColumnFitter() const
{
    return m_pUi->m_pTableLogList->findChild<TableColumnFitter*>(QString(),
                                                                 Qt::FindDirectChildrenOnly);
}

void MainWindow::restoreViewState()
{
    const SettingsValues& values = m_pSettings->values();
    if (!values.windowGeometry().isEmpty())
        restoreGeometry(values.windowGeometry());
    if (values.windowTab() < m_pUi->m_pTabs->count())
        m_pUi->m_pTabs->setCurrentIndex(values.windowTab());
    logColumnFitter()->setUserWidths(values.logColumns());
    m_pLogTab->setSort(values.logSortColumn(), Qt::SortOrder(values.logSortOrder()));
    const QSignalBlocker blocker(m_pUi->actionAskBeforeRemove);
    m_pUi->actionAskBeforeRemove->setChecked(values.askBeforeRemove());
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    SettingsValues values = m_pSettings->values();
    values.set(Key::WindowGeometry, saveGeometry());
    values.set(Key::WindowTab, m_pUi->m_pTabs->currentIndex());
    values.set(Key::LogColumns, QVariant::fromValue(logColumnFitter()->userWidths()));
    values.set(Key::LogSortColumn, m_pLogTab->model()->sortColumn());
    values.set(Key::LogSortOrder, int(m_pLogTab->model()->sortOrder()));
    remember(values, {Key::WindowGeometry, Key::WindowTab, Key::LogColumns, Key::LogSortColumn,
                      Key::LogSortOrder});
    QMainWindow::closeEvent(event);
}

void MainWindow::rememberLanguage(const QString& language)
{
    if (m_pSettings->values().language() == language)
        return;
    SettingsValues values = m_pSettings->values();
    values.set(Key::Language, language);
    remember(values, {Key::Language});
}

void MainWindow::remember(const SettingsValues& values, const QList<SettingsValues::Key>& keys)
{
    if (m_pSettings->save(values, keys) || m_bRememberFailureShown)
        return;
    m_bRememberFailureShown = true;
    const QString text =
        tr("Could not save the window and language to\n%1\nIs the file or its folder read-only?");
    MessageBox::warning(this, tr("Settings not saved"),
                        text.arg(QDir::toNativeSeparators(m_pSettings->fileName())));
}
