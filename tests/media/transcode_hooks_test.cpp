// Frame hooks, video hooks, post hooks and the preview window of a transcoding task.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <thread>

#include "media/decode/bitmap_transfer.h"
#include "media/loader/av_bindings.h"
#include "media/preview/hook_bitmaps.h"
#include "media/preview/previewer.h"
#include "media/transcode/ffmpeg.h"
#include "media/transcode/frame_hook.h"
#include "platform/backend/headless/headless_backend.h"
#include "platform/gui/application.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/forms.h"
#include "platform/gdi/drawing.h"
#include "platform/win/geometry.h"
#include "platform/win/painting.h"
#include "platform/rtl/main_thread_queue.h"
#include "platform/rtl/sysutils.h"
#include "tests/fixtures/media_fixtures.h"

namespace {

const std::string WorkFolder = QUENNARY_BINARY_DIR "/tests/media/transcode_hooks";

std::string Plugin(const std::string& AFlavour)
{
    return QUENNARY_BINARY_DIR "/tests/media/hook_plugins/libhook_" + AFlavour + ".so";
}

// A counter the test plug-in exports; the library is the one the hooks loaded (dlopen hands out the same one).
int PluginCounter(const std::string& AFlavour, const char* AName)
{
    void* module = dlopen(Plugin(AFlavour).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) return -1;
    auto* counter = reinterpret_cast<int (*)()>(dlsym(module, AName));
    const int value = counter != nullptr ? counter() : -1;
    dlclose(module);
    return value;
}

// Ten pictures of 64x48 test pattern at 25 fps, MPEG-4 in AVI, no sound.
std::string Clip()
{
    const std::string path = WorkFolder + "/clip.avi";
    if (!FileExists(path)) {
        const std::string temporary = path + "." + std::to_string(getpid()) + ".tmp";
        const std::string command = "mkdir -p '" + WorkFolder + "' && ffmpeg -nostdin -hide_banner -loglevel error -y "
                                    "-f lavfi -i testsrc=size=64x48:rate=25 -frames:v 10 -c:v mpeg4 -q:v 2 -f avi '" +
                                    temporary + "' && mv '" + temporary + "' '" + path + "'";
        if (std::system(command.c_str()) != 0) ADD_FAILURE() << command;
    }
    return path;
}

constexpr int ClipWidth = 64;
constexpr int ClipHeight = 48;
constexpr int ClipFrames = 10;

// The luma planes of a raw 4:2:0 file: picture count and mean.
struct TLuma {
    int Frames = 0;
    double Mean = 0;
};

TLuma RawLuma(const std::string& AFile)
{
    std::ifstream file(AFile, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const size_t plane = ClipWidth * ClipHeight;
    const size_t frame = plane * 3 / 2;
    TLuma luma;
    double sum = 0;
    for (size_t start = 0; start + frame <= bytes.size(); start += frame, ++luma.Frames)
        for (size_t i = 0; i < plane; ++i) sum += static_cast<uint8_t>(bytes[start + i]);
    if (luma.Frames > 0) luma.Mean = sum / static_cast<double>(plane * luma.Frames);
    return luma;
}

const std::vector<std::pair<std::string, std::string>> RawOutput = {
    {"f", "rawvideo"}, {"vcodec", "rawvideo"}, {"pix_fmt", "yuv420p"}};

class TranscodeHooksTest : public MediaEngineTest {
protected:
    TranscodeHooksTest() : MediaEngineTest(AllLibraries) {}
    void SetUp() override
    {
        MediaEngineTest::SetUp();
        win::SetBackend(&Display);
        App = std::make_unique<TApplication>(nullptr);
        InstallHookBitmaps();
    }
    void TearDown() override
    {
        SetHookBitmaps(nullptr);
        // Windows freed by conversion threads are freed here, on the main thread.
        while (CheckSynchronize()) {}
        App.reset();
        headless::THeadlessBackend::ProcessMessages();
        win::SetBackend(nullptr);
        MediaEngineTest::TearDown();
    }

    // Opens the clip and the output with AOptions; the caller starts the task.
    void Prepare(TFFmpeg& ATask, const std::string& AOutput,
                 const std::vector<std::pair<std::string, std::string>>& AOptions)
    {
        std::remove(AOutput.c_str());
        ASSERT_TRUE(ATask.OpenInputFile(Clip())) << ATask.LastErrMsg();
        for (const auto& [name, value] : AOptions) ATask.SetExtOption(name, value);
        for (const auto& [name, value] : RawOutput) ATask.SetExtOption(name, value);
        ASSERT_GT(ATask.OpenOutputFile(AOutput, false), 0) << ATask.LastErrMsg();
    }
    TLuma Convert(TFFmpeg& ATask, const std::string& AName,
                  const std::vector<std::pair<std::string, std::string>>& AOptions = {})
    {
        const std::string output = WorkFolder + "/" + AName;
        Prepare(ATask, output, AOptions);
        ATask.StartConvert(false);
        EXPECT_TRUE(ATask.Finished()) << ATask.FatalMessage();
        return RawLuma(output);
    }
    // Tests run in parallel processes: each converts its own plain copy.
    TLuma Plain()
    {
        TFFmpeg task(2);
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        return Convert(task, test + "-plain.yuv");
    }
    bool LoggedStart(const std::string& APrefix, TLogLevel ALevel)
    {
        for (const TLoggedLine& line : Lines())
            if (line.Level == ALevel && line.Text.rfind(APrefix, 0) == 0) return true;
        return false;
    }

    headless::THeadlessBackend Display;
    std::unique_ptr<TApplication> App;
};

TEST_F(TranscodeHooksTest, AddingAHookAnswersTheCodeOfEachFailure)
{
    struct TCase {
        std::vector<std::string> Words;
        int Result;
        std::string Logged;  // a line that starts so, at error level
    };
    const TCase cases[] = {
        {{}, -2, ""},
        {{WorkFolder + "/no-such-hook.so"}, -1, WorkFolder + "/no-such-hook.so"},
        {{Plugin("no_process")}, -2, "Failed to find Process entrypoint in " + Plugin("no_process")},
        {{Plugin("no_configure"), "x"}, -2, "Failed to find Configure entrypoint in " + Plugin("no_configure")},
        {{Plugin("invert"), "fail"}, -22, "Failed to Configure " + Plugin("invert")},
        {{Plugin("no_configure")}, 0, ""},
        {{Plugin("invert"), "a", "b"}, 0, ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Words.empty() ? std::string("no words") : c.Words.back());
        ClearLines();
        std::vector<std::string> words = c.Words;
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        TFrameHookEntry* chain = nullptr;
        EXPECT_EQ(FrameHookAdd(chain, static_cast<int>(words.size()), argv.data()), c.Result);
        EXPECT_EQ(chain != nullptr, c.Result == 0);
        if (!c.Logged.empty()) {
            EXPECT_TRUE(LoggedStart(c.Logged, llError)) << c.Logged;
        }
        FrameHookRelease(chain);
        EXPECT_EQ(chain, nullptr);
    }
}

TEST_F(TranscodeHooksTest, OneLibraryAddedTwiceRunsWithTwoContextsInChainOrder)
{
    const int configured = PluginCounter("invert", "HookConfigured");
    const int released = PluginCounter("invert", "HookReleased");
    const int processed = PluginCounter("invert", "HookProcessed");
    std::string path = Plugin("invert");
    char* argv[] = {path.data(), nullptr};
    TFrameHookEntry* chain = nullptr;
    ASSERT_EQ(FrameHookAdd(chain, 1, argv), 0);
    ASSERT_EQ(FrameHookAdd(chain, 1, argv), 0);
    ASSERT_NE(chain->next, nullptr);
    EXPECT_EQ(chain->next->next, nullptr);
    EXPECT_EQ(chain->Process, chain->next->Process);  // one library
    EXPECT_NE(chain->ctx, chain->next->ctx);
    EXPECT_EQ(PluginCounter("invert", "HookConfigured"), configured + 2);
    EXPECT_EQ(PluginCounter("invert", "HookContextsDiffer"), 1);

    // Two inversions give the picture back.
    uint8_t luma[4 * 2] = {0, 10, 20, 30, 40, 50, 60, 255};
    QuennaryHookPicture picture{{luma, nullptr, nullptr, nullptr}, {4, 0, 0, 0}};
    FrameHookProcess(chain, &picture, AV_PIX_FMT_GRAY8, 4, 2, 0);
    EXPECT_EQ(luma[1], 10);
    EXPECT_EQ(luma[7], 255);
    EXPECT_EQ(PluginCounter("invert", "HookProcessed"), processed + 2);

    FrameHookRelease(chain);
    EXPECT_EQ(chain, nullptr);
    EXPECT_EQ(PluginCounter("invert", "HookReleased"), released + 2);

    // A hook without Release is freed without a call.
    std::string bare = Plugin("no_release");
    char* bare_argv[] = {bare.data(), nullptr};
    ASSERT_EQ(FrameHookAdd(chain, 1, bare_argv), 0);
    FrameHookRelease(chain);
    EXPECT_EQ(chain, nullptr);
}

TEST_F(TranscodeHooksTest, TheVhookOptionRunsThePluginOnEveryDecodedPicture)
{
    const TLuma plain = Plain();
    ASSERT_EQ(plain.Frames, ClipFrames);
    const int processed = PluginCounter("invert", "HookProcessed");
    const int released = PluginCounter("invert", "HookReleased");
    TFFmpeg task(2);
    const TLuma hooked = Convert(task, "vhook.yuv", {{"vhook", Plugin("invert") + " some argument"}});
    EXPECT_EQ(hooked.Frames, ClipFrames);
    EXPECT_NEAR(hooked.Mean, 255.0 - plain.Mean, 1.0);
    EXPECT_EQ(PluginCounter("invert", "HookProcessed"), processed + ClipFrames);
    // The chain ends with its task.
    EXPECT_EQ(PluginCounter("invert", "HookReleased"), released + 1);

    TFFmpeg refused(2);
    try {
        refused.SetExtOption("vhook", Plugin("invert") + "|fail");
        ADD_FAILURE() << "a refused hook was taken";
    } catch (const FFmpegException& e) {
        EXPECT_EQ(e.Message(), "Failed to add video hook function: " + Plugin("invert") + "|fail");
    }
}

TEST_F(TranscodeHooksTest, DeinterlacingRebuildsEverySecondRowOfEachPicture)
{
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    TFFmpeg plain_task(2);
    Convert(plain_task, test + "-plain.yuv");
    TFFmpeg task(2);
    Convert(task, test + ".yuv", {{"deinterlace", "1"}});
    EXPECT_FALSE(Logged("Deinterlacing failed.", llError));
    auto read = [](const std::string& AFile) {
        std::ifstream file(AFile, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    };
    const std::string plain = read(WorkFolder + "/" + test + "-plain.yuv");
    const std::string deinterlaced = read(WorkFolder + "/" + test + ".yuv");
    ASSERT_EQ(plain.size(), deinterlaced.size());
    ASSERT_EQ(plain.size(), size_t{ClipWidth * ClipHeight * 3 / 2 * ClipFrames});
    int odd_rows_changed = 0;
    for (int row = 0; row < ClipHeight; ++row) {  // the luma plane of the first picture
        const bool same = plain.compare(row * ClipWidth, ClipWidth, deinterlaced, row * ClipWidth, ClipWidth) == 0;
        if (row % 2 == 0) {
            EXPECT_TRUE(same) << "row " << row;
        } else if (!same) {
            ++odd_rows_changed;
        }
    }
    EXPECT_GT(odd_rows_changed, 0);
}

TEST_F(TranscodeHooksTest, VideoHooksSeeEveryPictureAndWhatTheyDrawIsEncoded)
{
    const TLuma plain = Plain();
    // The output hook paints every picture white; the input hook asks to stop after its first picture.
    TFFmpeg task(2);
    std::vector<int> numbers;
    std::vector<std::pair<int, int>> sizes;
    int input_calls = 0;
    task.FOnOutputVideoHook = [&](TObject* Sender, TBitmap* ABitmap, int AFrameNumber, int64_t, bool&, bool&) {
        EXPECT_EQ(Sender, &task);
        numbers.push_back(AFrameNumber);
        sizes.emplace_back(ABitmap->Width(), ABitmap->Height());
        ABitmap->Canvas()->Brush()->SetColor(clWhite);
        ABitmap->Canvas()->FillRect(Rect(0, 0, ABitmap->Width(), ABitmap->Height()));
    };
    task.FOnInputVideoHook = [&](TObject*, TBitmap*, int, int64_t, bool& AUpdate, bool& AStopHook) {
        ++input_calls;
        AUpdate = false;
        AStopHook = true;
    };
    const TLuma white = Convert(task, "white.yuv");
    EXPECT_EQ(input_calls, 1);
    ASSERT_EQ(white.Frames, ClipFrames);
    EXPECT_NEAR(white.Mean, 235.0, 2.0);  // white in studio range
    ASSERT_EQ(numbers.size(), static_cast<size_t>(ClipFrames));
    for (int i = 0; i < ClipFrames; ++i) {
        EXPECT_EQ(numbers[i], i + 1);
        EXPECT_EQ(sizes[i], std::make_pair(ClipWidth, ClipHeight));
    }

    // A handler that raises is logged, and its picture is encoded as it was.
    TFFmpeg failing(2);
    failing.FOnOutputVideoHook = [](TObject*, TBitmap* ABitmap, int, int64_t, bool&, bool&) {
        ABitmap->Canvas()->FillRect(Rect(0, 0, ABitmap->Width(), ABitmap->Height()));
        throw Exception("brush lost");
    };
    const TLuma unchanged = Convert(failing, "failing.yuv");
    EXPECT_TRUE(Logged("Error occurs VideoHook event: brush lost", llError));
    EXPECT_EQ(unchanged.Frames, ClipFrames);
    EXPECT_NEAR(unchanged.Mean, plain.Mean, 0.01);
}

TEST_F(TranscodeHooksTest, PreviewBitmapsComeAtTheirIntervalAndCanBeSwitchedOffFromTheHandler)
{
    TFFmpeg task(2);
    task.PreviewInterval = 0;
    task.SetPostHooks({phBitmap});
    int previews = 0;
    task.FOnPreviewBitmap = [&](TObject*, TBitmap* ABitmap, int AFrameNumber, int64_t) {
        ++previews;
        EXPECT_EQ(AFrameNumber, previews);
        EXPECT_EQ(ABitmap->Width(), ClipWidth);
        // The set may change from inside the delivery: the lock is not held meanwhile.
        if (previews == 3) task.SetPostHooks({});
    };
    Convert(task, "previews.yuv");
    EXPECT_EQ(previews, 3);
    EXPECT_TRUE(task.PostHooks().Empty());
}

TEST_F(TranscodeHooksTest, ThePreviewWindowShowsPicturesUntilTheUserClosesIt)
{
    TBitmap picture(160, 120, pf24bit);
    picture.Canvas()->Brush()->SetColor(clRed);
    picture.Canvas()->FillRect(Rect(0, 0, 160, 120));
    TPreviewer previewer;
    std::atomic<int> answered{-1};
    auto paint_from_worker = [&](int64_t APTS) {
        answered = -1;
        std::thread worker([&] { answered = previewer.PaintFrame(&picture, 1, APTS) ? 1 : 0; });
        EXPECT_TRUE(WaitForWithSlices([&] { return answered >= 0; }, 10, 20000));
        worker.join();
        return answered == 1;
    };
    EXPECT_TRUE(paint_from_worker(3723004000));
    TForm* form = previewer.Form();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Caption(), "01:02:03.004");
    EXPECT_EQ(form->ClientWidth(), 160);
    EXPECT_EQ(form->ClientHeight(), 120);
    EXPECT_EQ(form->FormStyle(), fsStayOnTop);
    EXPECT_EQ(form->BorderStyle(), bsToolWindow);
    win::HDC dc = win::GetDC(previewer.FormHandle());
    EXPECT_EQ(win::GetPixel(dc, 80, 60), win::RGB(255, 0, 0));
    win::ReleaseDC(previewer.FormHandle(), dc);
    EXPECT_TRUE(paint_from_worker(AV_NOPTS_VALUE));
    EXPECT_EQ(form->Caption(), "N/A");

    // The picture drags the window.
    TRect before;
    win::GetWindowRect(previewer.FormHandle(), before);
    const TPoint grip = form->ClientToScreen(TPoint{80, 60});
    Display.Drag(grip, {grip.X + 30, grip.Y + 20}, 3);
    App->ProcessMessages();
    TRect after;
    win::GetWindowRect(previewer.FormHandle(), after);
    EXPECT_EQ(after.Left - before.Left, 30);
    EXPECT_EQ(after.Top - before.Top, 20);

    form->Close();
    EXPECT_TRUE(previewer.Closed());
    EXPECT_FALSE(paint_from_worker(0));
}

// Wraps the real preview window and tells when the conversion thread is waiting in a paint.
class TWatchedPreviews final : public THookBitmaps {
public:
    TEvent Painting{true, false};
    TBitmap* NewBitmap() override { return new TBitmap(); }
    void FreeBitmap(TBitmap* ABitmap) override { delete ABitmap; }
    void RGBToBitmap(TFormatConverter& AConverter, TBitmap* ABitmap) override { ::RGBToBitmap(AConverter, ABitmap); }
    void BitmapToRGB(TFormatConverter& AConverter, TBitmap* ABitmap) override { ::BitmapToRGB(AConverter, ABitmap); }
    std::unique_ptr<TPreviewWindow> NewPreviewWindow(std::function<bool()> AStopping) override
    {
        struct TWatched final : TPreviewWindow {
            TWatched(TEvent& AEvent, std::function<bool()> AStopping) : Event(AEvent), Real(std::move(AStopping)) {}
            bool PaintFrame(TBitmap* ABitmap, int AFrameNumber, int64_t APTS) override
            {
                Event.SetEvent();
                return Real.PaintFrame(ABitmap, AFrameNumber, APTS);
            }
            TEvent& Event;
            TPreviewer Real;
        };
        return std::make_unique<TWatched>(Painting, std::move(AStopping));
    }
};

TEST_F(TranscodeHooksTest, AStopWhileAPreviewPaintWaitsForTheMainThreadDoesNotHang)
{
    for (const bool wait_in_stop : {true, false}) {
        SCOPED_TRACE(wait_in_stop ? "Stop(true) serves the paint" : "Stop(false), main thread not serving");
        TWatchedPreviews previews;
        SetHookBitmaps(&previews);
        TFFmpeg task(2);
        task.PreviewInterval = 0;
        task.SetPostHooks({phPreview});
        TEvent ended{true, false};
        std::atomic<int> terminations{0};
        task.FOnTerminate = [&](TObject*) {
            ++terminations;
            ended.SetEvent();
        };
        Prepare(task, WorkFolder + "/stopped.yuv", {});
        TThread* worker = task.StartConvert(true);
        ASSERT_NE(worker, nullptr);
        worker->Resume();
        // The main thread serves nothing until the worker is stuck in its first paint.
        ASSERT_EQ(previews.Painting.WaitFor(20000), wrSignaled);
        if (wait_in_stop) {
            task.Stop(true);
        } else {
            task.Stop(false);
            EXPECT_EQ(ended.WaitFor(20000), wrSignaled);
        }
        EXPECT_EQ(ended.WaitFor(20000), wrSignaled);
        EXPECT_EQ(terminations, 1);
        EXPECT_FALSE(task.Finished());
        while (CheckSynchronize()) {}
    }
}

}  // namespace
