#pragma once
// Watches a directory with inotify on a worker thread and calls OnChange on the user-interface thread (through
// the main-thread call queue), once per burst of changes. Destruction wakes the worker through an eventfd, joins
// it and drops calls still queued, so no handler runs after the notifier is gone.
#include "platform/rtl/classes.h"
#include "platform/rtl/set.h"
#include "platform/rtl/threads.h"

#include <atomic>
#include <memory>
#include <string>

enum TNotifyFilter { nfFileNameChange, nfDirNameChange, nfAttributeChange, nfSizeChange, nfWriteChange, nfSecurityChange };
using TNotifyFilters = TSet<TNotifyFilter>;

class TspShellChangeWorker;

class TspCustomShellChangeNotifier : public TComponent {
public:
    explicit TspCustomShellChangeNotifier(TComponent* AOwner);
    ~TspCustomShellChangeNotifier() override;

    TNotifyFilters NotifyFilters() const { return FFilters; }
    void SetNotifyFilters(TNotifyFilters AValue);
    const std::string& Root() const { return FRoot; }
    // Any change of the bytes counts: on POSIX "/a" and "/A" are two folders.
    void SetRoot(const std::string& AValue);
    // Subfolders are watched to the depth they have when the watch starts; new ones join at the next change.
    bool WatchSubTree() const { return FWatchSubTree; }
    void SetWatchSubTree(bool AValue);
    const TThreadMethod& OnChange() const { return FOnChange; }
    // The first handler starts the worker; an empty one keeps it running and silent.
    void SetOnChange(TThreadMethod AValue);

    // Whether a worker runs (for tests).
    bool Watching() const { return FWorker != nullptr; }

private:
    void StartThread();
    void ApplyOptions();
    void Deliver();
    void Post();

    TNotifyFilters FFilters{nfFileNameChange, nfDirNameChange};
    bool FWatchSubTree = true;
    std::string FRoot = "/";
    std::unique_ptr<TspShellChangeWorker> FWorker;
    TThreadMethod FOnChange;
    std::atomic<bool> FPending{false};  // a call is queued for the main thread
};

class TspShellChangeNotifier final : public TspCustomShellChangeNotifier {
public:
    using TspCustomShellChangeNotifier::TspCustomShellChangeNotifier;
};

// inotify mask of the filters.
uint32_t NotifyMaskOf(TNotifyFilters AFilters);
