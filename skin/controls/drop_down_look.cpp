#include "skin/controls/drop_down_look.h"

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "skin/controls/skin_pictures.h"
#include "skin/core/control_records.h"
#include "skin/core/skin_compose.h"

bool IsToolDropDownName(const std::string& AName)
{
    return AName == "toolbutton" || AName == "bigtoolbutton";
}

bool IsResizableDropDownName(const std::string& AName)
{
    return AName == "resizebutton" || AName == "resizetoolbutton";
}

namespace {

void DrawPart(TBitmap* B, TspSkinData* ASkinData, const TspDataSkinButtonControl& R, bool AResizable,
              TspButtonState AState, Integer ALeft, Integer AWidth)
{
    if (AWidth <= 0 || B->Height() <= 0) return;
    TBitmap part;
    if (AResizable) {
        if (!ComposeButtonRecord(ASkinData, R, AState, AWidth, B->Height(), &part)) return;
    } else {
        TBitmap* picture = SkinPicture(ASkinData, R.PictureIndex);
        if (!picture) return;
        part.SetSize(AWidth, B->Height());
        ComposeSkinImageSimple(&part, picture, ButtonStateRect(R, AState), R.ClRect, true);
    }
    B->Canvas()->Draw(ALeft, 0, &part);
}

}  // namespace

void DrawDropDownFace(TBitmap* B, TspSkinData* ASkinData, const TspDataSkinButtonControl& ARecord, bool AResizable,
                      const TspDropDownFace& AFace)
{
    const Integer w = B->Width();
    if (!AFace.Split) {
        DrawPart(B, ASkinData, ARecord, AResizable, AFace.Main, 0, w);
        return;
    }
    DrawPart(B, ASkinData, ARecord, AResizable, AFace.Main, 0, w - kDropDownWidth);
    DrawPart(B, ASkinData, ARecord, AResizable, AFace.Drop, w - kDropDownWidth, kDropDownWidth);
}
