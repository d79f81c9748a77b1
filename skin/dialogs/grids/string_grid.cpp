#include "skin/dialogs/grids/string_grid.h"

#include "platform/gui/canvas.h"

// ---- views ---------------------------------------------------------------------------------------------------

void TspSkinStringGridStrings::CellToXY(Integer AIndex, Integer& AX, Integer& AY) const
{
    if (FIndex == 0) {
        AX = AY = -1;
    } else if (FIndex > 0) {
        AX = AIndex;
        AY = FIndex - 1;
    } else {
        AX = -FIndex - 1;
        AY = AIndex;
    }
}

Integer TspSkinStringGridStrings::Count() const
{
    if (FIndex == 0) return 0;
    return FIndex < 0 ? FGrid->RowCount() : FGrid->ColCount();
}

std::string TspSkinStringGridStrings::Strings(Integer AIndex) const
{
    if (FIndex == 0) return {};
    Integer X, Y;
    CellToXY(AIndex, X, Y);
    return FGrid->CellText(X, Y);
}

void TspSkinStringGridStrings::SetStrings(Integer AIndex, const std::string& S)
{
    Integer X, Y;
    CellToXY(AIndex, X, Y);
    FGrid->SetCellText(X, Y, S);
}

TObject* TspSkinStringGridStrings::Objects(Integer AIndex) const
{
    if (FIndex == 0) return nullptr;
    Integer X, Y;
    CellToXY(AIndex, X, Y);
    return FGrid->CellObjects(X, Y);
}

void TspSkinStringGridStrings::SetObjects(Integer AIndex, TObject* AObject)
{
    Integer X, Y;
    CellToXY(AIndex, X, Y);
    FGrid->SetCellObjects(X, Y, AObject);
}

Integer TspSkinStringGridStrings::Add(const std::string& S)
{
    for (Integer I = 0; I < Count(); ++I) {
        if (Strings(I).empty()) {
            SetStrings(I, S.empty() ? " " : S);
            return I;
        }
    }
    return -1;
}

void TspSkinStringGridStrings::Clear()
{
    if (FIndex == 0) return;
    if (FIndex > 0) {
        for (Integer I = 0; I < Count(); ++I) {
            SetObjects(I, nullptr);
            SetStrings(I, "");
        }
    } else {
        for (Integer I = Count() - 1; I >= 0; --I) {
            SetObjects(I, nullptr);
            SetStrings(I, "");
        }
    }
}

void TspSkinStringGridStrings::Delete(Integer /*AIndex*/) { RaiseGridError(SInsertDeleteGridRows); }

void TspSkinStringGridStrings::Insert(Integer /*AIndex*/, const std::string& /*S*/)
{
    RaiseGridError(SInsertDeleteGridRows);
}

void TspSkinStringGridStrings::Assign(TPersistent* ASource)
{
    auto* Source = dynamic_cast<TStrings*>(ASource);
    if (!Source) {
        TStrings::Assign(ASource);
        return;
    }
    BeginUpdate();
    try {
        const Integer N = std::min(Source->Count(), Count());
        for (Integer I = 0; I < N; ++I) {
            SetStrings(I, Source->Strings(I));
            SetObjects(I, Source->Objects(I));
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TspSkinStringGridStrings::SetUpdateState(bool AUpdating) { FGrid->SetUpdateState(AUpdating); }

// ---- grid ----------------------------------------------------------------------------------------------------

TspSkinStringGrid::TspSkinStringGrid(TComponent* AOwner)
    : TspSkinDrawGrid(AOwner), FData(std::make_unique<TSparseList>(RowCount() > 256 ? SPALarge : SPASmall)),
      FRows(std::make_unique<TSparseList>(RowCount() > 256 ? SPALarge : SPASmall)),
      FCols(std::make_unique<TSparseList>(ColCount() > 512 ? SPALarge : SPASmall))
{
}

TspSkinStringGrid::~TspSkinStringGrid()
{
    FRows->ForAll([](Integer, void* P) {
        delete static_cast<TspSkinStringGridStrings*>(P);
        return 0;
    });
    FCols->ForAll([](Integer, void* P) {
        delete static_cast<TspSkinStringGridStrings*>(P);
        return 0;
    });
    FData->ForAll([](Integer, void* P) {
        delete static_cast<TStringSparseList*>(P);
        return 0;
    });
}

TStringSparseList* TspSkinStringGrid::EnsureDataRow(Integer ARow)
{
    TStringSparseList* Row = DataRow(ARow);
    if (!Row) {
        auto New = std::make_unique<TStringSparseList>(ColCount() > 512 ? SPALarge : SPASmall);
        FData->SetItems(ARow, New.get());
        Row = New.release();
    }
    return Row;
}

TspSkinStringGridStrings* TspSkinStringGrid::EnsureColRow(Integer AIndex, bool AIsCol)
{
    TSparseList& List = AIsCol ? *FCols : *FRows;
    auto* View = static_cast<TspSkinStringGridStrings*>(List.Items(AIndex));
    if (!View) {
        auto New = std::make_unique<TspSkinStringGridStrings>(this, AIsCol ? -(AIndex + 1) : AIndex + 1);
        List.SetItems(AIndex, New.get());
        View = New.release();
    }
    return View;
}

std::string TspSkinStringGrid::CellText(Integer ACol, Integer ARow)
{
    TStringSparseList* Row = DataRow(ARow);
    return Row ? Row->Strings(ACol) : std::string();
}

void TspSkinStringGrid::SetCellText(Integer ACol, Integer ARow, const std::string& AValue)
{
    EnsureDataRow(ARow)->SetStrings(ACol, AValue);
    EnsureColRow(ACol, true);
    EnsureColRow(ARow, false);
    CellChanged(ACol, ARow);
}

TObject* TspSkinStringGrid::CellObjects(Integer ACol, Integer ARow)
{
    TStringSparseList* Row = DataRow(ARow);
    return Row ? Row->Objects(ACol) : nullptr;
}

void TspSkinStringGrid::SetCellObjects(Integer ACol, Integer ARow, TObject* AValue)
{
    EnsureDataRow(ARow)->SetObjects(ACol, AValue);
    EnsureColRow(ACol, true);
    EnsureColRow(ARow, false);
    CellChanged(ACol, ARow);
}

void TspSkinStringGrid::SetUpdateState(bool AUpdating)
{
    FUpdating = AUpdating;
    if (!AUpdating && FNeedsUpdating) {
        RefreshGrid();
        FNeedsUpdating = false;
    }
}

void TspSkinStringGrid::CellChanged(Integer ACol, Integer ARow)
{
    if (FUpdating)
        FNeedsUpdating = true;
    else
        RefreshCell(ACol, ARow);
    if (ACol == Col() && ARow == Row() && FEditUpdate == 0) RefreshCellEditor();
}

void TspSkinStringGrid::DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState)
{
    if (FDefaultDrawing) {
        TCanvas* C = Canvas();
        if (OnGetCellParam) {
            TColor FontColor = C->Font()->Color();
            TColor BGColor = C->Brush()->Color();
            bool FillBG = false;
            OnGetCellParam(this, ACol, ARow, AState, BGColor, FillBG, FontColor);
            C->Font()->SetColor(FontColor);
            if (FillBG) {
                C->Brush()->SetStyle(bsSolid);
                C->Brush()->SetColor(BGColor);
                C->FillRect(ARect);
            }
        }
        const TRect T = GetNewTextRect(ARect, AState);
        C->Brush()->SetStyle(bsClear);
        const std::string S = CellText(ACol, ARow);
        C->TextRect(T, T.Left + 2, T.Top + T.Height() / 2 - C->TextHeight(S) / 2, S);
        C->Brush()->SetStyle(bsSolid);
    }
    TspSkinDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

void TspSkinStringGrid::ColumnMoved(Integer AFrom, Integer ATo)
{
    FData->ForAll([AFrom, ATo](Integer, void* P) {
        static_cast<TStringSparseList*>(P)->Move(AFrom, ATo);
        return 0;
    });
    Invalidate();
    TspSkinDrawGrid::ColumnMoved(AFrom, ATo);
}

void TspSkinStringGrid::RowMoved(Integer AFrom, Integer ATo)
{
    FData->Move(AFrom, ATo);
    Invalidate();
    TspSkinDrawGrid::RowMoved(AFrom, ATo);
}

std::string TspSkinStringGrid::GetEditText(Integer ACol, Integer ARow)
{
    std::string Value = CellText(ACol, ARow);
    if (OnGetEditText) OnGetEditText(this, ACol, ARow, Value);
    return Value;
}

void TspSkinStringGrid::SetEditText(Integer ACol, Integer ARow, const std::string& AValue)
{
    ++FEditUpdate;
    try {
        if (AValue != CellText(ACol, ARow)) SetCellText(ACol, ARow, AValue);
    } catch (...) {
        --FEditUpdate;
        throw;
    }
    --FEditUpdate;
    TspSkinDrawGrid::SetEditText(ACol, ARow, AValue);
}
