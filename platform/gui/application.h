#pragma once
// The application: the message loop, the OnMessage hook (a stack, so that nested holders restore in any order),
// the main form, minimizing and restoring all forms, termination, hints and the default exception display.
#include "platform/gui/hint_window.h"
#include "platform/gui/forms.h"

class TScreen;

#include <exception>
#include <string>
#include <vector>

// What a hint is about to show; OnShowHint and CM_HINTSHOW may change it.
struct THintInfo {
    TControl* HintControl = nullptr;
    TPoint HintPos;            // screen
    Integer HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TRect CursorRect;          // in the control's client coordinates; leaving it ends the hint
    TPoint CursorPos;          // in the control's client coordinates
    Integer ReshowTimeout = 0;
    Integer HideTimeout = 0;
    std::string HintStr;
    void* HintData = nullptr;
};

using TMessageEvent = std::function<void(win::MSG& AMsg, bool& AHandled)>;
using TShowHintEvent = std::function<void(std::string& AHintStr, bool& ACanShow, THintInfo& AHintInfo)>;
using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    void Initialize() {}
    // Constructs a form owned by the application; the first one becomes the main form.
    template <typename TFormClass, typename... TArgs>
    TFormClass* CreateForm(TArgs&&... AArgs)
    {
        auto* form = new TFormClass(this, std::forward<TArgs>(AArgs)...);
        if (!FMainForm)
            FMainForm = form;
        form->AfterConstruction();
        return form;
    }
    // Shows the main form (unless ShowMainForm is off) and runs the message loop until Terminate.
    void Run();
    bool ShowMainForm = true;
    // Handles every waiting message and returns.
    void ProcessMessages();
    // Handles one message, or waits for one after the idle work.
    void HandleMessage();
    void Terminate();
    bool Terminated() const { return FTerminated; }

    win::HWND Handle();  // the hidden application window
    TCustomForm* MainForm() const { return FMainForm; }
    void SetMainForm(TCustomForm* AForm) { FMainForm = AForm; }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& AValue) { FTitle = AValue; }
    std::string ExeName() const;

    // Minimizes (hides) all visible forms and brings them back.
    void Minimize();
    void Restore();
    bool Minimized() const { return FMinimized; }

    // The OnMessage hook as a stack: setting pushes, RemoveOnMessage takes a given holder out wherever it is.
    int SetOnMessage(TMessageEvent AHandler);
    void RemoveOnMessage(int AId);
    TMessageEvent OnMessage() const;

    // Hints
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool AValue);
    THintWindowClass HintWindowClass;
    Integer HintPause = 500;
    Integer HintShortPause = 50;
    Integer HintHidePause = 2500;
    TColor HintColor = clInfoBk;
    TShowHintEvent OnShowHint;
    THintWindow* HintWindow() const { return FHintWindow; }
    void ActivateHint(TPoint ACursorPos);
    void CancelHint();
    void HideHint();
    // Called by controls: the pointer moved over AControl, or left it.
    void HintMouseMessage(TControl* AControl, TMessage& AMessage);
    void HintControlLeft(TControl* AControl);
    void ControlDestroyed(TControl* AControl);

    // Shows the error as a plain message box (or OnException when set) and carries on.
    void HandleException(TObject* ASender);
    void ShowException(const std::exception& E);
    TExceptionEvent OnException;
    TNotifyEvent OnIdle;
    // A plain message box over the active form.
    int MessageBox(const std::string& AText, const std::string& ACaption, win::UINT AFlags = 0);

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    bool ProcessMessage(win::MSG& AMsg);
    bool IsKeyMsg(win::MSG& AMsg);
    void Idle();
    void AppWndProc(TMessage& AMessage);
    void StartHintTimer(Integer APause, int AId);
    void StopHintTimer(int AId);
    TControl* HintControlFor(TControl* AControl);

    win::HWND FHandle = nullptr;
    TCustomForm* FMainForm = nullptr;
    std::string FTitle;
    bool FTerminated = false;
    bool FMinimized = false;
    std::vector<TCustomForm*> FMinimizedForms;
    std::vector<std::pair<int, TMessageEvent>> FOnMessage;
    int FNextMessageId = 1;
    bool FShowHint = true;
    THintWindow* FHintWindow = nullptr;
    TControl* FHintControl = nullptr;
    TRect FHintCursorRect;
    bool FHintActive = false;
    bool FShowingHint = false;
    TScreen* FOwnScreen = nullptr;
    int FHookId = 0;
};

extern TApplication* Application;
