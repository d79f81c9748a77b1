#pragma once
// Where error reports are mailed: the report server, the report mailbox (user name and default sender), its
// password and the support mailbox. Nothing of it is built in: it is read from "report-mail.ini" beside the
// executable, else from the settings key "Software\Brindlewave\Quennary\ReportMail".
//
//   [ReportMail]
//   Server=mail.example.org
//   Port=26
//   Mailbox=reports@example.org
//   Password=...
//   Support=support@example.org
#include <string>

struct TReportMailAccount {
    std::string Server;
    int Port = 26;
    std::string Mailbox;
    std::string Password;
    std::string Support;
};

inline constexpr const char* kReportMailFileName = "report-mail.ini";
inline constexpr const char* kReportMailKey = "Software\\Brindlewave\\Quennary\\ReportMail";

// From the file when it exists, else from the settings; an account with no server when neither holds one, so
// sending fails and the report falls back to the mail link.
TReportMailAccount LoadReportMailAccount(const std::string& AExecutableFolder);
TReportMailAccount ReadReportMailFile(const std::string& AFileName);
