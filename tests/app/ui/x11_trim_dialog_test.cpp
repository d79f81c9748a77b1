// The "Trim" dialog on a real X server: its player draws the clip into the dialog's screen (the panel's native
// window), and a picture of the whole dialog is written as trim-dialog-x11.png for looking.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/catalogue.h"
#include "app/job_list.h"
#include "app/ui/trim_form.h"
#include "media/loader/engine.h"
#include "platform/backend/headless/headless_backend.h"
#include "platform/backend/x11/x11_backend.h"
#include "platform/gui/application.h"
#include "platform/gui/ext_controls.h"
#include "platform/rtl/environment.h"
#include "platform/rtl/main_thread_queue.h"
#include "platform/win/message_queue.h"
#include "tests/fixtures/media_fixtures.h"

// Last: Xlib's macros would clash with names in the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

class TrimDialogX11Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == 0) GTEST_SKIP() << "needs an X display (the CI runs these under xvfb-run)";
        UnsetEnvironmentVariable("SDL_VIDEODRIVER");
        SetEnvironmentVariable("SDL_AUDIODRIVER", "dummy");
        Backend = x11::TX11Backend::Open();
        ASSERT_NE(Backend, nullptr);
        Probe = XOpenDisplay(nullptr);
        ASSERT_NE(Probe, nullptr);
        win::SetBackend(Backend.get());
        win::InstallMainThreadHooks();
        StartMediaEngine();
        App = std::make_unique<TApplication>(nullptr);
    }
    void TearDown() override
    {
        if (!Backend) return;
        App.reset();
        StopMediaEngine();
        win::SetBackend(nullptr);
        Backend.reset();
        XCloseDisplay(Probe);
    }

    bool WaitUntil(const std::function<bool()>& ADone)
    {
        return WaitForWithSlices([&] {
            App->ProcessMessages();
            return ADone();
        }, 10, 20000);
    }
    // The share of the pixels of a screen rectangle that are not black, and the rectangle written as a PNG when
    // a file is given.
    double Painted(const TRect& AScreen, const std::string& APng = "")
    {
        XSync(Probe, False);
        XImage* image = XGetImage(Probe, DefaultRootWindow(Probe), AScreen.Left, AScreen.Top, AScreen.Width(),
                                  AScreen.Height(), AllPlanes, ZPixmap);
        if (image == nullptr) return 0;
        std::vector<uint32_t> pixels;
        long painted = 0;
        for (int y = 0; y < AScreen.Height(); ++y)
            for (int x = 0; x < AScreen.Width(); ++x) {
                const uint32_t pixel = XGetPixel(image, x, y) & 0xFFFFFF;
                painted += pixel != 0;
                pixels.push_back(0xFF000000u | pixel);
            }
        XDestroyImage(image);
        if (!APng.empty()) EXPECT_TRUE(headless::WritePng(APng, pixels.data(), AScreen.Width(), AScreen.Height()));
        return static_cast<double>(painted) / (AScreen.Width() * AScreen.Height());
    }
    static TRect ScreenRect(TControl* AControl)
    {
        const TPoint origin = AControl->ClientToScreen({0, 0});
        return Bounds(origin.X, origin.Y, AControl->Width(), AControl->Height());
    }

    std::unique_ptr<x11::TX11Backend> Backend;
    Display* Probe = nullptr;
    std::unique_ptr<TApplication> App;
};

TEST_F(TrimDialogX11Test, TheClipPlaysInTheDialogsScreen)
{
    TCatalogue catalogue;
    TJobList jobs{catalogue};
    TVideoFile job;
    job.Source = MediaFixture("long.avi");
    job.TimeStart = 2000000;
    job.TimeEnd = 6000000;
    jobs.Append(job);
    std::vector<std::string> reports;
    auto* form = new TClipForm(App.get(), nullptr);
    form->Attach(&jobs, nullptr, [&](const std::string& AText, const std::string&) { reports.push_back(AText); },
                 std::string(QUENNARY_BINARY_DIR) + "/app/");
    form->LoadPictures(std::string(QUENNARY_BINARY_DIR) + "/app/skin-red");
    form->SetLeft(20);
    form->SetTop(20);
    form->Show();
    ASSERT_TRUE(reports.empty()) << reports.front();
    ASSERT_TRUE(WaitUntil([&] { return form->Logic().LastTrimPosition() > 1500000; }));
    form->PauseButtonClick(nullptr);
    ASSERT_TRUE(WaitUntil([&] { return form->FFPlayer2->Paused(); }));
    EXPECT_TRUE(WaitUntil([&] { return Painted(ScreenRect(form->panPreview)) > 0.5; }))
        << Painted(ScreenRect(form->panPreview));
    WaitForWithSlices([&] {  // whatever is left to paint
        App->ProcessMessages();
        return false;
    }, 10, 300);
    Painted(form->BoundsRect(), std::string(QUENNARY_BINARY_DIR) + "/tests/app/ui/trim-dialog-x11.png");
    EXPECT_EQ(form->imgTrimLeft->Left(), 102);
    form->Close();
    delete form;
}

}  // namespace
