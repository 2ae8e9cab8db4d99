// Object lifetime: reference counts, autorelease pools, owning references and associated
// objects.

#include "TestClasses.h"

#include <gtest/gtest.h>

namespace {

class Objects : public testing::Test {
protected:
    void SetUp() override
    {
        registerTestClasses();
        Animal::s_deallocs = 0;
    }
    Class animal = objc_getClass("Animal");
};

TEST_F(Objects, LastReleaseRunsTheDestructor)
{
    Animal *cat = sim::create<Animal>(animal);
    EXPECT_EQ(objc_retainCount(cat), 1u);
    EXPECT_EQ(cat->m_name, "animal");
    objc_retain(cat);
    EXPECT_EQ(objc_retainCount(cat), 2u);
    objc_release(cat);
    EXPECT_EQ(Animal::s_deallocs, 0);
    msg<void>(cat, "release"_sel);
    EXPECT_EQ(Animal::s_deallocs, 1);
}

TEST_F(Objects, AutoreleasedObjectsLiveUntilTheirPoolEnds)
{
    {
        AutoreleasePool outer;
        sim::make(animal);
        {
            AutoreleasePool inner;
            sim::make(animal);
            sim::make(animal);
        }
        EXPECT_EQ(Animal::s_deallocs, 2);
    }
    EXPECT_EQ(Animal::s_deallocs, 3);
}

TEST_F(Objects, StrongRefOwnsAndShares)
{
    {
        StrongRef<Animal> owner = StrongRef<Animal>::adopt(sim::create<Animal>(animal));
        EXPECT_EQ(objc_retainCount(owner), 1u);
        StrongRef<Animal> copy = owner;
        EXPECT_EQ(objc_retainCount(owner), 2u);
        StrongRef<Animal> moved = std::move(copy);
        EXPECT_EQ(copy.get(), nullptr);
        EXPECT_EQ(objc_retainCount(owner), 2u);
        owner = StrongRef<Animal>();
        EXPECT_EQ(Animal::s_deallocs, 0);
    }
    EXPECT_EQ(Animal::s_deallocs, 1);
}

TEST_F(Objects, ClassObjectsIgnoreReferenceCounting)
{
    objc_release(animal);
    objc_release(animal);
    objc_autorelease(animal);
    EXPECT_EQ(objc_getClass("Animal"), animal);
    EXPECT_EQ(msg<int>(animal, "kingdomSizeTimes:"_sel, 1), 1000);
}

const char kFriendKey = 0;
const char kNoteKey = 0;

TEST_F(Objects, RetainedAssociationsLiveAsLongAsTheirOwner)
{
    Animal *owner = sim::create<Animal>(animal);
    Animal *buddy = sim::create<Animal>(animal);
    objc_setAssociatedObject(owner, &kFriendKey, buddy, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
    objc_release(buddy);
    EXPECT_EQ(Animal::s_deallocs, 0);
    EXPECT_EQ(objc_getAssociatedObject(owner, &kFriendKey), buddy);
    EXPECT_EQ(objc_getAssociatedObject(owner, &kNoteKey), nullptr);
    objc_release(owner);
    EXPECT_EQ(Animal::s_deallocs, 2);
}

TEST_F(Objects, ReplacingOrClearingAnAssociationReleasesTheOldValue)
{
    StrongRef<Animal> owner = StrongRef<Animal>::adopt(sim::create<Animal>(animal));
    Animal *first = sim::create<Animal>(animal);
    objc_setAssociatedObject(owner, &kFriendKey, first, OBJC_ASSOCIATION_RETAIN);
    objc_release(first);
    Animal *second = sim::create<Animal>(animal);
    objc_setAssociatedObject(owner, &kFriendKey, second, OBJC_ASSOCIATION_RETAIN);
    EXPECT_EQ(Animal::s_deallocs, 1);
    objc_setAssociatedObject(owner, &kFriendKey, nil, OBJC_ASSOCIATION_RETAIN);
    EXPECT_EQ(objc_getAssociatedObject(owner, &kFriendKey), nullptr);
    EXPECT_EQ(objc_retainCount(second), 1u);
    objc_release(second);
}

TEST_F(Objects, AssignedAssociationsDoNotRetain)
{
    StrongRef<Animal> owner = StrongRef<Animal>::adopt(sim::create<Animal>(animal));
    Animal *weak = sim::create<Animal>(animal);
    objc_setAssociatedObject(owner, &kNoteKey, weak, OBJC_ASSOCIATION_ASSIGN);
    EXPECT_EQ(objc_retainCount(weak), 1u);
    objc_setAssociatedObject(owner, &kNoteKey, nil, OBJC_ASSOCIATION_ASSIGN);
    objc_release(weak);
    EXPECT_EQ(Animal::s_deallocs, 1);
}

TEST_F(Objects, OverriddenDeallocRunsBeforeTheRoot)
{
    static int order = 0;
    static int subclassSaw = 0;
    Class tracked = objc_allocateClassPair(animal, "TrackedDealloc", 0);
    class_addMethod(tracked, "dealloc"_sel, reinterpret_cast<IMP>(+[](Animal *self, SEL) {
                        subclassSaw = ++order;
                        msgSuper<void>(objc_getClass("TrackedDealloc"), self, "dealloc"_sel);
                    }),
                    "v@:");
    objc_registerClassPair(tracked);
    objc_release(sim::create(tracked));
    EXPECT_EQ(subclassSaw, 1);
    EXPECT_EQ(Animal::s_deallocs, 1);
}

TEST_F(Objects, RetainAndReleaseOfSelfDuringDeallocDoNotDeallocAgain)
{
    static int entered = 0;
    Class careful = objc_allocateClassPair(animal, "KeepsSelfInDealloc", 0);
    class_addMethod(careful, "dealloc"_sel, reinterpret_cast<IMP>(+[](Animal *self, SEL) {
                        ++entered;
                        EXPECT_TRUE(msg<BOOL>(self, "_isDeallocating"_sel));
                        {
                            // As a view that hands itself to a helper while it goes away.
                            StrongRef<Animal> keep(self);
                            msg<void>(msg<id>(self, "retain"_sel), "release"_sel);
                        }
                        msgSuper<void>(objc_getClass("KeepsSelfInDealloc"), self, "dealloc"_sel);
                    }),
                    "v@:");
    objc_registerClassPair(careful);
    objc_release(sim::create(careful));
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(Animal::s_deallocs, 1);
}

} // namespace
