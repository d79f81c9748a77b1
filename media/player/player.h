#pragma once
// The preview player: plays one media file through its own SDL copy, with a read thread, stream consumers, a
// refresh timer and SDL's audio callback on one shared state record, an SDL event loop on the play thread, and an
// event thread that hands position and state notices to the caller (by default on the main thread).
//
// Pictures go through the filter chain into SDL overlays drawn into the host panel's native window of the display
// (or SDL's own window), sound through SDL's audio callback; snapshots and per-picture and per-block hooks hand
// them to the caller.
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
#include "platform/win/win_types.h"

enum TPlayState { psPlay, psPause, psResume, psStep, psStop, psEnd };
enum TRepeatType { rtNone, rtStop, rtLoop };
enum TShowAudio { saNone, saWave, saRDFT };
// SDL 1.2 on Linux has neither of the Windows drivers: the nearest Linux drivers stand in for them (see
// AudioDriverName / VideoDriverName); the defaults leave SDL's own choice alone.
enum TAudioDriver { adDefault, adDirectSound, adWaveOut };
enum TVideoDriver { vdDefault, vdDirectDraw, vdGDI };
using TAudioVolume = int;  // 0..128, SDL's full mixing volume at 128
inline constexpr TAudioVolume MaxAudioVolume = 128;

class TBitmap;
class TFormatConverter;
class TFFDecoder;

using TFileOpenEvent = std::function<void(TObject* Sender, int64_t ADuration, int AFrameWidth, int AFrameHeight,
                                          int& AScreenWidth, int& AScreenHeight)>;
using TPositionEvent = std::function<void(TObject* Sender, int64_t APTS)>;
using TPlayStateEvent = std::function<void(TObject* Sender, TPlayState APlayState)>;
// The transcoder has hook events of its own under the plain names; the player's differ in their parameters.
using TPlayerVideoHookEvent = std::function<void(TObject* Sender, TBitmap* ABitmap, int64_t APTS, bool& AUpdate)>;
using TPlayerAudioHookEvent = std::function<void(TObject* Sender, int64_t APTS, uint8_t* ASample, int ASize,
                                                 int ASampleRate, int AChannels)>;

inline constexpr int64_t NotSet = INT64_MIN;  // AV_NOPTS_VALUE: "not set" for times and positions

class TPlayThread;
class TEventThread;

class TCustomPlayer : public TFFBaseComponent {
public:
    explicit TCustomPlayer(TComponent* AOwner);
    ~TCustomPlayer() override;

    // With AAutoLoadSDL the SDL library in APath ("libSDL-1.2.so.0") follows at once.
    bool LoadAVLib(const std::string& APath, bool AAutoLoadSDL = false);
    bool AVLibLoaded() const;
    void UnloadAVLib();
    bool LoadSDLLib(const std::string& APath, const std::string& AFile);
    bool SDLLibLoaded() const { return FSDLLoader && FSDLLoader->Loaded(); }
    void UnloadSDLLib();

    // Any thread; blocks until the file is open or has failed (running the main thread's calls when on it).
    // AScreenHandle is the panel to draw into: SDL draws into the panel's native window of the display, the panel
    // keeps its own input. nullptr: SDL opens a window of its own.
    bool Open(const std::string& AFileName, win::HWND AScreenHandle = nullptr, bool APaused = false);
    // Any thread: without waiting it only asks; during an Open on another thread it cancels that Open.
    void Stop(bool AWaitForStop);
    void Pause();
    void Resume();
    void TogglePause();
    void StepToNextFrame();
    void ToggleAudioDisplay();
    // For callers that moved or resized the host panel: the picture is laid out again in the panel's present
    // size (a paused picture is drawn again), without waiting for the display to report the change.
    void UpdateScreenPosition();
    // The desktop's icon view; there is none on this platform, so always nullptr.
    static win::HWND FindDesktopWindow() { return nullptr; }
    // The SDL_AUDIODRIVER / SDL_VIDEODRIVER values of the drivers; empty for the defaults, which leave SDL's
    // variables as the user (or a test) set them.
    static const char* AudioDriverName(TAudioDriver ADriver);
    static const char* VideoDriverName(TVideoDriver ADriver);
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

    // Display and sound; read by the output paths while playing.
    float AspectRatio() const { return FAspectRatio; }
    void SetAspectRatio(float AValue);
    TAudioVolume AudioVolume() const { return FAudioVolume; }
    void SetAudioVolume(TAudioVolume AValue) { FAudioVolume = AValue < 0 ? 0 : AValue > MaxAudioVolume ? MaxAudioVolume : AValue; }
    bool Mute() const { return FMute; }
    void SetMute(bool AValue) { FMute = AValue; }
    TShowAudio ShowAudio() const { return FShowAudio; }
    void SetShowAudio(TShowAudio AValue);
    bool VideoHook() const { return FVideoHook; }
    void SetVideoHook(bool AValue) { FVideoHook = AValue; }
    bool AudioHook() const { return FAudioHook; }
    void SetAudioHook(bool AValue) { FAudioHook = AValue; }
    int VideoHookBitsPixel() const;
    void SetVideoHookBitsPixel(int AValue);
    bool VerticalFlip() const { return FVerticalFlip; }
    void SetVerticalFlip(bool AValue) { FVerticalFlip = AValue; }
    bool Deinterlace() const { return FDeinterlace; }
    void SetDeinterlace(bool AValue) { FDeinterlace = AValue; }
    bool is_full_screen() const { return Fis_full_screen; }
    void Set_is_full_screen(bool AValue) { Fis_full_screen = AValue; }
    const std::string& VideoFilters() const { return Fvfilters; }
    void SetVideoFilters(const std::string& AValue) { Fvfilters = AValue; }
    std::string ForceFormat() const;
    void SetForceFormat(const std::string& AValue);

    // Host window and SDL drivers.
    TAudioDriver AudioDriver() const { return FAudioDriver; }
    void SetAudioDriver(TAudioDriver AValue) { FAudioDriver = AValue; }
    TVideoDriver VideoDriver() const { return FVideoDriver; }
    void SetVideoDriver(TVideoDriver AValue) { FVideoDriver = AValue; }
    bool HijackWndProc() const { return FHijackWndProc; }
    void SetHijackWndProc(bool AValue) { FHijackWndProc = AValue; }
    win::HWND ScreenHandle() const { return FScreenHandle; }
    TFFDecoder* Decoder() const { return FDecoder.get(); }
    int FrameWidth() const { return Fframe_width; }
    void SetFrameWidth(int AValue) { Fframe_width = AValue; }
    int FrameHeight() const { return Fframe_height; }
    void SetFrameHeight(int AValue) { Fframe_height = AValue; }
    int ScreenWidth() const { return FScreenWidth; }
    void SetScreenWidth(int AValue) { FScreenWidth = AValue; }
    int ScreenHeight() const { return FScreenHeight; }
    void SetScreenHeight(int AValue) { FScreenHeight = AValue; }

    // Options named as in the reference command-line player.
    int wanted_video_stream() const { return Fwanted_stream[AVMEDIA_TYPE_VIDEO]; }
    void Set_wanted_video_stream(int AValue) { Fwanted_stream[AVMEDIA_TYPE_VIDEO] = AValue; }
    int wanted_audio_stream() const { return Fwanted_stream[AVMEDIA_TYPE_AUDIO]; }
    void Set_wanted_audio_stream(int AValue) { Fwanted_stream[AVMEDIA_TYPE_AUDIO] = AValue; }
    int wanted_subtitle_stream() const { return Fwanted_stream[AVMEDIA_TYPE_SUBTITLE]; }
    void Set_wanted_subtitle_stream(int AValue) { Fwanted_stream[AVMEDIA_TYPE_SUBTITLE] = AValue; }
    int seek_by_bytes() const { return Fseek_by_bytes; }
    void Set_seek_by_bytes(int AValue) { Fseek_by_bytes = AValue; }
    int workaround_bugs() const { return Fworkaround_bugs; }
    void Set_workaround_bugs(int AValue) { Fworkaround_bugs = AValue; }
    int debug_mv() const { return Fdebug_mv; }
    void Set_debug_mv(int AValue) { Fdebug_mv = AValue; }
    bool fast() const { return Ffast; }
    void Set_fast(bool AValue) { Ffast = AValue; }
    bool genpts() const { return Fgenpts; }
    void Set_genpts(bool AValue) { Fgenpts = AValue; }
    int decoder_reorder_pts() const { return Fdecoder_reorder_pts; }
    void Set_decoder_reorder_pts(int AValue) { Fdecoder_reorder_pts = AValue; }
    int framedrop() const { return Fframedrop; }
    void Set_framedrop(int AValue) { Fframedrop = AValue; }
    int rdftspeed() const { return Frdftspeed; }
    void Set_rdftspeed(int AValue) { Frdftspeed = AValue; }
    int lowres() const { return Flowres; }
    void Set_lowres(int AValue) { Flowres = AValue; }
    int idct_algo() const { return Fidct_algo; }
    void Set_idct_algo(int AValue) { Fidct_algo = AValue; }
    int error_recognition() const { return Ferror_recognition; }
    void Set_error_recognition(int AValue) { Ferror_recognition = AValue; }
    int error_concealment() const { return Ferror_concealment; }
    void Set_error_concealment(int AValue) { Ferror_concealment = AValue; }

    TPlayerVideoHookEvent OnVideoHook;
    TPlayerAudioHookEvent OnAudioHook;
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
    // AWindowId: the native window SDL draws into, 0 for a window of SDL's own.
    bool InitSDL(uintptr_t AWindowId);
    void SetDriverVariables();
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

    // Stream consumers (the output paths add their own steps below).
    void VideoThread(TVideoState* AState);
    int GetVideoFrame(TVideoState* AState, AVFrame* AFrame, AVPacket* APacket, bool& AGotPicture);
    void RefreshThread(TVideoState* AState);
    void SubtitleThread(TVideoState* AState);
    void VideoRefresh(TVideoState* AState);
    static void AudioCallback(void* AOpaque, Uint8* AStream, int ALen);

    // The published state record for a call from outside the playback's decoding threads. The record is
    // unpublished and closed only under the data lock, so it stays whole while a TStateAccess holds that lock. The
    // threads that the close joins (reading, decoding, refresh) never take it: the close joins them under it.
    class TStateAccess {
    public:
        explicit TStateAccess(const TCustomPlayer& APlayer);
        ~TStateAccess() { Release(); }
        TStateAccess(const TStateAccess&) = delete;
        TStateAccess& operator=(const TStateAccess&) = delete;
        TVideoState* get() const { return FState; }
        TVideoState* operator->() const { return FState; }
        explicit operator bool() const { return FState != nullptr; }
        // Before a wait that the playback's threads end; the record may go meanwhile.
        void Release();

    private:
        TCustomPlayer& FPlayer;
        TVideoState* FState = nullptr;
        bool FLocked = false;
    };

    // Threads, events and position.
    void StreamPause(TVideoState* AState);
    // Records the request; the read thread carries it out.
    bool RequestSeek(TVideoState* AState, int64_t APos, int64_t ARel, int AFlags);
    bool RequestSeekTo(TVideoState* AState, int64_t APTS, TSeekFlags ASeekFlags);
    void WaitForSeekEnd(TVideoState* AState);
    void RequestStop(TVideoState* AState);
    // Unpublishes the record first, so no outside call finds it while its input closes.
    void RetireState(TVideoState* AState);
    void SetPlayState(TPlayState AState);
    void UpdatePosition(TVideoState* AState);
    void PushEvent(Uint8 AType, TVideoState* AState);
    void PushQuit(TVideoState* AState) { PushEvent(26, AState); }
    void EventLoop();
    void WaitForStop();
    void StreamClose(TVideoState* AState);
    void CloseStream();
    bool LockData(DWORD ATimeout) const { return FDataLock.WaitFor(ATimeout) == wrSignaled; }
    void UnlockData() const { FDataLock.Release(); }
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

    mutable TTimedMutex FDataLock;
    TEvent FSeekEvent{true, true};
    TEvent FPictEvent{true, true};
    TEvent FStopEvent{true, true};
    TPlayEvent FPlayEvent;
    std::atomic<TPlayState> FState{psStop};
    // Orders the play thread's first report against the pause a file opened paused reports from the video thread.
    std::mutex FOpenPauseLock;
    std::atomic<bool> FSeeking{false};
    // Set first thing by the destructor: no event reaches a handler while the player goes.
    std::atomic<bool> FDying{false};
    // Raised by Stop until the next Open: position notices of a playback the caller stopped are not delivered,
    // so none arrives after the stop's own handling and moves a position bar again.
    std::atomic<bool> FStopRequested{false};
    // Set once the play thread has told that the playback plays: a file so short (or so damaged) that it ends
    // before then keeps its end until after, or the play notice would replace the end notice in the ring.
    std::atomic<bool> FPlayAnnounced{false};
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

    // Display, sound and hooks: written by the caller, read by the output paths while playing.
    std::atomic<float> FAspectRatio{0};
    std::atomic<TAudioVolume> FAudioVolume{MaxAudioVolume};
    std::atomic<bool> FMute{false};
    std::atomic<TShowAudio> FShowAudio{saWave};
    std::atomic<bool> FVideoHook{false};
    std::atomic<bool> FAudioHook{false};
    std::atomic<bool> FVerticalFlip{false};
    std::atomic<bool> FDeinterlace{false};
    bool Fis_full_screen = false;
    std::string Fvfilters;
    const AVInputFormat* Ffile_iformat = nullptr;
    // FRGBConverter makes CurrentFrame's bitmap, FHookConverter the video hook's; both share one bit depth.
    std::unique_ptr<TFormatConverter> FRGBConverter;
    std::unique_ptr<TFormatConverter> FHookConverter;
    std::atomic<int64_t> Faudio_callback_time{0};
    SDL_Surface* Fscreen = nullptr;

    // Reference-player settings without properties.
    int Fsws_flags = 4;  // bicubic
    int Fframe_pix_fmt = -1;
    int Fdebug = 0;
    int Fdebug_mv = 0;
    int Fskip_frame = 0;
    int Fskip_idct = 0;
    int Fskip_loop_filter = 0;
    int Ffs_screen_width = 0;
    int Ffs_screen_height = 0;

    // Host window and drivers.
    TAudioDriver FAudioDriver = adDefault;
    TVideoDriver FVideoDriver = vdDefault;
    bool FHijackWndProc = true;
    win::HWND FScreenHandle = nullptr;
    uintptr_t FScreenWindowId = 0;  // the display's window of FScreenHandle that SDL draws into
    std::unique_ptr<TFFDecoder> FDecoder;  // reads stream information from the open file

    // player-paths: output paths (video, sound, subtitles, snapshots) -- begin
public:
    // The picture at the read position of the picture queue as a bitmap owned by the player (overwritten by the
    // next call), with its time; 0 x 0 and APTS -1 without video. Needs player_display_bitmap.h in the program.
    TBitmap* CurrentFrame();
    TBitmap* CurrentFrame(int64_t& APTS);

private:
    void HandleDisplayEvent(TVideoState* AState, const SDL_Event& AEvent);
    void VideoRefresh(TVideoState* AState, bool ADequeue);
    int VideoOpen(TVideoState* AState, bool AForce);
    void VideoDisplay(TVideoState* AState);
    void VideoImageDisplay(TVideoState* AState);
    void VideoAudioDisplay(TVideoState* AState);
    void AllocPicture(TVideoState* AState);
    int OutputFiltered(TVideoState* AState, AVFrame* AFrame, AVRational ATimeBase);
    int OutputPicture(TVideoState* AState, AVFrame* AFrame, double APts, int64_t APos);
    int QueuePicture(TVideoState* AState, AVFrame* AFrame, double APts, int64_t APos);
    bool DeinterlacePicture(AVFrame* AFrame);
    void DeliverVideoHook(TVideoState* AState, TVideoPicture& APicture, double APts);
    int AudioDecodeBlock(TVideoState* AState, double& APts);
    int ConvertAudioFrame(TVideoState* AState, AVFrame* AFrame);
    void DeliverAudioHook(TVideoState* AState, uint8_t* ASamples, int ASize, double APts);
    void SubpicturesAdvance(TVideoState* AState);
    void SubpicturesBlend(TVideoState* AState, TVideoPicture& APicture);

    std::shared_ptr<TBitmap> FFrameBitmap;  // CurrentFrame's
    std::shared_ptr<TBitmap> FHookBitmap;   // the video hook's (video thread)
    AVFrame* FDeintFrame = nullptr;         // video thread
    // player-paths: output paths -- end
};

class TFFPlayer final : public TCustomPlayer {
public:
    explicit TFFPlayer(TComponent* AOwner) : TCustomPlayer(AOwner) {}
};
