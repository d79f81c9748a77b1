#include "platform/rtl/dynlib.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <link.h>

namespace {
// Where the system keeps zlib, asked of the dynamic loader so the test holds on any architecture.
std::string ZlibPath()
{
    void* handle = dlopen("libz.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return "";
    link_map* map = nullptr;
    std::string path;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name)
        path = map->l_name;
    dlclose(handle);
    return path;
}
}  // namespace

TEST(DynLib, OpensZlibByPathAndFindsItsVersion)
{
    const std::string path = ZlibPath();
    ASSERT_EQ(path.front(), '/') << path;
    win::HMODULE zlib = win::LoadLibrary(path);
    ASSERT_NE(zlib, nullptr) << win::LastLibraryError();
    using TVersion = const char* (*)();
    auto version = reinterpret_cast<TVersion>(win::GetProcAddress(zlib, "zlibVersion"));
    ASSERT_NE(version, nullptr) << win::LastLibraryError();
    EXPECT_EQ(std::string(version()).substr(0, 2), "1.");
    EXPECT_EQ(win::LastLibraryError(), "");
    EXPECT_TRUE(win::FreeLibrary(zlib));
}

TEST(DynLib, FailuresLeaveTheirReasonTable)
{
    const std::string zlib_path = ZlibPath();
    win::HMODULE zlib = win::LoadLibrary(zlib_path, win::lsGlobal);
    ASSERT_NE(zlib, nullptr);
    struct Case {
        const char* Name;
        std::function<bool()> Call;  // true when the call failed as it should
        std::string ErrorHolds;
    };
    const Case cases[] = {
        {"missing file", [] { return !win::LoadLibrary("/nonexistent/libmissing-quennary.so"); },
         "libmissing-quennary.so"},
        {"not a library", [] { return !win::LoadLibrary("/etc/hostname"); }, "/etc/hostname"},
        {"empty name", [] { return !win::LoadLibrary(""); }, "No library"},
        {"missing symbol", [&] { return !win::GetProcAddress(zlib, "quennary_no_such_symbol"); },
         "quennary_no_such_symbol"},
        {"no module", [] { return !win::GetProcAddress(nullptr, "zlibVersion"); }, "No library"},
        {"free nothing", [] { return !win::FreeLibrary(nullptr); }, "No library"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_TRUE(c.Call());
        EXPECT_NE(win::LastLibraryError().find(c.ErrorHolds), std::string::npos) << win::LastLibraryError();
    }
    EXPECT_TRUE(win::FreeLibrary(zlib));
}
