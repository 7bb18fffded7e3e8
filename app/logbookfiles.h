// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_LOGBOOKFILES_H
#define TARVELO_LOGBOOKFILES_H

#include "settings/settingsvalues.h"

#include <QObject>
#include <QString>

class QWidget;
class TarveloSettings;

namespace Ui
{
class MainWindow;
}

// The log book files of the File menu: a new one, an existing one, one of the last five.
// It only picks and creates files; the window opens what it asks for.
class LogBookFiles : public QObject
{
    Q_OBJECT

public:
    LogBookFiles(Ui::MainWindow* ui, TarveloSettings* settings, QWidget* window);

    // Makes a new, empty log book (and its folder); says why when it cannot.
    static bool create(QWidget* parent, const QString& file);
    // Asks whether to make the log book a file chooser named; true once it exists.
    static bool offerToCreate(QWidget* parent, const QString& file);
    // Where the program keeps the log books it makes itself.
    static QString dataFolder();

public slots:
    void newLogBook();
    void openLogBook();

signals:
    void openWanted(const QString& file);

private:
    void fillRecent();
    // The current log book's folder, where a user most likely keeps the next one.
    QString startFolder() const;

    Ui::MainWindow* m_pUi;         // not owned
    TarveloSettings* m_pSettings; // not owned
    QWidget* m_pWindow;            // not owned
};

#endif
