#pragma once
// A headless form for the shell views over a private namespace: HOME, XDG_CONFIG_HOME and the mount table point
// into a temporary tree, removed afterwards.
//
//   home/Desktop/Projects/             the desktop folder's own entries
//   home/Videos/2024/holiday/clips/    a chain three levels below home/Videos
//   home/Videos/empty/                 no subfolders
//   home/Videos/only-files/            a file, no subfolders
//   media/USB/one/two/                 a volume (block device) with a chain two levels below it
//   media/DVD                          an optical volume
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <stdlib.h>

#include "platform/rtl/environment.h"
#include "tests/skin/controls/controls_fixture.h"

namespace shellviewstest {

class TShellViewsFixture : public controlstest::TControlsFixture {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/quennary-shell-views-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        Root = pattern;
        Home = Root + "/home";
        Videos = Home + "/Videos";
        Usb = Root + "/media/USB";
        for (const std::string& dir : {Home + "/.config", Home + "/Desktop/Projects", Videos + "/2024/holiday/clips",
                                       Videos + "/empty", Videos + "/only-files", Usb + "/one/two",
                                       Root + "/media/DVD"})
            std::filesystem::create_directories(dir);
        WriteFile(Videos + "/only-files/clip.mp4", "m");
        WriteFile(Home + "/.config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n");
        WriteFile(Root + "/mounts", "/dev/root / ext4 rw 0 0\n"
                                    "proc /proc proc rw 0 0\n"
                                    "/dev/sdz1 " + Usb + " vfat rw 0 0\n"
                                    "/dev/sr9 " + Root + "/media/DVD iso9660 ro 0 0\n");
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DESKTOP_DIR", "QUENNARY_MOUNT_TABLE"})
            FSaved.emplace_back(name, FindEnvironmentVariable(name));
        SetEnvironmentVariable("HOME", Home);
        SetEnvironmentVariable("XDG_CONFIG_HOME", Home + "/.config");
        UnsetEnvironmentVariable("XDG_DESKTOP_DIR");
        SetEnvironmentVariable("QUENNARY_MOUNT_TABLE", Root + "/mounts");
        TControlsFixture::SetUp();
    }

    void TearDown() override
    {
        TControlsFixture::TearDown();
        for (auto& [name, value] : FSaved)
            value ? SetEnvironmentVariable(name, *value) : UnsetEnvironmentVariable(name);
        std::filesystem::remove_all(Root);
    }

    static void WriteFile(const std::string& APath, const std::string& AText) { std::ofstream(APath) << AText; }

    template <typename TView>
    TView* NewView(Integer AWidth = 240, Integer AHeight = 200)
    {
        auto* view = new TView(Form);
        view->SetParent(Form);
        view->SetBounds(0, 0, AWidth, AHeight);
        view->Handle();
        Pump();
        return view;
    }

    std::string Root, Home, Videos, Usb;

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> FSaved;
};

}  // namespace shellviewstest
