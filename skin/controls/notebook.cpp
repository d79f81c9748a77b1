#include "skin/controls/notebook.h"

#include <algorithm>

#include "platform/gui/forms.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"

namespace {

constexpr Integer kPageButtonHeight = 25;

}  // namespace

// ---- page list ----

void TspPageAccess::CheckIndex(Integer AIndex) const
{
    if (AIndex < 0 || AIndex >= Count()) throw EStringListError(Format("List index out of bounds (%d)", {AIndex}));
}

Integer TspPageAccess::Count() const
{
    return FNotebook->PageCount();
}

std::string TspPageAccess::Strings(Integer AIndex) const
{
    CheckIndex(AIndex);
    return FNotebook->Page(AIndex)->Caption();
}

void TspPageAccess::SetStrings(Integer AIndex, const std::string& S)
{
    CheckIndex(AIndex);
    FNotebook->Page(AIndex)->SetCaption(S);
    if (FNotebook->FButtonsMode) FNotebook->UpdateButton(AIndex, S);
}

TObject* TspPageAccess::Objects(Integer AIndex) const
{
    CheckIndex(AIndex);
    return FNotebook->Page(AIndex);
}

Integer TspPageAccess::Add(const std::string& S)
{
    TspSkinPage* before = FNotebook->ShownPage();
    FNotebook->FPageList.push_back(FNotebook->NewPage(S));
    const Integer index = Count() - 1;
    FNotebook->ForceShowPage(index);
    if (FNotebook->ShownPage() != before) FNotebook->PageChanged();
    if (FNotebook->FButtonsMode) FNotebook->RebuildButtons();
    return index;
}

void TspPageAccess::Insert(Integer AIndex, const std::string& S)
{
    if (AIndex < 0 || AIndex > Count()) throw EStringListError(Format("List index out of bounds (%d)", {AIndex}));
    TspSkinPage* before = FNotebook->ShownPage();
    FNotebook->FPageList.insert(FNotebook->FPageList.begin() + AIndex, FNotebook->NewPage(S));
    // The index may equal the old one while the page at it is new.
    FNotebook->ForceShowPage(AIndex);
    if (FNotebook->ShownPage() != before) FNotebook->PageChanged();
    if (FNotebook->FButtonsMode) FNotebook->RebuildButtons();
}

void TspPageAccess::Delete(Integer AIndex)
{
    CheckIndex(AIndex);
    TspSkinPage* page = FNotebook->Page(AIndex);
    const bool shownGoes = FNotebook->ShownPage() == page;
    TspSkinPage* before = shownGoes ? nullptr : FNotebook->ShownPage();
    FNotebook->FPageList.erase(FNotebook->FPageList.begin() + AIndex);
    delete page;
    FNotebook->ForceShowPage(Count() > 0 ? 0 : -1);
    if (shownGoes || FNotebook->ShownPage() != before) FNotebook->PageChanged();
    if (FNotebook->FButtonsMode) FNotebook->RebuildButtons();
}

void TspPageAccess::Clear()
{
    const bool wasShowing = FNotebook->ShownPage() != nullptr;
    std::vector<TspSkinPage*> pages;
    pages.swap(FNotebook->FPageList);
    for (TspSkinPage* page : pages) delete page;
    FNotebook->ForceShowPage(-1);
    if (wasShowing) FNotebook->PageChanged();
    if (FNotebook->FButtonsMode) FNotebook->RebuildButtons();
}

void TspPageAccess::Move(Integer ACurIndex, Integer ANewIndex)
{
    if (ACurIndex == ANewIndex) return;
    CheckIndex(ACurIndex);
    CheckIndex(ANewIndex);
    auto& list = FNotebook->FPageList;
    std::swap(list[static_cast<size_t>(ACurIndex)], list[static_cast<size_t>(ANewIndex)]);
    // The index follows the page shown to its new place.
    Integer& shown = FNotebook->FPageIndex;
    if (shown == ACurIndex)
        shown = ANewIndex;
    else if (shown == ANewIndex)
        shown = ACurIndex;
    if (FNotebook->FButtonsMode) FNotebook->RebuildButtons();
}

// ---- notebook ----

TspSkinNotebook::TspSkinNotebook(TComponent* AOwner)
    : TspSkinPanel(AOwner), FAccess(std::make_unique<TspPageAccess>(this))
{
    // Children go onto the pages, not onto the notebook.
    ControlStyle().Exclude(csAcceptsControls);
    ControlStyle().Exclude(csCaptureMouse);
    ControlStyle().Exclude(csClickEvents);
    FAccess->Add("Default");
}

TspSkinNotebook::~TspSkinNotebook()
{
    FreeButtons();
}

TspSkinPage* TspSkinNotebook::NewPage(const std::string& ACaption)
{
    auto* page = new TspSkinPage(this);
    page->SetCaption(ACaption);
    page->SetParent(this);
    return page;
}

void TspSkinNotebook::ShowPage(TspSkinPage* APage)
{
    APage->BringToFront();
    APage->SetSkinData(FSD);
    APage->Show();
    APage->SetAlign(alClient);
}

void TspSkinNotebook::SetPageIndex(Integer AValue)
{
    if (Loading()) {
        FPageIndex = AValue;
        return;
    }
    if (AValue == FPageIndex || AValue < 0 || AValue >= PageCount()) return;
    TCustomForm* form = GetParentForm(this);
    const bool focusInside = form && form->ActiveControl() && ContainsControl(form->ActiveControl());
    if (focusInside && CanFocus()) SetFocus();
    ShowPage(Page(AValue));
    if (FPageIndex >= 0 && FPageIndex < PageCount()) Page(FPageIndex)->Hide();
    FPageIndex = AValue;
    if (focusInside)
        if (TWinControl* first = FindNextControl(nullptr, true, true, false)) first->SetFocus();
    if (FButtonsMode) ArrangeButtons();
    PageChanged();
}

void TspSkinNotebook::PageChanged()
{
    if (OnPageChanged) OnPageChanged(this);
}

void TspSkinNotebook::ForceShowPage(Integer AIndex)
{
    TspSkinPage* shown = AIndex >= 0 && AIndex < PageCount() ? Page(AIndex) : nullptr;
    if (shown) ShowPage(shown);
    for (TspSkinPage* page : FPageList)
        if (page != shown) page->Hide();
    FPageIndex = shown ? AIndex : -1;
    if (FButtonsMode) ArrangeButtons();
}

std::string TspSkinNotebook::ActivePage() const
{
    return FAccess->Strings(FPageIndex);
}

void TspSkinNotebook::SetActivePage(const std::string& AValue)
{
    for (Integer i = 0; i < PageCount(); ++i)
        if (Page(i)->Caption() == AValue) {
            SetPageIndex(i);
            return;
        }
}

void TspSkinNotebook::SetPages(TStrings* AValue)
{
    FAccess->Clear();
    for (Integer i = 0; AValue && i < AValue->Count(); ++i) FAccess->Add(AValue->Strings(i));
    if (FButtonsMode) RebuildButtons();
}

void TspSkinNotebook::SetButtonsMode(bool AValue)
{
    FButtonsMode = AValue;
    if (AValue)
        RebuildButtons();
    else
        FreeButtons();
}

void TspSkinNotebook::SetImages(TCustomImageList* AValue)
{
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = AValue;
    if (AValue) AValue->FreeNotification(this);
    if (FButtonsMode) RebuildButtons();
}

void TspSkinNotebook::Notification(TComponent* AComponent, TOperation AOperation)
{
    TspSkinPanel::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
    // A page or button freed from outside leaves the lists.
    std::erase(FPageList, AComponent);
    std::erase(FButtons, AComponent);
}

void TspSkinNotebook::ShowButtonImage(TspPageButton* AButton, Integer APageIndex)
{
    const Integer image = Page(APageIndex)->ImageIndex();
    if (image != -1 && FImages && image < FImages->Count()) {
        AButton->SetImageList(FImages);
        AButton->SetImageIndex(image);
    } else {
        AButton->SetImageList(nullptr);
        AButton->SetImageIndex(-1);
    }
}

void TspSkinNotebook::UpdateButton(Integer APageIndex, const std::string& ACaption)
{
    for (TspPageButton* button : FButtons) {
        if (button->PageIndex() != APageIndex) continue;
        button->SetCaption(ACaption);
        ShowButtonImage(button, APageIndex);
        button->Repaint();
    }
}

void TspSkinNotebook::FreeButtons()
{
    std::vector<TspPageButton*> buttons;
    buttons.swap(FButtons);
    for (TspPageButton* button : buttons) delete button;
}

void TspSkinNotebook::RebuildButtons()
{
    // Without pages no button is left standing for a page that is gone.
    FreeButtons();
    if (FPageList.empty()) return;
    DisableAlign();
    for (Integer i = 0; i < PageCount(); ++i) {
        auto* button = new TspPageButton(this, i, this);
        button->SetParent(this);
        FButtons.push_back(button);
        button->SetDefaultHeight(kPageButtonHeight);
        button->SetSkinData(FSD);
        button->SetCaption(Page(i)->Caption());
        ShowButtonImage(button, i);
    }
    EnableAlign();
    ArrangeButtons();
}

void TspSkinNotebook::ArrangeButtons()
{
    // The platform stacks top-aligned controls by their top edge and bottom-aligned ones by their bottom edge,
    // so places in page order put both stacks in page order.
    DisableAlign();
    for (Integer i = 0; i < ButtonCount(); ++i) {
        TspPageButton* button = Button(i);
        const bool above = button->PageIndex() <= FPageIndex;
        button->SetTop(above ? i - ButtonCount() : Height() + i);
        button->SetAlign(above ? alTop : alBottom);
    }
    EnableAlign();
    Realign();
}
