// Builds a form with the platform's text fields on the headless screen and writes a PNG of it: an edit with
// part of its text selected, a password field, a masked time field, a transparent edit over a coloured panel,
// and a word-wrapped memo with a selection over several lines, the focused one showing its caret.
//   controls-demo [output-folder]
#include "platform/controls/mask_edit.h"
#include "platform/controls/memo.h"
#include "platform/gui/application.h"
#include "platform/gui/ext_controls.h"
#include "tools/demo-screen/demo_screen.h"

#include <cstdio>
#include <string>

namespace {

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* AOwner) : TForm(AOwner)
    {
        SetCaption("Quennary - text fields");
        SetBorderStyle(bsSingle);
        SetPosition(poScreenCenter);
        SetBounds(0, 0, 480, 360);

        AddLabel("Edit", 12);
        auto* edit = AddEdit<TEdit>(12);
        edit->SetText("Grüße aus 東京 – café");
        edit->SetSelStart(6);
        edit->SetSelLength(3);

        AddLabel("Password", 44);
        auto* password = AddEdit<TEdit>(44);
        password->SetPasswordChar(U'•');
        password->SetText("secret");

        AddLabel("Time mask", 76);
        auto* mask = AddEdit<TMaskEdit>(76);
        mask->SetEditMask("!90:00:00.000;1; ");
        mask->SetText("1:23:45.678");
        mask->SetSelStart(4);
        mask->SetSelLength(1);

        AddLabel("Transparent", 108);
        auto* panel = new TPanel(this);
        panel->SetBounds(110, 104, 340, 28);
        panel->SetColor(static_cast<TColor>(0x80C0F0));
        panel->SetBevelOuter(bvNone);
        panel->SetParent(this);
        auto* clear = new TEdit(this);
        clear->SetBounds(4, 3, 330, 22);
        clear->SetTransparent(true);
        clear->SetText("text over the panel's own colour");
        clear->SetParent(panel);

        AddLabel("Memo", 144);
        Memo = new TMemo(this);
        Memo->SetBounds(110, 144, 340, 170);
        Memo->SetWordWrap(true);
        Memo->SetHideSelection(false);
        Memo->SetParent(this);
        Memo->Lines()->Add("A memo wraps long lines at the width of its text rectangle, between words.");
        Memo->Lines()->Add("Second line: Ünïcödé, 日本語のテキスト, and a combining e\xCC\x81.");
        Memo->Lines()->Add("");
        for (int i = 1; i <= 12; ++i)
            Memo->Lines()->Add("Line " + std::to_string(i) + " of a longer list");
        Memo->SetSelStart(20);
        Memo->SetSelLength(90);
    }

    TMemo* Memo = nullptr;

private:
    void AddLabel(const std::string& ACaption, int ATop)
    {
        auto* label = new TLabel(this);
        label->SetCaption(ACaption);
        label->SetBounds(12, ATop + 3, 90, 18);
        label->SetParent(this);
    }
    template <typename TField>
    TField* AddEdit(int ATop)
    {
        auto* field = new TField(this);
        field->SetBounds(110, ATop, 340, 24);
        field->SetHideSelection(false);
        field->SetAutoSelect(false);
        field->SetParent(this);
        return field;
    }
};

}  // namespace

int main(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : ".";
    TDemoScreen screen;
    TApplication application(nullptr);
    application.SetTitle("controls-demo");
    auto* form = application.CreateForm<TDemoForm>();
    form->Show();
    form->Memo->SetFocus();
    application.ProcessMessages();
    return screen.WriteWindow(form->Handle(), folder + "/controls-demo.png") ? 0 : 1;
}
