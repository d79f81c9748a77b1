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
#include "platform/gdi/text.h"

namespace win::detail {

struct GlyphImage {
    int Width = 0;
    int Height = 0;
    int Left = 0;    // from the pen position to the first column
    int Top = 0;     // from the baseline up to the first row
    int Advance = 0; // whole pixels
    std::vector<uint8_t> Coverage;
    std::vector<uint32_t> Colors; // a colour glyph (emoji): premultiplied 0xAARRGGBB, in place of Coverage
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
    void* Shaper = nullptr; // hb_font_t over Face, made on first use
    std::unordered_map<char32_t, GlyphImage> Glyphs;
    std::unordered_map<uint64_t, GlyphImage> ShapedGlyphs; // by face index and glyph id
    std::unordered_map<char32_t, int> FaceIndices; // the face each character was drawn with

    // A face that draws the characters this one lacks, opened at the same size (a colour bitmap face at its
    // nearest strike, its glyphs scaled to the size).
    struct Fallback {
        std::string File;
        void* Face = nullptr; // FT_Face
        void* Shaper = nullptr; // hb_font_t
        bool SynthBold = false;
        bool SynthItalic = false;
        bool Color = false;
        double Scale = 1.0; // from the face's strike to the em size
    };
    std::vector<Fallback> Fallbacks;

    int Height() const { return Ascent + Descent; }
    const GlyphImage& Glyph(char32_t ACode);
    // The font file whose glyph draws ACode: this face's, or a fallback's when this one lacks it and an installed
    // font has it.
    std::string FileFor(char32_t ACode);

    // Faces by index: -1 is this face, 0.. the fallbacks.
    int FaceIndexFor(char32_t ACode);
    bool HasChar(int AFaceIndex, char32_t ACode);
    void* ShaperOf(int AFaceIndex); // hb_font_t
    bool IsColor(int AFaceIndex) const { return AFaceIndex >= 0 && Fallbacks[size_t(AFaceIndex)].Color; }
    double ScaleOf(int AFaceIndex) const { return AFaceIndex < 0 ? 1.0 : Fallbacks[size_t(AFaceIndex)].Scale; }
    const std::string& FileOf(int AFaceIndex) const { return AFaceIndex < 0 ? File : Fallbacks[size_t(AFaceIndex)].File; }
    const GlyphImage& GlyphById(int AFaceIndex, unsigned AGlyph);

private:
    // nullptr: this face itself (which draws its missing-glyph box when no installed font has the character).
    Fallback* FallbackFor(char32_t ACode);
    Fallback* OpenFallback(char32_t ACode, bool AColor);
    GlyphImage LoadGlyph(int AFaceIndex, unsigned AGlyph);
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

// A glyph placed on a shaped line.
struct PlacedGlyph {
    int FaceIndex = -1;
    unsigned Glyph = 0;
    int X = 0; // pen position plus offset, from the start of the line
    int Y = 0; // offset upwards from the baseline
    int Advance = 0;
    int Cluster = 0; // the character of Text its cluster starts at
    bool Hidden = false; // a control character: takes its room, draws nothing
};

// A line of text with the advance of every character (in the text's order). A shaped line also has its glyphs in
// the order they are drawn, and where a caret stands at each character boundary.
struct LineLayout {
    std::u32string Text;
    std::vector<int> Advances;
    int Width = 0;
    bool Shaped = false;
    std::vector<PlacedGlyph> Glyphs;
    std::vector<int> CaretX;             // per boundary 0..size: the caret's x from the start of the line
    std::vector<bool> ClusterBoundary;   // per boundary 0..size: the caret may stand there
};

// ATabWidth > 0: tabs go to the next multiple of it.
LineLayout LayoutLine(FontFace& AFace, const std::u32string& AText, const int* ADx = nullptr, int ATabWidth = 0);
// Whether a text is laid out one glyph per character with no shaping or reordering.
bool NeedsShaping(const std::u32string& AText);
// Fills a line's glyphs, advances and caret stops by shaping it (text_shaper.cpp).
void ShapeLine(FontFace& AFace, LineLayout& ALine, int ATabWidth);

struct LineStyle {
    COLORREF Color = 0;
    bool Opaque = false;     // fill the cell with Background first
    COLORREF Background = 0;
    std::vector<std::pair<int, int>> Underlines; // character ranges [first, last) underlined (the "&" prefix)
    const RECT* ClipRect = nullptr; // surface coordinates
};

void SetLayoutObserver(TextLayoutObserver AObserver);

// Draws a laid-out line with the top-left of its cell at APoint (surface coordinates), turned by the font's
// escapement.
void DrawLine(DC& ADC, FontFace& AFace, POINT APoint, const LineLayout& ALine, const LineStyle& AStyle);

} // namespace win::detail
