// The skinned form's window region: cut from the skin's mask (four narrow strips at the form's size around one
// rectangle), a plain rectangle without a mask, none for an unskinned form, and the rolled-up shape of a
// frameless form.
#include <vector>

#include "platform/gdi/objects.h"
#include "platform/gdi/regions.h"
#include "platform/gui/bitmap.h"
#include "platform/win/painting.h"
#include "skin/core/mask_regions.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_strips.h"
#include "skin/forms/skin_form.h"

using namespace win;

namespace {

// The region of a mask's black pixels at (AX, AY); nullptr for a mask without any.
HRGN MaskRegion(TBitmap* AMask, Integer AX, Integer AY)
{
    if (!AMask || AMask->Empty()) return nullptr;
    std::vector<uint8_t> data;
    const Integer size = RegionDataFromMask(AMask, AX, AY, data);
    if (size <= 0) return nullptr;
    const auto* rgn = reinterpret_cast<const RGNDATA*>(data.data());
    return ExtCreateRegion(nullptr, static_cast<DWORD>(size), rgn);
}

}  // namespace

void TspCorvalis::SetRegion(HRGN ARegion)
{
    // The window takes the region and deletes the one it had.
    FRgn = ARegion;
    if (FForm->HandleAllocated())
        SetWindowRgn(FForm->Handle(), ARegion, TRUE);
    else if (ARegion)
        DeleteObject(ARegion);
}

void TspCorvalis::UpdateFormRegion(bool AResized)
{
    if (!FSkinnableForm) {
        if (FRgn) SetRegion(nullptr);
        return;
    }
    if (FFormWidth == 0) FFormWidth = FForm->Width();
    if (FFormHeight == 0) FFormHeight = FForm->Height();
    const bool skin = FSD && !FSD->Empty;
    if (FSupportNCArea && FForm->BorderStyle() == bsNone) {
        if (FRgn) SetRegion(nullptr);
        return;
    }
    const bool maximizedChild = FForm->FormStyle() == fsMDIChild && FWindowState == wsMaximized;
    if (skin && ((!FSD->FMask || FSD->FMask->Empty()) || maximizedChild)) {
        SetRegion(CreateRectRgn(0, 0, FFormWidth, FFormHeight));
        return;
    }
    if (!skin) {
        SetRegion(CreateRectRgn(0, 0, FForm->Width(), FForm->Height()));
        for (TBitmap* strip : {RMTop.get(), RMBottom.get(), RMLeft.get(), RMRight.get()}) strip->SetSize(0, 0);
        return;
    }
    if (!AResized) {
        // A mask without black pixels leaves the region there is.
        if (HRGN whole = MaskRegion(FSD->FMask.get(), 0, 0)) SetRegion(whole);
        return;
    }
    const TspSkinData& s = *FSD;
    for (TBitmap* strip : {RMTop.get(), RMBottom.get(), RMLeft.get(), RMRight.get()}) strip->SetSize(0, 0);
    BuildMaskFrameStrips(s.LTPoint, s.RTPoint, s.LBPoint, s.RBPoint, s.MaskRectArea, NewLTPoint, NewRTPoint,
                         NewLBPoint, NewRBPoint, NewMaskRectArea, s.FMask.get(), RMTop.get(), RMLeft.get(),
                         RMRight.get(), RMBottom.get(), FFormWidth, FFormHeight);
    HRGN region = CreateRectRgn(NewMaskRectArea.Left, NewMaskRectArea.Top, NewMaskRectArea.Right,
                                NewMaskRectArea.Bottom);
    const struct {
        TBitmap* Strip;
        Integer X, Y;
    } pieces[] = {{RMTop.get(), 0, 0},
                  {RMBottom.get(), 0, NewMaskRectArea.Bottom},
                  {RMLeft.get(), 0, NewMaskRectArea.Top},
                  {RMRight.get(), NewMaskRectArea.Right, NewMaskRectArea.Top}};
    for (const auto& piece : pieces) {
        if (HRGN part = MaskRegion(piece.Strip, piece.X, piece.Y)) {
            CombineRgn(region, region, part, RGN_OR);
            DeleteObject(part);
        }
    }
    SetRegion(region);
}

void TspCorvalis::SetRollUpRegion()
{
    if (!FSD || !FSD->FRollUpMask || FSD->FRollUpMask->Empty()) {
        if (FRgn) SetRegion(nullptr);
        return;
    }
    const TspSkinData& s = *FSD;
    HRGN region = nullptr;
    if (s.RollUpLeftPoint.X < s.RollUpRightPoint.X) {
        TBitmap stretched;
        TBitmap* mask = s.FRollUpMask.get();
        BuildHStripImage(s.RollUpLeftPoint.X, mask->Width() - s.RollUpRightPoint.X, &stretched, mask,
                         Rect(0, 0, mask->Width(), mask->Height()), FForm->Width(), mask->Height(), false);
        region = MaskRegion(&stretched, 0, 0);
    } else {
        region = MaskRegion(s.FRollUpMask.get(), 0, 0);
    }
    if (region) SetRegion(region);
}
