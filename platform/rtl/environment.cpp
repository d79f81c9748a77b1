#include "platform/rtl/environment.h"

#include <cstdlib>
#include <mutex>
#include <unistd.h>
#include <vector>

namespace {
std::mutex& EnvironmentLock()
{
    static std::mutex lock;
    return lock;
}

bool ValidName(const std::string& AName)
{
    return !AName.empty() && AName.find('=') == std::string::npos && AName.find('\0') == std::string::npos;
}
}  // namespace

std::optional<std::string> FindEnvironmentVariable(const std::string& AName)
{
    if (!ValidName(AName))
        return std::nullopt;
    std::lock_guard lock(EnvironmentLock());
    const char* value = getenv(AName.c_str());
    if (!value)
        return std::nullopt;
    return std::string(value);
}

std::string GetEnvironmentVariable(const std::string& AName)
{
    return FindEnvironmentVariable(AName).value_or("");
}

bool SetEnvironmentVariable(const std::string& AName, const std::string& AValue)
{
    if (!ValidName(AName))
        return false;
    std::lock_guard lock(EnvironmentLock());
    return setenv(AName.c_str(), AValue.c_str(), 1) == 0;
}

bool UnsetEnvironmentVariable(const std::string& AName)
{
    if (!ValidName(AName))
        return false;
    std::lock_guard lock(EnvironmentLock());
    return unsetenv(AName.c_str()) == 0;
}

std::string GetExecutablePath()
{
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return "";
        if (size_t(length) < buffer.size())
            return std::string(buffer.data(), size_t(length));
        buffer.resize(buffer.size() * 2);  // possibly cut: try again with room to spare
    }
}

std::string GetExecutableFolder()
{
    const std::string path = GetExecutablePath();
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}
