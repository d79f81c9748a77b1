// The scroll bar's two looks: parts composed from the skin picture, or the plain palette with black arrows.
#include "platform/gui/bitmap.h"
#include "skin/controls/plain_look.h"
#include "skin/controls/scroll_bar.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_strips.h"

namespace {

constexpr Integer kArrowLeft = 1, kArrowRight = 2, kArrowUp = 3, kArrowDown = 4;

}  // namespace

bool TspSkinScrollBar::ThumbPressedLook()
{
    return Buttons[kThumb].Down || (FCanFocused && Focused());
}

void TspSkinScrollBar::DrawUnskinnedImage(TBitmap* B)
{
    ComputeLayout();
    TCanvas* c = B->Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(Rect(0, 0, Width(), Height()));
    if (Enabled()) {
        const TPart& thumb = Buttons[kThumb];
        const TspPartLook look = ThumbPressedLook() ? TspPartLook::Pressed : PartLookOf(thumb.Down, thumb.MouseIn);
        DrawPlainPart(c, thumb.R, look);
    }
    const bool horizontal = FKind == sbHorizontal;
    const TPart& up = Buttons[kUpButton];
    const TPart& down = Buttons[kDownButton];
    DrawPlainArrowButton(c, up.R, PartLookOf(up.Down, up.MouseIn), horizontal ? kArrowRight : kArrowDown);
    DrawPlainArrowButton(c, down.R, PartLookOf(down.Down, down.MouseIn), horizontal ? kArrowLeft : kArrowUp);
}

void TspSkinScrollBar::DrawSkinnedImage(TBitmap* B)
{
    if (!FHasRecord) {
        DrawUnskinnedImage(B);
        return;
    }
    TspSkinCustomControl::DrawSkinnedImage(B);
    ComputeLayout();
    DrawSkinnedArrow(B->Canvas(), kUpButton);
    DrawSkinnedArrow(B->Canvas(), kDownButton);
    if (Enabled()) DrawSkinnedThumb(B);
}

void TspSkinScrollBar::DrawSkinnedArrow(TCanvas* ACanvas, Integer APart)
{
    const TPart& part = Buttons[APart];
    const bool up = APart == kUpButton;
    TRect source;
    if (part.Down && part.MouseIn)
        source = up ? DownUpButtonRect : DownDownButtonRect;
    else if (part.MouseIn)
        source = up ? ActiveUpButtonRect : ActiveDownButtonRect;
    else
        return;  // the composed picture already shows the normal state
    if (IsEmptyRect(source) || !Picture) return;
    ACanvas->CopyRect(part.R, Picture->Canvas(), source);
}

void TspSkinScrollBar::DrawSkinnedThumb(TBitmap* B)
{
    const TPart& thumb = Buttons[kThumb];
    if (!Picture || IsEmptyRect(thumb.R)) return;
    const bool pressed = ThumbPressedLook();
    const TRect state = pressed ? DownThumbRect : thumb.MouseIn ? ActiveThumbRect : FSkinParts.ThumbRect;
    const TRect glyph = pressed ? DownGlyphRect : thumb.MouseIn ? ActiveGlyphRect : GlyphRect;
    const Integer w = thumb.R.Width(), h = thumb.R.Height();
    TBitmap image(w, h);
    if (FPageSize == 0 && FSkinParts.ThumbMinPageSize == 0)
        image.Canvas()->CopyRect(Rect(0, 0, w, h), Picture->Canvas(), state);
    else if (FKind == sbHorizontal)
        BuildHStripImage(ThumbOffset1, ThumbOffset2, &image, Picture, state, w, h, ThumbStretchEffect);
    else
        BuildVStripImage(ThumbOffset1, ThumbOffset2, &image, Picture, state, w, h, ThumbStretchEffect);
    if (!IsEmptyRect(glyph)) {
        TBitmap g(glyph.Width(), glyph.Height());
        g.Canvas()->CopyRect(Rect(0, 0, glyph.Width(), glyph.Height()), Picture->Canvas(), glyph);
        if (GlyphTransparent) {
            g.SetTransparentColor(GlyphTransparentColor);
            g.SetTransparent(true);
        }
        image.Canvas()->Draw(image.Width() / 2 - g.Width() / 2, image.Height() / 2 - g.Height() / 2, &g);
    }
    if (FAlphaBlend) {
        TBitmap beneath(image.Width(), image.Height());
        beneath.Canvas()->CopyRect(Rect(0, 0, image.Width(), image.Height()), B->Canvas(),
                                   Bounds(thumb.R.Left, thumb.R.Top, image.Width(), image.Height()));
        auto own = TspEffectBmp::CreateFromhWnd(image.Handle());
        auto behind = TspEffectBmp::CreateFromhWnd(beneath.Handle());
        own->Morph(*behind, 1.0 - FAlphaBlendValue / 255.0);
        own->Draw(image.Canvas()->Handle(), 0, 0);
    }
    if (ThumbTransparent) {
        image.SetTransparentColor(ThumbTransparentColor);
        image.SetTransparent(true);
    }
    B->Canvas()->Draw(thumb.R.Left, thumb.R.Top, &image);
}
