// Engine start-up and shut-down, and the registry that tells blocked I/O to give up.
#include <gtest/gtest.h>

#include "media/loader/av_bindings.h"
#include "media/loader/engine.h"
#include "media/loader/interrupt_registry.h"
#include "media/loader/library_loader.h"
#include "media/util/media_utils.h"
#include "platform/rtl/threads.h"

namespace {

struct TAnswer : TObject {
    explicit TAnswer(bool AValue) : Value(AValue) {}
    bool Value;
};
bool AnswerOf(TObject* Sender) { return static_cast<TAnswer*>(Sender)->Value; }
bool AlwaysTrue(TObject*) { return true; }

TEST(Engine, ShutDownUnloadsEverythingAndStartsAgain)
{
    for (int round = 0; round < 2; ++round) {
        StartMediaEngine();
        ASSERT_NE(FFLoader, nullptr);
        EXPECT_EQ(TFFLoader::LibraryPath(), GetExeFolder() + "LibAV");
        ASSERT_TRUE(FFLoader->Load(AllLibraries)) << TFFLoader::LastErrMsg();
        StopMediaEngine();
        EXPECT_EQ(FFLoader, nullptr);
        EXPECT_EQ(InterruptCB, nullptr);
        EXPECT_FALSE(TFFLoader().Loaded(AllLibraries));
        EXPECT_EQ(ff::av_log, nullptr);
        EXPECT_EQ(ff::avfilter_graph_alloc, nullptr);
    }
}

TEST(Engine, InterruptRegistryAsksTheFirstRegistrationOfTheCallingThread)
{
    StartMediaEngine();
    const Cardinal self = win::GetCurrentThreadId();
    TAnswer no(false), yes(true);
    EXPECT_EQ(InterruptCallback().callback(nullptr), 0);  // nothing registered: FFmpeg carries on

    InterruptCB->Add(self, &no, AnswerOf);
    InterruptCB->Add(self, &no, AnswerOf);  // the same registration again is ignored
    InterruptCB->Add(self, &yes, AnswerOf);
    InterruptCB->Add(self + 1, &yes, AlwaysTrue);
    EXPECT_FALSE(InterruptCB->Interrupt(self));
    InterruptCB->Remove(self, &no, AnswerOf);
    EXPECT_TRUE(InterruptCB->Interrupt(self));  // one Remove took the only copy of the first
    EXPECT_EQ(InterruptCallback().callback(nullptr), 1);
    EXPECT_FALSE(InterruptCB->Interrupt(self + 2));
    InterruptCB->Clear();
    EXPECT_FALSE(InterruptCB->Interrupt(self + 1));
    StopMediaEngine();
}

}  // namespace
