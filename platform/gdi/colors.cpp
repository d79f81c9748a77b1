#include "platform/gdi/colors.h"

#include <array>
#include <mutex>

#include "platform/gdi/gdi_objects_internal.h"

namespace win {
namespace {

constexpr int kSysColorCount = 31;

// The classic Windows defaults; the Parts compare against these when no skin is loaded.
constexpr std::array<COLORREF, kSysColorCount> kSysColors = {
    RGB(212, 208, 200), // scroll bar
    RGB(58, 110, 165),  // desktop
    RGB(10, 36, 106),   // active caption
    RGB(128, 128, 128), // inactive caption
    RGB(212, 208, 200), // menu
    RGB(255, 255, 255), // window
    RGB(0, 0, 0),       // window frame
    RGB(0, 0, 0),       // menu text
    RGB(0, 0, 0),       // window text
    RGB(255, 255, 255), // caption text
    RGB(212, 208, 200), // active border
    RGB(212, 208, 200), // inactive border
    RGB(128, 128, 128), // application work space
    RGB(10, 36, 106),   // highlight
    RGB(255, 255, 255), // highlight text
    RGB(212, 208, 200), // button face
    RGB(128, 128, 128), // button shadow
    RGB(128, 128, 128), // grey text
    RGB(0, 0, 0),       // button text
    RGB(212, 208, 200), // inactive caption text
    RGB(255, 255, 255), // button highlight
    RGB(64, 64, 64),    // 3-D dark shadow
    RGB(212, 208, 200), // 3-D light
    RGB(0, 0, 0),       // info text
    RGB(255, 255, 225), // info background
    RGB(181, 181, 181), // (unused index 25)
    RGB(0, 0, 128),     // hot light
    RGB(166, 202, 240), // gradient active caption
    RGB(192, 192, 192), // gradient inactive caption
    RGB(49, 106, 197),  // menu highlight
    RGB(236, 233, 216), // menu bar
};

} // namespace

COLORREF GetSysColor(int AIndex)
{
    if (AIndex < 0 || AIndex >= kSysColorCount)
        return 0;
    return kSysColors[size_t(AIndex)];
}

HBRUSH GetSysColorBrush(int AIndex)
{
    if (AIndex < 0 || AIndex >= kSysColorCount)
        return nullptr;
    static std::array<HBRUSH, kSysColorCount> brushes{};
    static std::once_flag once;
    std::call_once(once, [] {
        for (int i = 0; i < kSysColorCount; ++i) {
            auto brush = std::make_unique<detail::Brush>();
            brush->Color = kSysColors[size_t(i)];
            brush->Stock = true;
            brushes[size_t(i)] = detail::Register(std::move(brush));
        }
    });
    return brushes[size_t(AIndex)];
}

} // namespace win

int32_t ColorToRGB(TColor AColor)
{
    // Every negative value names a system colour by its low byte.
    if (AColor < 0)
        return int32_t(win::GetSysColor(int(AColor & 0xFF)));
    return AColor;
}
