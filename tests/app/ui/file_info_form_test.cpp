// The File Information dialog for real probed files: the texts its value labels show, what a later file keeps of
// an earlier one, and what a file that does not load writes to the events log and the error report.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/events_log.h"
#include "app/ui/file_info_form.h"
#include "media/decode/custom_decoder.h"
#include "platform/backend/headless/headless_backend.h"
#include "platform/gui/application.h"
#include "platform/rtl/clock.h"
#include "skin/controls/label_box.h"
#include "tests/fixtures/media_fixtures.h"

namespace {

namespace fs = std::filesystem;

struct TReported {
    std::string Text, Mark;
};

class FileInfoForm : public MediaEngineTest {
protected:
    void SetUp() override
    {
        MediaEngineTest::SetUp();
        win::SetBackend(&Display);
        App = std::make_unique<TApplication>(nullptr);
        Form = new TFileInfoForm(App.get(), nullptr);
        Decoder = std::make_unique<TCustomDecoder>(nullptr);
    }
    void TearDown() override
    {
        Decoder.reset();
        App.reset();
        headless::THeadlessBackend::ProcessMessages();
        win::SetBackend(nullptr);
        MediaEngineTest::TearDown();
    }

    // Probes the file as the main window's command does; the form shows what it found.
    // Every probe starts from empty texts, as the application's command does.
    bool Probe(const std::string& APath)
    {
        TFileInfoTexts texts;
        const bool loaded = LoadFileInformation(*Decoder, APath, texts, Log, [this](const std::string& AText,
                                                                                    const std::string& AMark) {
            Reported.push_back({AText, AMark});
        });
        if (loaded) Form->ShowTexts(texts);
        return loaded;
    }

    // The value labels in the order of the dialog, top to bottom.
    std::vector<std::string> Shown() const
    {
        return {Form->spSkinLabel2->Caption(), Form->spSkinLabel3->Caption(), Form->spSkinLabel5->Caption(),
                Form->spSkinLabel4->Caption(), Form->spSkinLabel1->Caption(), Form->spSkinLabel8->Caption(),
                Form->spSkinLabel7->Caption(), Form->spSkinLabel6->Caption()};
    }

    TVirtualClock Clock{int64_t(1) << 32};
    TClockOverride ClockScope{Clock};
    headless::THeadlessBackend Display;
    std::unique_ptr<TApplication> App;
    TFileInfoForm* Form = nullptr;
    std::unique_ptr<TCustomDecoder> Decoder;
    TEventsLog Log{[] { return std::string("11:22:33"); }};
    std::vector<TReported> Reported;
};

// Video without a bit rate of its own, then two audio streams that differ, in Matroska.
std::string TwoAudioStreams()
{
    const fs::path path = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" / "two-audio.mkv";
    fs::create_directories(path.parent_path());
    const std::string command =
        "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i testsrc=size=176x144:rate=25 "
        "-f lavfi -i sine=sample_rate=48000 -f lavfi -i sine=sample_rate=22050 -t 1 -map 0:v -map 1:a -map 2:a "
        "-c:v mpeg4 -q:v 5 -c:a:0 ac3 -ac:a:0 2 -b:a:0 192k -c:a:1 pcm_s16le -ac:a:1 1 '" +
        path.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return path.string();
}

TEST_F(FileInfoForm, ProbedFilesShowTheirTextsAndAMissingKindShowsItsGroupEmpty)
{
    // "*" stands for a bit rate of any value: these encoders' rates vary with their versions, only the form is pinned.
    struct TCase {
        const char* Name;
        std::string Path;
        std::vector<std::string> Shown;  // name, length; frame rate, bit rate, resolution; bit rate, channels, rate
    } cases[] = {
        {"video only, first use", MediaFixture("bframes.mp4"), {"bframes.mp4", "00:00:02", "25 fps", "*", "160x120", "", "", ""}},
        {"video and PCM sound", MediaFixture("clip.avi"),
         {"clip.avi", "00:00:01", "25 fps", "*", "160x120", "352 Kb", "1 channel", "22050 Hz"}},
        // 30000/1001 rounds to 30.
        {"NTSC rate, portrait", MediaFixture("tall2997.mp4"),
         {"tall2997.mp4", "00:00:01", "30 fps", "*", "120x160", "*", "1 channel", "48000 Hz"}},
        // Sound only after a file with pictures: the video group is empty, not the previous file's.
        {"sound only", MediaFixture("six.wav"), {"six.wav", "00:00:01", "", "", "", "4608 Kb", "6 channel", "48000 Hz"}},
        // Two audio streams: the second one's values; Matroska gives the video no bit rate.
        {"two audio streams", TwoAudioStreams(),
         {"two-audio.mkv", "00:00:01", "25 fps", "is not preseted", "176x144", "352 Kb", "1 channel", "22050 Hz"}},
        // Pictures only after a file with sound: the audio group is empty.
        {"video only again", MediaFixture("bframes.mp4"), {"bframes.mp4", "00:00:02", "25 fps", "*", "160x120", "", "", ""}},
    };
    for (TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        ASSERT_TRUE(Probe(c.Path)) << Decoder->LastErrMsg();
        std::vector<std::string> shown = Shown();
        for (size_t i : {3u, 5u}) {
            if (c.Shown[i] != "*") continue;
            EXPECT_TRUE(shown[i] == "is not preseted" || shown[i].ends_with(" Kb")) << shown[i];
            c.Shown[i] = shown[i];
        }
        EXPECT_EQ(shown, c.Shown);
    }
    EXPECT_TRUE(Reported.empty());
    EXPECT_TRUE(Log.Lines().empty());
}

TEST_F(FileInfoForm, AFileThatDoesNotLoadIsLoggedAndReportedAndChangesNothing)
{
    ASSERT_TRUE(Probe(MediaFixture("clip.avi")));
    const std::vector<std::string> before = Shown();
    for (const char* name : {"not_media.mp4", "no such file.mp4"}) {
        SCOPED_TRACE(name);
        Reported.clear();
        EXPECT_FALSE(Probe(MediaFixture(name)));
        const std::string why = Decoder->LastErrMsg();
        EXPECT_FALSE(why.empty());
        const std::vector<std::string> tail(Log.Lines().end() - 3, Log.Lines().end());
        EXPECT_EQ(tail, (std::vector<std::string>{"", "11:22:33-> File load error: " + why, ""}));
        ASSERT_EQ(Reported.size(), 1u);
        EXPECT_EQ(Reported[0].Text, "The information for this media is unavailable." + why);
        EXPECT_EQ(Reported[0].Mark, "CLM_ProbeLoadFile");
        EXPECT_EQ(Shown(), before);
    }
}

}  // namespace
