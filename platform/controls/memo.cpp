#include "platform/controls/memo.h"

#include "platform/win/win.h"

using namespace win;

Integer TMemoStrings::Count() const
{
    const TEditModel& model = FMemo->Model();
    int count = model.LineCount();
    return model.Line(count - 1).empty() ? count - 1 : count;
}

std::string TMemoStrings::Strings(Integer AIndex) const
{
    if (AIndex < 0 || AIndex >= Count())
        throw EStringListError("List index out of bounds (" + std::to_string(AIndex) + ")");
    return FMemo->Model().Line(AIndex);
}

void TMemoStrings::SetStrings(Integer AIndex, const std::string& S)
{
    if (AIndex < 0 || AIndex >= Count())
        throw EStringListError("List index out of bounds (" + std::to_string(AIndex) + ")");
    FMemo->FModel.SetLine(AIndex, S);
    FMemo->ModelChanged();
}

void TMemoStrings::Insert(Integer AIndex, const std::string& S)
{
    if (AIndex < 0 || AIndex > Count())
        throw EStringListError("List index out of bounds (" + std::to_string(AIndex) + ")");
    // The new line goes before the empty line that follows the last break, so the text keeps ending in one.
    if (AIndex == Count() && !FMemo->Model().Line(FMemo->Model().LineCount() - 1).empty())
        FMemo->FModel.InsertLine(AIndex, "");
    FMemo->FModel.InsertLine(AIndex, S);
    FMemo->ModelChanged();
}

void TMemoStrings::Delete(Integer AIndex)
{
    if (AIndex < 0 || AIndex >= Count())
        throw EStringListError("List index out of bounds (" + std::to_string(AIndex) + ")");
    FMemo->FModel.DeleteLine(AIndex);
    FMemo->ModelChanged();
}

void TMemoStrings::Clear() { FMemo->SetText(""); }

void TMemoStrings::SetText(const std::string& AValue) { FMemo->SetText(AValue); }

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner, true), FLines(std::make_unique<TMemoStrings>(this))
{
    SetBounds(0, 0, 185, 89);
    SetAutoSelect(false);
    FWantReturns = true;
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::SetWordWrap(bool AValue)
{
    if (AValue == FWordWrap)
        return;
    FWordWrap = AValue;
    FScrollX = 0;
    ModelChanged(false);
}

bool TCustomMemo::DoMouseWheel(TShiftState AShift, int AWheelDelta, TPoint AMousePos)
{
    if (TCustomEdit::DoMouseWheel(AShift, AWheelDelta, AMousePos))
        return true;
    // Three rows a notch, as the desktop scrolls text.
    int rows = 3 * AWheelDelta / WHEEL_DELTA;
    for (int i = 0; i < std::abs(rows); ++i)
        Perform(WM_VSCROLL, rows > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    return rows != 0;
}
