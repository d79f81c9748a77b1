#include "media/encoder/terminate_delivery.h"

#include "platform/rtl/main_thread_queue.h"

class TTerminateDelivery::TDeliveryThread : public TThread {
public:
    explicit TDeliveryThread(TTerminateDelivery& AOwner) : TThread(true), FOwner(AOwner) {}

protected:
    void Execute() override { FOwner.ThreadBody(); }

private:
    TTerminateDelivery& FOwner;
};

TTerminateDelivery::TTerminateDelivery(THandler AHandler) : FHandler(std::move(AHandler)) {}

TTerminateDelivery::~TTerminateDelivery()
{
    {
        std::lock_guard guard(FLock);
        FClosing = true;
    }
    FChanged.notify_all();
    // On the main thread the wait keeps running queued calls, which a handler may be waiting for. The thread is
    // joined before its object goes, whose destructor would otherwise run while the thread still ends.
    if (FThread && FThread->ThreadID() != win::GetCurrentThreadId()) FThread->WaitFor();
    FThread.reset();
}

void TTerminateDelivery::Post(const TTerminateInfo& AInfo, bool AOnThread)
{
    {
        std::lock_guard guard(FLock);
        (AOnThread ? FThreadQueue : FCallerQueue).push_back(AInfo);
        if (AOnThread && !FThread) {
            FThread = std::make_unique<TDeliveryThread>(*this);
            FThread->Start();
        }
    }
    FChanged.notify_all();
}

void TTerminateDelivery::DeliverHere()
{
    std::unique_lock guard(FLock);
    DeliverFrom(FCallerQueue, guard);
}

bool TTerminateDelivery::Idle()
{
    std::lock_guard guard(FLock);
    return !FDelivering && FThreadQueue.empty() && FCallerQueue.empty();
}

void TTerminateDelivery::DeliverFrom(std::deque<TTerminateInfo>& AQueue, std::unique_lock<std::mutex>& AGuard)
{
    while (!AQueue.empty()) {
        // One handler at a time, whichever thread delivers.
        FChanged.wait(AGuard, [this] { return !FDelivering; });
        if (AQueue.empty()) break;
        const TTerminateInfo info = AQueue.front();
        AQueue.pop_front();
        FDelivering = true;
        AGuard.unlock();
        try {
            FHandler(info);
        } catch (...) {
            // A failing handler must not stop the events after it: the run's end still has to be told.
        }
        // A main thread waiting in slices for the end of the run looks again.
        WakeMainThreadWaits();
        AGuard.lock();
        FDelivering = false;
        FChanged.notify_all();
    }
}

void TTerminateDelivery::ThreadBody()
{
    std::unique_lock guard(FLock);
    for (;;) {
        FChanged.wait(guard, [this] { return FClosing || !FThreadQueue.empty(); });
        DeliverFrom(FThreadQueue, guard);
        if (FClosing && FThreadQueue.empty()) return;
    }
}
