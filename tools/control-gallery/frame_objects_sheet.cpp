// The gallery's block for the value and label objects of a frameless skinned form and for the layered border:
// skins made in memory (the program's own skins carry neither), written as PNGs of the window and the screen.
#include "frame_objects_sheet.h"

#include <algorithm>
#include <memory>

#include "platform/backend/headless/headless_backend.h"
#include "platform/gui/application.h"
#include "platform/gui/forms.h"
#include "platform/rtl/clock.h"
#include "skin/core/skin_data.h"
#include "skin/forms/layered_border.h"
#include "skin/forms/value_objects.h"
#include "tools/demo-screen/demo_screen.h"

namespace {

TBitmap* AddPicture(TspSkinData* ASkin, Integer AWidth, Integer AHeight, TColor AColor, const std::string& AName)
{
    auto picture = std::make_unique<TBitmap>(AWidth, AHeight, pf24bit);
    picture->Canvas()->Brush()->SetColor(AColor);
    picture->Canvas()->FillRect(Rect(0, 0, AWidth, AHeight));
    TBitmap* result = picture.get();
    ASkin->FActivePictures.push_back(std::move(picture));
    ASkin->FActivePicturesNames->Add(AName);
    return result;
}

void Fill(TBitmap* B, const TRect& R, TColor AColor)
{
    B->Canvas()->Brush()->SetStyle(bsSolid);
    B->Canvas()->Brush()->SetColor(AColor);
    B->Canvas()->FillRect(R);
}

// A 320 x 200 frameless skin with a track bar, a gauge, a five-frame knob, a switch, a bit label and a label.
TspSkinData* ValueObjectsSkin(TComponent* AOwner)
{
    auto* skin = new TspSkinData(AOwner);
    skin->FPicture = std::make_unique<TBitmap>(320, 200, pf24bit);
    TBitmap* face = skin->FPicture.get();
    Fill(face, Rect(0, 0, 320, 200), static_cast<TColor>(0x303030));
    Fill(face, Rect(4, 4, 316, 196), static_cast<TColor>(0x503C28));
    Fill(face, Rect(20, 40, 220, 56), static_cast<TColor>(0x202020));   // track
    Fill(face, Rect(20, 70, 220, 84), static_cast<TColor>(0x202020));   // empty gauge
    Fill(face, Rect(20, 100, 140, 116), static_cast<TColor>(0x101010)); // bit-label cells
    Fill(face, Rect(240, 100, 280, 116), static_cast<TColor>(0x404080)); // switch off

    TBitmap* strip = AddPicture(skin, 200, 62, clBlack, "values.bmp");
    Fill(strip, Rect(0, 0, 200, 16), static_cast<TColor>(0x30A030));   // filled track
    Fill(strip, Rect(0, 16, 12, 32), clWhite);                          // track button
    Fill(strip, Rect(0, 32, 200, 46), static_cast<TColor>(0x0080FF));  // filled gauge
    Fill(strip, Rect(0, 46, 40, 62), static_cast<TColor>(0x40C040));   // switch on
    TBitmap* knob = AddPicture(skin, 200, 40, static_cast<TColor>(0x503C28), "knob.bmp");
    for (Integer f = 0; f < 5; ++f) {
        TCanvas* c = knob->Canvas();
        c->Brush()->SetColor(static_cast<TColor>(0x909090));
        c->Pen()->SetColor(clBlack);
        c->Ellipse(f * 40 + 2, 2, f * 40 + 38, 38);
        // The pointer turns clockwise from the bottom-left through the top to the bottom-right.
        static const TPoint tips[] = {{6, 32}, {4, 14}, {20, 3}, {36, 14}, {34, 32}};
        c->Pen()->SetColor(clMaroon);
        c->Pen()->SetWidth(3);
        c->MoveTo(f * 40 + 20, 20);
        c->LineTo(f * 40 + tips[f].X, tips[f].Y);
        c->Pen()->SetWidth(1);
    }
    TBitmap* digits = AddPicture(skin, 120, 16, static_cast<TColor>(0x101010), "digits.bmp");
    digits->Canvas()->Font()->SetName("DejaVu Sans Mono");
    digits->Canvas()->Font()->SetHeight(14);
    digits->Canvas()->Font()->SetColor(static_cast<TColor>(0x40FFFF));
    digits->Canvas()->Brush()->SetStyle(bsClear);
    for (Integer d = 0; d < 10; ++d) digits->Canvas()->TextOut(d * 12 + 2, 0, std::string(1, static_cast<char>('0' + d)));

    auto track = std::make_unique<TspDataSkinTrackBar>("volume");
    track->SkinRect = Rect(20, 40, 220, 56);
    track->ActiveSkinRect = Rect(0, 0, 200, 16);
    track->ActivePictureIndex = 0;
    track->ButtonRect = Rect(0, 16, 12, 32);
    track->BeginPoint = {6, 8};
    track->EndPoint = {194, 8};
    track->MaxValue = 100;
    auto gauge = std::make_unique<TspDataSkinGauge>("progress");
    gauge->SkinRect = Rect(20, 70, 220, 84);
    gauge->ActiveSkinRect = Rect(0, 32, 200, 46);
    gauge->ActivePictureIndex = 0;
    gauge->MaxValue = 100;
    auto regulator = std::make_unique<TspDataSkinFrameRegulatorObject>("balance");
    regulator->SkinRect = Rect(240, 36, 280, 76);
    regulator->ActiveSkinRect = Rect(0, 0, 200, 40);
    regulator->ActivePictureIndex = 1;
    regulator->CountFrames = 5;
    regulator->MaxValue = 100;
    auto sw = std::make_unique<TspDataSkinSwitch>("mute");
    sw->SkinRect = Rect(240, 100, 280, 116);
    sw->ActiveSkinRect = Rect(0, 46, 40, 62);
    sw->ActivePictureIndex = 0;
    auto bits = std::make_unique<TspDataSkinBitLabel>("clock");
    bits->SkinRect = Rect(20, 100, 140, 116);
    bits->ActiveSkinRect = Rect(0, 0, 120, 16);
    bits->ActivePictureIndex = 2;
    bits->SymbolWidth = 12;
    bits->SymbolHeight = 16;
    bits->Symbols->Add("0123456789");
    auto label = std::make_unique<TspDataSkinLabel>("title");
    label->SkinRect = Rect(20, 140, 300, 170);
    label->FontName = "DejaVu Sans";
    label->FontHeight = 16;
    label->FontColor = clWhite;
    label->Alignment = taCenter;
    label->TextValue = "Value and label objects";
    skin->ObjectList.push_back(std::move(track));
    skin->ObjectList.push_back(std::move(gauge));
    skin->ObjectList.push_back(std::move(regulator));
    skin->ObjectList.push_back(std::move(sw));
    skin->ObjectList.push_back(std::move(bits));
    skin->ObjectList.push_back(std::move(label));
    skin->Empty = false;
    return skin;
}

// A plain 80 x 60 frame skin with a layer-frame picture: an opaque orange rim 6 pixels wide around the form and
// a shadow fading out over 6 more pixels.
TspSkinData* LayeredBorderSkin(TComponent* AOwner)
{
    auto* skin = new TspSkinData(AOwner);
    skin->FPicture = std::make_unique<TBitmap>(80, 60, pf24bit);
    Fill(skin->FPicture.get(), Rect(0, 0, 80, 60), static_cast<TColor>(0x604020));
    Fill(skin->FPicture.get(), Rect(6, 22, 74, 54), clBtnFace);
    skin->LTPoint = {10, 24};
    skin->RTPoint = {70, 24};
    skin->LBPoint = {10, 50};
    skin->RBPoint = {70, 50};
    skin->ClRect = Rect(6, 22, 74, 54);
    skin->MaskRectArea = Rect(6, 22, 74, 54);
    skin->CaptionRect = Rect(4, 2, 76, 20);
    TBitmap* frame = AddPicture(skin, 80, 80, static_cast<TColor>(0xC06020), "layer.bmp");
    Fill(frame, Rect(0, 0, 80, 80), static_cast<TColor>(0x202020));
    Fill(frame, Rect(6, 6, 74, 74), static_cast<TColor>(0x3080E0));
    TBitmap* mask = AddPicture(skin, 80, 80, clBlack, "layermask.bmp");
    for (Integer ring = 0; ring < 6; ++ring) {
        const Integer grey = 40 * (ring + 1);
        Fill(mask, Rect(ring, ring, 80 - ring, 80 - ring), static_cast<TColor>(grey * 0x010101));
    }
    Fill(mask, Rect(6, 6, 74, 74), clWhite);
    TspDataSkinLayerFrame& f = *skin->LayerFrame;
    f.PictureIndex = 0;
    f.MaskPictureIndex = 1;
    f.LTPoint = {20, 20};
    f.RTPoint = {60, 20};
    f.LBPoint = {20, 60};
    f.RBPoint = {60, 60};
    f.ClRect = Rect(12, 12, 68, 68);
    f.BorderRect = Rect(6, 6, 74, 74);
    f.HitTestEnable = true;
    f.HitTestSize = 4;
    f.AlphaBlendValue = 230;
    f.InActiveAlphaBlendValue = 160;
    f.FullStretch = true;
    skin->Empty = false;
    return skin;
}

}  // namespace

bool WriteFrameObjectSheets(const std::string& AOut)
{
    TDemoScreen screen{TSize{480, 360}};
    auto app = std::make_unique<TApplication>(nullptr);
    auto pump = [&] { app->ProcessMessages(); };
    bool ok = true;
    {
        auto* form = new TForm(app.get());
        form->SetBorderStyle(bsNone);
        form->SetBoundsRect(Bounds(40, 40, 320, 200));
        auto* corvalis = new TspCorvalis(form);
        corvalis->SetSupportNCArea(false);
        corvalis->SetSkinData(ValueObjectsSkin(app.get()));
        form->Show();
        pump();
        corvalis->TrackBarSetValue("volume", 60);
        corvalis->GaugeSetValue("progress", 40);
        corvalis->FrameRegulatorSetValue("balance", 75);
        corvalis->SwitchSetState("mute", swsOn);
        corvalis->BitLabelSetText("clock", "2026");
        form->Invalidate();
        for (int step = 0; step < 12; ++step) {
            screen.Clock().Advance(25 * 1000);
            pump();
        }
        ok = screen.WriteWindow(form->Handle(), AOut + "frame-value-objects.png") && ok;
        delete form;
        pump();
    }
    {
        // The layered border needs a compositor: the headless display's stands in for one.
        screen.Display().SetCompositor(true);
        auto* form = new TForm(app.get());
        form->SetBoundsRect(Bounds(80, 70, 300, 200));
        form->SetCaption("Layered border");
        auto* corvalis = new TspCorvalis(form);
        corvalis->SetSkinData(LayeredBorderSkin(app.get()));
        form->Show();
        pump();
        ok = screen.WriteScreen(AOut + "form-layered-border.png") && ok;
        delete form;
        pump();
        screen.Display().SetCompositor(false);
    }
    app.reset();
    headless::THeadlessBackend::ProcessMessages();
    return ok;
}
