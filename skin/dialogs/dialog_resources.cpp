#include "skin/dialogs/dialog_resources.h"

#include "skin/dialogs/message_box.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"
#include "skin/core/interface_texts.h"
#include "skin/core/skin_data.h"
#include "skin/dialogs/file_controls_pictures.h"

namespace {

struct TTextRow {
    const char* Key;
    const char* BuiltIn;
};

constexpr TTextRow kTexts[] = {
    {"FLV_LOOKIN", "Look in: "},
    {"MSG_BTN_BACK_HINT", "Go To Last Folder Visited"},
    {"MSG_BTN_UP_HINT", "Up One Level"},
    {"MSG_BTN_NEWFOLDER_HINT", "Create New Folder"},
    {"MSG_BTN_VIEWMENU_HINT", "View Menu"},
    {"MSG_LV_ICON", "Large icons"},
    {"MSG_LV_SMALLICON", "Small icons"},
    {"MSG_LV_LIST", "List"},
    {"MSG_LV_DETAILS", "Details"},
    {"MSG_BTN_OPEN", "&Open"},
    {"MSG_BTN_SAVE", "&Save"},
    {"MSG_BTN_OK", "OK"},
    {"MSG_BTN_CANCEL", "Cancel"},
    {"MSG_FILENAME", "File name:"},
    {"MSG_FILETYPE", "File type:"},
    {"MSG_OVERWRITE", "Do you want to overwrite old file?"},
    {"MSG_NEWFOLDER", "New Folder"},
};


// 0x00BBGGRR.
constexpr TColor kMagenta = 0xFF00FF;
constexpr TColor kGreen = 0x00A000;
constexpr TColor kDarkGreen = 0x006000;
constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kOrange = 0x0080FF;
constexpr TColor kBlue = 0xC06000;
constexpr TColor kDarkGrey = 0x808080;

void Pen(TCanvas* C, TColor AColor)
{
    C->Pen()->SetColor(AColor);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(AColor);
}

void Folder(TCanvas* C)
{
    std::unique_ptr<TBitmap> folder = MakeFileControlPicture(TFileControlPicture::ClosedFolder);
    C->Draw(0, 1, folder.get());
}

void DrawBack(TCanvas* C)
{
    Pen(C, kDarkGreen);
    C->Ellipse(1, 1, 15, 15);
    Pen(C, kGreen);
    C->Ellipse(2, 2, 14, 14);
    Pen(C, kWhite);
    C->FillRect(Rect(7, 7, 12, 9));
    for (Integer i = 0; i < 4; ++i) C->FillRect(Rect(4 + i, 8 - i, 5 + i, 8 + i));
}

void DrawUp(TCanvas* C)
{
    Folder(C);
    Pen(C, kGreen);
    C->FillRect(Rect(12, 4, 14, 12));   // the shaft, right of the folder
    C->FillRect(Rect(8, 10, 13, 12));   // curving in at the bottom
    for (Integer i = 0; i < 3; ++i) C->FillRect(Rect(10 + i, 3 + i, 16 - i, 4 + i));  // the head, pointing up
    C->FillRect(Rect(12, 1, 14, 3));
}

void DrawNewFolder(TCanvas* C)
{
    Folder(C);
    Pen(C, kOrange);
    C->FillRect(Rect(12, 0, 13, 7));
    C->FillRect(Rect(9, 3, 16, 4));
    C->FillRect(Rect(10, 1, 15, 6));
}

void DrawViewStyle(TCanvas* C)
{
    Pen(C, kDarkGrey);
    C->Rectangle(0, 1, 16, 15);
    Pen(C, kWhite);
    C->FillRect(Rect(1, 5, 15, 14));
    Pen(C, kBlue);
    C->FillRect(Rect(1, 2, 15, 5));
    const TColor colours[6] = {0x0000FF, 0x00A000, 0xFF0000, 0x00C0FF, 0xC000C0, 0x808000};
    for (Integer i = 0; i < 6; ++i) {
        Pen(C, colours[i]);
        const Integer x = 2 + (i % 3) * 4, y = 6 + (i / 3) * 4;
        C->FillRect(Rect(x, y, x + 3, y + 3));
    }
}

}  // namespace

std::unique_ptr<TBitmap> MakeDialogGlyph(TDialogGlyph AKind)
{
    auto glyph = std::make_unique<TBitmap>(16, 16, pf24bit);
    TCanvas* c = glyph->Canvas();
    Pen(c, kMagenta);
    c->FillRect(Rect(0, 0, 16, 16));
    switch (AKind) {
    case TDialogGlyph::Back: DrawBack(c); break;
    case TDialogGlyph::Up: DrawUp(c); break;
    case TDialogGlyph::NewFolder: DrawNewFolder(c); break;
    case TDialogGlyph::ViewStyle: DrawViewStyle(c); break;
    }
    // The key colour must stay in the bottom-left pixel.
    c->SetPixels(0, 15, kMagenta);
    glyph->SetTransparent(true);
    return glyph;
}

std::string DialogText(TspSkinData* ACtrlSkinData, const char* AKey)
{
    if (ACtrlSkinData && ACtrlSkinData->ResourceStrData()) return ACtrlSkinData->ResourceStrData()->GetResStr(AKey);
    for (const TTextRow& row : kTexts)
        if (std::strcmp(row.Key, AKey) == 0) return row.BuiltIn;
    return {};
}

void MakeDialogFolder(const std::string& APath)
{
    if (::mkdir(APath.c_str(), 0777) != 0)
        throw EInOutError(Format("Cannot create folder \"%s\": %s", {APath, std::string(std::strerror(errno))}));
}

void ShowDialogError(TspSkinData* ASkinData, TspSkinData* ACtrlSkinData, const std::string& AText)
{
    TspSkinMessage box(nullptr);
    box.SetSkinData(ASkinData);
    box.SetCtrlSkinData(ACtrlSkinData);
    box.MessageDlg(AText, mtError, {mbOK}, 0);
}
