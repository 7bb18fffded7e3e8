// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "app/logtab.h"

#include "app/recordcombo.h"
#include "app/tablecolumnfitter.h"
#include "records/entrydoubts.h"
#include "records/numberformat.h"
#include "storage/logbook.h"
#include "storage/recordcommand.h"
#include "storage/sqlbase.h"
#include "ui_mainwindow.h"
#include "views/durationedit.h"
#include "views/logentrytablemodel.h"
#include "views/messagebox.h"
#include "views/shortcutkeeper.h"
#include "views/undohistory.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>

LogTab::LogTab(Ui::MainWindow* ui, UndoHistory* history, QWidget* window)
    : QObject(window), m_pUi(ui), m_pHistory(history), m_pBook(history->book()), m_pWindow(window),
      m_pModel(new LogEntryTableModel(m_pBook))
{
    LogBook* book = m_pBook;
    m_pModel->setParent(this);
    QTableView* table = ui->m_pTableLogList;
    m_pModel->showIn(table);

    connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &LogTab::onCurrentRowChanged);
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &LogTab::updateButtons);
    // A sorted table keeps the entry shown in view.
    connect(table->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this, [this]() {
        const QModelIndex current = m_pUi->m_pTableLogList->currentIndex();
        if (current.isValid())
            m_pUi->m_pTableLogList->scrollTo(current);
    });
    connect(ui->m_pSearch, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_pModel->setSearch(text);
        afterRowsChanged();
    });
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
    // Every change of the editor may make it storable, or give Undo something to drop.
    connect(ui->m_pDate, &QDateEdit::dateChanged, this, &LogTab::updateButtons);
    connect(ui->m_pCharged, &QSpinBox::valueChanged, this, &LogTab::updateButtons);
    connect(ui->m_pTime, &DurationEdit::durationEdited, this, &LogTab::updateButtons);

    connect(ui->m_pButtonAdd, &QPushButton::clicked, this, &LogTab::add);
    connect(ui->m_pButtonChange, &QPushButton::clicked, this, &LogTab::change);
    connect(ui->m_pButtonRemove, &QPushButton::clicked, this, &LogTab::remove);
    connect(ui->actionNewEntry, &QAction::triggered, this, &LogTab::newEntry);
    connect(ui->actionStoreEntry, &QAction::triggered, this, &LogTab::store);
    connect(ui->actionRevertEntry, &QAction::triggered, this, &LogTab::revert);
    connect(ui->actionRemoveEntry, &QAction::triggered, this, &LogTab::remove);
    connect(ui->actionFind, &QAction::triggered, this, &LogTab::find);
    // Enter stores from the editor, Esc takes the editor back to the stored entry there and in
    // the table, Delete removes from the table; elsewhere the keys keep their own meaning.
    // Either Enter key; the menu names the first.
    ui->actionStoreEntry->setShortcuts({QKeySequence(Qt::Key_Enter), QKeySequence(Qt::Key_Return)});
    const std::initializer_list<QWidget*> editors = {ui->m_pDate, ui->m_pTime, ui->m_pCharged,
                                                     ui->m_pAccuList, ui->m_pModelList};
    for (QWidget* editor : editors) {
        editor->addAction(ui->actionStoreEntry);
        editor->addAction(ui->actionRevertEntry);
    }
    table->addAction(ui->actionRevertEntry);
    table->addAction(ui->actionRemoveEntry);
    // A new entry from wherever the focus is, the search box's line edit included; Undo and
    // Redo act on the log book from the editor's fields too, not on a field's own text.
    ui->actionNewEntry->setShortcutContext(Qt::ApplicationShortcut);
    auto* keeper = new ShortcutKeeper(window);
    keeper->keepEverywhere(ui->actionNewEntry->shortcut());
    for (QWidget* editor : editors) {
        keeper->keepIn(editor, ui->actionUndo->shortcut());
        keeper->keepIn(editor, ui->actionRedo->shortcut());
    }

    // Undo and redo never drop unsaved edits silently, and the editor shows the entry they
    // brought back or changed.
    history->setGuard([this]() { return settleEdits(); });
    // Unsaved text in the editor is what Undo takes back first.
    history->setDraft(
        [this]() {
            return m_shown.m_iId >= 0 && edited() ? tr("the edits in the editor") : QString();
        },
        [this]() { revert(); });
    connect(history, &UndoHistory::stepping, this, [this]() {
        m_bStepping = true;
        m_iTouched = -1;
    });
    connect(history, &UndoHistory::stepped, this, &LogTab::afterStep);
    const auto touched = [this](int row) {
        if (m_bStepping && row >= 0 && row < m_pBook->count())
            m_iTouched = m_pBook->entryAt(row)->m_iId;
    };
    connect(book, &LogBook::entryAdded, this, touched);
    connect(book, &LogBook::entryChanged, this, [touched](int, int row) { touched(row); });

    connect(book, &LogBook::storeReplaced, this, &LogTab::onStoreReplaced);
    connect(book, &LogBook::reloaded, this, [this]() {
        fillAccus();
        fillModels();
        // The table was read anew; the entry shown keeps its place when it is still there.
        selectAndShow(m_shown.m_iId);
    });
    // A renamed pack or model can move entries in a sorted or searched table.
    connect(book, &LogBook::accusChanged, this, [this]() {
        fillAccus();
        afterRowsChanged();
    });
    connect(book, &LogBook::modelsChanged, this, [this]() {
        fillModels();
        afterRowsChanged();
    });
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
    // The history outlives the tab and must not call back into it.
    m_pHistory->setGuard(nullptr);
    m_pHistory->setDraft(nullptr, nullptr);
    m_pUi->m_pTableLogList->setModel(nullptr);
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
    m_pWelcome->setVisible(!open || (m_pBook->count() == 0 &&
                                     (m_pBook->accus().isEmpty() || m_pBook->models().isEmpty())));
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
    // Once the window is laid out.
    QTimer::singleShot(0, this, &LogTab::scrollToNewest);
}

void LogTab::scrollToNewest()
{
    const int row = m_pModel->newestRow();
    if (row >= 0)
        m_pUi->m_pTableLogList->scrollTo(m_pModel->index(row, 0));
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
    afterRowsChanged();
}

void LogTab::afterRowsChanged()
{
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
    if (!m_pUi->m_pTime->hasDuration()) {
        MessageBox::warning(m_pWindow, tr("Error changing entry"), m_pUi->m_pTime->understood());
        return false;
    }
    if (!confirmDoubts(fromEditor()))
        return false;
    if (storeChange(m_shown.m_iId))
        return true;
    MessageBox::warning(m_pWindow, tr("Error changing entry"),
                        withReason(tr("The entry could not be changed in the database.")));
    return false;
}

bool LogTab::storeChange(int id)
{
    const LogEntry* stored = m_pBook->entryAt(m_pBook->rowOf(id));
    if (!stored)
        return false;
    const LogEntry wanted = fromEditor();
    // Nothing to store is no edit to undo.
    if (wanted.m_date == stored->m_date && wanted.m_time == stored->m_time &&
        wanted.m_iCharged == stored->m_iCharged && wanted.m_iAccuId == stored->m_iAccuId &&
        wanted.m_iModelId == stored->m_iModelId)
        return true;
    return m_pHistory->run(RecordCommand<LogEntry>::change(*stored, wanted));
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

bool LogTab::confirmDoubts(const LogEntry& entry)
{
    AccuEntry accu;
    ModelEntry model;
    const bool accuKnown = m_pBook->accu(entry.m_iAccuId, &accu);
    const bool modelKnown = m_pBook->model(entry.m_iModelId, &model);
    const QVector<EntryDoubts::Doubt> doubts = EntryDoubts::of(
        entry, accuKnown ? &accu : nullptr, modelKnown ? &model : nullptr, QDate::currentDate());
    if (doubts.isEmpty())
        return true;
    QStringList lines;
    for (const EntryDoubts::Doubt& doubt : doubts)
        lines << doubt.text;
    const QString text = tr("This entry looks mistyped:\n%1\n\nStore it as it is?")
                             .arg(lines.join(QLatin1Char('\n')));
    // Edit is what Enter and Esc choose: a slip of the finger stores nothing.
    return MessageBox::question(m_pWindow, tr("Check the entry"), text,
                                {tr("Store anyway"), tr("Edit")}, 1) == 0;
}

void LogTab::add()
{
    LogEntry entry = fromEditor();
    if (entry.m_iAccuId < 0 || entry.m_iModelId < 0 || !entry.m_time.isValid())
        return;
    if (!confirmDoubts(entry))
        return;
    auto command = RecordCommand<LogEntry>::add(entry);
    const RecordCommand<LogEntry>* added = command.get();
    if (!m_pHistory->run(std::move(command))) {
        MessageBox::warning(m_pWindow, tr("Error adding entry"),
                            withReason(tr("The entry could not be stored in the database.")));
        return;
    }
    const int id = added->records().first().m_iId;
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
    const LogEntry entry = fromEditor();
    if (id < 0 || entry.m_iAccuId < 0 || entry.m_iModelId < 0 || !entry.m_time.isValid())
        return;
    if (edited() && !confirmDoubts(entry))
        return;
    if (!storeChange(id)) {
        const QString text = withReason(tr("The entry could not be changed in the database."));
        showChangedElsewhere(id);
        MessageBox::warning(m_pWindow, tr("Error changing entry"), text);
        return;
    }
    selectAndShow(id);
}

QVector<LogEntry> LogTab::chosenForRemoval() const
{
    // The selection counts while it holds the row the editor shows: keys can move that row
    // away from a selection that is then out of sight.
    const QItemSelectionModel* selection = m_pUi->m_pTableLogList->selectionModel();
    const int shownRow = m_pModel->rowOfId(m_shown.m_iId);
    QVector<int> rows;
    if (shownRow < 0 || selection->isRowSelected(shownRow)) {
        for (const QModelIndex& index : selection->selectedRows())
            rows.append(index.row());
    }
    if (rows.isEmpty() && shownRow >= 0)
        rows.append(shownRow);
    std::sort(rows.begin(), rows.end());
    QVector<LogEntry> entries;
    for (int row : rows) {
        if (const LogEntry* entry = m_pModel->logEntryAt(row))
            entries.append(*entry);
    }
    return entries;
}

bool LogTab::confirmRemoval(const QVector<LogEntry>& entries)
{
    if (!m_pUi->actionAskBeforeRemove->isChecked())
        return true;
    QString text;
    if (entries.size() == 1) {
        const LogEntry& e = entries.first();
        const QModelIndex row = m_pModel->index(m_pModel->rowOfId(e.m_iId), 0);
        text = tr("Remove the entry of %1, %2 in %3?")
                   .arg(NumberFormat::date(e.m_date),
                        row.siblingAtColumn(LogEntryTableModel::ColumnAccu).data().toString(),
                        row.siblingAtColumn(LogEntryTableModel::ColumnModel).data().toString());
        text += QLatin1Char('\n') + tr("Edit > Undo (Ctrl+Z) brings it back.");
    } else {
        text = tr("Remove the %n selected entries?", nullptr, int(entries.size()));
        text += QLatin1Char('\n') + tr("Edit > Undo (Ctrl+Z) brings them back.");
    }
    bool dontAsk = false;
    const int answer =
        MessageBox::question(m_pWindow, tr("Remove entries"), text, {tr("Remove"), tr("Cancel")},
                             tr("Don't ask again"), &dontAsk);
    if (answer != 0)
        return false;
    if (dontAsk)
        m_pUi->actionAskBeforeRemove->setChecked(false);
    return true;
}

void LogTab::remove()
{
    const QVector<LogEntry> entries = chosenForRemoval();
    if (entries.isEmpty() || !m_pBook->isOpen() || m_pBook->isReadOnly())
        return;
    if (entries.size() > kMaxRemovedAtOnce) {
        MessageBox::warning(m_pWindow, tr("Remove entries"),
                            tr("%1 entries are selected; at most %2 can be removed at once.")
                                .arg(entries.size())
                                .arg(kMaxRemovedAtOnce));
        return;
    }
    const bool shownGoes = std::any_of(entries.cbegin(), entries.cend(), [this](const LogEntry& e) {
        return e.m_iId == m_shown.m_iId;
    });
    // Unsaved edits of an entry that stays are settled first; of one that goes, never.
    if (!shownGoes && !settleEdits())
        return;
    if (!confirmRemoval(entries))
        return;
    const int row = m_pModel->rowOfId(entries.first().m_iId);
    const LogEntry was = m_shown;
    m_shown = LogEntry();
    if (!m_pHistory->run(RecordCommand<LogEntry>::remove(entries))) {
        m_shown = was;
        const QString text = withReason(tr("The entry could not be removed from the database."));
        if (shownGoes)
            showChangedElsewhere(was.m_iId);
        MessageBox::warning(m_pWindow, tr("Error removing entry"), text);
        return;
    }
    // The entry that took the first one's row is the one shown now.
    const LogEntry* next = m_pModel->logEntryAt(qMin(row, m_pModel->rowCount() - 1));
    selectAndShow(next ? next->m_iId : -1);
}

void LogTab::afterStep()
{
    m_bStepping = false;
    if (m_iTouched >= 0 && m_pModel->rowOfId(m_iTouched) >= 0)
        selectAndShow(m_iTouched);
    else if (m_shown.m_iId >= 0 && m_pBook->rowOf(m_shown.m_iId) < 0)
        show(m_pModel->logEntryAt(m_pUi->m_pTableLogList->currentIndex().row()));
    m_iTouched = -1;
}

void LogTab::newEntry()
{
    m_pUi->m_pTabs->setCurrentWidget(m_pUi->m_pEntrysTab);
    if (!settleEdits())
        return;
    // Pack and model stay: the next entry is most often of the same.
    clearForNewEntry();
    m_pUi->m_pCharged->setValue(0);
    m_pWindow->activateWindow();
    m_pUi->m_pDate->setFocus(Qt::ShortcutFocusReason);
    updateButtons();
}

void LogTab::clearForNewEntry()
{
    m_bMoving = true;
    select(-1);
    m_bMoving = false;
    m_shown = LogEntry();
    m_pUi->m_pDate->setDate(QDate::currentDate());
    // The duration of another flight must not pass for this one's.
    m_pUi->m_pTime->setTime(QTime());
}

void LogTab::store()
{
    QPushButton* button = m_shown.m_iId >= 0 ? m_pUi->m_pButtonChange : m_pUi->m_pButtonAdd;
    if (!button->isEnabled())
        return;
    if (m_shown.m_iId >= 0)
        change();
    else
        add();
}

void LogTab::find()
{
    m_pUi->m_pTabs->setCurrentWidget(m_pUi->m_pEntrysTab);
    m_pUi->m_pSearch->setFocus(Qt::ShortcutFocusReason);
    m_pUi->m_pSearch->selectAll();
}

void LogTab::setSort(int column, Qt::SortOrder order)
{
    // The header tells the model, and shows the choice.
    m_pUi->m_pTableLogList->horizontalHeader()->setSortIndicator(column, order);
}

QString LogTab::withReason(const QString& text) const
{
    const QString why = m_pHistory->failureText();
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
        chosen =
            MessageBox::question(m_pWindow, tr("Complete which entry?"),
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
        clearForNewEntry();
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
    const bool timed = m_pUi->m_pTime->hasDuration();
    const bool shown = m_shown.m_iId >= 0;
    QString why;
    if (m_pBook->isReadOnly())
        why = tr("The log book is open read-only.");
    else if (!open)
        why = tr("No log book is open.");
    else if (!complete)
        why = tr("Choose a pack and a model for the entry.");
    else if (!timed)
        why = m_pUi->m_pTime->understood();
    m_pUi->m_pTimeHint->setText(m_pUi->m_pTime->understood());
    m_pUi->m_pButtonAdd->setEnabled(open && complete && timed);
    m_pUi->m_pButtonAdd->setToolTip(why);
    m_pUi->m_pButtonChange->setEnabled(open && complete && timed && shown);
    m_pUi->m_pButtonChange->setToolTip(
        why.isEmpty() && !shown ? tr("Choose the entry to change in the table.") : why);
    const bool chosen = shown || m_pUi->m_pTableLogList->selectionModel()->hasSelection();
    m_pUi->m_pButtonRemove->setEnabled(open && chosen);
    m_pUi->m_pButtonRemove->setToolTip(
        open && !chosen ? tr("Choose the entry to remove in the table.") : QString());
    m_pUi->actionStoreEntry->setEnabled(shown ? m_pUi->m_pButtonChange->isEnabled()
                                              : m_pUi->m_pButtonAdd->isEnabled());
    m_pUi->actionRemoveEntry->setEnabled(m_pUi->m_pButtonRemove->isEnabled());
    m_pUi->actionRevertEntry->setEnabled(shown);
    m_pUi->actionNewEntry->setEnabled(open);
    m_pHistory->refresh();
}

void LogTab::localeChanged()
{
    if (m_pBook->isOpen()) {
        fillAccus();
        fillModels();
    }
    m_pModel->localeChanged();
    // A search for a date was made anew and took the selection with it.
    if (!m_pModel->search().isEmpty())
        selectAndShow(m_shown.m_iId);
}

void LogTab::retranslate()
{
    retranslateWelcome();
    updateCount();
    updateButtons();
}
