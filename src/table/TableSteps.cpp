#include "TableSteps.h"

#include <QMetaObject>
#include <algorithm>

namespace spades {

TTableSteps::TScope::TScope(TTableSteps& steps) : FSteps(steps), FSerial(steps.FSerial)
{
    ++FSteps.FDepth;
}

TTableSteps::TScope::~TScope()
{
    FSteps.Leave();
}

bool TTableSteps::Pending(TTableRequest request) const
{
    return std::find(FPending.begin(), FPending.end(), request) != FPending.end();
}

void TTableSteps::Request(TTableRequest request)
{
    if (request == TTableRequest::Preferences) {
        if (!FHeld)
            Hold(request);
        return;
    }
    if (!Busy() && !FHeld) {
        if (Perform)
            Perform(request);
        return;
    }
    Supersede();  // the running hand must not go on under a new game or a closed window
    if (!Pending(request))
        FPending.push_back(request);
}

void TTableSteps::Hold(TTableRequest request)
{
    FHeld = true;
    ++FHolds;
    struct TRelease {
        TTableSteps& Steps;
        ~TRelease()
        {
            Steps.FHeld = false;
            if (Steps.Released)
                Steps.Released();
            if (!Steps.Busy())
                Steps.SchedulePending();
        }
    } release{*this};
    if (Perform)
        Perform(request);
}

void TTableSteps::Leave()
{
    --FDepth;
    if (FDepth == 0) {
        SchedulePending();
        emit idle();
    }
}

void TTableSteps::SchedulePending()
{
    if (FPending.empty() || FScheduled)
        return;
    // Run from the event loop, after the last step has returned.
    FScheduled = true;
    QMetaObject::invokeMethod(this, &TTableSteps::RunPending, Qt::QueuedConnection);
}

void TTableSteps::RunPending()
{
    FScheduled = false;
    if (Busy() || FHeld)
        return;  // another step or a hold began first; it reschedules when it ends
    // A close makes everything else moot.
    std::vector<TTableRequest> pending;
    pending.swap(FPending);
    if (std::find(pending.begin(), pending.end(), TTableRequest::Close) != pending.end())
        pending = {TTableRequest::Close};
    for (TTableRequest request : pending) {
        if (Busy() || FHeld) {
            FPending.push_back(request);  // a step began inside the last request
            continue;
        }
        if (Perform)
            Perform(request);
    }
    if (!Busy() && !FHeld)
        SchedulePending();
}

}  // namespace spades
