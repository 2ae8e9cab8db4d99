// The replacement recipe, added methods, hooked functions and instance variables by name,
// on small classes of the test's own.

#include "springboard-extension/frame/Replacement.h"
#include "foundation/NSLog.h"
#include "objc/ClassBuilder.h"
#include "quartzcore/CGGeometry.h"

#include <gtest/gtest.h>

namespace {

int laterBaseValue(id, SEL)
{
    return 9;
}

int baseKind(id, SEL)
{
    return 3;
}

int (*orig_childValue)(id, SEL);
int (*orig_ownValue)(id, SEL);
int (*orig_kind)(id, SEL);

int childValue(id self, SEL _cmd)
{
    return orig_childValue(self, _cmd) + 100;
}

int ownValueTimes10(id self, SEL _cmd)
{
    return orig_ownValue(self, _cmd) * 10;
}

int kindPlus40(id self, SEL _cmd)
{
    return orig_kind(self, _cmd) + 40;
}

// RecipeBase defines -value (7), -ownValue (1) and +kind; RecipeChild defines -ownValue (2)
// only. Every test registers them afresh.
class Replacement : public testing::Test {
protected:
    void SetUp() override
    {
        orig_childValue = orig_ownValue = orig_kind = nullptr;
        base = ClassBuilder<NSObject>("RecipeBase", "NSObject")
                   .method(
                       "value", +[](id, SEL) { return 7; })
                   .method(
                       "ownValue", +[](id, SEL) { return 1; })
                   .classMethod("kind", baseKind)
                   .registerClass();
        child = ClassBuilder<NSObject>("RecipeChild", "RecipeBase")
                    .method(
                        "ownValue", +[](id, SEL) { return 2; })
                    .registerClass();
        ASSERT_TRUE(base && child);
    }

    void TearDown() override
    {
        objc_disposeClassPair(child);
        objc_disposeClassPair(base);
    }

    static int send(Class cls, SEL selector) { return msg<int>(sim::make(cls), selector); }

    AutoreleasePool pool;
    Class base = Nil;
    Class child = Nil;
};

// A replacement of an inherited selector reaches what the superclass implements at the time
// of each call; an own selector keeps exactly the implementation in place, and a class
// method is found on the metaclass.
TEST_F(Replacement, EachReplacementReachesThePreviousImplementation)
{
    ReplaceMethod(child, "value"_sel, childValue, &orig_childValue);
    EXPECT_EQ(send(child, "value"_sel), 107);
    EXPECT_EQ(send(base, "value"_sel), 7);
    method_setImplementation(class_getInstanceMethod(base, "value"_sel),
                             reinterpret_cast<IMP>(laterBaseValue));
    EXPECT_EQ(send(child, "value"_sel), 109);

    IMP inPlace = method_getImplementation(class_getInstanceMethod(child, "ownValue"_sel));
    ReplaceMethod(child, "ownValue"_sel, ownValueTimes10, &orig_ownValue);
    EXPECT_EQ(reinterpret_cast<IMP>(orig_ownValue), inPlace);
    EXPECT_EQ(send(child, "ownValue"_sel), 20);
    EXPECT_EQ(send(base, "ownValue"_sel), 1);

    ReplaceMethod(object_getClass(base), "kind"_sel, kindPlus40, &orig_kind);
    EXPECT_EQ(reinterpret_cast<IMP>(orig_kind), reinterpret_cast<IMP>(baseKind));
    EXPECT_EQ(msg<int>(child, "kind"_sel), 43);
}

// A missing class or selector installs and logs nothing; an added method never replaces
// an existing one.
TEST_F(Replacement, WhatIsMissingIsSkippedAndAnAddedMethodNeverReplaces)
{
    sim::LogCapture log;
    ReplaceMethod(objc_getClass("RecipeMissing"), "value"_sel, childValue, &orig_childValue);
    ReplaceMethod(child, "missingValue"_sel, childValue, &orig_childValue);
    ReplaceMethod(object_getClass(child), "value"_sel, childValue, &orig_childValue);
    EXPECT_EQ(orig_childValue, nullptr);
    EXPECT_FALSE(class_respondsToSelector(child, "missingValue"_sel));
    EXPECT_FALSE(class_respondsToSelector(object_getClass(child), "value"_sel));
    EXPECT_TRUE(log.lines().empty());

    AddMethod(base, "laterValue"_sel, laterBaseValue, "i@:");
    AddMethod(base, "value"_sel, laterBaseValue, "i@:");
    EXPECT_EQ(send(child, "laterValue"_sel), 9);
    EXPECT_EQ(send(child, "value"_sel), 7);
}

#ifdef CV_CHECKED_MESSAGES
double doubleValue(id, SEL)
{
    return 0;
}

TEST_F(Replacement, CheckedBuildsStopAtAReplacementOfAnotherType)
{
    double (*slot)(id, SEL) = nullptr;
    EXPECT_DEATH(ReplaceMethod(child, "value"_sel, doubleValue, &slot),
                 "ReplaceMethod: -\\[RecipeChild value\\] has the type encoding i@:, its "
                 "replacement d@:");
}
#endif

int doubled(int value)
{
    return 2 * value;
}

// A function this system does not have is skipped (hooking itself shows in the centers'
// control colours).
TEST(FunctionHook, AMissingFunctionIsSkipped)
{
    int (*previous)(int) = nullptr;
    HookFunction(nullptr, doubled, &previous);
    EXPECT_EQ(previous, nullptr);
}

// Two classes with a "_containerView" at different offsets.
struct Holder : NSObject {
    id m_containerView = nil;
    CGRect m_frame{};
};

struct OtherHolder : NSObject {
    double m_padding[3]{};
    id m_containerView = nil;
};

// Reads and writes by name reach the field of the object's own class; an absent name reads
// as zero and takes no writes.
TEST(IvarsByName, ReachTheFieldOfTheObjectsOwnClassOrNothing)
{
    AutoreleasePool pool;
    auto *holder = sim::make<Holder>(ClassBuilder<Holder>("IvarHolder", "NSObject")
                                         .ivar("_containerView", &Holder::m_containerView)
                                         .ivar("_frame", &Holder::m_frame)
                                         .registerClass());
    auto *other = sim::make<OtherHolder>(ClassBuilder<OtherHolder>("IvarOtherHolder", "NSObject")
                                             .ivar("_containerView", &OtherHolder::m_containerView)
                                             .registerClass());
    holder->m_containerView = other;
    other->m_containerView = holder;
    EXPECT_EQ(CVGetIvar<id>(holder, "_containerView"), other);
    EXPECT_EQ(CVGetIvar<id>(other, "_containerView"), holder);
    CVSetIvar(holder, "_frame", CGRectMake(5, 6, 7, 8));
    EXPECT_EQ(CVGetIvar<CGRect>(holder, "_frame").size.height, 8);

    EXPECT_EQ(CVGetIvar<id>(holder, "_missingView"), nil);
    EXPECT_EQ(CVGetIvar<CGRect>(holder, "_missingFrame").size.width, 0);
    EXPECT_EQ(CVGetIvar<id>(nil, "_containerView"), nil);
    CVSetIvar<id>(holder, "_missingView", nil); // would land on the class pointer
    CVSetIvar(holder, "_missingFrame", CGRectMake(9, 9, 9, 9));
    EXPECT_NE(object_getClass(holder), Nil);
    EXPECT_EQ(holder->m_containerView, other);
    EXPECT_EQ(holder->m_frame.size.width, 7);
}

} // namespace
