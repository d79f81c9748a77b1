// TspSkinData's side of stored skins: reading an inflated block, checked against the bytes that are really there.
#include <cstring>

#include "platform/gui/graphic_errors.h"
#include "platform/rtl/sysutils.h"
#include "skin/core/skin_data.h"
#include "skin/core/stored_skin.h"

class TspSkinContentReader {
public:
    TspSkinContentReader(TspSkinData* ASkinData, TMemoryStream* AContent)
        : FSkinData(ASkinData), FData(static_cast<const uint8_t*>(AContent->Memory())),
          FSize(static_cast<size_t>(AContent->Size()))
    {
    }

    // False when the content's version is one this reader does not know.
    bool Read()
    {
        const Integer version = ReadInt32();
        if (version > 3) return false;
        const bool pictures[] = {true, version == 2 || version == 3, true, version == 1 || version == 2,
                                 version == 1 || version == 2};
        auto mains = FSkinData->MainPictures();
        for (size_t i = 0; i < mains.size(); ++i)
            if (pictures[i]) ReadPictureBlock(mains[i].Picture->get());
        const Integer count = ReadInt32();
        for (Integer i = 0; i < count; ++i) {
            auto bitmap = std::make_unique<TBitmap>();
            ReadBmpImage(bitmap.get());
            FSkinData->FActivePictures.push_back(std::move(bitmap));
        }
        ReadDescriptionText();
        return true;
    }

private:
    size_t Left() const { return FSize - FPos; }

    void Need(size_t ACount, const char* AWhat)
    {
        if (ACount > Left())
            throw EReadError(Format("The stored skin ends inside its %s", {std::string(AWhat)}));
    }

    Integer ReadInt32()
    {
        Need(4, "header");
        Integer value = 0;
        std::memcpy(&value, FData + FPos, 4);
        FPos += 4;
        return value;
    }

    void ReadPictureBlock(TBitmap* APicture)
    {
        Need(1, "pictures");
        const uint8_t flag = FData[FPos++];
        if (flag == 1) return;
        if (flag != 0) throw EReadError("The stored skin has a damaged picture block");
        ReadBmpImage(APicture);
    }

    // A BMP image is taken only whole: "BM", a size that covers its headers and lies within the bytes left. The
    // picture reader then sees exactly those bytes and nothing after them.
    void ReadBmpImage(TBitmap* APicture)
    {
        constexpr size_t kFileHeader = 14, kSmallestInfoHeader = 12;
        Need(kFileHeader, "pictures");
        uint32_t size = 0;
        std::memcpy(&size, FData + FPos + 2, 4);
        if (FData[FPos] != 'B' || FData[FPos + 1] != 'M' || size < kFileHeader + kSmallestInfoHeader ||
            size > Left())
            throw EInvalidGraphic("The stored skin holds a damaged BMP image");
        TMemoryStream image;
        image.WriteBuffer(FData + FPos, size);
        image.SetPosition(0);
        APicture->LoadFromStream(&image);
        FPos += size;
    }

    void ReadDescriptionText()
    {
        std::string text(reinterpret_cast<const char*>(FData + FPos), Left());
        FPos = FSize;
        if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
        TStringList lines;
        lines.SetText(text);
        TMemIniFile ini("");
        ini.SetStrings(&lines);
        FSkinData->ReadDescription(&ini, "", false);
    }

    TspSkinData* FSkinData;
    const uint8_t* FData;
    size_t FSize;
    size_t FPos = 0;
};

void TspSkinData::LoadCompressedStoredSkin(TspCompressedStoredSkin* AStoredSkin)
{
    if (!AStoredSkin || AStoredSkin->IsEmpty()) return;
    BeginSkinChange();
    bool known = false;
    try {
        TMemoryStream content;
        AStoredSkin->DeCompressToStream(&content);
        known = TspSkinContentReader(this, &content).Read();
    } catch (...) {
        AbortSkinChange();
        throw;
    }
    // A content version this reader does not know ends like a cleared skin; it is no error.
    if (!known) {
        AbortSkinChange();
        return;
    }
    EndSkinChange();
}

void TspSkinData::LoadFromCompressedFile(const std::string& FileName)
{
    TspCompressedStoredSkin stored(nullptr);
    stored.LoadFromCompressFile(FileName);
    if (!stored.IsEmpty()) LoadCompressedStoredSkin(&stored);
}

void TspSkinData::SaveToCompressedFile(const std::string& FileName)
{
    TspCompressedStoredSkin stored(nullptr);
    stored.LoadFromSkinData(this);
    stored.SaveToCompressFile(FileName);
}
