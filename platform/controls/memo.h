#pragma once
// The multi-line edit field: lines with a strings view, word wrap at the formatting rectangle's width, Enter
// and Tab kept or left to the form, and scroll state kept for bars drawn elsewhere (SB_VERT in rows, SB_HORZ in
// pixels) that WM_VSCROLL / WM_HSCROLL move.
#include "platform/controls/custom_edit.h"
#include "platform/rtl/strings.h"

#include <memory>

class TCustomMemo;

// Lines of a memo; the trailing empty line after a final line break is not counted, as the text reads.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo* AMemo) : FMemo(AMemo) {}
    Integer Count() const override;
    std::string Strings(Integer AIndex) const override;
    void SetStrings(Integer AIndex, const std::string& S) override;
    void Insert(Integer AIndex, const std::string& S) override;
    void Delete(Integer AIndex) override;
    void Clear() override;
    void SetText(const std::string& AValue) override;

private:
    TCustomMemo* FMemo;
};

class TCustomMemo : public TCustomEdit {
public:
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;

    TStrings* Lines() { return FLines.get(); }
    void SetLines(TStrings* AValue) { FLines->Assign(AValue); }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool AValue);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool AValue) { FWantReturns = AValue; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool AValue) { FWantTabs = AValue; }
    // The row shown at the top (EM_GETFIRSTVISIBLELINE).
    int FirstVisibleRow() const { return FTopRow; }

protected:
    bool DoMouseWheel(TShiftState AShift, int AWheelDelta, TPoint AMousePos) override;

private:
    friend class TMemoStrings;
    std::unique_ptr<TMemoStrings> FLines;
};

class TMemo : public TCustomMemo {
public:
    using TCustomMemo::TCustomMemo;
};
