#pragma once
// A real mail server on 127.0.0.1 for tests (python3-aiosmtpd, started as a child and stopped by closing its
// input), and a port where nothing listens.
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

class TSmtpPeer {
public:
    TSmtpPeer(const std::string& ACaptureFile, const std::string& AUser, const std::string& APassword)
        : FCapture(ACaptureFile)
    {
        std::remove(ACaptureFile.c_str());
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, in[1]);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        // Debian's python carries aiosmtpd; a python found first on PATH may not.
        const std::string python = access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
        const std::string script = std::string(QUENNARY_SOURCE_DIR) + "/tests/platform/net/smtp_peer.py";
        std::vector<std::string> args = {python, script, ACaptureFile, AUser, APassword};
        std::vector<char*> argv;
        for (auto& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        const int spawned = posix_spawnp(&FPid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        FInput = in[1];
        if (spawned != 0) {
            FPid = -1;
            close(out[0]);
            return;
        }
        // The first line is the port; reading it waits until the server listens.
        std::string line;
        char c;
        while (read(out[0], &c, 1) == 1 && c != '\n')
            line += c;
        close(out[0]);
        Port = line.empty() ? 0 : std::stoi(line);
    }

    ~TSmtpPeer()
    {
        if (FInput >= 0)
            close(FInput);
        if (FPid > 0) {
            int status = 0;
            waitpid(FPid, &status, 0);
        }
    }

    TSmtpPeer(const TSmtpPeer&) = delete;
    TSmtpPeer& operator=(const TSmtpPeer&) = delete;

    // "LOGIN user", "FROM addr", "TO addr"..., "DATA", then the mail as received; empty before a mail came.
    std::string Captured() const
    {
        std::ifstream in(FCapture, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    int Port = 0;

private:
    std::string FCapture;
    pid_t FPid = -1;
    int FInput = -1;
};

// A port on 127.0.0.1 that nothing listens on (just freed by the system).
inline int RefusingPort()
{
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bind(s, reinterpret_cast<sockaddr*>(&address), size);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    close(s);
    return ntohs(address.sin_port);
}
