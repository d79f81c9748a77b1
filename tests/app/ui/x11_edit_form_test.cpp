// The Edit dialog on a real X server in the shipped skin: both players draw a generated clip into their panels'
// windows of the display, the output player only the selected area. The dialog's picture is written as
// x11-edit-form.png in the build tree. The crop selection's handles and lines stay white on the screen over the
// playing source picture, and a handle dragged with the X server's pointer moves the selection. A clip of four
// coloured quarters shows that the output preview holds exactly the selected quarter, edge to edge, after spin
// edits, an aspect choice, Reset All and reopening, and that its window of the display stays inside its panel.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/ui/converter_state.h"
#include "app/ui/edit_form.h"
#include "media/loader/engine.h"
#include "media/loader/library_loader.h"
#include "platform/backend/headless/headless_backend.h"
#include "platform/backend/x11/x11_backend.h"
#include "platform/gui/application.h"
#include "platform/gui/ext_controls.h"
#include "platform/rtl/environment.h"
#include "platform/rtl/main_thread_queue.h"
#include "platform/win/message_queue.h"
#include "skin/controls/combo_box.h"
#include "skin/controls/spin_edit.h"
#include "skin/core/skin_data.h"

// Last: Xlib's macros would clash with names in the headers above.
#include "tests/platform/x11/painted_share.h"

#include <X11/extensions/XTest.h>

namespace fs = std::filesystem;

namespace {

class EditFormX11Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == 0) GTEST_SKIP() << "needs an X display (the CI runs these under xvfb-run)";
        Root = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" / "x11-edit-form";
        fs::remove_all(Root);
        fs::create_directories(Root / "tmp");
        setenv("TMPDIR", (Root / "tmp").c_str(), 1);
        UnsetEnvironmentVariable("SDL_VIDEODRIVER");
        SetEnvironmentVariable("SDL_AUDIODRIVER", "dummy");
        Clip = (Root / "clip640.mp4").string();
        const std::string make = "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "
                                 "testsrc=size=640x360:rate=25 -t 20 -c:v mpeg4 -q:v 6 -an '" + Clip + "'";
        ASSERT_EQ(std::system(make.c_str()), 0) << make;
        StartMediaEngine();
        ASSERT_TRUE(FFLoader->Load(PlayerLibraries)) << TFFLoader::LastErrMsg();
        Backend = x11::TX11Backend::Open();
        ASSERT_NE(Backend, nullptr);
        Probe = XOpenDisplay(nullptr);
        ASSERT_NE(Probe, nullptr);
        win::SetBackend(Backend.get());
        win::InstallMainThreadHooks();
        App = std::make_unique<TApplication>(nullptr);
        Skin = new TspSkinData(App.get());
        Skin->LoadFromFile(QUENNARY_BINARY_DIR "/app/skin-red/skin.ini");
    }
    void TearDown() override
    {
        delete Form;
        App.reset();
        if (Backend) {
            win::SetBackend(nullptr);
            Backend.reset();
        }
        if (Probe) XCloseDisplay(Probe);
        StopMediaEngine();
        unsetenv("TMPDIR");
    }

    bool WaitUntil(const std::function<bool()>& ADone)
    {
        return WaitForWithSlices([&] { App->ProcessMessages(); return ADone(); }, 10, 20000);
    }
    double Painted(uintptr_t AWindow) { return x11test::PaintedShare(Probe, AWindow); }
    // The screen's pixels over the form, as the X server shows them (the players' windows included).
    bool Shoot(TForm* AForm, const fs::path& APng)
    {
        XSync(Probe, False);
        const TRect area = AForm->BoundsRect();
        XImage* image = XGetImage(Probe, DefaultRootWindow(Probe), area.Left, area.Top, area.Width(), area.Height(),
                                  AllPlanes, ZPixmap);
        if (image == nullptr) return false;
        std::vector<uint32_t> pixels;
        for (int y = 0; y < area.Height(); ++y)
            for (int x = 0; x < area.Width(); ++x)
                pixels.push_back(0xFF000000u | (XGetPixel(image, x, y) & 0xFFFFFF));
        XDestroyImage(image);
        return headless::WritePng(APng.string(), pixels.data(), area.Width(), area.Height());
    }

    // How many of the control's pixels are not white on the screen.
    int NonWhitePixels(TControl* AControl)
    {
        XSync(Probe, False);
        const TPoint origin = AControl->ClientToScreen({0, 0});
        XImage* image = XGetImage(Probe, DefaultRootWindow(Probe), origin.X, origin.Y, AControl->Width(),
                                  AControl->Height(), AllPlanes, ZPixmap);
        if (image == nullptr) return AControl->Width() * AControl->Height();
        int result = 0;
        for (int y = 0; y < AControl->Height(); ++y)
            for (int x = 0; x < AControl->Width(); ++x) result += (XGetPixel(image, x, y) & 0xFFFFFF) != 0xFFFFFF;
        XDestroyImage(image);
        return result;
    }
public:
    // The quarters of the four-colour clip, left to right, top to bottom.
    static constexpr std::array<uint32_t, 4> kQuarterColours{0x00FF00, 0x0000FF, 0xFF00FF, 0x00FFFF};
    static bool Near(uint32_t APixel, uint32_t AColour)
    {
        for (int shift : {0, 8, 16})
            if (std::abs(static_cast<int>((APixel >> shift) & 0xFF) - static_cast<int>((AColour >> shift) & 0xFF)) > 64)
                return false;
        return true;
    }

protected:
    std::vector<TPanel*> SelectionPanels() const
    {
        std::vector<TPanel*> result{Form->lnleft, Form->lntop, Form->lnright, Form->lnBottom};
        result.insert(result.end(), Form->Handles.begin(), Form->Handles.end());
        return result;
    }
    // The screen's pixels of AArea (screen coordinates), 0xRRGGBB.
    std::vector<uint32_t> ScreenPixels(const TRect& AArea)
    {
        XSync(Probe, False);
        std::vector<uint32_t> pixels;
        XImage* image = XGetImage(Probe, DefaultRootWindow(Probe), AArea.Left, AArea.Top, AArea.Width(),
                                  AArea.Height(), AllPlanes, ZPixmap);
        if (image == nullptr) return pixels;
        for (int y = 0; y < AArea.Height(); ++y)
            for (int x = 0; x < AArea.Width(); ++x) pixels.push_back(XGetPixel(image, x, y) & 0xFFFFFF);
        XDestroyImage(image);
        return pixels;
    }
    static bool Inside(const TRect& ARect, TPoint APoint)
    {
        return APoint.X >= ARect.Left && APoint.X < ARect.Right && APoint.Y >= ARect.Top && APoint.Y < ARect.Bottom;
    }
    static TRect ScreenRect(TControl* AControl)
    {
        const TPoint origin = AControl->ClientToScreen({0, 0});
        return Bounds(origin.X, origin.Y, AControl->Width(), AControl->Height());
    }
    bool SelectionIsWhite()
    {
        for (TPanel* panel : SelectionPanels())
            if (NonWhitePixels(panel) != 0) return false;
        return true;
    }
    void Pointer(TPoint AScreen, std::optional<bool> AButtonDown = std::nullopt)
    {
        XTestFakeMotionEvent(Probe, -1, AScreen.X, AScreen.Y, CurrentTime);
        if (AButtonDown) XTestFakeButtonEvent(Probe, 1, *AButtonDown, CurrentTime);
        XSync(Probe, False);
        for (int i = 0; i < 5; ++i) {
            Backend->Sync();
            App->ProcessMessages();
        }
    }

    fs::path Root;
    std::string Clip;
    std::unique_ptr<x11::TX11Backend> Backend;
    Display* Probe = nullptr;
    std::unique_ptr<TApplication> App;
    TspSkinData* Skin = nullptr;
    TConverterState State;
    TCropForm* Form = nullptr;
};

TEST_F(EditFormX11Test, BothPlayersDrawIntoTheirPanelsAndTheOutputShowsTheSelection)
{
    TVideoFile job;
    job.Source = Clip;
    job.CropLeft = 120, job.CropTop = 40, job.CropRight = 120, job.CropBottom = 60;
    job.Brightness = 35;
    State.Jobs.Append(job);
    Form = new TCropForm(nullptr, Skin);
    Form->Attach(&State, "");
    Form->LoadButtonPictures(QUENNARY_BINARY_DIR "/app/skin-red");
    std::vector<std::string> reports;
    Form->ReportError = [&](const std::string& AText, const std::string& AMark) { reports.push_back(AMark + AText); };
    Form->SetLeft(30);
    Form->SetTop(30);
    Form->Show();
    App->ProcessMessages();
    EXPECT_TRUE(reports.empty()) << reports.front();

    const uintptr_t source = win::NativeWindowId(Form->panPreview1->Handle());
    const uintptr_t output = win::NativeWindowId(Form->panPreview2->Handle());
    ASSERT_NE(source, 0u);
    ASSERT_NE(output, 0u);
    // Most of the output panel lies outside its clipping window, which shows about a third of it.
    EXPECT_TRUE(WaitUntil([&] { return Painted(source) > 0.5 && Painted(output) > 0.25; }))
        << Painted(source) << " " << Painted(output);
    // The output panel is larger than its clipping window and lies at negative offsets.
    EXPECT_LT(Form->panPreview2->Left(), 0);
    EXPECT_GT(Form->panPreview2->Width(), Form->Panel2->Width());

    // The selection shows white over the playing picture, which the X server draws above the form's own pixels.
    EXPECT_TRUE(WaitUntil([&] { return SelectionIsWhite(); }));
    for (TPanel* panel : SelectionPanels())
        EXPECT_EQ(NonWhitePixels(panel), 0) << panel->Name() << " has pixels of the picture over it";

    Form->PauseButtonClick(nullptr);
    WaitUntil([&] { return Form->FFPlayer1->Paused() && Form->FFPlayer2->Paused(); });
    EXPECT_TRUE(Shoot(Form, fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" / "x11-edit-form.png"));

    // The left middle handle, dragged right with the X server's pointer, takes the left line and edge along, and the selection stays white at its new place.
    TPanel* handle = Form->Handles[static_cast<int>(TCropHandle::LeftMiddle)];
    const int handle_left = handle->Left(), line_left = Form->lnleft->Left();
    const double crop_left = Form->edLeft->Value();
    const TPoint grab = handle->ClientToScreen({handle->Width() / 2, handle->Height() / 2});
    Pointer(grab);
    Pointer(grab, true);
    for (int step = 4; step <= 24; step += 4) Pointer({grab.X + step, grab.Y});
    Pointer({grab.X + 24, grab.Y}, false);
    EXPECT_GT(handle->Left(), handle_left);
    EXPECT_EQ(Form->lnleft->Left() - line_left, handle->Left() - handle_left);
    EXPECT_GT(Form->edLeft->Value(), crop_left);
    EXPECT_TRUE(WaitUntil([&] { return SelectionIsWhite(); }));
    for (TPanel* panel : SelectionPanels()) EXPECT_EQ(NonWhitePixels(panel), 0) << panel->Name() << " after the drag";
    Form->StopButtonClick(nullptr);
    Form->FFPlayer1->Stop(true);
    Form->FFPlayer2->Stop(true);
}

}  // namespace

namespace {

// A two-minute 640 x 352 clip of four coloured quarters (green, blue, magenta, cyan), their edges on the coder's blocks.
std::string MakeQuartersClip(const fs::path& AFolder)
{
    const std::string clip = (AFolder / "quarters.mp4").string();
    const std::string make =
        "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i color=c=0x00FF00:s=320x176:r=25 -f lavfi -i "
        "color=c=0x0000FF:s=320x176:r=25 -f lavfi -i color=c=0xFF00FF:s=320x176:r=25 -f lavfi -i "
        "color=c=0x00FFFF:s=320x176:r=25 -filter_complex '[0][1][2][3]xstack=inputs=4:layout=0_0|w0_0|0_h0|w0_h0' "
        "-t 120 -c:v mpeg4 -q:v 2 -pix_fmt yuv420p -an '" + clip + "'";
    return std::system(make.c_str()) == 0 ? clip : std::string();
}

}  // namespace

// The output preview shows exactly the selected quarter, filling its clipping panel from edge to edge, however
// the selection got there; the output player's window never shows outside that panel.
TEST_F(EditFormX11Test, TheOutputPreviewShowsExactlyTheSelectedQuarter)
{
    const std::string clip = MakeQuartersClip(Root);
    ASSERT_FALSE(clip.empty());
    TVideoFile job;
    job.Source = clip;
    State.Jobs.Append(job);
    Form = new TCropForm(nullptr, Skin);
    Form->Attach(&State, "");
    std::vector<std::string> reports;
    Form->ReportError = [&](const std::string& AText, const std::string& AMark) { reports.push_back(AMark + AText); };
    Form->SetLeft(30);
    Form->SetTop(30);
    Form->Show();
    ASSERT_TRUE(WaitUntil([&] { return Form->ValuesLoaded(); }))
        << (reports.empty() ? std::string("no report") : reports.front()) << " source state "
        << Form->FFPlayer1->PlayState();

    // How many pixels of the clipping panel are not of AColour. The selection's outermost pixel may take the
    // neighbouring quarter's colour (the players' scaling picks the nearest source pixel, and the boundary falls
    // on it), but it shows the picture, never the black panel.
    auto strayPixels = [&](uint32_t AColour) {
        const TRect panel = ScreenRect(Form->Panel2);
        const std::vector<uint32_t> pixels = ScreenPixels(panel);
        int stray = 0;
        for (int y = 0; y < panel.Height(); ++y)
            for (int x = 0; x < panel.Width(); ++x) {
                const uint32_t pixel = pixels[static_cast<size_t>(y) * panel.Width() + x];
                const bool edge = x == 0 || y == 0 || x == panel.Width() - 1 || y == panel.Height() - 1;
                bool fits = Near(pixel, AColour);
                for (uint32_t other : kQuarterColours) fits = fits || (edge && Near(pixel, other));
                stray += !fits;
            }
        return stray;
    };
    // Outside the output preview's frame (the caption, the labels, the source preview, the controls) no pixel
    // of the output player: none of the selected quarter's colour where the source preview does not show it.
    auto outputSpills = [&](uint32_t AColour) {
        const TRect form = Form->BoundsRect();
        const TRect frame = ScreenRect(Form->Panel1), source = ScreenRect(Form->panPreview1);
        const std::vector<uint32_t> pixels = ScreenPixels(form);
        int spilled = 0;
        for (int y = 0; y < form.Height(); ++y)
            for (int x = 0; x < form.Width(); ++x) {
                const TPoint p{form.Left + x, form.Top + y};
                if (Inside(frame, p) || Inside(source, p)) continue;
                spilled += Near(pixels[static_cast<size_t>(y) * form.Width() + x], AColour);
            }
        return spilled;
    };
    const fs::path shots = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui";
    auto expectQuarter = [&](int AQuarter, const char* AStep) {
        const uint32_t colour = kQuarterColours[AQuarter];
        const bool shown = WaitUntil([&] { return strayPixels(colour) == 0; });
        const fs::path png = shots / (std::string("x11-edit-quarters-") + AStep + ".png");
        Shoot(Form, png);
        EXPECT_TRUE(shown) << AStep << ": " << strayPixels(colour) << " of " << Form->Panel2->Width() << "x"
                           << Form->Panel2->Height() << " pixels are not the quarter's colour; see " << png;
        EXPECT_EQ(outputSpills(colour), 0) << AStep << ": the output picture shows outside its panel; see " << png;
    };
    auto selectQuarter = [&](int AQuarter) {
        // Each change lays the selection out at once; the width first, so that no step is clipped by the frame.
        Form->edWidth->SetValue(320);
        Form->edHeight->SetValue(176);
        Form->edLeft->SetValue(AQuarter % 2 * 320);
        Form->edTop->SetValue(AQuarter / 2 * 176);
    };

    // The whole frame at first: all four colours in the output preview, in their quarters.
    {
        const TRect panel = ScreenRect(Form->Panel2);
        ASSERT_TRUE(WaitUntil([&] {
            for (int quarter = 0; quarter < 4; ++quarter) {
                const TPoint at{panel.Left + panel.Width() * (1 + quarter % 2 * 2) / 4,
                                panel.Top + panel.Height() * (1 + quarter / 2 * 2) / 4};
                const std::vector<uint32_t> pixel = ScreenPixels(Bounds(at.X, at.Y, 1, 1));
                if (pixel.empty() || !Near(pixel[0], kQuarterColours[quarter])) return false;
            }
            return true;
        })) << "the output preview does not show the whole frame";
    }

    selectQuarter(3);
    EXPECT_EQ(Form->EditValues().Left, 320);
    EXPECT_EQ(Form->EditValues().Top, 176);
    expectQuarter(3, "spin-edits");

    selectQuarter(0);
    expectQuarter(0, "another-quarter");

    Form->cmbAspectRatio->SetItemIndex(3);
    EXPECT_FLOAT_EQ(Form->FFPlayer2->AspectRatio(), 16.0f / 9.0f);
    expectQuarter(0, "16-9");

    // Paused, the picture follows a new selection as well, and the paused source picture keeps no mark where the
    // handles and lines were before: each of its pixels is the picture's or under the selection's panels now.
    Form->PauseButtonClick(nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Form->FFPlayer1->Paused() && Form->FFPlayer2->Paused(); }));
    selectQuarter(2);
    expectQuarter(2, "paused");
    auto ghostPixels = [&] {
        const std::vector<uint32_t> pixels = ScreenPixels(ScreenRect(Form->panPreview1));
        const TPictureBounds& bounds = Form->PictureBounds();
        int ghosts = 0;
        for (int y = bounds.MinY + 1; y < bounds.MaxY - 1; ++y)
            for (int x = bounds.MinX + 1; x < bounds.MaxX - 1; ++x) {
                const uint32_t pixel = pixels[static_cast<size_t>(y) * Form->panPreview1->Width() + x];
                bool explained = false;
                for (uint32_t colour : kQuarterColours) explained = explained || Near(pixel, colour);
                for (TPanel* panel : SelectionPanels())
                    explained = explained || Inside(panel->BoundsRect(), {x, y});
                ghosts += !explained;
            }
        return ghosts;
    };
    EXPECT_TRUE(WaitUntil([&] { return ghostPixels() == 0; }))
        << ghostPixels() << " pixels of the paused source picture are neither the picture nor the selection";

    // OK stores the selection; the dialog shown again opens on it.
    Form->OKClick(nullptr);
    EXPECT_EQ(State.Jobs.Job(0).CropLeft, 0);
    EXPECT_EQ(State.Jobs.Job(0).CropTop, 176);
    EXPECT_EQ(State.Jobs.Job(0).AspectRatio, 3);
    App->ProcessMessages();
    Form->Show();
    ASSERT_TRUE(WaitUntil([&] { return Form->ValuesLoaded(); }));
    expectQuarter(2, "reopened");

    // Reset All: the whole frame again, and a quarter chosen after it still fills the panel.
    Form->ResetAllClick(nullptr);
    EXPECT_EQ(Form->EditValues().Width, 640);
    selectQuarter(1);
    expectQuarter(1, "after-reset");
    EXPECT_TRUE(reports.empty()) << reports.front();

    Form->StopButtonClick(nullptr);
    Form->FFPlayer1->Stop(true);
    Form->FFPlayer2->Stop(true);
}
