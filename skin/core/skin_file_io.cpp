// The skin description's reader and writer, and the picture files of a skin folder.
#include <algorithm>

#include "platform/gui/jpeg_image.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/sysutils.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_records_factory.h"

namespace {

// Names from a skin description may come from anywhere; only a plain name stays inside the target folder.
bool IsPlainFileName(const std::string& AName)
{
    return !AName.empty() && AName != "." && AName != ".." && AName.find('/') == std::string::npos &&
           AName.find('\\') == std::string::npos;
}

// The name before the first ":" and the text after it; false without ":".
bool SplitEntry(const std::string& AEntry, std::string& AName, std::string& ARest)
{
    const size_t colon = AEntry.find(':');
    if (colon == std::string::npos) return false;
    AName = AEntry.substr(0, colon);
    ARest = AEntry.substr(colon + 1);
    return true;
}

template <typename List, typename WordOf>
void WriteRecordList(TCustomIniFile* Ini, const char* ASection, const List& AList, WordOf AWordOf)
{
    Ini->EraseSection(ASection);
    std::vector<decltype(AList.front().get())> written;
    for (const auto& record : AList)
        if (!AWordOf(*record).empty()) written.push_back(record.get());
    Ini->WriteInteger(ASection, "count", static_cast<Integer>(written.size()));
    for (size_t i = 0; i < written.size(); ++i) {
        Ini->WriteString(ASection, IntToStr(static_cast<Integer>(i)), written[i]->IDName + ":" + AWordOf(*written[i]));
        written[i]->SaveToFile(Ini);
    }
}

// Entries are "name:type word"; an entry without ":" or with an unknown word is passed over.
template <typename List, typename Create>
void ReadRecordList(TCustomIniFile* Ini, const char* ASection, List& AList, Create ACreate)
{
    const Integer count = Ini->ReadInteger(ASection, "count", 0);
    std::string entry, name, word;
    for (Integer i = 0; i < count && ReadIniEntry(Ini, ASection, IntToStr(i), entry); ++i) {
        if (!SplitEntry(entry, name, word)) continue;
        auto record = ACreate(word, name);
        if (!record) continue;
        AList.push_back(std::move(record));
        AList.back()->LoadFromFile(Ini);
    }
}

}  // namespace

void TspSkinData::DescribeFormInfo(TspFieldVisitor& F)
{
    F.Point("lefttoppoint", LTPoint);
    F.Point("righttoppoint", RTPoint);
    F.Point("leftbottompoint", LBPoint);
    F.Point("rightbottompoint", RBPoint);
    F.Rect("clientrect", ClRect);
    F.Int("bgpictureindex", BGPictureIndex, -1, -1);
    F.Int("mdibgpictureindex", MDIBGPictureIndex, -1, -1);
    F.Bool("leftstretch", LeftStretch);
    F.Bool("rightstretch", RightStretch);
    F.Bool("topstretch", TopStretch);
    F.Bool("bottomstretch", BottomStretch);
    F.Bool("stretcheffect", StretchEffect);
    F.Enum("stretchtype", StretchType, StretchTypeForm, spstFull);
    F.Bool("mdibgstretcheffect", MDIBGStretchEffect);
    F.Enum("mdibgstretchtype", MDIBGStretchType, StretchTypeForm, spstFull);
    F.Rect("buttonsrect", ButtonsRect);
    F.Rect("captionrect", CaptionRect);
    F.Int("buttonsoffset", ButtonsOffset, 0, 0);
    F.Bool("buttonsinleft", CapButtonsInLeft);
    F.Rect("maskrectarea", MaskRectArea);
    F.Point("hittestlefttoppoint", HitTestLTPoint);
    F.Point("hittestrighttoppoint", HitTestRTPoint);
    F.Point("hittestleftbottompoint", HitTestLBPoint);
    F.Point("hittestrightbottompoint", HitTestRBPoint);
    F.Point("rollupleftpoint", RollUpLeftPoint);
    F.Point("rolluprightpoint", RollUpRightPoint);
    F.Rect("mainmenurect", MainMenuRect);
    F.Rect("iconrect", IconRect);
    F.Bool("mainmenupopupup", MainMenuPopupUp);
    F.Int("borderwidth", BorderW, 0, 0);
    F.Int("formminwidth", FormMinWidth, 0, 0);
    F.Int("formminheight", FormMinHeight, 0, 0);
    F.Bool("mditabstransparent", MDITabsTransparent);
    F.Bool("mainmenubartransparent", MainMenuBarTransparent);
    F.Int("cursorindex", CursorIndex, -1, -1);
    F.Bool("autorenderinginactiveimage", AutoRenderingInActiveImage);
    F.Enum("inactiveeffect", InActiveEffect, InActiveEffectForm, ieBrightness);
    F.Rect("sizegriparea", SizeGripArea);
    F.Str("statusbarname", StatusBarName, "", "");
}

// The two adjustments run where the reader meets them; they touch only keys read before that point, so running
// them once all keys are in gives the same result.
void TspSkinData::AdjustFormInfo()
{
    if (!FMaskName.empty()) {
        if (IsEmptyRect(MaskRectArea)) {
            MaskRectArea = ClRect;
        } else {
            MaskRectArea.Left = std::min(MaskRectArea.Left, ClRect.Left);
            MaskRectArea.Top = std::min(MaskRectArea.Top, ClRect.Top);
            MaskRectArea.Right = std::max(MaskRectArea.Right, ClRect.Right);
            MaskRectArea.Bottom = std::max(MaskRectArea.Bottom, ClRect.Bottom);
        }
        const std::pair<TPoint*, const TPoint*> corners[] = {
            {&HitTestLTPoint, &LTPoint}, {&HitTestRTPoint, &RTPoint},
            {&HitTestLBPoint, &LBPoint}, {&HitTestRBPoint, &RBPoint}};
        for (auto [hit, corner] : corners)
            if (hit->X == 0 || hit->Y == 0) *hit = *corner;
    }
    if (RBPoint.X != LTPoint.X && RBPoint.Y != LTPoint.Y) {
        LTPoint.X = std::max(LTPoint.X, ClRect.Left);
        LBPoint.X = std::max(LBPoint.X, ClRect.Left);
        LTPoint.Y = std::max(LTPoint.Y, ClRect.Top);
        RTPoint.Y = std::max(RTPoint.Y, ClRect.Top);
        RTPoint.X = std::min(RTPoint.X, ClRect.Right);
        RBPoint.X = std::min(RBPoint.X, ClRect.Right);
        LBPoint.Y = std::min(LBPoint.Y, ClRect.Bottom);
        RBPoint.Y = std::min(RBPoint.Y, ClRect.Bottom);
    }
}

void TspSkinData::LoadPictureFile(TBitmap* ABitmap, const std::string& AFolder, const std::string& AName)
{
    std::vector<uint8_t> jpeg_bytes;
    LoadSkinPicture(ABitmap, AFolder, AName, &jpeg_bytes);
    if (IsJpegFileName(AName)) FJpegSources[ABitmap] = std::move(jpeg_bytes);
}

// A picture that cannot be read names the key that asked for it.
void TspSkinData::LoadListedPicture(TCustomIniFile* Ini, const std::string& AKey, TBitmap* ABitmap,
                                    const std::string& AFolder, const std::string& AName)
{
    try {
        LoadPictureFile(ABitmap, AFolder, AName);
    } catch (Exception& e) {
        AddIniKeyToError(e, Ini, "PICTURES", AKey);
        throw;
    }
}

void TspSkinData::ReadPictures(TCustomIniFile* Ini, const std::string& AFolder, bool AFromFolder)
{
    for (auto& main : MainPictures()) *main.Name = Ini->ReadString("PICTURES", main.Key, "");
    if (AFromFolder) {
        for (auto& main : MainPictures()) {
            if (main.Name->empty())
                (*main.Picture)->Assign(nullptr);
            else
                LoadListedPicture(Ini, main.Key, main.Picture->get(), AFolder, *main.Name);
        }
    }
    ReadIniList(Ini, "PICTURES", "activepictures", FActivePicturesNames.get());
    if (!AFromFolder) return;
    for (Integer i = 0; i < FActivePicturesNames->Count(); ++i) {
        auto bitmap = std::make_unique<TBitmap>();
        TBitmap* picture = bitmap.get();
        FActivePictures.push_back(std::move(bitmap));
        LoadListedPicture(Ini, IntToStr(i), picture, AFolder, FActivePicturesNames->Strings(i));
    }
}

void TspSkinData::ReadCursors(TCustomIniFile* Ini, const std::string& AFolder)
{
    StartCursorIndex = std::max<Integer>(1, Ini->ReadInteger("CURSORS", "startcursorindex", 1));
    ReadIniList(Ini, "CURSORS", "cursors", FCursorsNames.get());
    if (BuildMode || !SkinCursorInstaller()) return;
    for (Integer i = 0; i < FCursorsNames->Count(); ++i)
        SkinCursorInstaller()(AddClamped(StartCursorIndex, i), AFolder + FCursorsNames->Strings(i));
}

void TspSkinData::ReadAreas(TCustomIniFile* Ini)
{
    const Integer count = Ini->ReadInteger("SKINAREAS", "count", 0);
    std::string entry;
    for (Integer i = 0; i < count && ReadIniEntry(Ini, "SKINAREAS", IntToStr(i), entry); ++i) {
        std::string name, rect_text;
        TRect rect;
        // An entry without ":" is an area without a name and without a rectangle.
        try {
            if (SplitEntry(entry, name, rect_text)) ParseRectText(rect_text, rect);
        } catch (Exception& e) {
            AddIniKeyToError(e, Ini, "SKINAREAS", IntToStr(i));
            throw;
        }
        AddSkinArea(name, rect);
    }
}

void TspSkinData::ReadRecordLists(TCustomIniFile* Ini)
{
    ReadRecordList(Ini, "SKINOBJECTS", ObjectList, CreateSkinObject);
    ReadRecordList(Ini, "SKINCONTROLS", CtrlList, CreateSkinControl);
}

void TspSkinData::ReadDescription(TCustomIniFile* Ini, const std::string& AFolder, bool AFromFolder)
{
    SkinName = Ini->ReadString("VERSION", "skinname", "");
    SkinAuthor = Ini->ReadString("VERSION", "skinauthor", "");
    AuthorEmail = Ini->ReadString("VERSION", "authoremail", "");
    AuthorURL = Ini->ReadString("VERSION", "authorurl", "");
    SkinComments = Ini->ReadString("VERSION", "skincomments", "");
    ReadPictures(Ini, AFolder, AFromFolder);
    if (AFromFolder) ReadCursors(Ini, AFolder);
    TspFieldReader form_info(Ini, "FORMINFO");
    DescribeFormInfo(form_info);
    AdjustFormInfo();
    PopupWindow->LoadFromFile(Ini);
    LayerFrame->LoadFromFile(Ini);
    HintWindow->LoadFromFile(Ini);
    FSkinColors->LoadFromFile(Ini);
    ReadAreas(Ini);
    ReadRecordLists(Ini);
}

void TspSkinData::SaveToCustomIniFile(TCustomIniFile* IniFile)
{
    IniFile->EraseSection("VERSION");
    IniFile->WriteInteger("VERSION", "ver", 2);
    IniFile->WriteString("VERSION", "skinname", SkinName);
    IniFile->WriteString("VERSION", "skinauthor", SkinAuthor);
    IniFile->WriteString("VERSION", "authoremail", AuthorEmail);
    IniFile->WriteString("VERSION", "authorurl", AuthorURL);
    IniFile->WriteString("VERSION", "skincomments", SkinComments);

    IniFile->EraseSection("PICTURES");
    for (auto& main : MainPictures()) IniFile->WriteString("PICTURES", main.Key, *main.Name);
    WriteIniList(IniFile, "PICTURES", "activepictures", FActivePicturesNames.get());

    IniFile->EraseSection("CURSORS");
    IniFile->WriteInteger("CURSORS", "startcursorindex", StartCursorIndex);
    WriteIniList(IniFile, "CURSORS", "cursors", FCursorsNames.get());

    IniFile->EraseSection("FORMINFO");
    TspFieldWriter form_info(IniFile, "FORMINFO");
    DescribeFormInfo(form_info);

    PopupWindow->SaveToFile(IniFile);
    LayerFrame->SaveToFile(IniFile);
    HintWindow->SaveToFile(IniFile);

    IniFile->EraseSection("SKINAREAS");
    IniFile->WriteInteger("SKINAREAS", "count", static_cast<Integer>(AreaList.size()));
    for (size_t i = 0; i < AreaList.size(); ++i)
        IniFile->WriteString("SKINAREAS", IntToStr(static_cast<Integer>(i)),
                             AreaList[i]->IDName + ":" + RectToText(AreaList[i]->AreaRect));

    IniFile->EraseSection("SKINCOLORS");
    FSkinColors->SaveToFile(IniFile);

    WriteRecordList(IniFile, "SKINOBJECTS", ObjectList,
                    [](const TspDataSkinObject& R) { return SkinObjectTypeWord(R); });
    WriteRecordList(IniFile, "SKINCONTROLS", CtrlList,
                    [](const TspDataSkinControl& R) { return SkinControlTypeWord(R); });
}

void TspSkinData::WritePictureFile(TBitmap* ABitmap, const std::string& APath, const std::string& AName)
{
    if (!IsJpegFileName(AName)) {
        ABitmap->SaveToFile(APath + AName);
        return;
    }
    const auto source = FJpegSources.find(ABitmap);
    if (source != FJpegSources.end()) {
        TFileStream file(APath + AName, fmCreate);
        file.WriteBuffer(source->second.data(), static_cast<Int64>(source->second.size()));
        return;
    }
    TJPEGImage jpeg;
    jpeg.Assign(ABitmap);
    jpeg.SaveToFile(APath + AName);
}

void TspSkinData::StoreToDisk(const std::string& APath)
{
    // Every name is checked before anything is written, so a refused skin leaves the folder untouched.
    std::vector<std::pair<TBitmap*, std::string>> pictures;
    for (auto& main : MainPictures())
        if (!(*main.Picture)->Empty()) pictures.emplace_back(main.Picture->get(), *main.Name);
    const size_t active = std::min<size_t>(FActivePictures.size(), static_cast<size_t>(FActivePicturesNames->Count()));
    for (size_t i = 0; i < active; ++i)
        pictures.emplace_back(FActivePictures[i].get(), FActivePicturesNames->Strings(static_cast<Integer>(i)));
    for (const auto& [bitmap, name] : pictures)
        if (!IsPlainFileName(name))
            throw EFCreateError(Format("Cannot store the picture \"%s\" outside the folder %s", {name, APath}));

    SaveToFile(APath + "skin.ini");
    for (const auto& [bitmap, name] : pictures) WritePictureFile(bitmap, APath, name);
}
