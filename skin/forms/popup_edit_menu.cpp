#include "skin/forms/popup_edit_menu.h"

#include "skin/controls/edit_menu.h"
#include "skin/forms/menu_mode.h"
#include "skin/forms/popup_menu.h"

namespace {

class TspSkinEditMenu final : public TspEditMenu {
public:
    TspSkinEditMenu(TCustomForm* AComponentForm, std::vector<TspEditMenuItem> AItems)
        : FMenu(std::make_unique<TspSkinPopupMenu>(nullptr)), FItems(std::move(AItems))
    {
        FMenu->SetComponentForm(AComponentForm);
        for (size_t i = 0; i < FItems.size(); ++i) {
            auto* item = new TMenuItem(FMenu.get());
            item->SetCaption(FItems[i].Caption);
            item->SetEnabled(FItems[i].Enabled);
            item->OnClick = [this, i](TObject*) {
                if (FItems[i].OnClick) FItems[i].OnClick();
            };
            FMenu->Items()->Add(item);
        }
    }

    bool Popup2(TControl* AControl, TPoint AScreenPoint) override
    {
        FMenu->Popup2(AControl, AScreenPoint.X, AScreenPoint.Y);
        return FMenu->Shown();
    }

private:
    std::unique_ptr<TspSkinPopupMenu> FMenu;
    std::vector<TspEditMenuItem> FItems;
};

class TspSkinEditMenuService final : public TspEditMenuService {
public:
    std::unique_ptr<TspEditMenu> CreateMenu(TControl*, TCustomForm* AComponentForm,
                                            std::vector<TspEditMenuItem> AItems) override
    {
        return std::make_unique<TspSkinEditMenu>(AComponentForm, std::move(AItems));
    }

    TspResourceStrData* FormTexts(TCustomForm* AForm) override
    {
        TspFormMenus* menus = FormMenusOfForm(AForm);
        TspSkinData* skin = menus ? menus->SkinData() : nullptr;
        return skin ? skin->ResourceStrData() : nullptr;
    }
};

}  // namespace

void RegisterSkinEditMenus()
{
    static TspSkinEditMenuService service;
    if (EditMenuService() != &service) SetEditMenuService(&service);
}
