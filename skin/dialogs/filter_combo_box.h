#pragma once
// The file-type chooser: a skinned combo box that turns a filter text "description|mask|description|mask..."
// into a list of descriptions and answers the mask of the chosen one, handing each newly chosen mask to a linked
// file list box.
#include <memory>
#include <string>

#include "platform/rtl/strings.h"
#include "skin/controls/combo_box.h"

class TspSkinFileListBox;

inline constexpr const char* kAllFilesFilter = "All files (*.*)|*.*";

class TspSkinFilterComboBox : public TspSkinCustomComboBox {
public:
    explicit TspSkinFilterComboBox(TComponent* AOwner);
    ~TspSkinFilterComboBox() override;

    const std::string& Filter() const { return FFilter; }
    // A text that differs only in letter case is ignored.
    void SetFilter(const std::string& AValue);
    TspSkinFileListBox* FileList() const { return FFileList; }
    void SetFileList(TspSkinFileListBox* AValue);
    // The mask of the chosen item; with none chosen the last item is chosen first; "*.*" for an empty list.
    std::string GetMask();
    // One mask per item, in item order.
    const TStringList& MaskList() const { return *FMaskList; }

    void SelectionChanged() override;

protected:
    void CreateWnd() override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    friend class TspSkinFileListBox;
    void ParseFilter();

    std::string FFilter;
    TspSkinFileListBox* FFileList = nullptr;
    std::unique_ptr<TStringList> FMaskList;
};
