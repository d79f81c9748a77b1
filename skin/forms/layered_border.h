#pragma once
// The layered border of a skinned form: a soft, partly transparent frame or shadow around the form, cut from the
// skin's layer-frame picture into top, bottom, left and right images for the form's size and shown in four
// borderless per-pixel-alpha windows placed around it. With a full-border record the top window carries the
// caption and caption buttons; with hit testing on, the border windows size and move the form. Used only where
// the platform can blend layered windows (a compositor).
#include <memory>

#include "platform/gui/controls.h"
#include "platform/gui/timer.h"
#include "skin/core/skin_bitmap.h"
#include "skin/core/skin_records.h"

class TspCorvalis;
class TspSkinData;
class TspFormLayerBorder;

enum TspFormLayerBorderType { spflLeft, spflTop, spflRight, spflBottom };
enum TspFormLayerBorderHit {
    spflhNone,
    spflhLeft,
    spflhTop,
    spflhRight,
    spflhBottom,
    spflhTopLeft,
    spflhTopRight,
    spflhBottomLeft,
    spflhBottomRight,
    spflCaption,
    spflObject
};

// The form's bounds after a border drag by (DX, DY) from AHit, with sizes held to the limits. False when the
// step changes nothing: no movement, no change of size, or a moved left or top edge that the limits would cut.
bool LayerBorderDragBounds(TspFormLayerBorderHit AHit, const TRect& AFormBounds, Integer DX, Integer DY,
                           Integer AMinWidth, Integer AMaxWidth, Integer AMinHeight, Integer AMaxHeight,
                           TRect& ANewBounds);

// One side of the border: a borderless top-level window that never takes the activation.
class TspFormLayerWindow : public TCustomControl {
public:
    TspFormLayerWindow(TspFormLayerBorder* AOwner, TspFormLayerBorderType AType);

    // The zone under the screen point P; X, Y in this window's coordinates track the full border's objects.
    TspFormLayerBorderHit GetBorderHit(Integer X, Integer Y, TPoint P);
    bool CanSizeForm();

    TspFormLayerBorderType BorderType;
    bool FDown = false;
    TPoint MousePos1, MousePos2;
    TspFormLayerBorderHit FHitMode = spflhNone;
    bool FInProcessMessages = false;

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;

private:
    void DoubleClick(Integer X, Integer Y);
    void DragStep();
    TspFormLayerBorder* FLayerBorder;
};

class TspFormLayerBorder : public TComponent {
public:
    explicit TspFormLayerBorder(TspCorvalis* AOwner);
    ~TspFormLayerBorder() override;

    void InitFrame(TspSkinData* ASkinData, TCustomForm* AForm);
    // The border windows' outer bounds for a form at (L, T) of W x H; the height of a rolled-up full border is
    // the record's RollUpFormHeight unless ANoRollUp.
    TRect WindowBounds(Integer L, Integer T, Integer W, Integer H, bool ANoRollUp = false);
    void Show(Integer X, Integer Y, Integer AWidth, Integer AHeight);
    void SetBounds(Integer X, Integer Y, Integer AWidth, Integer AHeight);
    void Hide();
    void ShowWithForm();
    void ShowWithFormAnimation();
    void SetBoundsWithForm();
    void SetBoundsWithForm2(Integer AW, Integer AH);
    void SetBoundsWithForm3(Integer ALeft, Integer ATop, Integer AW, Integer AH);
    void MoveWithForm();
    void MoveWithForm2(Integer ALeft, Integer ATop);
    void SetAlphaBlend();
    void SetAlphaBlend2();
    void CheckFormAlpha(Integer AFormAlpha, bool AUpdate);
    void SetActive(bool AValue, bool AUpdate);
    void Draw(TCanvas* C, Integer X, Integer Y, Integer AWidth, Integer AHeight);
    void CreateBorderImages(Integer AWidth, Integer AHeight);
    // Blur behind the windows needs desktop composition, which this platform lacks: nothing to build.
    void CreateBlurCornerRegions() {}
    void UpdateBlurRegions() {}
    void ArrangeBorderObjects();
    void TrackBorderObject(Integer X, Integer Y);
    void BorderMouseTimerProc(TObject* Sender);

    bool Visible() const { return FVisible; }
    TspDataSkinLayerFrame* Data() const { return FData; }
    bool FullBorder() const { return FData && FData->FullBorder; }
    // A full border of a rolled-up form, or of one minimized as a strip.
    bool RolledUpFullBorder();
    bool Active() const { return FActive; }
    Integer CurrentAlphaBlendValue() const { return FCurrentAlphaBlendValue; }
    Integer CurrentInActiveAlphaBlendValue() const { return FCurrentInActiveAlphaBlendValue; }
    TspFormLayerWindow* Window(TspFormLayerBorderType AType) const;

    TspCorvalis* CVL;
    TTimer* MouseTimer = nullptr;
    std::unique_ptr<TspBitmap> LeftImage, TopImage, RightImage, BottomImage;
    Integer FWidth = 0, FHeight = 0;
    Integer LeftSize = 0, TopSize = 0, RightSize = 0, BottomSize = 0;
    Integer HitTopLeftX = 0, HitTopLeftY = 0, HitTopRightX = 0, HitTopRightY = 0;
    Integer HitBottomLeftX = 0, HitBottomLeftY = 0, HitBottomRightX = 0, HitBottomRightY = 0;
    Integer OldActiveObject = -1, ActiveObject = -1, MouseCaptureObject = -1;

private:
    void FreeWindows();
    // Puts AImage on AWindow with the alpha for the form's activation.
    void PutImage(TspFormLayerWindow* AWindow, TspBitmap* AImage);
    void PlaceWindows(Integer X, Integer Y, Integer AWidth, Integer AHeight);
    void DrawObjectsInto(TspBitmap* AImage);
    Integer TopHeight() const;

    TCustomForm* FForm = nullptr;
    bool FVisible = false;
    TspSkinData* FSD = nullptr;
    TspDataSkinLayerFrame* FData = nullptr;
    std::unique_ptr<TspBitmap> FSourceBitmap, FSourceInActiveBitMap;
    TspFormLayerWindow *LeftBorder = nullptr, *TopBorder = nullptr, *RightBorder = nullptr, *BottomBorder = nullptr;
    bool FActive = true;
    Integer FCurrentAlphaBlendValue = -1, FCurrentInActiveAlphaBlendValue = 255;
};
