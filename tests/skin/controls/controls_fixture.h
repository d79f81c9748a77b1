#pragma once
// A headless form to place skinned controls on, a skin built in memory, and reading back what reached the
// screen.
#include <memory>
#include <string>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/forms.h"
#include "skin/core/control_records.h"
#include "skin/core/skin_data.h"
#include "tests/platform/gui/gui_fixture.h"

namespace controlstest {

// Paints R of a picture in one colour.
inline void Fill(TBitmap* APicture, const TRect& R, TColor AColor)
{
    APicture->Canvas()->Brush()->SetStyle(bsSolid);
    APicture->Canvas()->Brush()->SetColor(AColor);
    APicture->Canvas()->FillRect(R);
}

class TControlsFixture : public guitest::TGuiFixture {
protected:
    void SetUp() override
    {
        TGuiFixture::SetUp();
        Skin = new TspSkinData(App.get());
        Form = NewForm(Bounds(100, 100, 400, 300));
        Form->SetColor(clBlack);
        Form->Show();
        Pump();
    }

    // Adds a picture to the skin and returns its index.
    Integer AddPicture(Integer AWidth, Integer AHeight, TColor AColor)
    {
        auto picture = std::make_unique<TBitmap>(AWidth, AHeight, pf24bit);
        Fill(picture.get(), Rect(0, 0, AWidth, AHeight), AColor);
        Skin->FActivePictures.push_back(std::move(picture));
        Skin->FActivePicturesNames->Add("picture" + std::to_string(Skin->FActivePictures.size()) + ".bmp");
        Skin->Empty = false;
        return static_cast<Integer>(Skin->FActivePictures.size()) - 1;
    }
    TBitmap* PictureAt(Integer AIndex) { return Skin->FActivePictures[AIndex].get(); }

    template <typename TRecord>
    TRecord* AddRecord(const std::string& AName)
    {
        auto record = std::make_unique<TRecord>(AName);
        TRecord* raw = record.get();
        Skin->CtrlList.push_back(std::move(record));
        Skin->Empty = false;
        return raw;
    }

    // The colour at a point of a control, as the screen shows it, in 0x00BBGGRR form.
    TColor ScreenColor(TControl* AControl, Integer AX, Integer AY)
    {
        const TPoint at = AControl->ClientToScreen({AX, AY});
        const auto screen = Display.ComposeScreen();
        const uint32_t argb = screen[static_cast<size_t>(at.Y) * Display.ScreenSize().cx + at.X];
        return static_cast<TColor>(((argb & 0xFF) << 16) | (argb & 0xFF00) | ((argb >> 16) & 0xFF));
    }

    TPoint ScreenPoint(TControl* AControl, Integer AX, Integer AY) { return AControl->ClientToScreen({AX, AY}); }

    // Moves the virtual clock in 10 ms steps, so that each timer fires at its own time.
    void Run(int AMilliseconds)
    {
        for (int i = 0; i < AMilliseconds; i += 10) AdvanceMs(10);
    }

    TspSkinData* Skin = nullptr;
    TForm* Form = nullptr;
};

}  // namespace controlstest
