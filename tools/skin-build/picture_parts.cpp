#include "picture_parts.h"

#include <set>

bool IsPicturePart(const std::string& AKind, const std::string& AKey)
{
    // A few keys mean a place in one kind and a picture in another.
    static const std::set<std::string> places = {"clientrect", "checkimagearea", "textarea", "trackarea",
                                                 "upbuttonrect", "progressarea", "itemtextrect", "captionrect",
                                                 "fixedcelltextrect", "celltextrect", "textrect", "imagerect",
                                                 "itemsrect", "trackbuttonrect", "frametextrect", "buttonsarea"};
    if (places.count(AKey)) return false;
    if (AKey == "downbuttonrect") return AKind != "scrollbar" && AKind != "updown" && AKind != "spinedit";
    if (AKey == "buttonrect") return AKind == "trackbar";
    return AKey == "disableskinrsect" || (AKey.size() > 4 && AKey.compare(AKey.size() - 4, 4, "rect") == 0);
}
