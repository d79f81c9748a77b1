#include "skin/controls/scroll_bar_link.h"

#include "platform/gui/controls.h"
#include "platform/win/scrolling.h"
#include "skin/controls/scroll_bar.h"

void SendThumbPosition(TWinControl* AControl, unsigned AMessage, Integer APosition)
{
    win::SCROLLINFO info;
    info.fMask = win::SIF_POS;
    info.nPos = APosition;
    win::SetScrollInfo(AControl->Handle(), AMessage == win::WM_VSCROLL ? win::SB_VERT : win::SB_HORZ, info, false);
    AControl->Perform(AMessage, win::MAKEWPARAM(win::SB_THUMBPOSITION, APosition & 0xFFFF), 0);
}

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
