#pragma once
// The state one playback shares between its threads: the read thread, the stream consumers, the refresh timer,
// SDL's audio callback, the event loop and the caller's thread. Everything more than one thread writes or reads
// while another writes is atomic; the queues have their own locks.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

extern "C" {
#include <libavformat/avformat.h>
}

#include "media/player/packet_queue.h"

class TCustomPlayer;

enum Tav_sync_type { AV_SYNC_AUDIO_MASTER, AV_SYNC_VIDEO_MASTER, AV_SYNC_EXTERNAL_CLOCK };

inline constexpr int VIDEO_PICTURE_QUEUE_SIZE = 2;
inline constexpr double AV_SYNC_THRESHOLD = 0.01;
inline constexpr double AV_NOSYNC_THRESHOLD = 10.0;

// A decoded picture waiting for its time. The picture itself is not kept yet: the picture is timed and shown
// as due, which is what the clocks and the position reports need.
struct TVideoPicture {
    double pts = 0;
    std::atomic<double> target_clock{0};
    int64_t pos = -1;
};

struct TVideoState {
    TCustomPlayer* Owner = nullptr;

    SDL_Thread* parse_tid = nullptr;
    SDL_Thread* video_tid = nullptr;
    SDL_Thread* refresh_tid = nullptr;
    SDL_Thread* subtitle_tid = nullptr;
    const AVInputFormat* iformat = nullptr;
    std::atomic<int> abort_request{0};
    std::atomic<int> paused{0};
    int last_paused = 0;
    std::atomic<int> seek_req{0};
    std::atomic<int> seek_flags{0};
    std::atomic<int64_t> seek_pos{0};
    std::atomic<int64_t> seek_rel{0};
    std::atomic<int> read_pause_return{0};
    AVFormatContext* ic = nullptr;

    // Stream indexes change on the caller's thread (stream switch) while the read thread routes packets by them;
    // RouteLock makes "look up the queue and put the packet" one step against "close the stream".
    std::mutex RouteLock;
    std::atomic<int> audio_stream{-1};
    std::atomic<int> video_stream{-1};
    std::atomic<int> subtitle_stream{-1};
    AVStream* audio_st = nullptr;
    AVStream* video_st = nullptr;
    AVStream* subtitle_st = nullptr;
    AVCodecContext* audio_ctx = nullptr;
    AVCodecContext* video_ctx = nullptr;
    AVCodecContext* subtitle_ctx = nullptr;
    Tav_sync_type av_sync_type = AV_SYNC_AUDIO_MASTER;

    std::atomic<double> external_clock{0};
    std::atomic<int64_t> external_clock_time{0};

    // Audio: written by SDL's audio callback, read by the clocks.
    std::atomic<double> audio_clock{0};
    TPacketQueue audioq;
    int audio_hw_buf_size = 0;
    int audio_bytes_per_sec = 0;
    std::atomic<int> audio_buf_size{0};
    std::atomic<int> audio_buf_index{0};
    AVFrame* audio_frame = nullptr;
    AVPacket* audio_pkt = nullptr;

    int show_audio = 0;

    TPacketQueue subtitleq;

    // Video timing: the video thread writes them, the pause toggle adjusts frame_timer from the caller's thread.
    std::atomic<double> frame_timer{0};
    double frame_last_pts = 0;
    double frame_last_delay = 0;
    std::atomic<double> video_clock{0};
    TPacketQueue videoq;
    std::atomic<double> video_current_pts{0};
    std::atomic<double> video_current_pts_drift{0};
    std::atomic<int64_t> video_current_pos{-1};

    TVideoPicture pictq[VIDEO_PICTURE_QUEUE_SIZE];
    std::atomic<int> pictq_size{0};
    int pictq_rindex = 0;
    int pictq_windex = 0;
    SDL_mutex* pictq_mutex = nullptr;
    SDL_cond* pictq_cond = nullptr;

    std::string filename;
    std::atomic<int> refresh{0};

    // 0 pending, 1 opened, -1 failed and cleaning up, -2 failed and done (the opener may free the record).
    std::atomic<int> Opened{0};
    int64_t StartTime = 0;
    int64_t Duration = -1;
    std::atomic<int64_t> AudioDuration{-1};
    bool IsImage2 = false;
    bool IsDevice = false;
    bool IOEOFLog = false;
    bool IOERRLog = false;
    std::atomic<int> EventEOF{0};
    std::atomic<int> ReachEOF{0};
    std::atomic<int> Reading{0};
    bool OpenedPaused = false;
    std::atomic<int> open_paused{0};
    std::atomic<int> seek_paused{0};
    std::atomic<int> seek_done{0};
    std::atomic<int> seek_flushed{0};
    std::atomic<double> frame_delay{0.04};
};

// The playback clocks, in seconds. "Now" is a monotonic clock, shared by every clock of the record.
double PlayerNow();
double GetAudioClock(const TVideoState& AState);
double GetVideoClock(const TVideoState& AState);
double GetExternalClock(const TVideoState& AState);
double GetMasterClock(const TVideoState& AState);
// The moment a picture with time APts is due; runs on the video thread when it queues the picture.
double ComputeTargetTime(TVideoState& AState, double APts);
