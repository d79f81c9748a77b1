#pragma once
// The caption buttons of a maximized MDI child on its parent's main-menu bar: the child's system-menu button at
// the left end of the items, its minimize, restore and close buttons at the right end. They sit at the front of
// the bar's object list and take part in its hot tracking, capture, morphing and painting like the items; the
// parent's skinned form adds them when a child is maximized and removes them when none is left maximized.
#include "skin/core/skin_file_forms.h"
#include "skin/forms/main_menu_bar.h"
#include "skin/forms/skin_form.h"

class TspDataSkinMainMenuBarButton;

class TspSkinMainMenuBarButton : public TspMenuBarObject {
public:
    TspSkinMainMenuBarButton(TspSkinMainMenuBar* AParent, TspDataSkinMainMenuBarButton* AData);

    void Draw(TCanvas* Cnvs) override;
    void DblClick() override;
    void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
    void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void DefaultDraw(TCanvas* Cnvs);
    void DoCommand();

    bool FSkinSupport = false;
    TStdCommand Command = cmDefault;
};

// The parts of the bar that deal with the child buttons; the bar calls the last three from its build, layout and
// menu-close steps.
void MDIChildMaximize(TspSkinMainMenuBar* ABar);
void MDIChildRestore(TspSkinMainMenuBar* ABar);
void AddChildButtons(TspSkinMainMenuBar* ABar);
void DeleteChildButtons(TspSkinMainMenuBar* ABar);
// Every button enabled, except minimize without biMinimize and the system menu without biSystemMenu.
void EnableChildButtons(TspSkinMainMenuBar* ABar, TspBorderIcons ABorderIcons);
// The skinned form of the main form's first maximized MDI child; nullptr for none.
TspCorvalis* FindMaximizedMDIChild();
// The bar rebuilt its objects: the buttons come back while a child is maximized.
void RebuildChildButtons(TspSkinMainMenuBar* ABar);
// The items area loses the buttons' room: the system-menu button at its left, the others at its right.
void PlaceChildButtons(TspSkinMainMenuBar* ABar);
// The system menu opened by the button closed: the button comes up.
void ReleaseSysMenuButton(TspSkinMainMenuBar* ABar);
