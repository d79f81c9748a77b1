#pragma once
// Sends one plain-text mail over SMTP with user-name and password authentication and no encrypted transport,
// on libcurl. Blocking: the caller waits until the server has taken the mail or refused it, the time limit has
// passed, or another thread has cancelled the send.
#include <mutex>
#include <string>
#include <vector>

#include "platform/net/mail_message.h"
#include "platform/rtl/exceptions.h"

class ESMTPError : public Exception {
public:
    using Exception::Exception;
};

// Lets another thread stop a send at any point: the connection is shut down, so every wait inside the send ends
// at once. A cancelled send raises ESMTPError.
class TSMTPCancel {
public:
    void Cancel();
    bool Cancelled() const;

private:
    friend class TSMTPClient;
    friend struct TSMTPSockets;
    // Sockets of the send, shut down by Cancel; a socket is dropped before it is closed.
    bool Attach(int ASocket);
    void Detach(int ASocket);

    mutable std::mutex FLock;
    bool FCancelled = false;
    std::vector<int> FSockets;
};

class TSMTPClient {
public:
    std::string Host;
    int Port = 26;
    std::string Username;  // empty: no authentication
    std::string Password;
    long ConnectTimeoutSeconds = 15;
    // The whole send, from the connection to the server's answer to the closing QUIT.
    long TimeoutSeconds = 60;

    // Hands the message to the server: connect, authenticate, MAIL FROM, RCPT TO for each recipient, DATA, QUIT.
    // Raises ESMTPError with the reason (connection refused, authentication failed, recipient refused, no answer
    // within the time limit, cancelled...). Sender and recipients must be plain addresses (IsPlainMailAddress).
    void Send(const TMailMessage& AMessage, TSMTPCancel* ACancel = nullptr) const;
};
