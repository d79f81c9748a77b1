#include "skin/controls/view_bars.h"

#include "platform/win/message_queue.h"
#include "skin/controls/scroll_bar.h"
#include "skin/core/control_records.h"
#include "skin/core/interface_texts.h"
#include "skin/core/skin_data.h"

namespace {
// Posted to the view when a bar came or went during the parent's own alignment pass, which places no control
// twice: the parent aligns again once that pass is over.
constexpr win::UINT kViewRealign = win::WM_USER + 0x4B6;
}  // namespace

Integer ApplyTextViewSkin(TControl* AView, TspSkinData* ASkinData, const std::string& AName, bool AUseSkinFont,
                          TFont* ADefaultFont, TColor ADefaultColor)
{
    Integer index = -1;
    if (ASkinData && !ASkinData->Empty) index = ASkinData->GetControlIndex(AName);
    TFont* font = AView->Font();
    if (index < 0) {
        AView->SetColor(ADefaultColor);
        font->Assign(ADefaultFont);
    } else if (auto* record = dynamic_cast<TspDataSkinTextViewControl*>(ASkinData->CtrlList[index].get())) {
        if (AUseSkinFont) {
            font->SetName(record->FontName);
            font->SetStyle(record->FontStyle);
            font->SetHeight(record->FontHeight);
        } else {
            font->Assign(ADefaultFont);
        }
        font->SetColor(record->FontColor);
        AView->SetColor(record->BGColor);
    }
    if (ASkinData && ASkinData->ResourceStrData())
        font->SetCharset(static_cast<TFontCharset>(ASkinData->ResourceStrData()->CharSet));
    else
        font->SetCharset(ADefaultFont->Charset());
    return index;
}

TspViewBars::TspViewBars(TWinControl* AView, TScroll AOnVScroll, TScroll AOnHScroll)
    : FView(AView),
      FV(new TspScrollBarLink(AView, std::move(AOnVScroll))),
      FH(new TspScrollBarLink(AView, std::move(AOnHScroll)))
{
}

void TspViewBars::Link(TspScrollBarLink* ALink, TspSkinScrollBar* ABar)
{
    ALink->SetBar(ABar);
    if (!ABar) return;
    ABar->SetEnabled(true);
    // Hiding the bar re-aligns the parent, whose size message would otherwise update (and show) the bar
    // before it is hidden.
    InCheck = true;
    ABar->SetVisible(false);
    InCheck = false;
}

bool TspViewBars::Apply(TspSkinScrollBar* ABar, bool AShow, Integer AMin, Integer AMax, Integer APos, Integer APage)
{
    if (!ABar) return false;
    const bool show = AShow && FView->Visible();
    const bool was = ABar->Visible();
    const bool saved = InCheck;
    InCheck = true;
    ABar->SetVisible(show);
    InCheck = saved;
    if (show) ABar->SetRange(AMin, AMax, APos, APage);
    return was != show;
}

void TspViewBars::Finish(bool AChanged)
{
    TspSkinScrollBar* v = VBar();
    TspSkinScrollBar* h = HBar();
    // A horizontal bar beside a visible vertical one leaves the corner free.
    if (v && h && h->Both() != v->Visible()) h->SetBoth(v->Visible());
    if (FView->Align() == alNone || !AChanged || !FView->Parent()) return;
    InCheck = true;
    FView->Parent()->Realign();
    InCheck = false;
    if (FView->HandleAllocated()) win::PostMessage(FView->Handle(), kViewRealign, 0, 0);
}

bool TspViewBars::HandleMessage(TMessage& AMessage)
{
    if (AMessage.Msg != kViewRealign) return false;
    if (FView->Parent()) {
        InCheck = true;
        FView->Parent()->Realign();
        InCheck = false;
    }
    return true;
}

void TspViewBars::FollowVisible(bool AVisible)
{
    if (VBar()) VBar()->SetVisible(AVisible);
    if (HBar()) HBar()->SetVisible(AVisible);
}
