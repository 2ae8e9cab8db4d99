// The runtime under several threads at once: every thread must see a replacement once it
// is made, and every object must go away exactly once.

#include "TestClasses.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kThreads = 3;

// An object that counts its ends atomically: its last release may come on any thread.
struct Tally : NSObject {
    static inline std::atomic<int> s_freed{0};
    ~Tally() { ++s_freed; }
};

Class tallyClass()
{
    static Class cls = ClassBuilder<Tally>("StressTally", "NSObject").registerClass();
    return cls;
}

int threeLegs(Animal *, SEL)
{
    return 3;
}

int sevenLegs(Animal *, SEL)
{
    return 7;
}

class RuntimeStress : public testing::Test {
protected:
    void SetUp() override
    {
        registerTestClasses();
        animal = objc_getClass("Animal");
        Tally::s_freed = 0;
    }

    Class animal = nil;
};

// Senders warm their caches with a grandchild's inherited method while the base's is
// replaced again and again and subclasses appear; the next send after the last one reaches it.
TEST_F(RuntimeStress, ReplacingInASuperclassReachesWarmSendersOnEveryThread)
{
    Class base = registeredSubclass(animal, "StressedBase");
    Class leaf = registeredSubclass(registeredSubclass(base, "StressedMiddle"), "StressedLeaf");
    IMP four = reinterpret_cast<IMP>(animalLegs);
    class_addMethod(base, "legs"_sel, four, "i@:");
    id object = sim::make(leaf);

    std::atomic<bool> replacedForGood{false};
    std::atomic<int> unexpected{0};
    std::atomic<int> sawTheLast{0};
    std::vector<std::thread> senders;
    for (int thread = 0; thread < kThreads; ++thread) {
        senders.emplace_back([&] {
            while (!replacedForGood.load()) {
                // The last replacement may already be in place before the flag says so.
                int legs = msg<int>(object, "legs"_sel);
                if (legs != 3 && legs != 4 && legs != 7)
                    ++unexpected;
            }
            if (msg<int>(object, "legs"_sel) == 7)
                ++sawTheLast;
        });
    }
    for (int round = 0; round < 1000; ++round) {
        class_replaceMethod(base, "legs"_sel, round % 2 ? four : reinterpret_cast<IMP>(threeLegs),
                            "i@:");
        std::string name = "StressedSibling" + std::to_string(round);
        registeredSubclass(base, name.c_str());
    }
    class_replaceMethod(base, "legs"_sel, reinterpret_cast<IMP>(sevenLegs), "i@:");
    replacedForGood = true;
    for (std::thread &sender : senders)
        sender.join();
    EXPECT_EQ(unexpected.load(), 0);
    EXPECT_EQ(sawTheLast.load(), kThreads);
    EXPECT_EQ(msg<int>(sim::make(objc_getClass("StressedSibling999")), "legs"_sel), 7);
}

// An override added while others send is found from then on, by the subclass only.
TEST_F(RuntimeStress, AnOverrideAddedWhileOthersSendIsFoundOnEveryThread)
{
    Class base = registeredSubclass(animal, "OverriddenWhileSent");
    Class leaf = registeredSubclass(base, "OverridingWhileSent");
    id derived = sim::make(leaf);
    id plain = sim::make(base);

    std::atomic<bool> overridden{false};
    std::atomic<int> wrong{0};
    std::vector<std::thread> senders;
    for (int thread = 0; thread < kThreads; ++thread) {
        senders.emplace_back([&] {
            while (!overridden.load()) {
                int derivedLegs = msg<int>(derived, "legs"_sel);
                if ((derivedLegs != 4 && derivedLegs != 3) || msg<int>(plain, "legs"_sel) != 4)
                    ++wrong;
            }
            if (msg<int>(derived, "legs"_sel) != 3 || msg<int>(plain, "legs"_sel) != 4)
                ++wrong;
        });
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    class_addMethod(leaf, "legs"_sel, reinterpret_cast<IMP>(threeLegs), "i@:");
    overridden = true;
    for (std::thread &sender : senders)
        sender.join();
    EXPECT_EQ(wrong.load(), 0);
}

// Retains, releases and autoreleases of one object on several threads: it goes once, last.
TEST_F(RuntimeStress, ReferencesTakenAndDroppedOnManyThreadsFreeTheObjectOnce)
{
    Tally *shared = sim::create<Tally>(tallyClass());
    std::vector<std::thread> threads;
    for (int thread = 0; thread < kThreads; ++thread) {
        threads.emplace_back([shared] {
            for (int round = 0; round < 2000; ++round) {
                AutoreleasePool pool;
                StrongRef<Tally> held(shared);
                objc_retain(shared);
                autorelease(shared);
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_EQ(objc_retainCount(shared), 1u);
    EXPECT_EQ(Tally::s_freed, 0);
    objc_release(shared);
    EXPECT_EQ(Tally::s_freed, 1);
}

// Threads replace associations of one owner under own and shared keys: each value let go
// of is released once, and the owner's end releases those it still holds.
TEST_F(RuntimeStress, AssociationsChangedFromManyThreadsReleaseEveryValueOnce)
{
    constexpr int kRounds = 500;
    static const char sharedKey = 0;
    static const char ownKeys[kThreads] = {};
    Tally *owner = sim::create<Tally>(tallyClass());
    std::vector<std::thread> threads;
    for (int thread = 0; thread < kThreads; ++thread) {
        threads.emplace_back([&, thread] {
            for (int round = 0; round < kRounds; ++round) {
                AutoreleasePool pool;
                objc_setAssociatedObject(owner, &sharedKey, sim::make(tallyClass()),
                                         OBJC_ASSOCIATION_RETAIN);
                objc_setAssociatedObject(owner, &ownKeys[thread], sim::make(tallyClass()),
                                         OBJC_ASSOCIATION_RETAIN_NONATOMIC);
                if (objc_getAssociatedObject(owner, &ownKeys[thread]) == nil)
                    ADD_FAILURE() << "thread " << thread << " lost its own association";
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    int made = 2 * kThreads * kRounds;
    // The shared key holds one value, and each thread's key its last.
    EXPECT_EQ(Tally::s_freed, made - 1 - kThreads);
    objc_release(owner);
    EXPECT_EQ(Tally::s_freed, made + 1);
}

} // namespace
