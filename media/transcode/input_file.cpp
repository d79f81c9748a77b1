// Opening and probing an input file of a task, and looking codecs up by name.
#include <cmath>
#include <utility>

#include "media/decode/unicode_names.h"
#include "media/loader/av_bindings.h"
#include "media/transcode/custom_ffmpeg.h"
#include "media/util/ff_utils.h"
#include "media/util/text_format.h"
#include "platform/rtl/sysutils.h"

namespace {

// The demuxer options that stand for the current picture and sound settings, for inputs that cannot tell them
// (raw video and audio, capture devices); other demuxers ignore them.
AVDictionary* InputHints(AVRational ARate, int ASampleRate, int AChannels, int AWidth, int AHeight,
                         AVPixelFormat APixFmt, int AChannel, const std::string& AStandard)
{
    AVDictionary* hints = nullptr;
    if (ARate.den != 0 && ARate.num > 0)
        ff::av_dict_set(&hints, "framerate", StrFormat("%d/%d", ARate.num, ARate.den).c_str(), 0);
    if (ASampleRate > 0) ff::av_dict_set(&hints, "sample_rate", std::to_string(ASampleRate).c_str(), 0);
    if (AChannels > 0) ff::av_dict_set(&hints, "channels", std::to_string(AChannels).c_str(), 0);
    if (AWidth > 0 && AHeight > 0)
        ff::av_dict_set(&hints, "video_size", StrFormat("%dx%d", AWidth, AHeight).c_str(), 0);
    if (APixFmt != AV_PIX_FMT_NONE) ff::av_dict_set(&hints, "pixel_format", ff::av_get_pix_fmt_name(APixFmt), 0);
    if (AChannel != 0) ff::av_dict_set(&hints, "channel", std::to_string(AChannel).c_str(), 0);
    if (!AStandard.empty()) ff::av_dict_set(&hints, "standard", AStandard.c_str(), 0);
    return hints;
}

}  // namespace

int CodecStrictness(const std::string& AText)
{
    static const struct {
        const char* Name;
        int Value;
    } names[] = {{"very", FF_COMPLIANCE_VERY_STRICT}, {"strict", FF_COMPLIANCE_STRICT},
                 {"normal", FF_COMPLIANCE_NORMAL},    {"unofficial", FF_COMPLIANCE_UNOFFICIAL},
                 {"experimental", FF_COMPLIANCE_EXPERIMENTAL}};
    for (const auto& name : names)
        if (AText == name.Name) return name.Value;
    return StrToIntDef(AText, FF_COMPLIANCE_NORMAL);
}

bool TCustomFFmpeg::LookupCodec(const std::string& AName, AVMediaType AType, int AStrict, bool AEncoder,
                                AVCodecID& AId)
{
    AId = AV_CODEC_ID_NONE;
    if (AName.empty()) return true;
    const char* kind = AEncoder ? "encoder" : "decoder";
    const AVCodec* codec = AEncoder ? ff::avcodec_find_encoder_by_name(AName.c_str())
                                    : ff::avcodec_find_decoder_by_name(AName.c_str());
    if (codec == nullptr) {
        FLastErrMsg = StrFormat("Unknown %s '%s'", kind, AName.c_str());
        return false;
    }
    if (codec->type != AType) {
        FLastErrMsg = StrFormat("Invalid %s type '%s'", kind, AName.c_str());
        return false;
    }
    if ((codec->capabilities & AV_CODEC_CAP_EXPERIMENTAL) != 0 && AStrict > FF_COMPLIANCE_EXPERIMENTAL) {
        FLastErrMsg = StrFormat("%s '%s' is experimental and might produce bad results.\r\n"
                                "Add '-strict experimental' if you want to use it.",
                                kind, codec->name);
        const AVCodec* first =
            AEncoder ? ff::avcodec_find_encoder(codec->id) : ff::avcodec_find_decoder(codec->id);
        if (first != nullptr && (first->capabilities & AV_CODEC_CAP_EXPERIMENTAL) == 0)
            FLastErrMsg += StrFormat("\r\nOr use the non experimental %s '%s'.", kind, first->name);
        return false;
    }
    AId = codec->id;
    return true;
}

bool TCustomFFmpeg::OpenInputFile(const std::string& AName)
{
    // Taken whether the file opens or not, so that it never passes to the next input.
    const std::string own_chain = std::exchange(Fnext_input_vfilters, std::string());
    // A "unicode:utf8:" name opens as the UTF-8 name it carries, as in the decoder.
    const std::string file_name = URLToWideName(AName);
    if (Fnb_input_files >= FMaxFiles) {
        FLastErrMsg = StrFormat("Too many input files (at most %d)", FMaxFiles);
        return false;
    }
    const AVInputFormat* format = nullptr;
    if (!Flast_asked_format.empty()) {
        format = ff::av_find_input_format(Flast_asked_format.c_str());
        if (format == nullptr)
            throw FFmpegException(StrFormat("Unknown input format: \"%s\"", Flast_asked_format.c_str()));
        Flast_asked_format.clear();
    }
    AVFormatContext* ic = ff::avformat_alloc_context();
    if (ic == nullptr) throw FFmpegException("avformat_alloc_context failed");
    AVDictionary* options = InputHints(Fframe_rate, Faudio_sample_rate, Faudio_channels, Fframe_width, Fframe_height,
                                       Fframe_pix_fmt, Fvideo_channel, Fvideo_standard);
    ff::av_dict_copy(&options, FOptions.Dictionary(okFormat), 0);

    AVCodecID video_id;
    AVCodecID audio_id;
    AVCodecID subtitle_id;
    if (!LookupCodec(Fvideo_codec_name, AVMEDIA_TYPE_VIDEO, CodecStrictness(FOptions.Value(okVideoCodec, "strict")),
                     false, video_id) ||
        !LookupCodec(Faudio_codec_name, AVMEDIA_TYPE_AUDIO, CodecStrictness(FOptions.Value(okAudioCodec, "strict")),
                     false, audio_id) ||
        !LookupCodec(Fsubtitle_codec_name, AVMEDIA_TYPE_SUBTITLE,
                     CodecStrictness(FOptions.Value(okSubtitleCodec, "strict")), false, subtitle_id)) {
        ff::av_dict_free(&options);
        ff::avformat_free_context(ic);
        return false;
    }
    ic->video_codec_id = video_id;
    ic->audio_codec_id = audio_id;
    ic->subtitle_codec_id = subtitle_id;
    ic->flags |= AVFMT_FLAG_NONBLOCK;
    ic->interrupt_callback = InterruptCallback();

    ArmReadTimeout();
    int result = ff::avformat_open_input(&ic, file_name.c_str(), format, &options);
    ff::av_dict_free(&options);
    if (result < 0) {
        DisarmReadTimeout();
        FLastErrMsg = AVErrorText(file_name, result);
        return false;
    }

    if (Fopt_programid != 0) {
        bool found = false;
        for (unsigned i = 0; i < ic->nb_streams; ++i) ic->streams[i]->discard = AVDISCARD_ALL;
        for (unsigned p = 0; p < ic->nb_programs; ++p) {
            AVProgram* program = ic->programs[p];
            if (program->id != Fopt_programid) {
                program->discard = AVDISCARD_ALL;
                continue;
            }
            found = true;
            for (unsigned s = 0; s < program->nb_stream_indexes; ++s)
                ic->streams[program->stream_index[s]]->discard = AVDISCARD_DEFAULT;
        }
        if (!found) {
            DisarmReadTimeout();
            FLastErrMsg = "Specified program id not found";
            ff::avformat_close_input(&ic);
            return false;
        }
        Fopt_programid = 0;
    }

    if (FOnBeforeFindStreamInfo) FOnBeforeFindStreamInfo(this, ic);
    ArmReadTimeout();
    result = ff::avformat_find_stream_info(ic, nullptr);
    if (result < 0) {
        DisarmReadTimeout();
        FLastErrMsg = StrFormat("%s: could not find codec parameters", file_name.c_str());
        if (Fverbose >= 0) Log(llVerbose, FLastErrMsg);
        ff::avformat_close_input(&ic);
        return false;
    }

    int64_t timestamp = Fstart_time;
    if (ic->start_time != AV_NOPTS_VALUE) timestamp += ic->start_time;
    if (Fstart_time != 0) {
        ArmReadTimeout();
        if (ff::av_seek_frame(ic, -1, timestamp, AVSEEK_FLAG_BACKWARD) < 0 && Fverbose > 0)
            Log(llVerbose, StrFormat("%s: could not seek to position %0.3f", file_name.c_str(),
                                     static_cast<double>(timestamp) / AV_TIME_BASE));
        Fstart_time = 0;
    }
    DisarmReadTimeout();

    for (unsigned i = 0; i < ic->nb_streams; ++i) {
        AVStream* stream = ic->streams[i];
        const AVCodecParameters* par = stream->codecpar;
        if (par->codec_type < AVMEDIA_TYPE_UNKNOWN || par->codec_type > AVMEDIA_TYPE_SUBTITLE + 1) {
            ff::avformat_close_input(&ic);
            throw FFmpegException("invalid codec_type");
        }
        const AVCodec* forced = nullptr;
        switch (par->codec_type) {
        case AVMEDIA_TYPE_VIDEO: {
            if (!Fvideo_codec_name.empty()) forced = ff::avcodec_find_decoder_by_name(Fvideo_codec_name.c_str());
            Fframe_width = par->width;
            Fframe_height = par->height;
            const AVRational sar = stream->sample_aspect_ratio.num != 0 ? stream->sample_aspect_ratio
                                                                         : par->sample_aspect_ratio;
            if (par->width > 0 && par->height > 0) {
                const double sar_value = sar.num != 0 && sar.den != 0 ? av_q2d(sar) : 1.0;
                Fframe_aspect_ratio = static_cast<float>(sar_value * par->width / par->height);
            } else if (sar.num == 0) {
                // Nothing is known of the picture: the television shape.
                Fframe_aspect_ratio = 4.0f / 3.0f;
            }
            Fframe_pix_fmt = par->format < 0 ? static_cast<AVPixelFormat>(0) : static_cast<AVPixelFormat>(par->format);
            const AVRational rate = stream->r_frame_rate.den != 0 ? stream->r_frame_rate : stream->avg_frame_rate;
            if (rate.num > 0 && rate.den > 0) Fframe_rate = rate;
            if (Fvideo_disable)
                stream->discard = AVDISCARD_ALL;
            else if (Fvideo_discard != 0)
                stream->discard = static_cast<AVDiscard>(Fvideo_discard);
            break;
        }
        case AVMEDIA_TYPE_AUDIO:
            if (!Faudio_codec_name.empty()) forced = ff::avcodec_find_decoder_by_name(Faudio_codec_name.c_str());
            Fchannel_layout = par->ch_layout.order == AV_CHANNEL_ORDER_NATIVE
                                  ? static_cast<int64_t>(par->ch_layout.u.mask)
                                  : 0;
            if (par->ch_layout.nb_channels > 0) Faudio_channels = par->ch_layout.nb_channels;
            if (par->sample_rate > 0) Faudio_sample_rate = par->sample_rate;
            Faudio_sample_fmt = static_cast<AVSampleFormat>(par->format);
            if (Faudio_disable) stream->discard = AVDISCARD_ALL;
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            if (!Fsubtitle_codec_name.empty())
                forced = ff::avcodec_find_decoder_by_name(Fsubtitle_codec_name.c_str());
            if (Fsubtitle_disable) stream->discard = AVDISCARD_ALL;
            break;
        default:
            break;
        }
        Finput_codecs.push_back(forced);
    }

    if (ic->duration != AV_NOPTS_VALUE && ic->duration > FTotalOutputDuration) FTotalOutputDuration = ic->duration;

    Finput_files[Fnb_input_files] = ic;
    Finput_file_names[Fnb_input_files] = file_name;
    Finput_vfilters[Fnb_input_files] = own_chain;
    Finput_files_ts_offset[Fnb_input_files] = Fcopy_ts ? Finput_ts_offset : Finput_ts_offset - timestamp;
    if (Fverbose >= 0) ff::av_dump_format(ic, Fnb_input_files, file_name.c_str(), 0);
    ++Fnb_input_files;
    Fvideo_channel = 0;
    Fvideo_codec_name.clear();
    Faudio_codec_name.clear();
    Fsubtitle_codec_name.clear();
    return true;
}
