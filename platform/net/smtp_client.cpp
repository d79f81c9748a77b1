#include "platform/net/smtp_client.h"

#include <curl/curl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <thread>

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

std::string Bracketed(const std::string& AAddress)
{
    // Anything else inside the brackets would reach the envelope as SMTP parameters or further addresses.
    if (!IsPlainMailAddress(AAddress)) throw ESMTPError("Not a plain mail address: " + AAddress);
    return "<" + AAddress + ">";
}

// Ends a send that outlives its time limit by cancelling it.
class TWatchdog {
public:
    TWatchdog(TSMTPCancel& ACancel, long ASeconds)
        : FThread([this, &ACancel, ASeconds] {
              std::unique_lock lock(FLock);
              if (!FDone.wait_for(lock, std::chrono::seconds(ASeconds), [this] { return FFinished; })) {
                  FExpired = true;
                  ACancel.Cancel();
              }
          })
    {
    }
    ~TWatchdog() { Stop(); }
    void Stop()
    {
        {
            std::lock_guard lock(FLock);
            FFinished = true;
        }
        FDone.notify_all();
        if (FThread.joinable()) FThread.join();
    }
    bool Expired() const { return FExpired; }

private:
    std::mutex FLock;
    std::condition_variable FDone;
    bool FFinished = false;
    bool FExpired = false;
    std::thread FThread;
};

}  // namespace

// The sockets curl opens and closes for a send, known to its cancel.
struct TSMTPSockets {
    static curl_socket_t Open(void* ACancel, curlsocktype, curl_sockaddr* AAddress)
    {
        const int s = socket(AAddress->family, AAddress->socktype | SOCK_CLOEXEC, AAddress->protocol);
        if (s < 0) return CURL_SOCKET_BAD;
        if (!static_cast<TSMTPCancel*>(ACancel)->Attach(s)) {
            close(s);
            return CURL_SOCKET_BAD;
        }
        return s;
    }
    static int Close(void* ACancel, curl_socket_t ASocket)
    {
        static_cast<TSMTPCancel*>(ACancel)->Detach(ASocket);
        return close(ASocket);
    }
    static int Progress(void* ACancel, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
    {
        return static_cast<TSMTPCancel*>(ACancel)->Cancelled() ? 1 : 0;
    }
};

void TSMTPCancel::Cancel()
{
    std::lock_guard lock(FLock);
    FCancelled = true;
    for (int s : FSockets) shutdown(s, SHUT_RDWR);
}

bool TSMTPCancel::Cancelled() const
{
    std::lock_guard lock(FLock);
    return FCancelled;
}

bool TSMTPCancel::Attach(int ASocket)
{
    std::lock_guard lock(FLock);
    if (FCancelled) return false;
    FSockets.push_back(ASocket);
    return true;
}

void TSMTPCancel::Detach(int ASocket)
{
    std::lock_guard lock(FLock);
    FSockets.erase(std::remove(FSockets.begin(), FSockets.end(), ASocket), FSockets.end());
}

void TSMTPClient::Send(const TMailMessage& AMessage, TSMTPCancel* ACancel) const
{
    if (Host.empty())
        throw ESMTPError("No mail server configured");
    if (AMessage.Recipients.empty())
        throw ESMTPError("The mail has no recipient");
    const std::string from = Bracketed(AMessage.From);
    std::vector<std::string> bracketed;
    for (const auto& recipient : AMessage.Recipients)
        bracketed.push_back(Bracketed(recipient));
    InitCurlOnce();

    TSMTPCancel own_cancel;
    TSMTPCancel& cancel = ACancel ? *ACancel : own_cancel;
    if (cancel.Cancelled())
        throw ESMTPError("The mail was not sent: cancelled");
    CURLcode result = CURLE_OK;
    char error[CURL_ERROR_SIZE] = {};
    TUpload upload{MailText(AMessage, std::time(nullptr))};
    // One limit for the whole send: the watchdog shuts the connection down when it passes, also while curl
    // waits for the answer to the closing QUIT, which its own time-outs do not cover.
    TWatchdog watchdog(cancel, std::max(1L, TimeoutSeconds));
    {
        std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), &curl_easy_cleanup);
        if (!curl)
            throw ESMTPError("Cannot start the mail client");
        curl_slist* recipients = nullptr;
        for (const auto& recipient : bracketed)
            recipients = curl_slist_append(recipients, recipient.c_str());
        std::unique_ptr<curl_slist, void (*)(curl_slist*)> recipients_owner(recipients, &curl_slist_free_all);

        const std::string url = "smtp://" + Host + ":" + std::to_string(Port);
        CURL* c = curl.get();
        curl_easy_setopt(c, CURLOPT_URL, url.c_str());
        curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "smtp");
        curl_easy_setopt(c, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_NONE));
        if (!Username.empty()) {
            curl_easy_setopt(c, CURLOPT_USERNAME, Username.c_str());
            curl_easy_setopt(c, CURLOPT_PASSWORD, Password.c_str());
        }
        curl_easy_setopt(c, CURLOPT_MAIL_FROM, from.c_str());
        curl_easy_setopt(c, CURLOPT_MAIL_RCPT, recipients);
        curl_easy_setopt(c, CURLOPT_READFUNCTION, &ReadPayload);
        curl_easy_setopt(c, CURLOPT_READDATA, &upload);
        curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, ConnectTimeoutSeconds);
        curl_easy_setopt(c, CURLOPT_TIMEOUT, TimeoutSeconds);
        curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, TimeoutSeconds);
        curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
        curl_easy_setopt(c, CURLOPT_OPENSOCKETFUNCTION, &TSMTPSockets::Open);
        curl_easy_setopt(c, CURLOPT_OPENSOCKETDATA, &cancel);
        curl_easy_setopt(c, CURLOPT_CLOSESOCKETFUNCTION, &TSMTPSockets::Close);
        curl_easy_setopt(c, CURLOPT_CLOSESOCKETDATA, &cancel);
        curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &TSMTPSockets::Progress);
        curl_easy_setopt(c, CURLOPT_XFERINFODATA, &cancel);
        curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
        result = curl_easy_perform(c);
    }  // the cleanup sends QUIT, still under the watchdog
    watchdog.Stop();
    // The server took the mail even when its answer to QUIT never came.
    if (result == CURLE_OK)
        return;
    if (watchdog.Expired())
        throw ESMTPError("Cannot send the mail: no answer from the server within " + std::to_string(TimeoutSeconds) +
                         " s");
    if (cancel.Cancelled())
        throw ESMTPError("The mail was not sent: cancelled");
    throw ESMTPError(std::string("Cannot send the mail: ") + (error[0] ? error : curl_easy_strerror(result)));
}
