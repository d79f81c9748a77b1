#pragma once
// A plain-text mail: sender, recipients, subject and body lines, and its text as it goes over the wire.
#include <ctime>
#include <string>
#include <vector>

struct TMailMessage {
    std::string From;                     // an address, "name@host"
    std::vector<std::string> Recipients;  // addresses
    std::string Subject;
    std::vector<std::string> Body;        // lines without line breaks
};

// Header and body with CR LF line ends, UTF-8 text. A subject outside ASCII is encoded as the mail headers need;
// line breaks inside a header value are dropped so that no text can add a header of its own.
std::string MailText(const TMailMessage& AMessage, std::time_t ADate);

// A plain address "local@domain": letters, digits and the few signs an address may hold, nothing that could
// bracket, quote, separate or add to it (no blanks, "<", ">", ",", quotes or control characters).
bool IsPlainMailAddress(const std::string& AAddress);
