#include "platform/net/mail_message.h"

#include <algorithm>

namespace {

std::string HeaderValue(std::string AText)
{
    std::replace_if(AText.begin(), AText.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return AText;
}

std::string Base64(const std::string& AText)
{
    static const char* kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    size_t i = 0;
    for (; i + 2 < AText.size(); i += 3) {
        const unsigned n = static_cast<unsigned char>(AText[i]) << 16 | static_cast<unsigned char>(AText[i + 1]) << 8 |
                           static_cast<unsigned char>(AText[i + 2]);
        out += {kDigits[n >> 18], kDigits[(n >> 12) & 63], kDigits[(n >> 6) & 63], kDigits[n & 63]};
    }
    if (i + 1 == AText.size()) {
        const unsigned n = static_cast<unsigned char>(AText[i]) << 16;
        out += {kDigits[n >> 18], kDigits[(n >> 12) & 63], '=', '='};
    } else if (i + 2 == AText.size()) {
        const unsigned n = static_cast<unsigned char>(AText[i]) << 16 | static_cast<unsigned char>(AText[i + 1]) << 8;
        out += {kDigits[n >> 18], kDigits[(n >> 12) & 63], kDigits[(n >> 6) & 63], '='};
    }
    return out;
}

std::string EncodedWord(const std::string& AText)
{
    const bool ascii = std::all_of(AText.begin(), AText.end(), [](char c) { return static_cast<unsigned char>(c) < 128; });
    return ascii ? AText : "=?UTF-8?B?" + Base64(AText) + "?=";
}

std::string DateText(std::time_t ADate)
{
    std::tm utc{};
    gmtime_r(&ADate, &utc);
    char text[64];
    std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S +0000", &utc);
    return text;
}

}  // namespace

std::string MailText(const TMailMessage& AMessage, std::time_t ADate)
{
    std::string to;
    for (const auto& recipient : AMessage.Recipients)
        to += (to.empty() ? "" : ", ") + HeaderValue(recipient);
    std::string text = "Date: " + DateText(ADate) + "\r\n" + "From: " + HeaderValue(AMessage.From) + "\r\n" + "To: " +
                       to + "\r\n" + "Subject: " + EncodedWord(HeaderValue(AMessage.Subject)) + "\r\n" +
                       "MIME-Version: 1.0\r\n" + "Content-Type: text/plain; charset=UTF-8\r\n" +
                       "Content-Transfer-Encoding: 8bit\r\n\r\n";
    for (const auto& line : AMessage.Body) {
        std::string clean = line;
        clean.erase(std::remove(clean.begin(), clean.end(), '\r'), clean.end());
        std::replace(clean.begin(), clean.end(), '\n', ' ');
        text += clean + "\r\n";
    }
    return text;
}

bool IsPlainMailAddress(const std::string& AAddress)
{
    const size_t at = AAddress.find('@');
    if (at == std::string::npos || at == 0 || at + 1 == AAddress.size() || AAddress.size() > 254) return false;
    const auto alnum = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    };
    const std::string local = AAddress.substr(0, at), domain = AAddress.substr(at + 1);
    static const std::string kLocalSigns = "!#$%&'*+-/=?^_`{|}~.";
    for (char c : local)
        if (!alnum(c) && kLocalSigns.find(c) == std::string::npos) return false;
    for (char c : domain)
        if (!alnum(c) && c != '-' && c != '.') return false;
    const auto dots_fit = [](const std::string& APart) {
        return APart.front() != '.' && APart.back() != '.' && APart.find("..") == std::string::npos;
    };
    return local.size() <= 64 && dots_fit(local) && dots_fit(domain);
}
