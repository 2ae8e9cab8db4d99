#include "springboard/home-screen/ClockIcon.h"

#include "foundation/NSDateFormatter.h"
#include "springboard/Artwork.h"
#include "springboard/HostClass.h"
#include "springboard/SpringBoardMetrics.h"

#include <cstdio>

namespace {

// The device's local hour (0-23) and minute now, as its clocks show them.
std::pair<int, int> localHourAndMinute()
{
    NSDateFormatter *formatter = NSDateFormatter::formatter();
    formatter->setDateFormat("H:m"_ns);
    NSString *text = msg<NSString *, NSDate *>(formatter, "stringFromDate:"_sel, NSDate::date());
    int hour = 0;
    int minute = 0;
    if (text)
        std::sscanf(text->UTF8String(), "%d:%d", &hour, &minute);
    return {hour, minute};
}

void showContents(SBClockApplicationIconImageView *self)
{
    msg<void, UIImage *>(self, "setImage:"_sel, msg<UIImage *>(self, "contentsImage"_sel));
}

namespace imp {

Class clockImageViewClass(SBClockApplicationIcon *, SEL, NSInteger)
{
    return SBClockApplicationIconImageView::class_();
}

id initWithFrame(SBClockApplicationIconImageView *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(SBClockApplicationIconImageView::class_(), self, _cmd, frame))
        return nil;
    showContents(self);
    self->m_minuteTicker.start([self] { showContents(self); });
    return self;
}

UIImage *contentsImage(SBClockApplicationIconImageView *, SEL)
{
    auto [hour, minute] = localHourAndMinute();
    return sim::clockIconImage(hour, minute, sim::SpringBoardMetrics::iconImageSide());
}

} // namespace imp

} // namespace

Class SBClockApplicationIcon::class_()
{
    return objc_getClass("SBClockApplicationIcon");
}

Class SBClockApplicationIconImageView::class_()
{
    return objc_getClass("SBClockApplicationIconImageView");
}

namespace sim {

void registerClockIconClasses()
{
    HostClass<SBClockApplicationIcon>("SBClockApplicationIcon", "SBApplicationIcon")
        .method("iconImageViewClassForLocation:", imp::clockImageViewClass)
        .registerClass();
    HostClass<SBClockApplicationIconImageView>("SBClockApplicationIconImageView", "UIImageView")
        .method("initWithFrame:", imp::initWithFrame)
        .method("contentsImage", imp::contentsImage)
        .registerClass();
}

} // namespace sim
