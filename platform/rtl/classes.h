#pragma once
// The persistent object, the component with its ownership and notifications, the pointer list and collections.
#include "platform/rtl/exceptions.h"
#include "platform/rtl/object.h"
#include "platform/rtl/set.h"
#include "platform/rtl/types.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The class name an error message shows for an object ("nil" for none).
std::string ClassNameOf(const TObject* AObject);

// ---- TPersistent -----------------------------------------------------------------------------------------------

class TPersistent : public TObject {
public:
    // Copies ASource into this object; the default asks ASource to AssignTo this, and raises EConvertError
    // "Cannot assign a X to a Y" when neither side knows the other.
    virtual void Assign(TPersistent* ASource);
    std::string ClassName() const { return ClassNameOf(this); }
    virtual std::string GetNamePath();

protected:
    virtual void AssignTo(TPersistent* ADest);
    virtual TPersistent* GetOwner() { return nullptr; }
    [[noreturn]] void AssignError(TPersistent* ASource);
};

// ---- TComponent ------------------------------------------------------------------------------------------------

enum TOperation { opInsert, opRemove };
// Horizontal text alignment, shared by the controls and the skin records.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TComponentStateItem {
    csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating, csFixups,
    csFreeNotification, csInline, csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;

// A component owns the components created with it as owner and deletes them, last created first, when it goes.
// Others that asked for FreeNotification hear opRemove before it is gone. A derived class whose members must
// outlive its owned components calls DestroyComponents() in its own destructor.
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    // Raises EComponentError for a name that is not an identifier or is taken within the owner.
    virtual void SetName(const std::string& ANewName);
    intptr_t Tag() const { return FTag; }
    void SetTag(intptr_t AValue) { FTag = AValue; }

    Integer ComponentCount() const { return static_cast<Integer>(FComponents.size()); }
    TComponent* Components(Integer AIndex) const;
    Integer ComponentIndex() const;
    // Case-insensitive search among the owned components.
    TComponent* FindComponent(const std::string& AName) const;
    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    void DestroyComponents();

    // Marks this component and its owned ones csDestroying before any destructor runs, then deletes it; a plain
    // delete sets the flag only once the derived destructors are done.
    void Free();

    TComponentState ComponentState() const { return FComponentState; }
    // Marks this component and its owned ones as going; nothing else happens until they are deleted.
    void Destroying();
    void SetDesigning(bool AValue, bool ASetChildren = true);
    // csLoading while properties are being restored; clearing it calls Loaded().
    void SetLoading(bool AValue);
    virtual void Loaded();

    // AComponent is told (opRemove) when this component is deleted, and the other way round.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

protected:
    // Told about every component inserted into or removed from this one's owned list (and passed down to the
    // owned components), and about the deletion of every component this one asked to hear about.
    virtual void Notification(TComponent* AComponent, TOperation AOperation);
    TPersistent* GetOwner() override { return FOwner; }

private:
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    void DropFreeNotify(TComponent* AComponent);

    TComponent* FOwner = nullptr;
    std::string FName;
    intptr_t FTag = 0;
    TComponentState FComponentState;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
};

// ---- TList -----------------------------------------------------------------------------------------------------

enum TListNotification { lnAdded, lnExtracted, lnDeleted };
using TListSortCompare = std::function<Integer(void* AItem1, void* AItem2)>;

// A list of untyped pointers; it owns nothing. Index errors raise EListError "List index out of bounds (%d)".
class TList : public TObject {
public:
    TList() = default;
    ~TList() override;
    TList(const TList&) = delete;
    TList& operator=(const TList&) = delete;

    Integer Add(void* AItem);
    void Insert(Integer AIndex, void* AItem);
    void Delete(Integer AIndex);
    Integer Remove(void* AItem);  // index it had, -1 when absent
    void* Extract(void* AItem);   // removes without the lnDeleted notification
    Integer IndexOf(void* AItem) const;
    void Clear();
    void Exchange(Integer AIndex1, Integer AIndex2);
    void Move(Integer ACurIndex, Integer ANewIndex);
    void Pack();  // drops nil entries
    void Sort(const TListSortCompare& ACompare);
    void* First() const;
    void* Last() const;

    Integer Count() const { return static_cast<Integer>(FList.size()); }
    void SetCount(Integer ANewCount);
    Integer Capacity() const { return static_cast<Integer>(FList.capacity()); }
    void SetCapacity(Integer ANewCapacity);
    void* Items(Integer AIndex) const;
    void SetItems(Integer AIndex, void* AItem);
    void** List() { return FList.data(); }

protected:
    virtual void Notify(void* /*APtr*/, TListNotification /*AAction*/) {}
    [[noreturn]] static void Error(Integer AIndex);

private:
    std::vector<void*> FList;
};

// A list of objects that deletes them when they leave it, while OwnsObjects is on.
class TObjectList : public TList {
public:
    explicit TObjectList(bool AOwnsObjects = true) : FOwnsObjects(AOwnsObjects) {}
    ~TObjectList() override;

    Integer Add(TObject* AObject) { return TList::Add(AObject); }
    TObject* Items(Integer AIndex) const { return static_cast<TObject*>(TList::Items(AIndex)); }
    Integer IndexOf(TObject* AObject) const { return TList::IndexOf(AObject); }
    Integer Remove(TObject* AObject) { return TList::Remove(AObject); }
    bool OwnsObjects() const { return FOwnsObjects; }
    void SetOwnsObjects(bool AValue) { FOwnsObjects = AValue; }

protected:
    void Notify(void* APtr, TListNotification AAction) override;

private:
    bool FOwnsObjects;
};

// ---- TCollection -----------------------------------------------------------------------------------------------

class TCollection;

class TCollectionItem : public TPersistent {
public:
    // With a collection the item adds itself to it, as the class library's constructor does.
    explicit TCollectionItem(TCollection* ACollection);
    ~TCollectionItem() override;

    TCollection* Collection() const { return FCollection; }
    void SetCollection(TCollection* AValue);
    Integer ID() const { return FID; }
    Integer Index() const;
    virtual void SetIndex(Integer AValue);
    virtual std::string GetDisplayName();
    std::string DisplayName() { return GetDisplayName(); }
    std::string GetNamePath() override;

protected:
    // Tells the collection: one item changed, or (AAllItems) the whole collection.
    void Changed(bool AAllItems);
    TPersistent* GetOwner() override;

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    Integer FID = 0;
};

// Creates an empty item of the collection's class, not yet in any collection.
using TCollectionItemClass = std::function<TCollectionItem*()>;
template <typename TItem>
TCollectionItemClass CollectionItemClass()
{
    return [] { return new TItem(nullptr); };
}

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

// Owns its items; Update is called after each change, or once at the outermost EndUpdate.
class TCollection : public TPersistent {
public:
    explicit TCollection(TCollectionItemClass AItemClass);
    ~TCollection() override;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;

    TCollectionItem* Add();
    TCollectionItem* Insert(Integer AIndex);
    void Delete(Integer AIndex);
    void Clear();
    TCollectionItem* Items(Integer AIndex) const;
    void SetItems(Integer AIndex, TCollectionItem* AValue);  // assigns AValue to the item there
    Integer Count() const { return static_cast<Integer>(FItems.size()); }
    TCollectionItem* FindItemID(Integer AID) const;
    void Assign(TPersistent* ASource) override;

    virtual void BeginUpdate();
    virtual void EndUpdate();
    Integer UpdateCount() const { return FUpdateCount; }
    TPersistent* Owner() { return GetOwner(); }

protected:
    // AItem changed, or nullptr: everything changed.
    virtual void Update(TCollectionItem* /*AItem*/) {}
    virtual void Notify(TCollectionItem* /*AItem*/, TCollectionNotification /*AAction*/) {}
    virtual void Added(TCollectionItem* /*AItem*/) {}
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* AItem);
    void RemoveItem(TCollectionItem* AItem);
    void MoveItem(TCollectionItem* AItem, Integer ANewIndex);

    TCollectionItemClass FItemClass;
    std::vector<TCollectionItem*> FItems;
    Integer FUpdateCount = 0;
    Integer FNextID = 0;
};

// A collection that reports an owner (a component property's collection).
class TOwnedCollection : public TCollection {
public:
    TOwnedCollection(TPersistent* AOwner, TCollectionItemClass AItemClass)
        : TCollection(std::move(AItemClass)), FOwner(AOwner) {}

protected:
    TPersistent* GetOwner() override { return FOwner; }

private:
    TPersistent* FOwner;
};
