#pragma once
// The main-thread call queue: workers hand calls to the user-interface thread, which runs them from its message
// loop (through the wake-up hook) or from CheckSynchronize. Works without any display, so tests drive it directly.
// TThread::Synchronize and TThread::Queue are built on these functions.
#include "platform/rtl/threads.h"
#include "platform/rtl/types.h"

#include <functional>

// Any thread. Runs AMethod on the main thread and blocks until it ran (at once when called on the main thread);
// an exception thrown by AMethod is raised again in the caller. AOwner only tags the call.
void SynchronizeInMainThread(const void* AOwner, TThreadMethod AMethod);
// Any thread. Queues AMethod for the main thread and returns at once. Calls run in the order queued.
void QueueInMainThread(const void* AOwner, TThreadMethod AMethod);
// Any thread. Drops the queued (not the synchronized) calls tagged with AOwner, for an object being destroyed.
// A call already running is not affected.
void RemoveQueuedEvents(const void* AOwner);

// Main thread only (raises EThread elsewhere). Runs the calls pending when it starts, waiting up to ATimeout
// milliseconds for the first one when none is pending (a WakeMainThreadWaits ends that wait early too). Returns
// whether any ran. An exception from a queued call
// leaves here with the later calls still queued; one from a synchronized call goes to its waiting worker.
bool CheckSynchronize(DWORD ATimeout = 0);

// Any thread. Called on the queuing thread each time a call is queued, so that a message loop asleep in its own
// wait wakes up and calls CheckSynchronize. Empty = none.
void SetWakeMainThread(std::function<void()> AWake);
// Called on the main thread in every slice of WaitForWithSlices, so the window layer can also pump window messages
// while the main thread waits for a worker. Empty = none.
void SetWaitSlicePump(std::function<void()> APump);

// Waits until ADone() is true, in slices of ASlice milliseconds. On the main thread each slice runs queued calls
// (and the slice pump), and a queued call ends the slice at once. Returns false when ATimeout ran out first.
bool WaitForWithSlices(const std::function<bool()>& ADone, DWORD ASlice = 10, DWORD ATimeout = win::INFINITE);
// Waits for AThread to finish (Execute and OnTerminate done), the same way. Not for a FreeOnTerminate thread,
// which may be gone by the time it is looked at.
bool WaitForWithSlices(TThread& AThread, DWORD ASlice = 10, DWORD ATimeout = win::INFINITE);

// Wakes a main thread waiting in CheckSynchronize or WaitForWithSlices so it looks at its predicate again.
void WakeMainThreadWaits();
