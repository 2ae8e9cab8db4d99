#include "springboard/status-bar/SBTelephonyManager.h"

#include "foundation/DeviceProfile.h"
#include "springboard/HostClass.h"
#include "springboard/SpringBoardState.h"
#include "springboard/status-bar/SBStatusBarStateAggregator.h"

namespace {

namespace imp {

SBTelephonyManager *sharedTelephonyManager(id, SEL)
{
    StrongRef<NSObject> &shared = sim::springBoardState().telephonyManager;
    if (!shared)
        shared = StrongRef<NSObject>::adopt(sim::create(SBTelephonyManager::class_()));
    return static_cast<SBTelephonyManager *>(shared.get());
}

NSString *operatorName(SBTelephonyManager *self, SEL)
{
    if (self->m_operatorName)
        return self->m_operatorName;
    return NSString::stringWithUTF8String(sim::DeviceProfile::current()->carrierName.c_str());
}

void setOperatorName(SBTelephonyManager *self, SEL, NSString *name)
{
    self->m_operatorName = name;
    msg<void>(msg<id>(SBStatusBarStateAggregator::class_(), "sharedInstance"_sel),
              "_updateServiceItem"_sel);
}

} // namespace imp

} // namespace

Class SBTelephonyManager::class_()
{
    return objc_getClass("SBTelephonyManager");
}

namespace sim {

void registerTelephonyManagerClass()
{
    HostClass<SBTelephonyManager>("SBTelephonyManager", "NSObject")
        .ivar("_operatorName", &SBTelephonyManager::m_operatorName)
        .classMethod("sharedTelephonyManager", imp::sharedTelephonyManager)
        .method("operatorName", imp::operatorName)
        .method("setOperatorName:", imp::setOperatorName)
        .registerClass();
}

} // namespace sim
