// Plays one media file and prints the player's states and positions, for looking at the player by hand.
//
//   play FILE [--paused] [--headless]
//
// In a window of its own on the X display: a form whose panel's native window SDL draws into. Space pauses and
// resumes, the arrow keys seek ten seconds, Escape or closing the window stops. --headless plays with SDL's dummy
// drivers and no window. --paused opens paused on the first picture (headless: resumes after a second).
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "media/loader/engine.h"
#include "media/loader/library_loader.h"
#include "media/log/ff_logger.h"
#include "media/player/player.h"
#include "media/player/sdl_loader.h"
#include "platform/backend/x11/x11_backend.h"
#include "platform/gui/application.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/forms.h"
#include "platform/rtl/environment.h"
#include "platform/rtl/folders.h"
#include "platform/rtl/main_thread_queue.h"
#include "platform/win/message_queue.h"

namespace {

const char* StateName(TPlayState AState)
{
    static const char* const names[] = {"play", "pause", "resume", "step", "stop", "end"};
    return names[AState];
}

// A private copy of SDL for this player, removed again at the end.
struct TSDLFile {
    std::string Path;
    bool Make(std::string& AError)
    {
        Path = CreateUniqueTempFile("play-sdl-", ".so");
        return CopySDLLibrary(Path, AError);
    }
    ~TSDLFile()
    {
        if (!Path.empty()) std::remove(Path.c_str());
    }
};

struct TOptions {
    std::string File;
    bool Paused = false;
    bool Headless = false;
};

bool ParseOptions(int argc, char** argv, TOptions& AOptions)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--paused") == 0)
            AOptions.Paused = true;
        else if (std::strcmp(argv[i], "--headless") == 0)
            AOptions.Headless = true;
        else if (argv[i][0] == '-' && argv[i][1] == '-')
            return false;
        else if (AOptions.File.empty())
            AOptions.File = argv[i];
        else
            return false;
    }
    return !AOptions.File.empty();
}

// The last state the player reported (set on the main thread).
TPlayState LastState = psStop;
bool Ended = false;

// Runs queued main-thread calls and window messages until ADone.
void RunUntil(TApplication* AApplication, const std::function<bool()>& ADone)
{
    while (!ADone()) {
        CheckSynchronize(10);
        if (AApplication != nullptr) AApplication->ProcessMessages();
    }
}

int PlayHeadless(TFFPlayer& APlayer, const TOptions& AOptions)
{
    // Only where the user chose nothing: a chosen driver (disk audio, say) stays.
    if (GetEnvironmentVariable("SDL_VIDEODRIVER").empty()) SetEnvironmentVariable("SDL_VIDEODRIVER", "dummy");
    if (GetEnvironmentVariable("SDL_AUDIODRIVER").empty()) SetEnvironmentVariable("SDL_AUDIODRIVER", "dummy");
    if (!APlayer.Open(AOptions.File, nullptr, AOptions.Paused)) {
        std::fprintf(stderr, "%s\n", APlayer.LastErrMsg().c_str());
        return 1;
    }
    if (AOptions.Paused) {
        RunUntil(nullptr, [&] { return LastState == psPause || Ended; });
        WaitForWithSlices([] { return false; }, 10, 1000);
        APlayer.Resume();
    }
    RunUntil(nullptr, [&] { return Ended; });
    APlayer.Stop(true);
    return 0;
}

int PlayInWindow(TFFPlayer& APlayer, const TOptions& AOptions)
{
    std::unique_ptr<x11::TX11Backend> display = x11::TX11Backend::Open();
    if (!display) {
        std::fprintf(stderr, "no X display answers; use --headless\n");
        return 1;
    }
    win::SetBackend(display.get());
    win::InstallMainThreadHooks();
    int result = 0;
    {
        TApplication application(nullptr);
        application.SetTitle("play");
        auto* form = application.CreateForm<TForm>();
        form->SetCaption("play - " + AOptions.File);
        form->SetBorderStyle(bsSizeable);
        form->SetPosition(poScreenCenter);
        form->SetClientSize(640, 360);
        form->SetKeyPreview(true);
        auto* panel = new TPanel(form);
        panel->SetAlign(alClient);
        panel->SetBevelOuter(bvNone);
        panel->SetColor(clBlack);
        panel->SetParent(form);
        bool closed = false;
        form->OnClose = [&](TObject*, TCloseAction& AAction) {
            closed = true;
            AAction = caHide;
        };
        form->OnKeyDown = [&](TObject*, win::WORD& AKey, TShiftState) {
            if (AKey == win::VK_SPACE) APlayer.TogglePause();
            if (AKey == win::VK_RIGHT) APlayer.Seek(10.0, TSeekFlags{}, false);
            if (AKey == win::VK_LEFT) APlayer.Seek(-10.0, TSeekFlags{}, false);
            if (AKey == win::VK_ESCAPE) closed = true;
        };
        form->Show();
        application.ProcessMessages();
        if (!APlayer.Open(AOptions.File, panel->Handle(), AOptions.Paused)) {
            std::fprintf(stderr, "%s\n", APlayer.LastErrMsg().c_str());
            result = 1;
        } else {
            RunUntil(&application, [&] { return closed || Ended; });
            APlayer.Stop(true);
        }
    }
    win::SetBackend(nullptr);
    return result;
}

}  // namespace

int main(int argc, char** argv)
{
    TOptions options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: play FILE [--paused] [--headless]\n");
        return 2;
    }
    StartMediaEngine();
    int result = 1;
    {
        auto* logger = new TFFLogger(nullptr);
        logger->SetTriggerEventInMainThread(false);
        logger->SetLogLevel(llWarning);
        logger->OnLog = [](TObject*, Cardinal, TLogLevel, const std::string& AText) {
            std::fprintf(stderr, "%s\n", AText.c_str());
        };
        TSDLFile sdl;
        std::string error;
        TFFPlayer player(nullptr);
        if (!player.LoadAVLib("")) {
            std::fprintf(stderr, "%s\n", player.LastErrMsg().c_str());
        } else if (!sdl.Make(error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
        } else if (!player.LoadSDLLib(sdl.Path.substr(0, sdl.Path.rfind('/') + 1),
                                      sdl.Path.substr(sdl.Path.rfind('/') + 1))) {
            std::fprintf(stderr, "%s\n", player.LastErrMsg().c_str());
        } else {
            player.OnFileOpen = [](TObject*, int64_t ADuration, int AWidth, int AHeight, int&, int&) {
                std::printf("opened: duration %.2f s, picture %d x %d\n", ADuration / 1e6, AWidth, AHeight);
            };
            player.OnState = [](TObject*, TPlayState AState) {
                std::printf("state: %s\n", StateName(AState));
                LastState = AState;
                Ended = Ended || AState == psEnd || AState == psStop;
            };
            player.OnPosition = [](TObject*, int64_t APTS) { std::printf("position: %.2f s\n", APTS / 1e6); };
            result = options.Headless ? PlayHeadless(player, options) : PlayInWindow(player, options);
            std::fflush(stdout);
        }
        delete logger;
    }
    StopMediaEngine();
    return result;
}
