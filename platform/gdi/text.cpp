#include "platform/gdi/text.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/drawing.h"
#include "platform/gdi/font_engine.h"
#include "platform/gdi/objects.h"
#include "platform/rtl/utf8.h"

namespace win {

using namespace detail;

HFONT CreateFontIndirect(const LOGFONT* AFont)
{
    if (AFont == nullptr)
        return nullptr;
    auto font = std::make_unique<Font>();
    font->Log = *AFont;
    font->Log.lfFaceName[LF_FACESIZE - 1] = '\0';
    return Register(std::move(font));
}

HFONT CreateFont(int AHeight, int AWidth, int AEscapement, int AOrientation, int AWeight, DWORD AItalic,
                 DWORD AUnderline, DWORD AStrikeOut, DWORD ACharSet, DWORD AOutPrecision, DWORD AClipPrecision,
                 DWORD AQuality, DWORD APitchAndFamily, const char* AFaceName)
{
    LOGFONT log;
    log.lfHeight = AHeight;
    log.lfWidth = AWidth;
    log.lfEscapement = AEscapement;
    log.lfOrientation = AOrientation;
    log.lfWeight = AWeight;
    log.lfItalic = BYTE(AItalic != 0);
    log.lfUnderline = BYTE(AUnderline != 0);
    log.lfStrikeOut = BYTE(AStrikeOut != 0);
    log.lfCharSet = BYTE(ACharSet);
    log.lfOutPrecision = BYTE(AOutPrecision);
    log.lfClipPrecision = BYTE(AClipPrecision);
    log.lfQuality = BYTE(AQuality);
    log.lfPitchAndFamily = BYTE(APitchAndFamily);
    if (AFaceName != nullptr)
        std::strncpy(log.lfFaceName, AFaceName, LF_FACESIZE - 1);
    return CreateFontIndirect(&log);
}

namespace {

// The face of a font handle, resolved on first use; nullptr for a handle that is not a live font. Called under the
// font lock.
FontFace* FaceOfFont(HFONT AFont)
{
    Font* font = Find<Font>(AFont);
    if (font == nullptr)
        return nullptr;
    if (!font->Face)
        font->Face = ResolveFace(font->Log);
    return font->Face.get();
}

} // namespace

std::string FontFileOf(HFONT AFont)
{
    std::lock_guard lock(FontLock());
    FontFace* face = FaceOfFont(AFont);
    return face != nullptr ? face->File : std::string();
}

std::string FontFileFor(HFONT AFont, char32_t ACode)
{
    std::lock_guard lock(FontLock());
    FontFace* face = FaceOfFont(AFont);
    return face != nullptr ? face->FileFor(ACode) : std::string();
}

void SetTextLayoutObserver(TextLayoutObserver AObserver) { SetLayoutObserver(std::move(AObserver)); }

BOOL GetTextMetrics(HDC ADC, TEXTMETRIC* AMetrics)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr || AMetrics == nullptr)
        return FALSE;
    std::lock_guard lock(FontLock());
    FontFace& face = FaceOf(*dc);
    TEXTMETRIC tm;
    tm.tmAscent = face.Ascent;
    tm.tmDescent = face.Descent;
    tm.tmHeight = face.Height();
    tm.tmInternalLeading = std::max(0, face.Height() - face.PixelSize);
    tm.tmExternalLeading = face.ExternalLeading;
    tm.tmAveCharWidth = face.AveCharWidth;
    tm.tmMaxCharWidth = face.MaxCharWidth;
    tm.tmWeight = face.Log.lfWeight == FW_DONTCARE ? FW_NORMAL : face.Log.lfWeight;
    tm.tmItalic = face.Log.lfItalic;
    tm.tmUnderlined = face.Log.lfUnderline;
    tm.tmStruckOut = face.Log.lfStrikeOut;
    tm.tmCharSet = face.Log.lfCharSet;
    *AMetrics = tm;
    return TRUE;
}

BOOL GetTextExtentPoint32(HDC ADC, const char* AText, int ACount, SIZE* ASize)
{
    return GetTextExtentExPoint(ADC, AText, ACount, 0, nullptr, nullptr, ASize);
}

BOOL GetTextExtentExPoint(HDC ADC, const char* AText, int ACount, int AMaxExtent, int* AFit, int* ADx, SIZE* ASize)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr || ASize == nullptr || (AText == nullptr && ACount != 0))
        return FALSE;
    std::lock_guard lock(FontLock());
    FontFace& face = FaceOf(*dc);
    const LineLayout line = LayoutLine(face, DecodeUtf8(AText, ACount));
    int extent = 0, fit = 0;
    for (size_t i = 0; i < line.Advances.size(); ++i) {
        extent += line.Advances[i];
        if (ADx != nullptr)
            ADx[i] = extent;
        if (extent <= AMaxExtent && size_t(fit) == i)
            ++fit;
    }
    if (AFit != nullptr)
        *AFit = fit;
    *ASize = {line.Width, face.Height()};
    return TRUE;
}

std::vector<TextCaretStop> GetTextCaretStops(HDC ADC, const char* AText, int ACount)
{
    std::vector<TextCaretStop> stops;
    DC* dc = FindDC(ADC);
    if (dc == nullptr || (AText == nullptr && ACount != 0))
        return stops;
    std::lock_guard lock(FontLock());
    FontFace& face = FaceOf(*dc);
    const std::string_view bytes = TextView(AText, ACount);
    const LineLayout line = LayoutLine(face, DecodeUtf8(AText, ACount));
    // The byte where each code point starts, the way the text was decoded (an invalid byte is one code point).
    std::vector<size_t> starts;
    for (size_t p = 0; p < bytes.size();) {
        starts.push_back(p);
        bool valid = true;
        Utf8Next(bytes, p, &valid);
    }
    starts.push_back(bytes.size());
    int extent = 0;
    for (size_t i = 0; i <= line.Text.size(); ++i) {
        if (!line.Shaped || line.ClusterBoundary[i])
            stops.push_back({starts[i], extent, line.Shaped ? line.CaretX[i] : extent});
        if (i < line.Advances.size())
            extent += line.Advances[i];
    }
    return stops;
}

BOOL GetTextExtentPoint(HDC ADC, const char* AText, int ACount, SIZE* ASize)
{
    return GetTextExtentPoint32(ADC, AText, ACount, ASize);
}

BOOL ExtTextOut(HDC ADC, int AX, int AY, UINT AOptions, const RECT* ARect, const char* AText, int ACount,
                const int* ADx)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr || (AText == nullptr && ACount > 0))
        return FALSE;
    std::lock_guard lock(FontLock());
    FontFace& face = FaceOf(*dc);
    RECT clip;
    if (ARect != nullptr) {
        clip = Normalised(dc->ToSurface(*ARect));
        if ((AOptions & ETO_OPAQUE) != 0) {
            HBRUSH bk = CreateSolidBrush(dc->State.BkColor);
            RECT logical = *ARect;
            FillRect(ADC, &logical, bk);
            DeleteObject(bk);
        }
    }
    LineStyle style;
    style.Color = dc->State.TextColor;
    style.Opaque = dc->State.BkMode == OPAQUE && (AOptions & ETO_OPAQUE) == 0;
    style.Background = dc->State.BkColor;
    style.ClipRect = ARect != nullptr && (AOptions & ETO_CLIPPED) != 0 ? &clip : nullptr;
    const LineLayout line = LayoutLine(face, DecodeUtf8(AText, ACount), ADx);
    DrawLine(*dc, face, dc->ToSurface(AX, AY), line, style);
    return TRUE;
}

BOOL TextOut(HDC ADC, int AX, int AY, const char* AText, int ACount)
{
    return ExtTextOut(ADC, AX, AY, 0, nullptr, AText, ACount, nullptr);
}

LONG TabbedTextOut(HDC ADC, int AX, int AY, const char* AText, int ACount, int ATabCount, const int* ATabStops,
                   int ATabOrigin)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr || (AText == nullptr && ACount > 0) || (ATabCount > 0 && ATabStops == nullptr))
        return 0;
    std::lock_guard lock(FontLock());
    FontFace& face = FaceOf(*dc);
    const std::u32string text = DecodeUtf8(AText, ACount);
    std::vector<int> advances;
    const int every = ATabCount == 1 ? ATabStops[0] : (ATabCount == 0 ? 8 * std::max(1, face.AveCharWidth) : 0);
    LineStyle style;
    style.Color = dc->State.TextColor;
    style.Opaque = dc->State.BkMode == OPAQUE;
    style.Background = dc->State.BkColor;
    if (NeedsShaping(text)) {
        // Shaped text takes tabs at multiples of one stop (the first given, or the default), from its start.
        const int stop = every > 0 ? every : std::max(1, std::abs(ATabStops[0]) - (AX - ATabOrigin));
        const LineLayout line = LayoutLine(face, text, nullptr, stop);
        DrawLine(*dc, face, dc->ToSurface(AX, AY), line, style);
        return LONG((uint32_t(face.Height()) << 16) | (uint32_t(line.Width) & 0xFFFF));
    }
    int x = AX;
    for (char32_t c : text) {
        int advance = face.Glyph(c).Advance;
        if (c == U'\t') {
            const int at = x - ATabOrigin;
            int next = at + advance;
            if (every > 0) {
                next = (at / every + 1) * every;
            } else {
                for (int i = 0; i < ATabCount; ++i)
                    if (std::abs(ATabStops[i]) > at) {
                        next = std::abs(ATabStops[i]);
                        break;
                    }
            }
            advance = next - at;
        }
        advances.push_back(advance);
        x += advance;
    }
    const LineLayout line = LayoutLine(face, text, advances.data());
    DrawLine(*dc, face, dc->ToSurface(AX, AY), line, style);
    return LONG((uint32_t(face.Height()) << 16) | (uint32_t(line.Width) & 0xFFFF));
}

} // namespace win
