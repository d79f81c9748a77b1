#pragma once
// The write side of a run on a thread of its own: encoding and muxing jobs, run one after another in the order
// they were handed in, while the run's own thread reads, decodes and filters the next pictures. The queue holds
// only a few jobs, so the reading side never runs far ahead (memory stays flat).
//
// Before it is started, and after Finish, a job runs at once on the thread that hands it in: the queue then
// behaves exactly like a direct call.
//
// A job that fails (throws) ends the queue: the jobs still waiting are dropped, and the failure is thrown again
// to the handing thread by its next Submit or Sync, so that it reaches the run as if the job had run there.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <chrono>
#include <mutex>
#include <thread>

class TWriteQueue {
public:
    using TJob = std::function<void()>;

    // ABeforeJob runs on the queue's thread before each job (it may wait, e.g. while the run is paused);
    // AAfterJob after each job that succeeded.
    TWriteQueue(size_t ADepth, TJob ABeforeJob, TJob AAfterJob);
    ~TWriteQueue();
    TWriteQueue(const TWriteQueue&) = delete;
    TWriteQueue& operator=(const TWriteQueue&) = delete;

    void Start();
    bool Running() const { return FThread.joinable(); }
    // Waits while the queue is full, unless AOverfill answers true (a stop: the handing side must get on to its
    // end rather than wait for a writer that may be held).
    void Submit(TJob AJob, const std::function<bool()>& AOverfill = {});
    // Waits until every job handed in so far has run; throws the failure of one that failed.
    void Sync();
    // Runs what is left, then ends the thread; throws nothing. Jobs handed in later run at once.
    void Finish();
    // The failure that ended the queue, or none.
    std::exception_ptr Failure() const;

private:
    void Execute();

    const size_t FDepth;
    TJob FBeforeJob;
    TJob FAfterJob;
    mutable std::mutex FLock;
    std::condition_variable FChanged;
    std::deque<TJob> FJobs;
    bool FBusy = false;  // a job is running
    bool FQuit = false;
    std::exception_ptr FFailure;
    std::thread FThread;
};
