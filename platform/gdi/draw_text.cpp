#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "platform/gdi/font_engine.h"
#include "platform/gdi/text.h"

namespace win {

using namespace detail;

namespace {

struct TextChar {
    char32_t Code = 0;
    bool Underline = false; // the character after an "&"
};
using CharLine = std::vector<TextChar>;

CharLine StripPrefixes(const std::u32string& AText, bool ANoPrefix)
{
    CharLine out;
    for (size_t i = 0; i < AText.size(); ++i) {
        if (ANoPrefix || AText[i] != U'&') {
            out.push_back({AText[i], false});
            continue;
        }
        if (i + 1 >= AText.size())
            break; // a lone "&" at the end shows nothing
        ++i;
        out.push_back({AText[i], AText[i] != U'&'});
    }
    return out;
}

// CR, LF, CR LF and LF CR each end a line.
std::vector<CharLine> SplitParagraphs(const CharLine& AText, bool ASingleLine)
{
    std::vector<CharLine> lines(1);
    for (size_t i = 0; i < AText.size(); ++i) {
        const char32_t c = AText[i].Code;
        if (ASingleLine || (c != U'\r' && c != U'\n')) {
            lines.back().push_back(AText[i]);
            continue;
        }
        if (i + 1 < AText.size() && AText[i + 1].Code != c &&
            (AText[i + 1].Code == U'\r' || AText[i + 1].Code == U'\n'))
            ++i;
        lines.emplace_back();
    }
    return lines;
}

// Lines are measured as they are drawn: shaped as a whole.
struct Measurer {
    FontFace& Face;
    int TabWidth = 0; // 0: tabs are not expanded

    LineLayout Layout(const CharLine& ALine) const
    {
        std::u32string text;
        text.reserve(ALine.size());
        for (const TextChar& c : ALine)
            text.push_back(c.Code);
        return LayoutLine(Face, text, nullptr, TabWidth);
    }
    int Width(const CharLine& ALine) const { return Layout(ALine).Width; }
};

CharLine TrimRight(CharLine ALine)
{
    while (!ALine.empty() && ALine.back().Code == U' ')
        ALine.pop_back();
    return ALine;
}

// Greedy breaking between words; a word wider than the rectangle keeps a line of its own.
std::vector<CharLine> WrapParagraph(const CharLine& AText, int AWidth, const Measurer& AMeasure)
{
    std::vector<CharLine> lines;
    CharLine current;
    size_t i = 0;
    while (i < AText.size()) {
        size_t end = i;
        while (end < AText.size() && AText[end].Code == U' ')
            ++end;
        while (end < AText.size() && AText[end].Code != U' ')
            ++end;
        CharLine candidate = current;
        candidate.insert(candidate.end(), AText.begin() + ptrdiff_t(i), AText.begin() + ptrdiff_t(end));
        if (!TrimRight(current).empty() && AMeasure.Width(TrimRight(candidate)) > AWidth) {
            lines.push_back(TrimRight(current));
            current.clear();
            while (i < end && AText[i].Code == U' ')
                ++i; // the spaces at a break belong to neither line
            current.assign(AText.begin() + ptrdiff_t(i), AText.begin() + ptrdiff_t(end));
        } else {
            current = std::move(candidate);
        }
        i = end;
    }
    lines.push_back(TrimRight(current));
    return lines;
}

const CharLine kEllipsis = {{U'.', false}, {U'.', false}, {U'.', false}};

CharLine Joined(const CharLine& A, const CharLine& B, const CharLine& C)
{
    CharLine out = A;
    out.insert(out.end(), B.begin(), B.end());
    out.insert(out.end(), C.begin(), C.end());
    return out;
}

CharLine EndEllipsis(const CharLine& ALine, int AWidth, const Measurer& AMeasure)
{
    CharLine head = ALine;
    while (!head.empty() && AMeasure.Width(Joined(head, kEllipsis, {})) > AWidth)
        head.pop_back();
    return Joined(head, kEllipsis, {});
}

// Keeps the last path component (after the last "\" or "/") and as much of the start as fits; without a
// separator, the middle of the text goes.
CharLine PathEllipsis(const CharLine& ALine, int AWidth, const Measurer& AMeasure)
{
    size_t split = ALine.size() / 2;
    for (size_t i = ALine.size(); i-- > 0;)
        if (ALine[i].Code == U'\\' || ALine[i].Code == U'/') {
            split = i;
            break;
        }
    CharLine head(ALine.begin(), ALine.begin() + ptrdiff_t(split));
    CharLine tail(ALine.begin() + ptrdiff_t(split), ALine.end());
    while (!head.empty() && AMeasure.Width(Joined(head, kEllipsis, tail)) > AWidth)
        head.pop_back();
    while (!tail.empty() && AMeasure.Width(Joined(head, kEllipsis, tail)) > AWidth)
        tail.erase(tail.begin());
    return Joined(head, kEllipsis, tail);
}

std::vector<CharLine> LayoutLines(const std::u32string& AText, UINT AFormat, int AWidth, const Measurer& AMeasure)
{
    const bool single = (AFormat & DT_SINGLELINE) != 0;
    std::vector<CharLine> lines;
    for (const CharLine& paragraph : SplitParagraphs(StripPrefixes(AText, (AFormat & DT_NOPREFIX) != 0), single)) {
        if ((AFormat & DT_WORDBREAK) != 0 && !single) {
            for (CharLine& line : WrapParagraph(paragraph, AWidth, AMeasure))
                lines.push_back(std::move(line));
        } else {
            lines.push_back(paragraph);
        }
    }
    for (CharLine& line : lines) {
        if (AMeasure.Width(line) <= AWidth)
            continue;
        if ((AFormat & DT_PATH_ELLIPSIS) != 0)
            line = PathEllipsis(line, AWidth, AMeasure);
        else if ((AFormat & DT_END_ELLIPSIS) != 0)
            line = EndEllipsis(line, AWidth, AMeasure);
    }
    return lines;
}

void DrawLines(DC& ADC, FontFace& AFace, const std::vector<CharLine>& ALines, const RECT& ARect, int ATop,
               int ALineHeight, UINT AFormat, const Measurer& AMeasure)
{
    const RECT clip = ADC.ToSurface(ARect); // an inverted rectangle clips everything away
    LineStyle style;
    style.Color = ADC.State.TextColor;
    style.Opaque = ADC.State.BkMode == OPAQUE;
    style.Background = ADC.State.BkColor;
    style.ClipRect = (AFormat & DT_NOCLIP) != 0 ? nullptr : &clip;
    int y = ATop;
    for (const CharLine& line : ALines) {
        const LineLayout layout = AMeasure.Layout(line);
        style.Underlines.clear();
        for (size_t i = 0; i < line.size(); ++i) {
            if (line[i].Underline)
                style.Underlines.emplace_back(int(i), int(i) + 1);
        }
        int x = ARect.Left;
        if ((AFormat & DT_CENTER) != 0)
            x = ARect.Left + (ARect.Width() - layout.Width) / 2;
        else if ((AFormat & DT_RIGHT) != 0)
            x = ARect.Right - layout.Width;
        DrawLine(ADC, AFace, ADC.ToSurface(x, y), layout, style);
        y += ALineHeight;
    }
}

int Saturated(int64_t AValue) { return int(std::clamp<int64_t>(AValue, INT_MIN, INT_MAX)); }

// Far-out sides are pulled into the coordinate space drawing works in before any width, margin or centre is taken,
// so that a rectangle reaching to the ends of int lays text out as a wide one does.
int Limited(int64_t AValue) { return int(std::clamp<int64_t>(AValue, -kCoordinateLimit, kCoordinateLimit)); }

} // namespace

int DrawText(HDC ADC, const char* AText, int ACount, RECT* ARect, UINT AFormat)
{
    return DrawTextEx(ADC, AText, ACount, ARect, AFormat, nullptr);
}

int DrawTextEx(HDC ADC, const char* AText, int ACount, RECT* ARect, UINT AFormat, DRAWTEXTPARAMS* AParams)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr || ARect == nullptr || (AText == nullptr && ACount != 0))
        return 0;
    if (AParams != nullptr && AParams->cbSize != sizeof(DRAWTEXTPARAMS))
        return 0;
    const std::u32string text = DecodeUtf8(AText, ACount);
    if (AParams != nullptr)
        AParams->uiLengthDrawn = UINT(AText == nullptr ? 0 : ACount < 0 ? std::strlen(AText) : size_t(ACount));
    const int64_t left = AParams != nullptr ? AParams->iLeftMargin : 0;
    const int64_t right = AParams != nullptr ? AParams->iRightMargin : 0;
    if (text.empty()) {
        if ((AFormat & DT_CALCRECT) != 0) {
            ARect->Right = Saturated(ARect->Left + left + right);
            ARect->Bottom = ARect->Top;
        }
        return 0;
    }
    std::lock_guard lock(FontLock());
    FontFace& face = FaceOf(*dc);
    const int tabChars = AParams != nullptr && AParams->iTabLength > 0 ? AParams->iTabLength : 8;
    const Measurer measure{face, (AFormat & DT_EXPANDTABS) != 0 ? tabChars * std::max(1, face.AveCharWidth) : 0};
    const RECT r{Limited(ARect->Left + left), Limited(ARect->Top), Limited(ARect->Right - right), Limited(ARect->Bottom)};
    const std::vector<CharLine> lines = LayoutLines(text, AFormat, r.Width(), measure);
    const int lineHeight = face.Height() + ((AFormat & DT_EXTERNALLEADING) != 0 ? face.ExternalLeading : 0);
    const int height = Limited(int64_t(lineHeight) * int64_t(lines.size()));
    if ((AFormat & DT_CALCRECT) != 0) {
        int widest = 0;
        for (const CharLine& line : lines)
            widest = std::max(widest, measure.Width(line));
        ARect->Right = Saturated(ARect->Left + left + widest + right);
        ARect->Bottom = Saturated(int64_t(ARect->Top) + height);
        return height;
    }
    int top = r.Top;
    if ((AFormat & DT_SINGLELINE) != 0) {
        if ((AFormat & DT_VCENTER) != 0)
            top = r.Top + (r.Height() - height) / 2;
        else if ((AFormat & DT_BOTTOM) != 0)
            top = r.Bottom - height;
    }
    DrawLines(*dc, face, lines, r, top, lineHeight, AFormat, measure);
    return top - r.Top + height;
}

} // namespace win
