#include "app/error_report.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <filesystem>
#include <fstream>

#include "platform/rtl/exceptions.h"
#include "platform/net/smtp_client.h"
#include "tests/platform/net/smtp_peer.h"
#include "tests/platform/net/stalling_smtp_peer.h"

namespace {

namespace fs = std::filesystem;

const fs::path kWork = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "error-report";

TEST(EventsLog, LinesAndHistory)
{
    TEventsLog log([] { return std::string("12:34:56"); });
    std::vector<std::string> shown;
    log.OnLineAdded = [&](const std::string& ALine) { shown.push_back(ALine); };
    log.AddEmpty();
    log.Add("File load error: file not loaded.");
    log.AddBare("libSDL missing");
    const std::vector<std::string> expected = {"", "12:34:56-> File load error: file not loaded.", "libSDL missing"};
    EXPECT_EQ(log.Lines(), expected);
    EXPECT_EQ(shown, expected);

    TLogHistory history;
    history.AddLoggerLine(4711, 3, "[mp4 @ 0x1] moov atom not found");
    EXPECT_EQ(history.Lines(), (std::vector<std::string>{"FFLOGGER HISTORY:", "#4711.3: [mp4 @ 0x1] moov atom not found"}));
}

class ErrorReportTest : public ::testing::Test {
protected:
    ErrorReportTest() : Log([] { return std::string("10:00:00"); })
    {
        fs::create_directories(kWork);
        Log.Add("File added: /videos/a.mp4");
        History.AddLoggerLine(7, 4, "warning line");
    }

    TErrorReporter Reporter(const TReportMailAccount& AAccount, TErrorDialogResult AAnswer)
    {
        TErrorReporter reporter(Log, History, AAccount);
        reporter.ShowDialog = [this, AAnswer](const std::string& AText) {
            Shown.push_back(AText);
            return AAnswer;
        };
        reporter.OpenLink = [this](const std::string& AAddress) {
            Links.push_back(AAddress);
            return true;
        };
        return reporter;
    }

    TReportMailAccount Account{"127.0.0.1", 26, "reports@example.test", "qwertyui", "support@example.test"};
    TEventsLog Log;
    TLogHistory History;
    std::vector<std::string> Shown, Links;
};

TEST_F(ErrorReportTest, CancelSendsNothing)
{
    TErrorReporter reporter = Reporter(Account, {false, "Ann", "ann@example.test", {"x"}});
    bool mailed = false;
    reporter.SendMail = [&](const TReportMailAccount&, const TMailMessage&, TSMTPCancel&) { mailed = true; };
    reporter.SendErrorReport("Error loading profiles", "CLM_LoadProfiles");
    EXPECT_EQ(Shown, std::vector<std::string>{"Error loading profiles"});
    EXPECT_FALSE(mailed);
    EXPECT_TRUE(Links.empty());
    EXPECT_EQ(History.Lines().size(), 2u);
}

TEST_F(ErrorReportTest, ReportSectionsAndSender)
{
    std::vector<TMailMessage> mails;
    struct Case { TErrorDialogResult answer; std::string sender; std::vector<std::string> tail; };
    const Case cases[] = {
        // No at-sign: the report mailbox sends; empty name and details end the body with the mark.
        {{true, "", "not an address", {}}, "reports@example.test", {"CODE LINE MARK: CLM_A"}},
        // More than a plain address would add SMTP parameters to the envelope: the report mailbox sends.
        {{true, "", "ann@example.test> SIZE=1", {}}, "reports@example.test", {"CODE LINE MARK: CLM_A"}},
        {{true, "Ann", "ann@example.test", {"it broke", "twice"}}, "ann@example.test",
         {"CODE LINE MARK: CLM_A", "USER NAME: Ann", "PROBLEM DETAILS:", "it broke", "twice"}},
    };
    for (const auto& c : cases) {
        TErrorReporter reporter = Reporter(Account, c.answer);
        reporter.SendMail = [&](const TReportMailAccount&, const TMailMessage& AMail, TSMTPCancel&) {
            mails.push_back(AMail);
        };
        reporter.SendErrorReport("Failure A", "CLM_A");
        const TMailMessage& mail = mails.back();
        EXPECT_EQ(mail.From, c.sender);
        EXPECT_EQ(mail.Recipients, std::vector<std::string>{"support@example.test"});
        EXPECT_EQ(mail.Subject, "ERROR REPORT | Quennary");
        EXPECT_EQ(std::vector<std::string>(mail.Body.end() - c.tail.size(), mail.Body.end()), c.tail);
    }
    const std::vector<std::string> first_report = {"FFLOGGER HISTORY:",
                                                   "#7.4: warning line",
                                                   std::string(25, '-'),
                                                   "ACTION HISTORY:",
                                                   "10:00:00-> File added: /videos/a.mp4",
                                                   std::string(25, '-'),
                                                   "LAST ERROR MESSAGE: Failure A",
                                                   "CODE LINE MARK: CLM_A"};
    EXPECT_EQ(mails[0].Body, first_report);
    // The next reports repeat the first one's sections before their own.
    EXPECT_EQ(std::vector<std::string>(mails[2].Body.begin(), mails[2].Body.begin() + 8), first_report);
    EXPECT_EQ(mails[2].Body.size(), 8u + 6u + 6u + 4u);
    EXPECT_TRUE(Links.empty());
}

TEST_F(ErrorReportTest, ReportMailReachesTheServer)
{
    TSmtpPeer peer((kWork / "report.mail").string(), "reports@example.test", "qwertyui");
    ASSERT_GT(peer.Port, 0);
    Account.Port = peer.Port;
    TErrorReporter reporter = Reporter(Account, {true, "Ann", "ann@example.test", {}});
    reporter.SendErrorReport("Cannot set output file: denied", "CLM_SetOutputFile");

    const std::string mail = peer.Captured();
    EXPECT_EQ(mail.rfind("LOGIN reports@example.test\nFROM ann@example.test\nTO support@example.test\nDATA\n", 0), 0u)
        << mail;
    EXPECT_NE(mail.find("Subject: ERROR REPORT | Quennary\r\n"), std::string::npos) << mail;
    EXPECT_NE(mail.find("\r\n\r\nFFLOGGER HISTORY:\r\n#7.4: warning line\r\n-------------------------\r\n"
                        "ACTION HISTORY:\r\n10:00:00-> File added: /videos/a.mp4\r\n-------------------------\r\n"
                        "LAST ERROR MESSAGE: Cannot set output file: denied\r\n"
                        "CODE LINE MARK: CLM_SetOutputFile\r\nUSER NAME: Ann\r\n"),
              std::string::npos)
        << mail;
    EXPECT_TRUE(Links.empty());
}

TEST_F(ErrorReportTest, RefusedConnectionFallsBackToTheMailLink)
{
    Account.Port = RefusingPort();
    TErrorReporter reporter = Reporter(Account, {true, "", "", {}});
    reporter.SendErrorReport("Bad & worse #1?\r\nTry again", "CLM_Shut");
    EXPECT_EQ(Links, std::vector<std::string>{
                         "mailto:support@example.test?subject=ERROR%20REPORT%20%7C%20Quennary&body="
                         "Bad%20%26%20worse%20%231%3F%0D%0ATry%20again%20%3BCODE%20LINE%20MARK%3ACLM_Shut%3B%20%20"
                         "YOUR%20COMMENT%20%28DETAILS%29%3A"});
}

// A server that goes silent after the message: the window keeps handling its messages while the report is on its
// way, and the user's "Cancel" ends the sending at once without a mail link; without a cancel the one time limit
// ends it and the mail link is offered.
TEST_F(ErrorReportTest, SendingRunsBesideTheWindowAndTheUserCancelsIt)
{
    for (const bool user_cancels : {true, false}) {
        TStallingSmtpPeer peer(TStallingSmtpPeer::stAfterData);
        ASSERT_GT(peer.Port, 0);
        Account.Port = peer.Port;
        Links.clear();
        TErrorReporter reporter = Reporter(Account, {true, "", "ann@example.test", {}});
        reporter.SendMail = [user_cancels](const TReportMailAccount& AAccount, const TMailMessage& AMail,
                                           TSMTPCancel& ACancel) {
            TSMTPClient client;
            client.Host = AAccount.Server, client.Port = AAccount.Port;
            client.TimeoutSeconds = user_cancels ? 600 : 2;
            client.Send(AMail, &ACancel);
        };
        int turns = 0;
        reporter.WaitForSending = [&](const std::function<bool()>& AFinished, const std::function<void()>& ACancel) {
            const auto start = std::chrono::steady_clock::now();
            while (!AFinished() && std::chrono::steady_clock::now() - start < std::chrono::seconds(60)) {
                ++turns;  // the window's messages would be handled here
                if (user_cancels && peer.Stalled) ACancel();
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        };
        const auto start = std::chrono::steady_clock::now();
        reporter.SendErrorReport("Failure A", "CLM_A");
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(40)) << user_cancels;
        EXPECT_TRUE(peer.Stalled) << user_cancels;
        EXPECT_GT(turns, 1) << user_cancels;
        EXPECT_EQ(Links.size(), user_cancels ? 0u : 1u) << user_cancels;
    }
}

TEST(ReportMailAccount, ReadFromTheFileBesideTheExecutable)
{
    fs::create_directories(kWork / "exe");
    setenv("XDG_CONFIG_HOME", (kWork / "config").c_str(), 1);
    fs::remove(kWork / "exe" / "report-mail.ini");
    const TReportMailAccount none = LoadReportMailAccount((kWork / "exe").string());
    EXPECT_EQ(none.Server, "");
    EXPECT_EQ(none.Port, 26);

    std::ofstream(kWork / "exe" / "report-mail.ini")
        << "[ReportMail]\nServer=mail.example.test\nMailbox=reports@example.test\nPassword=abcdefgh\n"
           "Support=support@example.test\n";
    const TReportMailAccount account = LoadReportMailAccount((kWork / "exe").string());
    EXPECT_EQ(account.Server, "mail.example.test");
    EXPECT_EQ(account.Port, 26);
    EXPECT_EQ(account.Mailbox, "reports@example.test");
    EXPECT_EQ(account.Password, "abcdefgh");
    EXPECT_EQ(account.Support, "support@example.test");
}

}  // namespace
