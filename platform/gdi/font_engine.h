#pragma once
// Logical fonts resolved to FreeType faces through fontconfig, glyph coverage cached per face, and lines of text
// laid out and drawn as a coverage mask (so that any rotation and any clip are handled in one place).
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/gdi/dc_internal.h"
#include "platform/gdi/gdi_types.h"

namespace win::detail {

struct GlyphImage {
    int Width = 0;
    int Height = 0;
    int Left = 0;    // from the pen position to the first column
    int Top = 0;     // from the baseline up to the first row
    int Advance = 0; // whole pixels
    std::vector<uint8_t> Coverage;
};

struct FontFace {
    ~FontFace();
    std::string File;
    int PixelSize = 0; // em height
    LOGFONT Log;
    int Ascent = 0;
    int Descent = 0;
    int ExternalLeading = 0;
    int AveCharWidth = 0;
    int MaxCharWidth = 0;
    int UnderlinePosition = 0; // rows below the baseline
    int UnderlineThickness = 1;
    int StrikePosition = 0; // rows above the baseline
    bool SynthBold = false;
    bool SynthItalic = false;
    bool Mono = false;
    void* Face = nullptr; // FT_Face
    std::unordered_map<char32_t, GlyphImage> Glyphs;

    // A face that draws the characters this one lacks, opened at the same size.
    struct Fallback {
        std::string File;
        void* Face = nullptr; // FT_Face
        bool SynthBold = false;
        bool SynthItalic = false;
    };
    std::vector<Fallback> Fallbacks;

    int Height() const { return Ascent + Descent; }
    const GlyphImage& Glyph(char32_t ACode);
    // The font file whose glyph draws ACode: this face's, or a fallback's when this one lacks it and an installed
    // font has it.
    std::string FileFor(char32_t ACode);

private:
    // nullptr: this face itself (which draws its missing-glyph box when no installed font has the character).
    Fallback* FallbackFor(char32_t ACode);
};

// Every use of a face happens under this lock: FreeType faces are not thread-safe.
std::recursive_mutex& FontLock();

// The face for a logical font; never nullptr (an unusable request falls back to the default face).
std::shared_ptr<FontFace> ResolveFace(const LOGFONT& AFont);
// The face of the font selected into a DC.
FontFace& FaceOf(DC& ADC);

// A text argument (ACount < 0: up to the terminating nul) as a view and as code points.
std::string_view TextView(const char* AText, int ACount);
std::u32string DecodeUtf8(const char* AText, int ACount);

// A line of text with the advance of every character.
struct LineLayout {
    std::u32string Text;
    std::vector<int> Advances;
    int Width = 0;
};

LineLayout LayoutLine(FontFace& AFace, const std::u32string& AText, const int* ADx = nullptr);

struct LineStyle {
    COLORREF Color = 0;
    bool Opaque = false;     // fill the cell with Background first
    COLORREF Background = 0;
    std::vector<std::pair<int, int>> Underlines; // character ranges [first, last) underlined (the "&" prefix)
    const RECT* ClipRect = nullptr; // surface coordinates
};

// Draws a laid-out line with the top-left of its cell at APoint (surface coordinates), turned by the font's
// escapement.
void DrawLine(DC& ADC, FontFace& AFace, POINT APoint, const LineLayout& ALine, const LineStyle& AStyle);

} // namespace win::detail
