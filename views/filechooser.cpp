// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "views/filechooser.h"

#include <QCoreApplication>
#include <QFileDialog>

FileChooser::Handler& FileChooser::handler()
{
    static Handler h;
    return h;
}

void FileChooser::setHandler(Handler h)
{
    handler() = std::move(h);
}

QString FileChooser::chooseLogBook(QWidget* parent, Purpose purpose, const QString& caption,
                                   const QString& folder)
{
    if (handler())
        return handler()(parent, purpose, caption, folder);
    QFileDialog dialog(parent, caption, folder);
    dialog.setNameFilters({QCoreApplication::translate("FileChooser", "Log books (*.sqlite)"),
                           QCoreApplication::translate("FileChooser", "All files (*)")});
    if (purpose == Purpose::Open) {
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        // Whether a named file may be replaced is the caller's question; a log book never is.
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setDefaultSuffix(QStringLiteral("sqlite"));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

QString FileChooser::chooseCsv(QWidget* parent, const QString& caption, const QString& suggested)
{
    if (handler())
        return handler()(parent, Purpose::Name, caption, suggested);
    QFileDialog dialog(parent, caption, suggested);
    dialog.setNameFilters({QCoreApplication::translate("FileChooser", "CSV files (*.csv)"),
                           QCoreApplication::translate("FileChooser", "All files (*)")});
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}
