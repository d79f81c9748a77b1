#pragma once
// The text of an edit field as lines, with a selection (anchor and caret) on character boundaries, a limit in
// characters and one level of undo. A single-line model never holds a line break: inserted text is cut at the
// first one. Positions are (line, byte); the flat character index counts code points with "\r\n" between lines,
// as the field's Text reads. Editing touches only the lines it changes, so a long text stays quick to edit.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TTextPos {
    int Line = 0;
    size_t Byte = 0;
    auto operator<=>(const TTextPos&) const = default;
};

class TEditModel {
public:
    explicit TEditModel(bool AMultiLine) : FMultiLine(AMultiLine) {}

    bool MultiLine() const { return FMultiLine; }
    int LineCount() const { return static_cast<int>(FLines.size()); }
    const std::string& Line(int AIndex) const { return FLines[static_cast<size_t>(AIndex)]; }
    std::string Text() const;
    // Replaces everything; the caret goes to the start and the undo step is dropped.
    void SetText(std::string_view AText);
    // Line list edits for a strings view; keep at least one (empty) line.
    void InsertLine(int AIndex, std::string_view AText);
    void DeleteLine(int AIndex);
    void SetLine(int AIndex, std::string_view AText);

    TTextPos Caret() const { return FCaret; }
    TTextPos Anchor() const { return FAnchor; }
    TTextPos SelFirst() const { return std::min(FCaret, FAnchor); }
    TTextPos SelLast() const { return std::max(FCaret, FAnchor); }
    bool HasSelection() const { return FCaret != FAnchor; }
    // Both ends are clamped and snapped to character boundaries.
    void Select(TTextPos AAnchor, TTextPos ACaret);
    void MoveCaret(TTextPos ACaret, bool AExtend) { Select(AExtend ? FAnchor : ACaret, ACaret); }
    std::string SelectedText() const;
    std::string TextOf(TTextPos AFirst, TTextPos ALast) const;

    int CharCount() const { return FCharCount; }
    int CharIndexOf(TTextPos APos) const;
    TTextPos PosOfCharIndex(int AIndex) const;
    TTextPos EndPos() const { return {LineCount() - 1, FLines.back().size()}; }

    // 0 = no limit. Text set from outside is not cut; only insertions stop at the limit.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int AValue) { FMaxLength = AValue < 0 ? 0 : AValue; }

    // Replaces the selection by AText (as much of it as the limit allows) and puts the caret after it. Typing
    // joins runs of typed characters into one undo step. False when nothing changed.
    bool ReplaceSelection(std::string_view AText, bool ATyping = false);
    bool CanUndo() const { return FUndo.has_value(); }
    // Puts back what the last edit replaced and selects it; undoing again redoes.
    bool Undo();
    void ClearUndo() { FUndo.reset(); }

    // After every change: the first line touched, how many lines it replaced and how many there are now.
    std::function<void(int ALine, int ARemoved, int AInserted)> OnLinesChanged;

private:
    struct TUndoStep {
        TTextPos Start;
        TTextPos End;  // of the inserted text
        std::string Removed;
        std::string Inserted;
        bool Typing = false;
    };
    TTextPos Clamp(TTextPos APos) const;
    // Replaces [AFirst, ALast) by AText (already cut to fit); returns the end of the inserted text.
    TTextPos Replace(TTextPos AFirst, TTextPos ALast, std::string_view AText);
    std::vector<std::string> Split(std::string_view AText) const;
    static int CountWithBreaks(std::string_view AText);

    bool FMultiLine;
    std::vector<std::string> FLines{std::string()};
    TTextPos FCaret;
    TTextPos FAnchor;
    int FMaxLength = 0;
    int FCharCount = 0;
    std::optional<TUndoStep> FUndo;
};
