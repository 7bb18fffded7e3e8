// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "views/workdialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

WorkDialog::WorkDialog(QWidget* parent, const QString& title, WorkProgress* progress)
    : QDialog(parent), m_pProgress(progress), m_pStage(new QLabel(this)),
      m_pBar(new QProgressBar(this)), m_pCancel(new QPushButton(tr("Cancel"), this))
{
    setObjectName(QStringLiteral("m_pWorkDialog"));
    setWindowTitle(title);
    // Nothing else may be done with the window while the work runs.
    setWindowModality(Qt::ApplicationModal);
    m_pStage->setObjectName(QStringLiteral("m_pLabelStage"));
    m_pStage->setMinimumWidth(360);
    m_pBar->setObjectName(QStringLiteral("m_pProgressBar"));
    m_pCancel->setObjectName(QStringLiteral("m_pButtonCancel"));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(m_pCancel, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &WorkDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pStage);
    layout->addWidget(m_pBar);
    layout->addWidget(buttons);
    showState();
}

void WorkDialog::showState()
{
    const WorkProgress::State state = m_pProgress->state();
    m_pStage->setText(state.cancelled ? tr("Stopping...") : state.stage);
    // A bar of per mille: the steps may be more than an int holds.
    if (state.total > 0) {
        m_pBar->setRange(0, 1000);
        m_pBar->setValue(int(qBound(qint64(0), state.done * 1000 / state.total, qint64(1000))));
    } else {
        m_pBar->setRange(0, 0); // busy, how long unknown
    }
}

void WorkDialog::reject()
{
    m_pProgress->cancel();
    m_pCancel->setEnabled(false);
    showState();
}
