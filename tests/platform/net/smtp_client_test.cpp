#include "platform/net/smtp_client.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/platform/net/smtp_peer.h"
#include "tests/platform/net/stalling_smtp_peer.h"

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

double SecondsSince(std::chrono::steady_clock::time_point AStart)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - AStart).count();
}

// A server that goes silent holds the send no longer than its one time limit, the closing QUIT included; a server
// that took the mail before it went silent has it.
TEST(SmtpClient, ASilentServerHoldsTheSendNoLongerThanItsTimeLimit)
{
    struct Case {
        const char* What;
        TStallingSmtpPeer::TStall Stall;
        bool Sent;
    };
    const Case cases[] = {
        {"silent after connecting", TStallingSmtpPeer::stGreeting, false},
        {"silent after the message", TStallingSmtpPeer::stAfterData, false},
        {"silent at QUIT", TStallingSmtpPeer::stAtQuit, true},
    };
    for (const Case& c : cases) {
        TStallingSmtpPeer peer(c.Stall);
        ASSERT_GT(peer.Port, 0);
        TSMTPClient client;
        client.Host = "127.0.0.1", client.Port = peer.Port, client.TimeoutSeconds = 3;
        const auto start = std::chrono::steady_clock::now();
        if (c.Sent)
            EXPECT_NO_THROW(client.Send(Message())) << c.What;
        else
            EXPECT_THROW(client.Send(Message()), ESMTPError) << c.What;
        EXPECT_TRUE(peer.Stalled) << c.What;
        // The limit and a margin for a loaded machine, far below the two minutes curl waits for QUIT alone.
        EXPECT_LT(SecondsSince(start), 3 + 20) << c.What;
    }
}

TEST(SmtpClient, AnotherThreadCancelsTheSend)
{
    TStallingSmtpPeer peer(TStallingSmtpPeer::stAfterData);
    ASSERT_GT(peer.Port, 0);
    TSMTPClient client;
    client.Host = "127.0.0.1", client.Port = peer.Port, client.TimeoutSeconds = 600;
    TSMTPCancel cancel;
    std::thread canceller([&] {
        for (int i = 0; i < 6000 && !peer.Stalled; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        cancel.Cancel();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(client.Send(Message(), &cancel), ESMTPError);
    canceller.join();
    EXPECT_TRUE(peer.Stalled);
    EXPECT_LT(SecondsSince(start), 60 + 20);
    // A cancelled token stops the next send before it connects.
    EXPECT_THROW(client.Send(Message(), &cancel), ESMTPError);
}

TEST(SmtpClient, OnlyPlainAddressesReachTheEnvelope)
{
    TSmtpPeer peer(CaptureFile("addresses"), "reports", "qwertyui");
    ASSERT_GT(peer.Port, 0);
    for (const char* from : {"ann@example.test> SIZE=1", "ann@example.test>\r\nRCPT TO:<x@y.test",
                             "<ann@example.test>", "ann@example.test,bob@example.test", "ann example@test"}) {
        TMailMessage message = Message();
        message.From = from;
        TSMTPClient client;
        client.Host = "127.0.0.1", client.Port = peer.Port, client.Username = "reports", client.Password = "qwertyui";
        EXPECT_THROW(client.Send(message), ESMTPError) << from;
        message = Message();
        message.Recipients = {from};
        EXPECT_THROW(client.Send(message), ESMTPError) << from;
    }
    EXPECT_EQ(peer.Captured(), "");
}

TEST(MailAddress, PlainAddresses)
{
    for (const char* good : {"ann@example.test", "a.b+tag@mail.example.test", "o'neil_x-1@a-b.test"})
        EXPECT_TRUE(IsPlainMailAddress(good)) << good;
    for (const char* bad : {"", "ann", "@example.test", "ann@", "ann@@example.test", "ann@exa mple.test",
                            "ann@example.test>", "<ann@example.test", "ann@example.test SIZE=1", ".ann@example.test",
                            "ann..b@example.test", "ann@example.test.", "ann\r@example.test", "\"ann\"@example.test",
                            "ann@[127.0.0.1]", "ann@exämple.test"})
        EXPECT_FALSE(IsPlainMailAddress(bad)) << bad;
}

}  // namespace
