// The main window's job grid: its drawing, the title editor over the Destination column, picking a job, and
// adding files by the open dialog and by dropping them on the window.
#include <algorithm>

#include "app/add_files.h"
#include "app/add_files_filter.h"
#include "app/time_text.h"
#include "app/ui/main_form.h"
#include "platform/gdi/text.h"
#include "platform/gui/canvas.h"
#include "platform/gui/control_messages.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/menus.h"
#include "platform/win/messages.h"
#include "platform/win/shell.h"
#include "skin/controls/check_radio_box.h"
#include "skin/controls/notebook.h"
#include "skin/controls/panel.h"
#include "skin/controls/skin_edit.h"
#include "skin/controls/std_label.h"
#include "skin/dialogs/grids/string_grid.h"
#include "skin/dialogs/open_dialog.h"

namespace {

constexpr int kDestinationColumn = 3;
constexpr TColor kGridLineColor = static_cast<TColor>(0xDBDBDB);

void DrawCellText(TCanvas* ACanvas, const std::string& AText, TRect ARect, win::UINT AFlags)
{
    win::RECT r = ARect;
    win::DrawText(ACanvas->Handle(), AText, &r, AFlags | win::DT_SINGLELINE | win::DT_END_ELLIPSIS | win::DT_NOPREFIX);
}

}  // namespace

std::string JobCellText(const TVideoFile& AJob, const TCatalogue& ACatalogue, int ACol)
{
    switch (ACol) {
    case 0: return AJob.SourceTitleExt;
    case 1: return FormatMicroseconds(AJob.TrimmedLength);
    case 2: return EstimatedSizeText(AJob.EstimatedSize);
    case 3: return AJob.DestinationTitle;
    case 4: {
        const TFormat* format = ACatalogue.FindFormat({AJob.ProfileInd, AJob.FormatInd});
        return format ? format->FormatExt : "";
    }
    default: return "";
    }
}

void TMainForm::BuildJobGrid()
{
    sgList->SetDefaultDrawing(false);
    sgList->SetGridLineWidth(0);  // the separators are drawn with the cells
    sgList->OnDrawCell = [this](TObject* S, Integer C, Integer R, const TRect& Rect, TGridDrawState St) {
        sgListDrawCell(S, C, R, Rect, St);
    };
    sgList->OnClick = [this](TObject* S) { sgListClick(S); };
    sgList->OnMouseDown = [this](TObject* S, TMouseButton B, TShiftState Sh, int X, int Y) {
        sgListMouseDown(S, B, Sh, X, Y);
    };

    edDestinationTitle = new TspSkinEdit(this);
    edDestinationTitle->SetParent(sgList);
    edDestinationTitle->SetSkinData(spSkinData1);
    edDestinationTitle->SetVisible(false);
    edDestinationTitle->OnExit = [this](TObject* S) { edDestinationTitleExit(S); };
    edDestinationTitle->OnKeyPress = [this](TObject* S, char32_t& K) { edDestinationTitleKeyPress(S, K); };

    dlgopen = new TspSkinOpenDialog(this);
    dlgopen->Title = "Open file";
    dlgopen->MultiSelection = true;
    dlgopen->SetSkinData(spSkinData1);
    dlgopen->SetCtrlSkinData(spSkinData1);

    chApplyToAll->OnClick = [this](TObject* S) { chApplyToAllClick(S); };
}

void TMainForm::sgListDrawCell(TObject*, Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState)
{
    TCanvas* canvas = sgList->Canvas();
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->SetColor(clBlack);
    const int jobs = FState.Jobs.Count();
    if (ARow >= 1 && ARow <= jobs) {
        const TVideoFile& job = FState.Jobs.Jobs()[ARow - 1];
        if (ARow == FState.Jobs.Row()) {
            canvas->StretchDraw(ARect, imgTableRow->Picture()->Graphic());
        } else {
            canvas->Brush()->SetStyle(bsSolid);
            canvas->Brush()->SetColor(clWhite);
            canvas->FillRect(ARect);
            canvas->Brush()->SetStyle(bsClear);
        }
        const std::string text = JobCellText(job, FState.Catalogue, ACol);
        if (ACol == 0) {
            canvas->Draw(ARect.Left + 2, ARect.Top + 1, Image3->Picture()->Graphic());
            DrawCellText(canvas, text, Rect(ARect.Left + 23, ARect.Top + 2, ARect.Right, ARect.Bottom), 0);
        } else if (ACol == 1 || ACol == 2) {
            DrawCellText(canvas, text, ARect, win::DT_CENTER | win::DT_VCENTER);
        } else {
            DrawCellText(canvas, text, Rect(ARect.Left + 5, ARect.Top, ARect.Right, ARect.Bottom), win::DT_VCENTER);
        }
    } else {
        canvas->StretchDraw(ARect, imgTableColumnCaptionBar->Picture()->Graphic());
        if (ACol < static_cast<Integer>(std::size(kJobGridCaptions)))
            DrawCellText(canvas, kJobGridCaptions[ACol], ARect, win::DT_CENTER | win::DT_VCENTER);
    }
    // Column separators, right edge of each cell, over whatever the cell drew.
    canvas->Pen()->SetColor(kGridLineColor);
    canvas->MoveTo(ARect.Right - 1, ARect.Top);
    canvas->LineTo(ARect.Right - 1, ARect.Bottom);
}

void TMainForm::sgListClick(TObject*)
{
    const int row = sgList->Row();
    if (row < 1 || row > FState.Jobs.Count()) return;
    FState.Jobs.SetRow(row);
    const TVideoFile& job = FState.Jobs.Jobs()[row - 1];
    FState.Catalogue.Current = {job.ProfileInd, job.FormatInd};
    ShowProfileChoice(FState.Catalogue.Current);
    sgList->Invalidate();
}

void TMainForm::sgListMouseDown(TObject*, TMouseButton, TShiftState, int X, int Y)
{
    Integer col = -1;
    Integer row = -1;
    sgList->MouseToCell(X, Y, col, row);
    if (col == kDestinationColumn && row >= 1 && row <= FState.Jobs.Count()) EditDestinationTitle(row);
}

void TMainForm::Rename1Click(TObject*)
{
    if (FState.Jobs.Count() > 0 && FState.Jobs.Row() >= 1) EditDestinationTitle(FState.Jobs.Row());
}

void TMainForm::EditDestinationTitle(int ARow)
{
    // The grid's selected row is the job the text goes to when the box closes.
    FState.Jobs.SetRow(ARow);
    sgList->SetRow(ARow);
    const TRect cell = sgList->CellRect(kDestinationColumn, ARow);
    edDestinationTitle->SetBounds(cell.Left, cell.Top - 1, sgList->ColWidths(kDestinationColumn),
                                  edDestinationTitle->Height());
    edDestinationTitle->SetText(FState.Jobs.Jobs()[ARow - 1].DestinationTitle);
    edDestinationTitle->SetVisible(true);
    edDestinationTitle->SetFocus();
    edDestinationTitle->SelectAll();
}

void TMainForm::edDestinationTitleExit(TObject*)
{
    if (!edDestinationTitle->Visible()) return;
    if (TVideoFile* job = FState.Jobs.SelectedJob()) job->DestinationTitle = edDestinationTitle->Text();
    edDestinationTitle->SetVisible(false);
    sgList->Invalidate();
}

void TMainForm::edDestinationTitleKeyPress(TObject* Sender, char32_t& Key)
{
    if (Key != U'\r') return;
    Key = 0;
    edDestinationTitleExit(Sender);
    if (sgList->CanFocus()) sgList->SetFocus();
}

void TMainForm::chApplyToAllClick(TObject*)
{
    if (!chApplyToAll->Checked() || FState.Jobs.Count() == 0 || FState.Jobs.Locked()) return;
    FState.Jobs.ApplyToAll(FState.Catalogue.Current);
}

void TMainForm::AddButtonClick(TObject*)
{
    if (!dlgopen->Execute()) return;
    PrepareAfterAdd();
    std::vector<std::string> paths;
    for (Integer i = 0; i < dlgopen->Files()->Count(); ++i) paths.push_back(dlgopen->Files()->Strings(i));
    // Its folder is where the dialog starts in the next run.
    if (!paths.empty()) FState.ChosenFile = paths.front();
    // The window keeps handling its messages while the files are probed; this runs once they are in the list.
    auto show_jobs = [this] {
        if (FState.Jobs.Count() == 0) return;
        spSkinNotebook1->SetPageIndex(1);
        sgList->SetRow(FState.Jobs.Row());
    };
    if (FileAdder)
        FileAdder->AddChosenFiles(paths, show_jobs);
    else
        show_jobs();
}

void TMainForm::AddDroppedFiles(const std::vector<std::string>& APaths)
{
    auto prepare = [this] {
        if (FState.Jobs.Count() > 0) PrepareAfterAdd();
    };
    if (FileAdder)
        FileAdder->AddDroppedFiles(APaths, prepare);
    else
        prepare();
}

bool TMainForm::PrepareAfterAdd()
{
    if (PrepareMedia && !PrepareMedia()) return false;
    if (!PreparePreviewSDL()) return false;
    GettingStartedPanel->SetVisible(false);
    sgList->SetVisible(true);
    panPreview->SetVisible(true);
    EnableJobCommands(true);
    return true;
}

void TMainForm::WndProc(TMessage& AMessage)
{
    TForm::WndProc(AMessage);
    if (AMessage.Msg != win::WM_DROPFILES) return;
    auto drop = reinterpret_cast<win::HDROP>(AMessage.WParam);
    std::vector<std::string> paths;
    const win::UINT count = win::DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0);
    for (win::UINT i = 0; i < count; ++i) paths.push_back(win::DragQueryFile(drop, i));
    // The handle is released whatever adding the files does.
    struct TFinish {
        win::HDROP Drop;
        ~TFinish() { win::DragFinish(Drop); }
    } finish{drop};
    AMessage.Result = 0;
    AddDroppedFiles(paths);
}
