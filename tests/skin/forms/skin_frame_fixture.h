#pragma once
// A small form skin built in memory: an 80 x 60 frame picture with a 6-pixel border and a 22-pixel caption
// band, corner points for sizing, a close button along the caption and a caption object; optionally a mask
// whose 6 x 6 corners are cut away.
#include <memory>

#include "forms_fixture.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/regions.h"
#include "platform/win/painting.h"
#include "skin/core/skin_data.h"
#include "skin/forms/caption_object.h"

namespace formstest {

class TSkinFrameFixture : public TFormsFixture {
protected:
    static constexpr TColor kFrameColor = clMaroon;
    static constexpr TColor kActiveText = clWhite;
    static constexpr TColor kInactiveText = clSilver;

    TspSkinData* MakeSkin(bool AMask = false)
    {
        auto* skin = new TspSkinData(App.get());
        skin->FPicture = std::make_unique<TBitmap>(80, 60, pf24bit);
        skin->FPicture->Canvas()->Brush()->SetColor(kFrameColor);
        skin->FPicture->Canvas()->FillRect(Rect(0, 0, 80, 60));
        skin->LTPoint = {10, 24};
        skin->RTPoint = {70, 24};
        skin->LBPoint = {10, 50};
        skin->RBPoint = {70, 50};
        skin->HitTestLTPoint = {10, 10};
        skin->HitTestRTPoint = {70, 10};
        skin->HitTestLBPoint = {10, 50};
        skin->HitTestRBPoint = {70, 50};
        skin->BorderW = 3;
        skin->ClRect = Rect(6, 22, 74, 54);
        skin->MaskRectArea = Rect(6, 22, 74, 54);
        skin->CaptionRect = Rect(4, 2, 76, 20);
        skin->ButtonsOffset = 1;
        if (AMask) {
            skin->FMask = std::make_unique<TBitmap>(80, 60, pf24bit);
            TCanvas* m = skin->FMask->Canvas();
            m->Brush()->SetColor(clBlack);
            m->FillRect(Rect(0, 0, 80, 60));
            m->Brush()->SetColor(clWhite);
            for (const TRect& corner : {Rect(0, 0, 6, 6), Rect(74, 0, 80, 6), Rect(0, 54, 6, 60), Rect(74, 54, 80, 60)})
                m->FillRect(corner);
        }
        auto close = std::make_unique<TspDataSkinStdButton>("close");
        close->Command = cmClose;
        close->SkinRectInAPicture = true;
        close->ActivePictureIndex = 0;
        close->SkinRect = Rect(0, 0, 14, 14);
        skin->FActivePictures.push_back(std::make_unique<TBitmap>(28, 14, pf24bit));
        skin->FActivePicturesNames->Add("buttons.bmp");
        skin->ObjectList.push_back(std::move(close));
        auto caption = std::make_unique<TspDataSkinCaption>("caption");
        caption->SkinRect = Rect(4, 2, 60, 20);
        caption->TextRct = Rect(4, 0, 50, 18);  // 6 pixels short of the object's right edge
        caption->FontName = "DejaVu Sans";
        caption->FontHeight = 12;
        caption->FontColor = kInactiveText;
        caption->ActiveFontColor = kActiveText;
        caption->Alignment = taLeftJustify;
        skin->ObjectList.push_back(std::move(caption));
        skin->Empty = false;
        return skin;
    }

    TspSkinCaptionObject* Caption()
    {
        const Integer i = Corvalis->GetIndex("caption");
        return i < 0 ? nullptr : dynamic_cast<TspSkinCaptionObject*>(Corvalis->Objects(i));
    }

    // Whether the form's window region holds the frame point (AX, AY); true without a region.
    bool InRegion(Integer AX, Integer AY)
    {
        win::HRGN rgn = win::CreateRectRgn(0, 0, 0, 0);
        const int kind = win::GetWindowRgn(Form->Handle(), rgn);
        const bool in = kind == win::ERROR || win::PtInRegion(rgn, AX, AY);
        win::DeleteObject(rgn);
        return in;
    }
};

}  // namespace formstest
