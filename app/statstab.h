#ifndef TARVELO_STATSTAB_H
#define TARVELO_STATSTAB_H

#include <QObject>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QTableView;
class QWidget;
class LogBook;
class StatsTableModel;

// One statistics tab: its filters (date range, model, pack) and its table, per model or per
// pack. The figures are collected when the tab is shown and when one of its filters changes.
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

    StatsTab(Kind kind, const Widgets& widgets, LogBook* book, QObject* parent = nullptr);
    ~StatsTab() override;

    // Collects the figures anew.
    void refresh();
    void clear();

private:
    void onStoreReplaced();
    void fillAccus();
    void fillModels();
    // Refreshes only while the tab is in view; a hidden one catches up when it is shown.
    void refreshIfShown();

    Kind m_kind;
    Widgets m_w;
    LogBook* m_pBook; // not owned
    StatsTableModel* m_pModel;
};

#endif
