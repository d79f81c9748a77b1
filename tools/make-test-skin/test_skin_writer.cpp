#include "tools/make-test-skin/test_skin_writer.h"

#include "platform/gui/canvas.h"
#include "platform/gui/jpeg_image.h"
#include "platform/rtl/sysutils.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_records_factory.h"

namespace test_skin {

void SampleFiller::Int(const char*, Integer& Field, Integer, Integer) { Field = 2 + Next() % 3; }

void SampleFiller::Bool(const char*, bool& Field) { Field = true; }

void SampleFiller::Str(const char* Key, std::string& Field, const char*, const char*)
{
    Field = std::string(Key).find("fontname") != std::string::npos ? "DejaVu Sans" : "text " + IntToStr(Next());
}

void SampleFiller::Rect(const char*, TRect& Field)
{
    const Integer n = Next();
    Field = TRect{n % 40, n % 30, n % 40 + 12, n % 30 + 10};
}

void SampleFiller::Point(const char*, TPoint& Field)
{
    const Integer n = Next();
    Field = TPoint{1 + n % 9, 1 + n % 7};
}

void SampleFiller::Style(const char*, TFontStyles& Field)
{
    Field = TFontStyles();
    Field.Include(fsBold);
    if (Next() % 2) Field.Include(fsUnderline);
}

void SampleFiller::Align(const char*, TAlignment& Field, TAlignment) { Field = taLeftJustify; }

void SampleFiller::Lines(const char*, TStrings* Field)
{
    Field->Clear();
    Field->Add("0123456789");
    Field->Add("ABCDEF " + IntToStr(Next()));
}

void SampleFiller::Word(const char*, int& Field, const TspWordForm& Form, int) { Field = Form.Count - 1; }

std::unique_ptr<TBitmap> DrawPicture(Integer AWidth, Integer AHeight, TColor ABack, TColor AFore)
{
    auto bitmap = std::make_unique<TBitmap>(AWidth, AHeight, pf24bit);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(ABack);
    canvas->FillRect(Rect(0, 0, AWidth, AHeight));
    canvas->Brush()->SetColor(AFore);
    canvas->FillRect(Rect(AWidth / 4, AHeight / 4, AWidth * 3 / 4, AHeight * 3 / 4));
    canvas->Pen()->SetColor(clBlack);
    canvas->MoveTo(0, 0);
    canvas->LineTo(AWidth - 1, AHeight - 1);
    return bitmap;
}

void WriteTestSkin(const std::string& AFolder)
{
    const TColor colours[] = {clRed, clGreen, clBlue, clYellow, clAqua, clFuchsia, clMaroon, clNavy};
    for (int i = 0; i < 5; ++i) DrawPicture(80 + i * 4, 60, colours[i], clWhite)->SaveToFile(AFolder + kMainNames[i]);
    DrawPicture(64, 48, colours[5], clSilver)->SaveToFile(AFolder + kActiveNames[0]);
    TJPEGImage jpeg;
    auto jpeg_source = DrawPicture(40, 32, colours[6], clWhite);
    jpeg.Assign(jpeg_source.get());
    jpeg.SaveToFile(AFolder + kActiveNames[1]);
    DrawPicture(32, 16, colours[7], clLime)->SaveToFile(AFolder + kActiveNames[2]);

    TspSkinData skin(nullptr);
    SampleFiller fill;
    skin.SkinName = "Test skin";
    skin.SkinAuthor = "Quennary tests";
    skin.AuthorEmail = "tests@example.invalid";
    skin.AuthorURL = "http://example.invalid/";
    skin.SkinComments = "Drawn by code";
    auto mains = skin.MainPictures();
    for (size_t i = 0; i < mains.size(); ++i) *mains[i].Name = kMainNames[i];
    for (const char* name : kActiveNames) skin.FActivePicturesNames->Add(name);
    skin.StartCursorIndex = 3;
    skin.FCursorsNames->Add("arrow.cur");
    skin.FCursorsNames->Add("hand.cur");

    skin.LTPoint = {10, 24};
    skin.RTPoint = {70, 24};
    skin.LBPoint = {10, 50};
    skin.RBPoint = {70, 50};
    skin.ClRect = Rect(6, 22, 74, 54);
    skin.BGPictureIndex = 0;
    skin.MDIBGPictureIndex = 2;
    skin.TopStretch = skin.BottomStretch = skin.StretchEffect = skin.MDIBGStretchEffect = true;
    skin.StretchType = spstVert;
    skin.MDIBGStretchType = spstHorz;
    skin.ButtonsRect = Rect(50, 2, 78, 16);
    skin.CaptionRect = Rect(20, 2, 48, 18);
    skin.ButtonsOffset = 2;
    skin.MaskRectArea = Rect(8, 20, 60, 40);
    skin.HitTestLTPoint = {5, 5};
    skin.RollUpLeftPoint = {4, 4};
    skin.RollUpRightPoint = {60, 4};
    skin.MainMenuRect = Rect(6, 18, 74, 22);
    skin.IconRect = Rect(2, 2, 18, 18);
    skin.MainMenuPopupUp = skin.MDITabsTransparent = skin.MainMenuBarTransparent = true;
    skin.BorderW = 3;
    skin.FormMinWidth = 200;
    skin.FormMinHeight = 120;
    skin.CursorIndex = 1;
    skin.AutoRenderingInActiveImage = true;
    skin.InActiveEffect = ieSplitBlur;
    skin.SizeGripArea = Rect(60, 40, 74, 54);
    skin.StatusBarName = "statusbar";

    skin.PopupWindow->DescribeFields(fill);
    skin.LayerFrame->DescribeFields(fill);
    skin.HintWindow->DescribeFields(fill);
    skin.FSkinColors->DescribeFields(fill);
    skin.AddSkinArea("caption", Rect(20, 0, 60, 20));
    skin.AddSkinArea("client", Rect(6, 22, 74, 54));
    for (const auto& word : SkinObjectTypeWords()) {
        skin.ObjectList.push_back(CreateSkinObject(word, "obj_" + word));
        skin.ObjectList.back()->DescribeFields(fill);
    }
    for (const auto& word : SkinControlTypeWords()) {
        skin.CtrlList.push_back(CreateSkinControl(word, "ctl_" + word));
        skin.CtrlList.back()->DescribeFields(fill);
    }
    skin.SaveToFile(AFolder + "skin.ini");
}

}  // namespace test_skin
