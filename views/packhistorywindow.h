// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_PACKHISTORYWINDOW_H
#define TARVELO_PACKHISTORYWINDOW_H

#include "storage/packhistory.h"

#include <QTimer>
#include <QVector>
#include <QWidget>

class QLabel;
class QSpinBox;
class QTableView;
class Chart;
class LogBook;
class LogEntryTableModel;
class TarveloSettings;

// The life of one pack at a glance: its figures, its rest capacity and charged mAh over its
// uses with the trend of the last uses, its uses per month by model, and its log entries. It
// follows the log book while open, and closes when the pack or the log book goes. Numbers
// follow the window's locale.
class PackHistoryWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kDefaultTrendUses = 20;

    // Deletes itself when closed.
    PackHistoryWindow(LogBook* book, const TarveloSettings* settings, int accuId,
                      QWidget* parent = nullptr);
    ~PackHistoryWindow() override;

    int accuId() const { return m_iAccuId; }
    // Reads the pack's history anew and shows it; closes the window when the pack has gone.
    void refresh();

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    void showHistory();
    void showFigures();
    void showUses();
    void showMonths();
    static QString modelName(const PackHistory::Model& model);
    // Changes of the log book come in bursts; one refresh follows them.
    void refreshSoon();

    LogBook* m_pBook;                   // not owned
    const TarveloSettings* m_pSettings; // not owned; may be null
    int m_iAccuId;
    QString m_strName;
    int m_iTyp = 0;
    PackHistory m_history;
    QTimer m_refreshTimer;

    QVector<QLabel*> m_captions; // of the figures, in the order of the form
    QLabel* m_pLabelPack;
    QLabel* m_pLabelCycles;
    QLabel* m_pLabelFirstUse;
    QLabel* m_pLabelLastUse;
    QLabel* m_pLabelTotalTime;
    QLabel* m_pLabelAvgCurrent;
    QLabel* m_pLabelModels;
    QSpinBox* m_pSpinTrendUses;
    QLabel* m_pLabelTrend;
    Chart* m_pChartUses;
    Chart* m_pChartMonths;
    QTableView* m_pTableEntries;
    LogEntryTableModel* m_pModel;
};

#endif
