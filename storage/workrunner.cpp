#include "storage/workrunner.h"

#include "storage/workprogress.h"

bool WorkRunner::run(const QString&, const Work& work)
{
    WorkProgress progress;
    work(progress);
    return !progress.isCancelled();
}
