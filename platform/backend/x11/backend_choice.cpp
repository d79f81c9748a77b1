#include "platform/backend/x11/backend_choice.h"

#include "platform/backend/headless/headless_backend.h"
#include "platform/backend/x11/x11_backend.h"

#include <cstdlib>
#include <string_view>

namespace x11 {

std::unique_ptr<win::TBackend> CreateBackend()
{
    const char* wanted = std::getenv("QUENNARY_BACKEND");
    const char* display = std::getenv("DISPLAY");
    bool headless = wanted && std::string_view(wanted) == "headless";
    if (!headless && display && *display)
        if (auto backend = TX11Backend::Open())
            return backend;
    return std::make_unique<headless::THeadlessBackend>();
}

}  // namespace x11
