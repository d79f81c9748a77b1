#include "skin/core/stored_skin.h"

#include <limits>
#include <memory>

#include "platform/gui/bitmap.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/sysutils.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_file_forms.h"
#include "skin/core/stored_skin_zlib.h"

namespace {

constexpr Integer kWrittenVersion = 2;
constexpr Integer kHighestVersion = 3;

void WriteInt32(TStream* S, Integer AValue) { S->WriteBuffer(&AValue, 4); }

void WritePictureBlock(TStream* S, TBitmap* APicture)
{
    const uint8_t empty = APicture->Empty() ? 1 : 0;
    S->WriteBuffer(&empty, 1);
    if (!empty) APicture->SaveToStream(S);
}

void WriteText(TStream* S, TStrings* ALines)
{
    for (Integer i = 0; i < ALines->Count(); ++i) {
        const std::string line = ALines->Strings(i) + "\r\n";
        S->WriteBuffer(line.data(), static_cast<Int64>(line.size()));
    }
}

void Compress(TMemoryStream* AContent, TMemoryStream* ADest)
{
    ADest->Clear();
    PackSkinContent(AContent, ADest);
}

}  // namespace

TspCompressedStoredSkin::TspCompressedStoredSkin(TComponent* AOwner)
    : TComponent(AOwner), FCompressedStream(std::make_unique<TMemoryStream>())
{
}

TspCompressedStoredSkin::~TspCompressedStoredSkin() = default;

bool TspCompressedStoredSkin::DesignTime()
{
    if (DesignTimeTest) return DesignTimeTest();
    return ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading);
}

void TspCompressedStoredSkin::SetFileName(const std::string& AValue)
{
    if (DesignTime()) {
        LoadFromIniFile(AValue);
        FFileName = ExtractFileName(AValue);
    } else {
        FFileName = AValue;
    }
}

void TspCompressedStoredSkin::SetCompressedFileName(const std::string& AValue)
{
    if (DesignTime()) {
        LoadFromCompressFile(AValue);
        FCompressedFileName = ExtractFileName(AValue);
    } else {
        FCompressedFileName = AValue;
    }
}

void TspCompressedStoredSkin::LoadFromIniFile(const std::string& AFileName)
{
    TStringList lines;
    lines.LoadFromFile(AFileName);
    TMemIniFile ini(AFileName);
    if (!IsSkinIniFile(&ini)) return;
    FCompressedStream->Clear();

    const std::string folder = ExtractFilePath(AFileName);
    TMemoryStream content;
    WriteInt32(&content, kWrittenVersion);
    for (const char* key : {"picture", "inactivepicture", "mask", "rolluppicture", "rollupmask"}) {
        const std::string name = ini.ReadString("PICTURES", key, "");
        TBitmap picture;
        // JPEG pictures load as they do for a skin folder and are packed as BMP like the others.
        if (!name.empty()) LoadSkinPicture(&picture, folder, name);
        WritePictureBlock(&content, &picture);
    }
    TStringList names;
    ReadIniList(&ini, "PICTURES", "activepictures", &names);
    WriteInt32(&content, names.Count());
    for (Integer i = 0; i < names.Count(); ++i) {
        TBitmap picture;
        LoadSkinPicture(&picture, folder, names.Strings(i));
        picture.SaveToStream(&content);
    }
    WriteText(&content, &lines);
    Compress(&content, FCompressedStream.get());
}

void TspCompressedStoredSkin::LoadFromSkinData(TspSkinData* ASkinData)
{
    FCompressedStream->Clear();
    TMemoryStream content;
    WriteInt32(&content, kWrittenVersion);
    for (auto& main : ASkinData->MainPictures()) WritePictureBlock(&content, main.Picture->get());
    WriteInt32(&content, static_cast<Integer>(ASkinData->FActivePictures.size()));
    for (auto& picture : ASkinData->FActivePictures) picture->SaveToStream(&content);
    TMemIniFile ini("");
    ASkinData->SaveToCustomIniFile(&ini);
    TStringList lines;
    ini.GetStrings(&lines);
    WriteText(&content, &lines);
    Compress(&content, FCompressedStream.get());
}

void TspCompressedStoredSkin::SaveToCompressStream(TStream* Stream)
{
    const Int64 size = FCompressedStream->Size();
    if (size > std::numeric_limits<Integer>::max()) throw EWriteError("The stored skin is too large to write");
    WriteInt32(Stream, kWrittenVersion);
    WriteInt32(Stream, static_cast<Integer>(size));
    FCompressedStream->SetPosition(0);
    Stream->CopyFrom(FCompressedStream.get(), size);
}

void TspCompressedStoredSkin::SaveToCompressFile(const std::string& AFileName)
{
    if (IsEmpty()) return;
    TFileStream file(AFileName, fmCreate);
    SaveToCompressStream(&file);
}

void TspCompressedStoredSkin::LoadFromCompressStream(TStream* Stream)
{
    FCompressedStream->Clear();
    Stream->SetPosition(0);
    Integer version = 0;
    Stream->ReadBuffer(&version, 4);
    if (version > kHighestVersion) return;
    Integer length = 0;
    Stream->ReadBuffer(&length, 4);
    const Int64 left = Stream->Size() - Stream->Position();
    if (length < 0 || length > left)
        throw EReadError(Format("The stored skin claims %d bytes of data where %d are left", {length, left}));
    if (length > 0) FCompressedStream->CopyFrom(Stream, length);
}

void TspCompressedStoredSkin::LoadFromCompressFile(const std::string& AFileName)
{
    FCompressedStream->Clear();
    TFileStream file(AFileName, fmOpenRead);
    LoadFromCompressStream(&file);
}

void TspCompressedStoredSkin::DeCompressToStream(TMemoryStream* S)
{
    InflateSkinContent(FCompressedStream.get(), S, MaxStoredSkinContentSize);
}
