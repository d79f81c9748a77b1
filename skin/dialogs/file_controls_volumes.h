#pragma once
// The volumes the file-system controls offer in place of drive letters: the mount points of the mount table that
// a user would browse ("/" always, block devices, network shares, optical discs, RAM disks outside the system's
// own trees), each with its kind and label. The mount table and the label folder can be pointed elsewhere, so
// tests run on a fixture.
#include <string>
#include <vector>

enum class TVolumeKind { Unknown, Removable, Fixed, Remote, CDROM, RAM };

struct TVolume {
    std::string MountPoint;  // absolute, without a trailing "/" except for the root itself
    std::string Source;      // the mount table's first field: a device, "server:/export", "//server/share", ...
    std::string FsType;
    TVolumeKind Kind = TVolumeKind::Unknown;
};

struct TVolumeSources {
    std::string MountTable = "/proc/self/mounts";
    std::string LabelFolder = "/dev/disk/by-label";
    std::string BlockFolder = "/sys/class/block";
};
// The sources read from now on; tests set a fixture and put the defaults back.
void SetVolumeSources(const TVolumeSources& AValue);
const TVolumeSources& VolumeSources();

// The kind a mount table line stands for; Unknown for the kernel's pseudo file systems and system trees.
TVolumeKind KindOfMount(const std::string& AMountPoint, const std::string& ASource, const std::string& AFsType);
// The listed volumes in mount-point order, "/" first; a mount point mounted twice counts once (the later mount),
// mount points that are not folders are left out.
std::vector<TVolume> ReadVolumes();
// The listed volume holding APath (an absolute path): the longest mount point that is APath or one of its
// ancestors; empty when APath is not absolute.
std::string MountPointOf(const std::string& APath);
// The listed volume at a mount point; one with an empty MountPoint when none is listed there.
TVolume VolumeAt(const std::string& AMountPoint);
// The label of a block device from the label folder's links, "" when it has none.
std::string VolumeLabel(const TVolume& AVolume);
// Case rules of a volume's file system: the FAT family keeps case but ignores it; the others are case-sensitive.
bool VolumeIsCaseSensitive(const std::string& AMountPoint);
bool VolumePreservesCase(const std::string& AMountPoint);
