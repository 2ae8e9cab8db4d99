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

} // namespace sim
