#pragma once
// Several stored skins in one component, each an item of a collection with its own name and description.
#include <memory>
#include <string>

#include "platform/rtl/classes.h"
#include "skin/core/stored_skin.h"

class TspCompressedSkinList;

class TspSkinListItem : public TCollectionItem {
public:
    explicit TspSkinListItem(TCollection* ACollection);
    ~TspSkinListItem() override;

    TspCompressedStoredSkin* Skin() const { return FSkin.get(); }
    // Copies the texts and the stored bytes, so that a list with items can be assigned.
    void Assign(TPersistent* ASource) override;
    std::string GetDisplayName() override { return Name; }

    std::string Description;
    std::string Name;
    const std::string& FileName() const { return FSkin->FileName(); }
    void SetFileName(const std::string& AValue) { FSkin->SetFileName(AValue); }
    const std::string& CompressedFileName() const { return FSkin->CompressedFileName(); }
    void SetCompressedFileName(const std::string& AValue) { FSkin->SetCompressedFileName(AValue); }

private:
    bool ListDesignTime() const;
    std::unique_ptr<TspCompressedStoredSkin> FSkin;
};

class TspSkinListItems : public TCollection {
public:
    explicit TspSkinListItems(TspCompressedSkinList* ASkinList);
    TspSkinListItem* Items(Integer Index) const { return static_cast<TspSkinListItem*>(TCollection::Items(Index)); }
    TspSkinListItem* Add() { return static_cast<TspSkinListItem*>(TCollection::Add()); }
    TspCompressedSkinList* SkinList() const { return FSkinList; }

protected:
    TPersistent* GetOwner() override;
    void Added(TCollectionItem* AItem) override;

private:
    TspCompressedSkinList* FSkinList;
};

class TspCompressedSkinList : public TComponent {
public:
    explicit TspCompressedSkinList(TComponent* AOwner);
    ~TspCompressedSkinList() override;
    TspSkinListItems* Skins() const { return FSkins.get(); }
    void SetSkins(TspSkinListItems* AValue) { FSkins->Assign(AValue); }

private:
    std::unique_ptr<TspSkinListItems> FSkins;
};
