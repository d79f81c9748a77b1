#include "platform/backend/x11/key_map.h"
#include "platform/backend/x11/uri_list.h"
#include "platform/win/keys.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

namespace {

TEST(UriList, LocalFilesAreDecodedAndEverythingElseLeftOut)
{
    struct TCase {
        const char* List;
        std::vector<std::string> Paths;
    };
    const TCase cases[] = {
        {"file:///tmp/a.mp4\r\nfile:///tmp/with%20space.mkv\r\n", {"/tmp/a.mp4", "/tmp/with space.mkv"}},
        {"file:///tmp/Gr%C3%BC%C3%9Fe.avi\n", {"/tmp/Grüße.avi"}},
        {"file://localhost/srv/x\r\nfile:/home/y\r\n", {"/srv/x", "/home/y"}},
        {"# comment\r\nhttp://example.org/a\r\nfile://otherhost/z\r\n\r\n", {}},
        {"file:///bad%2\r\nfile:///bad%zz\r\nfile:///nul%00byte\r\nfile:relative\r\n", {}},
        {"FILE:///upper/case", {"/upper/case"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.List);
        EXPECT_EQ(x11::PathsFromUriList(c.List), c.Paths);
    }
}

TEST(UriList, EncodedPathsDecodeToThemselves)
{
    for (std::string path : {"/plain", "/with space & 100%.mkv", "/Grüße Ωmega 日本.avi", "/a#b?c"}) {
        std::string uri = x11::FileUri(path);
        EXPECT_EQ(uri.find(' '), std::string::npos);
        EXPECT_EQ(x11::PathsFromUriList(uri), std::vector<std::string>{path});
    }
}

TEST(KeyMap, KeysymsBecomeVirtualKeysAndCharacters)
{
    struct TCase {
        unsigned long Keysym;
        int Key;
        char32_t Char;
    };
    const TCase cases[] = {
        {XK_a, 'A', U'a'},           {XK_Z, 'Z', U'Z'},          {XK_7, '7', U'7'},
        {XK_Return, win::VK_RETURN, 0x0D}, {XK_BackSpace, win::VK_BACK, 0x08}, {XK_Escape, win::VK_ESCAPE, 0x1B},
        {XK_F10, win::VK_F10, 0},   {XK_Left, win::VK_LEFT, 0}, {XK_KP_Left, win::VK_LEFT, 0},
        {XK_Shift_R, win::VK_SHIFT, 0}, {XK_Alt_L, win::VK_MENU, 0}, {XK_Control_L, win::VK_CONTROL, 0},
        {XK_udiaeresis, 0, U'ü'},  {0x10003A9, 0, U'Ω'},       {XK_space, win::VK_SPACE, U' '},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Keysym);
        EXPECT_EQ(x11::VirtualKeyFromKeysym(c.Keysym), c.Key);
        EXPECT_EQ(x11::CharFromKeysym(c.Keysym), c.Char);
    }
}

}  // namespace
