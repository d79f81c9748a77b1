// Loading and binding the FFmpeg libraries at run time, with the real libraries of this machine and stand-ins
// built beside this test.
#include <gtest/gtest.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "media/loader/av_bindings.h"
#include "media/loader/binding.h"
#include "media/loader/engine.h"
#include "media/loader/library_loader.h"
#include "platform/rtl/exceptions.h"

namespace {

const std::string TestFolder = QUENNARY_BINARY_DIR "/tests/media";

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override { StartMediaEngine(); }
    void TearDown() override { StopMediaEngine(); }
};

void ExpectNothingLoaded()
{
    TFFLoader loader;
    for (TLibrary lib : {avUtil, swResample, swScale, avCodec, avFormat, avFilter})
        EXPECT_FALSE(loader.Loaded(lib)) << TFFLoader::LibraryFileName(lib);
    EXPECT_EQ(ff::avutil_version, nullptr);
    EXPECT_EQ(ff::sws_alloc_context, nullptr);
    EXPECT_EQ(ff::avfilter_graph_alloc, nullptr);
}

TEST_F(LoaderTest, TheSystemSetLoadsBindsAndUnloads)
{
    // A folder without the libraries falls back to the system's search.
    TFFLoader::SetLibraryPath(TestFolder + "/no-such-folder");
    ASSERT_TRUE(FFLoader->Load(PlayerLibraries)) << TFFLoader::LastErrMsg();
    EXPECT_TRUE(FFLoader->Loaded(PlayerLibraries));
    EXPECT_EQ(AV_VERSION_MAJOR(ff::avcodec_version()), LIBAVCODEC_VERSION_MAJOR);
    EXPECT_NE(ff::avfilter_get_by_name("scale"), nullptr);
    // A second load of a bound library answers true without opening it again.
    EXPECT_TRUE(FFLoader->Load(avCodec));

    StopMediaEngine();
    ExpectNothingLoaded();
    StartMediaEngine();
}

struct TBrokenCase {
    const char* Name;
    const char* Folder;
    const char* Expected;  // LastErrMsg starts with this
};

class BrokenLibraryTest : public LoaderTest, public ::testing::WithParamInterface<TBrokenCase> {};

TEST_P(BrokenLibraryTest, FailsWithTheTextAndRollsTheWholeSetBack)
{
    // Loaded before, on its own, as another component would have: the failing set takes it down too.
    ASSERT_TRUE(FFLoader->Load(avUtil));
    TFFLoader::SetLibraryPath(TestFolder + "/" + GetParam().Folder);
    EXPECT_FALSE(FFLoader->Load(PlayerLibraries));
    EXPECT_EQ(TFFLoader::LastErrMsg().rfind(GetParam().Expected, 0), 0u) << TFFLoader::LastErrMsg();
    ExpectNothingLoaded();
    // A later success does not clear the text of the failure.
    TFFLoader::SetLibraryPath("");
    EXPECT_TRUE(FFLoader->Load(DecoderLibraries));
    EXPECT_EQ(TFFLoader::LastErrMsg().rfind(GetParam().Expected, 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    StandIns, BrokenLibraryTest,
    ::testing::Values(
        TBrokenCase{"MissingEntry", "LibAV-missing-entry", "Load function sws_freeContext@libswscale.so.6 error: "},
        TBrokenCase{"OtherMajor", "LibAV-old-major",
                    "Load library libswscale.so.6 error: major version 5, expected 6"}),
    [](const ::testing::TestParamInfo<TBrokenCase>& AInfo) { return std::string(AInfo.param.Name); });

TEST_F(LoaderTest, AMissingLibraryNamesFolderAndFile)
{
    std::string error;
    EXPECT_EQ(LoadDllFromFolder(TestFolder, "libquennary-none.so.1", error), nullptr);
    EXPECT_NE(error.find("libquennary-none.so.1"), std::string::npos) << error;
}

TEST_F(LoaderTest, OptionalAndVariableEntries)
{
    std::string error;
    void* handle = LoadDllFromFolder(TestFolder + "/LibAV-missing-entry", "libswscale.so.6", error);
    ASSERT_NE(handle, nullptr) << error;
    auto slot = reinterpret_cast<decltype(ff::sws_freeContext)>(uintptr_t{1});  // not empty before
    BindFunction("libswscale.so.6", handle, "sws_freeContext", true, slot);
    EXPECT_EQ(slot, nullptr);
    void* variable = &error;
    try {
        BindVariable("libswscale.so.6", handle, "sws_freeContext", false, variable);
        ADD_FAILURE() << "a missing mandatory variable must fail";
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Load variable sws_freeContext@libswscale.so.6 error: ", 0), 0u);
    }
    dlclose(handle);
}

TEST_F(LoaderTest, ALibraryFolderGoesInFrontOfPathOnceAndTheCurrentFolderStays)
{
    const std::string folder = TestFolder + "/LibAV-old-major";
    const std::string old_path = std::getenv("PATH") ? std::getenv("PATH") : "";
    char before[4096];
    ASSERT_NE(getcwd(before, sizeof before), nullptr);
    for (int i = 0; i < 2; ++i) {
        std::string error;
        void* handle = LoadDllFromFolder(folder, "libswscale.so.6", error);
        ASSERT_NE(handle, nullptr) << error;
        dlclose(handle);
    }
    EXPECT_EQ(std::string(std::getenv("PATH")), folder + ":" + old_path);
    char after[4096];
    ASSERT_NE(getcwd(after, sizeof after), nullptr);
    EXPECT_STREQ(after, before);
    setenv("PATH", old_path.c_str(), 1);
}

TEST_F(LoaderTest, AnEmptySetIsMisuse)
{
    EXPECT_THROW(FFLoader->Load(TLibraries{}), EInvalidArgument);
    EXPECT_THROW(FFLoader->Loaded(TLibraries{}), EInvalidArgument);
}

}  // namespace
