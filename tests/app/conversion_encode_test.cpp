// Whole conversions through the media engine's encoder, as the Start command runs them: jobs in three shipped
// formats with trim ranges, the same files merged into one, a cropped and brightened job, a cancelled run, and a
// run in which one job's file vanished before the start. Outputs are checked with ffprobe and ffmpeg.
#include "tests/app/conversion_fixture.h"

namespace {

using namespace conversion_test;

class ConversionEncodeTest : public ConversionTest {
protected:
    // A second of grey picture inside a black border of 10% on each side, 220 x 180.
    std::string BorderedClip()
    {
        return MakeClip("bordered.avi", "-f lavfi -i color=c=gray:size=176x144:rate=25 -t 1 "
                                        "-vf pad=220:180:22:18:black -c:v mpeg4 -q:v 2");
    }
};

constexpr int64_t kMs = 1000;
constexpr double kFrame15 = 1.0 / 15 + 0.002;  // one frame of the phone formats, and the container's rounding

TEST_F(ConversionEncodeTest, ThreeFormatsGiveThreeTrimmedOutputs)
{
    Trim(Add(MediaFixture("clip.avi"), "Phones and Tablets", "Phone 3GP - H.263 Video"), 200 * kMs, 800 * kMs);
    Trim(Add(MediaFixture("clip.ts"), "Phones and Tablets", "Phone MP4 - MPEG-4 Video"), 100 * kMs, 900 * kMs);
    Trim(Add(MediaFixture("multi.mkv"), "Audio Only", "MP3 - MPEG Layer 3 Audio"), 300 * kMs, 1000 * kMs);
    ASSERT_TRUE(FRun->Start(Out()));
    WaitForEnd();
    EXPECT_EQ(FReports, std::vector<std::string>{});
    EXPECT_TRUE(FRun->Succeeded());
    EXPECT_TRUE(Logged("-> Conversion successfully done."));
    EXPECT_EQ(FOpened, std::vector<std::string>{Out()});
    EXPECT_FALSE(FView.Shown);
    EXPECT_EQ(FView.MaxTotal, 100);

    struct Expected { const char* file; const char* video; const char* audio; const char* width; const char* height;
                      double seconds; double tolerance; };
    const Expected expected[] = {
        {"clip.3gp", "h263", "aac", "176", "144", 0.6, kFrame15},
        {"clip.mp4", "mpeg4", "aac", "320", "240", 0.8, kFrame15},
        {"multi.mp3", "", "mp3", "", "", 0.7, 0.03},  // one MP3 frame
    };
    for (const Expected& e : expected) {
        auto probe = Probe(Out(e.file));
        EXPECT_EQ(probe["video"], e.video) << e.file;
        EXPECT_EQ(probe["audio"], e.audio) << e.file;
        EXPECT_EQ(probe["width"], e.width) << e.file;
        EXPECT_EQ(probe["height"], e.height) << e.file;
        EXPECT_NEAR(std::stod(probe["duration"].empty() ? "0" : probe["duration"]), e.seconds, e.tolerance) << e.file;
    }
}

TEST_F(ConversionEncodeTest, MergedFilesLastAsLongAsTheirSum)
{
    int64_t sum = 0;
    sum += Add(MediaFixture("clip.avi"), "Phones and Tablets", "Phone 3GP - H.263 Video").TrimmedLength;
    sum += Add(MediaFixture("clip.ts"), "Phones and Tablets", "Phone MP4 - MPEG-4 Video").TrimmedLength;
    sum += Add(MediaFixture("multi.mkv"), "Audio Only", "MP3 - MPEG Layer 3 Audio").TrimmedLength;
    Trim(FJobs->Job(0), 200 * kMs, 800 * kMs);  // merging converts every file whole
    FJobs->SetRow(2);
    FRun->Merge = true;
    ASSERT_TRUE(FRun->Start(Out()));
    WaitForEnd();
    EXPECT_EQ(FReports, std::vector<std::string>{});
    EXPECT_TRUE(FRun->Succeeded());
    EXPECT_EQ(fs::directory_iterator(Out()) == fs::directory_iterator(), false);
    auto probe = Probe(Out("Joined.mp4"));
    EXPECT_EQ(probe["video"], "mpeg4");
    EXPECT_EQ(probe["audio"], "aac");
    EXPECT_EQ(probe["width"], "320");
    ASSERT_FALSE(probe["duration"].empty());
    EXPECT_NEAR(std::stod(probe["duration"]), sum / 1e6, kFrame15);
    EXPECT_EQ(std::distance(fs::directory_iterator(Out()), fs::directory_iterator()), 1);
}

TEST_F(ConversionEncodeTest, CropAndBrightnessShowInThePicture)
{
    const std::string clip = BorderedClip();
    TVideoFile& plain = Add(clip, "Phones and Tablets", "Phone 3GP - H.263 Video");
    plain.DestinationTitle = "plain";
    TVideoFile& edited = Add(clip, "Phones and Tablets", "Phone 3GP - H.263 Video");
    edited.DestinationTitle = "edited";
    edited.CropLeft = edited.CropRight = 22;  // 10% of each side
    edited.CropTop = edited.CropBottom = 18;
    edited.Brightness = 30;
    ASSERT_TRUE(FRun->Start(Out()));
    WaitForEnd();
    EXPECT_EQ(FReports, std::vector<std::string>{});

    auto probe = Probe(Out("edited.3gp"));
    EXPECT_EQ(probe["width"], "176");  // the crop leaves the frame's own size: no bars, no stretching
    EXPECT_EQ(probe["height"], "144");
    const std::string plain_luma = FirstLuma(Out("plain.3gp"));
    const std::string edited_luma = FirstLuma(Out("edited.3gp"));
    ASSERT_EQ(plain_luma.size(), 176u * 144u);
    ASSERT_EQ(edited_luma.size(), 176u * 144u);
    // The plain conversion keeps the black border; the edited one has none, and its grey is lighter.
    EXPECT_LT(static_cast<unsigned char>(plain_luma[0]), 40);
    EXPECT_GT(static_cast<unsigned char>(edited_luma[0]), static_cast<unsigned char>(plain_luma[72 * 176 + 88]) + 20);
    EXPECT_GT(MeanOf(edited_luma), MeanOf(plain_luma) + 20);
}

TEST_F(ConversionEncodeTest, CancellingLogsNoSuccess)
{
    Add(MediaFixture("clip.avi"), "Phones and Tablets", "Phone 3GP - H.263 Video");
    Add(MediaFixture("clip.ts"), "Phones and Tablets", "Phone MP4 - MPEG-4 Video");
    Add(MediaFixture("multi.mkv"), "Audio Only", "MP3 - MPEG Layer 3 Audio");
    ASSERT_TRUE(FRun->Start(Out()));
    FRun->PauseButtonClick();
    FRun->CancelButtonClick();
    WaitForEnd();
    EXPECT_FALSE(FRun->Succeeded());
    EXPECT_TRUE(Logged("-> Conversion cancelled by user."));
    EXPECT_FALSE(Logged("-> Conversion successfully done."));
    EXPECT_TRUE(FOpened.empty());
    EXPECT_FALSE(FView.Shown);
    EXPECT_FALSE(FJobs->Locked());
}

TEST_F(ConversionEncodeTest, AVanishedFileIsReportedAndTheOthersConvert)
{
    const std::string copy = (FFolder / "vanishing.avi").string();
    fs::copy_file(MediaFixture("clip.avi"), copy);
    Add(MediaFixture("clip.ts"), "Phones and Tablets", "Phone MP4 - MPEG-4 Video");
    Add(copy, "Phones and Tablets", "Phone 3GP - H.263 Video");
    Add(MediaFixture("multi.mkv"), "Audio Only", "MP3 - MPEG Layer 3 Audio");
    fs::remove(copy);
    ASSERT_TRUE(FRun->Start(Out()));
    WaitForEnd();
    ASSERT_EQ(FReports.size(), 1u);
    EXPECT_EQ(FReports[0].rfind("CLM_FFAddTaskToMeged: ", 0), 0u) << FReports[0];
    EXPECT_EQ(Probe(Out("clip.mp4"))["video"], "mpeg4");
    EXPECT_EQ(Probe(Out("multi.mp3"))["audio"], "mp3");
    EXPECT_FALSE(fs::exists(Out("vanishing.3gp")));
    EXPECT_FALSE(FRun->Succeeded());
    EXPECT_FALSE(Logged("-> Conversion successfully done."));
}

}  // namespace
