#include "media/transcode/write_queue.h"

#include <utility>

TWriteQueue::TWriteQueue(size_t ADepth, TJob ABeforeJob, TJob AAfterJob)
    : FDepth(ADepth < 1 ? 1 : ADepth), FBeforeJob(std::move(ABeforeJob)), FAfterJob(std::move(AAfterJob))
{
}

TWriteQueue::~TWriteQueue() { Finish(); }

void TWriteQueue::Start()
{
    if (Running()) return;
    {
        std::lock_guard guard(FLock);
        FQuit = false;
    }
    FThread = std::thread([this] { Execute(); });
}

void TWriteQueue::Submit(TJob AJob, const std::function<bool()>& AOverfill)
{
    if (!Running()) {
        AJob();
        return;
    }
    std::unique_lock guard(FLock);
    // The stop is seen within a slice even though nobody signals this lock when it comes.
    while (!FFailure && FJobs.size() >= FDepth && !(AOverfill && AOverfill()))
        FChanged.wait_for(guard, std::chrono::milliseconds(50));
    if (FFailure) std::rethrow_exception(FFailure);
    FJobs.push_back(std::move(AJob));
    FChanged.notify_all();
}

void TWriteQueue::Sync()
{
    std::unique_lock guard(FLock);
    FChanged.wait(guard, [this] { return FFailure || (FJobs.empty() && !FBusy); });
    if (FFailure) std::rethrow_exception(FFailure);
}

void TWriteQueue::Finish()
{
    if (!Running()) return;
    {
        std::lock_guard guard(FLock);
        FQuit = true;
    }
    FChanged.notify_all();
    FThread.join();
}

std::exception_ptr TWriteQueue::Failure() const
{
    std::lock_guard guard(FLock);
    return FFailure;
}

void TWriteQueue::Execute()
{
    std::unique_lock guard(FLock);
    for (;;) {
        FChanged.wait(guard, [this] { return !FJobs.empty() || FQuit; });
        if (FJobs.empty()) return;
        TJob job = std::move(FJobs.front());
        FJobs.pop_front();
        FBusy = true;
        guard.unlock();
        std::exception_ptr failure;
        try {
            if (FBeforeJob) FBeforeJob();
            job();
            if (FAfterJob) FAfterJob();
        } catch (...) {
            failure = std::current_exception();
        }
        // Freed here, outside the lock: a job may hold a picture.
        job = nullptr;
        guard.lock();
        FBusy = false;
        if (failure) {
            FFailure = failure;
            FJobs.clear();
        }
        FChanged.notify_all();
    }
}
