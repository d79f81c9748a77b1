#include "app/crop_geometry.h"

#include <algorithm>
#include <cmath>

namespace {

// Round half to even, as every rounding of the selection does.
int RoundEven(double AValue) { return static_cast<int>(std::nearbyint(AValue)); }

bool Finite(double AValue) { return std::isfinite(AValue) && AValue != 0.0; }

}  // namespace

std::optional<TPictureFit> TPictureFit::Make(int AWidth, int AHeight, int APanelWidth, int APanelHeight,
                                             double AAspect)
{
    if (AWidth <= 0 || AHeight <= 0 || APanelWidth <= 0 || APanelHeight <= 0)
        return std::nullopt;
    const double w = AWidth, h = AHeight, pw = APanelWidth, ph = APanelHeight;
    const double r = w / h;
    TPictureFit fit;
    fit.FK = AAspect == 0 ? 1.0 : AAspect / r;
    if (pw > w * (ph / h) * fit.FK) {
        double shown_columns = w;
        if (AAspect == kAspectFullScreen) {
            shown_columns = RoundEven(h * pw / ph);
            fit.FK = (pw / ph) / r;
        } else if (AAspect != 0) {
            shown_columns = RoundEven(h * AAspect);
        }
        fit.FWidthLimited = true;
        fit.FScale = ph / h;
        const double shown = shown_columns * fit.FScale;
        fit.FMargin = pw - shown;
        fit.FStretch = shown / shown_columns;
    } else {
        const double shown_rows = AAspect == 0 ? h : RoundEven(w / AAspect);
        fit.FScale = pw / w;
        const double shown = shown_rows * fit.FScale;
        fit.FMargin = ph - shown;
        fit.FStretch = shown / shown_rows;
    }
    if (!Finite(fit.FScale) || !Finite(fit.FStretch) || !Finite(fit.FK))
        return std::nullopt;
    return fit;
}

double TPictureFit::X(double APictureX) const
{
    return FWidthLimited ? APictureX * FStretch * FK + FMargin / 2 : APictureX * FScale;
}

double TPictureFit::Y(double APictureY) const
{
    return FWidthLimited ? APictureY * FScale : APictureY * FStretch / FK + FMargin / 2;
}

int TPictureFit::PictureX(double APanelX) const
{
    return FWidthLimited ? RoundEven((APanelX - FMargin / 2) / (FStretch * FK)) : RoundEven(APanelX / FScale);
}

int TPictureFit::PictureY(double APanelY) const
{
    return FWidthLimited ? RoundEven(APanelY / FScale) : RoundEven((APanelY - FMargin / 2) / (FStretch / FK));
}

std::optional<TPictureBounds> PictureBounds(int AWidth, int AHeight, int APanelWidth, int APanelHeight)
{
    if (AWidth <= 0 || AHeight <= 0)
        return std::nullopt;
    const double w = AWidth, h = AHeight, pw = APanelWidth, ph = APanelHeight;
    TPictureBounds bounds;
    if (pw > w * (ph / h)) {
        const double s = ph / h, shown = w * s;
        bounds.MinX = RoundEven((pw - shown) / 2);
        bounds.MaxX = RoundEven(w * (shown / w) + (pw - shown) / 2);
        bounds.MaxY = RoundEven(h * s);
    } else {
        const double s = pw / w, shown = h * s;
        bounds.MinY = RoundEven((ph - shown) / 2);
        bounds.MaxX = RoundEven(w * s);
        bounds.MaxY = RoundEven(h * (shown / h) + (ph - shown) / 2);
    }
    return bounds;
}

TCropValues ClampCropValues(TCropValues AValues, int AFrameWidth, int AFrameHeight)
{
    static constexpr int kMinimum = 2;
    auto clamp_axis = [](int& AStart, int& ASize, int AFrame) {
        const int frame = std::max(AFrame, kMinimum);
        AStart = std::clamp(AStart, 0, frame - kMinimum);
        ASize = std::clamp(ASize, kMinimum, frame - AStart);
    };
    clamp_axis(AValues.Left, AValues.Width, AFrameWidth);
    clamp_axis(AValues.Top, AValues.Height, AFrameHeight);
    return AValues;
}

void ValuesToCropArea(TCropArea& AArea, const TPictureFit& AFit, const TCropValues& AValues)
{
    AArea[TCropHandle::LeftTop] = {RoundEven(AFit.X(AValues.Left)) - kHandleReference,
                                   RoundEven(AFit.Y(AValues.Top)) - kHandleReference};
    AArea[TCropHandle::RightBottom] = {RoundEven(AFit.X(AValues.Left + AValues.Width)) - kHandleReference,
                                       RoundEven(AFit.Y(AValues.Top + AValues.Height)) - kHandleReference};
    LayOutCropArea(AArea);
}

void LayOutCropArea(TCropArea& AArea)
{
    const TPoint lt = AArea[TCropHandle::LeftTop];
    const TPoint rb = AArea[TCropHandle::RightBottom];
    const TPoint lb{lt.X, rb.Y};
    const TPoint rt{rb.X, lt.Y};
    AArea[TCropHandle::LeftBottom] = lb;
    AArea[TCropHandle::RightTop] = rt;
    AArea[TCropHandle::LeftMiddle] = {lt.X, lt.Y + (lb.Y - lt.Y) / 2};
    AArea[TCropHandle::TopMiddle] = {lt.X + (rt.X - lt.X) / 2, lt.Y};
    AArea[TCropHandle::BottomMiddle] = {lb.X + (rb.X - lb.X) / 2, lb.Y};
    AArea[TCropHandle::RightMiddle] = {rt.X, rt.Y + (rb.Y - rt.Y) / 2};

    constexpr int r = kHandleReference;
    AArea.LineLeft = Bounds(lt.X + r, lt.Y + r, 1, lb.Y - lt.Y);
    AArea.LineRight = Bounds(rt.X + r, rt.Y + r, 1, rb.Y - rt.Y);
    AArea.LineTop = Bounds(lt.X + r, lt.Y + r, rt.X - lt.X, 1);
    AArea.LineBottom = Bounds(lb.X + r, lb.Y + r, rt.X - lt.X, 1);
}

TCropValues CropAreaToValues(const TCropArea& AArea, const TPictureFit& AFit)
{
    const TPoint lt = AArea[TCropHandle::LeftTop];
    const TPoint rb = AArea[TCropHandle::RightBottom];
    const int left = AFit.PictureX(lt.X + kHandleReference), top = AFit.PictureY(lt.Y + kHandleReference);
    const int right = AFit.PictureX(rb.X + kHandleReference), bottom = AFit.PictureY(rb.Y + kHandleReference);
    return {left, top, right - left, bottom - top};
}

namespace {

bool MovesX(TCropHandle AHandle) { return AHandle != TCropHandle::TopMiddle && AHandle != TCropHandle::BottomMiddle; }
bool MovesY(TCropHandle AHandle) { return AHandle != TCropHandle::LeftMiddle && AHandle != TCropHandle::RightMiddle; }

bool ReachesOpposite(const TCropArea& A, TCropHandle AHandle, TPoint P)
{
    using enum TCropHandle;
    switch (AHandle) {
    case LeftTop: return !(P.X < A[RightBottom].X && P.Y < A[RightBottom].Y);
    case RightBottom: return !(P.X > A[LeftTop].X && P.Y > A[LeftTop].Y);
    case LeftBottom: return !(P.X < A[RightTop].X && P.Y > A[RightTop].Y);
    case RightTop: return !(P.X > A[LeftBottom].X && P.Y < A[LeftBottom].Y);
    case TopMiddle: return !(P.Y < A[BottomMiddle].Y);
    case BottomMiddle: return !(P.Y > A[TopMiddle].Y);
    case LeftMiddle: return !(P.X < A[RightMiddle].X);
    case RightMiddle: return !(P.X > A[LeftMiddle].X);
    }
    return true;
}

// Reference point onto the picture first, then the gap to the other handles, so the gap wins.
void KeepAtLeast(int& AValue, int ALimit) { AValue = std::max(AValue, ALimit); }
void KeepAtMost(int& AValue, int ALimit) { AValue = std::min(AValue, ALimit); }

void DragSizingHandle(TCropArea& A, TCropHandle AHandle, const TPictureBounds& B)
{
    using enum TCropHandle;
    constexpr int r = kHandleReference, g = kHandleGap;
    TPoint& p = A[AHandle];
    switch (AHandle) {
    case LeftTop:
        KeepAtLeast(p.X, B.MinX - r), KeepAtLeast(p.Y, B.MinY - r);
        KeepAtMost(p.X, A[RightTop].X - g), KeepAtMost(p.Y, A[LeftBottom].Y - g);
        A[LeftBottom].X = p.X, A[RightTop].Y = p.Y;
        break;
    case RightBottom:
        KeepAtMost(p.X, B.MaxX - r), KeepAtMost(p.Y, B.MaxY - r);
        KeepAtLeast(p.X, A[LeftTop].X + g), KeepAtLeast(p.Y, A[LeftTop].Y + g);
        A[LeftBottom].Y = p.Y, A[RightTop].X = p.X;
        break;
    case LeftBottom:
        KeepAtLeast(p.X, B.MinX - r), KeepAtMost(p.Y, B.MaxY - r);
        KeepAtMost(p.X, A[RightBottom].X - g), KeepAtLeast(p.Y, A[LeftTop].Y + g);
        A[LeftTop].X = p.X, A[RightBottom].Y = p.Y;
        break;
    case RightTop:
        KeepAtMost(p.X, B.MaxX - r), KeepAtLeast(p.Y, B.MinY - r);
        KeepAtLeast(p.X, A[LeftTop].X + g), KeepAtMost(p.Y, A[RightBottom].Y - g);
        A[RightBottom].X = p.X, A[LeftTop].Y = p.Y;
        break;
    case TopMiddle:
        KeepAtLeast(p.Y, B.MinY - r);
        KeepAtMost(p.Y, A[RightBottom].Y - g);
        A[LeftTop].Y = p.Y, A[RightTop].Y = p.Y;
        break;
    case BottomMiddle:
        KeepAtMost(p.Y, B.MaxY - r);
        KeepAtLeast(p.Y, A[TopMiddle].Y + g);
        A[LeftBottom].Y = p.Y, A[RightBottom].Y = p.Y;
        break;
    case LeftMiddle:
        KeepAtLeast(p.X, B.MinX - r);
        KeepAtMost(p.X, A[RightMiddle].X - g);
        A[LeftTop].X = p.X, A[LeftBottom].X = p.X;
        break;
    case RightMiddle:
        KeepAtMost(p.X, B.MaxX - r);
        KeepAtLeast(p.X, A[LeftMiddle].X + g);
        A[RightTop].X = p.X, A[RightBottom].X = p.X;
        break;
    }
}

}  // namespace

bool DragCropHandle(TCropArea& AArea, TCropHandle AHandle, TPoint AOffset, const TPictureBounds& ABounds)
{
    TPoint moved = AArea[AHandle];
    if (MovesX(AHandle))
        moved.X += AOffset.X;
    if (MovesY(AHandle))
        moved.Y += AOffset.Y;
    if (ReachesOpposite(AArea, AHandle, moved))
        return false;
    AArea[AHandle] = moved;
    DragSizingHandle(AArea, AHandle, ABounds);
    LayOutCropArea(AArea);
    return true;
}

std::optional<TPreviewLayout> ValuesToPreviewArea(const TPictureFit& AOutputFit, const TCropValues& AValues,
                                                  TSize ASourcePanel, TSize AFramePanel)
{
    const double pw = ASourcePanel.cx, ph = ASourcePanel.cy;
    const double x1 = AOutputFit.X(AValues.Left), y1 = AOutputFit.Y(AValues.Top);
    const double cw = AOutputFit.X(AValues.Left + AValues.Width) - x1;
    const double ch = AOutputFit.Y(AValues.Top + AValues.Height) - y1;
    // An empty selection would divide by zero below and hand the window system a nonsense size.
    if (!(cw > 0) || !(ch > 0) || pw <= 0 || ph <= 0)
        return std::nullopt;

    TPreviewLayout layout;
    double fw = 0, fh = 0;
    const double frame_w = AFramePanel.cx, frame_h = AFramePanel.cy;
    if (pw / ph >= cw / ch) {
        const int width = RoundEven(frame_h * cw / ch);
        layout.ClipWindow = Bounds(RoundEven(frame_w / 2 - width / 2.0), 0, width, AFramePanel.cy);
        fw = ph * cw / ch, fh = ph;
    } else {
        const int height = RoundEven(frame_w * ch / cw);
        layout.ClipWindow = Bounds(0, RoundEven(frame_h / 2 - height / 2.0), AFramePanel.cx, height);
        fw = pw, fh = pw * ch / cw;
    }
    layout.PlayerPanel = Bounds(-RoundEven(fw / cw * x1), -RoundEven(fh / ch * y1), RoundEven(pw * fw / cw),
                                RoundEven(ph * fh / ch));
    return layout;
}
