#include "platform/backend/headless/headless_backend.h"
#include "platform/backend/x11/backend_choice.h"
#include "platform/backend/x11/x11_backend.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

class TEnvironment {
public:
    explicit TEnvironment(const char* AName) : FName(AName)
    {
        if (const char* value = std::getenv(AName))
            FSaved = value;
    }
    ~TEnvironment() { Set(FSaved); }
    void Set(const std::optional<std::string>& AValue)
    {
        if (AValue)
            setenv(FName, AValue->c_str(), 1);
        else
            unsetenv(FName);
    }

private:
    const char* FName;
    std::optional<std::string> FSaved;
};

TEST(BackendChoice, TheDisplayUnlessAbsentOrTheVariableAsksForHeadless)
{
    TEnvironment display("DISPLAY"), wanted("QUENNARY_BACKEND");
    std::optional<std::string> real = std::getenv("DISPLAY") ? std::optional<std::string>(std::getenv("DISPLAY"))
                                                             : std::nullopt;
    if (!real)
        GTEST_SKIP() << "needs an X display";
    struct TCase {
        std::optional<std::string> Display;
        std::optional<std::string> Wanted;
        bool X11;
    };
    const TCase cases[] = {
        {real, std::nullopt, true},
        {real, "x11", true},
        {real, "headless", false},
        {std::nullopt, std::nullopt, false},
        {std::string(), std::nullopt, false},
        {":4242", std::nullopt, false},  // set, but nothing answers there
    };
    for (const TCase& c : cases) {
        display.Set(c.Display);
        wanted.Set(c.Wanted);
        auto backend = x11::CreateBackend();
        ASSERT_NE(backend, nullptr);
        EXPECT_EQ(dynamic_cast<x11::TX11Backend*>(backend.get()) != nullptr, c.X11)
            << c.Display.value_or("(unset)") << " " << c.Wanted.value_or("(unset)");
        EXPECT_EQ(dynamic_cast<headless::THeadlessBackend*>(backend.get()) != nullptr, !c.X11);
    }
}

}  // namespace
