// Setting a run up: the input streams, the choice of a source for each output stream, stream copy or encoding,
// the decoders and encoders, metadata and chapters, the headers and the stream-mapping dump.
#include <cstring>

#include "media/loader/av_bindings.h"
#include "media/transcode/sdp.h"
#include "media/transcode/transcode_run.h"
#include "media/transcode/two_pass.h"
#include "media/util/ff_utils.h"
#include "media/util/text_format.h"

namespace {

// A fresh encoder context with the settings of the set-up's template; the template itself is never opened, so
// that every segment of a join starts from the same settings.
AVCodecContext* CloneEncoderSettings(const AVCodecContext* ATemplate, const AVCodec* ACodec)
{
    AVCodecContext* context = ff::avcodec_alloc_context3(ACodec);
    if (context == nullptr) throw FFmpegException("Could not alloc output stream");
    context->codec_type = ATemplate->codec_type;
    context->codec_id = ATemplate->codec_id;
    context->codec_tag = ATemplate->codec_tag;
    context->bit_rate = ATemplate->bit_rate;
    context->bit_rate_tolerance = ATemplate->bit_rate_tolerance;
    context->flags = ATemplate->flags;
    context->flags2 = ATemplate->flags2;
    context->global_quality = ATemplate->global_quality;
    context->time_base = ATemplate->time_base;
    context->framerate = ATemplate->framerate;
    context->width = ATemplate->width;
    context->height = ATemplate->height;
    context->sample_aspect_ratio = ATemplate->sample_aspect_ratio;
    context->pix_fmt = ATemplate->pix_fmt;
    context->gop_size = ATemplate->gop_size;
    context->max_b_frames = ATemplate->max_b_frames;
    context->qmin = ATemplate->qmin;
    context->qmax = ATemplate->qmax;
    context->rc_max_rate = ATemplate->rc_max_rate;
    context->rc_min_rate = ATemplate->rc_min_rate;
    context->rc_buffer_size = ATemplate->rc_buffer_size;
    context->strict_std_compliance = ATemplate->strict_std_compliance;
    context->thread_count = ATemplate->thread_count;
    context->intra_dc_precision = ATemplate->intra_dc_precision;
    context->field_order = ATemplate->field_order;
    context->sample_rate = ATemplate->sample_rate;
    context->sample_fmt = ATemplate->sample_fmt;
    ff::av_channel_layout_copy(&context->ch_layout, &ATemplate->ch_layout);
    if (ATemplate->intra_matrix != nullptr)
        context->intra_matrix = static_cast<uint16_t*>(ff::av_memdup(ATemplate->intra_matrix, 64 * sizeof(uint16_t)));
    if (ATemplate->inter_matrix != nullptr)
        context->inter_matrix = static_cast<uint16_t*>(ff::av_memdup(ATemplate->inter_matrix, 64 * sizeof(uint16_t)));
    if (ATemplate->rc_override != nullptr && ATemplate->rc_override_count > 0) {
        context->rc_override = static_cast<RcOverride*>(
            ff::av_memdup(ATemplate->rc_override, sizeof(RcOverride) * ATemplate->rc_override_count));
        context->rc_override_count = context->rc_override != nullptr ? ATemplate->rc_override_count : 0;
    }
    return context;
}

}  // namespace

void TTranscodeRun::BuildInputs()
{
    FFirstStreamOfFile.clear();
    for (int f = 0; f < E.Fnb_input_files; ++f) {
        AVFormatContext* ic = E.Finput_files[f];
        FFirstStreamOfFile.push_back(static_cast<int>(FInputs.size()));
        for (unsigned s = 0; s < ic->nb_streams; ++s) {
            TInputStreamRun ist;
            ist.file_index = f;
            ist.stream_index = static_cast<int>(s);
            ist.st = ic->streams[s];
            FInputs.push_back(ist);
        }
    }
    FFileEnded.assign(static_cast<size_t>(E.Fnb_input_files), false);
    FWouldBlock.assign(static_cast<size_t>(E.Fnb_input_files), false);
}

int TTranscodeRun::FindSourceStream(int AInputFile, AVMediaType AType, const std::vector<int>& ATaken,
                                    bool AOnlyFree) const
{
    const int first = AInputFile < 0 ? 0 : FFirstStreamOfFile[AInputFile];
    const int end = AInputFile < 0 || AInputFile + 1 >= static_cast<int>(FFirstStreamOfFile.size())
                        ? static_cast<int>(FInputs.size())
                        : FFirstStreamOfFile[AInputFile + 1];
    for (int i = first; i < end; ++i) {
        const TInputStreamRun& ist = FInputs[i];
        if (ist.st->codecpar->codec_type != AType || ist.st->discard == AVDISCARD_ALL) continue;
        if (AOnlyFree && std::find(ATaken.begin(), ATaken.end(), i) != ATaken.end()) continue;
        return i;
    }
    return -1;
}

void TTranscodeRun::MapStreams()
{
    // In join mode the streams of output file 0 are the output; each segment takes its sources from its input.
    const int files = E.JoinMode() ? 1 : E.Fnb_output_files;
    int total = 0;
    for (int f = 0; f < files; ++f) {
        if (E.Foutput_streams_for_file[f].empty() && E.Foutput_files[f]->nb_streams == 0)
            throw FFmpegException(StrFormat("Output file #%d does not contain any stream", f));
        total += static_cast<int>(E.Foutput_streams_for_file[f].size());
    }
    if (!E.Fstream_maps.empty() && static_cast<int>(E.Fstream_maps.size()) != total)
        throw FFmpegException("Number of stream maps must match number of output streams");

    int map_index = 0;
    for (int f = 0; f < files; ++f) {
        std::vector<int> taken;
        for (TAVOutputStream* rec : E.Foutput_streams_for_file[f]) {
            TOutputStreamRun ost;
            ost.rec = rec;
            ost.segment_file = f;
            ost.oc = E.Foutput_files[f];
            ost.type = rec->enc_ctx->codec_type;
            ost.copy = rec->encoding_needed == 0;
            if (!E.Fstream_maps.empty()) {
                const TAVStreamMap& map = E.Fstream_maps[map_index++];
                if (map.file_index < 0 || map.file_index >= E.Fnb_input_files || map.stream_index < 0 ||
                    map.stream_index >= static_cast<int>(E.Finput_files[map.file_index]->nb_streams))
                    throw FFmpegException(
                        StrFormat("Could not find input stream #%d.%d", map.file_index, map.stream_index));
                if (map.sync_file_index < 0 || map.sync_file_index >= E.Fnb_input_files ||
                    map.sync_stream_index < 0 ||
                    map.sync_stream_index >= static_cast<int>(E.Finput_files[map.sync_file_index]->nb_streams))
                    throw FFmpegException(
                        StrFormat("Could not find sync stream #%d.%d", map.sync_file_index, map.sync_stream_index));
                ost.source = FFirstStreamOfFile[map.file_index] + map.stream_index;
                const AVMediaType in_type = FInputs[ost.source].st->codecpar->codec_type;
                if (in_type != ost.type)
                    throw FFmpegException(StrFormat("Codec type mismatch for mapping #%d.%d (%s) -> #%d.%d (%s)",
                                                    map.file_index, map.stream_index, MediaTypeName(in_type).c_str(), f,
                                                    rec->index, MediaTypeName(ost.type).c_str()));
            } else {
                const int input = E.JoinMode() ? 0 : -1;
                // First a stream no other output stream of this file takes, then any of the kind.
                ost.source = FindSourceStream(input, ost.type, taken, true);
                if (ost.source < 0) ost.source = FindSourceStream(input, ost.type, taken, false);
                // Sound or pictures joined to a first input without them are set up from the first input that
                // has them; the first segment is silence or black.
                const bool fillable = ost.type == AVMEDIA_TYPE_AUDIO || (ost.type == AVMEDIA_TYPE_VIDEO && !ost.copy);
                for (int f = 1; ost.source < 0 && E.JoinMode() && fillable && f < E.Fnb_input_files; ++f)
                    ost.source = FindSourceStream(f, ost.type, {}, false);
                if (ost.source < 0)
                    throw FFmpegException(StrFormat("Could not find input stream matching output stream #%d.%d (%s)",
                                                    f, rec->index, MediaTypeName(ost.type).c_str()));
            }
            taken.push_back(ost.source);
            FInputs[ost.source].used = true;
            FOutputs.push_back(std::move(ost));
        }
    }
    if (E.JoinMode()) {
        // Every input of a join must have a stream for each output stream but sound, which is silence where an
        // input has none, and encoded pictures, which are black there.
        for (int f = 1; f < E.Fnb_input_files; ++f)
            for (TOutputStreamRun& ost : FOutputs) {
                const int source = FindSourceStream(f, ost.type, {}, false);
                if (source < 0 && (ost.type == AVMEDIA_TYPE_AUDIO || (ost.type == AVMEDIA_TYPE_VIDEO && !ost.copy)))
                    continue;
                if (source < 0)
                    throw FFmpegException(StrFormat("Could not find input stream matching output stream #%d.%d (%s)",
                                                    f, ost.rec->index, MediaTypeName(ost.type).c_str()));
                FInputs[source].used = true;
            }
    }
    for (TInputStreamRun& ist : FInputs)
        if (!ist.used) ist.st->discard = AVDISCARD_ALL;
}

void TTranscodeRun::CopyStreamParameters(TOutputStreamRun& AOst)
{
    const TInputStreamRun& ist = FInputs[AOst.source];
    AVStream* st = AOst.rec->st;
    if (AOst.type == AVMEDIA_TYPE_AUDIO && E.Faudio_volume != 256)
        throw FFmpegException("-acodec copy and -vol are incompatible (frames are not decoded)");
    if (AOst.type == AVMEDIA_TYPE_AUDIO && E.FOnAudioHook)
        throw FFmpegException("-acodec copy and AudioHook are incompatible (frames are not decoded)");
    if (AOst.type == AVMEDIA_TYPE_VIDEO && (E.FOnInputVideoHook || E.FOnOutputVideoHook))
        throw FFmpegException("-vcodec copy and VideoHook are incompatible (frames are not decoded)");
    if (AOst.type == AVMEDIA_TYPE_VIDEO && E.Fusing_vhook)
        throw FFmpegException("-vcodec copy and -vhook are incompatible (frames are not decoded)");
    if (AOst.type == AVMEDIA_TYPE_VIDEO && !E.PostHooks().Empty())
        throw FFmpegException("-vcodec copy and PostHooks are incompatible (frames are not decoded)");
    if (ff::avcodec_parameters_copy(st->codecpar, ist.st->codecpar) < 0)
        throw FFmpegException("Could not alloc output stream");
    // The container picks its own tag for the codec; the source's tag belongs to the source's container.
    st->codecpar->codec_tag = 0;
    if (st->codecpar->codec_id == AV_CODEC_ID_MP3 && st->codecpar->block_align == 1)
        st->codecpar->block_align = 0;
    st->time_base = ist.st->time_base;
    st->avg_frame_rate = ist.st->avg_frame_rate;
    st->r_frame_rate = ist.st->r_frame_rate;
    if (st->sample_aspect_ratio.num == 0) st->sample_aspect_ratio = ist.st->sample_aspect_ratio;
    OpenBitstreamFilter(AOst, st->codecpar, ist.st->time_base);
}

void TTranscodeRun::OpenBitstreamFilter(TOutputStreamRun& AOst, const AVCodecParameters* APar,
                                        AVRational ATimeBase)
{
    if (AOst.rec->bitstream_filters.empty()) return;
    std::string names;
    for (const std::string& name : AOst.rec->bitstream_filters) names += (names.empty() ? "" : ",") + name;
    int result = ff::av_bsf_list_parse_str(names.c_str(), &AOst.bsf);
    if (result >= 0) result = ff::avcodec_parameters_copy(AOst.bsf->par_in, APar);
    if (result >= 0) {
        AOst.bsf->time_base_in = ATimeBase;
        result = ff::av_bsf_init(AOst.bsf);
    }
    if (result < 0)
        throw FFmpegException(StrFormat("%s failed for stream %d, codec %s", names.c_str(), AOst.rec->index,
                                        AOst.copy ? "copy" : ff::avcodec_get_name(APar->codec_id)));
    ff::avcodec_parameters_copy(AOst.rec->st->codecpar, AOst.bsf->par_out);
    AOst.rec->st->time_base = AOst.bsf->time_base_out;
}

void TTranscodeRun::PrepareVideoEncoder(TOutputStreamRun& AOst)
{
    AVCodecContext* templ = AOst.rec->enc_ctx;
    const TInputStreamRun& ist = FInputs[AOst.source];
    const AVCodecParameters* par = ist.st->codecpar;
    if (templ->pix_fmt == AV_PIX_FMT_NONE) throw FFmpegException("Video pixel format is unknown, stream cannot be encoded");
    if (templ->width <= 0 || templ->height <= 0) {
        templ->width = par->width;
        templ->height = par->height;
    }
    // The chain gets an automatic scale in front when the wanted size differs from the input's; the encoder then
    // takes the size the chain delivers, found by passing one blank picture through it.
    std::string chain = E.VideoFiltersOfInput(ist.file_index);
    // An input's own chain is made for its own size and brings its pictures to the frame itself.
    if (!E.HasInputVideoFilters(ist.file_index) && (templ->width != par->width || templ->height != par->height))
        chain = StrFormat("scale=%d:%d", templ->width, templ->height) + (chain.empty() ? "" : "," + chain);
    const int flags = static_cast<int>(E.Fsws_flags);
    auto make_chain = [&] {
        auto filter = std::make_unique<TFilterChain>();
        filter->SetOutputFormats({templ->pix_fmt});
        filter->SetScaleFlags(flags);
        try {
            filter->Open(chain, ist.st->time_base);
        } catch (const Exception& e) {
            throw FFmpegException("Error opening filters: " + e.Message());
        }
        return filter;
    };
    AOst.filter = make_chain();
    if (!chain.empty() && par->width > 0 && par->height > 0 && par->format >= 0) {
        AVFrame* blank = ff::av_frame_alloc();
        blank->width = par->width;
        blank->height = par->height;
        blank->format = par->format;
        blank->pts = 0;
        if (ff::av_frame_get_buffer(blank, 0) >= 0) {
            for (int p = 0; p < AV_NUM_DATA_POINTERS && blank->buf[p] != nullptr; ++p)
                std::memset(blank->buf[p]->data, 0, blank->buf[p]->size);
            AVFrame* probe = ff::av_frame_alloc();
            if (AOst.filter->SendFrame(blank) >= 0 && AOst.filter->SendFrame(nullptr) >= 0 &&
                AOst.filter->ReceiveFrame(probe) >= 0) {
                templ->width = probe->width;
                templ->height = probe->height;
                if (probe->sample_aspect_ratio.num != 0) templ->sample_aspect_ratio = probe->sample_aspect_ratio;
            }
            ff::av_frame_free(&probe);
        }
        ff::av_frame_free(&blank);
        AOst.filter = make_chain();
    }
    AOst.rec->st->sample_aspect_ratio = templ->sample_aspect_ratio;
    const int method = E.Fvideo_sync_method;
    const int flags_format = AOst.oc->oformat->flags;
    if (method >= 0)
        AOst.sync_method = method;
    else if ((flags_format & AVFMT_VARIABLE_FPS) != 0)
        AOst.sync_method = (flags_format & AVFMT_NOTIMESTAMPS) != 0 ? 0 : 2;
    else
        AOst.sync_method = 1;
    AOst.rec->show_fps = 1;
}

void TTranscodeRun::OpenEncoder(TOutputStreamRun& AOst)
{
    AVCodecContext* templ = AOst.rec->enc_ctx;
    const AVCodec* codec = AOst.rec->enc;
    if (codec == nullptr) codec = ff::avcodec_find_encoder(AOst.rec->codec_id);
    if (codec == nullptr)
        throw FFmpegException(StrFormat("Encoder (codec id %d) not found for output stream #%d.%d (%s)",
                                        static_cast<int>(AOst.rec->codec_id), AOst.segment_file, AOst.rec->index,
                                        MediaTypeName(AOst.type).c_str()));
    CloseEncoder(AOst);
    AOst.enc = CloneEncoderSettings(templ, codec);
    // Every core: FFmpeg's own encoder threads, unless the task asked for a number.
    if (!E.Fthread_count_asked) AOst.enc->thread_count = 0;
    const TOptionKind kind = AOst.type == AVMEDIA_TYPE_VIDEO   ? okVideoCodec
                             : AOst.type == AVMEDIA_TYPE_AUDIO ? okAudioCodec
                                                               : okSubtitleCodec;
    AVDictionary* options = E.Options().CopyOf(kind);
    ff::av_opt_set_dict2(AOst.enc, &options, AV_OPT_SEARCH_CHILDREN);
    ff::av_dict_free(&options);
    if (AOst.type == AVMEDIA_TYPE_SUBTITLE) {
        const AVCodecContext* dec = FInputs[AOst.source].dec;
        if (dec != nullptr && dec->subtitle_header != nullptr) {
            AOst.enc->subtitle_header = static_cast<uint8_t*>(ff::av_mallocz(dec->subtitle_header_size + 1));
            std::memcpy(AOst.enc->subtitle_header, dec->subtitle_header, dec->subtitle_header_size);
            AOst.enc->subtitle_header_size = dec->subtitle_header_size;
        }
        AOst.enc->time_base = AV_TIME_BASE_Q;
    }
    AOst.enc->flags |= templ->flags & (AV_CODEC_FLAG_PASS1 | AV_CODEC_FLAG_PASS2);
    if ((AOst.enc->flags & AV_CODEC_FLAG_PASS2) != 0 && !AOst.pass_stats.empty())
        AOst.enc->stats_in = const_cast<char*>(AOst.pass_stats.c_str());
    options = E.Options().CopyOf(kind);
    if ((AOst.enc->flags & (AV_CODEC_FLAG_PASS1 | AV_CODEC_FLAG_PASS2)) != 0 && EncoderKeepsItsPassLog(codec)) {
        const int index = static_cast<int>(&AOst - FOutputs.data());
        ff::av_dict_set(&options, "stats", PassLogFileName(E.Fpass_logfilename_prefix, index).c_str(),
                        AV_DICT_DONT_OVERWRITE);
    }
    const int result = ff::avcodec_open2(AOst.enc, codec, &options);
    ff::av_dict_free(&options);
    if (result >= 0) E.FEncoderList.Add(&AOst.enc);
    if (result < 0)
        throw FFmpegException(StrFormat("Error while opening encoder for output stream #%d.%d (%s) - maybe incorrect "
                                        "parameters such as bit_rate, rate, width or height. Please check error log "
                                        "message to find out more detail information.",
                                        AOst.segment_file, AOst.rec->index, MediaTypeName(AOst.type).c_str()));
    AVStream* st = AOst.rec->st;
    if (!FHeadersWritten) {
        ff::avcodec_parameters_from_context(st->codecpar, AOst.enc);
        st->time_base = AOst.enc->time_base;
        if (AOst.type == AVMEDIA_TYPE_VIDEO) st->avg_frame_rate = AOst.enc->framerate;
        AOst.first_extradata.assign(AOst.enc->extradata, AOst.enc->extradata + AOst.enc->extradata_size);
        OpenBitstreamFilter(AOst, st->codecpar, AOst.enc->time_base);
    } else if ((AOst.oc->oformat->flags & AVFMT_GLOBALHEADER) != 0 &&
               std::vector<uint8_t>(AOst.enc->extradata, AOst.enc->extradata + AOst.enc->extradata_size) !=
                   AOst.first_extradata) {
        // The container keeps one global header for the whole file: a segment with another one may not play.
        E.Log(llWarning, StrFormat("Output stream #%d.%d (%s): the encoder's global header changed between joined "
                                   "inputs",
                                   AOst.segment_file, AOst.rec->index, MediaTypeName(AOst.type).c_str()));
    }
    if (AOst.type == AVMEDIA_TYPE_AUDIO) {
        const int frame_size = AOst.enc->frame_size;
        (void)frame_size;
        if (AOst.fifo == nullptr) {
            AOst.fifo = ff::av_audio_fifo_alloc(AOst.enc->sample_fmt, AOst.enc->ch_layout.nb_channels, 4096);
            if (AOst.fifo == nullptr) throw FFmpegException("Out of memory in do_audio_out");
        }
    }
}

void TTranscodeRun::OpenDecoders()
{
    for (TOutputStreamRun& ost : FOutputs)
        if (!ost.copy) FInputs[ost.source].decoding_needed = true;
    if (E.JoinMode())
        for (TInputStreamRun& ist : FInputs)
            for (const TOutputStreamRun& ost : FOutputs)
                if (!ost.copy && ist.used && ist.st->codecpar->codec_type == ost.type) ist.decoding_needed = true;
    int index = 0;
    for (TInputStreamRun& ist : FInputs) {
        const int global = index++;
        (void)global;
        if (!ist.decoding_needed) continue;
        const AVCodecParameters* par = ist.st->codecpar;
        const AVCodec* codec = nullptr;
        const size_t codec_index = static_cast<size_t>(&ist - FInputs.data());
        if (codec_index < E.Finput_codecs.size()) codec = E.Finput_codecs[codec_index];
        if (codec == nullptr) codec = ff::avcodec_find_decoder(par->codec_id);
        if (codec == nullptr)
            throw FFmpegException(StrFormat("Decoder (codec id %d) not found for input stream #%d.%d",
                                            static_cast<int>(par->codec_id), ist.file_index, ist.stream_index));
        ist.dec = ff::avcodec_alloc_context3(codec);
        if (ist.dec == nullptr || ff::avcodec_parameters_to_context(ist.dec, par) < 0)
            throw FFmpegException("Could not alloc input stream");
        ist.dec->pkt_timebase = ist.st->time_base;
        // Every core: FFmpeg's own decoder threads.
        ist.dec->thread_count = 0;
        if (ff::avcodec_open2(ist.dec, codec, nullptr) < 0)
            throw FFmpegException(StrFormat("Error while opening decoder for input stream #%d.%d", ist.file_index,
                                            ist.stream_index));
        E.FDecoderList.Add(&ist.dec);
    }
}

namespace {

// The "encoder" tag names the program that wrote the input; what this run encodes is not its work.
void CopyMetadataWithoutEncoder(AVDictionary** ATarget, const AVDictionary* ASource)
{
    AVDictionary* copy = nullptr;
    ff::av_dict_copy(&copy, ASource, 0);
    ff::av_dict_set(&copy, "encoder", nullptr, 0);
    ff::av_dict_copy(ATarget, copy, AV_DICT_DONT_OVERWRITE);
    ff::av_dict_free(&copy);
}

}  // namespace

void TTranscodeRun::SetUpOutputStreams()
{
    for (TOutputStreamRun& ost : FOutputs) {
        const TInputStreamRun& ist = FInputs[ost.source];
        AVStream* st = ost.rec->st;
        ost.rec->source_index = ost.source;
        if (E.Fmetadata_streams_autocopy != 0) {
            if (ost.copy)
                ff::av_dict_copy(&st->metadata, ist.st->metadata, AV_DICT_DONT_OVERWRITE);
            else
                CopyMetadataWithoutEncoder(&st->metadata, ist.st->metadata);
        }
        st->disposition = ist.st->disposition;
        // An encoded cover picture is an ordinary picture stream of the output: kept as a cover, containers that
        // hold covers only in a few picture codecs (MP4, MOV, 3GP) refuse the header.
        if (!ost.copy) st->disposition &= ~AV_DISPOSITION_ATTACHED_PIC;
        if (ost.copy) {
            CopyStreamParameters(ost);
            continue;
        }
        if (ost.type == AVMEDIA_TYPE_VIDEO) PrepareVideoEncoder(ost);
        if (ost.type == AVMEDIA_TYPE_AUDIO) {
            ost.rec->enc_ctx->time_base = AVRational{1, ost.rec->enc_ctx->sample_rate};
            if (E.Frecording_time != INT64_MAX)
                ost.samples_limit =
                    ff::av_rescale_q(E.Frecording_time, AV_TIME_BASE_Q, AVRational{1, ost.rec->enc_ctx->sample_rate});
        }
    }
}

void TTranscodeRun::CopyChapters(int AInputFile, int AOutputFile)
{
    AVFormatContext* ic = E.Finput_files[AInputFile];
    AVFormatContext* oc = E.Foutput_files[AOutputFile];
    const int64_t offset = FileOffset(AInputFile);
    for (unsigned i = 0; i < ic->nb_chapters; ++i) {
        const AVChapter* in = ic->chapters[i];
        const int64_t ts_off = ff::av_rescale_q(offset, AV_TIME_BASE_Q, in->time_base);
        const int64_t rt = E.Frecording_time == INT64_MAX
                               ? INT64_MAX
                               : ff::av_rescale_q(E.Frecording_time, AV_TIME_BASE_Q, in->time_base);
        if (in->end < -ts_off) continue;
        if (rt != INT64_MAX && in->start > rt - ts_off) break;
        auto* out = static_cast<AVChapter*>(ff::av_mallocz(sizeof(AVChapter)));
        if (out == nullptr) throw FFmpegException("Out of memory");
        out->id = in->id;
        out->time_base = in->time_base;
        out->start = std::max<int64_t>(0, in->start + ts_off);
        out->end = rt == INT64_MAX ? in->end + ts_off : std::min(rt, in->end + ts_off);
        if (out->end < out->start) out->end = out->start;
        ff::av_dict_copy(&out->metadata, in->metadata, 0);
        ff::av_dynarray_add(&oc->chapters, reinterpret_cast<int*>(&oc->nb_chapters), out);
    }
}

void TTranscodeRun::ApplyMetadataMaps()
{
    auto metadata_of = [](AVFormatContext* AContext, const TAVMetaDataMap& AMap, bool AOutput) -> AVDictionary** {
        switch (AMap.type_) {
        case 'g':
            return &AContext->metadata;
        case 's':
            if (AMap.index >= 0 && AMap.index < static_cast<int>(AContext->nb_streams))
                return &AContext->streams[AMap.index]->metadata;
            break;
        case 'c':
            if (AMap.index >= 0 && AMap.index < static_cast<int>(AContext->nb_chapters))
                return &AContext->chapters[AMap.index]->metadata;
            break;
        case 'p':
            if (AMap.index >= 0 && AMap.index < static_cast<int>(AContext->nb_programs))
                return &AContext->programs[AMap.index]->metadata;
            break;
        default:
            break;
        }
        throw FFmpegException(StrFormat("Invalid %s metadata index %d", AOutput ? "output" : "input", AMap.index));
    };
    const int outputs = E.JoinMode() ? 1 : E.Fnb_output_files;
    // Chapters first, so that chapter metadata maps find them.
    bool chapters_mapped = false;
    for (const TAVChapterMap& map : E.Fchapter_maps) {
        if (map.out_file < 0 || map.out_file >= outputs) continue;
        chapters_mapped = true;
        if (map.in_file < 0) continue;
        if (map.in_file >= E.Fnb_input_files)
            throw FFmpegException(StrFormat("Invalid input file index %d in chapter mapping.", map.in_file));
        CopyChapters(map.in_file, map.out_file);
    }
    if (!chapters_mapped && E.Fmetadata_chapters_autocopy != 0)
        for (int i = 0; i < E.Fnb_input_files; ++i)
            if (E.Finput_files[i]->nb_chapters > 0) {
                for (int o = 0; o < outputs; ++o)
                    if (E.Foutput_files[o]->nb_chapters == 0) CopyChapters(i, o);
                break;
            }
    bool global_mapped = false;
    for (const auto& [out_map, in_map] : E.Fmeta_data_maps) {
        if (out_map.file_idx < 0 || out_map.file_idx >= outputs)
            throw FFmpegException(StrFormat("Invalid output file index %d map_meta_data.", out_map.file_idx));
        if (in_map.file_idx < 0) continue;
        if (in_map.file_idx >= E.Fnb_input_files)
            throw FFmpegException(StrFormat("Invalid input file index %d map_meta_data.", in_map.file_idx));
        AVDictionary** target = metadata_of(E.Foutput_files[out_map.file_idx], out_map, true);
        AVDictionary** source = metadata_of(E.Finput_files[in_map.file_idx], in_map, false);
        ff::av_dict_copy(target, *source, AV_DICT_DONT_OVERWRITE);
        if (out_map.type_ == 'g') global_mapped = true;
    }
    if (!global_mapped && E.Fmetadata_global_autocopy != 0 && E.Fnb_input_files > 0)
        for (int o = 0; o < outputs; ++o)
            CopyMetadataWithoutEncoder(&E.Foutput_files[o]->metadata, E.Finput_files[0]->metadata);
}

void TTranscodeRun::WriteHeaders()
{
    const int outputs = E.JoinMode() ? 1 : E.Fnb_output_files;
    for (int o = 0; o < outputs; ++o) {
        AVDictionary* options = E.Options().CopyOf(okFormat);
        const int result = ff::avformat_write_header(E.Foutput_files[o], &options);
        ff::av_dict_free(&options);
        if (result < 0)
            throw FFmpegException(
                StrFormat("Could not write header for output file #%d (incorrect codec parameters ?)", o));
    }
    FHeadersWritten = true;
    // Whoever receives a stream sent over RTP needs its session description.
    std::vector<AVFormatContext*> files(E.Foutput_files.begin(), E.Foutput_files.begin() + outputs);
    if (AllFormatsAreRtp(files)) E.Log(llInfo, "SDP:\r\n" + SessionDescription(files));
}

void TTranscodeRun::DumpStreamMapping()
{
    if (E.Fverbose < 0) return;
    const int outputs = E.JoinMode() ? 1 : E.Fnb_output_files;
    for (int o = 0; o < outputs; ++o)
        ff::av_dump_format(E.Foutput_files[o], o, E.Foutput_files[o]->url, 1);
    E.Log(llInfo, "Stream mapping:");
    for (const TOutputStreamRun& ost : FOutputs) {
        const TInputStreamRun& ist = FInputs[ost.source];
        std::string line = StrFormat("  Stream #%d.%d -> #%d.%d (%s)", ist.file_index, ist.stream_index,
                                     ost.segment_file, ost.rec->index,
                                     ost.copy ? "copy" : ff::avcodec_get_name(ost.enc->codec_id));
        E.Log(llInfo, line);
    }
}

std::string TTranscodeRun::StreamName(const TOutputStreamRun& AOst) const
{
    return StrFormat("#%d.%d (%s)", AOst.segment_file, AOst.rec->index, MediaTypeName(AOst.type).c_str());
}

void TTranscodeRun::OpenPassLogFile(TOutputStreamRun& AOst, int AIndex)
{
    AVCodecContext* templ = AOst.rec->enc_ctx;
    if ((templ->flags & (AV_CODEC_FLAG_PASS1 | AV_CODEC_FLAG_PASS2)) == 0) return;
    const AVCodec* codec = AOst.rec->enc != nullptr ? AOst.rec->enc : ff::avcodec_find_encoder(AOst.rec->codec_id);
    if (EncoderKeepsItsPassLog(codec)) return;  // told the name when it is opened
    const std::string name = PassLogFileName(E.Fpass_logfilename_prefix, AIndex);
    if ((templ->flags & AV_CODEC_FLAG_PASS1) != 0) {
        AOst.pass_log = std::fopen(name.c_str(), "wb");
        if (AOst.pass_log == nullptr)
            throw FFmpegException(StrFormat("Cannot write log file %s for pass-1 encoding", name.c_str()));
        return;
    }
    AOst.pass_stats = ReadPassLog(name);
}
