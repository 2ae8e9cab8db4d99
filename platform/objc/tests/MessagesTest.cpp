// Sending messages: the cached and uncached paths, nil receivers, the signature check and
// sends from several threads while implementations change.

#include "TestClasses.h"

#include "objc/RuntimeMemory.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

struct Pair {
    double first;
    double second;
};

} // namespace

template <> struct sim::TypeEncoding<Pair> {
    static std::string get() { return "{Pair=dd}"; }
};

namespace {

Pair makePair(id, SEL, double first)
{
    return {first, first * 2};
}

void registerPairMethod()
{
    registerTestClasses();
    class_addMethod(objc_getClass("Animal"), "pairFrom:"_sel, reinterpret_cast<IMP>(makePair),
                    "{Pair=dd}@:d");
}

class Messages : public testing::Test {
protected:
    void SetUp() override { registerPairMethod(); }
};

TEST_F(Messages, CachedAndUncachedSendsAgreeAndNilAnswersZeroOfEveryType)
{
    Class dog = objc_getClass("Dog");
    id rex = sim::make(dog);
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(msg<int>(rex, "legs"_sel), 4) << "round " << round;
        Pair pair = msg<Pair>(rex, "pairFrom:"_sel, 1.5);
        EXPECT_EQ(pair.first, 1.5);
        EXPECT_EQ(pair.second, 3.0);
    }
    EXPECT_TRUE(msg<BOOL>(rex, "isKindOfClass:"_sel, objc_getClass("NSObject")));
    EXPECT_FALSE(msg<BOOL>(rex, "isMemberOfClass:"_sel, objc_getClass("Animal")));
    EXPECT_TRUE(msg<BOOL>(rex, "isMemberOfClass:"_sel, dog));
    EXPECT_EQ(msg<Class>(rex, "class"_sel), dog);
    EXPECT_EQ(msg<Class>(dog, "class"_sel), dog);
    EXPECT_EQ(msg<Class>(rex, "superclass"_sel), objc_getClass("Animal"));

    id nothing = nil;
    EXPECT_EQ(msg<int>(nothing, "legs"_sel), 0);
    EXPECT_EQ(msg<id>(nothing, "self"_sel), nil);
    EXPECT_EQ(msg<double>(nothing, "weight"_sel), 0.0);
    Pair pair = msg<Pair>(nothing, "pairFrom:"_sel, 2.0);
    EXPECT_EQ(pair.first, 0.0);
    EXPECT_EQ(pair.second, 0.0);
    msg<void>(nothing, "release"_sel); // does nothing
}

id echoFirst(id, SEL, id first)
{
    return first;
}

id echoSecond(id, SEL, id, id second)
{
    return second;
}

int g_poked = 0;
void poke(id, SEL)
{
    ++g_poked;
}

TEST_F(Messages, PerformSelectorInItsThreeForms)
{
    Class cls = objc_allocateClassPair(objc_getClass("Animal"), "Performer", 0);
    class_addMethod(cls, "echo:"_sel, reinterpret_cast<IMP>(echoFirst), "@@:@");
    class_addMethod(cls, "echo:and:"_sel, reinterpret_cast<IMP>(echoSecond), "@@:@@");
    class_addMethod(cls, "poke"_sel, reinterpret_cast<IMP>(poke), "v@:");
    objc_registerClassPair(cls);
    id performer = sim::make(cls);
    id a = sim::make(objc_getClass("Animal"));
    id b = sim::make(objc_getClass("Animal"));
    EXPECT_EQ(msg<id>(performer, "performSelector:"_sel, "self"_sel), performer);
    EXPECT_EQ(msg<id>(performer, "performSelector:withObject:"_sel, "echo:"_sel, a), a);
    EXPECT_EQ(
        msg<id>(performer, "performSelector:withObject:withObject:"_sel, "echo:and:"_sel, a, b), b);
    EXPECT_EQ(msg<id>(performer, "performSelector:"_sel, "poke"_sel), nil);
    EXPECT_EQ(g_poked, 1);
}

TEST_F(Messages, SuperSendsSkipTheDefiningClass)
{
    Class dog = objc_getClass("Dog");
    class_addMethod(dog, "sound"_sel, reinterpret_cast<IMP>(dogSound), "*@:");
    id rex = sim::make(dog);
    EXPECT_STREQ(msg<const char *>(rex, "sound"_sel), "woof");
    EXPECT_STREQ(msgSuper<const char *>(dog, rex, "sound"_sel), "...");
}

TEST(MessagesDeathTest, UnrecognisedSelectorStopsWithThePlatformsMessage)
{
    registerTestClasses();
    id rex = sim::make(objc_getClass("Dog"));
    EXPECT_DEATH(msg<void>(rex, "fly"_sel),
                 "-\\[Dog fly\\]: unrecognized selector sent to instance");
    EXPECT_DEATH(msg<void>(objc_getClass("Dog"), "fly"_sel),
                 "\\+\\[Dog fly\\]: unrecognized selector sent to class");
}

TEST(MessagesDeathTest, MismatchedSignatureStopsInCheckedBuilds)
{
#ifndef CV_CHECKED_MESSAGES
    GTEST_SKIP() << "only Debug and sanitizer builds check signatures";
#else
    registerPairMethod();
    id rex = sim::make(objc_getClass("Dog"));
    EXPECT_DEATH(msg<double>(rex, "legs"_sel),
                 "\\[Dog legs\\] sent as \"d@:\" but the method is \"i@:\"");
    EXPECT_DEATH(msg<Pair>(rex, "pairFrom:"_sel, 2), "sent as \"\\{Pair=dd\\}@:i\"");
#endif
}

TEST_F(Messages, SendsFromSeveralThreadsWhileImplementationsChange)
{
    Class cls = registeredSubclass(objc_getClass("Animal"), "Contended");
    id object = sim::make(cls);
    Method legs = class_getInstanceMethod(cls, "legs"_sel);
    IMP four = method_getImplementation(legs);
    IMP three = reinterpret_cast<IMP>(+[](Animal *, SEL) { return 3; });

    std::atomic<bool> stop{false};
    std::atomic<int> wrong{0};
    std::vector<std::thread> senders;
    for (int t = 0; t < 3; ++t)
        senders.emplace_back([&] {
            while (!stop.load()) {
                int legs = msg<int>(object, "legs"_sel);
                if (legs != 3 && legs != 4)
                    ++wrong;
            }
        });
    for (int i = 0; i < 2000; ++i) {
        method_setImplementation(legs, i % 2 ? four : three);
        // New classes and methods while others send: the tables grow under readers.
        std::string name = "Grown" + std::to_string(i);
        class_addMethod(cls, sel_registerName(name.c_str()), four, "i@:");
    }
    // Replaced tables were freed under the senders, not kept for the life of the process.
    EXPECT_LT(sim::runtimeMemory().retiredMethodCaches, 1000u);
    stop = true;
    for (auto &sender : senders)
        sender.join();
    method_setImplementation(legs, four);
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(msg<int>(object, "legs"_sel), 4);
    sim::reclaimRuntimeMemory();
    EXPECT_EQ(sim::runtimeMemory().retiredMethodCaches, 0u);
}

} // namespace
