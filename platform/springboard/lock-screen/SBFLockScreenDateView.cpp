#include "springboard/lock-screen/SBFLockScreenDateView.h"

#include "springboard/Generation.h"
#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/SpringBoardState.h"
#include "uikit/UIFont.h"

namespace {

constexpr CGFloat kTimeHeight = 90;
constexpr CGFloat kDateHeight = 24;

StrongRef<NSDateFormatter> formatterWithPattern(NSString *pattern)
{
    StrongRef<NSDateFormatter> formatter = NSDateFormatter::formatter();
    formatter->setDateFormat(pattern);
    return formatter;
}

// The formatter that gives the view its texts on the running generation.
id textFormatterOf(SBFLockScreenDateView *view)
{
    if (sim::currentGeneration() == sim::iOS9)
        return msg<id>(BSDateFormatterCache::class_(), "sharedInstance"_sel);
    return view->m_formatter;
}

void redraw(SBFLockScreenDateView *self)
{
    id formatter = textFormatterOf(self);
    NSDate *date = self->m_date;
    NSString *time =
        date ? msg<NSString *, NSDate *>(formatter, "formatDateAsTimeNoAMPM:"_sel, date) : nil;
    NSString *day =
        date ? msg<NSString *, NSDate *>(formatter, "formatDateAsDayOfWeekMonthDayStyle:"_sel, date)
             : nil;
    UIColor *color = msg<UIColor *>(self, "textColor"_sel);
    msg<void, UIFont *>(self->m_timeLabel, "setFont:"_sel, msg<UIFont *>(self, "_timeFont"_sel));
    msg<void, UIFont *>(self->m_dateLabel, "setFont:"_sel, msg<UIFont *>(self, "_dateFont"_sel));
    for (UILabel *label : {self->m_timeLabel.get(), self->m_dateLabel.get()})
        msg<void, UIColor *>(label, "setTextColor:"_sel, color);
    msg<void, NSString *>(self->m_timeLabel, "setText:"_sel, time);
    msg<void, NSString *>(self->m_dateLabel, "setText:"_sel, day);
}

namespace imp {

id sharedCache(id cls, SEL)
{
    StrongRef<NSObject> &shared = sim::springBoardState().dateFormatCache;
    if (!shared) {
        auto *cache = sim::create<SBDateFormatCache>(reinterpret_cast<Class>(cls));
        cache->m_timeFormatter = formatterWithPattern("h:mm"_ns);
        cache->m_dateFormatter = formatterWithPattern("EEEE, MMMM d"_ns);
        shared = StrongRef<NSObject>::adopt(cache);
    }
    return shared;
}

void resetFormattersIfNecessary(SBDateFormatCache *, SEL) {}

NSString *formatTime(SBDateFormatCache *self, SEL, NSDate *date)
{
    return self->m_timeFormatter->stringFromDate(date);
}

NSString *formatDay(SBDateFormatCache *self, SEL, NSDate *date)
{
    return self->m_dateFormatter->stringFromDate(date);
}

id initWithFrame(SBFLockScreenDateView *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(SBFLockScreenDateView::class_(), self, _cmd, frame))
        return nil;
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
    redraw(self);
}

void setFormatter(SBFLockScreenDateView *self, SEL, id formatter)
{
    self->m_formatter = static_cast<NSObject *>(formatter);
    redraw(self);
}

id formatter(SBFLockScreenDateView *self, SEL)
{
    return self->m_formatter;
}

UIColor *textColor(SBFLockScreenDateView *self, SEL)
{
    return self->m_textColor ? self->m_textColor.get() : UIColor::whiteColor();
}

void setTextColor(SBFLockScreenDateView *self, SEL, UIColor *color)
{
    self->m_textColor = color;
    redraw(self);
}

UIFont *timeFont(SBFLockScreenDateView *, SEL)
{
    return UIFont::ultraLightSystemFontOfSize(80);
}

UIFont *dateFont(SBFLockScreenDateView *, SEL)
{
    return UIFont::systemFontOfSize(18);
}

void layoutSubviews(SBFLockScreenDateView *self, SEL)
{
    CGFloat width = self->bounds().size.width;
    sim::setFrame(self->m_timeLabel, {{0, 0}, {width, kTimeHeight}});
    sim::setFrame(self->m_dateLabel, {{0, kTimeHeight}, {width, kDateHeight}});
}

} // namespace imp

template <class Cache> void registerCache(const char *name, sim::Generations generations)
{
    HostClass<Cache>(name, "NSObject")
        .onGenerations(generations)
        .classMethod("sharedInstance", imp::sharedCache)
        .method("resetFormattersIfNecessary", imp::resetFormattersIfNecessary)
        .method("formatDateAsTimeNoAMPM:", imp::formatTime)
        .method("formatDateAsDayOfWeekMonthDayStyle:", imp::formatDay)
        .protocol("SBFLockScreenDateFormatter")
        .registerClass();
}

} // namespace

Class SBDateLabelStringFormatCache::class_()
{
    return objc_getClass("SBDateLabelStringFormatCache");
}

Class BSDateFormatterCache::class_()
{
    return objc_getClass("BSDateFormatterCache");
}

Class SBFLockScreenDateView::class_()
{
    return objc_getClass("SBFLockScreenDateView");
}

namespace sim {

void registerDateViewClasses()
{
    registerCache<SBDateLabelStringFormatCache>("SBDateLabelStringFormatCache", iOS7 | iOS8);
    registerCache<BSDateFormatterCache>("BSDateFormatterCache", iOS9);
    HostClass<SBFLockScreenDateView>("SBFLockScreenDateView", "UIView")
        .ivar("_timeLabel", &SBFLockScreenDateView::m_timeLabel)
        .ivar("_dateLabel", &SBFLockScreenDateView::m_dateLabel)
        .ivar("_textColor", &SBFLockScreenDateView::m_textColor)
        .method("initWithFrame:", imp::initWithFrame)
        .method("date", imp::date)
        .method("setDate:", imp::setDate)
        .method("setFormatter:", imp::setFormatter)
        .onGenerations(iOS7 | iOS8)
        .method("formatter", imp::formatter)
        .onGenerations(iOS7 | iOS8)
        .method("textColor", imp::textColor)
        .method("setTextColor:", imp::setTextColor)
        .method("_timeFont", imp::timeFont)
        .method("_dateFont", imp::dateFont)
        .method("layoutSubviews", imp::layoutSubviews)
        .registerClass();
}

} // namespace sim
