#pragma once
// Sends one plain-text mail over SMTP with user-name and password authentication and no encrypted transport,
// on libcurl. Blocking: the caller waits until the server has taken the mail or refused it.
#include <string>

#include "platform/net/mail_message.h"
#include "platform/rtl/exceptions.h"

class ESMTPError : public Exception {
public:
    using Exception::Exception;
};

class TSMTPClient {
public:
    std::string Host;
    int Port = 26;
    std::string Username;  // empty: no authentication
    std::string Password;
    long ConnectTimeoutSeconds = 15;
    long TimeoutSeconds = 60;

    // Hands the message to the server: connect, authenticate, MAIL FROM, RCPT TO for each recipient, DATA, QUIT.
    // Raises ESMTPError with the reason (connection refused, authentication failed, recipient refused...).
    void Send(const TMailMessage& AMessage) const;
};
