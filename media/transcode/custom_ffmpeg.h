#pragma once
// The transcoding engine: one object is one conversion task, a set of input and output files with the settings
// that its options put into its fields, run once from start to end on a worker thread or on the caller's thread.
// It is the command-line transcoder recast as a class: what that program kept in globals is a field here, so
// tasks can exist side by side.
//
// Configuration (options, inputs, outputs) runs on the caller's thread before the run; the run itself belongs to
// the worker. Stop, Pause and Resume may be called from any thread.
#include <atomic>
#include <climits>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "media/base/base_component.h"
#include "media/log/ff_logger.h"
#include "media/transcode/codec_lists.h"
#include "media/transcode/option_dictionaries.h"
#include "media/transcode/transcode_hooks.h"
#include "media/transcode/transcode_types.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/threads.h"

class TCustomFFmpeg;

// The strictness a codec's "strict" option text stands for ("experimental" or a number).
int CodecStrictness(const std::string& AText);

// The settings of a transcoder with the defaults its reset gives them.
struct TFFmpegSettings {
    std::vector<AVFormatContext*> Finput_files;
    std::vector<std::vector<double>> Finput_files_ts_scale;
    std::vector<std::string> Finput_file_names;
    std::vector<const AVCodec*> Finput_codecs;
    int Fnb_input_files = 0;
    std::vector<AVFormatContext*> Foutput_files;
    std::vector<std::string> Fcreated_outputs;  // output files that did not exist before this set-up opened them
    std::vector<std::string> Funfinished_outputs;  // outputs a failed run could not close properly
    std::vector<std::vector<TAVOutputStream*>> Foutput_streams_for_file;
    std::vector<const AVCodec*> Foutput_codecs;
    int Fnb_output_files = 0;
    std::vector<TAVStreamMap> Fstream_maps;
    std::vector<std::pair<TAVMetaDataMap, TAVMetaDataMap>> Fmeta_data_maps;
    int Fmetadata_global_autocopy = 1;
    int Fmetadata_streams_autocopy = 1;
    int Fmetadata_chapters_autocopy = 1;
    std::vector<TAVChapterMap> Fchapter_maps;
    std::vector<int> Fstreamid_map;
    std::string Flast_asked_format;
    int Fframe_width = 0;
    int Fframe_height = 0;
    float Fframe_aspect_ratio = 0;
    AVPixelFormat Fframe_pix_fmt = AV_PIX_FMT_NONE;
    AVSampleFormat Faudio_sample_fmt = AV_SAMPLE_FMT_NONE;
    int Fmax_frames[4] = {INT_MAX, INT_MAX, INT_MAX, INT_MAX};
    AVRational Fframe_rate = {25, 0};
    float Fvideo_qscale = 0;
    std::vector<uint16_t> Fintra_matrix;
    std::vector<uint16_t> Finter_matrix;
    std::string Fvideo_rc_override_string;
    bool Fvideo_disable = false;
    int Fvideo_discard = 0;
    std::string Fvideo_codec_name;
    uint32_t Fvideo_codec_tag = 0;
    std::string Fvideo_language;
    bool Fsame_quality = false;
    bool Fdo_deinterlace = false;
    int Ftop_field_first = -1;
    int Fme_threshold = 0;
    int Fintra_dc_precision = 8;
    bool Floop_input = false;
    int Floop_output = -1;
    bool Fqp_hist = false;
    std::string Fvfilters;
    std::vector<std::string> Finput_vfilters;  // per input file, empty for the output's chain
    std::string Fnext_input_vfilters;
    bool FEnableFilter = false;
    bool Fintra_only = false;
    int Faudio_sample_rate = 44100;
    int64_t Fchannel_layout = 0;
    float Faudio_qscale = -99999.0f;
    bool Faudio_disable = false;
    int Faudio_channels = 2;
    std::string Faudio_codec_name;
    uint32_t Faudio_codec_tag = 0;
    std::string Faudio_language;
    bool Fsubtitle_disable = false;
    std::string Fsubtitle_codec_name;
    std::string Fsubtitle_language;
    uint32_t Fsubtitle_codec_tag = 0;
    float Fmux_preload = 0.5f;
    float Fmux_max_delay = 0.7f;
    int Fpacket_size = 0;
    int64_t Frecording_time = INT64_MAX;
    int64_t Fstart_time = 0;
    int64_t Frecording_timestamp = 0;
    int64_t Finput_ts_offset = 0;
    AVDictionary* Fmetadata = nullptr;
    int Fdo_benchmark = 0;
    bool Fdo_hex_dump = false;
    bool Fdo_pkt_dump = false;
    bool Fdo_psnr = false;
    int Fdo_pass = 0;
    std::string Fpass_logfilename_prefix;
    int Faudio_stream_copy = 0;
    int Fvideo_stream_copy = 0;
    int Fsubtitle_stream_copy = 0;
    int Fvideo_sync_method = -1;
    int Faudio_sync_method = 0;
    float Faudio_drift_threshold = 0.1f;
    bool Finput_sync = false;
    bool Fcopy_ts = false;
    bool Fcopy_tb = false;
    bool Fopt_shortest = false;
    int Fvideo_global_header = 0;
    std::string Fvstats_filename;
    int Fopt_programid = 0;
    int Fcopy_initial_nonkeyframes = 0;
    bool Frate_emu = false;
    int Fvideo_channel = 0;
    std::string Fvideo_standard;
    int Faudio_volume = 256;
    bool Fexit_on_error = false;
    bool Fusing_vhook = false;
    std::vector<std::vector<std::string>> FFrameHooks;
    int Fverbose = 1;
    int Fthread_count = 1;
    bool Fthread_count_asked = false;  // "-threads" was given: its number holds, 1 included
    int64_t Flimit_filesize = 0;
    bool Fforce_fps = false;
    std::string Fforced_key_frames;
    float Fdts_delta_threshold = 10.0f;
    uint32_t Fsws_flags = 4;
    std::vector<std::string> Fvideo_bitstream_filters;
    std::vector<std::string> Faudio_bitstream_filters;
    std::vector<std::string> Fsubtitle_bitstream_filters;
    int FHookBitsPixel = 24;
};


class TConvertThread : public TThread {
public:
    explicit TConvertThread(TCustomFFmpeg* AOwner) : TThread(true), FOwner(AOwner) {}

protected:
    void Execute() override;

private:
    TCustomFFmpeg* FOwner;
};

class TDoTerminateThread : public TThread {
public:
    explicit TDoTerminateThread(TCustomFFmpeg* AOwner) : TThread(true), FOwner(AOwner) {}

protected:
    void Execute() override;

private:
    TCustomFFmpeg* FOwner;
};

class TCustomFFmpeg : public TObject, protected TFFmpegSettings {
public:
    // AMaxFiles: capacity of the per-file tables, 1 to 512.
    explicit TCustomFFmpeg(int AMaxFiles);
    ~TCustomFFmpeg() override;

    // Returns the worker, created suspended (the caller resumes it), or nullptr when the run ran inline, was
    // refused or failed its checks.
    TThread* StartConvert(bool AUseThread, TThreadPriority APriority = tpNormal);
    // Any thread.
    void Stop(bool AWaitForStop);
    void StopTask(bool AWaitForStop);
    void Pause();
    void Resume();

    // --- options (option handlers and the option table) ---
    // One option of the command-line transcoder's table; unknown names go to the generic option dictionaries.
    void SetExtOption(const std::string& AName, const std::string& AValue);
    // Option lines in the input or output flavour.
    void ApplyExtOptions(const std::string& AOptions, bool AOutputFlavour);
    void ApplyTarget(const std::string& AType, const std::string& ANorm, const std::string& ADefaultNorm);
    void ApplyPreset(const std::string& AOptionName, const std::string& AName);

    // --- files ---
    bool OpenInputFile(const std::string& AName);
    // The new number of output files, or -1 with LastErrMsg.
    int OpenOutputFile(const std::string& AName, bool AJoin);
    void PrepareJoin();
    // AKind "encoder" or "decoder"; an empty name is codec "none" and true.
    bool LookupCodec(const std::string& AName, AVMediaType AType, int AStrict, bool AEncoder, AVCodecID& AId);

    // Assignments the option records use directly.
    void SetStartTime(int64_t AValue);
    void SetRecordingTime(int64_t AValue);
    void SetProgramID(int AValue);
    // The chain of the next input opened (TInputOptions.VideoFilters).
    void SetInputVideoFilters(const std::string& AValue) { Fnext_input_vfilters = AValue; }
    // The chain the pictures of an input go through: its own, else the output's.
    const std::string& VideoFiltersOfInput(int AFile) const;
    bool HasInputVideoFilters(int AFile) const { return VideoFiltersOfInput(AFile) != Fvfilters; }
    void SetAudioVolume(int AValue);
    void SetMuxMaxDelay(float AValue);
    void SetMuxPreload(float AValue);
    void SetAudioSampleRate(int AValue);
    void SetAudioChannels(int AValue);
    void SetAudioSyncMethod(int AValue) { Faudio_sync_method = AValue; }
    void SetVideoSyncMethod(int AValue) { Fvideo_sync_method = AValue; }
    void SetForceFormat(const std::string& AValue);
    void SetRecordingTimestamp(int64_t ASeconds) { Frecording_timestamp = ASeconds * 1000000; }
    void SetAudioLanguage(const std::string& AValue) { Faudio_language = AValue; }
    void SetVideoLanguage(const std::string& AValue) { Fvideo_language = AValue; }
    void SetSubtitleLanguage(const std::string& AValue) { Fsubtitle_language = AValue; }
    void SetInputSync(bool AValue) { Finput_sync = AValue; }
    void AddMetadata(const std::string& AKey, const std::string& AValue);
    void SetHookBitsPixel(int AValue) { FHookBitsPixel = AValue; }
    // A generic option: false (and LastOptionError) when refused, never raising.
    bool SetDefaultOption(const std::string& AName, const std::string& AValue) { return OptDefault(AName, AValue); }

    // --- properties ---
    int nb_input_files() const { return Fnb_input_files; }
    int nb_output_files() const { return Fnb_output_files; }
    bool Converting() const { return FConverting; }
    bool Finished() const { return FFinished; }
    bool FatalException() const { return FFatalException; }
    bool Terminated() const { return FTerminated; }
    const std::string& FatalMessage() const { return FFatalMessage; }
    const std::string& LastErrMsg() const { return FLastErrMsg; }
    int64_t TotalOutputDuration() const { return FTotalOutputDuration; }
    int ReadTimeout() const { return FReadTimeout; }
    void SetReadTimeout(int AValue) { FReadTimeout = AValue; }
    bool JoinMode() const { return FJoinMode; }
    // The text of the last generic option the dictionaries refused.
    const std::string& LastOptionError() const { return FOptions.LastError(); }
    const TOptionDictionaries& Options() const { return FOptions; }

    // Read-only views of the settings, for the run and for tests.
    AVFormatContext* InputFile(int AIndex) const { return Finput_files.at(AIndex); }
    AVFormatContext* OutputFile(int AIndex) const { return Foutput_files.at(AIndex); }
    const std::vector<TAVOutputStream*>& OutputStreams(int AFile) const { return Foutput_streams_for_file.at(AFile); }
    int FrameWidth() const { return Fframe_width; }
    int FrameHeight() const { return Fframe_height; }
    float FrameAspectRatio() const { return Fframe_aspect_ratio; }
    AVRational FrameRate() const { return Fframe_rate; }
    AVPixelFormat FramePixFmt() const { return Fframe_pix_fmt; }
    int AudioSampleRate() const { return Faudio_sample_rate; }
    int AudioChannels() const { return Faudio_channels; }
    const std::string& VideoCodecName() const { return Fvideo_codec_name; }
    const std::string& AudioCodecName() const { return Faudio_codec_name; }
    const std::string& SubtitleCodecName() const { return Fsubtitle_codec_name; }
    const std::string& ForcedFormat() const { return Flast_asked_format; }
    int VideoStreamCopy() const { return Fvideo_stream_copy; }
    bool VideoDisable() const { return Fvideo_disable; }
    bool AudioDisable() const { return Faudio_disable; }
    const std::string& VideoFilters() const { return Fvfilters; }
    float MuxPreload() const { return Fmux_preload; }
    float MuxMaxDelay() const { return Fmux_max_delay; }
    int PacketSize() const { return Fpacket_size; }
    int Verbose() const { return Fverbose; }
    int64_t StartTime() const { return Fstart_time; }
    int64_t RecordingTime() const { return Frecording_time; }

    // Callbacks the interrupt of blocking I/O asks (opaque: the engine).
    bool CheckReadTimeout(TObject* Sender);
    bool CheckBroken(TObject* Sender);

    bool HaltOnInvalidOption = true;
    int64_t ReportInterval = 500000;
    int64_t PreviewInterval = 100000;

    TAudioHookEvent FOnAudioHook;
    TBeforeFindStreamInfoEvent FOnBeforeFindStreamInfo;
    TVideoHookEvent FOnInputVideoHook;
    TVideoHookEvent FOnOutputVideoHook;
    TPreviewBitmapEvent FOnPreviewBitmap;
    TProgressEvent FOnProgress;
    TNotifyEvent FOnTerminate;

protected:
    // The run body: set-up, main loop and the end of the run. Sets FFinished from FBroken when the loop ends.
    virtual void RunTranscode();
    // For the run: a stop was requested.
    bool Broken() const { return FBroken; }
    // For the run, between two packets and outside every lock: holds the worker while it is paused.
    void WaitWhilePaused();
    void ResetSettings();
    void ReleaseState();
    // For the run: the offset (microseconds) added to the time stamps of an input; join mode moves it on.
    int64_t& InputTsOffset(int AIndex) { return Finput_files_ts_offset.at(static_cast<size_t>(AIndex)); }
    void SetFinished(bool AValue) { FFinished = AValue; }
    // While the run closes its outputs a stop no longer breaks their writes: what was converted stays playable.
    void SetClosingOutputs(bool AValue) { FClosingOutputs = AValue; }
    // The same for the writes of the calling thread alone (the run's writing thread once a stop came): reads on
    // the run's own thread stay breakable.
    static void SetClosingOutputsOnThisThread(bool AValue);
    // For the run: AFileName could not be closed properly; it is removed with the output when this set-up made it.
    void MarkOutputUnfinished(const std::string& AFileName) { Funfinished_outputs.push_back(AFileName); }
    void Log(int ALevel, const std::string& AText);
    // Around each blocking read of the run, so that a stalled input ends in the read time-out.
    void ArmReadTimeout();
    void DisarmReadTimeout();

private:
    friend class TConvertThread;
    friend class TDoTerminateThread;
    friend struct TOptionTable;

    void RunConversion();
    void NotifyTerminated();
    AVIOInterruptCB InterruptCallback();
    static int InterruptProc(void* AOpaque);

    // Generic options through the dictionaries: false with LastOptionError when refused.
    bool OptDefault(const std::string& AName, const std::string& AValue);
    void OptDefaultOrHalt(const std::string& AName, const std::string& AValue);

    // option handlers
    void OptFormat(const std::string& AValue);
    void OptFrameRate(const std::string& AValue);
    void OptFrameSize(const std::string& AValue);
    void OptFrameAspectRatio(const std::string& AValue);
    void OptPixelFormat(const std::string& AValue);
    void OptSampleFormat(const std::string& AValue);
    void OptCodec(const std::string& AName, const std::string& AValue);
    void OptCodecTag(const std::string& AName, const std::string& AValue);
    void OptBitrate(const std::string& AName, const std::string& AValue);
    void OptQScale(const std::string& AValue);
    void OptPass(const std::string& AValue);
    void OptMatrix(const std::string& AValue, std::vector<uint16_t>& AMatrix);
    void OptThreads(const std::string& AValue);
    void OptVStats(const std::string& AValue);
    void OptVStatsFile(const std::string& AValue);
    void OptVideoHook(const std::string& AValue);
    void OptBitstreamFilter(const std::string& AName, const std::string& AValue);
    void OptMetadata(const std::string& AValue);
    void OptMap(const std::string& AValue);
    void OptMapMetaData(const std::string& AValue);
    void OptMapChapters(const std::string& AValue);
    void OptInputTSScale(const std::string& AValue);
    void OptStreamId(const std::string& AValue);
    void OptNewStream(AVMediaType AType);
    int64_t ParseTimeSpec(const std::string& AContext, const std::string& AText, bool AIsDuration);
    void ParseForcedKeyFrames(const std::string& AText, TAVOutputStream& AOutputStream, AVCodecContext* ACodecContext);

    // targets and presets
    int DecideNorm(const std::string& ANorm, const std::string& ADefaultNorm);
    void ApplyPresetText(const std::string& AText, const std::string& ALabel);

    // files
    void NewVideoStream(AVFormatContext* AContext, int AFileIndex);
    void NewAudioStream(AVFormatContext* AContext, int AFileIndex);
    void NewSubtitleStream(AVFormatContext* AContext, int AFileIndex);
    TAVOutputStream* NewOutputStream(AVFormatContext* AContext, int AFileIndex, AVMediaType AType, AVStream*& AStream,
                                     AVCodecContext*& ACodecContext, bool AStreamCopy, const std::string& ACodecName);
    void FinishNewStream(AVMediaType AType);
    void CloseOutputFile(int AIndex);
    bool IsInputOfTask(const std::string& AFileName) const;

    const int FMaxFiles;
    // Keeps its values over ResetSettings.
    std::vector<int64_t> Finput_files_ts_offset;
    TOptionDictionaries FOptions;

    // life of the run
    TConvertThread* FThread = nullptr;
    std::mutex FThreadLock;  // keeps FThread valid while Stop, Pause and Resume use it
    TEvent FStopEvent{true, true};
    TEvent FTermEvent{true, true};
    std::atomic<bool> FJoinMode{false};
    std::atomic<bool> FConverting{false};
    std::atomic<bool> FBroken{false};
    std::atomic<bool> FFinished{false};
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FClosingOutputs{false};
    std::mutex FPauseLock;
    std::condition_variable FPauseChanged;
    bool FPaused = false;
    int FReadTimeout = 10000;
    std::atomic<int64_t> FLastRead{0};
    std::atomic<bool> FFatalException{false};
    std::string FFatalMessage;
    int64_t FTotalOutputDuration = -1;
    std::string FLastErrMsg;

    // --- the codecs open in a run (codec_lists.h) ---
public:
    // How many encoders and decoders the current run has open (any thread).
    int OpenEncoderCount() const { return FEncoderList.Count(); }
    int OpenDecoderCount() const { return FDecoderList.Count(); }

private:
    TCodecList FEncoderList;
    TCodecList FDecoderList;
    // --- end of the codecs open in a run ---

    // --- video hooks, frame hooks and post hooks (transcode_hooks.cpp) ---
public:
    // Any thread, also while converting.
    TPostHooks PostHooks() const { return FHooks.PostHooks(); }
    void SetPostHooks(TPostHooks AValue) { FHooks.SetPostHooks(AValue); }

private:
    friend class TTranscodeHooks;
    friend class TTranscodeRun;
    TTranscodeHooks FHooks{*this};
    // --- end of the hooks ---
};
