#include "skin/controls/scroll_bar_link.h"

#include "skin/controls/scroll_bar.h"

TspScrollBarLink::TspScrollBarLink(TComponent* AOwner, TScrollHandler AOnScroll)
    : TComponent(AOwner), FOnScroll(std::move(AOnScroll))
{
}

TspScrollBarLink::~TspScrollBarLink()
{
    Detach();
}

void TspScrollBarLink::Detach()
{
    if (!FBar) return;
    FBar->OnChange = nullptr;
    FBar->RemoveFreeNotification(this);
    FBar = nullptr;
}

void TspScrollBarLink::SetBar(TspSkinScrollBar* ABar)
{
    if (ABar == FBar) return;
    Detach();
    FBar = ABar;
    if (!FBar) return;
    FBar->FreeNotification(this);
    FBar->OnChange = [this](TObject*) {
        if (FBar && FOnScroll) FOnScroll(FBar->Position());
    };
}

void TspScrollBarLink::Mirror(Integer AMin, Integer AMax, Integer APageSize, Integer APosition)
{
    if (!FBar) return;
    if (FBar->Min() == AMin && FBar->Max() == AMax && FBar->PageSize() == APageSize &&
        FBar->Position() == APosition)
        return;
    FBar->SetRange(AMin, AMax, APosition, APageSize);
}

void TspScrollBarLink::Notification(TComponent* AComponent, TOperation AOperation)
{
    TComponent::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FBar) FBar = nullptr;
}
