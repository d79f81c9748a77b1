// Progress figures of a run, from the states of its output streams.
#include "media/loader/av_bindings.h"
#include "media/transcode/transcode_run.h"
#include "media/util/text_format.h"

TWrittenFigures TTranscodeRun::CollectFigures() const
{
    TWrittenFigures figures;
    AVFormatContext* oc = FOutputs.empty() ? nullptr : FOutputs.front().oc;
    if (oc != nullptr && oc->pb != nullptr) {
        figures.size = ff::avio_size(oc->pb);
        if (figures.size <= 0) figures.size = ff::avio_seek(oc->pb, 0, SEEK_CUR);
    }
    for (const TOutputStreamRun& ost : FOutputs) {
        figures.end_time_us.push_back(ost.end_time_us);
        figures.quality.push_back(ost.quality);
    }
    figures.coded = FCoded;
    return figures;
}

TWrittenFigures TTranscodeRun::WrittenFigures() const
{
    if (!FWriter->Running()) return CollectFigures();
    const std::lock_guard guard(FFiguresLock);
    return FFigures;
}

void TTranscodeRun::ReportProgress(int AFileIndex, bool ALast)
{
    const TOutputStreamRun* video = nullptr;
    for (const TOutputStreamRun& ost : FOutputs)
        if (ost.type == AVMEDIA_TYPE_VIDEO && ost.rec->show_fps != 0) {
            video = &ost;
            break;
        }
    // Until the first picture there is nothing to tell, not even at the end of a run that never made one.
    if (video != nullptr && video->frame_number < 1) return;

    const double elapsed = static_cast<double>(ff::av_gettime_relative() - FTimerStart) / 1e6;
    // The pictures counted are those handed to the encoder; the rest are what was written of them so far.
    const TWrittenFigures written = WrittenFigures();
    const auto index_of = [this](const TOutputStreamRun& AOst) { return static_cast<size_t>(&AOst - FOutputs.data()); };
    int frame_number = -1;
    int fps = -1;
    float quality = -1.0f;
    if (video != nullptr) {
        frame_number = video->frame_number;
        fps = elapsed > 1.0 ? static_cast<int>(frame_number / elapsed + 0.5) : 0;
        quality = video->copy ? -1.0f : written.quality[index_of(*video)];
    }
    const int64_t size = written.size;
    int64_t current = 0;
    for (const int64_t end : written.end_time_us) current = std::max(current, end);
    int64_t total = E.TotalOutputDuration();
    if (E.Frecording_time != INT64_MAX && (total < 0 || E.Frecording_time < total)) total = E.Frecording_time;
    const double seconds = std::max(current / 1e6, 0.01);
    const float bit_rate = static_cast<float>(size * 8 / seconds / 1000.0);

    {
        std::string line;
        bool seen = false;
        for (size_t i = 0; i < FOutputs.size(); ++i) {
            const TOutputStreamRun& ost = FOutputs[i];
            if (ost.type != AVMEDIA_TYPE_VIDEO) continue;
            const TCodedPictures* coded = i < written.coded.size() ? &written.coded[i] : nullptr;
            if (seen) {
                line += StrFormat("q=%2.1f ", ost.copy ? -1.0f : written.quality[i]);
                continue;
            }
            if (&ost != video) continue;
            seen = true;
            line += StrFormat("frame=%5d fps=%3d q=%3.1f ", frame_number, fps, quality);
            if (ALast) line += "L";
            if (E.Fqp_hist) line += QpHistogramText(FQpHistogram, quality);
            if (coded != nullptr && coded->has_error && ost.enc != nullptr)
                line += PsnrText(*coded, ost.enc->width, ost.enc->height, ALast);
        }
        if (!seen) line = StrFormat("frame=%5d fps=%3d q=%3.1f ", frame_number, fps, quality) + (ALast ? "L" : "");
        line += StrFormat("size=%8.0fkB time=%0.2f bitrate=%6.1fkbits/s", size / 1024.0, current / 1e6, bit_rate);
        const int dup_drop = video != nullptr ? video->dup_frames + video->drop_frames : 0;
        if (dup_drop != 0) line += StrFormat(" dup=%d drop=%d", video->dup_frames, video->drop_frames);
        if (E.FOnProgress) {
            // The figures go to the event; a new duplication or drop is still told in the log, once.
            if (dup_drop != FLoggedDupDrop && E.Fverbose >= 0) E.Log(llVerbose, line);
            FLoggedDupDrop = dup_drop;
            E.FOnProgress(&E, AFileIndex, frame_number, fps, quality, bit_rate, size, current, total);
        } else if (E.Fverbose >= 0) {
            E.Log(llInfo, line);
        }
    }
    if (!ALast || E.Fverbose < 0) return;
    int64_t video_bytes = 0;
    int64_t audio_bytes = 0;
    int64_t header_bytes = 0;
    for (const TOutputStreamRun& ost : FOutputs) {
        if (ost.type == AVMEDIA_TYPE_VIDEO) video_bytes += ost.bytes;
        if (ost.type == AVMEDIA_TYPE_AUDIO) audio_bytes += ost.bytes;
        if (ost.rec->st->codecpar != nullptr) header_bytes += ost.rec->st->codecpar->extradata_size;
    }
    const int64_t raw = video_bytes + audio_bytes + header_bytes;
    // Nothing encoded or copied: no overhead to speak of.
    const double overhead = raw > 0 ? 100.0 * (static_cast<double>(size) / raw - 1.0) : 0.0;
    E.Log(llInfo, StrFormat("video:%1.0fkB audio:%1.0fkB global headers:%1.0fkB muxing overhead %f%%\r\n",
                            video_bytes / 1024.0, audio_bytes / 1024.0, header_bytes / 1024.0, overhead));
}
