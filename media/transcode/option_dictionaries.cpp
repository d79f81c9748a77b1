#include "media/transcode/option_dictionaries.h"

#include "media/loader/av_bindings.h"
#include "media/util/text_format.h"
#include "platform/rtl/sysutils.h"

namespace {

constexpr TOptionKind CodecKinds[] = {okVideoCodec, okAudioCodec, okSubtitleCodec};
constexpr int CodecKindFlags[] = {AV_OPT_FLAG_VIDEO_PARAM, AV_OPT_FLAG_AUDIO_PARAM, AV_OPT_FLAG_SUBTITLE_PARAM};

int KindOfMediaType(AVMediaType AType)
{
    switch (AType) {
    case AVMEDIA_TYPE_VIDEO:
        return okVideoCodec;
    case AVMEDIA_TYPE_AUDIO:
        return okAudioCodec;
    case AVMEDIA_TYPE_SUBTITLE:
        return okSubtitleCodec;
    default:
        return -1;
    }
}

bool ClassKnows(const AVClass* AClass, const char* AName)
{
    return AClass != nullptr && ff::av_opt_find(&AClass, AName, nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ) != nullptr;
}

const AVCodec* CodecByName(const std::string& AName)
{
    if (AName.empty() || AName == "copy") return nullptr;
    const AVCodec* codec = ff::avcodec_find_encoder_by_name(AName.c_str());
    return codec != nullptr ? codec : ff::avcodec_find_decoder_by_name(AName.c_str());
}

// Sets the value on a fresh context of the codec, which is the only way to check a private option's value.
bool PrivateValueValid(const AVCodec* ACodec, const std::string& AName, const std::string& AValue)
{
    AVCodecContext* context = ff::avcodec_alloc_context3(ACodec);
    if (context == nullptr) return false;
    const bool valid =
        context->priv_data == nullptr || ff::av_opt_set(context->priv_data, AName.c_str(), AValue.c_str(), 0) >= 0;
    ff::avcodec_free_context(&context);
    return valid;
}

}  // namespace

TOptionDictionaries::TOptionDictionaries() = default;

TOptionDictionaries::~TOptionDictionaries() { Uninit(); }

void TOptionDictionaries::Init(int ASwsFlags)
{
    Uninit();
    FCodecHolder = ff::avcodec_alloc_context3(nullptr);
    FFormatHolder = ff::avformat_alloc_context();
    FScalerHolder = ff::sws_alloc_context();
    if (FScalerHolder != nullptr) ff::av_opt_set_int(FScalerHolder, "sws_flags", ASwsFlags, 0);
    ff::av_dict_set(&FDicts[okScaler], "sws_flags", std::to_string(ASwsFlags).c_str(), 0);
}

void TOptionDictionaries::Uninit()
{
    if (FCodecHolder != nullptr) ff::avcodec_free_context(&FCodecHolder);
    if (FFormatHolder != nullptr) ff::avformat_free_context(FFormatHolder);
    FFormatHolder = nullptr;
    if (FScalerHolder != nullptr) ff::sws_freeContext(FScalerHolder);
    FScalerHolder = nullptr;
    for (AVDictionary*& dict : FDicts)
        if (dict != nullptr) ff::av_dict_free(&dict);
}

void TOptionDictionaries::Store(TOptionKind AKind, const std::string& AName, const std::string& AValue)
{
    ff::av_dict_set(&FDicts[AKind], AName.c_str(), AValue.c_str(), 0);
}

TOptionDictionaries::TSetResult TOptionDictionaries::SetOnCodecHolder(const std::string& AName,
                                                                      const std::string& AValue, int AOnlyKind)
{
    const AVOption* option = ff::av_opt_find(FCodecHolder, AName.c_str(), nullptr, 0, 0);
    if (option == nullptr) return srUnknown;
    if (ff::av_opt_set(FCodecHolder, AName.c_str(), AValue.c_str(), 0) < 0) return srInvalid;
    // Aliases ("ab" for "b") are kept under the first name of their field, so that a later value of either
    // replaces the earlier one instead of both reaching the codec in dictionary order.
    std::string name = AName;
    for (const AVOption* other = nullptr; (other = ff::av_opt_next(FCodecHolder, other)) != nullptr;)
        if (other->offset == option->offset && other->type == option->type) {
            name = other->name;
            break;
        }
    bool stored = false;
    for (int k = 0; k < 3; ++k) {
        if (AOnlyKind >= 0 && AOnlyKind != CodecKinds[k]) continue;
        if (AOnlyKind >= 0 || (option->flags & CodecKindFlags[k]) != 0) {
            Store(CodecKinds[k], name, AValue);
            stored = true;
        }
    }
    // An option of no particular media kind (threads, strict, ...) belongs to every codec.
    if (!stored)
        for (TOptionKind kind : CodecKinds) Store(kind, name, AValue);
    return srStored;
}

TOptionDictionaries::TSetResult TOptionDictionaries::SetOnHolder(void* AHolder, TOptionKind AKind,
                                                                 const std::string& AName, const std::string& AValue)
{
    if (AHolder == nullptr || ff::av_opt_find(AHolder, AName.c_str(), nullptr, 0, 0) == nullptr) return srUnknown;
    if (ff::av_opt_set(AHolder, AName.c_str(), AValue.c_str(), 0) < 0) return srInvalid;
    Store(AKind, AName, AValue);
    return srStored;
}

TOptionDictionaries::TSetResult TOptionDictionaries::SetNamedCodecPrivate(const std::string& AName,
                                                                          const std::string& AValue,
                                                                          const std::string* ACodecs)
{
    for (int k = 0; k < 3; ++k) {
        const AVCodec* codec = CodecByName(ACodecs[k]);
        if (codec == nullptr || !ClassKnows(codec->priv_class, AName.c_str())) continue;
        if (!PrivateValueValid(codec, AName, AValue)) return srInvalid;
        Store(CodecKinds[k], AName, AValue);
        return srStored;
    }
    return srUnknown;
}

TOptionDictionaries::TSetResult TOptionDictionaries::SetAnyPrivate(const std::string& AName, const std::string& AValue)
{
    const char* name = AName.c_str();
    void* state = nullptr;
    while (const AVCodec* codec = ff::av_codec_iterate(&state)) {
        const int kind = KindOfMediaType(codec->type);
        if (kind < 0 || !ClassKnows(codec->priv_class, name)) continue;
        Store(static_cast<TOptionKind>(kind), AName, AValue);
        return srStored;
    }
    state = nullptr;
    while (const AVOutputFormat* format = ff::av_muxer_iterate(&state))
        if (ClassKnows(format->priv_class, name)) {
            Store(okFormat, AName, AValue);
            return srStored;
        }
    state = nullptr;
    while (const AVInputFormat* format = ff::av_demuxer_iterate(&state))
        if (ClassKnows(format->priv_class, name)) {
            Store(okFormat, AName, AValue);
            return srStored;
        }
    return srUnknown;
}

bool TOptionDictionaries::Set(const std::string& AName, const std::string& AValue, const std::string& AVideoCodec,
                              const std::string& AAudioCodec, const std::string& ASubtitleCodec)
{
    TSetResult result = srUnknown;
    if (Initialized() && !Trim(AName).empty()) {
        // A named codec's own option comes first: given both, the codec takes its own ("profile" of the H.264
        // encoder is a name, the generic one a number).
        const std::string codecs[3] = {AVideoCodec, AAudioCodec, ASubtitleCodec};
        result = SetNamedCodecPrivate(AName, AValue, codecs);
        if (result == srUnknown) result = SetOnCodecHolder(AName, AValue, -1);
        if (result == srUnknown) result = SetOnHolder(FFormatHolder, okFormat, AName, AValue);
        if (result == srUnknown) result = SetOnHolder(FScalerHolder, okScaler, AName, AValue);
        // "ab", "vb", "sbsf"-style names: a codec option for one kind only.
        if (result == srUnknown && AName.size() > 1) {
            const int kind = AName[0] == 'v' ? okVideoCodec : AName[0] == 'a' ? okAudioCodec
                             : AName[0] == 's' ? okSubtitleCodec : -1;
            if (kind >= 0) result = SetOnCodecHolder(AName.substr(1), AValue, kind);
        }
        if (result == srUnknown) result = SetAnyPrivate(AName, AValue);
    }
    if (result == srInvalid)
        FLastError = StrFormat("Invalid value \"%s\" for option \"%s\"", AValue.c_str(), AName.c_str());
    else if (result == srUnknown)
        FLastError = StrFormat("Unrecognized option \"%s\"", AName.c_str());
    return result == srStored;
}

std::string TOptionDictionaries::Value(TOptionKind AKind, const std::string& AName) const
{
    const AVDictionaryEntry* entry = ff::av_dict_get(FDicts[AKind], AName.c_str(), nullptr, AV_DICT_MATCH_CASE);
    return entry != nullptr && entry->value != nullptr ? entry->value : std::string();
}

AVDictionary* TOptionDictionaries::CopyOf(TOptionKind AKind) const
{
    AVDictionary* copy = nullptr;
    ff::av_dict_copy(&copy, FDicts[AKind], 0);
    return copy;
}

int64_t TOptionDictionaries::CodecHolderInt(const std::string& AName) const
{
    int64_t value = 0;
    if (FCodecHolder != nullptr) ff::av_opt_get_int(FCodecHolder, AName.c_str(), 0, &value);
    return value;
}
