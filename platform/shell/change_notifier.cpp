#include "platform/shell/change_notifier.h"

#include "platform/rtl/main_thread_queue.h"

#include <dirent.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <mutex>
#include <thread>
#include <vector>

// The worker: waits on the inotify descriptor and an eventfd. Destruction writes the eventfd, so the wait ends at
// once without any change in the folder. Option changes replace the watches on the one inotify descriptor, which
// stays open under the wait.
class TspShellChangeWorker {
public:
    explicit TspShellChangeWorker(std::function<void()> APost) : FPost(std::move(APost))
    {
        FInotify = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        FWake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        FThread = std::thread([this] { Run(); });
    }

    ~TspShellChangeWorker()
    {
        FTerminated = true;
        Wake();
        FThread.join();
        if (FInotify >= 0) close(FInotify);
        if (FWake >= 0) close(FWake);
    }

    // The watch is in place when this returns, so a change made right after it is seen.
    void SetDirectoryOptions(const std::string& ADirectory, bool AWatchSubTree, uint32_t AMask)
    {
        std::lock_guard lock(FLock);
        FDirectory = ADirectory;
        FWatchSubTree = AWatchSubTree;
        FMask = AMask;
        Rewatch();
    }

private:
    void Wake()
    {
        uint64_t one = 1;
        if (FWake >= 0) [[maybe_unused]] auto n = write(FWake, &one, sizeof one);
    }

    void AddWatches(const std::string& ADirectory, bool ASubTree, uint32_t AMask, int ADepth = 0)
    {
        int wd = inotify_add_watch(FInotify, ADirectory.c_str(), AMask | IN_ONLYDIR);
        if (wd < 0) return;
        FWatches.push_back(wd);
        if (!ASubTree || ADepth > 64) return;
        DIR* dir = opendir(ADirectory.c_str());
        if (!dir) return;
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            std::string path = ADirectory == "/" ? "/" + name : ADirectory + "/" + name;
            struct stat st {};
            // Links are not followed: a link to an ancestor would loop.
            if (lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) AddWatches(path, true, AMask, ADepth + 1);
        }
        closedir(dir);
    }

    // Under FLock.
    void Rewatch()
    {
        FWaitChanged = false;
        for (int wd : FWatches) inotify_rm_watch(FInotify, wd);
        FWatches.clear();
        if (FMask) AddWatches(FDirectory, FWatchSubTree, FMask | (FWatchSubTree ? IN_CREATE | IN_MOVED_TO : 0));
    }

    // Reads every pending event; answers whether one of them is a change the filters ask about.
    bool Drain()
    {
        alignas(inotify_event) char buffer[16 * (sizeof(inotify_event) + NAME_MAX + 1)];
        bool changed = false;
        for (;;) {
            ssize_t n = read(FInotify, buffer, sizeof buffer);
            if (n <= 0) break;
            for (char* p = buffer; p < buffer + n;) {
                auto* event = reinterpret_cast<inotify_event*>(p);
                std::lock_guard lock(FLock);
                if (event->mask & FMask) changed = true;
                if (FWatchSubTree && (event->mask & IN_ISDIR) && (event->mask & (IN_CREATE | IN_MOVED_TO)))
                    FWaitChanged = true;  // watch the new folder too
                p += sizeof(inotify_event) + event->len;
            }
        }
        return changed;
    }

    void Run()
    {
        while (!FTerminated) {
            {
                std::lock_guard lock(FLock);
                if (FWaitChanged) Rewatch();
            }
            pollfd fds[2] = {{FInotify, POLLIN, 0}, {FWake, POLLIN, 0}};
            if (poll(fds, 2, -1) < 0) {
                if (errno == EINTR) continue;
                return;
            }
            if (fds[1].revents & POLLIN) {
                uint64_t count;
                [[maybe_unused]] auto n = read(FWake, &count, sizeof count);
            }
            if (FTerminated) return;
            if ((fds[0].revents & POLLIN) && Drain()) FPost();
        }
    }

    std::function<void()> FPost;
    int FInotify = -1;
    int FWake = -1;
    std::thread FThread;
    std::atomic<bool> FTerminated{false};
    std::mutex FLock;  // guards the options and the watches below
    std::string FDirectory;
    bool FWatchSubTree = false;
    uint32_t FMask = 0;
    bool FWaitChanged = false;  // a new subfolder appeared: watch again
    std::vector<int> FWatches;
};

uint32_t NotifyMaskOf(TNotifyFilters AFilters)
{
    uint32_t mask = 0;
    if (AFilters.Contains(nfFileNameChange) || AFilters.Contains(nfDirNameChange))
        mask |= IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF;
    if (AFilters.Contains(nfAttributeChange) || AFilters.Contains(nfSecurityChange)) mask |= IN_ATTRIB;
    if (AFilters.Contains(nfSizeChange) || AFilters.Contains(nfWriteChange)) mask |= IN_MODIFY | IN_CLOSE_WRITE;
    return mask;
}

TspCustomShellChangeNotifier::TspCustomShellChangeNotifier(TComponent* AOwner) : TComponent(AOwner)
{
    StartThread();
}

TspCustomShellChangeNotifier::~TspCustomShellChangeNotifier()
{
    FWorker.reset();  // joins: nothing is posted after this
    RemoveQueuedEvents(this);
}

void TspCustomShellChangeNotifier::SetNotifyFilters(TNotifyFilters AValue)
{
    FFilters = AValue;
    ApplyOptions();
}

void TspCustomShellChangeNotifier::SetRoot(const std::string& AValue)
{
    if (AValue == FRoot) return;
    FRoot = AValue;
    ApplyOptions();
}

void TspCustomShellChangeNotifier::SetWatchSubTree(bool AValue)
{
    FWatchSubTree = AValue;
    ApplyOptions();
}

void TspCustomShellChangeNotifier::SetOnChange(TThreadMethod AValue)
{
    FOnChange = std::move(AValue);
    if (!FWorker) StartThread();
}

void TspCustomShellChangeNotifier::StartThread()
{
    if (!FOnChange) return;
    FWorker = std::make_unique<TspShellChangeWorker>([this] { Post(); });
    ApplyOptions();
}

void TspCustomShellChangeNotifier::ApplyOptions()
{
    if (FWorker) FWorker->SetDirectoryOptions(FRoot, FWatchSubTree, NotifyMaskOf(FFilters));
}

void TspCustomShellChangeNotifier::Post()
{
    // A burst of changes while the main thread is busy becomes one call.
    if (!FPending.exchange(true)) QueueInMainThread(this, [this] { Deliver(); });
}

void TspCustomShellChangeNotifier::Deliver()
{
    FPending = false;
    // The handler is read here, on the main thread, where it is also replaced; a copy runs, so a handler that
    // replaces itself is not destroyed while it runs.
    TThreadMethod handler = FOnChange;
    if (handler) handler();
}
