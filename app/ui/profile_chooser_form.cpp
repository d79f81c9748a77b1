#include "app/ui/profile_chooser_form.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "app/ui/converter_state.h"
#include "platform/gdi/text.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/picture.h"
#include "platform/gui/timer.h"
#include "platform/rtl/sysutils.h"
#include "skin/controls/scroll_bar.h"
#include "skin/core/skin_data.h"
#include "skin/dialogs/grids/string_grid.h"

namespace {
constexpr Integer kClientWidth = 500;
constexpr Integer kClientHeight = 470;
constexpr Integer kProfilesWidth = 146;
constexpr Integer kDividerLeft = 147;
constexpr Integer kFormatsLeft = 148;
constexpr Integer kFormatsWidth = 350;
constexpr Integer kBarWidth = 19;
constexpr Integer kProfileRowHeight = 27;
constexpr Integer kFormatRowHeight = 57;
// The catalogue's icons are drawn for the format rows; a profile row is too low for them at their own size.
constexpr Integer kProfileIconSize = 24;
constexpr Cardinal kProfileChangeDelayMs = 500;

constexpr TColor kHoverFormatColor = 0xDDDDDD;
constexpr TColor kFrameColor = 0x808080;
constexpr TColor kShownProfileColor = 0xD8D8D8;
constexpr TColor kDescriptionColor = 0x444444;

TspSkinStringGrid* NewList(Tproform* AForm, TspSkinData* ASkin, Integer ALeft, Integer AWidth, Integer ARowHeight)
{
    auto* grid = new TspSkinStringGrid(AForm);
    grid->SetParent(AForm);
    if (ASkin) grid->SetSkinData(ASkin);
    grid->SetBounds(ALeft, 0, AWidth, kClientHeight);
    grid->SetAnchors({akLeft, akTop, akBottom});
    grid->SetColCount(1);
    grid->SetFixedCols(0);
    grid->SetFixedRows(0);
    grid->SetDefaultColWidth(AWidth);
    grid->SetDefaultRowHeight(ARowHeight);
    grid->SetGridLineWidth(0);
    grid->SetDefaultDrawing(false);
    TGridOptions options;
    options.Include(goRowSelect);
    grid->SetOptions(options);
    return grid;
}

TImage* NewHiddenImage(Tproform* AForm)
{
    auto* image = new TImage(AForm);
    image->SetParent(AForm);
    image->SetVisible(false);
    return image;
}

void DrawCentred(TCanvas* ACanvas, TPicture* APicture, Integer ACentreX, Integer ACentreY)
{
    if (!APicture || !APicture->Graphic()) return;
    ACanvas->Draw(ACentreX - static_cast<Integer>(std::lround(APicture->Width() / 2.0)),
                  ACentreY - static_cast<Integer>(std::lround(APicture->Height() / 2.0)), APicture->Graphic());
}

// As DrawCentred, scaled down to fit a square of ASize when the picture is larger.
void DrawCentredWithin(TCanvas* ACanvas, TPicture* APicture, Integer ACentreX, Integer ACentreY, Integer ASize)
{
    if (!APicture || !APicture->Graphic()) return;
    const Integer larger = std::max(APicture->Width(), APicture->Height());
    if (larger <= ASize) {
        DrawCentred(ACanvas, APicture, ACentreX, ACentreY);
        return;
    }
    const Integer width = APicture->Width() * ASize / larger;
    const Integer height = APicture->Height() * ASize / larger;
    ACanvas->StretchDraw(Bounds(ACentreX - width / 2, ACentreY - height / 2, width, height), APicture->Graphic());
}

void DrawTextIn(TCanvas* ACanvas, const std::string& AText, TRect ARect, win::UINT AFormat)
{
    ACanvas->Brush()->SetStyle(bsClear);
    win::RECT r{ARect.Left, ARect.Top, ARect.Right, ARect.Bottom};
    win::DrawText(ACanvas->Handle(), AText, &r, AFormat | win::DT_NOPREFIX);
    ACanvas->Brush()->SetStyle(bsSolid);
}

void LoadOptional(TImage* AImage, const std::string& AFileName)
{
    try {
        AImage->Picture()->LoadFromFile(AFileName);
    } catch (const std::exception&) {
        AImage->Picture()->SetGraphic(nullptr);
    }
}
}  // namespace

Tproform::Tproform(TComponent* AOwner, TspSkinData* ASkinData) : TForm(AOwner)
{
    SetName("proform");
    SetBorderStyle(bsNone);
    SetClientWidth(kClientWidth);
    SetClientHeight(kClientHeight);

    Shape1 = new TShape(this);
    Shape1->SetParent(this);
    Shape1->SetAlign(alClient);
    Shape1->Pen()->SetStyle(psClear);
    Shape1->Brush()->SetColor(clWhite);
    Shape2 = new TShape(this);
    Shape2->SetParent(this);
    Shape2->SetBounds(kDividerLeft, 0, 1, kClientHeight);
    Shape2->SetAnchors({akLeft, akTop, akBottom});
    Shape2->Pen()->SetColor(kFrameColor);

    sgProfiles = NewList(this, ASkinData, 0, kProfilesWidth, kProfileRowHeight);
    // The bar lies over the grid's right edge; a highlighted row stops short of it.
    sgFormats = NewList(this, ASkinData, kFormatsLeft, kFormatsWidth, kFormatRowHeight);
    spSkinScrollBar1 = new TspSkinScrollBar(this);
    spSkinScrollBar1->SetParent(this);
    spSkinScrollBar1->SetKind(sbVertical);
    spSkinScrollBar1->SetSkinDataName("vscrollbar");
    if (ASkinData) spSkinScrollBar1->SetSkinData(ASkinData);
    spSkinScrollBar1->SetBounds(kFormatsLeft + kFormatsWidth - kBarWidth, 0, kBarWidth, kClientHeight);
    spSkinScrollBar1->SetAnchors({akLeft, akTop, akBottom});
    spSkinScrollBar1->SetVisible(false);
    sgFormats->SetVScrollBar(spSkinScrollBar1);

    imgArrow = NewHiddenImage(this);
    imgArrowOver = NewHiddenImage(this);
    ProfileChangeDelayTimer = new TTimer(this);
    ProfileChangeDelayTimer->SetEnabled(false);
    ProfileChangeDelayTimer->SetInterval(kProfileChangeDelayMs);

    OnShow = [this](TObject* S) { FormShow(S); };
    OnDeactivate = [this](TObject* S) { FormDeactivate(S); };
    ProfileChangeDelayTimer->OnTimer = [this](TObject* S) { ProfileChangeDelayTimerTimer(S); };
    sgProfiles->OnMouseMove = [this](TObject* S, TShiftState Sh, int X, int Y) { sgProfilesMouseMove(S, Sh, X, Y); };
    sgFormats->OnMouseMove = [this](TObject* S, TShiftState Sh, int X, int Y) { sgFormatsMouseMove(S, Sh, X, Y); };
    sgFormats->OnClick = [this](TObject* S) { sgFormatsClick(S); };
    sgProfiles->OnDrawCell = [this](TObject* S, Integer C, Integer R, const TRect& B, TGridDrawState St) {
        sgProfilesDrawCell(S, C, R, B, St);
    };
    sgFormats->OnDrawCell = [this](TObject* S, Integer C, Integer R, const TRect& B, TGridDrawState St) {
        sgFormatsDrawCell(S, C, R, B, St);
    };
}

Tproform::~Tproform() = default;

void Tproform::Attach(TConverterState& AState) { FState = &AState; }

void Tproform::LoadArrowPictures(const std::string& ASkinFolder)
{
    const std::string folder = IncludeTrailingPathDelimiter(ASkinFolder);
    LoadOptional(imgArrow, folder + "imgarrow.png");
    LoadOptional(imgArrowOver, folder + "imgarrow_over.png");
}

void Tproform::PopUpAbove(TPoint AFieldTopLeft, Integer AHeight)
{
    if (AHeight > 0) SetHeight(AHeight);
    SetBounds(AFieldTopLeft.X, AFieldTopLeft.Y - Height(), Width(), Height());
    Show();
}

int Tproform::FormatCount(int AProfile) const
{
    if (!FState || AProfile < 0 || AProfile >= static_cast<int>(FState->Catalogue.Profiles.size())) return 0;
    return static_cast<int>(FState->Catalogue.Profiles[AProfile].Formats.size());
}

void Tproform::FormShow(TObject*)
{
    sgProfiles->SetRowCount(0);
    sgFormats->SetRowCount(0);
    if (!FState) return;
    const TCatalogue& catalogue = FState->Catalogue;
    sgProfiles->SetRowCount(static_cast<Integer>(catalogue.Profiles.size()));
    sgFormats->SetRowCount(FormatCount(catalogue.Current.Profile));
    FHoverFormat = catalogue.Current.Format;
    FShownProfile = catalogue.Current.Profile;
    FListedProfile = catalogue.Current.Profile;
    FHoverProfileRow = catalogue.Current.Profile;
}

void Tproform::FormDeactivate(TObject*)
{
    Hide();
    if (FocusMainWindow) FocusMainWindow();
}

void Tproform::DoClose(TCloseAction& AAction)
{
    ProfileChangeDelayTimer->SetEnabled(false);
    TForm::DoClose(AAction);
}

void Tproform::DoHide()
{
    ProfileChangeDelayTimer->SetEnabled(false);
    TForm::DoHide();
}

void Tproform::sgProfilesMouseMove(TObject*, TShiftState, int X, int Y)
{
    Integer col = -1, row = -1;
    sgProfiles->MouseToCell(X, Y, col, row);
    // The grid keeps one row even for an empty catalogue: only rows that name a profile count.
    if (row < 0 || !FState || row >= static_cast<Integer>(FState->Catalogue.Profiles.size())) {
        ProfileChangeDelayTimer->SetEnabled(false);
        return;
    }
    FHoverProfileRow = row;
    if (row == FShownProfile) return;
    FShownProfile = row;
    sgProfiles->Repaint();
    ProfileChangeDelayTimer->SetEnabled(false);
    ProfileChangeDelayTimer->SetEnabled(true);
}

// Fires every half second while the mouse rests on the profiles; each time the formats are listed afresh.
void Tproform::ProfileChangeDelayTimerTimer(TObject*)
{
    FListedProfile = FHoverProfileRow;
    FShownProfile = FListedProfile;
    sgFormats->SetRowCount(FormatCount(FListedProfile));
    FHoverFormat = -1;
    sgProfiles->Repaint();
    sgFormats->Repaint();
}

void Tproform::sgFormatsMouseMove(TObject*, TShiftState, int X, int Y)
{
    if (ProfileChangeDelayTimer->Enabled()) {
        // The mouse crossed other profiles on its way here: the highlight goes back to the listed one.
        FShownProfile = FListedProfile;
        sgProfiles->Repaint();
    }
    ProfileChangeDelayTimer->SetEnabled(false);
    Integer col = -1, row = -1;
    sgFormats->MouseToCell(X, Y, col, row);
    if (row == FHoverFormat) return;
    FHoverFormat = FormatCount(FShownProfile) > 0 ? row : -1;
    sgFormats->Repaint();
}

void Tproform::sgFormatsClick(TObject*)
{
    if (!FState || FShownProfile < 0 || FHoverFormat < 0 || FHoverFormat >= FormatCount(FShownProfile)) return;
    TCatalogue& catalogue = FState->Catalogue;
    TJobList& jobs = FState->Jobs;
    const TFormatIndex chosen{FShownProfile, FHoverFormat};
    try {
        // The chooser only opens with jobs, but an empty list must not make the choice fail.
        if (TVideoFile* job = jobs.SelectedJob()) {
            job->Status = "-";
            job->ProfileInd = chosen.Profile;
            job->FormatInd = chosen.Format;
        }
        catalogue.Current = chosen;
        catalogue.Recent = chosen;
        catalogue.ShowChoice(chosen);
        if (IsApplyToAll && IsApplyToAll()) jobs.ApplyToAll(chosen);
    } catch (const std::exception&) {
        Report("Error on profile " + IndexText() + " choosing", "CLM_ProfileChoosing");
    }
    jobs.EstimateAll();
    if (RepaintJobs) RepaintJobs();
    Hide();
}

void Tproform::sgFormatsDrawCell(TObject*, Integer, Integer ARow, const TRect& ARect, TGridDrawState)
{
    TCanvas* canvas = sgFormats->Canvas();
    try {
        canvas->Brush()->SetColor(clWhite);
        canvas->FillRect(ARect);
        canvas->Font()->SetColor(clBlack);
        if (ARow == FHoverFormat) {
            const Integer right = spSkinScrollBar1->Visible() ? ARect.Right - 20 : ARect.Right - 5;
            const TRect box = Rect(ARect.Left + 5, ARect.Top, right, ARect.Bottom);
            canvas->Brush()->SetColor(kHoverFormatColor);
            canvas->FillRect(box);
            canvas->Brush()->SetColor(kFrameColor);
            canvas->FrameRect(box);
        }
        if (ARow < 0 || ARow >= FormatCount(FShownProfile)) return;
        const TFormat& format = FState->Catalogue.Profiles[FShownProfile].Formats[ARow];
        DrawCentred(canvas, IconPicture(format.Icon, true), ARect.Left + 28, ARect.Top + 20);
        canvas->Font()->SetStyle({fsBold});
        canvas->Font()->SetColor(clBlack);
        DrawTextIn(canvas, format.Title, Rect(ARect.Left + 50, ARect.Top + 2, ARect.Right, ARect.Top + 20),
                   win::DT_SINGLELINE | win::DT_END_ELLIPSIS);
        canvas->Font()->SetStyle({});
        canvas->Font()->SetColor(kDescriptionColor);
        DrawTextIn(canvas, format.Description,
                   Rect(ARect.Left + 50, ARect.Top + 20, ARect.Right - 20, ARect.Bottom - 2), win::DT_WORDBREAK);
    } catch (const std::exception&) {
        Report("Error Drawing Cell: profile " + IndexText(), "CLM_FormatsDrawCell");
    }
}

void Tproform::sgProfilesDrawCell(TObject*, Integer, Integer ARow, const TRect& ARect, TGridDrawState)
{
    TCanvas* canvas = sgProfiles->Canvas();
    try {
        canvas->Brush()->SetColor(clWhite);
        canvas->FillRect(ARect);
        canvas->Pen()->SetColor(kFrameColor);
        canvas->Font()->SetColor(clBlack);
        canvas->Font()->SetStyle({});
        const TRect box = Rect(ARect.Left + 5, ARect.Top, ARect.Right - 5, ARect.Bottom);
        const bool shown = ARow == FShownProfile;
        canvas->Brush()->SetColor(shown ? kShownProfileColor : clWhite);
        canvas->FillRect(box);
        if (shown) {
            canvas->Brush()->SetColor(kFrameColor);
            canvas->FrameRect(box);
        }
        if (!FState || ARow < 0 || ARow >= static_cast<Integer>(FState->Catalogue.Profiles.size())) return;
        const TProfile& profile = FState->Catalogue.Profiles[ARow];
        // Profile rows match the icon name exactly, unlike the format rows and the profile field.
        DrawCentredWithin(canvas, IconPicture(profile.Icon, false), ARect.Left + 15, ARect.Top + 12, kProfileIconSize);
        DrawTextIn(canvas, profile.Title, Rect(ARect.Left + 32, ARect.Top + 5, ARect.Right - 10, ARect.Bottom),
                   win::DT_SINGLELINE | win::DT_END_ELLIPSIS);
        TImage* arrow = shown ? imgArrowOver : imgArrow;
        if (arrow->Picture()->Graphic())
            canvas->Draw(ARect.Right - 17, ARect.Top + 5, arrow->Picture()->Graphic());
    } catch (const std::exception&) {
        Report("Error Drawing Cell: profile " + IndexText(), "CLM_ProfileDrawCell");
    }
}

TPicture* Tproform::IconPicture(const std::string& AIconName, bool AIgnoreCase)
{
    if (!FState || FState->Catalogue.ProfileIcons.empty()) return nullptr;
    const TProfileIcon* found = &FState->Catalogue.ProfileIcons.front();
    for (const TProfileIcon& icon : FState->Catalogue.ProfileIcons) {
        if (AIgnoreCase ? SameText(icon.ID, AIconName) : icon.ID == AIconName) {
            found = &icon;
            break;
        }
    }
    std::unique_ptr<TPicture>& picture = FIconPictures[found->FileName];
    if (!picture) {
        picture = std::make_unique<TPicture>();
        // A damaged icon file leaves an empty picture, tried once.
        try {
            picture->LoadFromFile(found->FileName);
        } catch (const std::exception&) {
        }
    }
    return picture->Graphic() ? picture.get() : nullptr;
}

// The current profile and the recent format, as the error texts have always named them.
std::string Tproform::IndexText() const
{
    if (!FState) return "0, format 0";
    return std::to_string(FState->Catalogue.Current.Profile) + ", format " +
           std::to_string(FState->Catalogue.Recent.Format);
}

void Tproform::Report(const std::string& AText, const std::string& AMark)
{
    if (ReportError) ReportError(AText, AMark);
}
