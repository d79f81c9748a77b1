#pragma once
// What the skinned text controls (edit, spin edit, memo) share around the skin: the record lookup by name and
// class, the font charset of the skin's interface texts, the height of a font's text, and mixing a picture over
// what lies behind it.
#include <string>

#include "platform/gui/graphics.h"
#include "skin/core/skin_data.h"

class TBitmap;

// Index of the record named AName when it is a TRecord; -1 without a loaded skin, a record of that name or of
// that class.
template <typename TRecord>
Integer FindRecordIndex(TspSkinData* ASkin, const std::string& AName)
{
    if (!ASkin || ASkin->Empty) return -1;
    const Integer index = ASkin->GetControlIndex(AName);
    return index >= 0 && dynamic_cast<TRecord*>(ASkin->CtrlList[index].get()) ? index : -1;
}

template <typename TRecord>
TRecord* FindRecord(TspSkinData* ASkin, const std::string& AName)
{
    const Integer index = FindRecordIndex<TRecord>(ASkin, AName);
    return index < 0 ? nullptr : static_cast<TRecord*>(ASkin->CtrlList[index].get());
}

// The charset of the skin's interface texts, else AFallBack.
TFontCharset SkinCharset(TspSkinData* ASkin, TFontCharset AFallBack);

// The text-metric height of AFont measured on the screen.
Integer ScreenTextHeight(TFont* AFont);

// B mixed over ABehind (of B's size): B's weight is AValue / 255; the result is left in B.
void MixOver(TBitmap* B, TBitmap* ABehind, Byte AValue);
