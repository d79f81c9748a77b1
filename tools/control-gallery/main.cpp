// control-gallery: draws every skinned control in its states (normal, hot, pressed, focused, disabled) on a
// headless screen, in the plain look and, given a skin folder, in that skin, and writes one PNG sheet per look.
// Skin-picture controls are shown at two sizes, to show stretching and tiling. The containers (panels, status
// bar, notebook, tool bar) get sheets of their own, as do the labels, check and radio boxes, gauges, track bars
// and the radio group, and the push button's frame animation one tick by tick.
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
#include "skin/controls/group_box.h"
#include "skin/controls/paint_panel.h"
#include "skin/controls/notebook.h"
#include "skin/controls/panel.h"
#include "skin/controls/status_bar.h"
#include "skin/controls/tool_bar.h"
#include "skin/controls/push_button.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/skin_edit.h"
#include "skin/controls/skin_memo.h"
#include "skin/controls/spin_edit.h"
#include "skin/controls/time_edit.h"
#include "skin/controls/speed_button.h"
#include "skin/controls/up_down.h"
// Labels, check and radio boxes, gauge, track bar, radio group.
#include "skin/controls/bevel.h"
#include "skin/controls/button_label.h"
#include "skin/controls/check_radio_box.h"
#include "skin/controls/gauge.h"
#include "skin/controls/label_box.h"
#include "skin/controls/link_label.h"
#include "skin/controls/radio_group.h"
#include "skin/controls/std_label.h"
#include "skin/controls/text_label.h"
#include "skin/controls/track_bar.h"
// Lists, combo boxes, tree and list views.
#include "platform/gui/ext_controls.h"
#include "skin/controls/combo_box.h"
#include "skin/controls/list_box.h"
#include "skin/controls/list_view.h"
#include "skin/controls/tree_view.h"
#include "skin/core/skin_data.h"
#include "skinned_form_states.h"
#include "skinned_forms.h"
// Frame value objects and the layered border.
#include "frame_objects_sheet.h"
#include "tools/control-gallery/menu_sheet.h"
// Grids.
#include "skin/dialogs/grids/inplace_editor.h"
#include "skin/dialogs/grids/string_grid.h"
// skinned hints
#include "tools/control-gallery/hint_sheet.h"
// Shell views.
#include "tools/control-gallery/shell_views_sheet.h"
// main-menu bar and images menu
#include "tools/control-gallery/menu_bar_sheet.h"
#include "tools/demo-screen/demo_screen.h"
// Shell list view.
#include "tools/control-gallery/shell_list_sheet.h"
// File-system controls.
#include "tools/control-gallery/file_controls_sheet.h"
// Message box.
#include "tools/control-gallery/message_box_sheet.h"
// MDI tabs bar and child buttons.
#include "tools/control-gallery/mdi_sheet.h"
// Open-file and select-folder dialogs.
#include "tools/control-gallery/file_dialogs_sheet.h"

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
    TGallery()
    {
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
    }

    // The loaded skin, nullptr before LoadSkin.
    TspSkinData* Skin() const { return FSkin; }

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

    // The push button's frame animation on a skin made here (the shipped skin has no animated button): what the
    // screen shows at each tick of the strip, turning hot and back.
    bool WriteAnimationSheet(const std::string& AFile)
    {
        constexpr Integer frames = 4, interval = 40, w = 75, h = 25;
        auto* skin = new TspSkinData(FApp.get());
        auto picture = std::make_unique<TBitmap>(w * (2 + frames), h, pf24bit);
        auto fill = [&](Integer AIndex, TColor AColor) {
            picture->Canvas()->Brush()->SetColor(AColor);
            picture->Canvas()->FillRect(Rect(AIndex * w, 0, AIndex * w + w, h));
            picture->Canvas()->Brush()->SetColor(clBlack);
            picture->Canvas()->FrameRect(Rect(AIndex * w, 0, AIndex * w + w, h));
        };
        fill(0, static_cast<TColor>(0x804020));
        fill(1, static_cast<TColor>(0x20C060));
        for (Integer k = 0; k < frames; ++k)  // from the normal towards the hot colour
            fill(2 + k, static_cast<TColor>(((0x80 - 0x18 * (k + 1)) << 16) | ((0x40 + 0x20 * (k + 1)) << 8) | 0x30));
        skin->FActivePictures.push_back(std::move(picture));
        skin->FActivePicturesNames->Add("animated.bmp");
        auto record = std::make_unique<TspDataSkinButtonControl>("button");
        record->PictureIndex = 0;
        record->SkinRect = Rect(0, 0, w, h);
        record->ActiveSkinRect = Rect(w, 0, 2 * w, h);
        record->ClRect = Rect(0, 0, w, h);
        record->AnimateSkinRect = Rect(2 * w, 0, (2 + frames) * w, h);
        record->FrameCount = frames;
        record->AnimateInterval = interval;
        record->FontColor = clWhite;
        record->ActiveFontColor = clWhite;
        skin->CtrlList.push_back(std::move(record));
        skin->Empty = false;

        auto* button = new TspSkinButton(FForm);
        button->SetParent(FForm);
        button->SetCanFocused(false);
        button->SetCaption("Preview");
        button->SetBounds(20, 20, w, h);
        button->SetSkinData(skin);
        FScreen.Display().MoveMouse({700, 550});
        Pump();
        std::vector<std::pair<std::string, TBitmap*>> shots;
        auto run = [&](TPoint AMouse, const char* AWay) {
            FScreen.Display().MoveMouse(AMouse);
            Pump();
            for (Integer t = 0; t <= (frames + 1) * interval; t += interval) {
                shots.emplace_back(std::string(AWay) + " " + std::to_string(t) + " ms", Capture(button));
                for (Integer step = 0; step < interval; step += 10) {
                    FScreen.Clock().Advance(10 * 1000);
                    Pump();
                }
            }
        };
        run(button->ClientToScreen({30, 12}), "in");
        run({700, 550}, "out");
        delete button;
        Pump();
        constexpr Integer cell = 110;
        TBitmap sheet(static_cast<Integer>(shots.size() / 2) * cell + 20, 2 * 70 + 10, pf24bit);
        TCanvas* c = sheet.Canvas();
        c->Brush()->SetColor(static_cast<TColor>(0x606060));
        c->FillRect(Rect(0, 0, sheet.Width(), sheet.Height()));
        c->Font()->SetName("DejaVu Sans");
        c->Font()->SetHeight(-11);
        c->Font()->SetColor(clWhite);
        for (size_t i = 0; i < shots.size(); ++i) {
            const Integer x = 10 + static_cast<Integer>(i % (shots.size() / 2)) * cell;
            const Integer y = 10 + static_cast<Integer>(i / (shots.size() / 2)) * 70;
            c->Brush()->SetStyle(bsClear);
            c->TextOut(x, y, shots[i].first);
            c->Draw(x, y + 22, shots[i].second);
            delete shots[i].second;
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
        // Edits and memos: the native text controls with a skin of their own.
        if (auto* edit = dynamic_cast<TspSkinCustomEdit*>(control); edit && ASkin) edit->SetSkinData(ASkin);
        if (auto* memo = dynamic_cast<TspSkinMemo*>(control); memo && ASkin) memo->SetSkinData(ASkin);
        Pump();
        const TPoint part = control->ClientToScreen(ARow.Part);
        const TPoint away{700, 550};
        FScreen.Display().MoveMouse(away);
        Pump();
        switch (AState) {
        case stHot: FScreen.Display().MoveMouse(part); break;
        case stPressed:
            FScreen.Display().MoveMouse(part);
            Pump();
            FScreen.Display().PressButton(part);
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
            FScreen.Display().ReleaseButton(away);
            Pump();
        }
        delete control;
        Pump();
        return shot;
    }

    TBitmap* Capture(TControl* AControl)
    {
        const auto screen = FScreen.Display().ComposeScreen();
        TPoint origin = AControl->ClientToScreen({0, 0});
        // A frame in the non-client area belongs to the picture.
        if (auto* windowed = dynamic_cast<TWinControl*>(AControl); windowed && windowed->HandleAllocated()) {
            TRect window;
            win::GetWindowRect(windowed->Handle(), window);
            origin = {window.Left, window.Top};
        }
        auto* shot = new TBitmap(AControl->Width(), AControl->Height(), pf24bit);
        for (Integer y = 0; y < shot->Height(); ++y)
            for (Integer x = 0; x < shot->Width(); ++x) {
                const uint32_t argb =
                    screen[static_cast<size_t>(origin.Y + y) * FScreen.Display().ScreenSize().cx + origin.X + x];
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

    TDemoScreen FScreen{TSize{800, 600}};
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
    // Edits, spin edit, memo and time edit.
    const std::string edit = AGallery.NameFor<TspDataSkinEditControl>("edit");
    auto skinEdit = [](const std::string& AName, bool AButton, bool AUseSkinFont) {
        return [=](TForm* AForm) -> TControl* {
            auto* e = new TspSkinEdit(AForm);
            e->SetSkinDataName(AName);
            e->SetButtonMode(AButton);
            e->SetUseSkinFont(AUseSkinFont);
            e->SetText("Sample text");
            e->SetBounds(0, 0, 160, 22);
            return e;
        };
    };
    auto spin = [](bool AUseSkinSize) {
        return [=](TForm* AForm) -> TControl* {
            auto* s = new TspSkinSpinEdit(AForm);
            s->SetUseSkinSize(AUseSkinSize);
            s->SetValueType(vtFloat);
            s->SetDecimal(1);
            s->SetValue(12.5);
            s->SetBounds(0, 0, 120, AUseSkinSize ? 20 : 30);
            return s;
        };
    };
    auto memo = [](TForm* AForm) -> TControl* {
        auto* m = new TspSkinMemo(AForm);
        m->SetBounds(0, 0, 180, 64);
        for (const char* line : {"First line of the log", "Second line", "Third line", "Fourth line"})
            m->Lines()->Add(line);
        m->SetSelStart(0);
        return m;
    };
    auto timeEdit = [=](bool AUpDown) {
        return [=](TForm* AForm) -> TControl* {
            auto* t = new TspSkinTimeEdit(AForm);
            t->SetSkinDataName(edit);
            t->SetAlignment(taCenter);
            t->SetShowUpDown(AUpDown);
            t->SetTime("01:25:40");
            t->SetBounds(0, 0, 100, 22);
            return t;
        };
    };
    std::vector<TGalleryRow> edits = {
        {"edit", skinEdit(edit, false, true), {40, 8}},
        {"edit, font height", skinEdit(edit, false, false), {40, 8}},
        {"edit, button", skinEdit(AGallery.NameFor<TspDataSkinEditControl>("buttonedit"), true, true), {150, 8}},
        {"spin edit", spin(true), {112, 5}},
        {"spin edit, free size", spin(false), {112, 22}},
        {"memo", memo, {40, 20}},
        {"time edit", timeEdit(false), {40, 8}},
        {"time edit, arrows", timeEdit(true), {90, 5}},
    };
    std::vector<TGalleryRow> rows = {
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
    rows.insert(rows.end(), edits.begin(), edits.end());
    return rows;
}

// ---- containers: panel, group box, paint panel ----

// ASkin goes to the controls a container makes inside itself, as a skinned form gives it to all of them.
std::vector<TGalleryRow> ContainerRows(TspSkinData* ASkin)
{
    auto panel = [](const std::function<void(TspSkinPanel*)>& ASetUp) {
        return [=](TForm* AForm) -> TControl* {
            auto* p = new TspSkinPanel(AForm);
            p->SetBounds(0, 0, 200, 100);
            ASetUp(p);
            return p;
        };
    };
    auto groupBox = [](bool ATransparent) {
        return [=](TForm* AForm) -> TControl* {
            auto* g = new TspSkinGroupBox(AForm);
            g->SetCaption("Output folder");
            g->SetBounds(0, 0, 200, 100);
            g->SetTransparentMode(ATransparent);
            return g;
        };
    };
    auto paintPanel = [](TForm* AForm) -> TControl* {
        auto* p = new TspSkinPaintPanel(AForm);
        p->SetBounds(0, 0, 200, 100);
        p->OnPanelPaint = [](TCanvas* ACanvas, TRect R) {
            ACanvas->Brush()->SetStyle(bsSolid);
            ACanvas->Brush()->SetColor(static_cast<TColor>(0x3080E0));
            ACanvas->Ellipse(R.Left + 10, R.Top + 10, R.Left + 60, R.Top + 60);
        };
        return p;
    };
    // Two sunken child panels on the left, the grip on the right.
    auto statusBar = [=](TForm* AForm) -> TControl* {
        auto* bar = new TspSkinStatusBar(AForm);
        bar->SetAlign(alNone);
        bar->SetBounds(0, 0, 250, 21);
        bar->SetSizeGrip(true);
        for (Integer i = 0; i < 2; ++i) {
            auto* part = new TspSkinPanel(bar);
            part->SetParent(bar);
            if (ASkin) part->SetSkinData(ASkin);
            part->SetBorderStyle(TspSkinBorderStyle::bvLowered);
            part->SetBounds(0, 0, 90, 10);
            part->SetAlign(alLeft);
        }
        return bar;
    };
    // Three pages, the second shown, each with a push button of its own.
    auto notebook = [=](bool AButtons) {
        return [=](TForm* AForm) -> TControl* {
            auto* n = new TspSkinNotebook(AForm);
            n->SetBounds(0, 0, 220, 140);
            if (ASkin) n->SetSkinData(ASkin);  // the page shown takes the notebook's skin
            n->Pages()->SetStrings(0, "Source");
            n->Pages()->Add("Settings");
            n->Pages()->Add("Output");
            for (Integer i = 0; i < n->PageCount(); ++i) {
                auto* b = new TspSkinButton(n->Page(i));
                b->SetParent(n->Page(i));
                b->SetCaption(n->Pages()->Strings(i));
                b->SetBounds(10, 10, 90, 25);
                if (ASkin) {
                    n->Page(i)->SetSkinData(ASkin);
                    b->SetSkinData(ASkin);
                }
            }
            n->SetPageIndex(1);
            n->SetButtonsMode(AButtons);
            for (Integer i = 0; ASkin && i < n->ButtonCount(); ++i) n->Button(i)->SetSkinData(ASkin);
            return n;
        };
    };
    // Tool buttons with glyphs; the scrolling bar is too narrow for its row and shows its arrows.
    auto toolBar = [](bool AScrolling) {
        return [=](TForm* AForm) -> TControl* {
            auto* bar = new TspSkinToolBar(AForm);
            bar->SetBounds(0, 0, AScrolling ? 200 : 250, 30);
            const char* const captions[] = {"Add", "Trim", "Crop", "Convert", "Stop"};
            for (Integer i = 0; i < 5; ++i) {
                auto* b = new TspSkinSpeedButton(bar);
                b->SetParent(bar);
                b->SetCaption(captions[i]);
                b->SetGlyph(GalleryGlyph());
                b->SetNumGlyphs(2);
                b->SetBounds(2 + i * 62, 2, 60, 25);
            }
            bar->SetFlat(!AScrolling);
            bar->SetCanScroll(AScrolling);
            return bar;
        };
    };
    return {
        {"panel", panel([](TspSkinPanel*) {}), {100, 50}},
        {"panel, raised, caption", panel([](TspSkinPanel* p) {
             p->SetBorderStyle(TspSkinBorderStyle::bvRaised);
             p->SetCaption("Audio");
             p->SetGlyph(GalleryGlyph());
             p->SetNumGlyphs(2);
             p->SetCaptionMode(true);
         }), {100, 10}},
        {"panel, check, roll-up", panel([](TspSkinPanel* p) {
             p->SetCaption("Crop");
             p->SetDefaultAlignment(taCenter);
             p->SetCaptionMode(true);
             p->SetCheckedMode(true);
             p->SetChecked(true);
             p->SetRollUpMode(true);
         }), {100, 10}},
        {"panel, rolled up", panel([](TspSkinPanel* p) {
             p->SetCaption("Crop");
             p->SetCaptionMode(true);
             p->SetRollUpMode(true);
             p->SetRollUpState(true);
         }), {100, 10}},
        {"panel, lowered, ribbon", panel([](TspSkinPanel* p) {
             p->SetBorderStyle(TspSkinBorderStyle::bvLowered);
             p->SetCaption("Status");
             p->SetRibbonStyle(true);
             p->SetCaptionMode(true);
         }), {100, 90}},
        {"panel, no border", panel([](TspSkinPanel* p) { p->SetBorderStyle(TspSkinBorderStyle::bvNone); }), {100, 50}},
        {"group box", groupBox(false), {100, 50}},
        {"group box, transparent", groupBox(true), {100, 50}},
        {"paint panel", paintPanel, {100, 50}},
        // Pressed beside the grip: a press on the grip starts the window's size loop, which waits for the release.
        {"status bar, grip", statusBar, {120, 12}},
        {"notebook", notebook(false), {100, 60}},
        {"notebook, buttons", notebook(true), {100, 12}},
        {"tool bar, flat", toolBar(false), {40, 12}},
        {"tool bar, scrolling", toolBar(true), {182, 12}},
    };
}


// ---- labels, check and radio boxes, gauge, track bar, radio group ----

// Controls that carry their own skin link are given the sheet's skin here; the skin-picture ones get it from
// Shoot.
template <typename TLinked>
TLinked* Linked(TLinked* AControl, TspSkinData* ASkin)
{
    if (ASkin) AControl->SetSkinData(ASkin);
    return AControl;
}

std::vector<TGalleryRow> LabelAndValueRows(TGallery& AGallery)
{
    TspSkinData* skin = AGallery.Skin();
    const std::string stdLabel = AGallery.NameFor<TspDataSkinStdLabelControl>("stdlabel");
    const std::string labelBox = AGallery.NameFor<TspDataSkinLabelControl>("label");
    const std::string bevelName = AGallery.NameFor<TspDataSkinBevel>("bevel");
    auto std = [=](const std::string& ACaption, TspEllipsType AEllips, Integer AWidth) {
        return [=](TForm* AForm) -> TControl* {
            auto* l = new TspSkinStdLabel(AForm);
            l->SetSkinDataName(stdLabel);
            l->SetCaption(ACaption);
            if (AWidth > 0) {
                l->SetAutoSize(false);
                l->SetBounds(0, 0, AWidth, 17);
            }
            l->SetEllipsType(AEllips);
            return Linked(l, skin);
        };
    };
    auto link = [=](bool AGlow) {
        return [=](TForm* AForm) -> TControl* {
            auto* l = new TspSkinLinkLabel(AForm);
            l->SetSkinDataName(stdLabel);
            l->SetCaption("www.example.org");
            l->SetURL("https://www.example.org");
            l->OpenURL = [](const std::string&) { return true; };  // opens nothing from the gallery
            l->SetGlowEffect(AGlow);
            if (AGlow) {
                l->SetAutoSize(false);
                l->SetBounds(0, 0, 150, 36);
            }
            return Linked(l, skin);
        };
    };
    auto box = [=](bool AShadow, bool AReflection) {
        return [=](TForm* AForm) -> TControl* {
            auto* b = new TspSkinLabel(AForm);
            b->SetSkinDataName(labelBox);
            b->SetCaption("00:01:23.456");
            b->SetShadowEffect(AShadow);
            b->SetReflectionEffect(AReflection);
            b->SetBounds(0, 0, 120, AReflection ? 34 : 22);
            return b;
        };
    };
    auto text = [=](TForm* AForm) -> TControl* {
        auto* t = new TspSkinTextLabel(AForm);
        t->SetSkinDataName(stdLabel);
        t->Lines()->Add("This program is free to use.");
        t->Lines()->Add("Keep the notice with copies.");
        t->Lines()->Add("No warranty of any kind.");
        return Linked(t, skin);
    };
    auto buttonLabel = [=](bool AWeb) {
        return [=](TForm* AForm) -> TControl* {
            auto* b = new TspSkinButtonLabel(AForm);
            b->SetSkinDataName(stdLabel);
            b->SetCaption("Add files");
            b->SetGlyph(GalleryGlyph());
            b->SetNumGlyphs(2);
            b->SetWebStyle(AWeb);
            b->SetBounds(0, 0, 120, 30);
            return Linked(b, skin);
        };
    };
    auto bevel = [=](TBevelShape AShape, bool ADivider) {
        return [=](TForm* AForm) -> TControl* {
            auto* b = new TspSkinBevel(AForm);
            b->SetSkinDataName(bevelName);
            b->SetShape(AShape);
            b->SetDividerMode(ADivider);
            b->SetBounds(0, 0, 120, 30);
            return Linked(b, skin);
        };
    };
    const std::string checkName = AGallery.NameFor<TspDataSkinCheckRadioControl>("checkbox");
    const std::string radioName = AGallery.NameFor<TspDataSkinCheckRadioControl>("radiobox");
    auto check = [=](bool ARadio, TCheckBoxState AState, bool AFlat) {
        return [=](TForm* AForm) -> TControl* {
            auto* b = new TspSkinCheckRadioBox(AForm);
            b->SetRadio(ARadio);
            b->SetSkinDataName(ARadio ? radioName : checkName);
            b->SetCaption(ARadio ? "Join into one file" : "Shut down when done");
            b->SetState(AState);
            b->SetFlat(AFlat);
            b->SetBounds(0, 0, 170, 25);
            return b;
        };
    };
    const std::string hgauge = AGallery.NameFor<TspDataSkinGaugeControl>("gauge");
    const std::string vgauge = AGallery.NameFor<TspDataSkinGaugeControl>("vgauge");
    auto gauge = [=](bool AVertical, Integer AValue, bool APercent) {
        return [=](TForm* AForm) -> TControl* {
            auto* g = new TspSkinGauge(AForm);
            g->SetVertical(AVertical);
            g->SetSkinDataName(AVertical ? vgauge : hgauge);
            g->SetBounds(0, 0, AVertical ? 24 : 200, AVertical ? 120 : 20);
            g->SetValue(AValue);
            g->SetShowPercent(APercent);
            return g;
        };
    };
    const std::string htrack = AGallery.NameFor<TspDataSkinTrackBarControl>("htrackbar");
    const std::string vtrack = AGallery.NameFor<TspDataSkinTrackBarControl>("trackbar");
    auto track = [=](bool AVertical) {
        return [=](TForm* AForm) -> TControl* {
            auto* t = new TspSkinTrackBar(AForm);
            t->SetVertical(AVertical);
            t->SetSkinDataName(AVertical ? vtrack : htrack);
            t->SetCanFocused(true);
            t->SetBounds(0, 0, AVertical ? 20 : 150, AVertical ? 120 : 20);
            return t;
        };
    };
    auto radioGroup = [](TForm* AForm) -> TControl* {
        auto* g = new TspSkinRadioGroup(AForm);
        g->SetCaption("Output");
        g->SetBounds(0, 0, 260, 90);
        g->SetColumns(2);
        for (const char* item : {"One file per job", "All in one file", "Audio only"}) g->Items()->Add(item);
        g->SetItemIndex(1);
        return g;
    };
    return {
        {"std label", std("Preview: holiday.mp4", spetNone, 0), {5, 5}},
        {"std label, path ellipsis", std("/home/user/Videos/summer/beach-day-one.mp4", spetPathEllips, 150), {5, 5}},
        {"link label", link(false), {5, 5}},
        {"link label, glow", link(true), {5, 12}},
        {"label box", box(false, false), {5, 5}},
        {"label box, shadow", box(true, false), {5, 5}},
        {"label box, reflection", box(false, true), {5, 5}},
        {"text label", text, {5, 5}},
        {"button label", buttonLabel(false), {40, 15}},
        {"button label, web", buttonLabel(true), {40, 15}},
        {"bevel, box", bevel(bsBox, false), {5, 5}},
        {"bevel, frame", bevel(bsFrame, false), {5, 5}},
        {"bevel, divider", bevel(bsBox, true), {5, 5}},
        {"check box", check(false, cbUnchecked, true), {8, 12}},
        {"check box, checked", check(false, cbChecked, true), {8, 12}},
        {"check box, grayed", check(false, cbGrayed, true), {8, 12}},
        {"check box, face", check(false, cbChecked, false), {8, 12}},
        {"radio button", check(true, cbUnchecked, true), {8, 12}},
        {"radio button, checked", check(true, cbChecked, true), {8, 12}},
        {"gauge, 40%", gauge(false, 40, true), {5, 5}},
        {"gauge, full", gauge(false, 100, false), {5, 5}},
        {"gauge, vertical", gauge(true, 65, true), {5, 5}},
        {"track bar", track(false), {75, 10}},
        {"track bar, vertical", track(true), {10, 60}},
        {"radio group", radioGroup, {20, 40}},
    };
}

// ---- lists, combo boxes, tree and list views ----

// ASkin goes to the views and bars a row makes, which are not skin controls themselves.
std::vector<TGalleryRow> ListRows(TGallery& AGallery, TspSkinData* ASkin)
{
    const std::string listName = AGallery.NameFor<TspDataSkinListBox>("listbox");
    auto list = [=](bool ACaption, Integer AItems, Integer AW, Integer AH) {
        return [=](TForm* AForm) -> TControl* {
            auto* l = new TspSkinListBox(AForm);
            l->SetSkinDataName(listName);
            l->SetBounds(0, 0, AW, AH);
            if (ACaption) {
                l->SetCaption("Profiles");
                l->SetCaptionMode(true);
            }
            l->SetParent(AForm);
            for (Integer i = 0; i < AItems; ++i) l->Items()->Add("Item number " + std::to_string(i + 1));
            l->SetItemIndex(1);
            return l;
        };
    };
    const std::string barName = AGallery.NameFor<TspDataSkinScrollBarControl>("vscrollbar");
    const std::string hbarName = AGallery.NameFor<TspDataSkinScrollBarControl>("hscrollbar");
    const std::string headerName = AGallery.NameFor<TspDataSkinButtonControl>("resizebutton");
    auto viewBars = [=](TPanel* APanel, TspSkinData* ASkin, TspSkinScrollBar*& AV, TspSkinScrollBar*& AH) {
        AV = new TspSkinScrollBar(APanel);
        AV->SetKind(sbVertical);
        AV->SetSkinDataName(barName);
        AV->SetWidth(19);
        AV->SetAlign(alRight);
        AV->SetParent(APanel);
        AH = new TspSkinScrollBar(APanel);
        AH->SetSkinDataName(hbarName);
        AH->SetHeight(19);
        AH->SetAlign(alBottom);
        AH->SetParent(APanel);
        if (ASkin) {
            AV->SetSkinData(ASkin);
            AH->SetSkinData(ASkin);
        }
    };
    const std::string comboName = AGallery.NameFor<TspDataSkinComboBox>("combobox");
    auto combo = [=](const std::string& AName, TspSkinCustomComboBoxStyle AStyle, bool AToolButton, bool ADropped) {
        return [=](TForm* AForm) -> TControl* {
            auto fill = [&](TspSkinComboBox* c) {
                c->SetSkinDataName(AName);
                for (const char* item : {"Keep Original", "Full Screen", "4:3", "16:9", "2.35:1"}) c->Items()->Add(item);
                c->SetStyle(AStyle);
                c->SetToolButtonStyle(AToolButton);
                c->SetItemIndex(1);
            };
            if (!ADropped) {
                auto* c = new TspSkinComboBox(AForm);
                c->SetBounds(0, 0, 140, 20);
                fill(c);
                return c;
            }
            // The list is a window of its own: the row shows a panel the list drops into.
            auto* panel = new TPanel(AForm);
            panel->SetBounds(20, 20, 160, 160);
            panel->SetParent(AForm);
            auto* c = new TspSkinComboBox(panel);
            c->SetBounds(0, 0, 140, 20);
            c->SetParent(panel);
            fill(c);
            if (ASkin) c->SetSkinData(ASkin);
            c->DropDown();
            c->ListBox()->SetItemIndex(3);
            return panel;
        };
    };
    auto tree = [=](TForm* AForm) -> TControl* {
        auto* panel = new TPanel(AForm);
        panel->SetBounds(0, 0, 180, 130);
        panel->SetParent(AForm);
        TspSkinData* skin = ASkin;
        TspSkinScrollBar *v = nullptr, *h = nullptr;
        viewBars(panel, skin, v, h);
        auto* t = new TspSkinTreeView(panel);
        t->SetAlign(alClient);
        t->SetParent(panel);
        for (const char* top : {"Videos", "Music", "Documents"}) {
            TTreeNode* node = t->Items()->Add(nullptr, top);
            for (int i = 1; i <= 4; ++i) t->Items()->AddChild(node, std::string(top) + " folder " + std::to_string(i));
            node->Expand(false);
        }
        t->SetVScrollBar(v);
        t->SetHScrollBar(h);
        if (skin) t->SetSkinData(skin);
        return panel;
    };
    auto report = [=](TForm* AForm) -> TControl* {
        auto* panel = new TPanel(AForm);
        panel->SetBounds(0, 0, 240, 130);
        panel->SetParent(AForm);
        TspSkinData* skin = ASkin;
        TspSkinScrollBar *v = nullptr, *h = nullptr;
        viewBars(panel, skin, v, h);
        auto* l = new TspSkinListView(panel);
        l->SetViewStyle(vsReport);
        l->AddColumn("Name", 110);
        l->AddColumn("A long column caption", 90);
        l->AddColumn("Size", 60);
        l->Column(2)->Alignment = taRightJustify;
        l->ColumnsChanged();
        l->SetAlign(alClient);
        l->SetParent(panel);
        if (skin) l->SetHeaderSkinDataName(headerName);
        for (int i = 1; i <= 12; ++i) {
            TListItem* item = l->Items()->Add();
            item->Caption = "clip" + std::to_string(i) + ".mp4";
            item->SubItems = {"video", std::to_string(i * 3) + " MB"};
        }
        l->SetSelected(1, true);
        l->SetVScrollBar(v);
        l->SetHScrollBar(h);
        if (skin) l->SetSkinData(skin);
        return panel;
    };
    return {
        {"list box", list(false, 4, 160, 110), {30, 30}},
        {"list box, scrolling", list(false, 12, 160, 110), {30, 30}},
        {"list box, caption", list(true, 12, 200, 130), {190, 10}},
        {"tree view", tree, {40, 40}},
        {"list view, report", report, {40, 10}},
        {"combo box", combo(comboName, spcbFixedStyle, false, false), {110, 10}},
        {"combo box, edit", combo(comboName, spcbEditStyle, false, false), {110, 10}},
        {"combo box, tool button", combo(comboName, spcbFixedStyle, true, false), {110, 10}},
        {"combo box, dropped", combo(comboName, spcbFixedStyle, false, true), {150, 150}},
    };
}

// ---- grids ----

// The application's job list: five columns (135, 70, 70, 120, 48), rows of 20, a caption row, whole-row
// selection, resizable columns, no lines of its own. Drawn by its owner as the application does, and with the
// grid's default drawing, which shows the skin's cell pictures.
std::vector<TGalleryRow> GridRows(TGallery& AGallery)
{
    TspSkinData* skin = AGallery.Skin();
    const std::string gridName = AGallery.NameFor<TspDataSkinGridControl>("grid");
    auto jobList = [=](bool AOwnerDrawn) {
        return [=](TForm* AForm) -> TControl* {
            auto* g = new TspSkinStringGrid(AForm);
            g->SetSkinDataName(gridName);
            g->SetBounds(0, 0, 246, 110);  // one sheet cell wide: the last columns are cut at the edge
            g->SetDefaultRowHeight(20);
            g->SetFixedCols(0);
            g->SetRowCount(5);
            g->SetGridLineWidth(0);
            g->SetOptions({goFixedVertLine, goFixedHorzLine, goColSizing, goRowSelect});
            g->SetUseSkinFont(false);
            g->SetUseSkinCellHeight(false);
            g->SetDefaultDrawing(!AOwnerDrawn);
            const Integer widths[] = {135, 70, 70, 120, 48};
            const char* const captions[] = {"Source", "Length", "Size", "Destination", "Format"};
            const char* const jobs[4][5] = {
                {"holiday.mp4", "00:03:12", "41.27 MB", "holiday", "avi"},
                {"concert-night.mkv", "01:12:45", "912.40 MB", "concert-night", "mp4"},
                {"interview.mov", "00:18:03", "230.12 MB", "interview", "mp4"},
                {"birthday.3gp", "00:00:48", "6.03 MB", "birthday", "wmv"},
            };
            for (Integer c = 0; c < 5; ++c) {
                g->SetColWidths(c, widths[c]);
                g->SetCellText(c, 0, captions[c]);
                for (Integer r = 1; r < 5; ++r) g->SetCellText(c, r, jobs[r - 1][c]);
            }
            g->SetRow(2);
            if (AOwnerDrawn) {
                g->OnDrawCell = [g](TObject*, Integer ACol, Integer ARow, const TRect& R, TGridDrawState) {
                    TCanvas* cv = g->Canvas();
                    cv->Brush()->SetStyle(bsSolid);
                    if (ARow == 0)
                        cv->Brush()->SetColor(static_cast<TColor>(0xE8E0D8));
                    else
                        cv->Brush()->SetColor(ARow == g->Row() ? static_cast<TColor>(0xF0D8B0) : clWhite);
                    cv->FillRect(R);
                    cv->Brush()->SetStyle(bsClear);
                    cv->Font()->SetColor(clBlack);
                    const std::string text = g->CellText(ACol, ARow);
                    const Integer x = ARow == 0 || ACol == 1 || ACol == 2
                                          ? R.Left + (R.Width() - cv->TextWidth(text)) / 2
                                          : R.Left + 5;
                    cv->TextRect(R, x, R.Top + (R.Height() - cv->TextHeight(text)) / 2, text);
                    cv->Pen()->SetColor(static_cast<TColor>(0xDBDBDB));
                    cv->Polyline({TPoint{R.Right - 1, R.Top}, TPoint{R.Right - 1, R.Bottom}});
                };
            }
            return Linked(g, skin);
        };
    };
    // The same list with cell editing: the in-place editor stands open on the second job's source. Editing needs
    // cell selection, so the rows are not selected whole here.
    auto editing = [=](TForm* AForm) -> TControl* {
        auto* g = static_cast<TspSkinStringGrid*>(jobList(false)(AForm));
        g->SetOptions({goFixedVertLine, goFixedHorzLine, goColSizing, goEditing, goAlwaysShowEditor});
        g->FocusCellAt(0, 2, true);
        g->SetParent(AForm);
        g->HandleNeeded();
        g->SetEditorMode(true);
        // The name without its extension selected, as while renaming; the selection shows once focused.
        g->InplaceEditor()->SetSelStart(0);
        g->InplaceEditor()->SetSelLength(13);
        return g;
    };
    return {
        {"job list, drawn by its owner", jobList(true), {200, 50}},
        {"job list, default drawing", jobList(false), {200, 50}},
        {"job list, editor open", editing, {60, 50}},
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
        // Skinned forms, on a screen of their own before the gallery's.
        bool formsOk = WriteSkinnedFormSheets(out, argc == 3 ? argv[2] : "");
        // Skinned form states: two sizes, active and inactive.
        formsOk = WriteSkinnedFormStates(out, argc == 3 ? argv[2] : "") && formsOk;
        // Shell views: the combo box dropped and the folder tree, on a fixture namespace.
        formsOk = WriteShellViewSheets(out, argc == 3 ? argv[2] : "") && formsOk;
        // Frame value objects and the layered border.
        formsOk = WriteFrameObjectSheets(out) && formsOk;
        // Skinned menus: on a screen of their own too.
        const bool menusOk = WriteMenuSheets(out, argc == 3 ? argv[2] : "");
        // Skinned hints.
        const bool hintsOk = WriteHintSheets(out, argc == 3 ? argv[2] : "");
        // Shell list view.
        const bool shellListOk = WriteShellListSheets(out, argc == 3 ? argv[2] : "");
        // File-system controls, on a screen of their own too (counted with the forms' sheets).
        formsOk = WriteFileControlsSheets(out, argc == 3 ? argv[2] : "") && formsOk;
        // Message box, on a screen of its own (counted with the forms' sheets).
        formsOk = WriteMessageBoxSheets(out, argc == 3 ? argv[2] : "") && formsOk;
        // Main-menu bar and images menu (counted with the forms' sheets).
        formsOk = WriteMenuBarSheets(out, argc == 3 ? argv[2] : "") && formsOk;
        // MDI tabs bar and child buttons (counted with the forms' sheets).
        formsOk = WriteMdiSheets(out, argc == 3 ? argv[2] : "") && formsOk;
        // Open-file and select-folder dialogs, on a screen of their own (counted with the forms' sheets).
        formsOk = WriteFileDialogSheets(out, argc == 3 ? argv[2] : "") && formsOk;
        TGallery gallery;
        bool ok = gallery.WriteSheet(Rows(gallery), nullptr, out + "gallery-plain.png");
        ok = gallery.WriteSheet(ContainerRows(nullptr), nullptr, out + "gallery-containers-plain.png") && ok;
        ok = gallery.WriteAnimationSheet(out + "gallery-animation.png") && ok;
        ok = gallery.WriteSheet(LabelAndValueRows(gallery), nullptr, out + "gallery-values-plain.png") && ok;
        ok = gallery.WriteSheet(ListRows(gallery, nullptr), nullptr, out + "gallery-lists-plain.png") && ok;
        ok = gallery.WriteSheet(GridRows(gallery), nullptr, out + "gallery-grids-plain.png") && ok;
        if (argc == 3) {
            TspSkinData* skin = gallery.LoadSkin(argv[2]);
            ok = gallery.WriteSheet(Rows(gallery), skin, out + "gallery-skin.png") && ok;
            ok = gallery.WriteSheet(ContainerRows(skin), skin, out + "gallery-containers-skin.png") && ok;
            ok = gallery.WriteSheet(LabelAndValueRows(gallery), skin, out + "gallery-values-skin.png") && ok;
            ok = gallery.WriteSheet(ListRows(gallery, skin), skin, out + "gallery-lists-skin.png") && ok;
            ok = gallery.WriteSheet(GridRows(gallery), skin, out + "gallery-grids-skin.png") && ok;
        }
        return ok && formsOk && menusOk && hintsOk && shellListOk ? 0 : 1;
    } catch (const Exception& e) {
        std::fprintf(stderr, "control-gallery: %s\n", e.what());
        return 1;
    }
}
