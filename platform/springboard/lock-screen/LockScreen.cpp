#include "springboard/lock-screen/LockScreen.h"

#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/SpringBoardMetrics.h"
#include "springboard/SpringBoardState.h"
#include "uikit/UIApplication.h"
#include "uikit/UIFont.h"

namespace {

constexpr CGFloat kDateViewTop = 40;
constexpr CGFloat kTimeHeight = 90;
constexpr CGFloat kDateHeight = 24;
constexpr CGFloat kSliderHeight = 30;
constexpr CGFloat kSliderBottomMargin = 60;

StrongRef<NSDateFormatter> formatterWithPattern(NSString *pattern)
{
    StrongRef<NSDateFormatter> formatter = NSDateFormatter::formatter();
    formatter->setDateFormat(pattern);
    return formatter;
}

namespace imp {

id dateViewInitWithFrame(SBFLockScreenDateView *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(SBFLockScreenDateView::class_(), self, _cmd, frame))
        return nil;
    self->m_timeFormatter = formatterWithPattern("h:mm"_ns);
    self->m_dateFormatter = formatterWithPattern("EEEE, MMMM d"_ns);
    self->m_timeLabel = sim::newLabel(CGRectZero, nil, UIFont::ultraLightSystemFontOfSize(80));
    self->m_dateLabel = sim::newLabel(CGRectZero, nil, UIFont::systemFontOfSize(18));
    sim::addSubview(self, self->m_timeLabel);
    sim::addSubview(self, self->m_dateLabel);
    return self;
}

NSDate *date(SBFLockScreenDateView *self, SEL)
{
    return self->m_date;
}

void setDate(SBFLockScreenDateView *self, SEL, NSDate *date)
{
    self->m_date = date;
    msg<void, NSString *>(self->m_timeLabel, "setText:"_sel,
                          self->m_timeFormatter->stringFromDate(date));
    msg<void, NSString *>(self->m_dateLabel, "setText:"_sel,
                          self->m_dateFormatter->stringFromDate(date));
}

void dateViewLayoutSubviews(SBFLockScreenDateView *self, SEL)
{
    CGFloat width = self->bounds().size.width;
    sim::setFrame(self->m_timeLabel, {{0, 0}, {width, kTimeHeight}});
    sim::setFrame(self->m_dateLabel, {{0, kTimeHeight}, {width, kDateHeight}});
}

id lockScreenInitWithFrame(SBLockScreenView *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(SBLockScreenView::class_(), self, _cmd, frame))
        return nil;
    msg<void, UIColor *>(self, "setBackgroundColor:"_sel, UIColor::colorWithWhiteAlpha(0, 0.25));
    self->m_dateView =
        sim::newView<SBFLockScreenDateView>(SBFLockScreenDateView::class_(), CGRectZero);
    sim::addSubview(self, self->m_dateView);
    self->m_slideToUnlockView = sim::newLabel(CGRectZero, nil, UIFont::systemFontOfSize(24));
    sim::addSubview(self, self->m_slideToUnlockView);
    msg<void, NSString *>(self, "setCustomSlideToUnlockText:"_sel, nil);
    return self;
}

SBFLockScreenDateView *dateView(SBLockScreenView *self, SEL)
{
    return self->m_dateView;
}

NSString *defaultSlideToUnlockText(SBLockScreenView *, SEL)
{
    return "slide to unlock"_ns;
}

void setCustomSlideToUnlockText(SBLockScreenView *self, SEL, NSString *text)
{
    self->m_customSlideToUnlockText = text;
    NSString *shown = text ? text : msg<NSString *>(self, "_defaultSlideToUnlockText"_sel);
    msg<void, NSString *>(self->m_slideToUnlockView, "setText:"_sel, shown);
}

void lockScreenLayoutSubviews(SBLockScreenView *self, SEL)
{
    CGSize size = self->bounds().size;
    sim::setFrame(self->m_dateView, {{0, kDateViewTop}, {size.width, kTimeHeight + kDateHeight}});
    sim::setFrame(
        self->m_slideToUnlockView,
        {{0, size.height - kSliderBottomMargin - kSliderHeight}, {size.width, kSliderHeight}});
}

SBLockScreenViewController *sharedLockScreenViewController(id, SEL)
{
    return static_cast<SBLockScreenViewController *>(
        sim::springBoardState().lockScreenViewController.get());
}

void loadView(SBLockScreenViewController *self, SEL)
{
    long orientation = UIApplication::sharedApplication()->statusBarOrientation();
    CGRect bounds = {{0, 0}, sim::SpringBoardMetrics::interfaceSize(orientation)};
    msg<void, UIView *>(self, "setView:"_sel,
                        sim::newView<SBLockScreenView>(SBLockScreenView::class_(), bounds));
}

SBLockScreenView *lockScreenView(SBLockScreenViewController *self, SEL)
{
    return msg<SBLockScreenView *>(self, "view"_sel);
}

void updateLockScreenDate(SBLockScreenViewController *self, SEL)
{
    SBLockScreenView *view = msg<SBLockScreenView *>(self, "lockScreenView"_sel);
    msg<void, NSDate *>(msg<SBFLockScreenDateView *>(view, "dateView"_sel), "setDate:"_sel,
                        NSDate::date());
}

// The date is current whenever the lock screen appears, and the clock keeps it so.
void viewWillAppear(SBLockScreenViewController *self, SEL, BOOL)
{
    msg<void>(self, "_updateLockScreenDate"_sel);
    self->m_clock.start([self] { msg<void>(self, "_updateLockScreenDate"_sel); });
}

} // namespace imp

} // namespace

Class SBFLockScreenDateView::class_()
{
    return objc_getClass("SBFLockScreenDateView");
}

Class SBLockScreenView::class_()
{
    return objc_getClass("SBLockScreenView");
}

Class SBLockScreenViewController::class_()
{
    return objc_getClass("SBLockScreenViewController");
}

namespace sim {

void registerLockScreenClasses()
{
    HostClass<SBFLockScreenDateView>("SBFLockScreenDateView", "UIView")
        .ivar("_timeLabel", &SBFLockScreenDateView::m_timeLabel)
        .ivar("_dateLabel", &SBFLockScreenDateView::m_dateLabel)
        .method("initWithFrame:", imp::dateViewInitWithFrame)
        .method("date", imp::date)
        .method("setDate:", imp::setDate)
        .method("layoutSubviews", imp::dateViewLayoutSubviews)
        .registerClass();
    HostClass<SBLockScreenView>("SBLockScreenView", "UIView")
        .ivar("_dateView", &SBLockScreenView::m_dateView)
        .ivar("_slideToUnlockView", &SBLockScreenView::m_slideToUnlockView)
        .ivar("_customSlideToUnlockText", &SBLockScreenView::m_customSlideToUnlockText)
        .method("initWithFrame:", imp::lockScreenInitWithFrame)
        .method("dateView", imp::dateView)
        .method("_defaultSlideToUnlockText", imp::defaultSlideToUnlockText)
        .method("setCustomSlideToUnlockText:", imp::setCustomSlideToUnlockText)
        .method("layoutSubviews", imp::lockScreenLayoutSubviews)
        .registerClass();
    HostClass<SBLockScreenViewController>("SBLockScreenViewController", "UIViewController")
        .classMethod("sharedInstance", imp::sharedLockScreenViewController)
        .method("loadView", imp::loadView)
        .method("lockScreenView", imp::lockScreenView)
        .method("_updateLockScreenDate", imp::updateLockScreenDate)
        .method("viewWillAppear:", imp::viewWillAppear)
        .registerClass();
}

} // namespace sim
