// Odd and damaged inputs and hostile output folders on the road a user's conversion takes: files whose length
// the probe gets wrong, outputs that would hold no media, options that would bring the encoder down, and names
// in the output folder that are not what they seem.
#include "tests/app/conversion_fixture.h"

#include "app/partial_files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

namespace {

using namespace conversion_test;

constexpr int64_t kMs = 1000;

// A copy of a transport stream in which the presentation time of the AIndex-th picture (counted from 1) is
// moved by AJump ticks of 90 kHz, its decoding time left as it is.
std::string WithPictureTimeJump(const std::string& ABytes, int AIndex, int64_t AJump)
{
    std::string bytes = ABytes;
    int pictures = 0;
    for (size_t p = 0; p + 188 <= bytes.size(); p += 188) {
        auto at = [&](size_t i) { return static_cast<uint8_t>(bytes[p + i]); };
        if (at(0) != 0x47 || (at(1) & 0x40) == 0 || (at(3) & 0x10) == 0) continue;
        const size_t pes = (at(3) & 0x20) != 0 ? 5 + at(4) : 4;
        if (pes + 19 > 188 || at(pes) != 0 || at(pes + 1) != 0 || at(pes + 2) != 1 || (at(pes + 3) & 0xF0) != 0xE0)
            continue;
        if ((at(pes + 7) & 0xC0) != 0xC0 || ++pictures != AIndex) continue;
        const size_t f = p + pes + 9;
        auto byte = [&](size_t i) { return static_cast<int64_t>(static_cast<uint8_t>(bytes[f + i])); };
        int64_t pts = ((byte(0) >> 1) & 7) << 30 | byte(1) << 22 | (byte(2) >> 1) << 15 | byte(3) << 7 | byte(4) >> 1;
        pts = (pts + AJump) & ((int64_t{1} << 33) - 1);
        bytes[f] = static_cast<char>(0x31 | ((pts >> 30) & 7) << 1);
        bytes[f + 1] = static_cast<char>(pts >> 22);
        bytes[f + 2] = static_cast<char>(((pts >> 15) & 0x7F) << 1 | 1);
        bytes[f + 3] = static_cast<char>(pts >> 7);
        bytes[f + 4] = static_cast<char>((pts & 0x7F) << 1 | 1);
        break;
    }
    return bytes;
}

class ConversionHostileTest : public ConversionTest {
protected:
    // A copy of AFile with the bytes from AFrom on changed (every one that is not a seventh).
    std::string Damaged(const std::string& AFile, const std::string& AName, size_t AFrom)
    {
        std::ifstream in(AFile, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), {});
        EXPECT_GT(bytes.size(), AFrom) << AFile;
        for (size_t i = AFrom; i < bytes.size(); ++i)
            if (i % 7 != 0) bytes[i] = static_cast<char>(bytes[i] ^ 0x5a);
        const std::string path = (FFolder / AName).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string Bytes(const std::string& AFile)
    {
        std::ifstream in(AFile, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }
    // The hidden partial files in the output folder.
    std::vector<std::string> PartialNames() const
    {
        std::vector<std::string> names;
        for (const std::string& name : OutputNames())
            if (name.find(".partial") != std::string::npos) names.push_back(name);
        return names;
    }
    // Starts the job tool converting AFile into the output folder; answers its process.
    pid_t StartTool(const std::string& AFile)
    {
        const pid_t child = fork();
        if (child == 0) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
            execl(QUENNARY_CONVERT_JOBS_TOOL, QUENNARY_CONVERT_JOBS_TOOL, "--out", Out().c_str(), "--format",
                  "General Video", "MP4 - MPEG-4 Video", AFile.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        return child;
    }
    // Waits (bounded) until the tool has written some of its partial file.
    bool WaitForPartial()
    {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < limit) {
            for (const std::string& name : PartialNames())
                if (fs::file_size(Out(name)) > 20000) return true;
            usleep(20000);
        }
        return false;
    }
    std::string Quiet(const std::string& ACommand) { return conversion_test::Run(ACommand + " 2>&1"); }
    double Seconds(const std::string& AFile, const char* AKey = "duration")
    {
        const std::string text = Probe(AFile)[AKey];
        return text.empty() || text == "N/A" ? 0 : std::stod(text);
    }
};

// Files whose probed length is shorter than what they hold: a VBR MP3 without an index header (its length is
// guessed from the first frame's rate), two TS recordings joined end to end, and a TS whose sound changes its
// layout half way. A job the user did not trim converts to the real end; a range the user set still cuts.
TEST_F(ConversionHostileTest, UntrimmedJobConvertsPastTheProbedLength)
{
    struct TCase {
        std::string File, Profile, Format, Ext;
        double Real;  // seconds
    };
    const std::string mp3 =
        MakeClip("vbr.mp3", "-f lavfi -i anoisesrc=r=44100:a=0.5 -f lavfi -i sine=f=440:r=44100 -filter_complex "
                            "\"[0]atrim=0:1[a];[1]atrim=0:9[b];[a][b]concat=n=2:v=0:a=1\" -c:a libmp3lame -q:a 0 "
                            "-write_xing 0");
    const std::string part = MakeClip("part.ts", "-f lavfi -i testsrc=size=64x48:rate=25 -f lavfi -i sine=r=44100 "
                                                 "-t 2 -c:v mpeg2video -c:a mp2");
    const std::string joined = (FFolder / "joined.ts").string();
    ASSERT_EQ(std::system(("cat '" + part + "' '" + part + "' > '" + joined + "'").c_str()), 0);
    const TCase cases[] = {
        {mp3, "Audio Only", "WAV - Uncompressed Audio", ".wav", 10.0},
        {joined, "General Video", "MP4 - MPEG-4 Video", ".mp4", 4.0},
        {MediaFixture("layout_change.ts"), "Audio Only", "WAV - Uncompressed Audio", ".wav", 2.0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        TVideoFile& job = Add(cases[i].File, cases[i].Profile, cases[i].Format);
        ASSERT_LT(job.SourceDuration, cases[i].Real * 1e6 * 0.8) << cases[i].File << ": the probe is right now";
        job.DestinationTitle = "whole" + std::to_string(i);
    }
    // The same MP3 cut by the user within its probed length, and from within to past it.
    Trim(Add(mp3, "Audio Only", "WAV - Uncompressed Audio"), 1000 * kMs, 3000 * kMs);
    FJobs->Job(FJobs->Count() - 1).DestinationTitle = "cut";
    ASSERT_TRUE(FRun->Start(Out()));
    WaitForEnd();
    EXPECT_EQ(FReports, std::vector<std::string>{});
    EXPECT_TRUE(FRun->Succeeded());
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_NEAR(Seconds(Out("whole" + std::to_string(i) + cases[i].Ext)), cases[i].Real, 0.15) << cases[i].File;
    EXPECT_NEAR(Seconds(Out("cut.wav")), 2.0, 0.05);
}

// A quantiser matrix with a 0 (the encoder would divide by it) or with something that is not a number, given
// in a format's extra parameters, is refused with a clear error before anything is written.
TEST_F(ConversionHostileTest, BadQuantiserMatrixIsRefused)
{
    std::string ones = "16";
    for (int i = 1; i < 64; ++i) ones += ",16";
    const std::string bad[] = {"0" + ones.substr(2), ones.substr(0, ones.size() - 2) + "x1"};
    for (const std::string& matrix : bad) {
        FReports.clear();
        FJobs->ClearAll();
        TFormatIndex pair = FormatPair("General Video", "MP4 - MPEG-4 Video");
        FCatalogue.FindFormat(pair)->ExtraParam = "inter_matrix=" + matrix;
        Add(MediaFixture("clip.avi"), pair);
        EXPECT_FALSE(FRun->Start(Out()));
        ASSERT_EQ(FReports.size(), 1u) << matrix;
        EXPECT_NE(FReports[0].find("Invalid matrix"), std::string::npos) << FReports[0];
        EXPECT_NE(FReports[0].find("whole number from 1 to 255"), std::string::npos) << FReports[0];
        EXPECT_EQ(OutputNames(), std::vector<std::string>{});
        EXPECT_FALSE(FJobs->Locked());
    }
}

// Inputs that open but of which nothing decodes: an 8-channel FLAC whose every frame is damaged, and a file
// whose every picture is damaged while its sound is whole. Such a task fails and leaves no output; a whole job
// of the same run still converts.
TEST_F(ConversionHostileTest, OutputWithoutDecodableMediaFails)
{
    const std::string flac = MakeClip("eight.flac", "-f lavfi -i sine=r=44100 -t 1 -ac 8 -c:a flac");
    const size_t first_frame = Bytes(flac).find("\xff\xf8", 42);
    ASSERT_NE(first_frame, std::string::npos);
    const std::string damaged_flac = Damaged(flac, "damaged.flac", first_frame + 2);
    const std::string no_picture = MakeClip("nopicture.mkv", "-f lavfi -i testsrc=size=64x48:rate=10 -f lavfi -i "
                                                             "sine=r=44100 -t 1 -c:v mjpeg -c:a pcm_s16le "
                                                             "-bsf:v noise=amount=1");
    // The damaged sound into each kind of output: without a check the MP4 came out as a file of a few hundred
    // bytes without streams, and the Matroska files as files that do not open.
    const struct {
        const char* Profile;
        const char* Format;
        const char* Title;
    } empty_outputs[] = {{"Audio Only", "WAV - Uncompressed Audio", "flac"},
                         {"General Video", "MP4 - MPEG-4 Video", "flac_mp4"},
                         {"Audio Only", "M4A - AAC Audio", "flac_m4a"},
                         {"General Video", "MKV - Matroska Video", "flac_mkv"},
                         {"HD Video", "HD MKV - 720p H.264 Video", "flac_hd_mkv"}};
    for (const auto& row : empty_outputs) Add(damaged_flac, row.Profile, row.Format).DestinationTitle = row.Title;
    Add(no_picture, "General Video", "MP4 - MPEG-4 Video").DestinationTitle = "nopicture";
    Add(MediaFixture("clip.avi"), "Audio Only", "WAV - Uncompressed Audio").DestinationTitle = "whole";
    ASSERT_TRUE(FRun->Start(Out()));
    WaitForEnd();
    EXPECT_FALSE(FRun->Succeeded());
    EXPECT_FALSE(Logged("Conversion successfully done."));
    ASSERT_EQ(FReports.size(), std::size(empty_outputs) + 1);
    for (const std::string& report : FReports) {
        EXPECT_EQ(report.rfind("CLM_Terminate: ", 0), 0u) << report;
        EXPECT_NE(report.find("is empty"), std::string::npos) << report;
    }
    EXPECT_EQ(OutputNames(), std::vector<std::string>{"whole.wav"});
}

// The output folder is the source's folder reached another way: a link to the source under the output's name
// (same device and inode), and a folder that is a symbolic link to the source's. The output takes the next free
// name; the source stays whole.
TEST_F(ConversionHostileTest, OutputThatIsTheSourceUnderAnotherNameIsNumbered)
{
    fs::create_directories(FFolder / "src");
    const std::string source = (FFolder / "src" / "clip.avi").string();
    fs::copy_file(MediaFixture("clip.avi"), source);
    const std::string bytes = Bytes(source);
    fs::create_hard_link(source, Out("linked.avi"));
    fs::create_directory_symlink(FFolder / "src", FFolder / "linkedfolder");
    struct TCase {
        std::string Folder, Title, Numbered;
    } const cases[] = {{Out(), "linked", Out("linked_1.avi")},
                       {(FFolder / "linkedfolder").string(), "clip", (FFolder / "src" / "clip_1.avi").string()}};
    for (const TCase& c : cases) {
        FReports.clear();
        FJobs->ClearAll();
        Add(source, "General Video", "AVI - MPEG-4 Video").DestinationTitle = c.Title;
        ASSERT_TRUE(FRun->Start(c.Folder)) << c.Folder;
        WaitForEnd();
        EXPECT_EQ(FReports, std::vector<std::string>{}) << c.Folder;
        EXPECT_TRUE(fs::is_regular_file(c.Numbered)) << c.Numbered;
        EXPECT_EQ(Bytes(source), bytes);
    }
}

// The same through a bind mount, on the converter's road as a user runs it (the job tool in a private mount
// name space): the output folder is the source's folder mounted a second time.
TEST_F(ConversionHostileTest, OutputFolderThatIsABindMountOfTheSourceFolderIsNumbered)
{
    if (std::system("unshare -rm true >/dev/null 2>&1") != 0) GTEST_SKIP() << "no private mount name spaces here";
    fs::create_directories(FFolder / "src");
    fs::create_directories(FFolder / "mounted");
    const std::string source = (FFolder / "src" / "clip.avi").string();
    fs::copy_file(MediaFixture("clip.avi"), source);
    const std::string bytes = Bytes(source);
    const std::string mounted = (FFolder / "mounted").string();
    const std::string text = Quiet("unshare -rm sh -c \"mount --bind '" + (FFolder / "src").string() + "' '" +
                                   mounted + "' && '" QUENNARY_CONVERT_JOBS_TOOL "' --out '" + mounted +
                                   "' --format 'General Video' 'AVI - MPEG-4 Video' '" + source + "'; echo status=\\$?\"");
    EXPECT_NE(text.find("status=0"), std::string::npos) << text;
    EXPECT_EQ(Bytes(source), bytes) << "the source is no longer the clip";
    EXPECT_TRUE(fs::is_regular_file(FFolder / "src" / "clip_1.avi")) << text;
}

// Output names near the file system's limit (248 to 251 bytes, in Latin and in three-byte characters) get a
// partial name within it and convert; an entry of the output's name that is not a regular file (a pipe, a
// folder, a link) is refused and stays.
TEST_F(ConversionHostileTest, LongOutputNamesConvertAndOddEntriesStay)
{
    std::vector<std::string> expected;
    for (size_t length : {248u, 251u}) {
        for (const std::string unit : {"a", "\xe6\x97\xa5"}) {
            std::string title;
            while (title.size() + unit.size() <= length - 4) title += unit;
            while (title.size() < length - 4) title += "b";
            Add(MediaFixture("clip.avi"), "Audio Only", "WAV - Uncompressed Audio").DestinationTitle = title;
            expected.push_back(title + ".wav");
        }
    }
    ASSERT_TRUE(FRun->Start(Out()));
    WaitForEnd();
    EXPECT_EQ(FReports, std::vector<std::string>{});
    EXPECT_TRUE(FRun->Succeeded());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(OutputNames(), expected);

    for (const std::string& name : OutputNames()) fs::remove(Out(name));
    ASSERT_EQ(mkfifo(Out("pipe.wav").c_str(), 0600), 0);
    fs::create_directory(Out("folder.wav"));
    std::ofstream(FFolder / "target.wav") << "the user's own file";
    fs::create_symlink(FFolder / "target.wav", Out("link.wav"));
    for (const char* title : {"pipe", "folder", "link"}) {
        FReports.clear();
        FJobs->ClearAll();
        Add(MediaFixture("clip.avi"), "Audio Only", "WAV - Uncompressed Audio").DestinationTitle = title;
        EXPECT_FALSE(FRun->Start(Out())) << title;
        ASSERT_EQ(FReports.size(), 1u) << title;
        EXPECT_NE(FReports[0].find("exists and is not a regular file"), std::string::npos) << FReports[0];
    }
    EXPECT_TRUE(fs::is_fifo(Out("pipe.wav")));
    EXPECT_TRUE(fs::is_directory(fs::symlink_status(Out("folder.wav"))));
    EXPECT_TRUE(fs::is_symlink(Out("link.wav")));
    EXPECT_EQ(Bytes((FFolder / "target.wav").string()), "the user's own file");
    EXPECT_EQ(OutputNames(), (std::vector<std::string>{"folder.wav", "link.wav", "pipe.wav"}));
}

// Audio with a cover picture converts in every preset that has a picture (MP4, MOV, 3GP): the cover is the
// picture, the sound is whole.
TEST_F(ConversionHostileTest, AudioWithACoverConverts)
{
    const std::pair<const char*, const char*> formats[] = {{"General Video", "MP4 - MPEG-4 Video"},
                                                           {"General Video", "MP4 - H.264 Video"},
                                                           {"General Video", "MOV - QuickTime Video"},
                                                           {"Phones and Tablets", "Phone 3GP - H.263 Video"}};
    std::vector<std::string> outputs;
    for (const auto& [profile, format] : formats) {
        TVideoFile& job = Add(MediaFixture("cover.mp3"), profile, format);
        job.DestinationTitle = "cover" + std::to_string(outputs.size());
        outputs.push_back(job.DestinationTitle + FCatalogue.FindFormat({job.ProfileInd, job.FormatInd})->FormatExt);
    }
    ASSERT_TRUE(FRun->Start(Out()));
    WaitForEnd();
    EXPECT_EQ(FReports, std::vector<std::string>{});
    EXPECT_TRUE(FRun->Succeeded());
    for (const std::string& output : outputs) {
        auto probe = Probe(Out(output));
        EXPECT_FALSE(probe["video"].empty()) << output;
        EXPECT_FALSE(probe["audio"].empty()) << output;
        EXPECT_NEAR(Seconds(Out(output), "audio_duration"), 1.0, 0.1) << output;
        EXPECT_GT(MeanOf(FirstLuma(Out(output))), 30) << output << ": the cover is not the picture";
    }
}

// A run killed outright (kill -9) leaves its partial file; the next run in that folder removes it. A partial file
// a running conversion holds, and a file of such a name that this program did not make, stay.
TEST_F(ConversionHostileTest, StalePartialFilesAreRemovedWhenARunStarts)
{
    const pid_t tool = StartTool(MediaFixture("long.avi"));
    ASSERT_TRUE(WaitForPartial()) << "the tool wrote no partial file";
    kill(tool, SIGKILL);
    int status = 0;
    waitpid(tool, &status, 0);
    ASSERT_EQ(PartialNames(), std::vector<std::string>{".long.partial.mp4"});

    std::ofstream(Out(".mine.partial.mp4")) << "the user's own file";
    const int held = CreatePartialFile(Out(".held.partial.mp4"));
    ASSERT_GE(held, 0);
    Add(MediaFixture("clip.avi"), "Audio Only", "WAV - Uncompressed Audio");
    ASSERT_TRUE(FRun->Start(Out()));
    WaitForEnd();
    EXPECT_TRUE(FRun->Succeeded());
    EXPECT_EQ(OutputNames(), (std::vector<std::string>{".held.partial.mp4", ".mine.partial.mp4", "clip.wav"}));
    EXPECT_EQ(Bytes(Out(".mine.partial.mp4")), "the user's own file");
    ClosePartialFile(held);
}

// Two termination requests in a row still let the tool remove what it was writing.
TEST_F(ConversionHostileTest, SecondTerminationRequestDoesNotSkipTheCleanUp)
{
    const pid_t tool = StartTool(MediaFixture("long.avi"));
    ASSERT_TRUE(WaitForPartial()) << "the tool wrote no partial file";
    kill(tool, SIGTERM);
    kill(tool, SIGTERM);
    int status = 0;
    ASSERT_EQ(waitpid(tool, &status, 0), tool);
    EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_NE(WEXITSTATUS(status), 0);
    EXPECT_EQ(OutputNames(), std::vector<std::string>{});
}

// An output folder that cannot be written (a read-only mount): the error names the output, not the hidden name
// it would have been written under.
TEST_F(ConversionHostileTest, ReadOnlyFolderErrorNamesTheOutput)
{
    if (std::system("unshare -rm true >/dev/null 2>&1") != 0) GTEST_SKIP() << "no private mount name spaces here";
    const std::string text = Quiet("unshare -rm sh -c \"mount --bind '" + Out() + "' '" + Out() +
                                   "' && mount -o remount,ro,bind '" + Out() + "' && '" QUENNARY_CONVERT_JOBS_TOOL
                                   "' --out '" + Out() + "' --format 'Audio Only' 'WAV - Uncompressed Audio' '" +
                                   MediaFixture("clip.avi") + "'; echo status=\\$?\"");
    EXPECT_NE(text.find("Cannot set output file: " + Out("clip.wav")), std::string::npos) << text;
    EXPECT_EQ(text.find(".partial"), std::string::npos) << text;
    EXPECT_EQ(text.find("status=0"), std::string::npos) << text;
}

// A 1-second recording of which one picture claims to be shown 25.7 hours later (the file's length reads
// 25.7 h): converted in its own length, not with that picture repeated for hours.
TEST_F(ConversionHostileTest, PictureTimeJumpInATransportStreamIsTakenAsDamage)
{
    const std::string clip = MakeClip("one.ts", "-f lavfi -i testsrc=size=160x120:rate=25 -f lavfi -i sine=r=48000 "
                                                "-t 1 -c:v mpeg2video -c:a mp2");
    const std::string damaged = (FFolder / "jump.ts").string();
    const std::string bytes = Bytes(clip);
    const std::string jumped = WithPictureTimeJump(bytes, 5, int64_t{92520} * 90000);
    ASSERT_NE(jumped, bytes) << "no picture with both times in the clip";
    std::ofstream(damaged, std::ios::binary) << jumped;
    Add(damaged, "General Video", "MP4 - MPEG-4 Video");
    ASSERT_TRUE(FRun->Start(Out()));
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    WaitForEnd([&] {
        if (std::chrono::steady_clock::now() > limit && FRun->Running()) FRun->CancelButtonClick();
    });
    EXPECT_TRUE(FRun->Succeeded()) << "still converting after a minute";
    EXPECT_NEAR(Seconds(Out("jump.mp4"), "video_duration"), 1.0, 0.2);
}

}  // namespace
