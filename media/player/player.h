#pragma once
// The preview player: plays one media file through its own SDL copy, with a read thread, stream consumers, a
// refresh timer and SDL's audio callback on one shared state record, an SDL event loop on the play thread, and an
// event thread that hands position and state notices to the caller (by default on the main thread).
//
// This is the player's core: loading, opening, reading, seeking, pausing, stopping and the notices. Pictures are
// decoded and timed but not yet drawn, and decoded sound is played as silence at its own pace; the drawing, the
// hooks and the host window come with the output paths.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "media/base/base_component.h"
#include "media/player/play_events.h"
#include "media/player/sdl_loader.h"
#include "media/player/video_state.h"
#include "platform/rtl/threads.h"

enum TPlayState { psPlay, psPause, psResume, psStep, psStop, psEnd };
enum TRepeatType { rtNone, rtStop, rtLoop };
enum TShowAudio { saNone, saWave, saRDFT };

using TFileOpenEvent = std::function<void(TObject* Sender, int64_t ADuration, int AFrameWidth, int AFrameHeight,
                                          int& AScreenWidth, int& AScreenHeight)>;
using TPositionEvent = std::function<void(TObject* Sender, int64_t APTS)>;
using TPlayStateEvent = std::function<void(TObject* Sender, TPlayState APlayState)>;

inline constexpr int64_t NotSet = INT64_MIN;  // AV_NOPTS_VALUE: "not set" for times and positions

class TPlayThread;
class TEventThread;

class TCustomPlayer : public TFFBaseComponent {
public:
    explicit TCustomPlayer(TComponent* AOwner);
    ~TCustomPlayer() override;

    bool LoadAVLib(const std::string& APath);
    bool AVLibLoaded() const;
    bool LoadSDLLib(const std::string& APath, const std::string& AFile);
    bool SDLLibLoaded() const { return FSDLLoader && FSDLLoader->Loaded(); }
    void UnloadSDLLib();

    // Any thread; blocks until the file is open or has failed (running the main thread's calls when on it).
    bool Open(const std::string& AFileName, uintptr_t AScreenHandle = 0, bool APaused = false);
    // Any thread: without waiting it only asks; during an Open on another thread it cancels that Open.
    void Stop(bool AWaitForStop);
    void Pause();
    void Resume();
    void TogglePause();
    void Seek(int64_t APTS, TSeekFlags ASeekFlags = {}, bool AWaitForSeekEnd = false);
    void Seek(double ADelta, TSeekFlags ASeekFlags, bool AWaitForSeekEnd);

    int VideoStreamIndex() const;
    int AudioStreamIndex() const;
    int SubtitleStreamIndex() const;
    void SetVideoStreamIndex(int AValue) { SwitchStream(AVMEDIA_TYPE_VIDEO, AValue); }
    void SetAudioStreamIndex(int AValue) { SwitchStream(AVMEDIA_TYPE_AUDIO, AValue); }
    void SetSubtitleStreamIndex(int AValue) { SwitchStream(AVMEDIA_TYPE_SUBTITLE, AValue); }

    std::string LastErrMsg() const;
    const std::string& FileName() const { return FFileName; }
    TPlayState PlayState() const { return FState; }
    bool Paused() const;
    bool Seeking() const { return FSeeking; }
    int64_t CurrentPTS() const { return FCurrentPTS; }

    int ReadTimeout() const { return FReadTimeout; }
    void SetReadTimeout(int AValue) { FReadTimeout = AValue; }
    bool TriggerEventInMainThread() const { return FTriggerEventInMainThread; }
    void SetTriggerEventInMainThread(bool AValue) { FTriggerEventInMainThread = AValue; }
    bool DisableAudio() const { return Faudio_disable; }
    void SetDisableAudio(bool AValue) { Faudio_disable = AValue; }
    bool DisableVideo() const { return Fvideo_disable; }
    void SetDisableVideo(bool AValue) { Fvideo_disable = AValue; }
    bool DisableDisplay() const { return Fdisplay_disable; }
    void SetDisableDisplay(bool AValue) { Fdisplay_disable = AValue; }
    bool CheckIOEOF() const { return FCheckIOEOF; }
    void SetCheckIOEOF(bool AValue) { FCheckIOEOF = AValue; }
    bool CheckIOERR() const { return FCheckIOERR; }
    void SetCheckIOERR(bool AValue) { FCheckIOERR = AValue; }
    bool AutoAdjustFrameRate() const { return FAutoAdjustFrameRate; }
    void SetAutoAdjustFrameRate(bool AValue) { FAutoAdjustFrameRate = AValue; }
    const std::string& ForceFrameRate() const { return FForceFrameRate; }
    void SetForceFrameRate(const std::string& AValue);
    int64_t start_time() const { return Fstart_time; }
    void Set_start_time(int64_t AValue) { Fstart_time = AValue; }
    int64_t PlayTime() const { return FPlayTime; }
    void SetPlayTime(int64_t AValue) { FPlayTime = AValue; }
    TRepeatType RepeatType() const { return FRepeatType; }
    void SetRepeatType(TRepeatType AValue) { FRepeatType = AValue; }
    Tav_sync_type av_sync_type() const { return Fav_sync_type; }
    void Set_av_sync_type(Tav_sync_type AValue) { Fav_sync_type = AValue; }

    TFileOpenEvent OnFileOpen;
    TPositionEvent OnPosition;
    TPlayStateEvent OnState;
    TBeforeFindStreamInfoEvent OnBeforeFindStreamInfo;

private:
    friend class TPlayThread;
    friend class TEventThread;
    friend struct TPlayerThreadEntries;

    void ResetPlayState();
    void ReportError(const std::string& AMsg, bool AStore);
    void SetLastErrMsg(const std::string& AMsg);
    const TSDLEntries& SDL() const { return FSDL; }

    // SDL start-up and shut-down (SDLLibLock serialises the start-up between players).
    bool InitSDL(uintptr_t AScreenHandle);
    void QuitSDL();

    // Reading.
    bool StreamOpen(const std::string& AFileName, bool APaused);
    void ReadThread(TVideoState* AState);
    bool ReadOpenInput(TVideoState* AState);
    void ReadLoop(TVideoState* AState);
    void ReadSeek(TVideoState* AState);
    void ReadFailed(TVideoState* AState, int ACode, bool& AEOF);
    int StreamComponentOpen(TVideoState* AState, int AIndex);
    void StreamComponentClose(TVideoState* AState, int AIndex);
    bool StreamSwitch(TVideoState* AState, AVMediaType AKind, int AIndex);
    void SwitchStream(AVMediaType AKind, int AIndex);
    void ChooseFrameDelay(TVideoState* AState, int AIndex);
    static bool ReadTimeoutCallback(TObject* Sender);
    static bool AbortCallback(TObject* Sender);

    // Consumers: minimal sinks until the output paths exist.
    void VideoThread(TVideoState* AState);
    int GetVideoFrame(TVideoState* AState, AVFrame* AFrame, AVPacket* APacket, bool& AGotPicture);
    int QueuePicture(TVideoState* AState, double APts, int64_t APos);
    void RefreshThread(TVideoState* AState);
    void SubtitleThread(TVideoState* AState);
    void VideoRefresh(TVideoState* AState);
    static void AudioCallback(void* AOpaque, Uint8* AStream, int ALen);
    int AudioDecodeFrame(TVideoState* AState);

    // Threads, events and position.
    void StreamPause(TVideoState* AState);
    void StreamSeek(int64_t APos, int64_t ARel, int AFlags, bool AWait);
    void SetPlayState(TPlayState AState);
    void UpdatePosition(TVideoState* AState);
    void PushEvent(Uint8 AType, TVideoState* AState);
    void PushQuit(TVideoState* AState) { PushEvent(26, AState); }
    void EventLoop();
    void WaitForStop();
    void StreamClose(TVideoState* AState);
    void CloseStream();
    bool LockData(DWORD ATimeout) { return FDataLock.WaitFor(ATimeout) == wrSignaled; }
    void UnlockData() { FDataLock.Release(); }
    void Deliver(const std::function<void()>& AMethod);
    void DoFileOpen();
    void ReleasePlayThread();

    std::unique_ptr<TSDLLoader> FSDLLoader;
    TSDLEntries FSDL;
    std::mutex FSDLStateLock;
    bool FSDLStarted = false;
    // The play thread did not end: its SDL copy must stay loaded for the life of the process.
    std::atomic<bool> FPlayThreadStranded{false};

    std::atomic<TVideoState*> FVideoState{nullptr};
    std::atomic<TVideoState*> FVideoStateCB{nullptr};
    AVPacket Fflush_pkt{};

    std::string FFileName;
    std::atomic<int> FReadTimeout{10000};
    std::atomic<int64_t> FLastRead{INT64_MAX};
    mutable std::mutex FErrLock;
    std::string FLastErrMsg;
    std::atomic<int64_t> FLastPTS{NotSet};
    std::atomic<int64_t> FCurrentPTS{-1};

    TTimedMutex FDataLock;
    TEvent FSeekEvent{true, true};
    TEvent FPictEvent{true, true};
    TEvent FStopEvent{true, true};
    TPlayEvent FPlayEvent;
    std::atomic<TPlayState> FState{psStop};
    // Orders the play thread's first report against the pause a file opened paused reports from the video thread.
    std::mutex FOpenPauseLock;
    std::atomic<bool> FSeeking{false};
    std::atomic<bool> Fstep{false};
    std::unique_ptr<TEventThread> FEventThread;
    std::unique_ptr<TPlayThread> FPlayThread;

    std::atomic<bool> FTriggerEventInMainThread{true};
    bool Faudio_disable = false;
    bool Fvideo_disable = false;
    bool Fdisplay_disable = false;
    bool FCheckIOEOF = true;
    bool FCheckIOERR = true;
    bool FAutoAdjustFrameRate = true;
    bool Fgenpts = false;
    bool Ffast = false;
    std::string FForceFrameRate;
    int Fseek_by_bytes = -1;
    int Fwanted_stream[AVMEDIA_TYPE_NB] = {-1, -1, -1, -1, -1};
    int Fframe_width = 0;
    int Fframe_height = 0;
    int Fworkaround_bugs = 1;
    int Flowres = 0;
    int Fidct_algo = 0;
    int Ferror_recognition = 1;
    int Ferror_concealment = 3;
    int Fdecoder_reorder_pts = -1;
    int Fframedrop = 0;
    int Frdftspeed = 20;
    Tav_sync_type Fav_sync_type = AV_SYNC_AUDIO_MASTER;
    std::atomic<int64_t> Fstart_time{NotSet};
    std::atomic<int64_t> FPlayTime{NotSet};
    std::atomic<TRepeatType> FRepeatType{rtStop};
    int FScreenWidth = 0;
    int FScreenHeight = 0;
};

class TFFPlayer final : public TCustomPlayer {
public:
    explicit TFFPlayer(TComponent* AOwner) : TCustomPlayer(AOwner) {}
};
