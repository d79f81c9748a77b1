#include "skin/controls/page.h"

TspSkinPage::TspSkinPage(TComponent* AOwner) : TspSkinPanel(AOwner)
{
    ControlStyle().Include(csNoDesignVisible);
    SetVisible(false);
    SetAlign(alClient);
    FBorderStyle = TspSkinBorderStyle::bvNone;
}

void TspSkinPage::WndProc(TMessage& AMessage)
{
    if (AMessage.Msg == win::WM_NCHITTEST && !Designing()) {
        AMessage.Result = win::HTTRANSPARENT;
        return;
    }
    TspSkinPanel::WndProc(AMessage);
}
