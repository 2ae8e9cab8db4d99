#include "springboard/status-bar/SBStatusBarStateAggregator.h"

#include "foundation/DeviceProfile.h"
#include "springboard/HostClass.h"
#include "springboard/SpringBoardState.h"

#include <algorithm>

namespace {

// Whether the phone's state has SpringBoard show the item.
bool deviceShowsItem(int item)
{
    auto profile = sim::DeviceProfile::current();
    switch (item) {
    case SBStatusBarItemTime:
    case SBStatusBarItemSignalStrength:
    case SBStatusBarItemService:
    case SBStatusBarItemBattery:
        return true;
    case SBStatusBarItemDataNetwork:
        return profile->hasWiFi();
    default:
        return std::ranges::find(profile->statusBarItems, sim::statusBarItemName(item)) !=
               profile->statusBarItems.end();
    }
}

void dataDidChange(SBStatusBarStateAggregator *self)
{
    if (self->m_coalescentBlockDepth > 0)
        self->m_dataChangedInBlock = true;
    else
        msg<void>(self->m_statusBarView, "setNeedsLayout"_sel);
}

void setItemFromDevice(SBStatusBarStateAggregator *self, int item)
{
    msg<BOOL, int, BOOL>(self, "_setItem:enabled:"_sel, item, deviceShowsItem(item));
}

namespace imp {

SBStatusBarStateAggregator *sharedInstance(id, SEL)
{
    return static_cast<SBStatusBarStateAggregator *>(
        sim::springBoardState().statusBarStateAggregator.get());
}

id init(SBStatusBarStateAggregator *self, SEL _cmd)
{
    if (!msgSuper<id>(SBStatusBarStateAggregator::class_(), self, _cmd))
        return nil;
    self->m_data.gsmSignalStrengthBars = 4;
    self->m_data.wifiSignalStrengthBars = 3;
    self->m_data.batteryCapacity = 100;
    return self;
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
    sim::copyStatusBarText(self->m_data.timeString, sizeof(self->m_data.timeString),
                           text ? text->UTF8String() : "");
    setItemFromDevice(self, SBStatusBarItemTime);
    dataDidChange(self);
}

void restartTimeItemTimer(SBStatusBarStateAggregator *self, SEL)
{
    self->m_timeItemTimer.start([self] { msg<void>(self, "_updateTimeItems"_sel); });
}

void stopTimeItemTimer(SBStatusBarStateAggregator *self, SEL)
{
    self->m_timeItemTimer.stop();
}

id telephonyManager()
{
    return msg<id>(objc_getClass("SBTelephonyManager"), "sharedTelephonyManager"_sel);
}

NSString *carrierNameForOperator(SBStatusBarStateAggregator *, SEL, NSString *operatorName)
{
    return operatorName ? operatorName : ""_ns;
}

void updateServiceItem(SBStatusBarStateAggregator *self, SEL)
{
    NSString *name = msg<NSString *>(telephonyManager(), "operatorName"_sel);
    if (class_respondsToSelector(object_getClass(self), "_sbCarrierNameForOperator:"_sel))
        name = msg<NSString *, NSString *>(self, "_sbCarrierNameForOperator:"_sel, name);
    if (!name)
        name = ""_ns;
    if (!self->m_serviceString || !self->m_serviceString->isEqualToString(name)) {
        sim::copyStatusBarText(self->m_data.serviceString, sizeof(self->m_data.serviceString),
                               name->UTF8String());
        self->m_serviceString = name;
    }
    setItemFromDevice(self, SBStatusBarItemService);
    dataDidChange(self);
}

BOOL setItemEnabled(SBStatusBarStateAggregator *self, SEL, int item, BOOL enabled)
{
    if (item < 0 || item >= kSBStatusBarItemCount || self->m_data.itemIsEnabled[item] == enabled)
        return NO;
    self->m_data.itemIsEnabled[item] = enabled;
    dataDidChange(self);
    return YES;
}

void updateStatusBarItem(SBStatusBarStateAggregator *self, SEL, int item)
{
    if (item == SBStatusBarItemTime)
        msg<void>(self, "_updateTimeItems"_sel);
    else if (item == SBStatusBarItemService)
        msg<void>(self, "_updateServiceItem"_sel);
    else
        setItemFromDevice(self, item);
}

void notifyNonItemDataChanged(SBStatusBarStateAggregator *self, SEL)
{
    dataDidChange(self);
}

void beginCoalescentBlock(SBStatusBarStateAggregator *self, SEL)
{
    ++self->m_coalescentBlockDepth;
}

void endCoalescentBlock(SBStatusBarStateAggregator *self, SEL)
{
    if (self->m_coalescentBlockDepth == 0 || --self->m_coalescentBlockDepth > 0)
        return;
    if (std::exchange(self->m_dataChangedInBlock, false))
        dataDidChange(self);
}

} // namespace imp

} // namespace

Class SBStatusBarStateAggregator::class_()
{
    return objc_getClass("SBStatusBarStateAggregator");
}

namespace sim {

void registerStatusBarAggregatorClass()
{
    HostClass<SBStatusBarStateAggregator>("SBStatusBarStateAggregator", "NSObject")
        .ivar("_data", &SBStatusBarStateAggregator::m_data)
        .ivar("_serviceString", &SBStatusBarStateAggregator::m_serviceString)
        .ivar("_timeItemDateFormatter", &SBStatusBarStateAggregator::m_timeItemDateFormatter)
        .classMethod("sharedInstance", imp::sharedInstance)
        .method("init", imp::init)
        .method("_resetTimeItemFormatter", imp::resetTimeItemFormatter)
        .method("_updateTimeItems", imp::updateTimeItems)
        .method("_restartTimeItemTimer", imp::restartTimeItemTimer)
        .method("_stopTimeItemTimer", imp::stopTimeItemTimer)
        .onGenerations(iOS8 | iOS9)
        .method("_updateServiceItem", imp::updateServiceItem)
        .method("_sbCarrierNameForOperator:", imp::carrierNameForOperator)
        .onGenerations(iOS8 | iOS9)
        .method("_setItem:enabled:", imp::setItemEnabled)
        .method("updateStatusBarItem:", imp::updateStatusBarItem)
        .method("_notifyNonItemDataChanged", imp::notifyNonItemDataChanged)
        .method("beginCoalescentBlock", imp::beginCoalescentBlock)
        .method("endCoalescentBlock", imp::endCoalescentBlock)
        .registerClass();
}

} // namespace sim
