#pragma once
// A mail server on 127.0.0.1 that goes silent at a chosen point of the dialogue and stays so until it is
// destroyed: for time limits and cancelling. One connection; no authentication offered.
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>

class TStallingSmtpPeer {
public:
    enum TStall {
        stGreeting,   // accepts the connection and says nothing
        stAfterData,  // takes the message and never answers its end
        stAtQuit,     // takes the message, answers, and never answers QUIT
    };

    explicit TStallingSmtpPeer(TStall AStall) : FStall(AStall)
    {
        FListen = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (bind(FListen, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(FListen, 4) != 0 ||
            getsockname(FListen, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            return;
        Port = ntohs(address.sin_port);
        if (pipe(FStop) != 0) return;
        FThread = std::thread([this] { Serve(); });
    }
    ~TStallingSmtpPeer()
    {
        if (FStop[1] >= 0) close(FStop[1]);
        if (FThread.joinable()) FThread.join();
        if (FStop[0] >= 0) close(FStop[0]);
        close(FListen);
    }

    int Port = 0;
    std::atomic<bool> Stalled{false};  // the dialogue has reached the silence

private:
    // Waits for input or for the end of the peer; false at the end.
    bool WaitFor(int ASocket)
    {
        pollfd fds[2] = {{ASocket, POLLIN, 0}, {FStop[0], POLLIN, 0}};
        return poll(fds, 2, -1) > 0 && !(fds[1].revents & (POLLIN | POLLHUP)) && (fds[0].revents & POLLIN);
    }
    bool ReadLine(int ASocket, std::string& ALine)
    {
        ALine.clear();
        char c;
        while (WaitFor(ASocket) && read(ASocket, &c, 1) == 1) {
            if (c == '\n') return true;
            if (c != '\r') ALine += c;
        }
        return false;
    }
    void Say(int ASocket, const std::string& AText) { (void)!write(ASocket, AText.data(), AText.size()); }
    void Silence(int ASocket)
    {
        Stalled = true;
        std::string ignored;
        while (ReadLine(ASocket, ignored)) {
        }
    }
    void Serve()
    {
        if (!WaitFor(FListen)) return;
        const int s = accept4(FListen, nullptr, nullptr, SOCK_CLOEXEC);
        if (s < 0) return;
        if (FStall == stGreeting) {
            Silence(s);
        } else {
            Say(s, "220 stalling.test ready\r\n");
            std::string line;
            bool in_data = false;
            while (ReadLine(s, line)) {
                if (in_data) {
                    if (line != ".") continue;
                    in_data = false;
                    if (FStall == stAfterData) break;
                    Say(s, "250 taken\r\n");
                } else if (line.rfind("EHLO", 0) == 0 || line.rfind("HELO", 0) == 0) {
                    Say(s, "250 stalling.test\r\n");
                } else if (line == "DATA") {
                    in_data = true;
                    Say(s, "354 go on\r\n");
                } else if (line == "QUIT") {
                    break;
                } else {
                    Say(s, "250 ok\r\n");
                }
            }
            Silence(s);
        }
        close(s);
    }

    TStall FStall;
    int FListen = -1;
    int FStop[2] = {-1, -1};
    std::thread FThread;
};
