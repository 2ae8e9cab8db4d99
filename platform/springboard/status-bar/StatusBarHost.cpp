#include "springboard/status-bar/StatusBarHost.h"

#include "foundation/DeviceProfile.h"
#include "foundation/NSLog.h"
#include "springboard/status-bar/SBStatusBarStateAggregator.h"
#include "springboard/status-bar/SBTelephonyManager.h"
#include "springboard/status-bar/StatusBarViews.h"

#include <functional>

namespace sim {

namespace {

// The phone's new state, for this process and for SpringBoard's next start.
void changeProfile(const std::function<void(DeviceProfile &)> &change)
{
    DeviceProfile profile = *DeviceProfile::current();
    change(profile);
    DeviceProfile::setCurrent(profile);
    if (!profile.save())
        NSLog("SpringBoard: the device profile could not be saved; the change lasts until "
              "SpringBoard ends");
}

} // namespace

void registerStatusBarClasses()
{
    registerStatusBarAggregatorClass();
    registerTelephonyManagerClass();
    registerStatusBarViewClasses();
}

void StatusBarHost::setCarrier(const std::string &name)
{
    changeProfile([&](DeviceProfile &profile) { profile.carrierName = name; });
    msg<void, NSString *>(msg<id>(SBTelephonyManager::class_(), "sharedTelephonyManager"_sel),
                          "setOperatorName:"_sel, NSString::stringWithUTF8String(name.c_str()));
}

void StatusBarHost::setWiFi(const std::optional<std::string> &address,
                            const std::optional<std::string> &name)
{
    changeProfile([&](DeviceProfile &profile) {
        profile.wifiAddress = address;
        profile.wifiHostInterface.reset();
        profile.ssid = name;
    });
    msg<void, int>(msg<id>(SBStatusBarStateAggregator::class_(), "sharedInstance"_sel),
                   "updateStatusBarItem:"_sel, SBStatusBarItemDataNetwork);
}

} // namespace sim
