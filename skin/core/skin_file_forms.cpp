#include "skin/core/skin_file_forms.h"

#include <algorithm>
#include <limits>

#include "platform/gui/graphic_errors.h"
#include "platform/gui/jpeg_image.h"
#include "platform/rtl/streams.h"

namespace {

const char* const kStretchWords[] = {"stfull", "sthorz", "stvert"};
const char* const kMorphWords[] = {"mkdefault",  "mkgradient",   "mkleftgradient", "mkrightgradient",
                                   "mkleftslide", "mkrightslide", "mkpush"};
const char* const kInActiveWords[] = {"iebrightness", "iedarkness",   "iegrayscale",
                                      "ienoise",      "iesplitblur", "ieinvert"};
const char* const kCommandWords[] = {"cmclose",   "cmmaximize", "cmminimize",      "cmsysmenu",
                                     "cmdefault", "cmrollup",   "cmminimizetotray"};
const char* const kPlacementWords[] = {"fphorizontal", "fpvertical"};
const char* const kGaugeWords[] = {"gkhorizontal", "gkvertical"};
const char* const kRegulatorWords[] = {"rkround", "rkhorizontal", "rkvertical"};

}  // namespace

const TspWordForm StretchTypeForm{kStretchWords, 3, spstHorz, spstFull};
const TspWordForm MorphKindForm{kMorphWords, 7, mkDefault, mkDefault};
const TspWordForm InActiveEffectForm{kInActiveWords, 6, ieGrayScale, ieBrightness};
const TspWordForm CommandForm{kCommandWords, 7, cmMinimizeToTray, cmDefault};
const TspWordForm FramesPlacementForm{kPlacementWords, 2, fpVertical, fpHorizontal};
const TspWordForm GaugeKindForm{kGaugeWords, 2, gkVertical, gkHorizontal};
const TspWordForm RegulatorKindForm{kRegulatorWords, 3, rkVertical, rkRound};

std::string WordOf(const TspWordForm& Form, int Value)
{
    if (Value < 0 || Value >= Form.Count) Value = Form.Fallback;
    return Form.Words[Value];
}

int ReadIniWord(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident,
                const TspWordForm& Form)
{
    const std::string text = IniFile->ReadString(Section, Ident, Form.Words[Form.Missing]);
    for (int i = 0; i < Form.Count; ++i)
        if (text == Form.Words[i]) return i;
    return Form.Fallback;
}

void WriteIniWord(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident,
                  const TspWordForm& Form, int Value)
{
    IniFile->WriteString(Section, Ident, WordOf(Form, Value));
}

TspStretchType ReadIniStretchType(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident)
{
    return static_cast<TspStretchType>(ReadIniWord(IniFile, Section, Ident, StretchTypeForm));
}

void WriteIniStretchType(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident,
                         TspStretchType Value)
{
    WriteIniWord(IniFile, Section, Ident, StretchTypeForm, Value);
}

TMorphKind ReadIniMorphKind(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident)
{
    return static_cast<TMorphKind>(ReadIniWord(IniFile, Section, Ident, MorphKindForm));
}

void WriteIniMorphKind(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident,
                       TMorphKind Value)
{
    WriteIniWord(IniFile, Section, Ident, MorphKindForm, Value);
}

TspInActiveEffect ReadIniInActiveEffect(TCustomIniFile* IniFile, const std::string& Section,
                                        const std::string& Ident)
{
    return static_cast<TspInActiveEffect>(ReadIniWord(IniFile, Section, Ident, InActiveEffectForm));
}

void WriteIniInActiveEffect(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident,
                            TspInActiveEffect Value)
{
    WriteIniWord(IniFile, Section, Ident, InActiveEffectForm, Value);
}

bool IsSkinIniFile(TCustomIniFile* IniFile)
{
    for (const char* section : {"VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS", "SKINCONTROLS"})
        if (!IniFile->SectionExists(section)) return false;
    return true;
}

bool IsJpegFileName(const std::string& AName)
{
    return AName.find(".jpg") != std::string::npos || AName.find(".jpeg") != std::string::npos;
}

void LoadJpegIntoBitmap(TBitmap* ABitmap, const std::string& AFileName, std::vector<uint8_t>* AFileBytes)
{
    TMemoryStream bytes;
    bytes.LoadFromFile(AFileName);
    TJPEGImage jpeg;
    try {
        jpeg.LoadFromStream(&bytes);
    } catch (EInvalidGraphic& e) {
        e.SetMessage("Cannot read the picture \"" + AFileName + "\": " + e.Message());
        throw;
    }
    ABitmap->Assign(&jpeg);
    if (!AFileBytes) return;
    const auto* data = static_cast<const uint8_t*>(bytes.Memory());
    AFileBytes->assign(data, data + bytes.Size());
}

void LoadSkinPicture(TBitmap* ABitmap, const std::string& AFolder, const std::string& AName,
                     std::vector<uint8_t>* AJpegBytes)
{
    if (IsJpegFileName(AName))
        LoadJpegIntoBitmap(ABitmap, AFolder + AName, AJpegBytes);
    else
        ABitmap->LoadFromFile(AFolder + AName);
}

Integer AddClamped(Integer A, Int64 B)
{
    const Int64 sum = Int64(A) + std::clamp<Int64>(B, std::numeric_limits<Integer>::min(),
                                                  std::numeric_limits<Integer>::max());
    return static_cast<Integer>(
        std::clamp<Int64>(sum, std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max()));
}
