#pragma once
// The 16 x 16 tool-button glyphs of the file dialogs, drawn in code on a magenta key colour.
#include <memory>

class TBitmap;

enum class TDialogGlyph { Back, Up, NewFolder, ViewStyle };

std::unique_ptr<TBitmap> MakeDialogGlyph(TDialogGlyph AKind);
