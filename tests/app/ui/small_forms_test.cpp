// The About, Events Log and Error! dialogs as built at start-up, shown modally on a headless screen and driven
// as a user would; the Error! dialog also as the error report's dialog, mailing to a real SMTP peer.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "app/error_report.h"
#include "app/events_log.h"
#include "app/ui/about_form.h"
#include "app/ui/error_form.h"
#include "app/ui/file_info_form.h"
#include "app/ui/log_form.h"
#include "app/ui/sending_report_form.h"
#include "platform/win/input.h"
#include "skin/controls/link_label.h"
#include "skin/controls/panel.h"
#include "skin/controls/push_button.h"
#include "skin/controls/skin_edit.h"
#include "skin/controls/skin_memo.h"
#include "skin/controls/std_label.h"
#include "skin/controls/text_label.h"
#include "tests/platform/gui/gui_fixture.h"
#include "tests/platform/net/smtp_peer.h"
#include "tests/platform/net/stalling_smtp_peer.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> LinesOf(TStrings* AStrings)
{
    std::vector<std::string> lines;
    for (Integer i = 0; i < AStrings->Count(); ++i) lines.push_back(AStrings->Strings(i));
    return lines;
}

class SmallForms : public guitest::TGuiFixture {
protected:
    void TearDown() override
    {
        if (Screen) Screen->OnActiveFormChange = nullptr;
        TGuiFixture::TearDown();
    }

    // Runs ACall; AScript runs once, when AForm has become the active form.
    template <typename TResult>
    TResult Session(TForm* AForm, const std::function<void()>& AScript, const std::function<TResult()>& ACall)
    {
        bool scripted = false;
        Screen->OnActiveFormChange = [&](TObject*) {
            if (Screen->ActiveForm() != AForm || scripted) return;
            scripted = true;
            AScript();
        };
        TResult result = ACall();
        Screen->OnActiveFormChange = nullptr;
        EXPECT_TRUE(scripted) << "the dialog never became active";
        return result;
    }

    void ClickOn(TControl* AControl)
    {
        Clock.Advance(1000000);  // never a double click with the last one
        Display.Click(AControl->ClientToScreen({AControl->Width() / 2, AControl->Height() / 2}));
    }

    void Type(const std::string& AText)
    {
        for (char c : AText) Display.PressKey(std::toupper(static_cast<unsigned char>(c)), c);
    }
};

TEST_F(SmallForms, AboutShowsItsTextsAndOpensItsLinks)
{
    auto* about = new TAboutForm(App.get(), nullptr);
    EXPECT_EQ(about->Caption(), "About");
    EXPECT_EQ(about->ClientWidth(), 334);
    EXPECT_EQ(about->lblversion->Caption(), "Version 1.0");
    EXPECT_EQ(about->lblProgramName->Caption(), "Quennary");
    EXPECT_EQ(about->lblProgramName->Parent(), static_cast<TWinControl*>(about->LogoPanel));
    const std::vector<std::string> notice = LinesOf(about->lblWarning->Lines());
    ASSERT_EQ(notice.size(), 4u);
    EXPECT_TRUE(notice[3].ends_with(" Brindlewave.")) << notice[3];
    EXPECT_EQ(about->lblHomePage->Caption(), kHomePageAddress);
    EXPECT_EQ(about->lblSupport->Caption(), kSupportAddress);

    std::vector<std::string> opened;
    about->SetOpenURL([&](const std::string& AAddress) {
        opened.push_back(AAddress);
        return true;
    });
    const TModalResult result = Session<TModalResult>(
        about,
        [&] {
            ClickOn(about->lblHomePage);
            ClickOn(about->lblSupport);
            ClickOn(about->PreviewButton);
        },
        [&] { return about->ShowModal(); });
    EXPECT_EQ(opened, (std::vector<std::string>{kHomePageAddress, std::string("mailto:") + kSupportAddress}));
    EXPECT_NE(result, mrNone);
    EXPECT_FALSE(about->Visible());
}

TEST_F(SmallForms, EveryShowPutsTheClientHeightBack)
{
    struct TCase {
        const char* Name;
        TForm* Form;
        Integer Width, Height;
    } cases[] = {
        {"About", new TAboutForm(App.get(), nullptr), 334, 260},
        {"File Information", new TFileInfoForm(App.get(), nullptr), 338, 370},
        {"Error!", new TErrorForm(App.get(), nullptr), 375, 255},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(c.Form->Caption(), c.Name);
        EXPECT_EQ(c.Form->ClientWidth(), c.Width);
        for (Integer changed : {120, 400}) {
            c.Form->SetClientHeight(changed);
            c.Form->Show();
            EXPECT_EQ(c.Form->ClientHeight(), c.Height);
            c.Form->Hide();
        }
    }
}

TEST_F(SmallForms, EventsLogFollowsTheLogUntilTheFormGoes)
{
    TEventsLog log([] { return std::string("09:15:00"); });
    log.Add("File added: /videos/a.mp4");
    auto* form = new TLogForm(App.get(), nullptr);
    EXPECT_EQ(form->Caption(), "Events Log");
    EXPECT_TRUE(form->mmoLog->ReadOnly());
    form->Follow(&log);
    log.AddEmpty();
    log.Add("File load error: file not loaded.");
    log.AddBare("libSDL2 could not be loaded");
    const std::vector<std::string> expected = {"09:15:00-> File added: /videos/a.mp4", "",
                                               "09:15:00-> File load error: file not loaded.",
                                               "libSDL2 could not be loaded"};
    EXPECT_EQ(LinesOf(form->mmoLog->Lines()), expected);

    // Shown, the lines are there, a key does not change them, and "OK" closes it.
    Session<TModalResult>(
        form,
        [&] {
            ClickOn(form->mmoLog);
            Type("x");
            Display.PressKey(win::VK_DELETE);
            Pump();
            EXPECT_EQ(LinesOf(form->mmoLog->Lines()), expected);
            ClickOn(form->OKButton);
        },
        [&] { return form->ShowModal(); });
    EXPECT_FALSE(form->Visible());

    // A form that goes leaves the log working.
    delete form;
    log.Add("Started Conversion");
    EXPECT_EQ(log.Lines().size(), 5u);
}

struct TErrorCase {
    const char* Name;
    std::function<void(TErrorForm*)> Close;
    bool Send;
};

TEST_F(SmallForms, ErrorDialogAnswersSendOnlyForSend)
{
    auto* form = new TErrorForm(App.get(), nullptr);
    EXPECT_EQ(form->Caption(), "Error!");
    const TErrorCase cases[] = {
        {"Send", [&](TErrorForm* F) { ClickOn(F->PreviewButton); }, true},
        {"Cancel", [&](TErrorForm* F) { ClickOn(F->spSkinButton1); }, false},
        {"Esc", [&](TErrorForm*) { Display.PressKey(win::VK_ESCAPE); }, false},
        {"close box",
         [&](TErrorForm* F) {
             Pump();  // the typed name first
             F->Close();
         },
         false},
    };
    for (const TErrorCase& c : cases) {
        SCOPED_TRACE(c.Name);
        form->edName->SetText("");
        form->memDetails->Lines()->Clear();
        std::string shownText;
        const TErrorDialogResult answer = Session<TErrorDialogResult>(
            form,
            [&] {
                shownText = form->lblErrorText->Caption();
                ClickOn(form->edName);
                Type("ann");
                form->edEmail->SetText("ann@example.test");
                form->memDetails->Lines()->Add("It stopped at 40%");
                form->memDetails->Lines()->Add("twice");
                c.Close(form);
            },
            [&] { return form->Execute("Error loading formats"); });
        EXPECT_EQ(shownText, "Error loading formats");
        EXPECT_EQ(answer.Send, c.Send);
        EXPECT_EQ(answer.Name, "ann");
        EXPECT_EQ(answer.EMail, "ann@example.test");
        EXPECT_EQ(answer.Details, (std::vector<std::string>{"It stopped at 40%", "twice"}));
        EXPECT_FALSE(form->Visible());
    }
}

TEST_F(SmallForms, ErrorReportThroughTheDialogReachesTheMailServerOnlyOnSend)
{
    const fs::path work = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui";
    fs::create_directories(work);
    TSmtpPeer peer((work / "error-form.mail").string(), "reports@example.test", "qwertyui");
    ASSERT_GT(peer.Port, 0);
    TEventsLog log([] { return std::string("10:00:00"); });
    log.Add("File added: /videos/a&b.mp4");
    TLogHistory history;
    TErrorReporter reporter(log, history,
                            {"127.0.0.1", peer.Port, "reports@example.test", "qwertyui", "support@example.test"});
    auto* form = new TErrorForm(App.get(), nullptr);
    reporter.ShowDialog = [form](const std::string& AText) { return form->Execute(AText); };
    std::vector<std::string> links;
    reporter.OpenLink = [&](const std::string& AAddress) {
        links.push_back(AAddress);
        return true;
    };

    // Cancel: nothing reaches the server or the history.
    Session<int>(
        form,
        [&] {
            form->edEmail->SetText("ann@example.test");
            ClickOn(form->spSkinButton1);
        },
        [&] {
            reporter.SendErrorReport("Error loading profiles", "CLM_LoadProfiles");
            return 0;
        });
    EXPECT_EQ(peer.Captured(), "");
    EXPECT_EQ(history.Lines().size(), 1u);

    // Send: the dialog's name, address and details go into the mail.
    Session<int>(
        form,
        [&] {
            form->edName->SetText("Ann");
            form->memDetails->Lines()->Add("The list was empty");
            ClickOn(form->PreviewButton);
        },
        [&] {
            reporter.SendErrorReport("Error writing data to Registry", "CLM_RegDataWrite");
            return 0;
        });
    const std::string mail = peer.Captured();
    EXPECT_EQ(mail.rfind("LOGIN reports@example.test\nFROM ann@example.test\nTO support@example.test\nDATA\n", 0), 0u)
        << mail;
    EXPECT_NE(mail.find("ACTION HISTORY:\r\n10:00:00-> File added: /videos/a&b.mp4\r\n-------------------------\r\n"
                        "LAST ERROR MESSAGE: Error writing data to Registry\r\nCODE LINE MARK: CLM_RegDataWrite\r\n"
                        "USER NAME: Ann\r\nPROBLEM DETAILS:\r\nThe list was empty\r\n"),
              std::string::npos)
        << mail;
    EXPECT_TRUE(links.empty());
}

// A server that goes silent after the message: "Sending the error report..." shows while the mail is on its way,
// and its "Cancel" ends the sending at once, without the mail link.
TEST_F(SmallForms, TheReportBeingSentShowsAndItsCancelStopsTheSending)
{
    TStallingSmtpPeer peer(TStallingSmtpPeer::stAfterData);
    ASSERT_GT(peer.Port, 0);
    TEventsLog log([] { return std::string("10:00:00"); });
    TLogHistory history;
    TErrorReporter reporter(log, history, {"127.0.0.1", peer.Port, "", "", "support@example.test"});
    auto* form = new TErrorForm(App.get(), nullptr);
    auto* sending = new TSendingReportForm(App.get(), nullptr);
    reporter.ShowDialog = [form](const std::string& AText) { return form->Execute(AText); };
    reporter.WaitForSending = [sending](const std::function<bool()>& AFinished, const std::function<void()>& ACancel) {
        sending->Wait(AFinished, ACancel);
    };
    std::vector<std::string> links;
    reporter.OpenLink = [&](const std::string& AAddress) {
        links.push_back(AAddress);
        return true;
    };
    bool sent_clicked = false, cancel_clicked = false;
    Screen->OnActiveFormChange = [&](TObject*) {
        if (Screen->ActiveForm() == form && !sent_clicked) {
            sent_clicked = true;
            form->edEmail->SetText("ann@example.test");
            ClickOn(form->PreviewButton);
        } else if (Screen->ActiveForm() == sending && !cancel_clicked) {
            cancel_clicked = true;
            // The window is up while the mail is on its way; the user gives up once the server has gone silent.
            for (int i = 0; i < 6000 && !peer.Stalled; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
            ClickOn(sending->CancelButton);
        }
    };
    const auto start = std::chrono::steady_clock::now();
    reporter.SendErrorReport("Error writing data to Registry", "CLM_RegDataWrite");
    Screen->OnActiveFormChange = nullptr;
    EXPECT_TRUE(sent_clicked);
    EXPECT_TRUE(cancel_clicked);
    EXPECT_TRUE(peer.Stalled);
    EXPECT_FALSE(sending->Visible());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(50));
    EXPECT_TRUE(links.empty());
}

}  // namespace
