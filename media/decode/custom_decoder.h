#pragma once
// Probing: opens a media file (or adopts a context another component opened) and answers what is in it.
// Failures never escape: every getter logs, keeps the text in LastErrMsg and answers an "unknown" record or false;
// only a call made while the libraries are not loaded raises.
#include <atomic>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "media/base/base_component.h"
#include "media/decode/stream_info.h"
#include "media/loader/library_loader.h"

struct AVFormatContext;
struct AVCodecContext;
struct AVIOContext;
struct AVStream;
struct AVDictionary;

// Options handed to the demuxer when a file is opened ("video_size", "pixel_format", "framerate", ...).
using TInputHints = std::map<std::string, std::string>;

class TCustomDecoder : public TFFBaseComponent {
public:
    explicit TCustomDecoder(TComponent* AOwner);
    ~TCustomDecoder() override;

    bool LoadAVLib(const std::string& APath);
    bool AVLibLoaded() const;
    void UnloadAVLib();

    // AFileName: UTF-8, or a "unicode:utf8:" URL. AFormatName forces the demuxer (empty: probe).
    bool LoadFile(const std::string& AFileName, const std::string& AFormatName = std::string(),
                  const TInputHints& AHints = TInputHints());
    virtual void CloseFile();

    // An AVFormatContext* another component opened; the decoder never closes it. Its owner calls CloseFile (or
    // hands in another context) before closing it.
    AVFormatContext* FileHandle() const { return FFileHandle; }
    virtual void SetFileHandle(AVFormatContext* AValue);

    std::string FileName();
    int64_t FileSize() const { return FFileSize; }
    const std::string& ForceFormat() const { return FForceFormat; }
    std::string FormatName();
    std::string FormatLongName();
    int StreamCount() const { return FStreamCount; }
    int ProgramCount() const { return FProgramCount; }
    int AudioStreamCount() const { return FAudioStreamCount; }
    int VideoStreamCount() const { return FVideoStreamCount; }
    int SubtitleStreamCount() const { return FSubtitleStreamCount; }
    int FirstAudioStreamIndex() const { return FFirstAudioStreamIndex; }
    int FirstVideoStreamIndex() const { return FFirstVideoStreamIndex; }
    int FirstSubtitleStreamIndex() const { return FFirstSubtitleStreamIndex; }
    const std::string& LastErrMsg() const { return FLastErrMsg; }
    // Milliseconds a blocking open, read or seek may wait for data before it gives up with "timeout"; 0 or
    // less waits for ever.
    int ReadTimeout() const { return FReadTimeout; }
    void SetReadTimeout(int AValue) { FReadTimeout = AValue; }

    TFileStreamInfo FileStreamInfo();
    // A negative index means the first stream of that kind.
    TVideoStreamInfo GetVideoStreamInfo(int AStreamIndex);
    TAudioStreamInfo GetAudioStreamInfo(int AStreamIndex);
    TSubtitleStreamInfo GetSubtitleStreamInfo(int AStreamIndex);
    TVideoStreamInfo FirstVideoStreamInfo() { return GetVideoStreamInfo(-1); }
    TAudioStreamInfo FirstAudioStreamInfo() { return GetAudioStreamInfo(-1); }
    TSubtitleStreamInfo FirstSubtitleStreamInfo() { return GetSubtitleStreamInfo(-1); }
    // Here a negative index is invalid.
    bool IsVideoStream(int AStreamIndex);
    bool IsAudioStream(int AStreamIndex);
    bool IsSubtitleStream(int AStreamIndex);
    // A picture attached to the file (the cover of an album): a video stream to the library, none to us.
    static bool IsCoverArt(const AVStream* AStream);

    // The whole report, line by line (file_info_report.cpp).
    std::string FileInfoText();
    // One stream's line of the report and its metadata block.
    std::string StreamInfoLine(int AIndex);

protected:
    virtual void ScanStreams();
    // Logs AText with this decoder as sender at the library level AAVLevel and keeps it in LastErrMsg.
    void ReportError(int AAVLevel, const std::string& AText);
    void CheckLibraries() const;
    // The codec context of a stream, filled from the stream's parameters on first use and kept until the file
    // closes; the frame and audio decoders open it in place.
    AVCodecContext* StreamCodec(int AStreamIndex);
    // Forgets (and frees) the context of a stream, so that the next StreamCodec makes a fresh, unopened one.
    void DropStreamCodec(int AStreamIndex);
    // Around each blocking call on the file, so that a stalled input ends in the read time-out.
    void ArmReadTimeout();
    void DisarmReadTimeout();
    bool ReadTimedOut() const { return FTimedOut; }
    // -1 after an error was reported. Cover art is not a video stream.
    int CheckStreamIndex(int AStreamIndex, int AMediaType);
    // Whether the stream is of the library's media type AMediaType; a negative index is an error here.
    bool IsStreamOfKind(int AStreamIndex, int AMediaType);

    AVFormatContext* FFileHandle = nullptr;
    bool FOwnHandle = false;
    std::string FLastErrMsg;
    std::string FForceFormat;
    int64_t FFileSize = -1;
    int FStreamCount = -1;
    int FProgramCount = -1;
    int FAudioStreamCount = -1;
    int FVideoStreamCount = -1;
    int FSubtitleStreamCount = -1;
    int FFirstAudioStreamIndex = -1;
    int FFirstVideoStreamIndex = -1;
    int FFirstSubtitleStreamIndex = -1;

private:
    // The file's interrupt callback: the read time-out, then what the engine's registry says for this thread.
    static int InterruptProc(void* AOpaque);
    void FreeStreamCodecs();
    int FReadTimeout = 10000;
    std::atomic<int64_t> FReadStarted{INT64_MAX};
    std::atomic<bool> FTimedOut{false};
    std::vector<AVCodecContext*> FStreamCodecs;
    AVIOContext* FUnicodeIO = nullptr;
};

inline constexpr const char FileNotLoaded[] = "file not loaded.";
