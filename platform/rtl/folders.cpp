#include "platform/rtl/folders.h"

#include "platform/rtl/environment.h"
#include "platform/rtl/exceptions.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
std::string WithoutTrailingSlash(std::string APath)
{
    while (APath.size() > 1 && APath.back() == '/')
        APath.pop_back();
    return APath;
}

std::string AbsoluteFromEnvironment(const char* AName)
{
    const std::string value = GetEnvironmentVariable(AName);
    return !value.empty() && value[0] == '/' ? WithoutTrailingSlash(value) : "";
}

struct TUserDir {
    const char* Key;
    const char* Default;
};

const TUserDir& UserDirOf(TSpecialFolder AFolder)
{
    static const TUserDir dirs[] = {
        {"XDG_DESKTOP_DIR", "Desktop"}, {"XDG_DOCUMENTS_DIR", "Documents"}, {"XDG_DOWNLOAD_DIR", "Downloads"},
        {"XDG_MUSIC_DIR", "Music"},     {"XDG_PICTURES_DIR", "Pictures"},   {"XDG_VIDEOS_DIR", "Videos"},
        {"XDG_TEMPLATES_DIR", "Templates"}, {"XDG_PUBLICSHARE_DIR", "Public"},
    };
    return dirs[AFolder];
}

// The quoted value after "=", with backslash escapes resolved; false when it is not a closed quoted string.
bool Unquote(const std::string& AText, std::string& AValue)
{
    if (AText.empty() || AText[0] != '"')
        return false;
    AValue.clear();
    for (size_t i = 1; i < AText.size(); ++i) {
        const char c = AText[i];
        if (c == '"') {
            const size_t rest = AText.find_first_not_of(" \t\r", i + 1);
            return rest == std::string::npos || AText[rest] == '#';
        }
        if (c == '\\' && i + 1 < AText.size())
            AValue += AText[++i];
        else
            AValue += c;
    }
    return false;
}

std::string OSErrorText(const std::string& AWhat, const std::string& APath, int AError)
{
    return AWhat + " " + APath + ": " + std::strerror(AError);
}

// Ours alone: a real directory (lstat: a link is refused), owned by us, nothing for group and others.
bool IsPrivateFolder(const std::string& APath)
{
    struct stat info {};
    if (lstat(APath.c_str(), &info) != 0)
        return false;
    if (!S_ISDIR(info.st_mode) || info.st_uid != geteuid() || (info.st_mode & 077) != 0)
        return false;
    // Narrower than 0700 (an odd umask when it was made) is still ours to open up.
    if ((info.st_mode & 0700) != 0700 && chmod(APath.c_str(), 0700) != 0)
        return false;
    return true;
}

std::mutex temp_lock;
// This process's own folder once the shared name was refused, and that name.
std::string temp_refused;
std::string temp_fallback;
}  // namespace

std::string GetHomeFolder()
{
    const std::string home = AbsoluteFromEnvironment("HOME");
    if (!home.empty())
        return home;
    std::vector<char> buffer(16384);
    passwd entry {};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir)
        return WithoutTrailingSlash(found->pw_dir);
    return "/";
}

std::string GetConfigFolder()
{
    const std::string config = AbsoluteFromEnvironment("XDG_CONFIG_HOME");
    return !config.empty() ? config : GetHomeFolder() + "/.config";
}

std::map<std::string, std::string> ParseUserDirs(const std::string& AText, const std::string& AHome)
{
    std::map<std::string, std::string> dirs;
    std::istringstream lines(AText);
    std::string line;
    while (std::getline(lines, line)) {
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#')
            continue;
        const size_t equals = line.find('=', start);
        if (equals == std::string::npos || equals == start)
            continue;
        const std::string key = line.substr(start, line.find_last_not_of(" \t", equals - 1) + 1 - start);
        const size_t value_start = line.find_first_not_of(" \t", equals + 1);
        std::string value;
        if (value_start == std::string::npos || !Unquote(line.substr(value_start), value))
            continue;
        if (value.rfind("$HOME", 0) == 0 && (value.size() == 5 || value[5] == '/'))
            dirs[key] = WithoutTrailingSlash(AHome + value.substr(5));
        else if (!value.empty() && value[0] == '/')
            dirs[key] = WithoutTrailingSlash(value);
    }
    return dirs;
}

std::string GetSpecialFolder(TSpecialFolder AFolder)
{
    const TUserDir& dir = UserDirOf(AFolder);
    const std::string home = GetHomeFolder();
    std::ifstream file(GetConfigFolder() + "/user-dirs.dirs");
    if (file) {
        std::stringstream text;
        text << file.rdbuf();
        const auto dirs = ParseUserDirs(text.str(), home);
        const auto found = dirs.find(dir.Key);
        if (found != dirs.end())
            return found->second;
    }
    return home + "/" + dir.Default;
}

std::string GetPrivateTempFolder()
{
    std::string base = AbsoluteFromEnvironment("TMPDIR");
    if (base.empty())
        base = "/tmp";
    const std::string name = base + "/quennary-" + std::to_string(geteuid());

    std::lock_guard lock(temp_lock);
    if (temp_refused == name && IsPrivateFolder(temp_fallback))
        return temp_fallback;
    if (mkdir(name.c_str(), 0700) != 0 && errno != EEXIST)
        throw EOSError(OSErrorText("Cannot create the temporary folder", name, errno));
    if (IsPrivateFolder(name))
        return name;

    std::string pattern = name + "-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw EOSError(OSErrorText("Cannot create the temporary folder", pattern, errno));
    temp_refused = name;
    temp_fallback = pattern;
    return temp_fallback;
}

std::string CreateUniqueTempFile(const std::string& APrefix, const std::string& ASuffix)
{
    if (APrefix.find('/') != std::string::npos || ASuffix.find('/') != std::string::npos)
        throw EInvalidArgument("A temporary file name cannot hold a folder: " + APrefix + ASuffix);
    std::string path = GetPrivateTempFolder() + "/" + APrefix + "XXXXXX" + ASuffix;
    const int fd = mkostemps(path.data(), int(ASuffix.size()), O_CLOEXEC);
    if (fd < 0)
        throw EOSError(OSErrorText("Cannot create a temporary file", path, errno));
    close(fd);
    return path;
}
