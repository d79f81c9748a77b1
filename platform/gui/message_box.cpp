#include "platform/gui/message_box.h"

#include "platform/gdi/gdi.h"
#include "platform/gui/application.h"
#include "platform/gui/forms.h"

#include <algorithm>

using namespace win;

namespace {

constexpr int kMargin = 16;
constexpr int kMaxTextWidth = 420;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr UINT kTextFlags = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;

TCustomForm* gCurrentBox = nullptr;

// The box's only button: Enter, Escape and Space close the box as a click does.
class TPlainButton : public TCustomControl {
public:
    explicit TPlainButton(TComponent* AOwner) : TCustomControl(AOwner)
    {
        SetTabStop(true);
        SetColor(clBtnFace);
    }

    void Click() override
    {
        TCustomControl::Click();
        if (TCustomForm* form = GetParentForm(this))
            form->SetModalResult(mrOk);
    }

    void WndProc(TMessage& AMessage) override
    {
        if (AMessage.Msg == CM_DIALOGKEY && (AMessage.WParam == VK_RETURN || AMessage.WParam == VK_ESCAPE)) {
            Click();
            AMessage.Result = 1;
            return;
        }
        if (AMessage.Msg == WM_KEYDOWN && AMessage.WParam == VK_SPACE) {
            Click();
            return;
        }
        if (AMessage.Msg == WM_SETFOCUS || AMessage.Msg == WM_KILLFOCUS)
            Invalidate();
        TCustomControl::WndProc(AMessage);
    }

protected:
    void Paint() override
    {
        TRect r = ClientRect();
        TCanvas* canvas = Canvas();
        canvas->Brush()->SetColor(clBtnFace);
        canvas->Pen()->SetColor(clBtnText);
        canvas->Rectangle(r);
        canvas->Pen()->SetColor(clBtnHighlight);
        canvas->MoveTo(r.Left + 1, r.Bottom - 2);
        canvas->LineTo(r.Left + 1, r.Top + 1);
        canvas->LineTo(r.Right - 1, r.Top + 1);
        canvas->Pen()->SetColor(clBtnShadow);
        canvas->MoveTo(r.Left + 1, r.Bottom - 2);
        canvas->LineTo(r.Right - 2, r.Bottom - 2);
        canvas->LineTo(r.Right - 2, r.Top);
        std::string text = Caption();
        SetBkMode(canvas->Handle(), TRANSPARENT);
        SetTextColor(canvas->Handle(), ColorRefOf(clBtnText));
        DrawText(canvas->Handle(), text, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        if (Focused()) {
            canvas->Brush()->SetStyle(bsClear);
            canvas->Pen()->SetColor(clBtnShadow);
            canvas->Rectangle(Rect(r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 3));
        }
    }
};

class TPlainBoxForm : public TForm {
public:
    TPlainBoxForm(const std::string& AText, const std::string& ACaption) : TForm(nullptr), FMessage(AText)
    {
        SetBorderStyle(bsDialog);
        SetBorderIcons({biSystemMenu});
        SetPosition(poScreenCenter);
        SetCaption(ACaption);
        TRect text = MeasureText();
        int clientWidth = std::max(text.Width(), kButtonWidth) + 2 * kMargin;
        int clientHeight = text.Height() + 3 * kMargin + kButtonHeight;
        SetClientSize(clientWidth, clientHeight);
        auto* button = new TPlainButton(this);
        button->SetCaption("OK");
        button->SetBounds((clientWidth - kButtonWidth) / 2, clientHeight - kMargin - kButtonHeight, kButtonWidth,
                          kButtonHeight);
        button->SetParent(this);
        SetActiveControl(nullptr);
        FButton = button;
    }

    TPlainButton* FButton = nullptr;

protected:
    void Paint() override
    {
        TRect r = Rect(kMargin, kMargin, ClientWidth() - kMargin, ClientHeight() - 2 * kMargin - kButtonHeight);
        SetBkMode(Canvas()->Handle(), TRANSPARENT);
        SetTextColor(Canvas()->Handle(), ColorRefOf(clWindowText));
        DrawText(Canvas()->Handle(), FMessage, &r, kTextFlags);
    }

private:
    TRect MeasureText()
    {
        HDC dc = GetDC(nullptr);
        TRect r = Rect(0, 0, kMaxTextWidth, 0);
        {
            TCanvas canvas;
            canvas.SetHandle(dc);
            canvas.Font()->Assign(Font());
            DrawText(canvas.Handle(), FMessage, &r, kTextFlags | DT_CALCRECT);
            canvas.SetHandle(nullptr);
        }
        ReleaseDC(nullptr, dc);
        return r;
    }

    std::string FMessage;
};

}  // namespace

int ShowPlainMessageBox(const std::string& AText, const std::string& ACaption, UINT)
{
    TPlainBoxForm box(AText, ACaption);
    TCustomForm* previous = gCurrentBox;
    gCurrentBox = &box;
    box.OnShow = [&box](TObject*) {
        if (box.FButton->CanFocus())
            box.SetActiveControl(box.FButton);
    };
    try {
        box.ShowModal();
    } catch (...) {
        gCurrentBox = previous;
        throw;
    }
    gCurrentBox = previous;
    return IDOK;
}

TCustomForm* CurrentPlainMessageBox() { return gCurrentBox; }
