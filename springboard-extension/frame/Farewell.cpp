// The farewell before SpringBoard relaunches to apply settings. Applying presses the home
// button; the farewell waits for the interface animation that this starts, because a
// snapshot taken in the middle of it would freeze a half-moved screen. So it hooks the
// end of SpringBoard's interface animations and plays 0.1 second after the next one: a
// snapshot of the screen in the key window blurs in and darkens for 2.3 seconds, and
// when that animation has run to its end SpringBoard relaunches.
//
// The hook stays for the life of the process (a later animation plays the farewell again
// until the relaunch happens) and is installed at most once: installing it a second time
// would keep the replacement itself as its previous implementation, which would then
// call itself for ever.

#include "darwin/notify.h"
#include "foundation/NSNumber.h"
#include "foundation/NSString.h"
#include "objc/NSObject.h"
#include "quartzcore/CAFilter.h"
#include "springboard-extension/frame/Extension.h"
#include "springboard-extension/frame/Replacement.h"
#include "uikit/UIApplication.h"
#include "uikit/UIColor.h"
#include "uikit/UIScreen.h"
#include "uikit/UIView.h"
#include "uikit/UIWindow.h"

namespace {

constexpr std::int64_t kFarewellDelayNanoseconds = 100000001;
constexpr NSTimeInterval kFarewellDuration = 2.3;
constexpr CGFloat kSnapshotStartAlpha = 0.1;
constexpr CGFloat kDarkeningEndAlpha = 0.5;
constexpr double kBlurRadius = 5.0;

// nullptr until the hook is installed.
void (*orig_SBUIAnimationController_noteAnimationDidFinish)(id, SEL);

void SBUIAnimationController_noteAnimationDidFinish(id self, SEL _cmd)
{
    orig_SBUIAnimationController_noteAnimationDidFinish(self, _cmd);
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, kFarewellDelayNanoseconds),
                   dispatch_get_main_queue(), ShowFarewell);
}

// A black view, still transparent; the caller owns it.
UIView *newDarkeningView(CGRect frame)
{
    id darkening =
        msg<id, CGRect>(msg<id>(UIView::class_(), "alloc"_sel), "initWithFrame:"_sel, frame);
    msg<void>(darkening, "setBackgroundColor:"_sel,
              msg<UIColor *>(UIColor::class_(), "blackColor"_sel));
    msg<void, CGFloat>(darkening, "setAlpha:"_sel, 0);
    return static_cast<UIView *>(darkening);
}

void blur(UIView *snapshot)
{
    CAFilter *filter =
        msg<CAFilter *>(CAFilter::class_(), "filterWithName:"_sel, "gaussianBlur"_ns);
    msg<void>(filter, "setValue:forKey:"_sel, NSNumber::numberWithDouble(kBlurRadius),
              "inputRadius"_ns);
    CALayer *layer = msg<CALayer *>(snapshot, "layer"_sel);
    msg<void>(layer, "setFilters:"_sel, NSArray::arrayWithObjects({filter}));
    msg<void, BOOL>(layer, "setShouldRasterize:"_sel, YES);
}

void relaunchWhenFinished(BOOL finished)
{
    if (finished)
        msg<void>(msg<id>(UIApplication::class_(), "sharedApplication"_sel),
                  "_relaunchSpringBoardNow"_sel);
}

} // namespace

void InstallFarewell()
{
    if (orig_SBUIAnimationController_noteAnimationDidFinish)
        return;
    ReplaceMethod(objc_getClass("SBUIAnimationController"), "_noteAnimationDidFinish"_sel,
                  SBUIAnimationController_noteAnimationDidFinish,
                  &orig_SBUIAnimationController_noteAnimationDidFinish);
}

void ShowFarewell()
{
    UIView *snapshot = msg<UIView *, BOOL>(msg<id>(UIScreen::class_(), "mainScreen"_sel),
                                           "snapshotViewAfterScreenUpdates:"_sel, YES);
    msg<void, CGFloat>(snapshot, "setAlpha:"_sel, kSnapshotStartAlpha);
    // Without a snapshot the frame is zero and nothing shows, but the relaunch still comes.
    StrongRef<UIView> darkening =
        StrongRef<UIView>::adopt(newDarkeningView(msg<CGRect>(snapshot, "frame"_sel)));
    msg<void>(snapshot, "addSubview:"_sel, darkening.get());
    blur(snapshot);
    msg<void>(msg<id>(UIWindow::class_(), "keyWindow"_sel), "addSubview:"_sel, snapshot);
    std::function<void()> animations = [snapshot, darkening = darkening.get()] {
        msg<void, CGFloat>(snapshot, "setAlpha:"_sel, 1.0);
        msg<void, CGFloat>(darkening, "setAlpha:"_sel, kDarkeningEndAlpha);
    };
    msg<void, NSTimeInterval, NSTimeInterval, UIViewAnimationOptions, std::function<void()>,
        std::function<void(BOOL)>>(UIView::class_(),
                                   "animateWithDuration:delay:options:animations:completion:"_sel,
                                   kFarewellDuration, 0.0, UIViewAnimationOptionLayoutSubviews,
                                   animations, relaunchWhenFinished);
}
