#include "platform/rtl/classes.h"

#include "platform/rtl/sysutils.h"

#include <algorithm>
#include <cstdlib>
#include <cxxabi.h>
#include <typeinfo>

std::string ClassNameOf(const TObject* AObject)
{
    if (!AObject) return "nil";
    const char* mangled = typeid(*AObject).name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && demangled ? demangled : mangled;
    std::free(demangled);
    // Classes in an anonymous or named namespace show by their own name, as the class library shows them.
    size_t colon = name.rfind("::");
    return colon == std::string::npos ? name : name.substr(colon + 2);
}

// ---- TPersistent -----------------------------------------------------------------------------------------------

void TPersistent::Assign(TPersistent* ASource)
{
    if (ASource) {
        ASource->AssignTo(this);
    } else {
        AssignError(nullptr);
    }
}

void TPersistent::AssignTo(TPersistent* ADest) { ADest->AssignError(this); }

void TPersistent::AssignError(TPersistent* ASource)
{
    throw EConvertError("Cannot assign a " + ClassNameOf(ASource) + " to a " + ClassName());
}

std::string TPersistent::GetNamePath() { return ClassName(); }

// ---- TComponent ------------------------------------------------------------------------------------------------

namespace {

bool IsValidIdent(const std::string& S)
{
    if (S.empty()) return false;
    auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!alpha(S[0])) return false;
    return std::all_of(S.begin(), S.end(), [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

}  // namespace

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Those that asked to hear about this component's end hear it first.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        other->DropFreeNotify(this);
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::SetName(const std::string& ANewName)
{
    if (FName == ANewName) return;
    if (!ANewName.empty() && !IsValidIdent(ANewName)) {
        throw EComponentError("'" + ANewName + "' is not a valid component name");
    }
    if (FOwner && !ANewName.empty()) {
        TComponent* other = FOwner->FindComponent(ANewName);
        if (other && other != this) throw EComponentError("A component named " + ANewName + " already exists");
    }
    FName = ANewName;
}

TComponent* TComponent::Components(Integer AIndex) const
{
    if (AIndex < 0 || AIndex >= ComponentCount()) {
        throw EListError("List index out of bounds (" + IntToStr(AIndex) + ")");
    }
    return FComponents[AIndex];
}

Integer TComponent::ComponentIndex() const
{
    if (!FOwner) return -1;
    auto& list = FOwner->FComponents;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<Integer>(it - list.begin());
}

TComponent* TComponent::FindComponent(const std::string& AName) const
{
    if (AName.empty()) return nullptr;
    for (TComponent* c : FComponents) {
        if (SameText(c->FName, AName)) return c;
    }
    return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (!AComponent->FName.empty() && FindComponent(AComponent->FName)) {
        throw EComponentError("A component named " + AComponent->FName + " already exists");
    }
    if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
    Insert(AComponent);
    if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    Notification(AComponent, opRemove);
    Remove(AComponent);
}

void TComponent::DestroyComponents()
{
    // Last created first; each leaves the list before it goes, so it does not report back to this owner.
    while (!FComponents.empty()) {
        TComponent* instance = FComponents.back();
        Remove(instance);
        delete instance;
    }
}

void TComponent::Free()
{
    Destroying();
    delete this;
}

void TComponent::Destroying()
{
    if (FComponentState.Contains(csDestroying)) return;
    FComponentState.Include(csDestroying);
    for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::SetDesigning(bool AValue, bool ASetChildren)
{
    if (AValue) FComponentState.Include(csDesigning);
    else FComponentState.Exclude(csDesigning);
    if (ASetChildren) {
        for (TComponent* c : FComponents) c->SetDesigning(AValue);
    }
}

void TComponent::SetLoading(bool AValue)
{
    if (AValue) {
        FComponentState.Include(csLoading);
    } else if (FComponentState.Contains(csLoading)) {
        FComponentState.Exclude(csLoading);
        Loaded();
    }
}

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this) return;
    // Components of one owner hear about each other through the owner already.
    if (!FOwner || AComponent->FOwner != FOwner) {
        if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
            FFreeNotifies.push_back(AComponent);
            AComponent->FreeNotification(this);
        }
    }
    FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    DropFreeNotify(AComponent);
    AComponent->DropFreeNotify(this);
}

void TComponent::Notification(TComponent* AComponent, TOperation AOperation)
{
    if (AOperation == opRemove && AComponent) RemoveFreeNotification(AComponent);
    // A copy: a handler may add or remove components while we go.
    std::vector<TComponent*> owned = FComponents;
    for (TComponent* c : owned) {
        if (std::find(FComponents.begin(), FComponents.end(), c) != FComponents.end()) {
            c->Notification(AComponent, AOperation);
        }
    }
}

void TComponent::Insert(TComponent* AComponent)
{
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent)
{
    AComponent->FOwner = nullptr;
    auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
    if (it != FComponents.end()) FComponents.erase(it);
}

void TComponent::DropFreeNotify(TComponent* AComponent)
{
    auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
    if (it != FFreeNotifies.end()) FFreeNotifies.erase(it);
    if (FFreeNotifies.empty()) FComponentState.Exclude(csFreeNotification);
}

// ---- TList -----------------------------------------------------------------------------------------------------

TList::~TList() { Clear(); }

void TList::Error(Integer AIndex) { throw EListError("List index out of bounds (" + IntToStr(AIndex) + ")"); }

Integer TList::Add(void* AItem)
{
    FList.push_back(AItem);
    if (AItem) Notify(AItem, lnAdded);
    return Count() - 1;
}

void TList::Insert(Integer AIndex, void* AItem)
{
    if (AIndex < 0 || AIndex > Count()) Error(AIndex);
    FList.insert(FList.begin() + AIndex, AItem);
    if (AItem) Notify(AItem, lnAdded);
}

void TList::Delete(Integer AIndex)
{
    if (AIndex < 0 || AIndex >= Count()) Error(AIndex);
    void* item = FList[AIndex];
    FList.erase(FList.begin() + AIndex);
    if (item) Notify(item, lnDeleted);
}

Integer TList::Remove(void* AItem)
{
    Integer i = IndexOf(AItem);
    if (i >= 0) Delete(i);
    return i;
}

void* TList::Extract(void* AItem)
{
    Integer i = IndexOf(AItem);
    if (i < 0) return nullptr;
    FList.erase(FList.begin() + i);
    Notify(AItem, lnExtracted);
    return AItem;
}

Integer TList::IndexOf(void* AItem) const
{
    auto it = std::find(FList.begin(), FList.end(), AItem);
    return it == FList.end() ? -1 : static_cast<Integer>(it - FList.begin());
}

void TList::Clear()
{
    // From the end, so that a Notify that looks at the list sees it shrink in order.
    while (!FList.empty()) Delete(Count() - 1);
    FList.shrink_to_fit();
}

void TList::Exchange(Integer AIndex1, Integer AIndex2)
{
    if (AIndex1 < 0 || AIndex1 >= Count()) Error(AIndex1);
    if (AIndex2 < 0 || AIndex2 >= Count()) Error(AIndex2);
    std::swap(FList[AIndex1], FList[AIndex2]);
}

void TList::Move(Integer ACurIndex, Integer ANewIndex)
{
    if (ACurIndex == ANewIndex) return;
    if (ACurIndex < 0 || ACurIndex >= Count()) Error(ACurIndex);
    if (ANewIndex < 0 || ANewIndex >= Count()) Error(ANewIndex);
    void* item = FList[ACurIndex];
    FList.erase(FList.begin() + ACurIndex);
    FList.insert(FList.begin() + ANewIndex, item);
}

void TList::Pack() { FList.erase(std::remove(FList.begin(), FList.end(), nullptr), FList.end()); }

void TList::Sort(const TListSortCompare& ACompare)
{
    std::stable_sort(FList.begin(), FList.end(), [&](void* a, void* b) { return ACompare(a, b) < 0; });
}

void* TList::First() const
{
    if (FList.empty()) Error(0);
    return FList.front();
}

void* TList::Last() const
{
    if (FList.empty()) Error(-1);
    return FList.back();
}

void TList::SetCount(Integer ANewCount)
{
    if (ANewCount < 0) Error(ANewCount);
    while (Count() > ANewCount) Delete(Count() - 1);
    FList.resize(ANewCount, nullptr);
}

void TList::SetCapacity(Integer ANewCapacity)
{
    if (ANewCapacity < Count()) Error(ANewCapacity);
    FList.reserve(ANewCapacity);
}

void* TList::Items(Integer AIndex) const
{
    if (AIndex < 0 || AIndex >= Count()) Error(AIndex);
    return FList[AIndex];
}

void TList::SetItems(Integer AIndex, void* AItem)
{
    if (AIndex < 0 || AIndex >= Count()) Error(AIndex);
    void* old = FList[AIndex];
    if (old == AItem) return;
    FList[AIndex] = AItem;
    if (old) Notify(old, lnDeleted);
    if (AItem) Notify(AItem, lnAdded);
}

TObjectList::~TObjectList() { Clear(); }

void TObjectList::Notify(void* APtr, TListNotification AAction)
{
    if (FOwnsObjects && AAction == lnDeleted) delete static_cast<TObject*>(APtr);
}

// ---- TCollection -----------------------------------------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* ACollection) { SetCollection(ACollection); }

TCollectionItem::~TCollectionItem()
{
    if (FCollection) FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* AValue)
{
    if (FCollection == AValue) return;
    if (FCollection) FCollection->RemoveItem(this);
    if (AValue) AValue->InsertItem(this);
}

Integer TCollectionItem::Index() const
{
    if (!FCollection) return -1;
    auto& items = FCollection->FItems;
    auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : static_cast<Integer>(it - items.begin());
}

void TCollectionItem::SetIndex(Integer AValue)
{
    if (!FCollection || AValue == Index()) return;
    FCollection->MoveItem(this, AValue);
    Changed(true);
}

std::string TCollectionItem::GetDisplayName() { return ClassName(); }

std::string TCollectionItem::GetNamePath()
{
    if (!FCollection) return ClassName();
    return FCollection->GetNamePath() + "[" + IntToStr(Index()) + "]";
}

void TCollectionItem::Changed(bool AAllItems)
{
    if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(AAllItems ? nullptr : this);
}

TPersistent* TCollectionItem::GetOwner() { return FCollection; }

TCollection::TCollection(TCollectionItemClass AItemClass) : FItemClass(std::move(AItemClass)) {}

TCollection::~TCollection()
{
    // No Update calls while going: the derived part is gone already.
    FUpdateCount = 1;
    while (!FItems.empty()) delete FItems.back();
}

TCollectionItem* TCollection::Add()
{
    TCollectionItem* item = FItemClass();
    if (item->FCollection != this) item->SetCollection(this);
    Added(item);
    return item;
}

TCollectionItem* TCollection::Insert(Integer AIndex)
{
    if (AIndex < 0 || AIndex > Count()) throw EListError("List index out of bounds (" + IntToStr(AIndex) + ")");
    TCollectionItem* item = Add();
    item->SetIndex(AIndex);
    return item;
}

void TCollection::Delete(Integer AIndex) { delete Items(AIndex); }

void TCollection::Clear()
{
    if (FItems.empty()) return;
    BeginUpdate();
    while (!FItems.empty()) delete FItems.back();
    EndUpdate();
}

TCollectionItem* TCollection::Items(Integer AIndex) const
{
    if (AIndex < 0 || AIndex >= Count()) throw EListError("List index out of bounds (" + IntToStr(AIndex) + ")");
    return FItems[AIndex];
}

void TCollection::SetItems(Integer AIndex, TCollectionItem* AValue) { Items(AIndex)->Assign(AValue); }

TCollectionItem* TCollection::FindItemID(Integer AID) const
{
    for (TCollectionItem* item : FItems) {
        if (item->FID == AID) return item;
    }
    return nullptr;
}

void TCollection::Assign(TPersistent* ASource)
{
    auto* source = dynamic_cast<TCollection*>(ASource);
    if (!source) {
        TPersistent::Assign(ASource);
        return;
    }
    if (source == this) return;
    BeginUpdate();
    try {
        Clear();
        for (TCollectionItem* item : source->FItems) Add()->Assign(item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate()
{
    if (FUpdateCount > 0) --FUpdateCount;
    Changed();
}

void TCollection::Changed()
{
    if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* AItem)
{
    FItems.push_back(AItem);
    AItem->FCollection = this;
    AItem->FID = FNextID++;
    Notify(AItem, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* AItem)
{
    Notify(AItem, cnExtracting);
    auto it = std::find(FItems.begin(), FItems.end(), AItem);
    if (it != FItems.end()) FItems.erase(it);
    AItem->FCollection = nullptr;
    Changed();
}

void TCollection::MoveItem(TCollectionItem* AItem, Integer ANewIndex)
{
    auto it = std::find(FItems.begin(), FItems.end(), AItem);
    if (it == FItems.end()) return;
    FItems.erase(it);
    ANewIndex = std::clamp(ANewIndex, 0, Count());
    FItems.insert(FItems.begin() + ANewIndex, AItem);
}
