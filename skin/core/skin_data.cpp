#include "skin/core/skin_data.h"

#include <algorithm>

#include "platform/rtl/sysutils.h"
#include "skin/core/interface_texts.h"
#include "skin/core/skin_lists.h"
#include "skin/core/stored_skin.h"

namespace {

TspCursorInstaller& CursorInstaller()
{
    static TspCursorInstaller installer;
    return installer;
}

template <typename List>
Integer IndexByName(const List& AList, const std::string& AName)
{
    for (size_t i = 0; i < AList.size(); ++i)
        if (AList[i]->IDName == AName) return static_cast<Integer>(i);
    return -1;
}

}  // namespace

void SetSkinCursorInstaller(TspCursorInstaller AInstaller) { CursorInstaller() = std::move(AInstaller); }
const TspCursorInstaller& SkinCursorInstaller() { return CursorInstaller(); }

TspSkinData::TspSkinData(TComponent* AOwner)
    : TComponent(AOwner),
      FPicture(std::make_unique<TBitmap>()),
      FInActivePicture(std::make_unique<TBitmap>()),
      FMask(std::make_unique<TBitmap>()),
      FRollUpPicture(std::make_unique<TBitmap>()),
      FRollUpMask(std::make_unique<TBitmap>()),
      FActivePicturesNames(std::make_unique<TStringList>()),
      FCursorsNames(std::make_unique<TStringList>()),
      PopupWindow(std::make_unique<TspDataSkinPopupWindow>()),
      LayerFrame(std::make_unique<TspDataSkinLayerFrame>()),
      HintWindow(std::make_unique<TspDataSkinHintWindow>()),
      FSkinColors(std::make_unique<TspSkinColors>())
{
}

TspSkinData::~TspSkinData()
{
    Empty = true;
    ClearObjects();
}

std::vector<TspSkinData::TMainPicture> TspSkinData::MainPictures()
{
    return {{"picture", &FPicture, &FPictureName},
            {"inactivepicture", &FInActivePicture, &FInActivePictureName},
            {"mask", &FMask, &FMaskName},
            {"rolluppicture", &FRollUpPicture, &FRollUpPictureName},
            {"rollupmask", &FRollUpMask, &FRollUpMaskName}};
}

Integer TspSkinData::GetIndex(const std::string& AIDName) const { return IndexByName(ObjectList, AIDName); }
Integer TspSkinData::GetControlIndex(const std::string& AIDName) const { return IndexByName(CtrlList, AIDName); }
Integer TspSkinData::GetAreaIndex(const std::string& AIDName) const { return IndexByName(AreaList, AIDName); }

TBitmap* TspSkinData::ActivePicture(Integer AIndex) const
{
    if (AIndex < 0 || AIndex >= static_cast<Integer>(FActivePictures.size())) return nullptr;
    return FActivePictures[static_cast<size_t>(AIndex)].get();
}

void TspSkinData::AddBitMap(const std::string& FileName)
{
    auto bitmap = std::make_unique<TBitmap>();
    const std::string name = ExtractFileName(FileName);
    LoadPictureFile(bitmap.get(), ExtractFilePath(FileName), name);
    FActivePicturesNames->Add(name);
    FActivePictures.push_back(std::move(bitmap));
}

void TspSkinData::DeleteBitMap(Integer Index)
{
    // Both lists are checked before either changes, so they stay in step.
    if (Index < 0 || Index >= static_cast<Integer>(FActivePictures.size()) || Index >= FActivePicturesNames->Count())
        throw EListError(Format("List index out of bounds (%d)", {Index}));
    FActivePicturesNames->Delete(Index);
    FJpegSources.erase(FActivePictures[static_cast<size_t>(Index)].get());
    FActivePictures.erase(FActivePictures.begin() + Index);
}

void TspSkinData::AddSkinArea(const std::string& AName, const TRect& ARect)
{
    AreaList.push_back(std::make_unique<TspDataSkinArea>(AName, ARect));
}

void TspSkinData::ClearObjects()
{
    AreaList.clear();
    ObjectList.clear();
    CtrlList.clear();
    for (const auto& picture : FActivePictures) FJpegSources.erase(picture.get());
    FActivePictures.clear();
    PopupWindow->WindowPictureIndex = -1;
    HintWindow->WindowPictureIndex = -1;
    LayerFrame->PictureIndex = -1;
    FCursorsNames->Clear();
    FActivePicturesNames->Clear();
    FSkinColors->SetColorsToDefault();
}

void TspSkinData::ClearAll()
{
    ClearObjects();
    for (auto& main : MainPictures()) {
        FJpegSources.erase(main.Picture->get());
        (*main.Picture)->Assign(nullptr);
        main.Name->clear();
    }
    Empty = true;
}

void TspSkinData::ClearSkin()
{
    // Announced first, so that nothing drawn from the pictures (an open menu) outlives them.
    SendSkinDataMessage(SKM_BEFORECHANGE);
    ClearAll();
    SendSkinDataMessage(SKM_CHANGE);
    SendSkinDataMessage(SKM_AFTERCHANGE);
}

void TspSkinData::SendSkinDataMessage(Cardinal M)
{
    const auto wparam = reinterpret_cast<intptr_t>(this);
    std::vector<TspSkinMessageReceiver*> forms = TspFormRegistry::Forms();
    TspSkinMessageReceiver* owner_form = nullptr;
    if (!FShowLayeredBorders) {
        for (auto* form : forms)
            if (Owner() && form->ReceiverForm() == Owner() && !form->IsLayerWindow()) {
                owner_form = form;
                break;
            }
    }
    if (owner_form) owner_form->SkinDataMessage(M, wparam, SkinDataMessageLParam);

    std::vector<TspSkinMessageReceiver*> targets;
    for (auto* form : forms)
        if (form != owner_form && !form->IsLayerWindow()) targets.push_back(form);
    if (FShowLayeredBorders && LayerFrame->PictureIndex != -1) std::reverse(targets.begin(), targets.end());
    // A receiver that goes away while an earlier one handles the message is skipped.
    for (auto* form : targets) {
        const auto now = TspFormRegistry::Forms();
        if (std::find(now.begin(), now.end(), form) != now.end())
            form->SkinDataMessage(M, wparam, SkinDataMessageLParam);
    }
}

void TspSkinData::SetSkinnableForm(bool AValue)
{
    if (FSkinnableForm == AValue) return;
    FSkinnableForm = AValue;
    if (!Designing() && !Loading()) SendSkinDataMessage(SKM_SKINNABLEFORM_CHANGED);
}

void TspSkinData::SetShowLayeredBorders(bool AValue)
{
    if (FShowLayeredBorders == AValue) return;
    FShowLayeredBorders = AValue;
    if (!Designing() && !Loading()) SendSkinDataMessage(SKM_LAYEREDBORDERS_CHANGED);
}

void TspSkinData::SetAeroBlurEnabled(bool AValue)
{
    if (FAeroBlurEnabled == AValue) return;
    FAeroBlurEnabled = AValue;
    if (!Designing() && !Loading()) SendSkinDataMessage(SKM_AEROBLUR_CHANGED);
}

void TspSkinData::SetResourceStrData(TspResourceStrData* AValue)
{
    if (FResourceStrData && FResourceStrData != AValue) FResourceStrData->RemoveFreeNotification(this);
    FResourceStrData = AValue;
    if (AValue) AValue->FreeNotification(this);
    if (!Designing()) SendSkinDataMessage(SKM_RESSTRINGS_CHANGED);
}

void TspSkinData::SetCompressedStoredSkin(TspCompressedStoredSkin* AValue)
{
    if (FCompressedStoredSkin && FCompressedStoredSkin != AValue) FCompressedStoredSkin->RemoveFreeNotification(this);
    FCompressedStoredSkin = AValue;
    if (AValue) AValue->FreeNotification(this);
    if (!Designing() && AValue) LoadCompressedStoredSkin(AValue);
}

void TspSkinData::SetSkinList(TspCompressedSkinList* AValue)
{
    if (FSkinList && FSkinList != AValue) FSkinList->RemoveFreeNotification(this);
    FSkinList = AValue;
    if (AValue) AValue->FreeNotification(this);
    if (!Designing() && AValue && FSkinIndex >= 0 && FSkinIndex < AValue->Skins()->Count())
        LoadCompressedStoredSkin(AValue->Skins()->Items(FSkinIndex)->Skin());
}

void TspSkinData::SetSkinIndex(Integer AValue)
{
    if (AValue == FSkinIndex) return;
    if (!FSkinList) {
        FSkinIndex = AValue;
        return;
    }
    if (AValue < 0 || AValue >= FSkinList->Skins()->Count()) return;
    FSkinIndex = AValue;
    if (!Designing()) LoadCompressedStoredSkin(FSkinList->Skins()->Items(AValue)->Skin());
}

void TspSkinData::Notification(TComponent* AComponent, TOperation AOperation)
{
    TComponent::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FCompressedStoredSkin) FCompressedStoredSkin = nullptr;
    if (AComponent == FSkinList) FSkinList = nullptr;
    if (AComponent == FResourceStrData) FResourceStrData = nullptr;
}

void TspSkinData::BeginSkinChange()
{
    Empty = true;
    ChangeSkinDataProcess = true;
    SendSkinDataMessage(SKM_BEFORECHANGE);
    ClearAll();
}

void TspSkinData::EndSkinChange()
{
    Empty = false;
    if (OnLoadData) OnLoadData(this);
    SendSkinDataMessage(SKM_CHANGE);
    ChangeSkinDataProcess = false;
    SendSkinDataMessage(SKM_AFTERCHANGE);
}

// A load that stops half-way leaves no half skin behind: the forms, which stopped painting their frames at
// SKM_BEFORECHANGE, get the rest of the announcement of an empty skin and keep working.
void TspSkinData::AbortSkinChange()
{
    ClearAll();
    ChangeSkinDataProcess = false;
    SendSkinDataMessage(SKM_CHANGE);
    SendSkinDataMessage(SKM_AFTERCHANGE);
}

void TspSkinData::RunLoad(const std::function<void()>& ARead)
{
    BeginSkinChange();
    try {
        ARead();
    } catch (...) {
        AbortSkinChange();
        throw;
    }
    EndSkinChange();
}

void TspSkinData::LoadFromFile(const std::string& FileName)
{
    if (!FileExists(FileName)) return;
    auto ini = std::make_unique<TMemIniFile>(FileName);
    if (!IsSkinIniFile(ini.get())) return;
    // The ini file is released before the announcement, whichever way the read ends.
    RunLoad([&] {
        std::unique_ptr<TMemIniFile> file = std::move(ini);
        ReadDescription(file.get(), ExtractFilePath(FileName), true);
    });
}

void TspSkinData::SaveToFile(const std::string& FileName)
{
    TMemIniFile ini(FileName);
    SaveToCustomIniFile(&ini);
    ini.UpdateFile();
}
