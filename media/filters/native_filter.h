#pragma once
// Video filters of our own that a filter-chain text can name beside libavfilter's filters. The filter library
// cannot take new filters at run time, so the chain runner (filter_chain.h) splits a chain at these names and runs
// them itself on AVFrames; everything else in the chain runs as libavfilter graphs.
//
// Live values: a preview that follows the user's sliders passes, in place of fixed numbers, the handles of live
// cells registered here. A handle is a small number that only means something to this registry, so a chain text
// from anywhere else can never make a filter read or write arbitrary memory. The registry shares ownership of a
// cell with its owner: a graph still running after the owner let go keeps reading the last value.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
}

// One running instance of a native filter inside one chain. Runs on the thread that runs the chain (a conversion
// worker or a player's video thread); never called from two threads at once.
class TNativeFilter {
public:
    virtual ~TNativeFilter() = default;
    // Changes the frame in place. The runner hands over a writable frame whose pixel format is one the filter's
    // description accepts. Answers 0, or a negative AVERROR that stops the chain.
    virtual int FilterFrame(AVFrame* AFrame) = 0;
};

// Builds an instance from the argument text (what follows "=" in the chain, trimmed; empty when there is none).
// ALogContext is the instance's own av_log context (its item name is the filter's name), valid as long as the
// instance lives. A bad argument throws Exception with the text the chain reports.
using TNativeFilterFactory = std::function<std::unique_ptr<TNativeFilter>(const std::string& AArgs, void* ALogContext)>;

struct TNativeFilterDesc {
    std::string Name;                         // the name in chain texts, compared exactly
    std::string Description;
    std::vector<AVPixelFormat> PixelFormats;  // accepted input formats; empty accepts any
    TNativeFilterFactory Create;
};

// Registers a filter by name once per run. Answers false (and keeps the first description) when the name is
// already taken by a native filter. Thread-safe.
bool RegisterNativeFilter(const TNativeFilterDesc& ADesc);
// The registered description, or nullptr. The description stays valid for the rest of the run.
const TNativeFilterDesc* FindNativeFilter(const std::string& AName);

// A live value: one 32-bit cell written by the user-interface thread and read (and, when out of range, corrected)
// by the thread that runs the chain. Relaxed loads and stores are enough: each slice reads whole values.
using TLiveCell = std::shared_ptr<std::atomic<int32_t>>;

TLiveCell NewLiveCell(int32_t AValue = 0);
// Answers the cell's handle, a number above 0 that chain texts carry in place of the cell.
int64_t RegisterLiveCell(const TLiveCell& ACell);
void UnregisterLiveCell(int64_t AHandle);
// The cell of a handle; nullptr for 0 or a handle that is not (or no longer) registered.
TLiveCell FindLiveCell(int64_t AHandle);
