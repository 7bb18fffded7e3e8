// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_WORKRUNNER_H
#define TARVELO_WORKRUNNER_H

#include <QString>

#include <functional>

class WorkProgress;

// Runs long work: this one at once on the calling thread, with nobody to cancel it. The window
// puts one in its place that runs the work off its thread and shows the progress with a
// Cancel button.
class WorkRunner
{
public:
    virtual ~WorkRunner() = default;
    using Work = std::function<void(WorkProgress& progress)>;
    // Returns once the work has ended; false when it was asked to stop on the way (how far it
    // got is for the work to tell).
    virtual bool run(const QString& title, const Work& work);
};

#endif
