#include "skin/dialogs/shell_combo_box.h"

#include <algorithm>
#include <cerrno>
#include <optional>

#include "platform/gui/canvas.h"
#include "platform/gui/image_list.h"
#include "platform/rtl/strings.h"
#include "skin/dialogs/shell_icons.h"
#include "skin/dialogs/shell_view_links.h"
#include "skin/dialogs/shell_tree_view.h"

namespace {

// Keeps an entries update open for a scope, exceptions included.
class TEntriesUpdate {
public:
    explicit TEntriesUpdate(TspItemsEx& AItems) : FItems(AItems) { AItems.BeginUpdate(); }
    ~TEntriesUpdate() { FItems.EndUpdate(); }

private:
    TspItemsEx& FItems;
};

}  // namespace

// --- entries

TspItemEx* TspItemsEx::Add()
{
    FItems.push_back(std::make_unique<TspItemEx>());
    return FItems.back().get();
}

TspItemEx* TspItemsEx::Insert(Integer AIndex)
{
    const auto at = static_cast<size_t>(std::clamp<Integer>(AIndex, 0, Count()));
    return FItems.insert(FItems.begin() + static_cast<std::ptrdiff_t>(at), std::make_unique<TspItemEx>())->get();
}

TspItemEx* TspItemsEx::AddItem(const std::string& ACaption, Integer AImageIndex, Integer ASelectedIndex,
                               Integer AIdent, std::unique_ptr<TspShellFolder> AFolder)
{
    TspItemEx* item = Add();
    item->Caption = ACaption;
    item->ImageIndex = AImageIndex;
    item->SelectedImageIndex = ASelectedIndex;
    item->Indent = AIdent;
    item->Data = std::move(AFolder);
    return item;
}

// --- geometry

TspShellComboItemPlace ShellComboFacePlace(const TRect& R, Integer AImageWidth, Integer AImageHeight)
{
    return {{R.Left, R.Top + (R.Height() - AImageHeight) / 2}, R.Left + AImageWidth + 4};
}

TspShellComboItemPlace ShellComboListPlace(const TRect& R, Integer AIndent, Integer AImageWidth,
                                           Integer AImageHeight)
{
    const Integer left = R.Left + AIndent * AImageWidth / 2;
    return {{left, R.Top + (R.Height() - AImageHeight) / 2}, left + AImageWidth + 4};
}

// --- the box

TspCustomShellComboBox::TspCustomShellComboBox(TComponent* AOwner) : TspSkinCustomComboBox(AOwner)
{
    SetOnListBoxDrawItem([this](TCanvas* C, Integer AIndex, Integer, Integer, TRect R, TOwnerDrawState) {
        DrawListItem(C, AIndex, R);
    });
    OnComboBoxDrawItem = [this](TCanvas* C, Integer AIndex, Integer, Integer, TRect R, TOwnerDrawState) {
        DrawFaceItem(C, AIndex, R);
    };
    FImages = ShellImages(false);
    if (FImages) {
        FImageWidth = FImages->Width();
        FImageHeight = FImages->Height();
    }
}

TspCustomShellComboBox::~TspCustomShellComboBox()
{
    // The partners must not call back into a box that is half gone.
    SetShellTreeView(nullptr);
    SetShellListView(nullptr);
}

void TspCustomShellComboBox::Loaded()
{
    TspSkinCustomComboBox::Loaded();
    BuildItems();
}

void TspCustomShellComboBox::CreateWnd()
{
    TspSkinCustomComboBox::CreateWnd();
    ApplyShellImages(FUseShellImages);
    if (FItemsEx.Count() == 0) BuildItems();
    CopyCaptions();
}

void TspCustomShellComboBox::DestroyWnd()
{
    FreeAllItems();
    TspSkinCustomComboBox::DestroyWnd();
}

void TspCustomShellComboBox::Notification(TComponent* AComponent, TOperation AOperation)
{
    TspSkinCustomComboBox::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (FTreeView && AComponent == FTreeView) FTreeView = nullptr;
    if (FListView && AComponent == FListView) FListView = nullptr;
}

// --- properties

void TspCustomShellComboBox::SetRoot(const TRoot& AValue)
{
    if (SameText(AValue, FRoot)) return;
    FOldRoot = FRoot;
    FRoot = AValue;
    ApplyRoot();
}

void TspCustomShellComboBox::SetObjectTypes(TShellObjectTypes AValue)
{
    FObjectTypes = AValue;
    ApplyRoot();
}

void TspCustomShellComboBox::SetShellTreeView(TspCustomShellTreeView* AValue)
{
    LinkShellPartner(
        this, FTreeView, AValue,
        [this](TspCustomShellTreeView* ATree) { ATree->SetRoot(FRoot); },
        [this](TspCustomShellTreeView* ATree, bool ALink) { ATree->SetShellComboBox(ALink ? this : nullptr); });
}

void TspCustomShellComboBox::SetShellListView(TspCustomShellListView* AValue)
{
    LinkShellPartner(
        this, FListView, AValue,
        [this](TspCustomShellListView* AList) { AList->SetRoot(FRoot); },
        [this](TspCustomShellListView* AList, bool ALink) { AList->SetShellComboBox(ALink ? this : nullptr); });
}

void TspCustomShellComboBox::SetLinkedListView(TspCustomShellListView* AList)
{
    FListView = AList;
    if (AList) AList->FreeNotification(this);
}

std::string TspCustomShellComboBox::Path() const
{
    const Integer index = ItemIndex();
    if (index < 0 || index >= FItemsEx.Count()) return "";
    return FItemsEx.Items(index)->Data->PathName();
}

void TspCustomShellComboBox::SetPath(const std::string& AValue)
{
    const TItemIdList list = ParseDisplayName(AValue);
    if (list.IsNil()) throw EInvalidPath(Format("Error setting path: \"%s\"", {AValue}));
    ShowIdList(list);
}

TspShellFolder* TspCustomShellComboBox::FolderAt(Integer AIndex) const
{
    if (FItemsEx.Count() == 0) return nullptr;
    return FItemsEx.Items(std::clamp<Integer>(AIndex, 0, FItemsEx.Count() - 1))->Data.get();
}

Integer TspCustomShellComboBox::IndexOfIdList(const TItemIdList& ID) const
{
    for (Integer i = FItemsEx.Count() - 1; i >= 0; --i)
        if (const TspShellFolder* folder = FItemsEx.Items(i)->Data.get();
            folder && SameItemIdList(folder->AbsoluteIdList(), ID))
            return i;
    return -1;
}

void TspCustomShellComboBox::FollowIdList(const TItemIdList& ID)
{
    if (FUpdating) return;
    const Integer index = ItemIndex();
    if (index >= 0 && index < FItemsEx.Count() && SameItemIdList(FolderAt(index)->AbsoluteIdList(), ID)) return;
    TShellFlagScope updating(FUpdating);
    ShowIdList(ID);
}

// --- building the entries

void TspCustomShellComboBox::BuildItems()
{
    if (ComponentState().Contains(csLoading)) return;
    // A root that cannot be resolved keeps the old one, and the list is built from that before the error goes up,
    // so that the box is never left empty.
    std::optional<std::string> held;
    try {
        FRootFolder = ResolveRootFolder(FRootFolder, FOldRoot, FRoot);
    } catch (const Exception& e) {
        held = e.Message();
    }
    if (!FRootFolder) throw Exception(held.value_or(""));
    {
        TEntriesUpdate update(FItemsEx);
        FreeAllItems();
        auto first = std::make_unique<TspShellFolder>(nullptr, FRootFolder->AbsoluteIdList(),
                                                      FRootFolder->ShellFolder());
        const Integer image = FolderImage(*first);
        const std::string caption = first->DisplayName();
        FItemsEx.AddItem(caption, image, image, 0, std::move(first));
        AddStandardItems();
        CopyCaptions();
        ChooseEntry(0);
    }
    if (FUseShellImages) {
        ApplyShellImages(false);
        ApplyShellImages(true);
    }
    if (held) throw Exception(*held);
}

void TspCustomShellComboBox::AddStandardItems()
{
    TEntriesUpdate update(FItemsEx);
    InsertChildren(0, FItemsEx.Items(0)->Data.get());
    // Only the exact name: the root writer ignores letter case, this test does not.
    if (FRoot == "rfDesktop") {
        const Integer computer = IndexOfIdList(SpecialFolderLocation(rfMyComputer));
        if (computer >= 0) InsertChildren(computer, FolderAt(computer));
    }
}

void TspCustomShellComboBox::InsertChildren(Integer AIndex, TspShellFolder* AParent)
{
    const PNamespaceFolder& folder = AParent->ShellFolder();
    auto ids = folder ? folder->EnumObjects(EnumFlagsOf(FObjectTypes)) : std::nullopt;
    if (!ids) {
        const int error = folder ? errno : ENOTDIR;
        throw EOSError(Format("%s: \"%s\"", {SysErrorMessage(error), AParent->PathName()}));
    }
    std::stable_sort(ids->begin(), ids->end(), [&](const TItemIdList& A, const TItemIdList& B) {
        return folder->CompareIDs(A, B) < 0;
    });
    for (size_t k = 0; k < ids->size(); ++k)
        InsertChildEntry(AIndex + static_cast<Integer>(k) + 1, AParent, (*ids)[k]);
}

void TspCustomShellComboBox::InsertChildEntry(Integer AIndex, TspShellFolder* AParent, const TItemIdList& ID)
{
    std::unique_ptr<TspShellFolder> child = ChildFolder(AParent, ID);
    TspItemEx* item = FItemsEx.Insert(AIndex);
    item->Caption = child->DisplayName();
    item->Indent = child->Level();
    item->ImageIndex = item->SelectedImageIndex = FolderImage(*child);
    item->Data = std::move(child);
}

std::unique_ptr<TspShellFolder> TspCustomShellComboBox::ChildFolder(TspShellFolder* AParent,
                                                                   const TItemIdList& ID) const
{
    return std::make_unique<TspShellFolder>(AParent, ID, BindFolderInterface(AParent->ShellFolder(), ID));
}

Integer TspCustomShellComboBox::FolderImage(const TspShellFolder& AFolder) const
{
    return FUseShellImages ? ShellImageIndex(AFolder.AbsoluteIdList(), false, false) : -1;
}

void TspCustomShellComboBox::ShowIdList(const TItemIdList& ID)
{
    TEntriesUpdate update(FItemsEx);
    BuildItems();
    const std::vector<TItemIdList> chain = AncestorIdLists(ID);
    // The deepest ancestor the list already holds; the rest of the chain goes in below it.
    Integer k = static_cast<Integer>(chain.size()) - 1, i = -1;
    for (; k >= 0; --k)
        if ((i = IndexOfIdList(chain[static_cast<size_t>(k)])) >= 0) break;
    if (i < 0) return;
    for (size_t p = static_cast<size_t>(k) + 1; p < chain.size(); ++p, ++i)
        InsertChildEntry(i + 1, FolderAt(i), LastItemIdOf(chain[p]));
    Integer chosen = IndexOfIdList(ID);
    if (chosen < 0) {
        InsertChildEntry(i + 1, FolderAt(i), LastItemIdOf(ID));
        chosen = i + 1;
    }
    CopyCaptions();
    ChooseEntry(chosen);
}

void TspCustomShellComboBox::CopyCaptions()
{
    TStringList captions;
    for (Integer i = 0; i < FItemsEx.Count(); ++i) captions.Add(FItemsEx.Items(i)->Caption);
    // The chosen entry stays chosen when its captions are put in again (a new window, say).
    const Integer chosen = ItemIndex();
    SetItems(captions);
    if (chosen >= 0 && chosen < FItemsEx.Count()) ChooseEntry(chosen);
}

void TspCustomShellComboBox::FreeAllItems()
{
    {
        TEntriesUpdate update(FItemsEx);
        FItemsEx.Clear();
    }
    CopyCaptions();
}

void TspCustomShellComboBox::ChooseEntry(Integer AIndex)
{
    // Inside an entries update, so the box's own selection hook keeps the linked views out of it.
    TEntriesUpdate update(FItemsEx);
    SetItemIndex(AIndex);
}

void TspCustomShellComboBox::ApplyShellImages(bool AValue)
{
    FUseShellImages = AValue;
    FImageWidth = FImageHeight = 16;
    if (AValue && FImages) {
        FImageWidth = FImages->Width();
        FImageHeight = FImages->Height();
    }
}

void TspCustomShellComboBox::ApplyRoot()
{
    TShellFlagScope updating(FUpdating);
    FreeAllItems();
    BuildItems();
    if (FTreeView) FTreeView->SetRoot(FRoot);
    if (FListView) FListView->SetRoot(FRoot);
}

// --- choosing

void TspCustomShellComboBox::SelectionChanged()
{
    if (FItemsEx.UpdateCount() > 0) return;
    TspSkinCustomComboBox::SelectionChanged();
    const Integer index = ItemIndex();
    if (index < 0 || index >= FItemsEx.Count() || FUpdating || IsPopupVisible()) return;
    // The picked folder's chain replaces the one shown before, then the linked views follow it.
    const TItemIdList chosen = FolderAt(index)->AbsoluteIdList();
    TShellFlagScope updating(FUpdating);
    ShowIdList(chosen);
    if (FTreeView) FTreeView->SelectIdList(chosen);
    if (FListView) FListView->FollowIdList(chosen);
}

// --- drawing

void TspCustomShellComboBox::DrawFaceItem(TCanvas* ACanvas, Integer AIndex, const TRect& R)
{
    DrawEntry(ACanvas, AIndex, ShellComboFacePlace(R, FImageWidth, FImageHeight), R);
}

void TspCustomShellComboBox::DrawListItem(TCanvas* ACanvas, Integer AIndex, const TRect& R)
{
    const Integer indent = AIndex >= 0 && AIndex < FItemsEx.Count() ? FItemsEx.Items(AIndex)->Indent : 0;
    DrawEntry(ACanvas, AIndex, ShellComboListPlace(R, indent, FImageWidth, FImageHeight), R);
}

void TspCustomShellComboBox::DrawEntry(TCanvas* ACanvas, Integer AIndex, const TspShellComboItemPlace& APlace,
                                       const TRect& R)
{
    if (AIndex < 0 || AIndex >= Items()->Count()) return;
    Integer left = R.Left;
    if (FImages && FUseShellImages && AIndex < FItemsEx.Count()) {
        const Integer image = FItemsEx.Items(AIndex)->ImageIndex;
        if (image >= 0 && image < FImages->Count()) FImages->Draw(ACanvas, APlace.Icon.X, APlace.Icon.Y, image);
        left = APlace.CaptionLeft;
    }
    ACanvas->Brush()->SetStyle(bsClear);
    ACanvas->TextOut(left, R.Top + R.Height() / 2 - ACanvas->TextHeight("Wg") / 2, Items()->Strings(AIndex));
}
