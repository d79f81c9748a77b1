#include "app/error_report.h"

#include "platform/net/smtp_client.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/process.h"

namespace {

const std::string kRule(25, '-');

void SendBySmtp(const TReportMailAccount& AAccount, const TMailMessage& AMessage)
{
    TSMTPClient client;
    client.Host = AAccount.Server;
    client.Port = AAccount.Port;
    client.Username = AAccount.Mailbox;
    client.Password = AAccount.Password;
    client.Send(AMessage);
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
    message.From = answer.EMail.find('@') != std::string::npos ? answer.EMail : FAccount.Mailbox;
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

    try {
        SendMail(FAccount, message);
    } catch (const Exception&) {
        if (OpenLink)
            OpenLink(MailLink(AText, AMark));
    }
}

std::string TErrorReporter::MailLink(const std::string& AText, const std::string& AMark) const
{
    return "mailto:" + FAccount.Support + "?subject=" + PercentEncode(kReportSubject) + "&body=" +
           PercentEncode(AText + " ;CODE LINE MARK:" + AMark + ";  YOUR COMMENT (DETAILS):");
}
