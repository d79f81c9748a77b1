#include "platform/gdi/font_engine.h"

#include "platform/rtl/utf8.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <hb-ft.h>
#include <hb.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <strings.h>
#include <tuple>

namespace win::detail {
namespace {

constexpr int kDefaultEm = 11; // what a zero height asks for: the 8-point default of the class library
constexpr const char* kFallbackFamily = "DejaVu Sans";

// Windows face names the Parts use, and the installed faces closest to them.
const char* MappedFamily(const char* AName)
{
    static const std::pair<const char*, const char*> kMap[] = {
        {"", kFallbackFamily},
        {"Default", kFallbackFamily},
        {"MS Sans Serif", kFallbackFamily},
        {"MS Shell Dlg", kFallbackFamily},
        {"MS Shell Dlg 2", kFallbackFamily},
        {"Tahoma", kFallbackFamily},
        {"Verdana", kFallbackFamily},
        {"Segoe UI", kFallbackFamily},
        {"System", kFallbackFamily},
        {"Arial", "Liberation Sans"},
        {"Helvetica", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"},
        {"Times", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},
        {"Courier", "Liberation Mono"},
        {"Lucida Console", "DejaVu Sans Mono"},
    };
    for (const auto& [from, to] : kMap)
        if (strcasecmp(AName, from) == 0)
            return to;
    return AName;
}

std::string FamilyOf(const LOGFONT& AFont)
{
    char name[LF_FACESIZE + 1] = {};
    std::memcpy(name, AFont.lfFaceName, LF_FACESIZE);
    return MappedFamily(name);
}

struct FontSystem {
    FT_Library Library = nullptr;
    FcConfig* Config = nullptr;
    std::map<std::tuple<std::string, LONG, LONG, BYTE, BYTE, BYTE, BYTE, LONG>, std::shared_ptr<FontFace>> Faces;
    FontSystem()
    {
        FT_Init_FreeType(&Library);
        FcInit();
        Config = FcConfigGetCurrent();
    }
};

FontSystem& Fonts()
{
    static auto* fonts = new FontSystem; // kept to the end: faces may be in use during static destruction
    return *fonts;
}

struct Match {
    std::string File;
    int Index = 0;
    int Weight = FC_WEIGHT_REGULAR;
    int Slant = FC_SLANT_ROMAN;
};

// What is asked of fontconfig for a logical font; the caller destroys it.
FcPattern* FontPattern(const char* AFamily, LONG AWeight, bool AItalic)
{
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(AFamily));
    const LONG weight = AWeight == FW_DONTCARE ? FW_NORMAL : std::clamp<LONG>(AWeight, 1, 1000);
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(int(weight)));
    FcPatternAddInteger(pattern, FC_SLANT, AItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    return pattern;
}

// Where a face was found, with the weight and slant it really has.
Match MatchOf(FcPattern* AFound)
{
    Match m;
    FcChar8* file = nullptr;
    if (FcPatternGetString(AFound, FC_FILE, 0, &file) == FcResultMatch)
        m.File = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(AFound, FC_INDEX, 0, &m.Index);
    FcPatternGetInteger(AFound, FC_WEIGHT, 0, &m.Weight);
    FcPatternGetInteger(AFound, FC_SLANT, 0, &m.Slant);
    return m;
}

Match MatchFont(const char* AFamily, LONG AWeight, bool AItalic)
{
    FontSystem& fonts = Fonts();
    Match m;
    FcPattern* pattern = FontPattern(AFamily, AWeight, AItalic);
    FcConfigSubstitute(fonts.Config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* found = FcFontMatch(fonts.Config, pattern, &result);
    if (found != nullptr) {
        m = MatchOf(found);
        FcPatternDestroy(found);
    }
    FcPatternDestroy(pattern);
    return m;
}

// The installed font closest to the family that has ACode, in fontconfig's order of preference for that family;
// AColor: only colour fonts.
Match MatchFallback(const char* AFamily, LONG AWeight, bool AItalic, char32_t ACode, bool AColor = false)
{
    FontSystem& fonts = Fonts();
    Match m;
    FcPattern* pattern = FontPattern(AFamily, AWeight, AItalic);
    FcCharSet* wanted = FcCharSetCreate();
    FcCharSetAddChar(wanted, FcChar32(ACode));
    FcPatternAddCharSet(pattern, FC_CHARSET, wanted);
    FcCharSetDestroy(wanted);
    FcConfigSubstitute(fonts.Config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcFontSet* sorted = FcFontSort(fonts.Config, pattern, FcFalse, nullptr, &result);
    for (int i = 0; sorted != nullptr && i < sorted->nfont; ++i) {
        FcPattern* font = sorted->fonts[i];
        FcCharSet* has = nullptr;
        FcBool scalable = FcFalse;
        if (FcPatternGetCharSet(font, FC_CHARSET, 0, &has) != FcResultMatch || !FcCharSetHasChar(has, FcChar32(ACode)))
            continue;
        if (FcPatternGetBool(font, FC_SCALABLE, 0, &scalable) == FcResultMatch && !scalable)
            continue;
        FcBool color = FcFalse;
        if (AColor && (FcPatternGetBool(font, FC_COLOR, 0, &color) != FcResultMatch || !color))
            continue;
        m = MatchOf(font);
        if (!m.File.empty())
            break;
    }
    if (sorted != nullptr)
        FcFontSetDestroy(sorted);
    FcPatternDestroy(pattern);
    return m;
}

int RoundDiv(long long ANum, long long ADen) { return int((2 * ANum + ADen) / (2 * ADen)); }

// Sizes and metrics the way Windows derives them: the cell is the font's Windows ascent plus descent.
void SetMetrics(FontFace& AFace, FT_Face AFt)
{
    const long long upem = AFt->units_per_EM > 0 ? AFt->units_per_EM : 2048;
    long long ascent = AFt->ascender, descent = -AFt->descender, lineGap = 0;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(AFt, FT_SFNT_OS2)); os2 != nullptr && os2->version != 0xFFFF) {
        if (os2->usWinAscent + os2->usWinDescent > 0) {
            ascent = os2->usWinAscent;
            descent = os2->usWinDescent;
        }
        if (auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(AFt, FT_SFNT_HHEA)); hhea != nullptr)
            lineGap = std::max<long long>(0, hhea->Line_Gap + hhea->Ascender - hhea->Descender - ascent - descent);
    }
    const LONG h = AFace.Log.lfHeight;
    int em = kDefaultEm;
    if (h < 0)
        em = h < -2048 ? 2048 : int(-h);
    else if (h > 0)
        em = std::min<long long>(2048, std::max(1, RoundDiv(std::min<long long>(h, 1 << 20) * upem, ascent + descent)));
    AFace.PixelSize = em;
    FT_Set_Pixel_Sizes(AFt, 0, FT_UInt(em));
    AFace.Ascent = RoundDiv(ascent * em, upem);
    AFace.Descent = RoundDiv(descent * em, upem);
    if (h > 0 && AFace.Ascent + AFace.Descent != h)
        AFace.Descent = std::max(0, int(h) - AFace.Ascent); // a cell height asked for is a cell height given
    AFace.ExternalLeading = RoundDiv(lineGap * em, upem);
    AFace.MaxCharWidth = int((AFt->size->metrics.max_advance + 63) >> 6);
    AFace.UnderlineThickness = std::max(1, RoundDiv(AFt->underline_thickness * em, upem));
    AFace.UnderlinePosition = std::max(1, RoundDiv(-AFt->underline_position * em, upem));
    AFace.StrikePosition = std::max(1, AFace.Ascent / 3);
}

} // namespace

FontFace::~FontFace()
{
    for (Fallback& f : Fallbacks) {
        hb_font_destroy(static_cast<hb_font_t*>(f.Shaper));
        FT_Done_Face(static_cast<FT_Face>(f.Face));
    }
    hb_font_destroy(static_cast<hb_font_t*>(Shaper));
    if (Face != nullptr)
        FT_Done_Face(static_cast<FT_Face>(Face));
}

namespace {

// Pictographs that are shown as colour emoji by default (their own emoji presentation), where a colour font has them.
bool PrefersColor(char32_t ACode)
{
    return (ACode >= 0x1F300 && ACode <= 0x1F64F) || (ACode >= 0x1F680 && ACode <= 0x1F6FF) ||
           (ACode >= 0x1F900 && ACode <= 0x1FAFF) || (ACode >= 0x1F1E6 && ACode <= 0x1F1FF);
}

} // namespace

FontFace::Fallback* FontFace::FallbackFor(char32_t ACode)
{
    auto own = static_cast<FT_Face>(Face);
    if (own == nullptr || ACode < 0x20)
        return nullptr;
    const bool color = PrefersColor(ACode);
    if (color) {
        for (Fallback& f : Fallbacks)
            if (f.Color && FT_Get_Char_Index(static_cast<FT_Face>(f.Face), ACode) != 0)
                return &f;
        if (Fallback* f = OpenFallback(ACode, true))
            return f;
    }
    if (FT_Get_Char_Index(own, ACode) != 0)
        return nullptr;
    // A face already opened for an earlier character of the same script most often has this one too.
    for (Fallback& f : Fallbacks)
        if (FT_Get_Char_Index(static_cast<FT_Face>(f.Face), ACode) != 0)
            return &f;
    return OpenFallback(ACode, false);
}

FontFace::Fallback* FontFace::OpenFallback(char32_t ACode, bool AColor)
{
    Match m = MatchFallback(FamilyOf(Log).c_str(), Log.lfWeight, Log.lfItalic != 0, ACode, AColor);
    if (m.File.empty())
        return nullptr;
    FT_Face ft = nullptr;
    if (FT_New_Face(Fonts().Library, m.File.c_str(), m.Index, &ft) != 0)
        return nullptr;
    double scale = 1.0;
    if (!FT_IS_SCALABLE(ft) && ft->num_fixed_sizes > 0) {
        // A bitmap face (colour emoji): the smallest strike at least as big as the em, else the biggest, scaled.
        int best = 0;
        for (int i = 1; i < ft->num_fixed_sizes; ++i) {
            const FT_Pos have = ft->available_sizes[best].y_ppem, next = ft->available_sizes[i].y_ppem;
            const FT_Pos want = FT_Pos(PixelSize) * 64;
            if ((have < want && next > have) || (next >= want && next < have))
                best = i;
        }
        FT_Select_Size(ft, best);
        scale = PixelSize / (ft->available_sizes[best].y_ppem / 64.0);
    } else {
        FT_Set_Pixel_Sizes(ft, 0, FT_UInt(PixelSize));
    }
    if (FT_Get_Char_Index(ft, ACode) == 0) {
        FT_Done_Face(ft);
        return nullptr;
    }
    Fallbacks.push_back({m.File, ft, nullptr, Log.lfWeight >= FW_SEMIBOLD && m.Weight < FC_WEIGHT_DEMIBOLD,
                         Log.lfItalic != 0 && m.Slant == FC_SLANT_ROMAN, FT_HAS_COLOR(ft), scale});
    return &Fallbacks.back();
}

std::string FontFace::FileFor(char32_t ACode)
{
    std::lock_guard lock(FontLock());
    return FileOf(FaceIndexFor(ACode));
}

std::recursive_mutex& FontLock()
{
    static auto* lock = new std::recursive_mutex;
    return *lock;
}

int FontFace::FaceIndexFor(char32_t ACode)
{
    if (auto it = FaceIndices.find(ACode); it != FaceIndices.end())
        return it->second;
    const Fallback* f = FallbackFor(ACode);
    return FaceIndices[ACode] = f == nullptr ? -1 : int(f - Fallbacks.data());
}

bool FontFace::HasChar(int AFaceIndex, char32_t ACode)
{
    void* face = AFaceIndex < 0 ? Face : Fallbacks[size_t(AFaceIndex)].Face;
    return face != nullptr && FT_Get_Char_Index(static_cast<FT_Face>(face), ACode) != 0;
}

void* FontFace::ShaperOf(int AFaceIndex)
{
    void*& shaper = AFaceIndex < 0 ? Shaper : Fallbacks[size_t(AFaceIndex)].Shaper;
    if (shaper == nullptr) {
        void* face = AFaceIndex < 0 ? Face : Fallbacks[size_t(AFaceIndex)].Face;
        if (face == nullptr)
            return hb_font_get_empty();
        hb_font_t* font = hb_ft_font_create_referenced(static_cast<FT_Face>(face));
        // Advances as the glyphs are drawn: hinted, or from the colour strike.
        const bool color = AFaceIndex >= 0 && Fallbacks[size_t(AFaceIndex)].Color;
        hb_ft_font_set_load_flags(font, color ? FT_LOAD_COLOR : FT_LOAD_DEFAULT | (Mono ? FT_LOAD_TARGET_MONO : 0));
        shaper = font;
    }
    return shaper;
}

const GlyphImage& FontFace::Glyph(char32_t ACode)
{
    auto it = Glyphs.find(ACode);
    if (it != Glyphs.end())
        return it->second;
    GlyphImage& g = Glyphs[ACode];
    if (Face == nullptr)
        return g;
    // Control characters take no room; a tab is as wide as a space where it is not expanded.
    if (ACode < 0x20) {
        if (ACode == U'\t')
            g.Advance = Glyph(U' ').Advance;
        return g;
    }
    const int index = FaceIndexFor(ACode);
    void* face = index < 0 ? Face : Fallbacks[size_t(index)].Face;
    g = LoadGlyph(index, FT_Get_Char_Index(static_cast<FT_Face>(face), ACode));
    return g;
}

const GlyphImage& FontFace::GlyphById(int AFaceIndex, unsigned AGlyph)
{
    const uint64_t key = (uint64_t(uint32_t(AFaceIndex + 1)) << 32) | AGlyph;
    auto it = ShapedGlyphs.find(key);
    if (it != ShapedGlyphs.end())
        return it->second;
    return ShapedGlyphs[key] = LoadGlyph(AFaceIndex, AGlyph);
}

namespace {

// A colour bitmap (premultiplied BGRA) scaled by box filtering.
void ScaleColorBitmap(const FT_Bitmap& ABitmap, double AScale, GlyphImage& AOut)
{
    const int w = int(ABitmap.width), h = int(ABitmap.rows);
    AOut.Width = std::max(1, int(std::lround(w * AScale)));
    AOut.Height = std::max(1, int(std::lround(h * AScale)));
    AOut.Colors.assign(size_t(AOut.Width) * size_t(AOut.Height), 0);
    for (int y = 0; y < AOut.Height; ++y) {
        const int y0 = y * h / AOut.Height, y1 = std::max(y0 + 1, (y + 1) * h / AOut.Height);
        for (int x = 0; x < AOut.Width; ++x) {
            const int x0 = x * w / AOut.Width, x1 = std::max(x0 + 1, (x + 1) * w / AOut.Width);
            unsigned sum[4] = {0, 0, 0, 0};
            for (int sy = y0; sy < y1; ++sy) {
                const unsigned char* row = ABitmap.buffer + ptrdiff_t(sy) * ABitmap.pitch;
                for (int sx = x0; sx < x1; ++sx)
                    for (int k = 0; k < 4; ++k)
                        sum[k] += row[sx * 4 + k];
            }
            const unsigned area = unsigned((y1 - y0) * (x1 - x0));
            uint32_t pixel = 0;
            for (int k = 0; k < 4; ++k)
                pixel |= ((sum[k] + area / 2) / area) << (8 * k); // B, G, R, A
            AOut.Colors[size_t(y) * size_t(AOut.Width) + size_t(x)] = pixel;
        }
    }
}

} // namespace

GlyphImage FontFace::LoadGlyph(int AFaceIndex, unsigned AGlyph)
{
    GlyphImage g;
    auto ft = static_cast<FT_Face>(Face);
    bool bold = SynthBold, italic = SynthItalic, color = false;
    double scale = 1.0;
    if (AFaceIndex >= 0) {
        const Fallback& f = Fallbacks[size_t(AFaceIndex)];
        ft = static_cast<FT_Face>(f.Face);
        bold = f.SynthBold;
        italic = f.SynthItalic;
        color = f.Color;
        scale = f.Scale;
    }
    if (ft == nullptr)
        return g;
    FT_Int32 flags = color ? FT_LOAD_COLOR : FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP;
    if (Mono && !color)
        flags |= FT_LOAD_TARGET_MONO;
    if (FT_Load_Glyph(ft, AGlyph, flags) != 0)
        return g;
    FT_GlyphSlot slot = ft->glyph;
    if (bold)
        FT_GlyphSlot_Embolden(slot);
    if (italic)
        FT_GlyphSlot_Oblique(slot);
    g.Advance = int(std::lround(slot->advance.x * scale / 64.0));
    if (FT_Render_Glyph(slot, Mono && !color ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0)
        return g;
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.pixel_mode == FT_PIXEL_MODE_BGRA) {
        ScaleColorBitmap(bm, scale, g);
        g.Left = int(std::lround(slot->bitmap_left * scale));
        g.Top = int(std::lround(slot->bitmap_top * scale));
        return g;
    }
    g.Width = int(bm.width);
    g.Height = int(bm.rows);
    g.Left = slot->bitmap_left;
    g.Top = slot->bitmap_top;
    g.Coverage.assign(size_t(g.Width) * size_t(g.Height), 0);
    for (int y = 0; y < g.Height; ++y) {
        const unsigned char* row = bm.buffer + ptrdiff_t(y) * bm.pitch;
        for (int x = 0; x < g.Width; ++x) {
            const bool mono = bm.pixel_mode == FT_PIXEL_MODE_MONO;
            g.Coverage[size_t(y) * size_t(g.Width) + size_t(x)] =
                mono ? ((row[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0) : row[x];
        }
    }
    return g;
}

std::shared_ptr<FontFace> ResolveFace(const LOGFONT& AFont)
{
    std::lock_guard lock(FontLock());
    FontSystem& fonts = Fonts();
    const std::string family = FamilyOf(AFont);
    const bool italic = AFont.lfItalic != 0;
    const bool mono = AFont.lfQuality == NONANTIALIASED_QUALITY;
    auto key = std::make_tuple(family, AFont.lfHeight, AFont.lfWeight, BYTE(italic), AFont.lfUnderline,
                               AFont.lfStrikeOut, BYTE(mono), AFont.lfEscapement);
    if (auto it = fonts.Faces.find(key); it != fonts.Faces.end())
        return it->second;

    Match m = MatchFont(family.c_str(), AFont.lfWeight, italic);
    FT_Face ft = nullptr;
    if (m.File.empty() || FT_New_Face(fonts.Library, m.File.c_str(), m.Index, &ft) != 0) {
        m = MatchFont(kFallbackFamily, AFont.lfWeight, italic);
        if (m.File.empty() || FT_New_Face(fonts.Library, m.File.c_str(), m.Index, &ft) != 0)
            ft = nullptr;
    }
    auto face = std::make_shared<FontFace>();
    face->Log = AFont;
    face->File = m.File;
    face->Face = ft;
    face->Mono = mono;
    face->SynthBold = AFont.lfWeight >= FW_SEMIBOLD && m.Weight < FC_WEIGHT_DEMIBOLD;
    face->SynthItalic = italic && m.Slant == FC_SLANT_ROMAN;
    if (ft != nullptr) {
        SetMetrics(*face, ft);
        face->AveCharWidth = face->Glyph(U'x').Advance;
    }
    fonts.Faces.emplace(key, face);
    return face;
}

FontFace& FaceOf(DC& ADC)
{
    Font* font = ADC.State.SelectedFont;
    std::lock_guard lock(FontLock());
    if (!font->Face)
        font->Face = ResolveFace(font->Log);
    return *font->Face;
}

std::string_view TextView(const char* AText, int ACount)
{
    if (AText == nullptr)
        return {};
    return {AText, ACount < 0 ? std::strlen(AText) : size_t(ACount)};
}

std::u32string DecodeUtf8(const char* AText, int ACount) { return Utf8ToUtf32(TextView(AText, ACount)); }

LineLayout LayoutLine(FontFace& AFace, const std::u32string& AText, const int* ADx, int ATabWidth)
{
    std::lock_guard lock(FontLock());
    LineLayout line;
    line.Text = AText;
    if (ADx == nullptr && NeedsShaping(AText)) {
        ShapeLine(AFace, line, ATabWidth);
        return line;
    }
    line.Advances.reserve(AText.size());
    for (size_t i = 0; i < AText.size(); ++i) {
        int advance = ADx != nullptr ? ADx[i] : AFace.Glyph(AText[i]).Advance;
        if (ADx == nullptr && AText[i] == U'\t' && ATabWidth > 0)
            advance = (line.Width / ATabWidth + 1) * ATabWidth - line.Width;
        line.Advances.push_back(advance);
        line.Width += advance;
    }
    return line;
}

namespace {

TextLayoutObserver& Observer()
{
    static auto* observer = new TextLayoutObserver;
    return *observer;
}

// Where a line's glyphs go, in the order they are drawn: the shaped glyphs, or one per character.
struct GlyphSpot {
    const GlyphImage* Image;
    int X; // pen position
    int Y; // offset upwards
};

std::vector<GlyphSpot> GlyphSpots(FontFace& AFace, const LineLayout& ALine)
{
    std::vector<GlyphSpot> spots;
    if (ALine.Shaped) {
        spots.reserve(ALine.Glyphs.size());
        for (const PlacedGlyph& g : ALine.Glyphs)
            if (!g.Hidden)
                spots.push_back({&AFace.GlyphById(g.FaceIndex, g.Glyph), g.X, g.Y});
        return spots;
    }
    spots.reserve(ALine.Text.size());
    int pen = 0;
    for (size_t i = 0; i < ALine.Text.size(); ++i) {
        spots.push_back({&AFace.Glyph(ALine.Text[i]), pen, 0});
        pen += ALine.Advances[i];
    }
    return spots;
}

void Report(FontFace& AFace, POINT AOrigin, const LineLayout& ALine)
{
    LaidOutLine out;
    out.Text = ALine.Text;
    out.Origin = AOrigin;
    out.Width = ALine.Width;
    if (ALine.Shaped) {
        for (const PlacedGlyph& g : ALine.Glyphs)
            out.Glyphs.push_back({AFace.FileOf(g.FaceIndex), g.Glyph, g.X, g.Y, g.Advance, g.Cluster,
                                  !AFace.GlyphById(g.FaceIndex, g.Glyph).Colors.empty()});
    } else {
        int pen = 0;
        for (size_t i = 0; i < ALine.Text.size(); ++i) {
            const int index = AFace.FaceIndexFor(ALine.Text[i]);
            void* face = index < 0 ? AFace.Face : AFace.Fallbacks[size_t(index)].Face;
            const unsigned id = face == nullptr ? 0 : FT_Get_Char_Index(static_cast<FT_Face>(face), ALine.Text[i]);
            out.Glyphs.push_back({AFace.FileOf(index), id, pen, 0, ALine.Advances[i], int(i), false});
            pen += ALine.Advances[i];
        }
    }
    Observer()(out);
}

} // namespace

void SetLayoutObserver(TextLayoutObserver AObserver)
{
    std::lock_guard lock(FontLock());
    Observer() = std::move(AObserver);
}

namespace {

// The line as coverage: columns from MinX (may be negative: glyphs reach left of their pen) and rows from the top
// of the cell.
struct CoverageMask {
    int MinX = 0;
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Values;
    uint8_t& At(int x, int y) { return Values[size_t(y) * size_t(Width) + size_t(x - MinX)]; }
    void Bar(int x0, int x1, int y0, int thickness)
    {
        for (int y = std::max(0, y0); y < std::min(Height, y0 + thickness); ++y)
            for (int x = std::max(MinX, x0); x < std::min(MinX + Width, x1); ++x)
                At(x, y) = 255;
    }
};

CoverageMask RenderMask(FontFace& AFace, const LineLayout& ALine, const std::vector<GlyphSpot>& ASpots,
                        const LineStyle& AStyle)
{
    CoverageMask mask;
    mask.Height = AFace.Height();
    int minX = 0, maxX = ALine.Width;
    for (const GlyphSpot& spot : ASpots) {
        const GlyphImage& g = *spot.Image;
        if (g.Width > 0 && g.Colors.empty()) {
            minX = std::min(minX, spot.X + g.Left);
            maxX = std::max(maxX, spot.X + g.Left + g.Width);
        }
    }
    mask.MinX = minX;
    mask.Width = maxX - minX;
    if (mask.Width <= 0 || mask.Height <= 0)
        return mask;
    mask.Values.assign(size_t(mask.Width) * size_t(mask.Height), 0);
    for (const GlyphSpot& spot : ASpots) {
        const GlyphImage& g = *spot.Image;
        if (!g.Colors.empty())
            continue;
        for (int y = 0; y < g.Height; ++y) {
            const int row = AFace.Ascent - g.Top - spot.Y + y;
            if (row < 0 || row >= mask.Height)
                continue;
            for (int x = 0; x < g.Width; ++x) {
                uint8_t& v = mask.At(spot.X + g.Left + x, row);
                v = std::max(v, g.Coverage[size_t(y) * size_t(g.Width) + size_t(x)]);
            }
        }
    }
    const int underlineRow = AFace.Ascent + AFace.UnderlinePosition - AFace.UnderlineThickness / 2;
    if (AFace.Log.lfUnderline != 0)
        mask.Bar(0, ALine.Width, underlineRow, AFace.UnderlineThickness);
    if (AFace.Log.lfStrikeOut != 0)
        mask.Bar(0, ALine.Width, AFace.Ascent - AFace.StrikePosition, AFace.UnderlineThickness);
    for (const auto& [first, last] : AStyle.Underlines) {
        if (ALine.Shaped) {
            const int a = ALine.CaretX[size_t(std::clamp(first, 0, int(ALine.Text.size())))];
            const int b = ALine.CaretX[size_t(std::clamp(last, 0, int(ALine.Text.size())))];
            mask.Bar(std::min(a, b), std::max(a, b), underlineRow, AFace.UnderlineThickness);
            continue;
        }
        int x0 = 0;
        for (int i = 0; i < first && i < int(ALine.Advances.size()); ++i)
            x0 += ALine.Advances[size_t(i)];
        int x1 = x0;
        for (int i = first; i < last && i < int(ALine.Advances.size()); ++i)
            x1 += ALine.Advances[size_t(i)];
        mask.Bar(x0, x1, underlineRow, AFace.UnderlineThickness);
    }
    return mask;
}

// Line coordinates (u along the text, v down the cell) to surface coordinates for the four right angles.
struct Orientation {
    int Quadrant = 0; // escapement / 900
    POINT Map(POINT AOrigin, int u, int v) const
    {
        switch (Quadrant) {
        case 1:
            return {AOrigin.X + v, AOrigin.Y - u};
        case 2:
            return {AOrigin.X - u, AOrigin.Y - v};
        case 3:
            return {AOrigin.X - v, AOrigin.Y + u};
        default:
            return {AOrigin.X + u, AOrigin.Y + v};
        }
    }
};

uint32_t Blend(uint32_t ADest, uint32_t AColor, unsigned ACoverage)
{
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const unsigned d = (ADest >> shift) & 0xFF, c = (AColor >> shift) & 0xFF;
        out |= ((c * ACoverage + d * (255 - ACoverage) + 127) / 255) << shift;
    }
    return out; // GDI text leaves alpha 0 behind
}

// A premultiplied colour over a pixel; what is drawn keeps alpha 0 as all text does.
uint32_t Over(uint32_t ADest, uint32_t ASource)
{
    const unsigned alpha = ASource >> 24;
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const unsigned d = (ADest >> shift) & 0xFF, c = (ASource >> shift) & 0xFF;
        out |= std::min(255u, c + (d * (255 - alpha) + 127) / 255) << shift;
    }
    return out;
}

} // namespace

void DrawLine(DC& ADC, FontFace& AFace, POINT APoint, const LineLayout& ALine, const LineStyle& AStyle)
{
    std::lock_guard lock(FontLock());
    const Surface& s = ADC.Target();
    pixman_region32_t clip;
    pixman_region32_init(&clip);
    pixman_region32_copy(&clip, const_cast<pixman_region32_t*>(&ADC.SurfaceClip()));
    if (AStyle.ClipRect != nullptr) {
        const RECT& r = *AStyle.ClipRect;
        pixman_region32_intersect_rect(&clip, &clip, r.Left, r.Top, unsigned(std::max(0, r.Width())),
                                       unsigned(std::max(0, r.Height())));
    }
    const Orientation turn{int(((AFace.Log.lfEscapement % 3600 + 3600) % 3600 + 450) / 900) % 4};
    const uint32_t color = PixelOf(AStyle.Color);
    auto inside = [&](POINT p) { return pixman_region32_contains_point(&clip, p.X, p.Y, nullptr) != 0; };
    if (AStyle.Opaque) {
        const uint32_t bk = PixelOf(AStyle.Background);
        for (int v = 0; v < AFace.Height(); ++v)
            for (int u = 0; u < ALine.Width; ++u)
                if (POINT p = turn.Map(APoint, u, v); inside(p))
                    s.Put(p.X, p.Y, bk);
    }
    if (Observer())
        Report(AFace, APoint, ALine);
    const std::vector<GlyphSpot> spots = GlyphSpots(AFace, ALine);
    CoverageMask mask = RenderMask(AFace, ALine, spots, AStyle);
    const pixman_box32_t* extents = pixman_region32_extents(&clip);
    for (int v = 0; v < mask.Height; ++v)
        for (int u = mask.MinX; u < mask.MinX + mask.Width; ++u) {
            const unsigned coverage = mask.At(u, v);
            if (coverage == 0)
                continue;
            const POINT p = turn.Map(APoint, u, v);
            if (p.X < extents->x1 || p.X >= extents->x2 || p.Y < extents->y1 || p.Y >= extents->y2 || !inside(p))
                continue;
            s.Put(p.X, p.Y, coverage == 255 ? color : Blend(s.Get(p.X, p.Y), color, coverage));
        }
    // Colour glyphs over the rest, in their own colours.
    for (const GlyphSpot& spot : spots) {
        const GlyphImage& g = *spot.Image;
        for (int y = 0; y < g.Height && !g.Colors.empty(); ++y)
            for (int x = 0; x < g.Width; ++x) {
                const uint32_t src = g.Colors[size_t(y) * size_t(g.Width) + size_t(x)];
                const unsigned alpha = src >> 24;
                if (alpha == 0)
                    continue;
                const POINT p = turn.Map(APoint, spot.X + g.Left + x, AFace.Ascent - g.Top - spot.Y + y);
                if (!inside(p))
                    continue;
                s.Put(p.X, p.Y, Over(s.Get(p.X, p.Y), src));
            }
    }
    pixman_region32_fini(&clip);
}

} // namespace win::detail

#if defined(__SANITIZE_ADDRESS__)
// fontconfig 2.14 loses a few blocks while parsing its configuration files; that is not ours to fix, and every
// program that draws text would otherwise fail its leak check.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
#endif
