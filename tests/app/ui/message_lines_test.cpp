// Breaking a message into lines that fit its label, measured here with every character 10 pixels wide.
#include "app/ui/message_lines.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int TenPerCharacter(const std::string& AText)
{
    int characters = 0;
    for (unsigned char c : AText)
        if ((c & 0xC0) != 0x80) ++characters;
    return 10 * characters;
}

TEST(MessageLines, EveryLineFitsAndNothingIsLost)
{
    struct Case {
        const char* Text;
        int Width;
        const char* Lines;
    };
    const Case cases[] = {
        {"", 100, ""},
        {"short", 100, "short"},
        {"one two three four", 100, "one two\nthree four"},
        {"one two   three", 70, "one two\nthree"},  // the blanks at a break go
        {"first\nsecond line here", 100, "first\nsecond\nline here"},
        {"crlf\r\nkept", 100, "crlf\nkept"},
        // A long path breaks after its last "/" that fits, and a word without one where the line is full.
        {"/home/user/videos/clip.avi: No such file", 100, "/home/\nuser/\nvideos/\nclip.avi:\nNo such\nfile"},
        {"abcdefghijklmnopqrstuvwxyz", 100, "abcdefghij\nklmnopqrst\nuvwxyz"},
        {"open /a/b/verylongfilename.mp4", 120, "open\n/a/b/\nverylongfile\nname.mp4"},
        // UTF-8 characters stay whole; a width below one character still moves on, one character a line.
        {"\xC3\xA9t\xC3\xA9 \xC3\xA0", 30, "\xC3\xA9t\xC3\xA9\n\xC3\xA0"},
        {"abc", 5, "a\nb\nc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        const std::string lines = BreakIntoLines(c.Text, c.Width, TenPerCharacter);
        EXPECT_EQ(lines, c.Lines);
    }
}

}  // namespace
