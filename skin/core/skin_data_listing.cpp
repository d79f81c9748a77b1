#include "skin/core/skin_data_listing.h"

#include <zlib.h>

#include <vector>

#include "platform/rtl/sysutils.h"
#include "skin/core/skin_data.h"

namespace {

std::string PictureLine(TBitmap* APicture)
{
    if (!APicture || APicture->Empty()) return "empty";
    const size_t stride = size_t(APicture->Width()) * 3;
    std::vector<uint8_t> rows(stride * size_t(APicture->Height()));
    CopyBgrRows(APicture, rows.data(), stride);
    const uLong sum = crc32(crc32(0L, Z_NULL, 0), rows.data(), static_cast<uInt>(rows.size()));
    return Format("%dx%d crc=%.8x", {APicture->Width(), APicture->Height(), static_cast<Cardinal>(sum)});
}

}  // namespace

std::string SkinDataListing(TspSkinData* ASkinData)
{
    std::string out = "[STATE]\n";
    out += Format("empty=%d\nchangeskindataprocess=%d\n",
                  {Integer(ASkinData->Empty), Integer(ASkinData->ChangeSkinDataProcess)});
    out += "[PICTURE DATA]\n";
    for (auto& main : ASkinData->MainPictures())
        out += std::string(main.Key) + "=" + PictureLine(main.Picture->get()) + "\n";
    for (size_t i = 0; i < ASkinData->FActivePictures.size(); ++i)
        out += Format("active%d=", {Integer(i)}) + PictureLine(ASkinData->FActivePictures[i].get()) + "\n";
    TMemIniFile ini("");
    ASkinData->SaveToCustomIniFile(&ini);
    TStringList lines;
    ini.GetStrings(&lines);
    for (Integer i = 0; i < lines.Count(); ++i) out += lines.Strings(i) + "\n";
    return out;
}
