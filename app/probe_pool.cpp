#include "app/probe_pool.h"

#include <algorithm>

#include "platform/rtl/main_thread_queue.h"
#include "platform/rtl/threads.h"

int DefaultProbeThreads() { return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 8); }

TProbePool::TProbePool(int AMaxThreads) : FMaxThreads(std::max(AMaxThreads, 1)) {}

TProbePool::~TProbePool()
{
    {
        std::lock_guard lock(FLock);
        FStopping = true;
    }
    FWorkArrived.notify_all();
    // A worker may be waiting for the main thread to take one of its log lines: keep running those calls until
    // no probe is under way, or joining it would wait forever.
    if (win::GetCurrentThreadId() == MainThreadID) {
        for (;;) {
            {
                std::lock_guard lock(FLock);
                if (FBusy == 0) break;
            }
            CheckSynchronize(10);
        }
    }
    for (std::thread& thread : FThreads) thread.join();
    RemoveQueuedEvents(this);
}

void TProbePool::Add(const std::vector<std::string>& APaths)
{
    size_t waiting;
    {
        std::lock_guard lock(FLock);
        FPaths.insert(FPaths.end(), APaths.begin(), APaths.end());
        FResults.resize(FPaths.size());
        waiting = FPaths.size() - FNext;
    }
    FWorkArrived.notify_all();
    // Decoders are made here, on the owner's thread, and freed by the destructor after the join.
    while (FThreads.size() < static_cast<size_t>(FMaxThreads) && FThreads.size() < waiting) {
        FDecoders.push_back(std::make_unique<TCustomDecoder>(nullptr));
        TCustomDecoder& decoder = *FDecoders.back();
        FThreads.emplace_back([this, &decoder] { Work(decoder); });
    }
}

size_t TProbePool::Count() const
{
    std::lock_guard lock(FLock);
    return FPaths.size();
}

std::optional<TProbeResult> TProbePool::TakeIfReady(size_t AIndex)
{
    std::lock_guard lock(FLock);
    if (AIndex >= FResults.size() || !FResults[AIndex]) return std::nullopt;
    std::optional<TProbeResult> result = std::move(FResults[AIndex]);
    FResults[AIndex].reset();
    return result;
}

void TProbePool::Work(TCustomDecoder& ADecoder)
{
    std::unique_lock lock(FLock);
    for (;;) {
        FWorkArrived.wait(lock, [this] { return FStopping || FNext < FPaths.size(); });
        if (FStopping) return;
        const size_t index = FNext++;
        const std::string path = FPaths[index];
        ++FBusy;
        lock.unlock();
        TProbeResult result;
        try {
            result = ProbeMediaFile(ADecoder, path);
        } catch (const std::exception& e) {
            result.Error = e.what();
        }
        lock.lock();
        FResults[index] = std::move(result);
        --FBusy;
        lock.unlock();
        // Wakes a main thread asleep in its message loop or in CheckSynchronize.
        QueueInMainThread(this, [] {});
        lock.lock();
    }
}
