#pragma once
// Fonts and text. Fonts are matched through fontconfig: the usual Windows face names map to installed DejaVu and
// Liberation faces; unknown names fall back to DejaVu Sans. A character the face lacks is drawn with the installed
// font that has it. Text is UTF-8; ACount is in bytes, -1 = up to the NUL.
// Glyphs are antialiased; on a 32-bit surface every pixel text touches gets alpha 0.
#include <functional>
#include <string>
#include <vector>

#include "platform/gdi/gdi_types.h"

namespace win {

HFONT CreateFontIndirect(const LOGFONT* AFont);
HFONT CreateFont(int AHeight, int AWidth, int AEscapement, int AOrientation, int AWeight, DWORD AItalic,
                 DWORD AUnderline, DWORD AStrikeOut, DWORD ACharSet, DWORD AOutPrecision, DWORD AClipPrecision,
                 DWORD AQuality, DWORD APitchAndFamily, const char* AFaceName);
// The font file fontconfig picked for a logical font (for tests and diagnostics).
std::string FontFileOf(HFONT AFont);
// The font file that draws ACode: the font's own, or the installed font fontconfig prefers for a character the
// font lacks (Japanese, Chinese or Arabic in a Latin face, say).
std::string FontFileFor(HFONT AFont, char32_t ACode);

// Text is shaped (joined, with ligatures and marks placed) and put in reading order with mixed directions, the line
// reading left to right; text in the first scripts only (below U+0300) is drawn one glyph per character.

// What the text layer laid out for a line it draws, glyphs in the order they are drawn (for tests and diagnostics).
struct LaidOutGlyph {
    std::string FontFile;
    unsigned GlyphId = 0;
    int X = 0; // from the start of the line
    int Y = 0; // offset upwards
    int Advance = 0;
    int Cluster = 0; // the character (code point) of the line's text its cluster starts at
    bool Color = false;
};
struct LaidOutLine {
    std::u32string Text;
    POINT Origin; // surface coordinates of the line's top-left
    int Width = 0;
    std::vector<LaidOutGlyph> Glyphs;
};
using TextLayoutObserver = std::function<void(const LaidOutLine&)>;
// Called for every line of text drawn, until replaced (an empty function: no longer).
void SetTextLayoutObserver(TextLayoutObserver AObserver);

// Where a caret can stand in a line of text: every cluster boundary in the text's order, from 0 to the text's size.
struct TextCaretStop {
    size_t Byte = 0;
    int Extent = 0; // the advance of the text before the boundary, in the text's order
    int X = 0;      // the caret's x from the start of the drawn line
};
std::vector<TextCaretStop> GetTextCaretStops(HDC ADC, const char* AText, int ACount);

BOOL GetTextMetrics(HDC ADC, TEXTMETRIC* AMetrics);
BOOL GetTextExtentPoint32(HDC ADC, const char* AText, int ACount, SIZE* ASize);
BOOL GetTextExtentPoint(HDC ADC, const char* AText, int ACount, SIZE* ASize);
// Extents per character, for caret placement and hit testing. ACount is in bytes as everywhere, but characters are
// UTF-8 characters (code points): ADx (optional) receives, for each character, the width of the text up to and
// including it, so it needs room for one int per character; AFit (optional) receives how many characters fit in
// AMaxExtent pixels. ASize is the extent of the whole text.
BOOL GetTextExtentExPoint(HDC ADC, const char* AText, int ACount, int AMaxExtent, int* AFit, int* ADx, SIZE* ASize);

// The reference point is the top-left of the text cell; the current position is not used or moved.
BOOL TextOut(HDC ADC, int AX, int AY, const char* AText, int ACount);
// ETO_OPAQUE fills ARect with the background colour first; ETO_CLIPPED clips to ARect. ADx (optional) gives the
// advance of every character (one per code point).
BOOL ExtTextOut(HDC ADC, int AX, int AY, UINT AOptions, const RECT* ARect, const char* AText, int ACount,
                const int* ADx);
// Tabs go to the next of the given stops (relative to ATabOrigin), or to multiples of the one stop given, or of
// eight average character widths when none is given. Returns height << 16 | width.
LONG TabbedTextOut(HDC ADC, int AX, int AY, const char* AText, int ACount, int ATabCount, const int* ATabStops,
                   int ATabOrigin);

// Lays out and draws text in a rectangle. Lines break at CR, LF, CR LF and LF CR (unless DT_SINGLELINE) and, with
// DT_WORDBREAK, between words. Without DT_NOPREFIX "&x" underlines x and "&&" is "&". DT_VCENTER and DT_BOTTOM apply
// to single lines. Returns the height of the text (from the top of ARect to the bottom of the text for DT_VCENTER
// and DT_BOTTOM), 0 for no text. DT_CALCRECT only measures: it sets ARect's right and bottom.
int DrawText(HDC ADC, const char* AText, int ACount, RECT* ARect, UINT AFormat);
// DrawText with margins inside the rectangle and a tab length (in average character widths); AParams may be nullptr.
// uiLengthDrawn receives the bytes of text processed.
int DrawTextEx(HDC ADC, const char* AText, int ACount, RECT* ARect, UINT AFormat, DRAWTEXTPARAMS* AParams);
inline int DrawText(HDC ADC, const std::string& AText, RECT* ARect, UINT AFormat)
{
    return DrawText(ADC, AText.c_str(), int(AText.size()), ARect, AFormat);
}

} // namespace win
