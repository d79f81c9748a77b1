#pragma once
// The shell views' items: one TspShellFolder per namespace item a view shows, the unit functions that ask the
// namespace for names, attributes, icons and child folders, the find-record helpers behind the detail columns,
// and the resolving of a view's root text.
#include "platform/rtl/exceptions.h"
#include "platform/rtl/object.h"
#include "platform/rtl/set.h"
#include "platform/rtl/sysutils.h"
#include "platform/shell/namespace.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class EInvalidPath : public Exception {
public:
    using Exception::Exception;
};

using TRoot = std::string;  // a TspRootFolder value's name, or a path

enum TspRootFolder {
    rfDesktop, rfMyComputer, rfNetwork, rfRecycleBin, rfAppData, rfCommonDesktopDirectory, rfCommonPrograms,
    rfCommonStartMenu, rfCommonStartup, rfControlPanel, rfDesktopDirectory, rfFavorites, rfFonts, rfInternet,
    rfPersonal, rfPrinters, rfPrintHood, rfPrograms, rfRecent, rfSendTo, rfStartMenu, rfStartup, rfTemplates
};

enum TspShellFolderCapability { fcCanCopy, fcCanDelete, fcCanLink, fcCanMove, fcCanRename, fcDropTarget, fcHasPropSheet };
using TspShellFolderCapabilities = TSet<TspShellFolderCapability>;
enum TspShellFolderProperty {
    fpCut, fpIsLink, fpReadOnly, fpShared, fpFileSystem, fpFileSystemAncestor, fpRemovable, fpValidate
};
using TspShellFolderProperties = TSet<TspShellFolderProperty>;
enum TShellObjectType { otFolders, otNonFolders, otHidden };
using TShellObjectTypes = TSet<TShellObjectType>;

class TspShellFolder;
// Asked by the views before an item is shown.
using TAddFolderEvent = std::function<void(TObject* Sender, TspShellFolder* AFolder, bool& CanAdd)>;

// The views' hook around a command of an item's context menu.
class IspShellVerbHandler {
public:
    virtual ~IspShellVerbHandler() = default;
    virtual void ExecuteCommand(const std::string& Verb, bool& Handled) = 0;
    virtual void CommandCompleted(const std::string& Verb, bool Succeeded) = 0;
};

class TspShellFolder {
public:
    // AParent may be null: the item then hangs below the desktop. ID is relative to AParent (or the desktop); SF
    // is the folder of the item's own contents, null for items that are not folders.
    TspShellFolder(TspShellFolder* AParent, const TItemIdList& ID, PNamespaceFolder SF);
    TspShellFolder(const TspShellFolder&) = delete;
    TspShellFolder& operator=(const TspShellFolder&) = delete;

    const TItemIdList& RelativeIdList() const { return FPIDL; }
    const TItemIdList& AbsoluteIdList() const { return FFullPIDL; }
    TspShellFolder* Parent() const { return FParent; }
    const PNamespaceFolder& ShellFolder() const { return FIShellFolder; }
    int Level() const { return FLevel; }

    // The parent's folder, or the desktop's when there is no parent.
    PNamespaceFolder ParentShellFolder() const;
    TspShellFolderProperties Properties() const;
    TspShellFolderCapabilities Capabilities() const;
    bool SubFolders() const;
    bool IsFolder() const;
    // For parsing: the absolute path in raw bytes; Computer, whose parsing name starts "::{", gives its shown name.
    std::string PathName() const;
    // The file-system path, empty for items outside the file system.
    std::string FullObjectName() const;
    std::string DisplayName() const;
    // False, with nothing changed, when the item cannot be renamed; raises Exception "Rename to %s failed: %s"
    // with the system's reason when the rename fails (an existing entry is never replaced: "File exists").
    bool Rename(const std::string& NewName);
    int ImageIndex(bool LargeIcon) const;
    // Opens the item with the desktop's default program; 33 when started, 2 otherwise.
    int ExecuteDefault() const;
    // Fills the detail texts (columns 1 .. AColumnCount-1 of a report view: size, type, modified, attributes)
    // from the find record when ARootFolder is a file-system folder; nothing when enough are held.
    void LoadColumnDetails(const TspShellFolder* ARootFolder, int AColumnCount);
    // Detail text of column AIndex (1-based); raises Exception "%s: Missing call to LoadColumnDetails" while
    // none are held.
    std::string DetailText(int AIndex) const;
    bool HasDetails() const { return !FDetails.empty(); }
    // Raises EInvalidPath "Unable to retrieve folder details for \"%s\". Error code $%x" (errno) when the record
    // cannot be read.
    TShellFindData ReadFindData() const;

private:
    TItemIdList FPIDL;
    TItemIdList FFullPIDL;
    TspShellFolder* FParent = nullptr;
    PNamespaceFolder FIShellFolder;
    int FLevel = 0;
    std::vector<std::string> FDetails;
};

// Find-record helpers.
int64_t FindDataSize(const TShellFindData& AData);  // -1 for a directory
// Local time truncated to two seconds as a date-time value; -1.0 outside 1980..2107 and for a directory.
TDateTime FindDataModified(const TShellFindData& AData);
// 1 size (decimal, "-1" for a folder), 2 extension with its dot, 3 modified (default date-time format, empty when
// -1), 4 attribute bits (decimal); else empty.
std::string FindDataDetail(const TShellFindData& AData, int AColumn);

// Unit functions.
int RootFolderKind(const std::string& AName);  // ordinal of the TspRootFolder named so, -1 when none
std::string RootFolderName(TspRootFolder AValue);
// The absolute id list of a special folder; nil when it has no counterpart here (or does not exist).
TItemIdList SpecialFolderLocation(TspRootFolder AValue);
TspShellFolderCapabilities ItemCapabilities(const PNamespaceFolder& AFolder, const TItemIdList& AId);
TspShellFolderProperties ItemProperties(const PNamespaceFolder& AFolder, const TItemIdList& AId);
bool ItemIsFolder(const PNamespaceFolder& AFolder, const TItemIdList& AId);
bool ItemHasSubFolders(const PNamespaceFolder& AFolder, const TItemIdList& AId);
bool FolderHasItems(const PNamespaceFolder& AFolder, uint32_t AFlags);
// The "?digit" rule: a text of at least 2 characters starting with "?" and a digit loses every "?".
std::string StrRetText(const std::string& AText);
// "parentfolder = nil" for a null folder; a "::{" answer is asked again once with SHGDN_NORMAL.
std::string ItemDisplayName(const PNamespaceFolder& AFolder, const TItemIdList& AId, uint32_t AFlags);
uint32_t EnumFlagsOf(TShellObjectTypes ATypes);
PNamespaceFolder BindFolderInterface(const PNamespaceFolder& AFolder, const TItemIdList& AId);
// The desktop's CompareIDs of two absolute lists is 0 (byte-equal).
bool SameItemIdList(const TItemIdList& A, const TItemIdList& B);
// A new item object whose parent is the desktop.
std::unique_ptr<TspShellFolder> FolderFromAbsoluteIdList(const TItemIdList& AList);
// A view's root text to its root object: a TspRootFolder name, else a path (ParseDisplayName). On failure ARoot
// becomes AOldRoot and Exception "Error setting path: \"%s\"" is raised with the text that failed (AOldObject
// is kept); on success AOldObject is released.
std::unique_ptr<TspShellFolder> ResolveRootFolder(std::unique_ptr<TspShellFolder>& AOldObject,
                                                  const TRoot& AOldRoot, TRoot& ARoot);
// The desktop's own item object (no parent, level 0), made on first use.
TspShellFolder* DesktopFolder();
