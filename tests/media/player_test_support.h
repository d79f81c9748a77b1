#pragma once
// For the player tests: SDL's dummy drivers, a private SDL copy per player, and a player that records what its
// handlers were told (on the main thread, where the test waits).
#include <gtest/gtest.h>

#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "media/player/player.h"
#include "platform/rtl/environment.h"
#include "platform/rtl/folders.h"
#include "platform/rtl/main_thread_queue.h"
#include "tests/fixtures/media_fixtures.h"

// A copy of the installed SDL library under a name of its own, removed again with the object.
struct TSDLCopy {
    std::string Folder;
    std::string File;
    TSDLCopy()
    {
        const std::string path = CreateUniqueTempFile("sdl-", ".so");
        std::string error;
        EXPECT_TRUE(CopySDLLibrary(path, error)) << error;
        Folder = path.substr(0, path.rfind('/') + 1);
        File = path.substr(path.rfind('/') + 1);
    }
    ~TSDLCopy() { unlink((Folder + File).c_str()); }
    std::string Path() const { return Folder + File; }
};

struct TRecordingPlayer {
    TSDLCopy Copy;
    std::vector<TPlayState> States;
    std::vector<int64_t> Positions;
    // Last, so that it goes first: its threads may still report into the lists above until it has stopped.
    std::unique_ptr<TFFPlayer> Player = std::make_unique<TFFPlayer>(nullptr);

    TRecordingPlayer()
    {
        Player->OnState = [this](TObject*, TPlayState AState) { States.push_back(AState); };
        Player->OnPosition = [this](TObject*, int64_t APTS) { Positions.push_back(APTS); };
    }
    bool LoadSDL() { return Player->LoadSDLLib(Copy.Folder, Copy.File); }
    bool Saw(TPlayState AState) const
    {
        for (TPlayState state : States)
            if (state == AState) return true;
        return false;
    }
    int Count(TPlayState AState) const
    {
        int count = 0;
        for (TPlayState state : States) count += state == AState;
        return count;
    }
};

class PlayerTest : public MediaEngineTest {
protected:
    PlayerTest() : MediaEngineTest(PlayerLibraries) {}
    void SetUp() override
    {
        SetEnvironmentVariable("SDL_VIDEODRIVER", "dummy");
        SetEnvironmentVariable("SDL_AUDIODRIVER", "dummy");
        MediaEngineTest::SetUp();
    }
    // Waits on the main thread, running the handlers the players hand over meanwhile.
    static bool WaitUntil(const std::function<bool()>& ADone, DWORD ATimeout = 20000)
    {
        return WaitForWithSlices(ADone, 10, ATimeout);
    }
};
