#include "platform/rtl/classes.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using TLog = std::vector<std::string>;

// Records its own end and everything it is told, by name.
class TProbe : public TComponent {
public:
    TProbe(TComponent* AOwner, const std::string& AName, TLog& ALog) : TComponent(AOwner), FLog(ALog)
    {
        SetName(AName);
    }
    ~TProbe() override
    {
        FLog.push_back("free " + Name() + (ComponentState().Contains(csDestroying) ? " (destroying)" : ""));
    }

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override
    {
        TComponent::Notification(AComponent, AOperation);
        // A component being inserted is still in its constructor and has no name yet.
        std::string who = AComponent->Name().empty() ? "new" : AComponent->Name();
        FLog.push_back(Name() + " hears " + who + (AOperation == opInsert ? " inserted" : " removed"));
    }

private:
    TLog& FLog;
};

class TFoo : public TPersistent {};
class TBar : public TPersistent {};

}  // namespace

TEST(Component, OwnerFreesOwnedLastCreatedFirstAndNotifies)
{
    TLog log;
    auto* form = new TProbe(nullptr, "Form", log);
    auto* a = new TProbe(form, "A", log);
    new TProbe(form, "B", log);
    new TProbe(form, "C", log);
    TProbe watcher(nullptr, "Watcher", log);
    a->FreeNotification(&watcher);
    EXPECT_TRUE(a->ComponentState().Contains(csFreeNotification));
    EXPECT_EQ(log, (TLog{"Form hears new inserted", "A hears new inserted", "Form hears new inserted",
                         "A hears new inserted", "B hears new inserted", "Form hears new inserted"}));
    ASSERT_EQ(form->ComponentCount(), 3);
    EXPECT_EQ(form->Components(2)->Name(), "C");
    EXPECT_EQ(form->FindComponent("b"), form->Components(1));
    EXPECT_EQ(a->Owner(), form);

    log.clear();
    form->Free();
    EXPECT_EQ(log, (TLog{"free Form (destroying)", "free C (destroying)", "free B (destroying)",
                         "free A (destroying)", "Watcher hears A removed"}));
}

TEST(Component, RemovalIsToldToOwnerSiblingsAndFreeNotified)
{
    TLog log;
    TProbe form(nullptr, "Form", log);
    auto* a = new TProbe(&form, "A", log);
    auto* b = new TProbe(&form, "B", log);
    auto* outsider = new TProbe(nullptr, "Outsider", log);
    outsider->FreeNotification(a);

    log.clear();
    delete b;
    EXPECT_EQ(log, (TLog{"free B", "A hears B removed", "Form hears B removed"}));
    EXPECT_EQ(form.ComponentCount(), 1);

    log.clear();
    delete outsider;
    EXPECT_EQ(log, (TLog{"free Outsider", "A hears Outsider removed"}));

    // Once removed, a free notification is no longer sent either way.
    auto* other = new TProbe(nullptr, "Other", log);
    other->FreeNotification(a);
    other->RemoveFreeNotification(a);
    log.clear();
    delete other;
    EXPECT_EQ(log, (TLog{"free Other"}));
}

TEST(Component, NamesAreIdentifiersUniqueWithinTheOwner)
{
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    a->SetName("Button1");
    EXPECT_THROW(b->SetName("BUTTON1"), EComponentError);
    EXPECT_THROW(b->SetName("1Button"), EComponentError);
    EXPECT_THROW(b->SetName("Bad Name"), EComponentError);
    b->SetName("Button2");
    EXPECT_EQ(owner.FindComponent("button2"), b);
    EXPECT_EQ(owner.FindComponent(""), nullptr);

    // Designing passes down; loading ends with Loaded.
    owner.SetDesigning(true);
    EXPECT_TRUE(a->ComponentState().Contains(csDesigning));
    owner.SetLoading(true);
    EXPECT_TRUE(owner.ComponentState().Contains(csLoading));
    owner.SetLoading(false);
    EXPECT_FALSE(owner.ComponentState().Contains(csLoading));
}

TEST(Persistent, AssignWithoutACommonFormRaises)
{
    TFoo foo;
    TBar bar;
    try {
        foo.Assign(&bar);
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TBar to a TFoo");
    }
    try {
        foo.Assign(nullptr);
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a nil to a TFoo");
    }
}

TEST(List, EditingAndIndexErrors)
{
    int v[5] = {0, 1, 2, 3, 4};
    TList list;
    for (int i = 0; i < 4; ++i) list.Add(&v[i]);
    list.Insert(0, &v[4]);  // 4 0 1 2 3
    list.Exchange(1, 2);    // 4 1 0 2 3
    list.Move(0, 4);        // 1 0 2 3 4
    list.Delete(1);         // 1 2 3 4
    EXPECT_EQ(list.Remove(&v[3]), 2);  // 1 2 4
    EXPECT_EQ(list.Remove(&v[3]), -1);
    std::vector<int> seen;
    for (Integer i = 0; i < list.Count(); ++i) seen.push_back(*static_cast<int*>(list.Items(i)));
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 4}));

    list.Sort([](void* x, void* y) { return *static_cast<int*>(y) - *static_cast<int*>(x); });
    EXPECT_EQ(list.First(), &v[4]);
    EXPECT_EQ(list.IndexOf(&v[1]), 2);

    for (Integer bad : {-1, 3}) {
        try {
            list.Items(bad);
            ADD_FAILURE();
        } catch (const EListError& e) {
            EXPECT_EQ(std::string(e.what()), "List index out of bounds (" + std::to_string(bad) + ")");
        }
    }
    EXPECT_THROW(list.Insert(5, nullptr), EListError);
    EXPECT_THROW(list.Delete(3), EListError);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(List, ObjectListFreesWhatItOwns)
{
    struct TCounted : TObject {
        explicit TCounted(int& ACount) : FCount(ACount) { ++FCount; }
        ~TCounted() override { --FCount; }
        int& FCount;
    };
    int alive = 0;
    {
        TObjectList list;
        for (int i = 0; i < 3; ++i) list.Add(new TCounted(alive));
        list.Delete(0);
        EXPECT_EQ(alive, 2);
        auto* kept = static_cast<TCounted*>(list.Extract(list.Items(0)));
        EXPECT_EQ(alive, 2);
        delete kept;
    }
    EXPECT_EQ(alive, 0);
}

namespace {

class TColourItem : public TCollectionItem {
public:
    explicit TColourItem(TCollection* ACollection) : TCollectionItem(ACollection) {}
    void Assign(TPersistent* ASource) override
    {
        if (auto* other = dynamic_cast<TColourItem*>(ASource)) {
            Colour = other->Colour;
            return;
        }
        TCollectionItem::Assign(ASource);
    }
    std::string Colour;
};

class TPlainItem : public TCollectionItem {
public:
    explicit TPlainItem(TCollection* ACollection) : TCollectionItem(ACollection) {}
};

class TCountingCollection : public TCollection {
public:
    using TCollection::TCollection;
    int Updates = 0;

protected:
    void Update(TCollectionItem*) override { ++Updates; }
};

}  // namespace

TEST(Collection, ItemsKeepIdsAcrossInsertDeleteAndUpdatesBatch)
{
    TCountingCollection colours(CollectionItemClass<TColourItem>());
    for (const char* c : {"red", "green", "blue"}) static_cast<TColourItem*>(colours.Add())->Colour = c;
    auto* first = static_cast<TColourItem*>(colours.Insert(0));
    first->Colour = "black";
    colours.Delete(2);  // green
    std::vector<std::string> seen;
    for (Integer i = 0; i < colours.Count(); ++i) {
        auto* item = static_cast<TColourItem*>(colours.Items(i));
        seen.push_back(item->Colour + "#" + std::to_string(item->ID()) + "@" + std::to_string(item->Index()));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"black#3@0", "red#0@1", "blue#2@2"}));
    EXPECT_EQ(colours.FindItemID(2), colours.Items(2));
    EXPECT_THROW(colours.Items(3), EListError);

    colours.Updates = 0;
    colours.BeginUpdate();
    colours.Add();
    colours.Add();
    colours.Delete(0);
    EXPECT_EQ(colours.Updates, 0);
    colours.EndUpdate();
    EXPECT_EQ(colours.Updates, 1);

    // An item deleted on its own leaves the collection.
    delete colours.Items(0);
    EXPECT_EQ(colours.Count(), 3);
}

TEST(Collection, AssignCopiesItemsThroughTheirOwnAssign)
{
    TCollection source(CollectionItemClass<TColourItem>());
    for (const char* c : {"red", "blue"}) static_cast<TColourItem*>(source.Add())->Colour = c;
    TCollection copy(CollectionItemClass<TColourItem>());
    copy.Add();
    copy.Assign(&source);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(static_cast<TColourItem*>(copy.Items(1))->Colour, "blue");

    TCollection plain(CollectionItemClass<TPlainItem>());
    plain.Add();
    TCollection target(CollectionItemClass<TPlainItem>());
    EXPECT_THROW(target.Assign(&plain), EConvertError);
}
