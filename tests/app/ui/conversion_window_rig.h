#pragma once
// The main window and its "Conversion" dialog wired as the program wires them, on the build tree's skin and
// catalogue, with the real encoder; for tests that convert through the window on any display. Messages, opened
// folders and error reports are kept instead of shown. Create it on the user-interface thread after the
// application and the media engine (all libraries); the application owns its windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/add_files.h"
#include "app/conversion_run.h"
#include "app/ui/conversion_form.h"
#include "app/ui/main_form.h"
#include "app/ui/main_thread_calls.h"
#include "media/encoder/encoder.h"
#include "platform/gui/application.h"
#include "platform/gui/menus.h"
#include "platform/rtl/main_thread_queue.h"
#include "skin/controls/push_button.h"
#include "skin/dialogs/directory_edit.h"
#include "tests/app/ui/startup_services_fixture.h"

class TConversionWindowRig {
public:
    // ARoot gets the folders "documents", "media" (clips) and "out" (the output box's folder).
    TConversionWindowRig(TApplication& AApp, const std::filesystem::path& ARoot) : Root(ARoot), FApp(AApp)
    {
        for (const char* folder : {"documents", "media", "out"}) std::filesystem::create_directories(Root / folder);
        Form = AApp.CreateForm<TMainForm>(State, "");
        Form->ShowWarning = [this](const std::string& AText) { Shown.push_back(AText); };
        Form->OpenWithShell = [this](const std::string& ATarget) {
            Shown.push_back("open " + ATarget);
            return true;
        };
        EXPECT_TRUE(Form->Load(BuildTreeStartupServices(Root, Shown)));
        Encoder = new TFFEncoder(Form);  // released after the form's run, as in the program
        Adder = std::make_unique<TFileAdder>(State.Jobs, *Encoder->Decoder(), State.EventsLog, State.Catalogue);
        Adder->ShowMessage = [this](const std::string& AText) { Shown.push_back(AText); };
        Form->FileAdder = Adder.get();
        Conv = AApp.CreateForm<TConvForm>(Form->SkinData());
        Form->AttachConversion(*Encoder, *Conv, [this](const std::string& AText, const std::string& AMark) {
            Reports.push_back(AMark + ": " + AText);
        });
        Form->edDestinationFolder->SetText(Out());
        Form->Show();
        AApp.ProcessMessages();
        AApp.OnIdle = [this](TObject*) { Idle(); };
    }
    // Before the application goes.
    void Release()
    {
        FApp.OnIdle = nullptr;
        Form->FileAdder = nullptr;
    }

    // A clip of test picture and tone made with the FFmpeg tool.
    std::string MakeClip(const std::string& AName, int ASeconds, const std::string& ASize = "320x240")
    {
        const std::string path = (Root / "media" / AName).string();
        const std::string command = "ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=" + ASize +
                                    ":rate=25 -f lavfi -i sine=frequency=440:sample_rate=44100 -t " +
                                    std::to_string(ASeconds) + " -c:v mpeg4 -q:v 5 -c:a mp2 '" + path + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return path;
    }
    // Dropped on the window with the shipped "Phone MP4" format chosen.
    void AddJob(const std::string& AFile)
    {
        State.Catalogue.Current = FormatPair("Phones and Tablets", "Phone MP4 - MPEG-4 Video");
        Form->AddDroppedFiles({AFile});
        ASSERT_EQ(State.Jobs.Jobs().back().Source, AFile);
    }
    TFormatIndex FormatPair(const std::string& AProfile, const std::string& AFormat) const
    {
        const TCatalogue& catalogue = State.Catalogue;
        for (size_t p = 0; p < catalogue.Profiles.size(); ++p)
            for (size_t f = 0; f < catalogue.Profiles[p].Formats.size(); ++f)
                if (catalogue.Profiles[p].Title == AProfile && catalogue.Profiles[p].Formats[f].Title == AFormat)
                    return {static_cast<int>(p), static_cast<int>(f)};
        ADD_FAILURE() << "no format \"" << AFormat << "\" in \"" << AProfile << "\"";
        return {};
    }

    // The File menu's "Start Conversion"; returns when the run has ended.
    void StartFromMenu()
    {
        Bound();
        TMenuItem* file = Find(Form->MainMenu1->Items(), "File ");
        ASSERT_NE(file, nullptr);
        TMenuItem* start = Find(file, "Start Conversion");
        ASSERT_NE(start, nullptr);
        ASSERT_TRUE(start->Enabled());
        start->Click();
        WaitForEnd();
    }
    // From now on a run that does not end within minutes is cancelled and failed (a bound for a broken encoder,
    // not a measure of speed).
    void Bound() { FLimit = std::chrono::steady_clock::now() + std::chrono::minutes(3); }
    // A cancelled run's final event may come after its dialog has closed.
    void WaitForEnd()
    {
        while (Form->Conversion()->Running() && std::chrono::steady_clock::now() < FLimit) CheckSynchronize(50);
        EXPECT_FALSE(Form->Conversion()->Running());
        EXPECT_FALSE(Conv->Visible());
        FApp.ProcessMessages();
    }

    std::string Out(const std::string& AName = {}) const { return (Root / "out" / AName).string(); }
    static std::vector<std::string> Names(const std::filesystem::path& AFolder)
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(AFolder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    bool Logged(const std::string& AText) const
    {
        for (const std::string& line : State.EventsLog.Lines())
            if (line.ends_with("-> " + AText)) return true;
        return false;
    }

    std::filesystem::path Root;
    TMainThreadCallsInLoop Calls;  // first: the encoder's events reach the windows through the loop
    TConverterState State;
    TMainForm* Form = nullptr;
    TFFEncoder* Encoder = nullptr;
    std::unique_ptr<TFileAdder> Adder;
    TConvForm* Conv = nullptr;
    // Runs whenever the window has nothing else to do while the dialog is up.
    std::function<void()> WhileRunning;
    std::vector<std::string> Shown, Reports;

private:
    static TMenuItem* Find(TMenuItem* AParent, const std::string& ACaption)
    {
        for (Integer i = 0; i < AParent->Count(); ++i)
            if (StripHotkey(AParent->Items(i)->Caption()) == ACaption) return AParent->Items(i);
        return nullptr;
    }
    void Idle()
    {
        if (!Conv->Visible()) return;
        if (WhileRunning) WhileRunning();
        if (std::chrono::steady_clock::now() > FLimit) {
            ADD_FAILURE() << "the run did not end";
            FLimit = std::chrono::steady_clock::time_point::max();
            Conv->CancelButton->ButtonClick();
            Conv->CloseRun();
        }
    }

    TApplication& FApp;
    std::chrono::steady_clock::time_point FLimit = std::chrono::steady_clock::time_point::max();
};
