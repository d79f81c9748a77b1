#pragma once
// The one routine every operation hands its failures to. It shows the "Error!" dialog; when the user chooses
// "Send", it appends the report to the logger history and mails the whole history to the support mailbox, or,
// when the mail cannot be sent, opens a "mailto:" link with a short report in the user's own mail program.
// User-interface thread only; the mail itself goes out on a worker thread while the window stays alive and the
// user can cancel it.
#include <functional>
#include <string>
#include <vector>

#include "app/events_log.h"
#include "app/report_mail_account.h"
#include "platform/net/mail_message.h"

class TSMTPCancel;

inline constexpr const char* kReportSubject = "ERROR REPORT | Quennary";

// What the user did in the "Error!" dialog.
struct TErrorDialogResult {
    bool Send = false;  // closed with "Send"
    std::string Name;
    std::string EMail;
    std::vector<std::string> Details;  // the lines of the details memo
};

class TErrorReporter {
public:
    // Shows the dialog modally with the failure's text.
    using TShowDialog = std::function<TErrorDialogResult(const std::string& AText)>;
    // Mails the message through the account; raises Exception when it cannot or when ACancel is cancelled. Runs
    // on a worker thread.
    using TSendMail = std::function<void(const TReportMailAccount&, const TMailMessage&, TSMTPCancel& ACancel)>;
    // Shows that the report is on its way until AFinished answers true, handling the window's messages; ACancel
    // stops the sending (the user's "Cancel").
    using TWaitForSending =
        std::function<void(const std::function<bool()>& AFinished, const std::function<void()>& ACancel)>;
    // Opens an address with the desktop's default program.
    using TOpenLink = std::function<bool(const std::string& AAddress)>;

    TErrorReporter(const TEventsLog& AEventsLog, TLogHistory& AHistory, TReportMailAccount AAccount);

    TShowDialog ShowDialog;
    TSendMail SendMail;  // the SMTP client unless replaced
    TOpenLink OpenLink;  // xdg-open unless replaced
    TWaitForSending WaitForSending;  // unset: waits without showing anything

    void SendErrorReport(const std::string& AText, const std::string& AMark);

    // The short report as a mail link, its subject and body percent-encoded.
    std::string MailLink(const std::string& AText, const std::string& AMark) const;

private:
    const TEventsLog& FEventsLog;
    TLogHistory& FHistory;
    TReportMailAccount FAccount;
};
