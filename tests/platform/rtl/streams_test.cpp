#include "platform/rtl/streams.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

namespace {

class StreamTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "rtl-streams-XXXXXX").string();
        FDir = mkdtemp(pattern.data());
        FDir += "/";
    }
    void TearDown() override { std::filesystem::remove_all(FDir); }

    std::string FDir;
};

}  // namespace

TEST_F(StreamTest, ShortTransfersRaiseForEveryKindOfStream)
{
    struct Case {
        const char* Name;
        std::function<std::unique_ptr<TStream>()> Make;
    };
    const Case cases[] = {
        {"memory", [] { return std::make_unique<TMemoryStream>(); }},
        {"string", [] { return std::make_unique<TStringStream>(); }},
        {"file", [this] { return std::make_unique<TFileStream>(FDir + "data.bin", fmCreate); }},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TStream> s = c.Make();
        s->WriteBuffer("abc", 3);
        s->SetPosition(0);
        char buf[8] = {};
        try {
            s->ReadBuffer(buf, 4);
            ADD_FAILURE() << c.Name;
        } catch (const EReadError& e) {
            EXPECT_STREQ(e.what(), "Stream read error") << c.Name;
        }
        s->SetPosition(0);
        EXPECT_EQ(s->Read(buf, 8), 3) << c.Name;  // a plain Read just comes back short
        EXPECT_EQ(std::string(buf, 3), "abc") << c.Name;
        EXPECT_EQ(s->Read(buf, 1), 0) << c.Name;
        EXPECT_NO_THROW(s->ReadBuffer(buf, 0)) << c.Name;
    }

    TFileStream reader(FDir + "data.bin", fmOpenRead | fmShareDenyNone);
    try {
        reader.WriteBuffer("x", 1);
        ADD_FAILURE();
    } catch (const EWriteError& e) {
        EXPECT_STREQ(e.what(), "Stream write error");
    }
}

TEST_F(StreamTest, SeekOriginsAndSize)
{
    TMemoryStream s;
    s.WriteBuffer("0123456789", 10);
    struct Case {
        Int64 Offset;
        TSeekOrigin Origin;
        Int64 Expected;
    };
    for (const Case& c : {Case{2, soFromBeginning, 2}, Case{3, soFromCurrent, 5}, Case{-1, soFromEnd, 9},
                          Case{-4, soCurrent, 5}, Case{0, soEnd, 10}}) {
        EXPECT_EQ(s.Seek(c.Offset, c.Origin), c.Expected);
        EXPECT_EQ(s.Position(), c.Expected);
    }
    // Writing past the end fills the gap with zeros.
    s.SetPosition(12);
    s.WriteBuffer("x", 1);
    EXPECT_EQ(s.Size(), 13);
    EXPECT_EQ(std::string(static_cast<const char*>(s.Memory()) + 9, 4), std::string("9\0\0x", 4));
    s.SetSize(4);
    EXPECT_EQ(s.Position(), 4);
    s.SetPosition(-3);
    char c;
    EXPECT_EQ(s.Read(&c, 1), 0);

    TFileStream f(FDir + "sized.bin", fmCreate);
    f.WriteBuffer("abcdef", 6);
    f.SetSize(3);
    EXPECT_EQ(f.Size(), 3);
    EXPECT_EQ(f.Position(), 3);
}

TEST_F(StreamTest, CopyFromCopiesAllWithCountZeroAndRaisesWhenSourceIsShort)
{
    TStringStream source("hello world");
    source.SetPosition(6);
    TMemoryStream part;
    EXPECT_EQ(part.CopyFrom(&source, 3), 3);
    EXPECT_EQ(std::string(static_cast<const char*>(part.Memory()), 3), "wor");

    TStringStream all;
    EXPECT_EQ(all.CopyFrom(&source, 0), 11);  // from the start, whatever the position was
    EXPECT_EQ(all.DataString(), "hello world");

    source.SetPosition(8);
    TMemoryStream too_much;
    EXPECT_THROW(too_much.CopyFrom(&source, 5), EReadError);
}

TEST_F(StreamTest, FileOpenErrorsNameTheFileAndTheReason)
{
    struct Case {
        const char* Name;
        std::string File;
        Word Mode;
        std::string Message;
    };
    const Case cases[] = {
        {"missing", FDir + "none.bin", fmOpenRead,
         "Cannot open file \"" + FDir + "none.bin\". No such file or directory"},
        {"a folder", FDir, fmOpenRead, "Cannot open file \"" + FDir + "\". Is a directory"},
        {"no folder", FDir + "no/x.bin", fmCreate,
         "Cannot create file \"" + FDir + "no/x.bin\". No such file or directory"},
    };
    for (const Case& c : cases) {
        try {
            TFileStream f(c.File, c.Mode);
            ADD_FAILURE() << c.Name;
        } catch (const EFileStreamError& e) {
            EXPECT_EQ(e.what(), c.Message) << c.Name;
            EXPECT_EQ(dynamic_cast<const EFCreateError*>(&e) != nullptr, c.Mode == fmCreate) << c.Name;
        }
    }
}

TEST_F(StreamTest, MemoryStreamFileRoundTrip)
{
    TMemoryStream out;
    out.WriteBuffer("\0\1\2binary", 9);
    out.SaveToFile(FDir + "m.bin");
    TMemoryStream in;
    in.LoadFromFile(FDir + "m.bin");
    ASSERT_EQ(in.Size(), 9);
    EXPECT_EQ(std::string(static_cast<const char*>(in.Memory()), 9), std::string("\0\1\2binary", 9));
    EXPECT_EQ(in.Position(), 0);

    TFileStream rw(FDir + "m.bin", fmOpenReadWrite);
    rw.Seek(0, soEnd);
    rw.WriteBuffer("!", 1);
    rw.SetPosition(0);
    TStringStream copy;
    copy.CopyFrom(&rw, 0);
    EXPECT_EQ(copy.DataString(), std::string("\0\1\2binary!", 10));
    copy.SetPosition(3);
    EXPECT_EQ(copy.ReadString(100), "binary!");
    in.Clear();
    EXPECT_EQ(in.Size(), 0);
}
