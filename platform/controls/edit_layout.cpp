#include "platform/controls/edit_layout.h"

#include "platform/controls/text_steps.h"
#include "platform/rtl/utf8.h"

#include <algorithm>

using namespace edittext;

void TEditLayout::SetDC(win::HDC ADC)
{
    FDC = ADC;
    Reset();
}

void TEditLayout::SetWrapWidth(int AWidth)
{
    AWidth = std::max(AWidth, 0);
    if (AWidth == FWrapWidth)
        return;
    FWrapWidth = AWidth;
    for (TLineCache& line : FLines)
        line.Starts.clear();
    FValidRows = 0;
}

void TEditLayout::SetMaskChar(char32_t AChar)
{
    if (AChar == FMaskChar)
        return;
    FMaskChar = AChar;
    Reset();
}

void TEditLayout::Reset()
{
    FLines.assign(static_cast<size_t>(FModel.LineCount()), TLineCache());
    FRowStart.clear();
    FValidRows = 0;
    FMaxWidth = -1;
    FWidthCounts.clear();
}

void TEditLayout::LinesChanged(int ALine, int ARemoved, int AInserted)
{
    if (static_cast<int>(FLines.size()) != FModel.LineCount() - AInserted + ARemoved) {
        Reset();
        return;
    }
    auto first = FLines.begin() + ALine;
    // While the widest line is known, every line's width is counted: a change takes the old widths out and puts
    // the new ones in, so typing never measures the other lines again.
    for (auto it = first; it != first + ARemoved && FMaxWidth >= 0; ++it) {
        auto counted = FWidthCounts.find(it->Width);
        if (counted == FWidthCounts.end()) {
            FMaxWidth = -1;  // a line not counted: count all of them again when asked
            FWidthCounts.clear();
        } else if (--counted->second == 0) {
            FWidthCounts.erase(counted);
        }
    }
    if (ARemoved == AInserted) {
        std::fill(first, first + ARemoved, TLineCache());
    } else {
        first = FLines.erase(first, first + ARemoved);
        FLines.insert(first, static_cast<size_t>(AInserted), TLineCache());
    }
    FValidRows = std::min(FValidRows, ALine);
    if (FMaxWidth >= 0) {
        for (int line = ALine; line < ALine + AInserted; ++line)
            ++FWidthCounts[LineWidth(line)];
        FMaxWidth = FWidthCounts.empty() ? 0 : FWidthCounts.rbegin()->first;
    }
}

std::string TEditLayout::Display(std::string_view AText) const
{
    if (!FMaskChar)
        return std::string(AText);
    std::string mask = Utf8Encode(FMaskChar), out;
    for (size_t p = 0; p < AText.size(); p = NextChar(AText, p))
        out += mask;
    return out;
}

TCharStops TEditLayout::Stops(std::string_view AText) const
{
    if (!FMaskChar)
        return MeasureCharStops(FDC, AText);
    TCharStops stops = MeasureCharStops(FDC, Display(AText));
    size_t i = 0;
    for (size_t p = 0; p < AText.size(); p = NextChar(AText, p))
        stops.Bytes[i++] = p;
    stops.Bytes[i] = AText.size();
    return stops;
}

int TEditLayout::LineWidth(int ALine)
{
    TLineCache& cache = Cache(ALine);
    if (cache.Width < 0)
        cache.Width = TextWidth(FDC, Display(FModel.Line(ALine)));
    return cache.Width;
}

int TEditLayout::MaxWidth()
{
    if (FMaxWidth < 0) {
        FWidthCounts.clear();
        for (int line = 0; line < FModel.LineCount(); ++line)
            ++FWidthCounts[LineWidth(line)];
        FMaxWidth = FWidthCounts.empty() ? 0 : FWidthCounts.rbegin()->first;
    }
    return FMaxWidth;
}

void TEditLayout::Wrap(int ALine)
{
    TLineCache& cache = Cache(ALine);
    cache.Starts.assign(1, 0);
    const std::string& text = FModel.Line(ALine);
    if (FWrapWidth <= 0 || text.empty() || LineWidth(ALine) <= FWrapWidth)
        return;
    TCharStops stops = Stops(text);
    size_t row = 0;  // index into stops of the row's start
    size_t last = stops.Bytes.size() - 1;
    while (stops.X[last] - stops.X[row] > FWrapWidth) {
        size_t fit = row + 1;
        while (fit + 1 <= last && stops.X[fit + 1] - stops.X[row] <= FWrapWidth)
            ++fit;
        // Break after the last blank that fits; a word longer than the row breaks where it must.
        size_t cut = fit;
        for (size_t i = fit; i > row; --i)
            if (text[stops.Bytes[i] - 1] == ' ' || text[stops.Bytes[i] - 1] == '\t') {
                cut = i;
                break;
            }
        // Blanks at the break stay on the row they end.
        while (cut < last && text[stops.Bytes[cut]] == ' ')
            ++cut;
        if (cut >= last)
            break;
        cache.Starts.push_back(stops.Bytes[cut]);
        row = cut;
    }
}

const std::vector<size_t>& TEditLayout::RowStarts(int ALine)
{
    TLineCache& cache = Cache(ALine);
    if (cache.Starts.empty())
        Wrap(ALine);
    return cache.Starts;
}

size_t TEditLayout::RowEnd(int ALine, int ASub)
{
    const std::vector<size_t>& starts = RowStarts(ALine);
    return static_cast<size_t>(ASub + 1) < starts.size() ? starts[static_cast<size_t>(ASub + 1)]
                                                          : FModel.Line(ALine).size();
}

void TEditLayout::BuildRowIndex()
{
    int lines = FModel.LineCount();
    FRowStart.resize(static_cast<size_t>(lines) + 1);
    if (FValidRows == 0)
        FRowStart[0] = 0;
    for (int line = std::max(FValidRows, 0); line < lines; ++line)
        FRowStart[static_cast<size_t>(line) + 1] =
            FRowStart[static_cast<size_t>(line)] + static_cast<int>(RowStarts(line).size());
    FValidRows = lines;
}

int TEditLayout::RowCount()
{
    if (FWrapWidth <= 0)
        return FModel.LineCount();
    if (FValidRows < FModel.LineCount())
        BuildRowIndex();
    return FRowStart.back();
}

int TEditLayout::FirstRowOf(int ALine)
{
    if (FWrapWidth <= 0)
        return ALine;
    if (FValidRows < FModel.LineCount())
        BuildRowIndex();
    return FRowStart[static_cast<size_t>(ALine)];
}

void TEditLayout::LineOfRow(int ARow, int& ALine, int& ASub)
{
    if (FWrapWidth <= 0) {
        ALine = std::clamp(ARow, 0, FModel.LineCount() - 1);
        ASub = 0;
        return;
    }
    int rows = RowCount();
    ARow = std::clamp(ARow, 0, rows - 1);
    auto after = std::upper_bound(FRowStart.begin(), FRowStart.end() - 1, ARow);
    ALine = static_cast<int>(after - FRowStart.begin()) - 1;
    ASub = ARow - FRowStart[static_cast<size_t>(ALine)];
}

int TEditLayout::RowOfPos(TTextPos APos)
{
    const std::vector<size_t>& starts = RowStarts(APos.Line);
    int sub = static_cast<int>(std::upper_bound(starts.begin(), starts.end(), APos.Byte) - starts.begin()) - 1;
    return FirstRowOf(APos.Line) + std::max(sub, 0);
}

std::string TEditLayout::RowDisplay(int ALine, int ASub)
{
    size_t start = RowStarts(ALine)[static_cast<size_t>(ASub)];
    return Display(std::string_view(FModel.Line(ALine)).substr(start, RowEnd(ALine, ASub) - start));
}

TCharStops TEditLayout::RowStops(int ALine, int ASub)
{
    size_t start = RowStarts(ALine)[static_cast<size_t>(ASub)];
    TCharStops stops = Stops(std::string_view(FModel.Line(ALine)).substr(start, RowEnd(ALine, ASub) - start));
    for (size_t& byte : stops.Bytes)
        byte += start;
    return stops;
}

int TEditLayout::RowWidth(int ALine, int ASub)
{
    if (RowStarts(ALine).size() == 1)
        return LineWidth(ALine);
    return TextWidth(FDC, RowDisplay(ALine, ASub));
}

int TEditLayout::XOfByte(int ALine, int ASub, size_t AByte)
{
    return RowStops(ALine, ASub).CaretXOfByte(AByte);
}

size_t TEditLayout::NextStop(int ALine, size_t AByte)
{
    const std::string& text = FModel.Line(ALine);
    if (AByte >= text.size())
        return text.size();
    return FDC != nullptr ? Stops(text).Next(AByte) : NextChar(text, AByte);
}

size_t TEditLayout::PrevStop(int ALine, size_t AByte)
{
    const std::string& text = FModel.Line(ALine);
    if (AByte == 0)
        return 0;
    return FDC != nullptr ? Stops(text).Prev(AByte) : PrevChar(text, AByte);
}
