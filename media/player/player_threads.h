#pragma once
// The player's own threads (private to the player's sources).
#include "media/player/player.h"
#include "platform/rtl/threads.h"

#include <string>

// printf-style texts of the player's messages.
std::string PlayerText(const char* AFormat, ...) __attribute__((format(printf, 1, 2)));

// Runs the SDL event loop of one playback. The player joins it once it has signalled its end, so that no
// thread of a finished playback is still running when the player (or the process) goes.
class TPlayThread final : public TThread {
public:
    explicit TPlayThread(TCustomPlayer* AOwner) : TThread(false), FOwner(AOwner) {}
    ~TPlayThread() override
    {
        if (!Finished()) WaitFor();
    }

protected:
    void Execute() override;

private:
    TCustomPlayer* FOwner;
};

// Hands the ring's position and state notices to the player's handlers; owned by the player.
class TEventThread final : public TThread {
public:
    explicit TEventThread(TCustomPlayer* AOwner) : TThread(false), FOwner(AOwner) {}
    ~TEventThread() override
    {
        Terminate();
        if (!Finished()) WaitFor();
    }

protected:
    void Execute() override;

private:
    TCustomPlayer* FOwner;
};

// SDL thread bodies.
struct TPlayerThreadEntries {
    static int Read(void* AState);
    static int Video(void* AState);
    static int Refresh(void* AState);
    static int Subtitle(void* AState);
};
