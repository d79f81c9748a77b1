#pragma once
// The Edit dialog's crop arithmetic, free of any window: picture pixels to panel pixels and back, the eight
// selection handles and their dragging rules, and the layout of the output preview. The dialog only copies the
// results into its panels.
#include <array>
#include <optional>

#include "platform/rtl/types.h"

// A player's aspect value: 0 keeps the frame's shape, -1 fills the panel, above 1 is a display ratio.
inline constexpr double kAspectKeepOriginal = 0.0;
inline constexpr double kAspectFullScreen = -1.0;

// How a W x H picture sits in a pw x ph panel for one aspect value. Built only when every scale is non-zero.
class TPictureFit {
public:
    static std::optional<TPictureFit> Make(int AWidth, int AHeight, int APanelWidth, int APanelHeight, double AAspect);

    double X(double APictureX) const;  // picture column to panel x, unrounded
    double Y(double APictureY) const;
    int PictureX(double APanelX) const;  // panel x back to a picture column, rounded half to even
    int PictureY(double APanelY) const;

private:
    bool FWidthLimited = false;  // the picture is narrower than the panel: margins left and right
    double FScale = 0;           // s
    double FStretch = 0;         // sx or sy
    double FK = 0;               // k
    double FMargin = 0;          // m
};

struct TPictureBounds {
    int MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
    friend bool operator==(const TPictureBounds&, const TPictureBounds&) = default;
};

// The edges of the picture on the source preview, with the frame's own shape. Empty for a zero-sized picture.
std::optional<TPictureBounds> PictureBounds(int AWidth, int AHeight, int APanelWidth, int APanelHeight);

enum class TCropHandle { LeftTop, TopMiddle, RightTop, RightMiddle, RightBottom, BottomMiddle, LeftBottom, LeftMiddle };

inline constexpr int kHandleReference = 4;  // a handle's reference point is its left + 4, top + 4
inline constexpr int kHandleGap = 8;        // handles never come closer than this

// Top-left corners of the eight handles and the bounds of the four one-pixel border lines.
struct TCropArea {
    std::array<TPoint, 8> Handles{};
    TRect LineLeft, LineTop, LineRight, LineBottom;

    TPoint& operator[](TCropHandle AHandle) { return Handles[static_cast<int>(AHandle)]; }
    const TPoint& operator[](TCropHandle AHandle) const { return Handles[static_cast<int>(AHandle)]; }
};

// The selection in picture pixels, as the four spin edits show it.
struct TCropValues {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    friend bool operator==(const TCropValues&, const TCropValues&) = default;
};

// Keeps the selection inside a W x H frame and at least 2 x 2 pixels, so that no later step divides by an empty
// selection or stores a negative right or bottom margin.
TCropValues ClampCropValues(TCropValues AValues, int AFrameWidth, int AFrameHeight);

// Places the two corner handles from the values, then lays out the rest.
void ValuesToCropArea(TCropArea& AArea, const TPictureFit& AFit, const TCropValues& AValues);
// Lays out the other handles and the lines from the top-left and bottom-right handles.
void LayOutCropArea(TCropArea& AArea);
// The selection the handles show, in picture pixels.
TCropValues CropAreaToValues(const TCropArea& AArea, const TPictureFit& AFit);

// Moves a handle by the mouse offset (mouse position minus grab point) along the axes it moves. Returns false,
// leaving the area untouched, when the move would reach or pass the opposite handle.
bool DragCropHandle(TCropArea& AArea, TCropHandle AHandle, TPoint AOffset, const TPictureBounds& ABounds);

struct TPreviewLayout {
    TRect ClipWindow;   // Panel2 within Panel1
    TRect PlayerPanel;  // panPreview2 within Panel2, usually larger and at negative offsets
};

// Lays out the output preview so that the selected area fills the clipping window. Empty when the selection
// covers no panel pixels.
std::optional<TPreviewLayout> ValuesToPreviewArea(const TPictureFit& AOutputFit, const TCropValues& AValues,
                                                  TSize ASourcePanel, TSize AFramePanel);
