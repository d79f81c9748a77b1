#pragma once
// The cover of an inactive form's client area: a child panel showing a snapshot of the client area taken when
// the form lost the activation, blurred or washed out by the form's own background.
#include <memory>

#include "skin/controls/paint_panel.h"
#include "skin/core/skin_bitmap.h"
#include "skin/forms/skin_form.h"

class TspClientInActivePanel : public TspSkinPaintPanel {
public:
    // Starts hidden, without a snapshot.
    explicit TspClientInActivePanel(TComponent* AOwner);
    ~TspClientInActivePanel() override;

    // Takes the snapshot of AForm's client area and covers it; nothing for a hidden form or an empty client.
    void ShowPanel(TCustomForm* AForm, TspClientInActiveEffect AEffect);
    void HidePanel();
    TspBitmap* Buffer() const { return FBuffer.get(); }

protected:
    // Only the snapshot: the panel's own look never shows.
    void Paint() override;

private:
    std::unique_ptr<TspBitmap> FBuffer;
};
