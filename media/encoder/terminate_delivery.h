#pragma once
// The one road by which an encoder's termination events reach its handler: records are delivered in the order
// they were posted, one at a time, either on a delivery thread of the encoder's own (tasks on threads) or on the
// thread that asks for them (tasks run in turn on the caller's thread). So a task's handler never overlaps
// another's, and the final event comes after every task's event has returned.
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "media/encoder/encoder.h"
#include "platform/rtl/threads.h"

class TTerminateDelivery {
public:
    using THandler = std::function<void(const TTerminateInfo&)>;

    explicit TTerminateDelivery(THandler AHandler);
    // Delivers what is still queued, then ends the delivery thread.
    ~TTerminateDelivery();
    TTerminateDelivery(const TTerminateDelivery&) = delete;
    TTerminateDelivery& operator=(const TTerminateDelivery&) = delete;

    // Any thread. AOnThread: the delivery thread takes it; else it waits for DeliverHere.
    void Post(const TTerminateInfo& AInfo, bool AOnThread);
    // Delivers the records waiting for the caller, in order, on this thread.
    void DeliverHere();
    // Nothing queued and no handler running.
    bool Idle();

private:
    class TDeliveryThread;

    void DeliverFrom(std::deque<TTerminateInfo>& AQueue, std::unique_lock<std::mutex>& AGuard);
    void ThreadBody();

    THandler FHandler;
    std::mutex FLock;
    std::condition_variable FChanged;
    std::deque<TTerminateInfo> FThreadQueue;
    std::deque<TTerminateInfo> FCallerQueue;
    bool FDelivering = false;
    bool FClosing = false;
    std::unique_ptr<TThread> FThread;
};
