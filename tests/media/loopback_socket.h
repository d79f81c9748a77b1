#pragma once
// A socket bound to a free port of 127.0.0.1, for tests that need a local peer: a UDP receiver that reads nothing
// or a TCP server that listens and never answers.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

struct TLoopbackSocket {
    int Handle = -1;
    int Port = 0;
    // "rtp://127.0.0.1:port" and the like.
    std::string URL(const std::string& AScheme) const { return AScheme + "://127.0.0.1:" + std::to_string(Port); }
    ~TLoopbackSocket()
    {
        if (Handle >= 0) close(Handle);
    }
};

// ASocketType SOCK_DGRAM or SOCK_STREAM (then listening); Handle stays -1 when any step fails.
inline void OpenLoopbackSocket(TLoopbackSocket& ASocket, int ASocketType)
{
    const int handle = socket(AF_INET, ASocketType, 0);
    if (handle < 0) return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        (ASocketType == SOCK_STREAM && listen(handle, 4) != 0) ||
        getsockname(handle, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(handle);
        return;
    }
    ASocket.Handle = handle;
    ASocket.Port = ntohs(address.sin_port);
}
