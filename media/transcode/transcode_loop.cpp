// The read loop of a run: the choice of the input, reading with would-block waits, time-stamp scale and offset,
// recording limits, the segments of a join, the drains and the trailers.
#include <algorithm>
#include <cstdlib>
#include <set>

#include "media/loader/av_bindings.h"
#include "media/transcode/transcode_run.h"
#include "media/util/ff_utils.h"
#include "media/util/text_format.h"

void TFFmpeg::RunTranscode()
{
    TTranscodeRun run(*this);
    run.Run();
}

namespace {

// Jobs the writer may hold: a few pictures ahead are enough to keep decoding, scaling and encoding busy at
// once; more would only hold memory.
constexpr size_t WriterDepth = 6;

}  // namespace

TTranscodeRun::TTranscodeRun(TFFmpeg& AEngine) : E(AEngine)
{
    FWriter = std::make_unique<TWriteQueue>(
        WriterDepth,
        [this] {
            // A paused run holds its writer too; once stopped, what was handed over is still written.
            E.WaitWhilePaused();
            if (E.Broken()) TCustomFFmpeg::SetClosingOutputsOnThisThread(true);
        },
        [this] {
            TWrittenFigures figures = CollectFigures();
            const std::lock_guard guard(FFiguresLock);
            FFigures = std::move(figures);
        });
}

TTranscodeRun::~TTranscodeRun()
{
    FWriter->Finish();
    // Whatever is still open, also after a failure.
    E.FDecoderList.CloseAll();
    E.FEncoderList.CloseAll();
    for (TOutputStreamRun& ost : FOutputs) {
        CloseEncoder(ost);
        if (ost.pass_log != nullptr) std::fclose(ost.pass_log);
        if (ost.bsf != nullptr) ff::av_bsf_free(&ost.bsf);
        if (ost.swr != nullptr) ff::swr_free(&ost.swr);
        ff::av_channel_layout_uninit(&ost.swr_in_layout);
        if (ost.fifo != nullptr) ff::av_audio_fifo_free(ost.fifo);
        ost.filter.reset();
    }
    for (TInputStreamRun& ist : FInputs)
        if (ist.dec != nullptr) ff::avcodec_free_context(&ist.dec);
    if (FVideoStatsFile != nullptr) std::fclose(FVideoStatsFile);
}

TTranscodeRun::TClosingOutputs::TClosingOutputs(TFFmpeg& AEngine) : Engine(AEngine)
{
    Engine.SetClosingOutputs(true);
}

TTranscodeRun::TClosingOutputs::~TClosingOutputs()
{
    Engine.SetClosingOutputs(false);
}

void TTranscodeRun::CloseEncoder(TOutputStreamRun& AOst)
{
    if (AOst.enc == nullptr) return;
    E.FEncoderList.Remove(&AOst.enc);
    // The statistics text belongs to the run, not to the encoder.
    AOst.enc->stats_in = nullptr;
    ff::avcodec_free_context(&AOst.enc);
}

int64_t TTranscodeRun::ToMicroseconds(int64_t ATime, AVRational ATimeBase) const
{
    return ff::av_rescale_q(ATime, ATimeBase, AV_TIME_BASE_Q);
}

bool TTranscodeRun::LimitReached(const TOutputStreamRun& AOst) const
{
    const int type = AOst.type;
    return AOst.finished || (type >= 0 && type < 4 && AOst.frame_number >= E.Fmax_frames[type]);
}

void TTranscodeRun::Run()
{
    FFrame.reset(ff::av_frame_alloc());
    FFiltered.reset(ff::av_frame_alloc());
    FPacket.reset(ff::av_packet_alloc());
    FEncoded.reset(ff::av_packet_alloc());
    FOutgoing.reset(ff::av_packet_alloc());
    if (!FFrame || !FFiltered || !FPacket || !FEncoded || !FOutgoing)
        throw FFmpegException("Out of memory");

    BuildInputs();
    MapStreams();
    OpenDecoders();
    SetUpOutputStreams();
    for (size_t i = 0; i < FOutputs.size(); ++i)
        if (!FOutputs[i].copy && FOutputs[i].type == AVMEDIA_TYPE_VIDEO) OpenPassLogFile(FOutputs[i], static_cast<int>(i));
    for (TOutputStreamRun& ost : FOutputs)
        if (!ost.copy) OpenEncoder(ost);
    ApplyMetadataMaps();
    try {
        WriteHeaders();
        DumpStreamMapping();
        StartWriter();
        const bool failed_read = ReadLoop();
        FinishOutputs();
        if (failed_read) throw FFmpegException(FReadError);
        if (!E.Broken()) CheckEveryStreamWritten();
    } catch (...) {
        std::exception_ptr failure = std::current_exception();
        {
            const TClosingOutputs closing(E);
            FWriter->Finish();
        }
        // A write handed over earlier failed first: that is what ended the run.
        if (const std::exception_ptr written = FWriter->Failure()) failure = written;
        AbandonOutputs();
        std::rethrow_exception(failure);
    }
    E.SetFinished(!E.Broken());
}

void TTranscodeRun::CheckEveryStreamWritten() const
{
    const auto media = [](const TOutputStreamRun& AOst) {
        return AOst.type == AVMEDIA_TYPE_VIDEO || AOst.type == AVMEDIA_TYPE_AUDIO;
    };
    // A stream limited to no frames at all was asked to stay empty, and the run ends with it.
    for (const TOutputStreamRun& ost : FOutputs)
        if (media(ost) && E.Fmax_frames[ost.type] <= 0) return;
    for (const TOutputStreamRun& ost : FOutputs)
        if (media(ost) && ost.packets == 0)
            throw FFmpegException("Output stream " + StreamName(ost) +
                                  " is empty: nothing of its input could be decoded and converted");
}

void TTranscodeRun::StartWriter()
{
    std::set<int> files;
    for (const TOutputStreamRun& ost : FOutputs) files.insert(FInputs[ost.source].file_index);
    FSingleSourceFile = !E.JoinMode() && files.size() <= 1;
    // Which input is read next depends on the times written when several inputs feed the outputs, the size
    // limit on the bytes written, and a join's joints on where each stream stands: those runs stay on one thread.
    if (!FSingleSourceFile || E.Flimit_filesize != 0) return;
    FFigures = CollectFigures();
    FWriter->Start();
}

bool TTranscodeRun::ReadLoop()
{
    FTimerStart = ff::av_gettime_relative();
    FLastReport = FTimerStart;
    FSegment = 0;
    bool failed_read = false;
    while (!E.Broken()) {
        E.WaitWhilePaused();
        if (E.Broken()) break;
        const int file = ChooseInput();
        if (file < 0) {
            bool blocked = false;
            for (bool mark : FWouldBlock) blocked = blocked || mark;
            if (E.JoinMode() || !blocked) break;
            FWouldBlock.assign(FWouldBlock.size(), false);
            ff::av_usleep(10000);
            continue;
        }
        if (E.Flimit_filesize != 0 && FOutputs.front().oc->pb != nullptr &&
            ff::avio_seek(FOutputs.front().oc->pb, 0, SEEK_CUR) >= E.Flimit_filesize)
            break;
        E.ArmReadTimeout();
        int result = ff::av_read_frame(E.Finput_files[file], FPacket.get());
        E.DisarmReadTimeout();
        // Demuxers report a failed read as the end of the file: the I/O context still knows the truth.
        const AVIOContext* pb = E.Finput_files[file]->pb;
        if (result == AVERROR_EOF && pb != nullptr && pb->error < 0 && pb->error != AVERROR_EOF) result = pb->error;
        if (result == AVERROR(EAGAIN)) {
            FWouldBlock[file] = true;
            continue;
        }
        if (result < 0) {
            if (E.Broken()) break;
            // Only the end of the file is an end; any other answer is a failure of the run, reported once the
            // output written so far has been closed properly.
            if (result != AVERROR_EOF) {
                FReadError = AVErrorText(E.Finput_file_names[file], result);
                failed_read = true;
                break;
            }
            FFileEnded[file] = true;
            if (E.Fopt_shortest && !E.JoinMode()) break;
            if (E.JoinMode()) {
                EndSegment(file);
                if (file + 1 >= E.Fnb_input_files) break;
            }
            continue;
        }
        FWouldBlock.assign(FWouldBlock.size(), false);
        AVFormatContext* ic = E.Finput_files[file];
        if (FPacket->stream_index < 0 || FPacket->stream_index >= static_cast<int>(ic->nb_streams)) {
            ff::av_packet_unref(FPacket.get());
            continue;
        }
        TInputStreamRun& ist = FInputs[FFirstStreamOfFile[file] + FPacket->stream_index];
        if (!ist.used || ist.st->discard == AVDISCARD_ALL) {
            ff::av_packet_unref(FPacket.get());
            continue;
        }
        const std::vector<double>& scales = E.Finput_files_ts_scale[file];
        if (FPacket->stream_index < static_cast<int>(scales.size()) && scales[FPacket->stream_index] != 0) {
            const double scale = scales[FPacket->stream_index];
            if (FPacket->pts != AV_NOPTS_VALUE) FPacket->pts = std::llround(FPacket->pts * scale);
            if (FPacket->dts != AV_NOPTS_VALUE) FPacket->dts = std::llround(FPacket->dts * scale);
        }
        // The jumps absorbed so far are taken off the packet itself, so that pictures and sound still inside the
        // decoders keep the times they were read with.
        if (FClockShift.size() < static_cast<size_t>(E.Fnb_input_files)) FClockShift.resize(E.Fnb_input_files, 0);
        if (FClockShift[file] != 0) {
            const int64_t shift = ff::av_rescale_q(FClockShift[file], AV_TIME_BASE_Q, ist.st->time_base);
            if (FPacket->pts != AV_NOPTS_VALUE) FPacket->pts -= shift;
            if (FPacket->dts != AV_NOPTS_VALUE) FPacket->dts -= shift;
        }
        if (FPacket->dts != AV_NOPTS_VALUE && (ic->iformat->flags & AVFMT_TS_DISCONT) != 0 && !E.Fcopy_ts) {
            // A container that may restart its clock: a jump beyond the threshold either way, or any step back
            // behind where the stream has got to, is absorbed.
            const int64_t dts_us = ToMicroseconds(FPacket->dts, ist.st->time_base) + FileOffset(file);
            if (ist.next_dts_us != AV_NOPTS_VALUE) {
                const int64_t delta = dts_us - ist.next_dts_us;
                const bool back = ist.last_dts_us != INT64_MIN && dts_us + 1 < ist.last_dts_us;
                if (std::llabs(delta) > static_cast<int64_t>(E.Fdts_delta_threshold * AV_TIME_BASE) || back) {
                    FClockShift[file] += delta;
                    const int64_t shift = ff::av_rescale_q(delta, AV_TIME_BASE_Q, ist.st->time_base);
                    if (FPacket->pts != AV_NOPTS_VALUE) FPacket->pts -= shift;
                    FPacket->dts -= shift;
                    if (E.Fverbose > 2)
                        E.Log(llVerbose, StrFormat("timestamp discontinuity %d, new offset= %d", static_cast<int>(delta),
                                                   static_cast<int>(FileOffset(file) - FClockShift[file])));
                }
            }
            ist.next_dts_us = ToMicroseconds(FPacket->dts + FPacket->duration, ist.st->time_base) + FileOffset(file);
            // A presentation time beyond the threshold from the packet's own decoding time is damage (the two are
            // a few pictures apart at most): taken as it stands, the picture would be repeated up to it, for hours.
            if (FPacket->pts != AV_NOPTS_VALUE &&
                std::llabs(ToMicroseconds(FPacket->pts - FPacket->dts, ist.st->time_base)) >
                    static_cast<int64_t>(E.Fdts_delta_threshold * AV_TIME_BASE))
                FPacket->pts = FPacket->dts;
        }
        const int64_t when = FPacket->pts != AV_NOPTS_VALUE ? FPacket->pts : FPacket->dts;
        if (FPacket->dts != AV_NOPTS_VALUE)
            ist.last_dts_us = ToMicroseconds(FPacket->dts, ist.st->time_base) + FileOffset(file);
        if (E.Frecording_time != INT64_MAX && when != AV_NOPTS_VALUE &&
            ToMicroseconds(when, ist.st->time_base) + FileOffset(file) >= E.Frecording_time) {
            // A stream with B-frames can still deliver earlier pictures: the decoder is drained at the end.
            ist.past_recording = true;
            ff::av_packet_unref(FPacket.get());
            continue;
        }
        if (E.Frate_emu && when != AV_NOPTS_VALUE) {
            // Read no faster than the input plays (live sources fed from files).
            const int64_t ahead = ToMicroseconds(when, ist.st->time_base) + FileOffset(file) -
                                  (ff::av_gettime_relative() - FTimerStart);
            if (ahead > 0) ff::av_usleep(static_cast<unsigned>(std::min<int64_t>(ahead, AV_TIME_BASE)));
        }
        ProcessPacket(ist, FPacket.get());
        ff::av_packet_unref(FPacket.get());
        if (E.JoinMode()) FollowSoundWithBlack(file);
        const int64_t now = ff::av_gettime_relative();
        if (now - FLastReport > E.ReportInterval) {
            FLastReport = now;
            ReportProgress(E.JoinMode() ? FSegment : file, false);
        }
    }
    return failed_read;
}

void TTranscodeRun::FinishOutputs()
{
    // The end: whatever stopped the loop, the output is finished and playable.
    const TClosingOutputs closing(E);
    for (TInputStreamRun& ist : FInputs)
        if (ist.decoding_needed && !ist.drained && (!E.JoinMode() || ist.file_index == FSegment)) DrainInput(ist);
    for (TOutputStreamRun& ost : FOutputs) FlushOutput(ost);
    FWriter->Sync();
    FWriter->Finish();
    const int outputs = E.JoinMode() ? 1 : E.Fnb_output_files;
    for (; FTrailersWritten < outputs; ++FTrailersWritten) {
        AVFormatContext* oc = E.Foutput_files[FTrailersWritten];
        const int result = ff::av_write_trailer(oc);
        if (result < 0) {
            E.MarkOutputUnfinished(oc->url != nullptr ? oc->url : "");
            ++FTrailersWritten;
            throw FFmpegException(AVErrorText(oc->url, result));
        }
    }
    ReportProgress(-1, true);
}

void TTranscodeRun::AbandonOutputs()
{
    // A failed run still closes what it wrote so far, so that it plays up to the failure (an MP4 without its
    // index does not play at all); an output that cannot be closed so is removed when this run created it.
    const TClosingOutputs closing(E);
    if (FHeadersWritten && FTrailersWritten == 0)
        for (TOutputStreamRun& ost : FOutputs) {
            // What the encoders still hold goes in too; one that failed is left as it is.
            try {
                FlushOutput(ost);
            } catch (const Exception&) {
            }
        }
    const int outputs = E.JoinMode() ? 1 : E.Fnb_output_files;
    for (; FTrailersWritten < outputs; ++FTrailersWritten) {
        AVFormatContext* oc = E.Foutput_files[FTrailersWritten];
        if (oc == nullptr) continue;
        if (!FHeadersWritten || ff::av_write_trailer(oc) < 0) E.MarkOutputUnfinished(oc->url != nullptr ? oc->url : "");
    }
}

int TTranscodeRun::ChooseInput()
{
    if (E.JoinMode()) {
        for (const TOutputStreamRun& ost : FOutputs)
            if (LimitReached(ost)) return -1;
        return FSegment < E.Fnb_input_files ? FSegment : -1;
    }
    if (FSingleSourceFile) {
        // One file feeds every output: it is the choice whatever the times say (they belong to the writer).
        int chosen = -1;
        for (const TOutputStreamRun& ost : FOutputs) {
            const TInputStreamRun& ist = FInputs[ost.source];
            if (ist.past_recording || FWouldBlock[ist.file_index]) continue;
            if (LimitReached(ost)) return -1;
            if (!FFileEnded[ist.file_index]) chosen = ist.file_index;
        }
        return chosen;
    }
    int chosen = -1;
    double smallest_in = 1e100;
    double smallest_out = 1e100;
    for (const TOutputStreamRun& ost : FOutputs) {
        const TInputStreamRun& ist = FInputs[ost.source];
        if (ist.past_recording || FWouldBlock[ist.file_index]) continue;
        if (LimitReached(ost)) return -1;
        if (FFileEnded[ist.file_index]) continue;
        const double out_time = ost.end_time_us / 1e6;
        const double in_time = ist.last_dts_us == INT64_MIN ? -1e100 : ist.last_dts_us / 1e6;
        if (in_time < smallest_in) {
            smallest_in = in_time;
            if (E.Finput_sync) chosen = ist.file_index;
        }
        if (out_time < smallest_out) {
            smallest_out = out_time;
            if (!E.Finput_sync) chosen = ist.file_index;
        }
    }
    return chosen;
}

void TTranscodeRun::EndSegment(int AInputFile)
{
    for (TInputStreamRun& ist : FInputs)
        if (ist.file_index == AInputFile && ist.decoding_needed && !ist.drained) DrainInput(ist);
    FollowSoundWithBlack(AInputFile);
    // Sound that ends before the pictures (an input without sound, or with less of it) is followed by silence
    // up to their end, so that the next input's sound starts with its pictures.
    int64_t pictures_end = 0;
    for (const TOutputStreamRun& ost : FOutputs)
        if (ost.type == AVMEDIA_TYPE_VIDEO) pictures_end = std::max(pictures_end, FedEnd(ost));
    for (TOutputStreamRun& ost : FOutputs)
        if (ost.type == AVMEDIA_TYPE_AUDIO && !ost.copy) PadAudioWithSilence(ost, pictures_end);
    // The sound encoder runs on across the joint: a fresh one would add its delay and the padding of its last
    // frame at every joint. Only what the resampler still holds is taken in; the fifo's rest goes on.
    int64_t largest = 0;
    for (TOutputStreamRun& ost : FOutputs) {
        if (ost.type == AVMEDIA_TYPE_AUDIO && !ost.copy)
            DrainResampler(ost);
        else if (!ost.copy)
            FlushOutput(ost);
        largest = std::max(largest, FedEnd(ost));
    }
    // The encoders are replaced below: they must have taken all they were handed first.
    FWriter->Sync();
    if (AInputFile + 1 >= E.Fnb_input_files) return;
    // The next input goes on where this one ended, with fresh picture encoders; counters carry over.
    E.InputTsOffset(AInputFile + 1) += largest;
    FSegment = AInputFile + 1;
    for (TOutputStreamRun& ost : FOutputs) {
        // An input without sound or pictures leaves them on their old, ended source: silence or black pictures
        // are added at its end.
        const int source = FindSourceStream(FSegment, ost.type, {}, false);
        if (source >= 0) ost.source = source;
        ost.seen_key_frame = false;
        if (ost.copy) continue;
        if (ost.swr != nullptr) ff::swr_free(&ost.swr);
        ost.swr_in_format = -1;
        if (ost.type == AVMEDIA_TYPE_AUDIO) continue;
        if (ost.type == AVMEDIA_TYPE_VIDEO) {
            const TInputStreamRun& ist = FInputs[ost.source];
            ost.filter = std::make_unique<TFilterChain>();
            ost.filter->SetOutputFormats({ost.rec->enc_ctx->pix_fmt});
            ost.filter->SetScaleFlags(static_cast<int>(E.Fsws_flags));
            std::string chain = E.VideoFiltersOfInput(ist.file_index);
            const AVCodecParameters* par = ist.st->codecpar;
            if (ost.rec->enc_ctx->width != par->width || ost.rec->enc_ctx->height != par->height)
                if (chain.empty()) chain = StrFormat("scale=%d:%d", ost.rec->enc_ctx->width, ost.rec->enc_ctx->height);
            try {
                ost.filter->Open(chain, ist.st->time_base);
            } catch (const Exception& e) {
                throw FFmpegException("Error opening filters: " + e.Message());
            }
        }
        OpenEncoder(ost);
    }
}

// An input of a join without pictures (a sound file) shows black pictures for as long as its sound plays; they
// are written as the sound goes, so that the two stay interleaved in the file.
void TTranscodeRun::FollowSoundWithBlack(int AInputFile)
{
    int64_t sound_end = 0;
    for (const TOutputStreamRun& ost : FOutputs)
        if (ost.type == AVMEDIA_TYPE_AUDIO) sound_end = std::max(sound_end, FedEnd(ost));
    for (TOutputStreamRun& ost : FOutputs)
        if (ost.type == AVMEDIA_TYPE_VIDEO && !ost.copy && FInputs[ost.source].file_index != AInputFile)
            PadVideoWithBlack(ost, sound_end);
}

// What the encoder wrote ends later by its own delay and padding; taking that as the joint would leave a gap of
// silence and repeated pictures at every joint.
int64_t TTranscodeRun::FedEnd(const TOutputStreamRun& AOst) const
{
    if (AOst.copy || AOst.enc == nullptr) return AOst.end_time_us;
    if (AOst.type == AVMEDIA_TYPE_VIDEO) return AOst.fed_end_us;
    if (AOst.type == AVMEDIA_TYPE_AUDIO && AOst.next_audio_pts != AV_NOPTS_VALUE && AOst.fifo != nullptr)
        return ToMicroseconds(SamplesWritten(AOst), AVRational{1, AOst.enc->sample_rate});
    return AOst.end_time_us;
}

void TTranscodeRun::DrainInput(TInputStreamRun& AIst)
{
    AIst.drained = true;
    if (AIst.dec == nullptr) return;
    if (AIst.st->codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE) return;
    DecodeFrames(AIst, nullptr);
    const int index = static_cast<int>(&AIst - FInputs.data());
    for (TOutputStreamRun& ost : FOutputs)
        if (ost.source == index && !ost.copy && ost.type == AVMEDIA_TYPE_VIDEO) FlushVideoFilter(ost, AIst);
}

void TTranscodeRun::FlushOutput(TOutputStreamRun& AOst)
{
    if (AOst.copy || AOst.enc == nullptr) return;
    if (AOst.type == AVMEDIA_TYPE_AUDIO) FlushAudio(AOst);
    if (AOst.type == AVMEDIA_TYPE_SUBTITLE) return;
    if (AOst.type == AVMEDIA_TYPE_VIDEO || AOst.type == AVMEDIA_TYPE_AUDIO) Encode(AOst, nullptr);
}
