// The main-menu bar in the form's keyboard main-menu mode: entering and leaving it, the arrows (which wrap and
// skip disabled and hidden items), Enter and Down, Esc, and the items' accelerators.
#include "platform/gui/forms.h"
#include "skin/forms/main_menu_bar.h"
#include "skin/forms/menu_engine.h"

using namespace win;

namespace {

bool Reachable(const TspSkinMainMenuBarItem* AItem)
{
    return AItem->Enabled && AItem->Fits;
}

}  // namespace

void TspSkinMainMenuBar::EnterMainMenu()
{
    MenuActive = true;
    std::vector<TspSkinMainMenuBarItem*> items = Items();
    if (items.empty()) return;
    TspSkinMainMenuBarItem* hot = items.front();
    for (TspSkinMainMenuBarItem* item : items)
        if (item->Active) {
            hot = item;
            break;
        }
    hot->MouseEnter();
}

bool TspSkinMainMenuBar::CheckHotKey(WORD Key)
{
    TspFormMenus* menus = FormMenus();
    if (!menus || ObjectList.empty() || !menus->Form()->Visible()) return false;
    for (TspSkinMainMenuBarItem* item : Items()) {
        if (!Reachable(item) || !IsAccel(Key, item->MenuItem->Caption())) continue;
        item->MouseEnter();
        // With a drop-down open the enter has moved it here already.
        if (!menus->InMenu || item->MenuItem->Count() == 0) item->MouseDown(0, 0, mbLeft);
        return true;
    }
    return false;
}

void TspSkinMainMenuBar::NextMainMenuItem()
{
    std::vector<TspSkinMainMenuBarItem*> items = Items();
    const Integer count = static_cast<Integer>(items.size());
    for (Integer i = 0; i < count; ++i) {
        TspSkinMainMenuBarItem* current = items[i];
        if (!Reachable(current) || !(current->Active || current->FDown)) continue;
        // A pressed item stays pressed, so that the next item's enter moves its drop-down.
        current->MouseLeave();
        for (Integer step = 1; step <= count; ++step) {
            TspSkinMainMenuBarItem* next = items[(i + step) % count];
            if (Reachable(next)) {
                next->MouseEnter();
                return;
            }
        }
        return;
    }
    for (TspSkinMainMenuBarItem* item : items)
        if (Reachable(item)) {
            item->MouseEnter();
            return;
        }
}

void TspSkinMainMenuBar::PrevMainMenuItem()
{
    std::vector<TspSkinMainMenuBarItem*> items = Items();
    const Integer count = static_cast<Integer>(items.size());
    for (Integer i = count - 1; i >= 0; --i) {
        TspSkinMainMenuBarItem* current = items[i];
        if (!Reachable(current) || !(current->Active || current->FDown)) continue;
        current->MouseLeave();
        for (Integer step = 1; step <= count; ++step) {
            TspSkinMainMenuBarItem* prev = items[(i - step + count) % count];
            if (Reachable(prev)) {
                prev->MouseEnter();
                return;
            }
        }
        return;
    }
    for (Integer i = count - 1; i >= 0; --i)
        if (Reachable(items[i])) {
            items[i]->MouseEnter();
            return;
        }
}

bool TspSkinMainMenuBar::CheckReturnKey()
{
    TspFormMenus* menus = FormMenus();
    const bool menuOpen = menus && menus->InMenu;
    for (TspSkinMainMenuBarItem* item : Items()) {
        if ((item->FDown && item->MenuItem->Count() == 0) || (item->Active && !menuOpen)) {
            item->Active = false;
            item->MouseDown(0, 0, mbLeft);
            return true;
        }
    }
    return false;
}

void TspSkinMainMenuBar::ReleaseDownItem()
{
    for (TspSkinMainMenuBarItem* item : Items())
        if (item->FDown) {
            item->FDown = false;
            item->Active = true;
            if (item->EnableMorphing()) item->FMorphKf = 1;
            DrawObject(item);
            return;
        }
}

void TspSkinMainMenuBar::ExitMainMenu()
{
    MenuActive = false;
    for (TspSkinMainMenuBarItem* item : Items()) {
        if (!item->FDown && !item->Active) continue;
        item->Active = false;
        item->FMouseIn = false;
        item->FDown = false;
        if (item->EnableMorphing()) item->FMorphKf = 1;
        if (!item->EnableAnimation() || item->InActiveAnimation) {
            item->RedrawState();
        } else {
            item->CurrentFrame = 0;
            DrawObject(item);
        }
    }
    ActiveObject = OldActiveObject = -1;
}
