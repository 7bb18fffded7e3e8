// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_PROGRESSRUNNER_H
#define TARVELO_PROGRESSRUNNER_H

#include "storage/workrunner.h"

class QWidget;

// Runs long work on a thread of its own while the window goes on drawing itself. Work that
// ends within a moment only shows a busy cursor; longer work shows its progress in a dialog
// with a Cancel button, which blocks every other window until the work has ended.
class ProgressRunner : public WorkRunner
{
public:
    explicit ProgressRunner(QWidget* window);

    bool run(const QString& title, const Work& work) override;

    // How long work runs before its dialog shows.
    static constexpr int kShowAfterMs = 500;

private:
    QWidget* m_pWindow; // not owned
};

#endif
