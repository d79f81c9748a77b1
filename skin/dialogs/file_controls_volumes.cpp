#include "skin/dialogs/file_controls_volumes.h"

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <sstream>

#include "platform/rtl/sysutils.h"

namespace {

TVolumeSources& Sources()
{
    static TVolumeSources sources;
    return sources;
}

// The mount table writes blanks, tabs, newlines and backslashes of its fields as three octal digits.
std::string DecodeMountField(const std::string& AField)
{
    std::string out;
    for (size_t i = 0; i < AField.size(); ++i) {
        if (AField[i] == '\\' && i + 3 < AField.size() &&
            std::all_of(AField.begin() + i + 1, AField.begin() + i + 4, [](char c) { return c >= '0' && c <= '7'; })) {
            out += static_cast<char>((AField[i + 1] - '0') * 64 + (AField[i + 2] - '0') * 8 + (AField[i + 3] - '0'));
            i += 3;
        } else {
            out += AField[i];
        }
    }
    return out;
}

// udev writes unsafe characters of a label as "\xHH".
std::string DecodeLabelName(const std::string& AName)
{
    std::string out;
    for (size_t i = 0; i < AName.size(); ++i) {
        if (AName.compare(i, 2, "\\x") == 0 && i + 3 < AName.size() && std::isxdigit(static_cast<unsigned char>(AName[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(AName[i + 3]))) {
            out += static_cast<char>(std::stoi(AName.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += AName[i];
        }
    }
    return out;
}

std::string RealPathOf(const std::string& APath)
{
    char buffer[PATH_MAX];
    return realpath(APath.c_str(), buffer) ? std::string(buffer) : std::string();
}

bool IsUnder(const std::string& APath, const std::string& AFolder)
{
    return APath == AFolder || (APath.size() > AFolder.size() && APath.compare(0, AFolder.size(), AFolder) == 0 &&
                                (AFolder == "/" || APath[AFolder.size()] == '/'));
}

// The kernel's and the service manager's own trees hold nothing a user browses; removable media mounted under
// /run/media are the exception.
bool InSystemTree(const std::string& AMountPoint)
{
    if (IsUnder(AMountPoint, "/run/media")) return false;
    for (const char* tree : {"/proc", "/sys", "/dev", "/run"})
        if (IsUnder(AMountPoint, tree)) return true;
    return false;
}

bool BlockDeviceIsRemovable(const std::string& ASource)
{
    const std::string name = ExtractFileName(RealPathOf(ASource).empty() ? ASource : RealPathOf(ASource));
    const std::string device = Sources().BlockFolder + "/" + name;
    // A partition has no flag of its own; its disk (the parent folder in sysfs) has.
    for (const std::string& flag : {device + "/removable", RealPathOf(device) + "/../removable"}) {
        std::ifstream in(flag);
        char c = 0;
        if (in >> c) return c == '1';
    }
    return false;
}

std::string StripTrailingSlash(std::string APath)
{
    while (APath.size() > 1 && APath.back() == '/') APath.pop_back();
    return APath;
}

}  // namespace

void SetVolumeSources(const TVolumeSources& AValue) { Sources() = AValue; }
const TVolumeSources& VolumeSources() { return Sources(); }

TVolumeKind KindOfMount(const std::string& AMountPoint, const std::string& ASource, const std::string& AFsType)
{
    static const std::array<const char*, 12> remote = {"nfs",  "nfs4",      "cifs", "smb3",      "smbfs",     "sshfs",
                                                       "9p",   "fuse.sshfs", "afs",  "ceph",      "glusterfs", "davfs"};
    if (AMountPoint == "/") return TVolumeKind::Fixed;
    if (InSystemTree(AMountPoint)) return TVolumeKind::Unknown;
    if (std::find(remote.begin(), remote.end(), AFsType) != remote.end()) return TVolumeKind::Remote;
    if (AFsType == "iso9660" || AFsType == "udf") return TVolumeKind::CDROM;
    if (AFsType == "tmpfs" || AFsType == "ramfs") return TVolumeKind::RAM;
    if (ASource.rfind("/", 0) == 0) return BlockDeviceIsRemovable(ASource) ? TVolumeKind::Removable : TVolumeKind::Fixed;
    return TVolumeKind::Unknown;
}

std::vector<TVolume> ReadVolumes()
{
    std::vector<TVolume> volumes;
    std::ifstream in(Sources().MountTable);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string source, mountPoint, fsType;
        if (!(fields >> source >> mountPoint >> fsType)) continue;
        TVolume v{StripTrailingSlash(DecodeMountField(mountPoint)), DecodeMountField(source), fsType};
        v.Kind = KindOfMount(v.MountPoint, v.Source, v.FsType);
        // A later mount on the same point hides the earlier one.
        std::erase_if(volumes, [&](const TVolume& o) { return o.MountPoint == v.MountPoint; });
        if (v.Kind != TVolumeKind::Unknown && v.MountPoint.rfind("/", 0) == 0 && DirectoryExists(v.MountPoint))
            volumes.push_back(std::move(v));
    }
    if (std::none_of(volumes.begin(), volumes.end(), [](const TVolume& v) { return v.MountPoint == "/"; }))
        volumes.push_back({"/", "", "", TVolumeKind::Fixed});
    std::sort(volumes.begin(), volumes.end(),
              [](const TVolume& a, const TVolume& b) { return a.MountPoint < b.MountPoint; });
    return volumes;
}

std::string MountPointOf(const std::string& APath)
{
    if (APath.empty() || APath[0] != '/') return {};
    std::string best = "/";
    for (const TVolume& v : ReadVolumes())
        if (IsUnder(APath, v.MountPoint) && v.MountPoint.size() > best.size()) best = v.MountPoint;
    return best;
}

TVolume VolumeAt(const std::string& AMountPoint)
{
    for (TVolume& v : ReadVolumes())
        if (v.MountPoint == AMountPoint) return v;
    return {};
}

std::string VolumeLabel(const TVolume& AVolume)
{
    if (AVolume.Source.empty() || AVolume.Source[0] != '/') return {};
    const std::string device = RealPathOf(AVolume.Source);
    if (device.empty()) return {};
    std::string label;
    if (DIR* d = opendir(Sources().LabelFolder.c_str())) {
        while (struct dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name == "." || name == "..") continue;
            if (RealPathOf(Sources().LabelFolder + "/" + name) == device) {
                label = DecodeLabelName(name);
                break;
            }
        }
        closedir(d);
    }
    return label;
}

bool VolumeIsCaseSensitive(const std::string& AMountPoint)
{
    const std::string fs = VolumeAt(AMountPoint).FsType;
    return !(fs == "vfat" || fs == "msdos" || fs == "exfat" || fs == "ntfs" || fs == "ntfs3");
}

bool VolumePreservesCase(const std::string& AMountPoint)
{
    return VolumeIsCaseSensitive(AMountPoint) || VolumeAt(AMountPoint).FsType != "msdos";
}
