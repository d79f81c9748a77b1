#include "media/filters/filter_chain.h"

#include <algorithm>
#include <cctype>

#include "media/filters/native_filter.h"
#include "media/loader/av_bindings.h"
#include "media/util/ff_utils.h"
#include "media/util/text_format.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"

namespace {

struct TChainItem {
    std::string Text;  // as written, quoting and escapes kept for libavfilter
    std::string Name;
    std::string Args;
};

// Splits at the commas and semicolons that separate filters, leaving those inside quotes, escapes and link labels.
std::vector<TChainItem> SplitChain(const std::string& AChain, bool& AHasSeveralChains)
{
    std::vector<std::string> texts(1);
    bool quoted = false;
    int bracket = 0;
    AHasSeveralChains = false;
    for (size_t i = 0; i < AChain.size(); ++i) {
        const char c = AChain[i];
        if (c == '\\' && i + 1 < AChain.size()) {
            texts.back() += c;
            texts.back() += AChain[++i];
            continue;
        }
        if (c == '\'') quoted = !quoted;
        if (!quoted && c == '[') ++bracket;
        if (!quoted && c == ']' && bracket > 0) --bracket;
        if (!quoted && bracket == 0 && (c == ',' || c == ';')) {
            AHasSeveralChains = AHasSeveralChains || c == ';';
            texts.emplace_back();
            continue;
        }
        texts.back() += c;
    }
    std::vector<TChainItem> items;
    for (const std::string& text : texts) {
        TChainItem item{Trim(text), {}, {}};
        size_t at = 0;
        while (at < item.Text.size() && item.Text[at] == '[') {  // input link labels
            at = item.Text.find(']', at);
            at = at == std::string::npos ? item.Text.size() : at + 1;
            while (at < item.Text.size() && std::isspace(static_cast<unsigned char>(item.Text[at]))) ++at;
        }
        auto name_char = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
        size_t end = at;
        while (end < item.Text.size() && name_char(item.Text[end])) ++end;
        item.Name = item.Text.substr(at, end - at);
        const size_t equals = item.Text.find('=', end);
        if (equals != std::string::npos) item.Args = Trim(item.Text.substr(equals + 1));
        if (item.Name.empty())
            throw Exception(StrFormat("Filter name expected in the filter chain \"%s\"", AChain.c_str()));
        items.push_back(std::move(item));
    }
    return items;
}

// The av_log context of a native filter instance: log lines carry the filter's name as their item name.
struct TNativeLogContext {
    const AVClass* Class;
    std::string Name;
    AVClass OwnClass;
};

const char* NativeItemName(void* AContext) { return static_cast<TNativeLogContext*>(AContext)->Name.c_str(); }

}  // namespace

class TFilterStage {
public:
    TFilterStage(TFilterChain& AChain, size_t AIndex) : FChain(AChain), FIndex(AIndex) {}
    virtual ~TFilterStage() = default;
    // Takes AFrame (nullptr: end of stream) and hands what it produces to the next stage.
    virtual int Push(TFramePtr AFrame, AVRational ATimeBase) = 0;

protected:
    int Emit(TFramePtr AFrame, AVRational ATimeBase) { return FChain.Emit(FIndex + 1, AFrame.release(), ATimeBase); }
    int Fail(int ACode, const std::string& AText)
    {
        FChain.FLastErrMsg = AText;
        return ACode;
    }

    TFilterChain& FChain;
    const size_t FIndex;
};

namespace {

class TNativeStage final : public TFilterStage {
public:
    TNativeStage(TFilterChain& AChain, size_t AIndex, const TNativeFilterDesc& ADesc, const std::string& AArgs)
        : TFilterStage(AChain, AIndex), FDesc(ADesc)
    {
        FLog.OwnClass.class_name = "native filter";
        FLog.OwnClass.item_name = NativeItemName;
        FLog.OwnClass.version = LIBAVUTIL_VERSION_INT;
        FLog.Class = &FLog.OwnClass;
        FLog.Name = ADesc.Name;
        FFilter = ADesc.Create(AArgs, &FLog);
        if (!FFilter) throw Exception(StrFormat("Native filter \"%s\" could not be created", ADesc.Name.c_str()));
    }

    int Push(TFramePtr AFrame, AVRational ATimeBase) override
    {
        if (!AFrame) return Emit(nullptr, ATimeBase);
        const auto& formats = FDesc.PixelFormats;
        if (!formats.empty() && std::find(formats.begin(), formats.end(), AFrame->format) == formats.end()) {
            const char* name = ff::av_get_pix_fmt_name(static_cast<AVPixelFormat>(AFrame->format));
            return Fail(AVERROR(EINVAL), StrFormat("Native filter \"%s\" does not take pixel format %s",
                                                   FDesc.Name.c_str(), name ? name : "none"));
        }
        int result = ff::av_frame_make_writable(AFrame.get());
        if (result >= 0) result = FFilter->FilterFrame(AFrame.get());
        if (result < 0) return Fail(result, AVErrorText("Native filter " + FDesc.Name, result));
        return Emit(std::move(AFrame), ATimeBase);
    }

private:
    const TNativeFilterDesc& FDesc;
    TNativeLogContext FLog{};
    std::unique_ptr<TNativeFilter> FFilter;
};

class TGraphStage final : public TFilterStage {
public:
    TGraphStage(TFilterChain& AChain, size_t AIndex, std::string AText, std::vector<AVPixelFormat> ASinkFormats,
                int AScaleFlags)
        : TFilterStage(AChain, AIndex), FText(std::move(AText)), FSinkFormats(std::move(ASinkFormats)),
          FScaleFlags(AScaleFlags)
    {
    }
    ~TGraphStage() override { ff::avfilter_graph_free(&FGraph); }

    int Push(TFramePtr AFrame, AVRational ATimeBase) override
    {
        if (!AFrame) {
            const int result = FGraph != nullptr ? Flush() : 0;
            return result < 0 ? result : Emit(nullptr, FGraph != nullptr ? FOutputTimeBase : ATimeBase);
        }
        // A graph is built for one picture size and format; when the input changes, what the old graph holds
        // goes out first and a new graph takes over.
        if (FGraph != nullptr &&
            (AFrame->width != FWidth || AFrame->height != FHeight || AFrame->format != FFormat)) {
            const int result = Flush();
            ff::avfilter_graph_free(&FGraph);
            if (result < 0) return result;
        }
        if (FGraph == nullptr) {
            const int result = Configure(*AFrame, ATimeBase);
            if (result < 0) {
                ff::avfilter_graph_free(&FGraph);
                return result;
            }
        }
        const int result = ff::av_buffersrc_add_frame_flags(FSource, AFrame.get(), 0);
        if (result < 0) return Fail(result, AVErrorText("Filter graph \"" + FText + "\"", result));
        return Drain();
    }

private:
    int Configure(const AVFrame& AFrame, AVRational ATimeBase)
    {
        const std::string where = "Filter graph \"" + FText + "\"";
        FGraph = ff::avfilter_graph_alloc();
        if (FGraph == nullptr) return Fail(AVERROR(ENOMEM), AVErrorText(where, AVERROR(ENOMEM)));
        FGraph->scale_sws_opts = ff::av_strdup(StrFormat("flags=%d", FScaleFlags).c_str());
        const AVRational sar = AFrame.sample_aspect_ratio;
        const std::string args = StrFormat("video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d",
                                           AFrame.width, AFrame.height, AFrame.format, ATimeBase.num,
                                           ATimeBase.den, sar.num, sar.num == 0 ? 1 : sar.den);
        int result = ff::avfilter_graph_create_filter(&FSource, ff::avfilter_get_by_name("buffer"), "in",
                                                      args.c_str(), nullptr, FGraph);
        if (result >= 0)
            result = ff::avfilter_graph_create_filter(&FSink, ff::avfilter_get_by_name("buffersink"), "out",
                                                      nullptr, nullptr, FGraph);
        if (result >= 0 && !FSinkFormats.empty())
            result = ff::av_opt_set_bin(FSink, "pix_fmts", reinterpret_cast<const uint8_t*>(FSinkFormats.data()),
                                        static_cast<int>(FSinkFormats.size() * sizeof(AVPixelFormat)),
                                        AV_OPT_SEARCH_CHILDREN);
        if (result >= 0) result = Parse();
        if (result >= 0) result = ff::avfilter_graph_config(FGraph, nullptr);
        if (result < 0) return Fail(result, AVErrorText(where, result));
        FWidth = AFrame.width;
        FHeight = AFrame.height;
        FFormat = AFrame.format;
        FOutputTimeBase = ff::av_buffersink_get_time_base(FSink);
        return 0;
    }

    int Parse()
    {
        AVFilterInOut* outputs = ff::avfilter_inout_alloc();
        AVFilterInOut* inputs = ff::avfilter_inout_alloc();
        int result = AVERROR(ENOMEM);
        if (outputs != nullptr && inputs != nullptr) {
            outputs->name = ff::av_strdup("in");
            outputs->filter_ctx = FSource;
            inputs->name = ff::av_strdup("out");
            inputs->filter_ctx = FSink;
            result = ff::avfilter_graph_parse_ptr(FGraph, FText.c_str(), &inputs, &outputs, nullptr);
        }
        ff::avfilter_inout_free(&inputs);
        ff::avfilter_inout_free(&outputs);
        return result;
    }

    int Flush()
    {
        const int result = ff::av_buffersrc_add_frame_flags(FSource, nullptr, 0);
        if (result < 0) return Fail(result, AVErrorText("Filter graph \"" + FText + "\"", result));
        return Drain();
    }

    int Drain()
    {
        for (;;) {
            TFramePtr frame(ff::av_frame_alloc());
            if (!frame) return Fail(AVERROR(ENOMEM), AVErrorText("Filter graph", AVERROR(ENOMEM)));
            const int result = ff::av_buffersink_get_frame(FSink, frame.get());
            if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return 0;
            if (result < 0) return Fail(result, AVErrorText("Filter graph \"" + FText + "\"", result));
            const int emitted = Emit(std::move(frame), FOutputTimeBase);
            if (emitted < 0) return emitted;
        }
    }

    const std::string FText;
    const std::vector<AVPixelFormat> FSinkFormats;
    const int FScaleFlags;
    AVFilterGraph* FGraph = nullptr;
    AVFilterContext* FSource = nullptr;
    AVFilterContext* FSink = nullptr;
    int FWidth = 0, FHeight = 0, FFormat = AV_PIX_FMT_NONE;
    AVRational FOutputTimeBase{1, 25};
};

// One stage of the plan: a native filter, or a stretch of libavfilter text.
struct TPlannedStage {
    const TNativeFilterDesc* Native = nullptr;
    std::string Text;  // native: its argument text
};

}  // namespace

TFilterChain::TFilterChain() : FScaleFlags(SWS_BICUBIC) {}

TFilterChain::~TFilterChain()
{
    FStages.clear();
    for (AVFrame* frame : FOutput) ff::av_frame_free(&frame);
}

void TFilterChain::Open(const std::string& AChain, AVRational ATimeBase)
{
    if (ff::avfilter_get_by_name == nullptr) throw Exception("The filter library is not loaded");
    FStages.clear();
    for (AVFrame* frame : FOutput) ff::av_frame_free(&frame);
    FOutput.clear();
    FEnded = false;
    FInputTimeBase = FOutputTimeBase = ATimeBase;

    std::vector<TPlannedStage> plan;
    if (!Trim(AChain).empty()) {
        bool several_chains = false;
        const std::vector<TChainItem> items = SplitChain(AChain, several_chains);
        for (const TChainItem& item : items) {
            const TNativeFilterDesc* native = FindNativeFilter(item.Name);
            if (native == nullptr && ff::avfilter_get_by_name(item.Name.c_str()) == nullptr)
                throw Exception(StrFormat("No such filter: \"%s\" (in the filter chain \"%s\")", item.Name.c_str(),
                                          AChain.c_str()));
            if (native != nullptr && several_chains)
                throw Exception(StrFormat("Native filter \"%s\" can only be used in a single filter chain",
                                          item.Name.c_str()));
            if (native != nullptr)
                plan.push_back({native, item.Args});
            else if (!plan.empty() && plan.back().Native == nullptr)
                plan.back().Text += "," + item.Text;
            else
                plan.push_back({nullptr, item.Text});
        }
        // A graph of several chains goes to libavfilter whole.
        if (several_chains) plan.assign(1, {nullptr, AChain});
    }
    // A native filter with a format list needs a graph in front that converts to it; so does a chain that must
    // deliver given formats and does not end in a graph.
    // A native filter hands on the format it was given, so one that only takes formats this one takes as well
    // needs no graph between them.
    auto takes_all_of = [](const TNativeFilterDesc& ATaker, const TNativeFilterDesc& AGiver) {
        if (ATaker.PixelFormats.empty()) return true;
        if (AGiver.PixelFormats.empty()) return false;
        return std::all_of(AGiver.PixelFormats.begin(), AGiver.PixelFormats.end(), [&](AVPixelFormat AFormat) {
            return std::find(ATaker.PixelFormats.begin(), ATaker.PixelFormats.end(), AFormat) !=
                   ATaker.PixelFormats.end();
        });
    };
    for (size_t i = 0; i < plan.size(); ++i)
        if (plan[i].Native != nullptr &&
            (i == 0 ? !plan[i].Native->PixelFormats.empty()
                    : plan[i - 1].Native != nullptr && !takes_all_of(*plan[i].Native, *plan[i - 1].Native)))
            plan.insert(plan.begin() + static_cast<long>(i++), TPlannedStage{nullptr, "null"});
    if (!FOutputFormats.empty() && (plan.empty() || plan.back().Native != nullptr))
        plan.push_back({nullptr, "null"});

    for (size_t i = 0; i < plan.size(); ++i) {
        if (plan[i].Native != nullptr) {
            FStages.push_back(std::make_unique<TNativeStage>(*this, i, *plan[i].Native, plan[i].Text));
            continue;
        }
        std::vector<AVPixelFormat> sink_formats;
        if (i + 1 < plan.size()) sink_formats = plan[i + 1].Native->PixelFormats;
        else sink_formats = FOutputFormats;
        FStages.push_back(std::make_unique<TGraphStage>(*this, i, plan[i].Text, sink_formats, FScaleFlags));
    }
}

int TFilterChain::Emit(size_t AStage, AVFrame* AFrame, AVRational ATimeBase)
{
    if (AStage < FStages.size()) return FStages[AStage]->Push(TFramePtr(AFrame), ATimeBase);
    if (AFrame == nullptr) {
        FEnded = true;
    } else {
        FOutput.push_back(AFrame);
        FOutputTimeBase = ATimeBase;
    }
    return 0;
}

int TFilterChain::SendFrame(const AVFrame* AFrame)
{
    if (FEnded) return AVERROR_EOF;
    if (AFrame == nullptr) return Emit(0, nullptr, FInputTimeBase);
    AVFrame* copy = ff::av_frame_alloc();
    if (copy == nullptr || ff::av_frame_ref(copy, AFrame) < 0) {
        ff::av_frame_free(&copy);
        FLastErrMsg = AVErrorText("Filter chain", AVERROR(ENOMEM));
        return AVERROR(ENOMEM);
    }
    return Emit(0, copy, FInputTimeBase);
}

int TFilterChain::ReceiveFrame(AVFrame* AFrame)
{
    if (FOutput.empty()) return FEnded ? AVERROR_EOF : AVERROR(EAGAIN);
    AVFrame* frame = FOutput.front();
    FOutput.pop_front();
    ff::av_frame_move_ref(AFrame, frame);
    ff::av_frame_free(&frame);
    return 0;
}
