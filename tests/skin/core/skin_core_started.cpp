// Every skin core test runs after the skin core's start-up, as the program does from main.
#include <gtest/gtest.h>

#include "skin/core/skin_startup.h"

namespace {

class SkinCoreStarted : public ::testing::Environment {
public:
    void SetUp() override { SkinCoreStartUp(); }
};

const ::testing::Environment* const kStarted = ::testing::AddGlobalTestEnvironment(new SkinCoreStarted);

}  // namespace
