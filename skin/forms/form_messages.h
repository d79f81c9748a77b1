#pragma once
// The skin library's private window messages as the skinned form hears and sends them, with the answers it
// gives. The skin data's own messages (1225 to 1227, 1274, 1294, 1427, 1428) are in skin_data_messages.h.
#include "platform/win/win_types.h"
#include "skin/core/skin_data_messages.h"

constexpr win::UINT SKM_CLOSEMENU = 1228;
constexpr win::UINT SKM_AFTERMENUCOMMAND = 1229;
constexpr win::UINT SKM_MDICHILD_REFIT = 1230;
constexpr win::UINT SKM_MDICHILD_MAXIMIZED = 1231;
constexpr win::UINT SKM_MDICHILD_RESTORED = 1232;
constexpr win::UINT SKM_TRAY_RESTORED = 1426;
constexpr win::UINT SKM_QUERY_SKINNABLE = 45490;
constexpr win::UINT SKM_SMARTEFFECTS_ARM = 45491;
constexpr win::UINT SKM_SMARTEFFECTS_SHOW = 45492;
constexpr win::UINT SKM_PAINT_NCAREA = 45513;
constexpr win::UINT SKM_PAINT_NCAREA_EX = 48203;

// Answers of the skinned form.
constexpr win::LRESULT SKA_SKINNABLE = 12853;
constexpr win::LRESULT SKA_NOT_SKINNABLE = 12852;
constexpr win::LRESULT SKA_NCAREA_PAINTED = 12851;
constexpr win::LPARAM SKA_NCAREA_EX_KEY = 16802;  // lParam and answer of SKM_PAINT_NCAREA_EX

// Posted by the skinned form to itself: frees the skin objects that were retired while one of them was
// handling input, once that handler has returned.
constexpr win::UINT SKM_RELEASE_OBJECTS = win::WM_USER + 0x0F01;
