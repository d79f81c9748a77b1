#pragma once
// The table of the texts the skinned parts draw themselves (system-menu items, caption-button hints, edit menus,
// message-box buttons, file-dialog labels), one "NAME=text" line each, so a program can translate them in one place.
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/classes.h"
#include "platform/rtl/strings.h"

// The built-in lines, in table order.
const std::vector<std::string>& DefaultResStrings();

class TspResourceStrData : public TComponent {
public:
    explicit TspResourceStrData(TComponent* AOwner);

    TStringList* ResStrings() const { return FResStrings.get(); }
    // Copies the lines; the table keeps its own list.
    void SetResStrings(TStrings* AValue);
    Integer CharSet = 1;

    // The text after the first "=" of the first line whose name matches without regard to case; empty when none.
    std::string GetResStr(const std::string& ResName) const;

private:
    std::unique_ptr<TStringList> FResStrings = std::make_unique<TStringList>();
};
