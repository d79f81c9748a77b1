#include "skin/dialogs/filter_combo_box.h"

#include "platform/rtl/sysutils.h"
#include "skin/dialogs/file_controls.h"
#include "skin/dialogs/file_controls_links.h"

TspSkinFilterComboBox::TspSkinFilterComboBox(TComponent* AOwner)
    : TspSkinCustomComboBox(AOwner), FFilter(kAllFilesFilter), FMaskList(std::make_unique<TStringList>())
{
}

// Partners hear of the removal through the owner or their removal notice; one of the same owner may already be
// gone when the owner destroys its components, so it is not touched here.
TspSkinFilterComboBox::~TspSkinFilterComboBox() = default;

void TspSkinFilterComboBox::SetFilter(const std::string& AValue)
{
    if (AnsiLowerCase(AValue) == AnsiLowerCase(FFilter)) return;
    FFilter = AValue;
    if (HandleAllocated()) ParseFilter();
    SelectionChanged();
}

void TspSkinFilterComboBox::SetFileList(TspSkinFileListBox* AValue)
{
    SetFileControlLink(this, &TspSkinFilterComboBox::FFileList, &TspSkinFileListBox::FFilterCombo, AValue);
}

std::string TspSkinFilterComboBox::GetMask()
{
    if (ItemIndex() == -1 && Items()->Count() > 0) SetItemIndex(Items()->Count() - 1);
    const Integer index = ItemIndex();
    if (index < 0 || index >= FMaskList->Count()) return "*.*";
    return FMaskList->Strings(index);
}

void TspSkinFilterComboBox::SelectionChanged()
{
    if (FFileList) FFileList->SetMask(GetMask());
    TspSkinCustomComboBox::SelectionChanged();
}

void TspSkinFilterComboBox::CreateWnd()
{
    TspSkinCustomComboBox::CreateWnd();
    ParseFilter();
}

void TspSkinFilterComboBox::Notification(TComponent* AComponent, TOperation AOperation)
{
    TspSkinCustomComboBox::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FFileList) FFileList = nullptr;
}

void TspSkinFilterComboBox::ParseFilter()
{
    Items()->Clear();
    FMaskList->Clear();
    std::string rest = FFilter;
    // Pairs only: a trailing description without its mask is dropped.
    for (size_t bar = rest.find('|'); bar != std::string::npos; bar = rest.find('|')) {
        const std::string description = rest.substr(0, bar);
        rest.erase(0, bar + 1);
        const size_t next = rest.find('|');
        const std::string mask = next == std::string::npos ? rest : rest.substr(0, next);
        rest = next == std::string::npos ? std::string() : rest.substr(next + 1);
        Items()->Add(description);
        FMaskList->Add(mask);
    }
    SetItemIndex(0);
}
