#pragma once
// Editing an item's label in place, for the tree and list views. The editor is any windowed control with a
// text, made by one factory function; the program sets the factory once to its single-line edit. Until then
// a minimal built-in box (typing, Backspace) stands in. Enter or losing the focus accepts, Escape cancels.
#include "platform/gui/controls.h"

#include <functional>
#include <memory>
#include <string>

// The control made has no owner component: the edit session deletes it.
using TLabelEditorFactory = std::function<TWinControl*(TWinControl* AView)>;
void SetLabelEditorFactory(TLabelEditorFactory AFactory);  // an empty one brings back the built-in box

class TLabelEditSession {
public:
    using TDone = std::function<void(bool AAccepted, const std::string& AText)>;
    TLabelEditSession() = default;
    ~TLabelEditSession();
    TLabelEditSession(const TLabelEditSession&) = delete;
    TLabelEditSession& operator=(const TLabelEditSession&) = delete;

    // Puts an editor over ARect (view client coordinates) holding AText and gives it the focus. ADone hears
    // once how it ended.
    void Begin(TWinControl* AView, const TRect& ARect, const std::string& AText, TDone ADone);
    void End(bool AAccept);  // nothing when no edit runs
    bool Active() const { return FEditor != nullptr; }
    TWinControl* Editor() const { return FEditor.get(); }

private:
    std::unique_ptr<TWinControl> FEditor;
    // The editor that ended stays until the next edit: it may still be inside its own message handler.
    std::unique_ptr<TWinControl> FRetired;
    TWndMethod FEditorProc;
    TDone FDone;
};
