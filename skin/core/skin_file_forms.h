#pragma once
// The enumerated value forms of the skin description (stretch type, morph kind, inactive effect, caption-button
// command, frames placement, gauge and regulator kind), the test that a file is a skin description, and the
// picture rules shared by every reader of a skin folder.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gdi/colors.h"
#include "platform/gui/bitmap.h"
#include "platform/rtl/inifiles.h"
#include "platform/rtl/types.h"
#include "skin/core/effect_bitmap.h"

enum TspStretchType { spstFull, spstHorz, spstVert };
enum TspInActiveEffect { ieBrightness, ieDarkness, ieGrayScale, ieNoise, ieSplitBlur, ieInvert };
enum TStdCommand { cmClose, cmMaximize, cmMinimize, cmSysMenu, cmDefault, cmRollUp, cmMinimizeToTray };
enum TFramesPlacement { fpHorizontal, fpVertical };
enum TGaugeKind { gkHorizontal, gkVertical };
enum TRegulatorKind { rkRound, rkHorizontal, rkVertical };

// A word form: Words[i] names value i (compared exactly, case-sensitively); any other word reads as Fallback and a
// missing key as Missing.
struct TspWordForm {
    const char* const* Words;
    int Count;
    int Fallback;
    int Missing;
};

extern const TspWordForm StretchTypeForm;
extern const TspWordForm MorphKindForm;
extern const TspWordForm InActiveEffectForm;
extern const TspWordForm CommandForm;
extern const TspWordForm FramesPlacementForm;
extern const TspWordForm GaugeKindForm;
extern const TspWordForm RegulatorKindForm;

int ReadIniWord(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident,
                const TspWordForm& Form);
void WriteIniWord(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident,
                  const TspWordForm& Form, int Value);
// The word a value is written as; values outside the form give the fallback's word.
std::string WordOf(const TspWordForm& Form, int Value);

TspStretchType ReadIniStretchType(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident);
void WriteIniStretchType(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident,
                         TspStretchType Value);
TMorphKind ReadIniMorphKind(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident);
void WriteIniMorphKind(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident,
                       TMorphKind Value);
TspInActiveEffect ReadIniInActiveEffect(TCustomIniFile* IniFile, const std::string& Section,
                                        const std::string& Ident);
void WriteIniInActiveEffect(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident,
                            TspInActiveEffect Value);

// VERSION, PICTURES, FORMINFO, SKINOBJECTS and SKINCONTROLS all hold at least one key.
bool IsSkinIniFile(TCustomIniFile* IniFile);

// ".jpg" or ".jpeg" anywhere in the name, case-sensitively: "a.JPG" is no JPEG name, "a.jpg.bmp" is one.
bool IsJpegFileName(const std::string& AName);
// Raises EFOpenError for the file and EInvalidGraphic for its content; ABitmap is left unchanged then. With
// AFileBytes the file's bytes are handed back as well, for writing the picture out again unchanged.
void LoadJpegIntoBitmap(TBitmap* ABitmap, const std::string& AFileName, std::vector<uint8_t>* AFileBytes = nullptr);
// A picture of a skin folder by the JPEG-or-BMP rule, tested on the name as the description gives it; AJpegBytes
// as above (left alone for a BMP picture).
void LoadSkinPicture(TBitmap* ABitmap, const std::string& AFolder, const std::string& AName,
                     std::vector<uint8_t>* AJpegBytes = nullptr);

// Sums of values that come from a skin file, held inside the 32-bit range instead of wrapping.
Integer AddClamped(Integer A, Int64 B);
