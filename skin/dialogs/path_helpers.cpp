#include "skin/dialogs/path_helpers.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>

#include "platform/gui/canvas.h"
#include "platform/rtl/environment.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"
#include "skin/dialogs/file_controls_volumes.h"

namespace {

const std::string kEllipsisFolder = ".../";

bool HasWildcard(const std::string& S) { return S.find_first_of("*?") != std::string::npos; }

}  // namespace

bool FolderExists(const std::string& AName)
{
    struct stat st{};
    return !AName.empty() && stat(AName.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string AppendPathPart(const std::string& APath, const std::string& AName)
{
    if (!APath.empty() && APath.back() == '/') return APath + AName;
    return APath + "/" + AName;
}

void ShortenFirstFolder(std::string& S)
{
    if (S == "/") {
        S.clear();
        return;
    }
    const bool rooted = !S.empty() && S[0] == '/';
    if (rooted) S.erase(0, 1);
    // Only the marker an earlier pass left is skipped: hidden folders also start with a dot.
    if (S.rfind(kEllipsisFolder, 0) == 0) S.erase(0, kEllipsisFolder.size());
    const size_t slash = S.find('/');
    S = slash == std::string::npos ? std::string() : kEllipsisFolder + S.substr(slash + 1);
    if (rooted) S.insert(0, "/");
}

std::string FitPathToWidth(const std::string& AFileName, TCanvas* ACanvas, int AMaxLen)
{
    std::string result = AFileName;
    std::string dir = ExtractFilePath(AFileName);
    const std::string name = ExtractFileName(AFileName);
    while (!dir.empty() && ACanvas->TextWidth(result) > AMaxLen) {
        if (dir == "/" + kEllipsisFolder)
            dir = kEllipsisFolder;
        else
            ShortenFirstFolder(dir);
        result = dir + name;
    }
    return result;
}

std::string GetVolumeLabelText(const std::string& AMountPoint)
{
    return "[" + VolumeLabel(VolumeAt(AMountPoint)) + "]";
}

std::string GetNetworkOrVolumeName(const std::string& AMountPoint)
{
    const TVolume v = VolumeAt(AMountPoint);
    return v.Kind == TVolumeKind::Remote ? v.Source : GetVolumeLabelText(AMountPoint);
}

std::string ResolveTypedFolder(const std::string& AText, const std::string& ABase)
{
    std::filesystem::path path;
    if (AText == "~" || AText.starts_with("~/"))
        path = std::filesystem::path(GetEnvironmentVariable("HOME")) / AText.substr(AText.size() > 1 ? 2 : 1);
    else if (AText.starts_with("/"))
        path = AText;
    else
        path = std::filesystem::path(ABase) / AText;
    std::string text = path.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

std::string FolderProblem(const std::string& APath)
{
    struct stat st {};
    if (::stat(APath.c_str(), &st) != 0) return std::strerror(errno);
    if (!S_ISDIR(st.st_mode)) return std::strerror(ENOTDIR);
    return {};
}

std::string CurrentFolder() { return GetCurrentDir(); }

void EnterFolder(const std::string& AFolder)
{
    if (chdir(AFolder.c_str()) != 0) {
        const int error = errno;
        throw EInOutError(Format("Cannot enter the folder \"%s\": %s", {AFolder, SysErrorMessage(error)}));
    }
}

TEditPathParts SplitEditPath(const std::string& AEditText)
{
    const std::string saveDir = CurrentFolder();
    // Whatever happens inside, the process leaves in the folder it came from.
    struct TRestore {
        const std::string& Dir;
        ~TRestore()
        {
            if (FolderExists(Dir)) (void)!chdir(Dir.c_str());
        }
    } restore{saveDir};

    TEditPathParts parts;
    std::string dirPart = AEditText;
    // The drive box shows labels as "[label]"; typed that way the brackets go.
    if (dirPart.size() >= 2 && dirPart.front() == '[' && dirPart.back() == ']') dirPart = dirPart.substr(1, dirPart.size() - 2);
    parts.FilePart = ExtractFileName(dirPart);
    if (dirPart.size() == parts.FilePart.size() + 1)
        dirPart = "/";
    else if (dirPart.size() > parts.FilePart.size())
        dirPart.resize(dirPart.size() - parts.FilePart.size() - 1);
    else
        dirPart = saveDir;
    if (!dirPart.empty()) EnterFolder(dirPart);
    if (!parts.FilePart.empty() && !HasWildcard(parts.FilePart) && !FileExists(parts.FilePart)) {
        EnterFolder(parts.FilePart);
        parts.FilePart.clear();
    }
    // Absolute, so that callers entering it land in the same folder whatever their current one is.
    parts.DirPart = CurrentFolder();
    parts.Drive = MountPointOf(parts.DirPart);
    return parts;
}
