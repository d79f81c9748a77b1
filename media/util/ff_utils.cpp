#include "media/util/ff_utils.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "media/loader/av_bindings.h"
#include "media/log/ff_logger.h"
#include "media/util/text_format.h"
#include "platform/rtl/sysutils.h"

namespace {

std::mutex OptionErrorLock;
std::string OptionError;

void SetOptionError(const std::string& AText)
{
    std::lock_guard guard(OptionErrorLock);
    OptionError = AText;
}

bool PrivateClassKnows(const AVClass* AClass, const char* AName)
{
    return AClass != nullptr && ff::av_opt_find(&AClass, AName, nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ) != nullptr;
}

bool SomePrivateClassKnows(const char* AName)
{
    void* state = nullptr;
    while (const AVCodec* codec = ff::av_codec_iterate(&state))
        if (PrivateClassKnows(codec->priv_class, AName)) return true;
    state = nullptr;
    while (const AVOutputFormat* format = ff::av_muxer_iterate(&state))
        if (PrivateClassKnows(format->priv_class, AName)) return true;
    return false;
}

}  // namespace

std::string FormatTimestamp(int64_t ATime)
{
    if (ATime == AV_NOPTS_VALUE) return "N/A";
    const int64_t seconds = ATime / 1000000;
    return StrFormat("%.2d:%.2d:%.2d.%.3d", static_cast<int>(seconds / 3600), static_cast<int>(seconds % 3600 / 60),
                     static_cast<int>(seconds % 60), static_cast<int>(ATime % 1000000 * 1000 / 1000000));
}

int64_t FrameDuration(AVRational ARate)
{
    if (ARate.num == 0 || ARate.den == 0) return 40000;
    return int64_t{1000000} * ARate.den / ARate.num;
}

std::string MetadataValue(const AVDictionary* AMetadata, const std::string& AKey, const std::string& ADefault)
{
    const AVDictionaryEntry* entry = ff::av_dict_get(AMetadata, AKey.c_str(), nullptr, 0);
    return entry != nullptr && entry->value != nullptr ? entry->value : ADefault;
}

std::string CodecText(const AVCodecContext* ACodecContext, bool AEncoder)
{
    const AVCodec* codec = AEncoder ? ff::avcodec_find_encoder(ACodecContext->codec_id)
                                    : ff::avcodec_find_decoder(ACodecContext->codec_id);
    if (codec != nullptr) {
        const std::string long_name = Trim(codec->long_name ? codec->long_name : "");
        return long_name.empty() ? codec->name : StrFormat("%s(%s)", codec->name, long_name.c_str());
    }
    if (ACodecContext->codec_id == AV_CODEC_ID_MPEG2TS) return "mpeg2ts";
    // The codec-name field of older contexts is gone; a known id still has its name.
    if (ACodecContext->codec_id != AV_CODEC_ID_NONE) return Trim(ff::avcodec_get_name(ACodecContext->codec_id));
    const unsigned tag = ACodecContext->codec_tag;
    char chars[4];
    bool printable = true;
    for (int i = 0; i < 4; ++i) {
        chars[i] = static_cast<char>((tag >> (8 * i)) & 0xFF);
        printable = printable && chars[i] >= 32 && chars[i] <= 126;
    }
    if (printable) return StrFormat("%c%c%c%c / 0x%04X", chars[0], chars[1], chars[2], chars[3], tag);
    return StrFormat("0x%04x", tag);
}

std::string MediaTypeName(int AType)
{
    static const char* const names[] = {"Video", "Audio", "Data", "Subtitle", "Attachment"};
    return AType >= 0 && AType < 5 ? names[AType] : "Unknown";
}

void InitOptions(TFFOptions& AOptions, int ASwsFlags)
{
    UninitOptions(AOptions);
    for (int t = 0; t < AVMEDIA_TYPE_NB; ++t) {
        AOptions.avcodec_opts[t] = ff::avcodec_alloc_context3(nullptr);
        AOptions.avcodec_opts[t]->codec_type = static_cast<AVMediaType>(t);
    }
    AOptions.avformat_opts = ff::avformat_alloc_context();
    AOptions.sws_opts = ff::sws_alloc_context();
    ff::av_opt_set_int(AOptions.sws_opts, "sws_flags", ASwsFlags, 0);
}

void UninitOptions(TFFOptions& AOptions)
{
    for (AVCodecContext*& context : AOptions.avcodec_opts) ff::avcodec_free_context(&context);
    if (AOptions.avformat_opts != nullptr) ff::avformat_free_context(AOptions.avformat_opts);
    AOptions.avformat_opts = nullptr;
    if (AOptions.sws_opts != nullptr) ff::sws_freeContext(AOptions.sws_opts);
    AOptions.sws_opts = nullptr;
    AOptions.Options.clear();
}

bool OptDefault(TFFOptions& AOptions, const std::string& AName, const std::string& AValue)
{
    if (Trim(AName).empty()) return false;
    const char* name = AName.c_str();
    const char* value = AValue.c_str();
    // Video, audio, data, subtitle, attachment: an option reaches a holder when its flags admit that kind.
    static const int type_masks[AVMEDIA_TYPE_NB] = {AV_OPT_FLAG_VIDEO_PARAM, AV_OPT_FLAG_AUDIO_PARAM, 0,
                                                    AV_OPT_FLAG_SUBTITLE_PARAM, 0};
    const AVOption* found = nullptr;
    int result = 0;
    for (int t = 0; t < AVMEDIA_TYPE_NB && result >= 0; ++t) {
        const AVOption* option = ff::av_opt_find(AOptions.avcodec_opts[0], name, nullptr, type_masks[t], 0);
        if (option == nullptr) continue;
        found = option;
        result = ff::av_opt_set(AOptions.avcodec_opts[t], name, value, 0);
    }
    auto set_on = [&](void* AHolder, const char* AOptionName) {
        if (found != nullptr || AHolder == nullptr) return;
        found = ff::av_opt_find(AHolder, AOptionName, nullptr, 0, 0);
        if (found != nullptr) result = ff::av_opt_set(AHolder, AOptionName, value, 0);
    };
    set_on(AOptions.avformat_opts, name);
    set_on(AOptions.sws_opts, name);
    if (name[0] == 'a') set_on(AOptions.avcodec_opts[AVMEDIA_TYPE_AUDIO], name + 1);
    if (name[0] == 'v') set_on(AOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO], name + 1);
    if (name[0] == 's') set_on(AOptions.avcodec_opts[AVMEDIA_TYPE_SUBTITLE], name + 1);

    if (found != nullptr && result < 0) {
        ff::av_log(nullptr, AV_LOG_ERROR, "Invalid value \"%s\" for option \"%s\"\n", value, name);
        SetOptionError(StrFormat("Invalid value \"%s\" for option \"%s\"", value, name));
        return false;
    }
    if (found == nullptr && !SomePrivateClassKnows(name)) {
        ff::av_log(nullptr, AV_LOG_ERROR, "Unrecognized option \"%s\"\n", name);
        SetOptionError(StrFormat("Unrecognized option \"%s\"", name));
        return false;
    }
    if (found != nullptr)
        AOptions.Options.emplace_back(found->name, std::string());
    else
        AOptions.Options.emplace_back(AName, AValue);
    if (AOptions.avcodec_opts[0]->debug != 0 || AOptions.avformat_opts->debug != 0)
        LoggerInstance()->SetLogLevel(llDebug);
    return true;
}

void SetContextOpts(TFFOptions& AOptions, void* AContext, void* AOptsContext, const AVCodec* ACodec, int AFlags)
{
    void* private_context = nullptr;
    const char* class_name = (*static_cast<const AVClass* const*>(AContext))->class_name;
    if (std::strcmp(class_name, "AVCodecContext") == 0 && ACodec != nullptr && ACodec->priv_class != nullptr)
        private_context = static_cast<AVCodecContext*>(AContext)->priv_data;
    else if (std::strcmp(class_name, "AVFormatContext") == 0) {
        const AVFormatContext* format = static_cast<AVFormatContext*>(AContext);
        if (format->oformat != nullptr && format->oformat->priv_class != nullptr) private_context = format->priv_data;
    }
    for (const auto& [name, value] : AOptions.Options) {
        const AVOption* option = ff::av_opt_find(AOptsContext, name.c_str(), nullptr, 0, 0);
        uint8_t* text = nullptr;
        if (option != nullptr && ff::av_opt_get(AOptsContext, name.c_str(), 0, &text) >= 0) {
            if ((option->flags & AFlags) == AFlags)
                ff::av_opt_set(AContext, name.c_str(), reinterpret_cast<char*>(text), 0);
            ff::av_free(text);
        } else if (private_context != nullptr && ff::av_opt_find(private_context, name.c_str(), nullptr, 0, 0)) {
            ff::av_opt_set(private_context, name.c_str(), value.c_str(), 0);
        }
    }
}

std::string LastOptionError()
{
    std::lock_guard guard(OptionErrorLock);
    return OptionError;
}

void ClearLastOptionError() { SetOptionError(std::string()); }

int ReadWholeFile(const std::string& AFileName, uint8_t*& ABuffer, int& ASize)
{
    ABuffer = nullptr;
    ASize = 0;
    FILE* file = std::fopen(AFileName.c_str(), "rb");
    if (file == nullptr) return -1;
    long length = -1;
    // Back to the start after measuring: reading on from the end would give an empty buffer.
    if (std::fseek(file, 0, SEEK_END) == 0) length = std::ftell(file);
    if (length < 0 || length >= INT32_MAX || std::fseek(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        return -1;
    }
    ABuffer = static_cast<uint8_t*>(ff::av_malloc(static_cast<size_t>(length) + 1));
    if (ABuffer == nullptr) {
        std::fclose(file);
        return AVERROR(ENOMEM);
    }
    const size_t read = std::fread(ABuffer, 1, static_cast<size_t>(length), file);
    ABuffer[read] = 0;
    ASize = static_cast<int>(read) + 1;
    std::fclose(file);
    return 0;
}

void InitPtsCorrection(TPtsCorrectionContext& ACtx) { ACtx = TPtsCorrectionContext{}; }

int64_t GuessCorrectPts(TPtsCorrectionContext& ACtx, int64_t AReorderedPts, int64_t ADts)
{
    if (ADts != AV_NOPTS_VALUE) {
        ACtx.num_faulty_dts += ADts <= ACtx.last_dts;
        ACtx.last_dts = ADts;
    }
    if (AReorderedPts != AV_NOPTS_VALUE) {
        ACtx.num_faulty_pts += AReorderedPts <= ACtx.last_pts;
        ACtx.last_pts = AReorderedPts;
    }
    if (ACtx.num_faulty_pts > ACtx.num_faulty_dts && ADts != AV_NOPTS_VALUE) return ADts;
    if (AReorderedPts != AV_NOPTS_VALUE) return AReorderedPts;
    return ADts;
}
