#include "app/ui/file_adder_loop.h"

void WaitInMessageLoop(TFileAdder& AAdder, TApplication& AApplication)
{
    // A finished probe wakes the loop through the main-thread call queue (TMainThreadCallsInLoop).
    AAdder.WaitStep = [&AApplication] {
        if (!AApplication.Terminated()) AApplication.HandleMessage();
        return !AApplication.Terminated();
    };
    AAdder.Stopped = [&AApplication] { return AApplication.Terminated(); };
}
