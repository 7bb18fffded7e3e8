// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "app/logbookfiles.h"

#include "settings/tarvelosettings.h"
#include "storage/sqliteschema.h"
#include "ui_mainwindow.h"
#include "views/filechooser.h"
#include "views/messagebox.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

LogBookFiles::LogBookFiles(Ui::MainWindow* ui, TarveloSettings* settings, QWidget* window)
    : QObject(window), m_pUi(ui), m_pSettings(settings), m_pWindow(window)
{
    connect(ui->actionNewLogBook, &QAction::triggered, this, &LogBookFiles::newLogBook);
    connect(ui->actionOpenLogBook, &QAction::triggered, this, &LogBookFiles::openLogBook);
    connect(settings, &TarveloSettings::changed, this, [this](SettingsValues::Key key) {
        if (key == SettingsValues::RecentLogBooks)
            fillRecent();
    });
    fillRecent();
}

QString LogBookFiles::dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

bool LogBookFiles::create(QWidget* parent, const QString& file)
{
    const QString folder = QFileInfo(file).absolutePath();
    QString error = tr("The folder %1 cannot be made.").arg(QDir::toNativeSeparators(folder));
    if (QDir().mkpath(folder) && SqliteSchema::createDatabase(file, &error))
        return true;
    MessageBox::warning(parent, tr("Log book not created"),
                        tr("The log book\n%1\ncould not be created:\n%2")
                            .arg(QDir::toNativeSeparators(file), error));
    return false;
}

bool LogBookFiles::offerToCreate(QWidget* parent, const QString& file)
{
    const int answer = MessageBox::question(
        parent, tr("New log book"),
        tr("There is no log book\n%1\nCreate a new, empty one there?")
            .arg(QDir::toNativeSeparators(file)),
        {tr("Create"), tr("Cancel")});
    return answer == 0 && create(parent, file);
}

QString LogBookFiles::startFolder() const
{
    const QString current = m_pSettings->logBookFile();
    if (!current.isEmpty() && QFileInfo(current).absoluteDir().exists())
        return QFileInfo(current).absolutePath();
    return dataFolder();
}

void LogBookFiles::newLogBook()
{
    const QString file = FileChooser::chooseLogBook(m_pWindow, FileChooser::Purpose::Name,
                                                    tr("New log book"), startFolder());
    if (file.isEmpty())
        return;
    if (QFileInfo::exists(file)) {
        MessageBox::warning(m_pWindow, tr("Log book not created"),
                            tr("%1\nalready exists, and Tarvelo never replaces a file. Choose "
                               "another name, or open it with File > Open log book.")
                                .arg(QDir::toNativeSeparators(file)));
        return;
    }
    if (create(m_pWindow, file))
        emit openWanted(file);
}

void LogBookFiles::openLogBook()
{
    const QString file = FileChooser::chooseLogBook(m_pWindow, FileChooser::Purpose::Open,
                                                    tr("Open log book"), startFolder());
    if (!file.isEmpty())
        emit openWanted(file);
}

void LogBookFiles::fillRecent()
{
    QMenu* menu = m_pUi->menuRecent;
    menu->clear();
    const QStringList files = m_pSettings->values().recentLogBooks();
    for (int i = 0; i < files.size(); ++i) {
        const QString file = m_pSettings->absoluteLogBookFile(files[i]);
        // Numbered, so that a digit chooses one from the keyboard.
        QAction* action = menu->addAction(
            QStringLiteral("&%1  %2").arg(i + 1).arg(QDir::toNativeSeparators(file)));
        connect(action, &QAction::triggered, this, [this, file]() { emit openWanted(file); });
    }
    menu->setEnabled(!files.isEmpty());
}
