#pragma once
// For the conversion tools: an interrupt (Ctrl+C) or a termination request stops the conversion the way its Stop
// does, so that the output is finished or removed, never left half-written. Further requests while that stop runs
// change nothing: ending the process then would leave the half-written output behind (only SIGKILL does so, and
// the converter removes such leftovers when it next converts into that folder).
//
// Create it first thing in main, before any thread starts: SIGINT and SIGTERM are blocked for the whole process
// and taken by a thread of its own, where the handler runs (not in signal context, so it may take locks).
#include <signal.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

class TSignalStop {
public:
    explicit TSignalStop(std::function<void()> AOnStop = nullptr) : FOnStop(std::move(AOnStop))
    {
        sigemptyset(&FSignals);
        sigaddset(&FSignals, SIGINT);
        sigaddset(&FSignals, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &FSignals, nullptr);
        FWatcher = std::thread([this] { Watch(); });
    }
    ~TSignalStop()
    {
        FQuit = true;
        FWatcher.join();
    }
    TSignalStop(const TSignalStop&) = delete;
    TSignalStop& operator=(const TSignalStop&) = delete;

    // A stop was asked for.
    bool Requested() const { return FRequested; }
    // Runs on the watcher thread at the first request; set before anything it stops exists, cleared after.
    void SetOnStop(std::function<void()> AOnStop)
    {
        FOnStopLock.lock();
        FOnStop = std::move(AOnStop);
        FOnStopLock.unlock();
    }

private:
    void Watch()
    {
        const timespec slice{0, 50 * 1000 * 1000};
        while (!FQuit) {
            const int signal = sigtimedwait(&FSignals, nullptr, &slice);
            if (signal <= 0) continue;
            if (FRequested.exchange(true)) continue;
            FOnStopLock.lock();
            if (FOnStop) FOnStop();
            FOnStopLock.unlock();
        }
    }

    sigset_t FSignals{};
    std::function<void()> FOnStop;
    std::mutex FOnStopLock;
    std::atomic<bool> FRequested{false};
    std::atomic<bool> FQuit{false};
    std::thread FWatcher;
};
