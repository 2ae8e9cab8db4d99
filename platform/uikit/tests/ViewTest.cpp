// Views: geometry, the tree, deferred layout, hit-testing and gestures.

#include "UIKitTest.h"
#include "uikit/GestureInput.h"
#include "uikit/UIPinchGestureRecognizer.h"
#include "uikit/UITapGestureRecognizer.h"
#include "uikit/ViewLayout.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_layouts;

struct NamedView : UIView {
    std::string m_name;
};

void recordLayout(NamedView *self, SEL)
{
    g_layouts.push_back(self->m_name);
}

Class namedViewClass()
{
    static const Class cls = [] {
        UIView::class_();
        return ClassBuilder<NamedView>("LayoutRecordingView", "UIView")
            .method("layoutSubviews", recordLayout)
            .registerClass();
    }();
    return cls;
}

NamedView *makeNamedView(const char *name, CGRect frame)
{
    auto *view = makeView<NamedView>(namedViewClass(), frame);
    view->m_name = name;
    return view;
}

class Views : public UIKitTest {
protected:
    void SetUp() override
    {
        UIKitTest::SetUp();
        g_layouts.clear();
    }
};

TEST_F(Views, LayoutWaitsForTheNextTurnOrLayoutIfNeededAndRunsOncePerView)
{
    NamedView *parent = makeNamedView("parent", CGRectMake(0, 0, 100, 100));
    NamedView *child = makeNamedView("child", CGRectMake(0, 0, 10, 10));
    msg<void>(parent, "addSubview:"_sel, child);
    runOneTurn();
    g_layouts.clear();

    msg<void, CGRect>(parent, "setFrame:"_sel, CGRectMake(0, 0, 200, 100));
    msg<void>(child, "setNeedsLayout"_sel);
    msg<void>(child, "setNeedsLayout"_sel);
    msg<void>(parent, "setNeedsLayout"_sel);
    EXPECT_TRUE(g_layouts.empty());
    runOneTurn();
    // The superview first, so that it places its subviews before they lay out.
    EXPECT_EQ(g_layouts, (std::vector<std::string>{"parent", "child"}));
    runOneTurn();
    EXPECT_EQ(g_layouts.size(), 2u);

    // layoutIfNeeded runs pending layout at once, from the topmost view that waits for it.
    g_layouts.clear();
    msg<void>(parent, "setNeedsLayout"_sel);
    msg<void>(child, "setNeedsLayout"_sel);
    msg<void>(child, "layoutIfNeeded"_sel);
    EXPECT_EQ(g_layouts, (std::vector<std::string>{"parent", "child"}));
    msg<void>(child, "layoutIfNeeded"_sel);
    runOneTurn();
    EXPECT_EQ(g_layouts.size(), 2u);
    // Moving a view without resizing it asks for no layout.
    msg<void, CGPoint>(child, "setCenter:"_sel, CGPointMake(50, 50));
    sim::ViewLayout::layoutPendingViews();
    EXPECT_EQ(g_layouts.size(), 2u);
}

TEST_F(Views, FrameBoundsAndCenterAgreeUnderATransformAndSubviewsMatchSublayers)
{
    UIView *view = makeView(CGRectMake(10, 20, 100, 50));
    EXPECT_RECT_EQ(msg<CGRect>(view, "bounds"_sel), 0, 0, 100, 50);
    EXPECT_POINT_EQ(msg<CGPoint>(view, "center"_sel), 60, 45);

    msg<void>(view, "setTransform:"_sel, CGAffineTransformMakeScale(2, 2));
    EXPECT_RECT_EQ(msg<CGRect>(view, "frame"_sel), -40, -5, 200, 100);
    EXPECT_RECT_EQ(msg<CGRect>(view, "bounds"_sel), 0, 0, 100, 50);
    EXPECT_POINT_EQ(msg<CGPoint>(view, "center"_sel), 60, 45);

    // A quarter turn stands the 100 × 50 box on end around the same centre.
    msg<void>(view, "setTransform:"_sel, CGAffineTransformMakeRotation(M_PI / 2));
    EXPECT_RECT_EQ(msg<CGRect>(view, "frame"_sel), 35, -5, 50, 100);
    msg<void, CGPoint>(view, "setCenter:"_sel, CGPointMake(0, 0));
    EXPECT_RECT_EQ(msg<CGRect>(view, "frame"_sel), -25, -50, 50, 100);

    msg<void>(view, "setTransform:"_sel, CGAffineTransformIdentity);
    EXPECT_RECT_EQ(msg<CGRect>(view, "frame"_sel), -50, -25, 100, 50);
    // The layer carries the same geometry.
    EXPECT_TRUE(CGAffineTransformIsIdentity(view->layer()->affineTransform()));
    EXPECT_POINT_EQ(view->layer()->position(), 0, 0);

    // Subviews and sublayers keep the same order.
    UIView *parent = makeView(CGRectMake(0, 0, 100, 100));
    UIView *a = makeView(CGRectZero);
    UIView *b = makeView(CGRectZero);
    UIView *c = makeView(CGRectZero);
    msg<void>(parent, "addSubview:"_sel, a);
    msg<void>(parent, "addSubview:"_sel, b);
    msg<void, UIView *, NSInteger>(parent, "insertSubview:atIndex:"_sel, c, 0);
    auto order = [&] {
        std::vector<UIView *> views;
        for (id view : *msg<NSArray *>(parent, "subviews"_sel))
            views.push_back(static_cast<UIView *>(view));
        for (std::size_t i = 0; i < views.size(); ++i)
            EXPECT_EQ(parent->layer()->m_sublayers[i].get(), views[i]->layer());
        return views;
    };
    EXPECT_EQ(order(), (std::vector<UIView *>{c, a, b}));
    msg<void>(parent, "bringSubviewToFront:"_sel, c);
    EXPECT_EQ(order(), (std::vector<UIView *>{a, b, c}));
    msg<void>(parent, "sendSubviewToBack:"_sel, b);
    EXPECT_EQ(order(), (std::vector<UIView *>{b, a, c}));
    msg<void>(a, "removeFromSuperview"_sel);
    EXPECT_EQ(order(), (std::vector<UIView *>{b, c}));
    EXPECT_EQ(msg<UIView *>(a, "superview"_sel), nullptr);
    // A view cannot become its own ancestor's parent.
    msg<void>(b, "addSubview:"_sel, parent);
    EXPECT_EQ(msg<UIView *>(parent, "superview"_sel), nullptr);

    msg<void>(c, "setTag:"_sel, NSInteger(7));
    EXPECT_EQ((msg<UIView *, NSInteger>(parent, "viewWithTag:"_sel, 7)), c);
    EXPECT_EQ((msg<UIView *, NSInteger>(parent, "viewWithTag:"_sel, 8)), nullptr);
}

class Touches : public Views {
protected:
    void SetUp() override
    {
        Views::SetUp();
        msg<void>(root, "addSubview:"_sel, child);
        msg<void>(child, "addSubview:"_sel, grandchild);
    }

    UIView *root = makeView(CGRectMake(0, 0, 320, 568));
    UIView *child = makeView(CGRectMake(10, 10, 100, 100));
    UIView *grandchild = makeView(CGRectMake(20, 20, 10, 10));
};

TEST_F(Touches, PointsConvertThroughTheTreeAndHitTestingFindsTheDeepestView)
{
    EXPECT_POINT_EQ((msg<CGPoint, CGPoint, UIView *>(grandchild, "convertPoint:toView:"_sel,
                                                     CGPointMake(1, 2), root)),
                    31, 32);
    EXPECT_POINT_EQ((msg<CGPoint, CGPoint, UIView *>(child, "convertPoint:fromView:"_sel,
                                                     CGPointMake(35, 35), root)),
                    25, 25);
    // Scrolling the child's bounds moves what it shows.
    msg<void, CGRect>(child, "setBounds:"_sel, CGRectMake(5, 0, 100, 100));
    EXPECT_POINT_EQ((msg<CGPoint, CGPoint, UIView *>(grandchild, "convertPoint:toView:"_sel,
                                                     CGPointZero, root)),
                    25, 30);
    msg<void, CGRect>(child, "setBounds:"_sel, CGRectMake(0, 0, 100, 100));

    // Hit-testing finds the deepest interactive view.
    auto hit = [&](CGFloat x, CGFloat y) {
        return msg<UIView *, CGPoint, id>(root, "hitTest:withEvent:"_sel, CGPointMake(x, y), nil);
    };
    EXPECT_EQ(hit(35, 35), grandchild);
    EXPECT_EQ(hit(15, 15), child);
    EXPECT_EQ(hit(200, 200), root);
    EXPECT_EQ(hit(-1, 5), nullptr);
    msg<void, BOOL>(grandchild, "setUserInteractionEnabled:"_sel, NO);
    EXPECT_EQ(hit(35, 35), child);
    msg<void, BOOL>(child, "setHidden:"_sel, YES);
    EXPECT_EQ(hit(35, 35), root);
}

struct GestureTarget : NSObject {
    std::vector<UIGestureRecognizerState> m_states;
    std::vector<CGFloat> m_scales;
    CGPoint m_location{};
    bool m_refuse = false;
};

void handleTap(GestureTarget *self, SEL, UIGestureRecognizer *recognizer)
{
    self->m_states.push_back(msg<UIGestureRecognizerState>(recognizer, "state"_sel));
    self->m_location =
        msg<CGPoint, UIView *>(recognizer, "locationInView:"_sel, recognizer->m_view);
}

void handlePinch(GestureTarget *self, SEL, UIGestureRecognizer *recognizer)
{
    self->m_states.push_back(msg<UIGestureRecognizerState>(recognizer, "state"_sel));
    self->m_scales.push_back(msg<CGFloat>(recognizer, "scale"_sel));
}

BOOL shouldBegin(GestureTarget *self, SEL, UIGestureRecognizer *)
{
    return !self->m_refuse;
}

Class gestureTargetClass()
{
    static const Class cls = ClassBuilder<GestureTarget>("GestureTarget", "NSObject")
                                 .method("handleTap:", handleTap)
                                 .method("handlePinch:", handlePinch)
                                 .method("gestureRecognizerShouldBegin:", shouldBegin)
                                 .registerClass();
    return cls;
}

template <class T> T *makeRecognizer(Class cls, id target, SEL action)
{
    id made =
        msg<id, id, SEL>(msg<id>(cls, "alloc"_sel), "initWithTarget:action:"_sel, target, action);
    return static_cast<T *>(autorelease(made));
}

TEST_F(Touches, TapsAndPinchesReachTheTargetOfTheRecognizerUnderThem)
{
    auto *target = sim::make<GestureTarget>(gestureTargetClass());
    auto *tap = makeRecognizer<UITapGestureRecognizer>(UITapGestureRecognizer::class_(), target,
                                                       "handleTap:"_sel);
    msg<void>(child, "addGestureRecognizer:"_sel, tap);
    EXPECT_EQ(msg<UIView *>(tap, "view"_sel), child);

    // On the grandchild, which has no recognizer of its own: the child's takes the tap.
    EXPECT_TRUE(sim::tapAt(root, CGPointMake(35, 35)));
    ASSERT_EQ(target->m_states.size(), 1u);
    EXPECT_EQ(target->m_states[0], UIGestureRecognizerStateRecognized);
    EXPECT_POINT_EQ(target->m_location, 25, 25);
    EXPECT_EQ(msg<UIGestureRecognizerState>(tap, "state"_sel), UIGestureRecognizerStatePossible);

    EXPECT_FALSE(sim::tapAt(root, CGPointMake(200, 200))); // outside the child
    msg<void>(tap, "setDelegate:"_sel, target);
    target->m_refuse = true;
    EXPECT_FALSE(sim::tapAt(root, CGPointMake(35, 35)));
    EXPECT_EQ(target->m_states.size(), 1u);

    // A pinch reports each scale and its velocity.
    target->m_states.clear();
    auto *pinch = makeRecognizer<UIPinchGestureRecognizer>(UIPinchGestureRecognizer::class_(),
                                                           target, "handlePinch:"_sel);
    msg<void>(child, "addGestureRecognizer:"_sel, pinch);
    EXPECT_TRUE(sim::pinch(grandchild, {1.0, 0.8, 0.5}, 0.5));
    EXPECT_EQ(target->m_states, (std::vector<UIGestureRecognizerState>{
                                    UIGestureRecognizerStateBegan, UIGestureRecognizerStateChanged,
                                    UIGestureRecognizerStateEnded}));
    EXPECT_EQ(target->m_scales, (std::vector<CGFloat>{1.0, 0.8, 0.5}));
    // From 0.8 to 0.5 in half a second.
    EXPECT_NEAR(msg<CGFloat>(pinch, "velocity"_sel), -0.6, 1e-12);
    EXPECT_FALSE(sim::pinch(root, {1.0, 2.0})); // no pinch recognizer at or above the root
}

} // namespace
