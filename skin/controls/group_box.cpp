#include "skin/controls/group_box.h"

TspSkinGroupBox::TspSkinGroupBox(TComponent* AOwner) : TspSkinPanel(AOwner)
{
    FSkinDataName = "groupbox";
    SetCaptionMode(true);
}

void TspSkinGroupBox::GetSkinData()
{
    TspSkinPanel::GetSkinData();
    if (Skinned() && Pieces.ClRect.Bottom < CaptionRect.Top) FForceBackground = false;
}
