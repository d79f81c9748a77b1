// Damaged files played to their end: a file cut in the middle of a packet, bytes overwritten in its middle, a
// transport stream with broken packets, a file cut right after its header. The playback reaches its end (or Open
// refuses the file), stops, and leaves no thread of it running.
#include <dirent.h>
#include <sys/stat.h>

#include <fstream>
#include <iostream>
#include <iterator>

#include "tests/media/player_test_support.h"

namespace {

std::string ReadBytes(const std::string& APath)
{
    std::ifstream in(APath, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The threads of this process now.
int ThreadCount()
{
    int count = 0;
    if (DIR* dir = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.') ++count;
        closedir(dir);
    }
    return count;
}

// How a damaged copy is made from a sound fixture's bytes.
enum class TDamage {
    CutAt,         // the first Where bytes only
    Overwrite,     // Length bytes from Where on set to a repeating pattern
    BreakTS,       // from Where on, Length transport packets lose their sync byte and get noise in their payload
};

struct TDamagedCase {
    const char* Name;
    const char* Source;
    TDamage Damage;
    double Where;  // a fraction of the file, or a byte offset when above 1
    size_t Length;
};

std::string Damaged(const std::string& ABytes, const TDamagedCase& ACase)
{
    std::string bytes = ABytes;
    const size_t at = ACase.Where > 1 ? static_cast<size_t>(ACase.Where)
                                      : static_cast<size_t>(ACase.Where * static_cast<double>(bytes.size()));
    switch (ACase.Damage) {
    case TDamage::CutAt:
        bytes.resize(std::min(at, bytes.size()));
        break;
    case TDamage::Overwrite:
        for (size_t i = at; i < at + ACase.Length && i < bytes.size(); ++i)
            bytes[i] = static_cast<char>((i * 167 + 13) & 0xFF);
        break;
    case TDamage::BreakTS: {
        size_t packet = at / 188 * 188;
        for (size_t n = 0; n < ACase.Length && packet + 188 <= bytes.size(); ++n, packet += 188 * 3) {
            bytes[packet] = 0x00;
            for (size_t i = packet + 8; i < packet + 188; i += 5) bytes[i] = static_cast<char>(i * 31);
        }
        break;
    }
    }
    return bytes;
}

// Prints a case by its name in the test's messages.
void PrintTo(const TDamagedCase& ACase, std::ostream* AOut) { *AOut << ACase.Name; }

class PlayerToTheEnd : public PlayerTest {
protected:
    // Plays AName to its end (or has Open refuse it), stops, and checks that every thread of the playback has
    // gone once the player has.
    void PlayToTheEnd(const std::string& AName)
    {
        {
            // Threads that live as long as the process (the sanitizer's, the sound system's) start with the
            // first playback: one whole playback first, so that only the damaged one's are counted.
            TRecordingPlayer warm;
            ASSERT_TRUE(warm.LoadSDL()) << warm.Player->LastErrMsg();
            ASSERT_TRUE(warm.Player->Open(MediaFixture("clip.ts"))) << warm.Player->LastErrMsg();
            warm.Player->Stop(true);
        }
        const int threads_before = ThreadCount();
        {
            TRecordingPlayer p;
            ASSERT_TRUE(p.LoadSDL()) << p.Player->LastErrMsg();
            if (p.Player->Open(AName)) {
                const bool ended = WaitUntil([&] { return p.Saw(psEnd); }, 60000);
                EXPECT_TRUE(ended) << "the playback never ended";
                if (!ended)
                    for (const TLoggedLine& line : Lines()) std::cerr << "log: " << line.Text << '\n';
                p.Player->Stop(true);
                EXPECT_TRUE(WaitUntil([&] { return p.Saw(psStop); }, 30000));
            } else {
                EXPECT_FALSE(p.Player->LastErrMsg().empty());
            }
        }
        EXPECT_TRUE(WaitUntil([&] { return ThreadCount() <= threads_before; }, 30000))
            << ThreadCount() - threads_before << " thread(s) of the playback still run";
    }
};

class PlayerDamaged : public PlayerToTheEnd, public ::testing::WithParamInterface<TDamagedCase> {};

TEST_P(PlayerDamaged, PlaysToTheEndStopsAndJoinsItsThreads)
{
    const TDamagedCase& c = GetParam();
    const std::string source = MediaFixture(c.Source);
    const std::string path = CreateUniqueTempFile("damaged-", source.substr(source.rfind('.')));
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << Damaged(ReadBytes(source), c);
    }
    PlayToTheEnd(path);
    unlink(path.c_str());
}

// A read that fails (not the end of the file): the concatenation's second part is a folder, which cannot be read.
// What was read plays, and the playback ends as at the end of the file.
TEST_F(PlayerToTheEnd, AReadErrorEndsThePlayback)
{
    const std::string folder = CreateUniqueTempFile("unreadable-");
    unlink(folder.c_str());
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    for (const char* file : {"clip.ts", "tagged.mp3"}) {
        SCOPED_TRACE(file);
        PlayToTheEnd("concat:" + MediaFixture(file) + "|" + folder);
    }
    rmdir(folder.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Files, PlayerDamaged,
    ::testing::Values(TDamagedCase{"avi_cut_mid_packet", "long.avi", TDamage::CutAt, 0.55, 0},
                      TDamagedCase{"mp4_cut_mid_packet", "tall2997.mp4", TDamage::CutAt, 0.6, 0},
                      TDamagedCase{"ts_cut_mid_packet", "clip.ts", TDamage::CutAt, 0.5, 0},
                      TDamagedCase{"mkv_cut_mid_packet", "multi.mkv", TDamage::CutAt, 0.5, 0},
                      TDamagedCase{"mp3_cut_mid_frame", "tagged.mp3", TDamage::CutAt, 0.5, 0},
                      TDamagedCase{"avi_overwritten", "long.avi", TDamage::Overwrite, 0.4, 20000},
                      TDamagedCase{"mp4_overwritten", "bframes.mp4", TDamage::Overwrite, 0.3, 3000},
                      TDamagedCase{"mkv_overwritten", "circle.mkv", TDamage::Overwrite, 0.5, 2000},
                      TDamagedCase{"ts_overwritten", "damaged.ts", TDamage::Overwrite, 0.5, 9000},
                      TDamagedCase{"ts_broken_packets", "clip.ts", TDamage::BreakTS, 0.3, 60},
                      TDamagedCase{"ts_cut_after_header", "clip.ts", TDamage::CutAt, 188 * 3, 0},
                      TDamagedCase{"mkv_cut_after_header", "multi.mkv", TDamage::CutAt, 0.08, 0},
                      TDamagedCase{"avi_cut_after_header", "clip.avi", TDamage::CutAt, 0.03, 0},
                      TDamagedCase{"mp3_cut_after_header", "tagged.mp3", TDamage::CutAt, 0.1, 0}),
    [](const auto& AInfo) { return std::string(AInfo.param.Name); });

}  // namespace
