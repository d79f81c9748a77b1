#include "platform/gui/menus.h"

#include "platform/gui/application.h"
#include "platform/rtl/utf8.h"

#include <algorithm>
#include <cctype>
#include <map>

using namespace win;

namespace {

WORD gNextCommand = 1;

WORD NewCommand()
{
    WORD command = gNextCommand++;
    if (gNextCommand == 0)
        gNextCommand = 1;
    return command;
}

struct TKeyName {
    WORD Key;
    const char* Name;
};

const TKeyName kKeyNames[] = {
    {VK_BACK, "BkSp"},  {VK_TAB, "Tab"},      {VK_ESCAPE, "Esc"},    {VK_RETURN, "Enter"}, {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},    {VK_END, "End"},       {VK_HOME, "Home"},    {VK_LEFT, "Left"},
    {VK_UP, "Up"},      {VK_RIGHT, "Right"},  {VK_DOWN, "Down"},     {VK_INSERT, "Ins"},   {VK_DELETE, "Del"},
};

std::string KeyName(WORD AKey)
{
    if ((AKey >= 'A' && AKey <= 'Z') || (AKey >= '0' && AKey <= '9'))
        return std::string(1, static_cast<char>(AKey));
    if (AKey >= VK_F1 && AKey <= VK_F1 + 23)
        return "F" + std::to_string(AKey - VK_F1 + 1);
    for (const TKeyName& name : kKeyNames)
        if (name.Key == AKey)
            return name.Name;
    return {};
}

std::string Lower(std::string AText)
{
    for (char& c : AText)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return AText;
}

char32_t FoldCase(char32_t AChar)
{
    return AChar < 128 ? static_cast<char32_t>(std::toupper(static_cast<int>(AChar))) : AChar;
}

}  // namespace

// ---- shortcuts -------------------------------------------------------------------------------------------------

TShortCut ShortCut(WORD AKey, TShiftState AShift)
{
    if (AKey & 0xFF00)
        return 0;
    TShortCut result = AKey;
    if (AShift.Contains(ssShift)) result |= scShift;
    if (AShift.Contains(ssCtrl)) result |= scCtrl;
    if (AShift.Contains(ssAlt)) result |= scAlt;
    return result;
}

void ShortCutToKey(TShortCut AShortCut, WORD& AKey, TShiftState& AShift)
{
    AKey = AShortCut & 0xFF;
    AShift = {};
    if (AShortCut & scShift) AShift.Include(ssShift);
    if (AShortCut & scCtrl) AShift.Include(ssCtrl);
    if (AShortCut & scAlt) AShift.Include(ssAlt);
}

std::string ShortCutToText(TShortCut AShortCut)
{
    std::string name = KeyName(AShortCut & 0xFF);
    if (name.empty())
        return {};
    std::string result;
    if (AShortCut & scShift) result += "Shift+";
    if (AShortCut & scCtrl) result += "Ctrl+";
    if (AShortCut & scAlt) result += "Alt+";
    return result + name;
}

TShortCut TextToShortCut(const std::string& AText)
{
    std::string rest = AText;
    TShortCut modifiers = 0;
    const std::pair<const char*, TShortCut> prefixes[] = {{"shift+", scShift}, {"ctrl+", scCtrl}, {"alt+", scAlt}};
    for (bool found = true; found;) {
        found = false;
        for (const auto& [prefix, bit] : prefixes) {
            std::string p = prefix;
            if (Lower(rest.substr(0, p.size())) == p && rest.size() > p.size()) {
                modifiers |= bit;
                rest = rest.substr(p.size());
                found = true;
            }
        }
    }
    std::string wanted = Lower(rest);
    for (int key = 1; key < 256; ++key) {
        std::string name = KeyName(static_cast<WORD>(key));
        if (!name.empty() && Lower(name) == wanted)
            return static_cast<TShortCut>(modifiers | key);
    }
    return 0;
}

char32_t GetHotkey(const std::string& ACaption)
{
    for (size_t i = 0; i + 1 < ACaption.size(); ++i) {
        if (ACaption[i] != '&')
            continue;
        if (ACaption[i + 1] == '&') {
            ++i;
            continue;
        }
        size_t next = i + 1;
        return FoldCase(Utf8Next(ACaption, next));
    }
    return 0;
}

bool IsAccel(char32_t AKey, const std::string& ACaption)
{
    char32_t hotkey = GetHotkey(ACaption);
    return hotkey != 0 && hotkey == FoldCase(AKey);
}

std::string StripHotkey(const std::string& ACaption)
{
    std::string result;
    for (size_t i = 0; i < ACaption.size(); ++i) {
        if (ACaption[i] == '&') {
            if (i + 1 < ACaption.size() && ACaption[i + 1] == '&') {
                result += '&';
                ++i;
            }
            continue;
        }
        result += ACaption[i];
    }
    return result;
}

// ---- TMenuItem -------------------------------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(NewCommand()) {}

TMenuItem::~TMenuItem()
{
    if (FParent)
        FParent->Remove(this);
    while (!FItems.empty()) {
        TMenuItem* child = FItems.back();
        FItems.pop_back();
        child->FParent = nullptr;
        delete child;
    }
    delete FBitmap;
}

void TMenuItem::Changed()
{
    if (TMenu* menu = GetParentMenu())
        menu->ItemChanged();
}

TMenu* TMenuItem::GetParentMenu() const
{
    const TMenuItem* item = this;
    while (item->FParent)
        item = item->FParent;
    return item->FMenu;
}

void TMenuItem::SetCaption(const std::string& AValue)
{
    if (AValue == FCaption)
        return;
    FCaption = AValue;
    Changed();
}

void TMenuItem::SetChecked(bool AValue)
{
    if (AValue == FChecked)
        return;
    FChecked = AValue;
    if (AValue && FRadioItem && FParent)
        for (TMenuItem* sibling : FParent->FItems)
            if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex)
                sibling->FChecked = false;
    Changed();
}

void TMenuItem::SetDefault(bool AValue)
{
    if (AValue && FParent)
        for (TMenuItem* sibling : FParent->FItems)
            sibling->FDefault = false;
    FDefault = AValue;
    Changed();
}

TBitmap* TMenuItem::Bitmap()
{
    if (!FBitmap) {
        FBitmap = new TBitmap();
        FBitmap->OnChange = [this](TObject*) { Changed(); };
    }
    return FBitmap;
}

TMenuItem* TMenuItem::Items(Integer AIndex) const
{
    if (AIndex < 0 || AIndex >= Count())
        throw EListError("List index out of bounds (" + std::to_string(AIndex) + ")");
    return FItems[AIndex];
}

Integer TMenuItem::MenuIndex() const
{
    return FParent ? FParent->IndexOf(const_cast<TMenuItem*>(this)) : -1;
}

Integer TMenuItem::IndexOf(TMenuItem* AItem) const
{
    auto it = std::find(FItems.begin(), FItems.end(), AItem);
    return it == FItems.end() ? -1 : static_cast<Integer>(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* AItem)
{
    Insert(Count(), AItem);
}

void TMenuItem::Insert(Integer AIndex, TMenuItem* AItem)
{
    if (!AItem)
        return;
    if (AItem->FParent)
        throw EInvalidOperation("Menu inserted twice");
    if (AIndex < 0 || AIndex > Count())
        throw EListError("List index out of bounds (" + std::to_string(AIndex) + ")");
    FItems.insert(FItems.begin() + AIndex, AItem);
    AItem->FParent = this;
    Changed();
}

void TMenuItem::Delete(Integer AIndex)
{
    TMenuItem* item = Items(AIndex);
    Remove(item);
    delete item;
}

void TMenuItem::Remove(TMenuItem* AItem)
{
    auto it = std::find(FItems.begin(), FItems.end(), AItem);
    if (it == FItems.end())
        return;
    FItems.erase(it);
    AItem->FParent = nullptr;
    Changed();
}

void TMenuItem::Clear()
{
    while (Count() > 0)
        Delete(Count() - 1);
}

TMenuItem* TMenuItem::Find(const std::string& ACaption) const
{
    std::string wanted = Lower(StripHotkey(ACaption));
    for (TMenuItem* item : FItems)
        if (Lower(StripHotkey(item->FCaption)) == wanted)
            return item;
    return nullptr;
}

bool TMenuItem::RethinkLines()
{
    // A separator shows only between two shown items, and only one between the same two.
    std::vector<bool> hide(FItems.size(), false);
    int pendingLine = -1;
    bool seenItem = false;
    for (size_t i = 0; i < FItems.size(); ++i) {
        TMenuItem* item = FItems[i];
        if (item->IsLine()) {
            hide[i] = !seenItem || pendingLine >= 0;
            if (!hide[i])
                pendingLine = static_cast<int>(i);
        } else if (item->FVisible) {
            seenItem = true;
            pendingLine = -1;
        }
    }
    if (pendingLine >= 0)
        hide[pendingLine] = true;
    bool changed = false;
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i]->IsLine() && FItems[i]->FLineHidden != hide[i]) {
            FItems[i]->FLineHidden = hide[i];
            changed = true;
        }
    if (changed)
        Changed();
    return changed;
}

void TMenuItem::Click()
{
    if (!FEnabled)
        return;
    if (OnClick)
        OnClick(this);
}

// ---- TMenu -----------------------------------------------------------------------------------------------------

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(nullptr))
{
    FItems->FMenu = this;
}

TMenu::~TMenu()
{
    FItems->FMenu = nullptr;
    delete FItems;
    if (FImages)
        FImages->RemoveFreeNotification(this);
}

void TMenu::SetImages(TCustomImageList* AValue)
{
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = AValue;
    if (FImages)
        FImages->FreeNotification(this);
    ItemChanged();
}

void TMenu::Notification(TComponent* AComponent, TOperation AOperation)
{
    TComponent::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FImages)
        FImages = nullptr;
}

void TMenu::ItemChanged()
{
    if (OnChange && !ComponentState().Contains(csDestroying))
        OnChange(this);
}

namespace {

template <typename TPredicate>
TMenuItem* FindIn(TMenuItem* AItem, TPredicate APredicate)
{
    for (Integer i = 0; i < AItem->Count(); ++i) {
        TMenuItem* child = AItem->Items(i);
        if (APredicate(child))
            return child;
        if (TMenuItem* found = FindIn(child, APredicate))
            return found;
    }
    return nullptr;
}

}  // namespace

TMenuItem* TMenu::FindCommand(WORD ACommand) const
{
    return FindIn(FItems, [ACommand](TMenuItem* AItem) { return AItem->Command() == ACommand; });
}

TMenuItem* TMenu::FindShortCut(TShortCut AShortCut) const
{
    return FindIn(FItems, [AShortCut](TMenuItem* AItem) { return AItem->ShortCut() == AShortCut; });
}

bool TMenu::DispatchCommand(WORD ACommand)
{
    TMenuItem* item = FindCommand(ACommand);
    if (!item)
        return false;
    item->Click();
    return true;
}

bool TMenu::IsShortCut(TMessage& AMessage)
{
    TShiftState shift = KeyboardShiftState();
    TShortCut wanted = ::ShortCut(static_cast<WORD>(AMessage.WParam), shift);
    if (wanted == 0)
        return false;
    TMenuItem* item = FindShortCut(wanted);
    if (!item)
        return false;
    // The submenus on the way open first, as they would with the mouse, so their OnClick can update the item.
    std::vector<TMenuItem*> path;
    for (TMenuItem* parent = item->Parent(); parent && parent != FItems; parent = parent->Parent())
        path.push_back(parent);
    for (auto it = path.rbegin(); it != path.rend(); ++it) {
        if (!(*it)->Enabled() || !(*it)->Visible())
            return false;
        (*it)->Click();
    }
    if (!item->Enabled() || !item->Visible())
        return false;
    item->Click();
    return true;
}

// ---- TPopupMenu ------------------------------------------------------------------------------------------------

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

void TPopupMenu::DoPopup(TObject* ASender)
{
    if (OnPopup)
        OnPopup(ASender);
}

void TPopupMenu::Popup(Integer AX, Integer AY)
{
    FPopupPoint = {AX, AY};
    DoPopup(this);
    Items()->RethinkLines();
    TrackPlainMenu(Items(), {AX, AY}, Images());
}
