#pragma once
// What the file dialogs share: their interface texts and the 16 x 16 tool-button glyphs, drawn in code on a
// magenta key colour.
#include <memory>
#include <string>

class TBitmap;
class TspSkinData;

enum class TDialogGlyph { Back, Up, NewFolder, ViewStyle };

std::unique_ptr<TBitmap> MakeDialogGlyph(TDialogGlyph AKind);

// The text of AKey: the control skin's when it has texts (empty when they lack the key), else the built-in one.
std::string DialogText(TspSkinData* ACtrlSkinData, const char* AKey);
