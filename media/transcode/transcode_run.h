#pragma once
// One run of a transcoding task: the records it builds for its input and output streams and the steps of the
// run. Lives only while the run does; everything it opened is freed by its destructor, also after a failure.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "media/filters/filter_chain.h"
#include "media/transcode/ffmpeg.h"
#include "media/transcode/video_stats.h"
#include "media/transcode/write_queue.h"
#include "media/util/ff_utils.h"

struct SwrContext;
struct AVAudioFifo;
struct AVBSFContext;

// An input stream of the run. Time stamps of decoded frames are carried on in microseconds of the output's
// time line: the stream's own time plus its file's offset.
struct TInputStreamRun {
    int file_index = 0;
    int stream_index = 0;
    AVStream* st = nullptr;
    AVCodecContext* dec = nullptr;
    bool decoding_needed = false;
    bool drained = false;
    bool past_recording = false;
    bool used = false;  // some output stream takes it
    int64_t last_dts_us = INT64_MIN;  // time line of the packets read, for the input choice
    int64_t next_dts_us = AV_NOPTS_VALUE;  // where the next packet is expected, for jumps in the time stamps
};

struct TOutputStreamRun {
    TAVOutputStream* rec = nullptr;  // the record of the file's set-up; its encoder context is the template
    int segment_file = 0;            // the output file entry (the segment in join mode)
    AVFormatContext* oc = nullptr;
    int source = -1;                 // index into the run's input streams
    AVMediaType type = AVMEDIA_TYPE_UNKNOWN;
    bool copy = false;
    AVCodecContext* enc = nullptr;   // the opened encoder of the current segment
    std::vector<uint8_t> first_extradata;
    AVBSFContext* bsf = nullptr;
    // video
    std::unique_ptr<TFilterChain> filter;
    std::unique_ptr<TFilterChain> fit;  // brings pictures of a changed input size to the encoder's size
    int sync_method = 0;
    int64_t sync_opts = 0;  // next frame number in the encoder's time base
    // Where the pictures fed so far end on the output's time line, by their input times: at another frame rate
    // the encoder's frame count runs up to a frame ahead of it.
    int64_t fed_end_us = 0;
    int dup_frames = 0;
    int drop_frames = 0;
    // audio
    SwrContext* swr = nullptr;
    AVChannelLayout swr_in_layout{};
    int swr_in_rate = 0;
    int swr_in_format = -1;
    AVAudioFifo* fifo = nullptr;
    int64_t next_audio_pts = AV_NOPTS_VALUE;  // in samples of the encoder
    int64_t samples_limit = INT64_MAX;         // from the recording time
    int64_t samples_skip = 0;  // samples before the start of the time line, not written
    // copy
    bool seen_key_frame = false;
    int64_t last_mux_dts = AV_NOPTS_VALUE;
    // two-pass encoding
    FILE* pass_log = nullptr;
    std::string pass_stats;
    // figures
    int frame_number = 0;
    int64_t end_time_us = 0;  // the largest end of what was written
    int64_t bytes = 0;
    int64_t packets = 0;  // written to the file
    float quality = -1.0f;
    bool finished = false;  // reached its frame limit or its recording end
};

// What the writing side has written so far, as the progress report tells it; per output stream in table order.
struct TWrittenFigures {
    int64_t size = 0;  // bytes of output file 0
    std::vector<int64_t> end_time_us;
    std::vector<float> quality;
    std::vector<TCodedPictures> coded;
};

class TTranscodeRun {
public:
    explicit TTranscodeRun(TFFmpeg& AEngine);
    ~TTranscodeRun();
    TTranscodeRun(const TTranscodeRun&) = delete;
    TTranscodeRun& operator=(const TTranscodeRun&) = delete;

    void Run();

private:
    // set-up
    void BuildInputs();
    void MapStreams();
    int FindSourceStream(int AInputFile, AVMediaType AType, const std::vector<int>& ATaken, bool AOnlyFree) const;
    void SetUpOutputStreams();
    void CopyStreamParameters(TOutputStreamRun& AOst);
    void OpenEncoder(TOutputStreamRun& AOst);
    void PrepareVideoEncoder(TOutputStreamRun& AOst);
    void OpenDecoders();
    void OpenPassLogFile(TOutputStreamRun& AOst, int AIndex);
    void OpenBitstreamFilter(TOutputStreamRun& AOst, const AVCodecParameters* APar, AVRational ATimeBase);
    void ApplyMetadataMaps();
    void CopyChapters(int AInputFile, int AOutputFile);
    void WriteHeaders();
    void DumpStreamMapping();

    // loop
    // Answers whether the loop ended on a failed read (FReadError tells it).
    bool ReadLoop();
    // Drains the decoders and encoders and writes the trailers.
    void FinishOutputs();
    // After a failure: the trailers not written yet, or the outputs marked for removal when that fails.
    void AbandonOutputs();
    // Raises when a picture or sound stream of an output got nothing: such a file holds no media to play.
    void CheckEveryStreamWritten() const;
    int ChooseInput();
    void ProcessPacket(TInputStreamRun& AIst, AVPacket* APacket);
    void DecodeFrames(TInputStreamRun& AIst, AVPacket* APacket);
    void DeliverAudioHook(const TInputStreamRun& AIst, const AVFrame* AFrame);
    void DecodeSubtitle(TInputStreamRun& AIst, AVPacket* APacket);
    void CopyPacket(TOutputStreamRun& AOst, TInputStreamRun& AIst, const AVPacket* APacket);
    void EndSegment(int AInputFile);
    // Black pictures up to where the sound has got, for a segment of a join whose input has no pictures.
    void FollowSoundWithBlack(int AInputFile);
    // Where a stream stands on the output's time line after what it was fed, without its encoder's delay and padding.
    int64_t FedEnd(const TOutputStreamRun& AOst) const;
    void DrainInput(TInputStreamRun& AIst);
    void FlushOutput(TOutputStreamRun& AOst);
    void CloseEncoder(TOutputStreamRun& AOst);

    // video
    void VideoFrame(TOutputStreamRun& AOst, TInputStreamRun& AIst, AVFrame* AFrame);
    void FilteredVideo(TOutputStreamRun& AOst, TInputStreamRun& AIst, AVFrame* AFrame);
    void FlushVideoFilter(TOutputStreamRun& AOst, TInputStreamRun& AIst);
    // Black pictures of the encoder's size after what the stream holds so far, up to AEndUs of the output's time
    // line (an input of a join that has no pictures).
    void PadVideoWithBlack(TOutputStreamRun& AOst, int64_t AEndUs);
    // AFrame scaled to the encoder's size and format, for an input whose picture size changed on the way.
    AVFrame* FitToEncoder(TOutputStreamRun& AOst, const TInputStreamRun& AIst, AVFrame* AFrame);
    // audio
    void AudioFrame(TOutputStreamRun& AOst, TInputStreamRun& AIst, AVFrame* AFrame);
    void SetUpResampler(TOutputStreamRun& AOst, const AVFrame* AFrame);
    // Moves the stream to AExpected (sample frames of its encoder) when its input's time stamps jumped.
    void FollowInputTime(TOutputStreamRun& AOst, const TInputStreamRun& AIst, int64_t AExpected);
    // The sample frames of AFrame that belong to its input's time line.
    int JoinedSamples(const TInputStreamRun& AIst, const AVFrame* AFrame) const;
    void EncodeAudioFromFifo(TOutputStreamRun& AOst, bool AFlush);
    void FlushAudio(TOutputStreamRun& AOst);
    // What the resampler still holds, into the fifo.
    void DrainResampler(TOutputStreamRun& AOst);
    // Silence after what the stream holds so far, up to AEndUs of the output's time line.
    void PadAudioWithSilence(TOutputStreamRun& AOst, int64_t AEndUs);
    // Sample frames the stream has taken so far: encoded, waiting in the fifo and in the resampler.
    int64_t SamplesWritten(const TOutputStreamRun& AOst) const;
    void AppendSilence(TOutputStreamRun& AOst, int ACount);
    // subtitles
    void SubtitleOut(TOutputStreamRun& AOst, TInputStreamRun& AIst, AVSubtitle& ASubtitle, int64_t APtsUs);

    // encoding and writing
    // Decoding and filtering go on while the writer encodes and muxes what they made, in the order it was
    // handed over. Runs whose input choice or limits look at what was written keep everything on one thread.
    void StartWriter();
    // A picture or sound frame (nullptr: the encoder's rest) for the encoder; the writer takes its own reference.
    void Encode(TOutputStreamRun& AOst, AVFrame* AFrame);
    // A packet for the muxer; the writer takes its data over.
    void QueueWrite(TOutputStreamRun& AOst, AVPacket* APacket, AVRational ATimeBase);
    // The writer's side of the two above.
    void EncodeNow(TOutputStreamRun& AOst, AVFrame* AFrame);
    void WritePacket(TOutputStreamRun& AOst, AVPacket* APacket, AVRational ATimeBase);
    void Mux(TOutputStreamRun& AOst, AVPacket* APacket, AVRational ATimeBase);

    // progress
    void ReportProgress(int AFileIndex, bool ALast);
    // On the writing thread (or with no writer running): the figures now.
    TWrittenFigures CollectFigures() const;
    // The figures after the last job the writer ran, or the figures now when it does not run.
    TWrittenFigures WrittenFigures() const;

    // While it lives a stop no longer breaks the writes to the outputs: what was converted stays playable.
    struct TClosingOutputs {
        TFFmpeg& Engine;
        explicit TClosingOutputs(TFFmpeg& AEngine);
        ~TClosingOutputs();
        TClosingOutputs(const TClosingOutputs&) = delete;
        TClosingOutputs& operator=(const TClosingOutputs&) = delete;
    };

    int64_t FileOffset(int AFile) const { return E.InputTsOffset(AFile); }
    int64_t ToMicroseconds(int64_t ATime, AVRational ATimeBase) const;
    bool LimitReached(const TOutputStreamRun& AOst) const;
    std::string StreamName(const TOutputStreamRun& AOst) const;

    TFFmpeg& E;
    std::vector<TInputStreamRun> FInputs;
    std::vector<int> FFirstStreamOfFile;
    std::vector<TOutputStreamRun> FOutputs;
    std::vector<bool> FFileEnded;
    std::vector<bool> FWouldBlock;
    int FSegment = 0;
    bool FHeadersWritten = false;
    int FTrailersWritten = 0;  // output files whose trailer was written or tried
    TFramePtr FFrame;
    std::vector<uint8_t> FHookSamples;  // the audio hook's interleaved copy of a planar frame
    TFramePtr FFiltered;
    TFramePtr FFitted;
    TFramePtr FBlack;  // the picture an input of a join without pictures shows, at the encoder's size
    TPacketPtr FPacket;
    TPacketPtr FEncoded;   // the writer's
    TPacketPtr FOutgoing;  // a stream-copied or subtitle packet on its way to the writer
    int64_t FTimerStart = 0;
    int64_t FLastReport = 0;
    std::string FReadError;

    // --- pass logs, video statistics, SDP, codec lists (video_stats.cpp, two_pass.cpp, sdp.cpp) ---
    // Every encoded packet, before it is written: the pass-1 log, the statistics file and the coded figures.
    void EncodedPacket(TOutputStreamRun& AOst, const AVPacket* APacket);
    // Audio kept in step with its time stamps: samples dropped or silence added, or the drift compensated.
    void SyncAudio(TOutputStreamRun& AOst, TInputStreamRun& AIst, const AVFrame* AFrame, int64_t AExpected);
    std::vector<char> FAudioAtStart;  // per input stream: its first correction is made whatever its size
    std::vector<TCodedPictures> FCoded;  // per output stream
    std::vector<int> FQpHistogram = std::vector<int>(52);
    FILE* FVideoStatsFile = nullptr;
    int64_t FVideoBytes = 0;
    int FLoggedDupDrop = 0;  // duplicated and dropped pictures already told in the log
    std::vector<int64_t> FClockShift;  // per input file: the time-stamp jumps absorbed so far (microseconds)
    // --- end of pass logs, video statistics, SDP, codec lists ---

    // --- hooks of the video path (transcode_hooks_run.cpp) ---
    // A decoded picture through the input video hook or the frame-hook chain.
    void ProcessInputPicture(TInputStreamRun& AIst, AVFrame* AFrame);
    // The picture to encode: AFrame, or a copy of it that the output video hook drew on; the post hooks see it.
    AVFrame* HookOutputPicture(AVFrame* AFrame, int AFrameNumber, int64_t APTS);
    std::vector<int> FInputPictureNumbers;  // per input stream
    TFramePtr FHookedPicture;
    // --- end of the hooks ---

    // Last: stopped first thing in the destructor, before anything a job may use is freed.
    bool FSingleSourceFile = false;  // every output stream reads from one input file (outside a join)
    mutable std::mutex FFiguresLock;
    TWrittenFigures FFigures;  // under FFiguresLock
    std::unique_ptr<TWriteQueue> FWriter;
};
