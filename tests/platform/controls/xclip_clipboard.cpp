// Copy and paste between an edit field and xclip, another program on the same X server, both ways and in both
// text forms (UTF8_STRING and Latin-1 STRING). Skipped without a display or without xclip.
#include "platform/backend/x11/x11_backend.h"
#include "platform/controls/custom_edit.h"
#include "platform/gui/application.h"
#include "platform/gui/forms.h"
#include "platform/win/win.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

namespace {

bool HaveXclip() { return std::system("command -v xclip > /dev/null 2>&1") == 0; }

std::string ReadXclip(const std::string& ATarget)
{
    std::string command = "xclip -selection clipboard -o -t " + ATarget;
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    if (!pipe)
        return out;
    char buffer[256];
    size_t count;
    while ((count = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, count);
    pclose(pipe);
    return out;
}

void WriteXclip(const std::string& AText)
{
    // xclip keeps serving from the background until another program takes the clipboard.
    FILE* pipe = popen("xclip -selection clipboard -i", "w");
    ASSERT_NE(pipe, nullptr);
    fwrite(AText.data(), 1, AText.size(), pipe);
    pclose(pipe);
    // Its background part takes the selection a moment after the foreground one returns: wait until it serves.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (ReadXclip("UTF8_STRING") != AText && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

class XclipClipboard : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display)
            GTEST_SKIP() << "needs an X display (the CI runs these under xvfb-run)";
        if (!HaveXclip())
            GTEST_SKIP() << "needs xclip (tools/install-deps.sh installs it)";
        Backend = x11::TX11Backend::Open();
        ASSERT_NE(Backend, nullptr);
        win::SetBackend(Backend.get());
        App = std::make_unique<TApplication>(nullptr);
        Form = new TForm(App.get());
        Form->SetBounds(50, 50, 300, 100);
        Edit = new TEdit(Form);
        Edit->SetBounds(10, 10, 200, 24);
        Edit->SetParent(Form);
        Form->Show();
    }
    void TearDown() override
    {
        if (!Backend)
            return;
        // Take the clipboard back so that no xclip is left serving in the background.
        Edit->SetText("done");
        Edit->SelectAll();
        Edit->CopyToClipboard();
        App.reset();
        win::SetBackend(nullptr);
        Backend.reset();
    }

    std::unique_ptr<x11::TX11Backend> Backend;
    std::unique_ptr<TApplication> App;
    TForm* Form = nullptr;
    TEdit* Edit = nullptr;
};

TEST_F(XclipClipboard, CopiedTextReachesXclip)
{
    Edit->SetText("Grüße aus 東京");
    Edit->SelectAll();
    Edit->CopyToClipboard();
    EXPECT_EQ(ReadXclip("UTF8_STRING"), "Grüße aus 東京");
    Edit->SetText("Grüße");
    Edit->SelectAll();
    Edit->CutToClipboard();
    EXPECT_EQ(ReadXclip("STRING"), "Gr\xFC\xDF" "e");  // Latin-1 for the old text form
    EXPECT_EQ(Edit->Text(), "");
}

TEST_F(XclipClipboard, TextFromXclipPastes)
{
    WriteXclip("from xclip: ½ ∑ 日本");
    Edit->SetText("[]");
    Edit->SetSelStart(1);
    Edit->PasteFromClipboard();
    EXPECT_EQ(Edit->Text(), "[from xclip: ½ ∑ 日本]");
}

}  // namespace
