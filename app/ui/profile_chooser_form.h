#pragma once
// The profile chooser: a borderless popup above the main window's profile field. The profiles are listed on the
// left; resting on one for half a second lists its formats on the right; clicking a format gives it to the
// selected job (or to every job while "Apply to all" is checked) and closes the popup, which also closes as soon
// as it loses the focus.
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/error_report_event.h"
#include "platform/gui/forms.h"
#include "skin/dialogs/grids/grid_types.h"

class TImage;
class TPicture;
class TShape;
class TTimer;
class TspSkinData;
class TspSkinScrollBar;
class TspSkinStringGrid;
struct TConverterState;

class Tproform : public TForm {
public:
    // The skin must outlive the form. Nothing is listed until Attach.
    Tproform(TComponent* AOwner, TspSkinData* ASkinData);
    ~Tproform() override;

    // The catalogue and jobs the chooser lists and changes; AState outlives the form.
    void Attach(TConverterState& AState);
    // "imgarrow.png" and "imgarrow_over.png" of the skin folder; a missing picture leaves its arrow undrawn.
    void LoadArrowPictures(const std::string& ASkinFolder);
    // Shows the popup with its bottom-left corner at AFieldTopLeft (screen coordinates), AHeight high (the
    // catalogue's chooser height; 0 or less keeps the current height).
    void PopUpAbove(TPoint AFieldTopLeft, Integer AHeight);

    // What the chooser asks of the main window: is "Apply to all" checked, repaint the job grid, take the focus
    // back after the popup closed on deactivation.
    std::function<bool()> IsApplyToAll;
    std::function<void()> RepaintJobs;
    std::function<void()> FocusMainWindow;
    TReportErrorEvent ReportError;

    // Handlers.
    void FormShow(TObject* Sender);
    void FormDeactivate(TObject* Sender);
    void sgProfilesMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void ProfileChangeDelayTimerTimer(TObject* Sender);
    void sgFormatsMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void sgFormatsClick(TObject* Sender);
    void sgProfilesDrawCell(TObject* Sender, Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState);
    void sgFormatsDrawCell(TObject* Sender, Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState);

    // The hover state, rebuilt at every show.
    int ListedProfile() const { return FListedProfile; }
    int ShownProfile() const { return FShownProfile; }
    int HoverFormat() const { return FHoverFormat; }
    int HoverProfileRow() const { return FHoverProfileRow; }

    TShape* Shape1 = nullptr;
    TShape* Shape2 = nullptr;
    TspSkinStringGrid* sgProfiles = nullptr;
    TspSkinStringGrid* sgFormats = nullptr;
    TspSkinScrollBar* spSkinScrollBar1 = nullptr;
    TImage* imgArrow = nullptr;
    TImage* imgArrowOver = nullptr;
    TTimer* ProfileChangeDelayTimer = nullptr;

protected:
    void DoClose(TCloseAction& AAction) override;
    // The popup is hidden, not closed, on deactivation and after a choice: a switch pending then must not fire
    // while it is away and clear the highlight of the next show.
    void DoHide() override;

private:
    int FormatCount(int AProfile) const;
    // The icon picture of the first catalogue icon whose ID matches (ignoring case or exactly), else of the
    // first icon; nullptr without icons or when its file does not load.
    TPicture* IconPicture(const std::string& AIconName, bool AIgnoreCase);
    void Report(const std::string& AText, const std::string& AMark);
    std::string IndexText() const;

    TConverterState* FState = nullptr;
    std::map<std::string, std::unique_ptr<TPicture>> FIconPictures;  // by file name, loaded on first use
    int FListedProfile = 0;
    int FShownProfile = 0;
    int FHoverFormat = -1;
    int FHoverProfileRow = 0;
};
