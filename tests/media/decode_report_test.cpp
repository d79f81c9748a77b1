// The file-information report on real files, and its text rules.
#include <gtest/gtest.h>

#include "media/decode/file_info_report.h"
#include "media/decode/frame_decoder.h"
#include "tests/fixtures/media_fixtures.h"

namespace {

class DecodeReportTest : public MediaEngineTest {
protected:
    std::string Report(const char* AFile)
    {
        TFFDecoder decoder(nullptr);
        EXPECT_TRUE(decoder.LoadFile(MediaFixture(AFile))) << decoder.LastErrMsg();
        return decoder.FileInfoText();
    }
};

size_t Count(const std::string& AText, const std::string& APart)
{
    size_t count = 0;
    for (size_t at = AText.find(APart); at != std::string::npos; at = AText.find(APart, at + 1)) ++count;
    return count;
}

TEST_F(DecodeReportTest, TheHeaderAndStreamLinesOfAClip)
{
    const std::string text = Report("bframes.mp4");
    EXPECT_EQ(text.rfind("File Name: " + MediaFixture("bframes.mp4") + "\nFormat Name: mov,mp4,m4a,3gp,3g2,mj2\n"
                         "Format Long Name: QuickTime / MOV\nFile Size: ", 0), 0u) << text;
    EXPECT_NE(text.find("\nDuration: 00:00:02.000\nStartTime: 0.000000\nBit Rate: "), std::string::npos) << text;
    EXPECT_NE(text.find("\nStream #0[0x1](und), 1/12800: Video: mpeg4"), std::string::npos) << text;
    EXPECT_NE(text.find(", 25 fps, 25 tbr, 12800 tbn, StartTime: 0.000000, Duration: 00:00:02.000\n"),
              std::string::npos) << text;
    EXPECT_NE(text.find("\n  Metadata:\n    handler_name    : VideoHandler\n"), std::string::npos) << text;
}

TEST_F(DecodeReportTest, TagsShowUnderTheirGenericNames)
{
    const std::string text = Report("tagged.mp3");
    EXPECT_NE(text.find("\nMetadata:\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n  title           : Fixture Title\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n  artist          : Fixture Artist\n"), std::string::npos) << text;
}

TEST_F(DecodeReportTest, AProgramListsItsStreamsOnce)
{
    const std::string text = Report("clip.ts");
    EXPECT_NE(text.find("\nProgram 1 FFmpeg@Service01\n"), std::string::npos) << text;
    EXPECT_EQ(Count(text, "Stream #0[0x100]"), 1u) << text;
    EXPECT_EQ(Count(text, "Stream #1[0x101]"), 1u) << text;
    EXPECT_NE(text.find("90k tbn"), std::string::npos) << text;
    EXPECT_LT(text.find("Program 1"), text.find("Stream #0"));
}

TEST_F(DecodeReportTest, LanguagesShowInTheStreamLine)
{
    const std::string text = Report("multi.mkv");
    EXPECT_NE(text.find("\nStream #1(eng), 1/1000: Audio: ac3"), std::string::npos) << text;
    EXPECT_NE(text.find("\nStream #2(ger), 1/1000: Audio: ac3"), std::string::npos) << text;
    EXPECT_NE(text.find("\nStream #3(eng), 1/1000: Subtitle: subrip"), std::string::npos) << text;
    EXPECT_EQ(Count(text, "  language"), 0u) << text;
}

TEST(ReportTexts, RatesTimesAndKeys)
{
    const std::pair<double, const char*> rates[] = {
        {30000.0 / 1001, ", 29.97 fps"}, {25, ", 25 fps"}, {90000, ", 90k fps"}, {12800, ", 12800 fps"},
        {23.976, ", 23.98 fps"}, {1000, ", 1k fps"}, {100, ", 100 fps"}};
    for (const auto& [rate, text] : rates) EXPECT_EQ(RateText(rate, "fps"), text) << rate;

    const std::pair<int64_t, const char*> seconds[] = {
        {0, "0.000000"}, {1500000, "1.500000"}, {-21333, "-0.021333"}, {-1500000, "-1.500000"}};
    for (const auto& [value, text] : seconds) EXPECT_EQ(SecondsText(value), text) << value;

    const std::pair<const char*, const char*> keys[] = {
        {"TIT2", "title"}, {"TPE1", "artist"}, {"Author", "artist"}, {"WM/Track", "track"}, {"TDEN", "creation_time"},
        {"TRK", "track"}, {"tit2", "tit2"}, {"encoder", "encoder"}};
    for (const auto& [key, generic] : keys) EXPECT_EQ(GenericMetadataKey(key), generic) << key;
}

}  // namespace
