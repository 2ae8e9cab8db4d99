// Object lifetime: reference counts, autorelease pools, owning references and associated
// objects.

#include "TestClasses.h"

#include <gtest/gtest.h>

namespace {

class Objects : public testing::Test {
protected:
    void SetUp() override { Animal::s_deallocs = 0; }
    Class animal = testClass("Animal");
};

TEST_F(Objects, LastReleaseRunsTheDestructorAndStrongRefsOwnAndShare)
{
    Animal *cat = sim::create<Animal>(animal);
    EXPECT_EQ(objc_retainCount(cat), 1u);
    EXPECT_EQ(cat->m_name, "animal");
    {
        StrongRef<Animal> owner = StrongRef<Animal>::adopt(cat);
        StrongRef<Animal> copy = owner;
        EXPECT_EQ(objc_retainCount(cat), 2u);
        StrongRef<Animal> moved = std::move(copy);
        EXPECT_EQ(copy.get(), nullptr);
        EXPECT_EQ(objc_retainCount(cat), 2u);
        objc_retain(cat);
        owner = StrongRef<Animal>();
    }
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

TEST_F(Objects, AssociationsRetainOrAssignAndLetGoWhenReplacedClearedOrTheirOwnerGoes)
{
    Animal *owner = sim::create<Animal>(animal);
    Animal *first = sim::create<Animal>(animal);
    Animal *second = sim::create<Animal>(animal);
    Animal *weak = sim::create<Animal>(animal);
    objc_setAssociatedObject(owner, &kFriendKey, first, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
    objc_setAssociatedObject(owner, &kNoteKey, weak, OBJC_ASSOCIATION_ASSIGN);
    objc_release(first);
    EXPECT_EQ(objc_retainCount(weak), 1u);
    EXPECT_EQ(objc_getAssociatedObject(owner, &kFriendKey), first);
    EXPECT_EQ(objc_getAssociatedObject(owner, &kNoteKey), weak);
    objc_setAssociatedObject(owner, &kFriendKey, second, OBJC_ASSOCIATION_RETAIN);
    EXPECT_EQ(Animal::s_deallocs, 1) << "the replaced value is released";
    objc_setAssociatedObject(owner, &kFriendKey, nil, OBJC_ASSOCIATION_RETAIN);
    EXPECT_EQ(objc_getAssociatedObject(owner, &kFriendKey), nullptr);
    EXPECT_EQ(objc_retainCount(second), 1u) << "the cleared value is released";
    objc_setAssociatedObject(owner, &kFriendKey, second, OBJC_ASSOCIATION_RETAIN);
    objc_release(second);
    objc_release(owner);
    EXPECT_EQ(Animal::s_deallocs, 3) << "the owner and the value it held";
    objc_release(weak);
}

// As a view that hands itself to a helper while it goes away: an overridden dealloc runs
// before the root's, and retains and releases of itself inside it do not dealloc again.
TEST_F(Objects, OverriddenDeallocRunsOnceBeforeTheRootEvenIfItRetainsItself)
{
    static int entered = 0;
    Class careful = objc_allocateClassPair(animal, "KeepsSelfInDealloc", 0);
    class_addMethod(careful, "dealloc"_sel, reinterpret_cast<IMP>(+[](Animal *self, SEL) {
                        ++entered;
                        EXPECT_EQ(Animal::s_deallocs, 0);
                        EXPECT_TRUE(msg<BOOL>(self, "_isDeallocating"_sel));
                        {
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
