// One typeface and one height shift for every text-bearing record of the loaded skin.
#include "skin/core/skin_data.h"

namespace {

void ChangeFont(std::string& AName, Integer& AHeight, const std::string& ANewName, Integer ACorrection)
{
    AName = ANewName;
    AHeight = AddClamped(AHeight, ACorrection);
}

// Records are tested in a fixed order; the first class the record is (itself or by descent) decides.
template <typename Record, typename Apply>
bool TryFont(Record* ARecord, Apply AApply)
{
    if (!ARecord) return false;
    AApply(*ARecord);
    return true;
}

void ChangeObjectFont(TspDataSkinObject* R, const std::string& N, Integer C)
{
    auto simple = [&](auto& rec) { ChangeFont(rec.FontName, rec.FontHeight, N, C); };
    TryFont(dynamic_cast<TspDataSkinLabel*>(R), simple) || TryFont(dynamic_cast<TspDataSkinMenuItem*>(R), simple) ||
        TryFont(dynamic_cast<TspDataSkinMainMenuBarItem*>(R), simple) ||
        TryFont(dynamic_cast<TspDataSkinCaption*>(R), simple);
}

void ChangeControlFont(TspDataSkinControl* R, const std::string& N, Integer C)
{
    auto simple = [&](auto& rec) { ChangeFont(rec.FontName, rec.FontHeight, N, C); };
    auto grid = [&](TspDataSkinGridControl& rec) {
        ChangeFont(rec.FontName, rec.FontHeight, N, C);
        ChangeFont(rec.FixedFontName, rec.FixedFontHeight, N, C);
    };
    auto list_box = [&](TspDataSkinListBox& rec) {
        ChangeFont(rec.FontName, rec.FontHeight, N, C);
        ChangeFont(rec.CaptionFontName, rec.CaptionFontHeight, N, C);
    };
    TryFont(dynamic_cast<TspDataSkinTreeView*>(R), simple) || TryFont(dynamic_cast<TspDataSkinListView*>(R), simple) ||
        TryFont(dynamic_cast<TspDataSkinRichEdit*>(R), simple) ||
        TryFont(dynamic_cast<TspDataSkinTabControl*>(R), simple) ||
        TryFont(dynamic_cast<TspDataSkinGridControl*>(R), grid) ||
        TryFont(dynamic_cast<TspDataSkinComboBox*>(R), simple) ||
        TryFont(dynamic_cast<TspDataSkinListBox*>(R), list_box) ||
        TryFont(dynamic_cast<TspDataSkinSpinEditControl*>(R), simple) ||
        TryFont(dynamic_cast<TspDataSkinEditControl*>(R), simple) ||
        TryFont(dynamic_cast<TspDataSkinStdLabelControl*>(R), simple) ||
        TryFont(dynamic_cast<TspDataSkinLabelControl*>(R), simple) ||
        TryFont(dynamic_cast<TspDataSkinGaugeControl*>(R), simple) ||
        TryFont(dynamic_cast<TspDataSkinButtonControl*>(R), simple) ||
        TryFont(dynamic_cast<TspDataSkinCheckRadioControl*>(R), simple) ||
        TryFont(dynamic_cast<TspDataSkinPanelControl*>(R), simple) ||
        TryFont(dynamic_cast<TspDataSkinExPanelControl*>(R), simple);
}

}  // namespace

void TspSkinData::GlobalChangeFont(const std::string& ANewFontName, Integer AFontHeightCorrection)
{
    ChangeFont(HintWindow->FontName, HintWindow->FontHeight, ANewFontName, AFontHeightCorrection);
    for (auto& record : ObjectList) ChangeObjectFont(record.get(), ANewFontName, AFontHeightCorrection);
    for (auto& record : CtrlList) ChangeControlFont(record.get(), ANewFontName, AFontHeightCorrection);
}
