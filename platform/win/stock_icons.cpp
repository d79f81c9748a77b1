#include "platform/win/stock_icons.h"

#include "platform/win/icons.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace win {

namespace {

// Shapes in unit coordinates (0..1 across the icon, y downwards). A painter answers the colour at a point, or
// 0 (transparent) outside the drawing.
using TPainter = std::function<uint32_t(double, double)>;

constexpr uint32_t kWhite = 0xFFFFFFFF;

double SegmentDistance(double AX, double AY, double AX1, double AY1, double AX2, double AY2)
{
    double dx = AX2 - AX1, dy = AY2 - AY1;
    double t = std::clamp(((AX - AX1) * dx + (AY - AY1) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(AX - (AX1 + t * dx), AY - (AY1 + t * dy));
}

bool InCircle(double AX, double AY, double ACX, double ACY, double AR) { return std::hypot(AX - ACX, AY - ACY) <= AR; }

// A round badge with its outline and a white sign on it.
TPainter Badge(uint32_t AFill, uint32_t AOutline, std::function<bool(double, double)> ASign)
{
    return [=](double AX, double AY) -> uint32_t {
        double r = std::hypot(AX - 0.5, AY - 0.5);
        if (r > 0.47)
            return 0;
        if (r > 0.43)
            return AOutline;
        return ASign(AX, AY) ? kWhite : AFill;
    };
}

bool Cross(double AX, double AY)
{
    return SegmentDistance(AX, AY, 0.32, 0.32, 0.68, 0.68) <= 0.075 ||
           SegmentDistance(AX, AY, 0.68, 0.32, 0.32, 0.68) <= 0.075;
}

bool Question(double AX, double AY)
{
    constexpr double cx = 0.5, cy = 0.37, r = 0.14, half = 0.065;
    double angle = std::atan2(AY - cy, AX - cx);  // 0 to the right, growing downwards
    bool on_ring = std::abs(std::hypot(AX - cx, AY - cy) - r) <= half;
    bool arc = on_ring && angle <= std::numbers::pi / 2 && !(AY > cy && AX < cx);
    bool stem = SegmentDistance(AX, AY, cx, cy + r, cx, 0.62) <= half;
    return arc || stem || InCircle(AX, AY, cx, 0.76, 0.07);
}

bool Info(double AX, double AY)
{
    return InCircle(AX, AY, 0.5, 0.27, 0.075) || SegmentDistance(AX, AY, 0.5, 0.43, 0.5, 0.74) <= 0.065;
}

uint32_t Warning(double AX, double AY)
{
    // Signed distances to the triangle's three edges, positive inside.
    const double px[3] = {0.5, 0.97, 0.03}, py[3] = {0.05, 0.92, 0.92};
    double inside = 1;
    for (int i = 0; i < 3; ++i) {
        double x1 = px[i], y1 = py[i], x2 = px[(i + 1) % 3], y2 = py[(i + 1) % 3];
        double nx = y1 - y2, ny = x2 - x1, length = std::hypot(nx, ny);
        inside = std::min(inside, ((AX - x1) * nx + (AY - y1) * ny) / length);
    }
    if (inside < 0)
        return 0;
    if (inside < 0.04)
        return 0xFFA07800;
    if (SegmentDistance(AX, AY, 0.5, 0.34, 0.5, 0.62) <= 0.06 || InCircle(AX, AY, 0.5, 0.77, 0.06))
        return 0xFF202020;
    return 0xFFF5C518;
}

uint32_t Application(double AX, double AY)
{
    if (AX < 0.06 || AX > 0.94 || AY < 0.12 || AY > 0.88)
        return 0;
    if (AX < 0.1 || AX > 0.9 || AY < 0.16 || AY > 0.84)
        return 0xFF404858;
    if (AY < 0.32) {
        for (double button : {0.62, 0.74})
            if (AX >= button && AX < button + 0.08 && AY >= 0.2 && AY < 0.28)
                return kWhite;
        return 0xFF2F5FA8;
    }
    return kWhite;
}

TPainter PainterFor(uintptr_t AId)
{
    switch (AId) {
    case IDI_APPLICATION: return Application;
    case IDI_HAND: return Badge(0xFFD32F2F, 0xFF9A1B1B, Cross);
    case IDI_QUESTION: return Badge(0xFF1E66C8, 0xFF134A96, Question);
    case IDI_EXCLAMATION: return Warning;
    case IDI_ASTERISK: return Badge(0xFF1E66C8, 0xFF134A96, Info);
    default: return nullptr;
    }
}

}  // namespace

std::vector<uint32_t> DrawStockIcon(uintptr_t AId, int ASize)
{
    TPainter paint = PainterFor(AId);
    if (!paint || ASize <= 0)
        return {};
    // Four by four samples a pixel smooth the edges.
    constexpr int samples = 4;
    std::vector<uint32_t> result(static_cast<size_t>(ASize) * ASize);
    for (int y = 0; y < ASize; ++y)
        for (int x = 0; x < ASize; ++x) {
            double sum[4] = {0, 0, 0, 0};  // alpha and premultiplied red, green, blue
            for (int sy = 0; sy < samples; ++sy)
                for (int sx = 0; sx < samples; ++sx) {
                    uint32_t c = paint((x + (sx + 0.5) / samples) / ASize, (y + (sy + 0.5) / samples) / ASize);
                    double a = (c >> 24) / 255.0;
                    sum[0] += a;
                    sum[1] += a * ((c >> 16) & 0xFF);
                    sum[2] += a * ((c >> 8) & 0xFF);
                    sum[3] += a * (c & 0xFF);
                }
            double alpha = sum[0] / (samples * samples);
            if (alpha <= 0)
                continue;
            auto channel = [&](int AIndex) {
                return static_cast<uint32_t>(std::lround(std::clamp(sum[AIndex] / sum[0], 0.0, 255.0)));
            };
            result[static_cast<size_t>(y) * ASize + x] = (static_cast<uint32_t>(std::lround(alpha * 255)) << 24) |
                                                        (channel(1) << 16) | (channel(2) << 8) | channel(3);
        }
    return result;
}

}  // namespace win
