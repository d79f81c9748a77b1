#include "app/partial_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <filesystem>

namespace {

constexpr char kMark[] = "user.quennary.partial";

// ".<title>.partial[<n>][<ext>]", as the conversion names them.
bool HasPartialName(const std::string& AName)
{
    if (AName.size() < 9 || AName[0] != '.') return false;
    const size_t at = AName.rfind(".partial");
    if (at == std::string::npos || at == 0) return false;
    size_t i = at + 8;
    while (i < AName.size() && AName[i] >= '0' && AName[i] <= '9') ++i;
    return i == AName.size() || (AName[i] == '.' && AName.find('.', i + 1) == std::string::npos);
}

}  // namespace

int CreatePartialFile(const std::string& APath)
{
    const int fd = open(APath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    // Without the mark (a file system without extended attributes) the file is still used; only a leftover of it
    // is then not recognised as this program's.
    fsetxattr(fd, kMark, "1", 1, 0);
    flock(fd, LOCK_EX | LOCK_NB);
    return fd;
}

void ClosePartialFile(int ALock)
{
    if (ALock < 0) return;
    fremovexattr(ALock, kMark);
    close(ALock);
}

void RemoveStalePartialFiles(const std::string& AFolder)
{
    std::error_code error;
    for (std::filesystem::directory_iterator it(AFolder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!HasPartialName(name)) continue;
        const std::string path = it->path().string();
        const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat status {};
        char mark[4];
        const bool ours = fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
                          fgetxattr(fd, kMark, mark, sizeof mark) == 1 && mark[0] == '1';
        // A running conversion, of this process or another, holds its lock: its file is not stale.
        if (ours && flock(fd, LOCK_EX | LOCK_NB) == 0) {
            struct stat now {};
            // Still the file that was checked, not one put in its place meanwhile.
            if (lstat(path.c_str(), &now) == 0 && now.st_dev == status.st_dev && now.st_ino == status.st_ino)
                unlink(path.c_str());
        }
        close(fd);
    }
}
