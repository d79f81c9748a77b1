#pragma once
// TComponent for the media components. The runtime library's classes unit is still being written; until it is
// there this gives the owner link the media components need and nothing more.
#if __has_include("platform/rtl/classes.cpp")
#include "platform/rtl/classes.h"
#else
#include "platform/rtl/object.h"

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* AOwner) : FOwner(AOwner) {}
    TComponent* Owner() const { return FOwner; }

private:
    TComponent* FOwner;
};
#endif
