// Path helpers, file queries, directory search and the atomic file write.
#include "platform/rtl/sysutils.h"
#include "platform/rtl/sysutils_internal.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

using sysutils_internal::TimespecToDateTime;

namespace {

// ---- Files -----------------------------------------------------------------------------------------------------

std::mutex& HookMutex()
{
    static std::mutex m;
    return m;
}
std::function<void(const std::string&)>& AtomicWriteHook()
{
    static std::function<void(const std::string&)> hook;
    return hook;
}

mode_t ProcessUmask()
{
    if (FILE* f = fopen("/proc/self/status", "re")) {
        char line[256];
        while (fgets(line, sizeof line, f)) {
            unsigned value;
            if (sscanf(line, "Umask: %o", &value) == 1) {
                fclose(f);
                return static_cast<mode_t>(value);
            }
        }
        fclose(f);
    }
    return 022;
}

bool WriteAll(int fd, std::string_view AData)
{
    while (!AData.empty()) {
        ssize_t n = write(fd, AData.data(), AData.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        AData.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// ".name.tmp-<pid>-" starts every temporary file of WriteFileAtomically.
std::string TempPrefix(const std::string& AFileName) { return "." + ExtractFileName(AFileName) + ".tmp-"; }

// Removes the temporary files that writers which died mid-write left beside AFileName. A file whose writer still
// runs (or whose name holds no process id) is left alone.
void RemoveStaleTempFiles(const std::string& AFileName)
{
    const std::string dir = ExtractFilePath(AFileName);
    const std::string prefix = TempPrefix(AFileName);
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return;
    while (const dirent* e = readdir(d)) {
        std::string_view name = e->d_name;
        if (name.substr(0, prefix.size()) != prefix) continue;
        name.remove_prefix(prefix.size());
        pid_t pid = 0;
        auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), pid);
        if (ec != std::errc() || pid <= 0 || end == name.data() + name.size() || *end != '-') continue;
        if (pid == getpid() || kill(pid, 0) == 0 || errno != ESRCH) continue;
        unlink((dir + e->d_name).c_str());
    }
    closedir(d);
}

}  // namespace

// ---- Files and paths -----------------------------------------------------------------------------------------------

std::string ExtractFilePath(const std::string& AFileName)
{
    size_t p = AFileName.rfind(PathDelim);
    return p == std::string::npos ? "" : AFileName.substr(0, p + 1);
}

std::string ExtractFileDir(const std::string& AFileName)
{
    size_t p = AFileName.rfind(PathDelim);
    if (p == std::string::npos) return "";
    return p == 0 ? "/" : AFileName.substr(0, p);
}

std::string ExtractFileName(const std::string& AFileName)
{
    size_t p = AFileName.rfind(PathDelim);
    return p == std::string::npos ? AFileName : AFileName.substr(p + 1);
}

std::string ExtractFileExt(const std::string& AFileName)
{
    size_t p = AFileName.find_last_of(std::string(".") + PathDelim);
    return p != std::string::npos && AFileName[p] == '.' ? AFileName.substr(p) : "";
}

std::string ChangeFileExt(const std::string& AFileName, const std::string& AExtension)
{
    size_t p = AFileName.find_last_of(std::string(".") + PathDelim);
    if (p == std::string::npos || AFileName[p] != '.') return AFileName + AExtension;
    return AFileName.substr(0, p) + AExtension;
}

std::string IncludeTrailingPathDelimiter(const std::string& S)
{
    return !S.empty() && S.back() == PathDelim ? S : S + PathDelim;
}

std::string ExcludeTrailingPathDelimiter(const std::string& S)
{
    return !S.empty() && S.back() == PathDelim ? S.substr(0, S.size() - 1) : S;
}

std::string GetCurrentDir()
{
    std::error_code ec;
    fs::path p = fs::current_path(ec);
    return ec ? std::string() : p.string();
}

std::string ExpandFileName(const std::string& AFileName)
{
    if (AFileName.empty()) return "";
    fs::path p(AFileName);
    if (p.is_relative()) p = fs::path(GetCurrentDir()) / p;
    return p.lexically_normal().string();
}

bool FileExists(const std::string& AFileName)
{
    struct stat st{};
    return !AFileName.empty() && stat(AFileName.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& ADirectory)
{
    struct stat st{};
    return !ADirectory.empty() && stat(ADirectory.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ForceDirectories(const std::string& ADirectory)
{
    if (ADirectory.empty()) return false;
    std::error_code ec;
    fs::create_directories(fs::path(ExcludeTrailingPathDelimiter(ADirectory)), ec);
    return DirectoryExists(ADirectory);
}

bool CreateDir(const std::string& ADirectory) { return mkdir(ADirectory.c_str(), 0777) == 0; }
bool RemoveDir(const std::string& ADirectory) { return rmdir(ADirectory.c_str()) == 0; }

bool DeleteFile(const std::string& AFileName)
{
    struct stat st{};
    if (lstat(AFileName.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    return unlink(AFileName.c_str()) == 0;
}

bool RenameFile(const std::string& AOldName, const std::string& ANewName)
{
    if (renameat2(AT_FDCWD, AOldName.c_str(), AT_FDCWD, ANewName.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without the no-replace flag: check first, accepting the small race.
    struct stat st{};
    if (lstat(ANewName.c_str(), &st) == 0) return false;
    return rename(AOldName.c_str(), ANewName.c_str()) == 0;
}

bool FileAge(const std::string& AFileName, TDateTime& AFileDateTime)
{
    struct stat st{};
    if (stat(AFileName.c_str(), &st) != 0) return false;
    AFileDateTime = TimespecToDateTime(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    return true;
}

Int64 FileSizeByName(const std::string& AFileName)
{
    struct stat st{};
    if (stat(AFileName.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
    return static_cast<Int64>(st.st_size);
}

struct TSearchState {
    std::vector<TSearchRec> Found;
    size_t Next = 0;
};

Integer FindFirst(const std::string& AMask, Integer AAttr, TSearchRec& F)
{
    FindClose(F);
    std::string dir = ExtractFilePath(AMask);
    std::string mask = ExtractFileName(AMask);
    auto state = std::make_shared<TSearchState>();
    Integer exclude = ~AAttr & (faHidden | faSysFile | faDirectory);
    if (DIR* d = opendir(dir.empty() ? "." : dir.c_str())) {
        while (struct dirent* e = readdir(d)) {
            std::string name = e->d_name;
            if (name == "." || name == ".." || !MatchesMask(name, mask)) continue;
            struct stat st{};
            if (stat((dir + name).c_str(), &st) != 0) continue;
            TSearchRec rec;
            rec.Name = name;
            rec.Size = S_ISDIR(st.st_mode) ? 0 : static_cast<Int64>(st.st_size);
            rec.Attr = S_ISDIR(st.st_mode) ? faDirectory : (S_ISREG(st.st_mode) ? faArchive : faSysFile);
            if (name[0] == '.') rec.Attr |= faHidden;
            if (access((dir + name).c_str(), W_OK) != 0) rec.Attr |= faReadOnly;
            rec.Time = TimespecToDateTime(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
            if ((rec.Attr & exclude) == 0) state->Found.push_back(std::move(rec));
        }
        closedir(d);
    }
    // The directory order of the file system is arbitrary; names in order keep listings stable.
    std::sort(state->Found.begin(), state->Found.end(),
              [](const TSearchRec& a, const TSearchRec& b) { return CompareText(a.Name, b.Name) < 0; });
    F.State = state;
    return FindNext(F);
}

Integer FindNext(TSearchRec& F)
{
    if (!F.State || F.State->Next >= F.State->Found.size()) return ENOENT;
    auto state = F.State;
    F = state->Found[state->Next++];
    F.State = state;
    return 0;
}

void FindClose(TSearchRec& F) { F.State.reset(); }

void SetAtomicWriteHook(std::function<void(const std::string& ATempName)> AHook)
{
    std::lock_guard lock(HookMutex());
    AtomicWriteHook() = std::move(AHook);
}

bool WriteFileAtomically(const std::string& AFileName, std::string_view AContents)
{
    // Write through a symbolic link to its target instead of replacing the link.
    std::string target = AFileName;
    struct stat st{};
    if (lstat(AFileName.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = realpath(AFileName.c_str(), nullptr)) {
            target = real;
            free(real);
        }
    }
    bool existed = stat(target.c_str(), &st) == 0;
    if (existed && !S_ISREG(st.st_mode)) return false;
    mode_t mode = existed ? (st.st_mode & 07777) : (0666 & ~ProcessUmask());

    std::string dir = ExtractFilePath(target);
    RemoveStaleTempFiles(target);
    std::string temp = dir + TempPrefix(target) + std::to_string(getpid()) + "-XXXXXX";
    int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, AContents) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok) {
        std::function<void(const std::string&)> hook;
        {
            std::lock_guard lock(HookMutex());
            hook = AtomicWriteHook();
        }
        if (hook) hook(temp);
        ok = rename(temp.c_str(), target.c_str()) == 0;
    }
    if (!ok) {
        unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable; failing here does not undo the write.
    int dfd = open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        fsync(dfd);
        close(dfd);
    }
    return true;
}

std::string SysErrorMessage(int AErrorCode)
{
    char buf[256];
    return strerror_r(AErrorCode, buf, sizeof buf);
}
