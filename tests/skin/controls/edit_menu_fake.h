#pragma once
// A menu service that shows nothing but keeps what the edits asked for.
#include <memory>
#include <vector>

#include "skin/controls/edit_menu.h"

namespace controlstest {

class TFakeEditMenuService : public TspEditMenuService {
public:
    class TMenu : public TspEditMenu {
    public:
        explicit TMenu(TFakeEditMenuService* AService) : FService(AService) {}
        ~TMenu() override { ++FService->Freed; }
        bool Popup2(TControl*, TPoint AScreenPoint) override
        {
            FService->ShownAt = AScreenPoint;
            ++FService->Shown;
            return true;
        }

    private:
        TFakeEditMenuService* FService;
    };

    TFakeEditMenuService() { SetEditMenuService(this); }
    ~TFakeEditMenuService() override { SetEditMenuService(nullptr); }

    std::unique_ptr<TspEditMenu> CreateMenu(TControl*, TCustomForm* AForm, std::vector<TspEditMenuItem> AItems) override
    {
        Items = std::move(AItems);
        ComponentForm = AForm;
        return std::make_unique<TMenu>(this);
    }
    TspResourceStrData* FormTexts(TCustomForm*) override { return Texts; }

    // Captions of the enabled items, separators left out.
    std::vector<std::string> Enabled() const
    {
        std::vector<std::string> names;
        for (const auto& item : Items)
            if (item.Caption != "-" && item.Enabled) names.push_back(item.Caption);
        return names;
    }
    void Click(const std::string& ACaption)
    {
        for (const auto& item : Items)
            if (item.Caption == ACaption && item.OnClick) item.OnClick();
    }

    std::vector<TspEditMenuItem> Items;
    TCustomForm* ComponentForm = nullptr;
    TspResourceStrData* Texts = nullptr;
    TPoint ShownAt{-100, -100};
    int Shown = 0;
    int Freed = 0;
};

}  // namespace controlstest
