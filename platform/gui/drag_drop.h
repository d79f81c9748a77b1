#pragma once
// Dragging one control onto another inside the program: the kinds, events and drag objects the controls use,
// and what the message loop needs to know of a drag in progress.
#include "platform/rtl/object.h"

#include <cstdint>
#include <functional>

class TControl;

enum TDragMode { dmManual, dmAutomatic };
enum TDragKind { dkDrag, dkDock };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };

// Source is the dragged control, or the drag object that OnStartDrag handed out. X and Y are in the client
// coordinates of Sender (DragOver, DragDrop) or of the target (EndDrag; 0, 0 when nothing took the drop).
using TDragOverEvent =
    std::function<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
class TDragObject;
using TStartDragEvent = std::function<void(TObject* Sender, TDragObject*& DragObject)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;

// What is being dragged, when a control wants to drag something other than itself. Whoever makes one keeps it.
class TDragObject : public TObject {
public:
    // The cursor over a target that accepts (AAccepted) or refuses; X, Y on the screen.
    virtual int16_t GetDragCursor(bool AAccepted, int AX, int AY);
};

// The drag object of a control dragging itself: the control's DragCursor over acceptors.
class TDragControlObject : public TDragObject {
public:
    explicit TDragControlObject(TControl* AControl) : FControl(AControl) {}
    TControl* Control() const { return FControl; }
    int16_t GetDragCursor(bool AAccepted, int AX, int AY) override;

private:
    TControl* FControl;
};

// A drag asked for or running (the pointer may not have gone past the threshold yet).
bool DragInProgress();
// Ends the drag as Escape does: no drop, the source hears OnEndDrag with no target.
void CancelDrag();
// For TControl's destructor: a dragged control ends its drag, a target stops being one.
void DragControlDestroyed(TControl* AControl);
