// Puts a list box, a tree view and a report list view with its header on a form on the headless screen and
// writes a PNG of the form, for a reviewer to look at.
//   lists-demo [output-folder]
#include "platform/controls/lists/list_box.h"
#include "platform/controls/lists/list_view.h"
#include "platform/controls/lists/tree_view.h"
#include "platform/gui/application.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/forms.h"
#include "tools/demo-screen/demo_screen.h"

#include <cstdio>
#include <string>

namespace {

// Two 16 x 16 pictures drawn in code: a folder and a film strip, on a transparent magenta.
void AddIcons(TImageList* AImages)
{
    TBitmap picture;
    picture.SetSize(32, 16);
    TCanvas* canvas = picture.Canvas();
    canvas->Brush()->SetColor(clFuchsia);
    canvas->FillRect(Rect(0, 0, 32, 16));
    canvas->Brush()->SetColor(static_cast<TColor>(0x40C8F0));
    canvas->Pen()->SetColor(static_cast<TColor>(0x2080A0));
    canvas->Rectangle(1, 4, 15, 14);
    canvas->Rectangle(1, 2, 7, 5);
    canvas->Brush()->SetColor(static_cast<TColor>(0x404040));
    canvas->Pen()->SetColor(clBlack);
    canvas->Rectangle(18, 2, 30, 14);
    canvas->Brush()->SetColor(clWhite);
    for (int y = 3; y < 13; y += 3) {
        canvas->FillRect(Rect(19, y, 21, y + 2));
        canvas->FillRect(Rect(27, y, 29, y + 2));
    }
    AImages->AddMasked(&picture, clFuchsia);
}

class TListsForm : public TForm {
public:
    explicit TListsForm(TComponent* AOwner) : TForm(AOwner)
    {
        SetBorderStyle(bsSingle);
        SetCaption("Lists");
        SetBoundsRect(Bounds(20, 20, 760, 300));
        auto* images = new TImageList(this);
        AddIcons(images);

        auto* box = new TListBox(this);
        box->SetBounds(10, 10, 150, 240);
        box->SetMultiSelect(true);
        box->SetParent(this);
        for (const char* name : {"MP4 video", "AVI video", "MKV video", "WebM video", "MP3 audio", "FLAC audio",
                                 "OGG audio", "WAV audio", "Animated GIF", "MOV video", "WMV video", "AAC audio",
                                 "Opus audio", "MPEG-2 video", "3GP video"})
            box->Items()->Add(name);
        box->SetSelected(1, true);
        box->SetSelected(2, true);
        box->SetItemIndex(2);

        auto* tree = new TTreeView(this);
        tree->SetBounds(170, 10, 180, 240);
        tree->SetImages(images);
        tree->SetParent(this);
        TTreeNode* home = tree->Items()->Add(nullptr, "home");
        TTreeNode* videos = tree->Items()->AddChild(home, "Videos");
        for (const char* name : {"holiday", "birthday", "concert"})
            tree->Items()->AddChild(videos, name)->SetHasChildren(true);
        tree->Items()->AddChild(home, "Music")->SetHasChildren(true);
        TTreeNode* output = tree->Items()->AddChild(home, "Converted");
        tree->Items()->AddChild(output, "phone");
        tree->Items()->Add(nullptr, "media");
        for (TTreeNode* node = home; node; node = node->GetNextSibling())
            node->ImageIndex = 0;
        for (int i = 0; i < tree->Items()->Count(); ++i)
            tree->Items()->Item(i)->ImageIndex = 0;
        home->Expand(false);
        videos->Expand(false);
        tree->SetSelected(videos->Item(1));

        auto* view = new TListView(this);
        view->SetBounds(360, 10, 380, 240);
        view->SetViewStyle(vsReport);
        view->SetSmallImages(images);
        view->SetMultiSelect(true);
        view->AddColumn("Name", 150);
        view->AddColumn("Size", 70)->Alignment = taRightJustify;
        view->AddColumn("Duration", 70)->Alignment = taRightJustify;
        view->AddColumn("Format", 80);
        view->SetParent(this);
        const char* rows[][4] = {{"beach.mp4", "48.2 MB", "00:03:12", "MP4"},
                                 {"cake.avi", "120.5 MB", "00:08:40", "AVI"},
                                 {"candles.mkv", "9.8 MB", "00:00:41", "Matroska"},
                                 {"dance.mov", "233.0 MB", "00:12:05", "QuickTime"},
                                 {"encore.webm", "15.1 MB", "00:01:30", "WebM"},
                                 {"fireworks.mp4", "77.7 MB", "00:04:59", "MP4"},
                                 {"guitar.mkv", "61.3 MB", "00:05:17", "Matroska"},
                                 {"harbour.avi", "5.2 MB", "00:00:20", "AVI"}};
        for (const auto& row : rows) {
            TListItem* item = view->Items()->Add();
            item->Caption = row[0];
            item->SubItems = {row[1], row[2], row[3]};
            item->ImageIndex = 1;
        }
        view->SetSelected(1, true);
        view->SetSelected(3, true);
        view->SetItemFocused(3);
        FFocusView = view;
    }
    TWinControl* FFocusView = nullptr;
};

}  // namespace

int main(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : ".";
    TDemoScreen screen;
    TApplication application(nullptr);
    application.SetTitle("lists-demo");
    auto* form = application.CreateForm<TListsForm>();
    form->Show();
    form->FFocusView->SetFocus();
    application.ProcessMessages();
    return screen.WriteWindow(form->Handle(), folder + "/lists-demo.png") ? 0 : 1;
}
