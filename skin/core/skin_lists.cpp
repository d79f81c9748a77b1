#include "skin/core/skin_lists.h"

#include "platform/rtl/sysutils.h"

TspSkinListItem::TspSkinListItem(TCollection* ACollection)
    : TCollectionItem(ACollection), FSkin(std::make_unique<TspCompressedStoredSkin>(nullptr))
{
    if (ACollection) Name = Format("spSkin%d", {Index()});
    FSkin->DesignTimeTest = [this] { return ListDesignTime(); };
}

TspSkinListItem::~TspSkinListItem() = default;

bool TspSkinListItem::ListDesignTime() const
{
    auto* items = dynamic_cast<TspSkinListItems*>(Collection());
    if (!items || !items->SkinList()) return false;
    const TComponentState state = items->SkinList()->ComponentState();
    return state.Contains(csDesigning) && !state.Contains(csLoading);
}

void TspSkinListItem::Assign(TPersistent* ASource)
{
    auto* source = dynamic_cast<TspSkinListItem*>(ASource);
    if (!source) {
        TCollectionItem::Assign(ASource);
        return;
    }
    Description = source->Description;
    Name = source->Name;
    FSkin->Description = source->FSkin->Description;
    FSkin->FCompressedStream->Clear();
    source->FSkin->FCompressedStream->SaveToStream(FSkin->FCompressedStream.get());
    // The names are copied as names: no design-time rebuild from the paths.
    auto design = std::move(FSkin->DesignTimeTest);
    FSkin->DesignTimeTest = [] { return false; };
    FSkin->SetFileName(source->FileName());
    FSkin->SetCompressedFileName(source->CompressedFileName());
    FSkin->DesignTimeTest = std::move(design);
}

TspSkinListItems::TspSkinListItems(TspCompressedSkinList* ASkinList)
    : TCollection(CollectionItemClass<TspSkinListItem>()), FSkinList(ASkinList)
{
}

TPersistent* TspSkinListItems::GetOwner() { return FSkinList; }

// Items made by the collection join it only after they are built; they take their index name here.
void TspSkinListItems::Added(TCollectionItem* AItem)
{
    auto* item = static_cast<TspSkinListItem*>(AItem);
    if (item->Name.empty()) item->Name = Format("spSkin%d", {AItem->Index()});
}

TspCompressedSkinList::TspCompressedSkinList(TComponent* AOwner)
    : TComponent(AOwner), FSkins(std::make_unique<TspSkinListItems>(this))
{
}

TspCompressedSkinList::~TspCompressedSkinList() = default;
