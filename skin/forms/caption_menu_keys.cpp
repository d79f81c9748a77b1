#include "skin/forms/caption_menu_keys.h"

#include "skin/forms/animated_objects.h"
#include "skin/forms/skin_form.h"

namespace {

// An item the keyboard reaches.
bool Counts(const TspSkinMainMenuItem* AItem) { return AItem->Enabled && AItem->Visible; }

}  // namespace

std::vector<TspSkinMainMenuItem*> TspCaptionMenuKeyboard::Items() const
{
    std::vector<TspSkinMainMenuItem*> items;
    TspCorvalis* form = FMenus->SkinForm();
    if (!form) return items;
    for (Integer i = 0; i < form->ObjectCount(); ++i)
        if (auto* item = dynamic_cast<TspSkinMainMenuItem*>(form->Objects(i))) items.push_back(item);
    return items;
}

bool TspCaptionMenuKeyboard::HasItems() const { return !Items().empty(); }

void TspCaptionMenuKeyboard::EnterMainMenu()
{
    std::vector<TspSkinMainMenuItem*> items = Items();
    if (items.empty()) return;
    TspSkinMainMenuItem* hot = items.front();
    for (TspSkinMainMenuItem* item : items)
        if (item->Active) {
            hot = item;
            break;
        }
    hot->MouseEnter();
}

void TspCaptionMenuKeyboard::ExitMainMenu()
{
    // Every highlight goes, not only the first one's.
    for (TspSkinMainMenuItem* item : Items()) {
        if (item->Down()) item->SetItemDown(false);
        if (item->Active) item->MouseLeave();
    }
}

void TspCaptionMenuKeyboard::ReleaseDownItem()
{
    for (TspSkinMainMenuItem* item : Items())
        if (item->Down()) {
            item->SetItemDown(false);
            item->MouseEnter();
            return;
        }
}

bool TspCaptionMenuKeyboard::CheckHotKey(win::WORD Key)
{
    for (TspSkinMainMenuItem* item : Items()) {
        if (!Counts(item) || !item->MenuItem || !IsAccel(Key, item->MenuItem->Caption())) continue;
        item->MouseEnter();
        // With a drop-down open the enter has moved it here already.
        if (!FMenus->InMenu || item->MenuItem->Count() == 0) item->MouseDown(0, 0, mbLeft);
        return true;
    }
    return false;
}

void TspCaptionMenuKeyboard::NextMainMenuItem()
{
    std::vector<TspSkinMainMenuItem*> items = Items();
    const auto count = static_cast<Integer>(items.size());
    for (Integer i = 0; i < count; ++i) {
        TspSkinMainMenuItem* current = items[static_cast<size_t>(i)];
        if (!Counts(current) || !(current->Active || current->Down())) continue;
        current->MouseLeave();
        for (Integer step = 1; step <= count; ++step) {
            TspSkinMainMenuItem* next = items[static_cast<size_t>((i + step) % count)];
            if (Counts(next)) {
                next->MouseEnter();
                return;
            }
        }
        return;
    }
    for (TspSkinMainMenuItem* item : items)
        if (Counts(item)) {
            item->MouseEnter();
            return;
        }
}

void TspCaptionMenuKeyboard::PrevMainMenuItem()
{
    std::vector<TspSkinMainMenuItem*> items = Items();
    const auto count = static_cast<Integer>(items.size());
    for (Integer i = count - 1; i >= 0; --i) {
        TspSkinMainMenuItem* current = items[static_cast<size_t>(i)];
        if (!Counts(current) || !(current->Active || current->Down())) continue;
        current->MouseLeave();
        for (Integer step = 1; step <= count; ++step) {
            TspSkinMainMenuItem* prev = items[static_cast<size_t>((i - step + count) % count)];
            if (Counts(prev)) {
                prev->MouseEnter();
                return;
            }
        }
        return;
    }
    for (Integer i = count - 1; i >= 0; --i)
        if (Counts(items[static_cast<size_t>(i)])) {
            items[static_cast<size_t>(i)]->MouseEnter();
            return;
        }
}

bool TspCaptionMenuKeyboard::CheckReturnKey()
{
    for (TspSkinMainMenuItem* item : Items()) {
        const bool leaf = !item->MenuItem || item->MenuItem->Count() == 0;
        if ((item->Down() && leaf) || (item->Active && !FMenus->InMenu)) {
            item->Active = false;
            item->MouseDown(0, 0, mbLeft);
            return true;
        }
    }
    return false;
}
