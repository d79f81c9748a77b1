#pragma once
// The link between a scrolled control (memo, views, lists, grids) and the external skinned scroll bar that
// stands in for its native bar: the control mirrors its range, page and position into the bar without raising
// the bar's OnChange, and scrolls itself when the user moves the bar. Either side may go first: the link
// forgets a bar that is destroyed, and detaches the bar's OnChange when the link (its control) goes.
#include <functional>

#include "platform/rtl/classes.h"
#include "platform/rtl/types.h"

class TspSkinScrollBar;
class TWinControl;

// Scrolls AControl to APosition with a WM_VSCROLL / WM_HSCROLL (AMessage) thumb request. The message holds 16
// bits only, so the native bar's position is set first: the control takes the whole position from it.
void SendThumbPosition(TWinControl* AControl, unsigned AMessage, Integer APosition);

class TspScrollBarLink : public TComponent {
public:
    // Called with the bar's new position when the user moved it.
    using TScrollHandler = std::function<void(Integer APosition)>;

    TspScrollBarLink(TComponent* AOwner, TScrollHandler AOnScroll);
    ~TspScrollBarLink() override;

    TspSkinScrollBar* Bar() const { return FBar; }
    void SetBar(TspSkinScrollBar* ABar);
    // Range, page and position into the bar; nothing when they already stand there.
    void Mirror(Integer AMin, Integer AMax, Integer APageSize, Integer APosition);

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    void Detach();

    TspSkinScrollBar* FBar = nullptr;
    TScrollHandler FOnScroll;
};
