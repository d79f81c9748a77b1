#include "platform/controls/edit_model.h"

#include "platform/controls/text_steps.h"

#include <algorithm>

using namespace edittext;

std::vector<std::string> TEditModel::Split(std::string_view AText) const
{
    std::vector<std::string> pieces(1);
    for (size_t i = 0; i < AText.size(); ++i) {
        char c = AText[i];
        if (c != '\r' && c != '\n') {
            pieces.back() += c;
            continue;
        }
        if (!FMultiLine)
            break;
        if (c == '\r' && i + 1 < AText.size() && AText[i + 1] == '\n')
            ++i;
        pieces.emplace_back();
    }
    return pieces;
}

int TEditModel::CountWithBreaks(std::string_view AText)
{
    // A line break counts as the two characters it is in Text.
    int count = 0;
    for (size_t i = 0; i < AText.size();) {
        if (AText[i] == '\r' && i + 1 < AText.size() && AText[i + 1] == '\n') {
            count += 2;
            i += 2;
            continue;
        }
        if (AText[i] == '\r' || AText[i] == '\n') {
            count += 2;
            ++i;
            continue;
        }
        size_t length;
        DecodeAt(AText, i, &length);
        i += length;
        ++count;
    }
    return count;
}

std::string TEditModel::Text() const
{
    std::string out;
    for (size_t i = 0; i < FLines.size(); ++i) {
        if (i)
            out += "\r\n";
        out += FLines[i];
    }
    return out;
}

void TEditModel::SetText(std::string_view AText)
{
    int removed = LineCount();
    FLines = Split(AText);
    FCharCount = CountWithBreaks(Text());
    FCaret = FAnchor = {};
    FUndo.reset();
    if (OnLinesChanged)
        OnLinesChanged(0, removed, LineCount());
}

void TEditModel::InsertLine(int AIndex, std::string_view AText)
{
    AIndex = std::clamp(AIndex, 0, LineCount());
    std::string line(AText.substr(0, std::min(AText.find_first_of("\r\n"), AText.size())));
    FLines.insert(FLines.begin() + AIndex, line);
    FCharCount += CountWithBreaks(line) + 2;
    if (FCaret.Line >= AIndex)
        ++FCaret.Line;
    if (FAnchor.Line >= AIndex)
        ++FAnchor.Line;
    FUndo.reset();
    if (OnLinesChanged)
        OnLinesChanged(AIndex, 0, 1);
}

void TEditModel::DeleteLine(int AIndex)
{
    if (AIndex < 0 || AIndex >= LineCount())
        return;
    if (LineCount() == 1) {
        SetLine(0, "");
        return;
    }
    FCharCount -= CountWithBreaks(FLines[static_cast<size_t>(AIndex)]) + 2;
    FLines.erase(FLines.begin() + AIndex);
    auto shift = [&](TTextPos& APos) {
        if (APos.Line > AIndex)
            --APos.Line;
        else if (APos.Line == AIndex)
            APos.Byte = 0;
        APos = Clamp(APos);
    };
    shift(FCaret);
    shift(FAnchor);
    FUndo.reset();
    if (OnLinesChanged)
        OnLinesChanged(AIndex, 1, 0);
}

void TEditModel::SetLine(int AIndex, std::string_view AText)
{
    if (AIndex < 0 || AIndex >= LineCount())
        return;
    std::string line(AText.substr(0, std::min(AText.find_first_of("\r\n"), AText.size())));
    std::string& target = FLines[static_cast<size_t>(AIndex)];
    FCharCount += CountWithBreaks(line) - CountWithBreaks(target);
    target = line;
    FCaret = Clamp(FCaret);
    FAnchor = Clamp(FAnchor);
    FUndo.reset();
    if (OnLinesChanged)
        OnLinesChanged(AIndex, 1, 1);
}

TTextPos TEditModel::Clamp(TTextPos APos) const
{
    APos.Line = std::clamp(APos.Line, 0, LineCount() - 1);
    const std::string& line = FLines[static_cast<size_t>(APos.Line)];
    APos.Byte = FloorBoundary(line, std::min(APos.Byte, line.size()));
    return APos;
}

void TEditModel::Select(TTextPos AAnchor, TTextPos ACaret)
{
    FAnchor = Clamp(AAnchor);
    FCaret = Clamp(ACaret);
}

std::string TEditModel::TextOf(TTextPos AFirst, TTextPos ALast) const
{
    if (AFirst.Line == ALast.Line)
        return FLines[static_cast<size_t>(AFirst.Line)].substr(AFirst.Byte, ALast.Byte - AFirst.Byte);
    std::string out = FLines[static_cast<size_t>(AFirst.Line)].substr(AFirst.Byte);
    for (int line = AFirst.Line + 1; line < ALast.Line; ++line)
        out += "\r\n" + FLines[static_cast<size_t>(line)];
    out += "\r\n" + FLines[static_cast<size_t>(ALast.Line)].substr(0, ALast.Byte);
    return out;
}

std::string TEditModel::SelectedText() const { return TextOf(SelFirst(), SelLast()); }

int TEditModel::CharIndexOf(TTextPos APos) const
{
    APos = Clamp(APos);
    int index = 0;
    for (int line = 0; line < APos.Line; ++line)
        index += static_cast<int>(CountCodePoints(FLines[static_cast<size_t>(line)])) + 2;
    return index + static_cast<int>(CountCodePoints(std::string_view(FLines[static_cast<size_t>(APos.Line)])
                                                        .substr(0, APos.Byte)));
}

TTextPos TEditModel::PosOfCharIndex(int AIndex) const
{
    if (AIndex < 0)
        AIndex = 0;
    for (int line = 0; line < LineCount(); ++line) {
        const std::string& text = FLines[static_cast<size_t>(line)];
        int count = static_cast<int>(CountCodePoints(text));
        if (AIndex <= count || line == LineCount() - 1)
            return Clamp({line, BytesOfCodePoints(text, static_cast<size_t>(AIndex))});
        AIndex -= count + 2;
        if (AIndex < 0)  // inside a line break: its start
            return {line, text.size()};
    }
    return EndPos();
}

TTextPos TEditModel::Replace(TTextPos AFirst, TTextPos ALast, std::string_view AText)
{
    std::vector<std::string> pieces = Split(AText);
    std::string tail = FLines[static_cast<size_t>(ALast.Line)].substr(ALast.Byte);
    std::string head = FLines[static_cast<size_t>(AFirst.Line)].substr(0, AFirst.Byte);
    FCharCount -= CountWithBreaks(TextOf(AFirst, ALast));
    FCharCount += CountWithBreaks(AText.substr(0, std::min(AText.size(), FMultiLine ? AText.size()
                                                                                   : AText.find_first_of("\r\n"))));
    int removed = ALast.Line - AFirst.Line + 1;
    TTextPos end{AFirst.Line + static_cast<int>(pieces.size()) - 1, pieces.back().size()};
    if (pieces.size() == 1)
        end.Byte += head.size();
    pieces.front().insert(0, head);
    pieces.back() += tail;
    auto first = FLines.begin() + AFirst.Line;
    if (removed == 1 && pieces.size() == 1) {
        *first = std::move(pieces.front());
    } else {
        first = FLines.erase(first, first + removed);
        FLines.insert(first, std::make_move_iterator(pieces.begin()), std::make_move_iterator(pieces.end()));
    }
    if (OnLinesChanged)
        OnLinesChanged(AFirst.Line, removed, static_cast<int>(pieces.size()));
    return end;
}

bool TEditModel::ReplaceSelection(std::string_view AText, bool ATyping)
{
    TTextPos first = SelFirst(), last = SelLast();
    std::string removed = TextOf(first, last);
    std::string text(AText);
    if (!FMultiLine)
        text.resize(std::min(text.size(), text.find_first_of("\r\n")));
    if (FMaxLength > 0) {
        int room = FMaxLength - (FCharCount - CountWithBreaks(removed));
        if (room <= 0) {
            text.clear();
        } else if (CountWithBreaks(text) > room) {
            // Cut on a character boundary; a line break is never split in two.
            size_t at = 0;
            int used = 0;
            while (at < text.size()) {
                size_t next = text[at] == '\r' || text[at] == '\n'
                                  ? at + ((text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ? 2 : 1)
                                  : NextChar(text, at);
                int cost = text[at] == '\r' || text[at] == '\n' ? 2 : CountWithBreaks(text.substr(at, next - at));
                if (used + cost > room)
                    break;
                used += cost;
                at = next;
            }
            text.resize(at);
        }
    }
    if (removed.empty() && text.empty())
        return false;
    TTextPos end = Replace(first, last, text);
    bool joins = ATyping && removed.empty() && FUndo && FUndo->Typing && FUndo->End == first;
    if (joins) {
        FUndo->Inserted += text;
        FUndo->End = end;
    } else {
        FUndo = TUndoStep{first, end, removed, text, ATyping};
    }
    FCaret = FAnchor = end;
    return true;
}

bool TEditModel::Undo()
{
    if (!FUndo)
        return false;
    TUndoStep step = *FUndo;
    TTextPos end = Replace(step.Start, step.End, step.Removed);
    FUndo = TUndoStep{step.Start, end, step.Inserted, step.Removed, false};
    FAnchor = step.Start;
    FCaret = end;
    return true;
}
