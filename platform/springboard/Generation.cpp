#include "springboard/Generation.h"

#include "foundation/DeviceProfile.h"

namespace sim {

Generation generationOf(double coreFoundationVersion)
{
    if (coreFoundationVersion < DeviceProfile::kIOS8CoreFoundation)
        return iOS7;
    if (coreFoundationVersion < DeviceProfile::kIOS9CoreFoundation)
        return iOS8;
    return iOS9;
}

Generation currentGeneration()
{
    return generationOf(DeviceProfile::current()->coreFoundationVersion);
}

bool runsIOS7_0()
{
    constexpr double kLastIOS7_0CoreFoundation = 847.21;
    return DeviceProfile::current()->coreFoundationVersion <= kLastIOS7_0CoreFoundation;
}

} // namespace sim
