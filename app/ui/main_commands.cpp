#include "app/ui/main_commands.h"

#include <algorithm>

#include "platform/rtl/process.h"
#include "platform/win/geometry.h"
#include "platform/win/input.h"
#include "platform/win/keys.h"

TSuiteMenu SuiteMenuFor(const std::string& AFirstArgument)
{
    if (AFirstArgument.empty()) return {"&Tools", "Events Log", false};
    return {"&Suite ", "Switch Converter", true};
}

std::string OnlineGuideURL() { return std::string(kWebSite) + "guide/video-converters.htm"; }
std::string SupportURL() { return std::string(kWebSite) + "contact.htm"; }
std::string HomePageURL() { return kWebSite; }

std::string FacebookShareURL()
{
    return "https://www.facebook.com/sharer.php?u=" + PercentEncode(HomePageURL());
}

std::string TwitterShareURL(const std::string& ATitle)
{
    std::string text = ATitle;
    std::replace(text.begin(), text.end(), ' ', '+');
    return "https://twitter.com/share?original_referer=" + PercentEncode(HomePageURL()) + "&text=" + text;
}

TPoint ChooserPosition(TPoint AFieldScreenTopLeft, int AChooserHeight)
{
    return {AFieldScreenTopLeft.X, AFieldScreenTopLeft.Y - AChooserHeight};
}

bool IsPrimaryButtonDown()
{
    constexpr int kSwapButtonMetric = 23;
    const int button = win::GetSystemMetrics(kSwapButtonMetric) != 0 ? win::VK_RBUTTON : win::VK_LBUTTON;
    return (static_cast<uint16_t>(win::GetAsyncKeyState(button)) & 0x8000) != 0;
}
