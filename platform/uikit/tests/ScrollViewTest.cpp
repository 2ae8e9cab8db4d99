// Scroll views: what the delegate hears, in which order, for drags, paging and animations.

#include "UIKitTest.h"
#include "uikit/UIScrollView.h"

#include <cctype>
#include <string>
#include <vector>

namespace {

struct ScrollRecorder : NSObject {
    std::vector<std::string> m_calls;
    CGPoint m_velocity{};
    CGPoint m_proposedTarget{};
    bool m_redirect = false;

    // The selector's name after "scrollView" up to its first colon, first letter lowered;
    // consecutive scrolls count as one entry, so sequences do not depend on the steps.
    void record(SEL cmd, const char *suffix = "")
    {
        std::string name = sel_getName(cmd);
        name = name.substr(10, name.find(':') - 10) + suffix;
        name[0] = char(std::tolower(name[0]));
        if (name != "didScroll" || m_calls.empty() || m_calls.back() != name)
            m_calls.push_back(name);
    }
};

void heard(ScrollRecorder *self, SEL cmd, UIScrollView *view)
{
    self->record(cmd);
    if (cmd == "scrollViewWillBeginDragging:"_sel) {
        EXPECT_TRUE(msg<BOOL>(view, "isTracking"_sel));
    }
    if (cmd == "scrollViewDidEndDecelerating:"_sel) {
        EXPECT_FALSE(msg<BOOL>(view, "isDecelerating"_sel));
    }
}

void willEndDragging(ScrollRecorder *self, SEL cmd, UIScrollView *, CGPoint velocity,
                     CGPoint *target)
{
    self->m_velocity = velocity;
    self->m_proposedTarget = *target;
    if (self->m_redirect)
        *target = CGPointMake(640, 0);
    self->record(cmd);
}

void didEndDragging(ScrollRecorder *self, SEL cmd, UIScrollView *, BOOL decelerate)
{
    self->record(cmd, decelerate ? "(decelerate)" : "");
}

Class recorderClass()
{
    static const Class cls =
        ClassBuilder<ScrollRecorder>("ScrollRecorder", "NSObject")
            .method("scrollViewDidScroll:", heard)
            .method("scrollViewWillBeginDragging:", heard)
            .method("scrollViewWillEndDragging:withVelocity:targetContentOffset:", willEndDragging)
            .method("scrollViewDidEndDragging:willDecelerate:", didEndDragging)
            .method("scrollViewWillBeginDecelerating:", heard)
            .method("scrollViewDidEndDecelerating:", heard)
            .method("scrollViewDidEndScrollingAnimation:", heard)
            .registerClass();
    return cls;
}

using Calls = std::vector<std::string>;

class ScrollViews : public UIKitTest {
protected:
    void SetUp() override
    {
        UIKitTest::SetUp();
        msg<void, CGSize>(scrollView, "setContentSize:"_sel, CGSizeMake(960, 568));
        msg<void, BOOL>(scrollView, "setPagingEnabled:"_sel, YES);
        msg<void>(scrollView, "setDelegate:"_sel, recorder);
    }

    CGFloat offsetX() { return msg<CGPoint>(scrollView, "contentOffset"_sel).x; }

    // A horizontal drag from x0 to x1 in `steps` moves of `interval` seconds, from now.
    void drag(CGFloat x0, CGFloat x1, int steps, double interval)
    {
        double t = sim::now();
        sim::dragScrollViewBegan(scrollView, CGPointMake(x0, 300), t);
        for (int i = 1; i <= steps; ++i)
            sim::dragScrollViewMoved(scrollView, CGPointMake(x0 + (x1 - x0) * i / steps, 300),
                                     t + i * interval);
        sim::dragScrollViewEnded(scrollView, CGPointMake(x1, 300), t + steps * interval);
    }

    UIScrollView *scrollView =
        makeView<UIScrollView>(UIScrollView::class_(), CGRectMake(0, 0, 320, 568));
    ScrollRecorder *recorder = sim::make<ScrollRecorder>(recorderClass());
};

TEST_F(ScrollViews, AFlickTurnsThePageInThePlatformsOrder)
{
    // 100 points in 0.1 s: the last move covers 50 points in 50 ms, a flick of 1 pt/ms.
    drag(300, 200, 2, 0.05);
    EXPECT_EQ(recorder->m_calls, (Calls{"willBeginDragging", "didScroll", "willEndDragging",
                                        "didEndDragging(decelerate)", "willBeginDecelerating"}));
    EXPECT_NEAR(recorder->m_velocity.x, 1, 1e-9);
    EXPECT_EQ(recorder->m_velocity.y, 0);
    EXPECT_POINT_EQ(recorder->m_proposedTarget, 320, 0);
    EXPECT_FALSE(msg<BOOL>(scrollView, "isDragging"_sel));
    EXPECT_TRUE(msg<BOOL>(scrollView, "isDecelerating"_sel));
    EXPECT_DOUBLE_EQ(offsetX(), 100);

    sim::advanceVirtualClock(1);
    EXPECT_EQ(recorder->m_calls, (Calls{"willBeginDragging", "didScroll", "willEndDragging",
                                        "didEndDragging(decelerate)", "willBeginDecelerating",
                                        "didScroll", "didEndDecelerating"}));
    EXPECT_DOUBLE_EQ(offsetX(), 320);
    EXPECT_FALSE(msg<BOOL>(scrollView, "isDecelerating"_sel));
}

TEST_F(ScrollViews, ASlowDragSettlesOnTheNearestPageOrWhereTheDelegateSays)
{
    drag(300, 200, 10, 0.1); // 10 points per 0.1 s: 0.1 pt/ms, below a flick
    EXPECT_POINT_EQ(recorder->m_proposedTarget, 0, 0);
    sim::advanceVirtualClock(1);
    EXPECT_DOUBLE_EQ(offsetX(), 0);
    EXPECT_EQ(recorder->m_calls.back(), "didEndDecelerating");

    // The delegate may choose where the content comes to rest.
    recorder->m_redirect = true;
    drag(300, 200, 2, 0.05);
    sim::advanceVirtualClock(1);
    EXPECT_DOUBLE_EQ(offsetX(), 640);

    // A slow drag that ends on a page does not decelerate.
    recorder->m_calls.clear();
    recorder->m_redirect = false;
    drag(0, 320, 4, 0.1);
    EXPECT_EQ(recorder->m_calls,
              (Calls{"willBeginDragging", "didScroll", "willEndDragging", "didEndDragging"}));
    EXPECT_DOUBLE_EQ(offsetX(), 320);
}

TEST_F(ScrollViews, PastTheEdgeABouncingViewResistsAndSpringsBack)
{
    double t = sim::now();
    sim::dragScrollViewBegan(scrollView, CGPointMake(100, 300), t);
    sim::dragScrollViewMoved(scrollView, CGPointMake(200, 300), t + 0.5);
    // Pulled 100 points past the left edge, the content follows by less.
    EXPECT_LT(offsetX(), 0);
    EXPECT_GT(offsetX(), -100);
    sim::dragScrollViewEnded(scrollView, CGPointMake(200, 300), t + 0.5);
    sim::advanceVirtualClock(1);
    EXPECT_DOUBLE_EQ(offsetX(), 0);

    msg<void, BOOL>(scrollView, "setBounces:"_sel, NO);
    t = sim::now();
    sim::dragScrollViewBegan(scrollView, CGPointMake(100, 300), t);
    sim::dragScrollViewMoved(scrollView, CGPointMake(200, 300), t + 0.5);
    EXPECT_DOUBLE_EQ(offsetX(), 0);
    sim::dragScrollViewEnded(scrollView, CGPointMake(200, 300), t + 0.5);
}

TEST_F(ScrollViews, AnimatedOffsetsStepOnTheClockAndReportTheirEnd)
{
    int scrolls = 0;
    msg<void, CGPoint, BOOL>(scrollView, "setContentOffset:animated:"_sel, CGPointMake(640, 0),
                             YES);
    EXPECT_DOUBLE_EQ(offsetX(), 0);
    CGFloat previous = 0;
    for (int i = 0; i < 30; ++i) {
        sim::advanceVirtualClock(1.0 / 60);
        if (offsetX() != previous)
            ++scrolls;
        EXPECT_GE(offsetX(), previous);
        previous = offsetX();
    }
    EXPECT_DOUBLE_EQ(offsetX(), 640);
    EXPECT_GE(scrolls, 15);
    EXPECT_EQ(recorder->m_calls, (Calls{"didScroll", "didEndScrollingAnimation"}));

    // Without animation: one scroll, at once, and no end of an animation.
    recorder->m_calls.clear();
    msg<void, CGPoint, BOOL>(scrollView, "setContentOffset:animated:"_sel, CGPointMake(10, 0), NO);
    EXPECT_DOUBLE_EQ(offsetX(), 10);
    EXPECT_EQ(recorder->m_calls, (Calls{"didScroll"}));
}

int g_notifications = 0;
IMP g_originalNotify = nullptr;

void countingNotify(UIScrollView *self, SEL _cmd)
{
    ++g_notifications;
    reinterpret_cast<void (*)(UIScrollView *, SEL)>(g_originalNotify)(self, _cmd);
}

TEST_F(ScrollViews, EveryOffsetChangeGoesThroughAReplaceableNotifyDidScroll)
{
    Method notify = class_getInstanceMethod(UIScrollView::class_(), "_notifyDidScroll"_sel);
    ASSERT_NE(notify, nullptr);
    g_notifications = 0;
    g_originalNotify =
        class_replaceMethod(UIScrollView::class_(), "_notifyDidScroll"_sel,
                            reinterpret_cast<IMP>(countingNotify), method_getTypeEncoding(notify));

    msg<void, CGPoint>(scrollView, "setContentOffset:"_sel, CGPointMake(5, 0));
    msg<void, CGPoint>(scrollView, "setContentOffset:"_sel, CGPointMake(5, 0)); // no change
    EXPECT_EQ(g_notifications, 1);
    msg<void, CGRect>(scrollView, "setBounds:"_sel, CGRectMake(7, 0, 320, 568));
    EXPECT_EQ(g_notifications, 2);
    // The frame moves the view, not its content.
    msg<void, CGRect>(scrollView, "setFrame:"_sel, CGRectMake(50, 0, 320, 568));
    EXPECT_EQ(g_notifications, 2);
    drag(300, 250, 5, 0.1);
    EXPECT_EQ(g_notifications, 7);
    sim::advanceVirtualClock(1);
    EXPECT_GT(g_notifications, 7);
    // The replacement called the original, which told the delegate every time.
    EXPECT_EQ(recorder->m_calls.front(), "didScroll");

    class_replaceMethod(UIScrollView::class_(), "_notifyDidScroll"_sel, g_originalNotify,
                        method_getTypeEncoding(notify));
}

} // namespace
