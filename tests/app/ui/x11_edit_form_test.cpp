// The Edit dialog on a real X server in the shipped skin: both players draw a generated clip into their panels'
// windows of the display, the output player only the selected area. The dialog's picture is written as
// x11-edit-form.png in the build tree. The crop selection's handles and lines stay white on the screen over the
// playing source picture, and a handle dragged with the X server's pointer moves the selection.
#include <gtest/gtest.h>

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
    std::vector<TPanel*> SelectionPanels() const
    {
        std::vector<TPanel*> result{Form->lnleft, Form->lntop, Form->lnright, Form->lnBottom};
        result.insert(result.end(), Form->Handles.begin(), Form->Handles.end());
        return result;
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
