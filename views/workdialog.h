// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_WORKDIALOG_H
#define TARVELO_WORKDIALOG_H

#include "storage/workprogress.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// Shows how far long work is and offers to stop it. Cancel, Esc and closing the dialog all ask
// the work to stop; the dialog stays until the work has ended, which its owner tells it by
// closing it.
class WorkDialog : public QDialog
{
    Q_OBJECT

public:
    WorkDialog(QWidget* parent, const QString& title, WorkProgress* progress);

    // Shows the progress's current state.
    void showState();

public slots:
    void reject() override;

private:
    WorkProgress* m_pProgress; // not owned
    QLabel* m_pStage;
    QProgressBar* m_pBar;
    QPushButton* m_pCancel;
};

#endif
