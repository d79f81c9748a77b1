#include "skin/controls/edit_menu.h"

namespace {

TspEditMenuService* Service = nullptr;

}  // namespace

void SetEditMenuService(TspEditMenuService* AService)
{
    Service = AService;
}

TspEditMenuService* EditMenuService()
{
    return Service;
}
