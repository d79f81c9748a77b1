#include "skin/dialogs/shell_list_view.h"

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/screen.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/sysutils.h"
#include "skin/core/interface_texts.h"
#include "skin/core/skin_data.h"
#include "skin/dialogs/shell_icons.h"
#include "skin/forms/popup_menu.h"
#include "platform/rtl/process.h"

#include <fnmatch.h>

#include <sys/stat.h>

#include <cerrno>
#include <optional>

#include <algorithm>
#include <map>
#include <set>

namespace {

constexpr win::WORD kBackspace = 8;
constexpr win::WORD kEnter = 13;
constexpr win::WORD kF5 = 116;

struct TStandardColumn {
    const char* Key;
    const char* BuiltIn;
    TAlignment Alignment;
    int Chars;
};
constexpr TStandardColumn kStandardColumns[] = {
    {"FLV_NAME", "Name", taLeftJustify, 25},
    {"FLV_SIZE", "Size", taRightJustify, 10},
    {"FLV_TYPE", "Type", taLeftJustify, 10},
    {"FLV_MODIFIED", "Modified", taLeftJustify, 14},
};

std::string FileNamePart(const std::string& APath)
{
    auto slash = APath.rfind('/');
    return slash == std::string::npos ? APath : APath.substr(slash + 1);
}

std::string Trimmed(const std::string& AText)
{
    auto first = AText.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return AText.substr(first, AText.find_last_not_of(" \t") - first + 1);
}

// A folder when the list was read: entering one gone since tells why it cannot be read, instead of taking it
// for a file.
bool ShownAsFolder(TspShellFolder* AFolder) { return AFolder->ShellFolder() != nullptr || AFolder->IsFolder(); }

// Restores a flag however the scope is left.
class TFlagScope {
public:
    explicit TFlagScope(bool& AFlag) : FFlag(AFlag) { FFlag = true; }
    ~TFlagScope() { FFlag = false; }

private:
    bool& FFlag;
};

}  // namespace

TspCustomShellListView::TspCustomShellListView(TComponent* AOwner) : TspSkinCustomListView(AOwner)
{
    SetOwnerData(true);
    OnData = [this](TObject*, TListItem* AItem) { FetchOwnerItem(AItem); };
    OnDataFind = [this](TObject*, const std::string& AFind, Integer AStart, Integer& AIndex) {
        AIndex = FindOwnerItem(AFind, AStart, true);
    };
    TCustomListView::OnColumnClick = [this](TObject*, TListColumn* AColumn) {
        for (Integer i = 0; i < ColumnCount(); ++i)
            if (Column(i) == AColumn) ColClick(i);
    };
    TCustomListView::OnEdited = [this](TObject*, TListItem* AItem, std::string& AText) { Edit(AItem, AText); };
}

TspCustomShellListView::~TspCustomShellListView()
{
    FNotifier.reset();
    if (FItemMenu) FItemMenu->Items()->Clear();  // its items call into this view
    for (TComponent* partner : {FTreeView, FComboBox})
        if (IspShellListLink* link = LinkOf(partner)) link->SetLinkedListView(nullptr);
    FFolders.clear();  // before the root they hang below
    FRootFolder.reset();
}

// --- properties

void TspCustomShellListView::SetRoot(const TRoot& AValue)
{
    // Root names ignore letter case; paths do not ("/a" and "/A" are two folders).
    bool names = RootFolderKind(AValue) >= 0 && RootFolderKind(FRoot) >= 0;
    if (names ? SameText(AValue, FRoot) : AValue == FRoot) return;
    FOldRoot = FRoot;
    FRoot = AValue;
    ResolveRoot();
    FSettingRoot = true;
    ApplyRoot();
}

std::string TspCustomShellListView::Path() const
{
    return FRootFolder ? FRootFolder->PathName() : std::string();
}

void TspCustomShellListView::SetPath(const std::string& AValue)
{
    TItemIdList list = ParseDisplayName(AValue);
    if (list.IsNil()) throw EInvalidPath(Format("Error setting path: \"%s\"", {AValue}));
    OpenIdList(list);
}

void TspCustomShellListView::SetMask(const std::string& AValue)
{
    if (AValue == FMask) return;
    FMask = AValue;
    ApplyRoot();
}

void TspCustomShellListView::SetSorted(bool AValue)
{
    if (AValue == FSorted) return;
    FSorted = AValue;
    FillFolderList();
}

void TspCustomShellListView::SetObjectTypes(TShellObjectTypes AValue)
{
    FObjectTypes = AValue;
    if (!ComponentState().Contains(csLoading)) ApplyRoot();
}

void TspCustomShellListView::SetAutoRefresh(bool AValue)
{
    FAutoRefresh = AValue;
    if (!ComponentState().Contains(csLoading)) WatchRoot();
}

void TspCustomShellListView::SetViewStyle(TViewStyle AValue)
{
    TspSkinCustomListView::SetViewStyle(AValue);
    if (AValue == vsReport) BuildColumns();
    if (AValue == vsList) FitListColumn();
}

// The list style's columns are as wide as the longest name shown (at least the usual width), so that no name is
// cut, whatever its script. Only the longest names by length are measured: a folder may hold many thousands.
void TspCustomShellListView::FitListColumn()
{
    constexpr Integer kLeast = 120, kMeasured = 64;
    std::vector<std::string> names;
    names.reserve(FFolders.size());
    for (const auto& folder : FFolders) names.push_back(folder->DisplayName());
    const size_t measured = std::min<size_t>(names.size(), kMeasured);
    std::partial_sort(names.begin(), names.begin() + measured, names.end(),
                      [](const std::string& A, const std::string& B) { return A.size() > B.size(); });
    TBitmap measure(1, 1, pf24bit);  // the view's own canvas draws only while it paints
    measure.Canvas()->SetFont(Font());
    Integer widest = 0;
    for (size_t i = 0; i < measured; ++i) widest = std::max(widest, measure.Canvas()->TextWidth(names[i]));
    const Integer icon = SmallImages() ? SmallImages()->Width() + 2 : 0;
    SetListColumnWidth(std::max(kLeast, widest + icon + 12));
}

// --- linking

IspShellListLink* TspCustomShellListView::LinkOf(TComponent* AComponent) const
{
    return dynamic_cast<IspShellListLink*>(AComponent);
}

void TspCustomShellListView::SetLink(TComponent*& AField, TComponent* AValue)
{
    if (AValue == AField) return;
    if (AField) {
        if (IspShellListLink* old = LinkOf(AField)) old->SetLinkedListView(nullptr);
        AField->RemoveFreeNotification(this);
    }
    AField = AValue;
    if (IspShellListLink* link = LinkOf(AValue)) {
        link->ShellListRootChanged(FRoot);
        link->SetLinkedListView(this);
        AValue->FreeNotification(this);
    } else {
        AField = nullptr;
    }
}

void TspCustomShellListView::SetShellTreeView(TComponent* AValue)
{
    SetLink(FTreeView, AValue);
}

void TspCustomShellListView::SetShellComboBox(TComponent* AValue)
{
    SetLink(FComboBox, AValue);
}

void TspCustomShellListView::Notification(TComponent* AComponent, TOperation AOperation)
{
    TspSkinCustomListView::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FTreeView) FTreeView = nullptr;
    if (AComponent == FComboBox) FComboBox = nullptr;
}

void TspCustomShellListView::SyncLinkedViews()
{
    if (FSettingRoot) {
        if (IspShellListLink* tree = LinkOf(FTreeView)) tree->ShellListRootChanged(FRoot);
    } else if (FRootFolder) {
        if (IspShellListLink* tree = LinkOf(FTreeView)) tree->ShellListFolderChanged(FRootFolder->AbsoluteIdList());
        if (IspShellListLink* combo = LinkOf(FComboBox)) combo->ShellListFolderChanged(FRootFolder->AbsoluteIdList());
    }
    FSettingRoot = false;
}

// --- items

TspShellFolder* TspCustomShellListView::FolderAt(Integer AIndex) const
{
    if (AIndex < 0 || AIndex >= FolderCount()) return nullptr;
    return FFolders[AIndex].get();
}

TspShellFolder* TspCustomShellListView::SelectedFolder()
{
    return FolderAt(SelectedIndex());
}

std::string TspCustomShellListView::GetSelectedFile()
{
    TspShellFolder* folder = SelectedFolder();
    return folder && !folder->IsFolder() ? folder->FullObjectName() : std::string();
}

void TspCustomShellListView::GetSelectedFiles(TStrings* AFiles)
{
    AFiles->Clear();
    for (Integer i = 0; i < FolderCount(); ++i)
        if (IsSelected(i) && !FFolders[i]->IsFolder()) AFiles->Add(FFolders[i]->FullObjectName());
}

bool TspCustomShellListView::MatchesListMask(TspShellFolder* AFolder) const
{
    std::string name = FileNamePart(AFolder->FullObjectName());
    size_t start = 0;
    while (start <= FMask.size()) {
        size_t end = FMask.find_first_of(";|", start);
        if (end == std::string::npos) end = FMask.size();
        // Blanks around a part are the filter's layout, not part of the pattern ("*.mp4; *.m4v").
        std::string part = Trimmed(FMask.substr(start, end - start));
        // "*.*" means every file, names without an extension too.
        if (part == "*.*") part = "*";
        if (part == "*") return true;
        if (part.find('.') != std::string::npos && !name.empty() &&
            fnmatch(part.c_str(), name.c_str(), FNM_CASEFOLD) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

void TspCustomShellListView::FreeFolderList()
{
    if (!ComponentState().Contains(csDestroying)) Items()->SetCount(0);
    FFolders.clear();
}

void TspCustomShellListView::FillFolderList()
{
    if (ComponentState().Contains(csLoading) && !HandleAllocated()) return;
    FreeFolderList();
    FReadError = 0;
    if (!FRootFolder || !FRootFolder->ShellFolder()) return;
    TCursor saved = Screen ? Screen->Cursor() : crDefault;
    if (Screen) Screen->SetCursor(crHourGlass);
    const PNamespaceFolder& root = FRootFolder->ShellFolder();
    errno = 0;
    std::optional<std::vector<TItemIdList>> ids;
    // A folder gone (or never there) is not read: its object would stand in for the desktop's items.
    if (const TItemIdList& at = FRootFolder->AbsoluteIdList();
        ItemIdCount(at) == 0 || DesktopFolderInterface()->BindToObject(at)) {
        errno = 0;
        ids = root->EnumObjects(EnumFlagsOf(FObjectTypes));
    } else {
        struct stat st {};
        const std::string path = FRootFolder->FullObjectName();
        errno = path.empty() || ::stat(path.c_str(), &st) != 0 ? errno : ENOTDIR;
    }
    FReadError = ids ? 0 : errno ? errno : ENOENT;
    if (ids) {
        FFolders.reserve(ids->size());
        for (const TItemIdList& id : *ids) {
            PNamespaceFolder contents = root->BindToObject(id);
            auto folder = std::make_unique<TspShellFolder>(FRootFolder.get(), id, contents);
            // Only folders bind to contents, so this is IsFolder without asking again.
            bool can_add = contents ? true : MatchesListMask(folder.get());
            if (OnAddFolder) OnAddFolder(this, folder.get(), can_add);
            if (can_add) FFolders.push_back(std::move(folder));
        }
    }
    if (FSorted) SortFolders(false);
    Items()->SetCount(FolderCount());
    if (ViewStyle() == vsList) FitListColumn();
    if (Screen) Screen->SetCursor(saved);
}

// The order: folders first, then the namespace's own (names without regard to case); after a header click the
// column's values, reversed when descending. Values are read once per item before sorting; an item gone since
// the folder was read sorts as size -1 and date -1 instead of breaking off the sort.
void TspCustomShellListView::SortFolders(bool AByColumn)
{
    struct TKey {
        std::unique_ptr<TspShellFolder> Folder;
        bool IsFolder = false;
        std::string Name;
        int64_t Size = -1;
        TDateTime Modified = -1;
        std::string Type;
    };
    const PNamespaceFolder root = FRootFolder->ShellFolder();
    const Integer column = FSortColumn;
    std::vector<TKey> keys;
    keys.reserve(FFolders.size());
    for (auto& folder : FFolders) {
        TKey key;
        key.IsFolder = folder->ShellFolder() != nullptr;
        if (AByColumn) {
            if (column == 0) key.Name = folder->DisplayName();
            if (column == 1 || column == 3) {
                if (auto data = root->ReadFindData(folder->RelativeIdList())) {
                    key.Size = FindDataSize(*data);
                    key.Modified = FindDataModified(*data);
                }
            }
            if (column == 2) {
                if (auto data = root->ReadFindData(folder->RelativeIdList())) key.Type = FindDataDetail(*data, 2);
            }
        }
        key.Folder = std::move(folder);
        keys.push_back(std::move(key));
    }
    auto compare = [&](const TKey& A, const TKey& B) {
        int r = static_cast<int>(B.IsFolder) - static_cast<int>(A.IsFolder);
        if (r == 0) r = root->CompareIDs(A.Folder->RelativeIdList(), B.Folder->RelativeIdList());
        if (!AByColumn) return r;
        if (A.IsFolder != B.IsFolder) {
            r = A.IsFolder ? -1 : 1;
        } else {
            switch (column) {
                case 0: r = AnsiCompareText(A.Name, B.Name); break;
                case 1:
                    if (!A.IsFolder) r = A.Size == B.Size ? 0 : A.Size > B.Size ? 1 : -1;
                    break;
                case 2: r = AnsiCompareText(A.Type, B.Type); break;
                case 3:
                    if (!A.IsFolder) r = A.Modified == B.Modified ? 0 : A.Modified > B.Modified ? 1 : -1;
                    break;
                default: break;
            }
        }
        return FSortDirection ? -r : r;
    };
    std::stable_sort(keys.begin(), keys.end(), [&](const TKey& A, const TKey& B) { return compare(A, B) < 0; });
    FFolders.clear();
    for (auto& key : keys) FFolders.push_back(std::move(key.Folder));
}

void TspCustomShellListView::ColClick(Integer AColumn)
{
    if (OnColumnClick && AColumn >= 0 && AColumn < ColumnCount()) OnColumnClick(this, Column(AColumn));
    if (ColumnCount() < 4 && AColumn != 0) return;
    FOldSortColumn = FSortColumn;
    FSortColumn = AColumn;
    if (FSortColumn == FOldSortColumn && FSortColumn != -1)
        FSortDirection = !FSortDirection;
    else
        FSortDirection = false;
    if (!FRootFolder || !FRootFolder->ShellFolder()) return;
    const TItemChoice choice = KeepChoice();
    SortFolders(true);
    RestoreChoice(choice);
    Invalidate();
}

TspCustomShellListView::TItemChoice TspCustomShellListView::KeepChoice()
{
    TItemChoice choice;
    for (Integer i = 0; i < FolderCount(); ++i)
        if (IsSelected(i)) choice.Selected.push_back(FFolders[i]->RelativeIdList());
    choice.FocusedIndex = ItemFocused();
    if (TspShellFolder* focused = FolderAt(choice.FocusedIndex)) choice.Focused = focused->RelativeIdList();
    return choice;
}

void TspCustomShellListView::RestoreChoice(const TItemChoice& AChoice)
{
    std::map<std::vector<uint8_t>, Integer> places;
    if (!AChoice.Selected.empty() || !AChoice.Focused.IsNil())
        for (Integer i = 0; i < FolderCount(); ++i) places.emplace(FFolders[i]->RelativeIdList().Bytes(), i);
    auto placeOf = [&](const TItemIdList& AId) {
        auto found = places.find(AId.Bytes());
        return found == places.end() ? Integer(-1) : found->second;
    };
    // The focus first, so that whoever hears of the selection finds the focused item among it.
    if (!AChoice.Focused.IsNil()) {
        Integer focus = placeOf(AChoice.Focused);
        // A focused item gone meanwhile leaves the focus at its place, for the keyboard to go on from there.
        if (focus < 0) focus = std::min(AChoice.FocusedIndex, FolderCount() - 1);
        SetItemFocused(focus);
    }
    // Quietly when the same places are selected.
    std::set<Integer> selected;
    for (const TItemIdList& id : AChoice.Selected)
        if (Integer at = placeOf(id); at >= 0) selected.insert(at);
    bool same = static_cast<Integer>(selected.size()) == SelCount();
    for (Integer at : selected) same = same && IsSelected(at);
    if (!same) {
        ClearSelection();
        for (Integer at : selected) SetSelected(at, true);
    }
}

void TspCustomShellListView::FetchOwnerItem(TListItem* AItem)
{
    TspShellFolder* folder = FolderAt(AItem->Index());
    if (!folder) return;
    AItem->Caption = folder->DisplayName();
    AItem->ImageIndex = folder->ImageIndex(ViewStyle() == vsIcon);
    if (ViewStyle() != vsReport) return;
    try {
        folder->LoadColumnDetails(FRootFolder.get(), ColumnCount());
    } catch (const Exception&) {
        // Gone since the folder was read: its details stay empty.
    }
    for (Integer k = 1; k < ColumnCount(); ++k)
        AItem->SubItems.push_back(folder->HasDetails() ? folder->DetailText(k) : std::string());
}

Integer TspCustomShellListView::FindOwnerItem(const std::string& AFind, Integer AStartIndex, bool AWrap)
{
    Integer count = FolderCount();
    if (AStartIndex < 0 || AStartIndex >= count) return -1;
    std::string find = AnsiUpperCase(AFind);
    Integer i = AStartIndex;
    do {
        if (AnsiUpperCase(FFolders[i]->DisplayName()).rfind(find, 0) == 0) return i;
        if (++i >= count) {
            if (!AWrap) return -1;
            i = 0;
        }
    } while (i != AStartIndex);
    return -1;
}

void TspCustomShellListView::BuildColumns()
{
    if (!FRootFolder || !FRootFolder->ShellFolder()) return;
    ClearColumns();
    TspResourceStrData* texts = SkinData() ? SkinData()->ResourceStrData() : nullptr;
    TBitmap measure(1, 1, pf24bit);  // the view's own canvas draws only while it paints
    measure.Canvas()->SetFont(Font());
    int x_width = std::max(1, measure.Canvas()->TextWidth("X"));
    int count = FRootFolder->Properties().Contains(fpFileSystem) ? 4 : 1;
    for (int i = 0; i < count; ++i) {
        const TStandardColumn& c = kStandardColumns[i];
        TListColumn* column = AddColumn(texts ? texts->GetResStr(c.Key) : c.BuiltIn, x_width * c.Chars);
        column->Alignment = c.Alignment;
    }
    ColumnsChanged();
}

// --- navigation

void TspCustomShellListView::ResolveRoot()
{
    std::unique_ptr<TspShellFolder> keep;  // the old root goes only once its items are gone
    auto next = ResolveRootFolder(keep, FOldRoot, FRoot);
    FreeFolderList();
    FRootFolder = std::move(next);
}

void TspCustomShellListView::ApplyRoot()
{
    if (FUpdating) return;
    TFlagScope updating(FUpdating);
    SyncLinkedViews();
    FillFolderList();
    if (ViewStyle() == vsReport) BuildColumns();
    WatchRoot();
}

void TspCustomShellListView::WatchRoot()
{
    std::string path = FAutoRefresh && FRootFolder ? FRootFolder->FullObjectName() : std::string();
    if (path.empty()) {
        FNotifier.reset();
        return;
    }
    // The watch moves with the folder shown; the notifier is kept, since the refresh runs inside its handler.
    if (!FNotifier) {
        FNotifier = std::make_unique<TspShellChangeNotifier>(nullptr);
        FNotifier->SetWatchSubTree(false);
        FNotifier->SetRoot(path);
        FNotifier->SetOnChange([this] { Refresh(); });
    } else {
        FNotifier->SetRoot(path);
    }
}

void TspCustomShellListView::OpenIdList(const TItemIdList& AId)
{
    if (FUpdating) return;
    TItemIdList id = AId;  // AId may belong to an item freed below
    if (FRootFolder && SameItemIdList(FRootFolder->AbsoluteIdList(), id)) return;
    FreeFolderList();
    FRootFolder = FolderFromAbsoluteIdList(id);
    FSettingRoot = false;
    ApplyRoot();
    if (OnPathChanged) OnPathChanged(this);
}

void TspCustomShellListView::FollowIdList(const TItemIdList& AId)
{
    if (FUpdating) return;
    if (!FRootFolder || !SameItemIdList(FRootFolder->AbsoluteIdList(), AId)) OpenIdList(AId);
}

void TspCustomShellListView::Back()
{
    if (!FRootFolder) return;
    TItemIdList parent = FRootFolder->AbsoluteIdList();
    if (ItemIdCount(parent) == 0) return;  // the desktop has none
    DropLastItemId(parent);
    OpenIdList(parent);
}

void TspCustomShellListView::Refresh()
{
    if (!FRootFolder) {
        ClearSelection();
        return;
    }
    const TItemChoice choice = KeepChoice();
    TItemIdList id = FRootFolder->AbsoluteIdList();
    FreeFolderList();
    FRootFolder.reset();
    OpenIdList(id);
    RestoreChoice(choice);
}

void TspCustomShellListView::StartRename()
{
    Integer index = SelectedIndex();
    if (index >= 0) EditCaption(index);
}

void TspCustomShellListView::Edit(TListItem* AItem, std::string& AText)
{
    if (OnEdited) OnEdited(this, AItem, AText);
    TspShellFolder* folder = FolderAt(AItem->Index());
    if (!folder || AText.empty()) return;
    folder->Rename(AText);  // "Rename to %s failed: reason" goes up to the caller
    if (ViewStyle() == vsList) FitListColumn();
    Invalidate();
    if (IspShellListLink* tree = LinkOf(FTreeView)) tree->ShellListItemRenamed();
    // The item changed: whoever shows its name (a file dialog's name box) hears of it as of any item change.
    if (TCustomListView::OnChange) TCustomListView::OnChange(this);
}

void TspCustomShellListView::RunItemVerb(const std::string& AVerb)
{
    TspShellFolder* folder = SelectedFolder();
    if (!folder) return;
    bool handled = false;
    ExecuteCommand(AVerb, handled);
    bool succeeded = handled;
    if (!handled && SameText(AVerb, "open")) {
        std::string path = folder->FullObjectName();
        succeeded = !path.empty() && OpenWithDefaultProgram(path);
    }
    CommandCompleted(AVerb, succeeded);
}

// No shell menu exists here: the item menu holds the verbs the views know.
void TspCustomShellListView::DoContextPopup(TPoint AMousePos, bool& AHandled)
{
    if (!FAutoContext || !SelectedFolder()) {
        TspSkinCustomListView::DoContextPopup(AMousePos, AHandled);
        return;
    }
    if (!FItemMenu) {
        FItemMenu = new TspSkinPopupMenu(this);
        for (const char* verb : {"Open", "Rename"}) {
            auto* item = new TMenuItem(FItemMenu);
            item->SetCaption(verb);
            std::string lower = LowerCase(verb);
            item->OnClick = [this, lower](TObject*) { RunItemVerb(lower); };
            FItemMenu->Items()->Add(item);
        }
    }
    FItemMenu->SetSkinData(SkinData());
    TPoint at = AMousePos.X == -1 && AMousePos.Y == -1 ? ClientToScreen({0, 0}) : ClientToScreen(AMousePos);
    FItemMenu->PopupFromRect2(this, Rect(at.X, at.Y, at.X, at.Y), false);  // the plain look too
    AHandled = true;
}

void TspCustomShellListView::ExecuteCommand(const std::string& Verb, bool& Handled)
{
    // "open" would set the process's folder to the item's; nothing here depends on the current folder, and the
    // media engine's library loading must not see it move, so the program's folder stays.
    if (SameText(Verb, "rename")) {
        StartRename();
        Handled = true;
    }
}

void TspCustomShellListView::CommandCompleted(const std::string& Verb, bool Succeeded)
{
    if (Succeeded && (SameText(Verb, "delete") || SameText(Verb, "paste"))) Refresh();
}

// --- window and input

void TspCustomShellListView::Loaded()
{
    TspSkinCustomListView::Loaded();
    FillFolderList();
    SetAutoRefresh(FAutoRefresh);
}

void TspCustomShellListView::CreateWnd()
{
    TspSkinCustomListView::CreateWnd();
    SetSmallImages(ShellImages(false));
    SetLargeImages(ShellImages(true));
    ResolveRoot();
    ApplyRoot();
}

void TspCustomShellListView::DestroyWnd()
{
    FreeFolderList();
    TspSkinCustomListView::DestroyWnd();
}

void TspCustomShellListView::KeyDown(win::WORD& AKey, TShiftState AShift)
{
    TspSkinCustomListView::KeyDown(AKey, AShift);
    if (!FAutoNavigate) return;
    switch (AKey) {
        case kBackspace:
            if (!IsEditing()) Back();
            break;
        case kEnter:
            if (AShift.Contains(ssAlt)) {
                AKey = 0;  // the properties sheet has no counterpart here
            } else if (TspShellFolder* folder = SelectedFolder(); folder && ShownAsFolder(folder)) {
                OpenIdList(folder->AbsoluteIdList());
            }
            break;
        case kF5: Refresh(); break;
        default: break;
    }
}

void TspCustomShellListView::DblClick()
{
    if (FAutoNavigate)
        if (TspShellFolder* folder = SelectedFolder(); folder && ShownAsFolder(folder))
            OpenIdList(folder->AbsoluteIdList());
    TspSkinCustomListView::DblClick();
}
