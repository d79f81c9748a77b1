// Adding many files to the real main window (its skin, grid and drop handling as the converter builds them):
// while the files are probed the window goes on handling its messages and painting; the jobs, log lines and
// messages still come in the order of the drop; closing the window while files are added stops the add.
// Headless, input injected.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/add_files.h"
#include "app/ui/file_adder_loop.h"
#include "app/ui/main_form.h"
#include "app/ui/main_thread_calls.h"
#include "media/decode/frame_decoder.h"
#include "platform/win/message_queue.h"
#include "platform/win/messages.h"
#include "platform/rtl/main_thread_queue.h"
#include "skin/controls/push_button.h"
#include "skin/dialogs/grids/string_grid.h"
#include "tests/app/ui/startup_services_fixture.h"
#include "tests/fixtures/media_fixtures.h"
#include "tests/platform/gui/gui_fixture.h"

namespace fs = std::filesystem;

namespace {

constexpr win::UINT kMarker = win::WM_APP + 58;

class AddingFilesWindowTest : public guitest::TGuiFixture {
protected:
    void SetUp() override
    {
        TGuiFixture::SetUp();
        StartMediaEngine();
        ASSERT_TRUE(FFLoader->Load(DecoderLibraries)) << TFFLoader::LastErrMsg();
        Root = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" /
               ("adding-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(Root);
        for (const char* folder : {"config", "documents", "media"}) fs::create_directories(Root / folder);
        setenv("XDG_CONFIG_HOME", (Root / "config").c_str(), 1);
        Calls = std::make_unique<TMainThreadCallsInLoop>();
        Decoder = new TFFDecoder(App.get());
        Adder = std::make_unique<TFileAdder>(State.Jobs, *Decoder, State.EventsLog, State.Catalogue);
        Adder->ShowMessage = [this](const std::string& AText) {
            Messages.push_back(std::to_string(State.Jobs.Count()) + " " + AText);
        };
        WaitInMessageLoop(*Adder, *App);
        Form = App->CreateForm<TMainForm>(State, "");
        Form->FileAdder = Adder.get();
        std::vector<std::string> shown;
        EXPECT_TRUE(Form->Load(BuildTreeStartupServices(Root, shown)));
        Form->Show();
        Pump();
        // A drop posts a message of the test's own; when the window handles it, it answers during the add.
        App->SetOnMessage([this](win::MSG& AMsg, bool& AHandled) {
            if (AMsg.message == win::WM_DROPFILES) win::PostMessage(Form->Handle(), kMarker, 0, 0);
            if (AMsg.message == win::WM_PAINT && Adder->Adding()) ++PaintsWhileAdding;
            if (AMsg.message != kMarker) return;
            AHandled = true;
            JobsWhenAnswered = State.Jobs.Count();
            AddingWhenAnswered = Adder->Adding();
            Form->sgList->Invalidate();
            if (OnAnswer) OnAnswer();
        });
    }
    void TearDown() override
    {
        Form->FileAdder = nullptr;
        Adder.reset();
        Calls.reset();
        TGuiFixture::TearDown();
        StopMediaEngine();
    }

    // 60 clips of several kinds, with files the decoder refuses among them (not media, cut short, missing).
    std::vector<std::string> ManyFiles(std::vector<std::string>& AAdded, std::vector<std::string>& ARefused)
    {
        const char* kinds[] = {"clip.avi", "tagged.mp3", "tall2997.mp4", "not_media.mp4", "cover.m4a",
                               "wide24.mkv", "truncated.mp4", "r2997.webm", "clip.mpg", "cover.mp3"};
        std::vector<std::string> paths;
        for (int i = 0; i < 60; ++i) {
            const std::string kind = kinds[i % std::size(kinds)];
            const std::string name = std::to_string(i) + " " + kind;
            fs::copy_file(MediaFixture(kind), Root / "media" / name);
            paths.push_back((Root / "media" / name).string());
            (kind == "not_media.mp4" || kind == "truncated.mp4" ? ARefused : AAdded).push_back(name);
            if (i % 25 == 12) {
                paths.push_back((Root / "media" / ("gone " + std::to_string(i) + ".mp4")).string());
                ARefused.push_back("gone " + std::to_string(i) + ".mp4");
            }
        }
        return paths;
    }
    void DropOnForm(const std::vector<std::string>& APaths)
    {
        EXPECT_TRUE(Display.DropFiles(Form->ClientToScreen({400, 150}), APaths));
        Pump();
    }

    fs::path Root;
    TConverterState State;
    std::unique_ptr<TMainThreadCallsInLoop> Calls;
    TFFDecoder* Decoder = nullptr;
    std::unique_ptr<TFileAdder> Adder;
    TMainForm* Form = nullptr;
    std::vector<std::string> Messages;
    int JobsWhenAnswered = -1;
    bool AddingWhenAnswered = false;
    int PaintsWhileAdding = 0;
    std::function<void()> OnAnswer;
};

TEST_F(AddingFilesWindowTest, TheWindowAnswersWhileManyFilesComeInTheirOrder)
{
    std::vector<std::string> added, refused;
    const std::vector<std::string> paths = ManyFiles(added, refused);
    DropOnForm(paths);

    EXPECT_TRUE(AddingWhenAnswered) << "the window handled nothing while the files were probed";
    EXPECT_LT(JobsWhenAnswered, static_cast<int>(added.size()));
    EXPECT_GT(PaintsWhileAdding, 0);
    EXPECT_FALSE(Adder->Adding());

    // The grid's jobs in the order of the drop; every refused file had its message, in turn, when the jobs of
    // the files before it were in the list.
    std::vector<std::string> titles;
    for (const TVideoFile& job : State.Jobs.Jobs()) titles.push_back(JobCellText(job, State.Catalogue, 0));
    EXPECT_EQ(titles, added);
    std::vector<std::string> expected_messages, expected_log;
    int jobs = 0;
    for (const std::string& path : paths) {
        const std::string name = fs::path(path).filename().string();
        if (std::find(refused.begin(), refused.end(), name) == refused.end()) {
            ++jobs;
            expected_log.push_back("File added: " + path);
            continue;
        }
        expected_messages.push_back(std::to_string(jobs) + " File " + name +
                                    " is not a valid media file or its format is not supported.");
        expected_log.insert(expected_log.end(), {"", "File load error: " + name, ""});
    }
    EXPECT_EQ(Messages, expected_messages);
    // The log lines without their times; a load error's reason ends with the decoder's words.
    std::vector<std::string> log;
    for (std::string line : State.EventsLog.Lines()) {
        const size_t arrow = line.find("-> ");
        if (arrow != std::string::npos) line.erase(0, arrow + 3);
        if (line.rfind("File load error: ", 0) == 0)
            for (const std::string& name : refused)
                if (line.find("/" + name + ":") != std::string::npos) line = "File load error: " + name;
        log.push_back(line);
    }
    EXPECT_EQ(log, expected_log);
    // The drop keeps the grid on the first job and the job commands on.
    EXPECT_EQ(Form->sgList->RowCount(), static_cast<int>(added.size()) + 1);
    EXPECT_TRUE(Form->RemoveButton->Enabled());
}

TEST_F(AddingFilesWindowTest, ClosingTheWindowWhileAddingStopsTheAdd)
{
    std::vector<std::string> added, refused;
    const std::vector<std::string> paths = ManyFiles(added, refused);
    OnAnswer = [this] { Form->Close(); };
    DropOnForm(paths);

    EXPECT_TRUE(App->Terminated());
    EXPECT_FALSE(Adder->Adding());
    const int jobs = State.Jobs.Count();
    EXPECT_EQ(jobs, JobsWhenAnswered);
    EXPECT_LT(jobs, static_cast<int>(added.size()));
    // The probing threads are gone: nothing reaches the list later.
    CheckSynchronize(300);
    EXPECT_EQ(State.Jobs.Count(), jobs);
}

}  // namespace
