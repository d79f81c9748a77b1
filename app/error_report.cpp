#include "app/error_report.h"

#include <atomic>
#include <thread>

#include "platform/net/smtp_client.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/process.h"

namespace {

const std::string kRule(25, '-');

void SendBySmtp(const TReportMailAccount& AAccount, const TMailMessage& AMessage, TSMTPCancel& ACancel)
{
    TSMTPClient client;
    client.Host = AAccount.Server;
    client.Port = AAccount.Port;
    client.Username = AAccount.Mailbox;
    client.Password = AAccount.Password;
    client.Send(AMessage, &ACancel);
}

}  // namespace

TErrorReporter::TErrorReporter(const TEventsLog& AEventsLog, TLogHistory& AHistory, TReportMailAccount AAccount)
    : SendMail(&SendBySmtp), OpenLink(&OpenWithDefaultProgram), FEventsLog(AEventsLog), FHistory(AHistory),
      FAccount(std::move(AAccount))
{
}

void TErrorReporter::SendErrorReport(const std::string& AText, const std::string& AMark)
{
    const TErrorDialogResult answer = ShowDialog ? ShowDialog(AText) : TErrorDialogResult{};
    if (!answer.Send)
        return;

    TMailMessage message;
    // Only a plain address may stand in the envelope; anything else is sent from the report mailbox.
    message.From = IsPlainMailAddress(answer.EMail) ? answer.EMail : FAccount.Mailbox;
    message.Recipients = {FAccount.Support};
    message.Subject = kReportSubject;

    // The history is never cleared, so a later report also carries the sections of the earlier ones.
    FHistory.Add(kRule);
    FHistory.Add("ACTION HISTORY:");
    for (const auto& line : FEventsLog.Lines())
        FHistory.Add(line);
    FHistory.Add(kRule);
    FHistory.Add("LAST ERROR MESSAGE: " + AText);
    FHistory.Add("CODE LINE MARK: " + AMark);
    if (!answer.Name.empty())
        FHistory.Add("USER NAME: " + answer.Name);
    if (!answer.Details.empty()) {
        FHistory.Add("PROBLEM DETAILS:");
        for (const auto& line : answer.Details)
            FHistory.Add(line);
    }
    message.Body = FHistory.Lines();

    // The worker sees only its own copies and the cancel; the window keeps handling its messages meanwhile.
    TSMTPCancel cancel;
    std::atomic<bool> finished{false};
    bool sent = false;
    std::thread worker([&cancel, &finished, &sent, send = SendMail, account = FAccount, message] {
        try {
            if (send) {
                send(account, message, cancel);
                sent = true;
            }
        } catch (const std::exception&) {
        }
        finished = true;
    });
    bool cancelled = false;
    if (WaitForSending)
        WaitForSending([&finished] { return finished.load(); }, [&cancel, &cancelled] {
            cancelled = true;
            cancel.Cancel();
        });
    worker.join();
    // A report the user cancelled is not offered again as a mail link.
    if (!sent && !cancelled && OpenLink)
        OpenLink(MailLink(AText, AMark));
}

std::string TErrorReporter::MailLink(const std::string& AText, const std::string& AMark) const
{
    return "mailto:" + FAccount.Support + "?subject=" + PercentEncode(kReportSubject) + "&body=" +
           PercentEncode(AText + " ;CODE LINE MARK:" + AMark + ";  YOUR COMMENT (DETAILS):");
}
