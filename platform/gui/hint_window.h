#pragma once
// The hint window: a small top-most popup that never takes the activation, sized to its text.
#include "platform/gui/controls.h"

#include <functional>

class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner);

    // Places the window at ARect (screen) with AHint as its text and shows it without activating it.
    virtual void ActivateHint(const TRect& ARect, const std::string& AHint);
    // The rectangle (at 0, 0) the text needs, wrapped at AMaxWidth.
    virtual TRect CalcHintRect(Integer AMaxWidth, const std::string& AHint, void* AData);
    void ReleaseHandle();
    bool Active() { return HandleAllocated() && win::IsWindowVisible(Handle()); }

protected:
    void CreateParams(TCreateParams& AParams) override;
    void Paint() override;
    void WndProc(TMessage& AMessage) override;
};

using THintWindowClass = std::function<THintWindow*(TComponent* AOwner)>;
template <typename T>
THintWindowClass HintWindowClassOf()
{
    return [](TComponent* AOwner) -> THintWindow* { return new T(AOwner); };
}
