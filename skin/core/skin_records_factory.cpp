#include "skin/core/skin_records_factory.h"

#include <functional>
#include <typeindex>

namespace {

template <typename Base>
struct TypeWordRow {
    const char* Word;
    std::type_index Class;
    std::function<std::unique_ptr<Base>(const std::string&)> Create;
};

template <typename Base, typename R>
TypeWordRow<Base> Row(const char* AWord)
{
    return {AWord, std::type_index(typeid(R)), [](const std::string& AName) { return std::make_unique<R>(AName); }};
}

const std::vector<TypeWordRow<TspDataSkinObject>>& ObjectRows()
{
    using B = TspDataSkinObject;
    static const std::vector<TypeWordRow<B>> rows = {
        Row<B, TspDataSkinMenuItem>("menuitem"),
        Row<B, TspDataSkinMainMenuBarItem>("mainmenubaritem"),
        Row<B, TspDataSkinMainMenuItem>("mainmenuitem"),
        Row<B, TspDataSkinStdButton>("stdbutton"),
        Row<B, TspDataSkinMainMenuBarButton>("mainmenubarbutton"),
        Row<B, TspDataSkinButton>("button"),
        Row<B, TspDataSkinCaption>("caption"),
        Row<B, TspDataSkinTrackBar>("trackbar"),
        Row<B, TspDataSkinGauge>("gauge"),
        Row<B, TspDataSkinFrameGaugeObject>("framegauge"),
        Row<B, TspDataSkinFrameRegulatorObject>("frameregulator"),
        Row<B, TspDataSkinLabel>("label"),
        Row<B, TspDataSkinBitLabel>("bitlabel"),
        Row<B, TspDataSkinSwitch>("switch"),
        Row<B, TspDataSkinAnimate>("animate"),
        Row<B, TspDataUserObject>("userobject"),
    };
    return rows;
}

const std::vector<TypeWordRow<TspDataSkinControl>>& ControlRows()
{
    using B = TspDataSkinControl;
    static const std::vector<TypeWordRow<B>> rows = {
        Row<B, TspDataSkinSlider>("slider"),
        Row<B, TspDataSkinBevel>("bevel"),
        Row<B, TspDataSkinPanelControl>("panel"),
        Row<B, TspDataSkinExPanelControl>("expanel"),
        Row<B, TspDataSkinMenuButtonControl>("menubutton"),
        Row<B, TspDataSkinButtonControl>("button"),
        Row<B, TspDataSkinCheckRadioControl>("checkradio"),
        Row<B, TspDataSkinGaugeControl>("gauge"),
        Row<B, TspDataSkinSplitterControl>("splitter"),
        Row<B, TspDataSkinTrackBarControl>("trackbar"),
        Row<B, TspDataSkinLabelControl>("label"),
        Row<B, TspDataSkinStdLabelControl>("stdlabel"),
        Row<B, TspDataSkinBitLabelControl>("bitlabel"),
        Row<B, TspDataSkinFrameRegulator>("frameregulator"),
        Row<B, TspDataSkinFrameGauge>("framegauge"),
        Row<B, TspDataSkinAnimateControl>("animate"),
        Row<B, TspDataSkinUpDownControl>("updown"),
        Row<B, TspDataSkinSwitchControl>("switch"),
        Row<B, TspDataSkinGridControl>("grid"),
        Row<B, TspDataSkinTabControl>("tab"),
        Row<B, TspDataSkinMainMenuBar>("mainmenubar"),
        Row<B, TspDataSkinControlBar>("controlbar"),
        Row<B, TspDataSkinMemoControl>("memo"),
        Row<B, TspDataSkinEditControl>("edit"),
        Row<B, TspDataSkinCheckListBox>("checklistbox"),
        Row<B, TspDataSkinListBox>("listbox"),
        Row<B, TspDataSkinComboBox>("combobox"),
        Row<B, TspDataSkinScrollBarControl>("scrollbar"),
        Row<B, TspDataSkinSpinEditControl>("spinedit"),
        Row<B, TspDataSkinScrollBoxControl>("scrollbox"),
        Row<B, TspDataSkinTreeView>("treeview"),
        Row<B, TspDataSkinListView>("listview"),
        Row<B, TspDataSkinRichEdit>("richedit"),
    };
    return rows;
}

template <typename Base>
std::unique_ptr<Base> CreateFrom(const std::vector<TypeWordRow<Base>>& ARows, const std::string& AWord,
                                 const std::string& AName)
{
    for (const auto& row : ARows)
        if (AWord == row.Word) return row.Create(AName);
    return nullptr;
}

template <typename Base>
std::string WordFrom(const std::vector<TypeWordRow<Base>>& ARows, const Base& ARecord)
{
    const std::type_index exact(typeid(ARecord));
    for (const auto& row : ARows)
        if (row.Class == exact) return row.Word;
    return "";
}

template <typename Base>
std::vector<std::string> WordsOf(const std::vector<TypeWordRow<Base>>& ARows)
{
    std::vector<std::string> words;
    for (const auto& row : ARows) words.emplace_back(row.Word);
    return words;
}

}  // namespace

std::unique_ptr<TspDataSkinObject> CreateSkinObject(const std::string& ATypeWord, const std::string& AIDName)
{
    return CreateFrom(ObjectRows(), ATypeWord, AIDName);
}

std::unique_ptr<TspDataSkinControl> CreateSkinControl(const std::string& ATypeWord, const std::string& AIDName)
{
    return CreateFrom(ControlRows(), ATypeWord, AIDName);
}

std::string SkinObjectTypeWord(const TspDataSkinObject& ARecord) { return WordFrom(ObjectRows(), ARecord); }
std::string SkinControlTypeWord(const TspDataSkinControl& ARecord) { return WordFrom(ControlRows(), ARecord); }

const std::vector<std::string>& SkinObjectTypeWords()
{
    static const std::vector<std::string> words = WordsOf(ObjectRows());
    return words;
}

const std::vector<std::string>& SkinControlTypeWords()
{
    static const std::vector<std::string> words = WordsOf(ControlRows());
    return words;
}
