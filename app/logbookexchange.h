// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_LOGBOOKEXCHANGE_H
#define TARVELO_LOGBOOKEXCHANGE_H

#include <QObject>

class QWidget;
class LogBook;
class LogEntryTableModel;
class StatsTab;
class TarveloSettings;
class WorkRunner;

namespace Ui
{
class MainWindow;
}

// Data out of the open log book, from the File menu: Export writes the log as its table shows
// it, or the statistics of a tab, to a CSV file; Copy log book to... copies the whole log book
// into a new file or a server's database. The work runs through the window's runner: the
// window stays responsive and the user may cancel.
class LogBookExchange : public QObject
{
    Q_OBJECT

public:
    struct Sources {
        LogBook* book;
        LogEntryTableModel* log;
        StatsTab* modelStats;
        StatsTab* accuStats;
    };
    LogBookExchange(Ui::MainWindow* ui, const Sources& sources, TarveloSettings* settings,
                    WorkRunner* runner, QWidget* window);

public slots:
    void exportCsv();
    void copyLogBook();

private:
    void updateActions();
    // Where the files of a log book start: its own folder, or the user's documents.
    QString startFolder() const;

    Ui::MainWindow* m_pUi;        // not owned
    Sources m_sources;            // not owned
    TarveloSettings* m_pSettings; // not owned
    WorkRunner* m_pRunner;        // not owned
    QWidget* m_pWindow;           // not owned
};

#endif
