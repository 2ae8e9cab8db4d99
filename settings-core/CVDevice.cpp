#include "settings-core/CVDevice.h"

#include "foundation/CoreFoundation.h"
#include "foundation/MobileGestalt.h"

namespace {

// MobileGestalt's answer when it is text, autoreleased.
NSString *gestaltText(const char *question)
{
    CFTypeRef answer = MGCopyAnswer(NSString::stringWithUTF8String(question));
    if (!answer)
        return nil;
    CFAutorelease(answer);
    if (CFGetTypeID(answer) != CFStringGetTypeID())
        return nil;
    return static_cast<NSString *>(const_cast<void *>(answer));
}

namespace imp {

NSString *uniqueDeviceID(id, SEL)
{
    return CVDevice::uniqueDeviceID();
}

NSString *productVersion(id, SEL)
{
    return CVDevice::productVersion();
}

float coreFoundationVersion(id, SEL)
{
    return CVDevice::coreFoundationVersion();
}

} // namespace imp

const Class kRegistered = CVDevice::class_();

} // namespace

Class CVDevice::class_()
{
    static const Class cls = ClassBuilder<CVDevice>("CVDevice", "NSObject")
                                 .classMethod("uniqueDeviceID", imp::uniqueDeviceID)
                                 .classMethod("productVersion", imp::productVersion)
                                 .classMethod("coreFoundationVersion", imp::coreFoundationVersion)
                                 .registerClass();
    return cls;
}

NSString *CVDevice::uniqueDeviceID()
{
    return gestaltText("UniqueDeviceID");
}

NSString *CVDevice::productVersion()
{
    return gestaltText("ProductVersion");
}

float CVDevice::coreFoundationVersion()
{
    return static_cast<float>(kCFCoreFoundationVersionNumber);
}
