// Creating an output file of a task with one encoder context per stream, adding streams, and joining inputs.
#include <sys/stat.h>

#include <bit>
#include <ctime>
#include <filesystem>

#include "media/decode/unicode_names.h"
#include "media/loader/av_bindings.h"
#include "media/transcode/custom_ffmpeg.h"
#include "media/util/ff_utils.h"
#include "media/util/text_format.h"
#include "platform/rtl/sysutils.h"

namespace {

bool SameFile(const std::string& AFirst, const std::string& ASecond)
{
    std::error_code error;
    if (std::filesystem::equivalent(AFirst, ASecond, error)) return true;
    // A file that does not exist yet can still be named twice.
    const auto first = std::filesystem::weakly_canonical(AFirst, error);
    if (error) return false;
    const auto second = std::filesystem::weakly_canonical(ASecond, error);
    return !error && first == second;
}

bool ListsPixelFormat(const AVPixelFormat* AList, AVPixelFormat AFormat)
{
    for (; AList != nullptr && *AList != AV_PIX_FMT_NONE; ++AList)
        if (*AList == AFormat) return true;
    return false;
}

void ChoosePixelFormat(AVCodecContext* AContext, const AVCodec* ACodec)
{
    if (ACodec == nullptr || ACodec->pix_fmts == nullptr) return;
    static const AVPixelFormat mjpeg[] = {AV_PIX_FMT_YUVJ420P, AV_PIX_FMT_YUVJ422P, AV_PIX_FMT_YUV420P,
                                          AV_PIX_FMT_YUV422P, AV_PIX_FMT_NONE};
    static const AVPixelFormat ljpeg[] = {AV_PIX_FMT_YUVJ420P, AV_PIX_FMT_YUVJ422P, AV_PIX_FMT_YUVJ444P,
                                          AV_PIX_FMT_YUV420P,  AV_PIX_FMT_YUV422P,  AV_PIX_FMT_YUV444P,
                                          AV_PIX_FMT_BGRA,     AV_PIX_FMT_NONE};
    const AVPixelFormat* list = ACodec->pix_fmts;
    if (AContext->strict_std_compliance < FF_COMPLIANCE_NORMAL) {
        if (ACodec->id == AV_CODEC_ID_MJPEG) list = mjpeg;
        if (ACodec->id == AV_CODEC_ID_LJPEG) list = ljpeg;
    }
    if (!ListsPixelFormat(list, AContext->pix_fmt)) AContext->pix_fmt = ACodec->pix_fmts[0];
}

void ChooseSampleFormat(AVCodecContext* AContext, const AVCodec* ACodec)
{
    if (ACodec == nullptr || ACodec->sample_fmts == nullptr) return;
    for (const AVSampleFormat* format = ACodec->sample_fmts; *format != AV_SAMPLE_FMT_NONE; ++format)
        if (*format == AContext->sample_fmt) return;
    AContext->sample_fmt = ACodec->sample_fmts[0];
}

}  // namespace

bool TCustomFFmpeg::IsInputOfTask(const std::string& AFileName) const
{
    for (int i = 0; i < Fnb_input_files; ++i)
        if (SameFile(AFileName, Finput_file_names[i])) return true;
    return false;
}

int TCustomFFmpeg::OpenOutputFile(const std::string& AName, bool AJoin)
{
    // A "unicode:utf8:" name opens as the UTF-8 name it carries, as in the decoder.
    const std::string file_name = URLToWideName(AName);
    if (FJoinMode) {
        FLastErrMsg = "Cannot join more than one output file.";
        return -1;
    }
    if (Fnb_output_files >= FMaxFiles) {
        FLastErrMsg = StrFormat("Too many output files (at most %d)", FMaxFiles);
        return -1;
    }
    // Creating the output truncates it: an output that is one of the inputs would destroy the source before a
    // single packet of it was read.
    if (IsInputOfTask(file_name)) {
        FLastErrMsg = StrFormat("Output file \"%s\" is one of the input files; it would be overwritten",
                                file_name.c_str());
        return -1;
    }
    FEnableFilter = !Fvfilters.empty();
    AVFormatContext* oc = ff::avformat_alloc_context();
    if (oc == nullptr) throw FFmpegException("avformat_alloc_context failed");
    const AVOutputFormat* format = nullptr;
    if (!Flast_asked_format.empty()) {
        format = ff::av_guess_format(Flast_asked_format.c_str(), nullptr, nullptr);
        if (format == nullptr) {
            FLastErrMsg = StrFormat("Requested output format '%s' is not a suitable output format",
                                    Flast_asked_format.c_str());
            ff::avformat_free_context(oc);
            return -1;
        }
        Flast_asked_format.clear();
    } else {
        format = ff::av_guess_format(nullptr, file_name.c_str(), nullptr);
        if (format == nullptr) {
            FLastErrMsg = StrFormat("Unable to find a suitable output format for '%s'", file_name.c_str());
            ff::avformat_free_context(oc);
            return -1;
        }
    }
    oc->oformat = format;
    oc->url = ff::av_strdup(file_name.c_str());

    // A sound container whose picture codec is only for cover art gets no picture stream unless one is asked for.
    const bool cover_art_only = format->video_codec != AV_CODEC_ID_NONE &&
                                ff::avformat_query_codec(format, format->video_codec, FF_COMPLIANCE_NORMAL) ==
                                    MKTAG('A', 'P', 'I', 'C');
    bool use_video = Fvideo_stream_copy != 0 || (format->video_codec != AV_CODEC_ID_NONE && !cover_art_only) ||
                     !Fvideo_codec_name.empty();
    bool use_audio = Faudio_stream_copy != 0 || format->audio_codec != AV_CODEC_ID_NONE || !Faudio_codec_name.empty();
    bool use_subtitle =
        Fsubtitle_stream_copy != 0 || format->subtitle_codec != AV_CODEC_ID_NONE || !Fsubtitle_codec_name.empty();
    if (Fnb_input_files > 0) {
        bool has_video = false;
        bool has_audio = false;
        bool has_subtitle = false;
        // A join takes its subtitles as the first input has them; it has pictures and sound when any input has,
        // and an input without pictures is joined as black pictures, one without sound as silence.
        for (int i = 0; i < Fnb_input_files; ++i)
            for (unsigned s = 0; s < Finput_files[i]->nb_streams; ++s) {
                const AVMediaType type = Finput_files[i]->streams[s]->codecpar->codec_type;
                has_video = has_video || type == AVMEDIA_TYPE_VIDEO;
                has_audio = has_audio || type == AVMEDIA_TYPE_AUDIO;
                has_subtitle = has_subtitle || ((!AJoin || i == 0) && type == AVMEDIA_TYPE_SUBTITLE);
            }
        use_video = use_video && has_video;
        use_audio = use_audio && has_audio;
        use_subtitle = use_subtitle && has_subtitle;
    }
    use_video = use_video && !Fvideo_disable;
    use_audio = use_audio && !Faudio_disable;
    use_subtitle = use_subtitle && !Fsubtitle_disable;

    const int index = Fnb_output_files;
    Foutput_files[index] = oc;
    ++Fnb_output_files;
    auto fail = [&](const std::string& AMessage) {
        FLastErrMsg = AMessage;
        --Fnb_output_files;
        CloseOutputFile(index);
        return -1;
    };
    try {
        if (use_video) NewVideoStream(oc, index);
    } catch (const Exception& e) {
        return fail(StrFormat("new_video_stream fail: %s", e.Message().c_str()));
    }
    try {
        if (use_audio) NewAudioStream(oc, index);
    } catch (const Exception& e) {
        return fail(StrFormat("new_audio_stream fail: %s", e.Message().c_str()));
    }
    try {
        if (use_subtitle) NewSubtitleStream(oc, index);
    } catch (const Exception& e) {
        return fail(StrFormat("new_subtitle_stream fail: %s", e.Message().c_str()));
    }

    if (Frecording_timestamp != 0) {
        // The container keeps the recording time as its creation time.
        const std::time_t seconds = static_cast<std::time_t>(Frecording_timestamp / 1000000);
        std::tm utc{};
        gmtime_r(&seconds, &utc);
        char text[32];
        std::strftime(text, sizeof(text), "%Y-%m-%dT%H:%M:%S.000000Z", &utc);
        ff::av_dict_set(&oc->metadata, "creation_time", text, 0);
    }
    ff::av_dict_copy(&oc->metadata, Fmetadata, 0);
    if (Fmetadata != nullptr) ff::av_dict_free(&Fmetadata);

    if ((format->flags & AVFMT_NEEDNUMBER) != 0 && ff::av_filename_number_test(file_name.c_str()) == 0)
        return fail(AVErrorText(file_name, AVERROR(EDOM)));
    if ((format->flags & AVFMT_NOFILE) == 0) {
        const AVIOInterruptCB callback = InterruptCallback();
        struct stat status {};
        const bool existed = lstat(file_name.c_str(), &status) == 0;
        ArmReadTimeout();
        const int result = ff::avio_open2(&oc->pb, file_name.c_str(), AVIO_FLAG_WRITE, &callback, nullptr);
        DisarmReadTimeout();
        if (result < 0) return fail(AVErrorText(file_name, result));
        if (!existed) Fcreated_outputs.push_back(file_name);
    }
    oc->max_delay = static_cast<int>(Fmux_max_delay * AV_TIME_BASE);
    oc->flags |= AVFMT_FLAG_NONBLOCK;
    oc->interrupt_callback = InterruptCallback();

    Fstreamid_map.clear();
    Fforced_key_frames.clear();
    if (AJoin && Fnb_input_files > 1) FJoinMode = true;
    return Fnb_output_files;
}

TAVOutputStream* TCustomFFmpeg::NewOutputStream(AVFormatContext* AContext, int AFileIndex, AVMediaType AType,
                                                AVStream*& AStream, AVCodecContext*& ACodecContext, bool AStreamCopy,
                                                const std::string& ACodecName)
{
    const auto next_index = static_cast<int>(AContext->nb_streams);
    AStream = ff::avformat_new_stream(AContext, nullptr);
    if (AStream == nullptr) throw FFmpegException("Could not alloc stream");
    if (next_index < static_cast<int>(Fstreamid_map.size()) && Fstreamid_map[next_index] != 0)
        AStream->id = Fstreamid_map[next_index];
    auto* ost = new TAVOutputStream;
    ost->file_index = AFileIndex;
    ost->index = AStream->index;
    ost->st = AStream;
    Foutput_streams_for_file[AFileIndex].push_back(ost);

    const AVCodec* codec = nullptr;
    if (!AStreamCopy) {
        if (!ACodecName.empty()) {
            AVCodecID id;
            const TOptionKind kind = AType == AVMEDIA_TYPE_VIDEO ? okVideoCodec
                                     : AType == AVMEDIA_TYPE_AUDIO ? okAudioCodec
                                                                   : okSubtitleCodec;
            if (!LookupCodec(ACodecName, AType, CodecStrictness(FOptions.Value(kind, "strict")), true, id))
                throw FFmpegException(FLastErrMsg);
            codec = ff::avcodec_find_encoder_by_name(ACodecName.c_str());
        } else {
            const AVCodecID id = ff::av_guess_codec(AContext->oformat, nullptr, AContext->url, nullptr, AType);
            codec = ff::avcodec_find_encoder(id);
        }
    }
    Foutput_codecs.push_back(codec);
    ost->enc = codec;
    ost->encoding_needed = AStreamCopy ? 0 : 1;
    ost->enc_ctx = ff::avcodec_alloc_context3(codec);
    if (ost->enc_ctx == nullptr) throw FFmpegException("Could not alloc output stream");
    ACodecContext = ost->enc_ctx;
    ACodecContext->codec_type = AType;
    if (codec != nullptr) ACodecContext->codec_id = codec->id;
    ost->codec_id = ACodecContext->codec_id;
    if (AType == AVMEDIA_TYPE_VIDEO || AType == AVMEDIA_TYPE_AUDIO) ACodecContext->thread_count = Fthread_count;
    if ((AContext->oformat->flags & AVFMT_GLOBALHEADER) != 0) ACodecContext->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;

    // The generic options collected for this kind go to the encoder now; what it does not take yet is given
    // again when it is opened.
    const TOptionKind kind = AType == AVMEDIA_TYPE_VIDEO ? okVideoCodec
                             : AType == AVMEDIA_TYPE_AUDIO ? okAudioCodec
                                                           : okSubtitleCodec;
    AVDictionary* options = FOptions.CopyOf(kind);
    ff::av_opt_set_dict2(ACodecContext, &options, AV_OPT_SEARCH_CHILDREN);
    ff::av_dict_free(&options);
    return ost;
}

void TCustomFFmpeg::FinishNewStream(AVMediaType AType)
{
    switch (AType) {
    case AVMEDIA_TYPE_VIDEO:
        Fvideo_disable = false;
        Fvideo_codec_name.clear();
        Fvideo_stream_copy = 0;
        Fframe_pix_fmt = AV_PIX_FMT_NONE;
        Fforced_key_frames.clear();
        break;
    case AVMEDIA_TYPE_AUDIO:
        Faudio_disable = false;
        Faudio_codec_name.clear();
        Faudio_stream_copy = 0;
        break;
    default:
        Fsubtitle_disable = false;
        Fsubtitle_codec_name.clear();
        Fsubtitle_stream_copy = 0;
        break;
    }
}

void TCustomFFmpeg::NewVideoStream(AVFormatContext* AContext, int AFileIndex)
{
    struct Finish {
        TCustomFFmpeg* Engine;
        ~Finish() { Engine->FinishNewStream(AVMEDIA_TYPE_VIDEO); }
    } finish{this};
    AVStream* st;
    AVCodecContext* enc;
    TAVOutputStream* ost = NewOutputStream(AContext, AFileIndex, AVMEDIA_TYPE_VIDEO, st, enc, Fvideo_stream_copy != 0,
                                           Fvideo_codec_name);
    ost->bitstream_filters = std::move(Fvideo_bitstream_filters);
    Fvideo_bitstream_filters.clear();
    if (Fvideo_codec_tag != 0) enc->codec_tag = Fvideo_codec_tag;
    if ((Fvideo_global_header & 1) != 0 ||
        (Fvideo_global_header == 0 && (AContext->oformat->flags & AVFMT_GLOBALHEADER) != 0))
        enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if ((Fvideo_global_header & 2) != 0) enc->flags2 |= AV_CODEC_FLAG2_LOCAL_HEADER;
    if (!Fvideo_language.empty()) ff::av_dict_set(&st->metadata, "language", Fvideo_language.c_str(), 0);
    Fvideo_language.clear();

    if (ost->encoding_needed != 0) {
        AVRational rate = Fframe_rate.den != 0 && Fframe_rate.num > 0 ? Fframe_rate : AVRational{25, 1};
        const AVCodec* codec = ost->enc;
        if (codec != nullptr && codec->supported_framerates != nullptr && !Fforce_fps)
            rate = codec->supported_framerates[ff::av_find_nearest_q_idx(rate, codec->supported_framerates)];
        enc->framerate = rate;
        enc->time_base = AVRational{rate.den, rate.num};
        enc->width = Fframe_width;
        enc->height = Fframe_height;
        enc->pix_fmt = Fframe_pix_fmt;
        ChoosePixelFormat(enc, codec);
        if (Fintra_only) enc->gop_size = 0;
        if (Fvideo_qscale != 0 || Fsame_quality) {
            enc->flags |= AV_CODEC_FLAG_QSCALE;
            enc->global_quality = static_cast<int>(FF_QP2LAMBDA * Fvideo_qscale);
        }
        for (auto [matrix, target] : {std::pair{&Fintra_matrix, &enc->intra_matrix},
                                      std::pair{&Finter_matrix, &enc->inter_matrix}}) {
            if (matrix->empty()) continue;
            *target = static_cast<uint16_t*>(ff::av_mallocz(64 * sizeof(uint16_t)));
            if (*target != nullptr) std::copy(matrix->begin(), matrix->end(), *target);
        }
        if (!Fvideo_rc_override_string.empty()) {
            std::vector<RcOverride> overrides;
            size_t pos = 0;
            const std::string& text = Fvideo_rc_override_string;
            while (pos < text.size()) {
                int values[3];
                for (int v = 0; v < 3; ++v) {
                    const char* start = text.c_str() + pos;
                    char* end = nullptr;
                    values[v] = static_cast<int>(std::strtol(start, &end, 10));
                    pos += static_cast<size_t>(end - start);
                    if (v < 2) {
                        if (pos >= text.size() || text[pos] != ',') throw FFmpegException("error parsing rc_override");
                        ++pos;
                    }
                }
                RcOverride entry{};
                entry.start_frame = values[0];
                entry.end_frame = values[1];
                if (values[2] > 0) {
                    entry.qscale = values[2];
                    entry.quality_factor = 1.0f;
                } else {
                    entry.qscale = 0;
                    entry.quality_factor = -values[2] / 100.0f;
                }
                overrides.push_back(entry);
                if (pos < text.size() && text[pos] == '/') ++pos;
                else if (pos < text.size()) throw FFmpegException("error parsing rc_override");
            }
            enc->rc_override =
                static_cast<RcOverride*>(ff::av_mallocz(overrides.size() * sizeof(RcOverride)));
            if (enc->rc_override != nullptr) {
                std::copy(overrides.begin(), overrides.end(), enc->rc_override);
                enc->rc_override_count = static_cast<int>(overrides.size());
            }
        }
        if (enc->rc_initial_buffer_occupancy == 0) enc->rc_initial_buffer_occupancy = enc->rc_buffer_size * 3 / 4;
        enc->intra_dc_precision = Fintra_dc_precision - 8;
        if (Fdo_psnr) enc->flags |= AV_CODEC_FLAG_PSNR;
        if (Fdo_pass == 1) enc->flags |= AV_CODEC_FLAG_PASS1;
        if (Fdo_pass == 2) enc->flags |= AV_CODEC_FLAG_PASS2;
        if (!Fforced_key_frames.empty()) ParseForcedKeyFrames(Fforced_key_frames, *ost, enc);
    }
    const double ratio = Fframe_width > 0 && Fframe_height > 0
                             ? static_cast<double>(Fframe_aspect_ratio) * Fframe_height / Fframe_width
                             : static_cast<double>(Fframe_aspect_ratio) * 3 / 4;
    enc->sample_aspect_ratio = ff::av_d2q(ratio, 255);
    st->sample_aspect_ratio = enc->sample_aspect_ratio;
}

void TCustomFFmpeg::NewAudioStream(AVFormatContext* AContext, int AFileIndex)
{
    struct Finish {
        TCustomFFmpeg* Engine;
        ~Finish() { Engine->FinishNewStream(AVMEDIA_TYPE_AUDIO); }
    } finish{this};
    AVStream* st;
    AVCodecContext* enc;
    TAVOutputStream* ost = NewOutputStream(AContext, AFileIndex, AVMEDIA_TYPE_AUDIO, st, enc, Faudio_stream_copy != 0,
                                           Faudio_codec_name);
    ost->bitstream_filters = std::move(Faudio_bitstream_filters);
    Faudio_bitstream_filters.clear();
    if (Faudio_codec_tag != 0) enc->codec_tag = Faudio_codec_tag;
    if (!Faudio_language.empty()) ff::av_dict_set(&st->metadata, "language", Faudio_language.c_str(), 0);
    Faudio_language.clear();
    enc->sample_rate = Faudio_sample_rate;
    if (Fchannel_layout != 0 && std::popcount(static_cast<uint64_t>(Fchannel_layout)) == Faudio_channels)
        ff::av_channel_layout_from_mask(&enc->ch_layout, static_cast<uint64_t>(Fchannel_layout));
    else
        ff::av_channel_layout_default(&enc->ch_layout, Faudio_channels);
    if (ost->encoding_needed != 0) {
        if (Faudio_qscale > -99999.0f) {
            enc->flags |= AV_CODEC_FLAG_QSCALE;
            enc->global_quality = static_cast<int>(FF_QP2LAMBDA * Faudio_qscale);
        }
        enc->sample_fmt = Faudio_sample_fmt;
        ChooseSampleFormat(enc, ost->enc);
        const int* rates = ost->enc != nullptr ? ost->enc->supported_samplerates : nullptr;
        if (rates != nullptr) {
            int best = rates[0];
            for (const int* rate = rates; *rate != 0; ++rate)
                if (std::abs(*rate - enc->sample_rate) < std::abs(best - enc->sample_rate)) best = *rate;
            if (best != enc->sample_rate)
                Log(llWarning, StrFormat("Requested sampling rate unsupported using closest supported (%d)", best));
            enc->sample_rate = best;
        }
    }
    enc->time_base = AVRational{1, enc->sample_rate > 0 ? enc->sample_rate : 1};
}

void TCustomFFmpeg::NewSubtitleStream(AVFormatContext* AContext, int AFileIndex)
{
    struct Finish {
        TCustomFFmpeg* Engine;
        ~Finish() { Engine->FinishNewStream(AVMEDIA_TYPE_SUBTITLE); }
    } finish{this};
    AVStream* st;
    AVCodecContext* enc;
    TAVOutputStream* ost = NewOutputStream(AContext, AFileIndex, AVMEDIA_TYPE_SUBTITLE, st, enc,
                                           Fsubtitle_stream_copy != 0, Fsubtitle_codec_name);
    ost->bitstream_filters = std::move(Fsubtitle_bitstream_filters);
    Fsubtitle_bitstream_filters.clear();
    if (Fsubtitle_codec_tag != 0) enc->codec_tag = Fsubtitle_codec_tag;
    if (!Fsubtitle_language.empty()) ff::av_dict_set(&st->metadata, "language", Fsubtitle_language.c_str(), 0);
    Fsubtitle_language.clear();
}

void TCustomFFmpeg::OptNewStream(AVMediaType AType)
{
    if (Fnb_output_files <= 0) throw FFmpegException("At least one output file must be specified");
    const int index = Fnb_output_files - 1;
    AVFormatContext* oc = Foutput_files[index];
    if (AType == AVMEDIA_TYPE_VIDEO)
        NewVideoStream(oc, index);
    else if (AType == AVMEDIA_TYPE_AUDIO)
        NewAudioStream(oc, index);
    else
        NewSubtitleStream(oc, index);
}

void TCustomFFmpeg::PrepareJoin()
{
    if (!FJoinMode) return;
    int64_t total = 0;
    for (int i = 0; i < Fnb_input_files; ++i)
        if (Finput_files[i]->duration != AV_NOPTS_VALUE && Finput_files[i]->duration > 0)
            total += Finput_files[i]->duration;
    FTotalOutputDuration = total != 0 ? total : -1;
    AVFormatContext* oc = Foutput_files[0];
    for (int i = 1; i < Fnb_input_files; ++i) {
        if (Fnb_output_files >= FMaxFiles) throw FFmpegException("Could not alloc output stream");
        const int index = Fnb_output_files;
        Foutput_files[index] = oc;
        for (unsigned s = 0; s < oc->nb_streams; ++s) {
            auto* ost = new TAVOutputStream;
            ost->file_index = index;
            ost->index = static_cast<int>(s);
            ost->st = oc->streams[s];
            Foutput_streams_for_file[index].push_back(ost);
        }
        ++Fnb_output_files;
    }
}
