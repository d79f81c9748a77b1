#include "media/loader/interrupt_registry.h"

#include <algorithm>

#include "platform/rtl/threads.h"

TInterruptCB* InterruptCB = nullptr;

TInterruptCB::~TInterruptCB() { Clear(); }

void TInterruptCB::Add(Cardinal AThreadID, TObject* ASender, TInterruptProc AInterrupt)
{
    std::lock_guard guard(FLock);
    for (const TItem& item : FList)
        if (item.ThreadID == AThreadID && item.Sender == ASender && item.Interrupt == AInterrupt) return;
    FList.push_back({AThreadID, ASender, AInterrupt});
}

void TInterruptCB::Remove(Cardinal AThreadID, TObject* ASender, TInterruptProc AInterrupt)
{
    std::lock_guard guard(FLock);
    auto it = std::find_if(FList.begin(), FList.end(), [&](const TItem& item) {
        return item.ThreadID == AThreadID && item.Sender == ASender && item.Interrupt == AInterrupt;
    });
    if (it != FList.end()) FList.erase(it);
}

bool TInterruptCB::Interrupt(Cardinal AThreadID)
{
    std::lock_guard guard(FLock);
    for (const TItem& item : FList)
        if (item.ThreadID == AThreadID) return item.Interrupt(item.Sender);
    return false;
}

void TInterruptCB::Clear()
{
    std::lock_guard guard(FLock);
    FList.clear();
}

int FFInterruptCallback(void*)
{
    return InterruptCB != nullptr && InterruptCB->Interrupt(win::GetCurrentThreadId()) ? 1 : 0;
}

AVIOInterruptCB InterruptCallback() { return AVIOInterruptCB{FFInterruptCallback, nullptr}; }
