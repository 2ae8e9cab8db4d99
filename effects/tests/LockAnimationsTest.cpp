// The lock animations on the virtual clock: what starts and when it ends, the screen
// snapshot, each animation's start, middle and end, and the iOS 7 animator's wait.

#include "darwin/TemporaryDevice.h"
#include "darwin/notify.h"
#include "effects/CVLockAnimator.h"
#include "effects/CVScreenSnapshot.h"
#include "foundation/NSNumber.h"
#include "foundation/RunLoop.h"
#include "quartzcore/CAFilter.h"
#include "uikit/IOSurface.h"
#include "uikit/Snapshot.h"
#include "uikit/UIColor.h"
#include "uikit/UIScreen.h"
#include "uikit/tests/UIKitTest.h"

#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

namespace {

// A phone of 40 × 60 points at one pixel a point, so that frames render quickly.
void useLockTestPhone(double coreFoundationVersion, int orientation = 1)
{
    sim::DeviceProfile profile;
    profile.screenWidth = 40;
    profile.screenHeight = 60;
    profile.screenScale = 1;
    profile.coreFoundationVersion = coreFoundationVersion;
    profile.orientation = orientation;
    sim::DeviceProfile::setCurrent(profile);
}

// The overlay windows alive at the lock animations' level: all, or only those shown.
std::vector<UIWindow *> overlayWindows(bool shownOnly = false)
{
    std::vector<UIWindow *> overlays;
    for (UIWindow *window : sim::allWindows())
        if (window->m_windowLevel == CVLockAnimationWindowLevel &&
            !(shownOnly && window->isHidden()))
            overlays.push_back(window);
    return overlays;
}

CVLockAnimator *animator()
{
    return msg<CVLockAnimator *>(CVLockAnimator::class_(), "sharedInstance"_sel);
}

bool isAnimating()
{
    return msg<BOOL>(animator(), "isAnimating"_sel);
}

void startLockAnimation(NSUInteger type, float duration)
{
    msg<void, NSUInteger, float>(animator(), "startLockAnimation:withDuration:"_sel, type,
                                 duration);
}

constexpr double kIOS8 = sim::DeviceProfile::kIOS8CoreFoundation;
constexpr double kIOS9 = sim::DeviceProfile::kIOS9CoreFoundation;
constexpr CGFloat W = 40, H = 60;
// The ease-in curve (0.42, 0) (1, 1) half-way through its time.
constexpr double kEaseInAtHalfTime = 0.3153568;

constexpr Pixel kRed = {255, 0, 0, 255}, kBlue = {0, 0, 255, 255}, kBlack = {0, 0, 0, 255};

bool isColour(UIColor *colour, const char *name)
{
    return msg<BOOL>(colour, "isEqual:"_sel,
                     msg<UIColor *>(UIColor::class_(), sel_registerName(name)));
}

// Every entry within `tolerance` (the timing curve's start may differ from 0 by a rounding
// error).
bool isNear(const CATransform3D &t, const CATransform3D &expected, double tolerance = 1e-9)
{
    for (int i = 0; i < 16; ++i)
        if (std::abs((&t.m11)[i] - (&expected.m11)[i]) > tolerance)
            return false;
    return true;
}

UIView *subview(UIView *view, std::size_t index)
{
    return index < view->m_subviews.size() ? view->m_subviews[index].get() : nil;
}

class LockAnimations : public testing::Test {
protected:
    // The shared animator is made on iOS 9, whatever generation a test turns to later.
    void SetUp() override
    {
        start(kIOS9);
        animator();
    }

    void TearDown() override
    {
        msg<void>(animator(), "stopLockAnimation"_sel);
        sim::advanceVirtualClock(1);
    }

    // A red home screen with a blue mark at the interface's top-left corner.
    void start(double coreFoundationVersion, int orientation = 1)
    {
        useLockTestPhone(coreFoundationVersion, orientation);
        sim::useVirtualClock(100);
        m_home = makeView<UIWindow>(UIWindow::class_(), UIScreen::mainScreen()->bounds());
        msg<void>(m_home, "setBackgroundColor:"_sel,
                  UIColor::colorWithRedGreenBlueAlpha(1, 0, 0, 1));
        UIView *mark = makeView(CGRectMake(0, 0, 5, 5));
        msg<void>(mark, "setBackgroundColor:"_sel, UIColor::colorWithRedGreenBlueAlpha(0, 0, 1, 1));
        msg<void>(m_home, "addSubview:"_sel, mark);
        msg<void>(m_home, "makeKeyAndVisible"_sel);
    }

    // The one overlay shown.
    static UIWindow *overlay()
    {
        std::vector<UIWindow *> shown = overlayWindows(true);
        EXPECT_EQ(shown.size(), 1u);
        return shown.empty() ? nil : shown.front();
    }

    static CGFloat presentedAlpha(UIView *view) { return view->layer()->presented().opacity; }
    static CATransform3D presentedTransform(UIView *view)
    {
        return view->layer()->presented().transform;
    }

    Watchdog m_watchdog{"lock animation test"};
    AutoreleasePool m_pool;
    StrongRef<UIWindow> m_home;
};

// Types outside 1…4 start nothing; a second start is ignored and the first runs on.
TEST_F(LockAnimations, OnlyTheFirstStartOfATypeFromOneToFourRuns)
{
    for (NSUInteger type : {NSUInteger(0), NSUInteger(5), ~NSUInteger(0)}) {
        startLockAnimation(type, 1.0);
        EXPECT_FALSE(isAnimating()) << type;
        EXPECT_TRUE(overlayWindows().empty()) << type;
    }
    startLockAnimation(3, 1.0);
    startLockAnimation(1, 1.0);
    UIWindow *window = overlay();
    ASSERT_TRUE(window);
    // The zoom's black overlay, not the blur's clear one.
    EXPECT_TRUE(isColour(window->m_backgroundColor, "blackColor"));
    EXPECT_EQ(overlayWindows().size(), 1u);
}

// The overlay stays 0.3 seconds past the animation's end, then goes with the animator's
// running state, on both generations that end this way.
TEST_F(LockAnimations, EndPointThreeSecondsAfterTheAnimationCompletes)
{
    for (double generation : {kIOS8, kIOS9}) {
        start(generation);
        startLockAnimation(2, 1.0);
        sim::advanceVirtualClock(1.29);
        EXPECT_TRUE(isAnimating()) << generation;
        EXPECT_EQ(overlayWindows(true).size(), 1u);
        sim::advanceVirtualClock(0.02);
        EXPECT_FALSE(isAnimating()) << generation;
        EXPECT_TRUE(overlayWindows(true).empty());
    }
}

TEST_F(LockAnimations, StopEndsAtOnceAndALaterDelayedEndLeavesTheNextAnimationRunning)
{
    startLockAnimation(1, 0.2);
    sim::advanceVirtualClock(0.25); // completed; its end is due at 0.5
    msg<void>(animator(), "stopLockAnimation"_sel);
    EXPECT_FALSE(isAnimating());
    EXPECT_TRUE(overlayWindows(true).empty());

    startLockAnimation(4, 1.0);
    sim::advanceVirtualClock(0.3);
    EXPECT_TRUE(isAnimating());
    EXPECT_EQ(overlayWindows(true).size(), 1u);
    sim::advanceVirtualClock(1.0);
    EXPECT_FALSE(isAnimating());
}

TEST_F(LockAnimations, SnapshotCarriesTheImageOrientationOfTheInterface)
{
    struct Case {
        int interfaceOrientation;
        UIImageOrientation imageOrientation;
    };
    for (Case c : {Case{1, UIImageOrientationUp}, Case{2, UIImageOrientationDown},
                   Case{3, UIImageOrientationLeft}, Case{4, UIImageOrientationRight}}) {
        start(kIOS9, c.interfaceOrientation);
        UIImageView *view = CVScreenSnapshotView();
        ASSERT_TRUE(view);
        UIImage *image = view->m_image;
        EXPECT_EQ(image->m_orientation, c.imageOrientation);
        // The panel's pixels are portrait; shown upright they fill the interface, the mark
        // at its top-left.
        EXPECT_EQ(CGImageGetWidth(image->CGImage()), 40u);
        bool landscape = c.interfaceOrientation >= 3;
        EXPECT_EQ(image->size().width, landscape ? H : W);
        CGImageRef shown = view->layer()->contents();
        EXPECT_EQ(pixelAt(shown, 1, 1), kBlue) << c.interfaceOrientation;
        EXPECT_EQ(pixelAt(shown, CGImageGetWidth(shown) - 2, CGImageGetHeight(shown) - 2), kRed);
    }
}

TEST_F(LockAnimations, SnapshotOnIOS7IsTheScreenAsItLies)
{
    start(sim::DeviceProfile::kIOS7CoreFoundation);
    UIImageView *view = msg<UIImageView *>(UIScreen::class_(), "screenSnapshotView"_sel);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->m_image->m_orientation, UIImageOrientationUp);
    EXPECT_RECT_EQ(msg<CGRect>(view, "frame"_sel), 0, 0, W, H);
    EXPECT_EQ(pixelAt(view->layer()->contents(), 1, 1), kBlue);
}

TEST_F(LockAnimations, BlurFadesABlurredSnapshotIn)
{
    startLockAnimation(1, 1.0);
    StrongRef<UIWindow> window(overlay()); // kept past the end, to look at afterwards
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isKeyWindow());
    EXPECT_FALSE(window->m_userInteractionEnabled);
    StrongRef<UIView> snapshot(subview(window, 0));
    ASSERT_TRUE(snapshot);
    EXPECT_FALSE(snapshot->m_userInteractionEnabled);
    EXPECT_RECT_EQ(msg<CGRect>(window, "frame"_sel), 0, 0, W, H);
    NSArray *filters = snapshot->layer()->filters();
    ASSERT_TRUE(filters);
    ASSERT_EQ(filters->count(), 1u);
    auto *blur = static_cast<CAFilter *>(filters->objectAtIndex(0));
    EXPECT_STREQ(blur->name()->UTF8String(), "gaussianBlur");
    EXPECT_EQ(static_cast<NSNumber *>(blur->valueForKey("inputRadius"_ns))->doubleValue(), 8.0);

    EXPECT_NEAR(presentedAlpha(snapshot), 0.1, 1e-6);
    sim::advanceVirtualClock(0.5);
    EXPECT_NEAR(presentedAlpha(snapshot), 0.1 + 0.9 * kEaseInAtHalfTime, 1e-4);
    sim::advanceVirtualClock(0.51);
    EXPECT_NEAR(presentedAlpha(snapshot), 1.0, 1e-6);

    sim::advanceVirtualClock(0.3);
    EXPECT_EQ(snapshot->superview(), nil);
    EXPECT_TRUE(window->isHidden());
}

TEST_F(LockAnimations, OldTVClosesToALineThatShrinksToTheCentre)
{
    startLockAnimation(2, 1.0);
    StrongRef<UIWindow> window(overlay()); // kept past the end, to look at afterwards
    ASSERT_TRUE(window);
    StrongRef<UIView> flash(subview(window, 0)), top(subview(window, 1)),
        bottom(subview(window, 2));
    ASSERT_TRUE(flash && top && bottom);
    EXPECT_TRUE(isColour(flash->m_backgroundColor, "whiteColor"));

    sim::advanceVirtualClock(0.5);
    EXPECT_NEAR(presentedAlpha(flash), kEaseInAtHalfTime, 1e-4);

    sim::advanceVirtualClock(0.5);
    EXPECT_RECT_EQ(msg<CGRect>(top, "frame"_sel), 0, -H / 2 - 2, W, H);
    EXPECT_RECT_EQ(msg<CGRect>(bottom, "frame"_sel), 0, H / 2 + 2, W, H);
    // The shrink has begun: a line four points high across the middle, narrowing.
    EXPECT_RECT_EQ(msg<CGRect>(flash, "frame"_sel), W / 2, 0, 0, H);
    EXPECT_TRUE(isColour(window->m_backgroundColor, "blackColor"));
    sim::advanceVirtualClock(0.11);
    auto screen = StrongRef<CGImage>::adopt(sim::snapshotOfScreen());
    EXPECT_EQ(pixelAt(screen, 20, 30), kBlack);
    EXPECT_FALSE(window->isHidden());

    sim::advanceVirtualClock(0.2);
    EXPECT_TRUE(window->isHidden());
}

TEST_F(LockAnimations, ZoomOutShrinksTheSnapshotToNothingOverBlack)
{
    startLockAnimation(3, 1.0);
    UIWindow *window = overlay();
    ASSERT_TRUE(window);
    EXPECT_FALSE(window->m_userInteractionEnabled);
    UIView *snapshot = subview(window, 0);
    ASSERT_TRUE(snapshot);
    EXPECT_TRUE(isNear(presentedTransform(snapshot), CATransform3DIdentity));
    CATransform3D end = snapshot->layer()->transform();
    EXPECT_EQ(end.m11, 0);
    EXPECT_EQ(end.m22, 0);
    EXPECT_TRUE(CATransform3DIsAffine(end));

    sim::advanceVirtualClock(1.01);
    auto screen = StrongRef<CGImage>::adopt(sim::snapshotOfScreen());
    EXPECT_EQ(pixelAt(screen, 20, 30), kBlack);
}

TEST_F(LockAnimations, SlideAwayTipsTheSnapshotBackIntoTheDistance)
{
    startLockAnimation(4, 1.0);
    UIWindow *window = overlay();
    ASSERT_TRUE(window);
    UIView *snapshot = subview(window, 0);
    ASSERT_TRUE(snapshot);
    EXPECT_TRUE(isNear(presentedTransform(snapshot), CATransform3DIdentity));
    // Pushed back by 0.6 H, a fifth of the size, a quarter turn about x, seen with a
    // perspective of −0.0001; worked out by hand in row-vector order.
    CATransform3D t = snapshot->layer()->transform();
    CGFloat d = 0.6 * H;
    EXPECT_TRUE(
        isNear(t, {0.2, 0, 0, 0, 0, 0, 0.2, -0.2 * 0.0001, 0, -1, 0, 0, 0, -d, 0, 1}, 1e-5));
}

constexpr const char *kDisplayStatus = "com.apple.iokit.hid.displayStatus";

// Turns the main run loop at the present instant until `done` or two real seconds pass,
// so that a notification that has reached the process is handled.
bool turnMainLoopUntil(const std::function<bool()> &done)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        sim::RunLoop::main().runInMode(sim::kDefaultMode, 0, false);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

// The iOS 7 case, in a process where the shared animator is first made on iOS 7: it
// decides then whether to watch the display, whose state travels as a Darwin notification
// through a device of the test's own. Answers 0, or the number of the check that failed.
int keepsTheOverlayUntilTheDisplayReportsOff()
{
    sim::TemporaryDevice device;
    if (!device.ready())
        return 1;
    Watchdog watchdog{"iOS 7 lock animator test"};
    AutoreleasePool pool;
    useLockTestPhone(sim::DeviceProfile::kIOS7CoreFoundation);
    sim::useVirtualClock(100);
    int display = -1;
    if (notify_register_check(kDisplayStatus, &display) != NOTIFY_STATUS_OK)
        return 2;
    notify_set_state(display, 1);

    startLockAnimation(2, 0.5);
    sim::advanceVirtualClock(2.0);
    if (!isAnimating() || overlayWindows(true).size() != 1)
        return 3;
    // A report that the display is still on leaves the overlay up.
    notify_post(kDisplayStatus);
    turnMainLoopUntil([] { return false; });
    if (!isAnimating())
        return 4;
    notify_set_state(display, 0);
    notify_post(kDisplayStatus);
    if (!turnMainLoopUntil([] { return !isAnimating(); }))
        return 5;
    return overlayWindows(true).empty() ? 0 : 6;
}

// A death test of the thread-safe style runs in a fresh process of this binary, where
// no other test has made the shared animator yet.
TEST(LockAnimatorOnIOS7, KeepsTheOverlayUntilTheDisplayReportsOff)
{
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(std::_Exit(keepsTheOverlayUntilTheDisplayReportsOff()), testing::ExitedWithCode(0),
                "");
}

} // namespace
