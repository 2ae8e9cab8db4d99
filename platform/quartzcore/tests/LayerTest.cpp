// Layers: geometry, the tree, display, animations on the virtual clock, transactions, filters.

#include "quartzcore/CABasicAnimation.h"
#include "quartzcore/CAFilter.h"
#include "quartzcore/CALayer.h"
#include "quartzcore/CATransaction.h"

#include "foundation/Clock.h"
#include "foundation/NSArray.h"
#include "foundation/NSNumber.h"
#include "foundation/NSString.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

void expectRect(CGRect actual, CGRect expected, double tolerance = 1e-9)
{
    EXPECT_NEAR(actual.origin.x, expected.origin.x, tolerance);
    EXPECT_NEAR(actual.origin.y, expected.origin.y, tolerance);
    EXPECT_NEAR(actual.size.width, expected.size.width, tolerance);
    EXPECT_NEAR(actual.size.height, expected.size.height, tolerance);
}

class Layers : public testing::Test {
protected:
    AutoreleasePool pool;
};

TEST_F(Layers, FrameFollowsPositionAnchorBoundsAndTransform)
{
    CALayer *layer = CALayer::layer();
    layer->setBounds(CGRectMake(0, 0, 40, 20));
    layer->setPosition(CGPointMake(100, 50));
    expectRect(layer->frame(), CGRectMake(80, 40, 40, 20));
    layer->setAnchorPoint(CGPointMake(0, 1));
    expectRect(layer->frame(), CGRectMake(100, 30, 40, 20));
    layer->setAnchorPoint(CGPointMake(0.5, 0.5));
    // Under a quarter turn the frame is the bounding box of the turned bounds.
    layer->setTransform(CATransform3DMakeRotation(M_PI / 2, 0, 0, 1));
    expectRect(layer->frame(), CGRectMake(90, 30, 20, 40));

    // Setting the frame moves the position and sizes the bounds, keeping their origin.
    layer->setTransform(CATransform3DIdentity);
    layer->setBounds(CGRectMake(5, 5, 1, 1));
    layer->setFrame(CGRectMake(10, 20, 30, 40));
    EXPECT_TRUE(CGPointEqualToPoint(layer->position(), CGPointMake(25, 40)));
    expectRect(layer->bounds(), CGRectMake(5, 5, 30, 40));

    // Under a scale by 2 the same frame needs half the bounds.
    layer->setTransform(CATransform3DMakeScale(2, 2, 1));
    layer->setFrame(CGRectMake(0, 0, 30, 40));
    expectRect(layer->bounds(), CGRectMake(5, 5, 15, 20));

    // Non-finite geometry is ignored, and opacity kept within 0…1.
    layer->setBounds(CGRectMake(0, 0, NAN, 10));
    layer->setPosition(CGPointMake(INFINITY, 0));
    layer->setFrame(CGRectMake(NAN, 0, 1, 1));
    layer->setOpacity(NAN);
    expectRect(layer->bounds(), CGRectMake(5, 5, 15, 20));
    EXPECT_TRUE(CGPointEqualToPoint(layer->position(), CGPointMake(15, 20)));
    EXPECT_EQ(layer->opacity(), 1.0f);
    layer->setOpacity(3);
    EXPECT_EQ(layer->opacity(), 1.0f);
}

TEST_F(Layers, SublayersKeepTheirOrderAndMoveBetweenParentsButNeverUnderThemselves)
{
    CALayer *a = CALayer::layer(), *b = CALayer::layer(), *c = CALayer::layer();
    CALayer *parent = CALayer::layer(), *other = CALayer::layer();
    EXPECT_EQ(parent->sublayers(), nullptr);
    parent->addSublayer(a);
    parent->addSublayer(c);
    parent->insertSublayerAbove(b, a);
    ASSERT_EQ(parent->sublayers()->count(), 3u);
    EXPECT_EQ(parent->sublayers()->objectAtIndex(1), b);
    EXPECT_EQ(b->superlayer(), parent);

    parent->insertSublayerBelow(c, a);
    EXPECT_EQ(parent->sublayers()->objectAtIndex(0), c);
    parent->insertSublayerAtIndex(a, 99);
    EXPECT_EQ(parent->sublayers()->lastObject(), a);

    other->addSublayer(b);
    EXPECT_EQ(parent->sublayers()->count(), 2u);
    EXPECT_EQ(b->superlayer(), other);
    b->removeFromSuperlayer();
    EXPECT_EQ(b->superlayer(), nullptr);
    EXPECT_EQ(other->sublayers(), nullptr);

    a->addSublayer(parent);
    a->addSublayer(a);
    EXPECT_EQ(a->sublayers(), nullptr);
    EXPECT_EQ(parent->superlayer(), nullptr);
}

TEST_F(Layers, PointsConvertThroughPositionsAndTransforms)
{
    CALayer *root = CALayer::layer(), *child = CALayer::layer();
    root->setFrame(CGRectMake(0, 0, 100, 100));
    child->setFrame(CGRectMake(10, 20, 20, 20));
    root->addSublayer(child);
    CGPoint inRoot = sim::convertPointToLayer(child, CGPointMake(5, 5), root);
    EXPECT_NEAR(inRoot.x, 15, 1e-9);
    EXPECT_NEAR(inRoot.y, 25, 1e-9);
    // A quarter turn about the child's centre (20, 30 in the root).
    child->setTransform(CATransform3DMakeRotation(M_PI / 2, 0, 0, 1));
    inRoot = msg<CGPoint>(child, "convertPoint:toLayer:"_sel, CGPointMake(20, 10), root);
    EXPECT_NEAR(inRoot.x, 20, 1e-9); // 10 right of the centre turns to 10 below it
    EXPECT_NEAR(inRoot.y, 40, 1e-9);
    CGPoint back = sim::convertPointToLayer(root, inRoot, child);
    EXPECT_NEAR(back.x, 20, 1e-9);
    EXPECT_NEAR(back.y, 10, 1e-9);
}

// A delegate that fills the top half of whatever it is asked to draw in red.
struct HalfPainter : NSObject {
    static Class class_()
    {
        static Class cls = ClassBuilder<HalfPainter>("HalfPainterTestDelegate", "NSObject")
                               .method("drawLayer:inContext:", draw)
                               .registerClass();
        return cls;
    }
    static void draw(HalfPainter *self, SEL, CALayer *layer, CGContextRef context)
    {
        ++self->m_calls;
        CGRect b = layer->bounds();
        CGContextSetRGBFillColor(context, 1, 0, 0, 1);
        CGContextFillRect(context,
                          CGRectMake(b.origin.x, b.origin.y, b.size.width, b.size.height / 2));
    }
    int m_calls = 0;
};

// A layer class that draws by overriding drawInContext:, as subclasses do.
struct GreenLayer : CALayer {
    static Class class_()
    {
        static Class cls = ClassBuilder<GreenLayer>("GreenLayerTestLayer", "CALayer")
                               .method("drawInContext:", draw)
                               .registerClass();
        return cls;
    }
    static void draw(GreenLayer *, SEL, CGContextRef context)
    {
        CGContextSetRGBFillColor(context, 0, 1, 0, 1);
        CGContextFillRect(context, CGRectMake(0, 0, 100, 100));
    }
};

TEST_F(Layers, DisplayAsksTheDelegateOrSubclassToDrawInUIKitCoordinates)
{
    StrongRef<HalfPainter> painter =
        StrongRef<HalfPainter>::adopt(sim::create<HalfPainter>(HalfPainter::class_()));
    CALayer *layer = CALayer::layer();
    layer->setBounds(CGRectMake(0, 0, 3, 2));
    layer->setContentsScale(2);
    layer->setDelegate(painter.get());
    layer->displayIfNeeded();
    EXPECT_EQ(painter->m_calls, 0); // not asked to yet
    layer->setNeedsDisplay();
    layer->displayIfNeeded();
    layer->displayIfNeeded();
    EXPECT_EQ(painter->m_calls, 1);

    CGImageRef contents = layer->contents();
    ASSERT_NE(contents, nullptr);
    EXPECT_EQ(CGImageGetWidth(contents), 6u);
    EXPECT_EQ(CGImageGetHeight(contents), 4u);
    const auto &pixels = sim::pixelsOf(contents);
    EXPECT_EQ(pixels[0], 255); // first row: red, from the top of the bounds
    EXPECT_EQ(pixels[3], 255);
    EXPECT_EQ(pixels[(3 * 6) * 4 + 3], 0); // last row: untouched

    // A plain layer keeps the contents it was given when asked to display.
    CALayer *plain = CALayer::layer();
    plain->setBounds(CGRectMake(0, 0, 2, 2));
    CGImageRef image = sim::imageFromPixels(1, 1, {1, 2, 3, 255});
    plain->setContents(image);
    CGImageRelease(image);
    plain->setNeedsDisplay();
    plain->displayIfNeeded();
    EXPECT_EQ(plain->contents(), image);

    // Subclasses draw by overriding drawInContext:.
    auto *green =
        static_cast<CALayer *>(msg<id>(reinterpret_cast<id>(GreenLayer::class_()), "layer"_sel));
    green->setBounds(CGRectMake(0, 0, 2, 2));
    green->setNeedsDisplay();
    msg<void>(green, "displayIfNeeded"_sel);
    ASSERT_NE(green->contents(), nullptr);
    EXPECT_EQ(sim::pixelsOf(green->contents())[1], 255);
}

class Animations : public Layers {
protected:
    void SetUp() override { sim::useVirtualClock(100); }
    void TearDown() override { sim::useRealClock(); }

    // A linear animation of `property` from now on over `duration` seconds.
    static sim::LayerAnimation linear(sim::AnimatedProperty property, sim::AnimatedValue from,
                                      sim::AnimatedValue to, double duration = 1)
    {
        return {property, from, to, sim::now(), duration, sim::TimingCurve::Linear, {}, {}};
    }

    // An opacity animation over a second that logs its tag when it ends, negated if unfinished.
    static sim::LayerAnimation opacityAnimation(double from, double to, std::vector<int> &log,
                                                int tag)
    {
        sim::LayerAnimation a = linear(sim::AnimatedProperty::Opacity, CGFloat(from), CGFloat(to));
        a.completion = [&log, tag](bool finished) { log.push_back(finished ? tag : -tag); };
        return a;
    }
};

// The layer lives until its animation ends; values of the wrong kind are refused.
TEST_F(Animations, AnAnimationKeepsItsLayerAndWrongKindsAreRefused)
{
    std::vector<int> log;
    {
        AutoreleasePool inner;
        CALayer::layer()->addAnimation(opacityAnimation(0, 1, log, 7));
    }
    sim::advanceVirtualClock(1);
    EXPECT_EQ(log, std::vector<int>{7});

    log.clear();
    CALayer *layer = CALayer::layer();
    sim::LayerAnimation a = opacityAnimation(0, 1, log, 3);
    a.property = sim::AnimatedProperty::Position;
    layer->addAnimation(a);
    EXPECT_EQ(log, std::vector<int>{-3});
    EXPECT_FALSE(layer->hasAnimations());
}

TEST_F(Animations, RemovingOrReplacingByKeyEndsThemUnfinished)
{
    std::vector<int> log;
    CALayer *layer = CALayer::layer();
    layer->addAnimation(opacityAnimation(0, 1, log, 1));
    layer->addAnimation(opacityAnimation(1, 0, log, 2));
    sim::advanceVirtualClock(0.25);
    layer->removeAllAnimations();
    EXPECT_EQ(log, (std::vector<int>{-1, -2}));
    sim::advanceVirtualClock(2);
    EXPECT_EQ(log.size(), 2u); // the timers went with them

    // A new animation with the same key replaces the old.
    log.clear();
    sim::LayerAnimation first = opacityAnimation(0, 1, log, 1);
    first.key = "opacity";
    layer->addAnimation(first);
    sim::LayerAnimation second = opacityAnimation(1, 0, log, 2);
    second.key = "opacity";
    layer->addAnimation(second);
    EXPECT_EQ(log, std::vector<int>{-1});
    sim::advanceVirtualClock(1);
    EXPECT_EQ(log, (std::vector<int>{-1, 2}));
}

TEST_F(Animations, PositionsAndColoursInterpolate)
{
    CALayer *layer = CALayer::layer();
    sim::LayerAnimation move =
        linear(sim::AnimatedProperty::Position, CGPointMake(0, 10), CGPointMake(100, 30), 2);
    move.beginTime = sim::now() + 1; // starts after a delay, showing its start meanwhile
    layer->addAnimation(move);
    layer->addAnimation(linear(sim::AnimatedProperty::BackgroundColor, sim::ColorValue{1, 0, 0, 1},
                               sim::ColorValue{0, 0, 1, 0}, 4));

    EXPECT_DOUBLE_EQ(layer->presented().position.x, 0);
    sim::advanceVirtualClock(2);
    sim::PresentedLayer p = layer->presented();
    EXPECT_DOUBLE_EQ(p.position.x, 50);
    EXPECT_DOUBLE_EQ(p.position.y, 20);
    EXPECT_DOUBLE_EQ(p.backgroundColor.red, 0.5);
    EXPECT_DOUBLE_EQ(p.backgroundColor.blue, 0.5);
    EXPECT_DOUBLE_EQ(p.backgroundColor.alpha, 0.5);
}

TEST(TimingCurves, NamedCurvesBendAsThePlatformsDo)
{
    using sim::TimingCurve;
    for (TimingCurve curve : {TimingCurve::Linear, TimingCurve::EaseIn, TimingCurve::EaseOut,
                              TimingCurve::EaseInEaseOut, TimingCurve::Default}) {
        EXPECT_NEAR(sim::timingCurveProgress(curve, 0), 0, 1e-9);
        EXPECT_NEAR(sim::timingCurveProgress(curve, 1), 1, 1e-9);
        EXPECT_NEAR(sim::timingCurveProgress(curve, -3), 0, 1e-9);
    }
    // Ease-in-ease-out is point-symmetric about the middle; ease-in the mirror of ease-out.
    EXPECT_NEAR(sim::timingCurveProgress(TimingCurve::EaseInEaseOut, 0.2) +
                    sim::timingCurveProgress(TimingCurve::EaseInEaseOut, 0.8),
                1, 1e-9);
    EXPECT_NEAR(sim::timingCurveProgress(TimingCurve::EaseIn, 0.3),
                1 - sim::timingCurveProgress(TimingCurve::EaseOut, 0.7), 1e-9);
}

TEST(Transactions, NestedTransactionsKeepTheirOwnFlag)
{
    EXPECT_FALSE(CATransaction::disableActions());
    CATransaction::begin();
    CATransaction::setDisableActions(true);
    CATransaction::begin();
    EXPECT_TRUE(CATransaction::disableActions()); // inherited
    CATransaction::setDisableActions(false);
    CATransaction::commit();
    EXPECT_TRUE(CATransaction::disableActions());
    CATransaction::commit();
    EXPECT_FALSE(CATransaction::disableActions());
    CATransaction::commit(); // unbalanced: ignored
    msg<void>(reinterpret_cast<id>(CATransaction::class_()), "setDisableActions:"_sel, YES);
    EXPECT_TRUE(msg<BOOL>(reinterpret_cast<id>(CATransaction::class_()), "disableActions"_sel));
    CATransaction::setDisableActions(false);
}

// Explicit animations run as the layer's own; the retained delegate hears how each ended.
std::vector<std::string> g_stops;

struct AnimationWatcher : NSObject {};

void animationDidStop(AnimationWatcher *, SEL, id animation, BOOL finished)
{
    auto *basic = static_cast<CABasicAnimation *>(animation);
    g_stops.push_back(basic->m_keyPath->str() + (finished ? " finished" : " stopped"));
}

id newWatcher()
{
    static const Class cls = ClassBuilder<AnimationWatcher>("AnimationWatcher", "NSObject")
                                 .method("animationDidStop:finished:", animationDidStop)
                                 .registerClass();
    return autorelease(msg<id>(cls, "new"_sel));
}

TEST_F(Animations, BasicAnimationsPresentTheirValuesAndTellTheirDelegate)
{
    g_stops.clear();
    CALayer *layer = CALayer::layer();
    CABasicAnimation *grow = CABasicAnimation::animationWithKeyPath("transform"_ns);
    grow->setFromValue(NSValue::valueWithCATransform3D(CATransform3DMakeScale(1, 1, 1)));
    grow->setToValue(NSValue::valueWithCATransform3D(CATransform3DMakeScale(3, 3, 1)));
    grow->setDuration(1);
    grow->setTimingFunction(CAMediaTimingFunction::functionWithName(kCAMediaTimingFunctionLinear));
    grow->setDelegate(newWatcher());
    EXPECT_EQ(CACurrentMediaTime(), sim::now());
    layer->addAnimationForKey(grow, "grow"_ns);
    sim::advanceVirtualClock(0.5);
    EXPECT_DOUBLE_EQ(layer->presented().transform.m11, 2);
    EXPECT_DOUBLE_EQ(layer->transform().m11, 1); // the model stays

    CABasicAnimation *fade = CABasicAnimation::animationWithKeyPath("opacity"_ns);
    fade->setFromValue(NSNumber::numberWithFloat(1));
    fade->setToValue(NSNumber::numberWithFloat(0));
    fade->setBeginTime(CACurrentMediaTime() + 1); // later: its from value shows until then
    fade->setDelegate(newWatcher());
    layer->addAnimationForKey(fade, "fade"_ns);
    sim::advanceVirtualClock(0.5);
    EXPECT_EQ(g_stops, (std::vector<std::string>{"transform finished"}));
    layer->removeAnimationForKey("fade"_ns);
    EXPECT_EQ(g_stops, (std::vector<std::string>{"transform finished", "opacity stopped"}));

    // A key path the stand-in does not animate stops at once.
    CABasicAnimation *odd = CABasicAnimation::animationWithKeyPath("shadowRadius"_ns);
    odd->setFromValue(NSNumber::numberWithFloat(0));
    odd->setToValue(NSNumber::numberWithFloat(1));
    odd->setDelegate(newWatcher());
    layer->addAnimationForKey(odd, "odd"_ns);
    EXPECT_EQ(g_stops.back(), "shadowRadius stopped");
    EXPECT_FALSE(layer->hasAnimations());
}

TEST(Filters, ClearAValueSetToNilAndNeedAName)
{
    AutoreleasePool pool;
    CAFilter *filter = CAFilter::filterWithName("gaussianBlur"_ns);
    filter->setValueForKey(NSNumber::numberWithDouble(8.0), "inputRadius"_ns);
    filter->setValueForKey(nullptr, "inputRadius"_ns);
    EXPECT_EQ(filter->valueForKey("inputRadius"_ns), nullptr);
    EXPECT_EQ(CAFilter::filterWithName(nullptr), nullptr);
}

} // namespace
