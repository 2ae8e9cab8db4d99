// Fingers on views: the view that began a touch keeps it; tap recognizers take taps.

#include "UIKitTest.h"
#include "foundation/Clock.h"
#include "foundation/NSSet.h"
#include "foundation/RunLoop.h"
#include "uikit/GestureInput.h"
#include "uikit/UIEvent.h"
#include "uikit/UITapGestureRecognizer.h"
#include "uikit/UITouch.h"

#include <cctype>
#include <string>
#include <vector>

namespace {

struct TouchRecord {
    std::string phase;
    UIView *view;
    CGPoint location; // in the receiving view
    CGPoint previous;
};
std::vector<TouchRecord> g_touches;
int g_taps = 0;

struct TouchRecordingView : UIView {};

// Records the phase the selector names: "touchesBegan:withEvent:" is "began".
void record(UIView *self, SEL cmd, NSSet *touches, UIEvent *)
{
    std::string phase = sel_getName(cmd) + 7;
    phase = phase.substr(0, phase.find(':'));
    phase[0] = char(std::tolower(phase[0]));
    auto *touch = static_cast<UITouch *>(touches->anyObject());
    g_touches.push_back(
        {phase, self, touch->locationInView(self), touch->previousLocationInView(self)});
}

Class recordingViewClass()
{
    static const Class cls = [] {
        UIView::class_();
        return ClassBuilder<TouchRecordingView>("TouchRecordingView", "UIView")
            .method("touchesBegan:withEvent:", record)
            .method("touchesMoved:withEvent:", record)
            .method("touchesEnded:withEvent:", record)
            .method("touchesCancelled:withEvent:", record)
            .registerClass();
    }();
    return cls;
}

struct TapCounter : NSObject {};

Class tapCounterClass()
{
    static const Class cls = ClassBuilder<TapCounter>("TouchTestTapCounter", "NSObject")
                                 .method(
                                     "tapped:", +[](TapCounter *, SEL, id) { ++g_taps; })
                                 .registerClass();
    return cls;
}

class Touches : public UIKitTest {
protected:
    void SetUp() override
    {
        UIKitTest::SetUp();
        g_touches.clear();
        g_taps = 0;
        root = makeView({0, 0, 300, 300});
        recorder = makeView(recordingViewClass(), {100, 100, 100, 100});
        plain = makeView({10, 10, 50, 50});
        msg<void, UIView *>(root, "addSubview:"_sel, recorder);
        msg<void, UIView *>(recorder, "addSubview:"_sel, plain);
    }

    void addTapRecognizer(UIView *view)
    {
        counter = StrongRef<NSObject>::adopt(sim::create(tapCounterClass()));
        id recognizer =
            msg<id, id, SEL>(msg<id>(UITapGestureRecognizer::class_(), "alloc"_sel),
                             "initWithTarget:action:"_sel, counter.get(), "tapped:"_sel);
        msg<void, id>(view, "addGestureRecognizer:"_sel, recognizer);
        objc_release(recognizer);
    }

    UIView *root = nil;
    UIView *recorder = nil;
    UIView *plain = nil;
    StrongRef<NSObject> counter;
};

// Down on `plain`, which handles no touch: the recorder above it keeps the touch wherever the
// finger goes, each move telling the location before; a finger where no view is hit does nothing.
TEST_F(Touches, TheViewThatBeganKeepsTheTouchWhereverTheFingerGoes)
{
    ASSERT_TRUE(sim::touchDown(root, {150, 150}));
    sim::touchMove({160, 170});
    sim::touchMove({250, 20});
    sim::touchUp({280, 10});
    std::vector<std::string> phases;
    for (const auto &touch : g_touches) {
        phases.push_back(touch.phase);
        EXPECT_EQ(touch.view, recorder);
    }
    EXPECT_EQ(phases, (std::vector<std::string>{"began", "moved", "moved", "ended"}));
    EXPECT_POINT_EQ(g_touches[0].location, 50, 50);
    EXPECT_POINT_EQ(g_touches[1].previous, 50, 50);
    EXPECT_POINT_EQ(g_touches[2].previous, 60, 70);
    EXPECT_POINT_EQ(g_touches[3].location, 180, -90);

    g_touches.clear();
    EXPECT_FALSE(sim::touchDown(root, {400, 400}));
    sim::touchMove({150, 150});
    sim::touchUp({150, 150});
    EXPECT_TRUE(g_touches.empty());
}

TEST_F(Touches, DraggingFingerPausesDefaultModeTimersUntilItLifts)
{
    int defaultTicks = 0;
    int commonTicks = 0;
    sim::RunLoop &loop = sim::RunLoop::main();
    auto onlyDefault = loop.addTimer(
        sim::now() + 1, 1, [&] { ++defaultTicks; }, sim::kDefaultMode);
    auto common = loop.addTimer(sim::now() + 1, 1, [&] { ++commonTicks; });
    ASSERT_TRUE(sim::touchDown(root, {150, 150}));
    sim::advanceVirtualClock(2); // a finger resting is not dragging yet
    EXPECT_EQ(defaultTicks, 2);
    sim::touchMove({150, 200});
    EXPECT_EQ(loop.currentMode(), "");
    loop.runInMode(sim::kDefaultMode, 3, false);
    EXPECT_EQ(defaultTicks, 2);
    EXPECT_EQ(commonTicks, 5);
    sim::touchUp({150, 220});
    loop.runInMode(sim::kDefaultMode, 0.5, false); // the missed ticks make one late tick
    EXPECT_EQ(defaultTicks, 3);
    loop.removeSource(onlyDefault);
    loop.removeSource(common);
}

TEST_F(Touches, ATapRecognizerTakesATapAndTheViewHearsItCancelledAsByASecondFinger)
{
    addTapRecognizer(recorder);
    ASSERT_TRUE(sim::touchDown(root, {150, 150}));
    sim::touchUp({152, 151});
    EXPECT_EQ(g_taps, 1);
    ASSERT_EQ(g_touches.size(), 2u);
    EXPECT_EQ(g_touches[1].phase, "cancelled");

    // A finger that travels is no tap.
    ASSERT_TRUE(sim::touchDown(root, {150, 150}));
    sim::touchMove({190, 150});
    sim::touchUp({150, 150});
    EXPECT_EQ(g_taps, 1);
    EXPECT_EQ(g_touches.back().phase, "ended");

    // A second finger down cancels the first.
    g_touches.clear();
    ASSERT_TRUE(sim::touchDown(root, {150, 150}));
    ASSERT_TRUE(sim::touchDown(root, {160, 160}));
    ASSERT_EQ(g_touches.size(), 3u);
    EXPECT_EQ(g_touches[1].phase, "cancelled");
    EXPECT_EQ(g_touches[2].phase, "began");
    sim::touchUp({160, 160});
}

} // namespace
