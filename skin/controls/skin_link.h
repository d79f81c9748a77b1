#pragma once
// The skin link of the controls that stand on platform controls instead of the skinned bases (the standard, link,
// text and button labels, the bevel): a skin data component, a record name and the index found for it. They carry
// it themselves, so the skinned form's skin-change walk reaches them through TspSkinLinkedControl.
#include <string>

#include "platform/gui/controls.h"
#include "platform/rtl/types.h"
#include "skin/core/skin_data.h"

class TspSkinLinkedControl {
public:
    virtual ~TspSkinLinkedControl() = default;
    virtual TspSkinData* SkinData() const = 0;
    // Looks the record up again, re-reads it and repaints.
    virtual void ChangeSkinData() = 0;
};

template <typename TBase>
class TspSkinLinked : public TBase, public TspSkinLinkedControl {
public:
    explicit TspSkinLinked(TComponent* AOwner) : TBase(AOwner) {}

    TspSkinData* SkinData() const override { return FSD; }
    // Runs ChangeSkinData when the value is not nil.
    virtual void SetSkinData(TspSkinData* AValue)
    {
        Link(AValue);
        if (FSD) ChangeSkinData();
    }
    const std::string& SkinDataName() const { return FSkinDataName; }
    // Takes effect at the next paint or skin change.
    void SetSkinDataName(const std::string& AValue) { FSkinDataName = AValue; }
    // Index of the record in the skin's control list; -1 while unskinned.
    Integer SkinIndex() const { return FIndex; }
    bool Skinned() const { return FIndex != -1; }

protected:
    void Link(TspSkinData* AValue)
    {
        if (FSD) FSD->RemoveFreeNotification(this);
        FSD = AValue;
        if (FSD) FSD->FreeNotification(this);
    }
    // FIndex for the record name; the record when it is of class TRecord, else nullptr. A record of another
    // class leaves the control unskinned unless AKeepOtherClass.
    template <typename TRecord>
    TRecord* LookUpRecord(bool AKeepOtherClass = false)
    {
        FIndex = !FSD || FSD->Empty ? -1 : FSD->GetControlIndex(FSkinDataName);
        auto* record = FIndex < 0 ? nullptr : dynamic_cast<TRecord*>(FSD->CtrlList[FIndex].get());
        if (!record && !AKeepOtherClass) FIndex = -1;
        return record;
    }
    // The skin's colours while skinned, else nullptr.
    const TspSkinColors* SkinColors() const { return Skinned() && FSD ? FSD->FSkinColors.get() : nullptr; }
    void Notification(TComponent* AComponent, TOperation AOperation) override
    {
        TBase::Notification(AComponent, AOperation);
        if (AOperation == opRemove && AComponent == FSD) {
            FSD = nullptr;
            FIndex = -1;
        }
    }

    TspSkinData* FSD = nullptr;
    std::string FSkinDataName;
    Integer FIndex = -1;
};
