#include "settings-panel/ChangesBanner.h"

#include "quartzcore/CGAffineTransform.h"
#include "settings-panel/CVViewAnimation.h"
#include "uikit/UIApplication.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIScreen.h"
#include "uikit/UITapGestureRecognizer.h"

namespace {

Class g_bannerClass;
Class g_controllerClass;

constexpr CGFloat kDefaultStatusBarHeight = 20;
constexpr CGFloat kFontSize = 12;
constexpr CGFloat kDarkGrey = 1.0 / 3.0; // the grey of darkGrayColor

CGFloat statusBarHeight()
{
    id application = msg<id>(UIApplication::class_(), "sharedApplication"_sel);
    if (!msg<BOOL>(application, "respondsToSelector:"_sel, "statusBarFrame"_sel))
        return kDefaultStatusBarHeight;
    CGFloat height = msg<CGRect>(application, "statusBarFrame"_sel).size.height;
    return height > 0 ? height : kDefaultStatusBarHeight;
}

CGRect bannerFrame()
{
    CGRect screen = msg<CGRect>(msg<id>(UIScreen::class_(), "mainScreen"_sel), "bounds"_sel);
    return CGRect{{0, 0}, {screen.size.width, statusBarHeight()}};
}

// Above its place: where the label slides in from and out to.
CGAffineTransform offScreen(CGFloat height)
{
    return CGAffineTransformMakeTranslation(0, -height);
}

id newView(Class cls, CGRect frame)
{
    return msg<id, CGRect>(msg<id>(cls, "alloc"_sel), "initWithFrame:"_sel, frame);
}

void makeWindow(ChangesBanner *self, CGRect frame)
{
    self->m_window =
        StrongRef<UIWindow>::adopt(static_cast<UIWindow *>(newView(UIWindow::class_(), frame)));
    UIWindow *window = self->m_window.get();
    msg<void, UIWindowLevel>(window, "setWindowLevel:"_sel, CVBannerWindowLevel);
    msg<void>(window, "setBackgroundColor:"_sel,
              msg<UIColor *>(UIColor::class_(), "clearColor"_sel));
    id controller = msg<id>(msg<id>(g_controllerClass, "alloc"_sel), "init"_sel);
    msg<void>(window, "setRootViewController:"_sel, controller);
    objc_release(controller);
    id tap = msg<id>(UITapGestureRecognizer::class_(), "alloc"_sel);
    tap = msg<id, id, SEL>(tap, "initWithTarget:action:"_sel, self, "bannerTapped:"_sel);
    msg<void>(window, "addGestureRecognizer:"_sel, tap);
    objc_release(tap);
}

void makeLabel(ChangesBanner *self, CGRect bounds)
{
    self->m_label = StrongRef<MarqueeLabel>::adopt(
        static_cast<MarqueeLabel *>(newView(MarqueeLabel::class_(), bounds)));
    MarqueeLabel *label = self->m_label.get();
    msg<void, NSInteger>(label, "setNumberOfLines:"_sel, 1);
    msg<void, NSTextAlignment>(label, "setTextAlignment:"_sel, NSTextAlignmentCenter);
    msg<void>(label, "setFont:"_sel,
              msg<UIFont *, CGFloat>(UIFont::class_(), "systemFontOfSize:"_sel, kFontSize));
    msg<void>(label, "setTextColor:"_sel, msg<UIColor *>(UIColor::class_(), "whiteColor"_sel));
    msg<void>(label, "setBackgroundColor:"_sel,
              msg<UIColor *, CGFloat, CGFloat>(UIColor::class_(), "colorWithWhite:alpha:"_sel,
                                               kDarkGrey, 1.0));
    msg<void, BOOL>(label, "setAdjustsFontSizeToFitWidth:"_sel, NO);
    msg<void, BOOL>(label, "setClipsToBounds:"_sel, YES);
}

// What the screen showed, clipped to the banner, so the label slides over the screen.
void addScreenBehind(ChangesBanner *self, CGRect bounds)
{
    id container = newView(UIView::class_(), bounds);
    msg<void, BOOL>(container, "setClipsToBounds:"_sel, YES);
    id snapshot = msg<id, BOOL>(msg<id>(UIScreen::class_(), "mainScreen"_sel),
                                "snapshotViewAfterScreenUpdates:"_sel, NO);
    if (snapshot)
        msg<void>(container, "addSubview:"_sel, snapshot);
    msg<void>(self->m_window.get(), "addSubview:"_sel, container);
    objc_release(container);
}

ChangesBanner *initWithTargetAction(ChangesBanner *self, SEL, id target, SEL action)
{
    self->m_target = target;
    self->m_action = action;
    return self;
}

void showMessage(ChangesBanner *self, SEL, NSString *message)
{
    CGRect frame = bannerFrame();
    CGRect bounds{{0, 0}, frame.size};
    makeWindow(self, frame);
    addScreenBehind(self, bounds);
    makeLabel(self, bounds);
    MarqueeLabel *label = self->m_label.get();
    msg<void>(label, "setText:"_sel, message);
    // Slides down from its bottom edge, as if unrolled from under the status bar.
    CALayer *layer = msg<CALayer *>(label, "layer"_sel);
    msg<void>(layer, "setAnchorPoint:"_sel, CGPoint{0.5, 1.0});
    msg<void>(label, "setCenter:"_sel, CGPoint{bounds.size.width / 2, bounds.size.height});
    msg<void>(label, "setTransform:"_sel, offScreen(bounds.size.height));
    msg<void>(self->m_window.get(), "addSubview:"_sel, label);
    msg<void, BOOL>(self->m_window.get(), "setHidden:"_sel, NO);
    self->m_showing = true;
    CVAnimate(CVBannerSlideDuration, 0, UIViewAnimationOptionCurveEaseOut,
              [label] { msg<void>(label, "setTransform:"_sel, CGAffineTransformIdentity); });
}

// The window stays until the label is out of sight, even when the banner goes first.
void hide(ChangesBanner *self, SEL)
{
    if (!self->m_showing)
        return;
    self->m_showing = false;
    StrongRef<UIWindow> window = self->m_window;
    StrongRef<MarqueeLabel> label = self->m_label;
    CGFloat height = msg<CGRect>(label.get(), "bounds"_sel).size.height;
    CVAnimate(
        CVBannerSlideDuration, 0, UIViewAnimationOptionCurveEaseIn,
        [label, height] { msg<void>(label.get(), "setTransform:"_sel, offScreen(height)); },
        [window](BOOL) { msg<void, BOOL>(window.get(), "setHidden:"_sel, YES); });
}

void bannerTapped(ChangesBanner *self, SEL, id)
{
    msg<void>(self->m_target, self->m_action);
}

UIInterfaceOrientationMask portraitOnly(BannerViewController *, SEL)
{
    return UIInterfaceOrientationMaskPortrait;
}

const Class kRegistered = [] {
    g_bannerClass = ClassBuilder<ChangesBanner>("ChangesBanner", "NSObject")
                        .method("initWithTarget:action:", initWithTargetAction)
                        .method("showMessage:", showMessage)
                        .method("hide", hide)
                        .getter<&ChangesBanner::m_showing>("isShowing")
                        .method("bannerTapped:", bannerTapped)
                        .registerClass();
    g_controllerClass =
        ClassBuilder<BannerViewController>("BannerViewController", "UIViewController")
            .method("supportedInterfaceOrientations", portraitOnly)
            .registerClass();
    return g_bannerClass;
}();

} // namespace

Class ChangesBanner::class_()
{
    return g_bannerClass;
}

Class BannerViewController::class_()
{
    return g_controllerClass;
}
