// The logger with the real avutil: lines assembled per thread from the library's fragments, prefixes, the repeat
// rule, level filtering, and delivery on the main thread while the main thread itself logs.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "media/loader/av_bindings.h"
#include "media/loader/engine.h"
#include "media/loader/library_loader.h"
#include "media/log/ff_logger.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/main_thread_queue.h"
#include "platform/rtl/threads.h"

namespace {

struct TLine {
    Cardinal ThreadID;
    TLogLevel Level;
    std::string Text;
    bool OnMainThread;
};

// A logging context as the library's own objects are: an AVClass pointer first, optionally a parent.
struct TTestContext {
    const AVClass* Class;
    void* Parent;
    const char* Name;
};

const char* TestItemName(void* AContext) { return static_cast<TTestContext*>(AContext)->Name; }

const AVClass TestClass = [] {
    AVClass c{};
    c.class_name = "test";
    c.item_name = TestItemName;
    c.version = LIBAVUTIL_VERSION_INT;
    c.parent_log_context_offset = offsetof(TTestContext, Parent);
    return c;
}();

void LogV(void* AContext, int ALevel, const char* AFormat, ...)
{
    va_list args;
    va_start(args, AFormat);
    // Straight into the hook with the library's own va_list handling, as av_log would.
    FFLogHook(AContext, ALevel, AFormat, args);
    va_end(args);
}

class LoggerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartMediaEngine();
        ASSERT_TRUE(FFLoader->Load(avUtil)) << TFFLoader::LastErrMsg();
        FLogger = new TFFLogger(nullptr);
        FLogger->SetLogLevel(llDebug);
        FLogger->OnLog = [this](TObject*, Cardinal AThreadID, TLogLevel ALevel, const std::string& AText) {
            std::lock_guard guard(FLock);
            FLines.push_back({AThreadID, ALevel, AText, win::GetCurrentThreadId() == MainThreadID});
        };
    }
    void TearDown() override
    {
        delete FLogger;
        StopMediaEngine();
    }
    std::vector<std::string> Texts()
    {
        std::lock_guard guard(FLock);
        std::vector<std::string> texts;
        for (const TLine& line : FLines) texts.push_back(line.Text);
        return texts;
    }

    TFFLogger* FLogger = nullptr;
    std::mutex FLock;
    std::vector<TLine> FLines;
};

TEST(LogLevels, MapBothWaysAndParseOptionTexts)
{
    for (int level = llQuiet; level <= llDebug; ++level)
        EXPECT_EQ(AVLevelToLogLevel(LogLevelToAV(static_cast<TLogLevel>(level))), level);
    const std::pair<int, TLogLevel> from_av[] = {{-100, llQuiet}, {-8, llQuiet}, {-7, llPanic}, {7, llPanic},
                                                 {8, llFatal}, {23, llError}, {24, llWarning}, {47, llVerbose},
                                                 {48, llDebug}, {1000, llDebug}};
    for (const auto& [av, expected] : from_av) EXPECT_EQ(AVLevelToLogLevel(av), expected) << av;
}

TEST_F(LoggerTest, OptLogLevelTakesNamesAndNumbers)
{
    const std::pair<const char*, TLogLevel> cases[] = {
        {"Warning", llWarning}, {"20", llError}, {"-20", llQuiet}, {"99", llDebug}, {"QUIET", llQuiet}};
    for (const auto& [text, expected] : cases) {
        FLogger->OptLogLevel(text);
        EXPECT_EQ(FLogger->LogLevel(), expected) << text;
    }
    EXPECT_THROW(FLogger->OptLogLevel("loud"), EConvertError);
    EXPECT_EQ(ff::av_log_get_level(), LogLevelToAV(llQuiet));
}

TEST_F(LoggerTest, FragmentsBecomeOneLineWithOnePrefixAndRepeatsAreCounted)
{
    TTestContext parent{&TestClass, nullptr, "parent"};
    TTestContext child{&TestClass, &parent, "child"};
    LogV(&child, AV_LOG_INFO, "a%d", 1);
    LogV(&child, AV_LOG_INFO, "b");
    LogV(&child, AV_LOG_INFO, "c\n");
    LogV(nullptr, AV_LOG_INFO, "plain\n");
    for (int i = 0; i < 3; ++i) LogV(nullptr, AV_LOG_INFO, "same\n");
    LogV(&parent, AV_LOG_INFO, "other\nsecond\n");
    // Longer than any fixed buffer: never cut.
    const std::string long_text(5000, 'x');
    LogV(nullptr, AV_LOG_INFO, "%s\n", long_text.c_str());

    const std::vector<std::string> texts = Texts();
    ASSERT_EQ(texts.size(), 7u);
    EXPECT_EQ(texts[0].rfind("[parent @ 0x", 0), 0u) << texts[0];
    EXPECT_NE(texts[0].find("] [child @ 0x"), std::string::npos) << texts[0];
    EXPECT_EQ(texts[0].substr(texts[0].size() - 5), "]a1bc") << texts[0];
    EXPECT_EQ(texts[1], "plain");
    EXPECT_EQ(texts[2], "same");
    EXPECT_EQ(texts[3], "    Last message repeated 2 times");
    EXPECT_EQ(texts[4].rfind("[parent @ 0x", 0), 0u) << texts[4];
    EXPECT_EQ(texts[4].substr(texts[4].find(']')), "]other");
    EXPECT_EQ(texts[5], "second");
    EXPECT_EQ(texts[6], long_text);
}

TEST_F(LoggerTest, LevelsFilterLibraryLinesAndEngineLines)
{
    FLogger->SetLogLevel(llError);
    ff::av_log(nullptr, AV_LOG_WARNING, "dropped\n");
    ff::av_log(nullptr, AV_LOG_ERROR, "kept\n");
    FLogger->Log(nullptr, llWarning, "dropped too");
    FLogger->Log(nullptr, llVerbose, "verbose %d", 1);
    FLogger->SetLogLevel(llQuiet);
    FLogger->Log(nullptr, llVerbose, "not when quiet");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"kept", "verbose 1"}));
}

TEST_F(LoggerTest, ThreadsKeepTheirOwnLinesAndOnLogRunsOnTheMainThreadWhileItLogs)
{
    constexpr int thread_count = 4, lines_per_thread = 50;
    static const char* const names[thread_count] = {"t0", "t1", "t2", "t3"};
    std::vector<TTestContext> contexts;
    for (const char* name : names) contexts.push_back({&TestClass, nullptr, name});
    std::atomic<int> finished{0};
    std::map<Cardinal, int> thread_index;
    std::mutex index_lock;
    std::vector<std::thread> threads;
    for (int t = 0; t < thread_count; ++t)
        threads.emplace_back([&, t] {
            {
                std::lock_guard guard(index_lock);
                thread_index[win::GetCurrentThreadId()] = t;
            }
            for (int n = 0; n < lines_per_thread; ++n) {
                ff::av_log(&contexts[t], AV_LOG_INFO, "%s-%d ", names[t], n);
                ff::av_log(&contexts[t], AV_LOG_INFO, "end\n");
            }
            ++finished;
        });
    // The main thread logs too while the workers wait for it to deliver their lines.
    int main_lines = 0;
    const bool done = WaitForWithSlices(
        [&] {
            ff::av_log(nullptr, AV_LOG_INFO, "main %d\n", main_lines++);
            return finished == thread_count;
        },
        1, 60000);
    for (std::thread& thread : threads) thread.join();
    ASSERT_TRUE(done);

    std::lock_guard guard(FLock);
    std::vector<int> next(thread_count, 0);
    int main_seen = 0;
    for (const TLine& line : FLines) {
        EXPECT_TRUE(line.OnMainThread);
        if (line.ThreadID == MainThreadID) {
            EXPECT_EQ(line.Text, "main " + std::to_string(main_seen++));
            continue;
        }
        const int t = thread_index.at(line.ThreadID);
        const std::string tail = std::string(names[t]) + "-" + std::to_string(next[t]++) + " end";
        EXPECT_EQ(line.Text.rfind(std::string("[") + names[t] + " @ 0x", 0), 0u) << line.Text;
        EXPECT_EQ(line.Text.substr(line.Text.find(']') + 1), tail);
    }
    EXPECT_EQ(main_seen, main_lines);
    for (int t = 0; t < thread_count; ++t) EXPECT_EQ(next[t], lines_per_thread);
}

TEST_F(LoggerTest, OnlyOneApplicationLoggerButItReplacesTheAutomaticOne)
{
    EXPECT_THROW(TFFLogger second(nullptr), EInvalidOperation);
    delete FLogger;
    FLogger = nullptr;
    TFFLogger* automatic = LoggerInstance();
    EXPECT_TRUE(automatic->AutoCreated());
    FLogger = new TFFLogger(nullptr);
    EXPECT_EQ(LoggerInstance(), FLogger);
}

}  // namespace
