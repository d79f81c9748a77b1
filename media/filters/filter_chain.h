#pragma once
// Runs a video filter-chain text ("nativeeq=10:0, crop=..., scale=160:120") over AVFrames. The text is split at
// the names of native filters (native_filter.h): those run in our code on the frames, every stretch of other
// filters runs as a libavfilter graph (buffer -> the stretch -> buffersink). A stretch in front of a native filter
// converts to a pixel format the filter accepts; when a stretch is missing there, a "null" one is put in.
//
// One chain is used by one thread at a time (a conversion worker or a player's video thread).
#include <deque>
#include <memory>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
#include <libavutil/rational.h>
}

class TFilterStage;

class TFilterChain {
public:
    TFilterChain();
    ~TFilterChain();
    TFilterChain(const TFilterChain&) = delete;
    TFilterChain& operator=(const TFilterChain&) = delete;

    // Formats the chain must deliver (the encoder's or the display's); empty leaves the format to the filters.
    // Set before Open.
    void SetOutputFormats(std::vector<AVPixelFormat> AFormats) { FOutputFormats = std::move(AFormats); }
    // Scaler flags for the scalers the graphs insert or run (SWS_BICUBIC by default). Set before Open.
    void SetScaleFlags(int AFlags) { FScaleFlags = AFlags; }

    // Builds the stages for AChain (an empty text passes frames through); ATimeBase is the time base of the
    // frames to come. Raises Exception for a filter name nobody knows, a native filter's bad argument, or a
    // multi-chain graph that names a native filter.
    void Open(const std::string& AChain, AVRational ATimeBase);

    // Takes a reference to AFrame (the caller keeps its own); nullptr ends the stream and drains the stages.
    // Answers 0 or a negative AVERROR, with the reason in LastErrMsg.
    int SendFrame(const AVFrame* AFrame);
    // 0 with a filtered frame moved into AFrame, AVERROR(EAGAIN) when none is ready, AVERROR_EOF after the end.
    int ReceiveFrame(AVFrame* AFrame);
    // The time base of the frames ReceiveFrame delivers.
    AVRational OutputTimeBase() const { return FOutputTimeBase; }
    const std::string& LastErrMsg() const { return FLastErrMsg; }

private:
    friend class TFilterStage;
    int Emit(size_t AStage, AVFrame* AFrame, AVRational ATimeBase);

    std::vector<AVPixelFormat> FOutputFormats;
    int FScaleFlags;
    AVRational FInputTimeBase{1, 25};
    AVRational FOutputTimeBase{1, 25};
    std::vector<std::unique_ptr<TFilterStage>> FStages;
    std::deque<AVFrame*> FOutput;
    bool FEnded = false;
    std::string FLastErrMsg;
};
