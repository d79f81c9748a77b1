// Shaping a line: the Unicode bidirectional algorithm gives every character its embedding level, the line is cut
// into runs of one level, one script and one face, HarfBuzz shapes each run, and the runs are put in the order they
// are seen. Advances, caret positions and glyph positions all come from the same shaped runs.
#include "platform/gdi/font_engine.h"

#include <fribidi.h>
#include <hb-ft.h>
#include <hb.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace win::detail {

bool NeedsShaping(const std::u32string& AText)
{
    // Below the combining diacritical marks every character is one glyph of its own, drawn left to right.
    return std::any_of(AText.begin(), AText.end(), [](char32_t c) { return c >= 0x0300; });
}

namespace {

// Characters that belong with the character before them: marks, joiners, variation selectors, emoji modifiers and
// tags.
bool JoinsPrevious(char32_t c)
{
    if (c == 0x200C || c == 0x200D || (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0100 && c <= 0xE01EF) ||
        (c >= 0x1F3FB && c <= 0x1F3FF) || (c >= 0xE0020 && c <= 0xE007F))
        return true;
    switch (hb_unicode_general_category(hb_unicode_funcs_get_default(), c)) {
    case HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK:
        return true;
    default:
        return false;
    }
}

bool IsNeutralScript(hb_script_t s)
{
    return s == HB_SCRIPT_COMMON || s == HB_SCRIPT_INHERITED || s == HB_SCRIPT_UNKNOWN;
}

std::vector<FriBidiLevel> EmbeddingLevels(const std::u32string& AText)
{
    const auto n = FriBidiStrIndex(AText.size());
    const auto* chars = reinterpret_cast<const FriBidiChar*>(AText.data());
    std::vector<FriBidiCharType> types(AText.size());
    std::vector<FriBidiBracketType> brackets(AText.size());
    std::vector<FriBidiLevel> levels(AText.size(), 0);
    fribidi_get_bidi_types(chars, n, types.data());
    fribidi_get_bracket_types(chars, n, types.data(), brackets.data());
    FriBidiParType base = FRIBIDI_PAR_LTR; // the UI reads left to right
    if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), n, &base, levels.data()) == 0)
        std::fill(levels.begin(), levels.end(), 0);
    return levels;
}

// The script of every character; common and inherited characters take the script of the text around them at the
// same level (the one before, else the one after).
std::vector<hb_script_t> Scripts(const std::u32string& AText, const std::vector<FriBidiLevel>& ALevels)
{
    hb_unicode_funcs_t* funcs = hb_unicode_funcs_get_default();
    const size_t n = AText.size();
    std::vector<hb_script_t> scripts(n);
    for (size_t i = 0; i < n; ++i)
        scripts[i] = hb_unicode_script(funcs, hb_codepoint_t(AText[i]));
    std::vector<hb_script_t> resolved = scripts;
    for (size_t i = 0; i < n; ++i) {
        if (!IsNeutralScript(scripts[i]))
            continue;
        if (i > 0 && ALevels[i - 1] == ALevels[i] && !IsNeutralScript(resolved[i - 1])) {
            resolved[i] = resolved[i - 1];
            continue;
        }
        for (size_t j = i + 1; j < n && ALevels[j] == ALevels[i]; ++j)
            if (!IsNeutralScript(scripts[j])) {
                resolved[i] = scripts[j];
                break;
            }
        if (IsNeutralScript(resolved[i]) && i > 0)
            resolved[i] = resolved[i - 1];
    }
    return resolved;
}

struct Run {
    size_t Start = 0;
    size_t End = 0;
    FriBidiLevel Level = 0;
    int FaceIndex = -1;
    hb_script_t Script = HB_SCRIPT_COMMON;
    std::vector<hb_glyph_info_t> Infos;
    std::vector<hb_glyph_position_t> Positions;
};

std::vector<Run> Itemize(FontFace& AFace, const std::u32string& AText)
{
    const size_t n = AText.size();
    const std::vector<FriBidiLevel> levels = EmbeddingLevels(AText);
    const std::vector<hb_script_t> scripts = Scripts(AText, levels);
    hb_unicode_funcs_t* funcs = hb_unicode_funcs_get_default();
    std::vector<int> faces(n, -1);
    for (size_t i = 0; i < n; ++i) {
        const char32_t c = AText[i];
        const bool neutral = IsNeutralScript(hb_unicode_script(funcs, hb_codepoint_t(c)));
        // One cluster stays in one face, and so do spaces and punctuation within a run of a script (but digits and
        // spaces are not taken from a colour emoji face).
        if (i > 0 && (c < 0x20 || JoinsPrevious(c) ||
                      (neutral && !AFace.IsColor(faces[i - 1]) && AFace.HasChar(faces[i - 1], c))))
            faces[i] = faces[i - 1];
        else
            faces[i] = c < 0x20 ? -1 : AFace.FaceIndexFor(c);
    }
    std::vector<Run> runs;
    for (size_t i = 0; i < n; ++i) {
        if (runs.empty() || runs.back().Level != levels[i] || runs.back().FaceIndex != faces[i] ||
            runs.back().Script != scripts[i])
            runs.push_back({i, i, levels[i], faces[i], scripts[i], {}, {}});
        runs.back().End = i + 1;
    }
    return runs;
}

// The runs in the order they are seen: from the highest level down to the lowest odd one, every stretch of runs at
// that level or above is reversed.
std::vector<size_t> VisualOrder(const std::vector<Run>& ARuns)
{
    std::vector<size_t> order(ARuns.size());
    std::iota(order.begin(), order.end(), size_t(0));
    FriBidiLevel highest = 0, lowestOdd = 255;
    for (const Run& r : ARuns) {
        highest = std::max(highest, r.Level);
        if (r.Level % 2 == 1)
            lowestOdd = std::min(lowestOdd, r.Level);
    }
    for (int level = highest; level >= int(lowestOdd) && level > 0; --level)
        for (size_t i = 0; i < order.size();) {
            if (ARuns[order[i]].Level < level) {
                ++i;
                continue;
            }
            size_t j = i;
            while (j < order.size() && ARuns[order[j]].Level >= level)
                ++j;
            std::reverse(order.begin() + ptrdiff_t(i), order.begin() + ptrdiff_t(j));
            i = j;
        }
    return order;
}

// Latin, Greek and Cyrillic are laid out beside other scripts as they are alone, one glyph per character without
// kerning or ligatures, so that a name measures the same wherever it stands.
const hb_feature_t kPlainFeatures[] = {
    {HB_TAG('k', 'e', 'r', 'n'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
    {HB_TAG('l', 'i', 'g', 'a'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
    {HB_TAG('c', 'l', 'i', 'g'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
};

bool PlainScript(hb_script_t s)
{
    return s == HB_SCRIPT_LATIN || s == HB_SCRIPT_GREEK || s == HB_SCRIPT_CYRILLIC || IsNeutralScript(s);
}

int Pixels(long long A26_6) { return int((A26_6 + 32) >> 6); }

struct ClusterBox {
    int Left = 0;
    int Right = 0;
    int Advance = 0;
    bool Rtl = false;
    bool Seen = false;
};

} // namespace

void ShapeLine(FontFace& AFace, LineLayout& ALine, int ATabWidth)
{
    const std::u32string& text = ALine.Text;
    const size_t n = text.size();
    ALine.Shaped = true;
    ALine.Glyphs.clear();
    ALine.Advances.assign(n, 0);
    ALine.CaretX.assign(n + 1, 0);
    ALine.ClusterBoundary.assign(n + 1, false);
    ALine.ClusterBoundary[0] = true;
    ALine.Width = 0;
    if (n == 0)
        return;

    std::vector<Run> runs = Itemize(AFace, text);
    hb_buffer_t* buffer = hb_buffer_create();
    for (Run& run : runs) {
        hb_buffer_clear_contents(buffer);
        hb_buffer_add_utf32(buffer, reinterpret_cast<const uint32_t*>(text.data()), int(n), unsigned(run.Start),
                            int(run.End - run.Start));
        hb_buffer_set_direction(buffer, run.Level % 2 == 1 ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
        hb_buffer_set_script(buffer, run.Script);
        hb_buffer_set_language(buffer, hb_language_get_default());
        const bool plain = PlainScript(run.Script);
        hb_shape(static_cast<hb_font_t*>(AFace.ShaperOf(run.FaceIndex)), buffer, plain ? kPlainFeatures : nullptr,
                 plain ? unsigned(std::size(kPlainFeatures)) : 0);
        unsigned count = 0;
        const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
        const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer, &count);
        run.Infos.assign(infos, infos + count);
        run.Positions.assign(positions, positions + count);
    }
    hb_buffer_destroy(buffer);

    // Glyphs placed along the line in the order they are seen.
    std::vector<ClusterBox> boxes(n);
    long long pen = 0;
    for (size_t r : VisualOrder(runs)) {
        const Run& run = runs[r];
        const double scale = AFace.ScaleOf(run.FaceIndex);
        for (size_t g = 0; g < run.Infos.size(); ++g) {
            const hb_glyph_info_t& info = run.Infos[g];
            const hb_glyph_position_t& pos = run.Positions[g];
            const char32_t c = text[info.cluster];
            long long advance = std::llround(pos.x_advance * scale);
            PlacedGlyph placed;
            placed.FaceIndex = run.FaceIndex;
            placed.Glyph = info.codepoint;
            placed.Cluster = int(info.cluster);
            if (c < 0x20) {
                placed.Hidden = true;
                advance = 0;
                if (c == U'\t') {
                    const int x = Pixels(pen);
                    advance = 64LL * (ATabWidth > 0 ? (x / ATabWidth + 1) * ATabWidth - x : AFace.Glyph(U' ').Advance);
                }
            }
            const int before = Pixels(pen);
            placed.X = Pixels(pen + std::llround(pos.x_offset * scale));
            placed.Y = Pixels(std::llround(pos.y_offset * scale));
            pen += advance;
            placed.Advance = Pixels(pen) - before;
            ClusterBox& box = boxes[info.cluster];
            if (!box.Seen) {
                box = {before, before + placed.Advance, 0, run.Level % 2 == 1, true};
            } else {
                box.Left = std::min(box.Left, before);
                box.Right = std::max(box.Right, before + placed.Advance);
            }
            box.Advance += placed.Advance;
            ALine.Glyphs.push_back(placed);
        }
    }
    ALine.Width = Pixels(pen);

    // Every character belongs to the cluster that starts at or before it; a cluster's advance and caret positions
    // are shared out evenly among its characters.
    for (size_t start = 0; start < n;) {
        size_t end = start + 1;
        while (end < n && !boxes[end].Seen)
            ++end;
        const ClusterBox& box = boxes[start];
        const int m = int(end - start);
        for (int k = 0; k < m; ++k) {
            const size_t i = start + size_t(k);
            ALine.Advances[i] = box.Advance / m + (k == 0 ? box.Advance % m : 0);
            const int along = (box.Right - box.Left) * k / m;
            ALine.CaretX[i] = box.Rtl ? box.Right - along : box.Left + along;
            ALine.ClusterBoundary[i] = k == 0;
        }
        if (end == n)
            ALine.CaretX[n] = box.Rtl ? box.Left : box.Right;
        start = end;
    }
    ALine.ClusterBoundary[n] = true;
}

} // namespace win::detail
