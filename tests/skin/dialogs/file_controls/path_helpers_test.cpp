// Path helpers of the file-system controls: narrowing a path to a width in a real font, the folder-dropping step,
// joining, folder tests, splitting typed text against the current directory, and the volumes read from a fixture
// mount table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/rtl/exceptions.h"
#include "skin/dialogs/file_controls_volumes.h"
#include "skin/dialogs/path_helpers.h"
#include "tests/skin/dialogs/file_controls/file_tree_fixture.h"

namespace {

class PathHelpersTest : public filetest::TFileTreeFixture {
protected:
    void SetUp() override
    {
        TFileTreeFixture::SetUp();
        Canvas()->Font()->SetName("DejaVu Sans");
        Canvas()->Font()->SetHeight(13);
    }
    TCanvas* Canvas() { return Picture.Canvas(); }
    TBitmap Picture{8, 8, pf24bit};
};

TEST_F(PathHelpersTest, ShortenFirstFolderDropsOneFolderAtATime)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/a/b/c/", "/.../b/c/"}, {"/.../b/c/", "/.../c/"}, {"/.../c/", "/.../"}, {".../", ""},
        {"a/b/", ".../b/"},       {"/", ""},                {"name", ""},
        // A hidden folder starts with a dot too; only the marker of an earlier pass is skipped.
        {"/.config/x/", "/.../x/"}, {"/.../.config/x/", "/.../x/"},
    };
    for (const auto& [in, out] : cases) {
        std::string s = in;
        ShortenFirstFolder(s);
        EXPECT_EQ(s, out) << in;
    }
}

TEST_F(PathHelpersTest, FitPathToWidthNarrowsStepByStepInTheFont)
{
    struct TCase {
        std::string Path;
        std::vector<std::string> Steps;  // each narrower candidate, widest first
    };
    const std::vector<TCase> cases = {
        {"/a/b/c/f.txt", {"/a/b/c/f.txt", "/.../b/c/f.txt", "/.../c/f.txt", "/.../f.txt", ".../f.txt", "f.txt"}},
        {"/videos/holiday/2024/clip.mp4",
         {"/videos/holiday/2024/clip.mp4", "/.../holiday/2024/clip.mp4", "/.../2024/clip.mp4", "/.../clip.mp4",
          ".../clip.mp4", "clip.mp4"}},
        {"/f.txt", {"/f.txt", "f.txt"}},
        {"/a-very-long-single-file-name.mkv", {"/a-very-long-single-file-name.mkv", "a-very-long-single-file-name.mkv"}},
        {"/home/.config/x/f", {"/home/.config/x/f", "/.../.config/x/f", "/.../x/f", "/.../f", ".../f", "f"}},
        {"/домашний/видео/фильм.mp4",
         {"/домашний/видео/фильм.mp4", "/.../видео/фильм.mp4", "/.../фильм.mp4", ".../фильм.mp4", "фильм.mp4"}},
        {"rel/dir/f", {"rel/dir/f", ".../dir/f", ".../f", "f"}},
    };
    for (const TCase& c : cases) {
        // At any width the answer is the first step, widest first, that fits.
        for (size_t i = 0; i < c.Steps.size(); ++i) {
            for (const int width : {Canvas()->TextWidth(c.Steps[i]), Canvas()->TextWidth(c.Steps[i]) - 1}) {
                size_t fit = 0;
                while (fit + 1 < c.Steps.size() && Canvas()->TextWidth(c.Steps[fit]) > width) ++fit;
                EXPECT_EQ(FitPathToWidth(c.Path, Canvas(), width), c.Steps[fit]) << c.Path << " at " << width;
            }
        }
        // The file name itself is never shortened.
        EXPECT_EQ(FitPathToWidth(c.Path, Canvas(), 0), c.Steps.back()) << c.Path;
    }
}

TEST_F(PathHelpersTest, AppendPathPartAndFolderExists)
{
    EXPECT_EQ(AppendPathPart("/", "a"), "/a");
    EXPECT_EQ(AppendPathPart("/x", "a"), "/x/a");
    EXPECT_EQ(AppendPathPart("/x/", "a"), "/x/a");

    const std::vector<std::pair<std::string, bool>> cases = {
        {Root + "/docs", true}, {Root + "/link", true},          {Root + "/file.txt", false},
        {Root + "/missing", false}, {"", false},                 {"/", true},
    };
    for (const auto& [name, folder] : cases) EXPECT_EQ(FolderExists(name), folder) << name;
}

TEST_F(PathHelpersTest, SplitEditPathTellsFoldersFromFilesAndPatterns)
{
    std::filesystem::current_path(Root);
    struct TCase {
        std::string Typed, Dir, File;
    };
    const std::vector<TCase> cases = {
        {Root + "/docs/*.txt", Root + "/docs", "*.txt"},
        {Root + "/docs/sub1", Root + "/docs/sub1", ""},
        {Root + "/docs/a.txt", Root + "/docs", "a.txt"},
        {Root + "/docs/", Root + "/docs", ""},
        {"docs/b.md", Root + "/docs", "b.md"},  // relative to the current directory
        {"media", Root + "/media", ""},
        {"/", "/", ""},
        {"[docs]", Root + "/docs", ""},  // the drive box's label brackets are dropped
    };
    for (const TCase& c : cases) {
        const TEditPathParts parts = SplitEditPath(c.Typed);
        EXPECT_EQ(parts.DirPart, c.Dir) << c.Typed;
        EXPECT_EQ(parts.FilePart, c.File) << c.Typed;
        EXPECT_EQ(Cwd(), Root) << "current directory moved by " << c.Typed;
    }
    EXPECT_EQ(SplitEditPath(Root + "/vol/usb/*.txt").Drive, Root + "/vol/usb");
    EXPECT_EQ(SplitEditPath(Root + "/docs").Drive, "/");
}

TEST_F(PathHelpersTest, SplitEditPathRaisesForFoldersThatCannotBeEnteredAndRestoresTheCurrentOne)
{
    std::filesystem::current_path(Root + "/docs");
    // A last part naming neither a file nor a folder is taken for a folder, and fails as one.
    for (const std::string typed : {Root + "/missing/a.txt", Root + "/missing", Root + "/file.txt/x", Root + "/docs/new.txt"}) {
        EXPECT_THROW(SplitEditPath(typed), EInOutError) << typed;
        EXPECT_EQ(Cwd(), Root + "/docs") << typed;
    }
}

TEST_F(PathHelpersTest, VolumesComeFromTheMountTable)
{
    const std::vector<TVolume> volumes = ReadVolumes();
    std::vector<std::pair<std::string, TVolumeKind>> seen;
    for (const TVolume& v : volumes) seen.emplace_back(v.MountPoint, v.Kind);
    // /proc is the kernel's, and a mount point that is not a folder is not offered.
    const std::vector<std::pair<std::string, TVolumeKind>> expected = {
        {"/", TVolumeKind::Fixed},
        {Root + "/vol/cd", TVolumeKind::CDROM},
        {Root + "/vol/net", TVolumeKind::Remote},
        {Root + "/vol/ram", TVolumeKind::RAM},
        {Root + "/vol/usb", TVolumeKind::Removable},
    };
    EXPECT_EQ(seen, expected);

    EXPECT_EQ(GetVolumeLabelText(Root + "/vol/usb"), "[STICK]");
    EXPECT_EQ(GetVolumeLabelText(Root + "/vol/cd"), "[Disc]");
    EXPECT_EQ(GetVolumeLabelText(Root + "/vol/ram"), "[]");
    EXPECT_EQ(GetVolumeLabelText(Root + "/docs"), "[]");  // not a mount point
    EXPECT_EQ(GetNetworkOrVolumeName(Root + "/vol/net"), "server:/export");
    EXPECT_EQ(GetNetworkOrVolumeName(Root + "/vol/usb"), "[STICK]");

    EXPECT_EQ(MountPointOf(Root + "/vol/usb/deep/er"), Root + "/vol/usb");
    EXPECT_EQ(MountPointOf(Root + "/vol/usbx"), "/");
    EXPECT_EQ(MountPointOf("relative"), "");
    EXPECT_FALSE(VolumeIsCaseSensitive(Root + "/vol/usb"));
    EXPECT_TRUE(VolumePreservesCase(Root + "/vol/usb"));
    EXPECT_TRUE(VolumeIsCaseSensitive("/"));
}

TEST_F(PathHelpersTest, MountTableEscapesAndRemounts)
{
    std::filesystem::create_directories(Root + "/with space");
    std::ofstream(Root + "/mounts") << "tmpfs " + Root + "/with\\040space tmpfs rw 0 0\n"
                                    << "tmpfs " + Root + "/media tmpfs rw 0 0\n"
                                    << "server:/x " + Root + "/media nfs rw 0 0\n";
    const std::vector<TVolume> volumes = ReadVolumes();
    ASSERT_EQ(volumes.size(), 3u);
    EXPECT_EQ(volumes[0].MountPoint, "/");  // always there, even when the table lacks it
    EXPECT_EQ(volumes[1].MountPoint, Root + "/media");
    EXPECT_EQ(volumes[1].Kind, TVolumeKind::Remote);  // the later mount hides the earlier
    EXPECT_EQ(volumes[2].MountPoint, Root + "/with space");
}

}  // namespace
