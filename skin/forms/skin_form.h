#pragma once
// The skinned-form component: one per form. When created it takes over the form's window procedure and from
// then on gives the form its frame: drawn from the skin data, or a plain default frame without a skin. It owns
// the frame's skin objects (caption buttons and the rest), routes the mouse to them and answers the skin
// library's private messages. The form's previous procedure gets every message it does not fully handle and
// is put back when the component goes.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/forms.h"
#include "platform/gui/graphics.h"
#include "platform/gui/menus.h"
#include "platform/gui/timer.h"
#include "platform/rtl/classes.h"
#include "skin/core/skin_data.h"
#include "skin/forms/form_messages.h"
#include "skin/forms/quick_buttons.h"
#include "skin/forms/skin_objects.h"

class TspSkinButtonObject;
class TspSkinStdButtonObject;
class TspSkinMDITabsBar;

// Scoped: the platform's own border icons already use these names.
enum class TspBorderIcon { biSystemMenu, biMinimize, biMaximize, biRollUp, biMinimizeToTray };
using TspBorderIcons = TSet<TspBorderIcon>;
enum TspPositionInMonitor { sppDefault, sppScreenCenter, sppDesktopCenter };
enum TspClientInActiveEffect { spieSemiTransparent, spieBlur };
enum TSwitchState { swsOn, swsOff };

using TspCaptionPaintEvent = std::function<void(TObject* Sender, TCanvas* Cnvs, TRect R, bool AActive)>;
using TChangeClientRectEvent = std::function<void(TObject* Sender, TRect NewClientRect)>;
using TspMouseUpEvent =
    std::function<void(TObject* Sender, const std::string& IDName, Integer X, Integer Y, TRect ObjectRect,
                       TMouseButton Button)>;
using TspMouseDownEvent = TspMouseUpEvent;
using TspMouseObjectMoveEvent =
    std::function<void(TObject* Sender, const std::string& IDName, Integer X, Integer Y, TRect ObjectRect)>;
using TspMouseObjectEnterEvent = std::function<void(TObject* Sender, const std::string& IDName)>;
using TspObjectPaintEvent =
    std::function<void(TObject* Sender, const std::string& IDName, TCanvas* Canvas, TRect ObjectRect)>;
using TspActivateCustomObjectEvent =
    std::function<void(TObject* Sender, const std::string& IDName, bool& ObjectVisible)>;
using TspAcceptToMDITabsBarEvent = std::function<void(TObject* Sender, TCustomForm* Child, bool& Accept)>;

// What the skinned form needs of a hint component to show its objects' hints; the skinned hint implements it.
class TspSkinHintBase : public TComponent {
public:
    using TComponent::TComponent;
    // Shows AHint at the cursor.
    virtual void ActivateHint2(const std::string& AHint) = 0;
    virtual void HideHint() = 0;
};

class TspCorvalis : public TComponent, private TspSkinMessageReceiver {
public:
    // AOwner must be a form: anything else fails with EInvalidCast and attaches nothing.
    explicit TspCorvalis(TComponent* AOwner);
    ~TspCorvalis() override;

    // --- Attachment and dispatch (form_wndproc.cpp) ---
    void FormWndProc(TMessage& Message);
    // A non-client mouse message's screen point in frame coordinates.
    void ScreenToFramePoint(TPoint& P);
    TCustomForm* Form() const { return FForm; }

    // --- Properties ---
    TspSkinData* SkinData() const { return FSD; }
    void SetSkinData(TspSkinData* Value);
    TspSkinData* MenusSkinData() const { return FMSD; }
    void SetMenusSkinData(TspSkinData* Value);
    TMainMenu* MainMenu() const { return FMainMenu; }
    void SetMainMenu(TMainMenu* Value);
    TPopupMenu* SystemMenu() const { return FSystemMenu; }
    void SetSystemMenu(TPopupMenu* Value);
    TspSkinHintBase* SkinHint() const { return FSkinHint; }
    void SetSkinHint(TspSkinHintBase* Value);
    TspBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TspBorderIcons Value);
    bool UseRibbon() const { return FUseRibbon; }
    void SetUseRibbon(bool Value);
    bool SkinnableForm() const { return FSkinnableForm; }
    bool SupportNCArea() const { return FSupportNCArea; }
    void SetSupportNCArea(bool Value);
    bool Sizeable() const { return FSizeable; }
    void SetSizeable(bool Value) { FSizeable = Value; }
    bool DraggAble() const { return FDraggAble; }
    void SetDraggAble(bool Value) { FDraggAble = Value; }
    bool HideCaptionButtons() const { return FHideCaptionButtons; }
    void SetHideCaptionButtons(bool Value);
    bool DisableSystemMenu() const { return FDisableSystemMenu; }
    void SetDisableSystemMenu(bool Value) { FDisableSystemMenu = Value; }
    TspPositionInMonitor PositionInMonitor() const { return FPositionInMonitor; }
    void SetPositionInMonitor(TspPositionInMonitor Value) { FPositionInMonitor = Value; }
    bool UseFormCursorInNCArea() const { return FUseFormCursorInNCArea; }
    void SetUseFormCursorInNCArea(bool Value) { FUseFormCursorInNCArea = Value; }
    bool ShowIcon() const { return FShowIcon; }
    void SetShowIcon(bool Value);
    bool ShowObjectHint() const { return FShowObjectHint; }
    void SetShowObjectHint(bool Value) { FShowObjectHint = Value; }
    bool UseDefaultObjectHint() const { return FUseDefaultObjectHint; }
    void SetUseDefaultObjectHint(bool Value) { FUseDefaultObjectHint = Value; }
    bool UseSkinCursors() const { return FUseSkinCursors; }
    void SetUseSkinCursors(bool Value) { FUseSkinCursors = Value; }
    TFont* DefCaptionFont() { return &FDefCaptionFont; }
    void SetDefCaptionFont(TFont* Value);
    TFont* DefInActiveCaptionFont() { return &FDefInActiveCaptionFont; }
    void SetDefInActiveCaptionFont(TFont* Value);
    Integer MinWidth() const { return FMinWidth; }
    void SetMinWidth(Integer Value) { FMinWidth = Value; }
    Integer MinHeight() const { return FMinHeight; }
    void SetMinHeight(Integer Value) { FMinHeight = Value; }
    Integer MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(Integer Value) { FMaxWidth = Value; }
    Integer MaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(Integer Value) { FMaxHeight = Value; }
    bool MaximizeOnFullScreen() const { return FMaximizeOnFullScreen; }
    void SetMaximizeOnFullScreen(bool Value) { FMaximizeOnFullScreen = Value; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value);
    Byte AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(Byte Value);
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
    bool AlwaysMinimizeToTray() const { return FAlwaysMinimizeToTray; }
    void SetAlwaysMinimizeToTray(bool Value) { FAlwaysMinimizeToTray = Value; }
    TspQuickButtonItems* QuickButtons() { return FQuickButtons.get(); }
    void SetQuickButtons(TspQuickButtonItems* Value) { FQuickButtons->Assign(Value); }
    TCustomImageList* QuickImageList() const { return FQuickImageList; }
    void SetQuickImageList(TCustomImageList* Value);
    bool QuickButtonsShowHint() const { return FQuickButtonsShowHint; }
    void SetQuickButtonsShowHint(bool Value) { FQuickButtonsShowHint = Value; }
    TBitmap* LogoBitMap() { return &FLogoBitMap; }
    bool LogoBitMapTransparent() const { return FLogoBitMapTransparent; }
    void SetLogoBitMapTransparent(bool Value) { FLogoBitMapTransparent = Value; }
    Integer ClientWidth() const { return FClientWidth; }
    void SetClientWidth(Integer Value) { FClientWidth = Value; }
    Integer ClientHeight() const { return FClientHeight; }
    void SetClientHeight(Integer Value) { FClientHeight = Value; }
    bool MinimizeDefault() const { return FMinimizeDefault; }
    void SetMinimizeDefault(bool Value) { FMinimizeDefault = Value; }
    TWindowState WindowState() const { return FWindowState; }
    // Minimizes, maximizes or restores the form through the platform and keeps the state.
    void SetWindowState(TWindowState Value);
    bool RollUpState() const { return FRollUpState; }
    // Frame mode: collapses the form to its frame (up) or gives it its height back (down).
    void SetRollUpState(bool Value);

    // Events.
    TspCaptionPaintEvent OnCaptionPaint;
    TChangeClientRectEvent OnChangeClientRect;
    TNotifyEvent OnChangeSkinData;
    TspMouseUpEvent OnMouseUpEvent;
    TspMouseDownEvent OnMouseDownEvent;
    TspMouseObjectMoveEvent OnMouseMoveEvent;
    TspMouseObjectEnterEvent OnMouseEnterEvent;
    TspMouseObjectEnterEvent OnMouseLeaveEvent;
    TspObjectPaintEvent OnPaintEvent;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeActivate;
    TNotifyEvent OnChangeRollUpState;
    TspActivateCustomObjectEvent OnActivateCustomObject;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;
    TNotifyEvent OnMaximize;
    TNotifyEvent OnMinimizeToTray;
    // Called first by the shortcut handler, which takes the form's own shortcut event.
    TShortCutEvent OnShortCut;

    // --- Value, label and animated objects by name (value_objects.cpp, animated_objects.cpp) ---
    // Names no object has, or objects of another kind, change nothing; getters then give 0 or swsOff. During a
    // skin change (inside OnChangeSkinData) the setters change values without repainting.
    std::function<void(TObject* Sender, const std::string& IDName, Integer Value)> OnTrackBarChangeValueEvent;
    std::function<void(TObject* Sender, const std::string& IDName, TSwitchState State)> OnSwitchChangeStateEvent;
    std::function<void(TObject* Sender, const std::string& IDName, Integer Value)> OnFrameRegulatorChangeValueEvent;
    TNotifyEvent OnMainMenuEnter;
    Integer TrackBarGetValue(const std::string& AIDName);
    void TrackBarSetValue(const std::string& AIDName, Integer AValue);
    void GaugeSetValue(const std::string& AIDName, Integer AValue);
    void FrameGaugeSetValue(const std::string& AIDName, Integer AValue);
    Integer FrameRegulatorGetValue(const std::string& AIDName);
    void FrameRegulatorSetValue(const std::string& AIDName, Integer AValue);
    void LabelSetText(const std::string& AIDName, const std::string& ATextValue);
    void BitLabelSetText(const std::string& AIDName, const std::string& AValue);
    void SwitchSetState(const std::string& AIDName, TSwitchState AState);
    TSwitchState SwitchGetState(const std::string& AIDName);
    void UserObjectDraw(const std::string& AIDName);
    // A push button, or an animated button, opens AMenu's items (above it when APopupUp).
    void LinkMenu(const std::string& AIDName, TMenu* AMenu, bool APopupUp);
    void AnimateStart(const std::string& AIDName);
    void AnimateStop(const std::string& AIDName);
    // One 25 ms step of every playing animation; true while any frame changed.
    bool StepAnimateObjects();
    // The main menu's top-level items as frame objects, built from the skin's "MAINMENUITEM" record. A form
    // whose main menu is shown elsewhere (a menu-bar control) sets MainMenuShownElsewhere and gets none.
    void CreateMainMenuItems();
    void UpdateMainMenu(bool ARedraw);
    // Enables a caption-button command's object by the border icons; false for commands they do not govern.
    bool ApplyBorderIcon(TStdCommand ACommand, TspActiveSkinObject* AObject);
    // True when the form's menus have a menu bar or MainMenuShownElsewhere is set.
    bool MainMenuOnBar();
    bool MainMenuShownElsewhere = false;
    bool InMainMenu = false;
    // The animated object whose menu is open plays back once the menus close.
    void AnimateMenuClosed();
    void DoTrackBarChangeValue(const std::string& AIDName, Integer AValue);
    void DoSwitchChangeState(const std::string& AIDName, TSwitchState AState);
    void DoFrameRegulatorChangeValue(const std::string& AIDName, Integer AValue);
    void DoObjectPaint(const std::string& AIDName, TCanvas* ACanvas, const TRect& AObjectRect);

    // --- Lookups and predicates (skin_form.cpp) ---
    static std::string GetProductVersion() { return "11.27"; }
    bool IsSizeAble();
    bool GetFormActive();
    bool UseLayeredBorder();
    bool HasSkinFrame();
    bool ObjectShownInRollUpState(bool ARollUp) const;
    bool Skinned() const { return FSkinSupport; }
    void ApplyPositionInMonitor();
    TPoint GetPositionInMonitor(Integer AX, Integer AY, Integer AW, Integer AH);
    void NotifyChildrenBackground();
    void ResetObjectStates();
    void ApplyFormBorderIcons();
    // Every skinned control in Control's tree that uses SkinData (nullptr: every skinned control) forgets its
    // record, or looks it up again.
    void BeforeChangeControlsSkinData(TspSkinData* SkinData, TControl* Control);
    void ChangeControlsSkinData(TspSkinData* SkinData, TControl* Control);
    // The skin area of that name; when several bear it, the last one. Empty without a loaded skin or area.
    TRect GetAreaRect(const std::string& AIDName) const;
    // Sets the form's border style or (fsNormal and fsStayOnTop only) its style; every skinned control then
    // applies its skin again.
    void SetFormBorderStyle(TFormBorderStyle BS);
    void SetFormStyle(TFormStyle FS);
    // The form's shortcut handler: the user's OnShortCut, Alt+Space, then the menu's shortcuts.
    void FormShortCut(TMessage& Msg, bool& Handled);

    // --- Default frame and size limits (default_frame.cpp) ---
    Integer DefaultCaptionHeight();
    Integer DefaultButtonSize();
    void CalcDefRects();
    void GetDefCaptionRect(TRect& R);
    // Paints into the window's own DC unless AUseExternalDC.
    void PaintNCDefault(win::HDC ADC, bool AUseExternalDC);
    void PaintBGDefault(win::HDC DC);
    void DrawLogo(TCanvas* Canvas);
    void PrepareCaptionIcon();
    void DrawCaptionIcon(TCanvas* Canvas, Integer X, Integer Y);
    void GetCaptionIconSize(Integer& W, Integer& H);
    Integer GetMinWidth();
    Integer GetMinHeight();
    Integer GetMaxWidth();
    Integer GetMaxHeight();
    // A frame repaint.
    void UpDateFormNC();
    // Caption objects take the form's activation; then OnActivate or OnDeActivate.
    void UpdateCaptionActivity(bool ARedraw);
    // Redraws one object alone, on the frame.
    void DrawSkinObject(TspActiveSkinObject* AObject);

    // --- Skinned frame (skinned_frame.cpp) ---
    void CalcNewSkinGeometry();
    void PaintNCSkin(win::HDC ADC, bool AUseExternalDC);
    TRect MapSkinRect(const TRect& R);
    bool SkinIsSizeable();
    void ChangeSkinData();
    void ApplySkinSize(bool AResized);

    // --- Skin objects (form_objects.cpp) ---
    void CreateSkinObjects();
    void CreateDefaultCaptionButtons();
    // Frees the objects, or retires them when one of them is handling input now (freed after it returns).
    void ClearObjects();
    void UpdateObjectsState();
    void UpdateObjectHints();
    void ArrangeObjects();
    Integer GetIndex(const std::string& AIDName) const;
    void SetEnabled(const std::string& AIDName, bool Value);
    void ButtonSetDown(const std::string& AIDName, bool ADown);
    bool ButtonGetDown(const std::string& AIDName) const;
    Integer ObjectCount() const { return static_cast<Integer>(ObjectList.size()); }
    TspActiveSkinObject* Objects(Integer AIndex) const { return ObjectList[static_cast<size_t>(AIndex)].get(); }
    void DoObjectMouseDown(const std::string& IDName, Integer X, Integer Y, const TRect& ObjectRect,
                           TMouseButton Button);
    void DoObjectMouseUp(const std::string& IDName, Integer X, Integer Y, const TRect& ObjectRect,
                         TMouseButton Button);
    void DoObjectMouseMove(const std::string& IDName, Integer X, Integer Y, const TRect& ObjectRect);
    void DoObjectMouseEnter(const std::string& IDName);
    void DoObjectMouseLeave(const std::string& IDName);
    // Close, maximize or restore, minimize or restore, roll up or down, or to the tray, for a caption button or
    // an animated button (AObject, whose glow goes when the form changes state).
    void RunCaptionCommand(TStdCommand ACommand, TspActiveSkinObject* AObject);
    // Opens AItem's sub-items beside AScreenRect through the form's menus; false when nothing opened.
    bool PopupObjectMenu(TMenuItem* AItem, const TRect& AScreenRect, bool APopupUp);

    // --- Caption objects (caption_object.cpp) ---
    void CaptionSetText(const std::string& AIDName, const std::string& AText);
    // One 25 ms step of every caption's activation animation; true while any still runs.
    bool StepCaptionAnimations();
    // The skin renders the inactive look from the active pictures.
    bool AutoInActiveImage();

    // --- Skin areas and client backgrounds (skin_areas.cpp) ---
    // Links Control to the skin's area AreaName (first of that name); nothing when the skin has no such area.
    void LinkControlToArea(const std::string& AreaName, TControl* Control);
    // Removes Control's first link.
    void UnLinkControlFromArea(TControl* Control);
    void LinkAreaControls();
    void PlaceLinkedControls();
    void FitClientToSkin();
    // Client backgrounds: the skin picture's client part, the background picture, the MDI background picture.
    void PaintBG(win::HDC DC);
    void PaintBG2(win::HDC DC);
    void PaintBG3(win::HDC DC);
    // The one of them (or the plain one) that the form's erase message paints.
    void PaintClientBackground(win::HDC DC);
    Integer AreaLinkCount() const { return static_cast<Integer>(AreaList.size()); }

    // --- MDI parent and children (mdi_links.cpp) ---
    // The MDI parent's tabs bar: its children's skinned forms add, remove and redraw their tabs there.
    TspSkinMDITabsBar* MDITabsBar() const { return FMDITabsBar; }
    void SetMDITabsBar(TspSkinMDITabsBar* Value);
    TspAcceptToMDITabsBarEvent OnAcceptToMDITabsBar;
    bool MDIChildMaximized() const { return FMDIChildMaximized; }
    // The main form's active child when its skinned form is maximized, else the first maximized one.
    TspCorvalis* FindMaximizedChild();
    void AddChildToBar(TCustomForm* Child);
    void DeleteChildFromBar(TCustomForm* Child);
    void RefreshMDIBarTab(TCustomForm* Child);
    void UpdateMDITabsBar();
    // The main form's menu bar rebuilds its items when it shows (or showed) an MDI child's merged menu.
    void UpdateMainFormMenuBar();
    // Maximized children fill the work area again, minimized ones take their slots.
    void RefitMDIChildren();
    // The MDI client window's procedure, in front of its own while the parent's form shows.
    void HookMDIClient();
    void UnHookMDIClient();
    win::LRESULT MDIClientProc(win::HWND AWindow, win::UINT AMsg, win::WPARAM AWParam, win::LPARAM ALParam);
    // The client window's background: the MDI background picture, the skin's, or the plain workspace colour.
    void PaintMDIClientBackground(win::HDC DC);

    // --- Layered border (layered_border_form.cpp; the border itself: layered_border.h) ---
    bool AlwaysDisableLayeredFrames() const { return FAlwaysDisableLayeredFrames; }
    void SetAlwaysDisableLayeredFrames(bool Value) { FAlwaysDisableLayeredFrames = Value; }
    // In use with a full-border record: the border carries the caption and the form has no frame of its own.
    bool FullLayeredBorder();
    class TspFormLayerBorder* LayerBorder() const { return FLayerBorder; }
    // Saves the form's outer rectangle (with a shown full border, the border's) before a skin change, and
    // gives it back afterwards so that adding or removing a full border keeps the outer rectangle in place.
    void RememberOuterBounds();
    void RestoreOuterBounds();
    void ShowLayerBorderWithForm();
    // The last steps of a skin change: the border shown with the form, the outer rectangle kept.
    void FinishLayerBorderChange();
    void LayerBorderAfter(TMessage& Message);
    // A drag on the layered border is sizing or moving the form.
    bool FBorderLayerChangeSize = false;

    // --- Client-area cover of the inactive form (client_inactive_panel.cpp) ---
    bool ClientInActiveEffect() const { return FClientInActiveEffect; }
    void SetClientInActiveEffect(bool Value) { FClientInActiveEffect = Value; }
    TspClientInActiveEffect ClientInActiveEffectType() const { return FClientInActiveEffectType; }
    void SetClientInActiveEffectType(TspClientInActiveEffect Value) { FClientInActiveEffectType = Value; }
    // Replaces any cover by a new snapshot of the client area.
    void ShowClientInActiveEffect();
    void HideClientInActiveEffect();
    class TspClientInActivePanel* InActivePanel() const { return FInActivePanel; }
    // True while the cover takes its snapshot.
    bool FClientInActiveDraw = false;

    // --- Frameless forms (frameless_form.cpp) ---
    // The frameless half of a skin change; the form is the skin picture with its objects.
    void ChangeFramelessSkinData();
    void PaintFrameless(win::HDC DC);

    // --- Window region (form_region.cpp) ---
    void UpdateFormRegion(bool AResized);
    void SetRollUpRegion();

    // --- Window states, magnetic edges, shadow (window_states.cpp) ---
    void MinimizeForm();
    void MaximizeForm();
    void RestoreForm();
    // A width nudge (one pixel and back) that makes the form and its frame realign.
    void ForceRealign();
    // Snaps a proposed position of a AWidth x AHeight form to the work area's edges.
    void DoMagnetic(Integer& ALeft, Integer& ATop, Integer AWidth, Integer AHeight);
    void EnableShadow(bool AShowShadow, bool AHideFormBefore);
    bool IsFrameCollapsed();
    bool Magnetic() const { return FMagnetic; }
    void SetMagnetic(bool Value) { FMagnetic = Value; }
    Byte MagneticSize() const { return FMagneticSize; }
    void SetMagneticSize(Byte Value) { FMagneticSize = Value; }
    class TspSkinStatusBar* StatusBar() const { return FStatusBar; }
    void SetStatusBar(class TspSkinStatusBar* Value);
    TRect OldBoundsRect;
    bool HMagnetized = false, VMagnetized = false, HMagnetized2 = false, VMagnetized2 = false;

    // --- Tracking, hit testing and timers (object_tracking.cpp) ---
    void TrackActiveObject(Integer X, Integer Y, bool AInFrame);
    void ObjectsMouseDown(TMouseButton Button, Integer X, Integer Y);
    void ObjectsMouseUp(TMouseButton Button, Integer X, Integer Y);
    void ObjectsMouseMove(Integer X, Integer Y);
    void ObjectsDblClick();
    void StartFormDrag(Integer X, Integer Y);
    void StopFormDrag() { FIsDragging = false; }
    win::LRESULT DefaultNCHitTest(TPoint P);
    win::LRESULT SkinNCHitTest(TPoint P);
    win::LRESULT RegionHitTest(TPoint P);
    // The sizing zone of a point near the skin's edge (its mask's, or the form's without one); HTNOWHERE else.
    win::LRESULT EdgeZoneHitTest(TPoint P);
    bool PtInSkinMask(TPoint P);
    bool PointInForm(TPoint P);
    void UpdateSkinCursor();
    void MouseTimerProc(TObject* Sender);
    void AnimateTimerProc(TObject* Sender);
    void MorphTimerProc(TObject* Sender);

    // State the objects and the later frame parts share.
    Integer ActiveObject = -1;
    Integer OldActiveObject = -1;
    Integer MouseCaptureObject = -1;
    TTimer* MorphTimer = nullptr;
    TTimer* AnimateTimer = nullptr;
    TTimer* MouseTimer = nullptr;
    class TspLayerManager* FLayerManager = nullptr;
    class TspLayerManager* FMenuLayerManager = nullptr;
    bool FFormActive = false;
    bool PreviewMode = false;
    bool FInChangeSkinData = false;
    bool IsAlphaIcon = false;
    bool MouseIn = false;
    TColor BlackColor = clBlack;
    TRect FSizeGripArea;
    std::unique_ptr<TBitmap> RMTop, RMBottom, RMLeft, RMRight;

    // The skin geometry at the form's current size (FFormWidth x FFormHeight).
    Integer FFormWidth = 0, FFormHeight = 0;
    TPoint NewLTPoint, NewRBPoint, NewRTPoint, NewLBPoint;
    TRect NewClRect, NewCaptionRect, NewButtonsRect;
    Integer NewButtonsOffset = 0;
    bool NewButtonsInLeft = false;
    bool ButtonsInLeft = false;
    TRect NewMaskRectArea;
    TPoint NewHitTestLTPoint, NewHitTestRTPoint, NewHitTestLBPoint, NewHitTestRBPoint;
    TRect NewMainMenuRect, NewIconRect;
    TRect NewDefCaptionRect;
    // The skinned caption as the hit test sees it: the caption rectangle between the placed buttons.
    TRect CaptionHitRect;

private:
    // Skin data messages reach the form's window through this.
    TComponent* ReceiverForm() const override { return FForm; }
    void SkinDataMessage(Cardinal Msg, intptr_t WParam, intptr_t LParam) override;

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void SetSkinnableForm(bool Value);

    // Window procedure pieces (form_wndproc.cpp): true when handled.
    bool BeforePrevious(TMessage& Message);
    void AfterPrevious(TMessage& Message);
    // False when the form (and this component with it) went while the previous procedure ran: a form
    // released by a message of its own is freed inside it.
    bool CallPrevious(TMessage& Message);
    bool SkinMessage(TMessage& Message);
    void NCCalcSize(TMessage& Message);
    void NCHitTest(TMessage& Message);
    void NCPaint(win::HDC ADC, bool AUseExternalDC);
    void NCActivate(TMessage& Message);
    void ShowWindowBefore(TMessage& Message);
    void NCMouseAfter(TMessage& Message);
    void ClientMouseAfter(TMessage& Message);
    void CaptionDoubleClick();
    bool FrameWithBorder();
    // The client part of the frame, in frame coordinates.
    TRect FrameClientRect();
    void FrameRepaint();
    void FrameMinMaxInfo(TMessage& Message);
    // The show effect: the form is made transparent before it shows and fades in from timer 1.
    bool ShowEffectApplies();
    void StartShowEffect();
    void ShowEffectTimer();

    // Held while an object handles input; ClearObjects then retires the objects instead of freeing them.
    struct TObjectCall {
        explicit TObjectCall(TspCorvalis* AForm) : Form(AForm) { ++Form->FObjectCallDepth; }
        ~TObjectCall() { --Form->FObjectCallDepth; }
        TObjectCall(const TObjectCall&) = delete;
        TObjectCall& operator=(const TObjectCall&) = delete;
        TspCorvalis* Form;
    };
    void ReleaseRetiredObjects();
    void DrawObjectsInto(TCanvas* ACanvas, TPoint AOffset);
    // The default frame's caption bitmap.
    void PaintDefaultCaption(TBitmap* ACaption);
    TspSkinStdButtonObject* CaptionButtonOf(TStdCommand ACommand, bool ANeedPictureRect);
    void PlaceButtonRun(Integer& X, Integer Top, bool AFromRight, TspActiveSkinObject* AButton);

    // MDI pieces of the window procedure (mdi_links.cpp): true when handled.
    bool MDIMessage(TMessage& Message);
    // Sends AMsg to the application's main form (an MDI child tells its parent of its window state).
    void NotifyMainForm(win::UINT AMsg);
    void MDIChildShown(bool AShown);
    // A child's component going before its window: the parent hears of it as of a destroyed window.
    void MDIChildGoing();
    TspSkinMDITabsBar* FMDITabsBar = nullptr;
    bool FMDIChildMaximized = false;
    win::HWND FClientWindow = nullptr;
    // Shared with the client procedure, which may outlive the component under a later one.
    std::shared_ptr<win::WNDPROC> FPrevClientProc = std::make_shared<win::WNDPROC>(nullptr);
    win::WNDPROC FClientInstance = nullptr;

    // Skin areas that controls are placed over.
    struct TspAreaLink {
        TControl* Control;
        TRect AreaRect;
    };
    std::vector<TspAreaLink> AreaList;
    win::HRGN FRgn = nullptr;
    bool FMagnetic = false;
    Byte FMagneticSize = 10;
    bool FHaveShadow = false;
    bool FRollUpBeforeMaximize = false;
    bool MaxRollUpState = false;
    class TspSkinStatusBar* FStatusBar = nullptr;
    std::vector<TControl*> VisibleControls;
    void SetRegion(win::HRGN ARegion);
    void RollUpSkinForm();
    void RollDownSkinForm();

    class TspFormLayerBorder* FLayerBorder = nullptr;
    bool FAlwaysDisableLayeredFrames = false;
    TRect FOldFormBounds;
    Integer FOldFullBorder = -1;
    class TspClientInActivePanel* FInActivePanel = nullptr;
    bool FClientInActiveEffect = false;
    TspClientInActiveEffect FClientInActiveEffectType = spieSemiTransparent;

    TCustomForm* FForm = nullptr;
    TWndMethod OldWindowProc;
    TShortCutEvent FOldFormShortCut;
    std::vector<std::unique_ptr<TspActiveSkinObject>> ObjectList;
    std::vector<std::unique_ptr<TspActiveSkinObject>> FRetiredObjects;
    int FObjectCallDepth = 0;
    bool FReleasePosted = false;
    bool FDestroying = false;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);

    TspSkinData* FSD = nullptr;
    TspSkinData* FMSD = nullptr;
    TMainMenu* FMainMenu = nullptr;
    TPopupMenu* FSystemMenu = nullptr;
    TspSkinHintBase* FSkinHint = nullptr;
    TCustomImageList* FQuickImageList = nullptr;
    std::unique_ptr<TspQuickButtonItems> FQuickButtons;
    bool FQuickButtonsShowHint = false;

    TspBorderIcons FBorderIcons{TspBorderIcon::biSystemMenu, TspBorderIcon::biMinimize,
                                TspBorderIcon::biMaximize, TspBorderIcon::biRollUp};
    bool FUseRibbon = false;
    bool FSkinnableForm = true;
    bool FSkinSupport = false;
    bool FSupportNCArea = true;
    bool FSizeable = true;
    bool FDraggAble = false;
    bool FHideCaptionButtons = false;
    bool FDisableSystemMenu = false;
    TspPositionInMonitor FPositionInMonitor = sppDefault;
    bool FUseFormCursorInNCArea = false;
    bool FShowIcon = false;
    bool FShowObjectHint = false;
    bool FUseDefaultObjectHint = true;
    bool FUseSkinCursors = false;
    TFont FDefCaptionFont;
    TFont FDefInActiveCaptionFont;
    Integer FMinWidth = 0, FMinHeight = 0, FMaxWidth = 0, FMaxHeight = 0;
    bool FMaximizeOnFullScreen = false;
    bool FAlphaBlend = false;
    Byte FAlphaBlendValue = 200;
    bool FAlphaBlendAnimation = false;
    bool FAlwaysMinimizeToTray = false;
    TBitmap FLogoBitMap;
    bool FLogoBitMapTransparent = false;
    Integer FClientWidth = 0, FClientHeight = 0;
    bool FMinimizeDefault = false;
    TWindowState FWindowState = wsNormal;
    bool FRollUpState = false;
    Integer OldHeight = 0;
    std::unique_ptr<TIcon> FIcon;

    bool FStartShow = true;
    bool FStopPainting = false;
    bool FSmartEffectsShow = false;
    bool FInShortCut = false;
    bool FSizeMove = false;
    bool FSizing = false;
    bool FFullDrag = false;
    bool FIsDragging = false;
    Integer FOldX = 0, FOldY = 0;
    TPoint FOnMouseDownCoord{-1, -1};
    bool FIsVistaOS = false;
    bool FIsLayerEnabled = false;
    bool FFading = false;
    Integer FFadeAlpha = 0;
    Integer FFadeTarget = 255;
    Integer FFadeStep = 1;
};

// The first skinned-form component the form owns, in component order; nullptr for none or no form.
TspCorvalis* FindSkinFormComponent(TCustomForm* Form);
