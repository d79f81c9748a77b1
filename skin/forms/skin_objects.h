#pragma once
// The skin objects of a skinned form: small interactive parts of its frame (caption buttons, push buttons, and
// later the caption, labels, gauges and the rest), each made from one object record of the skin or, for the
// default caption buttons, from none. The form owns them in its object list, tracks the mouse over them, calls
// their mouse operations and paints them as part of its frame.
#include <string>

#include "platform/gui/canvas.h"
#include "platform/gui/control_messages.h"
#include "platform/rtl/types.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/skin_records.h"

class TBitmap;
class TspCorvalis;

// The platform's point-in-rectangle rule: the right and bottom edges lie outside.
inline bool PtInRect(const TRect& R, const TPoint& P)
{
    return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}
class TspSkinData;

class TspActiveSkinObject {
public:
    // AData may be nullptr (a default caption button of an unskinned form).
    TspActiveSkinObject(TspCorvalis* AParent, TspDataSkinObject* AData);
    virtual ~TspActiveSkinObject() = default;
    TspActiveSkinObject(const TspActiveSkinObject&) = delete;
    TspActiveSkinObject& operator=(const TspActiveSkinObject&) = delete;

    // X, Y relative to ObjectRect's top-left corner.
    virtual bool PtInMask(Integer X, Integer Y);
    virtual void ShowLayer();
    virtual void HideLayer();
    // The full layered border draws objects through these; the base draws nothing.
    virtual void InitAlphaImages() {}
    virtual void DrawAlpha(TCanvas* /*Cnvs*/, TBitmap* /*ABitMap*/) {}
    // UpDate is False while the whole frame is painted (the frame picture under the object is fresh).
    virtual void Draw(TCanvas* Cnvs, bool UpDate);
    virtual void DblClick() {}
    // X, Y in ObjectRect's coordinates.
    virtual void MouseDown(Integer X, Integer Y, TMouseButton Button);
    virtual void MouseUp(Integer X, Integer Y, TMouseButton Button);
    virtual void MouseMove(Integer X, Integer Y);
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual bool CanMorphing();

    bool EnableMorphing();
    void DoMorphing();
    // A redraw after a state change: through the form's morph timer while morphing, else at once.
    void RedrawState();
    double MorphKf() const { return FMorphKf; }
    void SetMorphKf(double AValue);
    bool MouseIn() const { return FMouseIn; }
    void ResetMouseIn() { FMouseIn = false; }

    TspCorvalis* Parent;
    TBitmap* Picture = nullptr;
    TBitmap* ActivePicture = nullptr;
    TBitmap* ActiveMaskPicture = nullptr;
    TspSkinData* SD = nullptr;
    std::string IDName;
    std::string Hint;
    TRect SkinRect;
    TRect ActiveSkinRect;
    TRect InActiveSkinRect;
    bool Morphing = false;
    TMorphKind MorphKind = mkDefault;
    TRect ObjectRect;
    bool Active = false;
    bool Enabled = true;
    Integer CursorIndex = -1;
    bool RollUp = false;
    bool Visible = true;
    bool SkinRectInAPicture = false;
    Integer GlowLayerPictureIndex = -1;
    Integer GlowLayerMaskPictureIndex = -1;
    Integer GlowLayerOffsetX = 0;
    Integer GlowLayerOffsetY = 0;
    Integer GlowLayerAlphaBlendValue = 255;

protected:
    bool SkinLoaded() const;
    // Copies the part R of APicture stretched onto Cnvs at ObjectRect.
    void CopyPart(TCanvas* Cnvs, TBitmap* APicture, const TRect& R);
    // The morph of the normal part (ANormal of ANormalPicture) towards AActiveRect of ActivePicture.
    void DrawMorph(TCanvas* Cnvs, TBitmap* ANormalPicture, const TRect& ANormal, const TRect& AActiveRect);
    // The normal part greyed, its contrast halved: a disabled object whose skin has no disabled picture.
    void DrawDimmed(TCanvas* Cnvs);
    // The glow picture's place on the screen: ObjectRect moved by the frame's screen origin.
    TRect ScreenRect();
    void ShowLayerWith(class TspLayerManager* AManager);
    void HideLayerWith(class TspLayerManager* AManager);
    bool GlowAllowed() const;
    // The mouse came in or went: FMouseIn and Active follow it and the form hears of it; nothing is redrawn.
    void FollowMouseQuietly(bool AIn);

    double FMorphKf = 0;
    bool FMouseIn = false;
};
