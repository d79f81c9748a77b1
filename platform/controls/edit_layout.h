#pragma once
// How the lines of an edit field fall into rows on the screen: one row per line, or several with word wrap at
// a width. Row breaks and line widths are measured per line when first asked for and kept until that line
// changes, so an edit costs the lines it touched, and painting costs the rows shown.
#include "platform/controls/edit_model.h"
#include "platform/controls/text_measure.h"

#include <map>
#include <vector>

class TEditLayout {
public:
    explicit TEditLayout(const TEditModel& AModel) : FModel(AModel) { Reset(); }

    // The DC measures with the font selected into it; changing the font or the wrap width re-measures.
    void SetDC(win::HDC ADC);
    void SetWrapWidth(int AWidth);  // 0 = no wrap
    int WrapWidth() const { return FWrapWidth; }
    // Text shown in place of each character (0 = the text itself).
    void SetMaskChar(char32_t AChar);
    void Reset();
    void LinesChanged(int ALine, int ARemoved, int AInserted);

    int RowCount();
    int FirstRowOf(int ALine);
    // The line a row belongs to and which of its rows it is.
    void LineOfRow(int ARow, int& ALine, int& ASub);
    // The byte at which each row of a line starts (the first is 0).
    const std::vector<size_t>& RowStarts(int ALine);
    size_t RowEnd(int ALine, int ASub);
    int RowOfPos(TTextPos APos);
    // The character stops of one row, in the line's bytes, measured on what is shown.
    edittext::TCharStops RowStops(int ALine, int ASub);
    int RowWidth(int ALine, int ASub);
    // Where the caret stands at a byte within its row, as the row is drawn.
    int XOfByte(int ALine, int ASub, size_t AByte);
    // The next and previous places a caret can stand in a line (never inside a shaped cluster).
    size_t NextStop(int ALine, size_t AByte);
    size_t PrevStop(int ALine, size_t AByte);
    int LineWidth(int ALine);
    int MaxWidth();
    // What a row shows (the mask character repeated, or the text).
    std::string RowDisplay(int ALine, int ASub);

private:
    struct TLineCache {
        int Width = -1;
        std::vector<size_t> Starts;  // empty = not measured
    };
    TLineCache& Cache(int ALine) { return FLines[static_cast<size_t>(ALine)]; }
    void Wrap(int ALine);
    void BuildRowIndex();
    std::string Display(std::string_view AText) const;
    edittext::TCharStops Stops(std::string_view AText) const;

    const TEditModel& FModel;
    win::HDC FDC = nullptr;
    int FWrapWidth = 0;
    char32_t FMaskChar = 0;
    std::vector<TLineCache> FLines;
    std::vector<int> FRowStart;  // per line, the first row; valid below FValidRows
    int FValidRows = 0;
    int FMaxWidth = -1;
    std::map<int, int> FWidthCounts;  // lines per width, kept while FMaxWidth is known
};
