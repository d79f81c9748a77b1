// The output paths through real SDL copies: snapshots of what is shown, seeking, what the sound device is
// handed (SDL's disk driver writes it to a file), and bitmap subtitles entering and leaving the picture.
#include <sys/stat.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "media/loader/av_bindings.h"
#include "media/player/player_display_bitmap.h"
#include "tests/media/player_test_support.h"

namespace {

std::string WorkFolder()
{
    const std::string folder = QUENNARY_BINARY_DIR "/tests/media/player-paths";
    mkdir(folder.c_str(), 0755);
    return folder;
}

std::vector<uint8_t> ReadFile(const std::string& APath)
{
    std::ifstream in(APath, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The samples of a RIFF file's data chunk.
std::vector<int16_t> WaveSamples(const std::string& APath)
{
    const std::vector<uint8_t> file = ReadFile(APath);
    for (size_t at = 12; at + 8 <= file.size();) {
        uint32_t size;
        std::memcpy(&size, &file[at + 4], 4);
        if (std::memcmp(&file[at], "data", 4) == 0) {
            std::vector<int16_t> samples(std::min<size_t>(size, file.size() - at - 8) / 2);
            std::memcpy(samples.data(), &file[at + 8], samples.size() * 2);
            return samples;
        }
        at += 8 + size + (size & 1);
    }
    return {};
}

// The colour at (AX, AY) of a 24-bit snapshot.
struct TRGB {
    int R, G, B;
};
TRGB PixelAt(TBitmap* ABitmap, int AX, int AY)
{
    const auto* row = static_cast<const uint8_t*>(ABitmap->ScanLine(AY));
    return {row[3 * AX + 2], row[3 * AX + 1], row[3 * AX]};
}

class PlayerPaths : public PlayerTest {
protected:
    // The snapshot once the picture on the screen holds still (paused, nothing more to show).
    TBitmap* SettledFrame(TRecordingPlayer& APlayer, int64_t& APTS)
    {
        // Settled: the same picture over three looks 100 ms apart (a loaded machine under the thread sanitizer
        // can take longer than one look to show the picture a waited seek has queued).
        int64_t last = INT64_MIN;
        int same = 0;
        TBitmap* bitmap = nullptr;
        WaitUntil([&] {
            win::Sleep(100);
            bitmap = APlayer.Player->CurrentFrame(APTS);
            same = APTS == last ? same + 1 : 0;
            last = APTS;
            return same >= 2;
        });
        return bitmap;
    }
};

TEST_F(PlayerPaths, NothingOpenGivesAnEmptySnapshot)
{
    TRecordingPlayer p;
    int64_t pts = 0;
    TBitmap* bitmap = p.Player->CurrentFrame(pts);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Width(), 0);
    EXPECT_EQ(bitmap->Height(), 0);
    EXPECT_EQ(pts, -1);
}

TEST_F(PlayerPaths, PausedOpenShowsTheFirstPictureAndSeeksClampToTheFile)
{
    TRecordingPlayer p;
    ASSERT_TRUE(p.LoadSDL());
    ASSERT_TRUE(p.Player->Open(MediaFixture("bframes.mp4"), nullptr, true)) << p.Player->LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return p.Saw(psPause); }));
    int64_t pts = -1;
    TBitmap* bitmap = SettledFrame(p, pts);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Width(), 160);
    EXPECT_EQ(bitmap->Height(), 120);
    EXPECT_GE(pts, 0);
    EXPECT_LT(pts, 200000);
    int lit = 0;
    for (int y = 0; y < 120; y += 8)
        for (int x = 0; x < 160; x += 8) {
            const TRGB c = PixelAt(bitmap, x, y);
            lit += c.R + c.G + c.B > 60;
        }
    EXPECT_GT(lit, 100) << "the snapshot is (nearly) black";

    // Far past the end: the last pictures; before the start: the first again. The player stays paused.
    p.Player->Seek(int64_t{100000000}, TSeekFlags{}, true);
    SettledFrame(p, pts);
    EXPECT_GE(pts, 1400000);
    EXPECT_LE(pts, 2000000);
    p.Player->Seek(int64_t{-5000000}, TSeekFlags{}, true);
    SettledFrame(p, pts);
    EXPECT_LT(pts, 200000);
    EXPECT_TRUE(p.Player->Paused());
    p.Player->Stop(true);
    EXPECT_EQ(p.Player->CurrentFrame(pts)->Width(), 0);
}

TEST_F(PlayerPaths, VideoHookDrawsIntoThePictureAndFiltersShapeIt)
{
    TRecordingPlayer p;
    ASSERT_TRUE(p.LoadSDL());
    std::atomic<int> hooked{0};
    std::atomic<int64_t> first_pts{-1};
    p.Player->SetVideoHook(true);
    p.Player->OnVideoHook = [&](TObject*, TBitmap* ABitmap, int64_t APTS, bool& AUpdate) {
        if (hooked++ == 0) first_pts = APTS;
        // A white band across the top half; the handler of the first picture fails half way.
        ABitmap->Canvas()->Brush()->SetColor(clWhite);
        ABitmap->Canvas()->FillRect(Rect(0, 0, ABitmap->Width(), ABitmap->Height() / 2));
        if (hooked == 1) throw Exception("hook failed");
        AUpdate = true;
    };
    p.Player->SetVideoFilters("scale=80:60");
    // The hook sees the picture as shown: deinterlaced and upside down.
    p.Player->SetDeinterlace(true);
    p.Player->SetVerticalFlip(true);
    ASSERT_TRUE(p.Player->Open(MediaFixture("bframes.mp4"), nullptr, true)) << p.Player->LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return p.Saw(psPause); }));
    int64_t pts = -1;
    TBitmap* bitmap = SettledFrame(p, pts);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Width(), 80);
    EXPECT_EQ(bitmap->Height(), 60);
    EXPECT_GE(hooked, 2);  // a paused open shows two pictures
    EXPECT_EQ(first_pts, 0);
    const TRGB top = PixelAt(bitmap, 40, 10);
    EXPECT_GT(top.R + top.G + top.B, 700) << "the hook's band";
    const std::vector<TLoggedLine> lines = Lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const TLoggedLine& ALine) {
        return ALine.Text == "Error occurs OnVideoHook: hook failed";
    }));
    EXPECT_TRUE(p.Player->Deinterlace()) << "deinterlacing 80 x 60 pictures works";
    // A new aspect ratio lays the display out again; the picture stays.
    p.Player->SetAspectRatio(-1);
    p.Player->SetAspectRatio(16.0f / 9.0f);
    bitmap = SettledFrame(p, pts);
    EXPECT_EQ(bitmap->Width(), 80);
    p.Player->Stop(true);
}

TEST_F(PlayerPaths, FiltersThatCannotBeBuiltLeaveTheSoundToPlayToTheEnd)
{
    TRecordingPlayer p;
    ASSERT_TRUE(p.LoadSDL());
    p.Player->SetVideoFilters("nosuchfilter=1");
    ASSERT_TRUE(p.Player->Open(MediaFixture("clip.ts"))) << p.Player->LastErrMsg();
    EXPECT_TRUE(WaitUntil([&] { return p.Saw(psEnd); }));
    const std::vector<TLoggedLine> lines = Lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const TLoggedLine& ALine) {
        return ALine.Level == llError && ALine.Text.find("nosuchfilter") != std::string::npos;
    }));
    p.Player->Stop(true);
}

TEST_F(PlayerPaths, SoundWithoutPicturesShowsItsSpectrum)
{
    TRecordingPlayer p;
    ASSERT_TRUE(p.LoadSDL());
    p.Player->SetShowAudio(saRDFT);
    ASSERT_TRUE(p.Player->Open(MediaFixture("stereo16.wav"))) << p.Player->LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return p.Saw(psEnd); }));
    int64_t pts = 0;
    EXPECT_EQ(p.Player->CurrentFrame(pts)->Width(), 0);  // no video: no snapshot
    EXPECT_EQ(pts, -1);
    p.Player->Stop(true);
}

struct TSoundCase {
    const char* Name;
    const char* File;
    int Volume;
    bool Mute;
    bool Negate = false;  // an audio hook turns every sample over
};

class PlayerSound : public PlayerPaths, public ::testing::WithParamInterface<TSoundCase> {};

// What the device was handed, from its first sound on.
std::vector<int16_t> PlayToDisk(const TSoundCase& c, const std::string& AOut)
{
    std::remove(AOut.c_str());
    SetEnvironmentVariable("SDL_AUDIODRIVER", "disk");
    SetEnvironmentVariable("SDL_DISKAUDIOFILE", AOut);
    SetEnvironmentVariable("SDL_DISKAUDIODELAY", "5");
    TRecordingPlayer p;
    EXPECT_TRUE(p.LoadSDL());
    p.Player->SetDisableDisplay(true);
    p.Player->SetAudioVolume(c.Volume);
    p.Player->SetMute(c.Mute);
    std::atomic<int> hooked{0};
    if (c.Negate) {
        p.Player->SetAudioHook(true);
        p.Player->OnAudioHook = [&](TObject*, int64_t, uint8_t* ASample, int ASize, int ASampleRate, int AChannels) {
            EXPECT_EQ(ASampleRate, 44100);
            EXPECT_EQ(AChannels, 2);
            auto* samples = reinterpret_cast<int16_t*>(ASample);
            for (int i = 0; i < ASize / 2; ++i) samples[i] = static_cast<int16_t>(-samples[i]);
            ++hooked;
        };
    }
    EXPECT_TRUE(p.Player->Open(MediaFixture(c.File))) << p.Player->LastErrMsg();
    EXPECT_TRUE(WaitForWithSlices([&] { return p.Saw(psEnd); }, 10, 20000));
    p.Player->Stop(true);
    EXPECT_EQ(hooked > 0, c.Negate);
    UnsetEnvironmentVariable("SDL_DISKAUDIOFILE");
    UnsetEnvironmentVariable("SDL_DISKAUDIODELAY");
    const std::vector<uint8_t> bytes = ReadFile(AOut);
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

TEST_P(PlayerSound, TheDeviceGetsTheDecodedSamplesAtTheVolume)
{
    const TSoundCase& c = GetParam();
    const std::vector<int16_t> decoded = WaveSamples(MediaFixture("stereo16.wav"));
    ASSERT_GT(decoded.size(), 80000u);
    const std::vector<int16_t> played = PlayToDisk(c, WorkFolder() + "/" + c.Name + ".raw");
    ASSERT_GT(played.size(), decoded.size()) << "the whole file was played";
    if (c.Mute || c.Volume == 0) {
        EXPECT_TRUE(std::all_of(played.begin(), played.end(), [](int16_t s) { return s == 0; })) << "silence";
        return;
    }
    // Both start with the tone's first non-zero sample (the device may get silence before the sound arrives).
    const auto first = [](const std::vector<int16_t>& v) {
        return std::find_if(v.begin(), v.end(), [](int16_t s) { return s != 0; }) - v.begin();
    };
    const long from_decoded = first(decoded);
    const long from_played = first(played);
    const long count = static_cast<long>(decoded.size()) - from_decoded - 64;
    ASSERT_LE(from_played + count, static_cast<long>(played.size()));
    int differing = 0;
    for (long i = 0; i < count; ++i) {
        const int sample = decoded[static_cast<size_t>(from_decoded + i)];
        const int expected = (c.Negate ? -sample : sample) * c.Volume / 128;
        const int got = played[static_cast<size_t>(from_played + i)];
        differing += std::abs(got - expected) > 1;  // a float source may round the other way
    }
    EXPECT_EQ(differing, 0) << "of " << count << " samples";
}

INSTANTIATE_TEST_SUITE_P(Volumes, PlayerSound,
                         ::testing::Values(TSoundCase{"full", "stereo16.wav", 128, false},
                                           TSoundCase{"half", "stereo16.wav", 64, false},
                                           TSoundCase{"float_full", "stereoflt.wav", 128, false},
                                           TSoundCase{"float_half", "stereoflt.wav", 64, false},
                                           TSoundCase{"zero", "stereo16.wav", 0, false},
                                           TSoundCase{"mute", "stereoflt.wav", 128, true},
                                           TSoundCase{"hooked", "stereoflt.wav", 128, false, true}),
                         [](const auto& AInfo) { return std::string(AInfo.param.Name); });

// A grey 160 x 120 video of 2 s with one DVD (bitmap) subtitle: an opaque red 40 x 20 box at (60, 50), shown
// from 0.4 s to 1.0 s. The video comes from the ffmpeg tool; the subtitle is encoded here, since the tool turns
// no text into bitmaps.
std::string MakeSubtitledFile(std::string& AError)
{
    const std::string grey = WorkFolder() + "/grey.mp4";
    const std::string out = WorkFolder() + "/subtitled.mkv";
    const std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "
                                "color=c=gray:s=160x120:r=25 -t 2 -c:v mpeg4 -g 12 '" + grey + "'";
    if (std::system(command.c_str()) != 0) {
        AError = "ffmpeg failed: " + command;
        return "";
    }
    AVFormatContext* in = nullptr;
    if (ff::avformat_open_input(&in, grey.c_str(), nullptr, nullptr) < 0 ||
        ff::avformat_find_stream_info(in, nullptr) < 0) {
        AError = "cannot read " + grey;
        return "";
    }
    AVFormatContext* mux = ff::avformat_alloc_context();
    mux->oformat = ff::av_guess_format("matroska", nullptr, nullptr);
    mux->url = ff::av_strdup(out.c_str());
    AVStream* video = ff::avformat_new_stream(mux, nullptr);
    ff::avcodec_parameters_copy(video->codecpar, in->streams[0]->codecpar);
    video->codecpar->codec_tag = 0;
    video->time_base = in->streams[0]->time_base;

    const AVCodec* codec = ff::avcodec_find_encoder(AV_CODEC_ID_DVD_SUBTITLE);
    AVCodecContext* encoder = ff::avcodec_alloc_context3(codec);
    encoder->width = 160;
    encoder->height = 120;
    encoder->time_base = AVRational{1, 1000};
    if (ff::avcodec_open2(encoder, codec, nullptr) < 0) {
        AError = "no DVD subtitle encoder";
        return "";
    }
    AVStream* subtitles = ff::avformat_new_stream(mux, nullptr);
    ff::avcodec_parameters_from_context(subtitles->codecpar, encoder);
    subtitles->time_base = AVRational{1, 1000};
    if (ff::avio_open2(&mux->pb, out.c_str(), AVIO_FLAG_WRITE, nullptr, nullptr) < 0 ||
        ff::avformat_write_header(mux, nullptr) < 0) {
        AError = "cannot write " + out;
        return "";
    }

    std::vector<uint8_t> indexes(40 * 20, 1);
    uint32_t palette[4] = {0x00000000, 0xFFFF0000, 0xFF000000, 0xFFFFFFFF};
    AVSubtitleRect rect{};
    rect.type = SUBTITLE_BITMAP;
    rect.x = 60;
    rect.y = 50;
    rect.w = 40;
    rect.h = 20;
    rect.nb_colors = 4;
    rect.data[0] = indexes.data();
    rect.data[1] = reinterpret_cast<uint8_t*>(palette);
    rect.linesize[0] = 40;
    AVSubtitleRect* rects[1] = {&rect};
    AVSubtitle sub{};
    sub.format = 0;
    sub.start_display_time = 0;
    sub.end_display_time = 600;
    sub.num_rects = 1;
    sub.rects = rects;
    sub.pts = 400000;
    std::vector<uint8_t> encoded(65536);
    const int size = ff::avcodec_encode_subtitle(encoder, encoded.data(), static_cast<int>(encoded.size()), &sub);
    AVPacket* pkt = ff::av_packet_alloc();
    if (size <= 0 || ff::av_new_packet(pkt, size) < 0) {
        AError = "the subtitle did not encode";
        return "";
    }
    std::memcpy(pkt->data, encoded.data(), static_cast<size_t>(size));
    pkt->stream_index = 1;
    pkt->pts = pkt->dts = ff::av_rescale_q(400, AVRational{1, 1000}, subtitles->time_base);
    pkt->duration = ff::av_rescale_q(600, AVRational{1, 1000}, subtitles->time_base);
    ff::av_interleaved_write_frame(mux, pkt);
    while (ff::av_read_frame(in, pkt) >= 0) {
        if (pkt->stream_index == 0) {
            ff::av_packet_rescale_ts(pkt, in->streams[0]->time_base, video->time_base);
            ff::av_interleaved_write_frame(mux, pkt);
        }
        ff::av_packet_unref(pkt);
    }
    ff::av_write_trailer(mux);
    ff::av_packet_free(&pkt);
    ff::avio_closep(&mux->pb);
    ff::avformat_free_context(mux);
    ff::avcodec_free_context(&encoder);
    ff::avformat_close_input(&in);
    return out;
}

bool RedBoxShown(TBitmap* ABitmap)
{
    const TRGB c = PixelAt(ABitmap, 80, 60);
    return c.R > 180 && c.G < 80 && c.B < 80;
}

TEST_F(PlayerPaths, BitmapSubtitlesEnterAndLeaveThePicture)
{
    std::string error;
    const std::string file = MakeSubtitledFile(error);
    ASSERT_FALSE(file.empty()) << error;
    TRecordingPlayer p;
    ASSERT_TRUE(p.LoadSDL());
    ASSERT_TRUE(p.Player->Open(file)) << p.Player->LastErrMsg();
    EXPECT_GE(p.Player->SubtitleStreamIndex(), 0);
    // Paused while the subtitle is due, the picture on the screen carries it; paused after its end, not.
    auto pause_at = [&](int64_t APosition) {
        EXPECT_TRUE(WaitUntil([&] { return !p.Positions.empty() && p.Positions.back() >= APosition; }));
        p.Player->Pause();
        int64_t pts = -1;
        TBitmap* bitmap = SettledFrame(p, pts);
        return std::make_pair(pts, bitmap != nullptr && bitmap->Width() == 160 && RedBoxShown(bitmap));
    };
    const auto before = pause_at(100000);
    EXPECT_LT(before.first, 400000);
    EXPECT_FALSE(before.second) << "at " << before.first;
    p.Player->Resume();
    const auto during = pause_at(550000);
    EXPECT_GE(during.first, 400000);
    EXPECT_LT(during.first, 1000000);
    EXPECT_TRUE(during.second) << "at " << during.first;
    p.Player->Resume();
    const auto after = pause_at(1300000);
    EXPECT_GT(after.first, 1000000);
    EXPECT_FALSE(after.second) << "at " << after.first;
    p.Player->Stop(true);
}

}  // namespace
