#include "skin/forms/quick_buttons.h"

#include "skin/forms/skin_form.h"

TspQuickButtonItem::TspQuickButtonItem(TCollection* ACollection) : TCollectionItem(ACollection) {}

void TspQuickButtonItem::Assign(TPersistent* Source)
{
    if (auto* other = dynamic_cast<TspQuickButtonItem*>(Source)) {
        FImageIndex = other->FImageIndex;
        FHint = other->FHint;
        FEnabled = other->FEnabled;
        FVisible = other->FVisible;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(Source);
}

void TspQuickButtonItem::SetImageIndex(Integer Value)
{
    FImageIndex = Value;
    Changed(false);
}

void TspQuickButtonItem::SetEnabled(bool Value)
{
    FEnabled = Value;
    Changed(false);
}

void TspQuickButtonItem::SetVisible(bool Value)
{
    FVisible = Value;
    Changed(false);
}

TspQuickButtonItems::TspQuickButtonItems(TspCorvalis* ACVL)
    : TOwnedCollection(ACVL, CollectionItemClass<TspQuickButtonItem>()), CVL(ACVL)
{
}

void TspQuickButtonItems::Update(TCollectionItem* /*Item*/)
{
    const TComponentState state = CVL->ComponentState();
    if (!state.Contains(csDesigning) && !state.Contains(csLoading) && !state.Contains(csDestroying))
        CVL->UpDateFormNC();
}
