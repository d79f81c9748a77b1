#pragma once
// The skinned radio group: a group box that shows one flat radio button per line of Items, in columns filled top
// to bottom, and keeps ItemIndex as the checked one. The group makes, places, names and frees its buttons itself.
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/strings.h"
#include "skin/controls/check_radio_box.h"
#include "skin/controls/group_box.h"

class TspSkinCustomRadioGroup;

// One radio button of a group; its keys also reach the group's key handling.
class TspGroupButton : public TspSkinCheckRadioBox {
public:
    explicit TspGroupButton(TspSkinCustomRadioGroup* ARadioGroup);
    ~TspGroupButton() override;

protected:
    void KeyDown(win::WORD& AKey, TShiftState AShift) override;
    void KeyPress(char32_t& AKey) override;

private:
    TspSkinCustomRadioGroup* FGroup;
};

class TspSkinCustomRadioGroup : public TspSkinGroupBox {
public:
    explicit TspSkinCustomRadioGroup(TComponent* AOwner);
    ~TspSkinCustomRadioGroup() override;

    TStrings* Items() { return FItems.get(); }
    // Copies the list; the buttons follow.
    void SetItems(TStrings* AValue) { FItems->Assign(AValue); }
    Integer ItemIndex() const { return FItemIndex; }
    // Clamped to -1 .. the button count - 1; checking the new button raises OnClick.
    void SetItemIndex(Integer AValue);
    Integer Columns() const { return FColumns; }
    // Clamped to 1 .. 16.
    void SetColumns(Integer AValue);
    const std::string& ButtonSkinDataName() const { return FButtonSkinDataName; }
    void SetButtonSkinDataName(const std::string& AValue);
    TFont* ButtonDefaultFont() { return FButtonDefaultFont.get(); }
    void SetButtonDefaultFont(TFont* AValue);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* AValue);

    Integer ButtonCount() const { return static_cast<Integer>(FButtons.size()); }
    TspGroupButton* Buttons(Integer AIndex) const { return FButtons[AIndex]; }
    virtual bool CanChangeSelection() { return true; }

    void SetSkinData(TspSkinData* AValue) override;
    void ChangeSkinData() override;

protected:
    void WndProc(TMessage& AMessage) override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    friend class TspGroupButton;

    void ItemsChange(TObject* ASender);
    void RebuildButtons();
    void SetButtonCount(Integer ACount);
    void ArrangeButtons();
    void ButtonClick(TObject* ASender);

    std::unique_ptr<TStringList> FItems;
    Integer FItemIndex = -1;
    Integer FColumns = 1;
    std::string FButtonSkinDataName = "radiobox";
    std::unique_ptr<TFont> FButtonDefaultFont;
    TCustomImageList* FImages = nullptr;
    std::vector<TspGroupButton*> FButtons;
    bool FUpdating = false;
};

class TspSkinRadioGroup : public TspSkinCustomRadioGroup {
public:
    using TspSkinCustomRadioGroup::TspSkinCustomRadioGroup;
};
