#pragma once
// The screen's surface: the pixels the display scans out, as the phone's private
// interfaces hand them over (+[UIWindow createScreenIOSurface], then
// UICreateCGImageFromIOSurface). The display is a portrait panel, so its pixels are
// always in the panel's own portrait order whatever the interface orientation: an
// interface turned to landscape lies turned on it, and whoever shows the image upright
// gives it the image orientation that turns it back.
//
// The surface is a copy of one moment: later frames do not change it. It is an object
// that the caller owns and releases (CFRelease).

#include "quartzcore/CGImage.h"

struct IOSurface : NSObject {
    StrongRef<CGImage> m_pixels;

    static Class class_();
};
using IOSurfaceRef = IOSurface *;

extern "C" {
// An image of the surface's pixels; the caller owns it. Nil for nil.
CGImageRef UICreateCGImageFromIOSurface(IOSurfaceRef surface);
}

namespace sim {
// What +[UIWindow createScreenIOSurface] answers: the visible windows composited now, in
// the panel's portrait order. The caller owns the answer.
IOSurfaceRef createScreenIOSurface();
} // namespace sim
