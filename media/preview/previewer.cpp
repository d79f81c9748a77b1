#include "media/preview/previewer.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "media/util/ff_utils.h"
#include "platform/gui/application.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/forms.h"
#include "platform/rtl/main_thread_queue.h"
#include "platform/rtl/threads.h"
#include "platform/win/input.h"
#include "platform/win/message_queue.h"

// What the window side keeps; shared with the calls queued for the main thread, which may run after the
// previewer is gone. Only the main thread touches the window fields.
struct TPreviewer::TState {
    TMessageEvent FAppMessage;  // the application's handler before ours
    int FAppMessageId = 0;
    win::HWND FFormHandle = nullptr;
    TForm* FForm = nullptr;
    std::atomic<bool> FClosed{false};
    TBitmap FBitmap;  // the picture on show
    int FFrameNumber = 0;
    int64_t FPTS = AV_NOPTS_VALUE;

    void DoPaint(TBitmap* ABitmap, int AFrameNumber, int64_t APTS);
    void CreateForm();
    void AppMessage(win::MSG& AMsg, bool& AHandled);
    void FreeForm();
};

namespace {

bool OnMainThread() { return win::GetCurrentThreadId() == MainThreadID; }

// One paint handed to the main thread. The conversion thread waits for it, or gives it up; a given-up paint
// never touches the caller's bitmap.
struct TPaintRequest {
    std::mutex Lock;
    std::condition_variable Done;
    bool Painted = false;
    bool GivenUp = false;
};

}  // namespace

void TPreviewer::TState::DoPaint(TBitmap* ABitmap, int AFrameNumber, int64_t APTS)
{
    if (FClosed) return;
    FBitmap.Assign(ABitmap);
    FFrameNumber = AFrameNumber;
    FPTS = APTS;
    if (FForm == nullptr) {
        CreateForm();
        FForm->Show();
    }
    FForm->SetCaption(FormatTimestamp(FPTS));
    FForm->Repaint();
}

void TPreviewer::TState::CreateForm()
{
    FForm = new TForm(nullptr);
    FForm->SetFormStyle(fsStayOnTop);
    FForm->SetBorderStyle(bsToolWindow);
    FForm->SetBorderIcons(TBorderIcons{biSystemMenu});
    FForm->SetPosition(poScreenCenter);
    FForm->OnCloseQuery = [this](TObject*, bool&) { FClosed = true; };
    FForm->OnPaint = [this](TObject*) { FForm->Canvas()->Draw(0, 0, &FBitmap); };
    // Later pictures are drawn at the same origin without resizing.
    FForm->SetClientSize(FBitmap.Width(), FBitmap.Height());
    FFormHandle = FForm->Handle();
    if (::Application != nullptr) {
        FAppMessage = ::Application->OnMessage();
        FAppMessageId =
            ::Application->SetOnMessage([this](win::MSG& AMsg, bool& AHandled) { AppMessage(AMsg, AHandled); });
    }
}

void TPreviewer::TState::AppMessage(win::MSG& AMsg, bool& AHandled)
{
    // The window has no caption worth aiming at: the picture itself drags it.
    if (AMsg.message == win::WM_LBUTTONDOWN && AMsg.hwnd == FFormHandle) {
        win::ReleaseCapture();
        win::SendMessage(FFormHandle, win::WM_NCLBUTTONDOWN, static_cast<win::WPARAM>(win::HTCAPTION),
                         win::PointToLParam(AMsg.pt));
        AHandled = true;
        return;
    }
    if (FAppMessage) FAppMessage(AMsg, AHandled);
}

void TPreviewer::TState::FreeForm()
{
    if (FForm == nullptr) return;
    if (::Application != nullptr && FAppMessageId != 0) ::Application->RemoveOnMessage(FAppMessageId);
    FAppMessageId = 0;
    FAppMessage = nullptr;
    delete FForm;
    FForm = nullptr;
    FFormHandle = nullptr;
}

TPreviewer::TPreviewer(std::function<bool()> AStopping)
    : FState(std::make_shared<TState>()), FStopping(std::move(AStopping))
{
}

TPreviewer::~TPreviewer()
{
    if (OnMainThread()) {
        FState->FreeForm();
        return;
    }
    // Waiting here for the main thread could hold up a conversion whose end the main thread waits for.
    QueueInMainThread(nullptr, [state = FState] { state->FreeForm(); });
}

bool TPreviewer::PaintFrame(TBitmap* ABitmap, int AFrameNumber, int64_t APTS)
{
    if (FState->FClosed) return false;
    if (OnMainThread()) {
        FState->DoPaint(ABitmap, AFrameNumber, APTS);
        return !FState->FClosed;
    }
    auto request = std::make_shared<TPaintRequest>();
    QueueInMainThread(nullptr, [state = FState, request, ABitmap, AFrameNumber, APTS] {
        std::lock_guard guard(request->Lock);
        if (request->GivenUp) return;
        try {
            state->DoPaint(ABitmap, AFrameNumber, APTS);
        } catch (...) {
            // A window that cannot be painted counts as closed: the conversion goes on without it.
            state->FClosed = true;
        }
        request->Painted = true;
        request->Done.notify_all();
    });
    std::unique_lock guard(request->Lock);
    while (!request->Painted) {
        if (FStopping && FStopping()) {
            request->GivenUp = true;
            return false;
        }
        request->Done.wait_for(guard, std::chrono::milliseconds(20));
    }
    return !FState->FClosed;
}

TForm* TPreviewer::Form() const { return FState->FForm; }

win::HWND TPreviewer::FormHandle() const { return FState->FFormHandle; }

bool TPreviewer::Closed() const { return FState->FClosed; }
