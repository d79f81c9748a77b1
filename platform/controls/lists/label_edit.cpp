#include "platform/controls/lists/label_edit.h"

#include "platform/win/keys.h"

using namespace win;

namespace {

// Enough of an edit to rename an item: characters are added at the end, Backspace takes the last one away.
class TLabelEditBox : public TCustomControl {
public:
    explicit TLabelEditBox(TComponent* AOwner) : TCustomControl(AOwner)
    {
        SetTabStop(true);
        SetColor(clWindow);
    }

protected:
    void KeyPress(char32_t& AKey) override
    {
        TCustomControl::KeyPress(AKey);
        std::string text = Text();
        if (AKey == VK_BACK) {
            // Drops one whole UTF-8 character.
            while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
                text.pop_back();
            if (!text.empty())
                text.pop_back();
        } else if (AKey >= 0x20 && AKey < 0x80) {
            text += static_cast<char>(AKey);
        } else {
            return;
        }
        SetText(text);
        Invalidate();
    }
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clWindow);
        Canvas()->FillRect(ClientRect());
        Canvas()->Brush()->SetColor(clWindowText);
        Canvas()->FrameRect(ClientRect());
        Canvas()->Brush()->SetStyle(bsClear);
        Canvas()->TextOut(3, 1, Text());
        Canvas()->Brush()->SetStyle(bsSolid);
    }
};

TLabelEditorFactory& Factory()
{
    static TLabelEditorFactory factory;
    return factory;
}

}  // namespace

void SetLabelEditorFactory(TLabelEditorFactory AFactory)
{
    Factory() = std::move(AFactory);
}

TLabelEditSession::~TLabelEditSession()
{
    if (FEditor)
        FEditor->WindowProc = FEditorProc;
}

void TLabelEditSession::Begin(TWinControl* AView, const TRect& ARect, const std::string& AText, TDone ADone)
{
    End(false);
    FRetired.reset();
    FEditor.reset(Factory() ? Factory()(AView) : new TLabelEditBox(nullptr));
    FDone = std::move(ADone);
    FEditor->SetBoundsRect(ARect);
    FEditor->SetParent(AView);
    FEditor->SetText(AText);
    FEditorProc = FEditor->WindowProc;
    FEditor->WindowProc = [this](TMessage& AMessage) {
        TWndMethod proc = FEditorProc;
        if (AMessage.Msg == WM_KEYDOWN && (AMessage.WParam == VK_RETURN || AMessage.WParam == VK_ESCAPE)) {
            End(AMessage.WParam == VK_RETURN);
            return;
        }
        if (AMessage.Msg == WM_CHAR && (AMessage.WParam == '\r' || AMessage.WParam == 27))
            return;
        proc(AMessage);
        if (AMessage.Msg == WM_GETDLGCODE)
            AMessage.Result |= DLGC_WANTALLKEYS | DLGC_WANTCHARS;
        else if (AMessage.Msg == WM_KILLFOCUS)
            End(true);
    };
    if (FEditor->CanFocus())
        FEditor->SetFocus();
}

void TLabelEditSession::End(bool AAccept)
{
    if (!FEditor)
        return;
    std::string text = FEditor->Text();
    FEditor->WindowProc = FEditorProc;
    TWinControl* view = FEditor->Parent();
    bool hadFocus = FEditor->Focused();
    FEditor->Hide();
    FRetired = std::move(FEditor);
    TDone done = std::move(FDone);
    FDone = nullptr;
    if (hadFocus && view && view->CanFocus())
        view->SetFocus();
    if (done)
        done(AAccept, text);
}
