#pragma once
// The desktop's bell.
#include "platform/win/win_types.h"

namespace win {

// AType is the kind of alert (0, 0xFFFFFFFF or an MB_ICON value); every kind rings the same bell here. Without a
// backend nothing sounds and the answer is FALSE.
BOOL MessageBeep(UINT AType);

}  // namespace win
