#include "skin/forms/popup_window.h"

#include <algorithm>

#include "platform/gdi/gdi.h"
#include "platform/gui/control_messages.h"
#include "skin/core/glyph_pictures.h"
#include "skin/core/layer_window.h"
#include "skin/core/mask_regions.h"
#include "skin/core/platform_gates.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_compose.h"
#include "skin/core/skin_strips.h"
#include "skin/forms/menu_engine.h"

using namespace win;

namespace {
constexpr UINT_PTR kScrollTimer = 1;
constexpr Integer kMarkerHeight = 10;

TTimer* NewLevelTimer(TComponent* AOwner, Cardinal AInterval, TNotifyEvent AHandler)
{
    auto* timer = new TTimer(AOwner);
    timer->SetEnabled(false);
    timer->SetInterval(AInterval);
    timer->SetOnTimer(std::move(AHandler));
    return timer;
}

TspDataSkinMenuItem* FindMenuItemRecord(TspSkinData* SD)
{
    Integer index = SD->GetIndex("MENUITEM");
    if (index < 0) index = SD->GetIndex("menuitem");
    if (index < 0) return nullptr;
    auto* record = dynamic_cast<TspDataSkinMenuItem*>(SD->ObjectList[static_cast<size_t>(index)].get());
    // A record whose picture is missing gives items of no height: the level is better off in the default look.
    if (record && !SD->ActivePicture(record->ActivePictureIndex)) return nullptr;
    return record;
}
}  // namespace

TspSkinPopupWindow::TspSkinPopupWindow(TComponent* AOwner, TspSkinMenu* AParentMenu, TspDataSkinPopupWindow* AData)
    : TCustomControl(AOwner), ParentMenu(AParentMenu)
{
    AlphaBlend = ParentMenu->AlphaBlend;
    AlphaBlendValue = ParentMenu->AlphaBlendValue;
    AlphaBlendAnimation = ParentMenu->AlphaBlendAnimation;
    TControl::SetVisible(false);
    MouseTimer = NewLevelTimer(this, 50, [this](TObject* S) { MouseTimerProc(S); });
    MorphTimer = NewLevelTimer(this, 20, [this](TObject* S) { MorphTimerProc(S); });
    TspSkinData* skin = ParentMenu->SkinData;
    if (AData && skin && !skin->Empty && AData->WindowPictureIndex != -1) {
        // A picture index outside the skin's list leaves the level in the default look.
        WindowPicture = skin->ActivePicture(AData->WindowPictureIndex);
        if (WindowPicture) {
            PW = AData;
            SD = skin;
            MaskPicture = skin->ActivePicture(AData->MaskPictureIndex);
        }
    }
}

TspSkinPopupWindow::~TspSkinPopupWindow()
{
    MouseTimer->SetEnabled(false);
    MorphTimer->SetEnabled(false);
    ItemList.clear();
}

void TspSkinPopupWindow::CreateParams(TCreateParams& AParams)
{
    TCustomControl::CreateParams(AParams);
    AParams.Style = WS_POPUP;
    AParams.ExStyle = WS_EX_TOOLWINDOW;
    AParams.WndParent = nullptr;
    AParams.ClassStyle |= CS_SAVEBITS | CS_DROPSHADOW;
    AParams.WinClassName = "TspSkinPopupWindow";
}

void TspSkinPopupWindow::WndProc(TMessage& AMessage)
{
    // A command chosen here may run a message loop of its own (a modal dialog) that delivers this window's
    // release: the window then goes when its outermost handler returns.
    ++FHandlerDepth;
    HandleMessage(AMessage);
    if (--FHandlerDepth == 0 && FReleaseRequested) Free();
}

void TspSkinPopupWindow::HandleMessage(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case WM_MOUSEACTIVATE: AMessage.Result = MA_NOACTIVATE; return;
    case WM_ERASEBKGND: AMessage.Result = 1; return;  // the paint renders the whole window
    case WM_TIMER:
        TCustomControl::WndProc(AMessage);
        if (AMessage.WParam != kScrollTimer) return;
        if (ScrollCode == 1) {
            if (CanScroll(1)) ScrollUp(false);
            else StopScroll();
        } else if (ScrollCode == 2) {
            if (CanScroll(2)) ScrollDown(false);
            else StopScroll();
        }
        return;
    case CM_RELEASE: FReleaseRequested = true; return;
    default: break;
    }
    TCustomControl::WndProc(AMessage);
}

// ---- building ----

void TspSkinPopupWindow::Show(TRect R, TMenuItem* AItem, Integer StartIndex, bool PopupByItem, bool PopupUp)
{
    CreateMenu(AItem, nullptr, StartIndex);
    ShowLevel(R, PopupByItem, PopupUp);
}

void TspSkinPopupWindow::Show2(TRect R, TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex, bool PopupByItem,
                               bool PopupUp)
{
    CreateMenu(AItem, AItem2, StartIndex);
    ShowLevel(R, PopupByItem, PopupUp);
}

void TspSkinPopupWindow::SetCanvasFont()
{
    TFont* font = Canvas()->Font();
    if (PW && DSMI && ParentMenu->FUseSkinFont) {
        font->SetName(DSMI->FontName);
        font->SetHeight(DSMI->FontHeight);
        font->SetStyle(DSMI->FontStyle);
    } else {
        font->Assign(&ParentMenu->FDefaultMenuItemFont);
    }
}

void TspSkinPopupWindow::AddItems(TMenuItem* AItem, Integer AFrom)
{
    for (Integer i = std::max<Integer>(AFrom, 0); i < AItem->Count(); ++i) {
        TMenuItem* sub = AItem->Items(i);
        if (!sub->Visible() || sub->LineHidden()) continue;
        ItemList.push_back(std::make_unique<TspSkinMenuItem>(this, sub, DSMI));
    }
}

void TspSkinPopupWindow::CreateMenu(TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex)
{
    DSMI = SD ? FindMenuItemRecord(SD) : nullptr;
    SetCanvasFont();
    TMenu* menu = AItem->GetParentMenu();
    if (menu) AItem->RethinkLines();  // redundant separators go first
    ImgL = menu ? menu->Images() : nullptr;
    GlyphWidth = ImgL ? ImgL->Width() + 5 : 16;
    AddItems(AItem, StartIndex);
    if (AItem2) AddItems(AItem2, StartIndex - AItem->Count());
    CalcWindowSize();
    CalcSkinPoints();
    CalcItemRects();
    if (MaskPicture) SetMenuWindowRegion();
}

Integer TspSkinPopupWindow::ItemHeight(TspSkinMenuItem* AItem) const
{
    if (AItem->IsSeparator()) return DSMI ? HeightOfRect(DSMI->DividerRect) : 4;
    return DSMI ? HeightOfRect(DSMI->SkinRect) : ParentMenu->FDefaultMenuItemHeight;
}

void TspSkinPopupWindow::CalcWindowSize()
{
    VisibleStartIndex = 0;
    VisibleCount = ItemCount();
    Scroll = Scroll2 = false;
    const Integer w = CalcWindowWidth();
    Integer h = CalcWindowHeight();
    if (h > HeightOfRect(ParentMenu->WorkArea)) {
        h = HeightOfRect(ParentMenu->WorkArea);
        Scroll = true;
    }
    SetBounds(Left(), Top(), w, h);
}

Integer TspSkinPopupWindow::CalcWindowWidth()
{
    TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(Canvas()->Font());
    Integer t = 0;
    for (const auto& item : ItemList) {
        std::string text = item->MenuItem->Caption();
        if (item->MenuItem->ShortCut() != 0) text += "  " + ShortCutToText(item->MenuItem->ShortCut());
        TRect r = Rect(0, 0, 0, 0);
        DrawText(measure.Canvas()->Handle(), text, &r, DT_CALCRECT | DT_SINGLELINE);
        t = std::max(t, r.Width() + 2);
    }
    const Integer b = t + GlyphWidth + 16;
    if (!PW) return b + 10;
    Integer w = b + PW->ItemsRect.Left + (WindowPicture->Width() - PW->ItemsRect.Right);
    if (DSMI) w += DSMI->TextRct.Left + (WidthOfRect(DSMI->SkinRect) - DSMI->TextRct.Right);
    return w;
}

Integer TspSkinPopupWindow::CalcWindowHeight()
{
    Integer s = 0;
    for (Integer i = VisibleStartIndex; i < VisibleStartIndex + VisibleCount; ++i) s += ItemHeight(Item(i));
    const Integer limit = ParentMenu->MaxMenuItemsInWindow;
    if (limit != 0 && limit < ItemCount()) {
        // Separators count as full items here.
        const Integer m = DSMI ? HeightOfRect(DSMI->SkinRect) : ParentMenu->FDefaultMenuItemHeight;
        const Integer h = m * limit;
        Scroll = Scroll2 = true;
        if (PW) return h + (WindowPicture->Height() - HeightOfRect(PW->ItemsRect)) + 2 * kMarkerHeight;
        return h + 6 + 2 * kMarkerHeight;
    }
    if (PW) return s + PW->ItemsRect.Top + (WindowPicture->Height() - PW->ItemsRect.Bottom);
    return s + 6;
}

void TspSkinPopupWindow::CalcSkinPoints()
{
    if (!PW) {
        NewItemsRect = Rect(3, 3, Width() - 3, Height() - 3);
        return;
    }
    const Integer pwd = WindowPicture->Width(), pht = WindowPicture->Height();
    NewLTPoint = PW->LTPoint;
    NewRTPoint = TPoint{Width() - (pwd - PW->RTPoint.X), PW->RTPoint.Y};
    NewLBPoint = TPoint{PW->LBPoint.X, Height() - (pht - PW->LBPoint.Y)};
    NewRBPoint = TPoint{Width() - (pwd - PW->RBPoint.X), Height() - (pht - PW->RBPoint.Y)};
    NewItemsRect = Rect(PW->ItemsRect.Left, PW->ItemsRect.Top, Width() - (pwd - PW->ItemsRect.Right),
                        Height() - (pht - PW->ItemsRect.Bottom));
}

void TspSkinPopupWindow::SetMenuWindowRegion()
{
    HRGN region = nullptr;
    BuildSkinWindowRegion(region, PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, NewLTPoint,
                          NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, MaskPicture, Width(), Height());
    // The window owns the region from here on and deletes the one it had.
    SetWindowRgn(Handle(), region, TRUE);
    FRgn = region;
}

void TspSkinPopupWindow::CalcItemRects()
{
    Integer top = NewItemsRect.Top, bottom = NewItemsRect.Bottom;
    if (Scroll) {
        top += kMarkerHeight;
        bottom -= kMarkerHeight;
    }
    VisibleCount = 0;
    for (Integer i = VisibleStartIndex; i < ItemCount(); ++i) {
        TspSkinMenuItem* item = Item(i);
        const Integer h = ItemHeight(item);
        item->ObjectRect = Rect(NewItemsRect.Left, top, NewItemsRect.Right, top + h);
        if (top + h > bottom) break;
        item->FVisible = true;
        ++VisibleCount;
        top += h;
    }
    if (!Scroll) return;
    for (Integer i = 0; i < ItemCount(); ++i)
        if (i < VisibleStartIndex || i >= VisibleStartIndex + VisibleCount) Item(i)->FVisible = false;
}

Integer TspSkinPopupWindow::GetLastStartIndex()
{
    const Integer room = (NewItemsRect.Bottom - kMarkerHeight) - (NewItemsRect.Top + kMarkerHeight);
    Integer used = 0, counted = 0;
    for (Integer i = ItemCount() - 1; i >= 0; --i) {
        used += ItemHeight(Item(i));
        if (used > room) break;
        ++counted;
    }
    return ItemCount() - counted;
}

// ---- placing and showing ----

void TspSkinPopupWindow::CalcShowPosition(const TRect& R, bool PopupByItem, bool PopupUp)
{
    const TRect& wa = ParentMenu->WorkArea;
    const Integer w = Width(), h = Height();
    const Integer mid = wa.Top + HeightOfRect(wa) / 2;
    const bool tallerThanWorkArea = Scroll && !Scroll2;
    bool overlap = false;
    Integer y;
    if (tallerThanWorkArea) {
        y = wa.Top;
    } else if (PopupByItem) {
        if (R.Top - NewItemsRect.Top + h <= wa.Bottom) y = R.Top - NewItemsRect.Top;
        else if (R.Top < mid) y = wa.Bottom - h;
        else y = std::max(wa.Top, R.Bottom - h + NewItemsRect.Top);
    } else if (PopupUp) {
        if (R.Top - h >= wa.Top) {
            y = R.Top - h;
        } else if (R.Top < mid) {
            if (R.Bottom + h <= wa.Bottom) {
                y = R.Bottom;
            } else {
                y = wa.Bottom - h;
                overlap = true;
            }
        } else {
            y = wa.Top;
            overlap = true;
        }
    } else if (R.Bottom + h <= wa.Bottom) {
        y = R.Bottom;
    } else if (R.Top < mid) {
        y = wa.Bottom - h;
        overlap = true;
    } else if (R.Top - h >= wa.Top) {
        y = R.Top - h;
    } else {
        y = wa.Top;
        overlap = true;
    }
    Integer x;
    if (PopupByItem || tallerThanWorkArea || overlap) {
        if (R.Right + w + 1 <= wa.Right) x = R.Right + 1;
        // Flipped to the left, but never past the work area's left edge, where its items could not be reached.
        else x = std::max(wa.Left, R.Left - w - 1);
    } else {
        x = R.Left;
        if (R.Left + w > wa.Right) x = wa.Right - w;
        else if (R.Left < wa.Left) x = wa.Left;
    }
    ShowX = x;
    ShowY = y;
}

void TspSkinPopupWindow::ShowLevel(const TRect& R, bool PopupByItem, bool PopupUp)
{
    CalcShowPosition(R, PopupByItem, PopupUp);
    if (PW && PW->CursorIndex != -1) SetCursor(static_cast<TCursor>(SD->StartCursorIndex + PW->CursorIndex));
    SetBounds(ShowX, ShowY, Width(), Height());
    const bool layered = ParentMenu->AlphaBlend && HasSetLayeredWindowAttributes();
    const bool fade = layered && ParentMenu->AlphaBlendAnimation && ParentMenu->FFirst;
    if (layered) {
        SetWindowLong(Handle(), GWL_EXSTYLE, GetWindowLong(Handle(), GWL_EXSTYLE) | WS_EX_LAYERED);
        SetWindowAlpha(Handle(), fade ? 0 : ParentMenu->AlphaBlendValue);
    }
    SetWindowPos(Handle(), HWND_TOPMOST, ShowX, ShowY, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    TControl::SetVisible(true);
    Invalidate();
    if (fade) FadeInByTimer(this, ParentMenu->AlphaBlendValue);
    MouseTimer->SetEnabled(true);
    ActiveItem = -1;
    for (Integer i = 0; i < ItemCount(); ++i) {
        TspSkinMenuItem* item = Item(i);
        if (!item->Selectable()) continue;
        item->WaitCommand = true;
        ActiveItem = i;
        item->MouseEnter(true);
        break;
    }
}

void FadeInByTimer(TWinControl* AWindow, Byte AValue)
{
    // Stepped by a timer rather than a busy wait, so that the clock the timers read drives it.
    const Integer step = std::max<Integer>(AValue / 15, 1);
    auto* fade = new TTimer(AWindow);
    fade->SetInterval(6);
    auto alpha = std::make_shared<Integer>(0);
    fade->SetOnTimer([AWindow, fade, step, alpha, AValue](TObject*) {
        *alpha = std::min<Integer>(*alpha + step, AValue);
        if (AWindow->HandleAllocated()) SetWindowAlpha(AWindow->Handle(), static_cast<Byte>(*alpha));
        if (*alpha >= AValue) fade->SetEnabled(false);
    });
    fade->SetEnabled(true);
}

void TspSkinPopupWindow::Hide()
{
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    MouseTimer->SetEnabled(false);
    TControl::SetVisible(false);
}

void TspSkinPopupWindow::Dismiss()
{
    Hide();
    MorphTimer->SetEnabled(false);
    if (HandleAllocated()) {
        KillTimer(Handle(), kScrollTimer);
        PostMessage(Handle(), CM_RELEASE, 0, 0);
    } else {
        // Nothing can be running inside a window that never had a handle.
        Free();
    }
}

// ---- input ----

void TspSkinPopupWindow::MouseTimerProc(TObject*)
{
    TPoint cursor{};
    GetCursorPos(cursor);
    const TPoint p = ScreenToClient(cursor);
    if (p.X == OMX && p.Y == OMY) return;
    if (WindowFromPoint(cursor) == Handle()) TrackHotItem(p.X, p.Y);
    else if (Scroll && ScrollCode != 0) StopScroll();
    OMX = p.X;
    OMY = p.Y;
}

TRect TspSkinPopupWindow::UpZone() const
{
    return Rect(NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Top + kMarkerHeight);
}

TRect TspSkinPopupWindow::DownZone() const
{
    return Rect(NewItemsRect.Left, NewItemsRect.Bottom - kMarkerHeight, NewItemsRect.Right, NewItemsRect.Bottom);
}

void TspSkinPopupWindow::TrackHotItem(Integer X, Integer Y)
{
    const TPoint p{X, Y};
    if (Scroll) {
        if (PointInsideRect(UpZone(), p) && ScrollCode == 0 && CanScroll(1)) {
            ScrollCode = 1;
            Repaint();
            StartScroll();
        } else if (PointInsideRect(DownZone(), p) && ScrollCode == 0 && CanScroll(2)) {
            ScrollCode = 2;
            Repaint();
            StartScroll();
        } else if (ScrollCode != 0 && !PointInsideRect(UpZone(), p) && !PointInsideRect(DownZone(), p)) {
            StopScroll();
        }
    }
    OldActiveItem = ActiveItem;
    for (Integer i = 0; i < ItemCount(); ++i)
        if (Item(i)->FVisible && PointInsideRect(Item(i)->ObjectRect, p)) {
            ActiveItem = i;
            break;
        }
    if (ActiveItem >= ItemCount()) ActiveItem = -1;
    if (ActiveItem == OldActiveItem) {
        if (ActiveItem == -1) return;
        TspSkinMenuItem* item = Item(ActiveItem);
        if (item->WaitCommand) {
            item->WaitCommand = false;
            if (item->MenuItem->Count() > 0) item->MouseEnter(false);  // starts the sub-menu delay
        }
        return;
    }
    if (OldActiveItem >= 0 && OldActiveItem < ItemCount() && Item(OldActiveItem)->Selectable())
        Item(OldActiveItem)->MouseLeave();
    if (ActiveItem >= 0 && Item(ActiveItem)->Selectable()) Item(ActiveItem)->MouseEnter(false);
}

void TspSkinPopupWindow::MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    TCustomControl::MouseUp(AButton, AShift, AX, AY);
    if (AButton != mbLeft) return;
    TrackHotItem(AX, AY);
    if (ActiveItem == -1) return;
    bool onItem = false;
    for (Integer i = VisibleStartIndex; i < VisibleStartIndex + VisibleCount; ++i)
        onItem = onItem || PointInsideRect(Item(i)->ObjectRect, TPoint{AX, AY});
    TspSkinMenuItem* hot = Item(ActiveItem);
    if (onItem && !hot->IsSeparator()) hot->MouseDown(AX, AY);
}

bool TspSkinPopupWindow::FindHotKeyItem(Integer CharCode)
{
    for (Integer i = 0; i < ItemCount(); ++i) {
        TspSkinMenuItem* item = Item(i);
        if (!IsAccel(static_cast<char32_t>(CharCode), item->MenuItem->Caption())) continue;
        item->MouseEnter(false);
        if (ActiveItem != -1 && ActiveItem != i && ActiveItem < ItemCount()) Item(ActiveItem)->MouseLeave();
        ActiveItem = i;
        // A disabled item is only highlighted.
        item->MouseDown(0, 0);
        return true;
    }
    return false;
}

void TspSkinPopupWindow::PopupKeyDown(Integer CharCode)
{
    if (!Visible() || FindHotKeyItem(CharCode)) return;
    TspSkinMenu* menu = ParentMenu;
    switch (CharCode) {
    case VK_RETURN:
        if (ActiveItem >= 0 && ActiveItem < ItemCount()) Item(ActiveItem)->MouseDown(0, 0);
        break;
    case VK_LEFT:
        if (menu->LevelCount() < 2) break;
        [[fallthrough]];
    case VK_ESCAPE: {
        const Integer count = menu->LevelCount();
        if (count >= 2) {
            TspSkinPopupWindow* below = menu->Level(count - 2);
            if (below->ActiveItem >= 0 && below->ActiveItem < below->ItemCount())
                below->Item(below->ActiveItem)->Down = false;
        }
        menu->CloseLevels(count - 1);
        break;
    }
    case VK_UP: PrevMenuItem(); break;
    case VK_RIGHT:
        if (ActiveItem >= 0 && ActiveItem < ItemCount() && Item(ActiveItem)->MenuItem->Count() > 0)
            Item(ActiveItem)->MouseDown(0, 0);
        break;
    case VK_DOWN: NextMenuItem(); break;
    default: break;
    }
}

void TspSkinPopupWindow::NextMenuItem()
{
    if (ItemCount() == 0) return;
    if (Scroll && ScrollCode == 0 && ActiveItem == VisibleStartIndex + VisibleCount - 1) ScrollDown(true);
    OldActiveItem = ActiveItem;
    const Integer start = ActiveItem < 0 || ActiveItem + 1 >= ItemCount() ? 0 : ActiveItem + 1;
    for (Integer i = start; i < ItemCount(); ++i) {
        if (Item(i)->Selectable()) {
            ActiveItem = i;
            break;
        }
        if (Scroll && i == VisibleStartIndex + VisibleCount - 1) ScrollDown(true);
    }
    if (ActiveItem == OldActiveItem) return;
    Item(ActiveItem)->MouseEnter(true);
    if (OldActiveItem >= 0) Item(OldActiveItem)->MouseLeave();
}

void TspSkinPopupWindow::PrevMenuItem()
{
    if (ItemCount() == 0) return;
    if (Scroll && ScrollCode == 0 && ActiveItem == VisibleStartIndex) ScrollUp(true);
    OldActiveItem = ActiveItem;
    const Integer start = ActiveItem <= 0 ? ItemCount() - 1 : ActiveItem - 1;
    for (Integer i = start; i >= 0; --i) {
        if (Item(i)->Selectable()) {
            ActiveItem = i;
            break;
        }
        if (Scroll && i == VisibleStartIndex) ScrollUp(true);
    }
    if (ActiveItem == OldActiveItem) return;
    Item(ActiveItem)->MouseEnter(true);
    if (OldActiveItem >= 0) Item(OldActiveItem)->MouseLeave();
}

void TspSkinPopupWindow::CloseChildLevels()
{
    const Integer above = ParentMenu->IndexOfLevel(this) + 1;
    if (above < ParentMenu->LevelCount()) ParentMenu->CloseLevels(above);
    for (const auto& item : ItemList)
        if (item->Down) {
            item->Down = false;
            item->RedrawState();
        }
}

// ---- scrolling ----

bool TspSkinPopupWindow::CanScroll(Integer ACode)
{
    if (ACode == 1) return VisibleStartIndex > 0;
    return VisibleStartIndex + VisibleCount - 1 < ItemCount() - 1;
}

void TspSkinPopupWindow::StartScroll()
{
    const Integer above = ParentMenu->IndexOfLevel(this) + 1;
    if (above < ParentMenu->LevelCount()) ParentMenu->CloseLevels(above);
    KillTimer(Handle(), kScrollTimer);
    SetTimer(Handle(), kScrollTimer, 100);
}

void TspSkinPopupWindow::StopScroll()
{
    ScrollCode = 0;
    Repaint();
    if (HandleAllocated()) KillTimer(Handle(), kScrollTimer);
}

void TspSkinPopupWindow::ScrollUp(bool Cycle)
{
    if (VisibleStartIndex > 0) --VisibleStartIndex;
    else if (Cycle) VisibleStartIndex = GetLastStartIndex();
    else return;
    CalcItemRects();
    Repaint();
}

void TspSkinPopupWindow::ScrollDown(bool Cycle)
{
    if (VisibleStartIndex + VisibleCount < ItemCount()) ++VisibleStartIndex;
    else if (Cycle) VisibleStartIndex = 0;
    else return;
    CalcItemRects();
    Repaint();
}

// ---- painting ----

void TspSkinPopupWindow::Paint()
{
    PaintMenu(Canvas()->Handle());
}

void TspSkinPopupWindow::PaintMenu(HDC DC)
{
    if (Width() <= 0 || Height() <= 0) return;
    TBitmap b(Width(), Height());
    CreateMenuWindowImage(&b, Scroll);
    if (PW && DSMI && DSMI->InActiveTransparent) {
        FPaintBuffer = std::make_unique<TBitmap>(Width(), Height());
        CreateMenuWindowImage(FPaintBuffer.get(), true);
    }
    for (Integer i = VisibleStartIndex; i < VisibleStartIndex + VisibleCount && i < ItemCount(); ++i)
        Item(i)->Draw(b.Canvas());
    if (Scroll) {
        DrawScrollMarkers(b.Canvas());
        if (PW && VisibleCount > 0) {
            const Integer gapTop = Item(VisibleStartIndex + VisibleCount - 1)->ObjectRect.Bottom;
            const Integer gapBottom = DownZone().Top;
            if (gapBottom > gapTop)
                DrawItemBackground(b.Canvas(), Rect(NewItemsRect.Left, gapTop, NewItemsRect.Right, gapBottom));
        }
    }
    BitBlt(DC, 0, 0, Width(), Height(), b.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TspSkinPopupWindow::CreateMenuWindowImage(TBitmap* B, bool DrawClient)
{
    B->SetSize(Width(), Height());
    TCanvas* c = B->Canvas();
    if (PW) {
        ComposeWindowSkinImage(PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, NewLTPoint,
                               NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, B, WindowPicture,
                               Rect(0, 0, WindowPicture->Width(), WindowPicture->Height()), Width(), Height(),
                               DrawClient, PW->LeftStretch, PW->TopStretch, PW->RightStretch, PW->BottomStretch,
                               PW->StretchEffect, PW->StretchType);
        return;
    }
    const Integer column = ImgL ? GlyphWidth + 3 : 22;
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(Rect(0, 0, column, Height()));
    c->Brush()->SetColor(clWindow);
    c->FillRect(Rect(column, 0, Width(), Height()));
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(Rect(0, 0, Width(), Height()));
    c->Brush()->SetColor(clWindow);
    c->FrameRect(Rect(1, 1, Width() - 1, Height() - 1));
}

void TspSkinPopupWindow::DrawScrollMarkers(TCanvas* Cnvs)
{
    if (PW) {
        const TRect up = UpZone(), down = DownZone();
        DrawItemBackground(Cnvs, up);
        DrawItemBackground(Cnvs, down);
        DrawArrowGlyph(Cnvs, up, ScrollCode == 1 ? PW->ScrollMarkerActiveColor : PW->ScrollMarkerColor, 3);
        DrawArrowGlyph(Cnvs, down, ScrollCode == 2 ? PW->ScrollMarkerActiveColor : PW->ScrollMarkerColor, 4);
        return;
    }
    DrawArrowGlyph(Cnvs, Rect(3, 3, Width() - 3, 13), ScrollCode == 1 ? clBtnText : clBtnShadow, 3);
    DrawArrowGlyph(Cnvs, Rect(3, Height() - 10, Width() - 3, Height() - 3), ScrollCode == 2 ? clBtnText : clBtnShadow,
                   4);
}

void TspSkinPopupWindow::DrawItemBackground(TCanvas* Cnvs, const TRect& R)
{
    if (!SD || !DSMI) return;
    if (DSMI->InActiveTransparent && FPaintBuffer) {
        Cnvs->CopyRect(R, FPaintBuffer->Canvas(), R);
        return;
    }
    TBitmap* picture = SD->ActivePicture(DSMI->ActivePictureIndex);
    if (!picture || IsEmptyRect(DSMI->SkinRect)) return;
    TBitmap strip;
    BuildHStripImage(DSMI->ItemLO, DSMI->ItemRO, &strip, picture, DSMI->SkinRect, WidthOfRect(R), 0,
                     DSMI->InActiveStretchEffect);
    const Integer h = std::min(HeightOfRect(R), strip.Height());
    Cnvs->CopyRect(Rect(R.Left, R.Top, R.Right, R.Top + h), strip.Canvas(), Rect(0, 0, WidthOfRect(R), h));
}

void TspSkinPopupWindow::DrawItemNow(TspSkinMenuItem* AItem)
{
    if (!HandleAllocated() || !Visible() || !AItem->FVisible) return;
    HDC dc = GetDC(Handle());
    TCanvas canvas;
    canvas.SetHandle(dc);
    AItem->Draw(&canvas);
    canvas.SetHandle(nullptr);
    ReleaseDC(Handle(), dc);
}

void TspSkinPopupWindow::MorphTimerProc(TObject*)
{
    if (!PW) {
        MorphTimer->SetEnabled(false);
        return;
    }
    bool changed = false;
    for (const auto& item : ItemList) {
        if (item->EnableMorphing() && item->CanMorphing()) {
            item->DoMorphing();
            changed = true;
        } else if (item->EnableAnimation()) {
            if (item->Active && item->CurrentFrame <= item->MI->FrameCount) {
                ++item->CurrentFrame;
                DrawItemNow(item.get());
                changed = true;
            } else if (!item->Active && item->CurrentFrame > 0) {
                --item->CurrentFrame;
                DrawItemNow(item.get());
                changed = true;
            }
        }
    }
    if (!changed) MorphTimer->SetEnabled(false);
}
