#pragma once
// Lets the window's message loop run the calls worker threads hand to the user-interface thread (the encoder's
// progress and end of a task, the players' events): a queued call wakes the loop with a thread message, and the
// loop runs the pending calls when it takes that message out. For as long as the object lives; one at a time, on
// the user-interface thread.
class TMainThreadCallsInLoop {
public:
    TMainThreadCallsInLoop();
    ~TMainThreadCallsInLoop();
    TMainThreadCallsInLoop(const TMainThreadCallsInLoop&) = delete;
    TMainThreadCallsInLoop& operator=(const TMainThreadCallsInLoop&) = delete;

private:
    int FHook = 0;
};
