// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_ABOUTDIALOG_H
#define TARVELO_ABOUTDIALOG_H

#include "ui_aboutdialog.h"

#include <QDialog>

// Version, platform and author of the program. Closed with the window's close box or Escape.
class AboutDialog : public QDialog, public Ui::AboutDialog
{
    Q_OBJECT

public:
    static constexpr int kVersionMajor = TARVELO_VERSION_MAJOR;
    static constexpr int kVersionMinor = TARVELO_VERSION_MINOR;
    static constexpr int kVersionPatch = TARVELO_VERSION_PATCH;

    // The dialog is a window of its own: it takes no parent, and exec makes it modal for the
    // whole program.
    explicit AboutDialog(QWidget* parent);

    // "0.8.0"
    static QString versionText();
    // The platform the program was built for.
    static QString platformName();
};

#endif
