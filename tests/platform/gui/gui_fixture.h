#pragma once
// A headless screen, a virtual clock and an application, torn down in the order a program would.
#include "platform/backend/headless/headless_backend.h"
#include "platform/gui/application.h"
#include "platform/gui/screen.h"
#include "platform/rtl/clock.h"

#include <gtest/gtest.h>

#include <memory>

namespace guitest {

class TGuiFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        win::SetBackend(&Display);
        App = std::make_unique<TApplication>(nullptr);
    }

    void TearDown() override
    {
        App.reset();
        Pump();
        win::SetBackend(nullptr);
    }

    // Through the application, so key messages meet shortcuts and dialog keys as in the program.
    void Pump()
    {
        if (App)
            App->ProcessMessages();
        else
            headless::THeadlessBackend::ProcessMessages();
    }
    void AdvanceMs(int64_t AMilliseconds)
    {
        Clock.Advance(AMilliseconds * 1000);
        Pump();
    }

    // A shown form at a known place, owned by the application.
    template <typename TFormClass = TForm>
    TFormClass* NewForm(TRect ABounds = Bounds(100, 100, 400, 300))
    {
        auto* form = new TFormClass(App.get());
        form->SetBorderStyle(bsSingle);
        form->SetBoundsRect(ABounds);
        return form;
    }

    // Starts away from zero, as a real tick count would.
    TVirtualClock Clock{int64_t(1) << 32};
    TClockOverride ClockScope{Clock};
    headless::THeadlessBackend Display;
    std::unique_ptr<TApplication> App;
};

}  // namespace guitest
