// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "app/statstab.h"

#include "app/recordcombo.h"
#include "app/tablecolumnfitter.h"
#include "records/statentry.h"
#include "settings/tarvelosettings.h"
#include "storage/logbook.h"
#include "storage/sqlbase.h"
#include "storage/statsmanager.h"
#include "views/accustatstablemodel.h"
#include "views/messagebox.h"
#include "views/modelstatstablemodel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QHeaderView>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTableView>

StatsTab::StatsTab(Kind kind, const Widgets& widgets, LogBook* book,
                   const TarveloSettings* settings, QObject* parent)
    : QObject(parent), m_kind(kind), m_w(widgets), m_pBook(book), m_pSettings(settings),
      m_pModel(kind == Kind::Models ? static_cast<StatsTableModel*>(new ModelStatsTableModel)
                                    : new AccuStatsTableModel)
{
    m_pModel->setParent(this);
    m_w.table->setModel(m_pModel);
    m_w.table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_w.table->setSelectionMode(QAbstractItemView::SingleSelection);
    // The cells are not enabled, so the view itself reports no double click.
    m_w.table->viewport()->installEventFilter(this);
    if (m_pSettings && kind == Kind::Accus)
        connect(m_pSettings, &TarveloSettings::changed, this, [this](SettingsValues::Key key) {
            if (key >= SettingsValues::CycleLimitLiPo && key <= SettingsValues::CycleLimitPb)
                refreshIfShown();
        });

    connect(m_w.byDate, &QCheckBox::toggled, this, [this](bool on) {
        m_w.start->setEnabled(on);
        m_w.end->setEnabled(on);
        refreshIfShown();
    });
    connect(m_w.byModel, &QCheckBox::toggled, this, [this](bool on) {
        m_w.model->setEnabled(on);
        refreshIfShown();
    });
    connect(m_w.byAccu, &QCheckBox::toggled, this, [this](bool on) {
        m_w.accu->setEnabled(on);
        refreshIfShown();
    });
    for (QDateEdit* edit : {m_w.start, m_w.end})
        connect(edit, &QDateEdit::dateChanged, this, &StatsTab::refreshIfShown);
    for (QComboBox* combo : {m_w.model, m_w.accu})
        connect(combo, &QComboBox::currentIndexChanged, this, &StatsTab::refreshIfShown);

    connect(m_pBook, &LogBook::storeReplaced, this, &StatsTab::onStoreReplaced);
    connect(m_pBook, &LogBook::reloaded, this, [this]() {
        fillAccus();
        fillModels();
        refreshIfShown();
    });
    connect(m_pBook, &LogBook::accusChanged, this, [this]() {
        fillAccus();
        refreshIfShown();
    });
    connect(m_pBook, &LogBook::modelsChanged, this, [this]() {
        fillModels();
        refreshIfShown();
    });
    onStoreReplaced();
}

StatsTab::~StatsTab()
{
    m_w.table->viewport()->removeEventFilter(this);
    m_w.table->setModel(nullptr);
}

bool StatsTab::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_w.table->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const auto* click = static_cast<QMouseEvent*>(event);
        const QModelIndex index = m_w.table->indexAt(click->position().toPoint());
        const EntryBase* record = index.isValid() ? m_pModel->entryAt(index.row()) : nullptr;
        if (record && click->button() == Qt::LeftButton) {
            emit recordOpened(record->m_iId);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void StatsTab::addWear(const QVector<AccuStatEntry*>& accus) const
{
    if (accus.isEmpty())
        return;
    const QHash<int, int> cycles = m_pBook->entriesPerAccu();
    for (AccuStatEntry* stat : accus) {
        AccuEntry accu;
        if (!m_pBook->accu(stat->m_iId, &accu))
            continue;
        stat->m_iTyp = accu.m_iTyp;
        stat->m_iCycles = cycles.value(stat->m_iId);
        stat->m_iCycleLimit = m_pSettings ? m_pSettings->values().cycleLimit(accu.m_iTyp) : 0;
    }
}

void StatsTab::onStoreReplaced()
{
    // The figures are collected once below, not once per date.
    RecordCombo::showLoggedDays(m_w.start, m_w.end, *m_pBook);
    fillAccus();
    fillModels();
    if (m_pBook->isOpen())
        refreshIfShown();
    else
        clear();
}

void StatsTab::fillAccus()
{
    RecordCombo::refill(m_w.accu, RecordCombo::accuItems(*m_pBook));
}

void StatsTab::fillModels()
{
    RecordCombo::refill(m_w.model, RecordCombo::modelItems(*m_pBook));
}

void StatsTab::localeChanged()
{
    fillAccus();
    fillModels();
    if (m_pBook->isOpen())
        refreshIfShown();
}

void StatsTab::refreshIfShown()
{
    // A tab page sits in a stack whose current page is the one in view.
    const auto* stack = qobject_cast<const QStackedWidget*>(m_w.page->parentWidget());
    if (stack && stack->currentWidget() == m_w.page)
        refresh();
}

void StatsTab::clear()
{
    m_pModel->setRecords({});
}

void StatsTab::refresh()
{
    StatsManager* stats = m_pBook->stats();
    if (!stats) {
        clear();
        return;
    }
    int flags = 0;
    if (m_w.byDate->isChecked()) {
        if (m_w.end->date() < m_w.start->date()) {
            MessageBox::warning(
                m_w.page->window(),
                QCoreApplication::translate("MainWindow", "Filter by Date error"),
                QCoreApplication::translate("MainWindow", "Start date has to be before end date"));
        } else {
            stats->setDateRange(m_w.start->date(), m_w.end->date());
            flags |= SqlBase::FilterDate;
        }
    }
    if (m_w.byModel->isChecked()) {
        stats->setModelFilter(RecordCombo::currentId(m_w.model));
        flags |= SqlBase::FilterModel;
    }
    if (m_w.byAccu->isChecked()) {
        stats->setAccuFilter(RecordCombo::currentId(m_w.accu));
        flags |= SqlBase::FilterAccu;
    }
    QVector<ModelStatEntry*> models;
    QVector<AccuStatEntry*> accus;
    const bool ok = m_kind == Kind::Models ? stats->getModelStats(&models, flags)
                                           : stats->getAccuStats(&accus, flags);
    addWear(accus);
    std::vector<std::unique_ptr<StatEntry>> records;
    for (StatEntry* s : models)
        records.emplace_back(s);
    for (StatEntry* s : accus)
        records.emplace_back(s);
    if (!ok)
        records.clear();
    m_pModel->setRecords(std::move(records));
    if (auto* fitter =
            m_w.table->findChild<TableColumnFitter*>(QString(), Qt::FindDirectChildrenOnly))
        fitter->fit();
}

QVector<StatEntry> StatsTab::shown() const
{
    QVector<StatEntry> out;
    for (int row = 0; row < m_pModel->rowCount(); ++row) {
        if (const auto* stat = dynamic_cast<const StatEntry*>(m_pModel->entryAt(row)))
            out << *stat;
    }
    return out;
}
