#pragma once
// The state one playback shares between its threads: the read thread, the stream consumers, the refresh timer,
// SDL's audio callback, the event loop and the caller's thread. Everything more than one thread writes or reads
// while another writes is atomic; the queues have their own locks.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
}

#include "media/player/packet_queue.h"

class TCustomPlayer;
class TFilterChain;
struct SwrContext;

enum Tav_sync_type { AV_SYNC_AUDIO_MASTER, AV_SYNC_VIDEO_MASTER, AV_SYNC_EXTERNAL_CLOCK };

inline constexpr int VIDEO_PICTURE_QUEUE_SIZE = 2;
inline constexpr int SUBPICTURE_QUEUE_SIZE = 4;
inline constexpr double AV_SYNC_THRESHOLD = 0.01;
inline constexpr double AV_NOSYNC_THRESHOLD = 10.0;
inline constexpr int SAMPLE_ARRAY_SIZE = 2 * 65536;
// 1.5 times the largest audio frame of the decoders: a decoded block, and room for the stretch that follows it.
inline constexpr int AUDIO_BUFFER_SIZE = 288000;

// A decoded picture waiting for its time, in its YV12 overlay. The overlay is made and replaced only on the event
// loop's thread (where the video mode lives); the video thread writes into it.
struct TVideoPicture {
    double pts = 0;
    std::atomic<double> target_clock{0};
    int64_t pos = -1;
    SDL_Overlay* bmp = nullptr;
    int width = 0;
    int height = 0;
    std::atomic<int> allocated{0};
    int pix_fmt = -1;
    AVRational sample_aspect_ratio{0, 1};
};

// A decoded subtitle waiting for its time; its palettes are converted to YUVA once it is queued.
struct TSubPicture {
    double pts = 0;
    AVSubtitle sub{};
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
    std::atomic<int> audio_bytes_per_sec{0};  // rewritten by a stream switch while the video thread reads the clock
    int audio_channels = 0;  // of the device: the decoded sound is converted to 16-bit samples in this layout
    int audio_freq = 0;
    std::atomic<int> audio_buf_size{0};
    std::atomic<int> audio_buf_index{0};
    AVFrame* audio_frame = nullptr;
    AVPacket* audio_pkt = nullptr;
    // The block being played: decoded and converted to the device's format, with room behind it for a stretch.
    std::vector<uint8_t> audio_buf1;
    uint8_t* audio_buf = nullptr;
    SwrContext* reformat_ctx = nullptr;
    int audio_src_fmt = -1;
    int audio_src_rate = 0;
    AVChannelLayout audio_src_layout{};
    double audio_diff_cum = 0;
    double audio_diff_avg_coef = 0;
    double audio_diff_threshold = 0;
    int audio_diff_avg_count = 0;

    std::atomic<int> show_audio{0};
    // The audio thread appends to the ring and the display copies it, each under sample_lock.
    std::mutex sample_lock;
    std::vector<int16_t> sample_array = std::vector<int16_t>(SAMPLE_ARRAY_SIZE);
    std::atomic<int> sample_array_index{0};
    int last_i_start = 0;
    int rdft_bits = 0;
    int xpos = 0;

    TPacketQueue subtitleq;
    std::atomic<int> subtitle_stream_changed{0};
    TSubPicture subpq[SUBPICTURE_QUEUE_SIZE];
    std::atomic<int> subpq_size{0};
    int subpq_rindex = 0;
    int subpq_windex = 0;
    SDL_mutex* subpq_mutex = nullptr;
    SDL_cond* subpq_cond = nullptr;

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
    std::atomic<int> pictq_rindex{0};
    int pictq_windex = 0;
    SDL_mutex* pictq_mutex = nullptr;
    SDL_cond* pictq_cond = nullptr;

    std::string filename;
    // The display area in the SDL surface.
    int width = 0;
    int height = 0;
    int xleft = 0;
    int ytop = 0;
    int no_background = 1;
    // The size and format of the pictures the filter chain delivers; written by the video thread before it asks
    // the event loop for an overlay.
    std::atomic<int> sink_width{0};
    std::atomic<int> sink_height{0};
    std::atomic<int> sink_pix_fmt{-1};
    std::atomic<double> skip_frames{1};
    std::atomic<double> skip_frames_index{0};
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

    // The SDL copy whose overlays, mutexes and conditions the record holds; they go with the record.
    const TSDLEntries* SDL = nullptr;
    TVideoState() = default;
    TVideoState(const TVideoState&) = delete;
    TVideoState& operator=(const TVideoState&) = delete;
    ~TVideoState();
};

// The playback clocks, in seconds. "Now" is a monotonic clock, shared by every clock of the record.
double PlayerNow();
double GetAudioClock(const TVideoState& AState);
double GetVideoClock(const TVideoState& AState);
double GetExternalClock(const TVideoState& AState);
double GetMasterClock(const TVideoState& AState);
// The moment a picture with time APts is due; runs on the video thread when it queues the picture.
double ComputeTargetTime(TVideoState& AState, double APts);
