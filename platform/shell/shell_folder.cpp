#include "platform/shell/shell_folder.h"

#include "platform/rtl/folders.h"
#include "platform/rtl/process.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <initializer_list>
#include <utility>

namespace {

bool MakingDesktop = false;

constexpr const char* RootFolderNames[] = {
    "rfDesktop", "rfMyComputer", "rfNetwork", "rfRecycleBin", "rfAppData", "rfCommonDesktopDirectory",
    "rfCommonPrograms", "rfCommonStartMenu", "rfCommonStartup", "rfControlPanel", "rfDesktopDirectory",
    "rfFavorites", "rfFonts", "rfInternet", "rfPersonal", "rfPrinters", "rfPrintHood", "rfPrograms", "rfRecent",
    "rfSendTo", "rfStartMenu", "rfStartup", "rfTemplates"};

// The members of a set whose attribute bits are present.
template <typename TEnum>
TSet<TEnum> SetOfBits(uint32_t AAttributes, std::initializer_list<std::pair<uint32_t, TEnum>> ATable)
{
    TSet<TEnum> result;
    for (auto& [bit, value] : ATable)
        if (AAttributes & bit) result.Include(value);
    return result;
}

TItemIdList ParseExisting(const std::string& APath)
{
    struct stat st {};
    return stat(APath.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? ParseDisplayName(APath) : TItemIdList();
}

}  // namespace

TspShellFolder::TspShellFolder(TspShellFolder* AParent, const TItemIdList& ID, PNamespaceFolder SF)
    : FPIDL(CloneItemIdList(ID)), FParent(AParent), FIShellFolder(std::move(SF))
{
    FFullPIDL = JoinItemIdLists(AParent ? AParent->FFullPIDL : DesktopItemIdList(), ID);
    if (!FParent && !MakingDesktop) FParent = DesktopFolder();
    for (TspShellFolder* p = AParent ? AParent->FParent : nullptr; p; p = p->FParent) ++FLevel;
}

PNamespaceFolder TspShellFolder::ParentShellFolder() const
{
    return FParent && FParent->FIShellFolder ? FParent->FIShellFolder : DesktopFolderInterface();
}

TspShellFolderProperties TspShellFolder::Properties() const
{
    return ItemProperties(ParentShellFolder(), FPIDL);
}

TspShellFolderCapabilities TspShellFolder::Capabilities() const
{
    return ItemCapabilities(ParentShellFolder(), FPIDL);
}

bool TspShellFolder::SubFolders() const
{
    return ItemHasSubFolders(ParentShellFolder(), FPIDL);
}

bool TspShellFolder::IsFolder() const
{
    return ItemIsFolder(ParentShellFolder(), FPIDL);
}

std::string TspShellFolder::PathName() const
{
    return ItemDisplayName(DesktopFolderInterface(), FFullPIDL, SHGDN_FORPARSING);
}

std::string TspShellFolder::FullObjectName() const
{
    return FileSystemPathOf(FFullPIDL).value_or("");
}

std::string TspShellFolder::DisplayName() const
{
    return ItemDisplayName(ParentShellFolder(), FPIDL, SHGDN_INFOLDER);
}

bool TspShellFolder::Rename(const std::string& NewName)
{
    if (!Capabilities().Contains(fcCanRename)) return false;
    errno = 0;
    TItemIdList renamed = ParentShellFolder()->SetNameOf(FPIDL, NewName);
    // The reason is the system's: "File exists" for a name already taken, "Invalid argument" for one with "/".
    if (renamed.IsNil()) {
        const int error = errno ? errno : EIO;
        throw Exception(Format("Rename to %s failed: %s", {NewName, std::string(std::strerror(error))}));
    }
    FPIDL = std::move(renamed);
    FFullPIDL = FParent ? JoinItemIdLists(FParent->FFullPIDL, FPIDL) : CloneItemIdList(FPIDL);
    if (FIShellFolder) FIShellFolder = DesktopFolderInterface()->BindToObject(FFullPIDL);
    FDetails.clear();
    return true;
}

int TspShellFolder::ImageIndex(bool LargeIcon) const
{
    return ShellImageIndex(FFullPIDL, LargeIcon, false);
}

int TspShellFolder::ExecuteDefault() const
{
    std::string path = FullObjectName();
    return !path.empty() && OpenWithDefaultProgram(path) ? 33 : 2;
}

void TspShellFolder::LoadColumnDetails(const TspShellFolder* ARootFolder, int AColumnCount)
{
    if (static_cast<int>(FDetails.size()) >= AColumnCount) return;
    FDetails.clear();
    if (!ARootFolder || !ARootFolder->Properties().Contains(fpFileSystem)) return;
    if (!Properties().Contains(fpFileSystem)) {
        // Virtual nodes beside files (Computer on the desktop) have no details: empty texts.
        FDetails.assign(std::max(AColumnCount, 1), "");
        return;
    }
    TShellFindData data = ReadFindData();
    for (int column = 1; column <= std::max(AColumnCount, 1); ++column) FDetails.push_back(FindDataDetail(data, column));
}

std::string TspShellFolder::DetailText(int AIndex) const
{
    if (FDetails.empty()) throw Exception(Format("%s: Missing call to LoadColumnDetails", {DisplayName()}));
    if (AIndex < 1 || AIndex > static_cast<int>(FDetails.size())) return {};
    return FDetails[AIndex - 1];
}

TShellFindData TspShellFolder::ReadFindData() const
{
    auto data = ParentShellFolder()->ReadFindData(FPIDL);
    if (!data)
        throw EInvalidPath(Format("Unable to retrieve folder details for \"%s\". Error code $%x",
                                  {DisplayName(), static_cast<Integer>(errno)}));
    return *data;
}

int64_t FindDataSize(const TShellFindData& AData)
{
    return AData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? -1 : AData.Size;
}

TDateTime FindDataModified(const TShellFindData& AData)
{
    time_t seconds = static_cast<time_t>(AData.ModifiedSeconds);
    struct tm local {};
    if (!localtime_r(&seconds, &local)) return -1.0;
    int year = local.tm_year + 1900;
    if (year < 1980 || year > 2107) return -1.0;  // outside what a two-second date can hold
    return EncodeDate(static_cast<Word>(year), static_cast<Word>(local.tm_mon + 1), static_cast<Word>(local.tm_mday)) +
           EncodeTime(static_cast<Word>(local.tm_hour), static_cast<Word>(local.tm_min),
                      static_cast<Word>(local.tm_sec / 2 * 2), 0);
}

std::string FindDataDetail(const TShellFindData& AData, int AColumn)
{
    switch (AColumn) {
        case 1: return std::to_string(FindDataSize(AData));
        case 2: return ExtractFileExt(AData.cFileName);
        case 3: {
            TDateTime modified = AData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? -1.0 : FindDataModified(AData);
            // An unknown time shows nothing rather than a date in 1899.
            return modified < 0 ? std::string() : DateTimeToStr(modified);
        }
        case 4: return std::to_string(AData.dwFileAttributes);
        default: return {};
    }
}

int RootFolderKind(const std::string& AName)
{
    for (int i = 0; i <= rfTemplates; ++i)
        if (SameText(AName, RootFolderNames[i])) return i;
    return -1;
}

std::string RootFolderName(TspRootFolder AValue)
{
    return RootFolderNames[AValue];
}

TItemIdList SpecialFolderLocation(TspRootFolder AValue)
{
    std::string home = GetHomeFolder();
    switch (AValue) {
        case rfDesktop: return DesktopItemIdList();
        case rfMyComputer: return MakeItemId(ikVirtual, "computer");
        case rfPersonal: return ParseExisting(GetSpecialFolder(sfDocuments));
        case rfDesktopDirectory: return ParseExisting(GetSpecialFolder(sfDesktop));
        case rfTemplates: return ParseExisting(GetSpecialFolder(sfTemplates));
        case rfAppData: return ParseExisting(GetConfigFolder());
        case rfFonts: return ParseExisting(home + "/.local/share/fonts");
        case rfRecycleBin: return ParseExisting(home + "/.local/share/Trash/files");
        default: return {};
    }
}

TspShellFolderCapabilities ItemCapabilities(const PNamespaceFolder& AFolder, const TItemIdList& AId)
{
    if (!AFolder) return {};
    return SetOfBits<TspShellFolderCapability>(AFolder->GetAttributesOf(AId, 0x177),
                                               {{SFGAO_CANCOPY, fcCanCopy},
                                                {SFGAO_CANDELETE, fcCanDelete},
                                                {SFGAO_CANLINK, fcCanLink},
                                                {SFGAO_CANMOVE, fcCanMove},
                                                {SFGAO_CANRENAME, fcCanRename},
                                                {SFGAO_DROPTARGET, fcDropTarget},
                                                {SFGAO_HASPROPSHEET, fcHasPropSheet}});
}

TspShellFolderProperties ItemProperties(const PNamespaceFolder& AFolder, const TItemIdList& AId)
{
    if (!AFolder) return {};
    return SetOfBits<TspShellFolderProperty>(AFolder->GetAttributesOf(AId, 0xFC000),
                                             {{SFGAO_GHOSTED, fpCut},
                                              {SFGAO_LINK, fpIsLink},
                                              {SFGAO_READONLY, fpReadOnly},
                                              {SFGAO_SHARE, fpShared},
                                              {SFGAO_FILESYSTEM, fpFileSystem},
                                              {SFGAO_FILESYSANCESTOR, fpFileSystemAncestor},
                                              {SFGAO_REMOVABLE, fpRemovable},
                                              {SFGAO_VALIDATE, fpValidate}});
}

bool ItemIsFolder(const PNamespaceFolder& AFolder, const TItemIdList& AId)
{
    return AFolder && (AFolder->GetAttributesOf(AId, SFGAO_FOLDER) & SFGAO_FOLDER);
}

bool ItemHasSubFolders(const PNamespaceFolder& AFolder, const TItemIdList& AId)
{
    return AFolder && (AFolder->GetAttributesOf(AId, SFGAO_HASSUBFOLDER) & SFGAO_HASSUBFOLDER);
}

bool FolderHasItems(const PNamespaceFolder& AFolder, uint32_t AFlags)
{
    if (!AFolder) return false;
    auto items = AFolder->EnumObjects(AFlags);
    return items && !items->empty();
}

std::string StrRetText(const std::string& AText)
{
    if (AText.size() >= 2 && AText[0] == '?' && AText[1] >= '0' && AText[1] <= '9') {
        std::string out;
        for (char c : AText)
            if (c != '?') out += c;
        return out;
    }
    return AText;
}

std::string ItemDisplayName(const PNamespaceFolder& AFolder, const TItemIdList& AId, uint32_t AFlags)
{
    if (!AFolder) return "parentfolder = nil";
    std::string text = StrRetText(AFolder->GetDisplayNameOf(AId, AFlags));
    if (text.rfind("::{", 0) == 0) text = StrRetText(AFolder->GetDisplayNameOf(AId, SHGDN_NORMAL));
    return text;
}

uint32_t EnumFlagsOf(TShellObjectTypes ATypes)
{
    return static_cast<uint32_t>(ATypes.Bits()) * 32;
}

PNamespaceFolder BindFolderInterface(const PNamespaceFolder& AFolder, const TItemIdList& AId)
{
    if (AFolder)
        if (auto bound = AFolder->BindToObject(AId)) return bound;
    return DesktopFolderInterface()->BindToObject(AId);
}

bool SameItemIdList(const TItemIdList& A, const TItemIdList& B)
{
    return DesktopFolderInterface()->CompareIDs(A, B) == 0;
}

std::unique_ptr<TspShellFolder> FolderFromAbsoluteIdList(const TItemIdList& AList)
{
    auto desktop = DesktopFolderInterface();
    PNamespaceFolder folder = desktop->BindToObject(AList);
    if (!folder) folder = desktop;
    return std::make_unique<TspShellFolder>(DesktopFolder(), AList, folder);
}

std::unique_ptr<TspShellFolder> ResolveRootFolder(std::unique_ptr<TspShellFolder>& AOldObject,
                                                  const TRoot& AOldRoot, TRoot& ARoot)
{
    TItemIdList list;
    int kind = RootFolderKind(ARoot);
    if (kind >= 0)
        list = SpecialFolderLocation(static_cast<TspRootFolder>(kind));
    else if (!ARoot.empty())
        list = ParseDisplayName(ARoot);
    if (list.IsNil()) {
        std::string failed = ARoot;
        ARoot = AOldRoot;
        throw Exception(Format("Error setting path: \"%s\"", {failed}));
    }
    AOldObject.reset();
    return FolderFromAbsoluteIdList(list);
}

TspShellFolder* DesktopFolder()
{
    static std::unique_ptr<TspShellFolder> desktop = [] {
        MakingDesktop = true;
        auto folder = std::make_unique<TspShellFolder>(nullptr, DesktopItemIdList(), DesktopFolderInterface());
        MakingDesktop = false;
        return folder;
    }();
    return desktop.get();
}
