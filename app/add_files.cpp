#include "app/add_files.h"

#include <optional>

#include "app/probe_pool.h"
#include "platform/rtl/main_thread_queue.h"
#include "platform/rtl/sysutils.h"

TFileAdder::TFileAdder(TJobList& AJobs, TCustomDecoder& ADecoder, TEventsLog& AEventsLog, const TCatalogue& ACatalogue)
    : FJobs(AJobs), FDecoder(ADecoder), FEventsLog(AEventsLog), FCatalogue(ACatalogue)
{
}

TFileAdder::~TFileAdder() = default;

bool TFileAdder::AddMediaFile(const std::string& APath) { return TakeResult(APath, ProbeMediaFile(FDecoder, APath)); }

bool TFileAdder::TakeResult(const std::string& APath, const TProbeResult& AResult)
{
    if (!AResult.Loaded) {
        FEventsLog.AddEmpty();
        FEventsLog.Add("File load error: " + AResult.Error);
        FEventsLog.AddEmpty();
        if (ShowMessage)
            ShowMessage("File " + ExtractFileName(APath) + " is not a valid media file or its format is not supported.");
        return false;
    }
    // Logged once the list took it: a locked list refuses the add.
    FJobs.Append(MakeVideoFile(APath, AResult.File, FCatalogue.Current));
    FEventsLog.Add("File added: " + APath);
    return true;
}

int TFileAdder::AddChosenFiles(const std::vector<std::string>& APaths, std::function<void()> AThen)
{
    return Add({APaths, true, std::move(AThen)});
}

int TFileAdder::AddDroppedFiles(const std::vector<std::string>& APaths, std::function<void()> AThen)
{
    return Add({APaths, false, std::move(AThen)});
}

bool TFileAdder::WaitForProbe(size_t AIndex, TProbeResult& AResult)
{
    for (;;) {
        if (Stopped && Stopped()) return false;
        if (std::optional<TProbeResult> result = FPool->TakeIfReady(AIndex)) {
            AResult = std::move(*result);
            return true;
        }
        if (WaitStep) {
            if (!WaitStep()) return false;
        } else {
            CheckSynchronize(100);
        }
    }
}

void TFileAdder::AfterAdding(std::function<void()> AThen)
{
    if (!AThen) return;
    if (!FPool) {
        AThen();
        return;
    }
    FBatches.push_back({{}, false, std::move(AThen)});
}

int TFileAdder::Add(TBatch ABatch)
{
    if (FPool) {
        // Reached from the window's messages handled while an add waits: that add takes these files in turn.
        FPool->Add(ABatch.Paths);
        FBatches.push_back(std::move(ABatch));
        return -1;
    }
    TProbePool pool;
    FPool = &pool;
    // However the add ends (done, the program closing, an exception), no batch is left behind and the workers
    // are joined before the pool goes.
    struct TReset {
        TFileAdder& Adder;
        ~TReset()
        {
            Adder.FBatches.clear();
            Adder.FPool = nullptr;
        }
    } reset{*this};
    pool.Add(ABatch.Paths);
    FBatches.push_back(std::move(ABatch));

    int first_added = -1;
    size_t next = 0;
    while (!FBatches.empty()) {
        int added = 0;
        // Batches may be queued behind this one meanwhile; a deque keeps the front where it is.
        const TBatch& batch = FBatches.front();
        for (const std::string& path : batch.Paths) {
            TProbeResult result;
            if (!WaitForProbe(next++, result)) return first_added < 0 ? added : first_added;
            added += TakeResult(path, result) ? 1 : 0;
        }
        if (batch.SelectLast) FJobs.SetRow(FJobs.Count());
        const std::function<void()> then = batch.Then;
        FBatches.pop_front();
        if (first_added < 0) first_added = added;
        if (then) then();
    }
    return first_added;
}
