#pragma once
// How the shell views link to each other, and the flag they keep set while they move themselves.
#include "platform/rtl/classes.h"

// Keeps a flag set for a scope, exceptions included, then puts its old value back.
class TShellFlagScope {
public:
    explicit TShellFlagScope(bool& AFlag) : FFlag(AFlag), FOld(AFlag) { AFlag = true; }
    ~TShellFlagScope() { FFlag = FOld; }
    TShellFlagScope(const TShellFlagScope&) = delete;
    TShellFlagScope& operator=(const TShellFlagScope&) = delete;

private:
    bool& FFlag;
    bool FOld;
};

// The rule every shell view links a partner by: nothing for the current partner; a new one hears about this
// view's removal, takes its root and links back; with none, the old partner's link back is cleared. The field is
// stored first, because the partner's writer calls back here and must find the link made.
template <typename TPartner, typename TTakeRoot, typename TLinkBack>
void LinkShellPartner(TComponent* ASelf, TPartner*& AField, TPartner* AValue, TTakeRoot ATakeRoot, TLinkBack ALinkBack)
{
    if (AValue == AField) return;
    TPartner* old = AField;
    AField = AValue;
    if (AValue) {
        AValue->FreeNotification(ASelf);
        ATakeRoot(AValue);
        ALinkBack(AValue, true);
    } else if (old) {
        ALinkBack(old, false);
    }
}
