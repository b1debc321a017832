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
    if (!Busy()) {
        if (Perform)
            Perform(request);
        return;
    }
    if (request != TTableRequest::Preferences)
        Supersede();  // the running hand must not go on under a new game or a closed window
    if (!Pending(request))
        FPending.push_back(request);
}

void TTableSteps::Leave()
{
    --FDepth;
    if (FDepth == 0 && !FPending.empty() && !FScheduled) {
        // Run from the event loop, after the last step has returned.
        FScheduled = true;
        QMetaObject::invokeMethod(this, &TTableSteps::RunPending, Qt::QueuedConnection);
    }
    if (FDepth == 0)
        emit idle();
}

void TTableSteps::RunPending()
{
    FScheduled = false;
    if (Busy())
        return;  // another step began first; it reschedules when it ends
    // A close makes everything else moot.
    std::vector<TTableRequest> pending;
    pending.swap(FPending);
    if (std::find(pending.begin(), pending.end(), TTableRequest::Close) != pending.end())
        pending = {TTableRequest::Close};
    for (TTableRequest request : pending) {
        if (Busy()) {
            FPending.push_back(request);  // a step began inside the last request
            continue;
        }
        if (Perform)
            Perform(request);
    }
    if (!FPending.empty() && !Busy() && !FScheduled) {
        FScheduled = true;
        QMetaObject::invokeMethod(this, &TTableSteps::RunPending, Qt::QueuedConnection);
    }
}

}  // namespace spades
