// The main window converting on a real X server, the "Conversion" dialog over it: a picture of the screen is
// written while the run goes on (tests/app/ui/conversion-window.png in the build tree), and the run is then
// cancelled from the dialog.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "media/loader/engine.h"
#include "platform/backend/headless/headless_backend.h"
#include "platform/backend/x11/x11_backend.h"
#include "skin/controls/gauge.h"
#include "tests/app/ui/conversion_window_rig.h"
#include "tests/platform/x11/xwd_reader.h"

namespace fs = std::filesystem;

namespace {

class ConversionWindowX11Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == 0) GTEST_SKIP() << "needs an X display (the CI runs these under xvfb-run)";
        Backend = x11::TX11Backend::Open();
        ASSERT_NE(Backend, nullptr);
        win::SetBackend(Backend.get());
        StartMediaEngine();
        ASSERT_TRUE(FFLoader->Load(AllLibraries)) << TFFLoader::LastErrMsg();
        Root = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" / "x11-conversion-window";
        fs::remove_all(Root);
        fs::create_directories(Root / "config");
        setenv("XDG_CONFIG_HOME", (Root / "config").c_str(), 1);
        App = std::make_unique<TApplication>(nullptr);
        Rig = std::make_unique<TConversionWindowRig>(*App, Root);
    }
    void TearDown() override
    {
        if (!Backend) return;
        if (Rig) Rig->Release();
        App.reset();
        Rig.reset();
        StopMediaEngine();
        win::SetBackend(nullptr);
        Backend.reset();
    }

    // The screen's pixels over the main window, once every window has had its paint handled a few times.
    bool Shoot(const fs::path& APng)
    {
        for (int round = 0; round < 5; ++round) {
            App->ProcessMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        const TRect area = Rig->Form->BoundsRect();
        const std::string dump = (Root / "screen.xwd").string();
        if (std::system(("xwd -root -silent -out '" + dump + "'").c_str()) != 0) return false;
        const auto pixels = x11test::ReadXwdArea(dump, area);
        return pixels && headless::WritePng(APng.string(), pixels->data(), area.Width(), area.Height());
    }

    std::unique_ptr<x11::TX11Backend> Backend;
    fs::path Root;
    std::unique_ptr<TApplication> App;
    std::unique_ptr<TConversionWindowRig> Rig;
};

TEST_F(ConversionWindowX11Test, PictureOfTheWindowDuringAConversion)
{
    Rig->AddJob(Rig->MakeClip("holiday.avi", 90, "640x480"));
    Rig->AddJob(Rig->MakeClip("birthday.avi", 1));
    const fs::path png = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" / "conversion-window.png";
    fs::remove(png);
    bool shot = false;
    Rig->WhileRunning = [&] {
        if (shot || Rig->Conv->ProgressCurrent->Value() < 20) return;
        shot = true;
        EXPECT_TRUE(Shoot(png)) << png;
        Rig->Conv->CancelButton->ButtonClick();
    };
    Rig->StartFromMenu();
    EXPECT_TRUE(shot);
    EXPECT_TRUE(fs::exists(png));
    EXPECT_TRUE(Rig->Logged("Conversion cancelled by user."));
    // A file finished before the cancel may stay; nothing half written does.
    for (const std::string& name : TConversionWindowRig::Names(Rig->Out())) EXPECT_NE(name[0], '.') << name;
}

}  // namespace
