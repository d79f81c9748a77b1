#include "platform/rtl/process.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {
// posix_spawn attributes: the child starts with no blocked signals and default handling of SIGPIPE, whatever
// this process set up for itself; a detached child gets its own session so it outlives us and our terminal.
class TSpawnAttributes {
public:
    explicit TSpawnAttributes(bool ADetached)
    {
        posix_spawnattr_init(&FAttributes);
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&FAttributes, &none);
        sigset_t defaults;
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        posix_spawnattr_setsigdefault(&FAttributes, &defaults);
        short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
        if (ADetached)
            flags |= POSIX_SPAWN_SETSID;
        posix_spawnattr_setflags(&FAttributes, flags);
    }
    ~TSpawnAttributes() { posix_spawnattr_destroy(&FAttributes); }
    TSpawnAttributes(const TSpawnAttributes&) = delete;
    TSpawnAttributes& operator=(const TSpawnAttributes&) = delete;
    const posix_spawnattr_t* Get() const { return &FAttributes; }

private:
    posix_spawnattr_t FAttributes;
};

int WaitForExit(pid_t APid, std::string& AError)
{
    int status = 0;
    pid_t done;
    do
        done = waitpid(APid, &status, 0);
    while (done < 0 && errno == EINTR);
    if (done < 0) {
        AError = std::string("Cannot wait for the program: ") + std::strerror(errno);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
}  // namespace

TStartResult StartProgram(const std::vector<std::string>& AArgs, bool AWait)
{
    TStartResult result;
    if (AArgs.empty() || AArgs[0].empty()) {
        result.Error = "No program given";
        return result;
    }
    std::vector<char*> argv;
    for (const std::string& arg : AArgs)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    TSpawnAttributes attributes(!AWait);
    pid_t pid = 0;
    // posix_spawnp reports a program that cannot be run (missing, not executable) as its own error.
    const int error = posix_spawnp(&pid, argv[0], nullptr, attributes.Get(), argv.data(), environ);
    if (error != 0) {
        result.Error = AArgs[0] + ": " + std::strerror(error);
        return result;
    }
    result.Started = true;
    if (AWait) {
        result.ExitCode = WaitForExit(pid, result.Error);
    } else {
        // Reaped in the background so that no zombie is left behind.
        std::thread([pid] {
            std::string ignored;
            WaitForExit(pid, ignored);
        }).detach();
    }
    return result;
}

bool OpenWithDefaultProgram(const std::string& ATarget)
{
    // xdg-open would take a name starting with "-" for an option.
    const std::string target = !ATarget.empty() && ATarget[0] == '-' ? "./" + ATarget : ATarget;
    return StartProgram({"xdg-open", target}, false).Started;
}

std::string PercentEncode(const std::string& AText)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string encoded;
    for (const unsigned char c : AText) {
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                                c == '-' || c == '.' || c == '_' || c == '~';
        if (unreserved) {
            encoded += char(c);
        } else {
            encoded += '%';
            encoded += digits[c >> 4];
            encoded += digits[c & 15];
        }
    }
    return encoded;
}
