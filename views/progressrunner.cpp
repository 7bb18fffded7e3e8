// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "views/progressrunner.h"

#include "views/workdialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <memory>

ProgressRunner::ProgressRunner(QWidget* window) : m_pWindow(window) {}

bool ProgressRunner::run(const QString& title, const Work& work)
{
    WorkProgress progress;
    WorkDialog dialog(m_pWindow, title, &progress);
    std::unique_ptr<QThread> thread(QThread::create([&]() { work(progress); }));
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    QTimer tick;
    tick.setInterval(100);
    bool busyCursor = true;
    QObject::connect(&tick, &QTimer::timeout, &dialog, [&]() {
        if (!dialog.isVisible() && clock.elapsed() >= kShowAfterMs) {
            QApplication::restoreOverrideCursor();
            busyCursor = false;
            dialog.show();
        }
        if (dialog.isVisible())
            dialog.showState();
    });
    QApplication::setOverrideCursor(Qt::WaitCursor);
    clock.start();
    tick.start();
    thread->start();
    // Until the dialog shows, the window draws itself but takes no clicks or keys; afterwards
    // the modal dialog keeps them from it.
    while (!thread->isFinished()) {
        loop.processEvents(
            QEventLoop::WaitForMoreEvents |
            (dialog.isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents));
    }
    thread->wait();
    tick.stop();
    if (busyCursor)
        QApplication::restoreOverrideCursor();
    dialog.hide();
    return !progress.isCancelled();
}
