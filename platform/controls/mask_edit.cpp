#include "platform/controls/mask_edit.h"

#include "platform/controls/edit_clipboard.h"
#include "platform/controls/text_steps.h"
#include "platform/win/win.h"

#include <algorithm>

using namespace win;

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TCustomMaskEdit::SetEditMask(const std::string& AValue)
{
    std::string text = IsMasked() ? GetText() : FModel.Text();
    FEditMask = AValue;
    FPositions.clear();
    FLeadingBlanks = false;
    FSaveLiterals = true;
    FBlank = '_';
    size_t end = AValue.size();
    // The two trailing parts: ";1" or ";0", then the blank character.
    size_t second = AValue.rfind(';');
    if (second != std::string::npos && second > 0 && second + 2 == AValue.size()) {
        size_t first = AValue.rfind(';', second - 1);
        if (first != std::string::npos && first + 2 == second) {
            FSaveLiterals = AValue[first + 1] != '0';
            FBlank = AValue[second + 1];
            end = first;
        }
    } else if (second != std::string::npos && second + 2 == AValue.size() &&
               (AValue[second + 1] == '0' || AValue[second + 1] == '1')) {
        FSaveLiterals = AValue[second + 1] != '0';
        end = second;
    }
    for (size_t i = 0; i < end; ++i) {
        char c = AValue[i];
        if (c == '!')
            FLeadingBlanks = true;
        else if (c == '\\' && i + 1 < end)
            FPositions.push_back({'L', AValue[++i]});
        else if (c == '0' || c == '9')
            FPositions.push_back({c, 0});
        else
            FPositions.push_back({'L', c});
    }
    SetMaxLength(IsMasked() ? Length() : 0);
    FText = FormatText(text);
    TCustomEdit::TextChanged();
}

void TCustomMaskEdit::SetEditText(const std::string& AValue)
{
    FText = IsMasked() ? FormatText(AValue) : AValue;
    TCustomEdit::TextChanged();
}

std::string TCustomMaskEdit::FormatText(const std::string& AValue) const
{
    if (!IsMasked())
        return AValue;
    std::string out(FPositions.size(), FBlank);
    for (size_t i = 0; i < FPositions.size(); ++i)
        if (FPositions[i].Kind == 'L')
            out[i] = FPositions[i].Literal;
    auto fits = [&](size_t APos, char AChar) {
        return (AChar >= '0' && AChar <= '9') || (AChar == FBlank && FPositions[APos].Kind == '9') || AChar == ' ';
    };
    auto blankOr = [&](char AChar) { return AChar == ' ' ? FBlank : AChar; };
    if (!FSaveLiterals) {
        // Without literals the value fills the editable positions in order.
        size_t next = 0;
        for (size_t i = 0; i < FPositions.size() && next < AValue.size(); ++i)
            if (FPositions[i].Kind != 'L') {
                char c = AValue[next++];
                out[i] = fits(i, c) ? blankOr(c) : FBlank;
            }
        return out;
    }
    // With literals, each run of editable positions takes the value's text up to the literal that ends it.
    size_t from = 0;
    for (size_t i = 0; i < FPositions.size();) {
        if (FPositions[i].Kind == 'L') {
            if (from < AValue.size() && AValue[from] == FPositions[i].Literal)
                ++from;
            ++i;
            continue;
        }
        size_t runEnd = i;
        while (runEnd < FPositions.size() && FPositions[runEnd].Kind != 'L')
            ++runEnd;
        size_t stop = runEnd < FPositions.size() ? AValue.find(FPositions[runEnd].Literal, from) : std::string::npos;
        std::string piece = AValue.substr(from, stop == std::string::npos ? std::string::npos : stop - from);
        from = stop == std::string::npos ? AValue.size() : stop;
        size_t room = runEnd - i;
        if (piece.size() > room)
            piece.resize(room);  // a longer value keeps what fits
        size_t start = FLeadingBlanks ? i + room - piece.size() : i;
        for (size_t k = 0; k < piece.size(); ++k)
            out[start + k] = fits(start + k, piece[k]) ? blankOr(piece[k]) : FBlank;
        i = runEnd;
    }
    return out;
}

std::string TCustomMaskEdit::GetText()
{
    std::string text = FModel.Text();
    if (!IsMasked() || FSaveLiterals)
        return text;
    std::string out;
    for (size_t i = 0; i < FPositions.size() && i < text.size(); ++i)
        if (FPositions[i].Kind != 'L')
            out += text[i];
    return out;
}

void TCustomMaskEdit::TextChanged()
{
    if (IsMasked())
        FText = FormatText(FText);
    TCustomEdit::TextChanged();
}

bool TCustomMaskEdit::IsEditable(int APos) const
{
    return APos >= 0 && APos < Length() && FPositions[static_cast<size_t>(APos)].Kind != 'L';
}

int TCustomMaskEdit::NextEditable(int APos) const
{
    while (APos < Length() && !IsEditable(APos))
        ++APos;
    return std::min(APos, Length());
}

int TCustomMaskEdit::PrevEditable(int APos) const
{
    for (--APos; APos >= 0; --APos)
        if (IsEditable(APos))
            return APos;
    return -1;
}

bool TCustomMaskEdit::Accepts(int APos, char32_t AChar) const
{
    if (!IsEditable(APos))
        return false;
    if (AChar >= '0' && AChar <= '9')
        return true;
    return FPositions[static_cast<size_t>(APos)].Kind == '9' && (AChar == ' ' || AChar == static_cast<char32_t>(FBlank));
}

void TCustomMaskEdit::CaretTo(int APos)
{
    // Overwrite mode shows as the one position that the next key replaces, selected.
    if (APos < Length())
        SelectChars(APos, 1);
    else
        SelectChars(Length(), 0);
}

void TCustomMaskEdit::WriteAt(int APos, char AChar)
{
    std::string text = FModel.Text();
    if (APos < 0 || APos >= static_cast<int>(text.size()) || text[static_cast<size_t>(APos)] == AChar)
        return;
    FModel.Select(FModel.PosOfCharIndex(APos), FModel.PosOfCharIndex(APos + 1));
    ReplaceSelectionByUser(std::string(1, AChar), false);
}

void TCustomMaskEdit::BlankRange(int AFirst, int ALast)
{
    std::string piece;
    for (int i = AFirst; i < ALast; ++i)
        piece += IsEditable(i) ? FBlank : FPositions[static_cast<size_t>(i)].Literal;
    if (FModel.Text().substr(static_cast<size_t>(AFirst), piece.size()) == piece)
        return;
    FModel.Select(FModel.PosOfCharIndex(AFirst), FModel.PosOfCharIndex(ALast));
    ReplaceSelectionByUser(piece, false);
}

void TCustomMaskEdit::TypeChar(char32_t AChar)
{
    int first = SelStart(), length = SelLength();
    int at = NextEditable(first);
    if (at >= Length() || !Accepts(at, AChar))
        return;
    if (length > 1)
        BlankRange(first, first + length);
    WriteAt(at, AChar == ' ' ? FBlank : static_cast<char>(AChar));
    CaretTo(NextEditable(at + 1));
}

void TCustomMaskEdit::KeyPress(char32_t& AKey)
{
    TCustomEdit::KeyPress(AKey);  // OnKeyPress first: it may change the key or drop it
    if (!IsMasked() || AKey == 0)
        return;
    // Copy, select all and undo keep their usual meaning; cut and paste come back as messages handled below.
    if (AKey == 1 || AKey == 3 || AKey == 22 || AKey == 24 || AKey == 26)
        return;
    char32_t key = AKey;
    AKey = 0;
    if (ReadOnly())
        return;
    if (key == VK_BACK) {
        int first = SelStart(), length = SelLength();
        if (length > 1) {
            BlankRange(first, first + length);
            CaretTo(NextEditable(first));
            return;
        }
        int at = PrevEditable(first);
        if (at < 0)
            return;
        WriteAt(at, FBlank);
        CaretTo(at);
        return;
    }
    if (key >= 0x20)
        TypeChar(key);
}

void TCustomMaskEdit::HandleKeyDown(WORD AKey)
{
    if (!IsMasked() || KeyboardShiftState().Contains(ssShift)) {
        TCustomEdit::HandleKeyDown(AKey);
        return;
    }
    int first = SelStart();
    switch (AKey) {
    case VK_LEFT: {
        int at = PrevEditable(first);
        CaretTo(at < 0 ? NextEditable(0) : at);
        return;
    }
    case VK_RIGHT: CaretTo(NextEditable(std::min(first + 1, Length()))); return;
    case VK_HOME: CaretTo(NextEditable(0)); return;
    case VK_END: CaretTo(Length()); return;
    case VK_DELETE: {
        if (ReadOnly())
            return;
        int length = SelLength();
        if (length > 1)
            BlankRange(first, first + length);
        else if (int at = NextEditable(first); at < Length())
            WriteAt(at, FBlank);
        CaretTo(NextEditable(first));
        return;
    }
    default: TCustomEdit::HandleKeyDown(AKey);
    }
}

void TCustomMaskEdit::HandleMouse(TMessage& AMessage)
{
    TCustomEdit::HandleMouse(AMessage);
    if (!IsMasked() || SelLength() != 0 || (AMessage.Msg != WM_LBUTTONDOWN && AMessage.Msg != WM_LBUTTONUP))
        return;
    int at = NextEditable(SelStart());
    CaretTo(at < Length() ? at : std::max(PrevEditable(Length()), 0));
}

void TCustomMaskEdit::HandleFocus(bool AGot)
{
    TCustomEdit::HandleFocus(AGot);
    if (AGot && IsMasked() && SelLength() != Length())
        CaretTo(NextEditable(SelStart()));
}

void TCustomMaskEdit::DefaultHandler(TMessage& AMessage)
{
    if (!IsMasked() || ReadOnly()) {
        TCustomEdit::DefaultHandler(AMessage);
        return;
    }
    switch (AMessage.Msg) {
    case WM_CUT:
    case WM_CLEAR: {
        int first = SelStart(), length = SelLength();
        if (length == 0)
            return;
        if (AMessage.Msg == WM_CUT)
            edittext::SetClipboardText(Handle(), SelText());
        BlankRange(first, first + length);
        CaretTo(NextEditable(first));
        return;
    }
    case WM_PASTE: {
        // Pasted text is typed into the mask, one character at a time.
        std::string text = edittext::ClipboardText();
        for (size_t p = 0, length; p < text.size(); p += length) {
            char32_t c = edittext::DecodeAt(text, p, &length);
            int at = NextEditable(SelStart());
            if (at >= Length())
                break;
            if (Accepts(at, c))
                TypeChar(c);
        }
        return;
    }
    default: TCustomEdit::DefaultHandler(AMessage);
    }
}
