#pragma once
// What the skinned tree and list views share: their skin font and colours, and the two optional external bars
// that stand in for the native ones. A bar is shown only while its direction can scroll (and the view is
// visible); when a bar comes or goes, an aligned view's parent re-aligns, so that view and bars share the room.
#include <functional>

#include "platform/gui/controls.h"
#include "skin/controls/scroll_bar_link.h"

class TspSkinData;
class TspSkinScrollBar;

// Font and colours of a view from its "treeview" / "listview" record, or the defaults without one. Returns the
// record's index, -1 while unskinned.
Integer ApplyTextViewSkin(TControl* AView, TspSkinData* ASkinData, const std::string& AName, bool AUseSkinFont,
                          TFont* ADefaultFont, TColor ADefaultColor);

class TspViewBars {
public:
    using TScroll = std::function<void(Integer APosition)>;
    TspViewBars(TWinControl* AView, TScroll AOnVScroll, TScroll AOnHScroll);

    TspSkinScrollBar* VBar() const { return FV->Bar(); }
    TspSkinScrollBar* HBar() const { return FH->Bar(); }
    // Links a bar (nullptr unlinks): enabled, hidden until the next update.
    void SetVBar(TspSkinScrollBar* ABar) { Link(FV, ABar); }
    void SetHBar(TspSkinScrollBar* ABar) { Link(FH, ABar); }

    // A bar update, or the re-alignment it caused, is under way.
    bool InCheck = false;

    // Shows or hides one bar; when shown, its range. Returns whether its visibility changed.
    bool Apply(TspSkinScrollBar* ABar, bool AShow, Integer AMin, Integer AMax, Integer APos, Integer APage);
    // After both bars: the corner marker, and the parent's re-alignment when a bar came or went.
    void Finish(bool AChanged);
    // Both bars follow the view's own visibility.
    void FollowVisible(bool AVisible);
    // The view's message procedure offers every message here first; true when it was the deferred
    // re-alignment, which needs nothing more.
    bool HandleMessage(TMessage& AMessage);

private:
    void Link(TspScrollBarLink* ALink, TspSkinScrollBar* ABar);

    TWinControl* FView;
    TspScrollBarLink* FV;
    TspScrollBarLink* FH;
};
