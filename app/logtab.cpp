#include "app/logtab.h"

#include "app/recordcombo.h"
#include "app/tablecolumnfitter.h"
#include "storage/logbook.h"
#include "storage/sqlbase.h"
#include "ui_mainwindow.h"
#include "views/logentrytablemodel.h"
#include "views/messagebox.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QSignalBlocker>
#include <QStatusBar>

LogTab::LogTab(Ui::MainWindow* ui, LogBook* book, QWidget* window)
    : QObject(window), m_pUi(ui), m_pBook(book), m_pWindow(window),
      m_pModel(new LogEntryTableModel(book))
{
    m_pModel->setParent(this);
    QTableView* table = ui->m_pTableLogList;
    m_pModel->showIn(table);
    table->setColumnWidth(LogEntryTableModel::ColumnCharged, 150);
    // Every duration shows its hours, so that what is stored is what is shown.
    ui->m_pTime->setDisplayFormat(QStringLiteral("hh:mm:ss"));

    connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &LogTab::onCurrentRowChanged);
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_pModel, signal, this, &LogTab::updateCount);
    connect(m_pModel, &QAbstractItemModel::modelReset, this, &LogTab::updateCount);

    connect(ui->m_pCheckFilterByDate, &QCheckBox::toggled, this, [this](bool on) {
        m_pUi->m_pFilterStartDate->setEnabled(on);
        m_pUi->m_pFilterEndDate->setEnabled(on);
        applyFilters();
    });
    connect(ui->m_pCheckFilterByModel, &QCheckBox::toggled, this, [this](bool on) {
        m_pUi->m_pFilterModel->setEnabled(on);
        applyFilters();
    });
    connect(ui->m_pCheckFilterByAccu, &QCheckBox::toggled, this, [this](bool on) {
        m_pUi->m_pFilterAccu->setEnabled(on);
        applyFilters();
    });
    connect(ui->m_pCheckFilterByIncomplete, &QCheckBox::toggled, this, &LogTab::applyFilters);
    for (QDateEdit* edit : {ui->m_pFilterStartDate, ui->m_pFilterEndDate})
        connect(edit, &QDateEdit::dateChanged, this, &LogTab::applyFilters);
    for (QComboBox* combo : {ui->m_pFilterModel, ui->m_pFilterAccu})
        connect(combo, &QComboBox::currentIndexChanged, this, &LogTab::applyFilters);
    for (QComboBox* combo : {ui->m_pAccuList, ui->m_pModelList})
        connect(combo, &QComboBox::currentIndexChanged, this, &LogTab::updateButtons);

    connect(ui->m_pButtonAdd, &QPushButton::clicked, this, &LogTab::add);
    connect(ui->m_pButtonChange, &QPushButton::clicked, this, &LogTab::change);
    connect(ui->m_pButtonRemove, &QPushButton::clicked, this, &LogTab::remove);
    // Esc in the editor or the table takes the editor back to the stored entry.
    for (QWidget* w : std::initializer_list<QWidget*>{ui->m_pDate, ui->m_pTime, ui->m_pCharged,
                                                      ui->m_pAccuList, ui->m_pModelList, table})
        w->installEventFilter(this);

    connect(book, &LogBook::storeReplaced, this, &LogTab::onStoreReplaced);
    connect(book, &LogBook::reloaded, this, [this]() {
        fillAccus();
        fillModels();
        // The table was read anew; the entry shown keeps its place when it is still there.
        selectAndShow(m_shown.m_iId);
    });
    connect(book, &LogBook::accusChanged, this, &LogTab::fillAccus);
    connect(book, &LogBook::modelsChanged, this, &LogTab::fillModels);
    connect(book, &LogBook::accessChanged, this, &LogTab::updateButtons);
    buildWelcome();
    for (auto signal : {&LogBook::accusChanged, &LogBook::modelsChanged, &LogBook::reloaded})
        connect(book, signal, this, &LogTab::updateWelcome);
    for (auto signal : {&LogBook::entryAdded, &LogBook::entryRemoved})
        connect(book, signal, this, &LogTab::updateWelcome);
    onStoreReplaced();
}

LogTab::~LogTab()
{
    m_pUi->m_pTableLogList->setModel(nullptr);
}

bool LogTab::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && m_shown.m_iId >= 0) {
        revert();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void LogTab::buildWelcome()
{
    auto* frame = new QFrame;
    frame->setObjectName(QStringLiteral("m_pWelcome"));
    frame->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QGridLayout(frame);
    auto* title = new QLabel;
    title->setObjectName(QStringLiteral("m_pWelcomeTitle"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto* text = new QLabel;
    text->setObjectName(QStringLiteral("m_pWelcomeText"));
    text->setWordWrap(true);
    layout->addWidget(title, 0, 0, 1, 4);
    layout->addWidget(text, 1, 0, 1, 4);
    const struct {
        const char* name;
        void (LogTab::*wanted)();
    } buttons[] = {{"m_pWelcomePacks", &LogTab::packsWanted},
                   {"m_pWelcomeModels", &LogTab::modelsWanted},
                   {"m_pWelcomeNew", &LogTab::newBookWanted},
                   {"m_pWelcomeOpen", &LogTab::openBookWanted},
                   {"m_pWelcomeDemo", &LogTab::demoWanted}};
    auto* row = new QHBoxLayout;
    for (const auto& b : buttons) {
        auto* button = new QPushButton;
        button->setObjectName(QLatin1String(b.name));
        connect(button, &QPushButton::clicked, this, b.wanted);
        row->addWidget(button);
    }
    row->addStretch(1);
    layout->addLayout(row, 2, 0, 1, 4);
    m_pUi->verticalLayoutEntrys->insertWidget(0, frame);
    m_pWelcome = frame;
    retranslateWelcome();
}

QPushButton* LogTab::welcomeButton(const char* name) const
{
    return m_pWelcome->findChild<QPushButton*>(QLatin1String(name));
}

void LogTab::retranslateWelcome()
{
    welcomeButton("m_pWelcomePacks")->setText(tr("Packs..."));
    welcomeButton("m_pWelcomeModels")->setText(tr("Models..."));
    welcomeButton("m_pWelcomeNew")->setText(tr("New log book..."));
    welcomeButton("m_pWelcomeOpen")->setText(tr("Open log book..."));
    welcomeButton("m_pWelcomeDemo")->setText(tr("Open a demo log book"));
    updateWelcome();
}

void LogTab::updateWelcome()
{
    const bool open = m_pBook->isOpen();
    auto* title = m_pWelcome->findChild<QLabel*>(QStringLiteral("m_pWelcomeTitle"));
    auto* text = m_pWelcome->findChild<QLabel*>(QStringLiteral("m_pWelcomeText"));
    if (open) {
        title->setText(tr("Add your packs and models first"));
        text->setText(tr("This log book is empty. Enter your packs and your models, then log "
                         "every use of a pack below. Or look around in a sample log book "
                         "first; the settings stay as they are."));
    } else {
        title->setText(tr("No log book is open"));
        text->setText(tr("Open a log book or make a new one. A log book on a server needs the "
                         "server running and the right settings; F5 tries it again."));
    }
    welcomeButton("m_pWelcomePacks")->setVisible(open);
    welcomeButton("m_pWelcomeModels")->setVisible(open);
    welcomeButton("m_pWelcomeNew")->setVisible(!open);
    welcomeButton("m_pWelcomeOpen")->setVisible(!open);
    m_pWelcome->setVisible(!open || (m_pBook->count() == 0 && (m_pBook->accus().isEmpty() ||
                                                                 m_pBook->models().isEmpty())));
}

void LogTab::onStoreReplaced()
{
    m_shown = LogEntry();
    {
        const QSignalBlocker blocker(m_pUi->m_pDate);
        m_pUi->m_pDate->setDate(QDate::currentDate());
    }
    resetFilterDates();
    fillAccus();
    fillModels();
    applyFilters();
    updateCount();
    updateButtons();
    updateWelcome();
}

void LogTab::resetFilterDates()
{
    RecordCombo::showLoggedDays(m_pUi->m_pFilterStartDate, m_pUi->m_pFilterEndDate, *m_pBook);
}

void LogTab::fillAccus()
{
    refill({m_pUi->m_pAccuList, m_pUi->m_pFilterAccu}, RecordCombo::accuItems(*m_pBook));
}

void LogTab::fillModels()
{
    refill({m_pUi->m_pModelList, m_pUi->m_pFilterModel}, RecordCombo::modelItems(*m_pBook));
}

void LogTab::refill(std::initializer_list<QComboBox*> combos,
                    const QVector<QPair<QString, int>>& items)
{
    // A pack or model that has gone empties its selection; that is no edit of the entry shown.
    const bool clean = m_shown.m_iId >= 0 && !edited();
    for (QComboBox* combo : combos)
        RecordCombo::refill(combo, items);
    if (clean)
        m_shown = fromEditor();
    updateButtons();
}

void LogTab::applyFilters()
{
    LogFilter filter;
    if (m_pUi->m_pCheckFilterByDate->isChecked()) {
        const QDate start = m_pUi->m_pFilterStartDate->date();
        const QDate end = m_pUi->m_pFilterEndDate->date();
        if (end < start) {
            MessageBox::warning(m_pWindow, tr("Filter by Date error"),
                                tr("Start date has to be before end date"));
        } else {
            filter.byDate = true;
            filter.start = start;
            filter.end = end;
        }
    }
    // Nothing chosen to filter by selects nothing.
    if (m_pUi->m_pCheckFilterByModel->isChecked())
        filter.modelId = qMax(0, RecordCombo::currentId(m_pUi->m_pFilterModel));
    if (m_pUi->m_pCheckFilterByAccu->isChecked())
        filter.accuId = qMax(0, RecordCombo::currentId(m_pUi->m_pFilterAccu));
    filter.incompleteOnly = m_pUi->m_pCheckFilterByIncomplete->isChecked();
    if (filter == m_pModel->filter())
        return;
    m_pModel->setFilter(filter);
    // The entry shown stays current while it passes; else the editor keeps its values as a
    // draft for Add.
    const int id = m_shown.m_iId;
    m_bMoving = true;
    select(id);
    m_bMoving = false;
    if (m_pModel->rowOfId(id) < 0)
        m_shown = LogEntry();
    if (auto* fitter = m_pUi->m_pTableLogList->findChild<TableColumnFitter*>(
            QString(), Qt::FindDirectChildrenOnly))
        fitter->fit();
    updateButtons();
}

void LogTab::onCurrentRowChanged(const QModelIndex& current, const QModelIndex&)
{
    if (m_bMoving)
        return;
    const LogEntry* entry = m_pModel->logEntryAt(current.row());
    if (entry && entry->m_iId == m_shown.m_iId)
        return;
    if (!settleEdits()) {
        m_bMoving = true;
        select(m_shown.m_iId);
        m_bMoving = false;
        return;
    }
    show(entry);
}

bool LogTab::settleEdits()
{
    if (m_shown.m_iId < 0 || m_pBook->rowOf(m_shown.m_iId) < 0 || !edited())
        return true;
    const int answer = MessageBox::question(
        m_pWindow, tr("Unsaved changes"),
        tr("The entry of %1 shown in the editor has changes that are not stored.")
            .arg(m_shown.m_date.toString(Qt::ISODate)),
        {tr("Save"), tr("Discard"), tr("Keep editing")});
    if (answer == 1)
        return true;
    if (answer != 0)
        return false;
    if (m_pBook->changeEntry(m_shown.m_iId, fromEditor()))
        return true;
    MessageBox::warning(m_pWindow, tr("Error changing entry"),
                        withReason(tr("The entry could not be changed in the database.")));
    return false;
}

void LogTab::show(const LogEntry* entry)
{
    m_shown = entry ? *entry : LogEntry();
    if (entry) {
        m_pUi->m_pDate->setDate(entry->m_date);
        m_pUi->m_pTime->setTime(entry->m_time.isValid() ? entry->m_time : QTime(0, 0));
        m_pUi->m_pCharged->setValue(entry->m_iCharged);
        RecordCombo::choose(m_pUi->m_pAccuList, entry->m_iAccuId);
        RecordCombo::choose(m_pUi->m_pModelList, entry->m_iModelId);
        // What the editor shows now is the baseline for "edited".
        m_shown = fromEditor();
    }
    updateButtons();
}

LogEntry LogTab::fromEditor() const
{
    return LogEntry(nullptr, m_pUi->m_pDate->date(), m_pUi->m_pTime->time(),
                    m_pUi->m_pCharged->value(), RecordCombo::currentId(m_pUi->m_pAccuList),
                    RecordCombo::currentId(m_pUi->m_pModelList), m_shown.m_iId);
}

bool LogTab::edited() const
{
    const LogEntry now = fromEditor();
    return now.m_date != m_shown.m_date || now.m_time != m_shown.m_time ||
           now.m_iCharged != m_shown.m_iCharged || now.m_iAccuId != m_shown.m_iAccuId ||
           now.m_iModelId != m_shown.m_iModelId;
}

void LogTab::select(int id)
{
    QTableView* table = m_pUi->m_pTableLogList;
    const int row = id >= 0 ? m_pModel->rowOfId(id) : -1;
    if (row < 0) {
        table->selectionModel()->clear();
        return;
    }
    const QModelIndex index = m_pModel->index(row, 0);
    table->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                        QItemSelectionModel::Rows);
    table->scrollTo(index);
}

void LogTab::selectAndShow(int id)
{
    m_bMoving = true;
    select(id);
    m_bMoving = false;
    const int row = m_pModel->rowOfId(id);
    // Stored but hidden by the filters: the editor shows what was stored, for another Add.
    show(row >= 0 ? m_pModel->logEntryAt(row) : m_pBook->entryAt(m_pBook->rowOf(id)));
    if (row < 0)
        m_shown = LogEntry();
}

void LogTab::add()
{
    LogEntry entry = fromEditor();
    if (entry.m_iAccuId < 0 || entry.m_iModelId < 0)
        return;
    const int id = m_pBook->addEntry(entry);
    if (id < 0) {
        MessageBox::warning(m_pWindow, tr("Error adding entry"),
                            withReason(tr("The entry could not be stored in the database.")));
        return;
    }
    // The editor's values are stored now; they belong to the new entry.
    selectAndShow(id);
    if (m_pModel->rowOfId(id) < 0) {
        if (auto* window = qobject_cast<QMainWindow*>(m_pWindow))
            window->statusBar()->showMessage(tr("The entry was stored; the filters hide it."),
                                             10000);
    }
}

void LogTab::change()
{
    const int id = m_shown.m_iId;
    LogEntry entry = fromEditor();
    if (id < 0 || entry.m_iAccuId < 0 || entry.m_iModelId < 0)
        return;
    if (!m_pBook->changeEntry(id, entry)) {
        const QString text = withReason(tr("The entry could not be changed in the database."));
        showChangedElsewhere(id);
        MessageBox::warning(m_pWindow, tr("Error changing entry"), text);
        return;
    }
    selectAndShow(id);
}

void LogTab::remove()
{
    const LogEntry was = m_shown;
    if (was.m_iId < 0)
        return;
    const int row = m_pModel->rowOfId(was.m_iId);
    // No question about edits of an entry that is going.
    m_shown = LogEntry();
    if (!m_pBook->removeEntry(was.m_iId)) {
        m_shown = was;
        const QString text = withReason(tr("The entry could not be removed from the database."));
        showChangedElsewhere(was.m_iId);
        MessageBox::warning(m_pWindow, tr("Error removing entry"), text);
        return;
    }
    // The entry that took its row is the one shown now.
    const LogEntry* next = m_pModel->logEntryAt(qMin(row, m_pModel->rowCount() - 1));
    selectAndShow(next ? next->m_iId : -1);
}

QString LogTab::withReason(const QString& text) const
{
    const QString why = m_pBook->failureText();
    return why.isEmpty() ? text : text + QLatin1Char('\n') + why;
}

void LogTab::showChangedElsewhere(int id)
{
    if (m_pBook->store() && m_pBook->store()->lastFailure() == SqlBase::Failure::Conflict)
        selectAndShow(id);
}

void LogTab::revert()
{
    if (m_shown.m_iId >= 0)
        show(m_pBook->entryAt(m_pBook->rowOf(m_shown.m_iId)));
}

void LogTab::applyFromCharger(int accuId, int charged)
{
    if (accuId == -1) {
        // No pack was proposed: the amount alone, for whatever the editor holds.
        m_pUi->m_pCharged->setValue(charged);
        return;
    }
    // The editor is about to be filled; what it holds unsaved is settled first.
    if (!settleEdits())
        return;

    // The usual way: the pack was flown and logged with nothing charged yet, and this charge
    // completes that entry. Newest first; a new entry takes the model the pack last flew in.
    const int kMaxOffered = 5;
    QVector<int> open;
    QStringList buttons;
    int lastModel = -1;
    for (int row = m_pBook->count() - 1; row >= 0; --row) {
        const LogEntry* entry = m_pBook->entryAt(row);
        if (entry->m_iAccuId != accuId)
            continue;
        if (lastModel < 0)
            lastModel = entry->m_iModelId;
        if (entry->m_iCharged != 0 || open.size() == kMaxOffered)
            continue;
        ModelEntry model;
        m_pBook->model(entry->m_iModelId, &model);
        open << entry->m_iId;
        buttons << tr("%1, %2 in %3")
                       .arg(entry->m_date.toString(Qt::ISODate),
                            entry->m_time.toString(QStringLiteral("hh:mm:ss")), model.m_strName);
    }
    int chosen = open.size(); // a new entry
    if (!open.isEmpty()) {
        buttons << tr("New entry") << tr("Cancel");
        AccuEntry accu;
        m_pBook->accu(accuId, &accu);
        chosen = MessageBox::question(
            m_pWindow, tr("Complete which entry?"),
            tr("%1 mAh were charged into %2. Which flight do they complete?")
                .arg(charged)
                .arg(accu.m_strDescr),
            buttons);
        if (chosen < 0 || chosen > open.size())
            return;
    }

    if (chosen < open.size()) {
        const int id = open[chosen];
        // The entry to complete must be in the table for Change.
        if (m_pModel->rowOfId(id) < 0) {
            for (QCheckBox* filter : {m_pUi->m_pCheckFilterByDate, m_pUi->m_pCheckFilterByModel,
                                      m_pUi->m_pCheckFilterByAccu})
                filter->setChecked(false);
        }
        selectAndShow(id);
    } else {
        m_bMoving = true;
        select(-1);
        m_bMoving = false;
        m_shown = LogEntry();
        m_pUi->m_pDate->setDate(QDate::currentDate());
        m_pUi->m_pTime->setTime(QTime(0, 0));
        RecordCombo::choose(m_pUi->m_pAccuList, accuId);
        if (lastModel >= 0)
            RecordCombo::choose(m_pUi->m_pModelList, lastModel);
    }
    // Nothing is stored until the user presses Change or Add.
    m_pUi->m_pCharged->setValue(charged);
    updateButtons();
}

void LogTab::updateCount()
{
    m_pUi->m_labelNumResults->setText(QString::number(m_pModel->rowCount()) + tr(" entrys"));
}

void LogTab::updateButtons()
{
    const bool open = m_pBook->isOpen() && !m_pBook->isReadOnly();
    const bool complete = RecordCombo::currentId(m_pUi->m_pAccuList) >= 0 &&
                          RecordCombo::currentId(m_pUi->m_pModelList) >= 0;
    const bool shown = m_shown.m_iId >= 0;
    QString why;
    if (m_pBook->isReadOnly())
        why = tr("The log book is open read-only.");
    else if (!open)
        why = tr("No log book is open.");
    else if (!complete)
        why = tr("Choose a pack and a model for the entry.");
    m_pUi->m_pButtonAdd->setEnabled(open && complete);
    m_pUi->m_pButtonAdd->setToolTip(why);
    m_pUi->m_pButtonChange->setEnabled(open && complete && shown);
    m_pUi->m_pButtonChange->setToolTip(
        why.isEmpty() && !shown ? tr("Choose the entry to change in the table.") : why);
    m_pUi->m_pButtonRemove->setEnabled(open && shown);
    m_pUi->m_pButtonRemove->setToolTip(
        open && !shown ? tr("Choose the entry to remove in the table.") : QString());
}

void LogTab::retranslate()
{
    retranslateWelcome();
    m_pUi->m_pTime->setDisplayFormat(QStringLiteral("hh:mm:ss"));
    updateCount();
    updateButtons();
}
