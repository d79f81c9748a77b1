#include "platform/net/smtp_client.h"

#include <gtest/gtest.h>

#include "tests/platform/net/smtp_peer.h"

namespace {

std::string CaptureFile(const char* AName)
{
    return std::string(QUENNARY_BINARY_DIR) + "/tests/platform/net/" + AName + ".mail";
}

TMailMessage Message()
{
    return {"reports@example.test", {"support@example.test"}, "Über | report", {"first line", ".dot line", "", "last"}};
}

TEST(SmtpClient, MailReachesTheServer)
{
    TSmtpPeer peer(CaptureFile("reaches"), "reports", "qwertyui");
    ASSERT_GT(peer.Port, 0);
    TSMTPClient client;
    client.Host = "127.0.0.1", client.Port = peer.Port, client.Username = "reports", client.Password = "qwertyui";
    client.Send(Message());

    const std::string mail = peer.Captured();
    EXPECT_EQ(mail.rfind("LOGIN reports\nFROM reports@example.test\nTO support@example.test\nDATA\n", 0), 0u) << mail;
    EXPECT_NE(mail.find("Subject: =?UTF-8?B?w5xiZXIgfCByZXBvcnQ=?="), std::string::npos) << mail;
    EXPECT_NE(mail.find("Content-Type: text/plain; charset=UTF-8"), std::string::npos);
    // A line starting with a dot survives the transfer, and the body keeps its empty line.
    EXPECT_NE(mail.find("\nfirst line\r\n.dot line\r\n\r\nlast\r\n"), std::string::npos) << mail;
}

TEST(SmtpClient, FailuresRaise)
{
    TSmtpPeer peer(CaptureFile("failures"), "reports", "qwertyui");
    ASSERT_GT(peer.Port, 0);
    struct Case { const char* what; std::string host; int port; const char* password; };
    const Case cases[] = {
        {"wrong password", "127.0.0.1", peer.Port, "wrong"},
        {"connection refused", "127.0.0.1", RefusingPort(), "qwertyui"},
        {"no server configured", "", 26, "qwertyui"},
    };
    for (const auto& c : cases) {
        TSMTPClient client;
        client.Host = c.host, client.Port = c.port, client.Username = "reports", client.Password = c.password;
        EXPECT_THROW(client.Send(Message()), ESMTPError) << c.what;
    }
    EXPECT_EQ(peer.Captured(), "");
}

}  // namespace
