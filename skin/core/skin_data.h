#pragma once
// The component that holds one loaded skin: its pictures, cursors, form geometry, areas, form-object and control
// records, window records and colours. Skinned parts find their records here by exact name and hear about skin
// changes through the messages of skin_data_messages.h. Everything runs on the user-interface thread.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/bitmap.h"
#include "platform/rtl/classes.h"
#include "platform/rtl/inifiles.h"
#include "platform/rtl/strings.h"
#include "skin/core/control_records.h"
#include "skin/core/skin_data_messages.h"
#include "skin/core/skin_records.h"

class TspCompressedStoredSkin;
class TspCompressedSkinList;
class TspResourceStrData;
class TspSkinContentReader;

// Installs a skin cursor file as the application's cursor number ANumber; false when the file cannot be loaded
// (which is no error). The form layer plugs its cursor loader in here; until then cursors stay the default ones.
using TspCursorInstaller = std::function<bool(Integer ANumber, const std::string& AFileName)>;
void SetSkinCursorInstaller(TspCursorInstaller AInstaller);
const TspCursorInstaller& SkinCursorInstaller();

class TspSkinData : public TComponent {
public:
    explicit TspSkinData(TComponent* AOwner);
    ~TspSkinData() override;

    // Loading and saving.
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName);
    void SaveToCustomIniFile(TCustomIniFile* IniFile);
    // APath ends with the path delimiter; only plain picture names are written there.
    void StoreToDisk(const std::string& APath);
    void LoadCompressedStoredSkin(TspCompressedStoredSkin* AStoredSkin);
    void LoadFromCompressedFile(const std::string& FileName);
    void SaveToCompressedFile(const std::string& FileName);
    void ClearSkin();
    void GlobalChangeFont(const std::string& ANewFontName, Integer AFontHeightCorrection);

    // Lookups: the first record with exactly this name, -1 when none.
    Integer GetIndex(const std::string& AIDName) const;
    Integer GetControlIndex(const std::string& AIDName) const;
    Integer GetAreaIndex(const std::string& AIDName) const;
    // The active picture at AIndex, or nullptr for any index outside the list: record indexes are never checked
    // when a skin is read, so every consumer goes through here.
    TBitmap* ActivePicture(Integer AIndex) const;

    // Editing, for skin-building tools.
    void AddBitMap(const std::string& FileName);
    void DeleteBitMap(Integer Index);
    void AddSkinArea(const std::string& AName, const TRect& ARect);
    void ClearObjects();
    void ClearAll();

    void SendSkinDataMessage(Cardinal M);

    // Published properties.
    bool SkinnableForm() const { return FSkinnableForm; }
    void SetSkinnableForm(bool AValue);
    bool ShowLayeredBorders() const { return FShowLayeredBorders; }
    void SetShowLayeredBorders(bool AValue);
    bool AeroBlurEnabled() const { return FAeroBlurEnabled; }
    void SetAeroBlurEnabled(bool AValue);
    bool EnableSkinEffects = true;
    bool ShowButtonGlowFrames = true;
    bool ShowCaptionButtonGlowFrames = true;
    bool AnimationForAllWindows = false;
    TspCompressedStoredSkin* CompressedStoredSkin() const { return FCompressedStoredSkin; }
    void SetCompressedStoredSkin(TspCompressedStoredSkin* AValue);
    TspCompressedSkinList* SkinList() const { return FSkinList; }
    void SetSkinList(TspCompressedSkinList* AValue);
    Integer SkinIndex() const { return FSkinIndex; }
    void SetSkinIndex(Integer AValue);
    TspResourceStrData* ResourceStrData() const { return FResourceStrData; }
    void SetResourceStrData(TspResourceStrData* AValue);
    TNotifyEvent OnLoadData;

    // Public state.
    bool Empty = true;
    bool ChangeSkinDataProcess = false;
    bool BuildMode = false;
    std::string SkinName, SkinAuthor, AuthorEmail, AuthorURL, SkinComments;
    std::unique_ptr<TBitmap> FPicture, FInActivePicture, FMask, FRollUpPicture, FRollUpMask;
    std::string FPictureName, FInActivePictureName, FMaskName, FRollUpPictureName, FRollUpMaskName;
    std::vector<std::unique_ptr<TBitmap>> FActivePictures;
    std::unique_ptr<TStringList> FActivePicturesNames;
    std::unique_ptr<TStringList> FCursorsNames;
    Integer StartCursorIndex = 1;
    Integer CursorIndex = -1;
    std::vector<std::unique_ptr<TspDataSkinArea>> AreaList;
    std::vector<std::unique_ptr<TspDataSkinObject>> ObjectList;
    std::vector<std::unique_ptr<TspDataSkinControl>> CtrlList;
    std::unique_ptr<TspDataSkinPopupWindow> PopupWindow;
    std::unique_ptr<TspDataSkinLayerFrame> LayerFrame;
    std::unique_ptr<TspDataSkinHintWindow> HintWindow;
    std::unique_ptr<TspSkinColors> FSkinColors;

    // FORMINFO.
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect ClRect;
    Integer BGPictureIndex = -1, MDIBGPictureIndex = -1;
    bool LeftStretch = false, RightStretch = false, TopStretch = false, BottomStretch = false;
    bool StretchEffect = false;
    TspStretchType StretchType = spstFull;
    bool MDIBGStretchEffect = false;
    TspStretchType MDIBGStretchType = spstFull;
    TRect ButtonsRect, CaptionRect;
    Integer ButtonsOffset = 0;
    bool CapButtonsInLeft = false;
    TRect MaskRectArea;
    TPoint HitTestLTPoint, HitTestRTPoint, HitTestLBPoint, HitTestRBPoint;
    TPoint RollUpLeftPoint, RollUpRightPoint;
    TRect MainMenuRect, IconRect;
    bool MainMenuPopupUp = false;
    Integer BorderW = 0, FormMinWidth = 0, FormMinHeight = 0;
    bool MDITabsTransparent = false, MainMenuBarTransparent = false;
    bool AutoRenderingInActiveImage = false;
    TspInActiveEffect InActiveEffect = ieBrightness;
    TRect SizeGripArea;
    std::string StatusBarName;

    // The five main pictures with their names, in file order.
    struct TMainPicture {
        const char* Key;
        std::unique_ptr<TBitmap>* Picture;
        std::string* Name;
    };
    std::vector<TMainPicture> MainPictures();

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    friend class TspSkinContentReader;
    bool Designing() const { return ComponentState().Contains(csDesigning); }
    bool Loading() const { return ComponentState().Contains(csLoading); }
    void DescribeFormInfo(TspFieldVisitor& F);
    void AdjustFormInfo();

    // The frame of every load: announce, clear, read, announce. A read that fails ends like ClearSkin.
    void BeginSkinChange();
    void EndSkinChange();
    void AbortSkinChange();
    void RunLoad(const std::function<void()>& ARead);

    // Reading, in file order. AFolder is empty for a stored skin, whose pictures come from its stream.
    void ReadDescription(TCustomIniFile* Ini, const std::string& AFolder, bool AFromFolder);
    void ReadPictures(TCustomIniFile* Ini, const std::string& AFolder, bool AFromFolder);
    void ReadCursors(TCustomIniFile* Ini, const std::string& AFolder);
    void ReadAreas(TCustomIniFile* Ini);
    void ReadRecordLists(TCustomIniFile* Ini);
    void LoadPictureFile(TBitmap* ABitmap, const std::string& AFolder, const std::string& AName);
    void LoadListedPicture(TCustomIniFile* Ini, const std::string& AKey, TBitmap* ABitmap, const std::string& AFolder,
                           const std::string& AName);
    void WritePictureFile(TBitmap* ABitmap, const std::string& APath, const std::string& AName);

    bool FSkinnableForm = true;
    bool FShowLayeredBorders = true;
    bool FAeroBlurEnabled = true;
    TspCompressedStoredSkin* FCompressedStoredSkin = nullptr;
    TspCompressedSkinList* FSkinList = nullptr;
    Integer FSkinIndex = 0;
    TspResourceStrData* FResourceStrData = nullptr;
    // The file bytes of pictures read from JPEG files, written back unchanged by StoreToDisk.
    std::map<const TBitmap*, std::vector<uint8_t>> FJpegSources;
};
