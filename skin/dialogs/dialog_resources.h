#pragma once
// What the file dialogs share: their interface texts, making a new folder, and the 16 x 16 tool-button glyphs, drawn in code on a
// magenta key colour.
#include <memory>
#include <string>

class TBitmap;
class TspSkinData;

enum class TDialogGlyph { Back, Up, NewFolder, ViewStyle };

std::unique_ptr<TBitmap> MakeDialogGlyph(TDialogGlyph AKind);

// Makes the folder; raises EInOutError with the system's reason when it cannot be made.
void MakeDialogFolder(const std::string& APath);

// The text of AKey: the control skin's when it has texts (empty when they lack the key), else the built-in one.
std::string DialogText(TspSkinData* ACtrlSkinData, const char* AKey);

// Shows AText as an error in the skinned message box: the frame in ASkinData, the controls and texts in
// ACtrlSkinData (either may be nullptr for the default look).
void ShowDialogError(TspSkinData* ASkinData, TspSkinData* ACtrlSkinData, const std::string& AText);
