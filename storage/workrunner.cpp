// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "storage/workrunner.h"

#include "storage/workprogress.h"

bool WorkRunner::run(const QString&, const Work& work)
{
    WorkProgress progress;
    work(progress);
    return !progress.isCancelled();
}
