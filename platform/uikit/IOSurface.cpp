#include "uikit/IOSurface.h"

#include "foundation/DeviceProfile.h"
#include "uikit/Snapshot.h"
#include "uikit/UIImage.h"

namespace {

const Class kRegistered = IOSurface::class_();

// From iOS 8 on the screen is composited in the interface's orientation (UIScreen.h); the
// panel's order is that image turned back, the reverse of the turn that shows the panel's
// pixels upright (the image orientation o − 1 for the interface orientations 2 to 4).
UIImageOrientation turnBackToPanel(int interfaceOrientation)
{
    switch (interfaceOrientation) {
    case 2:
        return UIImageOrientationDown;
    case 3:
        return UIImageOrientationRight;
    case 4:
        return UIImageOrientationLeft;
    default:
        return UIImageOrientationUp;
    }
}

} // namespace

Class IOSurface::class_()
{
    static const Class cls = ClassBuilder<IOSurface>("IOSurface", "NSObject").registerClass();
    return cls;
}

CGImageRef UICreateCGImageFromIOSurface(IOSurfaceRef surface)
{
    return surface ? CGImageRetain(surface->m_pixels) : nil;
}

namespace sim {

IOSurfaceRef createScreenIOSurface()
{
    auto screen = StrongRef<CGImage>::adopt(snapshotOfScreen());
    auto profile = DeviceProfile::current();
    // iOS 7 turns its windows onto the portrait screen itself, so its image is the panel's.
    UIImageOrientation turn = profile->coreFoundationVersion >= DeviceProfile::kIOS8CoreFoundation
                                  ? turnBackToPanel(profile->orientation)
                                  : UIImageOrientationUp;
    auto *surface = create<IOSurface>(IOSurface::class_());
    surface->m_pixels = StrongRef<CGImage>::adopt(createUprightImage(screen, turn));
    return surface;
}

} // namespace sim
