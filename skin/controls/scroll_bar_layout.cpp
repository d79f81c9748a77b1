#include "skin/controls/scroll_bar_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "skin/core/effect_bitmap.h"
#include "skin/core/rect_helpers.h"

namespace {

constexpr Integer kPlainButton = 17;
constexpr Integer kPlainThumb = 16;

struct TAxis {
    bool horizontal;
    Integer Start(const TRect& R) const { return horizontal ? R.Left : R.Top; }
    Integer End(const TRect& R) const { return horizontal ? R.Right : R.Bottom; }
    Integer Length(const TRect& R) const { return End(R) - Start(R); }
    Integer CrossStart(const TRect& R) const { return horizontal ? R.Top : R.Left; }
    Integer CrossEnd(const TRect& R) const { return horizontal ? R.Bottom : R.Right; }
    TRect Make(Integer AStart, Integer AEnd, Integer ACrossStart, Integer ACrossEnd) const
    {
        return horizontal ? Rect(AStart, ACrossStart, AEnd, ACrossEnd) : Rect(ACrossStart, AStart, ACrossEnd, AEnd);
    }
};

void PlainParts(const TspScrollBarState& S, TspScrollBarLayout& L)
{
    if (S.Kind == sbHorizontal) {
        const Integer len = S.Width - (S.Both ? S.BothMarkerWidth : 0);
        L.DownButton = Rect(1, 1, kPlainButton, S.Height - 1);
        L.UpButton = Rect(len - kPlainButton, 1, len - 1, S.Height - 1);
        L.Track = Rect(kPlainButton, 1, len - kPlainButton, S.Height - 1);
    } else {
        L.DownButton = Rect(1, 1, S.Width - 1, kPlainButton);
        L.UpButton = Rect(1, S.Height - kPlainButton, S.Width - 1, S.Height - 1);
        L.Track = Rect(1, kPlainButton, S.Width - 1, S.Height - kPlainButton);
    }
}

TRect MovedButton(const TspScrollBarState& S, TRect R, Integer dx, Integer dy)
{
    const TspScrollBarSkinParts& k = *S.Skin;
    if (S.Kind == sbHorizontal && R.Left > k.RTPoint.X) return Rect(R.Left + dx, R.Top, R.Right + dx, R.Bottom);
    if (S.Kind == sbVertical && R.Top > k.LBPoint.Y) return Rect(R.Left, R.Top + dy, R.Right, R.Bottom + dy);
    return R;
}

void SkinnedParts(const TspScrollBarState& S, TspScrollBarLayout& L)
{
    const TspScrollBarSkinParts& k = *S.Skin;
    const Integer dx = S.Width - WidthOfRect(k.SkinRect), dy = S.Height - HeightOfRect(k.SkinRect);
    L.Track = k.TrackArea;
    if (S.Kind == sbHorizontal)
        L.Track.Right += dx;
    else
        L.Track.Bottom += dy;
    L.UpButton = MovedButton(S, k.UpButtonRect, dx, dy);
    L.DownButton = MovedButton(S, k.DownButtonRect, dx, dy);
}

// The fraction of the way the thumb has gone, and the thumb's length.
void ThumbMeasure(const TspScrollBarState& S, const TAxis& axis, const TRect& track, double& kf, Integer& length)
{
    const TspScrollBarSkinParts* k = S.Skin;
    const Integer minimum = !k ? kPlainThumb : (k->ThumbMinSize != 0 ? k->ThumbMinSize : axis.Length(k->ThumbRect));
    // Differences of a range that may span every Integer are taken in doubles, where they cannot overflow.
    const double position = double(S.Position) - double(S.Min);
    kf = S.Max == S.Min ? 0.0 : position / (double(S.Max) - double(S.Min));
    if (S.PageSize == 0) {
        length = !k ? kPlainThumb : (k->ThumbMinPageSize != 0 ? k->ThumbMinPageSize : minimum);
        return;
    }
    const double span = double(S.Max) - double(S.Min) + 1.0;
    const double ratio = span == 0 ? 0.0 : static_cast<double>(S.PageSize) / span;
    length = std::max(RoundHalfEven(axis.Length(track) * ratio), minimum);
    const double divisor = double(S.Max) - double(S.PageSize) + 1.0 - double(S.Min);
    if (divisor > 0)
        kf = position / divisor;
    else
        kf = S.Kind == sbHorizontal ? 1.0 : 0.0;
}

}  // namespace

Integer ClampScrollPosition(Integer AValue, Integer AMin, Integer AMax, Integer APageSize)
{
    const Int64 high = APageSize > 0 ? Int64(AMax) - APageSize + 1 : AMax;
    return Integer(std::max<Int64>(AMin, std::min<Int64>(AValue, high)));
}

TspScrollBarLayout ComputeScrollBarLayout(const TspScrollBarState& S)
{
    TspScrollBarLayout L;
    const TAxis axis{S.Kind == sbHorizontal};
    if (S.Skin)
        SkinnedParts(S, L);
    else
        PlainParts(S, L);
    Integer crossStart = axis.CrossStart(L.Track), crossEnd = axis.CrossEnd(L.Track);
    if (S.Skin) {
        const Integer c = S.Kind == sbHorizontal ? HeightOfRect(S.Skin->ThumbRect) : WidthOfRect(S.Skin->ThumbRect);
        crossStart = crossStart + (crossEnd - crossStart) / 2 - c / 2;
        crossEnd = crossStart + c;
    }
    double kf = 0;
    Integer length = 0;
    ThumbMeasure(S, axis, L.Track, kf, length);
    const Integer h = length / 2;
    L.Offset1 = axis.Start(L.Track) + h;
    L.Offset2 = axis.End(L.Track) - h;
    L.BOffset = RoundHalfEven((L.Offset2 - L.Offset1) * kf);
    L.Thumb = axis.Make(L.Offset1 + L.BOffset - h, L.Offset1 + L.BOffset + h, crossStart, crossEnd);
    return L;
}

Integer PositionFromThumbOffset(const TspScrollBarState& S, const TspScrollBarLayout& L, Integer D,
                                Integer AOldBOffset)
{
    const TAxis axis{S.Kind == sbHorizontal};
    Integer offset1 = L.Offset1, offset2 = L.Offset2;
    if (S.PageSize != 0) {
        const Integer half = axis.Length(L.Thumb) / 2;
        offset1 = axis.Start(L.Track) + half;
        offset2 = axis.End(L.Track) - half;
    }
    const Integer t = D + AOldBOffset;
    double f = offset2 > offset1 ? static_cast<double>(t) / (offset2 - offset1) : 0.0;
    f = std::clamp(f, 0.0, 1.0);
    const double range = double(S.Max) - double(S.Min) - (S.PageSize == 0 ? 0.0 : double(S.PageSize) - 1.0);
    const double position = std::nearbyint(double(S.Min) + range * f);
    return Integer(std::clamp(position, double(std::numeric_limits<Integer>::min()),
                              double(std::numeric_limits<Integer>::max())));
}
