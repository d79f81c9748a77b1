// The players' own SDL copies: made afresh in the private temporary folder at the first request of a run (a
// copy an earlier run left is replaced), one file per player, and loadable side by side.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/ui/player_sdl_copy.h"
#include "media/player/player.h"
#include "media/player/sdl_loader.h"
#include "platform/rtl/folders.h"

namespace fs = std::filesystem;

namespace {

std::string Contents(const std::string& APath)
{
    std::ifstream in(APath, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class PlayerSDLCopyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Root = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" / "sdl-copy";
        fs::remove_all(Root);
        fs::create_directories(Root);
        setenv("TMPDIR", Root.c_str(), 1);
    }
    void TearDown() override { unsetenv("TMPDIR"); }
    fs::path Root;
};

TEST_F(PlayerSDLCopyTest, EachPlayerGetsAFreshPrivateCopyItCanLoad)
{
    const std::string folder = SDLCopyFolder();
    ASSERT_EQ(folder.rfind(Root.string(), 0), 0u) << folder;
    ASSERT_EQ(folder.back(), '/');
    struct stat info {};
    ASSERT_EQ(stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    // A copy left by an earlier run (here: not a library at all) is replaced, never loaded.
    { std::ofstream(folder + "SDL_3.so") << "left by an earlier run"; }
    const std::string installed = Contents(SDLLibrarySource());
    ASSERT_FALSE(installed.empty());
    for (int number : {kMainPreviewPlayer, kEditOriginalPlayer, kEditOutputPlayer, kTrimPlayer}) {
        const std::string name = PrepareSDLCopy(number);
        EXPECT_EQ(name, "SDL_" + std::to_string(number) + ".so");
        EXPECT_TRUE(Contents(folder + name) == installed) << name;
    }

    // Later requests in the run use the copy as it is (one a player has loaded stays the file it loaded).
    const auto before = fs::last_write_time(folder + "SDL_0.so");
    EXPECT_EQ(PrepareSDLCopy(kMainPreviewPlayer), "SDL_0.so");
    EXPECT_EQ(fs::last_write_time(folder + "SDL_0.so"), before);

    // The two players of the Edit dialog run side by side, each on its own copy.
    TFFPlayer original(nullptr), output(nullptr);
    EXPECT_TRUE(original.LoadSDLLib(folder, PrepareSDLCopy(kEditOriginalPlayer))) << original.LastErrMsg();
    EXPECT_TRUE(output.LoadSDLLib(folder, PrepareSDLCopy(kEditOutputPlayer))) << output.LastErrMsg();
    // A second player on a copy that is in use is refused rather than sharing its SDL.
    TFFPlayer third(nullptr);
    EXPECT_FALSE(third.LoadSDLLib(folder, PrepareSDLCopy(kEditOutputPlayer)));
}

}  // namespace
