#pragma once
// The links between file-system controls are held on both sides: ASelf->*AForward points at the partner and the
// partner's ->*ABack points back. Setting one side clears the old partner's back link, takes the new partner from
// a box it was linked to before, and asks both for removal notices so that either side going clears the other.
template <typename TSelf, typename TOther>
void SetFileControlLink(TSelf* ASelf, TOther* TSelf::*AForward, TSelf* TOther::*ABack, TOther* AValue)
{
    TOther*& partner = ASelf->*AForward;
    if (partner == AValue) return;
    if (partner) {
        partner->*ABack = nullptr;
        partner->RemoveFreeNotification(ASelf);
    }
    partner = AValue;
    if (!partner) return;
    if (TSelf* former = partner->*ABack; former && former != ASelf)
        SetFileControlLink(former, AForward, ABack, static_cast<TOther*>(nullptr));
    partner->*ABack = ASelf;
    partner->FreeNotification(ASelf);
    ASelf->FreeNotification(partner);
}
