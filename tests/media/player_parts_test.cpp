// The player's parts on their own: the SDL loader's refusals, the notice ring, the packet queue and frame timing.
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "media/loader/av_bindings.h"
#include "tests/media/player_test_support.h"

namespace {

TEST_F(PlayerTest, SDLLoaderRefusesAFileHeldElsewhereAndFreesItOnUnload)
{
    TSDLCopy copy;
    TSDLLoader first, second;
    ASSERT_TRUE(first.Load(copy.Folder, copy.File)) << first.LastErrMsg();
    EXPECT_TRUE(first.Load(copy.Folder, copy.File));  // its own file: nothing changes
    EXPECT_NE(first.SDL_Init, nullptr);
    EXPECT_NE(first.SDL_mutexP, nullptr);

    struct TCase {
        std::string Path;
        TSDLLoader* Loader;
    };
    std::string upper = copy.File;
    for (char& ch : upper) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
    // Another spelling of the held name counts as the same file, also for the loader holding it.
    for (const TCase& c : {TCase{copy.File, &second}, TCase{upper, &second}, TCase{upper, &first}}) {
        EXPECT_FALSE(c.Loader->Load(copy.Folder, c.Path)) << c.Path;
        EXPECT_EQ(c.Loader->LastErrMsg(), copy.Folder + c.Path + " alreay loaded in another instance.");
    }
    EXPECT_TRUE(first.Loaded());

    first.Unload();
    EXPECT_TRUE(second.Load(copy.Folder, copy.File)) << second.LastErrMsg();
}

TEST_F(PlayerTest, SDLLoaderLeavesNothingHeldWhenALibraryLacksAnEntry)
{
    // A real library without SDL's entries, under a name of its own.
    const std::string path = CreateUniqueTempFile("not-sdl-", ".so");
    std::filesystem::copy_file("/lib/x86_64-linux-gnu/libz.so.1", path,
                               std::filesystem::copy_options::overwrite_existing);
    const std::string folder = path.substr(0, path.rfind('/') + 1), file = path.substr(path.rfind('/') + 1);
    TSDLLoader loader;
    EXPECT_FALSE(loader.Load(folder, file));
    EXPECT_FALSE(loader.Loaded());
    EXPECT_EQ(loader.LastErrMsg().rfind("Load function SDL_Init@" + path + " error: ", 0), 0u) << loader.LastErrMsg();
    EXPECT_EQ(loader.SDL_Quit, nullptr);

    TSDLCopy copy;  // and a good file still loads into the same loader
    EXPECT_TRUE(loader.Load(copy.Folder, copy.File)) << loader.LastErrMsg();
    unlink(path.c_str());
}

TEST(PlayerEventRing, KeepsTheNewestOfEachPendingKindAndDropsTheOldestWhenFull)
{
    TPlayEvent ring;
    ring.Post({pekPosition, 1});
    ring.Post({pekPosition, 2});  // replaces the pending position
    ring.Post({pekState, psPause});
    ring.Post({pekState, psResume});  // replaces the pending state
    ring.Post({pekPosition, 3});
    const TPlayEventEntry expected[] = {{pekPosition, 2}, {pekState, psResume}, {pekPosition, 3}};
    for (const TPlayEventEntry& e : expected) {
        const TPlayEventEntry got = ring.Fetch();
        EXPECT_EQ(got.Kind, e.Kind);
        EXPECT_EQ(got.Value, e.Value);
    }
    EXPECT_EQ(ring.Fetch().Kind, pekNone);
    EXPECT_FALSE(ring.WaitFor(0));

    for (int i = 0; i < 12; ++i) ring.Post({i % 2 == 0 ? pekPosition : pekState, i});
    EXPECT_TRUE(ring.WaitFor(0));
    int count = 0;
    int64_t first = -1;
    for (TPlayEventEntry e = ring.Fetch(); e.Kind != pekNone; e = ring.Fetch(), ++count)
        if (first < 0) first = e.Value;
    EXPECT_EQ(count, 9);
    EXPECT_EQ(first, 3);
}

// A notice posted while the consumer empties the ring must leave the ring signalled: the consumer sleeps on the
// signal, and a lost one strands the notice.
TEST(PlayerEventRing, APendingNoticeAlwaysKeepsTheSignal)
{
    TPlayEvent ring;
    std::atomic<bool> done{false};
    std::thread poster([&] {
        for (int i = 0; i < 20000; ++i) ring.Post({i % 2 == 0 ? pekPosition : pekState, i});
        done = true;
    });
    int64_t last = -1;
    while (!done || ring.WaitFor(0)) {
        const TPlayEventEntry e = ring.Fetch();
        if (e.Kind != pekNone) last = e.Value;
    }
    poster.join();
    EXPECT_EQ(ring.Fetch().Kind, pekNone);
    EXPECT_EQ(last, 19999);
}

TEST_F(PlayerTest, PacketQueueCountsNodesAndPassesTheFlushMarkerByIdentity)
{
    TSDLCopy copy;
    TSDLLoader sdl;
    ASSERT_TRUE(sdl.Load(copy.Folder, copy.File));
    TPacketQueue q;
    PacketQueueInit(sdl, q);
    AVPacket flush{};
    AVPacket* packet = ff::av_packet_alloc();
    static uint8_t payload[100];
    packet->data = payload;  // not reference-counted: the queue copies it
    packet->size = 100;

    AVPacket* out = ff::av_packet_alloc();
    bool is_flush = true;
    EXPECT_EQ(PacketQueueGet(sdl, q, out, false, is_flush), 0);
    EXPECT_EQ(PacketQueuePut(sdl, q, &flush, &flush), 0);
    EXPECT_EQ(PacketQueuePut(sdl, q, packet, &flush), 0);
    EXPECT_EQ(q.nb_packets, 2);
    EXPECT_EQ(q.size, PacketNodeSize + 100 + PacketNodeSize);
    EXPECT_EQ(PacketQueueGet(sdl, q, out, false, is_flush), 1);
    EXPECT_TRUE(is_flush);
    EXPECT_EQ(PacketQueueGet(sdl, q, out, true, is_flush), 1);
    EXPECT_FALSE(is_flush);
    EXPECT_EQ(out->size, 100);
    EXPECT_EQ(q.size, 0);

    std::thread aborter([&] { PacketQueueAbort(sdl, q); });
    EXPECT_EQ(PacketQueueGet(sdl, q, out, true, is_flush), -1);  // a blocked get wakes on abort
    aborter.join();
    EXPECT_EQ(PacketQueuePut(sdl, q, packet, &flush), 0);
    EXPECT_EQ(PacketQueueGet(sdl, q, out, false, is_flush), -1);
    PacketQueueEnd(sdl, q);
    ff::av_packet_free(&out);
    packet->data = nullptr;
    packet->size = 0;
    ff::av_packet_free(&packet);
}

TEST(PlayerClock, TargetTimeKeepsTheLastDelayAcrossJumps)
{
    TVideoState is;
    is.av_sync_type = AV_SYNC_VIDEO_MASTER;
    is.frame_timer = 100.0;
    struct TCase {
        double Pts;
        double Target;
    };
    const TCase cases[] = {
        {1.00, 101.00},   // the first picture counts from the start
        {1.04, 101.04},
        {13.04, 101.08},  // 12 s ahead: a jump, the last delay stays
        {13.00, 101.12},  // backwards: the same
        {13.10, 101.22},
    };
    for (const TCase& c : cases) EXPECT_NEAR(ComputeTargetTime(is, c.Pts), c.Target, 1e-9) << c.Pts;

    // After a seek's flush the last time is not set: the first picture keeps the last delay, however far it is
    // from the start of the file.
    is.frame_last_pts = NAN;
    is.frame_last_delay = 0;
    EXPECT_NEAR(ComputeTargetTime(is, 3.0), 101.22, 1e-9);
    EXPECT_NEAR(ComputeTargetTime(is, 3.04), 101.26, 1e-9);
}

}  // namespace
