#include "skin/controls/skin_pictures.h"

#include "skin/core/skin_data.h"

TBitmap* SkinPicture(TspSkinData* ASkinData, Integer AIndex)
{
    return ASkinData ? ASkinData->ActivePicture(AIndex) : nullptr;
}

TspDataSkinButtonControl* FindButtonRecord(TspSkinData* ASkinData, std::initializer_list<const char*> ANames)
{
    if (!ASkinData || ASkinData->Empty) return nullptr;
    for (const char* name : ANames) {
        const Integer index = ASkinData->GetControlIndex(name);
        if (index < 0) continue;
        if (auto* record = dynamic_cast<TspDataSkinButtonControl*>(ASkinData->CtrlList[index].get())) return record;
    }
    return nullptr;
}
