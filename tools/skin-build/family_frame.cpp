// The skinned frame: form picture (active and inactive), its rounded-corner mask, the caption text and the
// caption buttons with their hot, pressed and inactive looks.
#include <cmath>

#include "skin_builder.h"

namespace {

enum class TGlyph { Close, Maximize, Restore, Minimize };

void DrawGlyph(TRaster& ARaster, const TRect& ACell, TGlyph AGlyph, uint32_t AColour)
{
    const float cx = (ACell.Left + ACell.Right) / 2.0f, cy = (ACell.Top + ACell.Bottom) / 2.0f;
    const TPaint ink = TPaint::Flat(AColour);
    constexpr float s = 4.5f, w = 1.4f;
    switch (AGlyph) {
    case TGlyph::Close:
        ARaster.Line(cx - s, cy - s, cx + s, cy + s, w, ink);
        ARaster.Line(cx - s, cy + s, cx + s, cy - s, w, ink);
        break;
    case TGlyph::Maximize: ARaster.RoundFrame(cx - s, cy - s, cx + s, cy + s, 1.5f, w, ink); break;
    case TGlyph::Restore:
        ARaster.RoundFrame(cx - s, cy - s + 2, cx + s - 2, cy + s, 1.5f, w, ink);
        ARaster.Polyline({{cx - s + 2, cy - s + 1}, {cx + s - 0.5f, cy - s + 1}, {cx + s - 0.5f, cy + s - 2}}, w, ink);
        break;
    case TGlyph::Minimize: ARaster.Line(cx - s, cy + 0.5f, cx + s, cy + 0.5f, w, ink); break;
    }
}

// Black inside the rounded outline, white outside: the window region keeps the black pixels.
std::unique_ptr<TRaster> DrawMask(int AWidth, int AHeight, int ARadius)
{
    auto mask = std::make_unique<TRaster>(AWidth, AHeight, 0xFFFFFF, 255);
    for (int y = 0; y < AHeight; ++y) {
        const int fromEdge = std::min(y, AHeight - 1 - y);
        int inset = 0;
        if (fromEdge < ARadius) {
            const float dy = ARadius - fromEdge - 0.5f;
            inset = int(std::lround(ARadius - std::sqrt(std::max(0.0f, float(ARadius * ARadius) - dy * dy))));
        }
        mask->Fill(inset, y, AWidth - inset, y + 1, 0x000000);
    }
    return mask;
}

}  // namespace

void BuildFrame(TSkinBuilder& B)
{
    const int W = B.Metric("frame_width"), H = B.Metric("frame_height"), bw = B.Metric("frame_border");
    const int ch = B.Metric("caption_height"), radius = B.Metric("frame_radius");
    const int bwid = B.Metric("caption_button_width"), bhei = B.Metric("caption_button_height");
    TspSkinData& s = B.Skin;

    // Caption buttons from the right: close, maximize, minimize; the system-menu button at the left.
    const int by = (ch - 2 - bhei) / 2;
    const TRect close = Rect(W - 6 - bwid, by, W - 6, by + bhei);
    const TRect maximize = Offset(close, -(bwid + 2), 0), minimize = Offset(maximize, -(bwid + 2), 0);
    const TRect sysmenu = Rect(8, (ch - 2 - 18) / 2, 26, (ch - 2 - 18) / 2 + 18);

    auto drawForm = [&](bool AActive) {
        const uint32_t chrome = B.Rgb(AActive ? "caption" : "caption_inactive");
        const uint32_t glyph = B.Rgb(AActive ? "caption_text" : "caption_inactive_text");
        auto picture = std::make_unique<TRaster>(W, H, chrome, 255);
        picture->RoundFrame(0, 0, W, H, radius, 1, TPaint::Flat(B.Rgb(AActive ? "caption_edge" : "caption_inactive_edge")));
        picture->Fill(bw, ch, W - bw, H - bw, B.Rgb("window"));
        // The accent line under the caption is what marks the active window from across the screen.
        picture->Fill(bw, ch - 2, W - bw, ch, B.Rgb(AActive ? "accent" : "caption_inactive_edge"));
        // The caption buttons are pictures of their own (below): a form without a button shows plain caption.
        (void)glyph;
        return picture;
    };
    B.FormPicture = drawForm(true);
    B.FormInactivePicture = drawForm(false);
    B.FormMask = DrawMask(W, H, radius);
    s.FPictureName = "form.bmp";
    s.FInActivePictureName = "forminactive.bmp";
    s.FMaskName = "formmask.bmp";

    // The left corner holds the system button and the start of the caption, the right one the caption buttons;
    // the bands between them stretch with the window.
    s.ClRect = Rect(bw, ch, W - bw, H - bw);
    s.LTPoint = {64, ch + 8};
    s.RTPoint = {minimize.Left - 12, ch + 8};
    s.LBPoint = {64, H - 12};
    s.RBPoint = {minimize.Left - 12, H - 12};
    s.LeftStretch = s.TopStretch = s.RightStretch = s.BottomStretch = true;
    s.StretchEffect = true;
    s.StretchType = spstFull;
    s.ButtonsRect = Rect(minimize.Left, close.Top, close.Right, close.Bottom);
    // The system button is placed at the caption's left end, the caption text beside it.
    s.CaptionRect = Rect(sysmenu.Left, 0, minimize.Left - 2, ch - 2);
    s.ButtonsOffset = 2;
    s.MaskRectArea = Rect(radius, radius, W - radius, H - radius);
    s.HitTestLTPoint = s.LTPoint, s.HitTestRTPoint = s.RTPoint, s.HitTestLBPoint = s.LBPoint;
    s.HitTestRBPoint = s.RBPoint;
    s.IconRect = sysmenu;
    s.BorderW = bw;
    s.FormMinWidth = 240;
    s.FormMinHeight = 140;
    s.StatusBarName = "statusbar";
    s.AddSkinArea("mainmenubararea", Rect(bw, ch, W - bw, ch + 22));
    s.AddSkinArea("videoplayerarea", Rect(bw + 8, ch + 30, W / 2, H - bw - 8));

    auto& caption = B.Object<TspDataSkinCaption>("caption");
    caption.SkinRect = Rect(s.CaptionRect.Left, 0, s.CaptionRect.Right, ch - 2);
    caption.TextRct = Rect(2, 0, caption.SkinRect.Right - caption.SkinRect.Left, ch - 2);
    caption.DefaultCaption = true;
    caption.FontName = B.Font();
    caption.FontHeight = B.Style.FontHeight("caption_height");
    caption.FontStyle.Include(fsBold);
    caption.FontColor = B.Col("caption_inactive_text");
    caption.ActiveFontColor = B.Col("caption_text");
    caption.Alignment = taLeftJustify;

    // The buttons' other looks live in a sheet of their own, each cell the button's size.
    const int sheet = B.AddSheet("captionbuttons.bmp", 4 * (bwid + 2), B.Rgb("caption"));
    TRaster& parts = B.Sheet(sheet);
    struct TLook {
        uint32_t Fill, Glyph;
    };
    const TLook hot{B.Rgb("caption_button_hot"), B.Rgb("caption_text")};
    const TLook down{B.Rgb("caption_button_down"), B.Rgb("caption_text")};
    const TLook closeHot{B.Rgb("accent_hot"), B.Rgb("on_accent")};
    const TLook closeDown{B.Rgb("accent_down"), B.Rgb("on_accent")};
    const TLook inactive{B.Rgb("caption_inactive"), B.Rgb("caption_inactive_text")};
    const TLook normal{B.Rgb("caption"), B.Rgb("caption_text")};
    auto cell = [&](TGlyph AGlyph, const TLook& ALook, bool APlate) {
        const TRect r = B.Place(sheet, bwid, bhei);
        FillCell(parts, r, APlate ? B.Rgb("caption") : ALook.Fill);
        if (APlate) DrawBox(parts, r, 0, 4, ALook.Fill, 0, 0);
        DrawGlyph(parts, r, AGlyph, ALook.Glyph);
        return r;
    };
    auto button = [&](const char* AName, const TRect& APlace, TGlyph AGlyph, TStdCommand ACommand, const char* AHint,
                      const TLook& AHot, const TLook& ADown) -> TspDataSkinStdButton& {
        auto& b = B.Object<TspDataSkinStdButton>(AName);
        (void)APlace;
        b.ActivePictureIndex = sheet;
        // In a picture of its own, so that a button the form's border icons leave out is not drawn at all.
        b.SkinRectInAPicture = true;
        b.SkinRect = cell(AGlyph, normal, false);
        b.ActiveSkinRect = cell(AGlyph, AHot, true);
        b.DownRect = cell(AGlyph, ADown, true);
        b.InActiveSkinRect = cell(AGlyph, inactive, false);
        b.Command = ACommand;
        b.Hint = AHint;
        b.Morphing = true;
        B.NextRow(sheet);
        return b;
    };
    button("closebutton", close, TGlyph::Close, cmClose, "Close", closeHot, closeDown);
    auto& max = button("maxbutton", maximize, TGlyph::Maximize, cmMaximize, "Maximize", hot, down);
    max.RestoreRect = cell(TGlyph::Restore, normal, false);
    max.RestoreActiveRect = cell(TGlyph::Restore, hot, true);
    max.RestoreDownRect = cell(TGlyph::Restore, down, true);
    max.RestoreInActiveRect = cell(TGlyph::Restore, inactive, false);
    max.RestoreHint = "Restore";
    B.NextRow(sheet);
    button("minbutton", minimize, TGlyph::Minimize, cmMinimize, "Minimize", hot, down);
    auto& sys = B.Object<TspDataSkinStdButton>("sysmenubutton");
    const TRect disc = B.Place(sheet, sysmenu.Width(), sysmenu.Height());
    FillCell(parts, disc, B.Rgb("caption"));
    parts.Disc((disc.Left + disc.Right) / 2.0f, (disc.Top + disc.Bottom) / 2.0f, 7, TPaint::Flat(B.Rgb("accent")));
    DrawTriangle(parts, (disc.Left + disc.Right) / 2.0f + 1, (disc.Top + disc.Bottom) / 2.0f, 7, TDirection::Right,
                 B.Rgb("on_accent"));
    B.NextRow(sheet);
    sys.ActivePictureIndex = sheet;
    sys.SkinRectInAPicture = true;
    sys.SkinRect = disc;
    sys.Command = cmSysMenu;
    sys.Hint = "System menu";
}
