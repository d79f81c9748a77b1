#include "skin/controls/skin_pictures.h"

#include "skin/core/control_records.h"
#include "skin/core/skin_data.h"

TBitmap* SkinPicture(TspSkinData* ASkinData, Integer AIndex)
{
    return ASkinData ? ASkinData->ActivePicture(AIndex) : nullptr;
}

TspDataSkinControl* FindControlRecord(TspSkinData* ASkinData, const std::string& AName)
{
    if (!ASkinData || ASkinData->Empty) return nullptr;
    const Integer index = ASkinData->GetControlIndex(AName);
    return index < 0 ? nullptr : ASkinData->CtrlList[index].get();
}

TspDataSkinButtonControl* FindButtonRecord(TspSkinData* ASkinData, std::initializer_list<const char*> ANames)
{
    for (const char* name : ANames)
        if (auto* record = FindRecordAs<TspDataSkinButtonControl>(ASkinData, name)) return record;
    return nullptr;
}
