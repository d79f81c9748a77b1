#include "skin/controls/radio_group.h"

#include <algorithm>

#include "platform/gui/control_messages.h"

// ---- buttons ----

TspGroupButton::TspGroupButton(TspSkinCustomRadioGroup* ARadioGroup)
    : TspSkinCheckRadioBox(ARadioGroup), FGroup(ARadioGroup)
{
    SetFlat(true);
    SetDefaultWidth(0);
    SetDefaultHeight(0);
    FGroup->FButtons.push_back(this);
    SetVisible(false);
    SetEnabled(FGroup->Enabled());
    SetParentShowHint(false);
    OnClick = [group = FGroup](TObject* ASender) { group->ButtonClick(ASender); };
    SetParent(FGroup);
    SetRadio(true);
    SetCanFocused(true);
    SetSkinDataName("radiobox");
    SetGroupIndex(1);
}

TspGroupButton::~TspGroupButton()
{
    auto& buttons = FGroup->FButtons;
    buttons.erase(std::remove(buttons.begin(), buttons.end(), this), buttons.end());
}

void TspGroupButton::KeyDown(win::WORD& AKey, TShiftState AShift)
{
    TspSkinCheckRadioBox::KeyDown(AKey, AShift);
    FGroup->KeyDown(AKey, AShift);
}

void TspGroupButton::KeyPress(char32_t& AKey)
{
    TspSkinCheckRadioBox::KeyPress(AKey);
    FGroup->KeyPress(AKey);
    // A selection that may not change keeps its space and backspace.
    if ((AKey == U' ' || AKey == U'\b') && !FGroup->CanChangeSelection()) AKey = 0;
}

// ---- group ----

TspSkinCustomRadioGroup::TspSkinCustomRadioGroup(TComponent* AOwner)
    : TspSkinGroupBox(AOwner), FItems(std::make_unique<TStringList>()), FButtonDefaultFont(std::make_unique<TFont>())
{
    FButtonDefaultFont->SetName("Arial");
    FButtonDefaultFont->SetHeight(14);
    FItems->OnChange = [this](TObject* ASender) { ItemsChange(ASender); };
}

TspSkinCustomRadioGroup::~TspSkinCustomRadioGroup()
{
    SetButtonCount(0);
    FItems->OnChange = nullptr;
}

void TspSkinCustomRadioGroup::SetItemIndex(Integer AValue)
{
    const Integer value = std::clamp(AValue, -1, ButtonCount() - 1);
    if (value == FItemIndex) return;
    if (FItemIndex >= 0 && FItemIndex < ButtonCount()) FButtons[FItemIndex]->SetChecked(false);
    FItemIndex = value;
    if (FItemIndex >= 0) FButtons[FItemIndex]->SetChecked(true);
}

void TspSkinCustomRadioGroup::SetColumns(Integer AValue)
{
    const Integer value = std::clamp(AValue, 1, 16);
    if (value == FColumns) return;
    FColumns = value;
    ArrangeButtons();
    Invalidate();
}

void TspSkinCustomRadioGroup::SetButtonSkinDataName(const std::string& AValue)
{
    FButtonSkinDataName = AValue;
    for (TspGroupButton* button : FButtons) button->SetSkinDataName(AValue);
}

void TspSkinCustomRadioGroup::SetButtonDefaultFont(TFont* AValue)
{
    FButtonDefaultFont->Assign(AValue);
    for (TspGroupButton* button : FButtons) button->SetDefaultFont(FButtonDefaultFont.get());
}

void TspSkinCustomRadioGroup::SetImages(TCustomImageList* AValue)
{
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = AValue;
    if (FImages) FImages->FreeNotification(this);
    for (TspGroupButton* button : FButtons) button->SetImages(AValue);
}

void TspSkinCustomRadioGroup::Notification(TComponent* AComponent, TOperation AOperation)
{
    TspSkinGroupBox::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TspSkinCustomRadioGroup::SetSkinData(TspSkinData* AValue)
{
    TspSkinGroupBox::SetSkinData(AValue);
    for (TspGroupButton* button : FButtons) button->SetSkinData(AValue);
}

void TspSkinCustomRadioGroup::ChangeSkinData()
{
    TspSkinGroupBox::ChangeSkinData();
    ArrangeButtons();
}

// ---- buttons from items ----

void TspSkinCustomRadioGroup::ItemsChange(TObject*)
{
    if (FItemIndex >= FItems->Count()) FItemIndex = FItems->Count() - 1;
    RebuildButtons();
}

void TspSkinCustomRadioGroup::RebuildButtons()
{
    SetButtonCount(FItems->Count());
    for (Integer i = 0; i < ButtonCount(); ++i) FButtons[i]->SetCaption(FItems->Strings(i));
    if (FItemIndex >= 0) {
        // Checked by the group itself: the group's OnClick stays quiet.
        FUpdating = true;
        FButtons[FItemIndex]->SetChecked(true);
        FUpdating = false;
    }
    ArrangeButtons();
    Invalidate();
}

void TspSkinCustomRadioGroup::SetButtonCount(Integer ACount)
{
    while (ButtonCount() < ACount) new TspGroupButton(this);
    while (ButtonCount() > ACount) delete FButtons.back();
    for (Integer i = 0; i < ButtonCount(); ++i) {
        TspGroupButton* button = FButtons[i];
        button->SetImageIndex(i);
        button->SetImages(FImages);
        button->SetSkinData(FSD);
        button->SetSkinDataName(FButtonSkinDataName);
        button->SetDefaultFont(FButtonDefaultFont.get());
        button->SetUseSkinFont(FUseSkinFont);
    }
}

void TspSkinCustomRadioGroup::ArrangeButtons()
{
    if (FButtons.empty()) return;
    TRect r = Rect(0, 0, Width(), Height());
    AdjustClientRect(r);
    const Integer count = ButtonCount();
    const Integer rows = (count + FColumns - 1) / FColumns;
    const Integer bw = r.Width() / FColumns - 2;
    const Integer bh = r.Height() / rows;
    for (Integer i = 0; i < count; ++i) {
        TspGroupButton* button = FButtons[i];
        const Integer left = (i / rows) * bw + r.Left + 1;
        const Integer top = (i % rows) * bh + r.Top;
        button->SetBounds(left, top, bw, bh);
        button->SetVisible(true);
    }
}

void TspSkinCustomRadioGroup::ButtonClick(TObject* ASender)
{
    if (FUpdating) return;
    const auto at = std::find(FButtons.begin(), FButtons.end(), ASender);
    FItemIndex = at == FButtons.end() ? -1 : static_cast<Integer>(at - FButtons.begin());
    if (OnClick) OnClick(this);
}

void TspSkinCustomRadioGroup::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case CM_ENABLEDCHANGED:
        TspSkinGroupBox::WndProc(AMessage);
        for (TspGroupButton* button : FButtons) button->SetEnabled(Enabled());
        return;
    case CM_FONTCHANGED:
    case win::WM_SIZE:
        TspSkinGroupBox::WndProc(AMessage);
        ArrangeButtons();
        return;
    default: TspSkinGroupBox::WndProc(AMessage);
    }
}
