#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/rtl/sysutils.h"
#include "skin/dialogs/file_controls.h"
#include "skin/dialogs/file_controls_links.h"
#include "skin/dialogs/file_controls_pictures.h"
#include "skin/dialogs/file_controls_volumes.h"
#include "skin/dialogs/path_helpers.h"

TspSkinDriveComboBox::TspSkinDriveComboBox(TComponent* AOwner)
    : TspSkinCustomComboBox(AOwner),
      FloppyBMP(MakeFileControlPicture(TFileControlPicture::Floppy)),
      FixedBMP(MakeFileControlPicture(TFileControlPicture::Hard)),
      NetworkBMP(MakeFileControlPicture(TFileControlPicture::Network)),
      CDROMBMP(MakeFileControlPicture(TFileControlPicture::CDROM)),
      RAMBMP(MakeFileControlPicture(TFileControlPicture::RAM))
{
    // A form that assigns its own OnChange replaces this.
    OnChange = [this](TObject*) { DriveListChanged(); };
    auto draw = [this](TCanvas* Cnvs, Integer Index, Integer, Integer, TRect TxtRect, TOwnerDrawState) {
        DrawDriveItem(Cnvs, Index, TxtRect);
    };
    SetOnListBoxDrawItem(draw);
    OnComboBoxDrawItem = draw;
    FDrive = MountPointOf(CurrentFolder());
}

// As the filter box: partners are told through notices, never touched while going.
TspSkinDriveComboBox::~TspSkinDriveComboBox() = default;

void TspSkinDriveComboBox::CreateWnd()
{
    TspSkinCustomComboBox::CreateWnd();
    BuildDriveList();
    SetDrive(FDrive);
}

std::string TspSkinDriveComboBox::ShownLabel(const std::string& ALabel) const
{
    return FTextCase == tcUpperCase ? AnsiUpperCase(ALabel) : AnsiLowerCase(ALabel);
}

void TspSkinDriveComboBox::BuildDriveList()
{
    Items()->Clear();
    FMountPoints.clear();
    for (const TVolume& v : ReadVolumes()) {
        // Removable media are not asked for their label, as a drive without a medium would make the user wait.
        std::string text = v.MountPoint;
        if (v.Kind == TVolumeKind::Remote)
            text += " " + ShownLabel(GetNetworkOrVolumeName(v.MountPoint));
        else if (v.Kind != TVolumeKind::Removable)
            text += " " + ShownLabel(GetVolumeLabelText(v.MountPoint));
        Items()->AddObject(text, PictureOf(v.Kind));
        FMountPoints.push_back(v.MountPoint);
    }
}

TBitmap* TspSkinDriveComboBox::PictureOf(TVolumeKind AKind) const
{
    switch (AKind) {
    case TVolumeKind::Removable: return FloppyBMP.get();
    case TVolumeKind::Remote: return NetworkBMP.get();
    case TVolumeKind::CDROM: return CDROMBMP.get();
    case TVolumeKind::RAM: return RAMBMP.get();
    default: return FixedBMP.get();
    }
}

std::string TspSkinDriveComboBox::MountPointAt(Integer AIndex) const
{
    return AIndex >= 0 && AIndex < static_cast<Integer>(FMountPoints.size()) ? FMountPoints[AIndex] : std::string();
}

void TspSkinDriveComboBox::SetDrive(const std::string& AValue)
{
    if (ItemIndex() != -1 && AValue == FDrive) return;
    FDrive = AValue;
    Integer index = -1;
    for (Integer i = 0; !FDrive.empty() && i < static_cast<Integer>(FMountPoints.size()); ++i)
        if (FMountPoints[i] == FDrive) {
            index = i;
            break;
        }
    SetItemIndex(index);
    if (FDirList) FDirList->DriveChange(FDrive);
    SelectionChanged();
}

void TspSkinDriveComboBox::SetTextCase(TTextCase AValue)
{
    FTextCase = AValue;
    const std::string drive = FDrive;
    BuildDriveList();
    SetDrive(drive);
}

void TspSkinDriveComboBox::SetDirList(TspSkinDirectoryListBox* AValue)
{
    SetFileControlLink(this, &TspSkinDriveComboBox::FDirList, &TspSkinDirectoryListBox::FDriveCombo, AValue);
}

void TspSkinDriveComboBox::Notification(TComponent* AComponent, TOperation AOperation)
{
    TspSkinCustomComboBox::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FDirList) FDirList = nullptr;
}

void TspSkinDriveComboBox::DriveListChanged()
{
    if (ItemIndex() >= 0) SetDrive(MountPointAt(ItemIndex()));
}

void TspSkinDriveComboBox::DrawDriveItem(TCanvas* Cnvs, Integer Index, TRect TxtRect)
{
    if (Index < 0 || Index >= Items()->Count()) return;
    auto* picture = static_cast<TBitmap*>(Items()->Objects(Index));
    Integer w = 0;
    if (picture) {
        w = picture->Width();
        Cnvs->Draw(TxtRect.Left, (TxtRect.Top + TxtRect.Bottom - picture->Height()) / 2, picture);
    }
    Cnvs->Brush()->SetStyle(bsClear);
    const Integer y = (TxtRect.Top + TxtRect.Bottom) / 2 - Cnvs->TextHeight("Wg") / 2;
    Cnvs->TextOut(TxtRect.Left + w + 6, y, Items()->Strings(Index));
}
