#pragma once
// An icon: one picture with per-pixel alpha, read from an ICO file (its largest, deepest image) or from PNG data,
// drawn blended over the canvas. Saved as an ICO file holding one PNG image. Handle gives the window manager's
// icon of the same picture, for window icons, the tray and DrawIconEx.
#include <cstdint>
#include <vector>

#include "platform/gui/graphic.h"
#include "platform/win/win_types.h"

class TIcon : public TGraphic {
public:
    TIcon() = default;
    ~TIcon() override;
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;

    // From a TIcon (a copy) or nullptr (empty).
    void Assign(TPersistent* ASource) override;

    bool Empty() const override { return FWidth == 0 || FHeight == 0; }
    Integer Width() const override { return FWidth; }
    Integer Height() const override { return FHeight; }
    void SetWidth(Integer AValue) override;
    void SetHeight(Integer AValue) override;

    // Straight (not premultiplied) 0xAARRGGBB pixels, rows top-down.
    const std::vector<uint32_t>& Pixels() const { return FPixels; }
    void SetPixels(Integer AWidth, Integer AHeight, std::vector<uint32_t> APixels);

    // Made on first use and kept until the picture changes; nullptr for an empty icon. The icon owns it.
    win::HICON Handle();
    // Takes AIcon's picture and the handle itself (nullptr empties the icon).
    void SetHandle(win::HICON AIcon);
    // The handle, now the caller's to destroy; the picture stays.
    win::HICON ReleaseHandle();

    void LoadFromStream(TStream* AStream) override;
    void SaveToStream(TStream* AStream) override;

protected:
    // To a TBitmap: 32 bits with the icon's alpha.
    void AssignTo(TPersistent* ADest) override;
    void Draw(TCanvas* ACanvas, const TRect& ARect) override;

private:
    Integer FWidth = 0;
    Integer FHeight = 0;
    std::vector<uint32_t> FPixels;
    win::HICON FHandle = nullptr;
};
