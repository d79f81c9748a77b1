#pragma once
// The skinned notebook: a panel holding pages of which exactly one is shown, filling it. Pages are reached by
// index, by caption or through a string list of their captions that creates, deletes, renames and exchanges
// pages. In buttons mode a column of page buttons stands above and below the page shown: the buttons of the
// pages up to it at the top, those after it at the bottom.
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/strings.h"
#include "skin/controls/page.h"
#include "skin/controls/page_button.h"
#include "skin/controls/panel.h"

class TspSkinNotebook;

// The notebook's pages as a string list of their captions; the objects are the pages.
class TspPageAccess : public TStrings {
public:
    explicit TspPageAccess(TspSkinNotebook* ANotebook) : FNotebook(ANotebook) {}

    Integer Count() const override;
    std::string Strings(Integer AIndex) const override;
    void SetStrings(Integer AIndex, const std::string& S) override;
    TObject* Objects(Integer AIndex) const override;
    // A new page becomes the one shown.
    Integer Add(const std::string& S) override;
    void Insert(Integer AIndex, const std::string& S) override;
    // The first page is shown afterwards (none when no page is left).
    void Delete(Integer AIndex) override;
    void Clear() override;
    // Exchanges the two pages; the page shown stays shown.
    void Move(Integer ACurIndex, Integer ANewIndex) override;

private:
    void CheckIndex(Integer AIndex) const;

    TspSkinNotebook* FNotebook;
};

class TspSkinNotebook : public TspSkinPanel {
public:
    explicit TspSkinNotebook(TComponent* AOwner);
    ~TspSkinNotebook() override;

    Integer PageIndex() const { return FPageIndex; }
    // Negative, too large or unchanged values are ignored.
    void SetPageIndex(Integer AValue);
    // The caption of the page shown; raises the list index error while no page is shown.
    std::string ActivePage() const;
    // Shows the first page with that caption; an unknown caption changes nothing.
    void SetActivePage(const std::string& AValue);
    TStrings* Pages() const { return FAccess.get(); }
    // One page per line, each becoming the one shown as it is added.
    void SetPages(TStrings* AValue);
    Integer PageCount() const { return static_cast<Integer>(FPageList.size()); }
    TspSkinPage* Page(Integer AIndex) const { return FPageList[static_cast<size_t>(AIndex)]; }
    bool ButtonsMode() const { return FButtonsMode; }
    void SetButtonsMode(bool AValue);
    const std::string& ButtonSkinDataName() const { return FButtonSkinDataName; }
    void SetButtonSkinDataName(const std::string& AValue) { FButtonSkinDataName = AValue; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* AValue);
    Integer ButtonCount() const { return static_cast<Integer>(FButtons.size()); }
    TspPageButton* Button(Integer AIndex) const { return FButtons[static_cast<size_t>(AIndex)]; }
    // Every button of the page takes the caption and the page's image again.
    void UpdateButton(Integer APageIndex, const std::string& ACaption);

    TNotifyEvent OnPageChanged;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    friend class TspPageAccess;
    TspSkinPage* NewPage(const std::string& ACaption);
    TspSkinPage* ShownPage() const { return FPageIndex >= 0 && FPageIndex < PageCount() ? Page(FPageIndex) : nullptr; }
    // Shows page AIndex alone (none for -1) whatever the current index is.
    void ForceShowPage(Integer AIndex);
    void PageChanged();
    void ShowPage(TspSkinPage* APage);
    void RebuildButtons();
    void FreeButtons();
    // The buttons up to the page shown at the top, the others at the bottom, each stack in page order.
    void ArrangeButtons();
    void ShowButtonImage(TspPageButton* AButton, Integer APageIndex);

    Integer FPageIndex = -1;
    std::vector<TspSkinPage*> FPageList;  // owned as components
    std::unique_ptr<TspPageAccess> FAccess;
    bool FButtonsMode = false;
    std::string FButtonSkinDataName = "toolbutton";
    TCustomImageList* FImages = nullptr;
    std::vector<TspPageButton*> FButtons;  // owned as components
};
