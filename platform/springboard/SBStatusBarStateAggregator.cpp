#include "springboard/SBStatusBarStateAggregator.h"

#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/SpringBoardState.h"
#include "uikit/UIFont.h"

namespace {

constexpr CGFloat kItemMargin = 6;
constexpr CGFloat kSideItemWidth = 90;

namespace imp {

SBStatusBarStateAggregator *sharedInstance(id, SEL)
{
    return static_cast<SBStatusBarStateAggregator *>(
        sim::springBoardState().statusBarStateAggregator.get());
}

void resetTimeItemFormatter(SBStatusBarStateAggregator *self, SEL)
{
    self->m_timeItemDateFormatter = NSDateFormatter::formatter();
    self->m_timeItemDateFormatter->setTimeStyle(NSDateFormatterShortStyle);
}

void updateTimeItems(SBStatusBarStateAggregator *self, SEL)
{
    NSString *text = msg<NSString *, NSDate *>(self->m_timeItemDateFormatter, "stringFromDate:"_sel,
                                               NSDate::date());
    msg<void, NSString *>(self->m_timeLabel, "setText:"_sel, text);
}

void restartTimeItemTimer(SBStatusBarStateAggregator *self, SEL)
{
    self->m_timeItemTimer.start([self] { msg<void>(self, "_updateTimeItems"_sel); });
}

void stopTimeItemTimer(SBStatusBarStateAggregator *self, SEL)
{
    self->m_timeItemTimer.stop();
}

} // namespace imp

} // namespace

Class SBStatusBarStateAggregator::class_()
{
    return objc_getClass("SBStatusBarStateAggregator");
}

namespace sim {

UIWindow *createStatusBarWindow(SBStatusBarStateAggregator *aggregator, CGFloat width)
{
    auto window = newView<UIWindow>(UIWindow::class_(), {{0, 0}, {width, kStatusBarHeight}});
    msg<void, UIWindowLevel>(window, "setWindowLevel:"_sel, UIWindowLevelStatusBar);
    StrongRef<UILabel> carrier = newLabel(CGRectZero, "Carrier"_ns, UIFont::systemFontOfSize(12));
    msg<void, NSTextAlignment>(carrier, "setTextAlignment:"_sel, NSTextAlignmentLeft);
    aggregator->m_timeLabel = newLabel(CGRectZero, nil, UIFont::boldSystemFontOfSize(12));
    StrongRef<UILabel> battery = newLabel(CGRectZero, "100%"_ns, UIFont::systemFontOfSize(12));
    msg<void, NSTextAlignment>(battery, "setTextAlignment:"_sel, NSTextAlignmentRight);
    for (UIView *item : {carrier.get(), aggregator->m_timeLabel.get(), battery.get()})
        addSubview(window, item);
    layOutStatusBar(window);
    msg<void>(aggregator, "_resetTimeItemFormatter"_sel);
    msg<void>(aggregator, "_updateTimeItems"_sel);
    msg<void>(aggregator, "_restartTimeItemTimer"_sel);
    return window.leak();
}

void layOutStatusBar(UIWindow *window)
{
    if (window->m_subviews.size() != 3)
        return;
    CGFloat width = window->bounds().size.width;
    setFrame(window->m_subviews[0], {{kItemMargin, 0}, {kSideItemWidth, kStatusBarHeight}});
    setFrame(window->m_subviews[1],
             {{kItemMargin + kSideItemWidth, 0},
              {width - 2 * (kItemMargin + kSideItemWidth), kStatusBarHeight}});
    setFrame(window->m_subviews[2],
             {{width - kItemMargin - kSideItemWidth, 0}, {kSideItemWidth, kStatusBarHeight}});
}

void registerStatusBarClasses()
{
    HostClass<SBStatusBarStateAggregator>("SBStatusBarStateAggregator", "NSObject")
        .ivar("_timeItemDateFormatter", &SBStatusBarStateAggregator::m_timeItemDateFormatter)
        .classMethod("sharedInstance", imp::sharedInstance)
        .method("_resetTimeItemFormatter", imp::resetTimeItemFormatter)
        .method("_updateTimeItems", imp::updateTimeItems)
        .method("_restartTimeItemTimer", imp::restartTimeItemTimer)
        .method("_stopTimeItemTimer", imp::stopTimeItemTimer)
        .registerClass();
}

} // namespace sim
