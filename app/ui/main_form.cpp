#include "app/ui/main_form.h"

#include "app/add_files_filter.h"
#include "app/conversion_run.h"
#include "platform/gui/application.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/menus.h"
#include "platform/gui/png_image.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/shell.h"
#include "skin/controls/button_label.h"
#include "skin/controls/check_radio_box.h"
#include "skin/controls/menu_button.h"
#include "skin/controls/notebook.h"
#include "skin/controls/page.h"
#include "skin/controls/panel.h"
#include "skin/controls/push_button.h"
#include "skin/controls/std_label.h"
#include "skin/core/png_image_list.h"
#include "skin/core/skin_data.h"
#include "skin/dialogs/directory_edit.h"
#include "skin/dialogs/grids/string_grid.h"
#include "skin/dialogs/open_dialog.h"
#include "skin/dialogs/select_folder_dialog.h"
#include "skin/forms/hint_component.h"
#include "skin/forms/main_menu_bar.h"
#include "skin/forms/popup_menu.h"
#include "skin/forms/skin_form.h"

namespace {

constexpr TColor kLeftButtonGlow = static_cast<TColor>(0xD5CB59);
constexpr int kGridColumnWidths[] = {135, 70, 70, 120, 48};

TMenuItem* AddItem(TComponent* AOwner, TMenuItem* AParent, const std::string& ACaption, TNotifyEvent AClick = {},
                   bool AEnabled = true)
{
    auto* item = new TMenuItem(AOwner);
    item->SetCaption(ACaption);
    item->SetEnabled(AEnabled);
    item->OnClick = std::move(AClick);
    AParent->Add(item);
    return item;
}

void LoadPngItems(TspPngImageList* AList, const std::string& AFolder, std::initializer_list<const char*> AFiles)
{
    for (const char* file : AFiles) {
        TPngImage png;
        png.LoadFromFile(AFolder + file);
        auto* item = static_cast<TspPngImageItem*>(AList->PngImages()->Add());
        item->SetPngImage(&png);
    }
}

TImage* NewImage(TWinControl* AParent, TRect ABounds, bool AVisible = true)
{
    auto* image = new TImage(AParent);
    image->SetParent(AParent);
    image->SetBoundsRect(ABounds);
    image->SetVisible(AVisible);
    return image;
}

// The image takes its picture's size, keeping its centre: the picture is neither cut nor stretched.
void FitToPicture(TImage* AImage)
{
    const Integer width = AImage->Picture()->Width(), height = AImage->Picture()->Height();
    if (width <= 0 || height <= 0) return;
    const Integer centreX = AImage->Left() + AImage->Width() / 2, centreY = AImage->Top() + AImage->Height() / 2;
    AImage->SetBounds(centreX - width / 2, centreY - height / 2, width, height);
}

}  // namespace

TMainForm::TMainForm(TComponent* AOwner, TConverterState& AState, std::string ASuiteArgument)
    : TForm(AOwner), FState(AState), FSuiteArgument(std::move(ASuiteArgument))
{
    SetClientWidth(780);
    // The bottom row (Play, Stop, the camera) ends at 550: room below it inside the skin's frame.
    SetClientHeight(572);
    SetPosition(poScreenCenter);
    spSkinData1 = new TspSkinData(this);
    spCorvalis1 = new TspCorvalis(this);
    spCorvalis1->SetBorderIcons({TspBorderIcon::biSystemMenu, TspBorderIcon::biMinimize, TspBorderIcon::biRollUp});
    spCorvalis1->SetSizeable(false);
    spCorvalis1->SetPositionInMonitor(sppScreenCenter);
    spCorvalis1->SetSkinData(spSkinData1);
    spCorvalis1->SetMenusSkinData(spSkinData1);
    // Every hint of the program is drawn from the skin.
    spSkinHint1 = new TspSkinHint(this);
    spSkinHint1->SetName("spSkinHint1");
    spSkinHint1->SetLineSeparator("@");
    spSkinHint1->DefaultFont()->SetName("MS Sans Serif");
    spSkinHint1->DefaultFont()->SetHeight(-11);
    spSkinHint1->DefaultFont()->SetColor(clWindowText);
    spSkinHint1->UseSkinFont = true;
    spSkinHint1->SetAlphaBlendSupport(true);
    spSkinHint1->AlphaBlend = false;
    spSkinHint1->AlphaBlendValue = 200;
    spSkinHint1->AlphaBlendAnimation = true;
    spSkinHint1->SetSkinData(spSkinData1);
    spSkinHint1->SetActive(true);

    auto images = [this](Integer AWidth, Integer AHeight) {
        auto* list = new TspPngImageList(this);
        list->SetPngWidth(AWidth);
        list->SetPngHeight(AHeight);
        return list;
    };
    LeftButtonsImages = images(32, 32);
    ConvertButtonImages = images(140, 40);
    PlayerImages = images(24, 24);
    LikeImages2 = images(24, 24);

    BuildMenus();
    BuildLeftColumn();
    BuildJobArea();
    BuildBottomPanel();
    BuildPreview();
    BuildJobGrid();  // wires the grid to the bottom panel's boxes and the hidden pictures
    FState.Jobs.OnChange = [this](TObject*) { RefreshGrid(); };
    EnableJobCommands(false);
}

void TMainForm::BuildMenus()
{
    auto click = [this](void (TMainForm::*AHandler)(TObject*)) {
        return [this, AHandler](TObject* ASender) { (this->*AHandler)(ASender); };
    };
    MainMenu1 = new TspSkinMainMenu(this);
    TMenuItem* root = MainMenu1->Items();
    TMenuItem* file = AddItem(this, root, "&File ");
    AddItem(this, file, "Add video files", click(&TMainForm::AddButtonClick));
    FMainMenuJobItems.push_back(AddItem(this, file, "File Information", click(&TMainForm::FileInformation1Click)));
    FMainMenuJobItems.push_back(AddItem(this, file, "Start Conversion", click(&TMainForm::StartButtonClick)));
    AddItem(this, file, "-");
    AddItem(this, file, "Exit", click(&TMainForm::Exit1Click));

    // The menu's own item runs the Edit command as well.
    TMenuItem* edit = AddItem(this, root, "&Edit ", click(&TMainForm::EditButtonClick));
    FMainMenuJobItems.push_back(AddItem(this, edit, "Remove", click(&TMainForm::Remove1Click)));
    FMainMenuJobItems.push_back(AddItem(this, edit, "Clear All", click(&TMainForm::ClearAll1Click)));
    FMainMenuJobItems.push_back(AddItem(this, edit, "Rename", click(&TMainForm::Rename1Click)));
    AddItem(this, edit, "-");
    FMainMenuJobItems.push_back(AddItem(this, edit, "Move Up", click(&TMainForm::MoveUp1Click)));
    FMainMenuJobItems.push_back(AddItem(this, edit, "Move Down", click(&TMainForm::MoveDown1Click)));
    AddItem(this, edit, "-");
    FMainMenuJobItems.push_back(AddItem(this, edit, "Trim Video...", click(&TMainForm::ClipButtonClick)));
    FMainMenuJobItems.push_back(AddItem(this, edit, "Edit Video...", click(&TMainForm::EditButtonClick)));

    // Captions and command follow the command line at start-up.
    SuiteMenu = AddItem(this, root, "&Suite ");
    SuiteMenuItem = AddItem(this, SuiteMenu, "Switch Converter", click(&TMainForm::SwitchConverterClick));

    TMenuItem* help = AddItem(this, root, "&Help ");
    AddItem(this, help, "Online Guide", click(&TMainForm::Help2Click));
    AddItem(this, help, "Support", click(&TMainForm::Support1Click));
    AddItem(this, help, "More Freeware", click(&TMainForm::MoreFreeware1Click));
    AddItem(this, help, "-");
    TMenuItem* tell = AddItem(this, help, "Tell a Friend");
    AddItem(this, tell, "On Facebook", click(&TMainForm::LikeButtonClick));
    AddItem(this, tell, "On Twitter", click(&TMainForm::TweetButtonClick));
    AddItem(this, help, "-");
    AddItem(this, help, "About", click(&TMainForm::About1Click));

    static_cast<TspSkinMainMenu*>(MainMenu1)->SetSkinData(spSkinData1);
    MainMenuBar = new TspSkinMainMenuBar(this);
    MainMenuBar->SetParent(this);
    MainMenuBar->SetSkinData(spSkinData1);
    MainMenuBar->SetMainMenu(MainMenu1);
    MainMenuBar->SetCorvalis(spCorvalis1);

    ListMenu = new TspSkinPopupMenu(this);
    ListMenu->SetSkinData(spSkinData1);
    TMenuItem* list = ListMenu->Items();
    AddItem(this, list, "Add Video Files...", click(&TMainForm::AddButtonClick));
    AddItem(this, list, "-");
    FJobItems.push_back(AddItem(this, list, "Remove", click(&TMainForm::Remove1Click)));
    FJobItems.push_back(AddItem(this, list, "Clear All", click(&TMainForm::ClearAll1Click)));
    FJobItems.push_back(AddItem(this, list, "Rename", click(&TMainForm::Rename1Click)));
    AddItem(this, list, "-");
    FJobItems.push_back(AddItem(this, list, "Move Up", click(&TMainForm::MoveUp1Click)));
    FJobItems.push_back(AddItem(this, list, "Move Down", click(&TMainForm::MoveDown1Click)));
    AddItem(this, list, "-");
    FJobItems.push_back(AddItem(this, list, "Trim Video...", click(&TMainForm::ClipButtonClick)));
    FJobItems.push_back(AddItem(this, list, "Edit Video...", click(&TMainForm::EditButtonClick)));
    AddItem(this, list, "-");
    FJobItems.push_back(AddItem(this, list, "File Information", click(&TMainForm::FileInformation1Click)));
}

void TMainForm::BuildLeftColumn()
{
    auto button = [this](const std::string& ACaption, int ATop, int AImage, TNotifyEvent AClick) {
        auto* b = new TspSkinButtonLabel(this);
        b->SetParent(this);
        b->SetSkinData(spSkinData1);
        b->SetBounds(8, ATop, 112, 64);
        b->SetCaption(ACaption);
        b->SetImageList(LeftButtonsImages);
        b->SetImageIndex(AImage);
        b->SetActiveImageIndex(AImage + 3);
        b->OnClick = std::move(AClick);
        return b;
    };
    AddButton = button("Add FLV", 40, 0, [this](TObject* S) { AddButtonClick(S); });
    ClipButton = button("Trim", 112, 1, [this](TObject* S) { ClipButtonClick(S); });
    EditButton = button("Edit", 184, 2, [this](TObject* S) { EditButtonClick(S); });
    FJobControls.push_back(ClipButton);
    FJobControls.push_back(EditButton);

    auto share = [this](int ALeft, int AImage, TNotifyEvent AClick) {
        auto* b = new TspSkinButtonLabel(this);
        b->SetParent(this);
        b->SetSkinData(spSkinData1);
        b->SetBounds(ALeft, 512, 52, 40);
        b->SetImageList(LikeImages2);
        b->SetImageIndex(AImage);
        b->SetActiveImageIndex(AImage + 2);
        b->OnClick = std::move(AClick);
        return b;
    };
    LikeButton = share(8, 0, [this](TObject* S) { LikeButtonClick(S); });
    TweetButton = share(64, 1, [this](TObject* S) { TweetButtonClick(S); });
}

void TMainForm::BuildJobArea()
{
    spSkinNotebook1 = new TspSkinNotebook(this);
    spSkinNotebook1->SetParent(this);
    spSkinNotebook1->SetSkinData(spSkinData1);
    spSkinNotebook1->SetBounds(128, 40, 644, 236);
    spSkinNotebook1->Pages()->Add("Getting started");
    spSkinNotebook1->Pages()->Add("Jobs");
    spSkinNotebook1->SetPageIndex(0);

    TspSkinPage* start = spSkinNotebook1->Page(0);
    GettingStartedPanel = new TspSkinPanel(this);
    GettingStartedPanel->SetParent(start);
    GettingStartedPanel->SetSkinData(spSkinData1);
    GettingStartedPanel->SetAlign(alClient);
    // The page (640 x 232): the steps' picture on the left, the drop zone, its text and the open picture in a
    // column on the right, apart from each other. Each picture is fitted to its size about these places' centres
    // when it is loaded.
    GettingStartedImage = NewImage(GettingStartedPanel, Bounds(24, 46, 360, 140));
    Image1 = NewImage(GettingStartedPanel, Bounds(472, 30, 96, 72));
    gsLabel1 = new TspSkinStdLabel(this);
    gsLabel1->SetParent(GettingStartedPanel);
    gsLabel1->SetSkinData(spSkinData1);
    gsLabel1->SetAutoSize(false);
    gsLabel1->SetAlignment(taCenter);
    gsLabel1->SetBounds(400, 110, 240, 20);
    Image2 = NewImage(GettingStartedPanel, Bounds(496, 140, 48, 48));

    sgList = new TspSkinStringGrid(this);
    sgList->SetParent(spSkinNotebook1->Page(1));
    sgList->SetSkinData(spSkinData1);
    sgList->SetAlign(alClient);
    sgList->SetColCount(5);
    sgList->SetRowCount(2);
    sgList->SetFixedCols(0);
    sgList->SetFixedRows(1);
    sgList->SetDefaultRowHeight(20);
    TGridOptions options = sgList->Options();
    options.Include(goRowSelect);
    options.Include(goColSizing);
    sgList->SetOptions(options);
    for (int c = 0; c < 5; ++c) sgList->SetCellText(c, 0, kJobGridCaptions[c]);
    sgList->SetPopupMenu(ListMenu);

    auto button = [this](const std::string& ACaption, int ALeft, TNotifyEvent AClick) {
        auto* b = new TspSkinButton(this);
        b->SetParent(this);
        b->SetSkinData(spSkinData1);
        b->SetBounds(ALeft, 282, 86, 25);
        b->SetCaption(ACaption);
        b->OnClick = std::move(AClick);
        FJobControls.push_back(b);
        return b;
    };
    RemoveButton = button("Remove", 128, [this](TObject* S) { Remove1Click(S); });
    MoveUpButton = button("Move Up", 220, [this](TObject* S) { MoveUp1Click(S); });
    MoveDownButton = button("Move Down", 312, [this](TObject* S) { MoveDown1Click(S); });
    RenameButton = button("Rename", 404, [this](TObject* S) { Rename1Click(S); });
    FileInfoButton = button("File Info", 496, [this](TObject* S) { FileInformation1Click(S); });
}

void TMainForm::BuildBottomPanel()
{
    imgProfileField = NewImage(this, Bounds(128, 336, 300, 36));
    imgProfileIcon = NewImage(this, Bounds(134, 340, 28, 28));
    // The catalogue's icons are larger than the field's place for them.
    imgProfileIcon->SetStretch(true);
    imgProfileIcon->SetProportional(true);
    lblProfile = new TspSkinStdLabel(this);
    lblProfile->SetParent(this);
    lblProfile->SetSkinData(spSkinData1);
    lblProfile->SetBounds(168, 346, 250, 18);
    lblProfile->SetCaption("Some profile");
    for (TControl* part : std::initializer_list<TControl*>{imgProfileField, lblProfile, imgProfileIcon})
        part->OnMouseEnter = [this](TObject* S) { imgProfileFieldMouseEnter(S); };
    imgProfileField->OnMouseLeave = [this](TObject* S) { imgProfileFieldMouseLeave(S); };
    lblProfile->OnMouseLeave = [this](TObject* S) { imgProfileFieldMouseLeave(S); };
    for (TControl* part : std::initializer_list<TControl*>{imgProfileField, lblProfile, imgProfileIcon})
        part->OnMouseDown = [this](TObject* S, TMouseButton B, TShiftState Sh, int X, int Y) {
            imgProfileButtonMouseDown(S, B, Sh, X, Y);
        };
    FState.Catalogue.OnShowChoice = [this](TFormatIndex AIndex) { ShowProfileChoice(AIndex); };

    auto check = [this](const std::string& ACaption, int ATop, bool AChecked) {
        auto* box = new TspSkinCheckRadioBox(this);
        box->SetParent(this);
        box->SetSkinData(spSkinData1);
        box->SetBounds(128, ATop, 200, 22);
        box->SetCaption(ACaption);
        box->SetChecked(AChecked);
        return box;
    };
    chApplyToAll = check("Apply to all", 380, true);
    chMerge = check("Merge into one file", 404, false);

    auto* outputCaption = new TspSkinStdLabel(this);
    outputCaption->SetParent(this);
    outputCaption->SetSkinData(spSkinData1);
    outputCaption->SetBounds(128, 440, 200, 18);
    outputCaption->SetCaption("Output folder:");
    // Read-only: the folder changes through the box's button and its select-folder dialog.
    edDestinationFolder = new TspSkinDirectoryEdit(this);
    edDestinationFolder->SetParent(this);
    edDestinationFolder->SetSkinData(spSkinData1);
    edDestinationFolder->SetDlgSkinData(spSkinData1);
    edDestinationFolder->SetDlgCtrlSkinData(spSkinData1);
    edDestinationFolder->SetBounds(128, 460, 300, 22);
    edDestinationFolder->SetReadOnly(true);

    auto button = [this](const std::string& ACaption, int ALeft, TNotifyEvent AClick) {
        auto* b = new TspSkinButton(this);
        b->SetParent(this);
        b->SetSkinData(spSkinData1);
        b->SetBounds(ALeft, 492, 96, 25);
        b->SetCaption(ACaption);
        b->OnClick = std::move(AClick);
        return b;
    };
    SettingsButton = button("Advanced...", 128, [this](TObject* S) { SettingsButtonClick(S); });
    FindTargetButton = button("Find target", 232, [this](TObject* S) { FindTargetButtonClick(S); });
    FJobControls.push_back(SettingsButton);

    StartButton = new TspSkinButtonLabel(this);
    StartButton->SetParent(this);
    StartButton->SetSkinData(spSkinData1);
    StartButton->SetBounds(336, 490, 144, 44);  // beside "Find target": the preview's controls are below it
    StartButton->SetImageList(ConvertButtonImages);
    StartButton->SetImageIndex(0);
    StartButton->SetActiveImageIndex(1);
    StartButton->SetHint("Convert All Files");
    StartButton->SetShowHint(true);
    StartButton->OnClick = [this](TObject* S) { StartButtonClick(S); };
}

void TMainForm::BuildPreview()
{
    BuildPreviewPlayer();  // the player, its controls and the snapshot menu

    ProfileComboImage = NewImage(this, Bounds(0, 0, 1, 1), false);
    ProfileComboImageOver = NewImage(this, Bounds(0, 0, 1, 1), false);
    imgTableRow = NewImage(this, Bounds(0, 0, 1, 1), false);
    imgTableColumnCaptionBar = NewImage(this, Bounds(0, 0, 1, 1), false);
    Image3 = NewImage(this, Bounds(0, 0, 1, 1), false);
}

TWindowSteps TMainForm::WindowSteps()
{
    TWindowSteps steps;
    steps.AcceptDrops = [this] { win::DragAcceptFiles(Handle(), win::TRUE); };
    steps.LoadSkin = [this](const std::string& AFolder) {
        spSkinNotebook1->SetBorderStyle(TspSkinBorderStyle::bvFrame);
        spSkinData1->LoadFromFile(IncludeTrailingPathDelimiter(AFolder) + "skin.ini");
        lblProfile->Font()->SetColor(clBlack);
    };
    steps.LoadPictures = [this](const std::string& AFolder) { LoadPictures(AFolder); };
    steps.SetCaptionsAndLooks = [this] {
        for (TspSkinButtonLabel* b : {AddButton, ClipButton, EditButton, LikeButton, TweetButton})
            b->SetGlowEffect(false);
        for (TspSkinButtonLabel* b : {AddButton, ClipButton, EditButton, LikeButton})
            b->SetCustomGlowColor(kLeftButtonGlow);
        gsLabel1->SetCaption("Drag && drop FLV videos here");
    };
    steps.BuildSuiteMenu = [this] {
        const TSuiteMenu suite = SuiteMenuFor(FSuiteArgument);
        SuiteMenu->SetCaption(suite.Caption);
        SuiteMenuItem->SetCaption(suite.ItemCaption);
        if (suite.SwitchesProgram)
            SuiteMenuItem->OnClick = [this](TObject* S) { SwitchConverterClick(S); };
        else
            SuiteMenuItem->OnClick = [this](TObject* S) { EventsLogMenuItemClick(S); };
    };
    steps.SetTitle = [this] {
        if (Application) Application->SetTitle(kApplicationTitle);
        SetCaption(kApplicationTitle);
    };
    steps.SetGridColumns = [this] {
        for (int c = 0; c < 5; ++c) sgList->SetColWidths(c, kGridColumnWidths[c]);
        sgList->SetRowHeights(0, 20);
    };
    steps.ShowOptionalPictures = [this](const std::string& AFolder) { ShowOptionalPictures(AFolder); };
    steps.SetOpenDialogFilter = [this] { dlgopen->Filter = OpenDialogFilter(); };
    steps.ShowOutputFolder = [this] { edDestinationFolder->SetText(FState.Settings.OutputPath); };
    steps.RepaintProfile = [this] { lblProfile->Invalidate(); };
    return steps;
}

void TMainForm::LoadPictures(const std::string& ASkinFolder)
{
    const std::string folder = IncludeTrailingPathDelimiter(ASkinFolder);
    LoadPngItems(LeftButtonsImages, folder,
                 {"open.png", "trim.png", "edit.png", "open_over.png", "trim_over.png", "edit_over.png"});
    LoadPngItems(ConvertButtonImages, folder, {"convert.png", "convert_over.png"});
    LoadPngItems(PlayerImages, folder,
                 {"play.png", "pause.png", "stop.png", "photo.png", "setstart.png", "setend.png", "playpart.png"});
    ProfileComboImageOver->Picture()->LoadFromFile(folder + "profilescombo_over.bmp");
    ProfileComboImage->Picture()->LoadFromFile(folder + "profilescombo.bmp");
    imgTableRow->Picture()->LoadFromFile(folder + "tablerow.bmp");
    imgTableColumnCaptionBar->Picture()->LoadFromFile(folder + "tablecolumncaptionbar.bmp");
    Image3->Picture()->LoadFromFile(folder + "filmicon.bmp");
    imgProfileField->Picture()->Assign(ProfileComboImage->Picture());
    LoadPngItems(LikeImages2, folder, {"like.png", "tweet.png", "like_over.png", "tweet_over.png"});
    Image1->Picture()->LoadFromFile(folder + "dragdrop.png");
    FitToPicture(Image1);
    Image2->Picture()->LoadFromFile(folder + "open_for_gs.png");
    FitToPicture(Image2);
    VolumeImg->Picture()->LoadFromFile(folder + "volume.png");
}

void TMainForm::ShowOptionalPictures(const std::string& ASkinFolder)
{
    const TOptionalPictures found = FindOptionalPictures(ASkinFolder);
    if (!found.GettingStarted.empty()) {
        GettingStartedImage->Picture()->LoadFromFile(found.GettingStarted);
        FitToPicture(GettingStartedImage);
    } else
        GettingStartedPanel->SetVisible(false);
    if (!found.Preview.empty())
        imgPlayerArea->Picture()->LoadFromFile(found.Preview);
    else
        imgPlayerArea->SetVisible(false);
}

bool TMainForm::Load(TStartupServices AServices)
{
    TStartupSequence sequence(FState, std::move(AServices), WindowSteps());
    const bool loaded = sequence.Run();
    // The videos folder, or the folder remembered from the last run's additions.
    dlgopen->InitialDir = FState.AddFilesFolder;
    return loaded;
}

void TMainForm::EnableJobCommands(bool AEnabled)
{
    for (TMenuItem* item : FMainMenuJobItems) item->SetEnabled(AEnabled);
    EnableListCommands(AEnabled);
}

void TMainForm::EnableListCommands(bool AEnabled)
{
    for (TMenuItem* item : FJobItems) item->SetEnabled(AEnabled);
    for (TControl* control : FJobControls) control->SetEnabled(AEnabled);
}

void TMainForm::RefreshGrid()
{
    sgList->SetRowCount(std::max(2, FState.Jobs.Count() + 1));
    if (FState.Jobs.Count() > 0) {
        spSkinNotebook1->SetPageIndex(1);
        sgList->SetRow(FState.Jobs.Row());
    }
    // An emptied list disables the commands that need a job; the main menu's items keep their state, their
    // commands doing nothing without jobs.
    if (FState.Jobs.Count() > 0)
        EnableJobCommands(true);
    else
        EnableListCommands(false);
    sgList->Invalidate();
}

void TMainForm::DoClose(TCloseAction& AAction)
{
    TForm::DoClose(AAction);
    if (AAction == caNone) return;
    // A conversion going on ends as Cancel ends it, so that no half-written file stays in the output folder.
    if (FConversion) FConversion->EndBeforeExit();
    // The preview stops before the settings are written.
    if (StopPreviewIfPlaying) StopPreviewIfPlaying();
    FState.Settings.OutputPath = edDestinationFolder->Text();
    SaveConverterSettings(FState);
}

// ---- commands ----

void TMainForm::FileInformation1Click(TObject*)
{
    if (FState.Jobs.Count() > 0 && ShowFileInformation) ShowFileInformation();
}

void TMainForm::Exit1Click(TObject*) { Close(); }

void TMainForm::Remove1Click(TObject*)
{
    if (FState.Jobs.Count() > 0) FState.Jobs.Remove();
}

void TMainForm::ClearAll1Click(TObject*)
{
    if (FState.Jobs.Count() > 0) FState.Jobs.ClearAll();
}

void TMainForm::MoveUp1Click(TObject*)
{
    if (FState.Jobs.Count() > 0) FState.Jobs.MoveUp();
}

void TMainForm::MoveDown1Click(TObject*)
{
    if (FState.Jobs.Count() > 0) FState.Jobs.MoveDown();
}

// The preview stops first once it exists (its hook comes with the preview).
void TMainForm::ClipButtonClick(TObject*)
{
    if (FState.Jobs.Count() == 0 || !ShowTrim) return;
    if (StopPreviewIfPlaying) StopPreviewIfPlaying();
    ShowTrim();
}

void TMainForm::EditButtonClick(TObject*)
{
    if (FState.Jobs.Count() == 0) return;
    const TVideoFile* job = FState.Jobs.SelectedJob();
    if (job && job->isSourceAudioFormat) {
        if (ShowWarning) ShowWarning(kAudioEditWarning);
        return;
    }
    if (StopPreviewIfPlaying) StopPreviewIfPlaying();
    if (ShowEdit) ShowEdit();
}

void TMainForm::SettingsButtonClick(TObject*)
{
    if (ShowProfileSettings) ShowProfileSettings();
}

void TMainForm::FindTargetButtonClick(TObject*)
{
    if (OpenWithShell) OpenWithShell(edDestinationFolder->Text());
}

void TMainForm::About1Click(TObject*)
{
    if (ShowAbout) ShowAbout();
}

void TMainForm::EventsLogMenuItemClick(TObject*)
{
    if (ShowEventsLog) ShowEventsLog();
}

void TMainForm::SwitchConverterClick(TObject*)
{
    // The window closes whether or not the other program could be started.
    if (StartSiblingProgram) StartSiblingProgram(FSuiteArgument);
    Close();
}

void TMainForm::Help2Click(TObject*)
{
    if (OpenWithShell) OpenWithShell(OnlineGuideURL());
}

void TMainForm::Support1Click(TObject*)
{
    if (OpenWithShell) OpenWithShell(SupportURL());
}

void TMainForm::MoreFreeware1Click(TObject*)
{
    if (OpenWithShell) OpenWithShell(HomePageURL());
}

void TMainForm::LikeButtonClick(TObject*)
{
    if (OpenWithShell) OpenWithShell(FacebookShareURL());
}

void TMainForm::TweetButtonClick(TObject*)
{
    if (OpenWithShell) OpenWithShell(TwitterShareURL(Application ? Application->Title() : kApplicationTitle));
}

void TMainForm::OpenSnapshotFolderClick(TObject*)
{
    if (OpenWithShell) OpenWithShell(FState.Settings.ScreenShotsPath);
}

void TMainForm::ChangeSnapshotFolderClick(TObject*)
{
    spSkinSelectDirectoryDialog1->Directory = FState.Settings.ScreenShotsPath;
    if (spSkinSelectDirectoryDialog1->Execute()) FState.Settings.ScreenShotsPath = spSkinSelectDirectoryDialog1->Directory;
}

void TMainForm::imgProfileFieldMouseEnter(TObject*)
{
    imgProfileField->Picture()->Assign(ProfileComboImageOver->Picture());
}

void TMainForm::imgProfileFieldMouseLeave(TObject*)
{
    imgProfileField->Picture()->Assign(ProfileComboImage->Picture());
}

void TMainForm::imgProfileButtonMouseDown(TObject*, TMouseButton, TShiftState, int, int)
{
    if (FState.Jobs.Count() == 0 || !ShowProfileChooser) return;
    ShowProfileChooser(imgProfileField->ClientToScreen(Point(0, 0)));
}

void TMainForm::ShowProfileChoice(TFormatIndex AIndex)
{
    const TFormat* format = FState.Catalogue.FindFormat(AIndex);
    if (!format) return;
    lblProfile->SetCaption(format->Title);
    // A catalogue without icons still shows the title.
    if (const TProfileIcon* icon = FState.Catalogue.IconOfProfile(AIndex.Profile))
        imgProfileIcon->Picture()->LoadFromFile(icon->FileName);
    lblProfile->Invalidate();
}
