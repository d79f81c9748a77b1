#include "platform/net/smtp_client.h"

#include <curl/curl.h>

#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>

namespace {

void InitCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct TUpload {
    std::string Text;
    size_t Sent = 0;
};

size_t ReadPayload(char* ABuffer, size_t ASize, size_t ACount, void* AUpload)
{
    auto* upload = static_cast<TUpload*>(AUpload);
    const size_t room = ASize * ACount;
    const size_t count = std::min(room, upload->Text.size() - upload->Sent);
    std::memcpy(ABuffer, upload->Text.data() + upload->Sent, count);
    upload->Sent += count;
    return count;
}

std::string Bracketed(const std::string& AAddress) { return "<" + AAddress + ">"; }

}  // namespace

void TSMTPClient::Send(const TMailMessage& AMessage) const
{
    if (Host.empty())
        throw ESMTPError("No mail server configured");
    if (AMessage.Recipients.empty())
        throw ESMTPError("The mail has no recipient");
    InitCurlOnce();
    std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl)
        throw ESMTPError("Cannot start the mail client");

    curl_slist* recipients = nullptr;
    for (const auto& recipient : AMessage.Recipients)
        recipients = curl_slist_append(recipients, Bracketed(recipient).c_str());
    std::unique_ptr<curl_slist, void (*)(curl_slist*)> recipients_owner(recipients, &curl_slist_free_all);

    TUpload upload{MailText(AMessage, std::time(nullptr))};
    char error[CURL_ERROR_SIZE] = {};
    const std::string url = "smtp://" + Host + ":" + std::to_string(Port);
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "smtp");
    curl_easy_setopt(c, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_NONE));
    if (!Username.empty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, Username.c_str());
        curl_easy_setopt(c, CURLOPT_PASSWORD, Password.c_str());
    }
    const std::string from = Bracketed(AMessage.From);
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, from.c_str());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, recipients);
    curl_easy_setopt(c, CURLOPT_READFUNCTION, &ReadPayload);
    curl_easy_setopt(c, CURLOPT_READDATA, &upload);
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, ConnectTimeoutSeconds);
    curl_easy_setopt(c, CURLOPT_TIMEOUT, TimeoutSeconds);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);

    const CURLcode result = curl_easy_perform(c);
    if (result != CURLE_OK)
        throw ESMTPError(std::string("Cannot send the mail: ") + (error[0] ? error : curl_easy_strerror(result)));
}
