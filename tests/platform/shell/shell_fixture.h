#pragma once
// A private namespace for shell tests: HOME, XDG_CONFIG_HOME (with a user-dirs.dirs) and the mount table point
// into a temporary tree, removed afterwards.
//
//   home/              Desktop/ (notes.txt, Projects/), Docs/, files/ (the list fixture, below)
//   home/files/        a, A, b.ts, movie.mp4 (3000 bytes), song.mp3 (20 bytes), Zeta/, sub/, .hidden,
//                      link.avi -> movie.mp4, dirlink -> sub, "bad\xE9.ts" (not UTF-8), readonly/ (mode 555)
//   media/USB, media/DVD, mnt/net   mounted volumes (block device, optical, network) in the mount table
#include "platform/rtl/environment.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class TShellFixtureTree {
public:
    void CreateTree()
    {
        char pattern[] = "/tmp/quennary-shell-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        FRoot = pattern;
        FHome = FRoot + "/home";
        FFiles = FHome + "/files";
        namespace fs = std::filesystem;
        for (const char* dir : {"/home/.config", "/home/Desktop/Projects", "/home/Docs", "/home/files/Zeta",
                                "/home/files/sub/deeper/deepest", "/home/files/readonly", "/media/USB", "/media/DVD",
                                "/mnt/net"})
            fs::create_directories(FRoot + dir);
        WriteFile(FHome + "/Desktop/notes.txt", "n");
        WriteFile(FFiles + "/a", "a");
        WriteFile(FFiles + "/A", "AA");
        WriteFile(FFiles + "/b.ts", "bbbb");
        WriteFile(FFiles + "/movie.mp4", std::string(3000, 'm'));
        WriteFile(FFiles + "/song.mp3", std::string(20, 's'));
        WriteFile(FFiles + "/.hidden", "h");
        WriteFile(FFiles + "/bad\xE9.ts", "x");
        WriteFile(FFiles + "/readonly/inside.txt", "i");
        fs::create_symlink("movie.mp4", FFiles + "/link.avi");
        fs::create_directory_symlink("sub", FFiles + "/dirlink");
        chmod((FFiles + "/readonly").c_str(), 0555);
        WriteFile(FHome + "/.config/user-dirs.dirs",
                  "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n");
        FMounts = FRoot + "/mounts";
        WriteFile(FMounts, "/dev/root / ext4 rw 0 0\n"
                           "proc /proc proc rw 0 0\n"
                           "tmpfs /run tmpfs rw 0 0\n"
                           "/dev/sdz1 " + FRoot + "/media/USB vfat rw 0 0\n"
                           "/dev/sr9 " + FRoot + "/media/DVD iso9660 ro 0 0\n"
                           "server:/share " + FRoot + "/mnt/net nfs4 rw 0 0\n");
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DESKTOP_DIR", "QUENNARY_MOUNT_TABLE"})
            FSaved.emplace_back(name, FindEnvironmentVariable(name));
        SetEnvironmentVariable("HOME", FHome);
        SetEnvironmentVariable("XDG_CONFIG_HOME", FHome + "/.config");
        UnsetEnvironmentVariable("XDG_DESKTOP_DIR");
        SetEnvironmentVariable("QUENNARY_MOUNT_TABLE", FMounts);
    }

    void RemoveTree()
    {
        for (auto& [name, value] : FSaved)
            value ? SetEnvironmentVariable(name, *value) : UnsetEnvironmentVariable(name);
        chmod((FFiles + "/readonly").c_str(), 0755);
        std::filesystem::remove_all(FRoot);
    }

    static void WriteFile(const std::string& APath, const std::string& AText) { std::ofstream(APath) << AText; }

    std::string FRoot, FHome, FFiles, FMounts;
    std::vector<std::pair<std::string, std::optional<std::string>>> FSaved;
};

class ShellFixture : public ::testing::Test, public TShellFixtureTree {
protected:
    void SetUp() override { CreateTree(); }
    void TearDown() override { RemoveTree(); }
};
