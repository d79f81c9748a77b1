// The mount table as the shell shows it: "/" and the volumes a user would open, with their labels and kinds.
#include "platform/shell/namespace.h"

#include "platform/rtl/environment.h"

#include <mntent.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace {

bool IsPseudo(const std::string& AType)
{
    static const std::set<std::string> pseudo = {
        "proc", "sysfs", "devtmpfs", "devpts", "securityfs", "debugfs", "tracefs", "mqueue", "hugetlbfs", "pstore",
        "bpf", "autofs", "fusectl", "configfs", "binfmt_misc", "efivarfs", "overlay", "nsfs", "ramfs", "rpc_pipefs",
        "selinuxfs", "fuse.gvfsd-fuse", "fuse.portal"};
    return pseudo.count(AType) != 0 || AType.rfind("cgroup", 0) == 0;
}

bool IsNetwork(const std::string& AType)
{
    return AType.rfind("nfs", 0) == 0 || AType == "cifs" || AType == "smb3" || AType == "smbfs" ||
           AType == "sshfs" || AType == "fuse.sshfs" || AType == "9p";
}

bool UnderUserMounts(const std::string& APath)
{
    for (const char* base : {"/media/", "/run/media/", "/mnt/"})
        if (APath.rfind(base, 0) == 0) return true;
    return false;
}

// "sdb1" -> "sdb", "nvme0n1p2" -> "nvme0n1", "mmcblk0p1" -> "mmcblk0".
std::string BlockDeviceOf(std::string AName)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    while (!AName.empty() && !fs::exists("/sys/block/" + AName, ec)) {
        if (!isdigit(static_cast<unsigned char>(AName.back()))) break;
        while (!AName.empty() && isdigit(static_cast<unsigned char>(AName.back()))) AName.pop_back();
        if (!AName.empty() && AName.back() == 'p' && fs::exists("/sys/block/" + AName.substr(0, AName.size() - 1), ec))
            AName.pop_back();
    }
    return AName;
}

bool IsRemovableDevice(const std::string& ADevice)
{
    if (ADevice.rfind("/dev/", 0) != 0) return false;
    std::string block = BlockDeviceOf(ADevice.substr(5));
    std::ifstream in("/sys/block/" + block + "/removable");
    int flag = 0;
    return in >> flag && flag == 1;
}

// Labels of /dev/disk/by-label are escaped the udev way (\x20 for a blank).
std::string UnescapeUdev(const std::string& AName)
{
    std::string out;
    for (size_t i = 0; i < AName.size(); ++i) {
        if (AName[i] == '\\' && i + 3 < AName.size() && AName[i + 1] == 'x' && isxdigit(static_cast<unsigned char>(AName[i + 2])) &&
            isxdigit(static_cast<unsigned char>(AName[i + 3]))) {
            out += static_cast<char>(std::stoi(AName.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += AName[i];
        }
    }
    return out;
}

std::map<std::string, std::string> LabelsByDevice()
{
    namespace fs = std::filesystem;
    std::map<std::string, std::string> labels;
    std::error_code ec;
    for (fs::directory_iterator it("/dev/disk/by-label", ec), end; !ec && it != end; it.increment(ec)) {
        auto target = fs::canonical(it->path(), ec);
        if (!ec) labels[target.string()] = UnescapeUdev(it->path().filename().string());
    }
    return labels;
}

std::string Normalised(std::string APath)
{
    while (APath.size() > 1 && APath.back() == '/') APath.pop_back();
    return APath;
}

}  // namespace

std::vector<TVolumeInfo> MountedVolumes()
{
    std::string table = GetEnvironmentVariable("QUENNARY_MOUNT_TABLE");
    if (table.empty()) table = "/proc/self/mounts";
    std::map<std::string, TVolumeInfo> by_path;
    if (FILE* file = setmntent(table.c_str(), "r")) {
        mntent entry;
        char buffer[4096];
        while (getmntent_r(file, &entry, buffer, sizeof buffer)) {
            TVolumeInfo v;
            v.MountPath = Normalised(entry.mnt_dir);
            v.Device = entry.mnt_fsname;
            v.FileSystemType = entry.mnt_type;
            if (v.MountPath.empty() || v.MountPath[0] != '/') continue;
            bool root = v.MountPath == "/";
            bool network = IsNetwork(v.FileSystemType);
            bool block = v.Device.rfind("/dev/", 0) == 0;
            bool user = UnderUserMounts(v.MountPath);
            if (!root && IsPseudo(v.FileSystemType) && !(user && v.FileSystemType == "tmpfs")) continue;
            if (!root && !user && !block && !network) continue;
            if (!root && v.FileSystemType == "tmpfs" && !user) continue;
            if (network)
                v.Kind = vkNetwork;
            else if (v.FileSystemType == "iso9660" || v.FileSystemType == "udf")
                v.Kind = vkOptical;
            else if (v.FileSystemType == "tmpfs")
                v.Kind = vkRam;
            else if (IsRemovableDevice(v.Device))
                v.Kind = vkRemovable;
            by_path[v.MountPath] = v;  // a later mount on the same folder hides the earlier one
        }
        endmntent(file);
    }
    if (!by_path.count("/")) {
        TVolumeInfo v;
        v.MountPath = "/";
        by_path["/"] = v;
    }
    auto labels = LabelsByDevice();
    std::vector<TVolumeInfo> result;
    for (auto& [path, v] : by_path) {
        std::error_code ec;
        auto device = std::filesystem::canonical(v.Device, ec);
        auto label = ec ? labels.end() : labels.find(device.string());
        if (label != labels.end())
            v.Label = label->second;
        else if (path == "/")
            v.Label = "File System";
        else
            v.Label = std::filesystem::path(path).filename().string();
        result.push_back(v);
    }
    // std::map order already puts "/" first: it sorts before every other absolute path.
    return result;
}
