// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "app/logbookexchange.h"

#include "app/statstab.h"
#include "exchange/csvexport.h"
#include "settings/tarvelosettings.h"
#include "storage/logbook.h"
#include "storage/logbookcopy.h"
#include "storage/mysqlconnection.h"
#include "storage/sqlbase.h"
#include "storage/workrunner.h"
#include "ui_mainwindow.h"
#include "views/copydialog.h"
#include "views/exportdialog.h"
#include "views/filechooser.h"
#include "views/logentrytablemodel.h"
#include "views/messagebox.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

LogBookExchange::LogBookExchange(Ui::MainWindow* ui, const Sources& sources,
                                 TarveloSettings* settings, WorkRunner* runner, QWidget* window)
    : QObject(window), m_pUi(ui), m_sources(sources), m_pSettings(settings), m_pRunner(runner),
      m_pWindow(window)
{
    connect(ui->actionExport, &QAction::triggered, this, &LogBookExchange::exportCsv);
    connect(ui->actionCopyLogBook, &QAction::triggered, this, &LogBookExchange::copyLogBook);
    connect(sources.book, &LogBook::storeReplaced, this, &LogBookExchange::updateActions);
    updateActions();
}

void LogBookExchange::updateActions()
{
    const bool open = m_sources.book->isOpen();
    m_pUi->actionExport->setEnabled(open);
    m_pUi->actionCopyLogBook->setEnabled(open);
}

QString LogBookExchange::startFolder() const
{
    const QString file =
        m_sources.book->store() ? m_sources.book->store()->m_strFileName : QString();
    if (!file.isEmpty() && QFileInfo(file).absoluteDir().exists())
        return QFileInfo(file).absolutePath();
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void LogBookExchange::exportCsv()
{
    if (!m_sources.book->isOpen())
        return;
    ExportDialog dialog(m_pWindow, m_pSettings->values().language() == QLatin1String("de"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ExportDialog::What what = dialog.what();
    const QString name = what == ExportDialog::What::Log          ? tr("log")
                         : what == ExportDialog::What::ModelStats ? tr("models")
                                                                  : tr("packs");
    const QString file = FileChooser::chooseCsv(
        m_pWindow, tr("Export"), startFolder() + QLatin1Char('/') + name + QStringLiteral(".csv"));
    if (file.isEmpty())
        return;
    // What the window shows now, taken here: the writing runs on another thread.
    const CsvWriter::Format format = dialog.format();
    CsvExport::Log log;
    QVector<StatEntry> stats;
    if (what == ExportDialog::What::Log) {
        const LogEntryTableModel* model = m_sources.log;
        log.rows.reserve(model->rowCount());
        for (int row = 0; row < model->rowCount(); ++row)
            log.rows << *model->logEntryAt(row);
        log.accus = m_sources.book->accus();
        log.models = m_sources.book->models();
    } else {
        StatsTab* tab =
            what == ExportDialog::What::ModelStats ? m_sources.modelStats : m_sources.accuStats;
        tab->refresh();
        stats = tab->shown();
    }
    bool written = false;
    QString error;
    const bool finished = m_pRunner->run(tr("Export"), [&](WorkProgress& progress) {
        if (what == ExportDialog::What::Log)
            written = CsvExport::writeLog(file, log, format, progress, &error);
        else
            written = CsvExport::writeStats(file,
                                            what == ExportDialog::What::ModelStats
                                                ? CsvExport::Stats::Models
                                                : CsvExport::Stats::Accus,
                                            stats, format, progress, &error);
    });
    if (finished && !written)
        MessageBox::warning(m_pWindow, tr("Not exported"), error);
}

void LogBookExchange::copyLogBook()
{
    const SqlBase* store = m_sources.book->isOpen() ? m_sources.book->store() : nullptr;
    if (!store)
        return;
    const SettingsValues& values = m_pSettings->values();
    const QString suggested =
        startFolder() + QLatin1Char('/') +
        (store->m_strFileName.isEmpty() ? store->m_strDatabase
                                        : QFileInfo(store->m_strFileName).completeBaseName()) +
        tr("-copy") + QStringLiteral(".sqlite");
    CopyDialog dialog(
        m_pWindow, suggested,
        {values.host(), values.port(), values.database(), values.user(), values.password()});
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::unique_ptr<LogBookCopy> copy;
    QString target;
    if (dialog.toFile()) {
        target = QDir::toNativeSeparators(dialog.file());
        copy = std::make_unique<LogBookCopy>(LogBookCopy::storeLike(*store), dialog.file());
    } else {
        const CopyDialog::Server server = dialog.server();
        target = tr("the database %1 on %2").arg(server.database, server.host);
        copy = std::make_unique<LogBookCopy>(
            LogBookCopy::storeLike(*store),
            std::make_unique<MysqlConnection>(server.host, server.port, server.database,
                                              server.user, server.password));
    }
    LogBookCopy::Report report;
    m_pRunner->run(tr("Copy log book"),
                   [&](WorkProgress& progress) { report = copy->run(progress); });
    const QString text = LogBookCopy::describe(report);
    switch (report.outcome) {
    case LogBookCopy::Outcome::Copied:
        MessageBox::information(m_pWindow, tr("Log book copied"),
                                tr("The log book was copied to %1.").arg(target) +
                                    QStringLiteral("\n\n") + text);
        break;
    case LogBookCopy::Outcome::Cancelled:
        MessageBox::information(m_pWindow, tr("Copy cancelled"), text);
        break;
    default:
        MessageBox::warning(m_pWindow, tr("Log book not copied"),
                            tr("The log book could not be copied to %1:").arg(target) +
                                QStringLiteral("\n") + text);
    }
}
