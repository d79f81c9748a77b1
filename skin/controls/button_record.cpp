#include "skin/controls/button_record.h"

#include "platform/gui/bitmap.h"
#include "skin/controls/skin_pictures.h"
#include "skin/core/control_records.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_compose.h"

TRect ButtonStateRect(const TspDataSkinButtonControl& ARecord, TspButtonState AState)
{
    TRect hot = IsEmptyRect(ARecord.ActiveSkinRect) ? ARecord.SkinRect : ARecord.ActiveSkinRect;
    switch (AState) {
    case TspButtonState::Pressed: return IsEmptyRect(ARecord.DownSkinRect) ? hot : ARecord.DownSkinRect;
    case TspButtonState::Hot: return hot;
    default: return ARecord.SkinRect;
    }
}

TColor ButtonStateFontColor(const TspDataSkinButtonControl& ARecord, TspButtonState AState)
{
    switch (AState) {
    case TspButtonState::Pressed: return ARecord.DownFontColor;
    case TspButtonState::Hot: return ARecord.ActiveFontColor;
    default: return ARecord.FontColor;
    }
}

bool ComposeButtonRecord(TspSkinData* ASkinData, const TspDataSkinButtonControl& R, TspButtonState AState,
                         Integer AWidth, Integer AHeight, TBitmap* ADest)
{
    ADest->SetSize(AWidth, AHeight);
    TBitmap* picture = SkinPicture(ASkinData, R.PictureIndex);
    if (!picture) return false;
    const Integer dw = AWidth - WidthOfRect(R.SkinRect);
    const Integer dh = AHeight - HeightOfRect(R.SkinRect);
    const TPoint newRT{R.RTPoint.X + dw, R.RTPoint.Y};
    const TPoint newLB{R.LBPoint.X, R.LBPoint.Y + dh};
    const TPoint newRB{R.RBPoint.X + dw, R.RBPoint.Y + dh};
    const TRect newCl{R.ClRect.Left, R.ClRect.Top, R.ClRect.Right + dw, R.ClRect.Bottom + dh};
    ComposeSkinImage(R.LTPoint, R.RTPoint, R.LBPoint, R.RBPoint, R.ClRect, R.LTPoint, newRT, newLB, newRB, newCl,
                     ADest, picture, ButtonStateRect(R, AState), AWidth, AHeight, true, R.LeftStretch, R.TopStretch,
                     R.RightStretch, R.BottomStretch, R.StretchEffect, R.StretchType);
    return true;
}
