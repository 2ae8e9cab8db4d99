// The replacement recipe on small classes of the test's own: what a replacement reaches
// as its previous implementation for methods a class defines, inherits, or has as class
// methods; missing classes and methods; added methods, hooked functions, and instance
// variables by name.

#include "springboard-extension/frame/Replacement.h"
#include "foundation/NSLog.h"
#include "objc/ClassBuilder.h"
#include "quartzcore/CGGeometry.h"

#include <gtest/gtest.h>

namespace {

// RecipeBase defines -value, -ownValue and +kind; RecipeChild defines -ownValue only;
// RecipeGrandChild defines nothing.
int laterBaseValue(id, SEL)
{
    return 9;
}

int baseKind(id, SEL)
{
    return 3;
}

int (*orig_childValue)(id, SEL);
int (*orig_grandChildValue)(id, SEL);
int (*orig_ownValue)(id, SEL);
int (*orig_kind)(id, SEL);

int childValue(id self, SEL _cmd)
{
    return orig_childValue(self, _cmd) + 100;
}

int grandChildValue(id self, SEL _cmd)
{
    return orig_grandChildValue(self, _cmd) + 1000;
}

int ownValueTimes10(id self, SEL _cmd)
{
    return orig_ownValue(self, _cmd) * 10;
}

int kindPlus40(id self, SEL _cmd)
{
    return orig_kind(self, _cmd) + 40;
}

class Replacement : public testing::Test {
protected:
    void SetUp() override
    {
        orig_childValue = orig_grandChildValue = orig_ownValue = orig_kind = nullptr;
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
        grandChild = ClassBuilder<NSObject>("RecipeGrandChild", "RecipeChild").registerClass();
        ASSERT_TRUE(base && child && grandChild);
    }

    // Every test registers the classes afresh, untouched by the tests before.
    void TearDown() override
    {
        objc_disposeClassPair(grandChild);
        objc_disposeClassPair(child);
        objc_disposeClassPair(base);
    }

    static int send(Class cls, SEL selector) { return msg<int>(sim::make(cls), selector); }
    static int sendToClass(Class cls, SEL selector) { return msg<int>(cls, selector); }

    AutoreleasePool pool;
    Class base = Nil;
    Class child = Nil;
    Class grandChild = Nil;
};

TEST_F(Replacement, AnInheritedSelectorReachesWhatTheSuperclassImplementsAtEachCall)
{
    ReplaceMethod(child, "value"_sel, childValue, &orig_childValue);
    EXPECT_EQ(send(child, "value"_sel), 107);
    EXPECT_EQ(send(base, "value"_sel), 7);

    method_setImplementation(class_getInstanceMethod(base, "value"_sel),
                             reinterpret_cast<IMP>(laterBaseValue));
    EXPECT_EQ(send(child, "value"_sel), 109);
    EXPECT_EQ(send(base, "value"_sel), 9);
}

TEST_F(Replacement, InheritedReplacementsAtTwoLevelsEachReachTheirOwnSuperclass)
{
    ReplaceMethod(grandChild, "value"_sel, grandChildValue, &orig_grandChildValue);
    ReplaceMethod(child, "value"_sel, childValue, &orig_childValue);
    EXPECT_EQ(send(grandChild, "value"_sel), 1107);
    EXPECT_EQ(send(child, "value"_sel), 107);
}

TEST_F(Replacement, AnOwnSelectorKeepsExactlyTheImplementationInPlace)
{
    IMP inPlace = method_getImplementation(class_getInstanceMethod(child, "ownValue"_sel));
    ReplaceMethod(child, "ownValue"_sel, ownValueTimes10, &orig_ownValue);
    EXPECT_EQ(reinterpret_cast<IMP>(orig_ownValue), inPlace);
    EXPECT_EQ(send(child, "ownValue"_sel), 20);
    EXPECT_EQ(send(base, "ownValue"_sel), 1);
}

TEST_F(Replacement, AClassMethodIsFoundOnTheMetaclass)
{
    ReplaceMethod(object_getClass(base), "kind"_sel, kindPlus40, &orig_kind);
    EXPECT_EQ(reinterpret_cast<IMP>(orig_kind), reinterpret_cast<IMP>(baseKind));
    EXPECT_EQ(sendToClass(base, "kind"_sel), 43);
    EXPECT_EQ(sendToClass(child, "kind"_sel), 43);
}

TEST_F(Replacement, AMissingClassOrSelectorInstallsAndLogsNothing)
{
    sim::LogCapture log;
    ReplaceMethod(objc_getClass("RecipeMissing"), "value"_sel, childValue, &orig_childValue);
    ReplaceMethod(child, "missingValue"_sel, childValue, &orig_childValue);
    ReplaceMethod(object_getClass(child), "value"_sel, childValue, &orig_childValue);
    EXPECT_EQ(orig_childValue, nullptr);
    EXPECT_FALSE(class_respondsToSelector(child, "missingValue"_sel));
    EXPECT_FALSE(class_respondsToSelector(object_getClass(child), "value"_sel));
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(Replacement, AnAddedMethodNeverReplacesAnExistingOne)
{
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

// A function of the host that extensions may hook: it calls through its slot.
int doubled(int value)
{
    return 2 * value;
}

int (*g_hookableSlot)(int) = doubled;

int hookableDoubled(int value)
{
    return g_hookableSlot(value);
}

int (*orig_hookableDoubled)(int);

int doubledPlusOne(int value)
{
    return orig_hookableDoubled(value) + 1;
}

TEST(FunctionHook, CallersReachTheReplacementAndAMissingFunctionIsSkippedSilently)
{
    void *symbol = reinterpret_cast<void *>(hookableDoubled);
    sim::registerHookableFunction(symbol, reinterpret_cast<void **>(&g_hookableSlot));
    sim::LogCapture log;
    HookFunction(nullptr, doubledPlusOne, &orig_hookableDoubled);
    EXPECT_EQ(orig_hookableDoubled, nullptr);
    HookFunction(symbol, doubledPlusOne, &orig_hookableDoubled);
    EXPECT_EQ(hookableDoubled(5), 11);
    EXPECT_EQ(orig_hookableDoubled, &doubled);
    EXPECT_TRUE(log.lines().empty());
    sim::unregisterHookableFunction(symbol);
}

// IvarHolder and IvarOtherHolder both have a "_containerView", at different offsets.
struct Holder : NSObject {
    id m_containerView = nil;
    BOOL m_locked = NO;
    CGRect m_frame{};
};

struct OtherHolder : NSObject {
    double m_padding[3]{};
    id m_containerView = nil;
};

class IvarsByName : public testing::Test {
protected:
    static Class holderClass()
    {
        static const Class cls = ClassBuilder<Holder>("IvarHolder", "NSObject")
                                     .ivar("_containerView", &Holder::m_containerView)
                                     .ivar("_locked", &Holder::m_locked)
                                     .ivar("_frame", &Holder::m_frame)
                                     .registerClass();
        return cls;
    }

    static Class otherHolderClass()
    {
        static const Class cls = ClassBuilder<OtherHolder>("IvarOtherHolder", "NSObject")
                                     .ivar("_containerView", &OtherHolder::m_containerView)
                                     .registerClass();
        return cls;
    }

    AutoreleasePool pool;
    Holder *holder = sim::make<Holder>(holderClass());
    OtherHolder *other = sim::make<OtherHolder>(otherHolderClass());
};

TEST_F(IvarsByName, ReadsAndWritesReachTheFieldOfTheObjectsOwnClass)
{
    holder->m_containerView = other;
    other->m_containerView = holder;
    holder->m_frame = CGRectMake(1, 2, 3, 4);
    EXPECT_EQ(CVGetIvar<id>(holder, "_containerView"), other);
    EXPECT_EQ(CVGetIvar<id>(other, "_containerView"), holder);
    EXPECT_EQ(CVGetIvar<CGRect>(holder, "_frame").size.height, 4);

    CVSetIvar<BOOL>(holder, "_locked", YES);
    CVSetIvar(holder, "_frame", CGRectMake(5, 6, 7, 8));
    EXPECT_TRUE(holder->m_locked);
    EXPECT_EQ(holder->m_frame.origin.x, 5);
    EXPECT_EQ(holder->m_frame.size.height, 8);
}

TEST_F(IvarsByName, AnAbsentNameReadsAsZeroAndTakesNoWrites)
{
    holder->m_containerView = other;
    EXPECT_EQ(CVGetIvar<id>(holder, "_missingView"), nil);
    EXPECT_FALSE(CVGetIvar<BOOL>(holder, "_missingFlag"));
    EXPECT_EQ(CVGetIvar<CGRect>(holder, "_missingFrame").size.width, 0);
    EXPECT_EQ(CVGetIvar<id>(nil, "_containerView"), nil);

    CVSetIvar<id>(holder, "_missingView", other); // would land on the class pointer
    CVSetIvar(holder, "_missingFrame", CGRectMake(9, 9, 9, 9));
    EXPECT_EQ(object_getClass(holder), holderClass());
    EXPECT_EQ(holder->m_containerView, other);
    EXPECT_EQ(holder->m_frame.size.width, 0);
}

} // namespace
