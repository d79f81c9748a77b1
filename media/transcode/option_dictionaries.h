#pragma once
// The transcoder's generic options. Option names that no handler of the transcoder takes are checked against the
// option tables of FFmpeg's codec, format and scaler contexts (and the private tables of codecs and formats) and
// collected per kind, so that each dictionary can later be handed to the context it belongs to.
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

enum TOptionKind { okVideoCodec, okAudioCodec, okSubtitleCodec, okFormat, okScaler };
inline constexpr int OptionKindCount = 5;

class TOptionDictionaries {
public:
    TOptionDictionaries();
    ~TOptionDictionaries();
    TOptionDictionaries(const TOptionDictionaries&) = delete;
    TOptionDictionaries& operator=(const TOptionDictionaries&) = delete;

    // Needs avutil, avcodec, avformat and swscale bound. Empties every dictionary.
    void Init(int ASwsFlags);
    void Uninit();
    bool Initialized() const { return FCodecHolder != nullptr; }

    // Checks the name and the value and stores them in the dictionaries of every kind the option belongs to.
    // A private option of a codec is checked against the codec named for its kind (AVideoCodec, AAudioCodec,
    // ASubtitleCodec; empty: any codec that has it, value unchecked). On failure answers false and keeps
    // "Unrecognized option \"%s\"" or "Invalid value \"%s\" for option \"%s\"" in LastError().
    bool Set(const std::string& AName, const std::string& AValue, const std::string& AVideoCodec,
             const std::string& AAudioCodec, const std::string& ASubtitleCodec);

    AVDictionary* Dictionary(TOptionKind AKind) const { return FDicts[AKind]; }
    // The value stored for AName in AKind's dictionary, or empty.
    std::string Value(TOptionKind AKind, const std::string& AName) const;
    // The value the codec options last took for AName (the generic codec option, as a number).
    int64_t CodecHolderInt(const std::string& AName) const;
    // A copy the caller frees with av_dict_free.
    AVDictionary* CopyOf(TOptionKind AKind) const;

    const std::string& LastError() const { return FLastError; }

private:
    enum TSetResult { srUnknown, srInvalid, srStored };
    TSetResult SetOnCodecHolder(const std::string& AName, const std::string& AValue, int AOnlyKind);
    TSetResult SetOnHolder(void* AHolder, TOptionKind AKind, const std::string& AName, const std::string& AValue);
    TSetResult SetNamedCodecPrivate(const std::string& AName, const std::string& AValue, const std::string* ACodecs);
    TSetResult SetAnyPrivate(const std::string& AName, const std::string& AValue);
    void Store(TOptionKind AKind, const std::string& AName, const std::string& AValue);

    AVCodecContext* FCodecHolder = nullptr;
    AVFormatContext* FFormatHolder = nullptr;
    SwsContext* FScalerHolder = nullptr;
    AVDictionary* FDicts[OptionKindCount] = {};
    std::string FLastError;
};
