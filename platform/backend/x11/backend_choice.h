#pragma once
// Which screen the program uses: the X display when DISPLAY is set, the in-memory screen otherwise or when
// QUENNARY_BACKEND=headless asks for it.
#include "platform/win/backend.h"

#include <memory>

namespace x11 {

std::unique_ptr<win::TBackend> CreateBackend();

}  // namespace x11
