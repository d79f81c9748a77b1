#pragma once
// The windows whose contents come with later work start as bare skinned forms of their caption and size, so
// that the application creates all of its windows in their order from the first day.
#include <string>

#include "platform/gui/forms.h"

class TspCorvalis;
class TspSkinData;

class TBareSkinnedForm : public TForm {
public:
    // An empty caption makes a borderless window.
    TBareSkinnedForm(TComponent* AOwner, TspSkinData* ASkinData, const std::string& ACaption, int AClientWidth,
                     int AClientHeight);

    TspCorvalis* spCorvalis1 = nullptr;
};
