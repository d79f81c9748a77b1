// The main window on a real X server with the preview playing: SDL draws the clip into the preview panel's native
// window, and a picture of the window is written for a reviewer to look at. Stopped, by Stop or at the end of the
// file, the panel shows its idle picture again, also after another window covered it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "app/add_files.h"
#include "app/ui/main_form.h"
#include "media/decode/frame_decoder.h"
#include "media/player/player.h"
#include "platform/backend/headless/headless_backend.h"
#include "platform/backend/x11/x11_backend.h"
#include "platform/gui/application.h"
#include "platform/gui/ext_controls.h"
#include "platform/rtl/environment.h"
#include "platform/rtl/main_thread_queue.h"
#include "platform/win/backend.h"
#include "platform/win/message_queue.h"
#include "platform/win/surfaces.h"
#include "skin/controls/panel.h"
#include "skin/controls/push_button.h"
#include "tests/app/ui/startup_services_fixture.h"
#include "tests/fixtures/media_fixtures.h"

// Last: Xlib's macros would clash with names in the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace fs = std::filesystem;

namespace {

class MainPreviewX11Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display";
        SetEnvironmentVariable("SDL_AUDIODRIVER", "dummy");
        UnsetEnvironmentVariable("SDL_VIDEODRIVER");  // SDL draws into the panel's window on the display
        StartMediaEngine();
        ASSERT_TRUE(FFLoader->Load(PlayerLibraries)) << TFFLoader::LastErrMsg();
        Root = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" / "x11-main-preview";
        fs::remove_all(Root);
        for (const char* folder : {"config", "documents", "media", "tmp"}) fs::create_directories(Root / folder);
        setenv("XDG_CONFIG_HOME", (Root / "config").c_str(), 1);
        setenv("TMPDIR", (Root / "tmp").c_str(), 1);
        fs::copy_file(MediaFixture("long.mp4"), Root / "media" / "test picture.mp4");
        Backend = x11::TX11Backend::Open();
        ASSERT_NE(Backend, nullptr);
        win::SetBackend(Backend.get());
        win::InstallMainThreadHooks();
        App = std::make_unique<TApplication>(nullptr);
        Decoder = new TFFDecoder(App.get());
        Adder = std::make_unique<TFileAdder>(State.Jobs, *Decoder, State.EventsLog, State.Catalogue);
        Form = App->CreateForm<TMainForm>(State, "");
        Form->FileAdder = Adder.get();
        Form->ReportPreviewError = [](const std::string& AText, const std::string& AMark) {
            ADD_FAILURE() << AMark << ": " << AText;
        };
        EXPECT_TRUE(Form->Load(BuildTreeStartupServices(Root, Shown)));
        Form->Show();
    }
    void TearDown() override
    {
        if (Form) {
            Form->FFPlayer->Stop(true);
            Form->FileAdder = nullptr;
        }
        Adder.reset();
        App.reset();
        if (Backend) {
            SetWakeMainThread(nullptr);
            SetWaitSlicePump(nullptr);
            win::SetBackend(nullptr);
            Backend.reset();
        }
        StopMediaEngine();
        unsetenv("TMPDIR");
    }

    // Runs the window's messages and the player's events until ADone holds.
    bool RunUntil(const std::function<bool()>& ADone, int ASeconds = 20)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(ASeconds);
        while (std::chrono::steady_clock::now() < end) {
            App->ProcessMessages();
            CheckSynchronize(5);
            if (ADone()) return true;
        }
        return ADone();
    }
    // The screen's pixels in AArea (screen coordinates), as the X server shows them.
    std::optional<std::vector<uint32_t>> Look(const TRect& AArea)
    {
        ::Display* display = XOpenDisplay(nullptr);
        if (!display) return std::nullopt;
        XSync(display, False);
        XImage* image = XGetImage(display, DefaultRootWindow(display), AArea.Left, AArea.Top, AArea.Width(),
                                  AArea.Height(), AllPlanes, ZPixmap);
        std::optional<std::vector<uint32_t>> pixels;
        if (image) {
            pixels.emplace();
            for (int y = 0; y < AArea.Height(); ++y)
                for (int x = 0; x < AArea.Width(); ++x)
                    pixels->push_back(0xFF000000u | (XGetPixel(image, x, y) & 0xFFFFFF));
            XDestroyImage(image);
        }
        XCloseDisplay(display);
        return pixels;
    }

    // How many pixels of the preview panel on the screen differ from the window's own picture of it (the idle
    // picture while nothing covers it).
    int PanelPixelsNotTheWindows()
    {
        const TPoint panelAt = Form->panPreview->ClientToScreen({0, 0});
        const TRect panel = Bounds(panelAt.X, panelAt.Y, Form->panPreview->Width(), Form->panPreview->Height());
        std::optional<std::vector<uint32_t>> screen = Look(panel);
        win::TTopLevelView view;
        if (!screen || !win::ViewTopLevel(Form->Handle(), view) || !view.Pixels) return panel.Width() * panel.Height();
        int differing = 0;
        for (int y = 0; y < panel.Height(); ++y)
            for (int x = 0; x < panel.Width(); ++x) {
                const int wx = panel.Left - view.Rect.Left + x, wy = panel.Top - view.Rect.Top + y;
                const uint32_t own = wx < view.Width && wy < view.Height
                                         ? view.Pixels[static_cast<size_t>(wy) * view.Width + wx] | 0xFF000000u
                                         : 0;
                differing += (*screen)[static_cast<size_t>(y) * panel.Width() + x] != own;
            }
        return differing;
    }

    fs::path Root;
    TConverterState State;
    std::unique_ptr<x11::TX11Backend> Backend;
    std::unique_ptr<TApplication> App;
    TFFDecoder* Decoder = nullptr;
    std::unique_ptr<TFileAdder> Adder;
    TMainForm* Form = nullptr;
    std::vector<std::string> Shown;
};

TEST_F(MainPreviewX11Test, ThePreviewPlaysInsideItsPanel)
{
    Form->AddDroppedFiles({(Root / "media" / "test picture.mp4").string()});
    ASSERT_EQ(State.Jobs.Count(), 1);
    Form->PlayButtonClick(nullptr);
    ASSERT_TRUE(RunUntil([&] { return Form->FFPlayer->CurrentPTS() > 1500000; })) << "the preview did not play";
    Form->PauseButtonClick(nullptr);  // a still picture for the shot
    ASSERT_TRUE(RunUntil([&] { return Form->FFPlayer->PlayState() == psPause; }));
    RunUntil([] { return false; }, 1);
    ASSERT_TRUE(Form->PlayButton->Visible() && !Form->PauseButton->Visible());

    const TPoint clientAt = Form->ClientToScreen({0, 0});
    const TRect window = Bounds(clientAt.X, clientAt.Y, Form->ClientWidth(), Form->ClientHeight());
    const TPoint panelAt = Form->panPreview->ClientToScreen({0, 0});
    const TRect panel = Bounds(panelAt.X, panelAt.Y, Form->panPreview->Width(), Form->panPreview->Height());
    std::optional<std::vector<uint32_t>> pixels = Look(window);
    ASSERT_TRUE(pixels.has_value()) << window.Left << "," << window.Top << " " << window.Width() << "x"
                                    << window.Height();
    const fs::path png = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" / "main-window-preview.png";
    headless::WritePng(png.string(), pixels->data(), window.Width(), window.Height());

    // The test picture fills the panel: many colours there, and the window around it is not covered by it.
    std::optional<std::vector<uint32_t>> inside = Look(panel);
    ASSERT_TRUE(inside.has_value());
    std::set<uint32_t> colours(inside->begin(), inside->end());
    EXPECT_GT(colours.size(), 50u) << "no picture in the panel; see " << png;
    const TRect below = Bounds(panel.Left, panel.Bottom + 2, panel.Width(), 8);
    std::optional<std::vector<uint32_t>> around = Look(below);
    ASSERT_TRUE(around.has_value());
    std::set<uint32_t> aroundColours(around->begin(), around->end());
    EXPECT_LT(aroundColours.size(), colours.size()) << "the picture spills out of the panel; see " << png;
}

}  // namespace

namespace {

// The idle picture comes back when the preview stops, by Stop and at the end of the file, and stays when another
// window has covered the panel meanwhile: the player's window of the display does not stay over it.
TEST_F(MainPreviewX11Test, StoppedThePanelShowsItsIdlePictureAgain)
{
    Form->AddDroppedFiles({(Root / "media" / "test picture.mp4").string()});
    ASSERT_EQ(State.Jobs.Count(), 1);
    RunUntil([&] { return PanelPixelsNotTheWindows() == 0; }, 5);
    const int idle_before = PanelPixelsNotTheWindows();
    EXPECT_EQ(idle_before, 0) << "the idle picture is not on the screen before playing";
    const fs::path shots = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui";
    auto shoot = [&](const char* AName) {
        const TPoint at = Form->ClientToScreen({0, 0});
        if (auto pixels = Look(Bounds(at.X, at.Y, Form->ClientWidth(), Form->ClientHeight())))
            headless::WritePng((shots / AName).string(), pixels->data(), Form->ClientWidth(), Form->ClientHeight());
    };

    // Stop while playing.
    Form->PlayButtonClick(nullptr);
    ASSERT_TRUE(RunUntil([&] { return Form->FFPlayer->CurrentPTS() > 500000; })) << "the preview did not play";
    ASSERT_TRUE(RunUntil([&] { return PanelPixelsNotTheWindows() > 1000; })) << "no picture over the idle one";
    Form->StopButtonClick(nullptr);
    EXPECT_TRUE(Form->imgPlayerArea->Visible());
    const bool idle_after_stop = RunUntil([&] { return PanelPixelsNotTheWindows() == 0; });
    shoot("main-preview-after-stop.png");
    EXPECT_TRUE(idle_after_stop) << PanelPixelsNotTheWindows() << " pixels of the panel are not the idle picture";

    // Another window over the panel, then gone: the idle picture again, not a black or stale panel.
    auto* cover = new TForm(nullptr);
    const TPoint panelAt = Form->panPreview->ClientToScreen({0, 0});
    cover->SetBounds(panelAt.X - 20, panelAt.Y - 20, Form->panPreview->Width() + 40, Form->panPreview->Height() + 40);
    cover->Show();
    RunUntil([&] { return PanelPixelsNotTheWindows() > 1000; }, 5);
    delete cover;
    const bool idle_after_cover = RunUntil([&] { return PanelPixelsNotTheWindows() == 0; });
    shoot("main-preview-after-cover.png");
    EXPECT_TRUE(idle_after_cover) << PanelPixelsNotTheWindows() << " pixels after a window covered the panel";

    // Played to the end of the file: it stops by itself and the idle picture shows.
    Form->PlayButtonClick(nullptr);
    ASSERT_TRUE(RunUntil([&] { return Form->FFPlayer->CurrentPTS() > 0; }));
    Form->FFPlayer->Seek(int64_t{29000000}, TSeekFlags{}, false);  // a second before the end of the 30 s clip
    ASSERT_TRUE(RunUntil([&] { return Form->PauseButton->Visible() == false && Form->imgPlayerArea->Visible(); }, 60))
        << "the preview did not stop at the end";
    const bool idle_after_end = RunUntil([&] { return PanelPixelsNotTheWindows() == 0; });
    shoot("main-preview-after-end.png");
    EXPECT_TRUE(idle_after_end) << PanelPixelsNotTheWindows() << " pixels after the end of the file";
}

}  // namespace
