#pragma once
// Caption quick buttons: a row of small image buttons at the left end of a skinned form's caption. The
// collection only holds them; the caption draws and tracks them, and the caption hit test leaves their strip out.
#include <string>

#include "platform/rtl/classes.h"

class TspCorvalis;

class TspQuickButtonItem : public TCollectionItem {
public:
    explicit TspQuickButtonItem(TCollection* ACollection);

    // From another quick button: image, hint, enabled and visible state (never its click event or state).
    void Assign(TPersistent* Source) override;

    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer Value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value) { FHint = Value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);

    TNotifyEvent OnClick;  // Sender: the caption object
    TRect ItemRect;
    bool Active = false;
    bool Down = false;

private:
    Integer FImageIndex = -1;
    std::string FHint;
    bool FEnabled = true;
    bool FVisible = true;
};

class TspQuickButtonItems : public TOwnedCollection {
public:
    explicit TspQuickButtonItems(TspCorvalis* ACVL);

    TspQuickButtonItem* Items(Integer Index) const { return static_cast<TspQuickButtonItem*>(TCollection::Items(Index)); }
    TspQuickButtonItem* Add() { return static_cast<TspQuickButtonItem*>(TCollection::Add()); }
    TspQuickButtonItem* Insert(Integer Index) { return static_cast<TspQuickButtonItem*>(TCollection::Insert(Index)); }

    TspCorvalis* CVL;

protected:
    // Any change refreshes the form's frame.
    void Update(TCollectionItem* Item) override;
};
