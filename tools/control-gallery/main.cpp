// control-gallery: draws every skinned control in its states (normal, hot, pressed, focused, disabled) on a
// headless screen, in the plain look and, given a skin folder, in that skin, and writes one PNG sheet per look.
// Skin-picture controls are shown at two sizes, to show stretching and tiling.
//   control-gallery <output folder> [skin folder]
// A skin without a record under a control's own name (the generated test skin names its records "ctl_<kind>")
// lends the control its first record of the right class.
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend/headless/headless_backend.h"
#include "platform/gui/application.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/forms.h"
#include "platform/rtl/clock.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"
#include "skin/controls/menu_button.h"
#include "skin/controls/menu_speed_button.h"
#include "skin/controls/push_button.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/speed_button.h"
#include "skin/controls/up_down.h"
#include "skin/core/skin_data.h"
#include "tools/control-gallery/menu_sheet.h"

namespace {

// Opens nothing visible but keeps a menu button tracked, as an open menu does.
class TGalleryMenu : public TspTrackMenu {
public:
    bool PopupFromRect(TControl*, const TRect&) override { return true; }
};
TGalleryMenu GalleryMenu;

// A two-frame glyph strip (normal, disabled): a small blue square on a magenta key colour.
TBitmap* GalleryGlyph()
{
    static TBitmap glyph(32, 16, pf24bit);
    static bool made = false;
    if (!made) {
        TCanvas* c = glyph.Canvas();
        c->Brush()->SetColor(static_cast<TColor>(0xFF00FF));
        c->FillRect(Rect(0, 0, 32, 16));
        c->Brush()->SetColor(static_cast<TColor>(0xC06020));
        c->FillRect(Rect(3, 3, 13, 13));
        c->Brush()->SetColor(static_cast<TColor>(0x909090));
        c->FillRect(Rect(19, 3, 29, 13));
        made = true;
    }
    return &glyph;
}

enum TState { stNormal, stHot, stPressed, stFocused, stDisabled, stCount };
const char* const kStateNames[stCount] = {"normal", "hot", "pressed", "focused", "disabled"};

// One row of a sheet: how to make the control, where its hot and pressed part is.
struct TGalleryRow {
    std::string Caption;
    std::function<TControl*(TForm*)> Make;
    TPoint Part;  // in control coordinates
};

class TGallery {
public:
    TGallery() : FClockScope(FClock)
    {
        win::SetBackend(&FDisplay);
        FApp = std::make_unique<TApplication>(nullptr);
        FForm = new TForm(FApp.get());
        FForm->SetBorderStyle(bsNone);
        FForm->SetBoundsRect(Bounds(0, 0, 800, 600));
        FForm->SetColor(static_cast<TColor>(0x606060));
        FForm->Show();
        Pump();
    }
    ~TGallery()
    {
        FApp.reset();
        Pump();
        win::SetBackend(nullptr);
    }

    TspSkinData* LoadSkin(const std::string& AFolder)
    {
        FSkin = new TspSkinData(FApp.get());
        FSkin->LoadFromFile(IncludeTrailingPathDelimiter(AFolder) + "skin.ini");
        return FSkin;
    }

    // The name a control should use in the loaded skin: its own when the skin has it, else the first record
    // of the class the control reads.
    template <typename TRecord>
    std::string NameFor(const std::string& AOwnName)
    {
        if (!FSkin || FSkin->GetControlIndex(AOwnName) >= 0) return AOwnName;
        for (const auto& record : FSkin->CtrlList)
            if (dynamic_cast<TRecord*>(record.get())) {
                std::printf("  %s: using the skin's \"%s\"\n", AOwnName.c_str(), record->IDName.c_str());
                return record->IDName;
            }
        return AOwnName;
    }

    bool WriteSheet(const std::vector<TGalleryRow>& ARows, TspSkinData* ASkin, const std::string& AFile)
    {
        constexpr Integer labelWidth = 150, cellWidth = 270, margin = 12;
        std::vector<std::vector<TBitmap*>> shots;
        Integer height = 30;
        std::vector<Integer> rowHeights;
        for (const TGalleryRow& row : ARows) {
            shots.emplace_back();
            Integer rowHeight = 0;
            for (int s = 0; s < stCount; ++s) {
                shots.back().push_back(Shoot(row, ASkin, static_cast<TState>(s)));
                rowHeight = std::max(rowHeight, shots.back().back()->Height());
            }
            rowHeights.push_back(rowHeight + 2 * margin);
            height += rowHeights.back();
        }
        TBitmap sheet(labelWidth + stCount * cellWidth, height, pf24bit);
        TCanvas* c = sheet.Canvas();
        c->Brush()->SetColor(static_cast<TColor>(0x606060));
        c->FillRect(Rect(0, 0, sheet.Width(), sheet.Height()));
        c->Font()->SetName("DejaVu Sans");
        c->Font()->SetHeight(-12);
        c->Font()->SetColor(clWhite);
        c->Brush()->SetStyle(bsClear);
        for (int s = 0; s < stCount; ++s) c->TextOut(labelWidth + s * cellWidth + margin, 8, kStateNames[s]);
        Integer y = 30;
        for (size_t r = 0; r < ARows.size(); ++r) {
            c->TextOut(8, y + margin, ARows[r].Caption);
            for (int s = 0; s < stCount; ++s) {
                c->Draw(labelWidth + s * cellWidth + margin, y + margin, shots[r][s]);
                delete shots[r][s];
            }
            y += rowHeights[r];
        }
        return Save(sheet, AFile);
    }

private:
    void Pump()
    {
        if (FApp)
            FApp->ProcessMessages();
        else
            headless::THeadlessBackend::ProcessMessages();
    }

    // Makes the control, puts it in the state, and copies what reached the screen.
    TBitmap* Shoot(const TGalleryRow& ARow, TspSkinData* ASkin, TState AState)
    {
        TControl* control = ARow.Make(FForm);
        control->SetParent(FForm);
        control->SetLeft(20);
        control->SetTop(20);
        if (auto* windowed = dynamic_cast<TspSkinControl*>(control); windowed && ASkin) windowed->SetSkinData(ASkin);
        if (auto* windowless = dynamic_cast<TspGraphicSkinControl*>(control); windowless && ASkin)
            windowless->SetSkinData(ASkin);
        if (auto* bar = dynamic_cast<TspSkinScrollBar*>(control); bar && AState == stFocused) bar->SetCanFocused(true);
        Pump();
        const TPoint part = control->ClientToScreen(ARow.Part);
        const TPoint away{700, 550};
        FDisplay.MoveMouse(away);
        Pump();
        switch (AState) {
        case stHot: FDisplay.MoveMouse(part); break;
        case stPressed:
            FDisplay.MoveMouse(part);
            Pump();
            FDisplay.PressButton(part);
            break;
        case stFocused:
            if (auto* focusable = dynamic_cast<TWinControl*>(control)) focusable->SetFocus();
            break;
        case stDisabled: control->SetEnabled(false); break;
        default: break;
        }
        Pump();
        control->Repaint();
        Pump();
        auto* shot = Capture(control);
        if (AState == stPressed) {
            FDisplay.ReleaseButton(away);
            Pump();
        }
        delete control;
        Pump();
        return shot;
    }

    TBitmap* Capture(TControl* AControl)
    {
        const auto screen = FDisplay.ComposeScreen();
        const TPoint origin = AControl->ClientToScreen({0, 0});
        auto* shot = new TBitmap(AControl->Width(), AControl->Height(), pf24bit);
        for (Integer y = 0; y < shot->Height(); ++y)
            for (Integer x = 0; x < shot->Width(); ++x) {
                const uint32_t argb =
                    screen[static_cast<size_t>(origin.Y + y) * FDisplay.ScreenSize().cx + origin.X + x];
                shot->Canvas()->SetPixels(
                    x, y, static_cast<TColor>(((argb & 0xFF) << 16) | (argb & 0xFF00) | ((argb >> 16) & 0xFF)));
            }
        return shot;
    }

    static bool Save(TBitmap& ABitmap, const std::string& AFile)
    {
        std::vector<uint32_t> pixels(static_cast<size_t>(ABitmap.Width()) * ABitmap.Height());
        for (Integer y = 0; y < ABitmap.Height(); ++y)
            for (Integer x = 0; x < ABitmap.Width(); ++x)
                pixels[static_cast<size_t>(y) * ABitmap.Width() + x] =
                    0xFF000000u | PixelOfColor(ABitmap.Canvas()->Pixels(x, y));
        const bool ok = headless::WritePng(AFile, pixels.data(), ABitmap.Width(), ABitmap.Height());
        std::printf("%s %s\n", ok ? "wrote" : "could not write", AFile.c_str());
        return ok;
    }

    TVirtualClock FClock{int64_t(1) << 32};
    TClockOverride FClockScope;
    headless::THeadlessBackend FDisplay{TSize{800, 600}};
    std::unique_ptr<TApplication> FApp;
    TForm* FForm = nullptr;
    TspSkinData* FSkin = nullptr;
};

std::vector<TGalleryRow> Rows(TGallery& AGallery)
{
    const std::string hbar = AGallery.NameFor<TspDataSkinScrollBarControl>("hscrollbar");
    const std::string vbar = AGallery.NameFor<TspDataSkinScrollBarControl>("vscrollbar");
    const std::string hupdown = AGallery.NameFor<TspDataSkinUpDownControl>("hupdown");
    const std::string vupdown = AGallery.NameFor<TspDataSkinUpDownControl>("vupdown");
    // A button frame shows how the nine pieces stretch or tile.
    const std::string picture = AGallery.NameFor<TspDataSkinButtonControl>("button");
    auto bar = [](const std::string& AName, TScrollBarKind AKind, Integer AW, Integer AH, Integer APage) {
        return [=](TForm* AForm) -> TspSkinCustomControl* {
            auto* b = new TspSkinScrollBar(AForm);
            b->SetKind(AKind);
            b->SetSkinDataName(AName);
            b->SetBounds(0, 0, AW, AH);
            b->SetRange(0, 100, 30, APage);
            return b;
        };
    };
    auto upDown = [](const std::string& AName, TUDOrientation AOrientation, bool AInteger) {
        return [=](TForm* AForm) -> TspSkinCustomControl* {
            TspSkinUpDownBase* u = AInteger ? static_cast<TspSkinUpDownBase*>(new TspSkinIntUpDown(AForm))
                                            : new TspSkinUpDown(AForm);
            u->SetOrientation(AOrientation);
            u->SetSkinDataName(AName);
            u->SetBounds(0, 0, AOrientation == udHorizontal ? 40 : 20, AOrientation == udHorizontal ? 20 : 40);
            return u;
        };
    };
    auto pictureControl = [=](Integer AW, Integer AH) {
        return [=](TForm* AForm) -> TspSkinCustomControl* {
            auto* p = new TspSkinCustomControl(AForm);
            p->SetSkinDataName(picture);
            p->SetBounds(0, 0, AW, AH);
            return p;
        };
    };
    auto push = [](const std::string& ACaption, bool AGlyph, Integer AW, Integer AH) {
        return [=](TForm* AForm) -> TControl* {
            auto* b = new TspSkinButton(AForm);
            b->SetCaption(ACaption);
            if (AGlyph) {
                b->SetGlyph(GalleryGlyph());
                b->SetNumGlyphs(2);
            }
            b->SetBounds(0, 0, AW, AH);
            return b;
        };
    };
    auto menuButton = [](bool ATrack) {
        return [=](TForm* AForm) -> TControl* {
            auto* b = new TspSkinMenuButton(AForm);
            b->SetCaption("Camera");
            b->SetTrackButtonMode(ATrack);
            b->SetSkinPopupMenu(&GalleryMenu);
            if (ATrack) b->SetSkinDataName("toolmenutrackbutton");
            b->SetBounds(0, 0, 90, 25);
            return b;
        };
    };
    auto speed = [](const std::string& ACaption, bool AFlat) {
        return [=](TForm* AForm) -> TControl* {
            auto* b = new TspSkinSpeedButton(AForm);
            b->SetCaption(ACaption);
            b->SetGlyph(GalleryGlyph());
            b->SetNumGlyphs(2);
            b->SetFlat(AFlat);
            b->SetBounds(0, 0, 70, 25);
            return b;
        };
    };
    auto menuSpeed = [](bool ANewStyle) {
        return [=](TForm* AForm) -> TControl* {
            auto* b = new TspSkinMenuSpeedButton(AForm);
            b->SetCaption("View");
            b->SetSkinPopupMenu(&GalleryMenu);
            b->SetTrackButtonMode(true);
            if (ANewStyle) {
                b->SetNewStyle(true);
                b->SetTrackPosition(sptpBottom);
            }
            b->SetBounds(0, 0, 60, ANewStyle ? 40 : 25);
            return b;
        };
    };
    return {
        {"push button", push("Convert", false, 75, 25), {30, 12}},
        {"push button, glyph", push("Add files", true, 110, 30), {30, 12}},
        {"menu button", menuButton(false), {30, 12}},
        {"menu button, track", menuButton(true), {85, 12}},
        {"speed button", speed("Trim", false), {30, 12}},
        {"speed button, flat", speed("Trim", true), {30, 12}},
        {"menu speed button", menuSpeed(false), {55, 12}},
        {"menu speed, new style", menuSpeed(true), {30, 35}},
        {"scroll bar", bar(hbar, sbHorizontal, 200, 19, 0), {190, 9}},
        {"scroll bar, page 40", bar(hbar, sbHorizontal, 240, 19, 40), {100, 9}},
        {"vertical bar", bar(vbar, sbVertical, 19, 120, 0), {9, 110}},
        {"up-down", upDown(hupdown, udHorizontal, false), {30, 10}},
        {"up-down, vertical", upDown(vupdown, udVertical, false), {10, 8}},
        {"integer up-down", upDown(hupdown, udHorizontal, true), {30, 10}},
        {"picture, small", pictureControl(60, 40), {10, 10}},
        {"picture, large", pictureControl(240, 110), {10, 10}},
    };
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: control-gallery <output folder> [skin folder]\n");
        return 2;
    }
    try {
        const std::string out = IncludeTrailingPathDelimiter(argv[1]);
        ForceDirectories(out);
        bool ok = true;
        {
            TGallery gallery;
            ok = gallery.WriteSheet(Rows(gallery), nullptr, out + "gallery-plain.png");
            if (argc == 3) {
                TspSkinData* skin = gallery.LoadSkin(argv[2]);
                ok = gallery.WriteSheet(Rows(gallery), skin, out + "gallery-skin.png") && ok;
            }
        }
        // Skinned menus: on a screen of their own, once the gallery's has gone.
        ok = WriteMenuSheets(out, argc == 3 ? argv[2] : "") && ok;
        return ok ? 0 : 1;
    } catch (const Exception& e) {
        std::fprintf(stderr, "control-gallery: %s\n", e.what());
        return 1;
    }
}
