// Where each id list leads, and what the namespace says about the items it names.
#include "platform/shell/namespace.h"

#include "platform/rtl/environment.h"
#include "platform/rtl/folders.h"
#include "platform/rtl/utf8.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* HomeToken = "home";
constexpr const char* ComputerToken = "computer";

bool IsDirectory(const std::string& APath)
{
    struct stat st {};
    return stat(APath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string DesktopDirectory()
{
    std::string env = GetEnvironmentVariable("XDG_DESKTOP_DIR");
    if (!env.empty() && env[0] == '/' && IsDirectory(env)) return env;
    std::string xdg = GetSpecialFolder(sfDesktop);
    if (IsDirectory(xdg)) return xdg;
    return GetHomeFolder();
}

std::string JoinPath(const std::string& ADir, const std::string& AName)
{
    return ADir == "/" ? "/" + AName : ADir + "/" + AName;
}

// Where an absolute id list leads: a virtual node (desktop or computer) or a file-system path.
struct TLocation {
    bool Virtual = false;
    std::string Token;  // "" for the desktop, "computer"
    std::string Path;   // the file-system path (also the desktop's folder)
    TItemKind LastKind = static_cast<TItemKind>(0);
    std::string LastName;  // raw bytes of the last id's payload
};

std::optional<TLocation> Locate(const TItemIdList& AList)
{
    if (AList.IsNil()) return std::nullopt;
    TLocation at;
    at.Virtual = true;
    int count = ItemIdCount(AList);
    for (int i = 0; i < count; ++i) {
        TItemIdList id = ItemIdAt(AList, i);
        TItemKind kind = FirstItemKind(id);
        std::string payload = FirstItemPayload(id);
        bool at_desktop = at.Virtual && at.Token.empty();
        bool at_computer = at.Virtual && at.Token == ComputerToken;
        if (kind == ikVirtual && at_desktop && payload == HomeToken) {
            at = TLocation{false, "", GetHomeFolder(), {}, {}};
        } else if (kind == ikVirtual && at_desktop && payload == ComputerToken) {
            at = TLocation{true, ComputerToken, "", {}, {}};
        } else if (kind == ikVolume && at_computer && !payload.empty() && payload[0] == '/') {
            at = TLocation{false, "", payload, {}, {}};
        } else if (kind == ikFileSystem && !at_computer && !payload.empty() && payload != "." && payload != ".." &&
                   payload.find('/') == std::string::npos && payload.find('\0') == std::string::npos) {
            // The desktop's folder is looked up only for its own entries: it means reading user-dirs.dirs.
            std::string dir = at_desktop ? DesktopDirectory() : at.Path;
            at = TLocation{false, "", JoinPath(dir, payload), {}, {}};
        } else {
            return std::nullopt;
        }
        at.LastKind = kind;
        at.LastName = payload;
    }
    return at;
}

int VirtualRank(const std::string& AToken)
{
    return AToken == HomeToken ? 0 : AToken == ComputerToken ? 1 : 2;
}

std::optional<TVolumeInfo> VolumeAt(const std::string& AMountPath)
{
    for (auto& v : MountedVolumes())
        if (v.MountPath == AMountPath) return v;
    return std::nullopt;
}

bool HasSubFolder(const std::string& APath)
{
    DIR* dir = opendir(APath.c_str());
    if (!dir) return false;
    bool found = false;
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.') continue;  // hidden names, "." and ".."
        if (entry->d_type == DT_DIR ||
            ((entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) && IsDirectory(JoinPath(APath, entry->d_name)))) {
            found = true;
            break;
        }
    }
    closedir(dir);
    return found;
}

// Writable for this user, and not marked read-only for everyone (which the superuser would otherwise ignore).
bool IsWritable(const std::string& APath)
{
    struct stat st {};
    return stat(APath.c_str(), &st) == 0 && (st.st_mode & 0222) != 0 && access(APath.c_str(), W_OK) == 0;
}

std::string ParentPath(const std::string& APath)
{
    auto slash = APath.rfind('/');
    return slash == 0 || slash == std::string::npos ? "/" : APath.substr(0, slash);
}

}  // namespace

std::string EscapedDisplayName(const std::string& ARawName)
{
    if (IsValidUtf8(ARawName)) return ARawName;
    std::string out;
    size_t i = 0;
    while (i < ARawName.size()) {
        size_t start = i;
        bool valid = true;
        Utf8Next(ARawName, i, &valid);
        if (valid) {
            out.append(ARawName, start, i - start);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(ARawName[start]));
            out += hex;
        }
    }
    return out;
}

std::vector<std::string> PathComponents(const std::string& APath)
{
    std::vector<std::string> parts;
    size_t i = 0;
    while (i <= APath.size()) {
        size_t slash = APath.find('/', i);
        if (slash == std::string::npos) slash = APath.size();
        std::string part = APath.substr(i, slash - i);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = slash + 1;
    }
    return parts;
}

std::optional<std::vector<TItemIdList>> TNamespaceFolder::EnumObjects(uint32_t AFlags) const
{
    auto at = Locate(FAbsolute);
    if (!at) return std::nullopt;
    bool folders = AFlags & SHCONTF_FOLDERS, others = AFlags & SHCONTF_NONFOLDERS;
    bool hidden = AFlags & SHCONTF_INCLUDEHIDDEN;
    std::vector<TItemIdList> items;
    if (at->Virtual && at->Token == ComputerToken) {
        if (folders)
            for (auto& v : MountedVolumes()) items.push_back(MakeItemId(ikVolume, v.MountPath));
        return items;
    }
    if (at->Virtual && folders) {
        items.push_back(MakeItemId(ikVirtual, HomeToken));
        items.push_back(MakeItemId(ikVirtual, ComputerToken));
    }
    std::string path = at->Virtual ? DesktopDirectory() : at->Path;
    DIR* dir = opendir(path.c_str());
    if (!dir) {
        if (at->Virtual) return items;  // the desktop keeps its own nodes without a desktop folder
        return std::nullopt;
    }
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (name[0] == '.' && !hidden) continue;
        bool is_dir = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) is_dir = IsDirectory(JoinPath(path, name));
        if (is_dir ? folders : others) items.push_back(MakeItemId(ikFileSystem, name));
    }
    closedir(dir);
    return items;
}

PNamespaceFolder TNamespaceFolder::BindToObject(const TItemIdList& ARelative) const
{
    TItemIdList full = JoinItemIdLists(FAbsolute, ARelative);
    auto at = Locate(full);
    if (!at) return nullptr;
    if (!at->Virtual && !IsDirectory(at->Path)) return nullptr;
    return std::make_shared<TNamespaceFolder>(std::move(full));
}

int TNamespaceFolder::CompareIDs(const TItemIdList& A, const TItemIdList& B) const
{
    int count_a = ItemIdCount(A), count_b = ItemIdCount(B);
    for (int i = 0; i < count_a && i < count_b; ++i) {
        TItemIdList a = ItemIdAt(A, i), b = ItemIdAt(B, i);
        TItemKind kind_a = FirstItemKind(a), kind_b = FirstItemKind(b);
        std::string name_a = FirstItemPayload(a), name_b = FirstItemPayload(b);
        if (kind_a != kind_b) return kind_a < kind_b ? -1 : 1;
        int r = 0;
        if (kind_a == ikVirtual) {
            r = VirtualRank(name_a) - VirtualRank(name_b);
        } else if (kind_a == ikVolume) {
            r = name_a == "/" ? (name_b == "/" ? 0 : -1) : name_b == "/" ? 1 : 0;
        } else {
            r = AnsiCompareText(EscapedDisplayName(name_a), EscapedDisplayName(name_b));
        }
        if (r == 0) r = name_a.compare(name_b);  // only byte-equal names are the same item
        if (r != 0) return r < 0 ? -1 : 1;
    }
    return count_a == count_b ? 0 : count_a < count_b ? -1 : 1;
}

uint32_t TNamespaceFolder::GetAttributesOf(const TItemIdList& AChild, uint32_t ARequest) const
{
    auto at = Locate(JoinItemIdLists(FAbsolute, AChild));
    if (!at) return 0;
    if (at->Virtual)
        return SFGAO_FOLDER | SFGAO_FILESYSANCESTOR | SFGAO_HASSUBFOLDER | (at->Token.empty() ? SFGAO_FILESYSTEM : 0);
    struct stat st {};
    if (stat(at->Path.c_str(), &st) != 0) {
        struct stat lst {};
        // A link to nothing is still an entry the user can rename or delete.
        if (lstat(at->Path.c_str(), &lst) != 0) return 0;
        st = lst;
    }
    // Each bit costs a system call or more: only the asked ones (all but HASSUBFOLDER for 0) are looked up.
    auto wanted = [ARequest](uint32_t ABits) { return ARequest == 0 || (ARequest & ABits) != 0; };
    uint32_t a = SFGAO_FILESYSTEM | SFGAO_CANCOPY;
    bool dir = S_ISDIR(st.st_mode);
    if (dir) a |= SFGAO_FOLDER | SFGAO_DROPTARGET;
    if (dir && (ARequest & SFGAO_HASSUBFOLDER) && HasSubFolder(at->Path)) a |= SFGAO_HASSUBFOLDER;
    struct stat lst {};
    if (wanted(SFGAO_LINK) && lstat(at->Path.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) a |= SFGAO_LINK;
    if (wanted(SFGAO_READONLY) && !IsWritable(at->Path)) a |= SFGAO_READONLY;
    if (at->LastKind == ikFileSystem) {
        if (!at->LastName.empty() && at->LastName[0] == '.') a |= SFGAO_GHOSTED;
        if (wanted(SFGAO_CANRENAME | SFGAO_CANDELETE | SFGAO_CANMOVE) && IsWritable(ParentPath(at->Path)))
            a |= SFGAO_CANRENAME | SFGAO_CANDELETE | SFGAO_CANMOVE;
    } else if (at->LastKind == ikVolume) {
        auto v = wanted(SFGAO_REMOVABLE) ? VolumeAt(at->Path) : std::nullopt;
        if (v && (v->Kind == vkRemovable || v->Kind == vkOptical)) a |= SFGAO_REMOVABLE;
    }
    return a;
}

std::string TNamespaceFolder::GetDisplayNameOf(const TItemIdList& AChild, uint32_t AFlags) const
{
    auto at = Locate(JoinItemIdLists(FAbsolute, AChild));
    if (!at) return {};
    bool parsing = AFlags & SHGDN_FORPARSING;
    if (at->Virtual) {
        if (at->Token.empty()) return parsing ? DesktopDirectory() : "Desktop";
        return parsing ? "::{" + at->Token + "}" : "Computer";
    }
    if (parsing) return at->Path;
    if (at->LastKind == ikVirtual) return "Home";
    if (at->LastKind == ikVolume) {
        auto v = VolumeAt(at->Path);
        return v ? v->Label : at->LastName;
    }
    return EscapedDisplayName(at->LastName);
}

TItemIdList TNamespaceFolder::SetNameOf(const TItemIdList& AChild, const std::string& ANewName) const
{
    TItemIdList full = JoinItemIdLists(FAbsolute, AChild);
    auto at = Locate(full);
    if (!at || at->LastKind != ikFileSystem) {
        errno = EPERM;
        return {};
    }
    if (ANewName.empty() || ANewName == "." || ANewName == ".." || ANewName.find('/') != std::string::npos ||
        ANewName.find('\0') != std::string::npos) {
        errno = EINVAL;
        return {};
    }
    std::string target = JoinPath(ParentPath(at->Path), ANewName);
    if (ANewName != at->LastName) {
        if (renameat2(AT_FDCWD, at->Path.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0) {
            if (errno != EINVAL && errno != ENOSYS) return {};
            // The file system cannot refuse to replace: a hard link fails on an existing name instead.
            if (link(at->Path.c_str(), target.c_str()) != 0) return {};
            unlink(at->Path.c_str());
        }
    }
    TItemIdList relative = CloneItemIdList(AChild);
    DropLastItemId(relative);
    return JoinItemIdLists(relative, MakeItemId(ikFileSystem, ANewName));
}

TItemIdList TNamespaceFolder::CreateNewFolder(const std::string& ABaseName) const
{
    auto at = Locate(FAbsolute);
    if (!at || (at->Virtual && !at->Token.empty())) {
        errno = EPERM;
        return {};
    }
    std::string dir = at->Virtual ? DesktopDirectory() : at->Path;
    if (!IsWritable(dir)) {
        errno = EACCES;
        return {};
    }
    for (int n = 1; n < 10000; ++n) {
        std::string name = n == 1 ? ABaseName : ABaseName + " (" + std::to_string(n) + ")";
        if (mkdir(JoinPath(dir, name).c_str(), 0777) == 0) return MakeItemId(ikFileSystem, name);
        if (errno != EEXIST) return {};
    }
    return {};
}

std::optional<TShellFindData> TNamespaceFolder::ReadFindData(const TItemIdList& AChild) const
{
    auto at = Locate(JoinItemIdLists(FAbsolute, AChild));
    if (!at || at->Virtual) {
        errno = ENOENT;
        return std::nullopt;
    }
    struct stat st {};
    if (stat(at->Path.c_str(), &st) != 0 && lstat(at->Path.c_str(), &st) != 0) return std::nullopt;
    TShellFindData data;
    data.cFileName = at->LastKind == ikFileSystem ? at->LastName : at->Path;
    data.Size = st.st_size;
    data.ModifiedSeconds = st.st_mtime;
    if (S_ISDIR(st.st_mode))
        data.dwFileAttributes |= FILE_ATTRIBUTE_DIRECTORY;
    else
        data.dwFileAttributes |= FILE_ATTRIBUTE_ARCHIVE;
    if (!IsWritable(at->Path)) data.dwFileAttributes |= FILE_ATTRIBUTE_READONLY;
    if (at->LastKind == ikFileSystem && !at->LastName.empty() && at->LastName[0] == '.')
        data.dwFileAttributes |= FILE_ATTRIBUTE_HIDDEN;
    return data;
}

std::optional<std::string> TNamespaceFolder::FileSystemPath() const
{
    return FileSystemPathOf(FAbsolute);
}

PNamespaceFolder DesktopFolderInterface()
{
    return std::make_shared<TNamespaceFolder>(DesktopItemIdList());
}

TItemIdList ParseDisplayName(const std::string& AText)
{
    if (AText == "::{computer}") return MakeItemId(ikVirtual, ComputerToken);
    if (AText == "::{home}") return MakeItemId(ikVirtual, HomeToken);
    std::string path = AText;
    if (path == "~" || path.rfind("~/", 0) == 0) path = GetHomeFolder() + path.substr(1);
    if (path.empty() || path[0] != '/') return {};
    auto parts = PathComponents(path);
    std::string normal;
    for (auto& p : parts) normal += "/" + p;
    if (normal.empty()) normal = "/";
    struct stat st {};
    if (lstat(normal.c_str(), &st) != 0) return {};
    // The volume with the longest mount prefix holds the path.
    std::string volume = "/";
    size_t volume_parts = 0;
    for (auto& v : MountedVolumes()) {
        auto mount = PathComponents(v.MountPath);
        if (mount.size() > volume_parts && mount.size() <= parts.size() &&
            std::equal(mount.begin(), mount.end(), parts.begin())) {
            volume = v.MountPath;
            volume_parts = mount.size();
        }
    }
    TItemIdList list = JoinItemIdLists(MakeItemId(ikVirtual, ComputerToken), MakeItemId(ikVolume, volume));
    for (size_t i = volume_parts; i < parts.size(); ++i) list = JoinItemIdLists(list, MakeItemId(ikFileSystem, parts[i]));
    return list;
}

std::optional<std::string> FileSystemPathOf(const TItemIdList& AAbsolute)
{
    auto at = Locate(AAbsolute);
    if (!at || at->Virtual) return std::nullopt;
    return at->Path;
}

TShellIconKind FileIconKind(const std::string& AName)
{
    auto dot = AName.rfind('.');
    if (dot == std::string::npos || dot == 0) return sikFile;
    std::string ext = AName.substr(dot + 1);
    for (auto& c : ext) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    static const std::vector<std::pair<TShellIconKind, std::vector<std::string>>> table = {
        {sikVideo, {"3g2", "3gp", "asf", "avi", "divx", "dv", "f4v", "flv", "m2ts", "m2v", "m4v", "mkv", "mod",
                    "mov", "mp4", "mpe", "mpeg", "mpg", "mts", "mxf", "ogv", "rm", "rmvb", "tod", "tp", "ts", "vob",
                    "webm", "wmv"}},
        {sikAudio, {"aac", "ac3", "aif", "aiff", "amr", "ape", "flac", "m4a", "mka", "mp2", "mp3", "oga", "ogg",
                    "opus", "wav", "wma"}},
        {sikImage, {"bmp", "gif", "jpeg", "jpg", "png", "tif", "tiff", "webp"}},
        {sikText, {"ass", "cfg", "csv", "ini", "json", "log", "md", "nfo", "srt", "ssa", "sub", "txt", "xml"}},
    };
    for (auto& [kind, exts] : table)
        for (auto& e : exts)
            if (e == ext) return kind;
    return sikFile;
}

TShellIconKind ShellIconKindOf(const TItemIdList& AAbsolute, bool AOpen)
{
    auto at = Locate(AAbsolute);
    if (!at) return sikFile;
    if (at->Virtual) return at->Token.empty() ? sikDesktop : sikComputer;
    if (at->LastKind == ikVirtual) return sikHome;
    if (at->LastKind == ikVolume) {
        auto v = VolumeAt(at->Path);
        switch (v ? v->Kind : vkFixed) {
            case vkRemovable: return sikVolumeRemovable;
            case vkOptical: return sikVolumeOptical;
            case vkNetwork: return sikVolumeNetwork;
            case vkRam: return sikVolumeRam;
            default: return sikVolumeFixed;
        }
    }
    if (IsDirectory(at->Path)) return AOpen ? sikFolderOpen : sikFolderClosed;
    return FileIconKind(at->LastName);
}

int ShellImageIndex(const TItemIdList& AAbsolute, bool ALarge, bool AOpen)
{
    (void)ALarge;
    return ShellIconKindOf(AAbsolute, AOpen);
}
