#include "uikit/UIDevice.h"

#include "foundation/DeviceProfile.h"

namespace {
namespace imp {

UIDevice *currentDevice(id, SEL)
{
    return UIDevice::currentDevice();
}

UIUserInterfaceIdiom userInterfaceIdiom(UIDevice *self, SEL)
{
    return self->userInterfaceIdiom();
}

} // namespace imp

const Class kRegistered = UIDevice::class_();

} // namespace

Class UIDevice::class_()
{
    static const Class cls = ClassBuilder<UIDevice>("UIDevice", "NSObject")
                                 .classMethod("currentDevice", imp::currentDevice)
                                 .method("userInterfaceIdiom", imp::userInterfaceIdiom)
                                 .registerClass();
    return cls;
}

UIDevice *UIDevice::currentDevice()
{
    static UIDevice *const device = sim::create<UIDevice>(class_());
    return device;
}

UIUserInterfaceIdiom UIDevice::userInterfaceIdiom() const
{
    return sim::DeviceProfile::current()->idiom == sim::DeviceProfile::Pad
               ? UIUserInterfaceIdiomPad
               : UIUserInterfaceIdiomPhone;
}

BOOL UIAccessibilityIsBoldTextEnabled()
{
    return sim::DeviceProfile::current()->boldText;
}
