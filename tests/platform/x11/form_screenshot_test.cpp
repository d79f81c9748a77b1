// The class library before Xlib: Xlib's macros (None, Bool, Status) would break its names.
#include "platform/backend/headless/headless_backend.h"
#include "platform/gui/application.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/menus.h"

#include "x11_fixture.h"
#include "xwd_reader.h"

#include <filesystem>

namespace x11test {
namespace {

// The gui demo's form without its timer and hint, so that both screens show the same still picture.
class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* AOwner) : TForm(AOwner)
    {
        SetCaption("Quennary - GUI demo");
        SetBorderStyle(bsSizeable);
        SetBounds(60, 50, 520, 360);
        auto* menu = new TMainMenu(this);
        for (const char* caption : {"&File", "&Edit", "&Help"}) {
            auto* item = new TMenuItem(menu);
            item->SetCaption(caption);
            menu->Items()->Add(item);
        }
        SetMenu(menu);
        auto* top = new TPanel(this);
        top->SetAlign(alTop);
        top->SetHeight(36);
        top->SetCaption("Top panel (alTop, raised)");
        top->SetParent(this);
        auto* side = new TPanel(this);
        side->SetAlign(alLeft);
        side->SetWidth(120);
        side->SetBevelOuter(bvNone);
        side->SetColor(static_cast<TColor>(0xE8D8C8));
        side->SetParent(this);
        auto* label = new TLabel(this);
        label->SetBounds(8, 8, 104, 60);
        label->SetAutoSize(false);
        label->SetWordWrap(true);
        label->SetCaption("A word-wrapped label, && Grüße.");
        label->SetParent(side);
        auto* image = new TImage(this);
        image->SetBounds(136, 48, 160, 100);
        image->SetStretch(true);
        TBitmap* bitmap = image->Picture()->Bitmap();
        bitmap->SetSize(64, 32);
        for (int x = 0; x < 64; ++x) {
            bitmap->Canvas()->Pen()->SetColor(static_cast<TColor>((x * 4) | ((255 - x * 4) << 16)));
            bitmap->Canvas()->MoveTo(x, 0);
            bitmap->Canvas()->LineTo(x, 32);
        }
        image->SetParent(this);
        auto* circle = new TShape(this);
        circle->SetShape(stCircle);
        circle->Brush()->SetColor(clYellow);
        circle->SetBounds(322, 58, 80, 80);
        circle->SetParent(this);
        auto* centred = new TLabel(this);
        centred->SetAutoSize(false);
        centred->SetBounds(136, 160, 356, 40);
        centred->SetAlignment(taCenter);
        centred->SetLayout(tlCenter);
        centred->SetColor(clWhite);
        centred->Font()->SetStyle({fsBold});
        centred->SetCaption("Centred bold label on white");
        centred->SetParent(this);
    }
};

class X11FormScreenshot : public TX11Fixture {};

TEST_F(X11FormScreenshot, TheDemoFormLooksTheSameOnTheDisplayAsOnTheHeadlessScreen)
{
    auto folder = std::filesystem::path(QUENNARY_BINARY_DIR) / "x11-screenshots";
    std::filesystem::create_directories(folder);
    TRect place;
    std::vector<uint32_t> expected;
    {
        headless::THeadlessBackend headless({1280, 1024});
        SetBackend(&headless);
        TApplication application(nullptr);
        auto* form = application.CreateForm<TDemoForm>();
        form->Show();
        application.ProcessMessages();
        GetWindowRect(form->Handle(), place);
        TTopLevelView view;
        ASSERT_TRUE(ViewTopLevel(form->Handle(), view));
        expected.assign(view.Pixels, view.Pixels + size_t(view.Width) * view.Height);
        for (uint32_t& pixel : expected)
            pixel |= 0xFF000000u;
        EXPECT_TRUE(headless.WriteWindowPng(form->Handle(), (folder / "form-headless.png").string()));
    }
    SetBackend(Backend.get());
    {
        TApplication application(nullptr);
        auto* form = application.CreateForm<TDemoForm>();
        form->Show();
        ASSERT_TRUE(ShownOnX(form->Handle()));
        application.ProcessMessages();
        Backend->Sync();
        std::string dump_file = (folder / "form-screen.xwd").string();
        ASSERT_EQ(std::system(("xwd -root -silent -out '" + dump_file + "'").c_str()), 0);
        auto shown = ReadXwdArea(dump_file, place);
        ASSERT_TRUE(shown.has_value());
        headless::WritePng((folder / "form-x11.png").string(), shown->data(), place.Width(), place.Height());
        ASSERT_EQ(shown->size(), expected.size());
        size_t differing = 0;
        for (size_t i = 0; i < shown->size(); ++i)
            differing += (*shown)[i] != expected[i];
        EXPECT_EQ(differing, 0u) << "compare " << (folder / "form-headless.png") << " with "
                                 << (folder / "form-x11.png");
    }
}

}  // namespace
}  // namespace x11test
