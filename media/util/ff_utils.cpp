#include "media/util/ff_utils.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "media/loader/av_bindings.h"
#include "media/log/ff_logger.h"
#include "media/util/text_format.h"
#include "platform/rtl/sysutils.h"

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

void TFrameFree::operator()(AVFrame* AFrame) const
{
    if (AFrame != nullptr && ff::av_frame_free != nullptr) ff::av_frame_free(&AFrame);
}

void TPacketFree::operator()(AVPacket* APacket) const
{
    if (APacket != nullptr && ff::av_packet_free != nullptr) ff::av_packet_free(&APacket);
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
