// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_STATSTAB_H
#define TARVELO_STATSTAB_H

#include <QObject>
#include <QVector>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QTableView;
class QWidget;
class AccuStatEntry;
class LogBook;
class StatEntry;
class StatsTableModel;
class TarveloSettings;

// One statistics tab: its filters (date range, model, pack) and its table, per model or per
// pack. The figures are collected when the tab is shown and when one of its filters changes.
// Packs near or past their cycle limit are marked; a double click on a row opens it.
class StatsTab : public QObject
{
    Q_OBJECT

public:
    enum class Kind { Models, Accus };
    struct Widgets {
        QWidget* page;
        QCheckBox* byDate;
        QDateEdit* start;
        QDateEdit* end;
        QCheckBox* byModel;
        QComboBox* model;
        QCheckBox* byAccu;
        QComboBox* accu;
        QTableView* table;
    };

    // The cycle limits come from `settings`; without them no pack is marked.
    StatsTab(Kind kind, const Widgets& widgets, LogBook* book,
             const TarveloSettings* settings = nullptr, QObject* parent = nullptr);
    ~StatsTab() override;

    // Collects the figures anew.
    void refresh();
    // The figures the table shows, in its order.
    QVector<StatEntry> shown() const;
    void clear();
    // Refreshes only while the tab is in view; a hidden one catches up when it is shown.
    void refreshIfShown();
    // Pack and model names again (their types are translated), and the figures.
    void localeChanged();

signals:
    // The model or pack of a row was double-clicked.
    void recordOpened(int id);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onStoreReplaced();
    void fillAccus();
    void fillModels();
    // Cycles and cycle limits into the pack records.
    void addWear(const QVector<AccuStatEntry*>& accus) const;

    Kind m_kind;
    Widgets m_w;
    LogBook* m_pBook;                   // not owned
    const TarveloSettings* m_pSettings; // not owned; may be null
    StatsTableModel* m_pModel;
};

#endif
