#pragma once
// Picture and record lookups every skinned control goes through. Indexes and names come from a skin file, so
// nothing read from it is trusted: an index outside the picture list gives no picture, and a record is only
// used as the class the caller asks for.
#include <initializer_list>
#include <string>

#include "platform/rtl/types.h"

class TBitmap;
class TspSkinData;
class TspDataSkinButtonControl;
class TspDataSkinControl;

// The skin's picture number AIndex, or nullptr without a skin data component or for any index outside the list.
TBitmap* SkinPicture(TspSkinData* ASkinData, Integer AIndex);

// The first of the names whose record is a button record; nullptr when none is, or without a loaded skin.
TspDataSkinButtonControl* FindButtonRecord(TspSkinData* ASkinData, std::initializer_list<const char*> ANames);

// The record named AName; nullptr when there is none, or without a loaded skin.
TspDataSkinControl* FindControlRecord(TspSkinData* ASkinData, const std::string& AName);
// The same, only when the record is a TRecord.
template <typename TRecord>
TRecord* FindRecordAs(TspSkinData* ASkinData, const std::string& AName)
{
    return dynamic_cast<TRecord*>(FindControlRecord(ASkinData, AName));
}
