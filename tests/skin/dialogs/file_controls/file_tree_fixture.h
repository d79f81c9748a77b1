#pragma once
// A temporary folder tree for the file-system controls, a fixture mount table and label folder pointing into it,
// and the process's current directory put back after each test (the controls move it).
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "skin/dialogs/file_controls_volumes.h"
#include "tests/skin/controls/controls_fixture.h"

namespace filetest {

// Root/
//   docs/  a.txt A.txt b.md noext .hidden sub1/ Sub2/ .git/
//   media/ clip.mp4 clip.m4v clip.ts
//   vol/   usb/ (removable, labelled "STICK") net/ (nfs) ram/ (tmpfs) cd/ (iso9660, labelled "Disc")
//   link -> docs    file.txt
class TFileTreeFixture : public controlstest::TControlsFixture {
protected:
    void SetUp() override
    {
        TControlsFixture::SetUp();
        SavedDir = std::filesystem::current_path().string();
        char pattern[] = "/tmp/filectl-XXXXXX";
        Root = mkdtemp(pattern);
        for (const char* dir : {"docs", "docs/sub1", "docs/Sub2", "docs/.git", "media", "vol/usb", "vol/net",
                                "vol/ram", "vol/cd", "dev", "labels", "block/sdb1", "proc"})
            std::filesystem::create_directories(Root + "/" + dir);
        for (const char* file : {"docs/a.txt", "docs/A.txt", "docs/b.md", "docs/noext", "docs/.hidden",
                                 "media/clip.mp4", "media/clip.m4v", "media/clip.ts", "file.txt", "dev/sdb1",
                                 "dev/sr0"})
            std::ofstream(Root + "/" + file) << "x";
        std::filesystem::create_directory_symlink(Root + "/docs", Root + "/link");
        std::filesystem::create_symlink(Root + "/dev/sdb1", Root + "/labels/STICK");
        std::filesystem::create_symlink(Root + "/dev/sr0", Root + "/labels/Disc");
        std::ofstream(Root + "/block/sdb1/removable") << "1\n";
        std::ofstream(Root + "/mounts") << "/dev/vda / ext4 rw 0 0\n"
                                        << "proc /proc proc rw 0 0\n"
                                        << Root + "/dev/sdb1 " + Root + "/vol/usb vfat rw 0 0\n"
                                        << "server:/export " + Root + "/vol/net nfs4 rw 0 0\n"
                                        << "tmpfs " + Root + "/vol/ram tmpfs rw 0 0\n"
                                        << Root + "/dev/sr0 " + Root + "/vol/cd iso9660 ro 0 0\n"
                                        << "tmpfs " + Root + "/vol/gone tmpfs rw 0 0\n";
        TVolumeSources sources;
        sources.MountTable = Root + "/mounts";
        sources.LabelFolder = Root + "/labels";
        sources.BlockFolder = Root + "/block";
        SetVolumeSources(sources);
    }

    void TearDown() override
    {
        TControlsFixture::TearDown();
        std::filesystem::current_path(SavedDir);
        SetVolumeSources(TVolumeSources());
        std::filesystem::remove_all(Root);
    }

    std::string Cwd() const { return std::filesystem::current_path().string(); }

    std::string Root;
    std::string SavedDir;
};

}  // namespace filetest
