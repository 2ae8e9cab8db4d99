// Classes, methods and their replacement: what a method-replacing extension relies on.

#include "TestClasses.h"

#include "objc/RuntimeMemory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

class Classes : public testing::Test {
protected:
    Class animal = testClass("Animal");
    Class dog = testClass("Dog");
};

const char *replacedSound(Animal *, SEL)
{
    return "replaced";
}

const char *otherSound(Animal *, SEL)
{
    return "other";
}

TEST_F(Classes, RegistryAnswersClassesTheirChainMethodsAndProtocols)
{
    ASSERT_NE(animal, nullptr);
    EXPECT_EQ(class_getSuperclass(dog), animal);
    EXPECT_EQ(class_getSuperclass(animal), objc_getClass("NSObject"));
    EXPECT_EQ(class_getSuperclass(objc_getClass("NSObject")), nullptr);
    EXPECT_STREQ(class_getName(dog), "Dog");
    EXPECT_EQ(objc_getClass("NoSuchClass"), nullptr);
    EXPECT_EQ(objc_getClass(nullptr), nullptr);
    EXPECT_TRUE(class_isMetaClass(object_getClass(dog)));
    EXPECT_EQ(class_getSuperclass(object_getClass(dog)), object_getClass(animal));
    // The root metaclass inherits from the root class.
    Class rootMeta = object_getClass(objc_getClass("NSObject"));
    EXPECT_EQ(class_getSuperclass(rootMeta), objc_getClass("NSObject"));
    EXPECT_EQ(objc_allocateClassPair(animal, "Dog", 0), nullptr) << "the name is taken";

    EXPECT_EQ(class_getInstanceMethod(animal, "kingdomSizeTimes:"_sel), nullptr);
    EXPECT_NE(class_getClassMethod(animal, "kingdomSizeTimes:"_sel), nullptr);
    EXPECT_EQ(msg<int>(dog, "kingdomSizeTimes:"_sel, 3), 3000); // inherited by the metaclass
    EXPECT_TRUE(msg<BOOL>(dog, "respondsToSelector:"_sel, "kingdomSizeTimes:"_sel));
    EXPECT_FALSE(msg<BOOL>(dog, "respondsToSelector:"_sel, "legs"_sel));
    EXPECT_TRUE(msg<BOOL>(dog, "instancesRespondToSelector:"_sel, "legs"_sel));
    EXPECT_FALSE(msg<BOOL>(dog, "instancesRespondToSelector:"_sel, "kingdomSizeTimes:"_sel));

    // Missing methods answer null or the forwarder.
    EXPECT_EQ(class_getInstanceMethod(animal, "fly"_sel), nullptr);
    EXPECT_EQ(class_getMethodImplementation(animal, "fly"_sel),
              reinterpret_cast<IMP>(_objc_msgForward));
    EXPECT_EQ(class_getInstanceMethod(nullptr, "legs"_sel), nullptr);
    EXPECT_EQ(method_getImplementation(nullptr), nullptr);
    EXPECT_EQ(method_setImplementation(nullptr, reinterpret_cast<IMP>(otherSound)), nullptr);
    EXPECT_FALSE(class_addMethod(nullptr, "x"_sel, reinterpret_cast<IMP>(otherSound), "v@:"));

    // Protocol conformance is inherited.
    Protocol *walking = objc_getProtocol("Walking");
    ASSERT_NE(walking, nullptr);
    EXPECT_TRUE(class_conformsToProtocol(dog, walking));
    EXPECT_TRUE(msg<BOOL>(sim::make(dog), "conformsToProtocol:"_sel, walking));
    EXPECT_FALSE(class_conformsToProtocol(objc_getClass("NSObject"), walking));
    EXPECT_EQ(objc_getProtocol("Swimming"), nullptr);
    EXPECT_EQ(objc_allocateProtocol("Walking"), nullptr);
}

TEST_F(Classes, TypeEncodingsComeFromTheSignature)
{
    EXPECT_STREQ(method_getTypeEncoding(class_getInstanceMethod(animal, "legs"_sel)), "i@:");
    EXPECT_STREQ(method_getTypeEncoding(class_getClassMethod(animal, "kingdomSizeTimes:"_sel)),
                 "i@:i");
    EXPECT_STREQ(method_getTypeEncoding(class_getInstanceMethod(animal, "isKindOfClass:"_sel)),
                 "B@:#");
    EXPECT_EQ((sim::encodeSignature<void, NSUInteger, double, SEL, id>()), "v@:Qd:@");
    EXPECT_EQ((sim::encodeSignature<void, std::function<void(bool)>>()), "v@:@?<vB>");
    // An owning reference reads as the object it holds.
    EXPECT_EQ((sim::encodeSignature<StrongRef<Animal>, StrongRef<objc_object>>()), "@@:@");
}

// Every send first fills the caches, so an added method must reach them.
TEST_F(Classes, AddedMethodsReachWarmCachesOfTheirClassAndItsSubclassesOnly)
{
    Class cat = registeredSubclass(animal, "CatForAdding");
    Class kitten = registeredSubclass(cat, "KittenForAdding");
    id kitty = sim::make(cat);
    id young = sim::make(kitten);
    id plain = sim::make(animal);
    for (id object : {kitty, young, plain}) {
        EXPECT_STREQ(msg<const char *>(object, "sound"_sel), "...");
        EXPECT_FALSE(msg<BOOL>(object, "respondsToSelector:"_sel, "purr"_sel));
    }
    EXPECT_TRUE(class_addMethod(cat, "sound"_sel, reinterpret_cast<IMP>(otherSound), "*@:"));
    EXPECT_TRUE(class_addMethod(cat, "purr"_sel, reinterpret_cast<IMP>(otherSound), "*@:"));
    EXPECT_STREQ(msg<const char *>(kitty, "sound"_sel), "other");
    EXPECT_STREQ(msg<const char *>(young, "purr"_sel), "other");
    EXPECT_STREQ(msg<const char *>(plain, "sound"_sel), "...");
    EXPECT_FALSE(msg<BOOL>(plain, "respondsToSelector:"_sel, "purr"_sel));
    // An own method cannot be added twice; replacing answers the previous one.
    EXPECT_FALSE(class_addMethod(cat, "sound"_sel, reinterpret_cast<IMP>(replacedSound), "*@:"));
    EXPECT_STREQ(msg<const char *>(kitty, "sound"_sel), "other");
    EXPECT_EQ(class_replaceMethod(kitten, "sound"_sel, reinterpret_cast<IMP>(replacedSound), "*@:"),
              nullptr);
    EXPECT_EQ(class_replaceMethod(cat, "sound"_sel, reinterpret_cast<IMP>(replacedSound), "*@:"),
              reinterpret_cast<IMP>(otherSound));
    EXPECT_STREQ(msg<const char *>(kitty, "sound"_sel), "replaced");
}

TEST_F(Classes, ReplacingAnInheritedImplementationReachesSubclassesWithWarmCaches)
{
    Class puppy = registeredSubclass(dog, "PuppyForReplacing");
    id pup = sim::make(puppy);
    EXPECT_EQ(msg<int>(pup, "legs"_sel), 4); // cached now, uncached before
    EXPECT_EQ(msg<int>(pup, "legs"_sel), 4);

    Method legs = class_getInstanceMethod(puppy, "legs"_sel);
    EXPECT_EQ(legs, class_getInstanceMethod(animal, "legs"_sel)); // the inherited method itself
    IMP original =
        method_setImplementation(legs, reinterpret_cast<IMP>(+[](Animal *, SEL) { return 3; }));
    EXPECT_EQ(original, reinterpret_cast<IMP>(animalLegs));
    EXPECT_EQ(msg<int>(pup, "legs"_sel), 3);
    EXPECT_EQ(msg<int>(sim::make(animal), "legs"_sel), 3);

    method_setImplementation(legs, original);
    EXPECT_EQ(msg<int>(pup, "legs"_sel), 4);
}

TEST_F(Classes, InstanceVariablesHaveRealOffsetsAndGrowUnregisteredClassesOnly)
{
    auto *rex = sim::make<Dog>(dog);
    rex->m_legs = 3;
    rex->m_weight = 12.5;
    Ivar legs = class_getInstanceVariable(dog, "_legs"); // inherited
    ASSERT_NE(legs, nullptr);
    EXPECT_STREQ(ivar_getTypeEncoding(legs), "i");
    EXPECT_EQ(*reinterpret_cast<int *>(reinterpret_cast<char *>(rex) + ivar_getOffset(legs)), 3);
    Ivar weight = class_getInstanceVariable(dog, "_weight");
    EXPECT_STREQ(ivar_getTypeEncoding(weight), "d");
    EXPECT_EQ(*reinterpret_cast<double *>(reinterpret_cast<char *>(rex) + ivar_getOffset(weight)),
              12.5);

    Ivar buddy = class_getInstanceVariable(dog, "_friend");
    id other = sim::make(animal);
    object_setIvar(rex, buddy, other);
    EXPECT_EQ(rex->m_friend, other);
    EXPECT_EQ(object_getIvar(rex, buddy), other);

    EXPECT_EQ(class_getInstanceVariable(animal, "_friend"), nullptr);
    EXPECT_EQ(class_getInstanceVariable(dog, "_missing"), nullptr);
    EXPECT_EQ(object_getIvar(rex, nullptr), nullptr);

    // Added instance variables grow unregistered classes only.
    Class horse = objc_allocateClassPair(animal, "HorseWithIvar", 0);
    size_t before = class_getInstanceSize(horse);
    EXPECT_TRUE(class_addIvar(horse, "_saddle", sizeof(id), 3, "@"));
    EXPECT_GE(class_getInstanceSize(horse), before + sizeof(id));
    objc_registerClassPair(horse);
    EXPECT_FALSE(class_addIvar(horse, "_late", 4, 2, "i"));

    id horseObject = sim::make(horse);
    Ivar saddle = class_getInstanceVariable(horse, "_saddle");
    EXPECT_EQ(object_getIvar(horseObject, saddle), nullptr);         // zero-filled
    EXPECT_EQ(static_cast<Animal *>(horseObject)->m_name, "animal"); // C++ members constructed
}

TEST_F(Classes, ADisposedClassIsFreedOnceNoInstanceOrSubclassRefersToIt)
{
    auto classObjects = [] { return sim::runtimeMemory().classObjects; };
    std::size_t before = classObjects();
    Class parent = registeredSubclass(animal, "Departing");
    Class child = registeredSubclass(parent, "DepartingChild");
    id survivor = sim::create(child);
    ASSERT_EQ(classObjects(), before + 4);

    objc_disposeClassPair(parent);
    EXPECT_EQ(objc_getClass("Departing"), nullptr);
    EXPECT_EQ(classObjects(), before + 4) << "its subclass still names it";
    objc_disposeClassPair(child);
    EXPECT_EQ(classObjects(), before + 4) << "an instance still lives";
    EXPECT_EQ(msg<int>(survivor, "legs"_sel), 4);

    objc_release(survivor);
    sim::reclaimRuntimeMemory();
    EXPECT_EQ(classObjects(), before);
    // Its name may be registered again.
    Class again = registeredSubclass(animal, "Departing");
    EXPECT_EQ(objc_getClass("Departing"), again);
}

TEST_F(Classes, ClassesNameTheLibraryTheirCodeComesFrom)
{
    const char *runtimeImage = class_getImageName(objc_getClass("NSObject"));
    ASSERT_NE(runtimeImage, nullptr);
    EXPECT_NE(std::string(runtimeImage).find("libcvobjc"), std::string::npos) << runtimeImage;
    unsigned int count = 0;
    const char **names = objc_copyClassNamesForImage(runtimeImage, &count);
    std::vector<std::string> listed(names, names + count);
    std::free(names);
    EXPECT_EQ(listed, std::vector<std::string>{"NSObject"});
    EXPECT_EQ(class_getImageName(nullptr), nullptr);
    std::free(objc_copyClassNamesForImage("/no/such/library.so", &count));
    EXPECT_EQ(count, 0u);
}

} // namespace
