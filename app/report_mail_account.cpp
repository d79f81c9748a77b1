#include "app/report_mail_account.h"

#include "platform/rtl/inifiles.h"
#include "platform/rtl/registry.h"
#include "platform/rtl/sysutils.h"

namespace {

constexpr const char* kSection = "ReportMail";

TReportMailAccount ReadFromSettings()
{
    TReportMailAccount account;
    TRegistry registry;
    if (!registry.OpenKeyReadOnly(kReportMailKey))
        return account;
    auto read = [&](const char* AName, std::string& AValue) {
        if (registry.ValueExists(AName) && registry.GetDataType(AName) == rdString)
            AValue = registry.ReadString(AName);
    };
    read("Server", account.Server);
    read("Mailbox", account.Mailbox);
    read("Password", account.Password);
    read("Support", account.Support);
    if (registry.ValueExists("Port") && registry.GetDataType("Port") == rdInteger)
        account.Port = registry.ReadInteger("Port");
    registry.CloseKey();
    return account;
}

}  // namespace

TReportMailAccount ReadReportMailFile(const std::string& AFileName)
{
    TMemIniFile ini(AFileName);
    TReportMailAccount account;
    account.Server = ini.ReadString(kSection, "Server", "");
    account.Port = ini.ReadInteger(kSection, "Port", 26);
    account.Mailbox = ini.ReadString(kSection, "Mailbox", "");
    account.Password = ini.ReadString(kSection, "Password", "");
    account.Support = ini.ReadString(kSection, "Support", "");
    return account;
}

TReportMailAccount LoadReportMailAccount(const std::string& AExecutableFolder)
{
    const std::string file = IncludeTrailingPathDelimiter(AExecutableFolder) + kReportMailFileName;
    return FileExists(file) ? ReadReportMailFile(file) : ReadFromSettings();
}
