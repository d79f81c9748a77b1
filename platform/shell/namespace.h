#pragma once
// The shell namespace over the POSIX file system, as the shell views see it:
//
//   Desktop (empty id list)      "Desktop"; for parsing: $XDG_DESKTOP_DIR, else $HOME
//    |- [virtual "home"]          "Home" -> $HOME
//    |- [virtual "computer"]      "Computer"; for parsing "::{computer}"
//    |     |- [volume "/"]        "File System" (or the volume's label)
//    |     `- [volume "/media/u/USB"] the mount's label
//    `- the entries of the desktop folder as [file-system name]
//
// An absolute path parses to [computer][the volume with the longest mount prefix][one file-system id per
// remaining component]. Folders are bound to TNamespaceFolder objects, which answer for their children. Nothing
// here caches the environment: HOME, XDG_CONFIG_HOME, XDG_DESKTOP_DIR and QUENNARY_MOUNT_TABLE are read at each
// call, so tests point them at a fixture tree.
#include "platform/rtl/sysutils.h"
#include "platform/shell/item_id_list.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Attribute bits (the values the views test).
inline constexpr uint32_t SFGAO_CANCOPY = 0x1;
inline constexpr uint32_t SFGAO_CANMOVE = 0x2;
inline constexpr uint32_t SFGAO_CANLINK = 0x4;
inline constexpr uint32_t SFGAO_CANRENAME = 0x10;
inline constexpr uint32_t SFGAO_CANDELETE = 0x20;
inline constexpr uint32_t SFGAO_HASPROPSHEET = 0x40;
inline constexpr uint32_t SFGAO_DROPTARGET = 0x100;
inline constexpr uint32_t SFGAO_GHOSTED = 0x8000;
inline constexpr uint32_t SFGAO_LINK = 0x10000;
inline constexpr uint32_t SFGAO_SHARE = 0x20000;
inline constexpr uint32_t SFGAO_READONLY = 0x40000;
inline constexpr uint32_t SFGAO_VALIDATE = 0x01000000;
inline constexpr uint32_t SFGAO_REMOVABLE = 0x02000000;
inline constexpr uint32_t SFGAO_FILESYSANCESTOR = 0x10000000;
inline constexpr uint32_t SFGAO_FOLDER = 0x20000000;
inline constexpr uint32_t SFGAO_FILESYSTEM = 0x40000000;
inline constexpr uint32_t SFGAO_HASSUBFOLDER = 0x80000000;

// Enumeration flags.
inline constexpr uint32_t SHCONTF_FOLDERS = 0x20;
inline constexpr uint32_t SHCONTF_NONFOLDERS = 0x40;
inline constexpr uint32_t SHCONTF_INCLUDEHIDDEN = 0x80;

// Display-name kinds.
inline constexpr uint32_t SHGDN_NORMAL = 0;
inline constexpr uint32_t SHGDN_INFOLDER = 1;
inline constexpr uint32_t SHGDN_FORPARSING = 0x8000;

// Windows-style attribute bits of a find record.
inline constexpr uint32_t FILE_ATTRIBUTE_READONLY = 0x01;
inline constexpr uint32_t FILE_ATTRIBUTE_HIDDEN = 0x02;
inline constexpr uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr uint32_t FILE_ATTRIBUTE_ARCHIVE = 0x20;

// What a directory listing knows of one entry (stat following links; the name is the entry's raw bytes).
struct TShellFindData {
    uint32_t dwFileAttributes = 0;
    int64_t Size = 0;
    int64_t ModifiedSeconds = 0;  // st_mtime, seconds since 1970 UTC
    std::string cFileName;
};

// Kinds of volume, from the mount table.
enum TVolumeKind { vkFixed, vkRemovable, vkOptical, vkNetwork, vkRam };

struct TVolumeInfo {
    std::string MountPath;  // absolute, no trailing "/" except for "/" itself
    std::string Device;
    std::string FileSystemType;
    std::string Label;  // from /dev/disk/by-label, else the mount folder's name, "File System" for "/"
    TVolumeKind Kind = vkFixed;
};

// The mounted volumes the shell shows: "/" first, then the others in mount-path order. Read from
// $QUENNARY_MOUNT_TABLE when set (a file in the mount table's format), else /proc/self/mounts; pseudo file
// systems are left out.
std::vector<TVolumeInfo> MountedVolumes();

// Icons: one fixed, stable index per kind, the same in the small (16) and large (32) lists.
enum TShellIconKind {
    sikFile, sikFolderClosed, sikFolderOpen, sikHome, sikComputer, sikDesktop, sikVolumeFixed, sikVolumeRemovable,
    sikVolumeOptical, sikVolumeNetwork, sikVideo, sikAudio, sikImage, sikText, sikVolumeRam
};
inline constexpr int ShellIconKindCount = sikVolumeRam + 1;

class TNamespaceFolder;
using PNamespaceFolder = std::shared_ptr<TNamespaceFolder>;

// One bound folder: the desktop, Computer, or a directory. Children are named by relative id lists (usually one
// id; BindToObject and the name calls also take longer chains). Shared, as the views hand them around freely.
class TNamespaceFolder {
public:
    explicit TNamespaceFolder(TItemIdList AAbsolute) : FAbsolute(std::move(AAbsolute)) {}
    const TItemIdList& AbsoluteIdList() const { return FAbsolute; }

    // The children (relative ids), "." and ".." left out, hidden names (leading ".") only with
    // SHCONTF_INCLUDEHIDDEN; nullopt when the folder cannot be read.
    std::optional<std::vector<TItemIdList>> EnumObjects(uint32_t AFlags) const;
    // The folder of a child's contents; nullptr when the child is not a folder (or is gone).
    PNamespaceFolder BindToObject(const TItemIdList& ARelative) const;
    // Order of two children: folders' own order (virtual nodes as listed), else names compared case-insensitively
    // and locale-aware; 0 only for byte-equal ids, so "a" and "A" are two items. Negative, 0, positive.
    int CompareIDs(const TItemIdList& A, const TItemIdList& B) const;
    // The attribute bits of a child: FOLDER, FILESYSTEM and FILESYSANCESTOR always, the others when asked for
    // (ARequest 0 asks for all but HASSUBFOLDER, which reads the folder).
    uint32_t GetAttributesOf(const TItemIdList& AChild, uint32_t ARequest = 0) const;
    // UTF-8 text. SHGDN_INFOLDER / SHGDN_NORMAL: the shown name (bytes that are not UTF-8 are shown as \xNN);
    // SHGDN_FORPARSING: the absolute path in raw bytes, or "::{token}" for a virtual node.
    std::string GetDisplayNameOf(const TItemIdList& AChild, uint32_t AFlags) const;
    // Renames a file-system child, never replacing an existing entry. Answers the new relative id, or nil with
    // errno set (EEXIST when the name is taken, EINVAL for "", ".", ".." or a name holding "/").
    TItemIdList SetNameOf(const TItemIdList& AChild, const std::string& ANewName) const;
    // Makes "New Folder", or "New Folder (2)", "(3)"... when taken, in this folder. Answers its relative id, or
    // nil with errno set.
    TItemIdList CreateNewFolder(const std::string& ABaseName = "New Folder") const;
    // The find record of a child; nullopt with errno set when it cannot be read.
    std::optional<TShellFindData> ReadFindData(const TItemIdList& AChild) const;
    // The file-system path of this folder, or nullopt for a virtual one.
    std::optional<std::string> FileSystemPath() const;

private:
    TItemIdList FAbsolute;
};

// The desktop's folder (a new object each call; cheap).
PNamespaceFolder DesktopFolderInterface();
// An absolute path ("/x/y", "~", "~/x", a mount folder, "::{computer}", "::{home}") to its absolute id list; nil
// when it is relative, empty, or names nothing that exists.
TItemIdList ParseDisplayName(const std::string& AText);
// The file-system path of an absolute id list, nullopt for virtual nodes.
std::optional<std::string> FileSystemPathOf(const TItemIdList& AAbsolute);
// The icon kind of an item (absolute id list) as shown closed or open.
TShellIconKind ShellIconKindOf(const TItemIdList& AAbsolute, bool AOpen);
// The index of that kind in the image lists (ALarge picks the 32-pixel list; the indexes are the same).
int ShellImageIndex(const TItemIdList& AAbsolute, bool ALarge, bool AOpen);
// The icon kind of a file name by its extension (video, audio, image, text, else a plain file).
TShellIconKind FileIconKind(const std::string& AName);

// Splits a path into its components, lexically ("." dropped, ".." steps up, "//" collapsed).
std::vector<std::string> PathComponents(const std::string& APath);
// The shown form of a raw name: valid UTF-8 unchanged, every other byte as \xNN.
std::string EscapedDisplayName(const std::string& ARawName);
