#include "gui_fixture.h"

#include "platform/gui/clipboard.h"
#include "platform/win/shell.h"

#include <thread>

namespace guitest {
namespace {

using namespace win;

class ClipboardObject : public TGuiFixture {};

TEST_F(ClipboardObject, TextGoesInAndComesBackAndClearEmptiesIt)
{
    TClipboard* clipboard = Clipboard();
    EXPECT_EQ(clipboard, Clipboard());
    clipboard->Clear();
    EXPECT_FALSE(clipboard->HasFormat(CF_TEXT));
    EXPECT_EQ(clipboard->AsText(), "");

    const std::string text = "Zeile 1\r\nЯпония 日本 🎬";
    clipboard->SetAsText(text);
    EXPECT_EQ(clipboard->AsText(), text);
    EXPECT_EQ(Display.ClipboardText(), text);  // it reached the desktop's side
    struct TCase {
        unsigned Format;
        bool Expected;
    };
    for (TCase c : {TCase{CF_TEXT, true}, TCase{CF_UNICODETEXT, true}, TCase{2, false}}) {
        SCOPED_TRACE(c.Format);
        EXPECT_EQ(clipboard->HasFormat(c.Format), c.Expected);
    }
    // Empty text counts as no text, as the edit menus ask it.
    clipboard->SetAsText("");
    EXPECT_FALSE(clipboard->HasFormat(CF_TEXT));
    clipboard->SetAsText("x");
    clipboard->Clear();
    EXPECT_FALSE(clipboard->HasFormat(CF_UNICODETEXT));
}

TEST_F(ClipboardObject, OpenNestsAndKeepsOtherThreadsOutUntilTheLastClose)
{
    TClipboard* clipboard = Clipboard();
    auto other_thread_can_open = [] {
        bool opened = false;
        std::thread([&] {
            TClipboard own;
            try {
                own.Open();
                opened = true;
                own.Close();
            } catch (const EClipboardException& e) {
                EXPECT_STREQ(e.what(), "Cannot open clipboard");
            }
        }).join();
        return opened;
    };
    clipboard->Open();
    clipboard->Open();
    clipboard->SetAsText("held");  // its own Open and Close nest inside
    clipboard->Close();
    EXPECT_FALSE(other_thread_can_open());
    clipboard->Close();
    EXPECT_TRUE(other_thread_can_open());
    clipboard->Close();  // one too many does nothing
    EXPECT_TRUE(other_thread_can_open());
    EXPECT_EQ(clipboard->AsText(), "held");
}

}  // namespace
}  // namespace guitest
