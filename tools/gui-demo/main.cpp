// Builds a form with a menu, panels, labels, pictures, shapes and a timer on the headless screen and writes
// PNG files of the form and of the whole screen (with a hint showing), for a reviewer to look at.
//   gui-demo [output-folder]
#include "platform/gui/application.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/menus.h"
#include "platform/gui/timer.h"
#include "tools/demo-screen/demo_screen.h"

#include <cstdio>
#include <string>

namespace {

// A small picture drawn in code: a colour ramp with a frame.
void DrawRamp(TBitmap* ABitmap, int AWidth, int AHeight)
{
    ABitmap->SetSize(AWidth, AHeight);
    TCanvas* canvas = ABitmap->Canvas();
    for (int x = 0; x < AWidth; ++x) {
        int red = 255 * x / (AWidth - 1);
        canvas->Pen()->SetColor(static_cast<TColor>(red | ((255 - red) << 16) | (0x60 << 8)));
        canvas->MoveTo(x, 0);
        canvas->LineTo(x, AHeight);
    }
    canvas->Brush()->SetStyle(bsClear);
    canvas->Pen()->SetColor(clBlack);
    canvas->Rectangle(0, 0, AWidth, AHeight);
}

TMenuItem* AddItem(TMenu* AMenu, TMenuItem* AParent, const std::string& ACaption, TShortCut AShortCut = 0)
{
    auto* item = new TMenuItem(AMenu);
    item->SetCaption(ACaption);
    item->SetShortCut(AShortCut);
    AParent->Add(item);
    return item;
}

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* AOwner) : TForm(AOwner)
    {
        SetCaption("Quennary - GUI demo");
        SetBorderStyle(bsSizeable);
        SetPosition(poScreenCenter);
        SetBounds(0, 0, 520, 360);

        auto* menu = new TMainMenu(this);
        TMenuItem* file = AddItem(menu, menu->Items(), "&File");
        AddItem(menu, file, "&Open...", ShortCut('O', {ssCtrl}));
        AddItem(menu, file, "-");
        AddItem(menu, file, "E&xit", ShortCut(win::VK_F4, {ssAlt}));
        AddItem(menu, menu->Items(), "&Edit");
        AddItem(menu, menu->Items(), "&Help");
        SetMenu(menu);

        auto* top = new TPanel(this);
        top->SetAlign(alTop);
        top->SetHeight(36);
        top->SetCaption("Top panel (alTop, raised)");
        top->SetParent(this);

        auto* status = new TPanel(this);
        status->SetAlign(alBottom);
        status->SetHeight(24);
        status->SetBevelOuter(bvLowered);
        status->SetAlignment(taLeftJustify);
        status->SetParent(this);
        FStatus = status;

        auto* side = new TPanel(this);
        side->SetAlign(alLeft);
        side->SetWidth(120);
        side->SetBevelOuter(bvNone);
        side->SetColor(static_cast<TColor>(0xE8D8C8));
        side->SetParent(this);

        auto* sideLabel = new TLabel(this);
        sideLabel->SetBounds(8, 8, 104, 60);
        sideLabel->SetAutoSize(false);
        sideLabel->SetWordWrap(true);
        sideLabel->SetCaption("A word-wrapped label on the left panel, && an ampersand.");
        sideLabel->SetParent(side);

        auto* disabled = new TLabel(this);
        disabled->SetCaption("Disabled label");
        disabled->SetEnabled(false);
        disabled->SetLeft(8);
        disabled->SetTop(80);
        disabled->SetParent(side);

        auto* image = new TImage(this);
        image->SetBounds(136, 48, 160, 100);
        image->SetStretch(true);
        DrawRamp(image->Picture()->Bitmap(), 64, 32);
        image->SetHint("A stretched picture|Drawn in code");
        image->SetShowHint(true);
        image->SetParent(this);
        FImage = image;

        auto* bevel = new TBevel(this);
        bevel->SetBounds(312, 48, 180, 100);
        bevel->SetShape(bsFrame);
        bevel->SetParent(this);

        auto* circle = new TShape(this);
        circle->SetShape(stCircle);
        circle->Brush()->SetColor(clYellow);
        circle->Pen()->SetWidth(2);
        circle->SetBounds(322, 58, 80, 80);
        circle->SetParent(this);

        auto* box = new TShape(this);
        box->Brush()->SetColor(clTeal);
        box->SetBounds(412, 68, 70, 60);
        box->SetParent(this);

        auto* centred = new TLabel(this);
        centred->SetAutoSize(false);
        centred->SetBounds(136, 160, 356, 40);
        centred->SetAlignment(taCenter);
        centred->SetLayout(tlCenter);
        centred->SetColor(clWhite);
        centred->Font()->SetStyle({fsBold});
        centred->SetCaption("Centred bold label on white");
        centred->SetParent(this);

        auto* timer = new TTimer(this);
        timer->SetInterval(250);
        timer->SetOnTimer([this](TObject*) {
            ++FTicks;
            FStatus->SetCaption("  Timer ticks: " + std::to_string(FTicks));
        });
    }

    TImage* FImage = nullptr;

private:
    TPanel* FStatus = nullptr;
    int FTicks = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : ".";
    TDemoScreen screen;
    TApplication application(nullptr);
    application.SetTitle("gui-demo");
    auto* form = application.CreateForm<TDemoForm>();
    form->Show();
    application.ProcessMessages();
    // One second of the virtual clock: four timer ticks.
    for (int i = 0; i < 4; ++i) {
        screen.Clock().Advance(250000);
        application.ProcessMessages();
    }
    bool written = screen.WriteWindow(form->Handle(), folder + "/gui-demo-form.png");
    // Rest the pointer on the picture until its hint shows, then take the whole screen.
    screen.Display().MoveMouse(form->FImage->ClientToScreen({40, 40}));
    application.ProcessMessages();
    screen.Clock().Advance(int64_t(application.HintPause) * 1000);
    application.ProcessMessages();
    written = screen.WriteScreen(folder + "/gui-demo-screen.png") && written;
    return written ? 0 : 1;
}
